#!/usr/bin/env python3
"""Benchmark: qrxfind against the floor (walk + read, match nothing) and GNU grep, and the
main window against qrxfind.

Usage: bench/run.py [--rounds N] [--megabytes M] [--build DIR] [--only NAME] [--no-window]
Generates the corpus once (bench/corpus, deterministic), then times every command round
by round (interleaved), pinned to one processor, and prints medians and ratios.

The main window runs on a virtual display of the run's own (Xvfb), pinned like the rest,
and is driven from outside as a person would drive it (bench_window: it types the
request, clicks Start and waits for the run's end). Its searches are timed in the same
rounds as qrxfind's on the same requests. Then it fills its results tree with 100 000
rows and times Expand All, Collapse All, scrolling to the end, deleting a file line and
Clear Window.

Every open and read under Wine is a round trip to the Wine server, and across two
processors those cost several times more than on one: a server left running keeps the
processor it had, so it is stopped and started again pinned to processor 0, and the run
refuses to report unless the server's affinity shows that it took.

The 32-bit build (build-i686) is timed where this machine runs 32-bit programs, the 64-bit
build (build) elsewhere; the output says which.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

import window_bench

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def win(path):
    return "Z:" + path.replace("/", "\\")


def can_run32():
    r = subprocess.run(["bash", "-c", f"source {ROOT}/scripts/env.sh && qrx_can_run32"])
    return r.returncode == 0


def pinned_server(env):
    """Stops any server of this prefix, starts it pinned to processor 0, and checks that it took."""
    subprocess.run("wineserver -k", shell=True, env=env, stderr=subprocess.DEVNULL)
    subprocess.run("wineserver -w", shell=True, env=env, stderr=subprocess.DEVNULL)
    # Nothing of the server's may hold the caller's output open.
    subprocess.run("taskset -c 0 wineserver -p", shell=True, env=env, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The server of this prefix: the one whose environment names it.
    pids = []
    for pid in subprocess.run(["pgrep", "wineserver"], capture_output=True, text=True).stdout.split():
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={env['WINEPREFIX']}".encode() in f.read().split(b"\0"):
                    pids.append(pid)
        except OSError:
            pass
    if len(pids) != 1:
        sys.exit(f"cannot tell which Wine server is this prefix's (found {pids}); not reporting")
    out = subprocess.run(["taskset", "-p", pids[0]], capture_output=True, text=True).stdout.strip()
    if not out.endswith(": 1"):
        sys.exit(f"the Wine server is not pinned to processor 0 ({out}); not reporting")
    print(f"wine server {pids[0]} pinned: {out}", file=sys.stderr)
    return pids[0]


def free_display():
    for n in range(90, 200):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    sys.exit("no free X display number")


def start_xvfb():
    """A virtual display of this run's own; the caller stops it by its process."""
    n = free_display()
    proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return proc, f":{n}"
        if proc.poll() is not None:
            break
        time.sleep(0.1)
    proc.kill()
    sys.exit("Xvfb did not start")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--megabytes", type=int, default=300)
    ap.add_argument("--build", default="")
    ap.add_argument("--only", default="")
    ap.add_argument("--no-window", action="store_true", help="time qrxfind only")
    args = ap.parse_args()
    xvfb = None
    try:
        if not args.no_window and shutil.which("Xvfb"):
            xvfb, display = start_xvfb()
            os.environ["DISPLAY"] = display
        run(args, xvfb is not None)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()


def run(args, window):

    corpus = os.path.join(ROOT, "bench", "corpus")
    if not os.path.isdir(corpus):
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "gen_corpus.py"), corpus,
                        str(args.megabytes)], check=True)
    longdir = os.path.join(ROOT, "bench", "longline")
    os.makedirs(longdir, exist_ok=True)
    with open(os.path.join(longdir, "long.txt"), "wb") as f:
        f.write(b"a" * 100000 + b"\r\n")

    if not args.build:
        args.build = os.path.join(ROOT, "build-i686" if can_run32() else "build")
    cache = open(os.path.join(args.build, "CMakeCache.txt")).read()
    bits = 64 if "mingw-x86_64" in cache else 32
    env = dict(os.environ)
    env.pop("WINELOADER", None)
    env["WINEPREFIX"] = os.path.join(args.build, "wine")
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["LC_ALL"] = "C"
    wine = "/usr/lib/wine/wine64" if bits == 64 else "wine"
    if bits == 64:
        env["WINELOADER"] = wine
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        subprocess.run(f"{wine} wineboot --init", shell=True, env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    if window:
        # Unmanaged windows: without a window manager Wine otherwise waits for each one.
        subprocess.run(f"{wine} reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f", shell=True,
                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    server = pinned_server(env)
    # The session's own processes (services, desktop), started now with their output going
    # nowhere: started by the first timed command they would hold its output pipe open.
    subprocess.run(f"taskset -c 0 {wine} wineboot", shell=True, env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print(f"timing the {bits}-bit build ({args.build}) under {wine}", file=sys.stderr)
    bindir = os.path.join(args.build, "bin")
    qrx = f"cd {bindir} && taskset -c 0 {wine} ./qrxfind.exe"
    wc = os.path.join(ROOT, "bench")
    cw, lw = win(corpus), win(longdir)

    # name, our command, grep's command (None: no counterpart)
    cases = [
        ("floor (walk+read)", f"cd {bindir} && taskset -c 0 {wine} ./bench_floor.exe '{cw}'", None),
        ("rare literal", f"{qrx} '/DIR={cw}' /EXPR=0 /OPT=0x0213 QuuxFrobnicate",
         f"taskset -c 0 grep -rn QuuxFrobnicate {corpus}"),
        ("common literal", f"{qrx} '/DIR={cw}' /EXPR=0 /OPT=0x0213 /MAXLINES=100000000 return",
         f"taskset -c 0 grep -rn return {corpus}"),
        ("case-insensitive", f"{qrx} '/DIR={cw}' /EXPR=0 /OPT=0x0013 quuxfrobnicate",
         f"taskset -c 0 grep -rni quuxfrobnicate {corpus}"),
        ("whole words", f"{qrx} '/DIR={cw}' /EXPR=0 /OPT=0x0613 /MAXLINES=100000000 Count",
         f"taskset -c 0 grep -rnw Count {corpus}"),
        ("regex, literal", f"{qrx} '/DIR={cw}' /EXPR=1 /OPT=0x0213 /MAXLINES=100000000 '[A-Z][a-z]+Error'",
         f"taskset -c 0 grep -rnE '[A-Z][a-z]+Error' {corpus}"),
        ("regex, no literal", f"{qrx} '/DIR={cw}' /EXPR=1 /OPT=0x0213 '[0-9][0-9][0-9][0-9][0-9]'",
         f"taskset -c 0 grep -rnE '[0-9][0-9][0-9][0-9][0-9]' {corpus}"),
        ("DOS pattern", f"{qrx} '/DIR={cw}' /EXPR=2 /OPT=0x0213 'Quux*(Self)'",
         f"taskset -c 0 grep -rn 'Quux.*(Self)' {corpus}"),
        ("(a*)*b, 100k a", f"{qrx} '/DIR={lw}' /EXPR=1 /OPT=0x0213 '(a*)*b'",
         f"taskset -c 0 grep -rnE '(a*)*b' {longdir}"),
        ("(a|aa)*c, 100k a", f"{qrx} '/DIR={lw}' /EXPR=1 /OPT=0x0213 '(a|aa)*c'",
         f"taskset -c 0 grep -rnE '(a|aa)*c' {longdir}"),
        ("a*a*a*a*a*a*b, 100k a", f"{qrx} '/DIR={lw}' /EXPR=1 /OPT=0x0213 'a*a*a*a*a*a*b'",
         f"taskset -c 0 grep -rnE 'a*a*a*a*a*a*b' {longdir}"),
    ]
    if args.only:
        cases = [c for c in cases if args.only in c[0] or c[0].startswith("floor")]

    gui = None
    if window:
        gui = window_bench.WindowBench(env, wine, bindir, corpus, os.path.join(ROOT, "bench", "rows100k"), args.only)
        gui.start()
    try:
        measure(args, env, cases, server, bits, gui)
    finally:
        if gui:
            gui.stop()


def measure(args, env, cases, server, bits, gui):
    rg = shutil.which("rg")
    # Every command must really run: a broken one would time as fast as nothing at all.
    for name, ours, grep in cases:
        for cmd in [ours] + ([grep] if grep else []):
            r = subprocess.run(cmd + " 2>/dev/null | wc -l", shell=True, env=env, capture_output=True, text=True)
            lines = int(r.stdout.strip() or 0)
            if lines == 0 and cmd is ours:  # qrxfind always prints at least its search line
                sys.exit(f"no output from: {cmd}")
            print(f"{name}: {lines} output lines ({cmd.split('&&')[-1].strip()[:60]})", file=sys.stderr)
    if gui:
        gui.check()

    times = {}

    def timed(key, cmd):
        # Output goes through a pipe (grep notices /dev/null and stops early).
        t0 = time.perf_counter()
        subprocess.run(cmd + " 2>/dev/null | cat > /dev/null", shell=True, env=env)
        times.setdefault(key, []).append(time.perf_counter() - t0)

    for rnd in range(args.rounds + 1):  # round 0 warms the cache and is dropped
        for name, ours, grep in cases:
            timed(("q", name), ours)
            if grep:
                timed(("g", name), grep)
                if rg:
                    timed(("r", name), grep.replace("grep -rn", "rg -n -j1 -uuu").replace("grep -rnE", "rg -n -j1 -uuu"))
        if gui:
            gui.round(keep=rnd > 0)
        if rnd == 0:
            times.clear()
        print(f"round {rnd} done", file=sys.stderr)
    if gui:
        gui.tree(args.rounds)

    # A server that went away and came back unpinned would make the figures meaningless.
    out = subprocess.run(["taskset", "-p", server], capture_output=True, text=True).stdout.strip()
    if not out.endswith(": 1"):
        sys.exit(f"the Wine server {server} is gone or no longer pinned ({out!r}); not reporting")

    med = {k: statistics.median(v) for k, v in times.items()}
    print(f"{bits}-bit build ({os.path.basename(args.build)}), Wine server and programs pinned to processor 0; "
          f"load average at the end {os.getloadavg()[0]:.2f}")
    floor = med[("q", "floor (walk+read)")]
    print(f"{'workload':24} {'qrxfind s':>10} {'/floor':>7} {'grep s':>8} {'/grep':>7}")
    for name, _, grep in cases:
        q = med[("q", name)]
        line = f"{name:24} {q:10.3f} {q / floor:7.2f}"
        if grep:
            g = med[("g", name)]
            line += f" {g:8.3f} {q / g:7.2f}"
        print(line)
    if gui:
        gui.report()


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Benchmark: qrxfind against the floor (walk + read, match nothing) and GNU grep.

Usage: bench/run.py [--rounds N] [--megabytes M] [--build DIR]
Generates the corpus once (bench/corpus, deterministic), then times every command round
by round (interleaved), pinned to one processor, and prints medians and ratios.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def win(path):
    return "Z:" + path.replace("/", "\\")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--megabytes", type=int, default=300)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--only", default="")
    args = ap.parse_args()

    corpus = os.path.join(ROOT, "bench", "corpus")
    if not os.path.isdir(corpus):
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "gen_corpus.py"), corpus,
                        str(args.megabytes)], check=True)
    longdir = os.path.join(ROOT, "bench", "longline")
    os.makedirs(longdir, exist_ok=True)
    with open(os.path.join(longdir, "long.txt"), "wb") as f:
        f.write(b"a" * 100000 + b"\r\n")

    env = dict(os.environ)
    env["WINEPREFIX"] = os.path.join(args.build, "wine")
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["LC_ALL"] = "C"
    wine = "/usr/lib/wine/wine64" if os.path.exists(os.path.join(args.build, "bin", "qrxfind.exe")) and \
        "x86_64" in open(os.path.join(args.build, "CMakeCache.txt")).read() else "wine"
    subprocess.run("taskset -c 0 wineserver -p", shell=True, env=env)
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
    rg = shutil.which("rg")

    # Every command must really run: a broken one would time as fast as nothing at all.
    for name, ours, grep in cases:
        for cmd in [ours] + ([grep] if grep else []):
            r = subprocess.run(cmd + " 2>/dev/null | wc -l", shell=True, env=env, capture_output=True, text=True)
            lines = int(r.stdout.strip() or 0)
            if lines == 0 and cmd is ours:  # qrxfind always prints at least its search line
                sys.exit(f"no output from: {cmd}")
            print(f"{name}: {lines} output lines ({cmd.split('&&')[-1].strip()[:60]})", file=sys.stderr)

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
        if rnd == 0:
            times.clear()
        print(f"round {rnd} done", file=sys.stderr)

    med = {k: statistics.median(v) for k, v in times.items()}
    floor = med[("q", "floor (walk+read)")]
    print(f"{'workload':24} {'qrxfind s':>10} {'/floor':>7} {'grep s':>8} {'/grep':>7}")
    for name, _, grep in cases:
        q = med[("q", name)]
        line = f"{name:24} {q:10.3f} {q / floor:7.2f}"
        if grep:
            g = med[("g", name)]
            line += f" {g:8.3f} {q / g:7.2f}"
        print(line)


if __name__ == "__main__":
    main()

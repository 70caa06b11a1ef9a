"""The main window's part of bench/run.py: searches run from the window against the same
requests run by qrxfind, and the results tree's commands on 100 000 rows.

The window (quarrix.exe over a registry profile of the benchmark's own) is started once
and driven from outside by bench_window.exe, as a person would drive it. Each round times
qrxfind and then the window on the same request, back to back, so that both see the same
load; both are timed as whole processes (each starts one Wine process), and the window's
own time from the click on Start to the painted end of the run is shown beside.
"""
import os
import re
import statistics
import subprocess
import sys
import time

PROFILE = "QrxBench"
TREE_OPS = ["collapse-all", "expand-all", "scroll-to-end", "delete-file-line", "clear"]


def win(path):
    return "Z:" + path.replace("/", "\\")


def write_rows_corpus(path):
    """100 files of 1000 matching lines: a search for "int" fills the tree with 100 101 rows."""
    if os.path.isdir(path) and len(os.listdir(path)) == 100:
        return
    os.makedirs(path, exist_ok=True)
    for f in range(100):
        with open(os.path.join(path, f"file{f:03}.h"), "wb") as out:
            for n in range(1000):
                out.write(f"\tint\tfield_{n};\t/* member {n} of file {f} */\r\n".encode())


class WindowBench:
    def __init__(self, env, wine, bindir, corpus, rows_dir, only=""):
        self.env, self.bindir = env, bindir
        self.run_in = f"cd {bindir} && taskset -c 0 {wine}"
        write_rows_corpus(rows_dir)
        cw, rw = win(corpus), win(rows_dir)
        # name, directory, mask, expression kind, options, text
        self.cases = [
            ("rare literal", cw, "*.*", 0, "0x0213", "QuuxFrobnicate"),
            ("whole words", cw, "*.*", 0, "0x0613", "Count"),
            ("100 000 hits, 100 files", rw, "*.h", 0, "0x0613", "int"),
        ]
        if only:
            self.cases = [c for c in self.cases if only in c[0]]
        self.times = {}
        self.tree_times = {}
        self.window = None

    def console(self, case):
        _, d, mask, expr, opt, text = case
        return (f"{self.run_in} ./qrxfind.exe '/DIR={d}' '/MASK={mask}' /EXPR={expr} /OPT={opt} "
                f"/MAXLINES=100000000 '{text}'")

    def driver(self, *args):
        quoted = " ".join(f"'{a}'" for a in args)
        return f"{self.run_in} ./bench_window.exe {quoted}"

    def sh(self, cmd, check=True):
        r = subprocess.run(cmd, shell=True, env=self.env, capture_output=True, text=True)
        if check and r.returncode != 0:
            sys.exit(f"failed ({r.returncode}): {cmd}\n{r.stderr}")
        return r

    def start(self):
        self.sh(self.driver("prepare", PROFILE, self.cases[0][1]))
        self.window = subprocess.Popen(f"{self.run_in} ./quarrix.exe /KEY={PROFILE}", shell=True, env=self.env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)

    def stop(self):
        if not self.window:
            return
        self.sh(self.driver("close"), check=False)
        try:
            self.window.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.window.kill()
            self.window.wait()
        self.window = None

    def search(self, case):
        """One search from the window: (process seconds, click-to-end seconds, found)."""
        _, d, mask, expr, opt, text = case
        self.sh(self.driver("clear"))
        t0 = time.perf_counter()
        out = self.sh(self.driver("search", d, mask, expr, opt, text)).stdout
        total = time.perf_counter() - t0
        m = re.search(r"elapsed ([0-9.]+) \| Found : (\d+)\|", out)
        if not m:
            sys.exit(f"the window's search gave no counts: {out!r}")
        return total, float(m.group(1)), int(m.group(2))

    def check(self):
        """The window must find what qrxfind finds, or its times mean nothing."""
        for case in self.cases:
            err = self.sh(self.console(case) + " >/dev/null").stderr
            m = re.search(r"Found : (\d+)", err)
            _, _, found = self.search(case)
            if not m or int(m.group(1)) != found:
                sys.exit(f"{case[0]}: the window found {found}, qrxfind {m.group(1) if m else '?'}; not reporting")
            print(f"window, {case[0]}: {found} matches, as qrxfind", file=sys.stderr)

    def round(self, keep):
        for case in self.cases:
            t0 = time.perf_counter()
            self.sh(self.console(case) + " 2>/dev/null | cat > /dev/null")
            q = time.perf_counter() - t0
            total, click, _ = self.search(case)
            if keep:
                for key, value in (("q", q), ("w", total), ("c", click)):
                    self.times.setdefault((key, case[0]), []).append(value)

    def tree(self, rounds):
        rows = self.cases[-1] if self.cases and self.cases[-1][4] == "0x0613" and self.cases[-1][5] == "int" else None
        if not rows:
            return
        for _ in range(rounds):
            self.search(rows)
            for line in self.sh(self.driver("tree")).stdout.splitlines():
                name, seconds = line.split()
                self.tree_times.setdefault(name, []).append(float(seconds))

    def report(self):
        load = os.getloadavg()
        print(f"main window against qrxfind, same requests, medians; load average {load[0]:.2f} {load[1]:.2f}")
        print(f"{'workload':24} {'qrxfind s':>10} {'window s':>9} {'/qrxfind':>9} {'click to end s':>15}")
        for case in self.cases:
            name = case[0]
            q, w, c = (statistics.median(self.times[(k, name)]) for k in "qwc")
            print(f"{name:24} {q:10.3f} {w:9.3f} {w / q:9.2f} {c:15.3f}")
        if self.tree_times:
            print("results tree of 100 101 rows, medians, each to the end of its repaint:")
            for op in TREE_OPS:
                print(f"  {op:18} {1000 * statistics.median(self.tree_times[op]):7.1f} ms")

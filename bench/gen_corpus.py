#!/usr/bin/env python3
"""Writes a deterministic corpus of source-like text for the benchmark.

Usage: gen_corpus.py DIR [MEGABYTES]
About 300 MB in roughly 25 000 files across a few thousand folders by default.
"""
import os
import random
import sys

KEYWORDS = ["begin", "end", "procedure", "function", "var", "const", "if", "then", "else", "while",
            "for", "to", "do", "return", "case", "of", "class", "private", "public", "uses", "result"]
WORDS = ["Index", "Count", "Buffer", "Node", "Tree", "List", "Item", "Value", "Name", "Text", "Size",
         "Handle", "Window", "File", "Line", "Search", "Result", "Option", "Match", "Parent", "Child",
         "Stream", "Reader", "Writer", "Cache", "Error", "State", "Event", "Sender", "Data"]
ERRORS = ["ParseError", "RangeError", "StreamError", "OutlineError", "ConvertError"]


def ident(r):
    n = r.randint(1, 3)
    return "".join(r.choice(WORDS) for _ in range(n)) + (str(r.randint(0, 99)) if r.random() < 0.2 else "")


def make_line(r):
    k = r.random()
    indent = " " * (2 * r.randint(0, 5))
    if k < 0.12:
        return indent
    if k < 0.30:
        return f"{indent}{ident(r)} := {ident(r)}({ident(r)}, {r.randint(0, 9999)});"
    if k < 0.42:
        return f"{indent}if {ident(r)} > {r.randint(0, 500)} then {r.choice(KEYWORDS)}"
    if k < 0.52:
        return f"{indent}return {ident(r)}.{ident(r)};"
    if k < 0.60:
        return f"{indent}raise E{r.choice(ERRORS)}.Create('{ident(r)} failed: ' + {ident(r)});"
    if k < 0.70:
        return f"{indent}// {' '.join(r.choice(WORDS).lower() for _ in range(r.randint(3, 12)))}"
    if k < 0.80:
        return f"{indent}{r.choice(['procedure', 'function'])} T{ident(r)}.{ident(r)}({ident(r)}: Integer);"
    if k < 0.90:
        return f"{indent}for I := 0 to {ident(r)}.Count - 1 do {ident(r)}[I] := {r.randint(0, 99)};"
    return f"{indent}{r.choice(KEYWORDS)} {ident(r)} {r.choice(KEYWORDS)} {ident(r)};"


def main():
    root = sys.argv[1]
    megabytes = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    r = random.Random(20261207)
    pool = [make_line(r) for _ in range(20000)]
    target = megabytes * 1024 * 1024
    written = 0
    n = 0
    exts = [".pas", ".pas", ".pas", ".inc", ".cpp", ".h", ".txt"]
    while written < target:
        d1, d2 = r.randint(0, 59), r.randint(0, 49)
        folder = os.path.join(root, f"pkg{d1:02d}", f"mod{d2:02d}")
        os.makedirs(folder, exist_ok=True)
        lines = r.randint(30, 520)
        body = [pool[r.randrange(len(pool))] for _ in range(lines)]
        if n % 2500 == 7:
            body[r.randrange(lines)] = "  QuuxFrobnicate(Self);  // the rare one"
        data = ("\r\n".join(body) + "\r\n").encode("ascii")
        with open(os.path.join(folder, f"unit{n:05d}{r.choice(exts)}"), "wb") as f:
            f.write(data)
        written += len(data)
        n += 1
    print(f"{n} files, {written} bytes")


if __name__ == "__main__":
    main()

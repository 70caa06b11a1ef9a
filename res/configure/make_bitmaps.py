#!/usr/bin/env python3
"""Writes the properties dialog's picture for an editor whose driver has none: a 16 by 16,
16-colour BMP of a page with a pencil, on olive, the colour the editor list treats as
transparent. The BMP writer is the results tree's (res/outline/make_bitmaps.py); the output
is the same on every run.
"""
import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("outline_bitmaps", os.path.join(HERE, "..", "outline", "make_bitmaps.py"))
outline = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(outline)

DEFAULT_IDE = [
    "oooooooooooooooo",
    "ookkkkkkkkkooooo",
    "ookwwwwwwwkkoooo",
    "ookwwwwwwwkwkooo",
    "ookwkkkkwwkkkkoo",
    "ookwwwwwwwwwwkoo",
    "ookwkkkkkkkwwkoo",
    "ookwwwwwwwwwwkoo",
    "ookwkkkkkkkwwkoo",
    "ookwwwwwwwwwwkoo",
    "ookwkkkkkkwwwkoo",
    "ookwwwwwwwwwwkoo",
    "ookwwwwwwwwwwkoo",
    "ookkkkkkkkkkkkoo",
    "oooooooooooooooo",
    "oooooooooooooooo",
]


def main():
    with open(os.path.join(HERE, "DEFAULT_IDE.bmp"), "wb") as f:
        f.write(outline.bmp(DEFAULT_IDE))


if __name__ == "__main__":
    main()

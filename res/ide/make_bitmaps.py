#!/usr/bin/env python3
"""Writes the extension DLL's pictures of the editor list: one 16 by 16, 16-colour BMP per
driver prefix (the custom entry has none), a coloured tile with a two-character label.

The BMP writer and palette are the results tree's (res/outline/make_bitmaps.py). The
bottom-left pixel is the transparent colour. Run it from anywhere; it writes next to itself
and its output is the same on every run.
"""
import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("outline_bitmaps", os.path.join(HERE, "..", "outline", "make_bitmaps.py"))
outline = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(outline)
# Tile colours beside the outline's inks: red, blue, teal, purple, green, maroon.
outline.INK.update({"r": 9, "b": 12, "t": 6, "m": 5, "e": 2, "a": 1})

GLYPHS = {
    "1": [".w.", "ww.", ".w.", ".w.", "www"],
    "2": ["ww.", "..w", ".w.", "w..", "www"],
    "3": ["ww.", "..w", ".w.", "..w", "ww."],
    "4": ["w.w", "w.w", "www", "..w", "..w"],
    "5": ["www", "w..", "ww.", "..w", "ww."],
    "7": ["www", "..w", ".w.", ".w.", ".w."],
    "B": ["ww.", "w.w", "ww.", "w.w", "ww."],
    "C": [".ww", "w..", "w..", "w..", ".ww"],
    "D": ["ww.", "w.w", "w.w", "w.w", "ww."],
    "E": ["www", "w..", "ww.", "w..", "www"],
    "J": ["..w", "..w", "..w", "w.w", ".w."],
    "M": ["w.w", "www", "w.w", "w.w", "w.w"],
    "S": [".ww", "w..", ".w.", "..w", "ww."],
    "V": ["w.w", "w.w", "w.w", "w.w", ".w."],
    "Z": ["www", "..w", ".w.", "w..", "www"],
}

PICTURES = {
    "ZEPHYX_": ("ZE", "r"), "BORCPP_4X_": ("B4", "b"), "MSVC_1X_": ("V1", "m"), "DELPHI_1X_": ("D1", "t"),
    "DELPHI_2X_": ("D2", "t"), "CODEWRIGHT_3X_": ("C3", "e"), "CODEWRIGHT_4X_": ("C4", "e"),
    "MULTIEDIT_7X_": ("M7", "a"), "MSVC_4X_": ("V4", "m"), "BORCPP_5X_": ("B5", "b"), "BORCPP_4XG_": ("B4", "n"),
    "DELPHI_1XG_": ("D1", "n"), "VSLICKEDIT_1X_": ("S1", "a"), "DELPHI_3X_": ("D3", "t"), "CBUILDER_1X_": ("CB", "b"),
    "MSJPP_1X_": ("J1", "r"), "MSVC_5X_": ("V5", "m"),
}


def picture(label, tile):
    rows = [["."] * 16 for _ in range(16)]
    for y in range(2, 14):
        for x in range(1, 15):
            edge = y in (2, 13) or x in (1, 14)
            rows[y][x] = "k" if edge else tile
    for i, ch in enumerate(label):
        for dy, line in enumerate(GLYPHS[ch]):
            for dx, ink in enumerate(line):
                if ink == "w":
                    rows[5 + dy][3 + i * 5 + dx] = "w"
    return ["".join(r) for r in rows]


def main():
    for name, (label, tile) in PICTURES.items():
        with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
            f.write(outline.bmp(picture(label, tile)))


if __name__ == "__main__":
    main()

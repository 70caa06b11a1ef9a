#!/usr/bin/env python3
"""Writes the two looks of the main window's Advanced button as 16 by 16, 8-bit BMP files.

advoff: no criteria, an empty funnel. advon: criteria set, the funnel filled and a green
tick beside it, so that active criteria show at a glance. The pictures are drawn below as
character maps, one character per pixel; the bottom-left pixel is the transparent colour
(fuchsia), which the button replaces by its face.

Run it from anywhere; it writes next to itself. The output is byte-for-byte the same on
every run.
"""
import os
import struct

# The colours used, first in a 256-entry palette (R, G, B); the rest stay black.
COLOURS = {
    ".": (255, 0, 255),    # transparent
    "k": (0, 0, 0),        # outline
    "g": (128, 128, 128),  # shade
    "w": (255, 255, 255),  # empty funnel
    "y": (255, 208, 0),    # filled funnel
    "o": (192, 128, 0),    # its shade
    "t": (0, 160, 0),      # tick
    "d": (0, 96, 0),       # tick edge
}
ORDER = list(COLOURS)

PICTURES = {
    "advoff": [
        "................",
        "................",
        "kkkkkkkkkkkkk...",
        "kwwwwwwwwwwwk...",
        ".kwwwwwwwwwk....",
        "..kwwwwwwwk.....",
        "...kwwwwwk......",
        "....kwwwk.......",
        ".....kwk........",
        ".....kwk........",
        ".....kwk........",
        ".....kwk........",
        ".....kwk........",
        ".....kgk........",
        "......kk........",
        "................",
    ],
    "advon": [
        "................",
        "................",
        "kkkkkkkkkkkkk...",
        "kyyyyyyyyyyok...",
        ".kyyyyyyyyok....",
        "..kyyyyyyok.....",
        "...kyyyyok....dt",
        "....kyyok....dtd",
        ".....kyk....dtd.",
        ".....kyk.d.dtd..",
        ".....kykdtdtd...",
        ".....kyk.dtd....",
        ".....kyk..d.....",
        ".....kok........",
        "......kk........",
        "................",
    ],
}


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) // 4 * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        line = bytes(ORDER.index(c) for c in row)
        pixels += line + b"\0" * (stride - width)
    palette = b""
    for i in range(256):
        r, g, b = COLOURS[ORDER[i]] if i < len(ORDER) else (0, 0, 0)
        palette += struct.pack("<BBBB", b, g, r, 0)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, rows in PICTURES.items():
        assert len(rows) == 16 and all(len(r) == 16 for r in rows), name
        write_bmp(os.path.join(here, name + ".bmp"), rows)


if __name__ == "__main__":
    main()

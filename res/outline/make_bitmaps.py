#!/usr/bin/env python3
"""Writes the results tree's five built-in pictures as 14 by 14, 16-colour BMP files.

The pictures are drawn below as character maps, one character per pixel. The bottom-left
pixel of each is the transparent colour (fuchsia), which the control replaces by its own
background. Everything that matters lies in the left eleven columns and the top thirteen
rows: at the default font size the control shows only that much of a 14-pixel picture.

Run it from anywhere; it writes next to itself. The output is byte-for-byte the same on
every run.
"""
import os
import struct

# The standard 16-colour palette, in its usual order (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INK = {".": 13, "k": 0, "o": 3, "g": 8, "s": 7, "w": 15, "y": 11, "n": 4}

PICTURES = {
    "gplus": [
        "..............",
        "..............",
        ".ggggggggg....",
        ".gwwwwwwwg....",
        ".gwwwkwwwg....",
        ".gwwwkwwwg....",
        ".gwkkkkkwg....",
        ".gwwwkwwwg....",
        ".gwwwkwwwg....",
        ".gwwwwwwwg....",
        ".ggggggggg....",
        "..............",
        "..............",
        "..............",
    ],
    "gminus": [
        "..............",
        "..............",
        ".ggggggggg....",
        ".gwwwwwwwg....",
        ".gwwwwwwwg....",
        ".gwwwwwwwg....",
        ".gwkkkkkwg....",
        ".gwwwwwwwg....",
        ".gwwwwwwwg....",
        ".gwwwwwwwg....",
        ".ggggggggg....",
        "..............",
        "..............",
        "..............",
    ],
    "gclosed": [
        "..............",
        "..............",
        "..oooo........",
        ".owwwwo.......",
        "ooooooooooo...",
        "owyyyyyyyyo...",
        "owyyyyyyyyo...",
        "oyyyyyyyyyo...",
        "oyyyyyyyyyo...",
        "oyyyyyyyyyo...",
        "oyyyyyyyyyo...",
        "ooooooooooo...",
        "..............",
        "..............",
    ],
    "gopen": [
        "..............",
        "..............",
        "..oooo........",
        ".owwwwo.......",
        "owyyyyoooo....",
        "owyyyyyyyo....",
        "owyoooooooo...",
        "owoyyyyyyyo...",
        "ooyyyyyyyo....",
        "ooyyyyyyyo....",
        "oyyyyyyyyo....",
        "oooooooooo....",
        "..............",
        "..............",
    ],
    "gleaf": [
        "..............",
        ".gggggg.......",
        ".gwwwwgg......",
        ".gwwwwgwg.....",
        ".gwwwwgggg....",
        ".gwwwwwwwg....",
        ".gwnnnnnwg....",
        ".gwwwwwwwg....",
        ".gwnnnnnwg....",
        ".gwwwwwwwg....",
        ".gwnnnnwwg....",
        ".gwwwwwwwg....",
        ".ggggggggg....",
        "..............",
    ],
}


def bmp(rows):
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        assert len(row) == width
        line = bytearray()
        for x in range(0, width, 2):
            hi = INK[row[x]]
            lo = INK[row[x + 1]] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        pixels += bytes(line).ljust(stride, b"\0")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, rows in PICTURES.items():
        assert len(rows) == 14 and rows[-1][0] == "."
        with open(os.path.join(here, name + ".bmp"), "wb") as f:
            f.write(bmp(rows))


if __name__ == "__main__":
    main()

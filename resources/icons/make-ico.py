#!/usr/bin/env python3
"""Draws an SVG icon at the sizes Windows asks for and packs the pictures into one .ico file
(PNG entries, as Windows Vista and later read them). For builds whose Qt has no SVG icon
engine: the Windows build's resources and its program icon.

Usage: make-ico.py RSVG_CONVERT SVG ICO"""
import struct
import subprocess
import sys

SIZES = [16, 20, 24, 32, 40, 48, 64, 128, 256]


def png_of(rsvg, svg, size):
    return subprocess.run([rsvg, "-w", str(size), "-h", str(size), "-f", "png", svg],
                          check=True, capture_output=True).stdout


def ico(pictures):
    header = struct.pack("<HHH", 0, 1, len(pictures))  # reserved, type 1 (icon), count
    offset = len(header) + 16 * len(pictures)
    entries = b""
    for size, png in pictures:
        side = size if size < 256 else 0  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
    return header + entries + b"".join(png for _, png in pictures)


def main():
    rsvg, svg, out = sys.argv[1:4]
    data = ico([(size, png_of(rsvg, svg, size)) for size in SIZES])
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()

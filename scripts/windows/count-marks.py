#!/usr/bin/env python3
"""Counts the keyword marks on a picture of the screen: a mark is underlined with dots (one
dark pixel, two light ones, as Qt draws a dotted line of width 1) on a line of its own, light
above and below. Plain text has no such run of eight dots or more.

Usage: count-marks.py PICTURE.ppm (binary PPM, P6, 8 bits a sample)"""
import sys

MIN_DOTS = 8


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    magic, width, height, maximum = fields
    if magic != b"P6" or maximum != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(width), int(height)
    pixels = data[pos + 1:pos + 1 + width * height * 3]
    # Brightness 0..765 a pixel, row by row.
    rows = [[sum(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
    return width, height, rows


def count_marks(width, height, rows):
    dark = lambda v: v < 300
    light = lambda v: v > 600
    marks = 0
    for y in range(1, height - 1):
        row, above, below = rows[y], rows[y - 1], rows[y + 1]
        x = 0
        while x < width - 2:
            dots = 0
            while (x + 2 < width and dark(row[x]) and light(row[x + 1]) and light(row[x + 2])
                   and light(above[x]) and light(below[x])):
                dots += 1
                x += 3
            if dots >= MIN_DOTS:
                marks += 1
            x += 1
    return marks


def main():
    print(count_marks(*read_ppm(sys.argv[1])))


if __name__ == "__main__":
    main()

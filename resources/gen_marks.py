#!/usr/bin/env python3
"""Draws the 8 by 8 marks of the sort and filter dialogs' lists (bitmaps 4001 to 4003) beside this
script: black on a white ground, which the dialogs turn into a mask and draw in the item's text
colour. Run it again after changing a shape."""
import os
import struct
import zlib

SIZE = 8

DESCENDING = ["........",
              "........",
              "#######.",
              ".#####..",
              "..###...",
              "...#....",
              "........",
              "........"]
ASCENDING = list(reversed(DESCENDING))
CHECK = ["........",
         "......#.",
         ".....##.",
         "#...##..",
         "##.##...",
         ".###....",
         "..#.....",
         "........"]


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)


def write_png(path, rows_text):
    rows = b""
    for line in rows_text:
        rows += b"\0" + b"".join(b"\0\0\0" if c == "#" else b"\xff\xff\xff" for c in line)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(rows, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


MARKS = [("sortdown.png", DESCENDING), ("sortup.png", ASCENDING), ("check.png", CHECK)]

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, rows_text in MARKS:
        write_png(os.path.join(here, name), rows_text)

#!/usr/bin/env python3
"""Draws the print preview's toolbar strip (bitmap 116) beside this script: eight 16 by 15 images
on magenta, which the buttons draw transparent: first page, previous slice, previous page, next
page, next slice, last page, zoom out, zoom in. Run it again after changing a shape."""
import os
import struct
import zlib

W, H, N = 16, 15, 8
MAGENTA = (255, 0, 255)
INK = (0, 0, 0)


def triangle(px, x0, right, size=5):
    """A filled triangle pointing right or left, its flat side at x0."""
    for dx in range(size):
        half = size - 1 - dx
        x = x0 + dx if right else x0 - dx
        for y in range(7 - half, 8 + half):
            px[y][x] = INK


def bar(px, x):
    for y in range(3, 12):
        px[y][x] = INK
        px[y][x + 1] = INK


def lens(px, plus):
    for y in range(H):
        for x in range(W):
            d = (x - 6) ** 2 + (y - 6) ** 2
            if 12 <= d <= 25:
                px[y][x] = INK
    for i in range(4):
        px[10 + i][10 + i] = INK
        px[10 + i][11 + i if 11 + i < W else W - 1] = INK
    for x in range(4, 9):
        px[6][x] = INK
    if plus:
        for y in range(4, 9):
            px[y][6] = INK


def image(i):
    px = [[MAGENTA] * W for _ in range(H)]
    if i == 0:      # first page: bar and left triangle
        bar(px, 3); triangle(px, 10, False)
    elif i == 1:    # previous slice: two left triangles
        triangle(px, 7, False); triangle(px, 13, False)
    elif i == 2:    # previous page
        triangle(px, 10, False)
    elif i == 3:    # next page
        triangle(px, 5, True)
    elif i == 4:    # next slice
        triangle(px, 2, True); triangle(px, 8, True)
    elif i == 5:    # last page
        triangle(px, 5, True); bar(px, 11)
    else:
        lens(px, i == 7)
    return px


def write_png(path, rows):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in rows)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


images = [image(i) for i in range(N)]
strip = [sum((images[i][y] for i in range(N)), []) for y in range(H)]
write_png(os.path.join(os.path.dirname(os.path.abspath(__file__)), "previewbar.png"), strip)

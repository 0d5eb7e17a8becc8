#!/usr/bin/env python3
"""Draws the grid window's pointer shapes (cursors 101 to 105) and the drag and drop pointers (111
no drop, 112 drop) as 32x32 PNG files beside this
script: black strokes with a white rim on a transparent ground, the hot spot in a "HotSpot"
text chunk ("x,y") that the resource loader reads. Run it again after changing a shape."""
import os
import struct
import zlib

SIZE = 32


def hline(px, x0, x1, y):
    for x in range(x0, x1 + 1):
        px.add((x, y))


def vline(px, x, y0, y1):
    for y in range(y0, y1 + 1):
        px.add((x, y))


def arrow_h(px, x_tip, y, direction, length=7):
    """A horizontal arrow: a shaft from the tip backwards and a filled head at the tip."""
    hline(px, min(x_tip, x_tip - direction * length), max(x_tip, x_tip - direction * length), y)
    for d in range(4):
        vline(px, x_tip - direction * d, y - d, y + d)


def box(px, x0, y0, x1, y1):
    hline(px, x0, x1, y0)
    hline(px, x0, x1, y1)
    vline(px, x0, y0, y1)
    vline(px, x1, y0, y1)


def column_resize():
    px = set()
    vline(px, 15, 6, 25)
    vline(px, 16, 6, 25)
    arrow_h(px, 5, 15, -1, 8)
    arrow_h(px, 26, 15, 1, 8)
    return px, (15, 15)


def column_move():
    px = set()
    box(px, 11, 6, 20, 25)
    hline(px, 11, 20, 10)
    arrow_h(px, 3, 15, -1, 6)
    arrow_h(px, 28, 15, 1, 6)
    return px, (15, 15)


def hide_column():
    px = set()
    vline(px, 15, 6, 25)
    vline(px, 17, 6, 25)
    arrow_h(px, 13, 15, 1, 8)    # both arrows point at the closing pair of lines
    arrow_h(px, 19, 15, -1, 8)
    return px, (16, 15)


def show_column():
    px = set()
    vline(px, 14, 6, 25)
    vline(px, 18, 6, 25)
    arrow_h(px, 4, 15, -1, 7)    # the pair opens: arrows point away
    arrow_h(px, 28, 15, 1, 7)
    return px, (16, 15)


def drag_column():
    px = set()
    for y in range(0, 14):      # a pointer arrow with a column box beside it
        hline(px, 1, 1 + y // 2, y + 1)
    vline(px, 4, 14, 18)
    box(px, 14, 14, 28, 28)
    hline(px, 14, 28, 18)
    return px, (1, 1)


def pointer(px):
    for y in range(0, 14):      # the arrow of the usual pointer, tip at the top left
        hline(px, 1, 1 + y // 2, y + 1)
    vline(px, 4, 14, 18)


def no_drop():
    px = set()
    pointer(px)
    for y in range(14, 31):     # a ring with a bar across: nothing takes the item here
        for x in range(12, 29):
            d = (x - 20) ** 2 + (y - 22) ** 2
            if 36 <= d <= 64:
                px.add((x, y))
    for d in range(-5, 6):
        px.add((20 + d, 22 + d))
        px.add((21 + d, 22 + d))
    return px, (1, 1)


def drop():
    px = set()
    pointer(px)
    box(px, 12, 18, 28, 28)     # the item carried, with a fold
    hline(px, 12, 28, 21)
    return px, (1, 1)


def rim(px):
    out = set()
    for x, y in px:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in px and 0 <= p[0] < SIZE and 0 <= p[1] < SIZE:
                    out.add(p)
    return out


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)


def write_png(path, px, hot):
    white = rim(px)
    rows = b""
    for y in range(SIZE):
        row = bytearray([0])
        for x in range(SIZE):
            if (x, y) in px:
                row += bytes((0, 0, 0, 255))
            elif (x, y) in white:
                row += bytes((255, 255, 255, 255))
            else:
                row += bytes((0, 0, 0, 0))
        rows += bytes(row)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    data += chunk(b"tEXt", b"HotSpot\0" + ("%d,%d" % hot).encode())
    data += chunk(b"IDAT", zlib.compress(rows, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


SHAPES = [
    ("colresize.png", column_resize),
    ("colmove.png", column_move),
    ("colhide.png", hide_column),
    ("colshow.png", show_column),
    ("coldrag.png", drag_column),
    ("nodrop.png", no_drop),
    ("drop.png", drop),
]

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in SHAPES:
        px, hot = draw()
        write_png(os.path.join(here, name), {p for p in px if 0 <= p[0] < SIZE and 0 <= p[1] < SIZE}, hot)

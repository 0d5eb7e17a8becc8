#!/usr/bin/env python3
"""Draws the terminal's pictures into app/ beside this script: the toolbar strip (bitmap 280, one
16 by 15 image per button in the order of toolbar 280), the printed tables' logo (115), the main
window's background (127), the about box's encrypted and plain link (234, 235), the message
indicator (257 new, 258 idle, 259 flashing), the program's icon (280), the table windows' icon
(284) and the brand's icon (branding 280). Run it again after changing a shape."""
import math
import os
import struct
import zlib

# Colours (r, g, b, a)
CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
LIGHT = (200, 200, 200, 255)
DARK = (64, 64, 64, 255)
BLUE = (30, 80, 180, 255)
NAVY = (20, 40, 110, 255)
SKY = (120, 170, 230, 255)
GREEN = (20, 140, 40, 255)
RED = (200, 30, 30, 255)
YELLOW = (240, 200, 40, 255)
ORANGE = (230, 120, 20, 255)
PAPER = (250, 250, 240, 255)
TEAL = (0, 130, 130, 255)


class Canvas:
    def __init__(self, width, height, ground=CLEAR):
        self.w, self.h = width, height
        self.px = [[ground] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def box(self, x0, y0, x1, y1, inside, edge):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, c, width=1.0):
        for y in range(int(cy - r) - 2, int(cy + r) + 3):
            for x in range(int(cx - r) - 2, int(cx + r) + 3):
                if abs(math.hypot(x - cx, y - cy) - r) <= width / 2:
                    self.dot(x, y, c)

    def polygon(self, points, c):
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            xs = []
            for i, (xa, ya) in enumerate(points):
                xb, yb = points[(i + 1) % len(points)]
                if ya != yb and min(ya, yb) <= y < max(ya, yb):
                    xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for k in range(0, len(xs) - 1, 2):
                for x in range(int(math.ceil(xs[k])), int(math.floor(xs[k + 1])) + 1):
                    self.dot(x, y, c)
        for i, (xa, ya) in enumerate(points):
            xb, yb = points[(i + 1) % len(points)]
            self.line(xa, ya, xb, yb, c)

    def text(self, x, y, word, c):
        for ch in word:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.dot(x + col, y + row, c)
            x += len(FONT[ch][0]) + 1

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                if other.px[y][x][3]:
                    self.dot(x0 + x, y0 + y, other.px[y][x])

    def save(self, path):
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
        rows = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in self.px)
        data = b"\x89PNG\r\n\x1a\n"
        data += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        data += chunk(b"IDAT", zlib.compress(rows, 9))
        data += chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(data)


# A 3 by 5 font for the market marks of the toolbar.
FONT = {
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "S": ["###", "#..", "###", "..#", "###"],
    "K": ["#.#", "##.", "#..", "##.", "#.#"],
    "i": [".#.", "...", ".#.", ".#.", ".#."],
    "?": ["##.", "..#", ".#.", "...", ".#."],
}

W, H = 16, 15


# Toolbar images, each on a 16 by 15 canvas.
def folder(c):
    c.box(1, 4, 11, 12, YELLOW, ORANGE)
    c.fill(1, 3, 5, 4, ORANGE)
    c.polygon([(3, 7), (15, 7), (12, 12), (1, 12)], (250, 225, 110, 255))
    c.line(3, 7, 15, 7, ORANGE)
    c.line(15, 7, 12, 12, ORANGE)


def disk(c):
    c.box(1, 1, 14, 13, BLUE, NAVY)
    c.fill(4, 2, 11, 6, WHITE)
    c.fill(4, 9, 11, 13, LIGHT)
    c.fill(9, 10, 10, 12, NAVY)


def copy(c):
    c.box(1, 1, 8, 10, PAPER, DARK)
    c.box(6, 4, 13, 13, PAPER, DARK)
    for y in (6, 8, 10):
        c.line(8, y, 11, y, GREY)


def printer(c):
    c.box(4, 1, 11, 6, PAPER, DARK)
    c.box(1, 6, 14, 11, LIGHT, DARK)
    c.box(4, 10, 11, 14, PAPER, DARK)
    c.dot(12, 8, GREEN)


def plug(c, joined):
    colour = GREEN if joined else RED
    gap = 0 if joined else 3
    c.fill(1, 6, 6 - gap // 2, 8, colour)
    c.fill(6 - gap // 2, 4, 7 - gap // 2, 10, colour)
    c.line(8 + gap // 2, 5, 10 + gap // 2, 5, DARK)
    c.line(8 + gap // 2, 9, 10 + gap // 2, 9, DARK)
    c.fill(10 + gap // 2, 4, 11 + gap // 2, 10, colour)
    c.fill(11 + gap // 2, 6, 14, 8, colour)


def gear(c):
    for k in range(8):
        a = k * math.pi / 4
        c.disc(7.5 + 5.5 * math.cos(a), 7 + 5.5 * math.sin(a), 1.3, DARK)
    c.disc(7.5, 7, 4.6, GREY)
    c.disc(7.5, 7, 1.8, WHITE)


def grid(c):
    c.box(1, 1, 14, 9, WHITE, DARK)
    for y in (3, 5, 7):
        c.line(1, y, 14, y, LIGHT)
    c.line(6, 1, 6, 9, LIGHT)
    c.line(10, 1, 10, 9, LIGHT)
    c.fill(2, 2, 13, 2, SKY)


def ticket(c):
    c.box(1, 1, 11, 9, PAPER, DARK)
    c.line(3, 3, 9, 3, BLUE)
    c.line(3, 5, 7, 5, GREY)
    c.line(3, 7, 8, 7, GREY)
    c.line(11, 1, 14, 4, RED)
    c.line(12, 1, 14, 3, RED)


def checklist(c):
    c.box(1, 0, 11, 10, PAPER, DARK)
    for y in (2, 5, 8):
        c.line(3, y + 1, 4, y + 2, GREEN)
        c.line(4, y + 2, 6, y, GREEN)
        c.line(7, y + 1, 10, y + 1, GREY)


def trades(c):
    c.line(1, 3, 12, 3, BLUE)
    c.polygon([(12, 0), (15, 3), (12, 6)], BLUE)
    c.line(3, 8, 14, 8, GREEN)
    c.polygon([(3, 5), (0, 8), (3, 11)], GREEN)


def pie(c):
    c.disc(6, 5.5, 5, SKY)
    c.polygon([(6, 5), (6, 0), (10, 2)], BLUE)
    c.polygon([(6, 5), (11, 6), (9, 10)], ORANGE)
    c.ring(6, 5.5, 5, DARK)


def arrow_up(c):
    c.polygon([(7, 0), (13, 6), (10, 6), (10, 10), (4, 10), (4, 6), (1, 6)], GREEN)


def arrow_down(c):
    c.polygon([(4, 0), (10, 0), (10, 4), (13, 4), (7, 10), (1, 4), (4, 4)], RED)


def bars(c):
    for i, h in enumerate((4, 9, 6, 10)):
        c.box(1 + i * 3, 10 - h, 2 + i * 3, 10, ORANGE, DARK)


def line_chart(c):
    c.line(0, 10, 14, 10, DARK)
    c.line(0, 0, 0, 10, DARK)
    pts = [(1, 8), (4, 5), (7, 7), (10, 2), (13, 4)]
    for a, b in zip(pts, pts[1:]):
        c.line(a[0], a[1], b[0], b[1], BLUE)


def candles(c):
    c.line(0, 10, 14, 10, DARK)
    c.line(0, 0, 0, 10, DARK)
    for x, lo, hi, o, cl in ((3, 7, 2, 6, 3), (7, 8, 3, 4, 7), (11, 5, 0, 4, 1)):
        c.line(x, hi, x, lo, DARK)
        c.box(x - 1, min(o, cl), x + 1, max(o, cl), GREEN if cl < o else RED, DARK)


def magnified_chart(c):
    line_chart(c)
    c.ring(10, 9, 3, DARK, 1.2)
    c.line(12, 11, 15, 14, DARK)
    c.line(12, 12, 14, 14, DARK)


def newspaper(c):
    c.box(1, 1, 14, 13, PAPER, DARK)
    c.fill(3, 3, 12, 4, NAVY)
    c.fill(3, 6, 7, 10, SKY)
    for y in (6, 8, 10):
        c.line(9, y, 12, y, GREY)
    c.line(3, 12, 12, 12, GREY)


def globe(c):
    c.disc(7.5, 7, 6.5, SKY)
    c.polygon([(4, 3), (8, 2), (9, 6), (6, 8), (3, 6)], GREEN)
    c.polygon([(9, 9), (12, 8), (12, 12), (10, 12)], GREEN)
    c.ring(7.5, 7, 6.5, NAVY)


def about(c):
    c.disc(7.5, 7, 6.5, BLUE)
    c.text(6, 4, "?", WHITE)


def page(c):
    c.polygon([(2, 0), (10, 0), (13, 3), (13, 10), (2, 10)], PAPER)
    c.line(2, 0, 10, 0, DARK)
    c.line(10, 0, 13, 3, DARK)
    c.line(13, 3, 13, 10, DARK)
    c.line(2, 10, 13, 10, DARK)
    c.line(2, 0, 2, 10, DARK)
    c.disc(7, 5, 2.5, SKY)
    c.line(5, 5, 9, 5, GREEN)


def messages(c):
    # The right half of this button carries the message indicator the frame draws over it.
    c.box(1, 3, 8, 11, BLUE, NAVY)
    c.text(3, 5, "i", WHITE)


def marked(draw, word, colour):
    def image(c):
        draw(c)
        c.fill(15 - 4 * len(word), 9, 15, 14, WHITE)
        c.text(16 - 4 * len(word), 9, word, colour)
    return image


US = lambda draw: marked(draw, "US", NAVY)
KSE = lambda draw: marked(draw, "K", GREEN)

# Toolbar 280's buttons in their order (separators have no image).
TOOLBAR = [
    (32832, folder), (32831, disk), (57634, copy), (57607, printer),
    (32774, lambda c: plug(c, True)), (32775, lambda c: plug(c, False)), (32776, gear),
    (33191, US(grid)), (33601, US(ticket)), (33101, US(checklist)), (33103, US(trades)), (33112, US(pie)),
    (33203, arrow_up), (33204, arrow_down), (33205, bars),
    (33614, US(magnified_chart)), (33566, newspaper),
    (33190, US(line_chart)), (33192, US(candles)),
    (33251, KSE(grid)), (33223, KSE(ticket)), (33224, KSE(checklist)), (33226, KSE(trades)), (33233, KSE(pie)),
    (33287, KSE(arrow_up)), (33288, KSE(arrow_down)), (33289, KSE(bars)),
    (33300, KSE(line_chart)), (33301, KSE(candles)),
    (33198, globe), (57664, about), (33621, US(page)), (40230, messages),
]


def toolbar():
    strip = Canvas(W * len(TOOLBAR), H)
    for i, (_, draw) in enumerate(TOOLBAR):
        c = Canvas(W, H)
        draw(c)
        strip.paste(c, i * W, 0)
    return strip


def mark(c, x, y, size, ground, ink):
    """The product's mark: a ring around three rising bars on a rounded square."""
    r = size / 2
    c.disc(x + r, y + r, r, ground)
    c.ring(x + r, y + r, r * 0.72, ink, max(1.0, size / 14))
    bar = max(1, int(size / 10))
    for i, h in enumerate((0.25, 0.4, 0.55)):
        bx = int(x + r - 2.5 * bar + i * 2 * bar)
        c.fill(bx, int(y + r + size * 0.2 - size * h), bx + bar - 1, int(y + r + size * 0.2), ink)


def logo():
    c = Canvas(96, 32, WHITE)
    mark(c, 0, 0, 32, BLUE, WHITE)
    for i, w in enumerate((56, 40, 48)):
        c.fill(38, 8 + i * 7, 38 + w, 10 + i * 7, NAVY if i == 0 else SKY)
    return c


def background():
    c = Canvas(320, 160, DARK)
    mark(c, 100, 20, 120, (76, 76, 76, 255), (96, 96, 96, 255))
    return c


def padlock(closed):
    # Opaque: the about box copies the picture as it is, without blending.
    ground = GREEN if closed else GREY
    c = Canvas(32, 32, ground)
    if closed:
        c.ring(16, 13, 5, WHITE, 2.2)
    else:
        c.ring(11, 11, 5, WHITE, 2.2)
        c.fill(5, 11, 17, 16, ground)
    c.box(9, 13, 23, 24, WHITE, WHITE)
    c.fill(15, 16, 17, 21, ground)
    return c


def indicator(body, flap):
    c = Canvas(11, 9)
    c.box(0, 0, 10, 8, body, DARK)
    c.line(0, 0, 5, 4, flap)
    c.line(10, 0, 5, 4, flap)
    return c


def terminal_icon():
    c = Canvas(32, 32)
    c.box(1, 1, 30, 30, BLUE, NAVY)
    c.fill(5, 5, 26, 22, WHITE)
    pts = [(6, 19), (11, 13), (15, 16), (20, 8), (25, 11)]
    for a, b in zip(pts, pts[1:]):
        c.line(a[0], a[1], b[0], b[1], GREEN)
        c.line(a[0], a[1] + 1, b[0], b[1] + 1, GREEN)
    c.fill(12, 24, 19, 27, SKY)
    return c


def table_icon():
    c = Canvas(16, 16)
    c.box(0, 1, 15, 14, WHITE, NAVY)
    c.fill(1, 2, 14, 4, SKY)
    for y in (7, 10):
        c.line(1, y, 14, y, LIGHT)
    c.line(5, 2, 5, 13, LIGHT)
    c.line(10, 2, 10, 13, LIGHT)
    return c


def brand_icon():
    c = Canvas(32, 32)
    mark(c, 0, 0, 32, TEAL, WHITE)
    return c


IMAGES = [
    ("toolbar.png", toolbar),
    ("logo.png", logo),
    ("background.png", background),
    ("encrypted.png", lambda: padlock(True)),
    ("plain.png", lambda: padlock(False)),
    ("message_new.png", lambda: indicator(YELLOW, RED)),
    ("message_idle.png", lambda: indicator(LIGHT, GREY)),
    ("message_flash.png", lambda: indicator(RED, YELLOW)),
    ("terminal.png", terminal_icon),
    ("table.png", table_icon),
    ("brand.png", brand_icon),
]

if __name__ == "__main__":
    folder_out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "app")
    os.makedirs(folder_out, exist_ok=True)
    for name, make in IMAGES:
        make().save(os.path.join(folder_out, name))

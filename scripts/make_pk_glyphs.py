#!/usr/bin/env python3
"""Draws the bit-button kind glyphs of the skin library ("JNOK" ... "JNALL").

Each glyph is a 16-colour BMP of two 18 x 18 cells side by side: the normal
image, then the disabled one (the same shape in grey with a white highlight
one pixel down and right). The background is olive, the colour of the
bottom-left pixel, which the button draws as transparent.

    scripts/make_pk_glyphs.py            writes resources/pk/JN*.bmp
The files are committed; run this again only to change the pictures.
"""
import math
import os
import struct

CELL = 18

# The 16 VGA colours in palette order (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


class Cell:
    def __init__(self):
        self.px = [[None] * CELL for _ in range(CELL)]

    def dot(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < CELL and 0 <= y < CELL:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=2):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dx in range(width):
                for dy in range(width):
                    self.dot(x + dx - (width - 1) / 2, y + dy - (width - 1) / 2, c)

    def ring(self, cx, cy, r, c, width=2, start=0, end=360):
        for i in range(int((end - start) * 2) + 1):
            a = math.radians(start + i / 2)
            for w in range(width):
                self.dot(cx + (r - w) * math.cos(a), cy + (r - w) * math.sin(a), c)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.dot(x, y, c)


def ok(c):
    c.line(3, 9, 7, 13, GREEN, 3)
    c.line(7, 13, 14, 4, GREEN, 3)


def cancel(c):
    c.line(4, 4, 13, 13, RED, 3)
    c.line(13, 4, 4, 13, RED, 3)


def help_(c):
    c.ring(8.5, 6, 3.5, NAVY, 2, 180, 360)
    c.ring(8.5, 6, 3.5, NAVY, 2, 0, 90)
    c.line(9, 9.5, 9, 11.5, NAVY, 2)
    c.rect(8, 13, 10, 15, NAVY)


def yes(c):
    c.line(2, 9, 6, 14, GREEN, 3)
    c.line(6, 14, 15, 3, GREEN, 3)


def no(c):
    c.ring(8.5, 8.5, 7, RED, 2)
    c.line(4, 13, 13, 4, RED, 2)


def close(c):
    c.rect(5, 2, 13, 16, MAROON)
    c.rect(6, 3, 12, 15, YELLOW)
    c.rect(10, 8, 11, 10, BLACK)
    c.line(2, 16, 15, 16, BLACK, 1)


def abort(c):
    c.ring(8.5, 8.5, 7.5, RED, 2)
    c.line(5, 5, 12, 12, RED, 2)
    c.line(12, 5, 5, 12, RED, 2)


def retry(c):
    c.ring(8.5, 9, 6, GREEN, 2, 200, 500)
    c.line(14, 3, 14.5, 8, GREEN, 2)
    c.line(10, 7, 14.5, 8, GREEN, 2)


def ignore(c):
    c.rect(8, 2, 10, 16, GRAY)
    c.line(2, 9, 15, 9, NAVY, 2)
    c.line(11, 5, 15, 9, NAVY, 2)
    c.line(11, 13, 15, 9, NAVY, 2)


def all_(c):
    c.line(1, 9, 4, 13, GREEN, 2)
    c.line(4, 13, 9, 4, GREEN, 2)
    c.line(7, 9, 10, 13, GREEN, 2)
    c.line(10, 13, 16, 3, GREEN, 2)


GLYPHS = [
    ("JNOK", ok), ("JNCANCEL", cancel), ("JNHELP", help_), ("JNYES", yes), ("JNNO", no),
    ("JNCLOSE", close), ("JNABORT", abort), ("JNRETRY", retry), ("JNIGNORE", ignore), ("JNALL", all_),
]


def two_cells(draw):
    normal = Cell()
    draw(normal)
    width = 2 * CELL
    img = [[OLIVE] * width for _ in range(CELL)]
    for y in range(CELL):
        for x in range(CELL):
            if normal.px[y][x] is not None:
                img[y][x] = normal.px[y][x]
    # The disabled cell: a white highlight one pixel down and right, then
    # the shape in grey on top.
    for y in range(CELL):
        for x in range(CELL):
            if normal.px[y][x] is not None and x + 1 < CELL and y + 1 < CELL:
                img[y + 1][CELL + x + 1] = WHITE
    for y in range(CELL):
        for x in range(CELL):
            if normal.px[y][x] is not None:
                img[y][CELL + x] = GRAY
    # The bottom-left pixel is the transparent colour.
    assert img[CELL - 1][0] == OLIVE
    return img


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    stride = ((w * 4 + 31) // 32) * 4
    rows = b""
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray(stride)
        for x in range(w):
            v = img[y][x]
            row[x // 2] |= v << 4 if x % 2 == 0 else v
        rows += bytes(row)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(top, "resources", "pk")
    os.makedirs(out, exist_ok=True)
    for name, draw in GLYPHS:
        write_bmp(os.path.join(out, name + ".bmp"), two_cells(draw))


if __name__ == "__main__":
    main()

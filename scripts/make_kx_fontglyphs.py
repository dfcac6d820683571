#!/usr/bin/env python3
"""Draws the font type glyphs of the font combo box and the font list box
("KXCMBOBX_TRUETYPE", "KXCMBOBX_FIXEDPITCH", "KXCMBOBX_TRUETYPEFIXED",
"KXCMBOBX_PRINTER", "KXCMBOBX_DEVICE").

Each is a 12 x 12 24-bit BMP on olive (0x808000 as a TColor, RGB 128,128,0),
the colour the controls treat as transparent when they copy a glyph onto
their own colour:
  TRUETYPE       two overlapping "T"s, grey behind, dark blue in front
  FIXEDPITCH     a typewriter-like "F" over a ruler of even ticks (black)
  TRUETYPEFIXED  the two "T"s over the ruler
  PRINTER        a small printer: paper on top, body, a tray (black, grey, white)
  DEVICE         a square "A" plate (dark red on grey)

    scripts/make_kx_fontglyphs.py      writes resources/kx/KXCMBOBX_*.bmp
The files are committed; run this again only to change the pictures.
"""
import os
import struct

SIZE = 12
OLIVE = (128, 128, 0)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
WHITE = (255, 255, 255)
NAVY = (0, 0, 128)
MAROON = (128, 0, 0)


def blank():
    return [[OLIVE] * SIZE for _ in range(SIZE)]


def letter_t(px, x0, y0, colour):
    # A "T" 6 wide and 7 high with a two-pixel stem.
    for x in range(x0, x0 + 6):
        px[y0][x] = colour
    px[y0 + 1][x0] = px[y0 + 1][x0 + 5] = colour
    for y in range(y0 + 1, y0 + 7):
        px[y][x0 + 2] = px[y][x0 + 3] = colour
    px[y0 + 6][x0 + 1] = px[y0 + 6][x0 + 4] = colour


def ruler(px):
    for x in range(0, SIZE):
        px[11][x] = BLACK
    for x in range(0, SIZE, 2):
        px[10][x] = BLACK


def truetype(px, height_shift=0):
    letter_t(px, 0, 0 + height_shift, GREY)
    letter_t(px, 5, 2 + height_shift, NAVY)


def glyph(kind):
    px = blank()
    if kind == "TRUETYPE":
        truetype(px, 1)
    elif kind == "FIXEDPITCH":
        for y in range(1, 9):
            px[y][3] = px[y][4] = BLACK
        for x in range(3, 10):
            px[1][x] = BLACK
        for x in range(3, 8):
            px[4][x] = BLACK
        ruler(px)
    elif kind == "TRUETYPEFIXED":
        truetype(px, 0)
        ruler(px)
    elif kind == "PRINTER":
        for y in range(0, 4):
            for x in range(3, 9):
                px[y][x] = WHITE
        for x in range(3, 9):
            px[0][x] = BLACK
        for y in range(0, 4):
            px[y][3] = px[y][8] = BLACK
        for y in range(4, 9):
            for x in range(0, SIZE):
                px[y][x] = SILVER
        for x in range(0, SIZE):
            px[4][x] = px[8][x] = BLACK
        for y in range(4, 9):
            px[y][0] = px[y][SIZE - 1] = BLACK
        px[6][9] = px[6][10] = MAROON
        for y in range(9, 12):
            for x in range(2, 10):
                px[y][x] = WHITE
            px[y][2] = px[y][9] = BLACK
        for x in range(2, 10):
            px[11][x] = BLACK
    elif kind == "DEVICE":
        for y in range(1, 11):
            for x in range(1, 11):
                px[y][x] = SILVER
        for i in range(1, 11):
            px[1][i] = px[10][i] = px[i][1] = px[i][10] = GREY
        # An "A": two legs and a bar.
        for i in range(7):
            px[8 - i][3 + i // 2] = MAROON
            px[8 - i][8 - i // 2] = MAROON
        for x in range(4, 8):
            px[6][x] = MAROON
    return px


def write_bmp(path, px):
    row_size = (SIZE * 3 + 3) & ~3
    data = b""
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b"".join(bytes((b, g, r)) for (r, g, b) in px[y])
        data += row + b"\0" * (row_size - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        f.write(header + data)


KINDS = ("TRUETYPE", "FIXEDPITCH", "TRUETYPEFIXED", "PRINTER", "DEVICE")


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "kx")
    os.makedirs(out, exist_ok=True)
    for kind in KINDS:
        write_bmp(os.path.join(out, "KXCMBOBX_%s.bmp" % kind), glyph(kind))


if __name__ == "__main__":
    main()

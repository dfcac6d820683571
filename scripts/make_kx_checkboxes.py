#!/usr/bin/env python3
"""Draws the check list's built-in check boxes ("KXCOMMON_CHECKBOX_UNCHECKED",
"KXCOMMON_CHECKBOX_CHECKED", "KXCOMMON_CHECKBOX_GRAYED").

Each is a 13 x 13 24-bit BMP in the five key colours the check list maps to
its own colours when it loads them: grey 0x808080 the box's frame (FrameColor),
white the inside (the window colour, or DisabledColor for a disabled item),
blue the check mark (the highlight colour), and red and fuchsia two more inside
colours (mapped like white) that let the grayed box dither its mark.

    scripts/make_kx_checkboxes.py        writes resources/kx/KXCOMMON_CHECKBOX_*.bmp
The files are committed; run this again only to change the pictures.
"""
import os
import struct

SIZE = 13
GREY, WHITE, BLUE, RED, FUCHSIA = (128, 128, 128), (255, 255, 255), (0, 0, 255), (255, 0, 0), (255, 0, 255)

# The check mark: a short stroke down to the right, then a long one up,
# three pixels thick, as the classic box draws it.
MARK = []
for x, top in [(3, 5), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]:
    MARK += [(x, top), (x, top + 1), (x, top + 2)]


def box(state):
    px = [[WHITE] * SIZE for _ in range(SIZE)]
    for i in range(SIZE):
        px[0][i] = px[SIZE - 1][i] = px[i][0] = px[i][SIZE - 1] = GREY
    if state == "CHECKED":
        for x, y in MARK:
            px[y][x] = BLUE
    elif state == "GRAYED":
        # Every other pixel of the inside in red or fuchsia, the mark in blue
        # on the pixels of one parity only, so that it reads as half-lit.
        for y in range(1, SIZE - 1):
            for x in range(1, SIZE - 1):
                px[y][x] = RED if (x + y) % 2 else FUCHSIA
        for x, y in MARK:
            if (x + y) % 2 == 0:
                px[y][x] = BLUE
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


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "kx")
    os.makedirs(out, exist_ok=True)
    for state in ("UNCHECKED", "CHECKED", "GRAYED"):
        write_bmp(os.path.join(out, "KXCOMMON_CHECKBOX_%s.bmp" % state), box(state))


if __name__ == "__main__":
    main()

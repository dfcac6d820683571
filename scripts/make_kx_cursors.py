#!/usr/bin/env python3
"""Draws the framed library's hand cursor ("KXCOMMON_HANDCURSOR").

A 32 x 32 monochrome cursor: a white hand with a black outline, the index
finger pointing up, its tip the hot spot. The URL label shows it on systems
whose USER32 has no hand cursor of its own.

The cursor is kept as the image of a cursor resource (the hot spot, then
the DIB) in an RCDATA resource, and made with CreateIconFromResourceEx:
GNU ld 2.40 crashes (signal 11) merging the cursor resources (RT_CURSOR) of
two objects of one program, and the class library's test resources hold a
cursor of their own.

    scripts/make_kx_cursors.py   writes resources/kx/HandCursor.img
The file is committed; run this again only to change the picture.
"""
import os
import struct

SIZE = 32
HOTSPOT = (5, 0)

# '#' black, 'o' white, '.' transparent; the rest of the 32 x 32 cell is
# transparent.
HAND = [
    ".....##...........",
    "....#oo#..........",
    "....#oo#..........",
    "....#oo#..........",
    "....#oo###........",
    "....#oo#oo###.....",
    "....#oo#oo#oo##...",
    ".##.#oo#oo#oo#o#..",
    "#oo##oooooooooo#..",
    "#ooo#oooooooooo#..",
    ".#oooooooooooooo#.",
    ".#oooooooooooooo#.",
    "..#ooooooooooooo#.",
    "..#oooooooooooo#..",
    "...#ooooooooooo#..",
    "...#oooooooooo#...",
    "....#ooooooooo#...",
    "....#ooooooooo#...",
    "....###########...",
]


def rows_1bpp(bit):
    """Bottom-up rows of 1-bit pixels, each row four bytes."""
    out = b""
    for y in reversed(range(SIZE)):
        line = HAND[y] if y < len(HAND) else ""
        value = 0
        for x in range(SIZE):
            ch = line[x] if x < len(line) else "."
            value = (value << 1) | bit(ch)
        out += struct.pack(">I", value)
    return out


def image():
    """The cursor image resource: the hot spot, then the DIB (its height
    counts both masks)."""
    # XOR mask: 1 for white. AND mask: 1 where the screen shows through.
    xor = rows_1bpp(lambda ch: 1 if ch == "o" else 0)
    and_ = rows_1bpp(lambda ch: 1 if ch == "." else 0)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    return struct.pack("<HH", HOTSPOT[0], HOTSPOT[1]) + header + palette + xor + and_


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = os.path.join(top, "resources", "kx")
    path = os.path.join(folder, "HandCursor.img")
    with open(path, "wb") as f:
        f.write(image())
    print("wrote", path)


if __name__ == "__main__":
    main()

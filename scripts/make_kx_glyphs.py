#!/usr/bin/env python3
"""Draws the framed library's button glyphs.

- The bit-button kind glyphs "KXCOMMON_OK" ... "KXCOMMON_ALL": 16-colour BMPs
  of two 18 x 18 cells (normal, disabled), the same pictures as the skin
  library's kinds (drawn by make_pk_glyphs.py), olive where transparent.
- The radio button "KXCOMMON_RADIOBUTTON_UNCHECKED" and "_CHECKED": 13 x 13
  24-bit BMPs in the key colours the radio button maps to its own colours
  when it loads them (outside the circle olive, the transparent colour):

      0x000000 frame (left and top)   0x008000 frame (right and bottom)
      0x808080 0x800080 inner edge of the frame, dark and light side
      0x000080 0x00FF00 outer edge of the frame, dark and light side
      0x0000FF 0xFF00FF the inside's rim, dark and light side
      0x00FFFF the inside next to the rim   0xFFFFFF the inside
      0x800000 the dot                      0xFF0000 the dot's edge

  (TColor values: blue in the high byte.)

    scripts/make_kx_glyphs.py            writes resources/kx/KXCOMMON_*.bmp
The files are committed; run this again only to change the pictures.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_pk_glyphs as pk  # noqa: E402

KINDS = [
    ("OK", pk.ok), ("CANCEL", pk.cancel), ("HELP", pk.help_), ("YES", pk.yes), ("NO", pk.no),
    ("CLOSE", pk.close), ("ABORT", pk.abort), ("RETRY", pk.retry), ("IGNORE", pk.ignore), ("ALL", pk.all_),
]

RADIO = 13
OLIVE = 0x008080


def radio(checked):
    """The radio glyph as rows of TColor values."""
    c = (RADIO - 1) / 2
    rows = []
    for y in range(RADIO):
        row = []
        for x in range(RADIO):
            d = math.hypot(x - c, y - c)
            upper_left = x + y <= 2 * c
            if d >= 6.6:
                v = OLIVE
            elif d >= 6.0:
                v = 0x000080 if upper_left else 0x00FF00
            elif d >= 5.1:
                v = 0x000000 if upper_left else 0x008000
            elif d >= 4.3:
                v = 0x808080 if upper_left else 0x800080
            elif d >= 3.5:
                v = 0x0000FF if upper_left else 0xFF00FF
            elif d >= 2.8:
                v = 0x00FFFF
            else:
                v = 0xFFFFFF
            if checked and d < 2.4:
                v = 0x800000 if d < 1.6 else 0xFF0000
            row.append(v)
        rows.append(row)
    return rows


def write_bmp24(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for y in range(h - 1, -1, -1):  # bottom-up
        line = b"".join(bytes(((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF)) for v in rows[y])
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(top, "resources", "kx")
    os.makedirs(out, exist_ok=True)
    for name, draw in KINDS:
        pk.write_bmp(os.path.join(out, "KXCOMMON_%s.bmp" % name), pk.two_cells(draw))
    write_bmp24(os.path.join(out, "KXCOMMON_RADIOBUTTON_UNCHECKED.bmp"), radio(False))
    write_bmp24(os.path.join(out, "KXCOMMON_RADIOBUTTON_CHECKED.bmp"), radio(True))


if __name__ == "__main__":
    main()

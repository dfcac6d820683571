#!/usr/bin/env python3
"""Draws the sample product disc of the menu program.

    disc/make_sample_disc.py OUTDIR

writes into OUTDIR everything the menu reads beside its executable:

    perivane.ini                      four products, six languages
    Resource/BG8_1024_768.BMP ...     the skin: background, selector, three
    Resource/ET24_1024_768.BMP        launch buttons, minimise and exit, as an
                                      8-bit set and a 24-bit set
    Resource/logo.bmp                 the splash picture
    Resource/Product.TXT              one product per line
    Resource/Language.TXT             the check list's line format
    Resource/PV*.bmp, PV*.jpg         product pictures (lime is transparent)
    DE/ EN/ ES/ FR/ IT/ NL/           the manuals, one folder per language
    Docs/                             documents that are the same in every language

The programs the disc starts (Driver/Setup.exe, Tools/Viewer.exe) are built
by CMake from disc/DiscTool.cpp and copied in beside these files. One
document is missing on purpose: the PV-300's driver (its hint says so).

Only the standard library is used: the bitmaps are drawn pixel by pixel, the
letters come from a small pixel font below, the JPEG is written by a
baseline encoder here, the PDF manuals are written as text.
"""
import math
import os
import struct
import sys

# --- pixels -------------------------------------------------------------------------


def mix(a, b, t):
    """Colour a moved toward b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Image:
    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c if alpha >= 1 else mix(self.px[y][x], c, alpha)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1):
            c = mix(top, bottom, (y - y0) / max(1, y1 - y0 - 1))
            self.rect(x0, y, x1, y + 1, c)

    def hgradient(self, x0, y0, x1, y1, left, right):
        for x in range(x0, x1):
            c = mix(left, right, (x - x0) / max(1, x1 - x0 - 1))
            self.rect(x, y0, x + 1, y1, c)

    def coverage_fill(self, x0, y0, x1, y1, distance, colour_at, smooth=True):
        """Paints the shape whose signed distance (negative inside) the
        function gives at a pixel centre: edge pixels blended by how much of
        them is covered when smooth, else all or nothing."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                d = distance(x + 0.5, y + 0.5)
                cover = min(1.0, max(0.0, 0.5 - d)) if smooth else (1.0 if d <= 0 else 0.0)
                if cover > 0:
                    self.put(x, y, colour_at(x, y), cover)

    def round_rect(self, x0, y0, x1, y1, r, colour_at, smooth=True):
        def distance(px, py):
            qx = max(x0 + r - px, 0, px - (x1 - r))
            qy = max(y0 + r - py, 0, py - (y1 - r))
            if qx == 0 or qy == 0:
                return -min(px - x0, x1 - px, py - y0, y1 - py)
            return math.hypot(qx, qy) - r
        if not callable(colour_at):
            c = colour_at
            colour_at = lambda x, y: c  # noqa: E731
        self.coverage_fill(int(x0), int(y0), int(math.ceil(x1)), int(math.ceil(y1)), distance, colour_at, smooth)

    def disc(self, cx, cy, r, colour, smooth=True):
        distance = lambda px, py: math.hypot(px - cx, py - cy) - r  # noqa: E731
        self.coverage_fill(int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2), distance,
                           lambda x, y: colour, smooth)

    def line(self, x0, y0, x1, y1, colour, width=1.0):
        def distance(px, py):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy or 1)))
            return math.hypot(px - x0 - t * dx, py - y0 - t * dy) - width / 2
        pad = int(width) + 1
        self.coverage_fill(int(min(x0, x1)) - pad, int(min(y0, y1)) - pad, int(max(x0, x1)) + pad + 1,
                           int(max(y0, y1)) + pad + 1, distance, lambda x, y: colour)

    def shadow(self, x0, y0, x1, y1, r, spread, strength):
        """A soft dark shadow around a rounded box."""
        for y in range(int(y0 - spread), int(y1 + spread)):
            for x in range(int(x0 - spread), int(x1 + spread)):
                cx = min(max(x + 0.5, x0 + r), x1 - r)
                cy = min(max(y + 0.5, y0 + r), y1 - r)
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) - r
                if 0 < d < spread:
                    self.put(x, y, (0, 0, 0), strength * (1 - d / spread) ** 2)


# --- a 5 x 7 pixel font ---------------------------------------------------------------

FONT = {
    'A': ".###.#...##...#######...##...##...#", 'B': "####.#...#####.#...##...##...#####.",
    'C': ".###.#...##....#....#....#...#.###.", 'D': "####.#...##...##...##...##...#####.",
    'E': "######....####.#....#....#....#####", 'F': "######....####.#....#....#....#....",
    'G': ".###.#...##....#.####...##...#.####", 'H': "#...##...#######...##...##...##...#",
    'I': ".###...#....#....#....#....#...###.", 'J': "..###...#....#....#....##..#..##...",
    'K': "#...##..#.#.#..##...#.#..#..#.#...#", 'L': "#....#....#....#....#....#....#####",
    'M': "#...###.###.#.##...##...##...##...#", 'N': "#...###..##.#.##..###...##...##...#",
    'O': ".###.#...##...##...##...##...#.###.", 'P': "####.#...##...#####.#....#....#....",
    'Q': ".###.#...##...##...##.#.##..#..##.#", 'R': "####.#...##...#####.#.#..#..#.#...#",
    'S': ".####.....#.....###.....#....#####.", 'T': "#####..#....#....#....#....#....#..",
    'U': "#...##...##...##...##...##...#.###.", 'V': "#...##...##...##...##...#.#.#...#..",
    'W': "#...##...##...##.#.##.#.##.#.#.#.#.", 'X': "#...##...#.#.#...#...#.#.#...##...#",
    'Y': "#...##...#.#.#...#....#....#....#..", 'Z': "#####....#...#...#...#...#....#####",
    '0': ".###.#...##..###.#.###..##...#.###.", '1': "..#...##....#....#....#....#...###.",
    '2': ".###.#...#....#...#...#...#...#####", '3': "#####...#...#.....#....##...#.###.",
    '4': "...#...##..#.#.#..#.#####...#....#.", '5': "######....####.....#....##...#.###.",
    '6': "..##..#...#....####.#...##...#.###.", '7': "#####....#...#...#...#....#....#...",
    '8': ".###.#...##...#.###.#...##...#.###.", '9': ".###.#...##...#.####....#...#..##..",
    '-': "." * 15 + ".###." + "." * 15, '.': "." * 25 + ".##...##..",
    '&': ".#...#.#..#.#...#...#.#.##..#..##.#", '/': "....#....#...#...#...#...#....#....",
    ':': "......##...##.........##...##......", ' ': "." * 35,
}
for k, v in list(FONT.items()):
    FONT[k] = v.ljust(35, '.')


def text_width(s, scale, spacing=1):
    return len(s) * (5 + spacing) * scale - spacing * scale


def draw_text(img, x, y, s, colour, scale=1, spacing=1, shade=None):
    """Upper-case pixel text; each font pixel a scale x scale block, with an
    optional shade one block down and right."""
    for layer in ([(shade, scale // 2 or 1)] if shade else []) + [(colour, 0)]:
        c, off = layer
        cx = x
        for ch in s.upper():
            g = FONT.get(ch, FONT[' '])
            for r in range(7):
                for col in range(5):
                    if g[r * 5 + col] == '#':
                        img.rect(cx + col * scale + off, y + r * scale + off,
                                 cx + (col + 1) * scale + off, y + (r + 1) * scale + off, c)
            cx += (5 + spacing) * scale


def centred_text(img, x0, x1, y, s, colour, scale=1, shade=None):
    draw_text(img, x0 + (x1 - x0 - text_width(s, scale)) // 2, y, s, colour, scale, shade=shade)


# --- files ------------------------------------------------------------------------------


def bmp24(img):
    row = (img.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(img.h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in img.px[y]:
            line += bytes((b, g, r))
        data += line + b'\0' * (row - len(line))
    return bmp_file(img, 24, b'', bytes(data))


# The palette of the 8-bit set: the 6 x 6 x 6 colour cube (black, white and
# lime among its corners, so the transparent keys stay exact), then 40 greys.
LEVELS = [0, 51, 102, 153, 204, 255]
PALETTE8 = [(r, g, b) for r in LEVELS for g in LEVELS for b in LEVELS] + \
           [(v, v, v) for v in (int(round(8 + i * 239 / 39)) for i in range(40))]


def nearest8(c, cache={}):
    if c not in cache:
        cache[c] = min(range(256), key=lambda i: sum((PALETTE8[i][k] - c[k]) ** 2 for k in range(3)))
    return cache[c]


def bmp8(img):
    row = (img.w + 3) & ~3
    data = bytearray()
    for y in range(img.h - 1, -1, -1):
        line = bytes(nearest8(c) for c in img.px[y])
        data += line + b'\0' * (row - len(line))
    table = b''.join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE8)
    return bmp_file(img, 8, table, bytes(data))


def bmp_file(img, bits, table, data):
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, bits, 0, len(data), 2835, 2835,
                       256 if bits == 8 else 0, 0)
    return header + info + table + data


def jpeg(img, quality=88):
    """A baseline JPEG (YCbCr 4:4:4, the standard Huffman tables)."""
    def scaled(table):
        s = 5000 / quality if quality < 50 else 200 - 2 * quality
        return [max(1, min(255, (q * s + 50) // 100)) for q in table]
    lum_q = scaled([16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56,
                    14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113,
                    92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99])
    chr_q = scaled([17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99,
                    47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32)
    zigzag = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,
              7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
              39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
    dc_lum = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
    dc_chr = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
    ac_lum = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes.fromhex(
        "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a25262728292a3435"
        "363738393a434445464748494a535455565758595a636465666768696a737475767778797a838485868788898a92939495969798"
        "999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4"
        "f5f6f7f8f9fa"))
    ac_chr = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
        "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a262728292a"
        "35363738393a434445464748494a535455565758595a636465666768696a737475767778797a82838485868788898a9293949596"
        "9798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4"
        "f5f6f7f8f9fa"))

    def codes(spec):
        counts, symbols = spec
        table, code, k = {}, 0, 0
        for length in range(1, 17):
            for _ in range(counts[length - 1]):
                table[symbols[k]] = (code, length)
                code += 1
                k += 1
            code <<= 1
        return table
    tables = [(codes(dc_lum), codes(ac_lum)), (codes(dc_chr), codes(ac_chr))]
    cos = [[math.cos((2 * x + 1) * u * math.pi / 16) * (math.sqrt(0.5) if u == 0 else 1) / 2 for x in range(8)]
           for u in range(8)]

    out = bytearray()
    bitbuf, bitcnt = 0, 0

    def bits(value, length):
        nonlocal bitbuf, bitcnt
        bitbuf = (bitbuf << length) | (value & ((1 << length) - 1))
        bitcnt += length
        while bitcnt >= 8:
            byte = (bitbuf >> (bitcnt - 8)) & 0xFF
            out.append(byte)
            if byte == 0xFF:
                out.append(0)
            bitcnt -= 8

    def magnitude(v):
        n = abs(v).bit_length()
        return n, (v if v >= 0 else v + (1 << n) - 1)

    def block(samples, quant, table, prev_dc):
        rows = [[sum(cos[u][x] * samples[y][x] for x in range(8)) for u in range(8)] for y in range(8)]
        coef = [0] * 64
        for v in range(8):
            for u in range(8):
                c = sum(cos[v][y] * rows[y][u] for y in range(8))
                coef[v * 8 + u] = int(round(c / quant[v * 8 + u]))
        dc_table, ac_table = table
        diff = coef[0] - prev_dc
        n, m = magnitude(diff)
        bits(*dc_table[n])
        if n:
            bits(m, n)
        run = 0
        for i in range(1, 64):
            c = coef[zigzag[i]]
            if c == 0:
                run += 1
                continue
            while run > 15:
                bits(*ac_table[0xF0])
                run -= 16
            n, m = magnitude(c)
            bits(*ac_table[(run << 4) | n])
            bits(m, n)
            run = 0
        if run:
            bits(*ac_table[0x00])
        return coef[0]

    def sample(x, y, comp):
        r, g, b = img.px[min(y, img.h - 1)][min(x, img.w - 1)]
        if comp == 0:
            return 0.299 * r + 0.587 * g + 0.114 * b - 128
        if comp == 1:
            return -0.168736 * r - 0.331264 * g + 0.5 * b
        return 0.5 * r - 0.418688 * g - 0.081312 * b

    prev = [0, 0, 0]
    for by in range(0, img.h, 8):
        for bx in range(0, img.w, 8):
            for comp in range(3):
                samples = [[sample(bx + x, by + y, comp) for x in range(8)] for y in range(8)]
                prev[comp] = block(samples, lum_q if comp == 0 else chr_q, tables[min(comp, 1)], prev[comp])
    if bitcnt:
        bits(0x7F, 7 - (bitcnt - 1) % 8)

    def segment(marker, payload):
        return struct.pack('>BBH', 0xFF, marker, len(payload) + 2) + payload

    head = b'\xff\xd8' + segment(0xE0, b'JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00')
    head += segment(0xDB, b'\x00' + bytes(lum_q[i] for i in zigzag) + b'\x01' + bytes(chr_q[i] for i in zigzag))
    head += segment(0xC0, struct.pack('>BHHB', 8, img.h, img.w, 3) + b'\x01\x11\x00\x02\x11\x01\x03\x11\x01')
    for cls_id, spec in ((0x00, dc_lum), (0x10, ac_lum), (0x01, dc_chr), (0x11, ac_chr)):
        head += segment(0xC4, bytes([cls_id]) + bytes(spec[0]) + bytes(spec[1]))
    head += segment(0xDA, b'\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00')
    return head + bytes(out) + b'\xff\xd9'


def pdf(title, lines):
    """A one-page PDF showing a title and some lines of text."""
    def esc(s):
        return s.replace('\\', '\\\\').replace('(', '\\(').replace(')', '\\)')
    text = "BT /F1 24 Tf 72 760 Td (%s) Tj ET\n" % esc(title)
    y = 720
    for line in lines:
        text += "BT /F1 12 Tf 72 %d Td (%s) Tj ET\n" % (y, esc(line))
        y -= 18
    stream = text.encode('latin-1')
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"endstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


# --- the skin ------------------------------------------------------------------------------

NAVY = (14, 34, 74)
DEEP = (22, 58, 112)
SKY = (226, 236, 246)
PAPER = (246, 249, 252)
ACCENT = (232, 120, 26)
LIME = (0, 255, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

BG_W, BG_H = 640, 480


def background():
    img = Image(BG_W, BG_H, NAVY)
    # The window is the whole rectangle (the menu never cuts it to a shape):
    # a dark frame with a lit edge, and on it a light card with a soft shadow.
    img.vgradient(0, 0, BG_W, BG_H, (10, 26, 58), (4, 12, 30))
    for i, edge in enumerate(((70, 104, 156), (24, 44, 84))):
        img.rect(i, i, BG_W - i, i + 1, edge)
        img.rect(i, BG_H - i - 1, BG_W - i, BG_H - i, edge)
        img.rect(i, i, i + 1, BG_H - i, edge)
        img.rect(BG_W - i - 1, i, BG_W - i, BG_H - i, edge)
    img.shadow(14, 14, BG_W - 14, BG_H - 14, 18, 12, 0.7)
    img.round_rect(14, 14, BG_W - 14, BG_H - 14, 18, lambda x, y: mix(PAPER, SKY, y / BG_H))
    # The title band.
    img.round_rect(14, 14, BG_W - 14, 96, 18, lambda x, y: mix((34, 92, 160), NAVY, x / BG_W))
    img.rect(14, 80, BG_W - 14, 96, NAVY)
    img.hgradient(14, 93, BG_W - 14, 96, ACCENT, (250, 200, 60))
    draw_text(img, 40, 30, "ORLO", WHITE, 5, shade=(8, 20, 44))
    draw_text(img, 200, 38, "PRODUCT DISC", (200, 220, 245), 3)
    draw_text(img, 202, 66, "MANUALS - DRIVERS - TOOLS", (150, 180, 220), 1)
    # The selector column: a dark panel, white titles on it.
    img.shadow(34, 108, 258, 398, 12, 6, 0.35)
    img.round_rect(34, 108, 258, 398, 12, lambda x, y: mix(DEEP, NAVY, (y - 108) / 290))
    img.rect(50, 350, 242, 351, mix(DEEP, (80, 120, 180), 0.5))
    draw_text(img, 52, 360, "1. PICK A MODEL", (130, 160, 210))
    draw_text(img, 52, 372, "2. PICK A LANGUAGE", (130, 160, 210))
    # The product's corner: a frame for the picture and the launch buttons.
    img.round_rect(330, 104, 606, 404, 12, (255, 255, 255))
    img.round_rect(331, 105, 605, 403, 11, lambda x, y: mix((252, 253, 255), (232, 240, 250), (y - 104) / 300))
    img.rect(346, 312, 590, 313, (200, 212, 228))
    # The bottom bar: the link on a light strip.
    img.rect(14, 414, BG_W - 14, 415, (200, 212, 228))
    draw_text(img, 140, 436, "VISIT US:", (90, 110, 140))
    return img


def selector():
    """The drop-down selector: a light field with a dark arrow, no pure black
    or white, so it keeps its full rectangle with either key colour."""
    w, h = 150, 21
    img = Image(w, h, (40, 40, 40))
    img.rect(0, 0, w, h, (60, 72, 92))
    img.vgradient(1, 1, w - 1, h - 1, (250, 251, 253), (214, 222, 234))
    img.vgradient(w - 20, 1, w - 1, h - 1, (255, 190, 110), ACCENT)
    img.rect(w - 21, 1, w - 20, h - 1, (60, 72, 92))
    for i in range(5):
        img.rect(w - 15 + i, 8 + i, w - 6 - i, 9 + i, (60, 40, 20))
    return img


LAUNCH_COLOURS = {'A': ((210, 228, 250), (150, 190, 240), (40, 90, 170)),
                  'B': ((214, 244, 214), (150, 216, 150), (40, 130, 60)),
                  'C': ((252, 232, 210), (246, 190, 130), (190, 90, 20))}


def launch_button(kind):
    """A rounded launch button on white (the key colour that cuts it out), a
    light face for the black caption that the menu writes into it, and a
    coloured mark at the left."""
    w, h = 150, 26
    light, mid, dark = LAUNCH_COLOURS[kind]
    img = Image(w, h, WHITE)
    img.round_rect(0, 0, w, h, 12, dark, smooth=False)
    img.round_rect(1, 1, w - 1, h - 1, 11, lambda x, y: mix(light, mid, y / h), smooth=False)
    img.disc(14, h / 2, 6, dark)
    if kind == 'A':      # a page
        img.rect(11, 9, 17, 17, (250, 250, 250))
    elif kind == 'B':    # a plug
        img.rect(12, 8, 16, 18, (250, 250, 250))
        img.rect(10, 10, 18, 12, (250, 250, 250))
    else:                # a triangle: "play"
        for i in range(7):
            img.rect(12, 10 + i // 2, 13 + i, 11 + i // 2, (250, 250, 250))
            img.rect(12, 16 - i // 2, 13 + i, 17 - i // 2, (250, 250, 250))
    # Keep the key colour out of the face: no pure white inside.
    for y in range(h):
        for x in range(w):
            if img.px[y][x] == WHITE and 2 < x < w - 3 and 2 < y < h - 3:
                img.px[y][x] = (250, 250, 250)
    return img


def round_button(symbol):
    """The minimise and exit buttons: a disc on lime (the disc's key colour)."""
    w, h = 22, 22
    img = Image(w, h, LIME)
    face = (200, 60, 50) if symbol == 'x' else (60, 110, 180)
    img.disc(10.5, 10.5, 10.5, (20, 30, 50), smooth=False)
    img.disc(10.5, 10.5, 9.5, face, smooth=False)
    if symbol == 'x':
        img.line(7, 7, 14, 14, WHITE, 2.2)
        img.line(14, 7, 7, 14, WHITE, 2.2)
    else:
        img.rect(6, 13, 16, 15, WHITE)
    # Antialiased strokes blend with the face only; the lime stays exact.
    return img


def logo():
    w, h = 360, 120
    img = Image(w, h, NAVY)
    img.vgradient(0, 0, w, h, (34, 92, 160), NAVY)
    img.hgradient(0, h - 6, w, h, ACCENT, (250, 200, 60))
    draw_text(img, 24, 22, "ORLO", WHITE, 6, shade=(8, 20, 44))
    draw_text(img, 200, 34, "PRODUCT", (200, 220, 245), 2)
    draw_text(img, 200, 56, "DISC", (200, 220, 245), 2)
    draw_text(img, 24, 90, "LOADING...", (150, 180, 220), 1)
    return img


# --- product pictures ------------------------------------------------------------------------


def device(name, body, screen, keyed):
    """A drawn device: a printer-like box with a screen and buttons, on lime
    (keyed, for the transparent BMPs) or on a studio backdrop (JPEG)."""
    w, h = 190, 190
    img = Image(w, h, LIME)
    if not keyed:
        img.vgradient(0, 0, w, h, (240, 244, 250), (170, 184, 204))
        img.shadow(22, 150, 168, 166, 8, 14, 0.45)
    img.round_rect(20, 40, 170, 160, 14, lambda x, y: mix(mix(body, WHITE, 0.35), body, (y - 40) / 120),
                   smooth=not keyed)
    img.round_rect(44, 22, 146, 60, 6, lambda x, y: mix((250, 250, 250), (210, 214, 220), (y - 22) / 38),
                   smooth=not keyed)
    img.round_rect(36, 74, 120, 120, 5, (30, 36, 44), smooth=not keyed)
    img.round_rect(39, 77, 117, 117, 3, lambda x, y: mix(screen, mix(screen, BLACK, 0.5), (y - 77) / 40),
                   smooth=not keyed)
    draw_text(img, 46, 92, name, WHITE, 1)
    for i, c in enumerate(((90, 200, 90), ACCENT, (230, 230, 236))):
        img.disc(140, 84 + i * 16, 5, c, smooth=not keyed)
    img.rect(40, 134, 150, 140, mix(body, BLACK, 0.4))
    if keyed:  # a keyed picture must not blend into the lime
        for y in range(h):
            for x in range(w):
                r, g, b = img.px[y][x]
                if (r, g, b) != LIME and g > 200 and r < 60 and b < 60:
                    img.px[y][x] = (40, 200, 40)
    return img


# --- the disc -----------------------------------------------------------------------------------

PRODUCTS = [
    # name, picture, language mask, driver command, manual command
    ("Orlo PV-100", "PV100.bmp", "111111", "Driver\\Setup.exe", "+PV-100 Manual.pdf"),
    ("Orlo PV-200 Duo", "PV200.jpg", "110100", "Driver\\Setup.exe", "+PV-200 Manual.pdf"),
    ("Orlo PV-300 Pro", "PV300.bmp", "010011", "Driver\\PV300\\Setup.exe", "+PV-300 Manual.pdf"),
    ("Orlo PV-50 Mini", "PV50.jpg", "11", "Driver\\Setup.exe", "Docs\\PV-50 Quick Start.pdf"),
]
LANGUAGES = [("Deutsch", "DE", "Handbuch"), ("English", "EN", "Manual"), ("Espanol", "ES", "Manual de uso"),
             ("Francais", "FR", "Manuel"), ("Italiano", "IT", "Manuale"), ("Nederlands", "NL", "Handboek")]


def ini():
    lines = [
        "; Perivane sample disc: the menu's settings (read only).",
        "[Application]",
        "; The product pictures' key colour (lime) is transparent; the minimise and",
        "; exit buttons take it too.",
        "TransparentColor=65280",
        "",
        "[LINK]",
        "http=http://www.orlo.example/",
        "",
        "[VIEWER]",
        "AcrobatReader=Tools\\Viewer.exe",
        "",
        "[DEBUG]",
        "Debug=0",
        "",
        "[OBJECT]",
        "ProductTitle=1",
        "LanguageTitle=1",
        "ProductShowOne=1",
        "LanguageShowOne=1",
        "",
        "[OBJLOCATION]",
        "SelectLeft=56",
        "SelectTop=128",
        "ProductpicLeft=370",
        "ProductpicTop=114",
        "ExecLeft=392",
        "ExecTop=320",
        "LinkLeft=216",
        "LinkTop=432",
        "MiniBtnLeft=560",
        "MiniBtnTop=432",
        "ExitBtnLeft=590",
        "ExitBtnTop=432",
        "",
        "[LANGUAGE]",
        "DefaultLang=EN",
    ]
    lines += ["LANG%dPATH=%s" % (i + 1, folder) for i, (_, folder, _) in enumerate(LANGUAGES)]
    lines += ["", "[OPTION]", "MultilanguageScreenDisplay=1"]
    for n, (name, picture, mask, driver, manual) in enumerate(PRODUCTS, 1):
        lines += ["", "[PRODUCT%d]" % n,
                  "BTNCAP1=Manual", "BTNCAP2=Driver", "BTNCAP3=Acrobat Reader",
                  "BTNCMD1=" + manual, "BTNCMD2=" + driver, "BTNCMD3=",
                  "HINTS1=The manual of the %s is not on this disc." % name,
                  "HINTS2=The driver of the %s is not on this disc." % name,
                  "HINTS3=",
                  "PICTURE=" + picture, "LANGSELECT=" + mask]
        if n == 1:
            lines += ["BTNCMD3Language%d=Tools\\Viewer.exe" % (i + 1) for i in range(len(LANGUAGES))]
    return "\r\n".join(lines) + "\r\n"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = 'wb' if isinstance(data, bytes) else 'w'
    with open(path, mode, **({} if mode == 'wb' else {'newline': '', 'encoding': 'cp1252'})) as f:
        f.write(data)


def main(out):
    res = os.path.join(out, "Resource")
    skins = {"BG": background(), "SEL": selector(), "MIN": round_button('-'), "ET": round_button('x')}
    for kind in "ABC":
        skins["EXE" + kind] = launch_button(kind)
    for depth, encode in (("8", bmp8), ("24", bmp24)):
        for key, img in skins.items():
            name = ("EXE%s_1024_768%s.BMP" % (depth, key[3])) if key.startswith("EXE") else \
                   "%s%s_1024_768.BMP" % (key, depth)
            write(os.path.join(res, name), encode(img))
    write(os.path.join(res, "logo.bmp"), bmp24(logo()))
    pictures = {
        "PV100.bmp": bmp24(device("PV-100", (60, 110, 180), (60, 150, 220), True)),
        "PV200.jpg": jpeg(device("PV-200", (70, 80, 96), (90, 190, 160), False)),
        "PV300.bmp": bmp24(device("PV-300", (150, 40, 40), (230, 150, 60), True)),
        "PV50.jpg": jpeg(device("PV-50", (230, 230, 236), (120, 120, 220), False)),
    }
    for name, data in pictures.items():
        write(os.path.join(res, name), data)
    write(os.path.join(res, "Product.TXT"), "".join(p[0] + "\r\n" for p in PRODUCTS))
    # The check list's line format: "&", enabled, blank, state, blank, text.
    write(os.path.join(res, "Language.TXT"), "".join("&1 0 %s \r\n" % name for name, _, _ in LANGUAGES))
    write(os.path.join(out, "perivane.ini"), ini())
    for name, folder, title in LANGUAGES:
        for product, _, mask, _, manual in PRODUCTS:
            if manual.startswith("+"):
                nice = product
                write(os.path.join(out, folder, manual[1:]),
                      pdf("%s - %s" % (nice, title), ["Sample manual (%s) of the Perivane product disc." % name,
                                                      "The menu opened this file from the folder %s." % folder]))
    write(os.path.join(out, "Docs", "PV-50 Quick Start.pdf"),
          pdf("Orlo PV-50 Mini - Quick Start", ["Sample document of the Perivane product disc.",
                                               "Its path has blanks in it."]))
    write(os.path.join(out, "Driver", "ReadMe.txt"),
          "Setup.exe installs the sample drivers of the Orlo PV-100, PV-200 and PV-50.\r\n"
          "The PV-300's driver is not on this disc.\r\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_sample_disc.py OUTDIR")
    main(sys.argv[1])

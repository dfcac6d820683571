#!/usr/bin/env python3
"""Converts an uncompressed 24- or 32-bit BMP (bottom-up or top-down) into a
PNG, with the standard library only:  bmp_to_png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def convert(src, dst):
    data = open(src, 'rb').read()
    if data[:2] != b'BM':
        sys.exit("%s: not a BMP file" % src)
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from('<iiHHI', data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        sys.exit("%s: only uncompressed 24- and 32-bit BMPs are converted" % src)
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source_row = abs(height) - 1 - y if height > 0 else y
        row = data[offset + source_row * stride: offset + source_row * stride + width * step]
        rgb = bytearray(width * 3)
        rgb[0::3] = row[2::step]
        rgb[1::3] = row[1::step]
        rgb[2::3] = row[0::step]
        rows.append(b'\0' + bytes(rgb))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
    with open(dst, 'wb') as f:
        f.write(png)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit("usage: bmp_to_png.py IN.bmp OUT.png")
    convert(sys.argv[1], sys.argv[2])

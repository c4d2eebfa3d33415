#!/usr/bin/env python3
"""Writes the bitmaps of the graphics tests (run from this folder)."""
import struct


def bmp(path, width, height, bpp, palette, rows):
    """rows: top row first, each a list of palette indexes or (r, g, b)."""
    stride = ((width * bpp + 31) // 32) * 4
    data = b""
    for row in reversed(rows):  # stored bottom-up
        if bpp == 24:
            line = b"".join(bytes([b, g, r]) for r, g, b in row)
        else:
            bits = 0
            for v in row:
                bits = (bits << bpp) | v
            total = width * bpp
            pad = (-total) % 8
            bits <<= pad
            line = bits.to_bytes((total + pad) // 8, "big")
        data += line + b"\0" * (stride - len(line))
    colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(data), 0, 0, len(palette), 0)
    offset = 14 + len(header) + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + header + colours + data)


# 2 bits per pixel: four greys, a row per shade and a diagonal.
greys = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)]
bmp("twobit.bmp", 6, 4, 2, greys, [
    [0, 0, 0, 0, 0, 3],
    [1, 1, 1, 1, 3, 1],
    [2, 2, 2, 3, 2, 2],
    [3, 3, 3, 3, 3, 3],
])
# 1 bit per pixel: a black frame on white.
bmp("mono.bmp", 5, 3, 1, [(0, 0, 0), (255, 255, 255)], [
    [0, 0, 0, 0, 0],
    [0, 1, 1, 1, 0],
    [0, 0, 0, 0, 0],
])
# 24 bits per pixel: red, green, blue over white, black.
bmp("colour.bmp", 3, 2, 24, [], [
    [(255, 0, 0), (0, 255, 0), (0, 0, 255)],
    [(255, 255, 255), (0, 0, 0), (10, 20, 30)],
])

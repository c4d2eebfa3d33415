#!/usr/bin/env python3
"""Writes the small binary files that test.rc compiles into the kernel tests'
resources: an icon and a bitmap whose pixels follow simple formulas so the
tests can check any pixel, and a message table. Run from this folder:
python3 make_images.py"""
import struct


def info_header(width, height, bpp, colors):
    # BITMAPINFOHEADER: size, width, height, planes, bit count, compression,
    # image size, x/y pixels per metre, colours used, colours important.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0, 0, 0, 0, colors, 0)


def stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def pack_rows(width, height, bpp, value):
    """Rows bottom-up; value(x, y) gives the palette index or the raw pixel
    bytes of row y counted from the top."""
    out = b''
    for y in reversed(range(height)):
        if bpp >= 24:
            row = b''.join(value(x, y) for x in range(width))
        else:
            bits = 0
            nbits = 0
            row = bytearray()
            for x in range(width):
                bits = (bits << bpp) | value(x, y)
                nbits += bpp
                if nbits == 8:
                    row.append(bits)
                    bits = nbits = 0
            if nbits:
                row.append(bits << (8 - nbits))
            row = bytes(row)
        out += row + b'\0' * (stride(width, bpp) - len(row))
    return out


def palette(colors):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colors)


# The 16 colours of the 4-bit icon: index i is (i*16, 255-i*16, i*8).
PALETTE16 = [(i * 16, 255 - i * 16, i * 8) for i in range(16)]
# The 256 colours of the 8-bit icon: index i is (i, 255-i, i/2).
PALETTE256 = [(i, 255 - i, i // 2) for i in range(256)]


def icon_image(width, height, bpp, colors, value, transparent):
    header = info_header(width, height * 2, bpp, len(colors))
    xor = pack_rows(width, height, bpp, value)
    mask = pack_rows(width, height, 1, lambda x, y: 1 if transparent(x, y) else 0)
    return header + palette(colors) + xor + mask


def write_icon(path, images):
    # images: (width, height, bpp, colour count, bytes)
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h, bpp, ncolors, data) in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, ncolors % 256, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[4]
    with open(path, 'wb') as f:
        f.write(out)


def main():
    # 16x16, 4 bits: pixel (x, y) is colour (x + y) % 16; the two left columns
    # are transparent.
    small = icon_image(16, 16, 4, PALETTE16, lambda x, y: (x + y) % 16, lambda x, y: x < 2)
    # 32x32, 8 bits: pixel (x, y) is colour (8x + y) % 256; the top row is
    # transparent. Loses to the 32-bit image of the same size.
    medium = icon_image(32, 32, 8, PALETTE256, lambda x, y: (8 * x + y) % 256, lambda x, y: y == 0)
    # 32x32, 32 bits with alpha: (r, g, b, a) = (8y, 100, 200, 8x).
    rich = icon_image(32, 32, 32, [],
                      lambda x, y: struct.pack('<BBBB', 200, 100, 8 * y, 8 * x), lambda x, y: False)
    write_icon('icon.ico', [(16, 16, 4, 16, small), (32, 32, 8, 0, medium), (32, 32, 32, 0, rich)])

    # A 5x3 bitmap with 2 bits per pixel: pixel (x, y) is colour (x + 2y) % 4
    # of black, red, green, blue.
    colors = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
    bits = pack_rows(5, 3, 2, lambda x, y: (x + 2 * y) % 4)
    dib = info_header(5, 3, 2, 4) + palette(colors) + bits
    with open('twobpp.bmp', 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, 14 + 40 + 16) + dib)


def message_entry(text, unicode):
    data = text.encode('utf-16-le' if unicode else 'cp1252') + (b'\0\0' if unicode else b'\0')
    data += b'\0' * (-(len(data) + 4) % 4)
    return struct.pack('<HH', len(data) + 4, 1 if unicode else 0) + data


def write_message_table(path, blocks):
    # blocks: (first id, [(text, unicode)]); entries follow the block table.
    out = b''
    offset = 4 + 12 * len(blocks)
    table = struct.pack('<I', len(blocks))
    for first, messages in blocks:
        entries = b''.join(message_entry(t, u) for (t, u) in messages)
        table += struct.pack('<III', first, first + len(messages) - 1, offset)
        out += entries
        offset += len(entries)
    with open(path, 'wb') as f:
        f.write(table + out)


def write_messages():
    write_message_table('messages.bin', [
        (100, [('Disk %1 is full.\r\n', True), ('Costs \u20ac5,\r\npaid.\r\n', False)]),
        (0x20000000, [('Custom code.\r\n', True)]),
    ])


if __name__ == '__main__':
    main()
    write_messages()

#!/usr/bin/env python3
"""Writes the program's icon and menu bar bitmaps from the text pixel maps here.

    python3 make_art.py           write ../vantor.ico, ../menubar_colour.bmp, ../menubar_grey.bmp
    python3 make_art.py --check   only compare them with what the maps give (exit 1 on a difference)

A map has one character per pixel; lines starting with '#' and blank lines are
skipped, and blanks inside a row only separate images for the reader. The
colour images use the 16-colour palette of the device's era, the grey strip
four greys (2 bits per pixel). In the icon '.' is transparent; in the menu bar
strips it is the button face, light grey, which the menu bar shows as its
background.
"""

import struct
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
OUT = HERE.parent

# Index, character and colour of the classic 16-colour palette.
COLOUR_PALETTE = [
    ('K', (0x00, 0x00, 0x00)),  # black
    ('r', (0x80, 0x00, 0x00)),  # dark red
    ('g', (0x00, 0x80, 0x00)),  # dark green
    ('o', (0x80, 0x80, 0x00)),  # olive
    ('n', (0x00, 0x00, 0x80)),  # navy
    ('p', (0x80, 0x00, 0x80)),  # purple
    ('t', (0x00, 0x80, 0x80)),  # teal
    ('s', (0xC0, 0xC0, 0xC0)),  # light grey, the button face
    ('d', (0x80, 0x80, 0x80)),  # dark grey
    ('R', (0xFF, 0x00, 0x00)),  # red
    ('G', (0x00, 0xFF, 0x00)),  # green
    ('Y', (0xFF, 0xFF, 0x00)),  # yellow
    ('B', (0x00, 0x00, 0xFF)),  # blue
    ('M', (0xFF, 0x00, 0xFF)),  # magenta
    ('C', (0x00, 0xFF, 0xFF)),  # cyan
    ('W', (0xFF, 0xFF, 0xFF)),  # white
]

GREY_PALETTE = [
    ('K', (0x00, 0x00, 0x00)),
    ('d', (0x80, 0x80, 0x80)),
    ('s', (0xC0, 0xC0, 0xC0)),
    ('W', (0xFF, 0xFF, 0xFF)),
]

BUTTON_FACE = 's'


class ArtError(Exception):
    pass


def read_map(name, width, height):
    rows = []
    for number, line in enumerate((HERE / name).read_text().splitlines(), 1):
        if not line.strip() or line.startswith('#'):
            continue
        row = line.replace(' ', '')
        if len(row) != width:
            raise ArtError(f'{name}:{number}: {len(row)} pixels, expected {width}')
        rows.append(row)
    if len(rows) != height:
        raise ArtError(f'{name}: {len(rows)} rows, expected {height}')
    return rows


def indices(rows, palette, name, transparent=False):
    """Palette indices, top row first. '.' is index 0 (black, masked out) in an
    icon and the button face in a bitmap."""
    index = {char: i for i, (char, _) in enumerate(palette)}
    index['.'] = 0 if transparent else index[BUTTON_FACE]
    result = []
    for y, row in enumerate(rows):
        line = []
        for x, char in enumerate(row):
            if char not in index:
                raise ArtError(f'{name}: pixel ({x}, {y}) is {char!r}, not in the palette')
            line.append(index[char])
        result.append(line)
    return result


def pack_rows(pixel_rows, bits):
    """Packs rows bottom-up, most significant bits first, each row padded to 4 bytes."""
    out = bytearray()
    for line in reversed(pixel_rows):
        value, count, row = 0, 0, bytearray()
        for pixel in line:
            value = (value << bits) | pixel
            count += bits
            if count == 8:
                row.append(value)
                value, count = 0, 0
        if count:
            row.append(value << (8 - count))
        while len(row) % 4:
            row.append(0)
        out += row
    return bytes(out)


def palette_bytes(palette):
    return b''.join(bytes((b, g, r, 0)) for _, (r, g, b) in palette)


def info_header(width, height, bits, image_size, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 0, 0, colours_used, 0)


def bitmap_file(rows, palette, bits, name):
    pixels = pack_rows(indices(rows, palette, name), bits)
    width, height = len(rows[0]), len(rows)
    header = info_header(width, height, bits, len(pixels), len(palette)) + palette_bytes(palette)
    offset = 14 + len(header)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + pixels


def icon_image(rows, name):
    """One icon image: header, palette, colour bits, then the transparency mask."""
    size = len(rows)
    colour = pack_rows(indices(rows, COLOUR_PALETTE, name, transparent=True), 4)
    mask = pack_rows([[1 if char == '.' else 0 for char in row] for row in rows], 1)
    header = info_header(size, 2 * size, 4, len(colour) + len(mask), 0)
    return header + palette_bytes(COLOUR_PALETTE) + colour + mask


def icon_file(images):
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b'', b''
    for size, image in images:
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    return directory + entries + data


def build():
    return {
        'vantor.ico': icon_file([
            (16, icon_image(read_map('icon16.txt', 16, 16), 'icon16.txt')),
            (32, icon_image(read_map('icon32.txt', 32, 32), 'icon32.txt')),
        ]),
        'menubar_colour.bmp': bitmap_file(read_map('menubar_colour.txt', 48, 16), COLOUR_PALETTE, 4,
                                          'menubar_colour.txt'),
        'menubar_grey.bmp': bitmap_file(read_map('menubar_grey.txt', 48, 16), GREY_PALETTE, 2,
                                        'menubar_grey.txt'),
    }


def main(argv):
    check = '--check' in argv[1:]
    try:
        files = build()
    except ArtError as error:
        print(f'make_art: {error}', file=sys.stderr)
        return 1
    stale = []
    for name, data in files.items():
        path = OUT / name
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.write_bytes(data)
    if stale:
        print('make_art: out of date: ' + ', '.join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

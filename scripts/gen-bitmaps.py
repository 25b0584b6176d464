#!/usr/bin/env python3
"""Writes resources/toolimage.bmp and resources/toolmask.bmp.

The two bitmaps are committed; run this only after changing the pictures
below. Usage: scripts/gen-bitmaps.py [output-directory]
(default: the resources directory next to this script's directory).

The tool image is two overlapping calendar leaves, "11" behind and "12" in
front. The mask marks with 1 the pixels the host treats as transparent: the
two corners that neither leaf covers.
"""

import os
import struct
import sys

# 16 colours, in the order of the standard 16-colour palette; the image
# uses only black, red and white.
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PALETTE_2 = [(0, 0, 0), (255, 255, 255)]

# Top row first. '#' black digit, 'r' red border, '.' white paper.
IMAGE_ART = """
rrrrrrrrrrr.....
rrrrrrrrrrr.....
r.........r.....
r#.#......r.....
r.#.#.....r.....
r.#.#rrrrrrrrrrr
r.#.#rrrrrrrrrrr
r.#.#r.........r
r.#.#r.#...##..r
r....r..#.#..#.r
rrrrrr..#....#.r
.....r..#...#..r
.....r..#..#...r
.....r..#.####.r
.....r.........r
.....rrrrrrrrrrr
"""
IMAGE_KEY = {'#': 0, 'r': 9, '.': 15}

# Top row first. 'x' transparent (1), '.' opaque (0).
MASK_ART = """
...........xxxxx
...........xxxxx
...........xxxxx
...........xxxxx
...........xxxxx
................
................
................
................
................
................
xxxxx...........
xxxxx...........
xxxxx...........
xxxxx...........
xxxxx...........
"""
MASK_KEY = {'x': 1, '.': 0}

SIZE = 16


def parse(art, key):
    rows = art.strip('\n').split('\n')
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        sys.exit('gen-bitmaps: pictures must be %dx%d' % (SIZE, SIZE))
    return [[key[ch] for ch in row] for row in rows]


def pack_row(indexes, bits):
    """Packs palette indexes most significant bits first, padded to 4 bytes."""
    per_byte = 8 // bits
    out = bytearray()
    for i in range(0, len(indexes), per_byte):
        byte = 0
        for j, value in enumerate(indexes[i:i + per_byte]):
            byte |= value << (8 - bits * (j + 1))
        out.append(byte)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def bmp(pixels, bits, palette):
    # DIB rows are stored bottom-up.
    data = b''.join(pack_row(row, bits) for row in reversed(pixels))
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info_header = struct.pack(
        '<IiiHHIIiiII',
        40,            # biSize
        SIZE, SIZE,    # biWidth, biHeight (positive: bottom-up)
        1, bits,       # biPlanes, biBitCount
        0,             # biCompression = BI_RGB
        len(data),     # biSizeImage
        0, 0,          # biXPelsPerMeter, biYPelsPerMeter: unspecified
        len(palette),  # biClrUsed
        0)             # biClrImportant: all
    return file_header + info_header + colours + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources')

    image = parse(IMAGE_ART, IMAGE_KEY)
    mask = parse(MASK_ART, MASK_KEY)
    # A transparent pixel must be paper in the image, or the host would
    # show a stray colour around the leaves on some backgrounds.
    for y in range(SIZE):
        for x in range(SIZE):
            if mask[y][x] and image[y][x] != 15:
                sys.exit('gen-bitmaps: mask pixel %d,%d is not white in the image' % (x, y))

    for name, pixels, bits, palette in (
            ('toolimage.bmp', image, 4, PALETTE_16),
            ('toolmask.bmp', mask, 1, PALETTE_2)):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(bmp(pixels, bits, palette))


if __name__ == '__main__':
    main()

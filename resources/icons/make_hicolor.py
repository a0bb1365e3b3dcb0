#!/usr/bin/env python3
"""Makes the desktop's copies of the program icon: MAINICON.xpm as PNG files
at the sizes of the hicolor theme, into hicolor/<size>.png.

Every output pixel takes the colour of the one source pixel under its
centre, so the 32-pixel design is pixel-doubled at 64, 128 and 256 and stays
crisp at the sizes in between: no pixel is blurred into its neighbours.

Run it again after changing MAINICON.xpm: python3 make_hicolor.py
"""

import os
import struct
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def read_xpm(path):
    """The image as rows of (r, g, b, a) tuples."""
    with open(path, encoding="ascii") as xpm:
        strings = [line.split('"')[1] for line in xpm if line.startswith('"')]
    width, height, colours, per_pixel = (int(v) for v in strings[0].split())
    palette = {}
    for entry in strings[1 : 1 + colours]:
        key, value = entry[:per_pixel], entry[per_pixel:].split()[-1]
        if value == "None":
            palette[key] = (0, 0, 0, 0)
        else:
            palette[key] = tuple(int(value[i : i + 2], 16) for i in (1, 3, 5)) + (255,)
    rows = strings[1 + colours : 1 + colours + height]
    return [[palette[row[i : i + per_pixel]] for i in range(0, width * per_pixel, per_pixel)] for row in rows]


def footprint(i, size, source):
    """The source pixels that output pixel i of `size` covers."""
    return range(i * source // size, max(i * source // size + 1, (i + 1) * source // size))


def reduced(pixels):
    """One colour for several source pixels: outlines stay closed, so the
    black of an outline wins; otherwise the commonest colour does."""
    black = (0, 0, 0, 255)
    if black in pixels:
        return black
    return max(set(pixels), key=pixels.count)


def scaled(image, size):
    source = len(image)
    if size >= source:
        pick = [i * source // size for i in range(size)]
        return [[image[y][x] for x in pick] for y in pick]
    return [
        [reduced([image[y][x] for y in footprint(j, size, source) for x in footprint(i, size, source)]) for i in range(size)]
        for j in range(size)
    ]


def write_png(path, image):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    height, width = len(image), len(image[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in image)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n")
        png.write(chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    image = read_xpm(os.path.join(here, "MAINICON.xpm"))
    os.makedirs(os.path.join(here, "hicolor"), exist_ok=True)
    for size in SIZES:
        write_png(os.path.join(here, "hicolor", f"{size}.png"), scaled(image, size))


if __name__ == "__main__":
    main()

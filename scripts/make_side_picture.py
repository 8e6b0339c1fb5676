#!/usr/bin/env python3
"""Writes the wizard's side picture (bitmap 137): 87 x 171 pixels, 256
colours.  The product's teal tile with its white T above three waves that
rise from the bottom, on a background that turns from white to pale teal.

    python3 scripts/make_side_picture.py resources/bitmaps/side_picture.bmp
"""
import math
import struct
import sys

WIDTH, HEIGHT = 87, 171
SAMPLES = 4

TEAL = (0, 128, 150)
DEEP = (0, 78, 96)
PALE = (214, 238, 241)
WHITE = (255, 255, 255)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def tile(x, y):
    """The application's emblem, 46 pixels wide, centred at the top."""
    size, left, top = 46.0, (WIDTH - 46.0) / 2, 22.0
    lx, ly = x - left, y - top
    if not (0 <= lx < size and 0 <= ly < size):
        return None
    radius = size / 5
    ix, iy = min(lx, size - lx), min(ly, size - ly)
    if ix < radius and iy < radius and math.hypot(radius - ix, radius - iy) > radius:
        return None
    if (size * 0.22 <= ly < size * 0.36 and size * 0.22 <= lx < size * 0.78) or \
       (size * 0.22 <= ly < size * 0.80 and size * 0.42 <= lx < size * 0.58):
        return WHITE
    return mix(TEAL, DEEP, ly / size * 0.6)


def wave(x, base, amplitude, phase, length=70.0):
    return base + amplitude * math.sin(2 * math.pi * x / length + phase)


def colour(x, y):
    emblem = tile(x, y)
    if emblem:
        return emblem
    # Three waves, the nearest (lowest) one darkest.
    for base, amplitude, phase, shade in ((150, 5, 2.2, 1.0), (136, 6, 0.9, 0.7), (122, 7, 0.0, 0.4)):
        if y >= wave(x, base, amplitude, phase):
            return mix(PALE, TEAL, shade) if shade < 1 else mix(TEAL, DEEP, (y - 140) / 40)
    return mix(WHITE, PALE, (y / HEIGHT) ** 1.5)


def palette_index(rgb, palette, cache):
    key = tuple(int(c) // 2 for c in rgb)
    if key not in cache:
        cache[key] = min(range(len(palette)),
                         key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))
    return cache[key]


def make_palette():
    """Ramps between the picture's colours: 256 entries in all."""
    palette = [mix(WHITE, PALE, i / 63) for i in range(64)]
    palette += [mix(PALE, TEAL, i / 63) for i in range(64)]
    palette += [mix(TEAL, DEEP, i / 63) for i in range(64)]
    palette += [mix(WHITE, TEAL, i / 63) for i in range(64)]
    return [tuple(int(round(c)) for c in p) for p in palette]


def main(path):
    palette = make_palette()
    cache = {}
    rows = []
    for py in range(HEIGHT):
        row = []
        for px in range(WIDTH):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    for i in range(3):
                        total[i] += c[i]
            row.append(palette_index([t / SAMPLES ** 2 for t in total], palette, cache))
        rows.append(row)

    stride = (WIDTH + 3) // 4 * 4
    pixels = b''.join(bytes(row) + b'\0' * (stride - WIDTH) for row in reversed(rows))  # bottom-up
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + colours + pixels)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/bitmaps/side_picture.bmp')

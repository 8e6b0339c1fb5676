#!/usr/bin/env python3
"""Writes the flag icons of the Start page's language list: one icon file per
flag, one 18 x 12 image each, 24-bit colour, fully opaque.  The flags are
drawn from simple geometry, sampled 4 x 4 times per pixel.

    python3 scripts/make_flags.py resources/icons/flags
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 18, 12
SAMPLES = 4

WHITE = (255, 255, 255)
RED = (206, 17, 38)
BLUE = (0, 56, 168)
NAVY = (1, 33, 105)
GREEN = (0, 140, 69)
YELLOW = (252, 209, 22)
BLACK = (0, 0, 0)
GOLD = (255, 206, 0)


def stripes(colours, vertical=False):
    """Equal stripes, top to bottom (or left to right)."""
    def draw(u, v):
        t = u if vertical else v
        return colours[min(int(t * len(colours)), len(colours) - 1)]
    return draw


def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    """Whether (x, y) lies inside a regular star; unit: flag height."""
    def inside(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r > outer:
            return False
        a = (math.atan2(dy, dx) - turn) % (2 * math.pi / points)
        half = math.pi / points
        # Distance from the centre to the star's edge in direction a.
        t = abs(a - half) / half  # 1 at a point, 0 between two points
        edge = inner + (outer - inner) * t
        return r <= edge
    return inside


def in_coords(u, v):
    """Flag coordinates in units of the flag's height."""
    return u * WIDTH / HEIGHT, v


def france(u, v):
    return stripes([BLUE, WHITE, RED], vertical=True)(u, v)


def italy(u, v):
    return stripes([GREEN, WHITE, RED], vertical=True)(u, v)


def romania(u, v):
    return stripes([BLUE, YELLOW, RED], vertical=True)(u, v)


def germany(u, v):
    return stripes([BLACK, RED, GOLD])(u, v)


def netherlands(u, v):
    return stripes([RED, WHITE, BLUE])(u, v)


def bulgaria(u, v):
    return stripes([WHITE, GREEN, RED])(u, v)


def hungary(u, v):
    return stripes([RED, WHITE, GREEN])(u, v)


def poland(u, v):
    return stripes([WHITE, RED])(u, v)


def spain(u, v):
    return YELLOW if 0.25 <= v < 0.75 else RED


def portugal(u, v):
    x, y = in_coords(u, v)
    hoist = 2 / 5 * WIDTH / HEIGHT
    if math.hypot(x - hoist, y - 0.5) < 0.2:
        return YELLOW
    return GREEN if x < hoist else RED


def nordic_cross(field, cross, inner=None):
    """A cross toward the hoist, on whole pixels: at 18 x 12 a sampled edge
    would blur it."""
    def draw(u, v):
        px, py = int(u * WIDTH), int(v * HEIGHT)
        if inner:
            if px in (6, 7) or py in (5, 6):
                return inner
            if px in (5, 8) or py in (4, 7):
                return cross
            return field
        if px in (6, 7) or py in (5, 6):
            return cross
        return field
    return draw


denmark = nordic_cross(RED, WHITE)
norway = nordic_cross(RED, WHITE, NAVY)


def czechia(u, v):
    x, y = in_coords(u, v)
    if x < 0.75 * (0.5 - abs(y - 0.5)) * 2:
        return NAVY
    return WHITE if v < 0.5 else RED


def greece(u, v):
    x, y = in_coords(u, v)
    if x < 5 / 9 and y < 5 / 9:
        cross = abs(x - 5 / 18) < 1 / 18 or abs(y - 5 / 18) < 1 / 18
        return WHITE if cross else BLUE
    return BLUE if int(y * 9) % 2 == 0 else WHITE


def israel(u, v):
    x, y = in_coords(u, v)
    if 1 / 12 <= y < 2.5 / 12 or 9.5 / 12 <= y < 11 / 12:
        return BLUE
    cx, cy, r = WIDTH / HEIGHT / 2, 0.5, 0.36

    def triangle(flip):
        # Inside an equilateral triangle pointing up (or down), drawn as a ring.
        def edge_distance(px, py):
            d = []
            for k in range(3):
                angle = math.pi / 2 + k * 2 * math.pi / 3 + (math.pi if flip else 0)
                nx, ny = math.cos(angle), -math.sin(angle)
                d.append(r / 2 - ((px - cx) * nx + (py - cy) * ny))
            return min(d)
        return edge_distance(x, y)
    up, down = triangle(False), triangle(True)
    on_line = (0 <= up < 0.07) or (0 <= down < 0.07)
    return BLUE if on_line else WHITE


def turkey(u, v):
    x, y = in_coords(u, v)
    if math.hypot(x - 0.5, y - 0.5) < 0.25 and math.hypot(x - 0.5625, y - 0.5) >= 0.2:
        return WHITE
    if star(0.83, 0.5, 0.125, 0.05, turn=math.pi)(x, y):
        return WHITE
    return RED


def china(u, v):
    x, y = in_coords(u, v)
    # The four small stars are single pixels: smaller ones would vanish.
    if (int(u * WIDTH), int(v * HEIGHT)) in ((6, 1), (7, 2), (7, 4), (6, 5)):
        return YELLOW
    if star(0.27, 0.27, 0.2, 0.08)(x, y):
        return YELLOW
    return (222, 41, 16)


def vietnam(u, v):
    x, y = in_coords(u, v)
    return YELLOW if star(WIDTH / HEIGHT / 2, 0.52, 0.32, 0.13)(x, y) else (218, 37, 29)


def japan(u, v):
    x, y = in_coords(u, v)
    return (188, 0, 45) if math.hypot(x - WIDTH / HEIGHT / 2, y - 0.5) < 0.3 else WHITE


def united_kingdom(u, v):
    x, y = in_coords(u, v)
    w = WIDTH / HEIGHT
    # The upright cross, white with red inside.
    dx, dy = abs(x - w / 2), abs(y - 0.5)
    if dx < 0.09 or dy < 0.09:
        return (200, 16, 46)
    if dx < 0.17 or dy < 0.17:
        return WHITE
    # The diagonals, white with thin red.
    d1 = abs(y - x / w) * w / math.hypot(w, 1)
    d2 = abs(y - (1 - x / w)) * w / math.hypot(w, 1)
    # At this size a red line inside the diagonals only blurs them.
    if min(d1, d2) < 0.1:
        return WHITE
    return NAVY


# Icon resource number -> (file name, drawing).  Resource 159 is not used.
FLAGS = {
    141: ("german", germany),
    142: ("danish", denmark),
    143: ("spanish", spain),
    144: ("french", france),
    145: ("english", united_kingdom),
    146: ("italian", italy),
    147: ("dutch", netherlands),
    148: ("portuguese", portugal),
    149: ("turkish", turkey),
    150: ("bulgarian", bulgaria),
    151: ("romanian", romania),
    152: ("chinese", china),
    153: ("czech", czechia),
    154: ("norwegian", norway),
    155: ("greek", greece),
    156: ("polish", poland),
    157: ("hebrew", israel),
    158: ("vietnamese", vietnam),
    160: ("japanese", japan),
    161: ("hungarian", hungary),
}


def render(draw):
    """Rows of RGB triples, top row first."""
    rows = []
    for py in range(HEIGHT):
        row = []
        for px in range(WIDTH):
            total = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (px + (sx + 0.5) / SAMPLES) / WIDTH
                    v = (py + (sy + 0.5) / SAMPLES) / HEIGHT
                    c = draw(u, v)
                    for i in range(3):
                        total[i] += c[i]
            row.append(tuple(round(t / SAMPLES ** 2) for t in total))
        rows.append(row)
    return rows


def icon_file(rows):
    header = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    stride = (WIDTH * 3 + 3) // 4 * 4
    pixels = b''
    for row in reversed(rows):  # bottom-up
        line = b''.join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b'\0' * (stride - len(line))
    mask = b'\0' * (((WIDTH + 31) // 32) * 4 * HEIGHT)  # opaque
    image = header + pixels + mask
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', WIDTH, HEIGHT, 0, 0, 1, 24, len(image), 22) + image


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for number, (name, draw) in sorted(FLAGS.items()):
        with open(os.path.join(folder, name + '.ico'), 'wb') as f:
            f.write(icon_file(render(draw)))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/icons/flags')

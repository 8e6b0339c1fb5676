#!/usr/bin/env python3
"""Writes the installer's application icon (resource 128): a teal tile with
a white T, at 16, 32 and 48 pixels, 32-bit colour with alpha.

    python3 scripts/make_icon.py resources/icons/application.ico
"""
import struct
import sys


def pixel(x, y, size):
    """BGRA of one pixel; (0, 0) is the top-left corner."""
    margin = size / 16
    radius = size / 5
    inside_x = min(x + 0.5 - margin, size - margin - x - 0.5)
    inside_y = min(y + 0.5 - margin, size - margin - y - 0.5)
    if inside_x < 0 or inside_y < 0:
        return (0, 0, 0, 0)
    if inside_x < radius and inside_y < radius:
        dx, dy = radius - inside_x, radius - inside_y
        if dx * dx + dy * dy > radius * radius:
            return (0, 0, 0, 0)
    # The letter: a bar across the top third and a stem down the middle.
    bar_top, bar_bottom = size * 0.22, size * 0.36
    stem_left, stem_right = size * 0.42, size * 0.58
    if (bar_top <= y < bar_bottom and size * 0.22 <= x < size * 0.78) or \
       (bar_top <= y < size * 0.80 and stem_left <= x < stem_right):
        return (255, 255, 255, 255)
    shade = int(40 * y / size)
    return (150 - shade, 128 - shade, 0, 255)


def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b''.join(bytes(pixel(x, y, size)) for x in range(size)))
    # The AND mask hides the transparent corners where alpha is not used.
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            if pixel(x, y, size)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + b''.join(rows) + mask


def main(path):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/icons/application.ico')

#!/usr/bin/env python3
"""Draws the runtime's icons: the form icon and the second tray picture, each in full
colour (32-bit with alpha) and in 16 colours for low-colour displays. Writes .ico files
beside this script. Run it again after changing the drawing; the .ico files are kept in
the repository so that a build needs no Python."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def shape(size, x, y):
    """Which part of the picture a pixel centre falls in: 'ring', 'fill', 'arrow' or None."""
    c = (size - 1) / 2
    r = size * 0.47
    d = math.hypot(x - c, y - c)
    if d > r:
        return None
    # A play arrow pointing right: the run of a macro.
    ax0, ax1 = size * 0.38, size * 0.74
    half = size * 0.22
    if ax0 <= x <= ax1:
        spread = half * (1 - (x - ax0) / (ax1 - ax0))
        if abs(y - c) <= spread:
            return 'arrow'
    return 'ring' if d > r - max(1.0, size / 16) else 'fill'


def colours(variant):
    fill = (0x1E, 0x6F, 0xD9) if variant == 'run' else (0xF2, 0x8C, 0x1C)
    ring = tuple(max(0, v - 0x40) for v in fill)
    return {'fill': fill, 'ring': ring, 'arrow': (0xFF, 0xFF, 0xFF)}


def argb_image(size, variant):
    """A 32-bit BMP image for an .ico entry: header, bottom-up BGRA rows, AND mask."""
    pal = colours(variant)
    rows = []
    for y in range(size - 1, -1, -1):
        row = b''
        for x in range(size):
            part = shape(size, x, y)
            if part is None:
                row += b'\0\0\0\0'
            else:
                r, g, b = pal[part]
                row += bytes((b, g, r, 0xFF))
        rows.append(row)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b''.join(rows) + b'\0' * (mask_row * size)


# The 16-colour palette of low-colour displays (the standard VGA colours).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
       (0, 255, 255), (255, 255, 255)]


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(VGA[i], rgb)))


def palette_image(size, variant):
    """A 4-bit BMP image with the VGA palette; transparency through the AND mask."""
    pal = colours(variant)
    pixel_row = ((size * 4 + 31) // 32) * 4
    mask_row = ((size + 31) // 32) * 4
    pixels, mask = [], []
    for y in range(size - 1, -1, -1):
        indices, bits = [], []
        for x in range(size):
            part = shape(size, x, y)
            indices.append(0 if part is None else nearest(pal[part]))
            bits.append(1 if part is None else 0)
        row = bytes((indices[i] << 4) | (indices[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        pixels.append(row.ljust(pixel_row, b'\0'))
        mrow = bytes(sum(bits[i + k] << (7 - k) for k in range(8) if i + k < size) for i in range(0, size, 8))
        mask.append(mrow.ljust(mask_row, b'\0'))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA)
    return header + palette + b''.join(pixels) + b''.join(mask)


def write_ico(name, images):
    """images: list of (size, colour count byte, bit count, data)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, count, bits, data in images:
        out += struct.pack('<BBBBHHII', size, size, count, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, _, _, data in images)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


# The program's own icon holds ten images, one low-colour and one full-colour image for
# each of 16, 24, 32, 48 and 64 pixels, in that order: they become the icon resources 1
# to 10, the numbers that compile mode replaces with a macro's own icon.
images = []
for size in (16, 24, 32, 48, 64):
    images.append((size, 16, 4, palette_image(size, 'run')))
    images.append((size, 0, 32, argb_image(size, 'run')))
write_ico('form.ico', images)
write_ico('tray2.ico', [(s, 0, 32, argb_image(s, 'busy')) for s in (16, 32, 48)])
for variant, stem in (('run', 'form'), ('busy', 'tray2')):
    write_ico(stem + '_16colour.ico', [(s, 16, 4, palette_image(s, variant)) for s in (16, 32)])

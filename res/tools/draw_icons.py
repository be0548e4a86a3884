#!/usr/bin/env python3
"""Draws the resource library's icons as multi-size .ico files.

Pure Python (no imaging library), so the icons can be rebuilt anywhere:
    python3 res/tools/draw_icons.py res/icons
Each icon is described by a function that returns the RGBA colour of a pixel
centre at (x, y) in a unit square; it is supersampled at every size.
"""
import math
import os
import struct
import sys

SIZES = (16, 24, 32, 48)


def rounded_rect(x, y, left, top, right, bottom, radius):
    """Signed distance style test: True when (x, y) is inside the rounded rectangle."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def blend(under, over):
    a = over[3] / 255.0
    if a <= 0:
        return under
    out_a = a + under[3] / 255.0 * (1 - a)
    if out_a <= 0:
        return (0, 0, 0, 0)
    rgb = [(over[i] * a + under[i] * (under[3] / 255.0) * (1 - a)) / out_a for i in range(3)]
    return (rgb[0], rgb[1], rgb[2], out_a * 255)


def calendar_icon(accent, dot=None):
    """A day-planner tile: accent header strip, white page, three meeting bars."""
    def shade(x, y):
        c = (0, 0, 0, 0)
        if rounded_rect(x, y, 0.06, 0.08, 0.94, 0.94, 0.14):
            c = blend(c, (250, 251, 253, 255))
            if y < 0.34:
                c = blend(c, accent + (255,))
            for i, top in enumerate((0.44, 0.60, 0.76)):
                if top <= y <= top + 0.1 and 0.2 <= x <= (0.8 if i != 1 else 0.62):
                    c = blend(c, (accent[0], accent[1], accent[2], 150))
        # Outline keeps the tile readable on light and dark taskbars.
        inside = rounded_rect(x, y, 0.06, 0.08, 0.94, 0.94, 0.14)
        inner = rounded_rect(x, y, 0.1, 0.12, 0.9, 0.9, 0.11)
        if inside and not inner:
            c = blend(c, (accent[0] * 0.6, accent[1] * 0.6, accent[2] * 0.6, 255))
        if dot is not None and (x - 0.76) ** 2 + (y - 0.76) ** 2 <= 0.2 ** 2:
            ring = (x - 0.76) ** 2 + (y - 0.76) ** 2 > 0.15 ** 2
            c = blend(c, (255, 255, 255, 255) if ring else dot + (255,))
        return c
    return shade


def render(shade, size, samples=4):
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (col + (sx + 0.5) / samples) / size
                    y = (row + (sy + 0.5) / samples) / size
                    r, g, b, a = shade(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            a = acc[3] / n
            if a > 0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0, 0, 0]
            line.append(tuple(int(round(v)) for v in rgb) + (int(round(a)),))
        pixels.append(line)
    return pixels


def dib_entry(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for line in reversed(pixels):  # bottom-up rows
        for r, g, b, a in line:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    andmask = bytearray()
    for line in reversed(pixels):
        row = bytearray(mask_stride)
        for col, (_, _, _, a) in enumerate(line):
            if a == 0:
                row[col // 8] |= 0x80 >> (col % 8)
        andmask += row
    return header + bytes(xor) + bytes(andmask)


def write_ico(path, shade):
    images = [dib_entry(render(shade, s)) for s in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


ICONS = {
    "app.ico": calendar_icon((32, 110, 200)),
    # The main frame's own title-bar and task-switcher icon: a darker tile, so
    # that it is told apart from the window class's.
    "frame.ico": calendar_icon((24, 72, 140)),
    # Tray: signed out is a grey tile without a badge, signed in the coloured
    # tile with a green presence badge, so the two differ in shape as well as
    # colour at 16x16.
    "tray_signed_out.ico": calendar_icon((120, 126, 136)),
    "tray_signed_in.ico": calendar_icon((32, 110, 200), dot=(40, 170, 70)),
}

if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "icons")
    os.makedirs(folder, exist_ok=True)
    for name, shade in ICONS.items():
        write_ico(os.path.join(folder, name), shade)
        print("wrote", os.path.join(folder, name))

#!/usr/bin/env python3
"""Draws the toolkit's skin bitmaps and its caption icon.

Pure Python (no imaging library), so they can be rebuilt anywhere:
    python3 res/tools/draw_skin.py
writes res/skin/*.bmp and res/icons/caption.ico; res/skin.rc names them.

Frame borders are 24-bit with magenta (255, 0, 255) wherever the frame is cut
away: the toolkit shapes its frames from those pixels. Each border bitmap holds
two states, the active frame in its upper half and the inactive one below.
Shadows are 32-bit with straight (not premultiplied) alpha; the toolkit
premultiplies them when it loads them.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw_icons  # noqa: E402

MAGENTA = (255, 0, 255)
ACTIVE = (44, 92, 160)
INACTIVE = (150, 158, 170)


def write_bmp(path, pixels, alpha):
    """pixels: rows top to bottom of (r, g, b) or (r, g, b, a)."""
    height = len(pixels)
    width = len(pixels[0])
    bpp = 32 if alpha else 24
    stride = ((width * bpp // 8) + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # bottom-up, as BMP files store them
        line = bytearray()
        for p in row:
            line += bytes((p[2], p[1], p[0])) + (bytes((p[3],)) if alpha else b"")
        line += bytes(stride - len(line))
        body += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + bytes(body))


def corner_cut(x, y, radius, right, bottom, size):
    """True when (x, y) of a size x size corner cell lies outside a rounded corner."""
    cx = (size - radius - 0.5) if right else (radius - 0.5)
    cy = (size - radius - 0.5) if bottom else (radius - 0.5)
    inside_x = x > cx if right else x < cx
    inside_y = y > cy if bottom else y < cy
    return inside_x and inside_y and (x - cx) ** 2 + (y - cy) ** 2 > radius ** 2


def border(bottom, size=8, radius=5):
    """Two states stacked; each state is a left corner cell and a right corner cell."""
    rows = []
    for state, colour in enumerate((ACTIVE, INACTIVE)):
        for y in range(size):
            row = []
            for x in range(2 * size):
                right = x >= size
                cx = x - size if right else x
                if corner_cut(cx, y, radius, right, bottom, size):
                    row.append(MAGENTA)
                else:
                    row.append(colour)
            rows.append(row)
    return rows


def edge(width=4, height=8):
    return [[ACTIVE] * width for _ in range(height // 2)] + [[INACTIVE] * width for _ in range(height // 2)]


def caption_buttons(cell=16):
    """Minimise and close, each normal and hot, side by side."""
    rows = []
    for y in range(cell):
        row = []
        for x in range(4 * cell):
            column, cx = divmod(x, cell)
            hot = column % 2 == 1
            background = (232, 76, 61) if hot and column >= 2 else ((70, 118, 186) if hot else ACTIVE)
            glyph = (255, 255, 255)
            if column < 2:
                on = 4 <= cx <= 11 and 10 <= y <= 11
            else:
                on = 4 <= cx <= 11 and 4 <= y <= 11 and (abs(cx - y) <= 0 or abs(cx + y - 15) <= 0)
            row.append(glyph if on else background)
        rows.append(row)
    return rows


def soft_shadow(width, height, margin, strength=96):
    """A shadow ring around a rectangle inset by `margin`, fading out over the
    margin. The inside stays clear: the shadow window lies above its owner."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            dx = max(margin - x - 0.5, 0, x + 0.5 - (width - margin))
            dy = max(margin - y - 0.5, 0, y + 0.5 - (height - margin))
            d = math.hypot(dx, dy) / margin
            a = 0 if d >= 1 or d == 0 else int(round(strength * (1 - d) ** 2))
            row.append((0, 0, 0, a))
        rows.append(row)
    return rows


def tail_shadow(along=10, across=16, strength=72):
    """A tail pointing left: its tip at the left edge, its base at the right."""
    rows = []
    for y in range(across):
        row = []
        for x in range(along):
            half = (x + 0.5) / along * (across / 2)
            off = abs(y + 0.5 - across / 2)
            a = 0 if off > half else int(round(strength * (1 - off / max(half, 0.5)) ** 0.5))
            row.append((0, 0, 0, a))
        rows.append(row)
    return rows


def push_button(face_top, face_bottom, edge, width=72, height=24, radius=4):
    """A message dialog's button: a vertical gradient face inside a one-pixel
    edge, magenta outside the rounded corners (the toolkit masks it out)."""
    size = radius * 2

    def outside(cx, cy):
        return cx < 0 or cy < 0 or corner_cut(cx, cy, radius, False, False, size)

    rows = []
    for y in range(height):
        t = y / (height - 1)
        face = tuple(int(round(a + (b - a) * t)) for a, b in zip(face_top, face_bottom))
        row = []
        for x in range(width):
            # Folded onto the top-left corner: the shape is symmetric.
            cx = min(x, width - 1 - x)
            cy = min(y, height - 1 - y)
            if outside(cx, cy):
                row.append(MAGENTA)
            elif outside(cx - 1, cy) or outside(cx, cy - 1):
                row.append(edge)
            else:
                row.append(face)
        rows.append(row)
    return rows


def caption_icon():
    return draw_icons.calendar_icon((44, 92, 160))


BITMAPS = {
    "104_capbuttons.bmp": (caption_buttons, False),
    "105_border_bot.bmp": (lambda: border(True), False),
    "106_border_right.bmp": (edge, False),
    "107_border_top.bmp": (lambda: border(False), False),
    "108_border_left.bmp": (edge, False),
    "251_shadow_body.bmp": (lambda: soft_shadow(48, 48, 16), True),
    "252_shadow_tail.bmp": (tail_shadow, True),
    "313_button_disabled.bmp": (lambda: push_button((244, 244, 244), (236, 236, 236), (204, 204, 204)), False),
    "314_button_pushed.bmp": (lambda: push_button((214, 226, 240), (232, 240, 250), (0, 102, 204)), False),
    "315_button_hot.bmp": (lambda: push_button((250, 252, 255), (222, 236, 252), (26, 138, 255)), False),
    "317_button_normal.bmp": (lambda: push_button((255, 255, 255), (232, 232, 232), (151, 151, 151)), False),
}

if __name__ == "__main__":
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    folder = os.path.join(res, "skin")
    os.makedirs(folder, exist_ok=True)
    for name, (draw, alpha) in BITMAPS.items():
        write_bmp(os.path.join(folder, name), draw(), alpha)
        print("wrote", os.path.join(folder, name))
    draw_icons.SIZES = (16, 32)
    draw_icons.write_ico(os.path.join(res, "icons", "caption.ico"), caption_icon())
    print("wrote", os.path.join(res, "icons", "caption.ico"))

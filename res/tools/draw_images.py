#!/usr/bin/env python3
"""Draws the resource library's "IMAGE" pictures as RGBA PNG files.

Pure Python (zlib and struct only), so the images can be rebuilt anywhere:
    python3 res/tools/draw_images.py            # writes res/images/*.png and res/images.rc
Each picture is a function that returns the colour (r, g, b, alpha 0..1) of a
sample point in pixel coordinates; every pixel is supersampled so edges are
anti-aliased and the alpha channel carries the coverage.

Buttons are drawn small and flat with transparent rounded corners: the image
button stretches them as nine-grids, so their corners must fit inside the
corner size the windows use (6 px for the meeting buttons).
"""
import math
import os
import re
import struct
import sys
import zlib

SAMPLES = 5  # per axis

# The palette the module's windows are built around.
ACCENT = (61, 156, 185)        # the highlighted row's middle colour
PRIMARY = (46, 160, 90)        # start and join: the one action that matters
RECORD = (220, 53, 69)
WARN = (230, 126, 34)
SLATE = (92, 110, 128)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- geometry

def in_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py)


def on_polyline(x, y, points, width):
    return any(segment_distance(x, y, *points[i], *points[i + 1]) <= width / 2 for i in range(len(points) - 1))


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def angle_of(x, y, cx, cy):
    """Angle in degrees, counter-clockwise on screen, 0 pointing right."""
    return math.degrees(math.atan2(cy - y, x - cx)) % 360


def on_arc(x, y, cx, cy, radius, width, start, end):
    if abs(math.hypot(x - cx, y - cy) - radius) > width / 2:
        return False
    a = angle_of(x, y, cx, cy)
    return (a - start) % 360 <= (end - start) % 360


def arc_point(cx, cy, radius, degrees):
    r = math.radians(degrees)
    return cx + radius * math.cos(r), cy - radius * math.sin(r)


def arrow_head(cx, cy, radius, degrees, clockwise, size):
    """A triangle at the end of an arc, pointing along the direction of travel."""
    px, py = arc_point(cx, cy, radius, degrees)
    r = math.radians(degrees)
    # Screen-space tangent of a clockwise turn at this angle.
    tx, ty = math.sin(r), math.cos(r)
    if not clockwise:
        tx, ty = -tx, -ty
    nx, ny = math.cos(r), -math.sin(r)
    tip = (px + tx * size, py + ty * size)
    return tip, (px + nx * size, py + ny * size), (px - nx * size, py - ny * size)


# ---------------------------------------------------------------- pictures

def paint(color, alpha=1.0):
    return color + (alpha,)


def button(fill, border=None, radius=4.0):
    """A flat rounded button face; `border` draws a one-pixel outline inside the edge."""
    def shade(x, y, w, h):
        if not in_round_rect(x, y, 0, 0, w, h, radius):
            return None
        if border and not in_round_rect(x, y, 1, 1, w - 1, h - 1, radius - 1):
            return paint(border)
        return paint(fill)
    return shade


def chevron(color, direction, arm_w, arm_h, width):
    """An open arrowhead pointing up, down, left or right, centred in the image."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h / 2
        if direction in ("up", "down"):
            s = -1 if direction == "up" else 1
            pts = [(cx - arm_w / 2, cy - s * arm_h / 2), (cx, cy + s * arm_h / 2), (cx + arm_w / 2, cy - s * arm_h / 2)]
        else:
            s = -1 if direction == "left" else 1
            pts = [(cx - s * arm_w / 2, cy - arm_h / 2), (cx + s * arm_w / 2, cy), (cx - s * arm_w / 2, cy + arm_h / 2)]
        return paint(color) if on_polyline(x, y, pts, width) else None
    return shade


def record_dot(color):
    """A recording light: a solid dot inside a thin ring."""
    def shade(x, y, w, h):
        d = math.hypot(x - w / 2, y - h / 2)
        if d <= w * 0.25:
            return paint(color)
        if abs(d - w * 0.42) <= 0.7:
            return paint(color, 0.85)
        return None
    return shade


def live_dot(color):
    """The in-progress mark: a dot with a soft halo."""
    def shade(x, y, w, h):
        d = math.hypot(x - w / 2, y - h / 2)
        if d <= w * 0.3:
            return paint(color)
        if d <= w * 0.48:
            return paint(color, 0.3)
        return None
    return shade


def recurring(color, slash=None):
    """Two arrows chasing each other round a circle; `slash` strikes it through."""
    def shade(x, y, w, h):
        cx, cy, r = w / 2, h / 2, w * 0.31
        if slash and segment_distance(x, y, 2.5, h - 2.5, w - 2.5, 2.5) <= 1.0:
            return paint(slash)
        if slash and segment_distance(x, y, 2.5, h - 2.5, w - 2.5, 2.5) <= 2.0:
            return None  # a gap keeps the strike readable
        for start, end in ((40, 160), (220, 340)):
            if on_arc(x, y, cx, cy, r, 1.7, start, end):
                return paint(color)
            if in_triangle(x, y, *arrow_head(cx, cy, r, start, True, 2.4)):
                return paint(color)
        return None
    return shade


def letter_badge(color, letter):
    """A rounded square carrying one white stroke letter (X or Y)."""
    def shade(x, y, w, h):
        if not in_round_rect(x, y, 0.5, 0.5, w - 0.5, h - 0.5, 3.0):
            return None
        l, r, t, b = 4.5, w - 4.5, 4.0, h - 4.0
        if letter == "X":
            strokes = [[(l, t), (r, b)], [(r, t), (l, b)]]
        else:
            mid = (w / 2, h / 2 + 0.5)
            strokes = [[(l, t), mid, (r, t)], [mid, (w / 2, b)]]
        if any(on_polyline(x, y, s, 1.8) for s in strokes):
            return paint(WHITE)
        return paint(color)
    return shade


def camera(color):
    """Has a recording: a film camera seen from the side."""
    def shade(x, y, w, h):
        if in_round_rect(x, y, 1.0, 4.0, 10.5, 12.0, 1.8):
            return paint(color)
        if in_triangle(x, y, (10.0, 8.0), (15.0, 4.5), (15.0, 11.5)):
            return paint(color)
        return None
    return shade


def start_badge(color):
    """Start a meeting now: a white play triangle on a round face."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h / 2
        if math.hypot(x - cx, y - cy) > w * 0.47:
            return None
        if in_triangle(x, y, (w * 0.40, h * 0.28), (w * 0.40, h * 0.72), (w * 0.74, h * 0.5)):
            return paint(WHITE)
        return paint(color)
    return shade


def calendar(color):
    """Schedule a meeting: a calendar page with a coloured top band and a grid of days."""
    def shade(x, y, w, h):
        l, t, r, b = w * 0.12, h * 0.16, w * 0.88, h * 0.88
        if not in_round_rect(x, y, l, t, r, b, w * 0.08):
            return None
        if y < t + (b - t) * 0.28:
            return paint(color)
        inner = in_round_rect(x, y, l + 1.2, t, r - 1.2, b - 1.2, w * 0.05)
        if not inner:
            return paint(color)
        gx, gy = (x - l) / (r - l), (y - t) / (b - t)
        cell_x, cell_y = (gx * 3) % 1, ((gy - 0.28) / 0.72 * 3) % 1
        if 0.3 <= cell_x <= 0.7 and 0.3 <= cell_y <= 0.7:
            return paint(color, 0.8)
        return paint(WHITE)
    return shade


def refresh_arrow(color):
    """Refresh: one arrow most of the way round a circle."""
    def shade(x, y, w, h):
        cx, cy, r = w / 2, h / 2, w * 0.30
        if on_arc(x, y, cx, cy, r, w * 0.09, 110, 60):
            return paint(color)
        if in_triangle(x, y, *arrow_head(cx, cy, r, 60, False, w * 0.13)):
            return paint(color)
        return None
    return shade


def gear(color):
    """Settings: a cog with eight teeth and a hole."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h / 2
        d = math.hypot(x - cx, y - cy)
        tooth = (angle_of(x, y, cx, cy) % 45) < 22.5
        outer = w * (0.46 if tooth else 0.36)
        if d <= w * 0.14 or d > outer:
            return None
        return paint(color)
    return shade


def question(color):
    """Help: a question mark on a round face."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h / 2
        if math.hypot(x - cx, y - cy) > w * 0.47:
            return None
        if on_arc(x, y, cx, cy - h * 0.1, w * 0.17, w * 0.1, 300, 160) or \
                segment_distance(x, y, cx, cy + h * 0.02, cx, cy + h * 0.14) <= w * 0.05 or \
                math.hypot(x - cx, y - (cy + h * 0.28)) <= w * 0.07:
            return paint(WHITE)
        return paint(color)
    return shade


def headset(color):
    """Audio and video: a headset band over two ear pieces."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h * 0.55
        if on_arc(x, y, cx, cy, w * 0.34, w * 0.1, 0, 180):
            return paint(color)
        for ex in (cx - w * 0.34, cx + w * 0.34):
            if abs(x - ex) <= w * 0.12 and cy - h * 0.05 <= y <= cy + h * 0.32:
                return paint(color)
        return None
    return shade


def pencil(color):
    """Edit: a pencil lying from bottom left to top right."""
    def shade(x, y, w, h):
        if segment_distance(x, y, w * 0.28, h * 0.72, w * 0.8, h * 0.2) <= w * 0.11:
            return paint(color)
        if in_triangle(x, y, (w * 0.12, h * 0.88), (w * 0.16, h * 0.66), (w * 0.34, h * 0.84)):
            return paint(SLATE)
        return None
    return shade


def spinner(color, frame, frames=12):
    """One frame of the busy animation: a ring of dots with a fading tail."""
    def shade(x, y, w, h):
        cx, cy = w / 2, h / 2
        for i in range(frames):
            # Dot 0 is at twelve o'clock; the head moves clockwise one dot per frame.
            a = math.radians(90 - i * 360 / frames)
            px, py = cx + w * 0.33 * math.cos(a), cy - h * 0.33 * math.sin(a)
            if math.hypot(x - px, y - py) <= w * 0.075:
                behind = (frame - i) % frames
                return paint(color, max(0.15, 1.0 - behind / (frames * 0.6)))
        return None
    return shade


# ---------------------------------------------------------------- detail bubble: file kinds

def file_page(color, glyph):
    """A sheet of paper with a folded top-right corner, its outline and its
    picture in the colour of the kind of file."""
    def shade(x, y, w, h):
        left, top, right, bottom, fold = 2.5, 1.0, 13.5, 15.0, 4.0
        if not (left <= x <= right and top <= y <= bottom):
            return None
        into_fold = x - (right - fold)
        if into_fold > 0 and y < top + fold:
            if into_fold > y - top + 0.6:
                return None
            if into_fold > y - top - 0.6 or x > right - fold + 0.0 and y > top + fold - 1.0:
                return paint(color)
            return paint((232, 236, 240))
        if x < left + 1 or x > right - 1 or y < top + 1 or y > bottom - 1:
            return paint(color)
        mark = glyph(x, y)
        return paint(mark) if mark else paint(WHITE)
    return shade


def text_lines(color):
    return lambda x, y: color if 5 <= x <= 11 and any(a <= y <= a + 1 for a in (6, 8.5, 11)) else None


def cell_grid(color):
    def glyph(x, y):
        if not (4.5 <= x <= 11.5 and 6 <= y <= 13):
            return None
        return color if (x - 4.5) % 2.33 < 0.8 or (y - 6) % 2.33 < 0.8 else None
    return glyph


def chart_bars(color):
    def glyph(x, y):
        for bar_left, bar_top in ((4.5, 9.5), (7.0, 6.5), (9.5, 8.0)):
            if bar_left <= x <= bar_left + 1.8 and bar_top <= y <= 13:
                return color
        return None
    return glyph


def solid_band(color):
    return lambda x, y: color if 3.5 <= x <= 12.5 and 8.5 <= y <= 12.5 else None


def landscape(color):
    def glyph(x, y):
        if in_triangle(x, y, (3.8, 13.2), (7.5, 7.5), (11.2, 13.2)):
            return color
        if math.hypot(x - 10.3, y - 6.2) <= 1.4:
            return WARN
        return None
    return glyph


def zipper(color):
    return lambda x, y: color if 6.8 <= x <= 9.2 and int(y * 1.2) % 2 == 0 and 3 <= y <= 13 else None


def play_mark(color):
    return lambda x, y: color if in_triangle(x, y, (6.0, 6.0), (6.0, 12.5), (11.5, 9.25)) else None


def close_cross(color, back=None):
    """An x centred in the picture, on an optional round backing."""
    def shade(x, y, w, h):
        lo, hi = 3.5, w - 3.5
        if on_polyline(x, y, [(lo, lo), (hi, hi)], 1.6) or on_polyline(x, y, [(lo, hi), (hi, lo)], 1.6):
            return paint(color)
        if back and math.hypot(x - w / 2, y - h / 2) <= w / 2:
            return paint(back)
        return None
    return shade


# ---------------------------------------------------------------- rendering

def render(shade, width, height):
    rows = []
    for row in range(height):
        line = bytearray()
        for col in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade(col + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES, width, height)
                    if c is None:
                        continue
                    a = c[3]
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            alpha = acc[3] / (SAMPLES * SAMPLES)
            rgb = [round(acc[i] / acc[3]) for i in range(3)] if acc[3] > 0 else [0, 0, 0]
            line += bytes(rgb + [round(alpha * 255)])
        rows.append(bytes(line))
    return rows


def png_bytes(rows, width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + r for r in rows)  # filter type 0 on every row
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


# name (the file name, and IDIMG_<NAME> in include/ResourceIds.h), size, picture, what uses it
IMAGES = [
    ("command_settings", (16, 16), gear(SLATE), "command bar: settings"),
    ("command_help", (16, 16), question(ACCENT), "command bar: help"),
    ("command_audio_video", (16, 16), headset(SLATE), "command bar: test audio and video"),
    ("refresh", (24, 24), refresh_arrow(ACCENT), "list view and command bar: refresh"),
    ("command_edit", (16, 16), pencil(ACCENT), "command bar: edit meeting"),
    ("start_meeting", (24, 24), start_badge(PRIMARY), "list view and command bar: start an instant meeting"),
    ("schedule_meeting", (24, 24), calendar(ACCENT), "list view and command bar: schedule a meeting"),
    ("recording_indicator", (16, 16), record_dot(RECORD), "item: recording indicator (all states)"),
    ("date_previous", (20, 20), chevron(WHITE, "left", 5, 10, 2.0), "date strip: previous day"),
    ("date_next", (20, 20), chevron(WHITE, "right", 5, 10, 2.0), "date strip: next day"),
    ("scroll_up", (36, 10), chevron((128, 128, 128), "up", 12, 5, 1.8), "scroll strip up: normal, pushed, hot"),
    ("scroll_up_disabled", (36, 10), chevron((214, 214, 214), "up", 12, 5, 1.8), "scroll strip up: disabled"),
    ("scroll_down", (36, 10), chevron((128, 128, 128), "down", 12, 5, 1.8), "scroll strip down: normal, pushed, hot"),
    ("scroll_down_disabled", (36, 10), chevron((214, 214, 214), "down", 12, 5, 1.8), "scroll strip down: disabled"),
    ("meeting_primary_normal", (24, 24), button(PRIMARY), "meeting button, primary: normal"),
    ("meeting_primary_pushed", (24, 24), button((36, 132, 74)), "meeting button, primary: pushed"),
    ("meeting_primary_hot", (24, 24), button((58, 180, 106)), "meeting button, primary: hot"),
    ("meeting_primary_disabled", (24, 24), button((226, 226, 226)), "meeting button, primary: disabled"),
    ("meeting_secondary_normal", (24, 24), button(WHITE, (196, 196, 196)), "meeting button, secondary: normal"),
    ("meeting_secondary_hot", (24, 24), button((238, 245, 249), (120, 170, 196)), "meeting button, secondary: hot"),
    ("meeting_secondary_pushed", (24, 24), button((218, 229, 236), (104, 146, 168)), "meeting button, secondary: pushed"),
    ("meeting_secondary_disabled", (24, 24), button((246, 246, 246), (222, 222, 222)), "meeting button, secondary: disabled"),
    ("in_progress_mark", (12, 12), live_dot(PRIMARY), "tall item: meeting in progress"),
    ("has_recording_mark", (16, 16), camera(RECORD), "bubble title: has recording"),
    ("service_rx_mark", (16, 16), letter_badge((94, 92, 200), "X"), "service type RX"),
    ("service_ry_mark", (16, 16), letter_badge((0, 150, 136), "Y"), "service type RY"),
    ("recurring_mark", (16, 16), recurring(ACCENT), "recurring meeting"),
    ("exception_mark", (16, 16), recurring(SLATE, WARN), "exception of a series"),
] + [
    ("busy_%02d" % i, (24, 24), spinner(ACCENT, i), "refresh button busy frame %d" % i) for i in range(12)
]


# The detail bubble's pictures, kept together so that other windows' additions
# above stay apart from them.
BUBBLE_IMAGES = [
    ("file_generic", (16, 16), file_page(SLATE, text_lines((176, 186, 196))), "bubble files row: any other file"),
    ("file_document", (16, 16), file_page((43, 87, 154), text_lines((43, 87, 154))), "bubble files row: document"),
    ("file_spreadsheet", (16, 16), file_page((33, 115, 70), cell_grid((33, 115, 70))), "bubble files row: spreadsheet"),
    ("file_presentation", (16, 16), file_page((210, 71, 38), chart_bars((210, 71, 38))), "bubble files row: presentation"),
    ("file_pdf", (16, 16), file_page((200, 30, 30), solid_band((200, 30, 30))), "bubble files row: PDF"),
    ("file_picture", (16, 16), file_page(ACCENT, landscape(ACCENT)), "bubble files row: picture"),
    ("file_archive", (16, 16), file_page((140, 98, 57), zipper((140, 98, 57))), "bubble files row: archive"),
    ("file_media", (16, 16), file_page((120, 72, 170), play_mark((120, 72, 170))), "bubble files row: audio or video"),
]
IMAGES += BUBBLE_IMAGES

# The one-time tip's close button.
TIP_IMAGES = [
    ("tip_close_normal", (12, 12), close_cross((150, 150, 150)), "tip close button: normal and disabled"),
    ("tip_close_hot", (12, 12), close_cross((51, 51, 51), (232, 236, 240)), "tip close button: hot"),
    ("tip_close_pushed", (12, 12), close_cross((51, 51, 51), (210, 218, 226)), "tip close button: pushed"),
]
IMAGES += TIP_IMAGES


def defined_ids(root):
    """The image numbers' names that include/ResourceIds.h defines."""
    header = os.path.join(root, "..", "include", "ResourceIds.h")
    with open(header) as f:
        return set(re.findall(r"#define (IDIMG_\w+)", f.read()))


def write_all(root):
    folder = os.path.join(root, "images")
    os.makedirs(folder, exist_ok=True)
    known = defined_ids(root)
    rc = ["// Images taken by number (type \"IMAGE\"): generated by tools/draw_images.py, do not edit.",
          "// The numbers are in include/ResourceIds.h.", ""]
    for name, (w, h), shade, use in IMAGES:
        symbol = "IDIMG_" + name.upper()
        if symbol not in known:
            raise SystemExit("include/ResourceIds.h has no number for %s" % symbol)
        file_name = name + ".png"
        with open(os.path.join(folder, file_name), "wb") as f:
            f.write(png_bytes(render(shade, w, h), w, h))
        rc.append('%s IMAGE "images/%s"  // %dx%d %s' % (symbol, file_name, w, h, use))
    with open(os.path.join(root, "images.rc"), "w", newline="\n") as f:
        f.write("\n".join(rc) + "\n")
    print("wrote %d images and images.rc under %s" % (len(IMAGES), os.path.normpath(root)))


if __name__ == "__main__":
    write_all(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

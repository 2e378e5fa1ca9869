#!/usr/bin/python3
"""Draws the Command button's six state pictures, the dialog's two indicator squares, its umbrella icon
and the pointing-hand cursor, and writes them as BMP, ICO and CUR files.

Usage: tools/make_pictures.py [FOLDER]      (default: src/resources/ next to this tool)

Standard library only. Every colour comes from integer arithmetic or from +, -, *, / on floats, which
are correctly rounded everywhere, so the files are the same byte for byte on every machine and every run.
"""

import os
import sys

# ---------------------------------------------------------------------------------------------
# Colours and small helpers


def rgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def blend(c1, c2, i, n):
    """Step i of n from c1 to c2 (n steps apart), rounded half up in integers."""
    if n <= 0:
        return c1
    return tuple(a + (2 * (b - a) * i + n) // (2 * n) for a, b in zip(c1, c2))


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


# ---------------------------------------------------------------------------------------------
# Command button state pictures: 64 x 25, of which only the outer 4-pixel band is ever copied.

BTN_W, BTN_H = 64, 25

NORMAL_OUTLINE = rgb(0x003C74)
# Rounded outline corner, from the outside in: the corner pixel itself, its two neighbours on the
# outline, and the pixel diagonally inside where the curve cuts through.
NORMAL_CORNER = (rgb(0x7A95A8), rgb(0x164D7E), rgb(0x255783))
DISABLE_OUTLINE = rgb(0xC9C7BA)
DISABLE_CORNER = (rgb(0xD8D5C7), rgb(0xCBC9BC), rgb(0xCBC9BC))
FRAME = rgb(0xECE9D8)


def side_of(x, y, left, top, right, bottom):
    """Ring index of (x, y) inside the rectangle and the side it belongs to (top and left win ties)."""
    d = {"top": y - top, "left": x - left, "bottom": bottom - y, "right": right - x}
    ring = min(d.values())
    for side in ("top", "left", "bottom", "right"):
        if d[side] == ring:
            return ring, side
    raise AssertionError


def along(side, x, y, left, top, right, bottom):
    """Position along a side (0 at its top or left end) and the side's length minus one."""
    if side in ("top", "bottom"):
        return x - left, right - left
    return y - top, bottom - top


def surround_colour(side, t, n):
    """The soft beige outermost ring: darker along the top and left, lighter along the bottom and right."""
    if side in ("top", "left"):
        return blend(rgb(0xE0DCC9), rgb(0xE9E7D5), t, n)
    return blend(rgb(0xEDEADA), rgb(0xF8F7F0), t, n)


def band_normal(side, depth, t, n):
    if side == "top":
        return (rgb(0xFEFEFE), rgb(0xF3F3EE))[depth]
    if side == "left":
        return blend(rgb(0xFEFEFE), rgb(0xF3F3EE), t, n)
    if side == "right":
        # Shaded towards the bottom-right, so the face reads as raised.
        return blend(rgb(0xFBFBFA), rgb(0xE0DDD4), t, n)
    return (rgb(0xE2DFD6), rgb(0xD6D0C5))[1 - depth]


def band_highlight(side, depth, t, n):
    if side == "top":
        return (rgb(0xFFF0CF), rgb(0xFDD889))[depth]
    if side == "bottom":
        return (rgb(0xF8B330), rgb(0xE59700))[1 - depth]
    return blend(rgb(0xFCD279), rgb(0xF8B435), t, n)


def band_selected(side, depth, t, n):
    if side == "top":
        return (rgb(0xCEE7FF), blend(rgb(0xCEE7FF), rgb(0xB7D0F4), 1, 2))[depth]
    if side == "bottom":
        return rgb(0x6982EE)
    return blend(rgb(0xB7D0F4), rgb(0x8BADE4), t, n)


def band_pressed(side, depth, t, n):
    # Sunken: the shadow falls on the top, the light gathers at the bottom.
    if side == "top":
        return (rgb(0x9DA8AC), rgb(0xD1CCC1))[depth]
    if side == "bottom":
        return (rgb(0xF2F1EE), rgb(0xB2C1CB))[depth]
    return blend(rgb(0xD7D4CB), rgb(0xE6E5DF), t, n)


def band_disable(side, depth, t, n):
    return rgb(0xF5F4EA)


def draw_button(inset, surround, outline, corner, band, inside, frame=None):
    """Rings from the edge in: [frame,] surround, outline with rounded corners, two-pixel band, inside.

    inset is how many rings the frame takes before the surround starts (0 or 1)."""
    left, top, right, bottom = 0, 0, BTN_W - 1, BTN_H - 1
    img = canvas(BTN_W, BTN_H, inside)
    for y in range(BTN_H):
        for x in range(BTN_W):
            ring, side = side_of(x, y, left, top, right, bottom)
            if ring < inset:
                img[y][x] = frame
                continue
            r = ring - inset
            l2, t2, r2, b2 = left + inset, top + inset, right - inset, bottom - inset
            if r == 0:
                pos, n = along(side, x, y, l2, t2, r2, b2)
                img[y][x] = surround(side, pos, n)
            elif r == 1:
                img[y][x] = outline
            elif r <= 3:
                # Both columns of a side band share one run, from the band's first row below the
                # top band to its last row above the bottom band.
                first, last = t2 + 3, b2 - 3
                img[y][x] = band(side, r - 2, min(max(y - first, 0), last - first), last - first)

    # Round the outline's four corners: (corner, its neighbours on the outline, the one inside).
    o = inset + 1
    for cx, sx in ((o, 1), (BTN_W - 1 - o, -1)):
        for cy, sy in ((o, 1), (BTN_H - 1 - o, -1)):
            img[cy][cx] = corner[0]
            img[cy][cx + sx] = corner[1]
            img[cy + sy][cx] = corner[1]
            img[cy + sy][cx + sx] = corner[2]
    return img


def button_pictures():
    normal = draw_button(0, surround_colour, NORMAL_OUTLINE, NORMAL_CORNER, band_normal, rgb(0xF4F3EE))
    highlight = draw_button(0, surround_colour, NORMAL_OUTLINE, NORMAL_CORNER, band_highlight, rgb(0xFCE3A8))
    selected = draw_button(0, surround_colour, NORMAL_OUTLINE, NORMAL_CORNER, band_selected, rgb(0xC4DCFA))
    pressed = draw_button(
        1, surround_colour, NORMAL_OUTLINE, NORMAL_CORNER, band_pressed, rgb(0xE6E5DF), frame=FRAME
    )
    disable = draw_button(
        0, lambda side, t, n: FRAME, DISABLE_OUTLINE, DISABLE_CORNER, band_disable, rgb(0xF5F4EA)
    )
    return {
        "command_normal.bmp": normal,
        "command_highlight.bmp": highlight,
        "command_pressed.bmp": pressed,
        "command_selected.bmp": selected,
        "command_highlightselect.bmp": highlight,
        "command_disable.bmp": disable,
    }


# ---------------------------------------------------------------------------------------------
# Indicator squares, 12 x 12: a light square with a grey border, the selected one filled with blue.

INDICATOR_BORDER = rgb(0x8A8A8A)
INDICATOR_LIGHT = rgb(0xFAFAF7)
INDICATOR_BLUE = rgb(0x2A5BD7)


def indicator(selected):
    img = canvas(12, 12, INDICATOR_BORDER)
    for y in range(1, 11):
        for x in range(1, 11):
            img[y][x] = INDICATOR_BLUE if selected else INDICATOR_LIGHT
    return img


# ---------------------------------------------------------------------------------------------
# BMP: bottom-up, 24 bits per pixel, BI_RGB, rows padded to 4 bytes.

PIXELS_PER_METRE = 3780  # 96 dots per inch


def u16(v):
    return v.to_bytes(2, "little")


def u32(v):
    return v.to_bytes(4, "little", signed=v < 0)


def info_header(width, height, bits, image_size, colours_used=0):
    return (
        u32(40) + u32(width) + u32(height) + u16(1) + u16(bits) + u32(0) + u32(image_size)
        + u32(PIXELS_PER_METRE) + u32(PIXELS_PER_METRE) + u32(colours_used) + u32(0)
    )


def encode_bmp(img):
    height, width = len(img), len(img[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    offset = 14 + 40
    header = b"BM" + u32(offset + len(pixels)) + u16(0) + u16(0) + u32(offset)
    return bytes(header + info_header(width, height, 24, len(pixels)) + pixels)


# ---------------------------------------------------------------------------------------------
# Icon and cursor images: palette, XOR bits bottom-up, then the AND mask (1 = transparent).


def pack_bits(indices, bits):
    """One row of palette indices packed big-end first, padded to 4 bytes."""
    out = bytearray()
    acc, count = 0, 0
    for index in indices:
        acc = (acc << bits) | index
        count += bits
        if count == 8:
            out.append(acc)
            acc, count = 0, 0
    if count:
        out.append(acc << (8 - count))
    return bytes(out + bytes(-len(out) % 4))


def encode_icon_image(indices, mask, palette, bits):
    size = len(indices)
    xor = b"".join(pack_bits(row, bits) for row in reversed(indices))
    andmask = b"".join(pack_bits([1 if t else 0 for t in row], 1) for row in reversed(mask))
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    # An icon's header counts the XOR and AND halves together, hence twice the height.
    return info_header(size, 2 * size, bits, len(xor) + len(andmask)) + pal + xor + andmask


def encode_directory(kind, size, colour_count, field1, field2, image):
    entry = bytes((size, size, colour_count, 0)) + u16(field1) + u16(field2) + u32(len(image)) + u32(22)
    return u16(0) + u16(kind) + u16(1) + entry + image


# ---------------------------------------------------------------------------------------------
# The umbrella: a blue canopy of four shaded panels with a scalloped hem, a grey shaft, a brown hook.

ICON = 32
BLUE_RAMP, BLUE_STEPS = 216, 28
BROWN_RAMP, BROWN_STEPS = 244, 12


def umbrella_palette():
    """256 colours: a 6 x 6 x 6 cube (black first, for the transparent pixels), then blue and brown ramps."""
    palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    for i in range(BLUE_STEPS):
        palette.append(blend((8, 24, 100), (110, 175, 255), i, BLUE_STEPS - 1))
    for i in range(BROWN_STEPS):
        palette.append(blend((60, 30, 10), (200, 140, 80), i, BROWN_STEPS - 1))
    assert len(palette) == 256
    return palette


CANOPY_CX, CANOPY_TOP, CANOPY_RX, HEM_Y = 15.5, 3.0, 14.5, 16.0
RIB_TIPS = [1.0, 8.25, 15.5, 22.75, 30.0]


def in_canopy(px, py):
    """Upper half of an ellipse, with the hem curving up between the rib tips."""
    dx = (px - CANOPY_CX) / CANOPY_RX
    dy = (py - HEM_Y) / (HEM_Y - CANOPY_TOP)
    if py > HEM_Y or dx * dx + dy * dy > 1.0:
        return False
    for a, b in zip(RIB_TIPS, RIB_TIPS[1:]):
        if a <= px <= b:
            t = (px - a) / (b - a)
            return py <= HEM_Y - 8.0 * t * (1.0 - t)
    return False


def in_shaft(px, py):
    return 14.5 <= px <= 16.5 and 1.0 <= py <= 26.5


def in_hook(px, py):
    """The lower half of a ring left of the shaft's foot."""
    cx, cy = 12.5, 26.0
    d2 = (px - cx) * (px - cx) + (py - cy) * (py - cy)
    return py >= cy and 2.0 * 2.0 <= d2 <= 4.0 * 4.0 and px <= 16.5


def coverage(test, x, y):
    hits = 0
    for i in range(4):
        for j in range(4):
            if test(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0):
                hits += 1
    return hits


def panel_of(x, y):
    """Which canopy panel (x, y) lies in: ribs run straight from the tip to each rib tip."""
    ty = max(0.0, min(1.0, (y + 0.5 - CANOPY_TOP) / (HEM_Y - CANOPY_TOP)))
    for index, tip in enumerate(RIB_TIPS[1:-1]):
        if x + 0.5 < CANOPY_CX + (tip - CANOPY_CX) * ty:
            return index
    return len(RIB_TIPS) - 2


PANEL_LIGHT = (0.95, 0.72, 0.52, 0.32)  # lit from the upper left


def umbrella_rgb(palette):
    img = canvas(ICON, ICON, None)
    canopy = [[coverage(in_canopy, x, y) >= 8 for x in range(ICON)] for y in range(ICON)]
    for y in range(ICON):
        for x in range(ICON):
            if canopy[y][x]:
                edge = any(
                    not (0 <= x + dx < ICON and 0 <= y + dy < ICON and canopy[y + dy][x + dx])
                    for dx in (-1, 0, 1)
                    for dy in (-1, 0, 1)
                )
                panel = panel_of(x, y)
                rib = x + 1 < ICON and panel_of(x + 1, y) != panel
                if edge or rib:
                    img[y][x] = palette[BLUE_RAMP]
                    continue
                # Each panel one shade, a little lighter towards the top; colours straight from the ramp.
                level = PANEL_LIGHT[panel] * 18.0 + (HEM_Y - y) * 0.4
                img[y][x] = palette[BLUE_RAMP + 4 + max(0, min(23, int(level)))]
            elif coverage(in_shaft, x, y) >= 8:
                img[y][x] = (128, 128, 128) if y <= 2 else (102, 102, 102)
            elif coverage(in_hook, x, y) >= 8:
                img[y][x] = palette[BROWN_RAMP + 4]
    return img


def nearest(palette, colour):
    best, best_d = 0, None
    for index, p in enumerate(palette):
        d = sum((a - b) * (a - b) for a, b in zip(p, colour))
        if best_d is None or d < best_d:
            best, best_d = index, d
    return best


def encode_umbrella():
    palette = umbrella_palette()
    img = umbrella_rgb(palette)
    indices = [[0 if c is None else nearest(palette, c) for c in row] for row in img]
    mask = [[c is None for c in row] for row in img]
    image = encode_icon_image(indices, mask, palette, 8)
    # A 256-colour entry gives 0 as its colour count; planes 1, 8 bits per pixel.
    return encode_directory(1, ICON, 0, 1, 8, image)


# ---------------------------------------------------------------------------------------------
# The pointing hand: black outline, white fill, the index finger's tip at the hot spot (12, 1).

HAND = [
    "...........BBB..................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWBBBB..............",
    "..........BWWWBWWWBBBB..........",
    "..........BWWWBWWWBWWWBBB.......",
    "..........BWWWBWWWBWWWBWWB......",
    "..........BWWWBWWWBWWWBWWB......",
    "....BBBBBBBWWWWWWWWWWWWWWB......",
    "...BWWWWWWWWWWWWWWWWWWWWWB......",
    "...BWWWWWWWWWWWWWWWWWWWWWB......",
    "....BBBWWWWWWWWWWWWWWWWWWB......",
    ".......BWWWWWWWWWWWWWWWWWB......",
    "........BWWWWWWWWWWWWWWWWB......",
    ".........BWWWWWWWWWWWWWWWB......",
    ".........BWWWWWWWWWWWWWWB.......",
    "..........BWWWWWWWWWWWWWB.......",
    "..........BWWWWWWWWWWWWB........",
    "...........BWWWWWWWWWWWB........",
    "...........BBBBBBBBBBBBB........",
] + ["." * 32] * 8

HOT_SPOT = (12, 1)

# The usual 16 colours; index 0 black, index 15 white.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def encode_hand():
    assert len(HAND) == 32 and all(len(row) == 32 for row in HAND)
    assert HAND[HOT_SPOT[1]][HOT_SPOT[0]] == "W" and HAND[0][HOT_SPOT[0]] == "B"
    indices = [[15 if c == "W" else 0 for c in row] for row in HAND]
    mask = [[c == "." for c in row] for row in HAND]
    image = encode_icon_image(indices, mask, VGA, 4)
    return encode_directory(2, 32, 16, HOT_SPOT[0], HOT_SPOT[1], image)


# ---------------------------------------------------------------------------------------------


def all_files():
    files = {name: encode_bmp(img) for name, img in button_pictures().items()}
    files["indicator_unselected.bmp"] = encode_bmp(indicator(False))
    files["indicator_selected.bmp"] = encode_bmp(indicator(True))
    files["umbrella.ico"] = encode_umbrella()
    files["hand.cur"] = encode_hand()
    return files


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: make_pictures.py [FOLDER]\n")
        return 2
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[1] if len(argv) == 2 else os.path.join(here, "..", "src", "resources")
    os.makedirs(folder, exist_ok=True)
    for name, data in sorted(all_files().items()):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

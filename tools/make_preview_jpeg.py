#!/usr/bin/python3
"""Draws the small preview picture (drops on a rainy window) and writes it as a baseline JPEG.

Usage: tools/make_preview_jpeg.py OUTPUT.jpg

Standard library only. Every step is integer arithmetic or a correctly rounded float operation
(+, -, *, /, sqrt), and the random numbers come from our own generator, so the file is the same
byte for byte on every machine and every run.
"""

import math
import sys

WIDTH, HEIGHT = 152, 112
QUALITY = 90
DPI = 300
SEED = 0x5EED_D809

# ---------------------------------------------------------------------------------------------
# Drawing


class Random:
    """xorshift32: tiny, and unlike the random module its sequence is ours to keep stable."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next_u32(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def uniform(self, low, high):
        return low + (high - low) * (self.next_u32() / 4294967296.0)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def clamp01(t):
    return 0.0 if t < 0.0 else 1.0 if t > 1.0 else t


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


# Light blue, a little deeper towards the bottom right; blue stays the largest channel everywhere.
TOP_LEFT = (186.0, 216.0, 246.0)
BOTTOM_RIGHT = (158.0, 196.0, 236.0)
RIM = (104.0, 146.0, 198.0)
HIGHLIGHT = (246.0, 251.0, 255.0)


def background(x, y):
    t = clamp01((y / (HEIGHT - 1)) * 0.8 + (x / (WIDTH - 1)) * 0.2)
    return mix(TOP_LEFT, BOTTOM_RIGHT, t)


def make_streaks(rng):
    """Thin vertical runs of water on the glass: each a column, a span and a brightness shift."""
    streaks = []
    for x in range(WIDTH):
        for _ in range(2):
            if rng.next_u32() % 100 < 30:
                y0 = rng.uniform(-20.0, HEIGHT - 10.0)
                length = rng.uniform(14.0, 70.0)
                shift = rng.uniform(5.0, 12.0) * (1.0 if rng.next_u32() & 1 else -1.0)
                streaks.append((x, y0, y0 + length, shift))
    return streaks


def make_drops(rng, count):
    """Round drops of mixed sizes that do not touch, so most of the picture stays background."""
    drops = []
    attempts = 0
    while len(drops) < count and attempts < 5000:
        attempts += 1
        r = rng.uniform(2.6, 7.0)
        cx = rng.uniform(r + 1.0, WIDTH - r - 1.0)
        cy = rng.uniform(r + 1.0, HEIGHT - r - 1.0)
        if all((cx - dx) ** 2 + (cy - dy) ** 2 > (r + dr + 3.0) ** 2 for dx, dy, dr in drops):
            drops.append((cx, cy, r))
    return drops


def shade_drop(base, px, py, cx, cy, r):
    """One drop over the glass colour: lens-lit body, darker rim, a bright highlight at the top left."""
    dx, dy = px - cx, py - cy
    d = math.sqrt(dx * dx + dy * dy) / r
    cover = 1.0 - smoothstep(1.0 - 0.6 / r, 1.0 + 0.6 / r, d)
    if cover <= 0.0:
        return base
    # The drop acts as a lens: the lower half gathers light, the upper half is a shade darker.
    body = mix(base, HIGHLIGHT, clamp01(0.10 + 0.22 * (dy / r)))
    body = mix(body, RIM, clamp01(-0.25 * (dy / r)))
    ring = smoothstep(0.62, 0.95, d)
    colour = mix(body, RIM, 0.75 * ring)
    hx, hy = dx + 0.38 * r, dy + 0.38 * r
    h = math.sqrt(hx * hx + hy * hy) / max(0.28 * r, 0.9)
    colour = mix(colour, HIGHLIGHT, 1.0 - smoothstep(0.55, 1.0, h))
    return mix(base, colour, cover)


def draw():
    rng = Random(SEED)
    streaks = make_streaks(rng)
    drops = make_drops(rng, 20)
    by_column = [[] for _ in range(WIDTH)]
    for s in streaks:
        by_column[s[0]].append(s)
    pixels = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = background(x, y)
            shift = 0.0
            for _, y0, y1, amount in by_column[x]:
                # Fade in at the top and out at the tail so a streak has no hard ends.
                fade = smoothstep(y0, y0 + 6.0, y) * (1.0 - smoothstep(y1 - 10.0, y1, y))
                shift += amount * fade
            colour = tuple(c + shift for c in colour)
            for cx, cy, r in drops:
                if abs(x - cx) <= r + 1.0 and abs(y - cy) <= r + 1.0:
                    colour = shade_drop(colour, x, y, cx, cy, r)
            row.append(tuple(max(0, min(255, int(round(c)))) for c in colour))
        pixels.append(row)
    return pixels


# ---------------------------------------------------------------------------------------------
# Encoding: baseline, 4:4:4, one luminance and one chrominance table set.

ZIGZAG = []  # ZIGZAG[k] = (row, column) of the k-th coefficient in scan order
for s in range(15):
    rows = range(max(0, s - 7), min(s, 7) + 1)
    for r in rows if s % 2 else reversed(rows):
        ZIGZAG.append((r, s - r))

LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61,
    12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56,
    14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77,
    24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99,
]  # fmt: skip
CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99,
    18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99,
    47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32  # fmt: skip


def scaled_quant(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [max(1, min(255, (q * scale + 50) // 100)) for q in table]


# The AC tables list their first symbols (codes up to 15 bits) explicitly; the 16-bit codes take
# every remaining run/size symbol in ascending order.
def ac_symbols(head):
    every = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]
    return head + sorted(set(every) - set(head))


DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = (
    [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D],
    ac_symbols([
        0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
        0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52,
        0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82,
    ]),
)  # fmt: skip
AC_CHROMA = (
    [0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77],
    ac_symbols([
        0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
        0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33,
        0x52, 0xF0, 0x15, 0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1,
    ]),
)  # fmt: skip


def huffman_codes(table):
    """Canonical codes: symbol -> (code, length)."""
    counts, symbols = table
    assert sum(counts) == len(symbols)
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(counts[length - 1]):
            codes[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


# cos((2x + 1) u pi / 16) in 1/8192ths, with the 1/sqrt(2) of the first row folded in. Rounded to
# whole numbers so a last-bit difference in a libm cannot change the output.
DCT_SCALE_BITS = 13
DCT_TABLE = [
    [
        int(round(math.cos((2 * x + 1) * u * math.pi / 16) * (1 << DCT_SCALE_BITS) * (math.sqrt(0.5) if u == 0 else 1.0)))
        for x in range(8)
    ]
    for u in range(8)
]


def divide_rounded(n, d):
    """n / d rounded half away from zero, on integers."""
    q = (abs(n) + d // 2) // d
    return q if n >= 0 else -q


def quantised_block(samples, quant):
    """Forward DCT of an 8x8 block of level-shifted samples, quantised, in natural order."""
    rows = [[sum(samples[y][x] * DCT_TABLE[u][x] for x in range(8)) for u in range(8)] for y in range(8)]
    out = []
    for v in range(8):
        for u in range(8):
            total = sum(rows[y][u] * DCT_TABLE[v][y] for y in range(8))
            # F = total / (4 * 2^26); then divide by the quantiser.
            out.append(divide_rounded(total, quant[v * 8 + u] << (2 + 2 * DCT_SCALE_BITS)))
    return out


def to_ycbcr(rgb):
    r, g, b = rgb
    y = (19595 * r + 38470 * g + 7471 * b + 32768) >> 16
    cb = ((-11059 * r - 21709 * g + 32768 * b + 32768) >> 16) + 128
    cr = ((32768 * r - 27439 * g - 5329 * b + 32768) >> 16) + 128
    return tuple(max(0, min(255, c)) for c in (y, cb, cr))


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.bits = 0

    def write(self, value, length):
        self.acc = (self.acc << length) | (value & ((1 << length) - 1))
        self.bits += length
        while self.bits >= 8:
            self.bits -= 8
            byte = (self.acc >> self.bits) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0x00)  # a data 0xFF must not read as a marker
        self.acc &= (1 << self.bits) - 1

    def flush(self):
        if self.bits:
            self.write((1 << (8 - self.bits)) - 1, 8 - self.bits)  # pad with ones


def magnitude(value):
    """(size category, extra bits) for a DC difference or AC coefficient."""
    size = abs(value).bit_length()
    return size, value if value >= 0 else value + (1 << size) - 1


def encode_block(writer, coefs, previous_dc, dc_codes, ac_codes):
    dc = coefs[0]
    size, bits = magnitude(dc - previous_dc)
    writer.write(*dc_codes[size])
    if size:
        writer.write(bits, size)
    zigzag = [coefs[r * 8 + c] for r, c in ZIGZAG]
    run = 0
    for k in range(1, 64):
        value = zigzag[k]
        if value == 0:
            run += 1
            continue
        while run > 15:
            writer.write(*ac_codes[0xF0])
            run -= 16
        size, bits = magnitude(value)
        writer.write(*ac_codes[(run << 4) | size])
        writer.write(bits, size)
        run = 0
    if run:
        writer.write(*ac_codes[0x00])
    return dc


def segment(marker, body):
    return bytes([0xFF, marker]) + (len(body) + 2).to_bytes(2, "big") + bytes(body)


def encode_jpeg(pixels):
    assert WIDTH % 8 == 0 and HEIGHT % 8 == 0, "blocks are not padded"
    quants = [scaled_quant(LUMA_QUANT, QUALITY), scaled_quant(CHROMA_QUANT, QUALITY)]
    dc_tables = [huffman_codes(DC_LUMA), huffman_codes(DC_CHROMA)]
    ac_tables = [huffman_codes(AC_LUMA), huffman_codes(AC_CHROMA)]
    planes = [[[0] * WIDTH for _ in range(HEIGHT)] for _ in range(3)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            for c, value in enumerate(to_ycbcr(pixels[y][x])):
                planes[c][y][x] = value - 128

    writer = BitWriter()
    previous = [0, 0, 0]
    for by in range(0, HEIGHT, 8):
        for bx in range(0, WIDTH, 8):
            for c in range(3):
                table = 0 if c == 0 else 1
                block = [planes[c][by + y][bx : bx + 8] for y in range(8)]
                coefs = quantised_block(block, quants[table])
                previous[c] = encode_block(writer, coefs, previous[c], dc_tables[table], ac_tables[table])
    writer.flush()

    out = bytearray(b"\xff\xd8")
    out += segment(0xE0, b"JFIF\0" + bytes([1, 1, 1]) + DPI.to_bytes(2, "big") * 2 + bytes([0, 0]))
    dqt = bytearray()
    for index, quant in enumerate(quants):
        dqt += bytes([index]) + bytes(quant[r * 8 + c] for r, c in ZIGZAG)
    out += segment(0xDB, dqt)
    sof = bytearray([8]) + HEIGHT.to_bytes(2, "big") + WIDTH.to_bytes(2, "big") + bytes([3])
    sof += bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1])
    out += segment(0xC0, sof)
    dht = bytearray()
    for table_class, tables in ((0, (DC_LUMA, DC_CHROMA)), (1, (AC_LUMA, AC_CHROMA))):
        for index, (counts, symbols) in enumerate(tables):
            dht += bytes([(table_class << 4) | index]) + bytes(counts) + bytes(symbols)
    out += segment(0xC4, dht)
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += writer.out
    out += b"\xff\xd9"
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_preview_jpeg.py OUTPUT.jpg\n")
        return 2
    data = encode_jpeg(draw())
    with open(argv[1], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Draws the program icon and writes it as an .ico file.

  icon.py OUT.ico

Eight images: 256, 48, 32 and 16 pixels at 8 bits per pixel, then the same
sizes at 32 bits per pixel. The picture, a ledger with a yen coin, is drawn
from signed distance functions, so every size is rendered from the same
shapes with its own anti-aliasing and no external image is needed. Output
depends on this script alone (no time stamp, no compression, no hash-ordered
iteration), so every run writes the same bytes.
"""
import math
import struct
import sys

SIZES = (256, 48, 32, 16)


# Signed distances, negative inside; coordinates are fractions of the icon.
def d_round_box(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def d_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def d_segment(x, y, ax, ay, bx, by, hw):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t) - hw


def d_corner(x, y, x1, y0, s):
    """The half-plane beyond the dog-ear's fold line at the top right corner."""
    return ((y - y0) - (x - (x1 - s))) * 0.7071


def d_flap(x, y, x1, y0, s):
    """The turned-down flap: the corner triangle mirrored across the fold line."""
    return max((x1 - s) - x, y - (y0 + s), ((x - (x1 - s)) - (y - y0)) * 0.7071)


def hex_color(h, a=1.0):
    return (int(h[0:2], 16) / 255, int(h[2:4], 16) / 255, int(h[4:6], 16) / 255, a)


NAVY, NAVY_DARK = hex_color("1F3F7A"), hex_color("142B55")
PAPER, PAPER_EDGE = hex_color("FDFDF8"), hex_color("8C99AD")
RULE, MARGIN = hex_color("9DBBE3"), hex_color("D9534F")
HEADER, FOLD = hex_color("2E8B57"), hex_color("D5DBE3")
RING = hex_color("B8C0CC")
GOLD, GOLD_EDGE, GOLD_LIGHT = hex_color("F0A81C"), hex_color("A8650A"), hex_color("FFD36B")
WHITE = hex_color("FFFFFF")


def shapes(size):
    """Layers bottom to top: (distance function, colour, edge softness in pixels)."""
    px = 1.0 / size
    thin = max(0.012, 0.9 * px)  # keep rules visible at small sizes
    stroke = max(0.03, 1.1 * px)
    layers = [
        (lambda x, y: d_round_box(x, y, 0.15, 0.11, 0.81, 0.95, 0.06), (0, 0, 0, 0.28), 0.035 * size),
        (lambda x, y: d_round_box(x, y, 0.12, 0.07, 0.78, 0.92, 0.05), NAVY_DARK, 1),
        (lambda x, y: d_round_box(x, y, 0.13, 0.08, 0.77, 0.91, 0.045), NAVY, 1),
        (lambda x, y: max(d_round_box(x, y, 0.22, 0.06, 0.84, 0.89, 0.03),
                          -d_corner(x, y, 0.84, 0.06, 0.16)), PAPER_EDGE, 1),
        (lambda x, y: max(d_round_box(x, y, 0.232, 0.072, 0.828, 0.878, 0.02),
                          -d_corner(x, y, 0.828, 0.072, 0.155)), PAPER, 1),
        (lambda x, y: max(d_round_box(x, y, 0.232, 0.072, 0.828, 0.19, 0.0),
                          -d_corner(x, y, 0.828, 0.072, 0.155)), HEADER, 1),
        (lambda x, y: d_flap(x, y, 0.84, 0.06, 0.16), FOLD, 1),
        (lambda x, y: max(abs(d_flap(x, y, 0.84, 0.06, 0.16)) - 0.5 * px,
                          d_round_box(x, y, 0.22, 0.06, 0.84, 0.89, 0.03)), PAPER_EDGE, 1),
    ]
    rules = 6 if size >= 32 else 3
    top, bottom = 0.30, 0.80
    for k in range(rules):
        yk = top + (bottom - top) * k / (rules - 1)
        layers.append((lambda x, y, yk=yk: d_segment(x, y, 0.27, yk, 0.79, yk, thin / 2), RULE, 1))
    layers.append((lambda x, y: d_segment(x, y, 0.36, 0.22, 0.36, 0.86, thin / 2), MARGIN, 1))
    if size >= 32:
        for k in range(5):
            yk = 0.22 + 0.15 * k
            layers.append((lambda x, y, yk=yk: abs(d_circle(x, y, 0.22, yk, 0.03)) - stroke / 3, RING, 1))
    # The coin with the yen mark; larger and plainer where pixels are few.
    small = size < 32
    # At 16 pixels the coin's centre lies on a pixel centre so that the
    # one-pixel strokes of the mark stay sharp.
    cx, cy, r = (10.5 / 16, 10.5 / 16, 5.4 / 16) if small else (0.70, 0.71, 0.25)
    layers.append((lambda x, y: d_circle(x, y, cx, cy, r), GOLD_EDGE, 1))
    layers.append((lambda x, y: d_circle(x, y, cx, cy, r - max(0.025, 1.0 * px)), GOLD, 1))
    if not small:
        layers.append((lambda x, y: max(d_circle(x, y, cx, cy, r - max(0.05, 1.5 * px)),
                                        -d_circle(x, y, cx + 0.03, cy + 0.04, r - 0.04)), GOLD_LIGHT, 1))
    w = 0.032
    if small:
        w, u = 0.5 / 16, 1 / 16
        yen = [
            (cx - 2.5 * u, cy - 3 * u, cx, cy - 0.5 * u),
            (cx + 2.5 * u, cy - 3 * u, cx, cy - 0.5 * u),
            (cx, cy - 0.5 * u, cx, cy + 3 * u),
            (cx - 2 * u, cy + 1 * u, cx + 2 * u, cy + 1 * u),
        ]
    else:
        yen = [
            (cx - 0.10, cy - 0.13, cx, cy),
            (cx + 0.10, cy - 0.13, cx, cy),
            (cx, cy, cx, cy + 0.15),
            (cx - 0.085, cy + 0.035, cx + 0.085, cy + 0.035),
            (cx - 0.085, cy + 0.095, cx + 0.085, cy + 0.095),
        ]
    for seg in yen:
        layers.append((lambda x, y, s=seg: d_segment(x, y, *s, w), WHITE, 1))
    return layers


def render(size):
    layers = shapes(size)
    pixels = []
    for j in range(size):
        row = []
        for i in range(size):
            x, y = (i + 0.5) / size, (j + 0.5) / size
            r = g = b = a = 0.0
            for dist, (cr, cg, cb, ca), soft in layers:
                d = dist(x, y) * size  # in pixels
                cov = min(1.0, max(0.0, 0.5 - d / soft)) * ca
                if cov <= 0.0:
                    continue
                # "over" with straight colours
                na = cov + a * (1 - cov)
                if na > 0:
                    r = (cr * cov + r * a * (1 - cov)) / na
                    g = (cg * cov + g * a * (1 - cov)) / na
                    b = (cb * cov + b * a * (1 - cov)) / na
                a = na
            row.append((round(r * 255), round(g * 255), round(b * 255), round(a * 255)))
        pixels.append(row)
    return pixels


def median_cut(colors, n):
    """colors: {(r, g, b): count}; returns at most n palette colours."""
    boxes = [sorted(colors.items())]
    while len(boxes) < n:
        best, spread, axis = None, -1, 0
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ax in range(3):
                vals = [c[ax] for c, _ in box]
                s = max(vals) - min(vals)
                if s > spread:
                    best, spread, axis = bi, s, ax
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda e: (e[0][axis], e[0]))
        total, acc, cut = sum(c for _, c in box), 0, 1
        for k, (_, c) in enumerate(box):
            acc += c
            if acc * 2 >= total:
                cut = max(1, min(len(box) - 1, k + 1))
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(c for _, c in box)
        palette.append(tuple(round(sum(col[ax] * c for col, c in box) / total) for ax in range(3)))
    return palette


def bmp_8(pixels):
    size = len(pixels)
    opaque = [[p[3] >= 128 for p in row] for row in pixels]
    colors = {}
    for row, orow in zip(pixels, opaque):
        for p, o in zip(row, orow):
            if o:
                colors[p[:3]] = colors.get(p[:3], 0) + 1
    palette = median_cut(colors, 256) or [(0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    nearest = {}

    def index(c):
        if c not in nearest:
            nearest[c] = min(range(256), key=lambda k: (sum((c[a] - palette[k][a]) ** 2 for a in range(3)), k))
        return nearest[c]

    xor = b""
    for j in reversed(range(size)):
        line = bytes(index(pixels[j][i][:3]) if opaque[j][i] else 0 for i in range(size))
        xor += line + b"\0" * (-len(line) % 4)
    header = bitmap_header(size, 8, len(xor) + mask_size(size))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + xor + and_mask(opaque)


def bmp_32(pixels):
    size = len(pixels)
    xor = b""
    for j in reversed(range(size)):
        xor += b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in pixels[j])
    opaque = [[p[3] > 0 for p in row] for row in pixels]
    return bitmap_header(size, 32, len(xor) + mask_size(size)) + xor + and_mask(opaque)


def mask_size(size):
    return ((size + 31) // 32 * 4) * size


def and_mask(opaque):
    out = b""
    size = len(opaque)
    for j in reversed(range(size)):
        bits = bytearray((size + 31) // 32 * 4)
        for i in range(size):
            if not opaque[j][i]:
                bits[i // 8] |= 0x80 >> (i % 8)
        out += bytes(bits)
    return out


def bitmap_header(size, bpp, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0, 0, 0)


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    rendered = {s: render(s) for s in SIZES}
    images = [(s, 8, bmp_8(rendered[s])) for s in SIZES] + [(s, 32, bmp_32(rendered[s])) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, bpp, data in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv)

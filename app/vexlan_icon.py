#!/usr/bin/env python3
"""Draws Vexlan's icon and writes it as a multi-size Windows .ico file.

    python3 vexlan_icon.py OUT.ico

The picture: a window whose client area holds a small tree of nodes, and a
magnifying glass over its lower right corner. It is drawn from shapes given
in a unit square, each with a signed distance function, so every size is
rendered from the same description with smooth edges. Sizes up to 64 are
stored as 32-bit DIBs with their AND mask, 256 as a PNG (as Windows expects
for the large size). The output depends on nothing but this file: two runs
write the same bytes.
"""

import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 256)
PNG_FROM = 256  # sizes from here on are stored as PNG


def box(x0, y0, x1, y1, radius=0.0):
    """Signed distance to a rectangle with rounded corners (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return distance, (x0, y0, x1, y1)


def disc(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r, width):
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2), (
        cx - r - width, cy - r - width, cx + r + width, cy + r + width)


def capsule(ax, ay, bx, by, width):
    """A line from a to b, `width` thick, with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def distance(x, y):
        t = min(max(((x - ax) * dx + (y - ay) * dy) / length2, 0.0), 1.0)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2

    half = width / 2
    return distance, (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half)


FRAME = (0x24, 0x34, 0x4F, 255)
TITLE = (0x2F, 0x74, 0xD0, 255)
CLIENT = (0xF4, 0xF7, 0xFB, 255)
BRANCH = (0x6B, 0x78, 0x8C, 255)
ROOT = (0xE8, 0x8A, 0x1A, 255)
LEAF = (0x3C, 0xA0, 0x5A, 255)
GLASS = (0x9C, 0xD2, 0xFF, 110)
RIM = (0x1E, 0x26, 0x33, 255)
HANDLE = (0x6E, 0x4A, 0x22, 255)

# Painted in order, each over the ones before: (shape, colour).
SHAPES = (
    (box(0.04, 0.06, 0.84, 0.80, 0.05), FRAME),
    (box(0.08, 0.10, 0.80, 0.22, 0.02), TITLE),
    (box(0.08, 0.25, 0.80, 0.76, 0.02), CLIENT),
    # The tree: a root, a trunk, two branches, two children.
    (capsule(0.19, 0.34, 0.19, 0.64, 0.035), BRANCH),
    (capsule(0.19, 0.49, 0.32, 0.49, 0.035), BRANCH),
    (capsule(0.19, 0.64, 0.32, 0.64, 0.035), BRANCH),
    (box(0.12, 0.29, 0.30, 0.38, 0.015), ROOT),
    (box(0.30, 0.44, 0.50, 0.54, 0.015), LEAF),
    (box(0.30, 0.59, 0.46, 0.69, 0.015), LEAF),
    # The magnifying glass.
    (capsule(0.78, 0.77, 0.93, 0.92, 0.11), HANDLE),
    (disc(0.64, 0.62, 0.18), GLASS),
    (ring(0.64, 0.62, 0.18, 0.06), RIM),
)


def render(size):
    """The icon at `size` x `size` as rows of straight (not premultiplied) RGBA."""
    pixels = [[0.0] * (4 * size) for _ in range(size)]  # premultiplied RGBA, 0..1
    for (distance, (x0, y0, x1, y1)), (r, g, b, a) in SHAPES:
        alpha = a / 255
        first_col, last_col = max(int(x0 * size) - 1, 0), min(int(x1 * size) + 2, size)
        first_row, last_row = max(int(y0 * size) - 1, 0), min(int(y1 * size) + 2, size)
        for y in range(first_row, last_row):
            row = pixels[y]
            for x in range(first_col, last_col):
                # Coverage of the pixel from the distance at its centre, in pixels.
                d = distance((x + 0.5) / size, (y + 0.5) / size) * size
                coverage = min(max(0.5 - d, 0.0), 1.0) * alpha
                if coverage == 0.0:
                    continue
                keep = 1.0 - coverage
                i = 4 * x
                row[i] = r / 255 * coverage + row[i] * keep
                row[i + 1] = g / 255 * coverage + row[i + 1] * keep
                row[i + 2] = b / 255 * coverage + row[i + 2] * keep
                row[i + 3] = coverage + row[i + 3] * keep
    image = []
    for row in pixels:
        out = bytearray(4 * size)
        for i in range(0, 4 * size, 4):
            a = row[i + 3]
            if a <= 0.0:
                continue
            for c in range(3):
                out[i + c] = min(round(row[i + c] / a * 255), 255)
            out[i + 3] = min(round(a * 255), 255)
        image.append(bytes(out))
    return image


def dib(image):
    """An icon image as Windows stores it: BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(image):
        for i in range(0, len(row), 4):
            colour += bytes((row[i + 2], row[i + 1], row[i], row[i + 3]))
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(image):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[4 * x + 3] == 0:  # fully transparent: shown as the background
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def png(image):
    size = len(image)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + row for row in image)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(sizes=SIZES):
    images = [png(render(s)) if s >= PNG_FROM else dib(render(s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        side = 0 if s >= 256 else s  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: vexlan_icon.py OUT.ico")
    with open(argv[1], "wb") as f:
        f.write(ico())


if __name__ == "__main__":
    main(sys.argv)

"""Tests of app/vexlan_icon.py: the .ico file's structure as Windows reads it,
and the picture in it at every size."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "app"))
import vexlan_icon  # noqa: E402

ICON = vexlan_icon.ico()


def entries(data):
    """(size, image bytes) for each directory entry of an .ico file."""
    reserved, kind, count = struct.unpack_from("<HHH", data)
    assert (reserved, kind) == (0, 1), "an icon file"
    out = []
    for i in range(count):
        w, h, colours, zero, planes, bits, size, at = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert (w, colours, zero, planes, bits) == (h, 0, 0, 1, 32), f"entry {i}"
        out.append((w or 256, data[at:at + size], at))
    return out


def decode(size, image):
    """The straight RGBA rows of one image, top row first; checks its encoding on the way."""
    if image.startswith(b"\x89PNG\r\n\x1a\n"):
        at, idat, kinds = 8, b"", []
        while at < len(image):
            length = struct.unpack_from(">I", image, at)[0]
            kind, body = image[at + 4:at + 8], image[at + 8:at + 8 + length]
            crc = struct.unpack_from(">I", image, at + 8 + length)[0]
            assert crc == zlib.crc32(kind + body), f"CRC of {kind}"
            kinds.append(kind)
            if kind == b"IHDR":
                assert struct.unpack(">IIBBBBB", body) == (size, size, 8, 6, 0, 0, 0)
            idat += body if kind == b"IDAT" else b""
            at += 12 + length
        assert kinds[0] == b"IHDR" and kinds[-1] == b"IEND"
        raw = zlib.decompress(idat)
        stride = 1 + 4 * size
        assert len(raw) == size * stride
        assert all(raw[y * stride] == 0 for y in range(size)), "filter type 0"
        return [raw[y * stride + 1:(y + 1) * stride] for y in range(size)]
    header = struct.unpack_from("<IiiHHIIiiII", image)
    assert header == (40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0), header
    mask_stride = (size + 31) // 32 * 4
    assert len(image) == 40 + 4 * size * size + mask_stride * size
    rows = []
    for y in range(size):
        at = 40 + 4 * size * (size - 1 - y)
        bgra = image[at:at + 4 * size]
        mask_at = 40 + 4 * size * size + mask_stride * (size - 1 - y)
        row = bytearray()
        for x in range(size):
            b, g, r, a = bgra[4 * x:4 * x + 4]
            masked = image[mask_at + x // 8] >> (7 - x % 8) & 1
            assert masked == (a == 0), f"mask at ({x}, {y}) of {size}"
            row += bytes((r, g, b, a))
        rows.append(bytes(row))
    return rows


def pixel(rows, fx, fy):
    size = len(rows)
    x, y = int(fx * size), int(fy * size)
    return tuple(rows[y][4 * x:4 * x + 4])


IMAGES = {size: decode(size, image) for size, image, _ in entries(ICON)}


class IconFileTest(unittest.TestCase):
    def test_every_size_in_order_packed_without_gaps(self):
        found = entries(ICON)
        self.assertEqual([s for s, _, _ in found], list(vexlan_icon.SIZES))
        at = 6 + 16 * len(found)
        for size, image, offset in found:
            with self.subTest(size=size):
                self.assertEqual(offset, at)
                at += len(image)
        self.assertEqual(at, len(ICON))

    def test_small_sizes_are_bitmaps_and_the_large_one_a_png(self):
        for size, image, _ in entries(ICON):
            with self.subTest(size=size):
                self.assertEqual(image.startswith(b"\x89PNG"), size >= 256)

    def test_the_same_bytes_every_time(self):
        self.assertEqual(vexlan_icon.ico(), ICON)

    def test_the_command_writes_the_file_and_wants_its_name(self):
        script = os.path.join(ROOT, "app", "vexlan_icon.py")
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "v.ico")
            subprocess.run([sys.executable, script, out], check=True)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), ICON)
        self.assertNotEqual(subprocess.run([sys.executable, script], capture_output=True).returncode, 0)


class IconPictureTest(unittest.TestCase):
    def test_corners_are_transparent_and_the_middle_is_not(self):
        for size, rows in IMAGES.items():
            with self.subTest(size=size):
                for x, y in ((0, 0), (size - 1, 0), (0, size - 1)):
                    self.assertEqual(rows[y][4 * x + 3], 0, (x, y))
                self.assertEqual(pixel(rows, 0.45, 0.5)[3], 255)
                opaque = sum(row[i] == 255 for row in rows for i in range(3, len(row), 4))
                self.assertTrue(0.4 < opaque / size ** 2 < 0.9, opaque / size ** 2)

    def test_the_parts_have_their_colours(self):
        for size, rows in IMAGES.items():
            with self.subTest(size=size):
                r, g, b, _ = pixel(rows, 0.45, 0.16)
                self.assertGreater(b, r + 80, "a blue title bar")
                r, g, b, _ = pixel(rows, 0.20, 0.335)
                self.assertGreater(r, b + 80, "an orange root node")
                if size >= 24:
                    self.assertLess(max(pixel(rows, 0.64, 0.44)[:3]), 80, "a dark rim")
                    r, g, b, _ = pixel(rows, 0.90, 0.89)
                    self.assertGreater(r, b + 30, "a brown handle")

    def test_every_size_is_the_same_picture(self):
        big = IMAGES[256]
        for size, rows in IMAGES.items():
            with self.subTest(size=size):
                # Each pixel's coverage against the large image's over the same area.
                errors = []
                for y in range(size):
                    for x in range(size):
                        xs = range(x * 256 // size, (x + 1) * 256 // size)
                        ys = range(y * 256 // size, (y + 1) * 256 // size)
                        mean = sum(big[v][4 * u + 3] for v in ys for u in xs) / (len(xs) * len(ys))
                        errors.append(abs(rows[y][4 * x + 3] - mean))
                self.assertLess(sum(errors) / len(errors), 4, "mean alpha difference")
                self.assertLess(max(errors), 100, "largest alpha difference")


if __name__ == "__main__":
    unittest.main()

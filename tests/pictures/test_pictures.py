#!/usr/bin/env python3
"""Checks the generated bitmaps and icon against the formats the program relies on.

Usage: test_pictures.py DIR   (or set RUVEX_PICTURES_DIR), where DIR holds 400.bmp ...
413.bmp, 450.bmp ... 453.bmp and app.ico as tools/make_pictures.py --out writes them.

The files are decoded here independently of the tool, straight from their bytes.
"""

import colorsys
import filecmp
import os
import struct
import subprocess
import sys
import tempfile
import unittest

PICTURES_DIR = os.environ.get("RUVEX_PICTURES_DIR", "")
TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "make_pictures.py")

WHITE = (255, 255, 255)
BUTTON_GREY = (192, 192, 192)
# The greys that LR_LOADMAP3DCOLORS replaces by 3D system colours (shadow, face, light).
MAPPED_GREYS = {(128, 128, 128), (192, 192, 192), (223, 223, 223)}

FILE_TYPE_DEPTHS = {400: 24, 401: 24, 402: 32, 403: 32, 404: 24, 405: 32, 406: 24,
                    407: 32, 408: 32, 409: 24, 410: 24, 411: 32, 412: 32, 413: 24}
BUTTONS = {450: ((16, 16), BUTTON_GREY), 451: ((15, 14), WHITE),
           452: ((16, 16), BUTTON_GREY), 453: ((16, 16), BUTTON_GREY)}

# Colours each picture must show in quantity (opaque pixels), so that a picture that
# lands under the wrong identifier, or comes out blank, is caught.
SIGNATURE_COLOURS = {
    400: [("yellow", 60)],
    401: [("red", 10)],
    402: [("blue", 30), ("white", 40)],
    403: [("yellow", 20), ("grey", 20), ("blue", 4)],
    404: [("green", 30)],
    405: [("dark", 40), ("blue", 6), ("green", 6), ("yellow", 2)],
    406: [("red", 10)],
    407: [("blue", 60), ("white", 15)],
    408: [("green", 12), ("blue", 12)],
    410: [("violet", 40), ("white", 10)],
    412: [("green", 40)],
    413: [("blue", 40)],
    450: [("green", 40)],
    451: [("green", 15), ("cream", 20)],
    452: [("cream", 30), ("orange", 20), ("green", 12)],
    453: [("red", 60), ("white", 8)],
    1000: [("violet", 250), ("white", 12)],
}


def colour_class(rgb):
    r, g, b = (c / 255 for c in rgb)
    hue, lightness, saturation = colorsys.rgb_to_hls(r, g, b)
    hue *= 360
    if lightness > 0.95:
        return "white"
    if max(rgb) < 70:
        return "dark"
    if saturation < 0.15:
        return "grey"
    if hue < 15 or hue >= 345:
        return "red"
    if 15 <= hue < 35:
        return "orange"
    if 35 <= hue < 60:
        return "cream" if lightness > 0.8 else "yellow"
    if 80 <= hue < 170:
        return "green"
    if 195 <= hue < 235:
        return "blue"
    if 235 <= hue < 275:
        return "violet"
    return "other"


def read(name):
    with open(os.path.join(PICTURES_DIR, name), "rb") as source:
        return source.read()


def parse_info_header(data):
    fields = struct.unpack_from("<IiiHHIIiiII", data)
    return dict(zip(("size", "width", "height", "planes", "bits", "compression",
                     "image_size", "x_ppm", "y_ppm", "colours_used", "colours_important"), fields))


def decode_rows(data, width, height, bits, palette=None):
    """Rows top-down: (r, g, b, a) for 24/32 bits (a is 255 for 24), palette
    indexes for 8 bits. The data is stored bottom-up, rows padded to 4 bytes."""
    stride = (width * bits // 8 + 3) // 4 * 4
    rows = []
    for stored in range(height):
        row_bytes = data[stored * stride:(stored + 1) * stride]
        if bits == 8:
            rows.append(list(row_bytes[:width]))
        else:
            step = bits // 8
            rows.append([(row_bytes[x * step + 2], row_bytes[x * step + 1], row_bytes[x * step],
                          row_bytes[x * step + 3] if step == 4 else 255) for x in range(width)])
    rows.reverse()
    return rows


def read_bitmap(testcase, identifier):
    """Checks the headers that every bitmap shares and returns (info, palette, rows)."""
    data = read("%d.bmp" % identifier)
    magic, file_size, reserved1, reserved2, offset = struct.unpack_from("<2sIHHI", data)
    testcase.assertEqual(magic, b"BM")
    testcase.assertEqual(file_size, len(data))
    testcase.assertEqual((reserved1, reserved2), (0, 0))
    info = parse_info_header(data[14:54])
    testcase.assertEqual(info["size"], 40, "a BITMAPINFOHEADER, not a larger header")
    testcase.assertGreater(info["height"], 0, "rows must be stored bottom-up")
    testcase.assertEqual(info["planes"], 1)
    testcase.assertEqual(info["compression"], 0, "BI_RGB, uncompressed")
    palette = []
    if info["bits"] == 8:
        testcase.assertIn(info["colours_used"], (0, 256))
        palette = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
        testcase.assertEqual(offset, 54 + 256 * 4, "a full 256-entry colour table follows the header")
    else:
        testcase.assertEqual(info["colours_used"], 0)
        testcase.assertEqual(offset, 54, "no colour table")
    stride = (info["width"] * info["bits"] // 8 + 3) // 4 * 4
    testcase.assertEqual(len(data) - offset, stride * info["height"], "pixel data size")
    if info["image_size"]:
        testcase.assertEqual(info["image_size"], stride * info["height"])
    rows = decode_rows(data[offset:], info["width"], info["height"], info["bits"])
    return info, palette, rows


def corners(rows):
    return [rows[0][0], rows[0][-1], rows[-1][0], rows[-1][-1]]


def opaque_colours(rows, palette=None):
    for row in rows:
        for pixel in row:
            if palette:
                yield palette[pixel]
            elif pixel[3] == 255:
                yield pixel[:3]


def assert_signature(testcase, identifier, colours):
    counts = {}
    for rgb in colours:
        kind = colour_class(rgb)
        counts[kind] = counts.get(kind, 0) + 1
    for kind, minimum in SIGNATURE_COLOURS.get(identifier, []):
        testcase.assertGreaterEqual(counts.get(kind, 0), minimum,
                                    "%d shows too little %s: %r" % (identifier, kind, counts))


def row_extent(row, is_background):
    """(first, last) column of the non-background pixels of a row, or None."""
    columns = [x for x, pixel in enumerate(row) if not is_background(pixel)]
    return (columns[0], columns[-1]) if columns else None


def drawn_rows(rows, is_background):
    return [extent for extent in (row_extent(row, is_background) for row in rows) if extent]


class FileTypeBitmaps(unittest.TestCase):
    def test_size_depth_and_background(self):
        for identifier, depth in FILE_TYPE_DEPTHS.items():
            with self.subTest(bitmap=identifier):
                info, _, rows = read_bitmap(self, identifier)
                self.assertEqual((info["width"], info["height"], info["bits"]), (16, 16, depth))
                if depth == 24:
                    self.assertEqual([pixel[:3] for pixel in corners(rows)], [WHITE] * 4)
                else:
                    self.assertEqual([pixel[3] for pixel in corners(rows)], [0] * 4)
                    alphas = [pixel[3] for row in rows for pixel in row]
                    self.assertGreater(alphas.count(255), 40, "the picture itself is opaque")
                    # Drawn without alpha, a fully transparent pixel must look like the
                    # list's white background.
                    clear = {pixel[:3] for row in rows for pixel in row if pixel[3] == 0}
                    self.assertEqual(clear, {WHITE})
                assert_signature(self, identifier, opaque_colours(rows))

    def test_blank_page_has_no_colour(self):
        _, _, rows = read_bitmap(self, 409)
        saturated = [pixel for row in rows for pixel in row
                     if colorsys.rgb_to_hls(*(c / 255 for c in pixel[:3]))[2] > 0.3]
        self.assertEqual(saturated, [], "a blank page: white and greys only")

    def test_second_picture_copy_is_identical(self):
        self.assertEqual(read("411.bmp"), read("408.bmp"))

    def test_pages_fold_at_the_upper_right(self):
        # Stored bottom-up: read the wrong way round, the cut corner would be at the bottom.
        for identifier in (401, 406, 409):
            with self.subTest(bitmap=identifier):
                _, _, rows = read_bitmap(self, identifier)
                extents = drawn_rows(rows, lambda pixel: pixel[:3] == WHITE)
                self.assertLess(extents[0][1], extents[-1][1], "top edge shorter than the bottom edge")

    def test_folder_tab_is_on_top(self):
        _, _, rows = read_bitmap(self, 400)
        extents = drawn_rows(rows, lambda pixel: pixel[:3] == WHITE)
        top_width = extents[0][1] - extents[0][0]
        bottom_width = extents[-1][1] - extents[-1][0]
        self.assertLess(top_width * 2, bottom_width, "the tab is the narrow top of the folder")

    def test_parent_arrow_points_up(self):
        _, _, rows = read_bitmap(self, 412)
        extents = drawn_rows(rows, lambda pixel: pixel[3] == 0)
        widths = [last - first + 1 for first, last in extents]
        self.assertLessEqual(widths[0], 4, "the tip is at the top")
        self.assertLess(widths.index(max(widths)), len(widths) // 2, "the head is in the upper half")
        self.assertGreater(widths[-1], widths[0], "the shaft ends at the bottom")


class ButtonBitmaps(unittest.TestCase):
    def test_size_palette_and_background(self):
        for identifier, (size, background) in BUTTONS.items():
            with self.subTest(bitmap=identifier):
                info, palette, rows = read_bitmap(self, identifier)
                self.assertEqual((info["width"], info["height"], info["bits"]), size + (8,))
                self.assertEqual([palette[index] for index in corners(rows)], [background] * 4)
                used = sorted({index for row in rows for index in row})
                self.assertGreaterEqual(len(used), 12)
                self.assertLessEqual(len(used), 20)
                used_colours = [palette[index] for index in used]
                self.assertEqual(len(set(used_colours)), len(used_colours), "each used colour once")
                # Only the background may be a grey that the 3D mapping replaces;
                # anything else in those greys would turn into system colours.
                mapped = {colour for colour in used_colours if colour in MAPPED_GREYS}
                self.assertEqual(mapped, {background} & MAPPED_GREYS)
                assert_signature(self, identifier, opaque_colours(rows, palette))

    def test_upload_rows_are_padded(self):
        # 15 pixels of one byte each: every stored row carries one byte of padding.
        data = read("451.bmp")
        self.assertEqual(len(data), 14 + 40 + 1024 + 16 * 14)

    def test_upload_arrow_points_up(self):
        _, palette, rows = read_bitmap(self, 451)
        green_rows = [y for y, row in enumerate(rows) if any(colour_class(palette[i]) == "green" for i in row)]
        widths = [sum(colour_class(palette[i]) == "green" for i in rows[y]) for y in green_rows]
        self.assertEqual(green_rows[0], 0, "the arrow's tip reaches the top")
        self.assertLess(widths[0], max(widths[:len(widths) // 2]), "the head widens downwards")


class ApplicationIcon(unittest.TestCase):
    def setUp(self):
        self.data = read("app.ico")

    def test_directory_and_entry(self):
        self.assertEqual(struct.unpack_from("<HHH", self.data), (0, 1, 1), "one icon image")
        width, height, colours, reserved, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", self.data, 6)
        self.assertEqual((width, height, colours, reserved, planes, bits), (32, 32, 0, 0, 1, 32))
        self.assertEqual((size, offset), (4264, 22))
        self.assertEqual(len(self.data), 22 + 4264)

    def test_image_header(self):
        info = parse_info_header(self.data[22:62])
        self.assertEqual((info["size"], info["width"], info["height"], info["planes"], info["bits"],
                          info["compression"]), (40, 32, 64, 1, 32, 0), "height doubled for colour and mask")

    def test_mask_matches_alpha(self):
        colour = decode_rows(self.data[62:62 + 4096], 32, 32, 32)
        mask_bytes = self.data[62 + 4096:]
        self.assertEqual(len(mask_bytes), 128)
        mask = [[(mask_bytes[stored * 4 + x // 8] >> (7 - x % 8)) & 1 for x in range(32)]
                for stored in range(32)]
        mask.reverse()
        alphas = [pixel[3] for row in colour for pixel in row]
        self.assertIn(0, alphas)
        self.assertTrue(any(0 < alpha < 255 for alpha in alphas), "edges are anti-aliased")
        for y in range(32):
            for x in range(32):
                transparent = colour[y][x][3] == 0
                self.assertEqual(mask[y][x], int(transparent), "mask at %d,%d" % (x, y))
                if transparent:
                    # Drawn without alpha (screen AND mask XOR colour), black leaves
                    # the screen as it was.
                    self.assertEqual(colour[y][x][:3], (0, 0, 0))
        self.assertEqual([pixel[3] for pixel in corners(colour)], [0] * 4)
        assert_signature(self, 1000, opaque_colours(colour))


class Regeneration(unittest.TestCase):
    def test_same_sources_give_same_bytes(self):
        with tempfile.TemporaryDirectory() as scratch:
            subprocess.run([sys.executable, TOOL, "--out", scratch], check=True)
            names = sorted(os.listdir(scratch))
            self.assertEqual(len(names), 19)
            match, mismatch, errors = filecmp.cmpfiles(scratch, PICTURES_DIR, names, shallow=False)
            self.assertEqual((mismatch, errors), ([], []), "built files differ from a fresh run")


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        PICTURES_DIR = sys.argv.pop(1)
    if not PICTURES_DIR:
        sys.exit("usage: test_pictures.py DIR (or set RUVEX_PICTURES_DIR)")
    unittest.main()

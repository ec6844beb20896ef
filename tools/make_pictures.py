#!/usr/bin/env python3
"""Turns the picture sources in app/pictures/ into the program's bitmaps and icon.

Usage: make_pictures.py --out DIR

Writes DIR/400.bmp ... DIR/413.bmp, DIR/450.bmp ... DIR/453.bmp and DIR/app.ico, the files
the resource script names (tools/contact-sheet.sh shows them all on one page, for review).
Standard library only, and the output depends on nothing but the sources, so the same
sources give the same bytes.

A pixel-art source (*.txt) is a palette, one line per colour such as `o = #F2B233`
or `o = #F2B23380` (with alpha), followed by the rows of the picture, one character
per pixel. Lines starting with "# " are comments. The icon is drawn by a Python
source (*.py) that defines colour_at(x, y), sampled several times per pixel so that
its edges come out smooth.
"""

import argparse
import importlib.util
import os
import re
import struct
import sys

SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "pictures")

# Identifier, source file, pixel format and size of every bitmap. 411 is a second copy
# of the landscape picture, so it is made from the same source as 408.
BITMAPS = [
    (400, "400_folder.txt", "rgb24", (16, 16)),
    (401, "401_pdf.txt", "rgb24", (16, 16)),
    (402, "402_program.txt", "rgba32", (16, 16)),
    (403, "403_archive.txt", "rgba32", (16, 16)),
    (404, "404_spreadsheet.txt", "rgb24", (16, 16)),
    (405, "405_media.txt", "rgba32", (16, 16)),
    (406, "406_flash.txt", "rgb24", (16, 16)),
    (407, "407_web_page.txt", "rgba32", (16, 16)),
    (408, "408_picture.txt", "rgba32", (16, 16)),
    (409, "409_file.txt", "rgb24", (16, 16)),
    (410, "410_php.txt", "rgb24", (16, 16)),
    (411, "408_picture.txt", "rgba32", (16, 16)),
    (412, "412_parent.txt", "rgba32", (16, 16)),
    (413, "413_document.txt", "rgb24", (16, 16)),
    (450, "450_refresh.txt", "pal8", (16, 16)),
    (451, "451_upload.txt", "pal8", (15, 14)),
    (452, "452_new_folder.txt", "pal8", (16, 16)),
    (453, "453_delete.txt", "pal8", (16, 16)),
]
ICON_SOURCE = "1000_app_icon.py"
ICON_SIZE = 32
ICON_SAMPLES = 8  # per pixel and axis

WHITE = (255, 255, 255)
PALETTE_LINE = re.compile(r"^(\S) = #([0-9A-Fa-f]{6})([0-9A-Fa-f]{2})?$")


def fail(message):
    sys.exit("make_pictures: " + message)


# ---------------------------------------------------------------------------- sources

def read_pixel_art(path):
    """Returns (palette, rows): palette maps a character to (r, g, b, a) in file order,
    rows is a list of strings of equal length that use only palette characters."""
    palette = {}
    rows = []
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n").rstrip()
            if not line or line == "#" or line.startswith("# "):
                continue
            match = PALETTE_LINE.match(line)
            if match and not rows:
                key, rgb, alpha = match.groups()
                if key in palette:
                    fail("%s:%d: colour %r defined twice" % (path, number, key))
                value = int(rgb, 16)
                palette[key] = (value >> 16, (value >> 8) & 255, value & 255,
                                int(alpha, 16) if alpha else 255)
                continue
            unknown = set(line) - set(palette)
            if unknown:
                fail("%s:%d: characters without a colour: %s" % (path, number, "".join(sorted(unknown))))
            if rows and len(line) != len(rows[0]):
                fail("%s:%d: row is %d wide, not %d" % (path, number, len(line), len(rows[0])))
            rows.append(line)
    if not rows:
        fail("%s: no rows" % path)
    unused = set(palette) - set("".join(rows))
    if unused:
        fail("%s: colours defined but not used: %s" % (path, "".join(sorted(unused))))
    return palette, rows


def check_pixel_format(path, palette, rows, pixel_format, size):
    if (len(rows[0]), len(rows)) != size:
        fail("%s: picture is %dx%d, not %dx%d" % (path, len(rows[0]), len(rows), *size))
    if pixel_format != "rgba32" and any(colour[3] != 255 for colour in palette.values()):
        fail("%s: only the 32-bit pictures may use alpha" % path)


def load_icon_drawing(path):
    # A build must not write into the source tree, so no __pycache__ beside the drawing.
    sys.dont_write_bytecode = True
    module_spec = importlib.util.spec_from_file_location("app_icon_drawing", path)
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module.colour_at


def render_drawing(colour_at, size, samples):
    """Samples colour_at on a samples x samples grid inside every pixel and averages
    with alpha weighting, giving rows (top first) of (r, g, b, a) byte tuples."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            total_r = total_g = total_b = total_a = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = colour_at(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    total_r += r * a
                    total_g += g * a
                    total_b += b * a
                    total_a += a
            count = samples * samples
            alpha = to_byte(total_a / count)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((to_byte(total_r / total_a), to_byte(total_g / total_a),
                            to_byte(total_b / total_a), alpha))
        rows.append(row)
    return rows


def to_byte(value):
    return max(0, min(255, int(value * 255 + 0.5)))


def pixels_of(palette, rows):
    return [[palette[key] for key in row] for row in rows]


# ---------------------------------------------------------------------------- file formats

def info_header(width, height, bits, image_size, colours_used=0):
    # BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def file_header(pixel_offset, file_size):
    return struct.pack("<2sIHHI", b"BM", file_size, 0, 0, pixel_offset)


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def bitmap_file(width, height, bits, palette_bytes, rows_bottom_up, colours_used=0):
    pixel_data = b"".join(padded(row) for row in rows_bottom_up)
    offset = 14 + 40 + len(palette_bytes)
    return (file_header(offset, offset + len(pixel_data))
            + info_header(width, height, bits, len(pixel_data), colours_used)
            + palette_bytes + pixel_data)


def encode_rgb24(pixels):
    rows = [bytes(channel for r, g, b, _ in row for channel in (b, g, r)) for row in reversed(pixels)]
    return bitmap_file(len(pixels[0]), len(pixels), 24, b"", rows)


def transparent_as(pixel, colour):
    return pixel if pixel[3] else colour + (0,)


def bgra(pixel):
    r, g, b, a = pixel
    return bytes((b, g, r, a))


def encode_rgba32(pixels):
    # Fully transparent pixels are white, so that a list drawn without alpha shows them
    # like the white list background.
    rows = [b"".join(bgra(transparent_as(pixel, WHITE)) for pixel in row) for row in reversed(pixels)]
    return bitmap_file(len(pixels[0]), len(pixels), 32, b"", rows)


def encode_pal8(palette, rows):
    # Colour table in the order the source lists the colours; unused entries are black.
    table = b"".join(bytes((b, g, r, 0)) for r, g, b, _ in palette.values())
    table += b"\0" * (4 * 256 - len(table))
    index = {key: position for position, key in enumerate(palette)}
    data = [bytes(index[key] for key in row) for row in reversed(rows)]
    return bitmap_file(len(rows[0]), len(rows), 8, table, data, colours_used=256)


def encode_icon(pixels):
    """An .ico file with one 32x32 32-bit image: colour rows, then the AND mask, both
    bottom-up. Transparent pixels are black with the mask bit set, so that drawing
    without alpha (screen AND mask XOR colour) leaves the screen unchanged."""
    size = len(pixels)
    colour = b"".join(bgra(transparent_as(pixel, (0, 0, 0))) for row in reversed(pixels) for pixel in row)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for pixel in row:
            bits = (bits << 1) | (pixel[3] == 0)
        mask += padded(bits.to_bytes(size // 8, "big"))
    image = info_header(size, size * 2, 32, len(colour) + len(mask)) + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


# ---------------------------------------------------------------------------- main

def build(source_dir):
    """Returns {file name: bytes}."""
    files = {}
    for identifier, source, pixel_format, size in BITMAPS:
        path = os.path.join(source_dir, source)
        palette, rows = read_pixel_art(path)
        check_pixel_format(path, palette, rows, pixel_format, size)
        pixels = pixels_of(palette, rows)
        if pixel_format == "rgb24":
            files["%d.bmp" % identifier] = encode_rgb24(pixels)
        elif pixel_format == "rgba32":
            files["%d.bmp" % identifier] = encode_rgba32(pixels)
        else:
            files["%d.bmp" % identifier] = encode_pal8(palette, rows)
    icon = render_drawing(load_icon_drawing(os.path.join(source_dir, ICON_SOURCE)), ICON_SIZE, ICON_SAMPLES)
    files["app.ico"] = encode_icon(icon)
    return files


def write_file(path, data):
    with open(path, "wb") as output:
        output.write(data)


def main():
    parser = argparse.ArgumentParser(description="Makes Ruvex's bitmaps and icon from app/pictures/.")
    parser.add_argument("--out", metavar="DIR", required=True, help="write the .bmp files and app.ico into DIR")
    arguments = parser.parse_args()
    os.makedirs(arguments.out, exist_ok=True)
    for name, data in sorted(build(SOURCE_DIR).items()):
        write_file(os.path.join(arguments.out, name), data)


if __name__ == "__main__":
    main()

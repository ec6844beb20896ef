#!/usr/bin/env python3
"""Draws the program's bitmaps and icon from their sources in app/pictures/.

Usage: make_pictures.py OUT_DIR

Writes OUT_DIR/400.bmp ... 413.bmp, 450.bmp ... 453.bmp and app.ico, the files the resource
script names. Standard library only, and the bytes depend on nothing but the sources.

A pixel-art source (NNN_*.txt) is a palette, one line per colour such as `o = #F2B233` or
`o = #F2B23380` (with alpha), then the rows of the picture, one character per pixel; lines
starting with "# " are comments. The icon's source (1000_app_icon.py) defines
colour_at(x, y), sampled several times per pixel so that its edges come out smooth.
"""

import glob
import os
import pathlib
import re
import runpy
import struct
import sys

SOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "pictures")
# Bits per pixel of every bitmap; 411 is a second copy of 408, drawn from its source.
BITMAPS = {24: (400, 401, 404, 406, 409, 410, 413), 32: (402, 403, 405, 407, 408, 411, 412), 8: (450, 451, 452, 453)}
PALETTE_LINE = re.compile(r"^(\S) = #([0-9A-Fa-f]{6})([0-9A-Fa-f]{2})?$")


def read_pixel_art(path):
    """(palette, rows): palette maps a character to (r, g, b, a) in the source's order."""
    palette, rows = {}, []
    for number, line in enumerate(pathlib.Path(path).read_text(encoding="ascii").splitlines(), 1):
        line = line.rstrip()
        if not line or line == "#" or line.startswith("# "):
            continue
        colour = PALETTE_LINE.match(line)
        if colour and not rows:
            key, rgb, alpha = colour.groups()
            palette[key] = tuple(bytes.fromhex(rgb + (alpha or "FF")))
        elif set(line) <= set(palette) and (not rows or len(line) == len(rows[0])):
            rows.append(line)
        else:
            sys.exit("make_pictures: %s:%d: a character without a colour, or a row of another width" % (path, number))
    return palette, rows


def info_header(width, height, bits, data_size, colours_used=0):
    # BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, data_size, 0, 0, colours_used, 0)


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def bitmap_file(width, rows, bits, table=b"", colours_used=0):
    """A .bmp file of `rows` (encoded rows, top first)."""
    data = b"".join(padded(row) for row in reversed(rows))
    offset = 14 + 40 + len(table)
    return (struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
            + info_header(width, len(rows), bits, len(data), colours_used) + table + data)


def bgra(r, g, b, a):
    return bytes((b, g, r, a))


def opaque_or(pixel, colour):
    """A fully transparent pixel becomes `colour`, still transparent."""
    return pixel if pixel[3] else colour + (0,)


def encode_bitmap(bits, palette, rows):
    width = len(rows[0])
    if bits == 8:  # the colour table in the source's order, the unused entries black
        table = b"".join(bgra(r, g, b, 0) for r, g, b, _ in palette.values()).ljust(4 * 256, b"\0")
        index = {key: position for position, key in enumerate(palette)}
        return bitmap_file(width, [bytes(index[key] for key in row) for row in rows], 8, table, 256)
    if bits == 24:
        return bitmap_file(width, [b"".join(bgra(*palette[key])[:3] for key in row) for row in rows], 24)
    # Fully transparent pixels are white, so that a list drawn without alpha shows them like
    # the white list background.
    return bitmap_file(width, [b"".join(bgra(*opaque_or(palette[key], (255, 255, 255))) for key in row)
                               for row in rows], 32)


def to_byte(value):
    return max(0, min(255, int(value * 255 + 0.5)))


def render_drawing(colour_at, size=32, samples=8):
    """Rows (top first) of (r, g, b, a) bytes: colour_at sampled on a samples x samples grid
    inside every pixel, averaged with alpha weighting."""
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
            alpha = to_byte(total_a / (samples * samples))
            row.append((to_byte(total_r / total_a), to_byte(total_g / total_a), to_byte(total_b / total_a), alpha)
                       if alpha else (0, 0, 0, 0))
        rows.append(row)
    return rows


def encode_icon(pixels):
    """An .ico file with one 32-bit image: colour rows, then the AND mask, both bottom-up.
    Transparent pixels are black with the mask bit set, so that drawing without alpha
    (screen AND mask XOR colour) leaves the screen unchanged."""
    size = len(pixels)
    colour = b"".join(bgra(*opaque_or(pixel, (0, 0, 0))) for row in reversed(pixels) for pixel in row)
    mask = b"".join(padded(int("".join("01"[pixel[3] == 0] for pixel in row), 2).to_bytes(size // 8, "big"))
                    for row in reversed(pixels))
    image = info_header(size, size * 2, 32, len(colour) + len(mask)) + colour + mask
    # ICONDIR and its one entry, then the image
    return struct.pack("<HHHBBBBHHII", 0, 1, 1, size, size, 0, 0, 1, 32, len(image), 6 + 16) + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_pictures.py OUT_DIR")
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for bits, identifiers in BITMAPS.items():
        for identifier in identifiers:
            source, = glob.glob(os.path.join(SOURCES, "%d_*.txt" % (408 if identifier == 411 else identifier)))
            (out / ("%d.bmp" % identifier)).write_bytes(encode_bitmap(bits, *read_pixel_art(source)))
    # run_path compiles the drawing without caching it, so the build writes nothing into the sources.
    drawing = runpy.run_path(os.path.join(SOURCES, "1000_app_icon.py"))
    (out / "app.ico").write_bytes(encode_icon(render_drawing(drawing["colour_at"])))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the application icon of the three programs and writes it as a .ico file.
Owns: the icon's picture and its 16, 32, 48 and 256 pixel images. Depends on: the standard library.

The picture is drawn from code, so the build makes the same file every time and no image has to be
kept in the tree: the game's aqua play colour behind a white frame and a crosshair.
"""
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
AQUA = (0x00, 0x80, 0x80, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF, 0xFF)


def pixel(x, y, size):
    line = max(1, size // 16)
    if min(x, y, size - 1 - x, size - 1 - y) < line:
        return WHITE
    centre_low = (size - line) // 2
    centre_high = centre_low + line
    reach = size // 4
    gap = max(1, size // 16)
    in_vertical_bar = centre_low <= x < centre_high and gap <= abs(y - size // 2) <= reach
    in_horizontal_bar = centre_low <= y < centre_high and gap <= abs(x - size // 2) <= reach
    return WHITE if in_vertical_bar or in_horizontal_bar else AQUA


def rows_top_down(size):
    return [[pixel(x, y, size) for x in range(size)] for y in range(size)]


def bitmap_image(size):
    """A 32-bit image as icons store it: header of doubled height, BGRA rows bottom-up, then a
    1-bit mask that the alpha channel makes redundant but older readers still expect."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(
        bytes((b, g, r, a)) for row in reversed(rows_top_down(size)) for (r, g, b, a) in row
    )
    mask_stride = ((size + 31) // 32) * 4
    return header + colour + bytes(mask_stride * size)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_image(size):
    """Large icon images are stored as PNG, as the shell expects for 256 pixels."""
    raw = b"".join(
        b"\x00" + b"".join(bytes(p) for p in row) for row in rows_top_down(size)
    )
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
        + png_chunk(b"IDAT", zlib.compress(raw, 9))
        + png_chunk(b"IEND", b"")
    )


def icon_file():
    images = [png_image(s) if s >= 256 else bitmap_image(s) for s in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(icon_file())

#!/usr/bin/env python3
"""Draws the application icon of the three programs: the Windows .ico, a PNG of any size and the
scalable SVG, all from one picture. Owns: the icon's design. Depends on: the standard library.

The picture is drawn from code, so the build makes the same file every time (no time stamps, fixed
compression) and no image has to be kept in the tree: the game's aqua play colour behind a white
frame and a crosshair. Every size is the same set of white rectangles, worked out in whole pixels
of that size; the SVG is the 256 pixel set on a 256 unit canvas.

    make_icon.py OUTPUT.ico | OUTPUT.svg | OUTPUT.png SIZE
"""
import struct
import sys
import zlib

ICO_SIZES = (16, 32, 48, 256)
AQUA = (0x00, 0x80, 0x80, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF, 0xFF)


def white_rectangles(size):
    """(left, top, width, height) of the frame's four sides and the crosshair's four arms."""
    line = max(1, size // 16)
    low, centre = (size - line) // 2, size // 2
    reach, gap = size // 4, max(1, size // 16)
    arm = reach - gap + 1
    return [
        (0, 0, size, line), (0, size - line, size, line),
        (0, 0, line, size), (size - line, 0, line, size),
        (low, centre - reach, line, arm), (low, centre + gap, line, arm),
        (centre - reach, low, arm, line), (centre + gap, low, arm, line),
    ]


def rows_top_down(size):
    rows = [[AQUA] * size for _ in range(size)]
    for left, top, width, height in white_rectangles(size):
        for y in range(top, top + height):
            rows[y][left:left + width] = [WHITE] * width
    return rows


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
    """Large icon images are stored as PNG, as the shell expects for 256 pixels."""
    images = [png_image(s) if s >= 256 else bitmap_image(s) for s in ICO_SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(ICO_SIZES, images):
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def svg_file():
    rectangles = "".join(
        f'<rect x="{x}" y="{y}" width="{w}" height="{h}"/>' for x, y, w, h in white_rectangles(256)
    )
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
        f'<rect width="256" height="256" fill="#008080"/><g fill="#ffffff">{rectangles}</g></svg>\n'
    ).encode()


if __name__ == "__main__":
    target, size = sys.argv[1], sys.argv[2:]
    if target.endswith(".png") and len(size) == 1 and size[0].isdigit():
        picture = png_image(int(size[0]))
    elif target.endswith((".ico", ".svg")) and not size:
        picture = icon_file() if target.endswith(".ico") else svg_file()
    else:
        sys.exit("usage: make_icon.py OUTPUT.ico | OUTPUT.svg | OUTPUT.png SIZE")
    with open(target, "wb") as out:
        out.write(picture)

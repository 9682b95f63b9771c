#!/usr/bin/env python3
"""Draws the Kestrix program icon and writes it as a Windows .ico file.

The picture is the front of a network socket: a blue housing with two status
lights and the keyed opening with its eight gold contacts. The file holds nine
images, 48, 32 and 16 pixels square at 4 bits (16 colours), then at 8 bits
(256 colours), then at 24 bits, each with a 1-bit transparency mask.

Usage: scripts/make-icon.py [OUTPUT]   (default: src/res/Kestrix.ico)
Only the Python standard library is used, and the output is the same byte for
byte on every run.
"""

import os
import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
SUPERSAMPLE = 4

HOUSING = (0x1F, 0x4E, 0x8C)
HOUSING_EDGE = (0x0C, 0x24, 0x48)
OPENING = (0x12, 0x12, 0x16)
CONTACT = (0xE8, 0xB8, 0x30)
LINK_LIGHT = (0x30, 0xD0, 0x40)
ACTIVITY_LIGHT = (0xF0, 0x90, 0x20)


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not in_rect(x, y, left, top, right, bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2


def colour_at(x, y):
    """The picture's colour at (x, y) in the unit square, or None outside it."""
    if not in_rounded_rect(x, y, 0.04, 0.12, 0.96, 0.88, 0.12):
        return None
    if not in_rounded_rect(x, y, 0.08, 0.16, 0.92, 0.84, 0.09):
        return HOUSING_EDGE
    if in_rect(x, y, 0.13, 0.20, 0.23, 0.27):
        return LINK_LIGHT
    if in_rect(x, y, 0.77, 0.20, 0.87, 0.27):
        return ACTIVITY_LIGHT
    in_opening = in_rect(x, y, 0.22, 0.32, 0.78, 0.66) or in_rect(x, y, 0.38, 0.66, 0.62, 0.78)
    if not in_opening:
        return HOUSING
    if in_rect(x, y, 0.26, 0.32, 0.74, 0.44):
        # Eight contacts side by side, each with a dark gap to its right.
        slot = (x - 0.26) / (0.48 / 8)
        if slot - int(slot) < 0.6:
            return CONTACT
    return OPENING


def render(size, smooth):
    """Rows of (r, g, b) or None (transparent), top row first. Smooth pixels
    average the colours inside them; the others take the colour at their
    centre, which keeps palette images free of in-between shades."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            inside = []
            for sy in range(n):
                for sx in range(n):
                    c = colour_at((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        inside.append(c)
            if len(inside) * 2 < n * n:
                row.append(None)
            elif not smooth:
                centre = colour_at((px + 0.5) / size, (py + 0.5) / size)
                row.append(centre if centre is not None else inside[0])
            else:
                row.append(tuple(round(sum(c[i] for c in inside) / len(inside)) for i in range(3)))
        rows.append(row)
    return rows


def palette_16():
    """The sixteen colours of the classic display palette."""
    return [
        (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
        (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
        (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
        (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
    ]  # fmt: skip


def palette_256():
    """The sixteen classic colours, a 6x6x6 colour cube and 24 greys."""
    colours = palette_16()
    levels = (0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF)
    colours += [(r, g, b) for r in levels for g in levels for b in levels]
    colours += [(8 + 10 * i,) * 3 for i in range(24)]
    assert len(colours) == 256
    return colours


def nearest(palette, colour):
    return min(
        range(len(palette)),
        key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)),
    )


def row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def encode_image(rows, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, mask bits."""
    size = len(rows)
    palette = {4: palette_16, 8: palette_256}.get(bits, lambda: [])()
    colour_bits = bytearray()
    mask_bits = bytearray()
    for row in reversed(rows):  # bottom-up, as in every device-independent bitmap
        line = bytearray()
        if bits == 24:
            for pixel in row:
                r, g, b = pixel if pixel else (0, 0, 0)
                line += bytes((b, g, r))
        else:
            indices = [nearest(palette, p) if p else 0 for p in row]
            if bits == 4:
                for i in range(0, size, 2):
                    line.append((indices[i] << 4) | indices[i + 1])
            else:
                line += bytes(indices)
        line += bytes(row_stride(size, bits) - len(line))
        colour_bits += line

        mask = bytearray(row_stride(size, 1))
        for x, pixel in enumerate(row):
            if pixel is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_bits += mask

    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # header size
        size,
        size * 2,  # colour bits and mask together
        1,  # planes
        bits,
        0,  # uncompressed
        len(colour_bits) + len(mask_bits),
        0,
        0,
        0,  # all palette entries used
        0,
    )
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + bytes(colour_bits) + bytes(mask_bits)


def build_icon():
    images = []
    for bits in DEPTHS:
        for size in SIZES:
            images.append((size, bits, encode_image(render(size, smooth=bits == 24), bits)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0  # 0 stands for 256 or more
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "res", "Kestrix.ico")
    with open(output, "wb") as f:
        f.write(build_icon())


if __name__ == "__main__":
    main()

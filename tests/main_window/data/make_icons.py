#!/usr/bin/env python3
"""Writes the icon files the icon chooser's tests build into sample programs:
one.ico (one 32x32 image) and sizes.ico (16, 32 and 48 pixels, a different colour each)."""
import struct


def image(size, rgb):
    r, g, b = rgb
    rows = []
    for y in range(size):  # bottom-up; a lighter band marks the top
        shade = 60 if y >= size * 3 // 4 else 0
        rows.append(bytes((min(b + shade, 255), min(g + shade, 255), min(r + shade, 255), 255)) * size)
    xor = b"".join(rows)
    mask_row = (size + 31) // 32 * 4
    and_mask = b"\x00" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, bits in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(bits), offset + len(data))
        data += bits
    return out + data


open("one.ico", "wb").write(ico([(32, image(32, (30, 120, 220)))]))
open("sizes.ico", "wb").write(ico([(16, image(16, (220, 40, 40))), (32, image(32, (40, 180, 60))),
                                   (48, image(48, (240, 200, 40)))]))

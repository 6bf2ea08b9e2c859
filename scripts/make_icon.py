#!/usr/bin/env python3
"""Draws the application icon: one 64x64 image at 24 bits per pixel (src/app/velquin.ico)."""
import struct, sys

W = H = 64

def pixel(x, y):
    # y counts from the top. A folder in amber on black with a white "V" on its face.
    bg = (0, 0, 0)
    tab = 8 <= x < 30 and 10 <= y < 18
    body = 6 <= x < 58 and 16 <= y < 54
    if not (tab or body):
        return bg
    # The V: two strokes from the top corners meeting at the bottom centre.
    if 22 <= y < 48:
        t = (y - 22) / 26.0
        left = 18 + t * 13
        right = 46 - t * 13
        if abs(x - left) < 3 or abs(x - right) < 3:
            return (255, 255, 255)
    shade = 0 if y < 34 else 20
    return (255 - shade, 184 - shade, 28)

rows = []
for y in reversed(range(H)):  # DIBs are stored bottom-up
    row = b"".join(bytes((b, g, r)) for (r, g, b) in (pixel(x, y) for x in range(W)))
    rows.append(row)
xor = b"".join(rows)
and_mask = b"\x00" * (W // 8 * H)  # every pixel opaque
header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 24, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
image = header + xor + and_mask
icondir = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", W, H, 0, 0, 1, 24, len(image), 6 + 16)
with open(sys.argv[1] if len(sys.argv) > 1 else "src/app/velquin.ico", "wb") as f:
    f.write(icondir + entry + image)

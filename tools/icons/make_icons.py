#!/usr/bin/env python3
"""Draws the launcher's two icons (16x16 and 32x32, 32-bit) and writes them as .ico files.

app.ico (101): a blue rounded square with a white upward arrow (launch/update).
notice.ico (102): a yellow disc with a dark "i" (the message box's notice icon).
Run it again after changing the drawing; the .ico files are committed.
"""
import struct
import sys


def draw_app(size):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            inside = 0.06 < u < 0.94 and 0.06 < v < 0.94
            corner = min(u - 0.06, 0.94 - u) < 0.12 and min(v - 0.06, 0.94 - v) < 0.12
            if corner:
                cu = 0.18 if u < 0.5 else 0.82
                cv = 0.18 if v < 0.5 else 0.82
                inside = (u - cu) ** 2 + (v - cv) ** 2 < 0.12 ** 2
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            color = (220, int(120 + 60 * (1 - v)), 30, 255)  # BGRA: blue, lighter at the top
            arrow_head = v < 0.55 and abs(u - 0.5) < (0.55 - v) * 0.9 and v > 0.2
            arrow_shaft = 0.5 <= v < 0.82 and abs(u - 0.5) < 0.09
            if arrow_head or arrow_shaft:
                color = (255, 255, 255, 255)
            row.append(color)
        pixels.append(row)
    return pixels


def draw_notice(size):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            r2 = (u - 0.5) ** 2 + (v - 0.5) ** 2
            if r2 > 0.46 ** 2:
                row.append((0, 0, 0, 0))
                continue
            color = (40, 200, 250, 255)  # BGRA: yellow
            dot = (u - 0.5) ** 2 + (v - 0.27) ** 2 < 0.075 ** 2
            stem = abs(u - 0.5) < 0.065 and 0.40 < v < 0.78
            if dot or stem:
                color = (40, 40, 40, 255)
            row.append(color)
        pixels.append(row)
    return pixels


def image_bytes(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + body + bytes(mask)


def write_ico(path, draw):
    images = [image_bytes(draw(size)) for size in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    write_ico(f"{folder}/app.ico", draw_app)
    write_ico(f"{folder}/notice.ico", draw_notice)

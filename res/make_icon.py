"""Draws Tessaly's camera icon and writes it as a .ico with images from 16x16 to 64x64: the small and
large icon sizes of 100 %, 125 %, 150 % and 200 % display scales, each drawn at its own size.

Usage: make_icon.py OUT.ico   (no third-party modules: runs on any Python 3)
"""
import struct
import sys

SAMPLES = 4  # supersampling per axis, for smooth edges


def inside_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def shade(u, v):
    """Colour (r, g, b, a) of the point (u, v) of the unit square, or None for transparent."""
    lens = ((u - 0.5) ** 2 + (v - 0.56) ** 2) ** 0.5
    if lens < 0.10:
        return (235, 245, 255, 255) if (u - 0.46) ** 2 + (v - 0.52) ** 2 < 0.0012 else (20, 30, 48, 255)
    if lens < 0.17:
        return (60, 150, 220, 255)
    if lens < 0.22:
        return (225, 232, 240, 255)
    if inside_round_rect(u, v, 0.06, 0.26, 0.94, 0.86, 0.09):
        return (46, 74, 98, 255)
    if inside_round_rect(u, v, 0.30, 0.15, 0.62, 0.32, 0.04):
        return (46, 74, 98, 255)
    if inside_round_rect(u, v, 0.70, 0.19, 0.84, 0.28, 0.02):
        return (240, 170, 40, 255)  # the shutter button
    return None


def render(size):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    if c:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            n = SAMPLES * SAMPLES
            alpha = acc[3] // n
            rgb = [acc[i] // acc[3] if acc[3] else 0 for i in range(3)]
            row.append((rgb[0], rgb[1], rgb[2], alpha))
        rows.append(row)
    return rows


def icon_image(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main():
    sizes = (16, 20, 24, 32, 40, 48, 64)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()

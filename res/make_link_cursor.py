"""Draws the pointing hand that links show and writes it as a monochrome .cur file with its hot spot
at the top-left corner (the tip of the finger): a 32x32 image, and the same drawing with its cells
enlarged to 48x48 and 64x64 for larger display scales (the system picks the size it shows).

Usage: make_link_cursor.py OUT.cur   (no third-party modules: runs on any Python 3)
"""
import struct
import sys

SIZE = 32
SIZES = (32, 48, 64)
# '#' outline (black), '.' inside (white), anything else transparent.
HAND = [
    "##",
    "#.#",
    "#..#",
    "#..#",
    "#..#",
    "#..#",
    "#..###",
    "#..#..###",
    "#..#..#..##",
    "#..#..#..#.#",
    "#..#..#..#..#",
    "#...........#",
    "#...........#",
    "#...........#",
    "#...........#",
    " #.........#",
    " #.........#",
    "  #.......#",
    "  #.......#",
    "  #########",
]


def planes(pixels):
    """The XOR (colour) and AND (transparency) bit rows at `pixels` square, top row first."""
    xor_rows, and_rows = [], []
    stride = ((pixels + 31) // 32) * 4
    for y in range(pixels):
        row = y * SIZE // pixels
        line = HAND[row] if row < len(HAND) else ""
        xor_bits = and_bits = 0
        for x in range(pixels):
            column = x * SIZE // pixels
            c = line[column] if column < len(line) else " "
            bit = 1 << (stride * 8 - 1 - x)
            if c == ".":
                xor_bits |= bit        # white: AND 0, XOR 1
            elif c != "#":
                and_bits |= bit        # transparent: AND 1, XOR 0
        xor_rows.append(xor_bits.to_bytes(stride, "big"))
        and_rows.append(and_bits.to_bytes(stride, "big"))
    return xor_rows, and_rows


def image(pixels):
    xor_rows, and_rows = planes(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, pixels, pixels * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    # Bitmaps are stored bottom-up.
    return header + palette + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))


def main():
    images = [image(pixels) for pixels in SIZES]
    hot_x, hot_y = 0, 0
    out = struct.pack("<HHH", 0, 2, len(images))
    offset = 6 + 16 * len(images)
    for pixels, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", pixels, pixels, 2, 0, hot_x, hot_y, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()

"""Draws the pointing hand that links show and writes it as a 32x32 monochrome .cur file with its
hot spot at the top-left corner (the tip of the finger).

Usage: make_link_cursor.py OUT.cur   (no third-party modules: runs on any Python 3)
"""
import struct
import sys

SIZE = 32
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


def planes():
    """The XOR (colour) and AND (transparency) bit rows, top row first."""
    xor_rows, and_rows = [], []
    for y in range(SIZE):
        line = HAND[y] if y < len(HAND) else ""
        xor_bits = and_bits = 0
        for x in range(SIZE):
            c = line[x] if x < len(line) else " "
            bit = 1 << (SIZE - 1 - x)
            if c == ".":
                xor_bits |= bit        # white: AND 0, XOR 1
            elif c != "#":
                and_bits |= bit        # transparent: AND 1, XOR 0
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    return xor_rows, and_rows


def main():
    xor_rows, and_rows = planes()
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    # Bitmaps are stored bottom-up.
    image = header + palette + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    hot_x, hot_y = 0, 0
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot_x, hot_y,
                                                          len(image), 6 + 16)
    with open(sys.argv[1], "wb") as f:
        f.write(directory + image)


if __name__ == "__main__":
    main()

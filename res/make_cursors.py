"""Draws the editor's three cursors and writes them as monochrome .cur files, each with a 32x32 image
and 48x48 and 64x64 ones for larger display scales (the system picks the size it shows).

    146 closed_hand.cur  a fist, for panning                       hot spot (7, 20)
    147 open_hand.cur    an open hand, Move tool with button up     hot spot (7, 20)
    186 select.cur       a crosshair beside a small picture         hot spot (5, 13)

Usage: make_cursors.py OUT_DIR   (no third-party modules: runs on any Python 3)
Each shape is a set of filled pixels; its edge (filled pixels next to an empty one) is drawn black,
the inside white, the rest transparent. Shapes are designed on the 32x32 grid; the hands are drawn
anew at each size (their outline stays one pixel), the crosshair's cells are enlarged.
"""
import struct
import sys
from pathlib import Path

SIZE = 32  # the design grid
PIXELS = 32  # the size being drawn
SIZES = (32, 48, 64)


def scale():
    return PIXELS / SIZE


def cells(v0, v1):
    """The drawn pixels of design cells v0..v1."""
    k = scale()
    return range(int(v0 * k + 1e-9), int((v1 + 1) * k + 1e-9))


def capsule(x0, y0, x1, y1, radius):
    """Pixels within `radius` of the segment (x0, y0)-(x1, y1)."""
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        length = dx * dx + dy * dy
        t = 0 if length == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= radius * radius
    k = scale()
    return {(x, y) for x in range(PIXELS) for y in range(PIXELS) if inside((x + 0.5) / k - 0.5, (y + 0.5) / k - 0.5)}


def box(left, top, right, bottom):
    """Pixels of the rectangle, edges inclusive."""
    return {(x, y) for x in cells(left, right) for y in cells(top, bottom)}


def outlined(filled, extra_black=()):
    """The grid: 'B' on the edge of `filled` and at `extra_black` (design cells), 'W' inside, '.'
    elsewhere."""
    grid = [["."] * PIXELS for _ in range(PIXELS)]
    for x, y in filled:
        edge = any((x + dx, y + dy) not in filled for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        grid[y][x] = "B" if edge else "W"
    for cx, cy in extra_black:
        for y in cells(cy, cy):
            for x in cells(cx, cx):
                grid[y][x] = "B"
    return grid


def enlarged(grid):
    """A grid drawn on the design grid, its cells enlarged to the size being drawn."""
    k = scale()
    return [[grid[int(y / k)][int(x / k)] for x in range(PIXELS)] for y in range(PIXELS)]


def palm():
    return box(6, 14, 21, 24) | capsule(8, 24, 19, 24, 3.2)


def open_hand():
    fingers = set()
    for left, top in ((6, 5), (10, 3), (14, 4), (18, 7)):
        fingers |= capsule(left + 1, top, left + 1, 15, 1.5)
    thumb = capsule(3, 13, 7, 19, 1.8)
    return outlined(palm() | fingers | thumb)


def closed_hand():
    knuckles = set()
    creases = []
    for left in (6, 10, 14, 18):
        knuckles |= capsule(left + 1, 11, left + 2, 12, 2.0)
    for x in (9, 13, 17):
        creases += [(x, y) for y in range(10, 14)]
    thumb = capsule(4, 16, 8, 19, 1.8)
    return outlined(palm() | box(6, 12, 21, 16) | knuckles | thumb, creases)


def select_cross():
    return enlarged(select_cross_design())


def select_cross_design():
    grid = [["."] * SIZE for _ in range(SIZE)]
    hot_x, hot_y = 5, 13
    cross = [(x, hot_y) for x in range(0, 11)] + [(hot_x, y) for y in range(8, 19)]
    # A white rim keeps the black cross visible on dark pictures.
    for x, y in cross:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE and grid[y + dy][x + dx] == ".":
                    grid[y + dy][x + dx] = "W"
    for x, y in cross:
        grid[y][x] = "B"
    # The small picture: a framed landscape with a hill and a sun.
    left, top, right, bottom = 13, 17, 29, 29
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = x in (left, right) or y in (top, bottom)
            hill = y >= bottom - 1 - max(0, 5 - abs(x - 19))
            sun = (x - 25) ** 2 + (y - 21) ** 2 <= 2
            grid[y][x] = "B" if edge or hill or sun else "W"
    return grid


def cursor_image(grid):
    """One 1-bit image of a .cur file: XOR bits 1 for white, AND bits 1 for transparent."""
    size = len(grid)
    stride = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(grid):  # bottom-up rows
        xor_row, mask_row = bytearray(stride), bytearray(stride)
        for x, cell in enumerate(row):
            bit = 0x80 >> (x % 8)
            if cell == "W":
                xor_row[x // 8] |= bit
            elif cell == ".":
                mask_row[x // 8] |= bit
        xor += xor_row
        mask += mask_row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    colours = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return header + colours + bytes(xor) + bytes(mask)


def cursor_file(draw, hot_spot):
    """A .cur file with one image per size of SIZES; the hot spot sits in its design cell."""
    global PIXELS
    images = []
    for PIXELS in SIZES:
        spot = tuple(cells(v, v)[(len(cells(v, v)) - 1) // 2] for v in hot_spot)
        images.append((PIXELS, spot, cursor_image(draw())))
    PIXELS = SIZE
    out = struct.pack("<HHH", 0, 2, len(images))
    offset = 6 + 16 * len(images)
    for size, spot, image in images:
        out += struct.pack("<BBBBHHII", size, size, 2, 0, spot[0], spot[1], len(image), offset)
        offset += len(image)
    return out + b"".join(image for _, _, image in images)


CURSORS = {
    "closed_hand.cur": (closed_hand, (7, 20)),
    "open_hand.cur": (open_hand, (7, 20)),
    "select.cur": (select_cross, (5, 13)),
}


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, (draw, hot_spot) in CURSORS.items():
        (out / name).write_bytes(cursor_file(draw, hot_spot))
    if len(sys.argv) > 2 and sys.argv[2] == "--show":
        for name, (draw, _) in CURSORS.items():
            print(name)
            print("\n".join("".join(row) for row in draw()))


if __name__ == "__main__":
    main()

"""Draws the main toolbar's button images (side by side, in the toolbar's button order) and writes
them as a 24-bit BMP; magenta marks the transparent pixels.

Usage: make_toolbar.py OUT.bmp [PIXELS]   (no third-party modules: runs on any Python 3)

The pictures are designed on a 16x16 grid; PIXELS (16 by default, 24 and 32 for the larger display
scales) is the size they are drawn at. Straight strokes and fills keep to the grid's cells, scaled;
round shapes are drawn anew at the larger size, so they stay round rather than stepped.
"""
import math
import struct
import sys

SIZE = 16  # the design grid
PIXELS = 16  # the size drawn, set from the command line
CLEAR = (255, 0, 255)
INK = (32, 32, 32)
PAPER = (255, 255, 255)
SHADE = (128, 128, 128)
BLUE = (30, 80, 180)
LIGHT_BLUE = (110, 160, 230)
YELLOW = (245, 205, 80)
BROWN = (150, 105, 20)
RED = (200, 30, 30)
GREEN = (30, 140, 50)


def cell(v):
    """The first pixel of design cell `v` at the drawn size."""
    return int(math.floor(v * PIXELS / SIZE + 1e-9))


class Icon:
    def __init__(self):
        self.pixels = [[None] * PIXELS for _ in range(PIXELS)]

    def dot(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            for py in range(cell(y), cell(y + 1)):
                for px in range(cell(x), cell(x + 1)):
                    self.pixels[py][px] = c

    def points(self):
        """Every drawn pixel with its place on the design grid (its centre)."""
        k = PIXELS / SIZE
        for py in range(PIXELS):
            for px in range(PIXELS):
                yield px, py, (px + 0.5) / k - 0.5, (py + 0.5) / k - 0.5

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c, dash=0):
        points = [(x, y0) for x in range(x0, x1 + 1)] + [(x1, y) for y in range(y0 + 1, y1 + 1)]
        points += [(x, y1) for x in range(x1 - 1, x0 - 1, -1)] + [(x0, y) for y in range(y1 - 1, y0, -1)]
        for i, (x, y) in enumerate(points):
            if not dash or (i // dash) % 2 == 0:
                self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def ring(self, cx, cy, r, c, start=0.0, end=360.0, width=1.0):
        for px, py, x, y in self.points():
            d = math.hypot(x - cx, y - cy)
            angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
            inside = start <= angle <= end if start <= end else (angle >= start or angle <= end)
            if abs(d - r) <= width / 2 and inside:
                self.pixels[py][px] = c

    def disc(self, cx, cy, r, c):
        for px, py, x, y in self.points():
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                self.pixels[py][px] = c

    def mirrored(self):
        other = Icon()
        other.pixels = [list(reversed(row)) for row in self.pixels]
        return other

    def page(self, x0, y0, x1, y1):
        self.fill(x0, y0, x1, y1, PAPER)
        self.frame(x0, y0, x1, y1, INK)
        for y in range(y0 + 2, y1 - 1, 2):
            self.line(x0 + 2, y, x1 - 2, y, SHADE)

    def arrow_cursor(self, x, y):
        shape = ["X", "XX", "X.X", "X..X", "X...X", "X..XXX", "X.X", "XX"]
        for dy, row in enumerate(shape):
            for dx, ch in enumerate(row):
                if ch != " ":
                    self.dot(x + dx, y + dy, INK if ch == "X" else PAPER)

    def magnifier(self):
        self.disc(6, 6, 4.6, PAPER)
        self.ring(6, 6, 4.6, INK, width=1.6)
        self.line(9, 10, 13, 14, BROWN)
        self.line(10, 10, 14, 14, BROWN)
        self.line(9, 11, 13, 15, BROWN)


def open_folder():
    i = Icon()
    i.fill(1, 4, 6, 5, YELLOW)
    i.fill(1, 5, 12, 13, YELLOW)
    i.frame(1, 5, 12, 13, BROWN)
    i.line(1, 4, 6, 4, BROWN)
    for y in range(8, 14):  # the open flap
        i.line(3 + (13 - y) // 2, y, 14 - (13 - y) // 3, y, (250, 225, 130))
    i.line(4, 8, 15, 8, BROWN)
    i.line(15, 8, 12, 13, BROWN)
    return i


def save_disk():
    i = Icon()
    i.fill(1, 1, 14, 14, BLUE)
    i.fill(4, 2, 11, 6, PAPER)
    i.line(5, 3, 10, 3, SHADE)
    i.line(5, 5, 10, 5, SHADE)
    i.fill(5, 10, 10, 14, (190, 190, 190))
    i.fill(8, 11, 9, 13, INK)
    i.frame(1, 1, 14, 14, INK)
    return i


def undo_arrow():
    i = Icon()
    i.ring(8, 10, 5, BLUE, 330, 180, 1.8)  # over the top, from right to left
    for d in range(4):  # the head at the left end, pointing down
        i.line(3 - 3 + d, 9 + d, 3 + 3 - d, 9 + d, BLUE)
    return i


def clear_page():
    i = Icon()
    i.page(2, 1, 12, 14)
    i.line(5, 5, 14, 14, RED)
    i.line(6, 5, 15, 14, RED)
    i.line(14, 5, 5, 14, RED)
    i.line(15, 5, 6, 14, RED)
    return i


def copy_pages():
    i = Icon()
    i.page(1, 1, 9, 11)
    i.page(6, 5, 14, 15)
    return i


def window_control():
    i = Icon()
    i.fill(0, 1, 12, 11, PAPER)
    i.fill(0, 1, 12, 3, BLUE)
    i.frame(0, 1, 12, 11, INK)
    i.fill(3, 6, 9, 8, (200, 200, 200))
    i.frame(3, 6, 9, 8, SHADE)
    i.arrow_cursor(8, 7)
    return i


def rectangle_area():
    i = Icon()
    i.frame(1, 2, 14, 13, INK, dash=2)
    i.line(8, 5, 8, 11, RED)
    i.line(5, 8, 11, 8, RED)
    return i


def zoom(plus):
    i = Icon()
    i.magnifier()
    i.line(4, 6, 8, 6, INK)
    if plus:
        i.line(6, 4, 6, 8, INK)
    return i


def move_arrows():
    i = Icon()
    i.line(8, 1, 8, 14, INK)
    i.line(1, 8, 14, 8, INK)
    for d in range(1, 4):
        i.line(8 - d, 1 + d, 8 + d, 1 + d, INK)
        i.line(8 - d, 14 - d, 8 + d, 14 - d, INK)
        i.line(1 + d, 8 - d, 1 + d, 8 + d, INK)
        i.line(14 - d, 8 - d, 14 - d, 8 + d, INK)
    return i


def select_area():
    i = Icon()
    i.frame(0, 0, 11, 9, BLUE, dash=2)
    i.arrow_cursor(8, 7)
    return i


def copy_selection():
    i = Icon()
    i.frame(0, 0, 9, 8, BLUE, dash=2)
    i.page(6, 5, 14, 15)
    return i


def crop_marks():
    i = Icon()
    i.fill(3, 0, 4, 12, INK)
    i.fill(3, 11, 15, 12, INK)
    i.fill(0, 3, 12, 4, INK)
    i.fill(11, 3, 12, 15, INK)
    i.fill(5, 5, 10, 10, LIGHT_BLUE)
    return i


def resize_box():
    i = Icon()
    i.frame(5, 5, 15, 15, SHADE)
    i.fill(1, 1, 8, 8, LIGHT_BLUE)
    i.frame(1, 1, 8, 8, BLUE)
    i.line(9, 9, 14, 14, INK)
    i.line(11, 14, 14, 14, INK)
    i.line(14, 11, 14, 14, INK)
    return i


def rotate_arrow():
    i = Icon()
    i.ring(8, 8, 5.5, GREEN, 100, 20, 1.8)
    i.fill(11, 1, 15, 2, GREEN)
    i.fill(14, 1, 15, 6, GREEN)
    return i


def help_mark():
    i = Icon()
    i.disc(7.5, 7.5, 7.4, BLUE)
    for x, y in [(6, 3), (7, 3), (8, 3), (9, 3), (5, 4), (10, 4), (10, 5), (9, 6), (8, 7), (8, 8), (7, 8),
                 (7, 9), (8, 9)]:
        i.dot(x, y, PAPER)
    i.fill(7, 11, 8, 12, PAPER)
    return i


def pen():
    i = Icon()
    for d in range(9):  # the barrel, from the cap down to the nib
        i.line(12 - d, 1 + d, 14 - d, 3 + d, BLUE)
        i.dot(13 - d, 2 + d, LIGHT_BLUE)
    i.line(2, 11, 4, 13, BROWN)
    i.dot(1, 14, INK)
    i.dot(2, 13, INK)
    return i


def arrow_mark():
    i = Icon()
    i.line(2, 13, 12, 3, RED)
    i.line(2, 12, 11, 3, RED)
    i.fill(8, 2, 13, 3, RED)
    i.fill(12, 2, 13, 7, RED)
    return i


def rectangle_mark():
    i = Icon()
    i.frame(1, 3, 14, 12, RED)
    i.frame(2, 4, 13, 11, RED)
    return i


def highlighter():
    i = Icon()
    i.fill(0, 10, 15, 14, YELLOW)
    for y in (11, 13):
        i.line(1, y, 14, y, SHADE)
    for d in range(7):  # the marker, its wedge tip on the stripe
        i.line(13 - d, 1 + d, 15 - d, 3 + d, GREEN)
    i.fill(6, 8, 7, 9, INK)
    return i


def text_mark():
    i = Icon()
    i.fill(2, 1, 13, 2, INK)
    i.fill(7, 1, 8, 14, INK)
    i.fill(5, 14, 10, 14, INK)
    i.dot(2, 3, INK)
    i.dot(13, 3, INK)
    return i


def pixelate_blocks():
    i = Icon()
    shades = [(90, 90, 90), (170, 170, 170), (130, 130, 200), (210, 210, 210)]
    for by in range(4):
        for bx in range(4):
            i.fill(bx * 4, by * 4, bx * 4 + 3, by * 4 + 3, shades[(bx + 2 * by) % 4])
    return i


def colour_swatch():
    i = Icon()
    i.fill(1, 1, 7, 7, RED)
    i.fill(8, 1, 14, 7, YELLOW)
    i.fill(1, 8, 7, 14, GREEN)
    i.fill(8, 8, 14, 14, BLUE)
    i.frame(0, 0, 15, 15, INK)
    return i


# In the toolbar's button order.
ICONS = [open_folder, save_disk, undo_arrow, lambda: undo_arrow().mirrored(), clear_page, copy_pages,
         window_control, rectangle_area, lambda: zoom(True), lambda: zoom(False), move_arrows, select_area,
         copy_selection, crop_marks, resize_box, rotate_arrow, pen, arrow_mark, rectangle_mark, highlighter,
         text_mark, pixelate_blocks, colour_swatch, help_mark]


def write_bmp(path, icons):
    width, height = PIXELS * len(icons), PIXELS
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for icon in icons:
            for c in icon.pixels[y]:
                r, g, b = c or CLEAR
                row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + pixels)


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    if len(sys.argv) == 3:
        PIXELS = int(sys.argv[2])
    write_bmp(sys.argv[1], [make() for make in ICONS])

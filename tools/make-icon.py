#!/usr/bin/env python3
"""Draws the setup icon (a diskette, a red arrow pointing down, a progress bar beneath) and writes
it as a Windows icon file with a 32 x 32 and a 16 x 16 image, 16 colours each.

Usage: make-icon.py [output.ico]   (default: res/Install.ico beside this tools folder)
Standard library only; the output is byte-for-byte the same on every run.
"""
import os
import struct
import sys

# The standard VGA palette, in the order of the Windows 16-colour system palette (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, NAVY, SILVER, GREY, RED, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 12, 15
CLEAR = None  # transparent: AND mask bit set, colour index 0


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def dot(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the rectangle from (x0, y0) to (x1, y1), both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.fill(x0, y0, x1, y0, colour)
        self.fill(x0, y1, x1, y1, colour)
        self.fill(x0, y0, x0, y1, colour)
        self.fill(x1, y0, x1, y1, colour)


def draw_diskette(c, x0, y0, x1, y1, shutter, label, notch):
    """A 3.5-inch diskette: navy case with its top right corner cut, metal shutter, white label."""
    c.fill(x0, y0, x1, y1, NAVY)
    c.frame(x0, y0, x1, y1, BLACK)
    for i in range(notch):  # cut corner: clear outside the diagonal, black along it
        for x in range(x1 - notch + 1 + i, x1 + 1):
            c.dot(x, y0 + i, CLEAR)
        c.dot(x1 - notch + i, y0 + i, BLACK)
    c.dot(x1, y0 + notch, BLACK)
    sx0, sy0, sx1, sy1, slot_x0, slot_x1 = shutter
    c.fill(sx0, sy0, sx1, sy1, SILVER)
    c.fill(slot_x0, sy0 + 1, slot_x1, sy1 - 1, NAVY)
    lx0, ly0, lx1, ly1, lines = label
    c.fill(lx0, ly0, lx1, ly1, WHITE)
    for y in lines:
        c.fill(lx0 + 1, y, lx1 - 1, y, SILVER)


def draw_arrow(c, shaft_x0, shaft_x1, shaft_y0, head_y0, head_x0, head_x1, outline):
    """A downward arrow: a shaft, then a head narrowing by one pixel per side on each row."""
    rows = []
    for y in range(shaft_y0, head_y0):
        rows.append((y, shaft_x0, shaft_x1))
    y, left, right = head_y0, head_x0, head_x1
    while left <= right:
        rows.append((y, left, right))
        y, left, right = y + 1, left + 1, right - 1
    for y, left, right in rows:
        c.fill(left, y, right, y, RED)
    if outline:
        shape = {(x, y) for y, left, right in rows for x in range(left, right + 1)}
        for x, y in shape:
            edge = any((x + dx, y + dy) not in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge and y != shaft_y0:
                c.dot(x, y, DARK_RED)


def draw_progress_bar(c, x0, y0, x1, y1, filled_to, block, gap, margin):
    """A segmented progress bar, part filled, in a black frame."""
    c.fill(x0, y0, x1, y1, SILVER)
    c.frame(x0, y0, x1, y1, BLACK)
    x = x0 + 1 + margin
    while x + block - 1 <= filled_to:
        c.fill(x, y0 + 1 + margin, x + block - 1, y1 - 1 - margin, BLUE)
        x += block + gap


def icon_32():
    c = Canvas(32)
    draw_diskette(c, 5, 0, 26, 19, shutter=(9, 1, 21, 7, 17, 19),
                  label=(8, 10, 23, 18, (13, 16)), notch=3)
    draw_arrow(c, 13, 18, 9, 17, 8, 23, outline=True)
    draw_progress_bar(c, 1, 25, 30, 31, filled_to=19, block=3, gap=1, margin=1)
    return c


def icon_16():
    c = Canvas(16)
    draw_diskette(c, 2, 0, 13, 9, shutter=(5, 1, 10, 3, 8, 9),
                  label=(4, 6, 11, 8, ()), notch=2)
    draw_arrow(c, 7, 8, 4, 8, 4, 11, outline=False)
    draw_progress_bar(c, 0, 12, 15, 15, filled_to=9, block=2, gap=1, margin=0)
    return c


def bitmap_rows(pixels, pack):
    """Bottom-up rows, each padded to a multiple of four bytes as DIBs require."""
    out = b""
    for row in reversed(pixels):
        data = pack(row)
        out += data + b"\0" * (-len(data) % 4)
    return out


def pack_colours(row):
    return bytes(((row[i] or 0) << 4) | (row[i + 1] or 0) for i in range(0, len(row), 2))


def pack_mask(row):
    out = bytearray((len(row) + 7) // 8)
    for i, colour in enumerate(row):
        if colour is CLEAR:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def image_data(canvas):
    size = canvas.size
    xor = bitmap_rows(canvas.pixels, pack_colours)
    mask = bitmap_rows(canvas.pixels, pack_mask)
    # The header's height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    return header + palette + xor + mask


def icon_file(canvases):
    images = [image_data(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "Install.ico")
    with open(target, "wb") as f:
        f.write(icon_file([icon_32(), icon_16()]))


if __name__ == "__main__":
    main()

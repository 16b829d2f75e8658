#!/usr/bin/env python3
"""Draws the pictures of the upgrade-needed dialog and its link: the warning icon (a yellow triangle
with a black exclamation mark and a grey shadow; one 32 x 32 image, 16 colours) and the hand cursor
(a monochrome 32 x 32 pointing hand, index finger up, hot spot at the top-left corner).

Usage: make-upgrade-images.py [output-folder]   (default: res/ beside this tools folder)
Writes Warning.ico and Hand.cur. Standard library only; the output is byte-for-byte the same on every run.
"""
import os
import struct
import sys

from toolmodule import load_tool


# The palette, transparency and bitmap packing of the setup icon serve these pictures too.
_icon = load_tool("make-icon")
PALETTE, CLEAR = _icon.PALETTE, _icon.CLEAR
bitmap_rows, pack_nibbles, pack_mask = _icon.bitmap_rows, _icon.pack_colours, _icon.pack_mask

BLACK, GREY, YELLOW, WHITE = 0, 8, 11, 15
SIZE = 32


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def triangle_span(y, apex_y, base_y, centre, half_base):
    """The columns covered by an upward triangle on row y, or None outside it."""
    if y < apex_y or y > base_y:
        return None
    half = (y - apex_y) * half_base / (base_y - apex_y)
    return int(round(centre - half)), int(round(centre + half))


def warning_icon():
    pixels = blank()
    apex, base, centre, half = 1, 28, 15, 14
    # The shadow: the same triangle two pixels right and down, drawn first so the face covers it.
    for y in range(SIZE):
        span = triangle_span(y - 2, apex, base, centre, half)
        if span:
            for x in range(span[0] + 2, min(span[1] + 2, SIZE - 1) + 1):
                pixels[y][x] = GREY
    for y in range(SIZE):
        span = triangle_span(y, apex, base, centre, half)
        if span:
            left, right = span
            for x in range(left, right + 1):
                edge = x in (left, right) or y in (apex, base)
                pixels[y][x] = BLACK if edge else YELLOW
    for y in range(9, 21):  # the bar of the mark, on the triangle's axis
        for x in range(14, 17):
            pixels[y][x] = BLACK
    for y in range(23, 26):  # the dot
        for x in range(14, 17):
            pixels[y][x] = BLACK
    return pixels


# The hand, row by row from the top: '#' outline (black), '.' inside (white), ' ' transparent.
# The tip of the index finger sits at the top-left corner, where the hot spot is.
HAND = [
    "###",
    "#.#",
    "#.#",
    "#.#",
    "#.#",
    "#.# ##",
    "#.##..##",
    "#.#.#..##",
    "#.#.#.#..#",
    "#.#.#.#..##",
    "#.......#..#",
    "#.......#..#",
    "#..........#",
    "#..........#",
    "#..........#",
    "#.........#",
    " #........#",
    " #........#",
    "  #......#",
    "  #......#",
    "  ########",
]


def hand_cursor():
    pixels = blank()
    for y, row in enumerate(HAND):
        for x, ch in enumerate(row):
            if ch != " ":
                pixels[y][x] = BLACK if ch == "#" else WHITE
    return pixels


def pack_bits(row, is_set):
    out = bytearray((len(row) + 7) // 8)
    for i, colour in enumerate(row):
        if is_set(colour):
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def dib(pixels, bits, palette, pack_colours):
    xor = bitmap_rows(pixels, pack_colours)
    mask = bitmap_rows(pixels, pack_mask)
    # The header's height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         len(palette), 0)
    return header + b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + xor + mask


def icon_file(pixels):
    data = dib(pixels, 4, PALETTE, pack_nibbles)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(data), 22) + data


def cursor_file(pixels, hot_x, hot_y):
    # Monochrome: a set bit in the colour plane is white (palette entry 1); transparent pixels stay 0.
    data = dib(pixels, 1, [PALETTE[BLACK], PALETTE[WHITE]], lambda row: pack_bits(row, lambda c: c == WHITE))
    # A cursor directory entry holds the hot spot where an icon's holds planes and bit count.
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot_x, hot_y, len(data), 22) + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    with open(os.path.join(folder, "Warning.ico"), "wb") as f:
        f.write(icon_file(warning_icon()))
    with open(os.path.join(folder, "Hand.cur"), "wb") as f:
        f.write(cursor_file(hand_cursor(), 0, 0))


if __name__ == "__main__":
    main()

# SPDX-License-Identifier: Apache-2.0
"""Glyphs drawn in code, not rendered from a font: box drawing, block elements, shades and the
private-use signs, whose dots follow from the cell size alone."""

from latin import LATIN_BASE_ROW
from raster import ROWS, Glyph


# --------------------------------------------------------------------------------------------
# Box drawing, block elements and shades: drawn in code so that lines meet exactly across
# neighbouring cells at every width.

LIGHT_ROWS = (11, 12)  # light horizontal line: two dots thick through the middle
DOUBLE_ROWS = (10, 13)  # double horizontal line: two rails


def light_columns(width):
    c = (width - 2) // 2
    return c, c + 1


def double_columns(width):
    c = (width - 2) // 2
    return c - 1, c + 2


# Arms of each box-drawing sign: (up, down, left, right), and whether the lines are double.
BOX_SIGNS = {
    0x2500: ("-", "-", "L", "R", False), 0x2502: ("U", "D", "-", "-", False),
    0x250C: ("-", "D", "-", "R", False), 0x2510: ("-", "D", "L", "-", False),
    0x2514: ("U", "-", "-", "R", False), 0x2518: ("U", "-", "L", "-", False),
    0x251C: ("U", "D", "-", "R", False), 0x2524: ("U", "D", "L", "-", False),
    0x252C: ("-", "D", "L", "R", False), 0x2534: ("U", "-", "L", "R", False),
    0x253C: ("U", "D", "L", "R", False),
    0x2550: ("-", "-", "L", "R", True), 0x2551: ("U", "D", "-", "-", True),
    0x2554: ("-", "D", "-", "R", True), 0x2557: ("-", "D", "L", "-", True),
    0x255A: ("U", "-", "-", "R", True), 0x255D: ("U", "-", "L", "-", True),
    0x2560: ("U", "D", "-", "R", True), 0x2563: ("U", "D", "L", "-", True),
    0x2566: ("-", "D", "L", "R", True), 0x2569: ("U", "-", "L", "R", True),
    0x256C: ("U", "D", "L", "R", True),
}


def horizontal_line(g, r0, r1, c0, c1):
    g.fill(c0, r0, c1, r1)


def vertical_line(g, c0, c1, r0, r1):
    g.fill(c0, r0, c1, r1)


def light_lines(g, up, down, left, right):
    c0, c1 = light_columns(g.width)
    r0, r1 = LIGHT_ROWS
    if left:
        horizontal_line(g, r0, r1, 0, c1)
    if right:
        horizontal_line(g, r0, r1, c0, g.width - 1)
    if up:
        vertical_line(g, c0, c1, 0, r1)
    if down:
        vertical_line(g, c0, c1, r0, ROWS - 1)


def double_rails(g, up, down, left, right):
    """Each arm is drawn as a band between its two rails, then the inside of the bands is
    hollowed out: what stays are the rails, joined as the arms require."""
    cl, cr = double_columns(g.width)
    rt, rb = DOUBLE_ROWS
    g.fill(cl, rt, cr, rb)
    if left:
        g.fill(0, rt, cr, rb)
    if right:
        g.fill(cl, rt, g.width - 1, rb)
    if up:
        g.fill(cl, 0, cr, rb)
    if down:
        g.fill(cl, rt, cr, ROWS - 1)
    g.erase(0 if left else cl + 1, rt + 1, g.width - 1 if right else cr - 1, rb - 1)
    g.erase(cl + 1, 0 if up else rt + 1, cr - 1, ROWS - 1 if down else rb - 1)


def shade_pattern(g, level):
    """Shades of 1/4, 1/2 and 3/4 ink. The pattern repeats every 2 columns and 4 rows, so it
    tiles without seams across rows of cells (24 rows) and across cells of an even width. No
    two-column pattern repeats across 13 columns: there the last column of one cell and the
    first of the next share their phase, the one seam an odd width cannot avoid."""
    for r in range(ROWS):
        for c in range(g.width):
            if level == 1:
                on = r % 2 == 0 and (c + r // 2) % 2 == 0
            elif level == 2:
                on = (c + r) % 2 == 0
            else:
                on = not (r % 2 == 0 and (c + r // 2) % 2 == 1)
            if on:
                g.set(c, r)


def draw_box_or_block(cp, width):
    g = Glyph(width)
    if cp in BOX_SIGNS:
        up, down, left, right, double = BOX_SIGNS[cp]
        arms = (up == "U", down == "D", left == "L", right == "R")
        (double_rails if double else light_lines)(g, *arms)
    elif cp == 0x2580:
        g.fill(0, 0, width - 1, 11)
    elif cp == 0x2584:
        g.fill(0, 12, width - 1, ROWS - 1)
    elif cp == 0x2588:
        g.fill(0, 0, width - 1, ROWS - 1)
    elif cp in (0x2591, 0x2592, 0x2593):
        shade_pattern(g, cp - 0x2590)
    elif cp == 0x25A0:
        # a square of 8 x 8 dots standing on the Latin base line, the same in every width
        c0 = (width - 8) // 2
        g.fill(c0, LATIN_BASE_ROW - 7, c0 + 7, LATIN_BASE_ROW)
    return g


# --------------------------------------------------------------------------------------------
# Private use: no standard meaning, so each sign shows its own code point as four small hex
# digits in a frame: honest, and legible on a receipt.

HEX_DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"], "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"], "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"], "7": ["###", "..#", ".#.", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"], "9": ["###", "#.#", "###", "..#", "###"],
    "A": [".#.", "#.#", "###", "#.#", "#.#"], "B": ["##.", "#.#", "##.", "#.#", "##."],
    "C": [".##", "#..", "#..", "#..", ".##"], "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "E": ["###", "#..", "##.", "#..", "###"], "F": ["###", "#..", "##.", "#..", "#.."],
}


def draw_private_use(cp, width):
    g = Glyph(width)
    top, bottom = 3, 20
    g.fill(0, top, width - 1, top)
    g.fill(0, bottom, width - 1, bottom)
    g.fill(0, top, 0, bottom)
    g.fill(width - 1, top, width - 1, bottom)
    text = "%04X" % cp
    gap = 1 if width >= 10 else 0
    block_w = 3 + gap + 3
    c0 = (width - block_w + 1) // 2
    for i, ch in enumerate(text):
        col = c0 + (i % 2) * (3 + gap)
        row = top + 3 + (i // 2) * 7
        g.draw_art(HEX_DIGITS[ch], col, row)
    return g

# SPDX-License-Identifier: Apache-2.0
"""Dots and harakat drawn on the dot grid.

At 24 dots a font's dots come out one dot row high and melt into each other and into the
letter, so that two dots print as a dash whose length, not count, tells letters apart. Here a
dot is a square of whole printer dots, groups of dots keep a blank column or row between their
squares, and the harakat are small hand-drawn shapes of three rows (the damma's tail reaches
lower, at the cell's left edge), so that over a tall letter (ink from row 4) a mark keeps a
blank row, and each mark differs from the others.
"""

# Square of one dot, (columns, rows), per font width.
DOT_SIZE = {10: (2, 2), 13: (2, 2), 18: (2, 2)}

# Arrangements of a dot group, in squares: (column step, row step) of each square, where a step
# is the square's size plus one blank dot. Half steps centre a square over two others.
ARRANGEMENTS = {
    1: [(0, 0)],
    "2h": [(0, 0), (1, 0)],
    "2v": [(0, 0), (0, 1)],
    "3up": [(0.5, 0), (0, 1), (1, 1)],  # apex above, as over sheen and theh
    "3down": [(0, 0), (1, 0), (0.5, 1)],  # apex below, as under peh and tcheh
    4: [(0, 0), (1, 0), (0, 1), (1, 1)],
}


def group_of(component_name):
    """The arrangement of a dot component of the outline font, or None for anything else
    (hamza, small tah, rings and bars are drawn from the font with the letter)."""
    name = component_name.lower()
    if name.startswith("dot"):
        return 1
    if name.startswith("twodotsvertical"):
        return "2v"
    if name.startswith("twodots"):
        return "2h"
    if name.startswith("threedotsdown"):
        return "3down"
    if name.startswith("threedots"):
        return "3up"
    if name.startswith("fourdots"):
        return 4
    return None


def group_squares(arrangement, width, stacked=False):
    """Top left corners (column, row) of the squares of a group, relative to the group's top
    left corner, and the group's size (columns, rows). A stacked group of two puts its squares
    one above the other, for letters too narrow to take them side by side."""
    dw, dh = DOT_SIZE[width]
    steps = ARRANGEMENTS["2v" if stacked and arrangement == "2h" else arrangement]
    squares = [(int(sc * (dw + 1)), int(sr * (dh + 1))) for sc, sr in steps]
    cols = max(c for c, _ in squares) + dw
    rows = max(r for _, r in squares) + dh
    return squares, (cols, rows)


def draw_group(glyph, arrangement, c0, r0, stacked=False):
    dw, dh = DOT_SIZE[glyph.width]
    squares, _ = group_squares(arrangement, glyph.width, stacked)
    for c, r in squares:
        glyph.fill(c0 + c, r0 + r, c0 + c + dw - 1, r0 + r + dh - 1)


# Harakat, drawn per font: art rows from the top; '#' is ink. Marks above print from row 0 down,
# marks below end on row 23. The shapes differ from each other and from a dot: fatha and kasra are
# slanted strokes two dots thick along their length (a thermal head fades a stroke one dot thick,
# and a diagonal staircase of single dots is one), two rows high: three touch the shadda over a
# letter whose dot or hamza starts on row 8 (noon, yeh with hamza) and the hamza under final alef
# at 10, and two leave room over and under a short letter for a fathatan or kasratan set as its
# vowel twice, one over the other. Where there is no such room (over alef there are three rows),
# fathatan and kasratan are two strokes side by side, more than one blank dot apart in every
# direction (thermal heads print two strokes one blank dot apart as one, which reads as madda),
# each steeper than the fatha, as two shallow strokes side by side over alef read as madda too
# (شكراً as شكرآ); damma a small waw: a ring on rows 0-2 whose tail runs down to the left and ends
# at the cell's left edge. In three rows a ring leaves its tail no room below it: with a short
# tail along its foot it read as sukun, with a long one as a fatha beside a ring, with a turned
# tail as one blot, and a ring whose tail was one dot under its corner read as sukun too; a solid
# knot with a tail, in any size, looks like a slanted stroke (a fatha, and its pair fathatan).
# Under row 2 the tail may only take the cell's first column, where the fewest tall letters (top
# on row 4) come within a column, and only as far down as it stays clear of those that do not
# already touch the ring: at 13 it leaves the ring's foot at its left corner and hangs down the
# first column to row 4, as the tail of a waw hangs under its head (the alef and tah it comes near
# touch the tip on row 3 already); at 10 and 18 a fifth row there touches the lam of lam-alef (and
# at 10 the hamza of initial yeh), so the tail leaves the ring's left side on row 1, a blank dot
# apart from its foot, and ends in one dot on row 3 (there the sukun is drawn smaller, below).
# Dammatan is two dammas two blank columns apart without the tip (two tips would touch too many
# tall letters), each tail leaving its ring on row 1 and ending two blank dots from the ring's
# foot, whose corner under the tail stays open (a tail a blank dot from the foot printed as a ring
# on a longer foot, and two such read as two sukuns; a tail two dots thick beside the ring read as
# a dash). Sukun a round ring without a tail (at 10 and 18 four columns wide with its corners cut,
# half as wide as the damma with its tail: a ring six columns wide, nearly as wide as the damma's
# ring and tail, read as the damma), shadda a comb of three prongs two rows high and two blank
# dots apart (a comb whose prongs stood a blank dot apart printed as a notched blob, and at 18
# prongs a row high on a base two rows thick read, under a fatha, as a fathatan), madda a tilde
# two dots thick (a hump up on the left, a trough down on the right, each three dots long: a
# shorter wave printed as a caret), the small alef an upright stroke two dots wide (one wide,
# readers missed it in الرحمٰن).
HARAKAT_ART = {
    "narrow": {
        0x064B: ["..##.....##", ".###....###", "###....###."],  # fathatan: two strokes
        0x064C: ["..###....###", ".##.#...##.#", "#..##..#..##"],  # dammatan: two dammas
        0x064D: ["..##.....##", ".###....###", "###....###."],  # kasratan
        0x064E: [".#####", "#####."],  # fatha: two rows (see above)
        0x064F: ["..####", ".##..#", ".#####", "#.....", "#....."],  # damma: a small waw
        0x0650: [".#####", "#####."],  # kasra: two rows, as the fatha
        0x0651: [".##..##..##", ".##..##..##", ".##########"],  # shadda: a comb
        0x0652: [".###.", "#...#", ".###."],  # sukun: a round ring
        0x0653: [".###.....", "##.###.##", ".....###."],  # madda: a tilde
        0x0670: ["##", "##", "##"],  # superscript alef
        0x0656: ["##", "##", "##"],  # subscript alef
    },
    "wide": {
        0x064B: ["....###....###", "...###....###.", "..###....###.."],
        0x064C: ["...####....####", "..##..#...##..#", ".#..###..#..###"],
        0x064D: ["....###....###", "...###....###.", "..###....###.."],
        0x064E: [".######", "######."],
        0x064F: ["....####", "...##..#", ".##.####", "#......."],
        0x0650: [".######", "######."],
        0x0651: [".##..##..##", ".##..##..##", ".##########"],
        0x0652: [".##.", "#..#", ".##."],
        0x0653: ["...###.......", ".#######..###", "###...######."],
        0x0670: ["##", "##", "##"],
        0x0656: ["##", "##", "##"],
    },
}

BELOW = {0x064D, 0x0650, 0x0656}

# Drawn from the cell's left edge rather than centred: the damma's tail under row 2.
AT_LEFT_EDGE = {0x064F}


# At 10 dots: two dammas and their blank need twelve columns, so the dammatan is one damma
# whose tail runs down to the left and turns back up, as type also draws it; the shadda is three
# prongs two rows high and two blank dots apart on a base row, kept off the cell's first two
# columns (as at 13), where a prong would touch the damma's tip over it; the madda is a tilde of
# eight columns, its hump and trough each three dots long (in six columns it printed as a
# caret), which over lam-alef keeps a blank row over the head of the lam; fathatan and kasratan
# are two steep strokes of four columns, as two longer ones do not fit ten columns with their
# blank between; the kasra keeps two rows; the fatha is the stroke whose bytes the tests pin;
# the damma and the sukun are those of 18 dots, rings four columns wide round a hole two dots
# wide (the damma's square, its tail a blank dot from its foot and its tip on row 3 at the left
# edge; the sukun's round), as in the rings of three columns round a single dot the reader had
# to slow down to tell them apart.
HARAKAT_AT_TEN = {
    0x064B: ["..##....##", ".###...###", "###...###."],
    0x064D: ["..##....##", ".###...###", "###...###."],
    0x064E: ["....####..", "..####...."],
    0x064C: ["#....###", ".#..##.#", "..##..##"],  # a damma whose tail turns back
    0x0651: [".#..#..#", ".#..#..#", ".#######"],  # shadda: a comb
    0x0650: [".#####", "#####."],
    0x0653: [".###....", "##.##.##", "....###."],
    0x064F: ["....####", "...##..#", ".##.####", "#......."],
    0x0652: [".##.", "#..#", ".##."],
}


def haraka_art(cp, width):
    if width == 10 and cp in HARAKAT_AT_TEN:
        return HARAKAT_AT_TEN[cp]
    art = HARAKAT_ART["wide" if width >= 18 else "narrow"]
    return art.get(cp)


def draw_haraka(glyph, cp, bottom_row=None, top_row=None):
    """Draws the haraka centred in the cell: with its top on top_row, or its bottom on
    bottom_row; by default at the cell edge on its own side of the letter."""
    art = haraka_art(cp, glyph.width)
    h, w = len(art), max(len(line) for line in art)
    if top_row is None:
        if bottom_row is None:
            bottom_row = 23 if cp in BELOW else h - 1
        top_row = bottom_row - h + 1
    left = 0 if cp in AT_LEFT_EDGE else (glyph.width - w) // 2
    return glyph.draw_art(art, left, top_row)

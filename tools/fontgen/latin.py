# SPDX-License-Identifier: Apache-2.0
"""Latin-1 signs, punctuation, currency and mathematical signs, rendered from DejaVu Sans."""

from raster import Glyph, render
from sources import SOURCES


# Latin-1 signs, punctuation and maths stand where a 12x24 resident printer font puts its
# base line (capitals on about rows 5 to 18).
LATIN_BASE_ROW = 18


FULL_WIDTH_SIGNS = {0x2013, 0x2014, 0x203E}  # dashes and overline meet their neighbours
# Signs printed among the amounts of an Arabic receipt, emboldened to the weight of its letters
# and digits (stems two dots wide).
HEAVY_SIGNS = {0x20AC, 0x2030}
HEAVY_SIGN_BOLD = 0.9


def small_ring(g, c, r):
    """A ring 3 dots wide and 4 high with its top left corner at column c, row r, its corners
    filled so that it weighs as much as the letters beside it."""
    g.fill(c, r, c + 2, r + 3)
    g.erase(c + 1, r + 1, c + 1, r + 2)


def straight_line(g, c0, r0, c1, r1):
    steps = max(abs(c1 - c0), abs(r1 - r0))
    for i in range(steps + 1):
        g.set(c0 + round((c1 - c0) * i / steps), r0 + round((r1 - r0) * i / steps))


def draw_per_mille(width):
    """U+2030 at 10 and 13 dots: the font's three rings melt into one blot at that width."""
    g = Glyph(width)
    top_ring, slash_top, slash_bottom, rings = {10: (0, 5, 1, (4, 7)), 13: (1, 7, 2, (6, 9))}[width]
    small_ring(g, top_ring, 7)
    for k in (0, 1):  # a slash two dots wide, like the stems
        straight_line(g, slash_top + k, 6, slash_bottom + k, LATIN_BASE_ROW)
    for c in rings:
        small_ring(g, c, LATIN_BASE_ROW - 3)
    return g


def draw_sign(cp, width):
    if cp == 0x2030 and width < 18:
        return draw_per_mille(width)
    src = SOURCES["dejavu"]
    lo, hi = (0, width - 1) if cp in FULL_WIDTH_SIGNS else (1, width - 2)
    px = 19.0
    px_w, px_h = px, px
    shape = None
    bold = HEAVY_SIGN_BOLD if cp in HEAVY_SIGNS else 0.0
    for _ in range(80):
        shape = render(src, cp, px_w, px_h, bold)
        w, _ = shape.size()
        if w <= hi - lo + 1:
            break
        # narrow a wide sign down to 3/5 of its shape, then make it smaller as a whole
        px_w *= 0.96
        if px_w < 0.6 * px:
            px_h *= 0.96
    g = Glyph(width)
    x0, _, x1, _ = shape.bbox()
    if cp in FULL_WIDTH_SIGNS and cp != 0x2013:
        g_dx = lo - x0
        shape.place(g, g_dx, LATIN_BASE_ROW)
        _, y0, _, y1 = shape.bbox()
        g.fill(0, y0 + LATIN_BASE_ROW, width - 1, y1 + LATIN_BASE_ROW)
    else:
        dx = lo + (hi - lo + 1 - (x1 - x0 + 1)) // 2 - x0
        shape.place(g, dx, LATIN_BASE_ROW)
    g.source = src.key
    return g

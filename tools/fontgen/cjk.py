# SPDX-License-Identifier: Apache-2.0
"""Japanese (kana, CJK punctuation and the kanji of the narrow fonts) and the wide ideographs.

Rendered from Noto Sans CJK JP and SC, the wide ideographs with their strokes made two dots thick;
the few ideographs that Noto lacks are enlarged from GNU Unifont's bitmaps, and those that neither
draws cleanly at 24 dots are drawn dot by dot (wide_art.py).
"""

import coverage as cov
from raster import ROWS, WIDE_WIDTH, Glyph, Shape, render
from sources import SOURCES
from wide_art import WIDE_ART


# Kana and kanji: the ink of a 20-dot ideograph then spans about rows 3 to 20.
CJK_BASE_ROW = 19


JAPANESE_TOP, JAPANESE_BOTTOM = 3, 20  # Japanese ink stays within these rows


def render_to_fit(src, cp, width, px_h, lo, hi, max_h=99):
    px_w = width * 1.15
    shape = None
    for _ in range(120):
        shape = render(src, cp, px_w, px_h)
        if shape is None:
            return None
        w, h = shape.size()
        if w <= hi - lo + 1 and h <= max_h:
            break
        if w > hi - lo + 1:
            px_w *= 0.97
        if h > max_h:
            px_h *= 0.97
    return shape


def render_aimed(src, cp, width, aim):
    """Renders at the size whose ink fills exactly the box of the aimed-at margins."""
    left, right, top, bottom = aim
    want_w, want_h = width - left - right, ROWS - top - bottom
    px_w, px_h = float(width), 20.0
    best = None
    for _ in range(200):
        shape = render(src, cp, px_w, px_h)
        w, h = shape.size()
        if (w, h) == (want_w, want_h):
            return shape
        best = shape
        px_w *= 1.01 if w < want_w else (0.99 if w > want_w else 1.0)
        px_h *= 1.01 if h < want_h else (0.99 if h > want_h else 1.0)
    return best


def draw_japanese(cp, width):
    src = SOURCES["cjk_jp"]
    g = Glyph(width)
    if cp in (0x3099, 0x309A):
        # The combining sound marks are the spacing ones moved into the top right corner of
        # the kana box, where they fall on the previous kana when printed over it.
        spacing = draw_japanese(cp + 2, width)
        left, right, top, bottom = spacing.margins()
        for r in range(ROWS):
            for c in range(width):
                if spacing.get(c, r):
                    g.set(c + right, r - top + JAPANESE_TOP)
        g.source = src.key
        return g
    aim = cov.aimed_margins(width, cp)
    if aim:
        shape = render_aimed(src, cp, width, aim)
        x0, y0, _, _ = shape.bbox()
        shape.place(g, aim[0] - x0, aim[2] - y0)
        g.source = src.key
        return g
    max_h = JAPANESE_BOTTOM - JAPANESE_TOP + 1
    shape = render_to_fit(src, cp, width, 20.0, 0, width - 1, max_h)
    x0, y0, x1, y1 = shape.bbox()
    dx = (width - (x1 - x0 + 1)) // 2 - x0
    # stand on the base line, moved by a row or two where the ink would leave the kana box
    dy = CJK_BASE_ROW
    dy = max(dy, JAPANESE_TOP - y0)
    dy = min(dy, JAPANESE_BOTTOM - y1)
    shape.place(g, dx, dy)
    g.source = src.key
    return g


def heavy_unifont(g, shape, box=20, margin=2):
    """Unifont's 16 x 16 bitmap enlarged to box x box dots with its strokes two dots wide, as
    heavy as Noto's at 24 dots: each source dot becomes a 2 x 2 square at its scaled place,
    narrowed to one dot only where the square would close the gap to the next stroke."""
    c0, r0, c1, r1 = shape.bbox()
    span_c, span_r = c1 - c0 + 1, r1 - r0 + 1
    ink = {(x - c0, y - r0) for x, y in shape.dots}

    def at(v, span):
        return (v * (box - 1)) // max(span - 1, 1) if span > 1 else 0

    for x, y in ink:
        cols = [at(x, span_c)]
        rows = [at(y, span_r)]
        if not ((x + 1, y) not in ink and (x + 2, y) in ink):
            cols.append(cols[0] + 1)
        if not ((x, y + 1) not in ink and (x, y + 2) in ink):
            rows.append(rows[0] + 1)
        for c in cols:
            for r in rows:
                if c < box and r < box:
                    g.set(c + margin, r + margin)


# Noto's ideographs are rendered at this size and their strokes then made two dots thick
# (thicken), which brings the ink to the 22 x 22 box the heavy Unifont ones fill.
WIDE_PX = 21.0


def thicken(ink, width, rows):
    """Makes the strokes that the raster drew one dot thick two dots thick, like Unifont's
    enlarged ones: a horizontal stroke grows a row (below, else above), a vertical or slanted
    stroke a column (to the right, else to the left), each stroke as a whole and only where a
    blank dot still parts it from the next stroke. A dense ideograph keeps a one-dot stroke
    where two strokes stand one blank apart. ink is a set of (column, row), all >= 0."""
    out = set(ink)

    def parts(added, beyond, stroke):
        # the added dot would close the gap to ink beyond it that is not the stroke's own
        return added not in out and beyond in out and beyond not in stroke

    for r in range(rows):  # horizontal strokes one row thick
        c = 0
        while c < width:
            if (c, r) not in ink:
                c += 1
                continue
            end = c
            while (end + 1, r) in ink:
                end += 1
            cols = range(c, end + 1)
            thin = [x for x in cols if (x, r - 1) not in ink and (x, r + 1) not in ink]
            if len(cols) >= 3 and 2 * len(thin) > len(cols):
                for dr in (1, -1):
                    stroke = {(x, r + k * dr) for x in cols for k in (0, 1)}
                    if not any(parts((x, r + dr), (x, r + 2 * dr), stroke) for x in thin) and \
                            0 <= r + dr < rows:
                        out |= {(x, r + dr) for x in thin}
                        break
            c = end + 1
    for c in range(width):  # vertical strokes, and the dots of slanted ones, one column thick
        r = 0
        while r < rows:
            if (c, r) not in ink:
                r += 1
                continue
            end = r
            while (c, end + 1) in ink:
                end += 1
            rws = range(r, end + 1)
            thin = [y for y in rws if (c - 1, y) not in ink and (c + 1, y) not in ink]
            if thin and 2 * len(thin) > len(rws):
                for dc in (1, -1):
                    stroke = {(c + k * dc, y) for y in rws for k in (0, 1)}
                    if not any(parts((c + dc, y), (c + 2 * dc, y), stroke) for y in thin) and \
                            0 <= c + dc < width:
                        out |= {(c + dc, y) for y in thin}
                        break
            r = end + 1
    return out


def thickened(src, cp, px_w, px_h):
    """The code point rendered at px_w x px_h with its strokes made two dots thick."""
    shape = render(src, cp, px_w, px_h)
    x0, y0, x1, y1 = shape.bbox()
    ink = thicken({(x - x0 + 1, y - y0 + 1) for x, y in shape.dots}, x1 - x0 + 4, y1 - y0 + 4)
    return Shape({(x + x0 - 1, y + y0 - 1) for x, y in ink})


# The ink of a wide ideograph spans at most this many columns, so that it keeps a blank column on
# each side and two stand two apart in a run, further apart than the parts of one ideograph (a
# single blank column between neighbours grouped the right part of one with the next).
WIDE_INK_WIDTH = WIDE_WIDTH - 2


def _components(dots, steps):
    seen, count = set(), 0
    for start in dots:
        if start in seen:
            continue
        count += 1
        seen.add(start)
        stack = [start]
        while stack:
            x, y = stack.pop()
            for dx, dy in steps:
                d = (x + dx, y + dy)
                if d in dots and d not in seen:
                    seen.add(d)
                    stack.append(d)
    return count


def _topology(ink, c0, c1):
    """The strokes (8-connected ink) and the rooms and outside (4-connected blank) counted
    within columns c0..c1 and a blank border around them."""
    around = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    blank = {(c, r) for r in range(-1, ROWS + 1) for c in range(c0 - 1, c1 + 2)} - ink
    return (_components(ink, around + [(1, 1), (1, -1), (-1, 1), (-1, -1)]),
            _components(blank, around))


def _run(ink, c0, c1, c, r):
    """The first and last column of the run of ink, or of blank, through (c, r) within c0..c1."""
    inked = (c, r) in ink
    lo = hi = c
    while lo > c0 and ((lo - 1, r) in ink) == inked:
        lo -= 1
    while hi < c1 and ((hi + 1, r) in ink) == inked:
        hi += 1
    return lo, hi


def _can_spare(ink, c0, c1, c):
    """Whether column c can go: in every row the ink through it runs on three dots or more
    (so a vertical stroke keeps two) and a blank through it between two strokes is two dots or
    more (so the strokes stay apart), and no strokes or rooms join or vanish."""
    for r in range(ROWS):
        lo, hi = _run(ink, c0, c1, c, r)
        if (c, r) in ink and hi - lo < 2:
            return False
        if (c, r) not in ink and hi == lo and c0 < lo and hi < c1:
            return False
    narrowed = {(x - (x > c), y) for x, y in ink if x != c}
    return _topology(narrowed, c0, c1 - 1) == _topology(ink, c0, c1)


def _narrowed_gaps(ink, c0, c1, c):
    """The rows where taking out column c leaves two strokes one blank dot apart."""
    runs = [_run(ink, c0, c1, c, r) for r in range(ROWS) if (c, r) not in ink]
    return sum(1 for lo, hi in runs if hi - lo == 1 and c0 < lo and hi < c1)


def fit_wide_ink(g):
    """Takes columns out of an ideograph whose ink is wider than WIDE_INK_WIDTH where the
    drawing spares them (each time the column that takes off the most ink, of those the
    rightmost, as the left part is the narrower one), then centres the ink in the cell. Returns
    False when it cannot spare enough columns."""
    left, right, _, _ = g.margins()
    c0, c1 = left, g.width - 1 - right
    if c1 - c0 + 1 <= WIDE_INK_WIDTH and left and right:
        return True
    ink = {(c, r) for r in range(ROWS) for c in range(g.width) if g.get(c, r)}
    while c1 - c0 + 1 > WIDE_INK_WIDTH:
        spare = [c for c in range(c0 + 1, c1) if _can_spare(ink, c0, c1, c)]
        if not spare:
            return False
        c = max(spare, key=lambda x: (-_narrowed_gaps(ink, c0, c1, x),
                                      sum(1 for r in range(ROWS) if (x, r) in ink), x))
        ink = {(x - (x > c), y) for x, y in ink if x != c}
        c1 -= 1
    dc = (g.width - (c1 - c0 + 1)) // 2 - c0
    g.rows = [0] * ROWS
    for x, y in ink:
        g.set(x + dc, y)
    return True


def draw_wide_ideograph(cp):
    g = _draw_wide_ideograph(cp)
    if not fit_wide_ink(g):
        raise SystemExit("fontgen: U+%04X is wider than %d columns and has none to spare"
                         % (cp, WIDE_INK_WIDTH))
    return g


def _draw_wide_ideograph(cp):
    g = Glyph(WIDE_WIDTH)
    if cp in WIDE_ART:
        g.draw_art(WIDE_ART[cp])
        return g
    src = SOURCES["cjk_sc"]
    if SOURCES["cjk_sc"].face().get_char_index(cp):
        shape = thickened(src, cp, WIDE_PX, WIDE_PX)
        x0, y0, x1, y1 = shape.bbox()
        dx = (WIDE_WIDTH - (x1 - x0 + 1)) // 2 - x0
        dy = 19
        if y1 + dy > ROWS - 3:
            dy = ROWS - 3 - y1
        shape.place(g, dx, dy)
        g.source = src.key
        return g
    # Noto Sans CJK 2.004 lacks this ideograph: Unifont's 16 x 16 bitmap (its outlines are
    # whole dots), the ink enlarged to fill the 20 x 20 box that Noto's ideographs fill.
    shape = render(SOURCES["unifont"], cp, 16.0, 16.0)
    if shape is None or shape.empty():
        raise SystemExit("fontgen: no source has U+%04X" % cp)
    heavy_unifont(g, shape)
    g.source = "unifont"
    return g

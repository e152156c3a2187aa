# SPDX-License-Identifier: Apache-2.0
"""Arabic: letters, their joining forms, the dots placed on them, marks and digits.

The printer prints left to right, so a joining form reaches the cell edge on the side of the
letter printed next to it, and a word printed as consecutive cells reads as one connected word.
Letters are rendered at one raster size per font from Noto Sans Arabic (the npm build, the
Debian build for the few letters it lacks); their dots are drawn on the dot grid (marks.py).
"""

import unicodedata

import coverage as cov
import marks
from raster import NARROW_WIDTHS, ROWS, Glyph, Shape, render, render_glyph_id
from sources import SOURCES


# Arabic letters stand on this row: a letter without descender has its lowest ink here.
ARABIC_BASE_ROW = 15
# Joining forms carry their connecting stroke to the cell edge on these rows, in every width,
# so that a word printed as consecutive cells reads as one connected word.
CONNECTOR_ROWS = (15,)


# --------------------------------------------------------------------------------------------
# Which letter is what: joining, marks above or below


def char_name(cp):
    return unicodedata.name(chr(cp), "")


def joining_sides(cp):
    """Which cell edges a glyph's connecting stroke reaches, in printing (visual) order: the
    printer prints left to right, so an initial form joins the letter printed to its left, a
    final form the one to its right. Returns (left, right)."""
    name = char_name(cp)
    if cp == 0x0640 or cp == 0xFE71:  # tatweel, and tatweel carrying fathatan
        return True, True
    if name.endswith("INITIAL FORM"):
        return True, False
    if name.endswith("MEDIAL FORM"):
        return True, True
    if name.endswith("FINAL FORM"):
        return False, True
    return False, False


def mark_is_below(cp):
    name = char_name(cp)
    ccc = unicodedata.combining(chr(cp))
    if ccc in (220, 29, 32):  # below, kasratan, kasra
        return True
    if ccc == 230:  # above, even "small high yeh barree with two dots below"
        return False
    words = name.split()
    return "BELOW" in words or "LOW" in words or "KASRA" in words


def is_arabic(cp):
    return 0x0600 <= cp <= 0x08FF or 0xFB50 <= cp <= 0xFEFF


# --------------------------------------------------------------------------------------------
# Rendering at the size that fits the cell


ARABIC_SIZE = {10: (17.0, 17.0, 0.6), 13: (17.0, 17.0, 0.6), 18: (22.0, 17.0, 0.3)}


def source_of(cp):
    face = SOURCES["arabic"].face()
    if face.get_char_index(cp):
        return SOURCES["arabic"]
    return SOURCES["arabic_debian"]


def render_to_fit(cp, width, lo, hi, top_row, bottom_row, scale_w=1.0):
    """Renders an Arabic glyph standing on the base line, shrinking it until its ink fits
    columns lo..hi and rows top_row..bottom_row. Returns (shape, source)."""
    src = source_of(cp)
    px_w, px_h, bold = ARABIC_SIZE[width]
    px_w *= scale_w
    shape = None
    w, h = px_w, px_h
    for _ in range(80):
        shape = render(src, cp, w, h, bold)
        if shape is None or shape.empty():
            raise SystemExit("fontgen: no ink for U+%04X in %s" % (cp, src.name))
        x0, y0, x1, y1 = shape.bbox()
        fits_h = y0 + ARABIC_BASE_ROW >= top_row and y1 + ARABIC_BASE_ROW <= bottom_row
        fits_w = x1 - x0 + 1 <= hi - lo + 1
        if fits_h and fits_w:
            return shape, src
        # The two sizes shrink apart, so that a letter keeps its rows in every width.
        if not fits_w:
            w *= 0.97
        if not fits_h:
            h *= 0.97
    raise SystemExit("fontgen: U+%04X does not fit %d columns" % (cp, width))


# Pixels per em (horizontal, vertical) and emboldening (horizontal, vertical) in pixels: one
# size per font, so that stems, bowls and joining strokes weigh the same in every letter. Only
# a letter wider than its cell is narrowed, and only the few that are too tall are made smaller.
# The bodies are drawn at the taller size, so that teeth and bowls are 7 dots or more and read as
# one size with the printer's own Latin; the part of a tall letter above ASCENDER_FROM_ROW is
# then pressed back to the top row it has at the shorter size, which leaves a mark its room.
LETTER_SIZE = {10: (17.0, 19.5), 13: (17.0, 19.5), 18: (22.0, 19.5)}
SHORT_LETTER_PX_H = 16.0
ASCENDER_FROM_ROW = 9
SHORT_TOP_ROW = 9
SHORT_PRESS_TO_ROW = 12
# A short letter carrying three or four dots above starts on this row.
MANY_DOTS_BODY_ROW = 10
# The final teh marbuta starts on this row: from the row above, its two dots stood a blank row
# under a haraka at the top of the cell (which the fit leaves where it is), and ـةٌ printed as a
# clump of specks. One row lower, with its small rising stroke pressed into the loop, the dots
# stand a row lower too and the haraka keeps two blank rows over them.
MARBUTA_FINAL_BODY_ROW = 8
# Its dots also stand this many columns in from the cell's left edge, where the damma drops the
# tip of its tail to row 3: from column 2 the tail came within one blank dot of the first dot.
MARBUTA_FINAL_DOTS_FROM_COLUMN = 3
LETTER_BOLD = {10: (0.6, 0.9), 13: (0.6, 0.9), 18: (0.5, 0.9)}
# The stem of alef (and of the alefs carrying hamza, madda or other marks) in these widths is
# one column wider than the font renders it: at 18 dots it came out two dots wide beside the
# three of lam and final alef, and a word starting with alef looked light at its start. Only the
# stem grows; the hamza and madda keep the font's weight.
ALEF_STEM_WIDENED = (18,)
# Joining strokes are two rows thick, like the stems are two columns wide.
JOIN_ROWS = (ARABIC_BASE_ROW - 1, ARABIC_BASE_ROW)


_OUTLINES = {}


def outline_font(src):
    if src.key not in _OUTLINES:
        from fontTools.ttLib import TTFont
        _OUTLINES[src.key] = TTFont(src.path, fontNumber=src.face_index)
    return _OUTLINES[src.key]


def letter_parts(src, cp):
    """The outline font's glyph for cp as (body components, dot groups): body components are
    (glyph id, x, y) in font units, dot groups (arrangement, centre x, top y, bottom y)."""
    font = outline_font(src)
    name = font.getBestCmap()[cp]
    glyf = font["glyf"]
    g = glyf[name]
    if not g.isComposite():
        return [(font.getGlyphID(name), 0, 0)], []
    body, dots = [], []
    for comp in g.components:
        arrangement = marks.group_of(comp.glyphName)
        if arrangement is None:
            body.append((font.getGlyphID(comp.glyphName), comp.x, comp.y))
            continue
        dg = glyf[comp.glyphName]
        dg.recalcBounds(glyf)
        dots.append((arrangement, comp.x + (dg.xMin + dg.xMax) / 2.0, comp.y + dg.yMax,
                     comp.y + dg.yMin))
    return body, dots


def hamza_glyph_id(src):
    return outline_font(src).getGlyphID("uni0654")


def hamza_bounds(src):
    """The hamza glyph's ink: (horizontal centre, bottom, top), in font units from its origin."""
    glyf = outline_font(src)["glyf"]
    g = glyf["uni0654"]
    g.recalcBounds(glyf)
    return (g.xMin + g.xMax) / 2.0, g.yMin, g.yMax


def hamza_art(width):
    """The dots of the hamza as the marks font draws U+0654, from (0, 0)."""
    mark = draw_mark(0x0654, width)
    dots = [(c, r) for r in range(ROWS) for c in range(width) if mark.get(c, r)]
    c0, r0 = min(c for c, _ in dots), min(r for _, r in dots)
    return [(c - c0, r - r0) for c, r in dots]


def place_hamza(glyph, cx, font_row, lo, hi, below):
    """Where the hamza centred on column cx goes: its top left corner (column, row). Above the
    letter it stays no lower than the outline font has it (font_row, its bottom row) and keeps
    one blank row over the ink beneath it and the columns beside it (at the top edge where the
    letter leaves less room); below the letter it hangs one blank row under the ink and ends on
    TAIL_END_ROW at the lowest, as tails do. Columns lo..hi bound it."""
    dots = hamza_art(glyph.width)
    w = max(c for c, _ in dots) + 1
    h = max(r for _, r in dots) + 1
    c0 = max(lo, min(hi - w + 1, int(round(cx - w / 2.0))))
    under = [r for r in range(ROWS) for c in range(c0 - 1, c0 + w + 1) if glyph.get(c, r)]
    if below:
        top = (max(under) if under else ARABIC_BASE_ROW) + 2
        return c0, min(top, TAIL_END_ROW - h + 1)
    bottom = min(font_row, (min(under) if under else ARABIC_BASE_ROW + 1) - 2)
    return c0, max(0, bottom - h + 1)


def draw_hamza(glyph, c0, r0):
    for c, r in hamza_art(glyph.width):
        glyph.set(c0 + c, r0 + r)


# Rows of the hamza over each letter in the three narrow fonts: each font puts it as low as
# keeps a blank row over the letter, as long as a line mixing widths keeps its rows (13 and 18
# on the same row, 10 within two of them); where they differ more, the lower ones move up.
_HAMZA_ROWS = {}


def common_hamza_rows(cp):
    if cp not in _HAMZA_ROWS:
        f10, f13, f18 = (draw_joined(cp, w, hamza_row=-1).hamza_row for w in NARROW_WIDTHS)
        f13 = f18 = min(f13, f18)
        f13 = f18 = min(f13, f10 + 2)
        f10 = min(f10, f13 + 2)
        _HAMZA_ROWS[cp] = dict(zip(NARROW_WIDTHS, (f10, f13, f18)))
    return _HAMZA_ROWS[cp]


_BASE_SHIFT = {}


def base_shift(width):
    """Rows to move a rendered letter so that the lowest row of the emboldened tatweel stands
    on the base line: emboldening grows a stroke downwards as well as upwards."""
    if width not in _BASE_SHIFT:
        src = SOURCES["arabic"]
        px_w, px_h = LETTER_SIZE[width]
        gid = outline_font(src).getGlyphID(outline_font(src).getBestCmap()[0x0640])
        shape = render_glyph_id(src, gid, px_w, px_h, LETTER_BOLD[width])
        _BASE_SHIFT[width] = -shape.bbox()[3]
    return _BASE_SHIFT[width]


def render_letter(src, body, px_w, px_h, bold):
    dots = set()
    for gid, x, y in body:
        shape = render_glyph_id(src, gid, px_w, px_h, bold)
        dx, dy = int(round(x * px_w / 1000.0)), -int(round(y * px_h / 1000.0))
        dots |= {(a + dx, b + dy) for a, b in shape.dots}
    return Shape(dots)


# --------------------------------------------------------------------------------------------
# Letters


def draw_letter(cp, width, flag=cov.FLAG_NONE):
    if cp == THOUSANDS_SEPARATOR:
        return draw_thousands_separator(width)
    if cp in HAMZA_ALONE:
        return draw_hamza_alone(width)
    left, right = joining_sides(cp)
    aim = cov.aimed_margins(width, cp)
    if aim:
        g = draw_aimed(cp, width, aim)
        if g is not None:
            if cp in ALEF_HAMZA_DRAWN.get(width, ()):
                draw_alef_hamza(g)
            return g
    if flag == cov.FLAG_HJUST:
        # Alef and its variants keep the drawing their stored headers and the justification of
        # the encoder were made for.
        g = draw_justified(cp, width)
        if width in ALEF_STEM_WIDENED:
            widen_stem(g)
        if cp in ALEF_HAMZA_DRAWN.get(width, ()):
            draw_alef_hamza(g)
        return g
    return draw_joined(cp, width)


# The alef carrying hamza at 10 and 13: the font's hamza, squeezed into the columns over the
# stem, prints as a blob three dots by four. Drawn instead as a small c open to the right with
# its tail falling to the left under it, in the same columns, so that the letter keeps its width
# in a line printed at natural widths, and on the rows over the stem that the font leaves, a
# blank row over it: U+0654, whose foot runs five columns wide, read there as madda (أمين as
# آمين). Over the final form's stem, a row higher, the three rows left take the hamza that the
# other letters carry (U+0654 as the marks font draws it, from the same first column).
ALEF_HAMZA_ART = [".##", "#..", ".##", "##."]
ALEF_HAMZA_DRAWN = {10: (0x0623, 0xFE83, 0xFE84), 13: (0x0623, 0xFE83)}


def draw_alef_hamza(glyph):
    """Redraws the hamza over the alef stem of glyph from the first column of the font's."""
    stem = next(c for c in range(glyph.width) if glyph.get(c, ARABIC_BASE_ROW - 5))
    stem_top = ARABIC_BASE_ROW - 5
    while glyph.get(stem, stem_top - 1):
        stem_top -= 1
    c0 = min(c for c in range(glyph.width) for r in range(stem_top - 1) if glyph.get(c, r))
    glyph.erase(0, 0, glyph.width - 1, stem_top - 1)
    if stem_top - 1 >= len(ALEF_HAMZA_ART):
        glyph.draw_art(ALEF_HAMZA_ART, c0, 0)
        return
    for c, r in hamza_art(glyph.width):
        glyph.set(c0 + c, r)


def draw_aimed(cp, width, aim):
    """Redraws one of the letters whose stored header deviates from its measured margins, at
    the size (and, for a letter that joins nothing, the height) at which its ink measures
    exactly the margins that the stored header was made for. None when no size does."""
    left, right = joining_sides(cp)
    src = source_of(cp)
    px_w0, px_h0, bold = ARABIC_SIZE[width]
    shifts = [0]
    candidates = []
    for i_h in range(-12, 29):
        px_h = px_h0 + 0.25 * i_h
        for i_w in range(-16, 17):
            px_w = px_w0 + 0.5 * i_w
            shape = render(src, cp, px_w, px_h, bold)
            x0, _, _, _ = shape.bbox()
            for shift in shifts:
                g = Glyph(width)
                shape.place(g, aim[0] - x0, ARABIC_BASE_ROW + shift)
                if left or right:
                    extend_connectors(g, left, right)
                if g.margins() == aim:
                    cost = abs(shift) * 4 + abs(i_h) + abs(i_w) * 0.5
                    candidates.append((cost, i_h, i_w, shift, g))
    if not candidates:
        return None
    g = min(candidates, key=lambda c: c[:4])[4]
    g.source = src.key
    return g


def draw_justified(cp, width):
    left, right = joining_sides(cp)
    lo, hi = 1, width - 2
    shape, src = render_to_fit(cp, width, lo, hi, 0, ROWS - 1)
    g = Glyph(width)
    x0, _, x1, _ = shape.bbox()
    span = x1 - x0 + 1
    dx = lo + (hi - lo + 1 - span) // 2 - x0
    shape.place(g, dx, ARABIC_BASE_ROW)
    shorten_tail(g)
    if left or right:
        extend_connectors(g, left, right)
    g.source = src.key
    return g


def widen_stem(glyph):
    """Widens an upright stem two dots wide standing on the base line to three, by a column on
    its right: from the base row up, every row inked on those two columns and nowhere else."""
    base = glyph.rows[ARABIC_BASE_ROW]
    c1 = base.bit_length() - 1
    if c1 < 1 or c1 + 1 >= glyph.width or base != 3 << (c1 - 1):
        return
    r = ARABIC_BASE_ROW
    while r >= 0 and glyph.rows[r] == base:
        glyph.set(c1 + 1, r)
        r -= 1


def draw_joined(cp, width, hints=None, hamza_row=None, font_kaf=False):
    left, right = joining_sides(cp)
    src = source_of(cp)
    body, dot_groups = letter_parts(src, cp)
    # The hamza over a letter is drawn as the marks font draws U+0654, one blank row over the
    # letter: rendered with the letter it merges into the bowl or tooth under it, and ـئ
    # prints as ـى.
    hamzas = [b for b in body if b[0] == hamza_glyph_id(src)]
    body = [b for b in body if b[0] != hamza_glyph_id(src)]
    # The small stroke inside kaf is drawn in code (KAF_MARK_ART), the font's being a speck.
    kaf_mark = kaf_mark_of(src, body, dot_groups, width)
    if kaf_mark is not None:
        body = [b for b in body if b[0] != kaf_mark]
    px_w, px_h = LETTER_SIZE[width]
    many_above = any(d[0] in ("3up", 4) and d[3] > 0 for d in dot_groups)
    if many_above:
        # three or four dots above (theh, sheen) and a mark over them need the short body
        px_h = min(px_h, SHORT_LETTER_PX_H)
    bold = LETTER_BOLD[width]
    lo = 0 if left else 1
    hi = width - 1 if right else width - 2
    room = hi - lo + 1
    shift = base_shift(width)
    for _ in range(80):
        shape = render_letter(src, body, px_w, px_h, bold)
        if shape.empty():
            # signs made of dots alone (the triple dot punctuation) are drawn as they are
            return draw_justified(cp, width)
        x0, y0, x1, y1 = shape.bbox()
        fits_w = x1 - x0 + 1 <= room
        fits_h = y0 + ARABIC_BASE_ROW + shift >= 0 and y1 + ARABIC_BASE_ROW + shift <= ROWS - 1
        if fits_w and fits_h:
            break
        if not fits_w:
            px_w *= 0.97
        if not fits_h:
            px_h *= 0.97
    if px_h > SHORT_LETTER_PX_H:
        short = render_letter(src, body, px_w, min(px_h, SHORT_LETTER_PX_H), bold)
        top_at_short = short.bbox()[1]
        if y0 < top_at_short:
            shape = press_ascender(shape, top_at_short, ASCENDER_FROM_ROW - ARABIC_BASE_ROW - shift)
            x0, y0, x1, y1 = shape.bbox()
    if y0 + ARABIC_BASE_ROW + shift == SHORT_TOP_ROW - 1:
        shape = press_ascender(shape, y0 + 1, SHORT_PRESS_TO_ROW - ARABIC_BASE_ROW - shift)
        x0, y0, x1, y1 = shape.bbox()
    if many_above and SHORT_TOP_ROW - 1 <= y0 + ARABIC_BASE_ROW + shift < MANY_DOTS_BODY_ROW:
        # The three dots (five rows) then sit on rows 4-8, and a haraka over them keeps the
        # blank row that the fit leaves it: on row 3 the damma over ش touched the top dot.
        shape = press_ascender(shape, MANY_DOTS_BODY_ROW - ARABIC_BASE_ROW - shift,
                               JOIN_ROWS[0] - ARABIC_BASE_ROW - shift)
        x0, y0, x1, y1 = shape.bbox()
    marbuta_final = right and not left and "MARBUTA" in char_name(cp).split()
    if marbuta_final:
        shape = press_ascender(shape, MARBUTA_FINAL_BODY_ROW - ARABIC_BASE_ROW - shift,
                               JOIN_ROWS[0] - ARABIC_BASE_ROW - shift)
        x0, y0, x1, y1 = shape.bbox()
    span = x1 - x0 + 1
    if left and not right:
        dx = width - 2 - span + 1 - x0  # initial form: one blank column on its free side
    elif right and not left:
        dx = 1 - x0  # final form
    else:
        dx = (width - span) // 2 - x0
    dy = ARABIC_BASE_ROW + shift
    g = Glyph(width)
    shape.place(g, dx, dy)
    shorten_tail(g)
    if cp in SAD_DRAWN.get(width, ()):
        g = Glyph(width).draw_art(SAD_ART[width], 0, SAD_TOP_ROW)
    bowl_cx = None
    if cp in SAD_JOINED and width in SAD_JOINED_ART:
        g = Glyph(width).draw_art(SAD_JOINED_ART[width], 0, SAD_JOINED_TOP_ROW)
        bowl_cx = SAD_JOINED_BOWL_CX[width]
    seen = draw_seen_art(cp, src, body, width, many_above)
    teeth_cx = None
    seen_form = None
    if len(body) == 1:
        seen_form = SEEN_BODIES.get(outline_font(src).getGlyphName(body[0][0]))
    if seen is not None:
        g = seen
        if seen_form in ("isolated", "final"):
            teeth_cx = teeth_centre(g)
    if width == NARROW_WIDTHS[0] and many_above and seen_form in ("initial", "medial"):
        # At 10 the font puts sheen's dots over its first two teeth, under the damma's tail
        # (drawn at the cell's left edge), which then touched the top dot: over the middle of
        # the three teeth, all three rows high (the first one's taller head would touch the
        # dots), the damma's ring keeps two blank rows over it.
        g.erase(0, MANY_DOTS_BODY_ROW, width - 1, MANY_DOTS_BODY_ROW)
        teeth_cx = teeth_middle(g)
    heh = draw_heh_art(src, body, width)
    if heh is not None:
        g = heh
    if (width, cp) in HEH_ISOLATED_ART:
        g = Glyph(width).draw_art(HEH_ISOLATED_ART[width, cp], 0, HEH_ISOLATED_TOP_ROW)
    yeh = draw_yeh_art(src, body, dot_groups, width)
    if yeh is not None:
        g = yeh
    keheh = draw_keheh_art(src, body, width, many_above or font_kaf)
    if keheh is not None:
        g = keheh
    if left or right:
        extend_joins(g, left, right)
    name = char_name(cp).split()
    if width == NARROW_WIDTHS[0] and ("FEH" in name or "QAF" in name) and not has_hole(g):
        open_loop(g)
    if REH_FAMILY & set(name) and "SMALL" not in name:
        thicken_neck(g)
        if width in REH_HEAD_IN_LINE and not any(d[3] > 0 for d in dot_groups):
            straighten_head(g)
        if width in REH_EVEN_STROKE:
            even_stroke(g)
    if right and not left or not (left or right):
        if BEH_FAMILY & set(name) and "MARBUTA" not in name:
            lower_tip(g)
    if kaf_mark is not None:
        draw_kaf_mark(g)
    g.hamza_row = None
    for _, hx, hy in hamzas:
        h_cx, h_bottom, h_top = hamza_bounds(src)
        below = hy + h_top < 0
        cx = (hx + h_cx) * px_w / 1000.0 + dx
        font_row = int(round(-(hy + h_bottom) * px_h / 1000.0 + dy))
        if yeh is not None and not below:
            # Over the drawn final yeh the font's place, up at the bowl's free end, made ـئ
            # half a final ain: the hamza stands over the middle of the letter, a blank row
            # over the joining stroke.
            inked = [c for c in range(width) if any(g.get(c, r) for r in range(ROWS))]
            cx, font_row = (inked[0] + inked[-1] + 1) / 2.0, ROWS
        c0, r0 = place_hamza(g, cx, font_row, lo, hi, below)
        if not below and hamza_row is None:
            r0 = min(r0, common_hamza_rows(cp)[width])
        draw_hamza(g, c0, r0)
        g.hamza_row = r0
    ink = {(c, r) for r in range(ROWS) for c in range(width) if g.get(c, r)}
    if hints is None and dot_groups:
        hints = common_dot_rows(cp, len(dot_groups))[width]
        if cp in SAD_DRAWN.get(width, ()) or bowl_cx is not None:
            # the drawn loop is lower than the font's: its dot keeps one blank row over it
            hints = [None] * len(dot_groups)
        if yeh is not None:
            hints = [YEH_DOTS_ROW] * len(dot_groups)
    placed = []
    for i, (arrangement, ux, uy_top, uy_bottom) in enumerate(dot_groups):
        cx = ux * px_w / 1000.0 + dx
        top = -uy_top * px_h / 1000.0 + dy
        bottom = -uy_bottom * px_h / 1000.0 + dy
        where = "above" if uy_bottom > 0 else "below" if uy_top < 300 else "inside"
        if teeth_cx is not None and where != "inside":
            # the dots of sheen stand over the drawn teeth and a dot below under them,
            # wherever the font has them
            cx = teeth_cx
        if bowl_cx is not None and where == "above":
            cx = bowl_cx  # dad's dot stands over the middle of the drawn bowl
        if marbuta_final and where == "above":
            _, (gw, _) = marks.group_squares(arrangement, width, False)
            cx = max(cx, MARBUTA_FINAL_DOTS_FROM_COLUMN + gw / 2.0)
        row = place_dots(g, ink, arrangement, cx, top, bottom, where, hints[i],
                         "FEH" in name and width in FEH_DOT_OVER_LOOP)
        placed.append((where, row))
        ink = {(c, r) for r in range(ROWS) for c in range(width) if g.get(c, r)}
    g.source = src.key
    g.dot_rows = placed
    return g


# --------------------------------------------------------------------------------------------
# Joining strokes, tails and loops


def extend_connectors(glyph, left, right):
    """Carries the connecting stroke to the joining edges on the connector rows."""
    for r in CONNECTOR_ROWS:
        inked = [c for c in range(glyph.width) if glyph.get(c, r)]
        if not inked:
            near = [c for rr in (r - 1, r + 1) for c in range(glyph.width) if glyph.get(c, rr)]
            inked = near or [glyph.width // 2]
        if left:
            glyph.fill(0, r, min(inked), r)
        if right:
            glyph.fill(max(inked), r, glyph.width - 1, r)


def extend_joins(glyph, left, right):
    """Carries the joining stroke to the joining edges, two rows thick: from the edge inwards
    up to the first column where the letter's own stroke already fills both rows."""
    w = glyph.width
    top, bottom = JOIN_ROWS

    def full(c):
        return glyph.get(c, top) and glyph.get(c, bottom)

    def any_ink(c):
        return glyph.get(c, top) or glyph.get(c, bottom)

    for side, columns in ((left, range(w)), (right, range(w - 1, -1, -1))):
        if not side:
            continue
        columns = list(columns)
        reach = next((i for i, c in enumerate(columns) if full(c)), None)
        if reach is None or reach > w // 2:
            reach = next((i for i, c in enumerate(columns) if any_ink(c)), w // 2)
        for c in columns[:reach + 1]:
            glyph.fill(c, top, c, bottom)


# The lowest row of a letter's tail: a kasra or kasratan (rows 21 to 23) then still fits under
# it with a blank row, instead of landing on the tails of hah, ain, jeem and meem.
TAIL_END_ROW = 19
TAIL_FROM_ROW = ARABIC_BASE_ROW + 2


def shorten_tail(glyph):
    """Presses the part of a letter below the base line together until it ends on
    TAIL_END_ROW, merging rows: the tail keeps its shape, only shallower."""
    inked = [r for r in range(ROWS) if glyph.rows[r]]
    last = inked[-1]
    if last <= TAIL_END_ROW:
        return
    old = glyph.rows[:]
    for r in range(TAIL_FROM_ROW, ROWS):
        glyph.rows[r] = 0
    span = last - TAIL_FROM_ROW
    room = TAIL_END_ROW - TAIL_FROM_ROW
    for r in range(TAIL_FROM_ROW, last + 1):
        glyph.rows[TAIL_FROM_ROW + (r - TAIL_FROM_ROW) * room // span] |= old[r]


def press_ascender(shape, top, below):
    """Merges the rows of a shape above row `below` (relative to the pen) so that its ink
    starts on row `top`: a tall stem keeps its shape, only shorter."""
    y0 = shape.bbox()[1]
    if y0 >= top or below <= top:
        return shape
    span, room = below - y0, below - top
    dots = set()
    for x, y in shape.dots:
        if y < below:
            y = top + (y - y0) * room // span
        dots.add((x, y))
    return Shape(dots)


def has_hole(glyph):
    """Whether the ink encloses blank dots that the outside cannot reach."""
    outside = set()
    stack = [(c, r) for c in range(-1, glyph.width + 1) for r in (-1, ROWS)]
    while stack:
        c, r = stack.pop()
        if (c, r) in outside or not (-1 <= c <= glyph.width and -1 <= r <= ROWS):
            continue
        if glyph.get(c, r):
            continue
        outside.add((c, r))
        stack += [(c + 1, r), (c - 1, r), (c, r + 1), (c, r - 1)]
    blanks = sum(1 for r in range(ROWS) for c in range(glyph.width) if not glyph.get(c, r))
    return blanks > len([d for d in outside if 0 <= d[0] < glyph.width and 0 <= d[1] < ROWS])


# Reh and zain fall from a head two dots square; where the raster thins the stroke under it to
# one dot, the head prints as a dot of its own and ر reads as ز.
REH_FAMILY = {"REH", "ZAIN", "JEH"}


def thicken_neck(glyph):
    """Widens a one-dot row of a stroke between two rows two dots thick or more to two dots,
    toward the row under it."""
    for r in range(1, ROWS - 1):
        above, row, below = glyph.rows[r - 1], glyph.rows[r], glyph.rows[r + 1]
        if bin(row).count("1") != 1 or bin(above).count("1") < 2 or bin(below).count("1") < 2:
            continue
        c = row.bit_length() - 1
        if not (above >> c & 1 and below >> c & 1):
            continue
        if below >> (c + 1) & 1 and c + 1 < glyph.width:
            glyph.set(c + 1, r)
        elif below >> (c - 1) & 1 and c > 0:
            glyph.set(c - 1, r)


# At 10 and 13 dots reh's head is two dots square and the stroke under it steps a column to the
# right: the head then prints as a dot over the stroke and ر reads as ز (تراکنش as تزاکنش). In
# these widths the head of reh and of the reh variants without dots above stands in line with
# the stroke; zain and jeh keep the step, over which their dots stand.
REH_HEAD_IN_LINE = (10, 13)


# At 18 dots reh's stroke, three dots wide, narrowed to two on a row or two under the head: the
# head then stood over it as zain's dot does, and ر read as ز (رسید as زسید, ایرانی as ایزانی).
REH_EVEN_STROKE = (18,)


def even_stroke(glyph):
    """Widens a row of a stroke two dots wide between rows three dots wide to three, toward the
    row under it."""
    for r in range(1, JOIN_ROWS[0]):
        above, row, below = glyph.rows[r - 1], glyph.rows[r], glyph.rows[r + 1]
        if bin(row).count("1") != 2 or bin(above).count("1") != 3 or bin(below).count("1") != 3:
            continue
        c0, c1 = (row & -row).bit_length() - 1, row.bit_length() - 1
        if below >> (c1 + 1) & 1:
            glyph.set(c1 + 1, r)
        elif c0 > 0 and below >> (c0 - 1) & 1:
            glyph.set(c0 - 1, r)


def straighten_head(glyph):
    """Moves the top rows of a stroke a column right where the rows under them step a column
    right: the head then stands in line with the stroke it falls into."""
    inked = [r for r in range(ROWS) if glyph.rows[r]]
    top = inked[0]
    head = top
    while glyph.rows[head + 1] == glyph.rows[top]:
        head += 1
    if glyph.rows[head + 1] != glyph.rows[top] << 1:
        return
    for r in range(top, head + 1):
        glyph.rows[r] <<= 1


# The left end of final and isolated beh turns up; drawn as tall as the letter it is a stem two
# dots wide beside the dots of teh, and ـت reads as تا (its top and the two dots print as three
# squares in a row at 10).
BEH_FAMILY = {"BEH", "TEH", "THEH", "PEH", "TTEH", "TEHEH", "BEHEH", "BEEH", "TTEHEH"}
TIP_ROWS = 3  # rows the turned-up end rises over the joining stroke


def lower_tip(glyph):
    """Cuts the turned-up left end of a final or isolated beh to TIP_ROWS over the stroke."""
    ink = [c for c in range(glyph.width) if glyph.column_value(c)]
    if not ink:
        return
    c0 = ink[0]
    stem = [c for c in (c0, c0 + 1) if all(glyph.get(c, r) for r in range(JOIN_ROWS[0] - TIP_ROWS,
                                                                             JOIN_ROWS[0]))]
    for c in stem:
        glyph.erase(c, 0, c, JOIN_ROWS[0] - TIP_ROWS - 1)


def open_loop(glyph):
    """Hollows a loop that the raster filled in (feh and qaf at 10 dots, whose head then
    prints as a blot and ف reads as ن): rows of four or more dots above the joining stroke
    keep only their two ends."""
    solid = [glyph.rows[r] for r in range(ROWS)]
    for r in range(JOIN_ROWS[0] - 1, 1, -1):
        c = 0
        while c < glyph.width:
            if not solid[r] >> c & 1:
                c += 1
                continue
            end = c
            while end + 1 < glyph.width and solid[r] >> (end + 1) & 1:
                end += 1
            inner = range(c + 1, end)
            if end - c + 1 >= 4 and all(solid[r - 1] >> x & 1 for x in inner):
                glyph.erase(c + 1, r, end - 1, r)
            c = end + 1


# --------------------------------------------------------------------------------------------
# Dot groups on the letters


def clear_of(glyph, ink, c0, r0, arrangement, stacked):
    """Whether a dot group with its top left corner at (c0, r0) stays inside the cell and keeps
    a blank dot all round from the ink."""
    dw, dh = marks.DOT_SIZE[glyph.width]
    squares, (gw, gh) = marks.group_squares(arrangement, glyph.width, stacked)
    if c0 < 1 or c0 + gw > glyph.width - 1 or r0 < 0 or r0 + gh > ROWS:
        return False
    for sc, sr in squares:
        for c in range(c0 + sc - 1, c0 + sc + dw + 1):
            for r in range(r0 + sr - 1, r0 + sr + dh + 1):
                if (c, r) in ink:
                    return False
    return True


# Feh's dot at 13 and 18 dots, next to the top of the loop it belongs over, found room on the
# loop's top rows two columns aside: beside the loop's head rather than over it, the medial ف
# read as ق (تلفن as تلقن, لطفا as لطقا). In these widths it moves up before it moves more than
# a column aside, and stands one blank row over the loop.
FEH_DOT_OVER_LOOP = (13, 18)

# How many rows below the outline font's own place a dot group above a letter may come down to
# sit one blank row over the ink under it: at 24 dots the font's place can leave two or more
# blank rows over a low bowl, and ض then prints as ص.
ABOVE_REACH = 4


def place_dots(glyph, ink, arrangement, cx, top, bottom, where, row=None, over=False):
    """Puts a dot group near where the outline font has it, as close to the letter as keeps a
    blank dot between them: above the letter it moves up, below it moves down, inside a bowl
    it looks round about; where the cell has no room it moves sideways or, for two dots,
    stacks them. As a last resort the blank ring is cut into the letter around the dots.
    A group `over` the letter moves at most a column sideways before it moves up."""
    for stacked in (False, True):
        if stacked and arrangement != "2h":
            break
        _, (gw, gh) = marks.group_squares(arrangement, glyph.width, stacked)
        c_want = int(round(cx - gw / 2.0))
        c_want = max(0, min(glyph.width - gw, c_want))
        if where == "above":
            start = int(round(bottom)) - gh + 1 + 2
            under = [r for r in range(ROWS) for c in range(c_want - 1, c_want + gw + 1)
                     if (c, r) in ink]
            if under and start < min(under) - 1 - gh <= start + ABOVE_REACH:
                start = min(under) - 1 - gh
            rows = range(start, -1, -1)
        elif where == "below":
            start = int(round(top)) - 2
            rows = range(start, ROWS - gh + 1)
        else:
            start = int(round((top + bottom) / 2.0 - gh / 2.0))
            rows = [start + d for d in (0, 1, -1)]
        if row is not None:
            away = 1 if where == "below" else -1
            rows = [row, row + away, row - away]
        for k, r0 in enumerate(rows):
            wide = row is not None and k < 3
            reach = (0, 1, -1, 2, -2, 3, -3, 4, -4) if wide else (0, 1, -1, 2, -2)
            if where == "above" and row is None and over:
                reach = (0, 1, -1)
            for dc in reach:
                if clear_of(glyph, ink, c_want + dc, r0, arrangement, stacked):
                    marks.draw_group(glyph, arrangement, c_want + dc, r0, stacked)
                    return r0
    _, (gw, gh) = marks.group_squares(arrangement, glyph.width)
    c0 = max(0, min(glyph.width - gw, int(round(cx - gw / 2.0))))
    r0 = max(0, min(ROWS - gh, int(round((top + bottom) / 2.0 - gh / 2.0))))
    if row is not None:
        r0 = row
    dw, dh = marks.DOT_SIZE[glyph.width]
    squares, _ = marks.group_squares(arrangement, glyph.width)
    for sc, sr in squares:
        glyph.erase(c0 + sc - 1, r0 + sr - 1, c0 + sc + dw, r0 + sr + dh)
    marks.draw_group(glyph, arrangement, c0, r0)
    return r0


# Rows of each letter's dot groups in the three narrow fonts: each font puts a group as close
# to its own letter as keeps a blank dot (a group at the row furthest from the letter among the
# three fonts left two blank rows over a low bowl at 10 dots, and ض printed as ص), as long as a
# line mixing widths keeps its rows: 13 and 18 on the same row, 10 within one of them.
_DOT_ROWS = {}


def common_dot_rows(cp, groups):
    if cp not in _DOT_ROWS:
        free = {w: draw_joined(cp, w, hints=[None] * groups, hamza_row=-1).dot_rows
                for w in NARROW_WIDTHS}
        rows = {w: [] for w in NARROW_WIDTHS}
        for i in range(groups):
            where = free[10][i][0]
            far = max if where == "below" else min
            f10, f13, f18 = (free[w][i][1] for w in NARROW_WIDTHS)
            if where == "inside":
                f13 = f18 = f10
            if f13 != f18:
                f13 = f18 = far(f13, f18)
            if abs(f10 - f13) > 1:
                f10 = f13 = f18 = far(f10, f13, f18)
            for w, r in zip(NARROW_WIDTHS, (f10, f13, f18)):
                rows[w].append(r)
        _DOT_ROWS[cp] = rows
    return _DOT_ROWS[cp]


# --------------------------------------------------------------------------------------------
# Marks


# Marks rendered from the font are no more than this many rows high, so that over a tall letter
# (ink from row 4) a mark at the top edge keeps a blank row. (The damma drawn in marks.py drops
# its tail under row 2 at the cell's left edge, where few tall letters reach.)
MARK_ROWS = 3


def draw_mark(cp, width):
    """A mark drawn at the edge of the cell on its own side of the letter, rendered at most three
    rows high: the composition moves it from there toward the previous character."""
    g = Glyph(width)
    if marks.haraka_art(cp, width):
        g.source = "code"
        return marks.draw_haraka(g, cp)
    below = mark_is_below(cp)
    src = source_of(cp)
    px_w, px_h, bold = ARABIC_SIZE[width]
    px_w *= 1.5
    shape = render(src, cp, px_w, px_h, bold)
    for _ in range(80):
        w, h = shape.size()
        if h <= MARK_ROWS and w <= width:
            break
        if h > MARK_ROWS:
            px_h *= 0.96
        if w > width:
            px_w *= 0.96
        shape = render(src, cp, px_w, px_h, bold)
    x0, y0, x1, y1 = shape.bbox()
    dx = (width - (x1 - x0 + 1)) // 2 - x0
    dy = (ROWS - 1 - y1) if below else (0 - y0)
    shape.place(g, dx, dy)
    g.source = src.key
    return g


def draw_tatweel_with_mark(cp, width):
    """U+FE71: a tatweel (joining on both sides, two rows like every joining stroke) carrying
    fathatan at the top edge, as the other marks above are drawn."""
    g = Glyph(width)
    for r in JOIN_ROWS:
        g.fill(0, r, width - 1, r)
    marks.draw_haraka(g, 0x064B)
    g.source = "code"
    return g


# --------------------------------------------------------------------------------------------
# Lam-alef carrying madda or hamza


# U+FEF5-FEF8: (the plain lam-alef form they are drawn on, the mark over its alef).
LAM_ALEF_WITH_MARK = {0xFEF5: (0xFEFB, 0x0653), 0xFEF6: (0xFEFC, 0x0653),
                      0xFEF7: (0xFEFB, 0x0654), 0xFEF8: (0xFEFC, 0x0654)}


def draw_lam_alef_with_mark(cp, width):
    """The plain lam-alef ligature, one joined shape at its full height, with the mark as the
    marks font draws it (madda, hamza) over the head of the alef, the stroke on the left, one
    blank row above the highest ink beneath it (the top of the lam where the mark reaches over
    it). The alef's head stands a row below the lam's, so the mark needs no part of either: with
    both stems pressed three rows shorter to leave a haraka room over the mark, the ligature
    stood nine rows high against twelve for the letters beside it and read as ه."""
    base, mark_cp = LAM_ALEF_WITH_MARK[cp]
    g = draw_joined(base, width)
    mark = draw_mark(mark_cp, width)
    ink = [(c, r) for r in range(ROWS) for c in range(width) if g.get(c, r)]
    head = min(r for c, r in ink if c < width // 2)
    head_cols = [c for c, r in ink if r == head and c < width // 2]
    dots = [(c, r) for r in range(ROWS) for c in range(width) if mark.get(c, r)]
    mc0, mc1 = min(c for c, _ in dots), max(c for c, _ in dots)
    mr1 = max(r for _, r in dots)
    centre = (min(head_cols) + max(head_cols)) // 2
    dx = max(-mc0, min(width - 1 - mc1, centre - (mc0 + mc1) // 2))
    under = [r for c, r in ink if mc0 + dx - 1 <= c <= mc1 + dx + 1]
    dy = max(0, min(under) - 2 - mr1)
    for c, r in dots:
        g.set(c + dx, r + dy)
    g.source = "code"
    return g


# --------------------------------------------------------------------------------------------
# Seen and sheen at 10, 13 and 18 dots


# The isolated and final seen and sheen: the font's three teeth and its bowl squeezed into the
# cell at 10 and 13 dots print with two teeth joined at the top into a small loop (ر.س reads as
# ر.ص, and ش as a dad with three dots) or, under sheen's dots, as one blot; at 18 its teeth come
# out uneven. Drawn instead as in type, the bowl the larger part: three short teeth, three rows
# high, one blank column apart (three at 18) on one base stroke, and under them on the free side
# a round bowl two dots thick going four rows under the base line, its free end rising open a
# row or two over the stroke, well apart from the first tooth. Teeth four rows high over a bowl
# seven columns wide read as the Cyrillic sha (ر.س). At 13 the teeth are one dot wide, as at 10,
# so that the bowl has seven columns beside them within the twelve that the encoder allows a
# word-final seen taken from 13 into a line at 10 (eleven for the isolated form, which keeps a
# trailing blank); at 10 the bowl swells on under the teeth.
# The dots of sheen stand over the teeth and a dot below under them, wherever the font has them
# (over the bowl, at 13). The initial and medial forms keep the
# font's teeth at 13, which stand apart; at 10 and 18 they are drawn too. Sheen is the same
# drawing with teeth a row shorter where they are taller than three rows, so that its three dots
# keep a blank row over the teeth and a haraka keeps its blank row over them (MANY_DOTS_BODY_ROW);
# the short teeth of the isolated and final forms start low enough as they are, and the first
# two rows of their drawing are blank.
SEEN_ART = {
    10: {
        "isolated": [
            "..........",
            "..........",
            ".....#.#.#",
            ".....#.#.#",
            "##...#.#.#",
            ".##..#####",
            ".##..####.",
            ".##....##.",
            "..##..##..",
            "..######..",
            "...####...",
        ],
        "final": [
            "..........",
            "..........",
            ".....#.#.#",
            ".....#.#.#",
            "##...#.#.#",
            ".##..#####",
            ".##..#####",
            ".##....##.",
            "..##..##..",
            "..######..",
            "...####...",
        ],
        # The font's initial form curls the head of its first tooth over the middle one, and
        # the two touch at a corner; drawn without the curl.
        "initial": [
            ".......#..",
            ".#..##.#..",
            ".##.##.##.",
            ".##.##.##.",
            ".##.##.##.",
            "########..",
            "########..",
        ],
    },
    13: {
        "isolated": [
            ".............",
            ".............",
            ".......#.#.#.",
            ".......#.#.#.",
            ".##....#.#.#.",
            ".##...######.",
            ".##...######.",
            ".##...##.....",
            ".###.###.....",
            "..######.....",
            "...####......",
        ],
        "final": [
            ".............",
            ".............",
            "........#.#.#",
            "........#.#.#",
            ".##.....#.#.#",
            ".##....######",
            ".##....######",
            ".##....##....",
            ".###..###....",
            "..#######....",
            "...#####.....",
        ],
    },
    18: {
        "isolated": [
            "..................",
            "..................",
            ".......##..##..##.",
            ".##....##..##..##.",
            ".##....##..##..##.",
            ".##....#########..",
            ".##....#########..",
            ".##....##.........",
            ".##...##..........",
            "..######..........",
            "...####...........",
        ],
        "final": [
            "..................",
            "..................",
            "........##..##..##",
            ".##.....##..##..##",
            ".##.....##..##..##",
            ".##.....##########",
            ".##.....##########",
            ".##.....##........",
            ".##....##.........",
            "..#######.........",
            "...#####..........",
        ],
        # At 18 the font's initial and medial teeth come out uneven, the first fat and the
        # others narrowing to one dot at the top; drawn as three teeth two columns wide and
        # three apart on the base stroke, four rows high from row 10 (the drawing's first row
        # stays blank), so that sheen's teeth, a row shorter, start on row 11 with a blank row
        # over them under its dots (rows 5-9, as at 13).
        "initial": [
            "..................",
            ".....##...##...##.",
            ".....##...##...##.",
            ".....##...##...##.",
            ".....##...##...##.",
            "#################.",
            "#################.",
        ],
        "medial": [
            "..................",
            "...##...##...##...",
            "...##...##...##...",
            "...##...##...##...",
            "...##...##...##...",
            "##################",
            "##################",
        ],
    },
}
SEEN_TOP_ROW = ARABIC_BASE_ROW - 6
# The outline font's bodies of seen, by form; the letters drawn on them alone (seen, sheen and
# the seen with other dots) get the drawing.
SEEN_BODIES = {"uni0633": "isolated", "uni0633.fina": "final", "uni0633.init": "initial",
               "uni0633.medi": "medial"}
# U+069B and U+069C keep the font's drawing: at 10 their three dots below have no room between
# the drawn bowl and the cell edge and would be cut into the base stroke, and the three fonts
# put a letter's dots on common rows.
SEEN_KEEPS_FONT = {0x069B, 0x069C}


def teeth_centre(glyph):
    """The middle of the drawn teeth of the isolated or final seen: of the columns inked on
    its top row."""
    top = next(r for r in range(ROWS) if glyph.rows[r])
    inked = [c for c in range(glyph.width) if glyph.get(c, top)]
    return (inked[0] + inked[-1] + 1) / 2.0


def teeth_middle(glyph):
    """The middle of the teeth of the initial or medial seen: of the columns inked on the
    row over the joining stroke."""
    row = JOIN_ROWS[0] - 1
    inked = [c for c in range(glyph.width) if glyph.get(c, row)]
    return (inked[0] + inked[-1] + 1) / 2.0


def draw_seen_art(cp, src, body, width, many_above):
    """The drawn form of seen of width for a letter whose body is seen's alone, with
    sheen's shorter teeth when it carries three or four dots above; None for every other letter
    and width."""
    if width not in SEEN_ART or len(body) != 1 or cp in SEEN_KEEPS_FONT:
        return None
    form = SEEN_BODIES.get(outline_font(src).getGlyphName(body[0][0]))
    if form not in SEEN_ART[width]:
        return None
    art = SEEN_ART[width][form]
    top = SEEN_TOP_ROW
    if many_above:
        art = art[:1] + art[2:]
        top += 1
    return Glyph(width).draw_art(art, 0, top)


# --------------------------------------------------------------------------------------------
# Heh at 18 dots


# The initial and medial heh at 18 dots: the font's strokes, emboldened to weigh as the other
# letters, fill the counters of the initial form but for three dots, and ها prints as a blot
# beside the alef. Drawn instead with strokes two dots thick round open counters: the initial
# form as the font shapes it, a round counter on the left under its top and a small one on the
# right under the shoulder that slopes down to the base line, parted by a stroke falling to the
# left; the medial form as two loops one over the other on the joining stroke, each round a
# counter three columns wide. Both keep the font's rows, so marks fit over them as before.
HEH_ART = {
    # At 10 and 13 the font's initial form prints as a solid triangle with a counter of one
    # dot, and its medial form with one-dot walls that fill in. Drawn as at 18: the initial form
    # a counter of five dots or more on the left and one of six under the shoulder, parted by a
    # stroke two dots thick falling to the left; the medial form two loops round counters two
    # columns wide (three at 13).
    10: {
        "uni0647.init": (7, [
            "..####....",
            ".######...",
            ".##..##...",
            ".##..###..",
            ".##.##.##.",
            "..###..##.",
            "..##...##.",
            "#########.",
            "#########.",
        ]),
        "uni0647.medi": (9, [
            "...####...",
            "..######..",
            "..##..##..",
            "..##..##..",
            "..######..",
            "##########",
            "##########",
            "..##..##..",
            "..##..##..",
            "..######..",
            "...####...",
        ]),
    },
    13: {
        "uni0647.init": (7, [
            "...####......",
            "..######.....",
            ".##...###....",
            ".##....###...",
            ".##...##.##..",
            "..##.##...##.",
            "...###....##.",
            "############.",
            "############.",
        ]),
        "uni0647.medi": (9, [
            "....#####....",
            "...#######...",
            "...##...##...",
            "...##...##...",
            "...#######...",
            "#############",
            "#############",
            "...##...##...",
            "...##...##...",
            "...#######...",
            "....#####....",
        ]),
    },
    18: {
        "uni0647.init": (7, [
            "........####......",
            ".......######.....",
            "......##....##....",
            "......##....###...",
            "......##...##.##..",
            ".......##.##...##.",
            "........###....##.",
            "#################.",
            "#################.",
        ]),
        "uni0647.medi": (9, [
            "......#####.......",
            ".....#######......",
            ".....##...##......",
            ".....##...##......",
            ".....#######......",
            "##################",
            "##################",
            ".....##...##......",
            ".....##...##......",
            ".....#######......",
            "......#####.......",
        ]),
    },
}


def draw_heh_art(src, body, width):
    """The drawn initial or medial heh of width for a letter whose body is heh's alone; None for
    every other letter and width."""
    if len(body) != 1:
        return None
    drawn = HEH_ART.get(width, {}).get(outline_font(src).getGlyphName(body[0][0]))
    if drawn is None:
        return None
    top, art = drawn
    return Glyph(width).draw_art(art, 0, top)


# The isolated heh at 10 and 13 dots: the font's printed as a plain ring, beside the digits the
# shape of ٥ (and of ٠ grown). Drawn as the flattened heart of Naskh: the ring with the stroke
# that enters it at the top falling inside to close a small counter on the upper left, over the
# large one. At 13, U+0647 is a row taller than U+FEE9, as the two are at 18 (two rows there),
# so that each keeps its top within a row of the 18-dot one: the taller U+FEE9 left a shadda
# and a vowel less room over it.
HEH_ISOLATED_10 = [
    "..........",
    "..........",
    "..#####...",
    ".##.#.##..",
    ".####..##.",
    ".##.....#.",
    ".##.....#.",
    ".##....##.",
    "..######..",
]
HEH_ISOLATED_13 = [
    ".............",
    ".............",
    "....#####....",
    "...##.#.##...",
    "..##..#..##..",
    "..#####...#..",
    "..##......#..",
    "..##.....##..",
    "...#######...",
]
HEH_ISOLATED_13_TALL = [
    ".............",
    "....####.....",
    "...##.#.##...",
    "..##..#..##..",
    "..#####...#..",
    "..##......##.",
    "..##......##.",
    "..##.....##..",
    "...#######...",
]
HEH_ISOLATED_18 = [
    "..................",
    "..................",
    "......######......",
    ".....##.##.##.....",
    "....##..##..##....",
    "....######...##...",
    "....##.......##...",
    "....###.....###...",
    ".....#########....",
]
HEH_ISOLATED_18_TALL = [
    "......######......",
    ".....##.##.##.....",
    "....##..##..##....",
    "....######...##...",
    "....##.......##...",
    "....##.......##...",
    "....##.......##...",
    "....###.....###...",
    ".....#########....",
]
HEH_ISOLATED_ART = {(10, 0x0647): HEH_ISOLATED_10, (10, 0xFEE9): HEH_ISOLATED_10,
                    (13, 0x0647): HEH_ISOLATED_13_TALL, (13, 0xFEE9): HEH_ISOLATED_13}
HEH_ISOLATED_TOP_ROW = ARABIC_BASE_ROW - 8


# --------------------------------------------------------------------------------------------
# Final yeh and alef maksura


# The final yeh, alef maksura and Persian yeh: the font's bowl squeezed into the cell prints as
# a deep round U whose left tip rises over the base line, a noon without its dot (فی reads as
# فن), and a wide shallow bowl tipped up on the left read as noon ghunna or reh. Drawn as Naskh
# type draws it, the open S of Persian type, strokes two dots thick (three columns at 18): the
# joining stroke comes in from the right on the base line and turns down into a small head that
# bulges to the right, and the bowl sweeps down under the base line (ending on TAIL_END_ROW)
# and back up at the left to the joining row, open at the top (its tip leans out to the edge
# column over the joining row only, so that it does not join the next letter). A bowl that
# curled back to the right under the joining stroke, its tip turned up under it, read as yeh
# barree ے (بانکی, ایرانی), and at 10 closed into a small loop. The isolated form keeps the
# font's S: drawn as the same open bowl under a head, مشتری read as مش ۳. At 18 the head's
# turns overlap the strokes they join by two dots: a bowl broken at a corner left its tip
# hanging on its own (ـيے).
YEH_ART = {
    10: [
        "##.....###",
        ".##...####",
        ".##..##...",
        ".##...##..",
        "..###.##..",
        "...####...",
    ],
    13: [
        "##.......####",
        ".##.....#####",
        ".##....##....",
        ".##.....##...",
        "..###...##...",
        "...######....",
    ],
    18: [
        "###..........#####",
        ".###........######",
        ".###.......####...",
        ".###........###...",
        "..####......###...",
        "...##########.....",
    ],
}
YEH_TOP_ROW = ARABIC_BASE_ROW - 1
# Yeh's two dots hang on these rows in the three fonts, as under the font's bowl: at 10 the
# flatter drawn bowl would draw them a row higher than at 13 and 18.
YEH_DOTS_ROW = TAIL_END_ROW + 2
YEH_FINAL_BODY = "uni0649.fina"


def draw_yeh_art(src, body, dot_groups, width):
    """The drawn final yeh of width for a letter whose body is the final yeh's alone, with no
    dots or yeh's two dots below; None for every other letter (two dots one over the other or
    three below have no room under the drawn bowl)."""
    if len(body) != 1 or outline_font(src).getGlyphName(body[0][0]) != YEH_FINAL_BODY:
        return None
    if any(d[0] != "2h" for d in dot_groups):
        return None
    return Glyph(width).draw_art(YEH_ART[width], 0, YEH_TOP_ROW)


# --------------------------------------------------------------------------------------------
# Final keheh at 10 and 13 dots


# The final keheh at 10 and 13 dots: the font's head and stroke thin to one dot in the cell, and
# the letter prints as a smudge on the base stroke (سنگک, یک end in no distinct letter). Drawn as
# the font shapes it, with strokes two dots thick: the head slanting down to the left from the
# top of the cell and the stroke turning back down to the right onto the base stroke, which runs
# on to the left and ends turned up. The medial form, a single slanted stroke on the base
# stroke, keeps the font's drawing; gaf is drawn on this one (draw_gaf).
KEHEH_FINAL_ART = {
    10: [
        "........##",
        ".......###",
        "......###.",
        ".....###..",
        "....###...",
        "....##....",
        ".##.###...",
        ".##..###..",
        ".##...###.",
        ".##....##.",
        ".#########",
        "..########",
    ],
    13: [
        "..........###",
        ".........###.",
        "........###..",
        ".......###...",
        "......###....",
        "......##.....",
        ".##...###....",
        ".##....###...",
        ".##.....###..",
        ".##......##..",
        ".############",
        "..###########",
    ],
}
KEHEH_TOP_ROW = ARABIC_BASE_ROW - 11
KEHEH_FINAL_BODY = "uni06A9.fina"


# The initial and medial kaf and keheh at 13 dots: the font's head came out as a bar three rows
# thick, four dots a row, stepping two columns a row into a blunt corner, and ک read as گ (کم as
# گم, کد as کگد). Drawn as the final form is: the head a stroke three dots wide stepping a column
# a row down to the left from row 4, turning at its left end and running back down to the right
# onto the base stroke. (Gaf keeps the font's head.)
KEHEH_JOINED_ART = {
    13: {
        "uni0643.init": [
            ".........###.",
            "........###..",
            ".......###...",
            "......###....",
            ".....###.....",
            ".....##......",
            ".....###.....",
            "......###....",
            ".......###...",
            "........##...",
            "##########...",
            "#########....",
        ],
        "uni0643.medi": [
            "........###..",
            ".......###...",
            "......###....",
            ".....###.....",
            "....###......",
            "....##.......",
            "....###......",
            ".....###.....",
            "......###....",
            ".......##....",
            "#############",
            "#############",
        ],
    },
}


def draw_keheh_art(src, body, width, many_above=False):
    """The drawn final keheh of width for a letter whose body is the final keheh's alone, or the
    drawn initial or medial kaf (not under three dots, which need the pressed body); None for
    every other letter and width."""
    if len(body) != 1:
        return None
    name = outline_font(src).getGlyphName(body[0][0])
    if name in KEHEH_JOINED_ART.get(width, {}) and not many_above:
        return Glyph(width).draw_art(KEHEH_JOINED_ART[width][name], 0, KEHEH_TOP_ROW)
    if width not in KEHEH_FINAL_ART or name != KEHEH_FINAL_BODY:
        return None
    return Glyph(width).draw_art(KEHEH_FINAL_ART[width], 0, KEHEH_TOP_ROW)


# --------------------------------------------------------------------------------------------
# The stroke inside kaf


# The isolated and final kaf: the font's small stroke inside the letter comes out at 13 and 18
# dots as a squiggle three columns wide of one-dot strokes, and الملك ends in a bare bowl. Drawn
# as type draws it, a small hamza, its head open to the right and its tail going left under it,
# with strokes two dots thick, as wide as the room between the stem and the turned-up end leaves
# with a blank column on each side, and ending two blank rows over the base stroke. (At 10 the
# room is two columns, which the font's fills.)
KAF_MARK_ART = {
    13: (6, [
        ".####",
        ".##..",
        ".##.#",
        "..###",
        "####.",
        "##...",
    ]),
    18: (5, [
        "..#####",
        ".###...",
        ".##....",
        ".###.##",
        "..#####",
        "######.",
        "###....",
    ]),
}
KAF_MARK_GLYPH = "miniKehehar"


def kaf_mark_of(src, body, dot_groups, width):
    """The glyph id of the small stroke inside the isolated or final kaf, for a letter whose
    body is kaf's with that stroke and no dots; None for every other letter."""
    font = outline_font(src)
    names = [font.getGlyphName(b[0]) for b in body]
    if width not in KAF_MARK_ART or dot_groups or len(body) != 2 or KAF_MARK_GLYPH not in names:
        return None
    return font.getGlyphID(KAF_MARK_GLYPH)


def draw_kaf_mark(glyph):
    """Draws the stroke inside kaf midway between its stem and its turned-up end."""
    top, art = KAF_MARK_ART[glyph.width]
    stem = min(c for c in range(glyph.width) if glyph.get(c, top))
    row = top + len(art) - 1  # the turned-up end: the first run of ink from the left there
    tip = min(c for c in range(glyph.width) if glyph.get(c, row))
    while glyph.get(tip + 1, row):
        tip += 1
    room = stem - tip - 3
    c0 = tip + 2 + (room - len(art[0]) + 1) // 2
    ink = {(c, r) for r in range(ROWS) for c in range(glyph.width) if glyph.get(c, r)}
    mark = {(c0 + c, top + r) for r, line in enumerate(art) for c, dot in enumerate(line)
            if dot == "#"}
    if any((c + dc, r + dr) in ink for c, r in mark for dc in (-1, 0, 1) for dr in (-1, 0, 1)):
        raise SystemExit("fontgen: the stroke inside kaf touches the letter at %d dots"
                         % glyph.width)
    glyph.draw_art(art, c0, top)


# --------------------------------------------------------------------------------------------
# Sad and dad at 10 and 13 dots


# The isolated and final sad and dad at 10 dots: the font's loop, tooth and tail squeezed into
# eight columns print as a knot of three one-dot walls. Drawn instead as a tooth, a loop beside it
# standing on the base line with a bottom two rows thick, and the tail curving under the base line
# (to end on TAIL_END_ROW at 13, a row higher at 10). The loop is round at the top (at 13 flat,
# four dots across over a counter four columns by three, where a round top three dots across over
# a counter of one or two dots read as the head of feh, الرياض as ending in ڧ) and falls to the
# left to the tooth, which rises a blank column apart from it and stands lower than the
# loop (a tooth standing over the loop made a straight stem of it, and the loop a square box):
# at 13 two rows over the base stroke with the loop six columns wide, at 10 one row with the loop
# five. The tail goes down from the tooth and sweeps round and up to the left, its tip leaning
# out, two dots thick where it rises (one dot thick, it printed as a thin diagonal); at 10 it swells under the tooth and the loop and its tip leans into the free edge column
# (blank only on the joining row), so that it is six columns across: in four, after an alef,
# الرياض ended in a squeezed knot. The dots are placed on the drawing as on any letter: a dot above keeps one blank row over
# the loop, which at 10 starts on row 11, so that a shadda and a vowel still fit over ض.
SAD_ART = {
    10: [
        "..........",
        "..........",
        "......###.",
        ".....##.##",
        "##.#.#...#",
        "##.#######",
        ".#.######.",
        ".##..##...",
        "..#####...",
        "...###....",
    ],
    13: [
        ".............",
        ".......####..",
        "......#....#.",
        "....#.#....#.",
        "##..#.#....#.",
        "##..########.",
        ".##.########.",
        ".##.#........",
        ".##.#........",
        "..###........",
        "..##.........",
    ],
}
SAD_TOP_ROW = ARABIC_BASE_ROW - 6


# The initial and medial sad and dad at 10 and 13 dots: the font's bowl came out small, narrow
# and slanted at the top, with the tooth after it as tall as the bowl, so that ضريبة read as
# فريبة. Drawn instead as type draws them, a flat oval lying on the base line, clearly wider than
# high (six columns by five rows at 10, nine by six at 13, the bottom on the two joining rows),
# and a blank column apart from it a small tooth (two rows over the joining stroke at 10, one at
# 13), lower than the bowl's top; the medial form takes the joining stroke on to the right edge.
# Dad's dot stands over the bowl with a blank row under it, its group centred on SAD_JOINED_BOWL_CX: at 13 over
# the middle of the top, at 10 half a column left of it (centred, the machine reader took the
# bowl with its dot for the head of ghain, ضريبة for غريبة). The bowl starts on row 11 at 10
# and on row 10 at 13, as at 18 within a row, so that a line mixing widths keeps one height.
SAD_JOINED = {0xFEBB, 0xFEBC, 0xFEBF, 0xFEC0}
SAD_JOINED_ART = {
    10: [
        "..........",
        "..........",
        "....####..",
        ".#.#....#.",
        ".#.#....#.",
        "#########.",
        "#########.",
    ],
    13: [
        ".............",
        ".....######..",
        "....#......#.",
        "...#.......#.",
        ".#.#.......#.",
        "##.#########.",
        "############.",
    ],
}
SAD_JOINED_TOP_ROW = ARABIC_BASE_ROW - 6
SAD_JOINED_BOWL_CX = {10: 5.0, 13: 8.0}


# Sad, dad and their forms with dots, isolated and final; U+08AF keeps the font's drawing, as
# its three dots below have no room between the loop and the tail.
SAD_BOWLS = {0x0635, 0x0636, 0x069D, 0x069E, 0x06FB, 0xFEB9, 0xFEBA, 0xFEBD, 0xFEBE}
# At 13, U+069D keeps the font's drawing too: its two dots below would hang under the drawn
# tail, three rows lower than at 18.
SAD_DRAWN = {10: SAD_BOWLS, 13: SAD_BOWLS - {0x069D}}


# --------------------------------------------------------------------------------------------
# Gaf


# Gaf and its forms, drawn on keheh: the font's two top strokes of gaf come out at 10 and 13
# dots as one blob (گزارش reads as کزارش), so keheh's stroke is drawn once more above itself,
# two blank rows higher. Keheh's part over the joining stroke is first pressed GAF_LOWER rows
# shorter, so that the upper stroke keeps two blank rows over it: on the top row it crowded the
# line above. Three blank rows apart, the upper stroke floated off the letter like a fatha and
# the machine reader took گ for ک.
GAF_FROM_KEHEH = {0x06AF: 0x06A9, 0xFB92: 0xFB8E, 0xFB93: 0xFB8F, 0xFB94: 0xFB90, 0xFB95: 0xFB91}
GAF_STROKE_ROWS = 2
GAF_GAP_ROWS = 2
GAF_LOWER = 2


def draw_gaf(cp, width):
    # On the font's kaf: its head runs parallel to the stroke drawn again over it, and the two
    # read as gaf. Over the drawn head of 13 dots, steeper than the upper stroke, the upper
    # stroke read as a fatha over kaf.
    g = draw_joined(GAF_FROM_KEHEH[cp], width, font_kaf=True)
    top = next(r for r in range(ROWS) if g.rows[r])
    below = JOIN_ROWS[0]
    old = g.rows[:]
    for r in range(top, below):
        g.rows[r] = 0
    for r in range(top, below):
        g.rows[top + GAF_LOWER + (r - top) * (below - top - GAF_LOWER) // (below - top)] |= old[r]
    top += GAF_LOWER
    lift = GAF_STROKE_ROWS + GAF_GAP_ROWS
    for r in range(top, top + GAF_STROKE_ROWS):
        if r - lift >= 0:
            g.rows[r - lift] |= g.rows[r]
    return g


# --------------------------------------------------------------------------------------------
# Digits


# Arabic-Indic and Persian zero: the font's small dot prints as a speck that reads as a full
# stop, so "100.00" reads "1.. .."; and a diamond five dots across, beside the small drawn ٥,
# read as a second five. Drawn as a small solid diamond four dots across, a letter's dot and a
# half, on the digits' middle rows (9-12): well over the full stop on the base line and smaller
# than any other digit.
ZEROS = (0x0660, 0x06F0)
ZERO_DIAMOND = [".##.", "####", "####", ".##."]
ZERO_TOP_ROW = 9


# The Arabic comma: the font's turned comma comes out at this size as a blob of three dots that
# reads as a full stop; drawn as a comma turned over, its head on the base line and its tail
# rising to the right, with strokes two dots thick. Small, as type sets it: six rows high,
# nearly the height of hamza, the comma after a word read as hamza (سعيداً، as سعيداء); four
# rows high (five at 18), its top stands two rows or more under hamza's.
COMMA = 0x060C
COMMA_ART = {
    "narrow": ["..##", ".##.", "###.", "###."],
    "wide": ["...##", "..###", ".###.", "####.", "####."],
}


def draw_comma(width):
    return draw_centred(COMMA_ART, width, ARABIC_BASE_ROW)


def draw_centred(arts, width, base_row):
    """The narrow or wide drawing of arts centred across width, its last row on base_row."""
    art = arts["wide" if width >= 18 else "narrow"]
    g = Glyph(width)
    g.draw_art(art, (width - len(art[0])) // 2, base_row - len(art) + 1)
    g.source = "code"
    return g


# The hamza standing alone (U+0621, U+FE80): the font's comes out at this size as tall as the
# head and body of the initial ain, and ماء read as ماع. Drawn as type sets it, small, five rows
# against ain's seven, over the base line: a c open to the right, strokes two dots thick where
# they can be, whose foot runs on to the right and turns back under it to a tail going left. Its
# foot stands two rows over the base line, where the comma stands, and its top three rows (two
# at 18) over the comma's, so that the two small marks read apart; with its foot one row over the
# base line at 13, the machine reader took the meem of ماء for dad.
HAMZA_ALONE = (0x0621, 0xFE80)
HAMZA_ALONE_ART = {
    "narrow": ["..###.", ".##...", ".##.##", "..####", "####.."],
    "wide": ["...####.", "..###...", "..###.##", "...#####", "#####..."],
}
HAMZA_ALONE_BASE_ROW = ARABIC_BASE_ROW - 2


def draw_hamza_alone(width):
    return draw_centred(HAMZA_ALONE_ART, width, HAMZA_ALONE_BASE_ROW)


# The Arabic decimal separator: the font's mark at this size comes out nearly the shape and size
# of reh (١٢٥٫٥٠ read as ١٢٥ر٥٠), a slanted stroke as tall as half the digits standing on the
# base line read as a slash (١٢٥/٥٠), and a comma with a solid head on the base line read as a
# Latin comma. Drawn as type sets it, a short slanted stroke two dots thick sitting low across the
# base line, two rows over it and three under it (three and three at 18), with no head: it falls
# to the left, steeper than a slash, and well under the raised turned comma of the thousands
# separator.
DECIMAL_SEPARATOR = 0x066B
DECIMAL_SEPARATOR_ART = {
    "narrow": ["..##", "..##", ".##.", ".##.", "##..", "##.."],
    "wide": ["...##", "..###", "..##.", ".###.", ".##..", "###..", "##..."],
}
# The rows of the stroke under the digits' base row.
DECIMAL_SEPARATOR_ROWS_UNDER = 3


def draw_decimal_separator(width):
    art = DECIMAL_SEPARATOR_ART["wide" if width >= 18 else "narrow"]
    g = Glyph(width)
    top = DIGIT_BASE_ROW + DECIMAL_SEPARATOR_ROWS_UNDER - len(art) + 1
    g.draw_art(art, (width - len(art[0])) // 2, top)
    g.source = "code"
    return g


# The Arabic thousands separator: the font's small turned comma hangs from the top of the digits
# and comes out as a tick of two or three dots that a thermal head loses (۲۰۵٬۰۰۰ read as
# ۲۰۵۰۰۰), and drawn as large as the comma ، it stood as tall and heavy as a digit between
# them, and a tick of two by three dots was easy to miss at 10. Drawn where the font sets it,
# hanging from the digits' top row, as a small turned comma five rows high: a head three dots
# across (four at 18) at its foot and a stroke two dots thick rising from it and turning to the
# right. Against the low, heavier comma of the decimal separator, whose head is
# at its top and whose tail falls under the base line, it reads as the light raised mark
# between groups of three.
THOUSANDS_SEPARATOR = 0x066C
THOUSANDS_SEPARATOR_TOP_ROW = ARABIC_BASE_ROW - 11
THOUSANDS_SEPARATOR_ART = {
    "narrow": ["..##", ".##.", ".##.", "###.", "###."],
    "wide": ["...##", "..###", ".###.", "####.", "####."],
}


def draw_thousands_separator(width):
    art = THOUSANDS_SEPARATOR_ART["wide" if width >= 18 else "narrow"]
    g = Glyph(width)
    g.draw_art(art, (width - len(art[0])) // 2, THOUSANDS_SEPARATOR_TOP_ROW)
    g.source = "code"
    return g


# Digits drawn in code, standing on the digits' base row like the font's. Arabic-Indic and
# Persian one and three: the font's stems shrink to one dot where the hinting moves them a
# column over, and a thermal head fades that; drawn two dots thick throughout (three at 18).
# The one, drawn as a straight stem with a one-dot serif, stood as narrow and tall as alef and
# read as alef; drawn leaning as type sets it, its stem stepping a column right every three
# rows, so that its foot stands three columns right of its head, which the pen's start makes a
# dot wider on its top row (no foot, unlike a Latin 1, and no bar to the right, unlike a 7).
# Under a flag two dots wider on the left, ١٢٥ and ٠٢١ read as ٦٢٥ and ٠٢٦. The three is three open teeth standing on a bar two rows thick, the
# stem going down from its left end (at 13 and 18 the font's teeth closed two of them into a
# loop), its teeth two blank dots apart: one apart, it printed as a blot. At 10 a three with
# teeth two dots wide fills the cell and two threes in the font's cells ran into one comb, so
# there its middle and right teeth are one dot wide. The Arabic-Indic five at 10 and 13 (and 18,
# so that the three fonts keep its rows): the font's is a ring nearly the digits' height that next
# to ١ read as a Latin 10; drawn as in Arabic type, a teardrop with its point up, two rows shorter
# than the digits (a ring of seven or eight rows looked too small beside ١ and ٢), its sides two
# dots thick (three at 18), hollow and on the base row, apart from the smaller solid diamond of ٠
# over it.
# The Persian four at 10, 13 and 18: the font's came out as the three with one tooth bent, two
# or three dots apart from ۳, so ۳۴ in a price read as ۳۳, and a stem carrying two curves
# stacked beside it read as schematic; drawn as in type, the two's stem with its free head on
# the left and beside it, a blank column apart, a small curve open on the right whose top arm
# reaches out to the right and whose foot runs into the bar to a short tip turned up at its
# right end, so that its gaps run across where the three's run down between its teeth. The
# Arabic-Indic and Persian two at 10, 13 and 18: the font's second tooth came out one row high,
# and ٢ read as a one with a bent head; drawn as the three with two teeth, three rows high and
# apart by the width of the bar, on a bar whose underside rounds into the stem (at 18 the teeth
# four columns apart: nine apart, ١٢٥ read as ١٣٥). The three's teeth are as high as the two's,
# so that the two is not taken for a three with a tooth missing.
DIGIT_BASE_ROW = ARABIC_BASE_ROW
ONE_ART = {
    10: [".###..."] + ["..##..."] * 2 + ["...##.."] * 3 + ["....##."] * 3 + [".....##"] * 3,
    18: [".####..."] + ["..###..."] * 2 + ["...###.."] * 3 + ["....###."] * 3
    + [".....###"] * 3,
}
ONE_ART[13] = ONE_ART[10]
THREE_ART = {
    10: ["##..#..#", "##..#..#", "##..#..#", "########", "########", "##......"]
    + [".##....."] * 6,
    13: ["##..##..##", "##..##..##", "##..##..##", "##########", "##########", "##........"]
    + [".##......."] * 6,
    18: ["###..###..###", "###..###..###", "###..###..###", "#############", "#############",
         "###.........."] + [".###........."] * 6,
}
TWO_ART = {
    10: ["##....##", "##....##", "##...###", "########", ".######.", ".##....."]
    + ["..##...."] * 6,
    18: ["###....###", "###....###", "###...####", "##########", ".########.", ".###......"]
    + ["..###....."] * 6,
}
TWO_ART[13] = TWO_ART[10]
FOUR_ART = {
    10: ["##..####", "##.##...", "##.##...", "##..##.#", "########", ".######.", ".##....."]
    + ["..##...."] * 5,
    18: ["###...######", "###..###....", "###..###....", "###...###.##", "############",
         ".##########.", ".###........"] + ["..###......."] * 5,
}
FOUR_ART[13] = FOUR_ART[10]
FIVE_ART = {
    10: ["...##...", "..####..", ".##..##.", ".##..##.", "##....##", "##....##", "##....##",
         "###..###", ".######.", "..####.."],
    18: ["....###....", "...#####...", "..###.###..", ".###...###.", "###.....###", "###.....###",
         "###.....###", "####...####", ".#########.", "..#######.."],
}
FIVE_ART[13] = FIVE_ART[10]
DRAWN_DIGITS = {
    0x0661: ONE_ART,
    0x06F1: ONE_ART,
    0x0663: THREE_ART,
    0x06F3: THREE_ART,
    0x0662: TWO_ART,
    0x06F2: TWO_ART,
    0x06F4: FOUR_ART,
    0x0665: FIVE_ART,
}


def draw_digit(cp, width):
    art = DRAWN_DIGITS[cp][width]
    g = Glyph(width)
    g.draw_art(art, (width - len(art[0])) // 2, DIGIT_BASE_ROW - len(art) + 1)
    g.source = "code"
    return g


# The Arabic percent sign: the font's dots run into the ends of its slash (at 18 a blank dot
# apart, corner to corner), and at 10 ٪ read as a Z. Drawn as a slash two dots thick (three at
# 18) from the digits' top row to their base row, and beside each end a dot a row in from it,
# with two blank dots all round, so that the dots stand apart and not on the line of a Z's bars.
PERCENT = 0x066A
PERCENT_ART = {
    "narrow": ["......##.", "##....##.", "##...##..", ".....##..", "....##...", "....##...",
               "...##....", "...##....", "..##.....", "..##...##", ".##....##", ".##......"],
    "wide": [".......###..", "###....###..", "###...###...", "###...###...", ".....###....",
             ".....###....", "....###.....", "....###.....", "...###...###", "...###...###",
             "..###....###", "..###......."],
}


def draw_percent(width):
    return draw_centred(PERCENT_ART, width, DIGIT_BASE_ROW)


def draw_zero(width):
    g = Glyph(width)
    g.draw_art(ZERO_DIAMOND, (width - len(ZERO_DIAMOND[0])) // 2, ZERO_TOP_ROW)
    g.source = "code"
    return g


# --------------------------------------------------------------------------------------------
# Glyphs whose bytes are fixed by the composition's own tests: alef and fatha at 10 dots.


PINNED = {
    (10, 0x0627): [".........."] * 4 + ["....##...."] * 12 + [".........."] * 8,
    (10, 0x064E): ["....####..", "..####....", ] + [".........."] * 22,
}


def draw_pinned(width, cp):
    g = Glyph(width)
    g.draw_art(PINNED[(width, cp)])
    g.source = "code"
    return g

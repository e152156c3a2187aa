#!/usr/bin/python3
"""Generates the glyph tables of the four built-in fonts (fonts/glyphs_WWx24.cpp).

Run from anywhere:
    /usr/bin/python3 tools/fontgen/fontgen.py                 # writes into fonts/
    /usr/bin/python3 tools/fontgen/fontgen.py --out DIR       # writes elsewhere (check.sh)
    /usr/bin/python3 tools/fontgen/fontgen.py --specimens DIR # also draws PNG contact sheets
    /usr/bin/python3 tools/fontgen/fontgen.py --show 10 U+0627 # prints one glyph as dot art

Needs Debian's python3-freetype, python3-pil and python3-fonttools (hence /usr/bin/python3),
the font packages named in SOURCES and `npm ci --prefix tools/fontgen` for the npm build of
Noto Sans Arabic. The output depends on nothing but these pinned inputs.
"""

import argparse
import ctypes
import hashlib
import os
import sys
import unicodedata

import freetype

import coverage as cov
import marks

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))

ROWS = 24
NARROW_WIDTHS = (10, 13, 18)
WIDE_WIDTH = 24

# Arabic letters stand on this row: a letter without descender has its lowest ink here.
ARABIC_BASE_ROW = 15
# Joining forms carry their connecting stroke to the cell edge on these rows, in every width,
# so that a word printed as consecutive cells reads as one connected word.
CONNECTOR_ROWS = (15,)
# Latin-1 signs, punctuation and maths stand where a 12x24 resident printer font puts its
# base line (capitals on about rows 5 to 18).
LATIN_BASE_ROW = 18
# Kana and kanji: the ink of a 20-dot ideograph then spans about rows 3 to 20.
CJK_BASE_ROW = 19


class Source:
    """A pinned font source: the generator refuses to run on any other file."""

    def __init__(self, key, name, path, version, sha256, licence, face_index=0):
        self.key = key
        self.name = name
        self.path = path
        self.version = version
        self.sha256 = sha256
        self.licence = licence
        self.face_index = face_index
        self._face = None

    def check(self):
        if not os.path.exists(self.path):
            raise SystemExit("fontgen: missing source %s (%s); install it first (see "
                             "tools/fontgen/README or check.sh)" % (self.name, self.path))
        with open(self.path, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        if digest != self.sha256:
            raise SystemExit("fontgen: %s at %s is not the pinned build %s\n"
                             "  expected sha256 %s\n  found    sha256 %s"
                             % (self.name, self.path, self.version, self.sha256, digest))
        from fontTools.ttLib import TTFont
        font = TTFont(self.path, fontNumber=self.face_index, lazy=True)
        found = font["name"].getDebugName(5) or ""
        if not found.startswith(self.version):
            raise SystemExit("fontgen: %s has version '%s', expected '%s'"
                             % (self.name, found, self.version))

    def face(self):
        if self._face is None:
            self._face = freetype.Face(self.path, index=self.face_index)
        return self._face


NPM_ARABIC = os.path.join(HERE, "node_modules", "@fontsource", "noto-sans-arabic", "files",
                          "noto-sans-arabic-arabic-400-normal.woff")
SOURCES = {
    "arabic": Source(
        "arabic", "Noto Sans Arabic Regular (npm @fontsource/noto-sans-arabic 5.3.0)", NPM_ARABIC,
        "Version 2.012", "6d47c7e4dfc76e221d078945ef2bbf47b047f1b316cf87c7663086639814c763",
        "OFL-1.1"),
    "arabic_debian": Source(
        "arabic_debian", "Noto Sans Arabic Regular (Debian fonts-noto-core 20201225-1)",
        "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf", "Version 2.005",
        "504d7407d86875acf7d04dfaa0fd7524d0b8797723bc4aa18022f29db25b0b6e", "OFL-1.1"),
    "cjk_jp": Source(
        "cjk_jp", "Noto Sans CJK JP Regular (Debian fonts-noto-cjk 1:20220127+repack1-1)",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Version 2.004",
        "b76b0433203017ca80401b2ee0dd69350349871c4b19d504c34dbdd80541690a", "OFL-1.1", 0),
    "cjk_sc": Source(
        "cjk_sc", "Noto Sans CJK SC Regular (Debian fonts-noto-cjk 1:20220127+repack1-1)",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Version 2.004",
        "b76b0433203017ca80401b2ee0dd69350349871c4b19d504c34dbdd80541690a", "OFL-1.1", 2),
    "dejavu": Source(
        "dejavu", "DejaVu Sans (Debian fonts-dejavu-core 2.37-6)",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Version 2.37",
        "abdc775b21b1bc470d50c97e790d276f2054b7504e56e5bd3e64f48d68582322",
        "Bitstream Vera / DejaVu (permissive)"),
    "unifont": Source(
        "unifont", "GNU Unifont (Debian fonts-unifont 1:15.0.01-2)",
        "/usr/share/fonts/opentype/unifont/unifont.otf", "Version 15.0.01",
        "db1960227adcb14640063e7384fdcd2867aaf819d9ca4866bca289d4db9a9f67",
        "OFL-1.1 (dual-licensed font, OFL option)"),
}


# The rasteriser is an input too: another FreeType may hint a stroke onto another dot.
FREETYPE_VERSION = (2, 12, 1)  # Debian libfreetype6 2.12.1


def check_rasteriser():
    found = tuple(freetype.version())
    if found != FREETYPE_VERSION:
        raise SystemExit("fontgen: FreeType %s found, the tables are made with %s"
                         % (".".join(map(str, found)), ".".join(map(str, FREETYPE_VERSION))))


# --------------------------------------------------------------------------------------------
# Glyph pictures


class Glyph:
    """A W x 24 dot picture; rows[r] holds bit c for column c."""

    def __init__(self, width):
        self.width = width
        self.rows = [0] * ROWS
        self.source = "code"

    def set(self, c, r):
        if 0 <= c < self.width and 0 <= r < ROWS:
            self.rows[r] |= 1 << c

    def clear(self, c, r):
        if 0 <= c < self.width and 0 <= r < ROWS:
            self.rows[r] &= ~(1 << c)

    def get(self, c, r):
        return 0 <= c < self.width and 0 <= r < ROWS and bool(self.rows[r] >> c & 1)

    def fill(self, c0, r0, c1, r1):
        """Inks the rectangle of columns c0..c1 and rows r0..r1, both ends included."""
        for r in range(max(r0, 0), min(r1, ROWS - 1) + 1):
            for c in range(max(c0, 0), min(c1, self.width - 1) + 1):
                self.rows[r] |= 1 << c

    def erase(self, c0, r0, c1, r1):
        for r in range(max(r0, 0), min(r1, ROWS - 1) + 1):
            for c in range(max(c0, 0), min(c1, self.width - 1) + 1):
                self.rows[r] &= ~(1 << c)

    def has_ink(self):
        return any(self.rows)

    def column_value(self, c):
        v = 0
        for r in range(ROWS):
            if self.rows[r] >> c & 1:
                v |= 1 << (ROWS - 1 - r)
        return v

    def margins(self):
        """(left, right, top, bottom) blank columns and rows; 255 each without ink."""
        if not self.has_ink():
            return (255, 255, 255, 255)
        cols = 0
        for row in self.rows:
            cols |= row
        inked_rows = [r for r in range(ROWS) if self.rows[r]]
        left = (cols & -cols).bit_length() - 1
        right = self.width - cols.bit_length()
        return (left, right, inked_rows[0], ROWS - 1 - inked_rows[-1])

    def record(self, header=None):
        out = list(header if header is not None else self.margins())
        for c in range(self.width):
            v = self.column_value(c)
            out += [v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF]
        return out

    def dot_art(self):
        return ["".join("#" if self.get(c, r) else "." for c in range(self.width))
                for r in range(ROWS)]


class Shape:
    """Ink of a rendered glyph: (x, y) dots, x to the right of the pen, y rows below the base
    line row (0 is the row standing on the base line, negative above)."""

    def __init__(self, dots, advance=0.0):
        self.dots = set(dots)
        self.advance = advance

    def empty(self):
        return not self.dots

    def bbox(self):
        xs = [d[0] for d in self.dots]
        ys = [d[1] for d in self.dots]
        return min(xs), min(ys), max(xs), max(ys)

    def size(self):
        x0, y0, x1, y1 = self.bbox()
        return x1 - x0 + 1, y1 - y0 + 1

    def place(self, glyph, dx, dy):
        for x, y in self.dots:
            glyph.set(x + dx, y + dy)


LOAD_HINTED = freetype.FT_LOAD_DEFAULT | freetype.FT_LOAD_NO_BITMAP | freetype.FT_LOAD_TARGET_MONO


def render(source, cp, px_w, px_h, embolden=0.0):
    """Renders one code point with FreeType's hinted monochrome rasteriser at px_w x px_h
    pixels per em; embolden widens strokes horizontally by that many pixels."""
    face = source.face()
    face.set_char_size(int(round(px_w * 64)), int(round(px_h * 64)), 72, 72)
    if face.get_char_index(cp) == 0:
        return None
    face.load_char(cp, LOAD_HINTED)
    slot = face.glyph
    if embolden:
        freetype.raw.FT_Outline_EmboldenXY(ctypes.byref(slot.outline._FT_Outline),
                                           int(round(embolden * 64)), 0)
    slot.render(freetype.FT_RENDER_MODE_MONO)
    bmp = slot.bitmap
    dots = []
    buf = bmp.buffer
    for i in range(bmp.rows):
        base = i * bmp.pitch
        for x in range(bmp.width):
            if buf[base + (x >> 3)] & (0x80 >> (x & 7)):
                dots.append((slot.bitmap_left + x, i - slot.bitmap_top + 1))
    return Shape(dots, slot.advance.x / 64.0)


# --------------------------------------------------------------------------------------------
# Arabic


def arabic_name(cp):
    return unicodedata.name(chr(cp), "")


def joining_sides(cp):
    """Which cell edges a glyph's connecting stroke reaches, in printing (visual) order: the
    printer prints left to right, so an initial form joins the letter printed to its left, a
    final form the one to its right. Returns (left, right)."""
    name = arabic_name(cp)
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
    name = arabic_name(cp)
    ccc = unicodedata.combining(chr(cp))
    if ccc in (220, 29, 32):  # below, kasratan, kasra
        return True
    if ccc == 230:  # above, even "small high yeh barree with two dots below"
        return False
    words = name.split()
    return "BELOW" in words or "LOW" in words or "KASRA" in words


ARABIC_SIZE = {10: (17.0, 17.0, 0.6), 13: (17.0, 17.0, 0.6), 18: (22.0, 17.0, 0.3)}


def arabic_source(cp):
    face = SOURCES["arabic"].face()
    if face.get_char_index(cp):
        return SOURCES["arabic"]
    return SOURCES["arabic_debian"]


def render_arabic(cp, width, lo, hi, top_row, bottom_row, scale_w=1.0):
    """Renders an Arabic glyph standing on the base line, shrinking it until its ink fits
    columns lo..hi and rows top_row..bottom_row. Returns (shape, source)."""
    src = arabic_source(cp)
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


def draw_arabic_aimed(cp, width, aim):
    """Redraws one of the letters whose stored header deviates from its measured margins, at
    the size (and, for a letter that joins nothing, the height) at which its ink measures
    exactly the margins that the stored header was made for. None when no size does."""
    left, right = joining_sides(cp)
    src = arabic_source(cp)
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


def draw_arabic_letter(cp, width, flag=cov.FLAG_NONE):
    left, right = joining_sides(cp)
    aim = aimed_margins(width, cp)
    if aim:
        g = draw_arabic_aimed(cp, width, aim)
        if g is not None:
            return g
    if flag == cov.FLAG_HJUST:
        # Alef and its variants keep the drawing their stored headers and the justification of
        # the encoder were made for.
        return draw_arabic_justified(cp, width)
    return draw_arabic_joined(cp, width)


def draw_arabic_justified(cp, width):
    left, right = joining_sides(cp)
    lo, hi = 1, width - 2
    shape, src = render_arabic(cp, width, lo, hi, 0, ROWS - 1)
    g = Glyph(width)
    x0, _, x1, _ = shape.bbox()
    span = x1 - x0 + 1
    dx = lo + (hi - lo + 1 - span) // 2 - x0
    shape.place(g, dx, ARABIC_BASE_ROW)
    if left or right:
        extend_connectors(g, left, right)
    g.source = src.key
    return g


# --------------------------------------------------------------------------------------------
# Arabic letters at one raster size per font, dots drawn on the dot grid


# Pixels per em (horizontal, vertical) and emboldening (horizontal, vertical) in pixels: one
# size per font, so that stems, bowls and joining strokes weigh the same in every letter. Only
# a letter wider than its cell is narrowed, and only the few that are too tall are made smaller.
LETTER_SIZE = {10: (17.0, 16.0), 13: (17.0, 16.0), 18: (22.0, 16.0)}
LETTER_BOLD = {10: (0.6, 0.9), 13: (0.6, 0.9), 18: (0.5, 0.9)}
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


def render_index(source, gid, px_w, px_h, bold):
    face = source.face()
    face.set_char_size(int(round(px_w * 64)), int(round(px_h * 64)), 72, 72)
    face.load_glyph(gid, LOAD_HINTED)
    slot = face.glyph
    bx, by = bold
    if bx or by:
        freetype.raw.FT_Outline_EmboldenXY(ctypes.byref(slot.outline._FT_Outline),
                                           int(round(bx * 64)), int(round(by * 64)))
    slot.render(freetype.FT_RENDER_MODE_MONO)
    bmp = slot.bitmap
    dots = []
    buf = bmp.buffer
    for i in range(bmp.rows):
        base = i * bmp.pitch
        for x in range(bmp.width):
            if buf[base + (x >> 3)] & (0x80 >> (x & 7)):
                dots.append((slot.bitmap_left + x, i - slot.bitmap_top + 1))
    return Shape(dots, slot.advance.x / 64.0)


_BASE_SHIFT = {}


def base_shift(width):
    """Rows to move a rendered letter so that the lowest row of the emboldened tatweel stands
    on the base line: emboldening grows a stroke downwards as well as upwards."""
    if width not in _BASE_SHIFT:
        src = SOURCES["arabic"]
        px_w, px_h = LETTER_SIZE[width]
        gid = outline_font(src).getGlyphID(outline_font(src).getBestCmap()[0x0640])
        shape = render_index(src, gid, px_w, px_h, LETTER_BOLD[width])
        _BASE_SHIFT[width] = -shape.bbox()[3]
    return _BASE_SHIFT[width]


def render_letter(src, body, px_w, px_h, bold):
    dots = set()
    for gid, x, y in body:
        shape = render_index(src, gid, px_w, px_h, bold)
        dx, dy = int(round(x * px_w / 1000.0)), -int(round(y * px_h / 1000.0))
        dots |= {(a + dx, b + dy) for a, b in shape.dots}
    return Shape(dots)


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


def place_dots(glyph, ink, arrangement, cx, top, bottom, where, row=None):
    """Puts a dot group near where the outline font has it, as close to the letter as keeps a
    blank dot between them: above the letter it moves up, below it moves down, inside a bowl
    it looks round about; where the cell has no room it moves sideways or, for two dots,
    stacks them. As a last resort the blank ring is cut into the letter around the dots."""
    for stacked in (False, True):
        if stacked and arrangement != "2h":
            break
        _, (gw, gh) = marks.group_squares(arrangement, glyph.width, stacked)
        c_want = int(round(cx - gw / 2.0))
        c_want = max(0, min(glyph.width - gw, c_want))
        if where == "above":
            start = int(round(bottom)) - gh + 1 + 2
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


# Rows of each letter's dot groups, shared by the three narrow fonts where they can, so that a
# line mixing widths keeps its rows.
_DOT_ROWS = {}


# Arabic-Indic and Persian zero: the font's small dot prints as a speck that reads as a full
# stop, so "100.00" reads "1.. .."; drawn as a diamond of 5 x 5 dots on the digits' middle row.
ZEROS = (0x0660, 0x06F0)
ZERO_DIAMOND = ["..#..", ".###.", "#####", ".###.", "..#.."]
ZERO_TOP_ROW = 8


def draw_arabic_zero(width):
    g = Glyph(width)
    c0 = (width - len(ZERO_DIAMOND[0])) // 2
    for dr, line in enumerate(ZERO_DIAMOND):
        for dc, dot in enumerate(line):
            if dot == "#":
                g.set(c0 + dc, ZERO_TOP_ROW + dr)
    g.source = "code"
    return g


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


def draw_arabic_joined(cp, width, hints=None):
    left, right = joining_sides(cp)
    src = arabic_source(cp)
    body, dot_groups = letter_parts(src, cp)
    px_w, px_h = LETTER_SIZE[width]
    bold = LETTER_BOLD[width]
    lo = 0 if left else 1
    hi = width - 1 if right else width - 2
    room = hi - lo + 1
    shift = base_shift(width)
    for _ in range(80):
        shape = render_letter(src, body, px_w, px_h, bold)
        if shape.empty():
            # signs made of dots alone (the triple dot punctuation) are drawn as they are
            return draw_arabic_justified(cp, width)
        x0, y0, x1, y1 = shape.bbox()
        fits_w = x1 - x0 + 1 <= room
        fits_h = y0 + ARABIC_BASE_ROW + shift >= 0 and y1 + ARABIC_BASE_ROW + shift <= ROWS - 1
        if fits_w and fits_h:
            break
        if not fits_w:
            px_w *= 0.97
        if not fits_h:
            px_h *= 0.97
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
    if left or right:
        extend_joins(g, left, right)
    name = arabic_name(cp).split()
    if width == NARROW_WIDTHS[0] and ("FEH" in name or "QAF" in name) and not has_hole(g):
        open_loop(g)
    ink = {(c, r) for r in range(ROWS) for c in range(width) if g.get(c, r)}
    if hints is None and dot_groups:
        hints = common_dot_rows(cp, len(dot_groups))
    placed = []
    for i, (arrangement, ux, uy_top, uy_bottom) in enumerate(dot_groups):
        cx = ux * px_w / 1000.0 + dx
        top = -uy_top * px_h / 1000.0 + dy
        bottom = -uy_bottom * px_h / 1000.0 + dy
        where = "above" if uy_bottom > 0 else "below" if uy_top < 300 else "inside"
        row = place_dots(g, ink, arrangement, cx, top, bottom, where, hints[i])
        placed.append((where, row))
        ink = {(c, r) for r in range(ROWS) for c in range(width) if g.get(c, r)}
    g.source = src.key
    g.dot_rows = placed
    return g


def common_dot_rows(cp, groups):
    """The row of each dot group that all three narrow fonts can use: each font places the
    dots on its own, then the group goes to the row furthest from the letter among them."""
    if cp not in _DOT_ROWS:
        free = [draw_arabic_joined(cp, w, hints=[None] * groups).dot_rows for w in NARROW_WIDTHS]
        rows = []
        for i in range(groups):
            where = free[0][i][0]
            found = [f[i][1] for f in free]
            rows.append(max(found) if where == "below" else min(found) if where == "above"
                        else found[0])
        _DOT_ROWS[cp] = rows
    return _DOT_ROWS[cp]


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


def draw_arabic_mark(cp, width):
    """A mark drawn at the edge of the cell on its own side of the letter, at most three rows
    high: the composition moves it from there toward the previous character."""
    g = Glyph(width)
    if marks.haraka_art(cp, width):
        g.source = "code"
        return marks.draw_haraka(g, cp)
    below = mark_is_below(cp)
    src = arabic_source(cp)
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


# Marks are no more than this many rows high, so that over a tall letter (ink from row 4) a
# mark at the top edge keeps a blank row.
MARK_ROWS = 3


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
# Latin-1, punctuation, currency and mathematical signs


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


def draw_latin(cp, width):
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


# --------------------------------------------------------------------------------------------
# Japanese


JAPANESE_TOP, JAPANESE_BOTTOM = 3, 20  # Japanese ink stays within these rows


def render_cjk(src, cp, width, px_h, lo, hi, max_h=99):
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


def aimed_margins(width, cp):
    entry = cov.DEVIATING_HEADERS.get((width, cp))
    return entry[1] if entry else None


def render_cjk_aimed(src, cp, width, aim):
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
    aim = aimed_margins(width, cp)
    if aim:
        shape = render_cjk_aimed(src, cp, width, aim)
        x0, y0, _, _ = shape.bbox()
        shape.place(g, aim[0] - x0, aim[2] - y0)
        g.source = src.key
        return g
    max_h = JAPANESE_BOTTOM - JAPANESE_TOP + 1
    shape = render_cjk(src, cp, width, 20.0, 0, width - 1, max_h)
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


def draw_wide_ideograph(cp):
    g = Glyph(WIDE_WIDTH)
    src = SOURCES["cjk_sc"]
    shape = render(src, cp, 22.0, 22.0)
    if shape is not None and not shape.empty():
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
        for dr, line in enumerate(HEX_DIGITS[ch]):
            for dc, dot in enumerate(line):
                if dot == "#":
                    g.set(col + dc, row + dr)
    return g


# --------------------------------------------------------------------------------------------
# Glyphs whose bytes are fixed by the composition's own tests: alef and fatha at 10 dots.

PINNED = {
    (10, 0x0627): [".........."] * 4 + ["....##...."] * 12 + [".........."] * 8,
    (10, 0x064E): ["....####..", "..####....", ] + [".........."] * 22,
}


def pinned_glyph(width, cp):
    art = PINNED[(width, cp)]
    g = Glyph(width)
    for r, line in enumerate(art):
        for c, dot in enumerate(line):
            if dot == "#":
                g.set(c, r)
    g.source = "code"
    return g


# --------------------------------------------------------------------------------------------


def is_arabic(cp):
    return 0x0600 <= cp <= 0x08FF or 0xFB50 <= cp <= 0xFEFF


def draw_narrow(cp, flag, width):
    if (width, cp) in PINNED:
        return pinned_glyph(width, cp)
    if 0x2500 <= cp <= 0x25FF:
        return draw_box_or_block(cp, width)
    if 0xE000 <= cp <= 0xF8FF:
        return draw_private_use(cp, width)
    if cp == 0xFE71:
        return draw_tatweel_with_mark(cp, width)
    if flag == cov.FLAG_MARK:
        return draw_arabic_mark(cp, width)
    if cp in ZEROS:
        return draw_arabic_zero(width)
    if is_arabic(cp):
        return draw_arabic_letter(cp, width, flag)
    if 0x3000 <= cp <= 0x9FFF:
        return draw_japanese(cp, width)
    return draw_latin(cp, width)


def build_fonts():
    narrow, wide = cov.check_counts()
    fonts = {}
    for width in NARROW_WIDTHS:
        entries = []
        for cp in sorted(narrow):
            g = draw_narrow(cp, narrow[cp], width)
            entries.append((cp, narrow[cp], g))
        fonts[width] = entries
    fonts[WIDE_WIDTH] = [(cp, wide[cp], draw_wide_ideograph(cp)) for cp in sorted(wide)]
    return fonts


def stored_header(width, cp, glyph):
    if (width, cp) in cov.DEVIATING_HEADERS:
        return cov.DEVIATING_HEADERS[(width, cp)][0]
    return glyph.margins()


def check_fonts(fonts):
    """Refuses output that breaks the rules the composition and the tests rely on."""
    problems = []
    for width, entries in fonts.items():
        for cp, flag, g in entries:
            if not g.has_ink():
                problems.append("%dx24 U+%04X has no ink" % (width, cp))
    if problems:
        raise SystemExit("fontgen:\n  " + "\n  ".join(problems))


# --------------------------------------------------------------------------------------------
# Output


def runs_of(points):
    """Splits sorted code points into dense runs: (first code point, count, first index)."""
    runs = []
    for i, cp in enumerate(points):
        if runs and runs[-1][0] + runs[-1][1] == cp:
            runs[-1][1] += 1
        else:
            runs.append([cp, 1, i])
    return runs


def source_lines(entries):
    used = []
    for _, _, g in entries:
        key = g.source
        if key != "code" and key not in used:
            used.append(key)
    lines = []
    for key in sorted(used):
        s = SOURCES[key]
        lines.append("//   %s," % s.name)
        lines.append("//     %s, sha256 %s, %s" % (s.version, s.sha256[:16], s.licence))
    if any(g.source == "code" for _, _, g in entries):
        lines.append("//   and glyphs drawn by the generator itself (box drawing, blocks, shades,")
        lines.append("//   private use)")
    return lines


def run_table_lines(suffix, entries):
    """The dense runs of the entries' code points as a GlyphRun table named kRuns<suffix>."""
    out = [
        "// Dense runs of code points: first code point, count, index of the first entry.",
        "extern const GlyphRun kRuns%s[] = {" % suffix,
    ]
    runs = runs_of([cp for cp, _, _ in entries])
    for first, count, index in runs:
        out.append("    {0x%04X, %d, %d}," % (first, count, index))
    out += [
        "};",
        "extern const int kRunCount%s = %d;" % (suffix, len(runs)),
        "",
    ]
    return out


def emit_narrow_runs(entries):
    """The run table that the three narrow fonts share: they hold the same code points."""
    out = [
        "// clang-format off",
        "// Run table shared by the 10, 13 and 18 x 24 fonts, which hold the same %d code points in"
        % len(entries),
        "// the same order.",
        "//",
        "// Generated by tools/fontgen/fontgen.py: do not edit. Regenerate with",
        "//   /usr/bin/python3 tools/fontgen/fontgen.py",
        "",
        '#include "fonts/glyph_tables.h"',
        "",
        "namespace zelvar_fonts {",
        "",
    ]
    out += run_table_lines("Narrow", entries)
    out += [
        "}  // namespace zelvar_fonts",
        "// clang-format on",
        "",
    ]
    return "\n".join(out)


def emit_table(width, entries, with_runs):
    nbytes = 4 + 3 * width
    suffix = "%dx24" % width
    out = [
        "// clang-format off",
        "// Glyph table of the %d x 24 font: %d glyphs, %d bytes of records."
        % (width, len(entries), len(entries) * nbytes),
        "//",
        "// Generated by tools/fontgen/fontgen.py: do not edit. Regenerate with",
        "//   /usr/bin/python3 tools/fontgen/fontgen.py",
        "// Sources:",
    ]
    out += source_lines(entries)
    out += [
        "// Glyphs derived from these fonts keep the fonts' licences: see fonts/LICENSE-glyphs.",
        "",
        '#include "fonts/glyph_tables.h"',
        "",
        "namespace zelvar_fonts {",
        "",
    ]
    if with_runs:
        out += run_table_lines(suffix, entries)
    out += [
        "// Entries: margins (left, right, top, bottom), then %d columns of rows 0-7, 8-15,"
        % width,
        "// 16-23; then the flag word.",
        "extern const GlyphEntry<%d> kEntries%s[] = {" % (nbytes, suffix),
    ]
    for cp, flag, g in entries:
        rec = g.record(stored_header(width, cp, g))
        head = ",".join("%d" % b for b in rec[:4])
        cols = " ".join("0x%02X,0x%02X,0x%02X," % tuple(rec[4 + 3 * c:7 + 3 * c])
                        for c in range(width))
        out.append("    {{%s, %s}, 0x%02X},  // U+%04X" % (head, cols.rstrip(","), flag, cp))
    out += [
        "};",
        "",
        "}  // namespace zelvar_fonts",
        "// clang-format on",
        "",
    ]
    return "\n".join(out)


def write_tables(fonts, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    narrow_points = [[cp for cp, _, _ in fonts[w]] for w in NARROW_WIDTHS]
    if any(points != narrow_points[0] for points in narrow_points):
        raise SystemExit("fontgen: the narrow fonts must hold the same code points to share runs")
    files = {"glyph_runs_narrow.cpp": emit_narrow_runs(fonts[NARROW_WIDTHS[0]])}
    for width, entries in fonts.items():
        files["glyphs_%dx24.cpp" % width] = emit_table(width, entries, width == WIDE_WIDTH)
    for name, text in files.items():
        with open(os.path.join(out_dir, name), "w") as f:
            f.write(text)


def report(fonts):
    total = 0
    for width, entries in sorted(fonts.items()):
        size = len(entries) * (4 + 3 * width)
        total += size
        runs = runs_of([cp for cp, _, _ in entries])
        print("%dx24: %d glyphs, %d bytes of records, %d runs" % (width, len(entries), size,
                                                               len(runs)))
    print("all fonts: %d bytes of records" % total)
    matched = 0
    for (width, cp), (stored, aimed) in sorted(cov.DEVIATING_HEADERS.items()):
        g = [e[2] for e in fonts[width] if e[0] == cp][0]
        if g.margins() == aimed:
            matched += 1
        else:
            print("  deviating header %dx24 U+%04X: measured %s, aimed at %s"
                  % (width, cp, g.margins(), aimed))
    print("deviating headers whose artwork measures as aimed: %d of %d"
          % (matched, len(cov.DEVIATING_HEADERS)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(REPO, "fonts"),
                        help="folder for the generated glyph tables (default: fonts/)")
    parser.add_argument("--specimens", metavar="DIR", help="also write PNG contact sheets")
    parser.add_argument("--show", nargs=2, metavar=("WIDTH", "U+XXXX"),
                        help="print one glyph as dot art and stop")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()

    check_rasteriser()
    for source in SOURCES.values():
        source.check()

    if args.show:
        width = int(args.show[0])
        cp = int(args.show[1].upper().replace("U+", ""), 16)
        narrow, wide = cov.check_counts()
        if width == WIDE_WIDTH:
            g = draw_wide_ideograph(cp)
        else:
            g = draw_narrow(cp, narrow.get(cp, 0), width)
        print("U+%04X %dx24 margins %s source %s" % (cp, width, g.margins(), g.source))
        print("\n".join(g.dot_art()))
        return 0

    fonts = build_fonts()
    check_fonts(fonts)
    write_tables(fonts, args.out)
    if not args.quiet:
        report(fonts)
    if args.specimens:
        import specimens
        specimens.write_all(fonts, args.specimens)
    return 0


if __name__ == "__main__":
    sys.exit(main())

# SPDX-License-Identifier: Apache-2.0
"""The dot cell and the rasteriser that every kind of glyph is drawn with.

A Glyph is the W x 24 dot picture that becomes one table entry; a Shape is the ink FreeType
makes of one outline, placed relative to the pen and the base line. The drawing modules
(arabic, cjk, latin, geometry) make Glyphs; output writes them.
"""

import ctypes

import freetype

ROWS = 24
NARROW_WIDTHS = (10, 13, 18)
WIDE_WIDTH = 24


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

    def draw_art(self, art, c0=0, r0=0):
        """Inks the '#' of dot art (one string per row) with its top left corner at c0, r0."""
        for dr, line in enumerate(art):
            for dc, dot in enumerate(line):
                if dot == "#":
                    self.set(c0 + dc, r0 + dr)
        return self

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


def _set_size(face, px_w, px_h):
    face.set_char_size(int(round(px_w * 64)), int(round(px_h * 64)), 72, 72)


def _rasterise(slot, bold_x, bold_y):
    """The loaded outline in the slot, emboldened by bold_x, bold_y pixels, as a Shape of the
    dots of FreeType's monochrome rasteriser."""
    if bold_x or bold_y:
        freetype.raw.FT_Outline_EmboldenXY(ctypes.byref(slot.outline._FT_Outline),
                                           int(round(bold_x * 64)), int(round(bold_y * 64)))
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


def render(source, cp, px_w, px_h, embolden=0.0):
    """Renders one code point with FreeType's hinted monochrome rasteriser at px_w x px_h
    pixels per em; embolden widens strokes horizontally by that many pixels. None when the
    source lacks the code point."""
    face = source.face()
    _set_size(face, px_w, px_h)
    if face.get_char_index(cp) == 0:
        return None
    face.load_char(cp, LOAD_HINTED)
    return _rasterise(face.glyph, embolden, 0)


def render_glyph_id(source, gid, px_w, px_h, bold):
    """Renders the source's glyph number gid (a component of a composite glyph) at px_w x px_h
    pixels per em, emboldened by bold = (horizontal, vertical) pixels."""
    face = source.face()
    _set_size(face, px_w, px_h)
    face.load_glyph(gid, LOAD_HINTED)
    return _rasterise(face.glyph, *bold)

# SPDX-License-Identifier: Apache-2.0
"""The code points of the four built-in fonts and their glyph flag words.

This is the one place that says which characters the fonts hold. Everything the generator
emits (the glyph tables, their runs, the flag words) is derived from the lists below, and
check_counts() refuses to go on when they do not add up.
"""

FLAG_NONE = 0x00
FLAG_OVERSTRIKE = 0x01  # a mark printed over the previous character
FLAG_VFIT = 0x02  # the mark is moved up or down to meet the previous character
FLAG_HJUST = 0x10  # the glyph may be moved sideways by justification
FLAG_MARK = FLAG_OVERSTRIKE | FLAG_VFIT

# The three narrow fonts (10, 13 and 18 dots wide) share these code points, by block.
NARROW_BLOCKS = [
    ("Latin-1 Supplement", 3, "00A5 00A8 00B7"),
    ("Arabic", 248, "0601-0615 0617-061B 061D-06D5 06D8-06DC 06DF-06E8 06EA-06FF"),
    ("Arabic Supplement", 48, "0750-077F"),
    ("Arabic Extended-B", 35, "0870-088E 089C-089F"),
    ("Arabic Extended-A", 89, "08A0-08D3 08D5-08D9 08E0-08FF"),
    ("General Punctuation", 16,
     "2013-2014 2018-201A 201C-201E 2020-2022 2026 2030 2039-203A 203E"),
    ("Currency Symbols", 1, "20AC"),
    ("Letterlike Symbols", 1, "2122"),
    ("Mathematical Operators", 4, "2219-221A 221E 2248"),
    ("Box Drawing", 22,
     "2500 2502 250C 2510 2514 2518 251C 2524 252C 2534 253C 2550-2551 2554 2557 "
     "255A 255D 2560 2563 2566 2569 256C"),
    ("Block Elements", 6, "2580 2584 2588 2591-2593"),
    ("Geometric Shapes", 1, "25A0"),
    ("CJK Symbols and Punctuation", 6, "3001-3002 300C-300D 3012 3036"),
    ("Hiragana", 4, "3099-309C"),
    ("Katakana", 96, "30A0-30FF"),
    ("CJK Unified Ideographs", 12,
     "4EBA 5186 5206 533A 5E02 5E74 65E5 6642 6708 6751 753A 79D2"),
    ("Private Use Area", 21, "E001 E003-E009 E010-E016 F8BE-F8C0 F8F9-F8FB"),
    ("Arabic Presentation Forms-A", 142, "FB50-FBC2 FBD3-FBE9 FBFC-FBFF"),
    ("Arabic Presentation Forms-B", 130,
     "FE71 FE73 FE77 FE79 FE7B FE7D FE7F-FEF8 FEFB-FEFC"),
]

# Flag words of the narrow fonts; every code point not named here carries 0x00.
NARROW_FLAGS = [
    (FLAG_MARK, 101,
     "0610-0615 061A 064B-065F 0670 06D8-06DC 06DF-06E8 06EA-06ED 089C 089E 08CA-08CC "
     "08CE-08D3 08E4-08FF FBB4-FBB6 FBB8-FBC1 FE71"),
    (FLAG_OVERSTRIKE, 2, "3099-309A"),
    (FLAG_HJUST, 34,
     "0622-0623 0625 0627 0671-0673 0675 0773-0774 0870-0882 FB50 FE81 FE83 FE87 FE8D"),
]
NARROW_TOTAL = 885
NARROW_PLAIN = 748  # code points with the flag word 0x00

# The wide font (24 dots wide): the ideographs after U+4DB5 and U+9FA5 to the ends of their
# blocks, less U+9FB4-U+9FBB. All carry the flag word 0x00.
WIDE_BLOCKS = [
    ("CJK Unified Ideographs Extension A", 10, "4DB6-4DBF"),
    ("CJK Unified Ideographs", 82, "9FA6-9FB3 9FBC-9FFF"),
]
WIDE_TOTAL = 92

# Stored headers that differ from the margins measured on the glyph's columns. The composition
# fits marks after these letters by the stored values, so they are kept as they are:
# (width, code point): (stored left, right, top, bottom), (aimed-at measured margins).
DEVIATING_HEADERS = {
    (10, 0x06D2): ((0, 0, 11, 0), (0, 0, 11, 3)),
    (10, 0x06D3): ((0, 0, 6, 0), (0, 0, 6, 3)),
    (10, 0x077A): ((0, 0, 7, 0), (0, 0, 7, 3)),
    (10, 0x077B): ((0, 0, 7, 0), (0, 0, 7, 3)),
    (10, 0x3012): ((1, 1, 2, 3), (1, 1, 3, 3)),
    (10, 0x533A): ((0, 0, 2, 3), (0, 0, 3, 3)),
    (10, 0xFB51): ((2, 0, 0, 0), (2, 0, 0, 8)),
    (10, 0xFBAE): ((0, 0, 11, 0), (0, 0, 11, 3)),
    (10, 0xFBAF): ((0, 0, 14, 0), (0, 0, 14, 3)),
    (10, 0xFBB0): ((0, 0, 6, 0), (0, 0, 6, 3)),
    (10, 0xFBB1): ((0, 0, 9, 0), (0, 0, 9, 3)),
    (10, 0xFE82): ((2, 0, 0, 0), (2, 0, 0, 8)),
    (10, 0xFE84): ((3, 0, 0, 0), (3, 0, 0, 8)),
    (10, 0xFE88): ((3, 0, 4, 0), (3, 0, 4, 3)),
    (10, 0xFE8E): ((4, 0, 4, 0), (4, 0, 4, 8)),
    (13, 0x533A): ((0, 0, 3, 2), (0, 0, 3, 3)),
}


def aimed_margins(width, cp):
    """The margins that the artwork of a glyph with a deviating stored header is drawn to
    measure, or None for every other glyph."""
    entry = DEVIATING_HEADERS.get((width, cp))
    return entry[1] if entry else None


def parse_ranges(text):
    """'0601-0615 061A' -> [0x601, ..., 0x615, 0x61A], in the order written."""
    points = []
    for item in text.split():
        first, _, last = item.partition("-")
        lo = int(first, 16)
        hi = int(last, 16) if last else lo
        if hi < lo:
            raise ValueError("bad range " + item)
        points.extend(range(lo, hi + 1))
    return points


def _collect(blocks):
    points = []
    for name, count, text in blocks:
        block = parse_ranges(text)
        if len(block) != count:
            raise SystemExit("coverage: %s lists %d code points, expected %d"
                             % (name, len(block), count))
        points.extend(block)
    if len(set(points)) != len(points):
        raise SystemExit("coverage: a code point is listed twice")
    return sorted(points)


def narrow_coverage():
    """{code point: flag word} of the three narrow fonts."""
    points = _collect(NARROW_BLOCKS)
    if len(points) != NARROW_TOTAL:
        raise SystemExit("coverage: %d narrow code points, expected %d"
                         % (len(points), NARROW_TOTAL))
    flags = dict.fromkeys(points, FLAG_NONE)
    for flag, count, text in NARROW_FLAGS:
        listed = parse_ranges(text)
        if len(listed) != count:
            raise SystemExit("coverage: flag 0x%02X lists %d code points, expected %d"
                             % (flag, len(listed), count))
        for cp in listed:
            if cp not in flags:
                raise SystemExit("coverage: flagged U+%04X is not covered" % cp)
            if flags[cp] != FLAG_NONE:
                raise SystemExit("coverage: U+%04X flagged twice" % cp)
            flags[cp] = flag
    plain = sum(1 for f in flags.values() if f == FLAG_NONE)
    if plain != NARROW_PLAIN:
        raise SystemExit("coverage: %d plain code points, expected %d" % (plain, NARROW_PLAIN))
    return flags


def wide_coverage():
    """{code point: flag word} of the wide font."""
    points = _collect(WIDE_BLOCKS)
    if len(points) != WIDE_TOTAL:
        raise SystemExit("coverage: %d wide code points, expected %d"
                         % (len(points), WIDE_TOTAL))
    return dict.fromkeys(points, FLAG_NONE)


def check_counts():
    narrow = narrow_coverage()
    wide = wide_coverage()
    if set(narrow) & set(wide):
        raise SystemExit("coverage: the narrow and the wide fonts share a code point")
    for (width, cp) in DEVIATING_HEADERS:
        if cp not in narrow or narrow[cp] != FLAG_NONE:
            raise SystemExit("coverage: deviating header U+%04X must be a plain glyph" % cp)
    return narrow, wide

#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Generates the glyph tables of the four built-in fonts (fonts/glyphs_WWx24.cpp).

Run from anywhere:
    /usr/bin/python3 tools/fontgen/fontgen.py                 # writes into fonts/
    /usr/bin/python3 tools/fontgen/fontgen.py --out DIR       # writes elsewhere (check.sh)
    /usr/bin/python3 tools/fontgen/fontgen.py --specimens DIR # also draws PNG contact sheets
    /usr/bin/python3 tools/fontgen/fontgen.py --show 10 U+0627 # prints one glyph as dot art

Needs Debian's python3-freetype, python3-pil and python3-fonttools (hence /usr/bin/python3),
the font packages named in sources.py and `npm ci --prefix tools/fontgen` for the npm build of
Noto Sans Arabic. The output depends on nothing but these pinned inputs.
"""

import argparse
import os
import sys

import arabic
import cjk
import coverage as cov
import geometry
import latin
import output
from raster import NARROW_WIDTHS, WIDE_WIDTH
from sources import SOURCES, check_rasteriser

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))


def draw_narrow(cp, flag, width):
    """The glyph of cp in the 10, 13 or 18 x 24 font, drawn by the module for its kind."""
    if (width, cp) in arabic.PINNED:
        return arabic.draw_pinned(width, cp)
    if 0x2500 <= cp <= 0x25FF:
        return geometry.draw_box_or_block(cp, width)
    if 0xE000 <= cp <= 0xF8FF:
        return geometry.draw_private_use(cp, width)
    if cp == 0xFE71:
        return arabic.draw_tatweel_with_mark(cp, width)
    if flag == cov.FLAG_MARK:
        return arabic.draw_mark(cp, width)
    if cp in arabic.ZEROS:
        return arabic.draw_zero(width)
    if width in arabic.DRAWN_DIGITS.get(cp, ()):
        return arabic.draw_digit(cp, width)
    if cp in arabic.LAM_ALEF_WITH_MARK:
        return arabic.draw_lam_alef_with_mark(cp, width)
    if cp in arabic.GAF_FROM_KEHEH:
        return arabic.draw_gaf(cp, width)
    if cp == arabic.COMMA:
        return arabic.draw_comma(width)
    if cp == arabic.PERCENT:
        return arabic.draw_percent(width)
    if cp == arabic.DECIMAL_SEPARATOR:
        return arabic.draw_decimal_separator(width)
    if arabic.is_arabic(cp):
        return arabic.draw_letter(cp, width, flag)
    if 0x3000 <= cp <= 0x9FFF:
        return cjk.draw_japanese(cp, width)
    return latin.draw_sign(cp, width)


def build_fonts():
    narrow, wide = cov.check_counts()
    fonts = {}
    for width in NARROW_WIDTHS:
        entries = []
        for cp in sorted(narrow):
            g = draw_narrow(cp, narrow[cp], width)
            entries.append((cp, narrow[cp], g))
        fonts[width] = entries
    fonts[WIDE_WIDTH] = [(cp, wide[cp], cjk.draw_wide_ideograph(cp)) for cp in sorted(wide)]
    return fonts


def check_fonts(fonts):
    """Refuses output that breaks the rules the composition and the tests rely on."""
    problems = []
    for width, entries in fonts.items():
        for cp, flag, g in entries:
            if not g.has_ink():
                problems.append("%dx24 U+%04X has no ink" % (width, cp))
    if problems:
        raise SystemExit("fontgen:\n  " + "\n  ".join(problems))


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
            g = cjk.draw_wide_ideograph(cp)
        else:
            g = draw_narrow(cp, narrow.get(cp, 0), width)
        print("U+%04X %dx24 margins %s source %s" % (cp, width, g.margins(), g.source))
        print("\n".join(g.dot_art()))
        return 0

    fonts = build_fonts()
    check_fonts(fonts)
    output.write_tables(fonts, args.out)
    if not args.quiet:
        output.report(fonts)
    if args.specimens:
        import specimens
        specimens.write_all(fonts, args.specimens)
    return 0


if __name__ == "__main__":
    sys.exit(main())

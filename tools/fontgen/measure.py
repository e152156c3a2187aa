#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Measures how the Arabic artwork of the generated glyph tables reads on paper.

    /usr/bin/python3 tools/fontgen/measure.py            # the tables in fonts/
    /usr/bin/python3 tools/fontgen/measure.py --tables DIR [--list]

It reads the generated fonts/glyphs_WWx24.cpp (so it measures exactly what the library ships)
and prints, for the 10, 13 and 18 dot fonts:
  dots kept     share of the presentation forms of the dotted and dotless letters whose body
                and dots print as the right number of separate (8-connected) ink pieces;
  haraka fit    share of the combinations of a form U+FE80-FEFC with one haraka U+064B-0652,
                fitted the way the composer fits a mark against the previous cell, in which the
                mark loses no ink and neither overlaps nor touches the letter;
  shadda stacks share of the forms on which shadda, then fatha, damma or kasra collide (a
                mark loses ink, or overlaps or touches the letter or the mark before it).
tests/fonts_test.cpp checks the same properties through the library's own composer.
"""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
ROWS = 24
WIDTHS = (10, 13, 18)

# Ink pieces of each letter's presentation forms: the body plus one piece per dot (the small
# swash of isolated and final kaf is a piece of its own).
PIECES = {}


def _forms(first, pieces, count=4):
    for i in range(count):
        PIECES[first + i] = pieces[i] if isinstance(pieces, tuple) else pieces


_forms(0xFE8F, 2)  # beh
_forms(0xFE93, 3, 2)  # teh marbuta
_forms(0xFE95, 3)  # teh
_forms(0xFE99, 4)  # theh
_forms(0xFE9D, 2)  # jeem
_forms(0xFEA1, 1)  # hah
_forms(0xFEA5, 2)  # khah
_forms(0xFEA9, 1, 2)  # dal
_forms(0xFEAB, 2, 2)  # thal
_forms(0xFEAD, 1, 2)  # reh
_forms(0xFEAF, 2, 2)  # zain
_forms(0xFEB1, 1)  # seen
_forms(0xFEB5, 4)  # sheen
_forms(0xFEB9, 1)  # sad
_forms(0xFEBD, 2)  # dad
_forms(0xFEC1, 1)  # tah
_forms(0xFEC5, 2)  # zah
_forms(0xFEC9, 1)  # ain
_forms(0xFECD, 2)  # ghain
_forms(0xFED1, 2)  # feh
_forms(0xFED5, 3)  # qaf
_forms(0xFED9, (2, 2, 1, 1))  # kaf: isolated, final, initial, medial
_forms(0xFEDD, 1)  # lam
_forms(0xFEE1, 1)  # meem
_forms(0xFEE5, 2)  # noon
_forms(0xFEE9, 1)  # heh
_forms(0xFEED, 1, 2)  # waw
_forms(0xFEEF, 1, 2)  # alef maksura
_forms(0xFEF1, 3)  # yeh
_forms(0xFB56, 4)  # peh
_forms(0xFB7A, 4)  # tcheh
_forms(0xFB8A, 4, 2)  # jeh

HARAKAT = list(range(0x064B, 0x0653))
SHADDA = 0x0651
VOWELS = (0x064E, 0x064F, 0x0650)  # fatha, damma, kasra
FORMS = range(0xFE80, 0xFEFD)

ENTRY = re.compile(r"\{\{([0-9, x A-F]+)\}, 0x([0-9A-F]+)\},\s*// U\+([0-9A-F]+)")


def read_table(path):
    """{code point: (record bytes, flag word)} of one generated table."""
    table = {}
    with open(path) as f:
        for line in f:
            m = ENTRY.search(line)
            if m:
                rec = [int(v, 0) for v in m.group(1).replace(" ", "").split(",")]
                table[int(m.group(3), 16)] = (rec, int(m.group(2), 16))
    return table


def read_tables(folder):
    return {w: read_table(os.path.join(folder, "glyphs_%dx24.cpp" % w)) for w in WIDTHS}


def picture(rec, width):
    """Set of inked (column, row) dots of a record."""
    dots = set()
    for c in range(width):
        v = rec[4 + 3 * c] << 16 | rec[5 + 3 * c] << 8 | rec[6 + 3 * c]
        for r in range(ROWS):
            if v >> (ROWS - 1 - r) & 1:
                dots.add((c, r))
    return dots


def pieces(dots):
    """Number of 8-connected ink pieces."""
    seen, count = set(), 0
    for d in dots:
        if d in seen:
            continue
        count += 1
        stack = [d]
        seen.add(d)
        while stack:
            c, r = stack.pop()
            for dc in (-1, 0, 1):
                for dr in (-1, 0, 1):
                    n = (c + dc, r + dr)
                    if n in dots and n not in seen:
                        seen.add(n)
                        stack.append(n)
    return count


def margins(dots, width):
    if not dots:
        return (255, 255, 255, 255)
    cs = [c for c, _ in dots]
    rs = [r for _, r in dots]
    return (min(cs), width - 1 - max(cs), min(rs), ROWS - 1 - max(rs))


def fit(mark, mark_header, previous):
    """The composer's vertical fit: a mark whose gap to the previous cell's ink is three rows
    or more is moved to leave two. Returns the moved dots (those moved out of the cell are
    lost) and the merged margins for the next mark."""
    gap_above = mark_header[3] + previous[2] - ROWS
    gap_below = mark_header[2] + previous[3] - ROWS
    shift = 0
    if gap_above >= 3:
        shift = gap_above - 2
    elif gap_below >= 3:
        shift = -(gap_below - 2)
    moved = {(c, r + shift) for c, r in mark if 0 <= r + shift < ROWS}
    merged = previous
    if moved:
        rows = [r for _, r in moved]
        m = (min(mark_header[0], previous[0]), min(mark_header[1], previous[1]),
             min(min(rows), previous[2]), min(ROWS - 1 - max(rows), previous[3]))
        merged = m
    return moved, merged


def collides(moved, original, others):
    if len(moved) != len(original):
        return True
    for c, r in moved:
        for dc in (-1, 0, 1):
            for dr in (-1, 0, 1):
                if (c + dc, r + dr) in others:
                    return True
    return False


def measure_width(table, width, listing=None):
    def get(cp):
        rec, flag = table[cp]
        return picture(rec, width), tuple(rec[:4]), flag

    kept = 0
    for cp, want in sorted(PIECES.items()):
        dots, _, _ = get(cp)
        got = pieces(dots)
        kept += got == want
        if listing is not None and got != want:
            listing.append("%d U+%04X pieces %d, want %d" % (width, cp, got, want))
    forms = [cp for cp in FORMS if cp in table]
    fits = 0
    for cp in forms:
        letter, header, _ = get(cp)
        for h in HARAKAT:
            mark, mheader, _ = get(h)
            moved, _ = fit(mark, mheader, header)
            ok = not collides(moved, mark, letter)
            fits += ok
            if listing is not None and not ok:
                listing.append("%d U+%04X + U+%04X collides" % (width, cp, h))
    stacks = 0
    shadda, sheader, _ = get(SHADDA)
    for cp in forms:
        letter, header, _ = get(cp)
        s_moved, merged = fit(shadda, sheader, header)
        for v in VOWELS:
            vowel, vheader, _ = get(v)
            moved, _ = fit(vowel, vheader, merged)
            stacks += (collides(s_moved, shadda, letter) or
                       collides(moved, vowel, letter | s_moved))
    return {
        "dots": 100.0 * kept / len(PIECES),
        "fit": 100.0 * fits / (len(forms) * len(HARAKAT)),
        "stack": 100.0 * stacks / (len(forms) * len(VOWELS)),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--tables", default=os.path.join(REPO, "fonts"))
    parser.add_argument("--list", action="store_true", help="name every form that fails")
    args = parser.parse_args()
    tables = read_tables(args.tables)
    listing = [] if args.list else None
    print("artwork    dots kept  haraka fit  shadda+vowel collide")
    for w in WIDTHS:
        m = measure_width(tables[w], w, listing)
        print("%2dx24      %5.1f %%    %5.1f %%     %5.1f %%" % (w, m["dots"], m["fit"], m["stack"]))
    if listing:
        print("\n".join(listing))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Draws real receipt words from two sets of glyph tables side by side, the way the printer
prints them: one cell per character, left to right, each haraka printed over the letter before
it and fitted against it as the composer fits it.

    /usr/bin/python3 tools/fontgen/wordpage.py --before DIR --after fonts --out docs/fonts

DIR holds the glyph tables to compare with, for instance those of an earlier commit:
    mkdir /tmp/old && for w in 10 13 18; do
        git show REV:fonts/glyphs_${w}x24.cpp > /tmp/old/glyphs_${w}x24.cpp; done
"""

import argparse
import os
import sys

from PIL import Image, ImageDraw

import measure
from specimens import FORMS, LAM_ALEF

ROWS = 24
DOT = 3
ZWNJ = 0x200C

LINES = [
    ("total", "\u0627\u0644\u0645\u062c\u0645\u0648\u0639 \u0661\u0660\u0660\u066b\u0660\u0660"),
    ("tax invoice, cash", "\u0641\u0627\u062a\u0648\u0631\u0629 \u0636\u0631\u064a\u0628\u064a"
     "\u0629 \u0646\u0642\u062f\u0627"),
    ("house, between, how", "\u0628\u064a\u062a \u0628\u064a\u0646 \u0643\u064a\u0641 "
     "\u0634\u0627\u064a"),
    ("vocalised", "\u0634\u064f\u0643\u0652\u0631\u064b\u0627 \u0644\u0650\u0632\u0650\u064a"
     "\u064e\u0627\u0631\u064e\u062a\u0650\u0643\u064f\u0645\u0652 \u0645\u064f\u062d\u064e"
     "\u0645\u0651\u064e\u062f\u064c"),
    ("Persian, ZWNJ", "\u0645\u06cc\u200c\u062e\u0648\u0627\u0647\u0645 \u0635\u0648\u0631"
     "\u062a\u200c\u062d\u0633\u0627\u0628 \u06f1\u06f2\u06f0\u066c\u06f0\u06f0\u06f0"),
    ("Riyadh, SAR, tax", "\u0627\u0644\u0631\u064a\u0627\u0636 \u0631.\u0633\u060c "
     "\u0636\u0631\u064a\u0628\u0629 \u0644\u0622 \u0644\u0623"),
    ("tanwin", "\u0634\u0643\u0631\u0627\u064b \u064a\u0648\u0645\u0627\u064b "
     "\u062a\u064e\u0645\u0652\u0631\u064d \u0622\u0645\u0646"),
    ("Persian, report", "\u06af\u0632\u0627\u0631\u0634 \u06af\u0644"),
    ("Persian", "\u067e\u0631\u062f\u0627\u062e\u062a \u0686\u0627\u06cc \u06af\u0644 "
     "\u0698\u0627\u0644\u0647"),
]


def is_mark(cp):
    return 0x064B <= cp <= 0x065F or cp == 0x0670


def shape(text):
    """Logical text to printed cells in visual order: (glyph, [marks printed over it])."""
    words = []
    for word in text.split(" "):
        letters = []  # [(sequence, marks)], ZWNJ as a break in the joining
        chars = [ord(ch) for ch in word]
        i = 0
        while i < len(chars):
            cp = chars[i]
            if is_mark(cp) and letters and letters[-1] is not None:
                letters[-1][1].append(cp)
            elif cp == ZWNJ:
                letters.append(None)
            elif cp == 0x0644 and i + 1 < len(chars) and chars[i + 1] in LAM_ALEF:
                letters.append(((0x0644, chars[i + 1]), []))
                i += 1
            else:
                letters.append(((cp,), []))
            i += 1
        cells = []
        for k, item in enumerate(letters):
            if item is None:
                continue
            seq, marks = item
            prev = letters[k - 1] if k > 0 else None
            nxt = letters[k + 1] if k + 1 < len(letters) else None
            joins_prev = prev is not None and (prev[0], "medial") in FORMS and \
                (seq, "final") in FORMS
            joins_next = nxt is not None and (seq, "medial") in FORMS and \
                (nxt[0], "final") in FORMS
            if (seq, "initial") not in FORMS and (seq, "medial") not in FORMS:
                joins_next = False
            form = {(True, True): "medial", (False, True): "initial",
                    (True, False): "final", (False, False): "isolated"}[(joins_prev, joins_next)]
            if (seq, form) not in FORMS and form == "medial":
                form = "final"
            cp = FORMS.get((seq, form), FORMS.get((seq, "isolated"), seq[0]))
            cells.append((cp, marks))
        visual = []
        run = []
        for cell in reversed(cells):
            if 0x0660 <= cell[0] <= 0x066C or 0x06F0 <= cell[0] <= 0x06F9:
                run.insert(0, cell)
            else:
                visual.extend(run)
                run = []
                visual.append(cell)
        visual.extend(run)
        words.append(visual)
    line = []
    for word in reversed(words):
        line.extend(word)
        line.append(None)
    return line[:-1]


def print_cell(table, width, cp, marks):
    """The dots the cell shows: the letter, then each mark fitted as the composer fits it."""
    if cp not in table:
        return set()
    rec, _ = table[cp]
    dots = measure.picture(rec, width)
    placement = tuple(rec[:4])
    for mark in marks:
        if mark not in table:
            continue
        mrec, _ = table[mark]
        moved, placement = measure.fit(measure.picture(mrec, width), tuple(mrec[:4]), placement)
        dots |= moved
    return dots


def draw_line(sheet, x, y, table, width, cells):
    d = ImageDraw.Draw(sheet)
    for cell in cells:
        if cell is not None:
            for c, r in print_cell(table, width, *cell):
                px, py = x + c * DOT, y + r * DOT
                d.rectangle([px, py, px + DOT - 1, py + DOT - 1], fill="black")
        x += width * DOT


def page(before, after, width, path):
    lines = [(label, shape(text)) for label, text in LINES]
    cells = max(len(line) for _, line in lines)
    label_w = 150
    row_h = ROWS * DOT
    sheet = Image.new("RGB", (label_w + cells * width * DOT + 20,
                              len(lines) * (2 * row_h + 18) + 30), "white")
    d = ImageDraw.Draw(sheet)
    d.text((10, 8), "%d x 24: before (grey label) and after, as printed" % width, fill="black")
    y = 30
    for label, line in lines:
        d.text((10, y + row_h // 2), label + ", before", fill=(120, 120, 120))
        draw_line(sheet, label_w, y, before, width, line)
        y += row_h
        d.text((10, y + row_h // 2), label + ", after", fill="black")
        draw_line(sheet, label_w, y, after, width, line)
        y += row_h + 18
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--before", required=True)
    parser.add_argument("--after", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    before, after = measure.read_tables(args.before), measure.read_tables(args.after)
    os.makedirs(args.out, exist_ok=True)
    for width in measure.WIDTHS:
        page(before[width], after[width], width,
             os.path.join(args.out, "before-after-%dx24.png" % width))
    return 0


if __name__ == "__main__":
    sys.exit(main())

# SPDX-License-Identifier: Apache-2.0
"""Contact sheets of the generated fonts, for people to look at (PNG; a few are kept in docs/fonts).

write_all(fonts, folder) writes
  glyphs_WWx24_pN.png  every glyph of a font, enlarged on a dot grid, with its code point;
  words_WWx24.png      joined Arabic and Farsi words, Japanese, a box-drawing frame and shades,
                       printed as consecutive cells the way the printer prints a line.
"""

import os
import unicodedata

from PIL import Image, ImageDraw

DOT = 4  # screen pixels per printer dot on the glyph pages
WORD_DOT = 3  # and on the word pages
PER_PAGE = 120
ROWS = 24

# Arabic and Farsi sample words, in reading order.
WORDS = [
    "\u0628\u0633\u0645 \u0627\u0644\u0644\u0647",  # bism allah
    "\u0645\u0631\u062d\u0628\u0627 \u0628\u0643\u0645",  # marhaban bikum
    "\u0627\u0644\u0645\u062c\u0645\u0648\u0639 \u0661\u0662\u0663",  # al-majmu' 123
    "\u0634\u0643\u0631\u0627 \u0644\u0643\u0645",  # shukran lakum
    "\u0641\u0627\u062a\u0648\u0631\u0647 \u067e\u0631\u062f\u0627\u062e\u062a",  # Farsi
    "\u0633\u0644\u0627\u0645 \u06af\u0686 \u0698\u06a9\u06cc",  # Farsi letters
    "\u0644\u0644\u0639\u0637\u0644 \u0645\u0639\u0647\u0645 \u0628\u06cc\u0646",
]
JAPANESE = ("\u30ec\u30b7\u30fc\u30c8\u3001\u300c\u5186\u300d\u5e74\u6708\u65e5\u3002"
            "\u30ac\u30d1\u3012")
BOX_FRAME = [
    "\u2554\u2550\u2550\u2566\u2550\u2550\u2557 \u250c\u2500\u2500\u252c\u2500\u2500\u2510",
    "\u2551\u2591\u2592\u2551\u2593\u2588\u2551 \u2502\u2580\u2584\u2502\u2588\u2591\u2502",
    "\u2560\u2550\u2550\u256c\u2550\u2550\u2563 \u251c\u2500\u2500\u253c\u2500\u2500\u2524",
    "\u2551\u2591\u2591\u2551\u2592\u2592\u2551 \u2502\u2593\u2593\u2502\u2592\u2592\u2502",
    "\u255a\u2550\u2550\u2569\u2550\u2550\u255d \u2514\u2500\u2500\u2534\u2500\u2500\u2518",
]


def _forms():
    """{(base letter, form): presentation form} from the Unicode decompositions."""
    table = {}
    for cp in list(range(0xFB50, 0xFE00)) + list(range(0xFE70, 0xFF00)):
        dec = unicodedata.decomposition(chr(cp)).split()
        if len(dec) >= 2 and dec[0] in ("<initial>", "<medial>", "<final>", "<isolated>"):
            table.setdefault((tuple(int(x, 16) for x in dec[1:]), dec[0][1:-1]), cp)
    return table


FORMS = _forms()


LAM_ALEF = (0x0622, 0x0623, 0x0625, 0x0627)  # lam followed by these is one ligature


def shape_word(text):
    """Logical Arabic text -> presentation forms in printing (visual, left-to-right) order."""
    letters = []
    i = 0
    chars = [ord(ch) for ch in text]
    while i < len(chars):
        # lam + alef variants are one ligature
        if chars[i] == 0x0644 and i + 1 < len(chars) and chars[i + 1] in LAM_ALEF:
            letters.append((0x0644, chars[i + 1]))
            i += 2
            continue
        letters.append((chars[i],))
        i += 1

    def has(seq, form):
        return (seq, form) in FORMS

    out = []
    for k, seq in enumerate(letters):
        prev = letters[k - 1] if k > 0 else None
        nxt = letters[k + 1] if k + 1 < len(letters) else None
        joins_prev = prev is not None and has(prev, "medial") and has(seq, "final")
        joins_next = nxt is not None and has(seq, "medial") and has(nxt, "final")
        if not has(seq, "initial") and not has(seq, "medial"):
            joins_next = False
        form = {(True, True): "medial", (False, True): "initial",
                (True, False): "final", (False, False): "isolated"}[(joins_prev, joins_next)]
        if not has(seq, form) and form == "medial" and has(seq, "final"):
            form = "final"
        cp = FORMS.get((seq, form), FORMS.get((seq, "isolated"), seq[0]))
        out.append(cp)
    # Digits keep their own order inside a right-to-left line.
    visual = []
    run = []
    for cp in reversed(out):
        if 0x0660 <= cp <= 0x0669 or 0x06F0 <= cp <= 0x06F9:
            run.insert(0, cp)
        else:
            visual.extend(run)
            run = []
            visual.append(cp)
    visual.extend(run)
    return visual


def _glyph_image(rec, width, dot):
    img = Image.new("RGB", (width * dot, ROWS * dot), "white")
    d = ImageDraw.Draw(img)
    for c in range(width):
        v = rec[4 + 3 * c] << 16 | rec[5 + 3 * c] << 8 | rec[6 + 3 * c]
        for r in range(ROWS):
            x, y = c * dot, r * dot
            if v >> (23 - r) & 1:
                d.rectangle([x, y, x + dot - 1, y + dot - 1], fill="black")
            elif dot >= 3:
                d.point([x + dot // 2, y + dot // 2], fill=(170, 170, 170))
    return img


def glyph_pages(width, entries, folder, record_of):
    cols = 12 if width >= 18 else 15
    cell_w = width * DOT + 8
    cell_h = ROWS * DOT + 22
    names = []
    for page, start in enumerate(range(0, len(entries), PER_PAGE)):
        chunk = entries[start:start + PER_PAGE]
        nrows = (len(chunk) + cols - 1) // cols
        sheet = Image.new("RGB", (cols * cell_w + 8, nrows * cell_h + 8), (235, 235, 235))
        d = ImageDraw.Draw(sheet)
        for i, (cp, flag, g) in enumerate(chunk):
            x = 8 + (i % cols) * cell_w
            y = 8 + (i // cols) * cell_h
            label = "%04X" % cp + ("/%X" % flag if flag else "")
            d.text((x, y), label, fill=(0, 0, 160))
            sheet.paste(_glyph_image(record_of(g), width, DOT), (x, y + 12))
            # the base line of Arabic letters and the connector row, as faint marks
            d.line([x - 3, y + 12 + 16 * DOT - 1, x - 1, y + 12 + 16 * DOT - 1], fill="red")
        name = "glyphs_%dx24_p%d.png" % (width, page + 1)
        sheet.save(os.path.join(folder, name))
        names.append(name)
    return names


def words_page(width, entries, folder, record_of):
    by_cp = {cp: g for cp, _, g in entries}
    lines = []
    for text in WORDS:
        visual = []
        for word in reversed(text.split(" ")):  # words of a right-to-left line, right first
            visual.extend(shape_word(word))
            visual.append(None)
        lines.append(visual[:-1])
    lines.append([ord(ch) for ch in JAPANESE])
    lines.extend([[ord(ch) if ch != " " else None for ch in row] for row in BOX_FRAME])
    max_cells = max(len(line) for line in lines)
    line_gap = 6
    sheet = Image.new("RGB", (max_cells * width * WORD_DOT + 20,
                              len(lines) * (ROWS * WORD_DOT + line_gap) + 20), "white")
    y = 10
    for k, line in enumerate(lines):
        x = 10
        for cp in line:
            if cp is not None and cp in by_cp:
                sheet.paste(_glyph_image(record_of(by_cp[cp]), width, WORD_DOT), (x, y))
            x += width * WORD_DOT
        # box-drawing rows stand directly on each other, as on paper without line spacing
        is_box = k >= len(lines) - len(BOX_FRAME)
        y += ROWS * WORD_DOT + (0 if is_box else line_gap)
    name = "words_%dx24.png" % width
    sheet.save(os.path.join(folder, name))
    return name


def write_all(fonts, folder, record_of=None):
    os.makedirs(folder, exist_ok=True)
    if record_of is None:
        def record_of(g):
            return g.record()
    written = []
    for width, entries in sorted(fonts.items()):
        written += glyph_pages(width, entries, folder, record_of)
        if width != 24:
            written.append(words_page(width, entries, folder, record_of))
    print("specimens: " + ", ".join(written) + " in " + folder)
    return written

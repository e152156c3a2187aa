// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.text.Normalizer;
import java.util.Arrays;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.Map;
import zelvar.printer.api.android.nat.nativef;

/**
 * What becomes of each character under one printer profile, code page and font width: drawn by
 * the library (with which font), sent as text for the printer's resident font, printed over the
 * previous character, replaced or left out; and how many dots it takes.
 */
final class Characters {
    // What becomes of one character.
    static final int INVISIBLE = 0;
    static final int DRAWN = 1; // drawn by the library, with fontOf(c)
    static final int RESIDENT = 3;
    static final int RESIDENT_MARK = 4; // sent after a BS, over its letter
    static final int REPLACED = 5;
    static final int DROPPED = 6;

    /** Dots of a resident single-byte character (the printer's 12 x 24 font). */
    static final int RESIDENT_CELL = 12;
    /** Dots of a resident double-byte character, and of the library's wide ideographs. */
    static final int DOUBLE_CELL = 24;
    private static final int FRAME_FONT = 13;
    /** The widest font that holds box characters: the 24-dot font has none. */
    private static final int WIDEST_FRAME_FONT = 18;
    private static final int YEN = 0x00A5;
    // The fonts a character that the chosen font lacks is drawn with, the widest first.
    private static final int[] OTHER_FONTS = {18, 13, 10};
    // The narrow font whose kana and kanji are drawn nearest their square.
    private static final int CJK_FONT = 18;

    // Whether a code point can be drawn, per font width: 0 not asked yet, 1 yes, 2 no. The answer
    // depends on the font alone (the code page only admits a request), so it is shared.
    private static final byte[][] DRAWABLE = new byte[DOUBLE_CELL + 1][];
    private static final Map<Integer, CodePages.Resident> RESIDENTS = new LinkedHashMap<>();
    // What a character is printed as when neither the fonts, the code page nor its compatibility
    // form can print it: the shekel sign as its abbreviation, signs as their ASCII look-alikes.
    private static final Map<Integer, String> SUBSTITUTES = new HashMap<>();

    static {
        SUBSTITUTES.put(0x20AA, "ש\"ח"); // new shekel sign
        SUBSTITUTES.put(0x00D7, "x"); // multiplication sign
        SUBSTITUTES.put(0x2212, "-"); // minus sign
        SUBSTITUTES.put(0x05F4, "\""); // Hebrew gershayim
        SUBSTITUTES.put(0x05F3, "'"); // Hebrew geresh
        SUBSTITUTES.put(0x05BE, "-"); // Hebrew maqaf
    }

    final int codePage;
    final int width;
    /** The font of box characters: at least a resident cell wide, so frame lines join. */
    final int boxFont;
    /** The cell grid of frame lines. */
    final int gridPitch;
    final boolean doubleByte;
    private final boolean kanjiText;
    // The profile has no code table for the code page: only ASCII is sent as text.
    private final boolean asciiOnly;
    private final CodePages.Resident resident;
    /**
     * Arabic is set at its natural width (each letter with only the columns it needs); false keeps
     * every drawn character in its font's cell.
     */
    boolean naturalWidth = true;
    /** The break a zero-width non-joiner leaves between two letters set at natural width. */
    static final int ZWNJ = 0x200C;
    static final int ZWNJ_BREAK = 4;

    Characters(PrinterProfile profile, int codePage, int width) {
        this.codePage = codePage;
        this.width = width;
        // Box characters are drawn at least as wide as a resident cell, so that a frame's lines
        // join across the cells of its text: the 10-dot font's are drawn by the 13-dot font. The
        // 24-dot font has none, and 18-dot ones on a 24-dot grid would print a frame dashed.
        this.boxFont = width < RESIDENT_CELL ? FRAME_FONT : Math.min(width, WIDEST_FRAME_FONT);
        this.gridPitch = Math.max(boxFont, RESIDENT_CELL);
        this.doubleByte = CodePages.isDoubleByte(codePage);
        this.kanjiText = doubleByte && profile.hasKanjiFont();
        this.asciiOnly = CodePages.isSingleByte(codePage) && !profile.hasCodeTable(codePage);
        this.resident = residentFor(codePage);
        int key = (codePage * 32 + width) * 4 + (kanjiText ? 2 : 0) + (asciiOnly ? 1 : 0);
        synchronized (ANSWERS) {
            int[][] shared = ANSWERS.get(key);
            if (shared == null) ANSWERS.put(key, shared = new int[0x1100][]);
            this.answers = shared;
        }
    }

    static CodePages.Resident residentFor(int codePage) {
        synchronized (RESIDENTS) {
            CodePages.Resident r = RESIDENTS.get(codePage);
            if (r == null) {
                r = new CodePages.Resident(codePage);
                RESIDENTS.put(codePage, r);
            }
            return r;
        }
    }

    // What classify and fontOf answered, per code point: (font << 3 | kind) + 1, 0 when not asked
    // yet; in pages of 256 made as text reaches them, since a receipt touches few. The answers
    // depend only on the code page, the width and two abilities of the profile, so encoders that
    // share them share their answers; a page or an answer written twice is written alike.
    private static final Map<Integer, int[][]> ANSWERS = new HashMap<>();
    private final int[][] answers;

    private int answer(int c) {
        if (c < 0 || c > Character.MAX_CODE_POINT) return REPLACED;
        int[] page = answers[c >>> 8];
        if (page == null) {
            synchronized (answers) {
                page = answers[c >>> 8];
                if (page == null) page = answers[c >>> 8] = new int[256];
            }
        }
        int a = page[c & 0xFF];
        if (a == 0) a = page[c & 0xFF] = (findFont(c) << 3 | findKind(c)) + 1;
        return a - 1;
    }

    /** What becomes of a character in this code page and font width. */
    int classify(int c) { return answer(c) & 7; }

    /**
     * The font width a character is drawn with, or 0 when it is sent as text or replaced (see
     * {@link #findFont}).
     */
    int fontOf(int c) { return answer(c) >>> 3; }

    private int findKind(int c) {
        if (isInvisible(c)) return INVISIBLE;
        if (kanjiText && isCjk(c)) {
            // The printer's own Kanji font prints CJK text at its own size, like the rest.
            byte[] bytes = resident.encode(c);
            if (bytes != null && bytes.length == 2) return RESIDENT;
        }
        if (findFont(c) > 0) return DRAWN;
        if (residentBytes(c) != null) return isMark(c) ? RESIDENT_MARK : RESIDENT;
        return isMark(c) ? DROPPED : REPLACED;
    }

    /**
     * The font width a character is drawn with, or 0 when it is sent as text or replaced. Box
     * characters come from the frame font, kana and kanji from the 18-dot font under a narrower
     * one, the rest from the chosen font, and the wide ideographs from the 24-dot font. What those
     * lack is drawn by the widest other font that holds it when the printer cannot print it either,
     * and always for Arabic script, whose letters the printer would print unjoined (so under the
     * 24-dot width, which holds no Arabic, Arabic comes from the 18-dot font), and for the yen sign
     * under the Japanese code page, whose byte most printers print as a backslash.
     */
    private int findFont(int c) {
        if (isBox(c) && boxFont != width && drawable(c, boxFont)) return boxFont;
        // Kana and kanji are square: squeezed into 10 or 13 columns they read as half of one.
        if (isCjk(c) && width < CJK_FONT && drawable(c, CJK_FONT)) return CJK_FONT;
        if (drawable(c, width)) return width;
        if (width != DOUBLE_CELL && drawable(c, DOUBLE_CELL)) return DOUBLE_CELL;
        boolean drawnFirst = Character.UnicodeScript.of(c) == Character.UnicodeScript.ARABIC
            || (doubleByte && c == YEN);
        if (!drawnFirst && residentBytes(c) != null) return 0;
        for (int font : OTHER_FONTS) {
            if (font != width && drawable(c, font)) return font;
        }
        return 0;
    }

    /**
     * The resident bytes of a character, or null. A joined Arabic form that the code page lacks
     * is sent as its letters, which the printer prints unjoined.
     */
    byte[] residentBytes(int c) {
        // Without a code table for the code page the printer's own table is unknown beyond
        // ASCII.
        if (asciiOnly) return c < 0x80 ? new byte[] {(byte) c} : null;
        byte[] bytes = resident.encode(c);
        if (bytes != null) {
            if (bytes.length == 2 && !kanjiText) return null; // no Kanji font to print it
            // Outside Kanji mode the printer reads a single byte above ASCII through its
            // single-byte table, not as the half-width katakana of the Japanese code page.
            if (doubleByte && bytes.length == 1 && bytes[0] < 0) return null;
            return bytes;
        }
        if (!isArabicPresentationForm(c)) return null;
        String letters =
            Normalizer.normalize(new String(Character.toChars(c)), Normalizer.Form.NFKC);
        if (letters.length() == 1 && letters.charAt(0) == c) return null;
        Bytes all = new Bytes(4);
        // The letters come in reading order; the printer prints right-to-left letters reversed.
        for (int i = letters.length() - 1; i >= 0; --i) {
            byte[] b = resident.encode(letters.charAt(i));
            if (b == null || b.length != 1) return null;
            all.write(b);
        }
        return Arrays.copyOf(all.data(), all.size());
    }

    /**
     * The text with each character that nothing could print replaced by its compatibility form
     * (NFKC: full-width digits and Latin, half-width katakana, ligatures) where every character of
     * that form prints; each such replacement is noted.
     */
    int[] withFallbacks(int[] text, Notes notes) {
        int[] out = null;
        int n = 0;
        for (int i = 0; i < text.length; ++i) {
            int c = text[i];
            int[] form = classify(c) == REPLACED ? printableForm(c) : null;
            if (form == null && out == null) continue;
            if (out == null) {
                out = Arrays.copyOf(text, text.length + 4);
                n = i;
            }
            if (form == null) {
                out = put(out, n++, c);
                continue;
            }
            notes.add(Note.Kind.SUBSTITUTED, c);
            for (int f : form) out = put(out, n++, f);
        }
        return out == null ? text : Arrays.copyOf(out, n);
    }

    private int[] printableForm(int c) {
        String form = Normalizer.normalize(new String(Character.toChars(c)), Normalizer.Form.NFKC);
        int[] cps = form.codePoints().toArray();
        if (cps.length > 0 && !(cps.length == 1 && cps[0] == c) && prints(cps)) return cps;
        String substitute = SUBSTITUTES.get(c);
        if (substitute == null) return null;
        cps = substitute.codePoints().toArray();
        return prints(cps) ? cps : null;
    }

    private boolean prints(int[] text) {
        for (int f : text) {
            int kind = classify(f);
            if (kind == REPLACED || kind == DROPPED) return false;
        }
        return true;
    }

    private static int[] put(int[] a, int i, int c) {
        if (i == a.length) a = Arrays.copyOf(a, a.length * 2 + 4);
        a[i] = c;
        return a;
    }

    /** The dots a character takes, as far as can be told before the line is reordered. */
    int measure(int c) {
        switch (classify(c)) {
            case DRAWN:
                return fontOf(c);
            case RESIDENT:
            case RESIDENT_MARK:
                byte[] bytes = residentBytes(c);
                return bytes == null ? RESIDENT_CELL : RESIDENT_CELL * bytes.length;
            case REPLACED:
                return RESIDENT_CELL;
            default:
                return 0;
        }
    }

    /**
     * The dots of each character of a line in reading order. A mark prints over the character
     * before it (the printer moves back one cell and prints the mark there), so it takes only
     * what it is wider than that cell: nothing over a drawn letter of its font, a dot over a
     * 12-dot resident space at the 13-dot width; at the line's start it takes its whole width.
     */
    int[] widths(int[] text, int from, int to, boolean frame) {
        int[] w = new int[to - from];
        int cell = 0; // the width of the cell a mark would print over
        for (int i = from; i < to; ++i) {
            int c = text[i];
            int dots = frame ? cells(c) * gridPitch : measure(c);
            if (c == ZWNJ && naturalWidth && !frame) dots = ZWNJ_BREAK;
            if (isMark(c) && dots > 0 && i > from && !frame) {
                int over = Math.max(cell, dots);
                w[i - from] = over - cell;
                cell = over;
                continue;
            }
            if (dots > 0) cell = dots;
            w[i - from] = dots;
        }
        return w;
    }

    /** Grid cells of a character on a frame line. */
    int cells(int c) {
        int dots = measure(c);
        return (dots + gridPitch - 1) / gridPitch;
    }

    static boolean drawable(int c, int width) {
        if (c < 0 || c >= 0x10000) {
            return nativef.CharAvailable(c, 1256, width, NativeDraw.FONT_HEIGHT);
        }
        byte[] table;
        synchronized (DRAWABLE) {
            table = DRAWABLE[width];
            if (table == null) table = DRAWABLE[width] = new byte[0x10000];
        }
        byte known = table[c];
        if (known == 0) {
            // Any served code page admits the question; the font alone answers it.
            known = nativef.CharAvailable(c, 1256, width, NativeDraw.FONT_HEIGHT) ? (byte) 1 : 2;
            table[c] = known;
        }
        return known == 1;
    }

    /**
     * What prints nothing: the format characters (the zero-width no-break space a lam-alef
     * ligature leaves, zero-width space, joiner and non-joiner, soft hyphen, word joiner, and the
     * bidirectional marks and controls).
     */
    static boolean isInvisible(int c) { return Character.getType(c) == Character.FORMAT; }

    static boolean isMark(int c) {
        int type = Character.getType(c);
        return type == Character.NON_SPACING_MARK || type == Character.ENCLOSING_MARK;
    }

    static boolean isBox(int c) {
        return c >= 0x2500 && c <= 0x259F; // box drawing and block elements
    }

    static boolean hasBoxCharacters(int[] text) {
        for (int c : text) {
            if (isBox(c)) return true;
        }
        return false;
    }

    /** Kana, ideographs, CJK punctuation and full-width forms: text a Kanji font prints. */
    static boolean isCjk(int c) {
        return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF)
            || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF)
            || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF60)
            || (c >= 0xFFE0 && c <= 0xFFE6);
    }

    static boolean isArabicPresentationForm(int c) {
        return (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFC);
    }

    /** Joins the character printed at its right (the one before it in reading order). */
    static final int JOINS_RIGHT = 1;
    /** Joins the character printed at its left. */
    static final int JOINS_LEFT = 2;
    /** Tatweel and its forms with a mark: a stroke that joins both sides and keeps its length. */
    static final int KASHIDA = 4;
    // joining() per code point of the Arabic blocks, plus 1; 0 when not asked yet.
    private static final byte[] JOINING = new byte[0x300 + 0x4B0];

    /** The Arabic blocks, whose drawn characters are set at their natural width. */
    static boolean isArabicBlock(int c) {
        return (c >= 0x0600 && c <= 0x08FF) || (c >= 0xFB50 && c <= 0xFDFF)
            || (c >= 0xFE70 && c <= 0xFEFF);
    }

    /**
     * How a shaped Arabic character joins its neighbours on the line, as the printer prints it
     * left to right: {@link #JOINS_RIGHT}, {@link #JOINS_LEFT}, {@link #KASHIDA}, or 0. A final
     * form joins the letter before it, which right-to-left text prints at its right; the shaper
     * leaves only presentation forms and tatweel joined.
     */
    static int joining(int c) {
        int slot = c >= 0x0600 && c < 0x0900 ? c - 0x0600
            : c >= 0xFB50 && c < 0x10000     ? 0x300 + c - 0xFB50
                                             : -1;
        if (slot < 0) return 0;
        int known = JOINING[slot];
        if (known == 0) {
            known = findJoining(c) + 1;
            JOINING[slot] = (byte) known; // the same answer whoever writes it
        }
        return known - 1;
    }

    private static int findJoining(int c) {
        if (c == 0x0640 || c == 0xFE71) return KASHIDA | JOINS_RIGHT | JOINS_LEFT;
        String name = Character.getName(c);
        if (name == null || !isArabicPresentationForm(c)) return 0;
        // The medial forms of the marks (FE77, FE79, ...) are tatweel with the mark.
        if (name.endsWith("MEDIAL FORM")) {
            int both = JOINS_RIGHT | JOINS_LEFT;
            return name.contains("LETTER") || name.contains("LIGATURE") ? both : both | KASHIDA;
        }
        if (name.endsWith("FINAL FORM")) return JOINS_RIGHT;
        if (name.endsWith("INITIAL FORM")) return JOINS_LEFT;
        return 0;
    }

    static boolean isArabicLetter(int c) {
        // The Arabic blocks by range: this runs for every drawn character.
        boolean arabic = (c >= 0x0620 && c <= 0x06FF) || (c >= 0x0750 && c <= 0x077F)
            || (c >= 0x08A0 && c <= 0x08FF) || isArabicPresentationForm(c);
        return arabic && Character.isLetter(c);
    }

    /** The direction of the first strong character: 1 right to left, -1 left to right, 0 none. */
    static int firstStrong(int[] text) {
        for (int c : text) {
            switch (Character.getDirectionality(c)) {
                case Character.DIRECTIONALITY_LEFT_TO_RIGHT:
                    return -1;
                case Character.DIRECTIONALITY_RIGHT_TO_LEFT:
                case Character.DIRECTIONALITY_RIGHT_TO_LEFT_ARABIC:
                    return 1;
                default:
                    break;
            }
        }
        return 0;
    }
}

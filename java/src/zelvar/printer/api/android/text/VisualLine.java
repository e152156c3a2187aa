// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.Arrays;
import zelvar.printer.api.android.nat.nativef;

/**
 * One printed line in printing order. The printer prints left to right, so the line goes through
 * the library's reordering (which also joins Arabic letters), with the paragraph's direction
 * passed first so that a continuation line reads in the direction of its paragraph. The characters
 * that only steer the reordering stay in the line and print nothing.
 */
final class VisualLine {
    private static final int RLM = 0x200F;
    private static final int LRM = 0x200E;
    private static final int SHADDA = 0x0651;
    private static final int LAM = 0x0644;
    private static final int ALEF = 0x0627;
    private static final int FATHATAN = 0x064B;
    // The ligatures of lam with alef with hamza below, which the fonts lack, and what prints them:
    // the plain ligatures with the hamza below as a mark.
    private static final int LAM_ALEF_HAMZA_BELOW_ISOLATED = 0xFEF9;
    private static final int LAM_ALEF_HAMZA_BELOW_FINAL = 0xFEFA;
    private static final int LAM_ALEF_ISOLATED = 0xFEFB;
    private static final int LAM_ALEF_FINAL = 0xFEFC;
    private static final int HAMZA_BELOW = 0x0655;
    /** What the reordering leaves in the cell of the second letter of a lam-alef ligature. */
    static final int LIGATURE_FILLER = 0xFEFF;

    private static final int LRI = 0x2066; // left-to-right isolate
    private static final int PDI = 0x2069; // pop directional isolate

    private VisualLine() {}

    /**
     * The line with each number that holds a separator (a date, a time, a phone, card or invoice
     * number, an amount) or starts with a minus set apart as a left-to-right isolate, so that it
     * prints in the order written in every context: without it, Arabic context turns the groups
     * of {@code 021-88776655} or {@code 2026-12-08} around. The isolates print nothing.
     */
    static int[] numbersIsolated(int[] text) {
        // Only right-to-left text moves numbers about; a line without it is left alone.
        if (!hasRightToLeft(text)) return text;
        int[] out = null;
        int n = 0;
        for (int i = 0; i < text.length;) {
            int end = numberEnd(text, i);
            if (end < 0) {
                if (out != null) out[n++] = text[i];
                ++i;
                continue;
            }
            if (out == null) {
                out = Arrays.copyOf(text, text.length * 3);
                n = i;
            }
            out[n++] = LRI;
            while (i < end) out[n++] = text[i++];
            out[n++] = PDI;
        }
        return out == null ? text : Arrays.copyOf(out, n);
    }

    /** The end of a number with a separator or a minus that starts at {@code i}, or -1. */
    private static int numberEnd(int[] text, int i) {
        boolean minus = (text[i] == '-' || text[i] == 0x2212) && i + 1 < text.length
            && Character.isDigit(text[i + 1])
            && (i == 0 || !Character.isLetterOrDigit(text[i - 1]));
        int j = minus ? i + 1 : i;
        if (j >= text.length || !Character.isDigit(text[j])) return -1;
        if (!minus && i > 0 && Character.isDigit(text[i - 1])) return -1;
        boolean separated = false;
        while (j < text.length) {
            if (Character.isDigit(text[j])) {
                ++j;
            } else if (isSeparator(text[j]) && j + 1 < text.length
                && Character.isDigit(text[j + 1])) {
                separated = true;
                j += 2;
            } else {
                break;
            }
        }
        return minus || separated ? j : -1;
    }

    /**
     * The line with the marks of a lam that an alef follows moved after the alef and its own
     * marks. The reordering joins lam and alef into their ligature only where they stand side by
     * side, so a vocalised لَا or الْإِ printed as lam and alef apart, a form no reader expects;
     * the marks then stand over and under the ligature. Where lam and alef both carry a mark on
     * one side (لَأَ), the two would stack into another mark, and the lam keeps its marks.
     */
    private static int[] lamAlefJoined(int[] text) {
        int[] out = text;
        for (int i = 0; i + 2 < text.length; ++i) {
            if (text[i] != LAM || !Characters.isMark(text[i + 1])) continue;
            int alef = i + 1;
            while (alef < text.length && Characters.isMark(text[alef])) ++alef;
            if (alef == text.length || !isAlef(text[alef])) continue;
            int end = alef + 1;
            while (end < text.length && Characters.isMark(text[end])) ++end;
            if ((sides(text, i + 1, alef) & sides(text, alef + 1, end)) != 0) continue;
            if (out == text) out = text.clone();
            int n = i + 1;
            out[n++] = text[alef];
            for (int k = alef + 1; k < end; ++k) out[n++] = text[k];
            for (int k = i + 1; k < alef; ++k) out[n++] = text[k];
            i = end - 1;
        }
        return out;
    }

    /** The sides of the letter the marks from..to stand on: 1 above, 2 below. */
    private static int sides(int[] text, int from, int to) {
        int sides = 0;
        for (int k = from; k < to; ++k) {
            int c = text[k];
            // kasratan, kasra, hamza below, subscript alef
            boolean below = c == 0x064D || c == 0x0650 || c == 0x0655 || c == 0x0656;
            sides |= below ? 2 : 1;
        }
        return sides;
    }

    /**
     * The line with a fathatan written over a word's last alef moved onto the letter before the
     * alef, where type also sets it (شكراً as شكرًا). Over the alef the two strokes find no room
     * under the line's top and stand side by side, where readers take them for the vowels of two
     * letters; over a short letter they stand one over the other. A tall letter, one with dots
     * over it or one with marks of its own leaves the tanwin where it was written.
     */
    private static int[] tanwinBeforeAlef(int[] text) {
        int[] out = text;
        for (int i = 1; i + 1 < text.length; ++i) {
            if (text[i] != ALEF || text[i + 1] != FATHATAN) continue;
            if (i + 2 < text.length && Characters.isMark(text[i + 2])) continue;
            int before = text[i - 1];
            if (!Characters.isArabicLetter(before) || !leavesRoomAbove(before)) continue;
            if (out == text) out = text.clone();
            out[i] = FATHATAN;
            out[i + 1] = ALEF;
        }
        return out;
    }

    /**
     * Whether a letter leaves a tanwin room to stand over it as two vowels one over the other:
     * not a tall letter (alef, tah, zah, kaf, lam), nor one with dots or a hamza over it.
     */
    private static boolean leavesRoomAbove(int c) { return NO_ROOM_ABOVE.indexOf(c) < 0; }

    private static final String NO_ROOM_ABOVE = "ءآأؤإئاتثخذزشضطظغفقكلنژکگ";

    private static boolean isAlef(int c) {
        return c == 0x0627 || c == 0x0622 || c == 0x0623 || c == 0x0625;
    }

    private static boolean hasRightToLeft(int[] text) {
        for (int c : text) {
            byte d = Character.getDirectionality(c);
            if (d == Character.DIRECTIONALITY_RIGHT_TO_LEFT
                || d == Character.DIRECTIONALITY_RIGHT_TO_LEFT_ARABIC) {
                return true;
            }
        }
        return false;
    }

    private static boolean isSeparator(int c) {
        return c == '-' || c == '/' || c == ':' || c == '.' || c == ',' || c == 0x066B
            || c == 0x066C || c == 0x060C;
    }

    /**
     * The line in printing order, with the lam-alef-hamza-below ligatures the fonts lack printed as
     * the plain lam-alef and the hamza below, and each shadda before the other marks of its
     * letter.
     */
    static int[] of(int[] logical, boolean rtl, Characters characters) {
        if (logical.length == 0) return logical;
        int[] isolated = numbersIsolated(lamAlefJoined(tanwinBeforeAlef(logical)));
        long[] line = new long[isolated.length + 1];
        line[0] = rtl ? RLM : LRM;
        for (int i = 0; i < isolated.length; ++i) line[i + 1] = isolated[i];
        long[] reordered = nativef.ReverseTextRWC(line);
        int[] v = new int[reordered.length * 2];
        int n = 0;
        for (int i = 0; i < reordered.length; ++i) {
            int c = (int) reordered[i];
            if ((c == LAM_ALEF_HAMZA_BELOW_ISOLATED || c == LAM_ALEF_HAMZA_BELOW_FINAL)
                && characters.fontOf(HAMZA_BELOW) > 0) {
                // The fonts lack these two ligatures: the plain lam-alef with the hamza below
                // fitted under it prints the same joined shape.
                v[n++] = c == LAM_ALEF_HAMZA_BELOW_ISOLATED ? LAM_ALEF_ISOLATED : LAM_ALEF_FINAL;
                v[n++] = HAMZA_BELOW;
                continue;
            }
            v[n++] = c;
        }
        // Canonical order puts fatha and its kin before shadda, which would stack them under the
        // shadda: the shadda goes first, the other marks are fitted over it.
        for (int i = 1; i < n; ++i) {
            if (v[i] != SHADDA || !Characters.isMark(v[i - 1])) continue;
            int j = i;
            while (j > 0 && Characters.isMark(v[j - 1])) {
                v[j] = v[j - 1];
                --j;
            }
            v[j] = SHADDA;
        }
        return Arrays.copyOf(v, n);
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.text.BreakIterator;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;

/**
 * Splits a paragraph into printed lines, in reading order. The break opportunities are the
 * platform's line breaker's ({@link BreakIterator}); the widths are the characters' dots. No
 * printed line starts with a closing bracket or quote, Japanese punctuation that closes ({@code
 * 、 。 ー ・}) or a small kana, and a number ({@code 1,250}, {@code 12.50}) is never split. A word
 * longer than a line is cut where a line may start; the spaces at a break are not printed.
 */
final class LineBreaker {
    private static final int SPACE = ' ';
    // Characters that Japanese typesetting never puts at the start of a line.
    private static final String NO_LINE_START =
        "、。，．・ー：；？！ゝゞヽヾ々〻ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
        + "ｧｨｩｪｫｬｭｮｯｰ､｡･";

    // A line breaker is costly to make and not safe for two threads: one per thread, made when a
    // paragraph first needs breaking.
    private static final ThreadLocal<BreakIterator> BREAKERS = new ThreadLocal<>();

    /** The printed width of a line of reading-order text. */
    interface Measure {
        int width(int[] logical);
    }

    private final Characters characters;
    private final Locale locale;

    LineBreaker(Characters characters, Locale locale) {
        this.characters = characters;
        this.locale = locale;
    }

    private BreakIterator breaker() {
        BreakIterator b = BREAKERS.get();
        if (b == null) {
            b = BreakIterator.getLineInstance(locale);
            BREAKERS.set(b);
        }
        return b;
    }

    /**
     * The printed lines of a paragraph, each at most {@code room} dots wide. The characters'
     * widths may exceed what a line prints ({@code exact}, when not null, says how wide it
     * prints): a line then takes as many more words as fit.
     */
    List<int[]> wrap(int[] text, int room, boolean frame, Measure exact) {
        List<int[]> lines = new ArrayList<>();
        int n = text.length;
        int[] widths = characters.widths(text, 0, n, frame);
        int total = 0;
        for (int w : widths) total += w;
        if (total <= room || n == 0 || (exact != null && exact.width(text) <= room)) {
            // Most receipt lines fit: no break to look for.
            lines.add(text);
            return lines;
        }
        boolean[] opportunity = opportunities(text);
        int start = 0;
        while (start < n) {
            // A line that starts with a mark gives the mark a cell of its own.
            if (start > 0) widths = characters.widths(text, start, n, frame);
            int x = 0;
            int end = n;
            for (int i = start; i < n; ++i) {
                int w = widths[i - start];
                // Spaces at the end of a line are not printed, so they never overflow it.
                if (text[i] != SPACE && x + w > room && i > start) {
                    end = breakAt(text, opportunity, start, i);
                    break;
                }
                x += w;
            }
            if (exact != null) {
                for (int b = end + 1; b <= n; ++b) {
                    if (b < n && !opportunity[b]) continue;
                    int last = b;
                    while (last > start && text[last - 1] == SPACE && b < n) --last;
                    if (exact.width(Arrays.copyOfRange(text, start, last)) > room) break;
                    end = b;
                }
            }
            int stop = end;
            while (stop > start && text[stop - 1] == SPACE && end < n) --stop;
            lines.add(Arrays.copyOfRange(text, start, stop));
            start = end;
            while (start < n && text[start] == SPACE && end < n) ++start;
        }
        if (lines.isEmpty()) lines.add(new int[0]);
        return lines;
    }

    /**
     * Where the line that overflows at {@code overflow} ends: at the last opportunity that leaves
     * something besides spaces on it, or, in a word longer than the line, at the last character
     * that may start a line.
     */
    private static int breakAt(int[] text, boolean[] opportunity, int start, int overflow) {
        boolean content = false;
        int best = -1;
        for (int b = start + 1; b <= overflow; ++b) {
            content |= text[b - 1] != SPACE;
            if (content && opportunity[b]) best = b;
        }
        if (best > 0) return best;
        for (int b = overflow; b > start; --b) {
            if (mayStartLine(text, b) && !splitsNumber(text, b)) return b;
        }
        // Where no break keeps every rule (a line of three cells cannot), a small kana or a
        // prolonged sound mark may start a line rather than punctuation that closes.
        for (int b = overflow; b > start; --b) {
            if (!closes(text[b]) && !Characters.isMark(text[b])) return b;
        }
        return overflow;
    }

    /** Where a line may start: the line breaker's opportunities that the rules above allow. */
    private boolean[] opportunities(int[] text) {
        boolean[] at = new boolean[text.length + 1];
        if (text.length == 0) return at;
        String s = new String(text, 0, text.length);
        int[] index = new int[s.length() + 1]; // char index -> code point index
        for (int cp = 0, ch = 0; cp < text.length; ++cp) {
            index[ch] = cp;
            ch += Character.charCount(text[cp]);
        }
        index[s.length()] = text.length;
        BreakIterator breaker = breaker();
        breaker.setText(s);
        for (int b = breaker.next(); b != BreakIterator.DONE; b = breaker.next()) {
            int cp = index[b];
            if (cp < text.length && mayStartLine(text, cp) && !splitsNumber(text, cp)) {
                at[cp] = true;
            }
        }
        return at;
    }

    private static boolean mayStartLine(int[] text, int b) {
        int c = text[b];
        if (Characters.isMark(c) || Characters.isInvisible(c) || closes(c)) return false;
        return NO_LINE_START.indexOf(c) < 0;
    }

    /** Closing brackets and quotes, and the Japanese comma and full stop. */
    private static boolean closes(int c) {
        int type = Character.getType(c);
        return type == Character.END_PUNCTUATION || type == Character.FINAL_QUOTE_PUNCTUATION
            || c == '、' || c == '。' || c == '，' || c == '．' || c == '､' || c == '｡';
    }

    /** Whether a break before {@code b} falls inside a number such as 1,250 or 12.50. */
    private static boolean splitsNumber(int[] text, int b) {
        if (b == 0 || !Character.isDigit(text[b])) return false;
        int before = text[b - 1];
        if (Character.isDigit(before)) return true;
        return (before == ',' || before == '.' || before == '٫' || before == '٬') && b >= 2
            && Character.isDigit(text[b - 2]);
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * Columns in a line padded with spaces, as {@code String.format("%-28s%8s", item, price)} or an
 * editor writes them: a gap that a sentence would not hold separates two columns, exactly as a TAB
 * does. That is three or more spaces, or two when what follows starts with a digit, a sign or a
 * currency symbol ({@code Thanks.  See you} stays one sentence; {@code Kaffee  12.50} is a row).
 * Spaces that indent the line or end it separate nothing.
 */
final class PaddedColumns {
    private static final int SPACE = ' ';

    private PaddedColumns() {}

    /** The columns of a line as {start, end} spans; one span when it has no gap. */
    static List<int[]> split(int[] text) {
        List<int[]> spans = new ArrayList<>();
        int n = text.length;
        int i = 0;
        while (i < n && text[i] == SPACE) ++i;
        int start = i;
        while (i < n) {
            if (text[i] != SPACE) {
                ++i;
                continue;
            }
            int gap = i;
            while (i < n && text[i] == SPACE) ++i;
            if (i == n) break; // spaces at the end
            int spaces = i - gap;
            if (spaces >= 3 || (spaces == 2 && startsAmount(text[i]))) {
                spans.add(new int[] {start, gap});
                start = i;
            }
        }
        int end = n;
        while (end > start && text[end - 1] == SPACE) --end;
        spans.add(new int[] {start, end});
        return spans;
    }

    /** The code points of one span. */
    static int[] text(int[] line, int[] span) { return Arrays.copyOfRange(line, span[0], span[1]); }

    static boolean startsAmount(int c) {
        return Character.isDigit(c) || c == '-' || c == '+' || c == 0x2212
            || Character.getType(c) == Character.CURRENCY_SYMBOL;
    }
}

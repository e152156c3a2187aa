// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * The first step of the encoder: an app's text as paragraphs of code points. A line break ends a
 * paragraph; an unpaired surrogate and a control character (which the printer would read as a
 * command) become {@code ?}, each noted at its input line. A TAB stays: it separates a row's
 * columns.
 */
final class ReceiptInput {
    static final int TAB = '\t';
    static final int SPACE = ' ';
    static final int QUESTION_MARK = '?';

    private ReceiptInput() {}

    /** The paragraphs of a text whose first line is input line {@code firstLine}. */
    static List<int[]> paragraphs(String text, int firstLine, Notes notes) {
        List<int[]> paragraphs = new ArrayList<>();
        int[] buffer = new int[text.length()];
        int n = 0;
        int paragraphLine = firstLine;
        for (int i = 0; i < text.length(); ++i) {
            char ch = text.charAt(i);
            int c = ch;
            if (Character.isHighSurrogate(ch) && i + 1 < text.length()
                && Character.isLowSurrogate(text.charAt(i + 1))) {
                c = Character.toCodePoint(ch, text.charAt(++i));
            }
            if (isLineBreak(c)) {
                paragraphs.add(Arrays.copyOf(buffer, n));
                n = 0;
                if (c == '\r' && i + 1 < text.length() && text.charAt(i + 1) == '\n') ++i;
                ++paragraphLine;
                continue;
            }
            if ((Character.isSurrogate(ch) && c == ch) || isControl(c)) {
                notes.addAt(Note.Kind.REPLACED, c, paragraphLine);
                c = QUESTION_MARK;
            }
            buffer[n++] = c;
        }
        // A line break that ends the text ends its last paragraph; it opens no empty one.
        if (n > 0 || paragraphs.isEmpty()) paragraphs.add(Arrays.copyOf(buffer, n));
        return paragraphs;
    }

    /** A row's column is one paragraph: line breaks and TABs inside it become spaces. */
    static int[] column(String text, int line, Notes notes) {
        List<int[]> paragraphs = paragraphs(text, line, notes);
        int total = paragraphs.size() - 1;
        for (int[] p : paragraphs) total += p.length;
        int[] column = new int[Math.max(0, total)];
        int n = 0;
        for (int[] p : paragraphs) {
            if (n > 0) column[n++] = SPACE;
            for (int c : p) column[n++] = c == TAB ? SPACE : c;
        }
        return Arrays.copyOf(column, n);
    }

    static int indexOf(int[] text, int c) {
        for (int i = 0; i < text.length; ++i) {
            if (text[i] == c) return i;
        }
        return -1;
    }

    private static boolean isLineBreak(int c) {
        return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029 || c == 0x85;
    }

    private static boolean isControl(int c) {
        return Character.getType(c) == Character.CONTROL && c != TAB;
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

/**
 * Something the receipt does not print as written: a character printed as {@code ?} or left out,
 * a character drawn wider than a strict printer takes, or the code page the encoder chose.
 * Instances are immutable snapshots.
 */
public final class Note {
    /** What became of the character. */
    public enum Kind {
        /** Neither the library's fonts nor the code page have it: it was printed as {@code ?}. */
        REPLACED,
        /** A mark that the code page lacks and the fonts cannot draw: it was left out. */
        DROPPED,
        /**
         * The first character drawn wider than the printer model's Font A cell: printers that take
         * user-defined characters only as wide as that cell print these wrongly or not at all.
         * Noted once per receipt; a narrower font width avoids it.
         */
        WIDE_CHARACTER,
        /** The code page the encoder chose for the receipt; {@link #codePoint} is its number. */
        CODE_PAGE,
        /**
         * A character nothing could print as it is, printed as its compatibility form instead
         * (a full-width digit as its digit, a half-width katakana as its full-width one).
         */
        SUBSTITUTED,
        /**
         * A line of a frame wider than the frame above it: it is printed whole, its border
         * outside the frame's, or broken into lines when it is wider than the paper too. {@link
         * #codePoint} is the border.
         */
        WIDER_THAN_FRAME
    }

    private final Kind kind;
    private final int codePoint;
    private final int firstLine;
    private final int count;

    Note(Kind kind, int codePoint, int firstLine, int count) {
        this.kind = kind;
        this.codePoint = codePoint;
        this.firstLine = firstLine;
        this.count = count;
    }

    /** @return what became of the character */
    public Kind kind() { return kind; }

    /**
     * @return the character; an unpaired surrogate is reported as its own value (U+D800 to U+DFFF)
     */
    public int codePoint() { return codePoint; }

    /** @return the 1-based input line of its first occurrence */
    public int firstLine() { return firstLine; }

    /** @return how often it occurred in the whole receipt */
    public int count() { return count; }

    @Override
    public String toString() {
        switch (kind) {
            case CODE_PAGE:
                return "code page " + codePoint + " chosen for the receipt";
            case WIDER_THAN_FRAME:
                return String.format("a frame line is wider than its frame (line %d)", firstLine);
            case SUBSTITUTED:
                return String.format(
                    "U+%04X printed as its compatibility form (line %d, %d time%s)", codePoint,
                    firstLine, count, count == 1 ? "" : "s");
            case WIDE_CHARACTER:
                return String.format("U+%04X drawn wider than the printer's Font A cell (line %d):"
                        + " a printer that takes only Font A wide user-defined characters may"
                        + " print the drawn characters wrongly",
                    codePoint, firstLine);
            default:
                return String.format("U+%04X %s (line %d, %d time%s)", codePoint,
                    kind == Kind.REPLACED ? "printed as ?" : "left out", firstLine, count,
                    count == 1 ? "" : "s");
        }
    }
}

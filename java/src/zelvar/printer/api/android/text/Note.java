// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

/**
 * A character that the receipt does not print as written: printed as {@code ?}, or left out.
 * Instances are immutable snapshots.
 */
public final class Note {
    /** What became of the character. */
    public enum Kind {
        /** Neither the library's fonts nor the code page have it: it was printed as {@code ?}. */
        REPLACED,
        /** A mark that the code page lacks and the fonts cannot draw: it was left out. */
        DROPPED
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

    public Kind kind() { return kind; }

    /** The character; an unpaired surrogate is reported as its own value (U+D800 to U+DFFF). */
    public int codePoint() { return codePoint; }

    /** The 1-based input line of its first occurrence. */
    public int firstLine() { return firstLine; }

    /** How often it occurred in the whole receipt. */
    public int count() { return count; }

    @Override
    public String toString() {
        return String.format("U+%04X %s (line %d, %d time%s)", codePoint,
            kind == Kind.REPLACED ? "printed as ?" : "left out", firstLine, count,
            count == 1 ? "" : "s");
    }
}

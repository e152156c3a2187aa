// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;

/**
 * How the printer prints the characters of a line: emphasised (bold), twice as wide, twice as
 * tall, underlined, or white on black. Drawn characters (Arabic, symbols) take the same style as
 * the printer's own, since the printer applies it to user-defined characters too.
 *
 * <p>Instances are immutable: {@code TextStyle.NORMAL.bold().doubleSize()} is a bold heading.
 */
public final class TextStyle {
    /** Plain text: what the printer prints after a reset. */
    public static final TextStyle NORMAL = new TextStyle(false, false, false, 0, false);

    private final boolean bold;
    private final boolean doubleWidth;
    private final boolean doubleHeight;
    private final int underline;
    private final boolean inverse;

    private TextStyle(
        boolean bold, boolean doubleWidth, boolean doubleHeight, int underline, boolean inverse) {
        this.bold = bold;
        this.doubleWidth = doubleWidth;
        this.doubleHeight = doubleHeight;
        this.underline = underline;
        this.inverse = inverse;
    }

    /** @return this style, emphasised ({@code ESC E}) */
    public TextStyle bold() {
        return new TextStyle(true, doubleWidth, doubleHeight, underline, inverse);
    }

    /** @return this style, twice as wide and twice as tall ({@code GS !}) */
    public TextStyle doubleSize() { return new TextStyle(bold, true, true, underline, inverse); }

    /** @return this style, twice as wide: a line holds half as many characters */
    public TextStyle doubleWidth() {
        return new TextStyle(bold, true, doubleHeight, underline, inverse);
    }

    /** @return this style, twice as tall */
    public TextStyle doubleHeight() {
        return new TextStyle(bold, doubleWidth, true, underline, inverse);
    }

    /**
     * @param dots the underline's thickness: 0 (none), 1 or 2
     * @return this style with that underline ({@code ESC -})
     * @throws IllegalArgumentException for any other thickness
     */
    public TextStyle underline(int dots) {
        if (dots < 0 || dots > 2)
            throw new IllegalArgumentException("underline of 0..2 dots: " + dots);
        return new TextStyle(bold, doubleWidth, doubleHeight, dots, inverse);
    }

    /** @return this style, white on black ({@code GS B}) */
    public TextStyle inverse() {
        return new TextStyle(bold, doubleWidth, doubleHeight, underline, true);
    }

    /** @return whether emphasised */
    public boolean isBold() { return bold; }

    /** @return the width factor: 1, or 2 when double width */
    public int widthFactor() { return doubleWidth ? 2 : 1; }

    /** @return the height factor: 1, or 2 when double height */
    public int heightFactor() { return doubleHeight ? 2 : 1; }

    /** @return the underline's thickness in dots, 0 for none */
    public int underlineDots() { return underline; }

    /** @return whether white on black */
    public boolean isInverse() { return inverse; }

    /** The commands that switch this style on, from plain text. */
    byte[] on() {
        ByteArrayOutputStream out = new ByteArrayOutputStream(12);
        if (bold) put(out, EscPos.ESC, EscPos.EMPHASIS, 1); // ESC E 1
        int size = (doubleWidth ? 0x10 : 0) | (doubleHeight ? 0x01 : 0);
        if (size != 0) put(out, EscPos.GS, EscPos.CHARACTER_SIZE, size);
        if (underline != 0) {
            put(out, EscPos.ESC, EscPos.UNDERLINE, underline); // ESC -
        }
        if (inverse) put(out, EscPos.GS, EscPos.INVERSE, 1); // GS B 1
        return out.toByteArray();
    }

    /** The commands that switch this style off again, back to plain text. */
    byte[] off() {
        ByteArrayOutputStream out = new ByteArrayOutputStream(12);
        if (bold) put(out, EscPos.ESC, EscPos.EMPHASIS, 0);
        if (doubleWidth || doubleHeight) {
            put(out, EscPos.GS, EscPos.CHARACTER_SIZE, 0);
        }
        if (underline != 0) put(out, EscPos.ESC, EscPos.UNDERLINE, 0);
        if (inverse) put(out, EscPos.GS, EscPos.INVERSE, 0);
        return out.toByteArray();
    }

    private static void put(ByteArrayOutputStream out, int... command) {
        for (int b : command) out.write(b);
    }

    @Override
    public boolean equals(Object o) {
        if (!(o instanceof TextStyle)) return false;
        TextStyle t = (TextStyle) o;
        return bold == t.bold && doubleWidth == t.doubleWidth && doubleHeight == t.doubleHeight
            && underline == t.underline && inverse == t.inverse;
    }

    @Override
    public int hashCode() {
        return (bold ? 1 : 0) | (doubleWidth ? 2 : 0) | (doubleHeight ? 4 : 0) | underline << 3
            | (inverse ? 32 : 0);
    }

    @Override
    public String toString() {
        return "TextStyle(" + (bold ? " bold" : "") + (doubleWidth ? " wide" : "")
            + (doubleHeight ? " tall" : "") + (underline > 0 ? " underline " + underline : "")
            + (inverse ? " inverse" : "") + " )";
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.Arrays;

/**
 * The ESC/POS writer: the one place that sends the printer's state changes (reset, code table,
 * Kanji mode, line spacing, styles, justification), so that no mode is sent twice or left open.
 * Lines arrive composed; the writer places them with {@code ESC $} (or spaces when the printer
 * lacks it) and prints them.
 */
final class EscPosWriter {
    private static final byte ESC = EscPos.ESC;
    private static final byte[] INITIALIZE = {ESC, EscPos.INITIALIZE}; // ESC @ : reset
    private static final byte[] TIGHT_SPACING = {ESC, EscPos.LINE_SPACING, 24}; // lines touch
    private static final byte[] DEFAULT_SPACING = {ESC, EscPos.DEFAULT_LINE_SPACING}; // ESC 2
    // ESC J n : feed n dots, the blank margin a scanner needs around a symbol.
    private static final byte[] QUIET_FEED = {ESC, 'J', 24};

    private final PrinterProfile profile;
    private final Characters characters;
    private final Bytes out = new Bytes(1024);
    private boolean started;
    private boolean tightSpacing;
    private int kanji = LineComposer.KANJI_OFF;
    private TextStyle style = TextStyle.NORMAL;
    int printedLines;

    EscPosWriter(PrinterProfile profile, Characters characters) {
        this.profile = profile;
        this.characters = characters;
    }

    /** The style of the lines that follow. */
    void style(TextStyle s) { style = s; }

    TextStyle style() { return style; }

    /** The reset, the Kanji mode and the code table, before the first line. */
    void start() {
        if (started) return;
        started = true;
        out.write(INITIALIZE);
        // Whatever mode the printer starts in, single-byte text needs Kanji mode off; double-byte
        // text turns it on where it needs it.
        out.write(profile.leaveKanjiBytes());
        kanji = LineComposer.KANJI_OFF;
        // Without a code table for the code page (a model that lacks it) the printer keeps its
        // own table, of which only ASCII is sent.
        if (!characters.doubleByte && profile.hasCodeTable(characters.codePage)) {
            out.write(ESC);
            out.write((byte) EscPos.SELECT_CODE_TABLE); // ESC t n : select the code table
            out.write((byte) profile.codeTable(characters.codePage));
        }
    }

    /** Line spacing for the next line: 24 dots while lines hold box characters, so they join. */
    void spacing(boolean box) {
        start();
        if (box != tightSpacing) {
            out.write(box ? TIGHT_SPACING : DEFAULT_SPACING);
            tightSpacing = box;
        }
    }

    /** The spacing and the style of the next line; {@link #endLine} leaves the style again. */
    void beginLine(boolean box) {
        spacing(box);
        out.write(style.on());
    }

    void endLine() {
        out.write((byte) EscPos.LF); // LF : print the line
        // Nothing of a line's style reaches the next line.
        out.write(style.off());
        ++printedLines;
    }

    /** Prints an empty line. */
    void emptyLine() {
        beginLine(false);
        endLine();
    }

    /** A composed line's bytes, entering the Kanji mode it starts in. */
    void append(LineComposer.Run run) {
        if (run.firstKanji != LineComposer.KANJI_ANY && run.firstKanji != kanji) {
            out.write(run.firstKanji == LineComposer.KANJI_ON ? profile.enterKanjiBytes()
                                                              : profile.leaveKanjiBytes());
        }
        out.write(run.bytes);
        if (run.lastKanji != LineComposer.KANJI_ANY) kanji = run.lastKanji;
    }

    /** Whether the printer moves its print position to a dot column rather than by spaces. */
    boolean placesExactly() { return profile.hasAbsolutePosition(); }

    /**
     * Moves the print position from {@code x} to {@code target}, both in dots of the line's
     * characters (a double-width line's are twice as wide on paper).
     */
    void moveTo(int target, int x) {
        if (target <= x) {
            if (x > 0) out.write((byte) ReceiptInput.SPACE); // two columns never touch
            return;
        }
        if (profile.hasAbsolutePosition()) {
            writePosition(out, target * style.widthFactor());
            return;
        }
        int spaces = Math.max(x > 0 ? 1 : 0, (target - x) / Characters.RESIDENT_CELL);
        for (int i = 0; i < spaces; ++i) out.write((byte) ReceiptInput.SPACE);
    }

    static void writePosition(Bytes bytes, int dots) {
        bytes.write(ESC);
        bytes.write((byte) EscPos.ABSOLUTE_POSITION); // ESC $ nL nH : print position, in dots
        bytes.write((byte) (dots & 0xFF));
        bytes.write((byte) (dots >>> 8));
    }

    /** Feeds the paper by {@code lines} lines ({@code ESC d n}). */
    void feed(int lines) {
        spacing(false);
        out.write(ESC);
        out.write((byte) EscPos.FEED_LINES);
        out.write((byte) lines);
        printedLines += lines;
    }

    /**
     * A symbol or picture the printer places itself at a justification ({@code ESC a}); a symbol
     * gets blank paper above and below it, the quiet zone a scanner needs.
     */
    void printerItem(byte[] bytes, Alignment alignment, boolean quiet) {
        spacing(false);
        if (quiet) out.write(QUIET_FEED);
        out.write(new byte[] {ESC, EscPos.JUSTIFY, (byte) alignment.ordinal()}); // ESC a n
        out.write(bytes);
        if (quiet) out.write(QUIET_FEED);
        // The encoder places text itself: the justification goes back to the left.
        out.write(new byte[] {ESC, EscPos.JUSTIFY, 0});
    }

    /** Bytes as they are: a cut, a drawer pulse, or the app's own. */
    void raw(byte[] bytes) {
        start();
        out.write(bytes);
    }

    /**
     * Everything written so far, with the printer's own line spacing restored: empty when nothing
     * was written.
     */
    byte[] toBytes() {
        if (!started) return new byte[0];
        byte[] all = Arrays.copyOf(out.data(), out.size() + (tightSpacing ? 2 : 0));
        if (tightSpacing) {
            System.arraycopy(DEFAULT_SPACING, 0, all, out.size(), DEFAULT_SPACING.length);
        }
        return all;
    }
}

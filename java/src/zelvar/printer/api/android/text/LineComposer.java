// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import zelvar.printer.api.android.nat.nativef;

/**
 * The drawing step: composes the bytes of one line in printing order. Drawn characters become the
 * library's command sequences (define, select, print, cancel), resident ones their bytes in the
 * code page; a mark is fitted over its letter through the placement record, which starts empty
 * and after each resident character, whose ink the library cannot see. On a frame line each box
 * character is placed at its cell of the grid.
 */
final class LineComposer {
    // Kanji mode as a composed run needs it or leaves it.
    static final int KANJI_ANY = -1;
    static final int KANJI_OFF = 0;
    static final int KANJI_ON = 1;

    /** A line's bytes composed apart, with the Kanji mode it starts in and leaves. */
    static final class Run {
        final Bytes bytes = new Bytes(256);
        int width;
        int firstKanji = KANJI_ANY;
        int lastKanji = KANJI_ANY;

        void needKanji(int mode, PrinterProfile profile) {
            if (firstKanji == KANJI_ANY) {
                firstKanji = mode;
            } else if (lastKanji != mode) {
                bytes.write(
                    mode == KANJI_ON ? profile.enterKanjiBytes() : profile.leaveKanjiBytes());
            }
            lastKanji = mode;
        }
    }

    private final PrinterProfile profile;
    private final Characters characters;
    private final Notes notes;
    private boolean wideNoted;
    long drawnCharacters;
    long residentCharacters;

    LineComposer(PrinterProfile profile, Characters characters, Notes notes) {
        this.profile = profile;
        this.characters = characters;
        this.notes = notes;
    }

    /**
     * Composes characters in printing order; {@code widthFactor} is the line's character width
     * (2 for double width), by which the printer moves its print position.
     */
    Run compose(int[] v, boolean frame, int widthFactor) {
        Run run = new Run();
        byte[] placement = nativef.newPlacementRecord();
        int gridPitch = characters.gridPitch;
        int cells = 0;
        int previousLetter = -1;
        int cell = 0; // the width of the last cell, which a mark prints over
        for (int i = 0; i < v.length; ++i) {
            int c = v[i];
            int kind = characters.classify(c);
            if (kind == Characters.INVISIBLE) {
                // On a frame line the filler of a lam-alef ligature keeps the column of the
                // letter it replaced.
                if (frame && c == VisualLine.LIGATURE_FILLER) ++cells;
                continue;
            }
            if (kind == Characters.DROPPED) {
                notes.add(Note.Kind.DROPPED, c);
                continue;
            }
            if (frame && Characters.isBox(c) && profile.hasAbsolutePosition()) {
                int target = cells * gridPitch;
                if (target > run.width) {
                    EscPosWriter.writePosition(run.bytes, target * widthFactor);
                    run.width = target;
                }
            }
            int before = run.width;
            if (kind == Characters.DRAWN) {
                int font = characters.fontOf(c);
                // An isolated alef leans toward the next letter of its word, which in
                // right-to-left text is the one printed before it.
                int justify = previousLetter >= 0 && Characters.isArabicLetter(c)
                        && Characters.isArabicLetter(v[previousLetter])
                    ? NativeDraw.JUSTIFY_LEFT
                    : NativeDraw.JUSTIFY_NONE;
                byte[] sequence = NativeDraw.drawJustified(
                    c, characters.codePage, font, NativeDraw.FONT_HEIGHT, placement, justify);
                if (sequence.length > 0) {
                    if (characters.doubleByte) run.needKanji(KANJI_OFF, profile);
                    run.bytes.write(sequence);
                    ++drawnCharacters;
                    if (font > profile.fontAWidth() && profile.dpi() > 0 && !wideNoted) {
                        // Many printers take user-defined characters only as wide as Font A.
                        notes.add(Note.Kind.WIDE_CHARACTER, c);
                        wideNoted = true;
                    }
                    boolean overstrike = sequence.length == 3 * font + 17;
                    cell = advance(run, cell, font, overstrike);
                } else {
                    kind = Characters.REPLACED;
                }
            }
            if (kind == Characters.RESIDENT || kind == Characters.RESIDENT_MARK) {
                byte[] bytes = characters.residentBytes(c);
                if (characters.doubleByte && bytes.length == 2 && bytes[0] < 0) {
                    run.needKanji(KANJI_ON, profile);
                }
                if (kind == Characters.RESIDENT_MARK) run.bytes.write((byte) EscPos.BS);
                cell = advance(run, cell, Characters.RESIDENT_CELL * bytes.length,
                    kind == Characters.RESIDENT_MARK);
                run.bytes.write(bytes);
                ++residentCharacters;
                resetPlacement(placement);
            } else if (kind == Characters.REPLACED) {
                notes.add(Note.Kind.REPLACED, c);
                run.bytes.write((byte) ReceiptInput.QUESTION_MARK);
                cell = advance(run, cell, Characters.RESIDENT_CELL, false);
                ++residentCharacters;
                resetPlacement(placement);
            }
            if (run.width > before) {
                cells += (run.width - before + gridPitch - 1) / gridPitch;
            }
            if (!Characters.isMark(c)) previousLetter = i;
        }
        return run;
    }

    /**
     * Moves the line's end past a cell of {@code dots}: a new cell, or one printed over the last
     * cell, which ends where the wider of the two ends. Returns the width of the cell now last.
     */
    private static int advance(Run run, int cell, int dots, boolean over) {
        if (!over) {
            run.width += dots;
            return dots;
        }
        int wider = Math.max(cell, dots);
        run.width += wider - cell;
        return wider;
    }

    private static void resetPlacement(byte[] placement) {
        placement[0] = placement[1] = placement[2] = placement[3] = nativef.NO_INK;
        placement[4] = placement[5] = 0;
    }
}

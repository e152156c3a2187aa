// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.fail;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;

/**
 * A small model of the printer for the tests: reads the encoder's bytes back into printed lines of
 * glyphs, each at its dot position, and the commands met on the way.
 */
final class Wire {
    /** One character cell as the printer places it. */
    static final class Glyph {
        int x;
        int width;
        boolean drawn; // a user-defined character
        boolean overstrike; // printed over the previous character (after a BS)
        boolean kanji; // printed in Kanji mode
        int code; // the byte, or both bytes of a double-byte character
        int[] columns; // a drawn glyph's columns, top row in bit 23

        int end() { return x + width; }
    }

    final List<List<Glyph>> lines = new ArrayList<>();
    final List<String> commands = new ArrayList<>();

    static Wire parse(byte[] bytes) {
        Wire wire = new Wire();
        List<Glyph> line = new ArrayList<>();
        Map<Integer, int[]> defined = new HashMap<>();
        boolean userSet = false;
        boolean kanji = false;
        boolean backspace = false;
        int x = 0;
        Glyph last = null;
        for (int i = 0; i < bytes.length;) {
            int b = bytes[i] & 0xFF;
            if (b == EscPos.ESC) {
                int c = bytes[i + 1];
                switch (c) {
                    case EscPos.INITIALIZE:
                    case EscPos.DEFAULT_LINE_SPACING:
                        wire.commands.add("ESC " + (char) c);
                        i += 2;
                        break;
                    case EscPos.SELECT_CODE_TABLE:
                    case EscPos.LINE_SPACING:
                    case EscPos.FEED_LINES:
                        wire.commands.add("ESC " + (char) c + " " + (bytes[i + 2] & 0xFF));
                        for (int n = c == EscPos.FEED_LINES ? bytes[i + 2] & 0xFF : 0; n > 0; --n) {
                            wire.lines.add(new ArrayList<>());
                        }
                        i += 3;
                        break;
                    case EscPos.ABSOLUTE_POSITION:
                        x = (bytes[i + 2] & 0xFF) | (bytes[i + 3] & 0xFF) << 8;
                        wire.commands.add("ESC $ " + x);
                        i += 4;
                        break;
                    case EscPos.USER_CHARACTER_SET:
                        userSet = (bytes[i + 2] & 1) == 1;
                        i += 3;
                        break;
                    case EscPos.DEFINE_USER_CHARACTERS:
                        int first = bytes[i + 3] & 0xFF;
                        int lastCode = bytes[i + 4] & 0xFF;
                        i += 5;
                        for (int code = first; code <= lastCode; ++code) {
                            int w = bytes[i++] & 0xFF;
                            int[] columns = new int[w];
                            for (int k = 0; k < w; ++k, i += 3) {
                                columns[k] = (bytes[i] & 0xFF) << 16 | (bytes[i + 1] & 0xFF) << 8
                                    | (bytes[i + 2] & 0xFF);
                            }
                            defined.put(code, columns);
                        }
                        break;
                    default:
                        fail("unexpected command ESC " + c + " at byte " + i);
                }
                continue;
            }
            if (b == EscPos.FS) {
                kanji = bytes[i + 1] == EscPos.KANJI_ON;
                wire.commands.add(kanji ? "FS &" : "FS .");
                i += 2;
                continue;
            }
            if (b == EscPos.BS) {
                backspace = true;
                ++i;
                continue;
            }
            if (b == EscPos.LF) {
                wire.lines.add(line);
                line = new ArrayList<>();
                x = 0;
                last = null;
                ++i;
                continue;
            }
            if (b < 0x20) fail("unexpected control byte " + b + " at byte " + i);
            Glyph g = new Glyph();
            g.kanji = kanji;
            if (userSet && defined.containsKey(b)) {
                g.drawn = true;
                g.columns = defined.get(b);
                g.width = g.columns.length;
                g.code = b;
                ++i;
            } else if (kanji && b >= 0x80) {
                g.code = b << 8 | (bytes[i + 1] & 0xFF);
                g.width = 24;
                i += 2;
            } else {
                g.code = b;
                g.width = 12;
                ++i;
            }
            if (backspace && last != null) {
                g.overstrike = true;
                g.x = last.x;
            } else {
                g.x = x;
                x += g.width;
                last = g;
            }
            backspace = false;
            line.add(g);
        }
        if (!line.isEmpty()) wire.lines.add(line);
        return wire;
    }

    /** The glyphs of a line that stand in their own cell (not printed over another). */
    static List<Glyph> cells(List<Glyph> line) {
        List<Glyph> cells = new ArrayList<>();
        for (Glyph g : line) {
            if (!g.overstrike) cells.add(g);
        }
        return cells;
    }

    /** The glyph that one drawn character makes on its own, without a previous cell. */
    static Glyph reference(int codePoint, int width) {
        byte[] sequence =
            NativeDraw.drawJustified(codePoint, 1256, width, 24, null, NativeDraw.JUSTIFY_NONE);
        if (sequence.length == 0) fail(String.format("U+%04X cannot be drawn", codePoint));
        return parse(sequence).lines.get(0).get(0);
    }

    /** The ink of drawn columns moved up to the top row, so that a fitted mark matches its font. */
    static List<Integer> shape(int[] columns) {
        int all = 0;
        for (int c : columns) all |= c;
        int up = Integer.numberOfLeadingZeros(all) - 8;
        List<Integer> shape = new ArrayList<>();
        for (int c : columns) shape.add(c << up & 0xFFFFFF);
        return shape;
    }

    /** Blank columns at the left of a drawn glyph's ink. */
    static int leftMargin(int[] columns) {
        int m = 0;
        while (m < columns.length && columns[m] == 0) ++m;
        return m;
    }
}

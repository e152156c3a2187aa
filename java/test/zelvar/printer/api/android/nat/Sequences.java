// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.nat;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Arrays;
import zelvar.printer.api.android.text.EscPos;

/**
 * What a test knows about the printer's command sequence and the glyph columns inside it; the
 * command bytes are the Java side's one definition ({@link EscPos}).
 */
final class Sequences {
    static final int ESC = EscPos.ESC;
    static final int BS = EscPos.BS;
    static final int DEFINE_USER_CHARACTERS = EscPos.DEFINE_USER_CHARACTERS;
    static final int USER_CHARACTER_SET = EscPos.USER_CHARACTER_SET;
    static final int SET_ON = EscPos.SET_ON;
    static final int SET_OFF = EscPos.SET_OFF;
    static final int SET_TRAILER = EscPos.SET_TRAILER;
    static final int NARROW_CODE = EscPos.NARROW_CODE;
    static final int WIDE_CODE = EscPos.WIDE_CODE;
    static final int ROWS = 24;
    static final int NO_INK = 255;
    static final int COLUMN_MASK = (1 << ROWS) - 1;

    private Sequences() {}

    static int userCode(int width) { return width == 24 ? WIDE_CODE : NARROW_CODE; }

    /**
     * Checks every command byte of a draw sequence around its glyph columns and returns the
     * columns, each as a 24-bit value with the top row in bit 23.
     */
    static int[] columnsOf(int[] sequence, int width, boolean overstrike) {
        int code = userCode(width);
        int columnBytes = 3 * width;
        assertEquals(columnBytes + (overstrike ? 17 : 16), sequence.length, "sequence length");
        for (int value : sequence) {
            assertTrue(value >= 0 && value <= 255, "byte out of 0..255: " + value);
        }
        assertArrayEquals(new int[] {ESC, DEFINE_USER_CHARACTERS, 3, code, code, width},
            Arrays.copyOfRange(sequence, 0, 6), "define header");
        int at = 6 + columnBytes;
        assertArrayEquals(new int[] {ESC, USER_CHARACTER_SET, SET_ON},
            Arrays.copyOfRange(sequence, at, at + 3), "select user set");
        at += 3;
        if (overstrike) assertEquals(BS, sequence[at++], "backspace before a mark");
        assertArrayEquals(new int[] {code, ESC, USER_CHARACTER_SET, SET_OFF, ESC,
                              USER_CHARACTER_SET, SET_TRAILER},
            Arrays.copyOfRange(sequence, at, sequence.length), "print and cancel");
        int[] columns = new int[width];
        for (int c = 0; c < width; ++c) {
            int b = 6 + 3 * c;
            columns[c] = (sequence[b] << 16) | (sequence[b + 1] << 8) | sequence[b + 2];
        }
        return columns;
    }

    /** Left, right, top and bottom blank margins of the ink; 255 each when there is none. */
    static int[] margins(int[] columns) {
        int first = -1;
        int last = -1;
        int rows = 0;
        for (int c = 0; c < columns.length; ++c) {
            if (columns[c] == 0) continue;
            if (first < 0) first = c;
            last = c;
            rows |= columns[c];
        }
        if (first < 0) return new int[] {NO_INK, NO_INK, NO_INK, NO_INK};
        int top = Integer.numberOfLeadingZeros(rows) - (32 - ROWS);
        int bottom = Integer.numberOfTrailingZeros(rows);
        return new int[] {first, columns.length - 1 - last, top, bottom};
    }

    /** Moves the picture up by n rows (down when n is negative); ink leaving the cell is lost. */
    static int[] shiftUp(int[] columns, int n) {
        int[] moved = new int[columns.length];
        for (int c = 0; c < columns.length; ++c) {
            moved[c] = n >= 0 ? (columns[c] << n) & COLUMN_MASK : columns[c] >>> -n;
        }
        return moved;
    }

    /** The placement record as unsigned values. */
    static int[] unsigned(byte[] record) {
        int[] values = new int[record.length];
        for (int i = 0; i < record.length; ++i) values[i] = record[i] & 0xFF;
        return values;
    }

    static byte[] record(int... values) {
        byte[] bytes = new byte[values.length];
        for (int i = 0; i < values.length; ++i) bytes[i] = (byte) values[i];
        return bytes;
    }
}

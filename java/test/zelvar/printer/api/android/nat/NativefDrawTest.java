// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.nat;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static zelvar.printer.api.android.nat.Sequences.columnsOf;
import static zelvar.printer.api.android.nat.Sequences.margins;
import static zelvar.printer.api.android.nat.Sequences.record;
import static zelvar.printer.api.android.nat.Sequences.shiftUp;
import static zelvar.printer.api.android.nat.Sequences.unsigned;

import java.util.Arrays;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

/** Drawing characters and the capability queries, through the JVM. */
class NativefDrawTest {
    static final int ARABIC = 1256;
    static final int HEIGHT = 24;
    static final int ALEF = 0x0627; // flag word 0x10, stored margins 4 4 4 8 at width 10
    static final int BEH = 0x0628; // a spacing letter without flags
    static final int FATHA = 0x064E; // a mark above (overstrike, fitted vertically)
    static final int KASRA = 0x0650; // a mark below (overstrike, fitted vertically)
    static final int SHADDA = 0x0651; // a mark above
    static final int WIDE_IDEOGRAPH = 0x9FA6; // only in the 24 dot font
    static final int[] WIDTHS = {10, 13, 18, 24};

    /** Sentinel bytes that no call may write: they tell an untouched array from a written one. */
    static byte[] sentinelPlacement(int length) {
        byte[] bytes = new byte[length];
        for (int i = 0; i < length; ++i) bytes[i] = (byte) (0x5A + 7 * i);
        return bytes;
    }

    @Test
    void plainTenDotGlyphIsFortySixUnsignedBytes() {
        byte[] placement = nativef.newPlacementRecord();
        int[] sequence = nativef.GetFontDrawBuffer(ALEF, ARABIC, 10, HEIGHT, placement);
        assertEquals(46, sequence.length);
        assertArrayEquals(new int[] {27, 38, 3, 65, 65, 10}, Arrays.copyOfRange(sequence, 0, 6));
        assertArrayEquals(new int[] {27, 37, 0, 27, 37, 170}, Arrays.copyOfRange(sequence, 40, 46));
        int[] columns = columnsOf(sequence, 10, false);
        // The columns carry the glyph itself: its ink has the alef's margins.
        assertArrayEquals(new int[] {4, 4, 4, 8}, margins(columns));
        // Margins 4 4 4 8, not printed over the previous character, may be justified sideways.
        assertArrayEquals(new int[] {4, 4, 4, 8, 0, 1}, unsigned(placement));
    }

    @ParameterizedTest
    @ValueSource(ints = {10, 13, 18})
    void narrowWidthsFrameTheirOwnColumns(int width) {
        int[] columns =
            columnsOf(nativef.GetFontDrawBuffer(ALEF, ARABIC, width, HEIGHT, null), width, false);
        assertTrue(Arrays.stream(columns).anyMatch(c -> c != 0), "alef has ink");
    }

    @Test
    void wideGlyphDefinesCodeAbove127AsUnsignedValue() {
        byte[] placement = nativef.newPlacementRecord();
        int[] sequence = nativef.GetFontDrawBuffer(WIDE_IDEOGRAPH, 936, 24, HEIGHT, placement);
        int[] columns = columnsOf(sequence, 24, false); // 0x80 comes back as 128, not -128
        int[] expected = Arrays.copyOf(margins(columns), 6);
        assertArrayEquals(expected, unsigned(placement), "record of a glyph without flags");
    }

    static Stream<Arguments> refusals() {
        return Stream.of(Arguments.of("height 23", ALEF, ARABIC, 10, 23),
            Arguments.of("height 25", ALEF, ARABIC, 10, 25),
            Arguments.of("code page 437", ALEF, 437, 10, HEIGHT),
            Arguments.of("code page 0", ALEF, 0, 10, HEIGHT),
            Arguments.of("width 11", ALEF, ARABIC, 11, HEIGHT),
            Arguments.of("width 0", ALEF, ARABIC, 0, HEIGHT),
            Arguments.of("width -10", ALEF, ARABIC, -10, HEIGHT),
            Arguments.of("Latin letter in no font", 0x41, ARABIC, 10, HEIGHT),
            Arguments.of("ideograph only in the wide font", WIDE_IDEOGRAPH, ARABIC, 10, HEIGHT),
            Arguments.of("Arabic letter not in the wide font", ALEF, ARABIC, 24, HEIGHT),
            Arguments.of("negative code point", -1, ARABIC, 10, HEIGHT),
            Arguments.of("code point beyond the plane", 0x10627, ARABIC, 10, HEIGHT));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("refusals")
    void refusalGivesEmptyArrayAndKeepsPlacement(
        String what, int codePoint, int codePage, int width, int height) {
        for (int length : new int[] {6, 8}) {
            byte[] placement = sentinelPlacement(length);
            int[] sequence =
                nativef.GetFontDrawBuffer(codePoint, codePage, width, height, placement);
            assertEquals(0, sequence.length, what);
            assertArrayEquals(sentinelPlacement(length), placement, what + ": placement kept");
        }
        assertEquals(0, nativef.GetFontDrawBuffer(codePoint, codePage, width, height, null).length);
    }

    @ParameterizedTest
    @ValueSource(ints = {0, 1, 5})
    void placementShorterThanRecordIsRefusedUntouched(int length) {
        byte[] placement = sentinelPlacement(length);
        assertEquals(0, nativef.GetFontDrawBuffer(ALEF, ARABIC, 10, HEIGHT, placement).length);
        assertArrayEquals(sentinelPlacement(length), placement);
    }

    @Test
    void withoutPlacementComposesTheSameSequence() {
        for (int codePoint : new int[] {ALEF, BEH, FATHA}) {
            int[] without = nativef.GetFontDrawBuffer(codePoint, ARABIC, 13, HEIGHT, null);
            int[] with = nativef.GetFontDrawBuffer(
                codePoint, ARABIC, 13, HEIGHT, nativef.newPlacementRecord());
            assertTrue(without.length > 0);
            assertArrayEquals(with, without);
            assertNotSame(with, without);
        }
    }

    @Test
    void longerPlacementArrayHasOnlyItsFirstSixBytesWritten() {
        byte[] placement = sentinelPlacement(8);
        // Overstrike and justification bytes that are set on entry change nothing: only the
        // margins of the previous cell are read, and the sentinel margins are far from real ink.
        placement[0] = placement[1] = placement[2] = placement[3] = (byte) 255;
        placement[4] = 1;
        placement[5] = 1;
        int[] sequence = nativef.GetFontDrawBuffer(BEH, ARABIC, 10, HEIGHT, placement);
        int[] own = margins(columnsOf(sequence, 10, false));
        assertArrayEquals(new int[] {own[0], own[1], own[2], own[3], 0, 0},
            Arrays.copyOf(unsigned(placement), 6));
        byte[] sentinel = sentinelPlacement(8);
        assertEquals(sentinel[6], placement[6]);
        assertEquals(sentinel[7], placement[7]);
    }

    /**
     * Blank rows between a mark's ink and the cell's ink, above or below it (negative: overlap).
     */
    static int gap(int[] mark, int[] cell) {
        return Math.max(mark[3] + cell[2], mark[2] + cell[3]) - Sequences.ROWS;
    }

    /** The vertical move (up positive) that turns one picture into the other, or null. */
    static Integer verticalMove(int[] from, int[] to) {
        for (int k = -Sequences.ROWS + 1; k < Sequences.ROWS; ++k) {
            if (Arrays.equals(shiftUp(from, k), to)) return k;
        }
        return null;
    }

    static Stream<Arguments> runs() {
        return Stream.of(Arguments.of(ALEF, FATHA, KASRA, 10), Arguments.of(BEH, FATHA, KASRA, 10),
            Arguments.of(BEH, KASRA, SHADDA, 13), Arguments.of(BEH, SHADDA, FATHA, 18));
    }

    /**
     * A base letter and two marks, the placement array carried from call to call as the Java
     * side does: each mark is fitted against everything printed in the cell so far.
     */
    @ParameterizedTest
    @MethodSource("runs")
    void markRunCarriesPlacementFromCallToCall(int base, int firstMark, int secondMark, int width) {
        byte[] placement = nativef.newPlacementRecord();
        int[] baseColumns = columnsOf(
            nativef.GetFontDrawBuffer(base, ARABIC, width, HEIGHT, placement), width, false);
        int[] baseMargins = margins(baseColumns);
        int[] carried = unsigned(placement);
        assertArrayEquals(baseMargins, Arrays.copyOf(carried, 4), "base leaves its own margins");
        assertEquals(0, carried[4], "a base letter is not printed over anything");

        boolean anyMoved = false;
        for (int mark : new int[] {firstMark, secondMark}) {
            // The mark alone, after an empty record: printed where its font drew it.
            byte[] alone = nativef.newPlacementRecord();
            int[] markColumns = columnsOf(
                nativef.GetFontDrawBuffer(mark, ARABIC, width, HEIGHT, alone), width, true);
            int[] markMargins = margins(markColumns);
            assertArrayEquals(
                new int[] {markMargins[0], markMargins[1], markMargins[2], markMargins[3], 1, 0},
                unsigned(alone), "a mark after an empty record keeps its own place and margins");

            int[] fitted = columnsOf(
                nativef.GetFontDrawBuffer(mark, ARABIC, width, HEIGHT, placement), width, true);
            // The fit only moves a mark up or down: to two rows from the cell's ink when it was
            // further away, and not at all otherwise.
            Integer move = verticalMove(markColumns, fitted);
            assertNotNull(move, "the mark was changed, not only moved vertically");
            int[] printed = margins(fitted);
            if (move != 0) {
                assertEquals(2, gap(printed, carried), "a moved mark sits two rows from the cell");
            } else {
                assertTrue(gap(markMargins, carried) <= 2, "a mark further away must move");
            }
            // The record carried to the next call describes the cell with the mark in it.
            int[] merged = new int[6];
            for (int i = 0; i < 4; ++i) merged[i] = Math.min(printed[i], carried[i]);
            merged[4] = 1;
            carried = unsigned(placement);
            assertArrayEquals(merged, carried, "record of the merged cell");
            anyMoved |= !Arrays.equals(markColumns, fitted);
        }
        if (base == BEH && width == 10) {
            // The beh's ink lies low in its cell, so a mark above it starts more than two rows
            // away.
            assertTrue(anyMoved, "some mark of the run was moved toward the letter");
        }
    }

    static Stream<Arguments> availability() {
        return Stream.of(Arguments.of(ALEF, ARABIC, 10, HEIGHT, true),
            Arguments.of(ALEF, 862, 18, HEIGHT, true),
            Arguments.of(ALEF, ARABIC, 24, HEIGHT, false),
            Arguments.of(WIDE_IDEOGRAPH, ARABIC, 24, HEIGHT, true),
            Arguments.of(WIDE_IDEOGRAPH, ARABIC, 10, HEIGHT, false),
            Arguments.of(ALEF, ARABIC, 10, 23, false), Arguments.of(ALEF, ARABIC, 10, 25, false),
            Arguments.of(ALEF, 437, 10, HEIGHT, false),
            Arguments.of(ALEF, ARABIC, 12, HEIGHT, false),
            Arguments.of(0x41, ARABIC, 10, HEIGHT, false),
            Arguments.of(0x30A2, 932, 13, HEIGHT, true));
    }

    @ParameterizedTest
    @MethodSource("availability")
    void charAvailableAgreesWithDrawing(
        int codePoint, int codePage, int width, int height, boolean available) {
        assertEquals(available, nativef.CharAvailable(codePoint, codePage, width, height));
        int[] sequence = nativef.GetFontDrawBuffer(codePoint, codePage, width, height, null);
        assertEquals(available, sequence.length > 0, "drawable exactly when available");
    }

    @Test
    void fontWidthsAreExactlyTheFour() {
        for (int width : WIDTHS) assertTrue(nativef.IsFontWidthSupported(width), "" + width);
        for (int width : new int[] {0, 9, 11, 25, 32, 42, -10, Integer.MIN_VALUE}) {
            assertFalse(nativef.IsFontWidthSupported(width), "" + width);
        }
    }
}

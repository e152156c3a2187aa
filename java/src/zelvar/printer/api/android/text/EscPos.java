// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

/**
 * The bytes of the ESC/POS commands that the library's command sequences and the receipt encoder
 * are made of: one definition for the Java side, its tests included, beside the native one.
 */
public final class EscPos {
    private EscPos() {}

    /** Starts every command with parameters. */
    public static final int ESC = 0x1B;
    /** Starts the double-byte (Kanji) commands. */
    public static final int FS = 0x1C;
    /** The next character prints over the previous one. */
    public static final int BS = 0x08;
    /** Prints the line and feeds the paper. */
    public static final int LF = 0x0A;

    /** {@code ESC @}: reset the printer. */
    public static final int INITIALIZE = '@';
    /** {@code ESC & y c1 c2 x d...}: define user-defined characters. */
    public static final int DEFINE_USER_CHARACTERS = '&';
    /** {@code ESC % n}: bit 0 of n selects (1) or cancels (0) the user-defined set. */
    public static final int USER_CHARACTER_SET = '%';
    /** {@code ESC t n}: choose the single-byte code table. */
    public static final int SELECT_CODE_TABLE = 't';
    /** {@code ESC $ nL nH}: move to a dot column. */
    public static final int ABSOLUTE_POSITION = '$';
    /** {@code ESC 3 n}: lines n dots apart. */
    public static final int LINE_SPACING = '3';
    /** {@code ESC 2}: the printer's own line spacing. */
    public static final int DEFAULT_LINE_SPACING = '2';
    /** {@code ESC d n}: print and feed n lines. */
    public static final int FEED_LINES = 'd';
    /** {@code FS &}: bytes of the lead range start a two-byte character. */
    public static final int KANJI_ON = '&';
    /** {@code FS .}: every byte is one character again. */
    public static final int KANJI_OFF = '.';

    /**
     * {@code ESC % 1}, {@code ESC % 0} and the second cancel {@code ESC % AA} that ends a
     * sequence.
     */
    public static final int SET_ON = 0x01;
    /** {@code ESC % 0}: cancel the user-defined set. */
    public static final int SET_OFF = 0x00;
    /** The second cancel that ends a sequence. */
    public static final int SET_TRAILER = 0xAA;

    /** The user-defined character code of the 10, 13 and 18 dot fonts. */
    public static final int NARROW_CODE = 0x41;
    /** The user-defined character code of the 24 dot font. */
    public static final int WIDE_CODE = 0x80;
    /** Bytes per dot column of a 24-dot-high user-defined character. */
    public static final int BYTES_PER_COLUMN = 3;

    /** Starts the graphics, symbol and paper commands. */
    public static final int GS = 0x1D;

    /** {@code ESC a n}: justify what follows left (0), centred (1) or right (2). */
    public static final int JUSTIFY = 'a';
    /** {@code ESC E n}: emphasis on (1) or off (0). */
    public static final int EMPHASIS = 'E';
    /** {@code ESC - n}: underline off (0), one dot (1) or two dots (2) thick. */
    public static final int UNDERLINE = '-';
    /** {@code GS ! n}: character size, width factor in the high nibble, height in the low. */
    public static final int CHARACTER_SIZE = '!';
    /** {@code GS B n}: white on black on (1) or off (0). */
    public static final int INVERSE = 'B';
    /** {@code GS V m n}: cut the paper after feeding n dots (m 65 full, 66 partial). */
    public static final int CUT = 'V';
    /** {@code ESC p m t1 t2}: pulse a cash-drawer pin (m 0: pin 2, 1: pin 5). */
    public static final int DRAWER_PULSE = 'p';

    /**
     * The cut: feed the paper to the cutter plus {@code feedDots}, then cut it.
     *
     * @param partial leave one point uncut (a partial cut) instead of cutting through
     * @param feedDots extra dots to feed before the cut, 0 to 255
     * @return {@code GS V 65 n} or {@code GS V 66 n}
     * @throws IllegalArgumentException if {@code feedDots} is out of 0..255
     */
    public static byte[] cut(boolean partial, int feedDots) {
        if (feedDots < 0 || feedDots > 255) {
            throw new IllegalArgumentException("cut feed out of 0..255 dots: " + feedDots);
        }
        return new byte[] {GS, CUT, (byte) (partial ? 66 : 65), (byte) feedDots};
    }

    /**
     * A pulse that opens the cash drawer.
     *
     * @param pin the connector pin, 2 or 5
     * @param onMillis how long the pulse lasts, 2 to 510 ms (sent in steps of 2 ms)
     * @param offMillis the pause after it, 2 to 510 ms
     * @return {@code ESC p m t1 t2}
     * @throws IllegalArgumentException if the pin is not 2 or 5, or a time is out of range
     */
    public static byte[] drawerPulse(int pin, int onMillis, int offMillis) {
        if (pin != 2 && pin != 5)
            throw new IllegalArgumentException("drawer pin not 2 or 5: " + pin);
        for (int ms : new int[] {onMillis, offMillis}) {
            if (ms < 2 || ms > 510) {
                throw new IllegalArgumentException("drawer pulse out of 2..510 ms: " + ms);
            }
        }
        return new byte[] {ESC, DRAWER_PULSE, (byte) (pin == 2 ? 0 : 1), (byte) (onMillis / 2),
            (byte) (offMillis / 2)};
    }
}

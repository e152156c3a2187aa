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
    public static final int SET_OFF = 0x00;
    public static final int SET_TRAILER = 0xAA;

    /** The user-defined character code of the 10, 13 and 18 dot fonts. */
    public static final int NARROW_CODE = 0x41;
    /** The user-defined character code of the 24 dot font. */
    public static final int WIDE_CODE = 0x80;
    /** Bytes per dot column of a 24-dot-high user-defined character. */
    public static final int BYTES_PER_COLUMN = 3;
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import zelvar.printer.api.android.nat.nativef;

/**
 * Drawing one character with a chosen justification: the composition that {@link
 * nativef#GetFontDrawBuffer} runs, with the sideways move of a justified glyph (an isolated alef)
 * toward the letter it belongs with.
 *
 * <p>The library is the one that {@link nativef} loads; this class makes sure that it is loaded
 * first.
 */
public final class NativeDraw {
    /** The glyph stays where the font drew it. */
    public static final int JUSTIFY_NONE = 0;

    /** A justified glyph moves left until one blank column remains at its left. */
    public static final int JUSTIFY_LEFT = 1;

    /** A justified glyph moves right until one blank column remains at its right. */
    public static final int JUSTIFY_RIGHT = 2;

    /** The only font height of the library's fonts. */
    public static final int FONT_HEIGHT = 24;

    static {
        // Loading nativef loads the library that also holds this class's native method.
        nativef.IsFontWidthSupported(FONT_HEIGHT);
    }

    private NativeDraw() {}

    /**
     * Composes the printer command sequence that draws one character as a user-defined character.
     *
     * @param codePoint the character
     * @param codePage the printer code page of the surrounding text (it admits the request)
     * @param width font width in dots: 10, 13, 18 or 24
     * @param height font height in dots: 24
     * @param placement the placement record of the previous character ({@link
     *     nativef#newPlacementRecord} starts a run), or null; on success bytes 0 to 5 become the
     *     record for the next character
     * @param justification {@link #JUSTIFY_NONE}, {@link #JUSTIFY_LEFT} or {@link
     *     #JUSTIFY_RIGHT}; any other value is taken as none. Only glyphs that the font marks as
     *     justifiable move.
     * @return the command bytes; an empty array when the character cannot be drawn or the
     *     placement array is shorter than six bytes, and the placement array is then unchanged
     */
    public static native byte[] drawJustified(
        int codePoint, int codePage, int width, int height, byte[] placement, int justification);
}

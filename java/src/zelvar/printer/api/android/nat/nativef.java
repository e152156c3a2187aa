// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.nat;

/**
 * The native side of the printer programming interface: four entry points of
 * libzelvarandroidapi.so.
 *
 * <p>The library keeps no state. Every method takes its inputs as arguments and hands its result
 * back as a new array or value; any thread may call any method at any time.
 *
 * <p>The library is loaded when this class is initialised: from the file named by the system
 * property {@value #LIBRARY_PATH_PROPERTY} when it is set (tests load a freshly built library
 * that way), otherwise by its name {@value #LIBRARY_NAME} from the library path, as an Android
 * application packages it.
 */
public final class nativef {
    /** Name of the native library, as System.loadLibrary takes it. */
    public static final String LIBRARY_NAME = "zelvarandroidapi";

    /** System property naming the library file to load instead of searching the library path. */
    public static final String LIBRARY_PATH_PROPERTY = "zelvar.printer.api.library";

    /** Length of the placement record that links one drawn character to the next. */
    public static final int PLACEMENT_RECORD_BYTES = 6;

    /** Margin byte meaning "no ink here", or "nothing known about the previous cell". */
    public static final byte NO_INK = (byte) 255;

    static {
        String path = System.getProperty(LIBRARY_PATH_PROPERTY);
        if (path != null && !path.isEmpty()) {
            System.load(path);
        } else {
            System.loadLibrary(LIBRARY_NAME);
        }
    }

    private nativef() {}

    /**
     * A placement record that starts a run of characters: no ink known in the four margin bytes
     * (left, right, top, bottom), and clear overstrike and justification bytes.
     */
    public static byte[] newPlacementRecord() {
        return new byte[] {NO_INK, NO_INK, NO_INK, NO_INK, 0, 0};
    }

    /**
     * Reorders one line of text, one Unicode code point per element, from reading order into the
     * order in which the printer prints it (left to right): right-to-left runs are reversed,
     * brackets mirrored and Arabic letters replaced by their joined forms.
     *
     * <p>The line is cut where a 0 element lands in printing order, and in right-to-left text
     * that is first: {@code {0x05D0, 0x05D1, 0}} comes back empty. A line with line or paragraph
     * separators is reordered paragraph by paragraph. A line that cannot be reordered (its
     * explicit embeddings, overrides and isolates nest more than 60 deep, which no text does)
     * comes back in reading order, cut at its first 0.
     *
     * @param text the line in reading order; null is taken as an empty line. It is not changed.
     * @return a new array with the line in printing order, cut before the first element that is
     *     0 in printing order
     * @throws OutOfMemoryError when the line or the result cannot be copied or allocated
     */
    public static native long[] ReverseTextRWC(long[] text);

    /**
     * Whether a character can be drawn by {@link #GetFontDrawBuffer} under the given code page,
     * font width and font height.
     */
    public static native boolean CharAvailable(int codePoint, int codePage, int width, int height);

    /**
     * Composes the printer command sequence that draws one character as a user-defined character.
     *
     * @param codePoint the character
     * @param codePage the printer code page of the surrounding text (it admits the request; it
     *     does not choose the glyph)
     * @param width font width in dots: 10, 13, 18 or 24
     * @param height font height in dots: 24
     * @param placement the placement record of the previous character (see
     *     {@link #newPlacementRecord}), or null. Bytes 0 to 5 are read and, on success, replaced by
     *     the record for the next character; bytes after the sixth are never touched.
     * @return the command bytes, each as an unsigned value 0 to 255; an empty array when the
     *     character cannot be drawn or the placement array is shorter than six bytes, and the
     *     placement array is then left as it was
     */
    public static native int[] GetFontDrawBuffer(
        int codePoint, int codePage, int width, int height, byte[] placement);

    /** Whether the library has a font of this width (10, 13, 18 or 24 dots). */
    public static native boolean IsFontWidthSupported(int width);
}

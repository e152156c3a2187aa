// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * A QR code (model 2) that the printer draws itself from its data, with {@code GS ( k}.
 *
 * <p>The printer picks the smallest symbol version that holds the data in byte mode; this class
 * works out the same version so that a layout knows how wide the symbol prints. The width counts
 * the symbol's modules only: the printer adds no quiet zone, so leave blank paper around it (the
 * paper's own margins usually do).
 *
 * <p>Instances are immutable.
 */
public final class QrCode {
    /** How much of the symbol may be lost and still read: about 7, 15, 25 and 30 percent. */
    public enum ErrorCorrection {
        /** About 7 percent. */
        L,
        /** About 15 percent. */
        M,
        /** About 25 percent. */
        Q,
        /** About 30 percent. */
        H
    }

    /** The smallest and largest module size, in dots, that the printer accepts. */
    public static final int MIN_MODULE = 1;

    /** The largest module size, in dots. */
    public static final int MAX_MODULE = 16;

    // Bytes that a model 2 symbol holds in byte mode, by version (1 to 40) and error correction.
    private static final int[][] CAPACITY = {
        {17, 32, 53, 78, 106, 134, 154, 192, 230, 271, 321, 367, 425, 458, 520, 586, 644, 718, 792,
            858, 929, 1003, 1091, 1171, 1273, 1367, 1465, 1528, 1628, 1732, 1840, 1952, 2068, 2188,
            2303, 2431, 2563, 2699, 2809, 2953},
        {14, 26, 42, 62, 84, 106, 122, 152, 180, 213, 251, 287, 331, 362, 412, 450, 504, 560, 624,
            666, 711, 779, 857, 911, 997, 1059, 1125, 1190, 1264, 1370, 1452, 1538, 1628, 1722,
            1809, 1911, 1989, 2099, 2213, 2331},
        {11, 20, 32, 46, 60, 74, 86, 108, 130, 151, 177, 203, 241, 258, 292, 322, 364, 394, 442,
            482, 509, 565, 611, 661, 715, 751, 805, 868, 908, 982, 1030, 1112, 1168, 1228, 1283,
            1351, 1423, 1499, 1579, 1663},
        {7, 14, 24, 34, 44, 58, 64, 84, 98, 119, 137, 155, 177, 194, 220, 250, 280, 310, 338, 382,
            403, 439, 461, 511, 535, 593, 625, 658, 698, 742, 790, 842, 898, 958, 983, 1051, 1093,
            1139, 1219, 1273},
    };

    // GS ( k pL pH cn fn ...: the two-dimensional symbol commands, cn 49 for QR codes.
    private static final int GS = EscPos.GS;
    private static final int SYMBOL = '(';
    private static final int SYMBOL_K = 'k';
    private static final int QR = 49;
    private static final int FN_MODEL = 65;
    private static final int FN_MODULE = 67;
    private static final int FN_ERROR_CORRECTION = 69;
    private static final int FN_STORE = 80;
    private static final int FN_PRINT = 81;
    private static final int MODEL_2 = 50;

    private final byte[] data;
    private final int module;
    private final ErrorCorrection level;
    private final int version;

    private QrCode(byte[] data, int module, ErrorCorrection level) {
        this.data = data;
        this.module = module;
        this.level = level;
        this.version = versionFor(data.length, level);
    }

    /**
     * A QR code of the text's UTF-8 bytes, 6 dots a module, error correction M.
     *
     * @param text the data
     * @return the symbol
     * @throws IllegalArgumentException if the text is null or empty, or its UTF-8 bytes exceed
     *     what the largest symbol holds at level M (2,331 bytes)
     */
    public static QrCode of(String text) {
        if (text == null) throw new IllegalArgumentException("QR code data: null");
        return of(text.getBytes(StandardCharsets.UTF_8), 6, ErrorCorrection.M);
    }

    /**
     * A QR code of the given bytes.
     *
     * @param data the data, copied
     * @param moduleDots the size of one module in dots, {@value #MIN_MODULE} to {@value
     *     #MAX_MODULE}
     * @param level the error correction level
     * @return the symbol
     * @throws IllegalArgumentException if the data is null or empty, the module size is out of
     *     range, the level is null, or the data exceeds what the largest symbol (version 40) holds
     *     in byte mode at that level: 2,953, 2,331, 1,663 or 1,273 bytes for L, M, Q, H
     */
    public static QrCode of(byte[] data, int moduleDots, ErrorCorrection level) {
        if (data == null || data.length == 0) {
            throw new IllegalArgumentException("QR code data: empty");
        }
        if (moduleDots < MIN_MODULE || moduleDots > MAX_MODULE) {
            throw new IllegalArgumentException("QR code module size out of 1..16: " + moduleDots);
        }
        if (level == null) throw new IllegalArgumentException("QR code error correction: null");
        int[] capacity = CAPACITY[level.ordinal()];
        if (data.length > capacity[capacity.length - 1]) {
            throw new IllegalArgumentException("QR code data of " + data.length
                + " bytes exceeds the " + capacity[capacity.length - 1]
                + " bytes a symbol holds at error correction " + level);
        }
        return new QrCode(data.clone(), moduleDots, level);
    }

    private static int versionFor(int bytes, ErrorCorrection level) {
        int[] capacity = CAPACITY[level.ordinal()];
        int v = 0;
        while (capacity[v] < bytes) ++v;
        return v + 1;
    }

    /** @return the symbol version (1 to 40) the printer draws for this data */
    public int version() { return version; }

    /** @return the printed width (and height) of the symbol in dots, without quiet zone */
    public int widthDots() { return (17 + 4 * version) * module; }

    /** @return the data, a copy */
    public byte[] data() { return data.clone(); }

    /**
     * The commands that select model 2, the module size and the error correction level, store the
     * data and print the symbol at the current justification.
     *
     * @return the command bytes
     */
    public byte[] toBytes() {
        ByteArrayOutputStream out = new ByteArrayOutputStream(data.length + 40);
        function(out, FN_MODEL, MODEL_2, 0); // GS ( k fn 65: model 2
        function(out, FN_MODULE, module); // GS ( k fn 67: module size
        function(out, FN_ERROR_CORRECTION, '0' + level.ordinal()); // GS ( k fn 69: level
        byte[] store = Arrays.copyOf(new byte[] {'0'}, 1 + data.length);
        System.arraycopy(data, 0, store, 1, data.length);
        function(out, FN_STORE, store); // GS ( k fn 80: store the data
        function(out, FN_PRINT, '0'); // GS ( k fn 81: print the stored symbol
        return out.toByteArray();
    }

    private static void function(ByteArrayOutputStream out, int fn, int... parameters) {
        byte[] p = new byte[parameters.length];
        for (int i = 0; i < p.length; ++i) p[i] = (byte) parameters[i];
        function(out, fn, p);
    }

    private static void function(ByteArrayOutputStream out, int fn, byte[] parameters) {
        int length = parameters.length + 2; // cn and fn count too
        out.write(GS);
        out.write(SYMBOL);
        out.write(SYMBOL_K);
        out.write(length & 0xFF);
        out.write(length >>> 8);
        out.write(QR);
        out.write(fn);
        out.write(parameters, 0, parameters.length);
    }
}

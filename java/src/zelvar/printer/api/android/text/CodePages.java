// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CharsetDecoder;
import java.nio.charset.CharsetEncoder;
import java.nio.charset.CodingErrorAction;
import java.util.HashMap;
import java.util.Map;

/**
 * The code pages the library serves, and how the printer's resident font is reached in each: the
 * bytes that print a character from the printer's own font.
 */
final class CodePages {
    private CodePages() {}

    /** The code pages the library serves, as {@code IsCPSupported} lists them. */
    static boolean isServed(int codePage) {
        return isSingleByte(codePage) || isDoubleByte(codePage) || codePage == 290
            || codePage == 20290;
    }

    /** Single-byte code pages that keep ASCII in their lower half and need an {@code ESC t}. */
    static boolean isSingleByte(int codePage) {
        switch (codePage) {
            case 1256:
            case 864:
            case 720:
            case 1098:
            case 862:
            case 1255:
                return true;
            default:
                return false;
        }
    }

    /** Japanese and Chinese code pages, printed in the printer's Kanji (double-byte) mode. */
    static boolean isDoubleByte(int codePage) {
        return codePage == 932 || codePage == 936 || codePage == 54936;
    }

    /** EBCDIC katakana: the fonts serve it, but no printer code table carries its bytes. */
    static boolean isEbcdic(int codePage) { return codePage == 290 || codePage == 20290; }

    /** The JDK's name of a code page's converter; null for 720, which is carried as a table. */
    static String charsetName(int codePage) {
        switch (codePage) {
            case 1256:
                return "windows-1256";
            case 864:
                return "IBM864";
            case 1098:
                return "x-IBM1098";
            case 862:
                return "IBM862";
            case 1255:
                return "windows-1255";
            case 932:
                return "windows-31j";
            case 936:
                return "GBK";
            case 54936:
                return "GB18030";
            default:
                return null;
        }
    }

    /**
     * The resident text of one code page. Single-byte code pages are read into a table of the
     * Basic Multilingual Plane once; double-byte ones go through the JDK's encoder, remembered per
     * character. Only bytes that print come out: never a control byte that the printer would read
     * as a command, and in a double-byte code page only ASCII or a two-byte character.
     */
    static final class Resident {
        private static final Map<Integer, byte[]> SINGLE_BYTE_TABLES = new HashMap<>();

        private final boolean doubleByte;
        private final byte[] singleByte; // code point (BMP) -> byte, 0 where none
        private final CharsetEncoder encoder;
        private final Map<Integer, byte[]> encoded = new HashMap<>();
        private final char[] pair = new char[2];

        /** @throws IllegalArgumentException when this system has no converter for it */
        Resident(int codePage) {
            doubleByte = isDoubleByte(codePage);
            if (doubleByte) {
                singleByte = null;
                encoder = charset(codePage)
                              .newEncoder()
                              .onMalformedInput(CodingErrorAction.REPORT)
                              .onUnmappableCharacter(CodingErrorAction.REPORT);
            } else {
                singleByte = singleByteTable(codePage);
                encoder = null;
            }
        }

        private static Charset charset(int codePage) {
            String name = charsetName(codePage);
            try {
                return Charset.forName(name);
            } catch (IllegalArgumentException e) {
                throw new IllegalArgumentException(
                    "code page " + codePage + " has no converter (" + name + ") on this system", e);
            }
        }

        private static byte[] singleByteTable(int codePage) {
            synchronized (SINGLE_BYTE_TABLES) {
                byte[] table = SINGLE_BYTE_TABLES.get(codePage);
                if (table != null) return table;
                table = new byte[0x10000];
                char[] high = new char[128];
                if (codePage == 720) {
                    high = Cp720.HIGH_HALF;
                } else {
                    CharsetDecoder decoder = charset(codePage)
                                                 .newDecoder()
                                                 .onMalformedInput(CodingErrorAction.REPORT)
                                                 .onUnmappableCharacter(CodingErrorAction.REPORT);
                    for (int b = 0x80; b <= 0xFF; ++b) high[b - 0x80] = decode(decoder, b);
                }
                // The lower half is ASCII in every served single-byte code page.
                for (int b = 0x20; b < 0x7F; ++b) table[b] = (byte) b;
                for (int b = 0x80; b <= 0xFF; ++b) {
                    char c = high[b - 0x80];
                    // A byte the printer reads as a control character is never sent as text.
                    if (c >= 0xA0 || (c >= 0x20 && c < 0x7F)) {
                        if (table[c] == 0) table[c] = (byte) b;
                    }
                }
                SINGLE_BYTE_TABLES.put(codePage, table);
                return table;
            }
        }

        private static char decode(CharsetDecoder decoder, int b) {
            try {
                CharBuffer chars = decoder.decode(ByteBuffer.wrap(new byte[] {(byte) b}));
                return chars.length() == 1 ? chars.get(0) : 0;
            } catch (CharacterCodingException e) {
                return 0;
            }
        }

        /**
         * The bytes that print {@code codePoint} from the resident font, or null when the code
         * page has no such printable character. The array is shared: callers copy it.
         */
        byte[] encode(int codePoint) {
            if (!doubleByte) {
                if (codePoint < 0 || codePoint >= 0x10000) return null;
                byte b = singleByte[codePoint];
                return b == 0 ? null : SINGLE[b & 0xFF];
            }
            return encodeRemembered(codePoint);
        }

        // Encoders of every thread share one Resident per code page, and the JDK's encoder is not
        // safe for concurrent use.
        private synchronized byte[] encodeRemembered(int codePoint) {
            byte[] bytes = encoded.get(codePoint);
            if (bytes != null) return bytes.length == 0 ? null : bytes;
            bytes = encodeDoubleByte(codePoint);
            encoded.put(codePoint, bytes == null ? new byte[0] : bytes);
            return bytes;
        }

        private byte[] encodeDoubleByte(int codePoint) {
            int n = Character.toChars(codePoint, pair, 0);
            ByteBuffer out;
            try {
                out = encoder.reset().encode(CharBuffer.wrap(pair, 0, n));
            } catch (CharacterCodingException e) {
                return null;
            }
            byte[] bytes = new byte[out.remaining()];
            out.get(bytes);
            boolean ascii = bytes.length == 1 && bytes[0] >= 0x20 && bytes[0] < 0x7F;
            // Two bytes with a lead byte; anything longer (four-byte GB18030) the printer's Kanji
            // mode does not take, and a single byte above ASCII would read as a lead byte there.
            boolean twoBytes = bytes.length == 2 && (bytes[0] & 0xFF) >= 0x81;
            return ascii || twoBytes ? bytes : null;
        }

        private static final byte[][] SINGLE = new byte[256][];

        static {
            for (int b = 0; b < 256; ++b) SINGLE[b] = new byte[] {(byte) b};
        }
    }
}

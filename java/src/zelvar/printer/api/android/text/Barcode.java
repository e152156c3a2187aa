// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;

/**
 * A one-dimensional barcode that the printer draws itself, with {@code GS k}.
 *
 * <p>The data is checked before anything is sent: a printer that is handed a bad barcode prints
 * nothing or prints the data as text, and a scanner then reads nothing. Check digits are worked
 * out when the data leaves them off and verified when it carries them.
 *
 * <p>Instances are immutable; the {@code with} methods return a changed copy.
 */
public final class Barcode {
    /** The symbologies, with their {@code GS k} function B numbers. */
    public enum Symbology {
        /** UPC-A: 11 digits and a check digit. */
        UPC_A(65),
        /** EAN-13: 12 digits and a check digit. */
        EAN13(67),
        /** EAN-8: 7 digits and a check digit. */
        EAN8(68),
        /** CODE39: digits, capital letters, space and {@code - . $ / + %}. */
        CODE39(69),
        /** ITF (interleaved 2 of 5): an even number of digits. */
        ITF(70),
        /** CODE128: printable ASCII, all-digit data packed two digits a symbol. */
        CODE128(73);

        final int m;

        Symbology(int m) { this.m = m; }
    }

    /** Where the printer prints the human-readable digits. */
    public enum TextPosition {
        /** No text. */
        NONE,
        /** Over the bars. */
        ABOVE,
        /** Under the bars. */
        BELOW,
        /** Over and under the bars. */
        BOTH
    }

    private static final int GS = EscPos.GS;
    private static final int HEIGHT = 'h'; // GS h n : bar height in dots
    private static final int MODULE = 'w'; // GS w n : module width in dots
    private static final int TEXT = 'H'; // GS H n : human-readable text position
    private static final int PRINT = 'k'; // GS k m n d... : print a barcode
    private static final String CODE39_CHARACTERS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%";
    // CODE128 code sets as the printer takes them: '{' and a letter start a set.
    private static final byte CODE_SET = '{';
    private static final byte SET_B = 'B';
    private static final byte SET_C = 'C';

    private final Symbology symbology;
    private final String data;
    private final int height;
    private final int module;
    private final TextPosition text;

    private Barcode(Symbology symbology, String data, int height, int module, TextPosition text) {
        this.symbology = symbology;
        this.data = data;
        this.height = height;
        this.module = module;
        this.text = text;
    }

    /**
     * A barcode of the data, 80 dots high, modules 2 dots wide, the digits printed below.
     *
     * @param symbology the symbology
     * @param data for UPC-A 11 digits (or 12 with the check digit), for EAN-13 12 (or 13), for
     *     EAN-8 7 (or 8); for CODE39 digits, capital letters, space and {@code - . $ / + %}; for
     *     ITF an even number of digits; for CODE128 printable ASCII. At most 255 bytes.
     * @return the barcode
     * @throws IllegalArgumentException naming the fault: a null symbology or data, empty data, a
     *     wrong length, a character the symbology cannot encode, or a wrong check digit
     */
    public static Barcode of(Symbology symbology, String data) {
        if (symbology == null) throw new IllegalArgumentException("barcode symbology: null");
        if (data == null || data.isEmpty()) {
            throw new IllegalArgumentException(symbology + " data: empty");
        }
        return new Barcode(symbology, checked(symbology, data), 80, 2, TextPosition.BELOW);
    }

    private static String checked(Symbology s, String data) {
        switch (s) {
            case UPC_A:
                return withCheckDigit(s, data, 11);
            case EAN13:
                return withCheckDigit(s, data, 12);
            case EAN8:
                return withCheckDigit(s, data, 7);
            case CODE39:
                for (int i = 0; i < data.length(); ++i) {
                    if (CODE39_CHARACTERS.indexOf(data.charAt(i)) < 0) {
                        throw refusal(s, data, "holds " + quoted(data.charAt(i)));
                    }
                }
                break;
            case ITF:
                requireDigits(s, data);
                if (data.length() % 2 != 0) {
                    throw refusal(s, data, "needs an even number of digits");
                }
                break;
            default:
                for (int i = 0; i < data.length(); ++i) {
                    char c = data.charAt(i);
                    if (c < 0x20 || c > 0x7E) throw refusal(s, data, "holds " + quoted(c));
                }
        }
        if (payload(s, data).length > 255) throw refusal(s, data, "is longer than 255 bytes");
        return data;
    }

    private static String withCheckDigit(Symbology s, String data, int digits) {
        requireDigits(s, data);
        if (data.length() != digits && data.length() != digits + 1) {
            throw refusal(s, data,
                "needs " + digits + " digits, or " + (digits + 1) + " with the check digit");
        }
        char check = checkDigit(data.substring(0, digits));
        if (data.length() == digits) return data + check;
        if (data.charAt(digits) != check) {
            throw refusal(s, data, "has check digit " + data.charAt(digits) + ", not " + check);
        }
        return data;
    }

    /** The check digit of UPC and EAN: weights 3 and 1 from the right. */
    private static char checkDigit(String digits) {
        int sum = 0;
        for (int i = 0; i < digits.length(); ++i) {
            int d = digits.charAt(digits.length() - 1 - i) - '0';
            sum += i % 2 == 0 ? 3 * d : d;
        }
        return (char) ('0' + (10 - sum % 10) % 10);
    }

    private static void requireDigits(Symbology s, String data) {
        for (int i = 0; i < data.length(); ++i) {
            char c = data.charAt(i);
            if (c < '0' || c > '9') throw refusal(s, data, "holds " + quoted(c) + ", not a digit");
        }
    }

    private static IllegalArgumentException refusal(Symbology s, String data, String why) {
        return new IllegalArgumentException(s + " data \"" + data + "\" " + why);
    }

    private static String quoted(char c) {
        return c >= 0x20 && c < 0x7F ? "'" + c + "'" : String.format("U+%04X", (int) c);
    }

    /**
     * @param dots the bar height, 1 to 255 dots
     * @return a copy with that height
     * @throws IllegalArgumentException if out of range
     */
    public Barcode withHeight(int dots) {
        if (dots < 1 || dots > 255) throw new IllegalArgumentException("barcode height: " + dots);
        return new Barcode(symbology, data, dots, module, text);
    }

    /**
     * @param dots the width of the narrowest bar, 2 to 6 dots
     * @return a copy with that module width
     * @throws IllegalArgumentException if out of range
     */
    public Barcode withModuleWidth(int dots) {
        if (dots < 2 || dots > 6) throw new IllegalArgumentException("barcode module: " + dots);
        return new Barcode(symbology, data, height, dots, text);
    }

    /**
     * @param position where the digits print
     * @return a copy that prints them there
     * @throws IllegalArgumentException if the position is null
     */
    public Barcode withText(TextPosition position) {
        if (position == null) throw new IllegalArgumentException("barcode text position: null");
        return new Barcode(symbology, data, height, module, position);
    }

    /** @return the symbology */
    public Symbology symbology() { return symbology; }

    /** @return the data as encoded, check digit included */
    public String data() { return data; }

    /**
     * The printed width in dots: exact for UPC-A, EAN and CODE128; for CODE39 and ITF, whose wide
     * bars some printers draw 2 and others 3 modules wide, the width at 3.
     *
     * @return the width of the bars, without quiet zones
     */
    public int widthDots() {
        int n = data.length();
        int modules;
        switch (symbology) {
            case UPC_A:
            case EAN13:
                modules = 95;
                break;
            case EAN8:
                modules = 67;
                break;
            case CODE39:
                modules = (n + 2) * 16 - 1; // 6 narrow, 3 wide and a gap per character
                break;
            case ITF:
                modules = n * 9 + 4 + 5; // 2 wide and 3 narrow per digit, start and stop
                break;
            default:
                int symbols = allDigits(data) && n % 2 == 0 ? n / 2 : n;
                modules = 11 * (symbols + 2) + 13; // start, data and check of 11, stop of 13
        }
        return modules * module;
    }

    /**
     * The commands that set the height, module width and text position and print the barcode at
     * the current justification.
     *
     * @return the command bytes
     */
    public byte[] toBytes() {
        byte[] payload = payload(symbology, data);
        ByteArrayOutputStream out = new ByteArrayOutputStream(payload.length + 16);
        out.write(GS);
        out.write(HEIGHT); // GS h n : bar height
        out.write(height);
        out.write(GS);
        out.write(MODULE); // GS w n : module width
        out.write(module);
        out.write(GS);
        out.write(TEXT); // GS H n : human-readable text position
        out.write(text.ordinal());
        out.write(GS);
        out.write(PRINT); // GS k m n d... : print the barcode
        out.write(symbology.m);
        out.write(payload.length);
        out.write(payload, 0, payload.length);
        return out.toByteArray();
    }

    /** The data bytes of {@code GS k}: CODE128 names its code set, C packs digit pairs. */
    private static byte[] payload(Symbology s, String data) {
        byte[] ascii = data.getBytes(StandardCharsets.US_ASCII);
        if (s != Symbology.CODE128) return ascii;
        ByteArrayOutputStream out = new ByteArrayOutputStream(ascii.length + 4);
        out.write(CODE_SET);
        if (allDigits(data) && data.length() % 2 == 0) {
            out.write(SET_C);
            for (int i = 0; i < data.length(); i += 2) {
                out.write((data.charAt(i) - '0') * 10 + data.charAt(i + 1) - '0');
            }
        } else {
            out.write(SET_B);
            for (byte b : ascii) {
                out.write(b);
                if (b == CODE_SET) out.write(CODE_SET); // a brace of the data is doubled
            }
        }
        return out.toByteArray();
    }

    private static boolean allDigits(String data) {
        for (int i = 0; i < data.length(); ++i) {
            if (data.charAt(i) < '0' || data.charAt(i) > '9') return false;
        }
        return true;
    }
}

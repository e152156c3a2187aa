// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Arrays;
import java.util.Base64;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.MethodSource;
import zelvar.printer.api.android.text.Barcode.Symbology;
import zelvar.printer.api.android.text.QrCode.ErrorCorrection;

/** What a receipt holds besides text: barcodes, QR codes, pictures, the cut and the drawer. */
class PrinterItemsTest {
    @ParameterizedTest(name = "{0} {1} -> {2}")
    @CsvSource({
        "EAN13, 400638133393, 4006381333931",
        "EAN13, 4006381333931, 4006381333931",
        "UPC_A, 03600029145, 036000291452",
        "EAN8, 9638507, 96385074",
        "CODE39, CODE-39 $/+%, CODE-39 $/+%",
        "ITF, 1234567890, 1234567890",
        "CODE128, Zelvar{1}, Zelvar{1}",
    })
    void
    checkDigitsAreComputedOrVerified(Symbology s, String data, String encoded) {
        assertEquals(encoded, Barcode.of(s, data).data());
    }

    static Stream<Arguments> badBarcodes() {
        return Stream.of(Arguments.of(Symbology.EAN13, "4006381333932"), // check digit
            Arguments.of(Symbology.EAN13, "40063813339"), // length
            Arguments.of(Symbology.EAN13, "40063813339a"),
            Arguments.of(Symbology.UPC_A, "0360002914"),
            Arguments.of(Symbology.UPC_A, "036000291453"), Arguments.of(Symbology.EAN8, "96385075"),
            Arguments.of(Symbology.CODE39, "lower"), Arguments.of(Symbology.CODE39, "A*B"),
            Arguments.of(Symbology.ITF, "12345"), Arguments.of(Symbology.ITF, "12 4"),
            Arguments.of(Symbology.CODE128, "caf\u00e9"), Arguments.of(Symbology.CODE128, "a\nb"),
            Arguments.of(Symbology.CODE128, "x".repeat(254)), Arguments.of(Symbology.CODE128, ""));
    }

    @ParameterizedTest(name = "{0} \"{1}\"")
    @MethodSource("badBarcodes")
    void badBarcodeDataIsRefused(Symbology s, String data) {
        IllegalArgumentException e =
            assertThrows(IllegalArgumentException.class, () -> Barcode.of(s, data));
        assertTrue(e.getMessage().startsWith(s.toString()), e.getMessage());
    }

    @Test
    void barcodeCommands() {
        // GS h 50, GS w 3, GS H 2, GS k 73 n: CODE128 in code set C packs the digit pairs.
        assertArrayEquals(
            bytes(0x1D, 'h', 50, 0x1D, 'w', 3, 0x1D, 'H', 2, 0x1D, 'k', 73, 4, '{', 'C', 12, 34),
            Barcode.of(Symbology.CODE128, "1234").withHeight(50).withModuleWidth(3).toBytes());
        // Code set B doubles a brace of the data.
        byte[] b = Barcode.of(Symbology.CODE128, "a{b").toBytes();
        assertArrayEquals(bytes(73, 6, '{', 'B', 'a', '{', '{', 'b'),
            Arrays.copyOfRange(b, b.length - 8, b.length));
    }

    @Test
    void invoicePayloadIsTagLengthValue() {
        String payload = SaudiInvoiceQr.payload("\u0645\u062a\u062c\u0631", "310122393500003",
            "2026-12-09T10:30:00Z", "115.00", "15.00");
        byte[] expected = bytes(1, 8, 0xD9, 0x85, 0xD8, 0xAA, 0xD8, 0xAC, 0xD8, 0xB1, // متجر
            2, 15, '3', '1', '0', '1', '2', '2', '3', '9', '3', '5', '0', '0', '0', '0', '3', //
            3, 20, '2', '0', '2', '6', '-', '1', '2', '-', '0', '9', 'T', '1', '0', ':', '3', '0',
            ':', '0', '0', 'Z', //
            4, 6, '1', '1', '5', '.', '0', '0', //
            5, 5, '1', '5', '.', '0', '0');
        assertArrayEquals(expected, Base64.getDecoder().decode(payload));
        assertEquals(
            "AQjZhdiq2KzYsQIPMzEwMTIyMzkzNTAwMDAzAxQyMDI2LTEyLTA5VDEwOjMwOjAwWgQGMTE1LjAwBQUxNS4wMA==",
            payload);
        assertThrows(IllegalArgumentException.class,
            () -> SaudiInvoiceQr.payload("x".repeat(256), "3", "t", "1", "1"));
        assertThrows(
            IllegalArgumentException.class, () -> SaudiInvoiceQr.payload("x", "", "t", "1", "1"));
    }

    @ParameterizedTest(name = "{0}: {1} bytes")
    @CsvSource({"L, 2953", "M, 2331", "Q, 1663", "H, 1273"})
    void qrCodeHoldsUpToTheLargestSymbol(ErrorCorrection level, int capacity) {
        QrCode full = QrCode.of(new byte[capacity], 3, level);
        assertEquals(40, full.version());
        assertEquals(177 * 3, full.widthDots());
        assertThrows(
            IllegalArgumentException.class, () -> QrCode.of(new byte[capacity + 1], 3, level));
    }

    @Test
    void qrCodeCommands() {
        QrCode qr = QrCode.of("https://z.example/1");
        assertEquals(2, qr.version()); // 19 bytes at level M
        byte[] expected = bytes(0x1D, '(', 'k', 4, 0, 49, 65, 50, 0, // model 2
            0x1D, '(', 'k', 3, 0, 49, 67, 6, // module size 6
            0x1D, '(', 'k', 3, 0, 49, 69, '1', // level M
            0x1D, '(', 'k', 22, 0, 49, 80, '0'); // store 19 bytes
        assertArrayEquals(expected, Arrays.copyOf(qr.toBytes(), expected.length));
        assertArrayEquals(bytes(0x1D, '(', 'k', 3, 0, 49, 81, '0'),
            Arrays.copyOfRange(qr.toBytes(), expected.length + 19, expected.length + 27));
    }

    @Test
    void picturesBecomeOneBitRasters() {
        // 3 x 2 pixels: black, transparent, dark grey / white, a light shadow over paper, black.
        int[] pixels = {0xFF000000, 0x00000000, 0xFF404040, 0xFFFFFFFF, 0x60000000, 0xFF000000};
        RasterImage image = RasterImage.of(pixels, 3, 2, 3, RasterImage.Dither.THRESHOLD);
        assertArrayEquals(
            bytes(0x1D, 'v', '0', 0, 1, 0, 2, 0, 0b10100000, 0b00100000), image.toBytes());
        // Scaled down 2:1, a dot averages its four pixels rather than taking the first.
        int[] checker = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}; // one black of four
        assertEquals(
            false, RasterImage.of(checker, 2, 2, 1, RasterImage.Dither.THRESHOLD).isBlack(0, 0));

        // Error diffusion renders a flat mid grey as about half the dots.
        int[] grey = new int[100 * 100];
        Arrays.fill(grey, 0xFF808080);
        RasterImage dithered =
            RasterImage.of(grey, 100, 100, 200, RasterImage.Dither.ERROR_DIFFUSION);
        int black = 0;
        for (int y = 0; y < dithered.heightDots(); ++y) {
            for (int x = 0; x < dithered.widthDots(); ++x) black += dithered.isBlack(x, y) ? 1 : 0;
        }
        assertEquals(0.5, black / 40000.0, 0.02);
        // A tall picture goes in bands: one byte a row, 8,192 rows a band.
        int[] line = new int[9000];
        byte[] bands = RasterImage.of(line, 1, 9000, 1, RasterImage.Dither.THRESHOLD).toBytes();
        assertEquals(2 * 8 + 9000, bands.length);
        assertArrayEquals(bytes(0x1D, 'v', '0', 0, 1, 0, 0x28, 0x03), // the second band: 808 rows
            Arrays.copyOfRange(bands, 8 + 8192, 8 + 8192 + 8));
    }

    @Test
    void badPicturesAndDeviceCommandsAreRefused() {
        RasterImage.Dither t = RasterImage.Dither.THRESHOLD;
        assertThrows(IllegalArgumentException.class, () -> RasterImage.of(new int[3], 2, 2, 8, t));
        assertThrows(IllegalArgumentException.class, () -> RasterImage.of(null, 2, 2, 8, t));
        assertThrows(IllegalArgumentException.class, () -> RasterImage.of(new int[4], 0, 2, 8, t));
        assertThrows(IllegalArgumentException.class, () -> RasterImage.of(new int[4], 2, 2, 0, t));
        assertThrows(
            IllegalArgumentException.class, () -> RasterImage.of(new int[1], 1, 1, 70000, t));
        assertArrayEquals(bytes(0x1D, 'V', 66, 24), EscPos.cut(true, 24));
        assertArrayEquals(bytes(0x1B, 'p', 1, 50, 250), EscPos.drawerPulse(5, 100, 500));
        assertThrows(IllegalArgumentException.class, () -> EscPos.cut(false, 256));
        assertThrows(IllegalArgumentException.class, () -> EscPos.drawerPulse(3, 100, 100));
    }

    private static byte[] bytes(int... values) {
        byte[] b = new byte[values.length];
        for (int i = 0; i < b.length; ++i) b[i] = (byte) values[i];
        return b;
    }
}

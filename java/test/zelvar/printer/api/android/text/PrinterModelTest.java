// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Printers chosen by model: their code tables, paper, and what they lack. */
class PrinterModelTest {
    /** The {@code n} of the first {@code ESC t n} in the bytes, or -1. */
    static int selectedTable(byte[] bytes) {
        for (int i = 0; i + 2 < bytes.length; ++i) {
            if (bytes[i] == EscPos.ESC && bytes[i + 1] == EscPos.SELECT_CODE_TABLE) {
                return bytes[i + 2] & 0xFF;
            }
        }
        return -1;
    }

    @ParameterizedTest(name = "{0} {1}")
    @CsvSource({
        // model, code page (0: chosen), text, ESC t, paper dots, code page printed
        "epson-tm-t88vi, 1256, مرحبا, 50, 504, 1256",
        "pos-5890, 862, שלום, 8, 384, 862",
        "pos-8360, 0, שלום, 32, 576, 1255",
        "sunmi-p3h, 1255, abc, -1, 384, 1255", // no Hebrew table: refused
        "sunmi-p3h, 864, سلام, 37, 384, 864",
        "citizen-ct-s310ii, 0, مرحبا 12, 40, 576, 864",
        "hp-a779, 1256, مرحبا abc, -1, 528, 1256",
    })
    void
    modelsSelectTheirTablesOnTheirPaper(
        String model, int codePage, String text, int table, int paper, int printed) {
        PrinterProfile profile = PrinterProfile.forModel(model);
        if (!profile.hasCodeTable(printed) && (printed == 862 || printed == 1255)) {
            // Hebrew without a table: the fonts do not draw it, so the encoder refuses.
            IllegalArgumentException e = assertThrows(
                IllegalArgumentException.class, () -> new ReceiptEncoder(profile, codePage, 13));
            assertTrue(e.getMessage().contains(model) && e.getMessage().contains("" + codePage),
                e.getMessage());
            return;
        }
        ReceiptEncoder encoder = new ReceiptEncoder(profile, codePage, 13).addLine(text);
        byte[] bytes = encoder.toBytes();
        assertEquals(paper, encoder.paperDots());
        assertEquals(printed, encoder.codePage());
        assertEquals(table, selectedTable(bytes));
        // Nothing the fonts or the table can print becomes '?'.
        assertEquals(List.of(), encoder.unprintables());
        if (codePage == 0) {
            assertTrue(encoder.notes().stream().anyMatch(
                           n -> n.kind() == Note.Kind.CODE_PAGE && n.codePoint() == printed),
                encoder.notes().toString());
        }
        // A character sent wider than these models' 12-dot Font A is said once.
        long wide =
            encoder.notes().stream().filter(n -> n.kind() == Note.Kind.WIDE_CHARACTER).count();
        boolean wider = Wire.parse(bytes)
                            .lines.stream()
                            .flatMap(List::stream)
                            .anyMatch(g -> g.drawn && g.width > 12);
        assertEquals(wider ? 1 : 0, wide);
    }

    @Test
    void unknownModelsAreRefusedWithTheNearestIds() {
        IllegalArgumentException e =
            assertThrows(IllegalArgumentException.class, () -> PrinterProfile.forModel("tm-t88vi"));
        assertTrue(e.getMessage().contains("epson-tm-t88vi"), e.getMessage());
        assertEquals(32, PrinterProfile.models().size());
    }

    @Test
    void listPrintersListsEveryModel() throws Exception {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        assertEquals(0,
            EncodeReceipt.run(new String[] {"--list-printers"}, null, out,
                new PrintStream(new ByteArrayOutputStream(), true, "UTF-8")));
        List<String> lines = out.toString(StandardCharsets.UTF_8).lines().toList();
        assertEquals(PrinterProfile.models().size(), lines.size());
        assertTrue(lines.contains("pos-5890\tPOS-5890\t203 dpi\t384 dots\t720=93 862=8 864=28"
                       + " 1255=32 1256=92 katakana=1"),
            lines.toString());
    }
}

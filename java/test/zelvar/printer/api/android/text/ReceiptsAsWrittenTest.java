// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.io.ByteArrayOutputStream;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.List;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Receipts as apps write them, read back as text through the preview's printer model. */
class ReceiptsAsWrittenTest {
    /** The printed lines of the text, as the printer model reads them back. */
    static List<String> printed(int codePage, int width, String... lines) throws Exception {
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, width, 576);
        for (String line : lines) e.addLine(line);
        Process p = new ProcessBuilder(System.getProperty(ReceiptRenderTest.RENDERER_PROPERTY),
            "--text", "--code-page", Integer.toString(codePage), "-")
                        .redirectError(ProcessBuilder.Redirect.DISCARD)
                        .start();
        try (OutputStream in = p.getOutputStream()) {
            in.write(e.toBytes());
        }
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        try (InputStream stdout = p.getInputStream()) {
            stdout.transferTo(out);
        }
        assertEquals(0, p.waitFor());
        assertEquals(List.of(), e.unprintables(), "nothing printed as ?");
        return out.toString(StandardCharsets.UTF_8).lines().map(String::strip).toList();
    }

    @ParameterizedTest(name = "{1} under {0}")
    @CsvSource(delimiter = '|',
        value =
            {
                // code page | width | text | the printed line read left to right
                "932 | 24 | ｺｰﾋｰ ¥350 | コーヒー ¥350", // half-width katakana as full-width; the
                                                        // yen drawn
                "936 | 24 | ¥12 | ¥12", // the 24-dot font lacks the yen: another font draws it
                "862 | 13 | ₪ 12 × 3 | x 3 12 ח\"ש", // substitutes where nothing else prints
                "720 | 13 | 2 × 3 | 2 x 3",
                "1256 | 13 | １２３ −5 | 123 -5", // full-width digits (NFKC) and the minus sign
                "1256 | 13 | تلفن ۰۲۱-۸۸۷۷۶۶۵۵ | ٠٢١-٨٨٧٧۶۶۵۵ ﻦﻔﻠﺗ", // a phone number in the order
                                                                     // written
                "1256 | 13 | التاريخ 2026-12-08 | 2026-12-08 ﺦﯾرﺎﺘﻟا",
                "1256 | 13 | خصم -6.48 | -6.48 ﻢﺼﺧ",
            })
    void
    charactersThatCanPrintPrintInTheOrderWritten(
        int codePage, int width, String text, String expected) throws Exception {
        assertEquals(List.of(expected), printed(codePage, width, text));
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * The encoder's bytes printed by the receipt preview's printer model (the receipt-preview program,
 * named by the system property {@value #RENDERER_PROPERTY}), and read as a reader would: where each
 * character cell landed on the paper.
 */
class ReceiptRenderTest {
    static final String RENDERER_PROPERTY = "zelvar.receipt.preview";
    static final int PAPER = 576;

    /** One cell as the printer model placed it. */
    record Cell(int line, int y, int x, int width, int codePoint, boolean user, boolean over) {
        int end() {
            return x + width;
        }
    }

    static List<Cell> render(byte[] bytes, int codePage) throws IOException, InterruptedException {
        return render(bytes, codePage, PAPER);
    }

    static List<Cell> render(byte[] bytes, int codePage, int paper)
        throws IOException, InterruptedException {
        String program = System.getProperty(RENDERER_PROPERTY);
        assertTrue(program != null && !program.isEmpty(), RENDERER_PROPERTY + " is not set");
        Process process = new ProcessBuilder(program, "--cells", "--code-page",
            Integer.toString(codePage), "--paper", Integer.toString(paper), "-")
                              .redirectError(ProcessBuilder.Redirect.INHERIT)
                              .start();
        try (OutputStream in = process.getOutputStream()) {
            in.write(bytes);
        }
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        try (InputStream stdout = process.getInputStream()) {
            stdout.transferTo(out);
        }
        assertEquals(0, process.waitFor(), "the printer model read the bytes");
        List<Cell> cells = new ArrayList<>();
        for (String row : out.toString(StandardCharsets.UTF_8).split("\n")) {
            if (row.isEmpty()) continue;
            String[] f = row.split("\t");
            cells.add(
                new Cell(Integer.parseInt(f[0]), Integer.parseInt(f[1]), Integer.parseInt(f[2]),
                    Integer.parseInt(f[3]), Integer.parseInt(f[4].substring(2), 16),
                    f[5].equals("user"), f.length > 6 && f[6].equals("over")));
        }
        return cells;
    }

    static Map<Integer, List<Cell>> byLine(List<Cell> cells) {
        Map<Integer, List<Cell>> lines = new TreeMap<>();
        for (Cell c : cells) lines.computeIfAbsent(c.line(), k -> new ArrayList<>()).add(c);
        return lines;
    }

    @Test
    void rightToLeftParagraphPrintsRightAlignedInReadingOrder() throws Exception {
        // Hebrew under code page 1255 is the printer's own, so every cell names its letter.
        String paragraph = "שלום רב לכל הלקוחות שלנו תודה שקניתם אצלנו היום ונתראה בקרוב";
        byte[] bytes = new ReceiptEncoder(PrinterProfile.REFERENCE, 1255, 13, 288)
                           .addLine(paragraph)
                           .toBytes();
        Map<Integer, List<Cell>> lines = byLine(render(bytes, 1255));
        assertTrue(lines.size() >= 3, "the paragraph wraps: " + lines.size() + " lines");
        StringBuilder read = new StringBuilder();
        for (List<Cell> line : lines.values()) {
            int right = line.stream().mapToInt(Cell::end).max().getAsInt();
            assertEquals(288, right, "a right-to-left line ends at the right edge");
            // Read from right to left, as the line is read.
            line.sort((a, b) -> Integer.compare(b.x(), a.x()));
            StringBuilder words = new StringBuilder();
            for (Cell c : line) words.appendCodePoint(c.codePoint());
            if (read.length() > 0) read.append(' ');
            read.append(words.toString().trim());
        }
        assertEquals(paragraph, read.toString());
    }

    @Test
    void frameAroundArabicJoinsFromLineToLineAndClosesOnOneDotColumn() throws Exception {
        byte[] bytes = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER)
                           .addLine("╔════════════╗")
                           .addLine("║ مرحبا بكم  ║")
                           .addLine("╚════════════╝")
                           .toBytes();
        Map<Integer, List<Cell>> lines = byLine(render(bytes, 1256));
        assertEquals(3, lines.size());
        List<Integer> rights = new ArrayList<>();
        List<Integer> tops = new ArrayList<>();
        for (List<Cell> line : lines.values()) {
            Cell last = line.stream().max((a, b) -> Integer.compare(a.end(), b.end())).get();
            assertTrue(last.codePoint() >= 0x2550 && last.codePoint() <= 0x256C,
                "the line ends with its frame: " + Integer.toHexString(last.codePoint()));
            rights.add(last.end());
            tops.add(line.get(0).y());
        }
        assertEquals(List.of(rights.get(0), rights.get(0), rights.get(0)), rights,
            "right edges on one dot column");
        assertEquals(24, tops.get(1) - tops.get(0), "lines 24 dots apart, so the frame joins");
        assertEquals(24, tops.get(2) - tops.get(1), "lines 24 dots apart, so the frame joins");
    }

    @Test
    void markPrintsOverItsLetter() throws Exception {
        byte[] bytes =
            new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER).addLine("بَ").toBytes();
        List<Cell> cells = render(bytes, 1256);
        assertEquals(2, cells.size());
        Cell letter = cells.get(0);
        Cell mark = cells.get(1);
        assertEquals(0x064E, mark.codePoint(), "the fatha is named as itself");
        assertTrue(mark.over() && mark.user(), "printed over the previous cell");
        assertEquals(letter.x(), mark.x(), "in the letter's cell");
        assertEquals(PAPER, letter.end(), "a right-to-left line ends at the right edge");
    }

    @Test
    void symbolsReadBackWithAScanner(@TempDir Path dir) throws Exception {
        String payload = SaudiInvoiceQr.payload(
            "مقهى الواحة", "310122393500003", "2026-12-09T10:30:00Z", "115.00", "15.00");
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER)
                               .addQrCode(QrCode.of(payload))
                               .addLine("الإجمالي\t115.00");
        // What zbarimg reports for each barcode of the encoder.
        String[][] barcodes = {{"CODE128", "INV-2026-0042", "CODE-128:INV-2026-0042"},
            {"EAN13", "400638133393", "EAN-13:4006381333931"},
            {"EAN8", "9638507", "EAN-8:96385074"}, {"UPC_A", "03600029145", "UPC-A:036000291452"},
            {"CODE39", "ZELVAR-42", "CODE-39:ZELVAR-42"}, {"ITF", "1234567890", "I2/5:1234567890"}};
        List<String> expected = new ArrayList<>(List.of("QR-Code:" + payload));
        for (String[] b : barcodes) {
            e.addBarcode(Barcode.of(Barcode.Symbology.valueOf(b[0]), b[1]));
            expected.add(b[2]);
        }
        Path png = dir.resolve("receipt.png");
        Process preview = new ProcessBuilder(System.getProperty(RENDERER_PROPERTY), "--code-page",
            "1256", "--scale", "2", "--png", png.toString(), "-")
                              .redirectError(ProcessBuilder.Redirect.INHERIT)
                              .start();
        try (OutputStream in = preview.getOutputStream()) {
            in.write(e.toBytes());
        }
        assertEquals(0, preview.waitFor(), "the printer model read the bytes");
        Process zbar = new ProcessBuilder("zbarimg", "-q", "-Supca.enable", png.toString())
                           .redirectError(ProcessBuilder.Redirect.DISCARD)
                           .start();
        String read = new String(zbar.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, zbar.waitFor(), "zbarimg found symbols");
        List<String> found = new ArrayList<>(read.lines().toList());
        found.sort(null);
        expected.sort(null);
        assertEquals(expected, found);
    }

    @Test
    void styledLinesEnterAndLeaveTheirModeAndDoubleWidthWrapsAtHalf() throws Exception {
        String text = "ABCDEFGHIJKLMNOPQRST ABCDEFGHIJKLMNOPQRST";
        byte[] bytes = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER)
                           .style(TextStyle.NORMAL.doubleSize().bold().underline(1).inverse())
                           .addLine(text)
                           .style(TextStyle.NORMAL)
                           .addLine("x")
                           .toBytes();
        Map<Integer, List<Cell>> lines = byLine(render(bytes, 1256));
        // 41 characters of 24 dots do not fit 576 dots: each word on its own line.
        assertEquals(3, lines.size());
        for (List<Cell> line : List.copyOf(lines.values()).subList(0, 2)) {
            assertEquals(20, line.size());
            assertTrue(line.stream().allMatch(c -> c.width() == 24), "double width");
        }
        List<Cell> last = List.copyOf(lines.values()).get(2);
        assertEquals(12, last.get(0).width(), "the style ends with its line");
    }
}

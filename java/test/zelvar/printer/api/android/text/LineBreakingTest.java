// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Random;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import zelvar.printer.api.android.text.ReceiptRenderTest.Cell;

/** Where lines break, read back through the preview's printer model. */
class LineBreakingTest {
    /** The printed lines of one paragraph, each as its text in cell order and its right end. */
    static List<String> printed(int codePage, int width, int paper, String text) throws Exception {
        byte[] bytes = new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, width, paper)
                           .addLine(text)
                           .toBytes();
        List<String> lines = new ArrayList<>();
        for (List<Cell> line :
            ReceiptRenderTest.byLine(ReceiptRenderTest.render(bytes, codePage, paper)).values()) {
            StringBuilder s = new StringBuilder();
            for (Cell c : line) {
                if (!c.over()) s.appendCodePoint(c.codePoint());
            }
            lines.add(s.toString());
        }
        return lines;
    }

    @ParameterizedTest(name = "{0} at {2} dots")
    @CsvSource(delimiter = '|',
        value =
            {
                // text | code page | paper | printed lines, joined by '/'
                "しょうゆ | 932 | 72 | しょう/ゆ",
                "「特製」ラーメン、チャーシュー。 | 932 | 96 | 「特製」/ラーメ/ン、/チャー/シュー。",
                "Total 1,250 JPY 12.50 | 1256 | 120 | Total/1,250 JPY/12.50",
                "'    ABCDEFGHIJKLMNOP' | 1256 | 120 | '    ABCDEF/GHIJKLMNOP'",
            })
    void
    linesBreakWhereTypesettingAllows(String text, int codePage, int paper, String expected)
        throws Exception {
        assertEquals(List.of(expected.split("/")), printed(codePage, 24, paper, text));
    }

    @Test
    void thirtyIdeographsFillTwentyFourPerLine() throws Exception {
        List<String> lines = printed(932, 24, 576, "漢".repeat(30));
        assertEquals(List.of(24, 6), lines.stream().map(String::length).toList());
    }

    /**
     * Random paragraphs of every script, at every code page, width and paper: each printed line
     * fits the paper, and each wrapped line but a paragraph's last is filled to within one cell of
     * the room (its next word did not fit).
     */
    @Test
    void everyLineFitsThePaperAndWrappedLinesAreFull() throws Exception {
        String[] words = {"مرحبا", "بكم", "فاتورة", "شكراً", "پیش‌پرداخت", "۲۰۵٬۰۰۰",
            "שלום", "לקוחות", "Total", "12.50", "1,250", "ラーメン", "「特製」", "漢字", "€", "x",
            "ْ"};
        int[][] pages = {{1256, 0}, {864, 0}, {720, 0}, {1098, 0}, {1255, 0}, {862, 0}, {932, 1}};
        Random random = new Random(20261209);
        int checked = 0;
        for (int[] page : pages) {
            for (int width : new int[] {10, 13, 18, 24}) {
                for (int paper : new int[] {384, 512, 576}) {
                    StringBuilder text = new StringBuilder();
                    int n = 8 + random.nextInt(30);
                    for (int i = 0; i < n; ++i) {
                        if (i > 0) text.append(' ');
                        text.append(words[random.nextInt(words.length)]);
                    }
                    byte[] bytes =
                        new ReceiptEncoder(PrinterProfile.REFERENCE, page[0], width, paper)
                            .addLine(text.toString())
                            .toBytes();
                    Map<Integer, List<Cell>> lines =
                        ReceiptRenderTest.byLine(ReceiptRenderTest.render(bytes, page[0], paper));
                    List<List<Cell>> printed = new ArrayList<>(lines.values());
                    int widestWord = 0;
                    for (List<Cell> line : printed)
                        widestWord = Math.max(widestWord, widestWord(line));
                    for (int i = 0; i < printed.size(); ++i) {
                        List<Cell> line = printed.get(i);
                        int left = line.stream().mapToInt(Cell::x).min().getAsInt();
                        int right = line.stream().mapToInt(Cell::end).max().getAsInt();
                        String where =
                            page[0] + "/" + width + "/" + paper + " line " + i + ": " + text;
                        assertTrue(right <= paper, "fits the paper: " + right + " " + where);
                        if (i + 1 < printed.size()) {
                            // The next word did not fit, give or take a cell that may not start a
                            // line.
                            int cell = Math.max(24, width);
                            assertTrue(paper - (right - left) < widestWord + 12 + cell,
                                "filled: " + (right - left) + " widest word " + widestWord + " "
                                    + where);
                        }
                        ++checked;
                    }
                }
            }
        }
        assertFalse(checked == 0);
    }

    /** The dots of the widest run of cells between spaces of a printed line. */
    private static int widestWord(List<Cell> line) {
        List<Cell> cells = new ArrayList<>(line);
        cells.removeIf(Cell::over);
        cells.sort((a, b) -> Integer.compare(a.x(), b.x()));
        int widest = 0;
        int word = 0;
        for (Cell c : cells) {
            word = c.codePoint() == ' ' ? 0 : word + c.width();
            widest = Math.max(widest, word);
        }
        return widest;
    }

    /** One receipt line at a code page and width, as the printer model placed its cells. */
    static List<Cell> cells(int codePage, int width, String text) throws Exception {
        return ReceiptRenderTest.render(
            new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, width, 576)
                .addLine(text)
                .toBytes(),
            codePage);
    }

    @Test
    void faultsFoundByReviewStayMended() throws Exception {
        // A mark after a space prints over the space's cell: the line still ends at the edge.
        for (int width : new int[] {13, 18}) {
            int right =
                cells(1256, width, " \u0651\u0628").stream().mapToInt(Cell::end).max().getAsInt();
            assertEquals(576, right, "width " + width);
        }
        // The 24-dot font holds no Arabic: the letters come from the 18-dot font, joined.
        List<Cell> arabic =
            ReceiptRenderTest.render(new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 24, 576)
                                         .fixedCells(true)
                                         .addLine("مرحبا")
                                         .toBytes(),
                1256);
        assertTrue(arabic.stream().allMatch(c -> c.user() && c.width() == 18), arabic.toString());
        assertTrue(arabic.stream().anyMatch(c -> c.codePoint() == 0xFEE3), "an initial meem");
        // The yen sign under the Japanese code page is drawn, not sent as the backslash's byte.
        List<Cell> yen = cells(932, 24, "¥500");
        assertTrue(yen.get(0).user() && yen.get(0).codePoint() == 0xA5, yen.toString());
        // The font widths cannot be changed by a caller.
        assertThrows(
            UnsupportedOperationException.class, () -> ReceiptEncoder.FONT_WIDTHS.set(0, 11));
        // A TAB inside a row's label prints as a space, not as '?'.
        ReceiptEncoder row = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, 576)
                                 .addRow("Tea\tlarge", "3.00");
        row.toBytes();
        assertEquals(List.of(), row.notes());
    }
}

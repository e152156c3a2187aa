// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;
import zelvar.printer.api.android.text.ReceiptRenderTest.Cell;

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

    /** The right end of the last cell of each printed line. */
    static List<Integer> rightEnds(int codePage, String... lines) throws Exception {
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, 13, 576);
        for (String line : lines) e.addLine(line);
        return ReceiptRenderTest.byLine(ReceiptRenderTest.render(e.toBytes(), codePage))
            .values()
            .stream()
            .map(line -> line.stream().mapToInt(Cell::end).max().getAsInt())
            .toList();
    }

    @Test
    void paddedRowsOfARightToLeftReceiptLineUpTheirAmountsOnTheRight() throws Exception {
        List<String> lines = printed(1255, 13, "קבלה", "ויטמין C                      39.90",
            "iPhone כיסוי                    89.00", "#12345");
        assertEquals(List.of("הלבק", "39.90                                   C ןימטיו",
                         "89.00                               iPhone יוסיכ", "#12345"),
            lines);
        // Digits read left to right: the amounts of an Arabic receipt, added line by line or as
        // rows, end on one dot column (their points line up), the widest at the left edge.
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, 576)
                               .addLine("عصير برتقال Almarai             8.25")
                               .addLine("قهوة          12.50")
                               .addRow("الإجمالي", "105.80")
                               .addLine("المبلغ          الكمية          السعر");
        Set<Integer> ends = new HashSet<>();
        int left = Integer.MAX_VALUE;
        for (List<Cell> line :
            ReceiptRenderTest.byLine(ReceiptRenderTest.render(e.toBytes(), 1256)).values()) {
            List<Cell> cells = new ArrayList<>(line);
            cells.sort(Comparator.comparingInt(Cell::x));
            int end = cells.get(0).end();
            for (int i = 1; i < cells.size() && cells.get(i).x() == end; ++i) {
                end = cells.get(i).end();
            }
            ends.add(end);
            left = Math.min(left, cells.get(0).x());
        }
        assertEquals(1, ends.size(), ends.toString());
        assertEquals(0, left);
        // A middle column stands as far in as it was typed, counted as a screen shows the
        // line: the ZWNJ of کم‌چرب took no cell there, and moved the quantity a cell.
        ReceiptEncoder fa = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, 576)
                                .addLine("نان سنگک                   9         80,000")
                                .addLine("ماست کم\u200Cچرب                 7        185,000");
        Set<Integer> quantities = new HashSet<>();
        for (List<Cell> line :
            ReceiptRenderTest.byLine(ReceiptRenderTest.render(fa.toBytes(), 1256)).values()) {
            line.stream()
                .filter(c -> c.codePoint() == '9' || c.codePoint() == '7')
                .forEach(c -> quantities.add(c.x()));
        }
        assertEquals(1, quantities.size(), "quantities at " + quantities);
    }

    @Test
    void linesBeforeTheFirstWithAStrongCharacterStandAtItsSide() throws Exception {
        // A rule of dashes and a number before the first Hebrew line end at the right edge with
        // it; a receipt that never sets its direction still prints every line.
        assertEquals(
            List.of(576, 576, 576, 576), rightEnds(1255, "----------", "#12345", "קבלה", "------"));
        assertEquals(List.of("#12345"), printed(1255, 13, "#12345"));
    }

    @Test
    void aFrameClosesOnItsCornersColumn() throws Exception {
        for (String[] frame : new String[][] {{"╔══════════╗", "║ إيصال ║", "╚══════════╝"},
                 {"+----------+", "|  إيصال  |", "+----------+"},
                 // drawn wider than the printer's cells it was typed for, the text eats padding
                 {"+--------------+", "|  ضريبة مبسطة  |", "+--------------+"}}) {
            // In a right-to-left receipt the frame stands at the right edge, as its text does.
            assertEquals(List.of(576, 576, 576), rightEnds(1256, frame), frame[1]);
        }
        List<Integer> ends = rightEnds(1256, "+----------+", "|  Receipt |", "+----------+");
        assertEquals(List.of(ends.get(0), ends.get(0), ends.get(0)), ends);
        assertTrue(ends.get(0) < 576, "a left-to-right receipt's frame at the left edge");
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, 576)
                               .addLine("┌──┐")
                               .addLine("│ far too long │");
        e.toBytes();
        assertEquals(Note.Kind.WIDER_THAN_FRAME, e.notes().get(0).kind());
    }

    /**
     * A frame typed in the middle of 48 columns (to a cell), and a rule, under 1255; a wider one
     * under 1256.
     */
    private static final String[][] FRAMES = {
        {"1255", "          ╔════════════════════════╗", "          ║     ZELVAR  MARKET     ║",
            "          ║  12 Harbour Rd, Haifa  ║", "          ╚════════════════════════╝",
            "────────────────────────────────────────────"},
        {"1256", "╔══════════════════════════════════╗", "║ فاتورة ضريبية مبسطة ║",
            "║ Total 105.80                     ║", "╚══════════════════════════════════╝",
            "────────────────────────────────────────────"},
    };

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18, 24})
    void framesAndRulesTypedForNarrowCellsFitThePaperAndStayClosed(int width) throws Exception {
        for (String[] frame : FRAMES) {
            int codePage = Integer.parseInt(frame[0]);
            ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, width, 576);
            for (int i = 1; i < frame.length; ++i) e.addLine(frame[i]);
            // On paper too wide for the printer to break a line, each ends where the encoder
            // ended it.
            Map<Integer, List<Cell>> lines = ReceiptRenderTest.byLine(
                ReceiptRenderTest.render(e.toBytes(), codePage, 4 * ReceiptRenderTest.PAPER));
            assertEquals(frame.length - 1, lines.size(), codePage + ": every line on its own");
            Set<Integer> lefts = new TreeSet<>();
            Set<Integer> rights = new TreeSet<>();
            int k = 0;
            for (List<Cell> line : lines.values()) {
                String typed = frame[++k];
                int end = line.stream().mapToInt(Cell::end).max().getAsInt();
                assertTrue(end <= ReceiptRenderTest.PAPER, codePage + ": a line ends at " + end);
                // The frame's double lines; the rule under it is a light one.
                List<Cell> box =
                    line.stream()
                        .filter(c -> c.codePoint() >= 0x2550 && Characters.isBox(c.codePoint()))
                        .toList();
                if (box.isEmpty()) continue;
                lefts.add(box.get(0).x());
                rights.add(box.get(box.size() - 1).end());
                if (typed.strip().chars().allMatch(Characters::isBox)) {
                    for (int i = 1; i < box.size(); ++i) {
                        assertEquals(
                            box.get(i - 1).end(), box.get(i).x(), typed + ": an edge joins");
                    }
                }
                // Text typed in the middle of its frame stays there, whatever the cells' widths.
                String inside = typed.strip();
                inside = inside.substring(1, inside.length() - 1);
                List<Cell> text =
                    line.stream()
                        .filter(c -> !Characters.isBox(c.codePoint()) && c.codePoint() != ' ')
                        .toList();
                if (text.isEmpty()
                    || inside.length() - inside.stripLeading().length()
                        != inside.length() - inside.stripTrailing().length()) {
                    continue;
                }
                int middle = box.get(0).end() + box.get(box.size() - 1).x();
                int textMiddle = text.stream().mapToInt(Cell::x).min().getAsInt()
                    + text.stream().mapToInt(Cell::end).max().getAsInt();
                assertTrue(Math.abs(middle - textMiddle) <= Characters.RESIDENT_CELL,
                    typed + ": text centred at " + textMiddle / 2 + " in a frame centred at "
                        + middle / 2);
            }
            assertEquals(1, lefts.size(), codePage + ": left corners at " + lefts);
            assertEquals(1, rights.size(), codePage + ": right corners at " + rights);
            // The first frame, typed in the middle of the paper's cells, stays in its middle.
            int middle = lefts.iterator().next() + rights.iterator().next();
            assertTrue(!frame[0].equals("1255")
                    || Math.abs(middle - ReceiptRenderTest.PAPER) <= 2 * Characters.RESIDENT_CELL,
                "a frame centred at " + middle / 2);
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void vocalisedArabicAtNaturalWidthReadsBackLetterByLetterWithItsMarks(int width)
        throws Exception {
        // Letters under marks wider than themselves keep more of their joining strokes; a kasra
        // and a fatha are one stroke on either side of the letter.
        String vocalised = "السَّلامُ عَلَيْكُمْ، قَهْوَةٌ عَرَبِيَّةٌ";
        String printedLeftToRight = "ﺔٌﯿَّﺑِﺮَﻋَ ةٌﻮَﮭْﻗَ ،ﻢْﮑُﯿْﻠَﻋَ مُﻼﺴَّﻟا";
        assertEquals(List.of(printedLeftToRight), printed(1256, width, vocalised));
        // A fathatan or kasratan set as its vowel twice, one over the other, reads back as itself.
        String tanwin = printed(1256, width, "شكرًا ولدٍ").get(0);
        assertTrue(tanwin.contains("\u064B") && tanwin.contains("\u064D"), tanwin);
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void lamAndAlefJoinIntoTheirLigatureUnderTheLamsMarks(int width) throws Exception {
        // A mark between lam and alef kept them from joining: they printed as two uprights.
        for (String word : new String[] {"فَلَا", "أَقْلَامٌ", "الْإِنْسَانَ", "لِلْإِدَارَةِ"}) {
            String line = printed(1256, width, word).get(0);
            assertTrue(line.contains("\uFEFB") || line.contains("\uFEFC"), word + ": " + line);
            word.codePoints().filter(Characters::isMark).forEach(m -> {
                long want = word.codePoints().filter(c -> c == m).count();
                assertTrue(line.codePoints().filter(c -> c == m).count() >= want,
                    word + ": each of its marks printed, " + line);
            });
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18, 24})
    void gapsInsideWordsAreNarrowerThanHalfTheNarrowestWordSpace(int width) {
        // Words with letters that do not join the next one, and a non-joiner; on a line of their
        // own, and between the borders of a frame, which keep their cells while the text does not.
        String text =
            "فاتورة شارع دوباره ونراكم الرياض پیش‌پرداخت زرد";
        String framed = "فاتورة شارع دوباره ونراكم";
        assertWordSpacesWiderThanTwiceTheGaps(width, 6, text);
        assertWordSpacesWiderThanTwiceTheGaps(width, 3,
            "╔"
                + "═".repeat(30) + "╗",
            "║    " + framed + "    ║");
    }

    /** The words of the last line: its ink apart from a frame's borders. */
    private static void assertWordSpacesWiderThanTwiceTheGaps(
        int width, int wordSpaces, String... lines) {
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, width, 576);
        for (String l : lines) e.addLine(l);
        List<List<Wire.Glyph>> printed = Wire.parse(e.toBytes()).lines;
        List<Wire.Glyph> line = printed.get(printed.size() - 1);
        if (lines.length > 1) line = line.subList(1, line.size() - 1);
        boolean[] ink = new boolean[576];
        boolean[] space = new boolean[576];
        for (Wire.Glyph g : line) {
            for (int x = 0; x < g.width; ++x) {
                if (g.drawn) ink[g.x + x] |= g.columns[x] != 0;
                if (!g.drawn && g.code == ' ') space[g.x + x] = true;
            }
        }
        int inside = 0, words = Integer.MAX_VALUE, spaces = 0;
        for (int x = 0, from = -1; x < ink.length; ++x) {
            if (!ink[x]) continue;
            if (from >= 0 && x - from > 1) {
                boolean word = false;
                for (int k = from + 1; k < x; ++k) word |= space[k];
                if (word) {
                    words = Math.min(words, x - from - 1);
                    ++spaces;
                } else {
                    inside = Math.max(inside, x - from - 1);
                }
            }
            from = x;
        }
        assertEquals(wordSpaces, spaces, "every word space found");
        assertTrue(2 * inside < words, "gap " + inside + ", word space " + words);
    }
}

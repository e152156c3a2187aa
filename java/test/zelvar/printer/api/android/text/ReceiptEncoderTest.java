// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.function.Supplier;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;
import zelvar.printer.api.android.nat.nativef;
import zelvar.printer.api.android.text.Wire.Glyph;

/** The receipt encoder, its bytes read back by a small model of the printer. */
class ReceiptEncoderTest {
    static final int PAPER = 576;
    static final Charset HEBREW = Charset.forName("windows-1255");
    static final PrinterProfile NO_POSITION =
        PrinterProfile.REFERENCE.toBuilder().absolutePosition(false).build();

    static Wire encode(
        PrinterProfile profile, int codePage, int width, int paper, String... lines) {
        ReceiptEncoder e = new ReceiptEncoder(profile, codePage, width, paper);
        for (String line : lines) e.addLine(line);
        return Wire.parse(e.toBytes());
    }

    static Wire fixedCells(String line) {
        return Wire.parse(new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER)
                              .fixedCells(true)
                              .addLine(line)
                              .toBytes());
    }

    static String residentText(List<Glyph> line, Charset charset) {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        for (Glyph g : line) {
            if (!g.drawn) bytes.write(g.code);
        }
        return new String(bytes.toByteArray(), charset);
    }

    /** Which of the candidates each drawn glyph of a line is (by its ink), -1 for none. */
    static int[] drawnCharacters(List<Glyph> line, int width, int... candidates) {
        return line.stream()
            .filter(g -> g.drawn)
            .mapToInt(g -> {
                for (int c : candidates) {
                    if (Wire.shape(Wire.reference(c, width).columns)
                            .equals(Wire.shape(g.columns))) {
                        return c;
                    }
                }
                return -1;
            })
            .toArray();
    }

    @Test
    void rightToLeftParagraphWrapsIntoLinesThatEachReadRightToLeft() {
        // Ten cells of paper; the second line starts with a Latin word, and still reads right to
        // left: the Latin word stands at its right end.
        Wire wire = encode(PrinterProfile.REFERENCE, 1255, 13, 120, "אחת שתים ABC ארבע חמש שש");
        List<String> printed =
            wire.lines.stream().map(l -> residentText(l, HEBREW)).collect(Collectors.toList());
        assertEquals(List.of("םיתש תחא", "עברא ABC", "שש שמח"), printed);
        for (List<Glyph> line : wire.lines) {
            assertEquals(120, line.get(line.size() - 1).end(), "right-aligned to the dot");
        }
    }

    static Stream<Arguments> rows() {
        return Stream.of(
            // label, amount, profile, the amount stands at the right
            Arguments.of("Coffee", "9.00", PrinterProfile.REFERENCE, true),
            Arguments.of("عصير برتقال Almarai", "8.25", PrinterProfile.REFERENCE, false),
            Arguments.of("לחם (מלא)", "7.50", PrinterProfile.REFERENCE, false),
            Arguments.of("Coffee", "9.00", NO_POSITION, true),
            Arguments.of("לחם (מלא)", "7.50", NO_POSITION, false));
    }

    @ParameterizedTest
    @MethodSource("rows")
    void rowsPutTheLabelAtTheStartSideAndTheAmountAtTheEndSide(
        String label, String amount, PrinterProfile profile, boolean amountRight) {
        // The command line's TAB and the API's row are the same thing.
        ReceiptEncoder api = new ReceiptEncoder(profile, 1255, 13, PAPER).addRow(label, amount);
        ReceiptEncoder tab =
            new ReceiptEncoder(profile, 1255, 13, PAPER).addLine(label + "\t" + amount);
        assertArrayEquals(api.toBytes(), tab.toBytes());

        List<Glyph> cells = Wire.cells(Wire.parse(api.toBytes()).lines.get(0));
        int n = amount.length();
        List<Glyph> amountCells =
            amountRight ? cells.subList(cells.size() - n, cells.size()) : cells.subList(0, n);
        assertEquals(amount, residentText(amountCells, HEBREW), "the amount keeps its order");
        int slack = profile.hasAbsolutePosition() ? 0 : ReceiptEncoder.RESIDENT_CELL - 1;
        assertEquals(0, cells.get(0).x, "one column starts at the left edge");
        int end = cells.get(cells.size() - 1).end();
        assertTrue(
            end <= PAPER && end >= PAPER - slack, "the other ends at the right edge: " + end);
    }

    @Test
    void shaddaIsPrintedFirstAndTheOtherMarksOverIt() {
        for (String text : new String[] {"بَّ", "بِّ"}) { // canonical order: fatha / kasra, shadda
            List<Glyph> line = encode(PrinterProfile.REFERENCE, 1256, 13, PAPER, text).lines.get(0);
            int mark = text.codePointAt(1);
            assertArrayEquals(new int[] {0xFE8F, 0x0651, mark},
                drawnCharacters(line, 13, 0xFE8F, 0x0651, mark), text);
            assertTrue(line.get(1).overstrike && line.get(2).overstrike, "marks print over beh");
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void dotsAndHeadsOfNeighbouringLettersStandApartAsGroups(int width) {
        // Set close, the dots of peh and yeh in پیش printed as five in a row, those of نتن as four,
        // and in سنگک the bars of gaf met the rising stroke of keheh. Dots are the ink not joined
        // to what the letters have on rows 13 to 15; over the line or under it, dots two blank
        // columns apart or closer count as one group (a pair of yeh's dots has one blank column
        // between them). Heads are all ink on rows 0 to 7; one blank column apart, one group.
        // Dots over, dots under, heads; -1 where the word is not about that part.
        Object[][] words = {{"پیش", 1, 2, -1}, {"بیت", 1, 2, -1}, {"تبیین", 2, 3, -1},
            {"نتن", 3, 0, -1}, {"فتنه", 3, 0, -1}, {"شتی", 2, 0, -1}, {"سنگک", -1, -1, 2},
            {"گلگل", -1, -1, 4}};
        for (Object[] w : words) {
            List<Glyph> line =
                encode(PrinterProfile.REFERENCE, 1256, width, PAPER, (String) w[0]).lines.get(0);
            int[] ink = new int[PAPER];
            for (Glyph g : line) {
                for (int c = 0; g.drawn && c < g.columns.length; ++c) ink[g.x + c] |= g.columns[c];
            }
            int[] body = new int[PAPER];
            for (int c = 0; c < PAPER; ++c) body[c] = ink[c] & 0x700;
            for (boolean grew = true; grew;) {
                grew = false;
                for (int c = 1; c + 1 < PAPER; ++c) {
                    int near = body[c - 1] | body[c] | body[c + 1];
                    int more = (near | near << 1 | near >>> 1) & ink[c] & ~body[c];
                    body[c] |= more;
                    grew |= more != 0;
                }
            }
            int[] groups = new int[3];
            int[] last = {-PAPER, -PAPER, -PAPER};
            int[] rows = {0xFFF800, 0xFF, 0xFF0000}; // dots over the stroke, under it; heads
            int[] apart = {3, 3, 2};
            for (int c = 0; c < PAPER; ++c) {
                for (int k = 0; k < 3; ++k) {
                    if (((k < 2 ? ink[c] & ~body[c] : ink[c]) & rows[k]) == 0) continue;
                    if (c - last[k] > apart[k]) ++groups[k];
                    last[k] = c;
                }
            }
            for (int k = 0; k < 3; ++k) {
                if ((int) w[k + 1] >= 0) assertEquals((int) w[k + 1], groups[k], w[0] + " " + k);
            }
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void marksShareNoDotWithTheirLetterAndStandApartFromTheNeighboursMarks(int width) {
        // Over a lam there is no room for a shadda and its vowel under the line's top: they stand
        // beside its stem. The fatha of lam and the damma of kaf in لَكُمْ touched as a madda,
        // and marks one blank dot apart printed as one strip. Over the hamza of alef a fatha
        // printed into the hamza.
        String[] words = {"اللَّهِ", "لِلَّهِ", "عَلَّمَ", "كُلَّ", "لَكُمْ", "شُكْراً لَكُمْ", "أَنَا", "سَأَلَ"};
        for (String word : words) {
            List<Glyph> line =
                encode(PrinterProfile.REFERENCE, 1256, width, PAPER, word).lines.get(0);
            Map<Integer, Integer> marksAbove = new HashMap<>(); // dot (x * 24 + row) to cluster
            for (int i = 0, cluster = 0; i < line.size(); ++i, ++cluster) {
                List<Glyph> glyphs = new ArrayList<>(List.of(line.get(i)));
                while (i + 1 < line.size() && line.get(i + 1).overstrike) {
                    glyphs.add(line.get(++i));
                }
                for (int a = 0; a < glyphs.size(); ++a) {
                    Glyph g = glyphs.get(a);
                    for (int b = a + 1; b < glyphs.size(); ++b) {
                        int[] q = glyphs.get(b).columns;
                        for (int c = 0; c < Math.min(g.columns.length, q.length); ++c) {
                            assertEquals(0, g.columns[c] & q[c], word + ": glyphs " + a + " " + b);
                        }
                    }
                    for (int c = 0; a > 0 && c < g.columns.length; ++c) {
                        for (int row = 0; row < 12; ++row) {
                            if ((g.columns[c] >>> (23 - row) & 1) == 0) continue;
                            int x = g.x + c;
                            for (int dx = -2; dx <= 2; ++dx) {
                                for (int dy = -1; dy <= 1; ++dy) {
                                    Integer other = marksAbove.get((x + dx) * 24 + row + dy);
                                    assertTrue(other == null || other == cluster,
                                        word + ": marks of two letters close at " + x);
                                }
                            }
                            marksAbove.put(x * 24 + row, cluster);
                        }
                    }
                }
            }
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void aTanwinOverAFinalAlefStandsOverItsStemAndLeavesTheJoinAsItWas(int width) {
        // The tanwin is wider than the alef: sent with the alef, it widened the alef's character,
        // and the joining stroke filled it (يومـاً, about 10 dots at 13). It goes onto a short
        // letter before the alef; where that letter has marks of its own it is centred over the
        // alef's stem, and where it is tall (ظ) it moves aside. Flags: the letters after the
        // alef stay where they stand without the tanwin; the tanwin is centred over the stem.
        Object[][] words = {{"يوماً", true, false}, {"حظاً", true, false}, {"ملكاً", true, false},
            {"جدّاً", false, true}};
        for (Object[] w : words) {
            String word = (String) w[0];
            int[] marked = ink(width, word), bare = ink(width, word.replace("\u064B", ""));
            int stem = 0, bareStem = 0;
            while ((marked[stem] & STEM_ROWS) == 0) ++stem;
            while ((bare[bareStem] & STEM_ROWS) == 0) ++bareStem;
            int stemEnd = stem;
            while ((marked[stemEnd + 1] & STEM_ROWS) != 0) ++stemEnd;
            for (int c = stemEnd + 1; (boolean) w[1] && c < PAPER; ++c) {
                int d = c - stem + bareStem;
                assertEquals(d < PAPER ? bare[d] & ~0xFF0000 : 0, marked[c] & ~0xFF0000,
                    word + " at " + width + ": the letters after the alef moved at " + c);
            }
            int left = PAPER, right = -1;
            for (int c = 0; c < PAPER; ++c) {
                if ((marked[c] & 0xF00000) == 0) continue; // rows 0 to 3: the tanwin
                left = Math.min(left, c);
                right = Math.max(right, c);
            }
            assertTrue(!(boolean) w[2] || Math.abs(left + right - stem - stemEnd) <= 2,
                word + " at " + width + ": tanwin " + left + "-" + right + " over stem " + stem);
        }
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void aMarkOfAlefWithHamzaStandsOverTheHamzaOrBeforeTheAlef(int width) {
        // Beside the alef a fatha read as a stray dash or as a word space before it, so the hamza
        // comes down to make room over it; a taller mark stands before the alef (after it, over
        // the gap to the next letter, it read as that letter's).
        for (Object[] w :
            new Object[][] {{"أَنَا", true}, {"أَحْمَدُ", true}, {"وَأَ", true}, {"أُمّ", false}}) {
            String word = (String) w[0];
            List<Glyph> line =
                encode(PrinterProfile.REFERENCE, 1256, width, PAPER, word).lines.get(0);
            // The hamza-alef: the letter whose ink reaches highest (its hamza).
            int alef = -1, top = 24;
            for (int i = 0; i < line.size(); ++i) {
                Glyph g = line.get(i);
                if (!g.drawn || g.overstrike) continue;
                if (topRow(g) < top) {
                    top = topRow(g);
                    alef = i;
                }
            }
            Glyph letter = line.get(alef), mark = line.get(alef + 1);
            String at = word + " at " + width;
            if ((boolean) w[1]) {
                assertTrue(
                    Math.abs(inkLeft(mark) + inkRight(mark) - inkLeft(letter) - inkRight(letter))
                            <= 2
                        && bottomRow(mark) + 1 < topRow(letter),
                    at + ": the fatha over the hamza");
            } else {
                assertTrue(inkLeft(mark) > inkRight(letter), at + ": the damma's side");
            }
        }
    }

    private static int topRow(Glyph g) {
        int rows = 0;
        for (int c : g.columns) rows |= c;
        return Integer.numberOfLeadingZeros(rows) - 8;
    }

    private static int bottomRow(Glyph g) {
        int rows = 0;
        for (int c : g.columns) rows |= c;
        return 23 - Integer.numberOfTrailingZeros(rows);
    }

    private static int inkLeft(Glyph g) {
        for (int c = 0; c < g.columns.length; ++c) {
            if (g.columns[c] != 0) return g.x + c;
        }
        return Integer.MAX_VALUE;
    }

    private static int inkRight(Glyph g) {
        for (int c = g.columns.length - 1; c >= 0; --c) {
            if (g.columns[c] != 0) return g.x + c;
        }
        return Integer.MIN_VALUE;
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void aLineCentredByTypedSpacesStandsInThePapersMiddle(int width) {
        // Arabic at its natural width is narrower than its cells, and centred by the app's
        // spaces it stood up to 60 dots off the middle. A line only indented stays where typed.
        String text = "شكراً لزيارتكم، نراكم قريباً";
        String lead = " ".repeat((PAPER / 12 - text.length()) / 2);
        String thanks = "ありがとうございました"; // as a screen shows it, two cells a character
        Object[][] lines = {{lead + text, 1256, true},
            {String.format("%-48s", lead + text), 1256, true}, {"  " + text, 1256, false},
            {" ".repeat(13) + thanks, 1255, true}};
        for (Object[] t : lines) {
            int left = PAPER, right = 0;
            for (Glyph g : encode(PrinterProfile.REFERENCE, (int) t[1], width, PAPER, (String) t[0])
                               .lines.get(0)) {
                if (!g.drawn && g.code == ' ') continue;
                left = Math.min(left, g.x);
                right = Math.max(right, g.end());
            }
            assertEquals(t[2], Math.abs(left + right - PAPER) <= 24,
                "'" + t[0] + "' at " + width + ": from " + left + " to " + right);
        }
    }

    @Test
    void aFathatanOrKasratanWithRoomIsItsVowelTwiceTwoBlankRowsApart() {
        // Side by side, the two strokes read as the vowels of two letters. Over alef or under a
        // dot there is no room to stack them; under a reh's tail they go under its joining
        // stroke.
        Object[][] cases = {{"يومًا", 10, true}, {"يومًا", 13, true}, {"شكرًا", 13, true},
            {"ولدٍ", 10, true}, {"ولدٍ", 13, true}, {"يوماً", 13, true}, {"ملكاً", 13, false},
            {"تمرٍ", 10, true}, {"تمرٍ", 18, true}, {"يومًا", 18, true}, {"كتابٍ", 13, false}};
        for (Object[] t : cases) {
            String what = t[0] + " at " + t[1];
            // The marks' ink across the paper: the word has one, which may reach over the
            // next letter.
            int rows = 0;
            int[] mark = new int[PAPER];
            for (Glyph g : encode(PrinterProfile.REFERENCE, 1256, (int) t[1], PAPER, (String) t[0])
                               .lines.get(0)) {
                for (int c = 0; g.overstrike && c < g.columns.length; ++c) {
                    mark[g.x + c] |= g.columns[c];
                    rows |= g.columns[c];
                }
            }
            assertNotEquals(0, rows, what);
            // The inked rows, top row first, as runs of ink and blank.
            List<Integer> bands = new ArrayList<>();
            for (int row = 23, run = 0; row >= -1; --row) {
                boolean inked = row >= 0 && (rows >>> row & 1) != 0;
                if (inked) ++run;
                if (!inked && run > 0) {
                    bands.add(row + 1);
                    bands.add(run);
                    run = 0;
                }
            }
            boolean stacked = bands.size() == 4;
            assertEquals(t[2], stacked, what + ": rows " + bands);
            if (!stacked) continue;
            int step = bands.get(0) - bands.get(2);
            assertEquals(bands.get(1) + 2, step, what + ": two blank rows between the vowels");
            int lowerRows = (1 << bands.get(2) + bands.get(3)) - 1;
            boolean twice = false; // the upper vowel 0 to 2 columns left of the lower one
            for (int stagger = 0; stagger <= 2 && !twice; ++stagger) {
                twice = true;
                for (int c = 0; c < mark.length; ++c) {
                    int lower = c + stagger < mark.length ? mark[c + stagger] & lowerRows : 0;
                    twice &= lower << step == (mark[c] & ~lowerRows);
                }
            }
            assertTrue(twice, what + ": the same vowel twice, the upper one to the left");
        }
    }

    @Test
    void aDammatanAtTenDotsIsTwoDammasSideBySide() {
        // The narrowest font draws it as one damma whose tail turns back, which readers did not
        // know: the next width's pair of dammas prints where the line has the room.
        for (String word : new String[] {"كتبٌ", "جديدةٌ", "خبزٌ"}) {
            boolean[] inked = new boolean[PAPER];
            for (Glyph g : encode(PrinterProfile.REFERENCE, 1256, 10, PAPER, word).lines.get(0)) {
                for (int c = 0; g.overstrike && c < g.columns.length; ++c) {
                    inked[g.x + c] |= g.columns[c] != 0;
                }
            }
            int runs = 0;
            for (int c = 0; c < PAPER; ++c) {
                if (inked[c] && (c == 0 || !inked[c - 1])) ++runs;
            }
            assertEquals(2, runs, word + ": the dammatan's pieces");
        }
    }

    // Rows 4 to 11, which only the tall letters reach.
    private static final int STEM_ROWS = 0x0FF000;

    /** The ink of a line of one word, by column across the paper. */
    private static int[] ink(int width, String word) {
        int[] ink = new int[PAPER];
        for (Glyph g : encode(PrinterProfile.REFERENCE, 1256, width, PAPER, word).lines.get(0)) {
            for (int c = 0; g.drawn && c < g.columns.length; ++c) ink[g.x + c] |= g.columns[c];
        }
        return ink;
    }

    @ParameterizedTest(name = "width {0}")
    @ValueSource(ints = {10, 13, 18})
    void everyDrawnCharacterIsOneThatEscAmpersandDefines(int width) {
        // Wider than 24 dots, the printer ignores the definition and prints its bytes as text:
        // a letter whose shadda and vowel stand beside it, after a gap, came to 25 and 26.
        String vocalised = "رًثَغِ ظَّقُّدْ كًقُ فْ كَّضِتْ قَّغذَّهُبَّزِ ذْهُهْغِصُّظُّضْ صُّصًبًجَّاوً "
            + "لَّبوُّعْدُ غُّثَّبَهَّصَامُ ظُّدَ عًبُزِذهَ";
        for (List<Glyph> line :
            encode(PrinterProfile.REFERENCE, 1256, width, PAPER, vocalised).lines) {
            for (Glyph g : line) assertTrue(g.width <= 24, "a character " + g.width + " dots wide");
        }
    }

    @Test
    void seenAndSadEndingAWordAtTenDotsTakeAWiderBowlWithinTwelveDotsAndThePaper() {
        // In 10 columns their bowl has three and reads as one more tooth (ر.س read ر.ﺷ).
        String words = "ر.س الرياض فروش خاص شمس";
        String full = String.join(" ", Collections.nCopies(30, "خاص"));
        Wire wire = encode(PrinterProfile.REFERENCE, 1256, 10, PAPER, words, full);
        int wide = 0;
        for (Glyph g : wire.lines.get(0)) {
            if (g.drawn && inkSpan(g.columns) > 10) ++wide;
        }
        assertEquals(5, wide, "one seen, sheen, sad or dad with its wider bowl in each word");
        // Between a frame's borders too, where the frame leaves the room.
        Wire framed = encode(PrinterProfile.REFERENCE, 1256, 10, PAPER, "╔══════════════════╗",
            "║ شارع الملك، الرياض ║", "╚══════════════════╝");
        assertTrue(framed.lines.get(1).stream().anyMatch(g -> g.drawn && inkSpan(g.columns) > 10),
            "الرياض in a frame with its wider bowl");
        for (List<Glyph> line : wire.lines) {
            for (Glyph g : line) {
                if (g.drawn) assertTrue(g.width <= 12, "a character " + g.width + " dots wide");
                assertTrue(g.end() <= PAPER, "past the paper's edge at " + g.end());
            }
        }
    }

    private static int inkSpan(int[] columns) {
        int left = Wire.leftMargin(columns), right = columns.length - 1;
        while (right >= left && columns[right] == 0) --right;
        return right - left + 1;
    }

    @Test
    void isolatedAlefLeansTowardTheNextLetterOfItsWord() {
        int alef = 0xFE8D;
        int unjustified = Wire.leftMargin(Wire.reference(alef, 13).columns);
        assertTrue(unjustified > 1, "the font's alef stands in the middle of its cell");
        // "ال": lam printed left of the alef, which leans toward it (in fixed cells; at natural
        // width every letter is trimmed to its ink).
        List<Glyph> word = fixedCells("ال").lines.get(0);
        assertEquals(1, Wire.leftMargin(word.get(1).columns));
        // An alef ending its word stays where the font drew it.
        List<Glyph> alone = fixedCells("ا ل").lines.get(0);
        assertEquals(unjustified, Wire.leftMargin(alone.get(alone.size() - 1).columns));
    }

    @Test
    void lamWithAlefHamzaBelowIsDrawnAsOneJoinedLigature() {
        // Isolated ligature after alef, final ligature after a lam that joins it: the plain
        // lam-alef with the hamza below printed over it, in one cell.
        Object[][] words = {{"الإجمالي", 7, 0xFEFB}, {"للإدارة", 6, 0xFEFC}};
        for (Object[] w : words) {
            ReceiptEncoder e =
                new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER).fixedCells(true);
            e.addLine((String) w[0]);
            assertEquals(List.of(), e.notes(), (String) w[0]);
            List<Glyph> line = Wire.parse(e.toBytes()).lines.get(0);
            assertEquals((int) w[1], Wire.cells(line).size(), "one cell per letter or ligature");
            int[] drawn = drawnCharacters(line, 13, (int) w[2], 0x0655);
            String pair =
                Arrays.toString(new int[] {(int) w[2], 0x0655}).replaceAll("[\\[\\]]", "");
            assertTrue(Arrays.toString(drawn).contains(pair),
                (String) w[0] + " " + Arrays.toString(drawn));
        }
    }

    static Stream<Arguments> profiles() {
        return Stream.of(
            Arguments.of(PrinterProfile.REFERENCE,
                new int[][] {{720, 32}, {862, 36}, {864, 37}, {1098, 41}, {1255, 49}, {1256, 50}}),
            Arguments.of(PrinterProfile.CLONE_58,
                new int[][] {{720, 93}, {862, 8}, {864, 28}, {1255, 32}, {1256, 92}}),
            Arguments.of(PrinterProfile.builder("app").codeTable(1256, 22).build(),
                new int[][] {{1256, 22}}));
    }

    @ParameterizedTest
    @MethodSource("profiles")
    void profilesSelectTheirCodeTableAfterLeavingKanjiMode(PrinterProfile profile, int[][] tables) {
        assertEquals(tables.length, profile.codeTables().size());
        for (int[] t : tables) {
            Wire wire = encode(profile, t[0], 13, PAPER, "a");
            assertEquals(
                List.of("ESC @", "FS .", "ESC t " + t[1]), wire.commands, "code page " + t[0]);
        }
    }

    @ParameterizedTest
    @ValueSource(strings = {"reference", "clone58"})
    void kanjiModeIsLeftAroundEachDrawnCharacter(String name) {
        // Kanji, an Arabic letter the library draws, kanji again.
        Wire wire = encode(PrinterProfile.named(name), 932, 13, PAPER, "日本ب語");
        List<Glyph> line = wire.lines.get(0);
        assertEquals(4, line.size());
        for (Glyph g : line)
            assertEquals(!g.drawn, g.kanji, "Kanji mode only around double-byte text");
        assertEquals(List.of("ESC @", "FS .", "FS &", "FS .", "FS &"), wire.commands);
    }

    @Test
    void kanaComesFromThePrintersKanjiFontAndIsDrawnOnlyWithoutOne() {
        String text = "しょうゆラーメン";
        Wire withFont = encode(PrinterProfile.REFERENCE, 932, 13, PAPER, text);
        assertTrue(withFont.lines.get(0).stream().allMatch(g -> !g.drawn && g.width == 24));
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        for (Glyph g : withFont.lines.get(0))
            bytes.write(new byte[] {(byte) (g.code >> 8), (byte) g.code}, 0, 2);
        assertEquals(text, new String(bytes.toByteArray(), Charset.forName("windows-31j")));

        PrinterProfile noFont = PrinterProfile.REFERENCE.toBuilder().kanjiFont(false).build();
        ReceiptEncoder e = new ReceiptEncoder(noFont, 932, 13, PAPER).addLine(text);
        Wire without = Wire.parse(e.toBytes());
        assertFalse(without.commands.contains("FS &"));
        int[] cps = text.codePoints().toArray();
        List<Glyph> line = without.lines.get(0);
        List<Integer> unprintable = new ArrayList<>();
        for (int i = 0; i < cps.length; ++i) {
            boolean drawable = nativef.CharAvailable(cps[i], 932, 13, 24);
            assertEquals(drawable, line.get(i).drawn, String.format("U+%04X", cps[i]));
            if (!drawable && !unprintable.contains(cps[i])) unprintable.add(cps[i]);
        }
        assertTrue(line.stream().anyMatch(g -> g.drawn), "the library draws katakana");
        // Square, from the 18-dot font: in 13 columns a katakana read as half of one.
        assertTrue(line.stream().allMatch(g -> !g.drawn || g.width == 18), "drawn 18 dots wide");
        assertEquals(unprintable,
            e.unprintables().stream().map(Note::codePoint).collect(Collectors.toList()));
    }

    @ParameterizedTest
    @ValueSource(ints = {10, 13, 18})
    void frameAroundArabicTextLinesUpToTheDot(int width) {
        String[] frame = {"╔══════╗", "║ سلام ║", "╚══════╝"};
        Wire wire = encode(PrinterProfile.REFERENCE, 1256, width, PAPER, frame);
        assertEquals(3, wire.lines.size());
        for (List<Glyph> line : wire.lines) {
            List<Glyph> cells = Wire.cells(line);
            assertEquals(wire.lines.get(0).get(0).x, cells.get(0).x, "left edges");
            assertEquals(Wire.cells(wire.lines.get(0)).get(7).end(),
                cells.get(cells.size() - 1).end(), "right edges");
        }
        // The border's cells touch: its lines join.
        List<Glyph> top = wire.lines.get(0);
        for (int i = 1; i < top.size(); ++i) assertEquals(top.get(i - 1).end(), top.get(i).x);
        // Lines touch inside the frame; the default spacing comes back after it.
        assertEquals("ESC 3 24", wire.commands.get(3));
        assertEquals("ESC 2", wire.commands.get(wire.commands.size() - 1));
    }

    static Stream<Arguments> unprintables() {
        return Stream.of(
            // code page, text, expected notes
            Arguments.of(1256, "ก x ก", "U+0E01 printed as ? (line 1, 2 times)"),
            Arguments.of(1256, "a\nb\uD800", "U+D800 printed as ? (line 2, 1 time)"),
            Arguments.of(1256, "a\u0007", "U+0007 printed as ? (line 1, 1 time)"),
            Arguments.of(862, "שָׁלוֹם", // in printing order: the last letter first
                "U+05B9 left out (line 1, 1 time); U+05B8 left out (line 1, 1 time);"
                    + " U+05C1 left out (line 1, 1 time)"),
            Arguments.of(1255, "שָׁלוֹם", ""));
    }

    @ParameterizedTest
    @MethodSource("unprintables")
    void charactersNotPrintedAsWrittenAreReported(int codePage, String text, String expected) {
        ReceiptEncoder e =
            new ReceiptEncoder(PrinterProfile.REFERENCE, codePage, 13, PAPER).addLine(text);
        assertEquals(
            expected, e.notes().stream().map(Note::toString).collect(Collectors.joining("; ")));
        Wire wire = Wire.parse(e.toBytes());
        long replaced = wire.lines.stream()
                            .flatMap(List::stream)
                            .filter(g -> !g.drawn && g.code == '?')
                            .count();
        assertEquals(e.unprintables().stream().mapToInt(Note::count).sum(), replaced);
        if (codePage == 1255) {
            // Hebrew points print over their letter, as the library's own marks do.
            List<Glyph> cells = Wire.cells(wire.lines.get(0));
            assertEquals(4, cells.size());
            assertEquals(7, wire.lines.get(0).size());
        }
    }

    static Stream<Arguments> badArguments() {
        return Stream.of(
            Arguments.of((Supplier<?>) ()
                             -> new ReceiptEncoder(PrinterProfile.REFERENCE, 437, 13, PAPER),
                "437"),
            Arguments.of((Supplier<?>) ()
                             -> new ReceiptEncoder(PrinterProfile.REFERENCE, 290, 13, PAPER),
                "290"),
            Arguments.of(
                (Supplier<?>) ()
                    -> new ReceiptEncoder(
                        PrinterProfile.builder("x").codeTable(1256, 50).build(), 1255, 13, PAPER),
                "1255"),
            Arguments.of((Supplier<?>) ()
                             -> new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 12, PAPER),
                "12"),
            Arguments.of((Supplier<?>) ()
                             -> new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, 12),
                "12"),
            Arguments.of((Supplier<?>) () -> new ReceiptEncoder(null, 1256, 13, PAPER), "null"),
            Arguments.of((Supplier<?>) () -> PrinterProfile.named("clone80"), "clone80"),
            Arguments.of(
                (Supplier<?>) () -> PrinterProfile.builder("x").codeTable(1256, 256), "256"),
            Arguments.of(
                (Supplier<?>) ()
                    -> new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER).addFeed(-1),
                "-1"));
    }

    @ParameterizedTest
    @MethodSource("badArguments")
    void badArgumentsAreRefusedNamingTheValue(Supplier<?> call, String value) {
        IllegalArgumentException e = assertThrows(IllegalArgumentException.class, call::get);
        assertTrue(e.getMessage().contains(value), e.getMessage());
    }

    @Test
    void nothingGivesNoBytes() {
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1256, 13, PAPER);
        e.addLine(null).addLine("").addCenteredLine(null).addRow(null, "").addRow("", null);
        assertEquals(0, e.toBytes().length);
        assertEquals(List.of(), e.notes());
    }

    @Test
    void drawJustifiedRefusesWhatCannotBeDrawnAndLeavesThePlacementAlone() {
        byte[] shortPlacement = {1, 2, 3, 4, 5};
        byte[] placement = nativef.newPlacementRecord();
        assertEquals(0, NativeDraw.drawJustified(0x0627, 1256, 13, 24, shortPlacement, 1).length);
        assertArrayEquals(new byte[] {1, 2, 3, 4, 5}, shortPlacement);
        for (int[] bad : new int[][] {{0x0627, 437, 13, 24}, {0x0627, 1256, 12, 24},
                 {0x0627, 1256, 13, 23}, {0x0E01, 1256, 13, 24}}) {
            assertEquals(
                0, NativeDraw.drawJustified(bad[0], bad[1], bad[2], bad[3], placement, 1).length);
            assertArrayEquals(nativef.newPlacementRecord(), placement);
        }
        // Without justification it composes what nativef composes, as bytes.
        int[] ints = nativef.GetFontDrawBuffer(0x0627, 1256, 13, 24, null);
        byte[] bytes = NativeDraw.drawJustified(0x0627, 1256, 13, 24, null, 7);
        assertEquals(ints.length, bytes.length);
        for (int i = 0; i < ints.length; ++i) assertEquals(ints[i], bytes[i] & 0xFF);
        assertNotEquals(0, NativeDraw.drawJustified(0x0627, 1256, 13, 24, placement, 1).length);
    }

    static Stream<Arguments> commandLines() {
        return Stream.of(
            // arguments, input, exit status
            Arguments.of(new String[] {"--code-page", "1255"}, "Total\t12.50\nשלום\n", 0),
            Arguments.of(new String[] {}, "abc\u00FF".getBytes(StandardCharsets.ISO_8859_1), 2),
            Arguments.of(new String[] {"--width", "11"}, "abc", 2),
            Arguments.of(
                new String[] {"--printer", "citizen-ct-s310ii", "--code-page", "862"}, "abc", 2),
            Arguments.of(new String[] {"--printer", "epson-tm-t88"}, "abc", 2),
            Arguments.of(new String[] {"--paper", "wide"}, "abc", 2),
            Arguments.of(new String[] {"--bogus"}, "abc", 2));
    }

    @ParameterizedTest
    @MethodSource("commandLines")
    void commandLineWritesAllOrNothing(
        String[] options, Object input, int status, @TempDir Path dir) throws Exception {
        byte[] in = input instanceof String ? ((String) input).getBytes(StandardCharsets.UTF_8)
                                            : (byte[]) input;
        Path file = dir.resolve("in.txt");
        Files.write(file, in);
        Path output = dir.resolve("out.bin");
        List<String> args = new ArrayList<>(Arrays.asList(options));
        args.addAll(List.of("-o", output.toString(), file.toString()));
        ByteArrayOutputStream err = new ByteArrayOutputStream();
        int exit =
            EncodeReceipt.run(args.toArray(new String[0]), new ByteArrayInputStream(new byte[0]),
                new ByteArrayOutputStream(), new PrintStream(err, true, "UTF-8"));
        String stderr = err.toString(StandardCharsets.UTF_8);
        assertEquals(status, exit, stderr);
        if (status != 0) {
            assertEquals(1, stderr.lines().count(), stderr);
            assertFalse(Files.exists(output), "no output file");
            assertEquals(
                List.of(file), Files.list(dir).collect(Collectors.toList()), "no stray file");
            return;
        }
        ReceiptEncoder e = new ReceiptEncoder(PrinterProfile.REFERENCE, 1255, 13, PAPER);
        e.addRow("Total", "12.50").addLine("שלום");
        assertArrayEquals(e.toBytes(), Files.readAllBytes(output));
        // Standard input to standard output gives the same bytes.
        ByteArrayOutputStream stdout = new ByteArrayOutputStream();
        assertEquals(0,
            EncodeReceipt.run(new String[] {"--code-page", "1255", "-"},
                new ByteArrayInputStream(in), stdout,
                new PrintStream(new ByteArrayOutputStream(), true, "UTF-8")));
        assertArrayEquals(e.toBytes(), stdout.toByteArray());
    }
}

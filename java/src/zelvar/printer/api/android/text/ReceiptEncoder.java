// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.text.Normalizer;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.Consumer;
import zelvar.printer.api.android.nat.nativef;

/**
 * Turns receipt text into the exact bytes a receipt printer needs: lines of text, two-column rows,
 * rules and feeds, in any mix of left-to-right and right-to-left scripts.
 *
 * <p>The printer prints every line left to right, one character cell after the other, so each
 * paragraph is wrapped to the paper in reading order, then each printed line is put into printing
 * order by the library's reordering (which also joins Arabic letters). Each character is then
 * either drawn by the library as a user-defined character (Arabic, marks, box drawing, symbols the
 * printer lacks) or sent as text for the printer's resident font in the chosen code page. A
 * character that neither can print becomes {@code ?} and is reported through {@link
 * #unprintables()}, never silently.
 *
 * <p>Right-to-left paragraphs end at the paper's right edge, left-to-right ones start at its left
 * edge, each placed to the dot with {@code ESC $} (or with spaces when the profile says the
 * printer lacks it). Lines that hold box-drawing or block characters are printed with 24-dot line
 * spacing so that frames join from line to line, and their box characters stand on a grid of
 * character cells so that a frame's edges line up.
 *
 * <p>An encoder is not safe for use by several threads at once; separate encoders are.
 */
public final class ReceiptEncoder {
    /** The library's font widths, in dots: 10, 13, 18 and 24 (an unmodifiable list). */
    public static final List<Integer> FONT_WIDTHS =
        Collections.unmodifiableList(Arrays.asList(10, 13, 18, 24));

    /** The code page argument that lets the encoder choose the code page for the receipt. */
    public static final int AUTO_CODE_PAGE = 0;

    // The encoder checks widths against its own copy, which no caller can change.
    private static final int[] FONT_WIDTHS_ARRAY = {10, 13, 18, 24};
    // The code pages the encoder chooses among, the first preferred where they print alike.
    private static final int[] CHOSEN_CODE_PAGES = {1256, 864, 720, 1098, 1255, 862};

    /** Dots of a resident single-byte character (the printer's 12 x 24 font). */
    public static final int RESIDENT_CELL = 12;

    /** Dots of a resident double-byte character, and of the library's wide ideographs. */
    public static final int DOUBLE_CELL = 24;

    /** The largest paper width in dots that {@code ESC $} can address. */
    public static final int MAX_PAPER = 0xFFFF;

    // Printer commands.
    private static final byte ESC = EscPos.ESC;
    private static final byte LF = EscPos.LF;
    private static final byte BS = EscPos.BS;
    private static final byte[] INITIALIZE = {ESC, EscPos.INITIALIZE}; // ESC @ : reset
    private static final byte[] TIGHT_SPACING = {ESC, EscPos.LINE_SPACING, 24}; // lines touch
    private static final byte[] DEFAULT_SPACING = {ESC, EscPos.DEFAULT_LINE_SPACING}; // ESC 2
    private static final byte SELECT_CODE_TABLE = EscPos.SELECT_CODE_TABLE; // ESC t n
    private static final byte ABSOLUTE_POSITION = EscPos.ABSOLUTE_POSITION; // ESC $ nL nH
    private static final byte FEED_LINES = EscPos.FEED_LINES; // ESC d n
    // ESC J n : feed n dots, the blank margin a scanner needs around a symbol.
    private static final byte[] QUIET_FEED = {ESC, 'J', 24};

    private static final int QUESTION_MARK = '?';
    private static final int SPACE = ' ';
    private static final int TAB = '\t';
    private static final int RLM = 0x200F;
    private static final int LRM = 0x200E;
    private static final int SHADDA = 0x0651;
    private static final int HORIZONTAL_RULE = 0x2500;
    private static final int FRAME_FONT = 13;
    // The ligatures of lam with alef with hamza below, which the fonts lack, and the forms that
    // print them as their two letters.
    private static final int LAM_ALEF_HAMZA_BELOW_ISOLATED = 0xFEF9;
    private static final int LAM_ALEF_HAMZA_BELOW_FINAL = 0xFEFA;
    private static final int ALEF_HAMZA_BELOW_FINAL = 0xFE88;
    private static final int LAM_INITIAL = 0xFEDF;
    private static final int LAM_MEDIAL = 0xFEE0;
    // What the reordering leaves in the cell of the second letter of a lam-alef ligature.
    private static final int LIGATURE_FILLER = 0xFEFF;

    // What becomes of one character.
    private static final int INVISIBLE = 0;
    private static final int DRAWN = 1; // drawn with the chosen font width
    private static final int DRAWN_WIDE = 2; // drawn with the 24-dot font
    private static final int DRAWN_BOX = 7; // a box character drawn with the frame font
    private static final int RESIDENT = 3;
    private static final int RESIDENT_MARK = 4; // sent after a BS, over its letter
    private static final int REPLACED = 5;
    private static final int DROPPED = 6;

    // Kanji mode as a composed run needs it or leaves it.
    private static final int KANJI_ANY = -1;
    private static final int KANJI_OFF = 0;
    private static final int KANJI_ON = 1;

    // Whether a code point can be drawn, per font width: 0 not asked yet, 1 yes, 2 no. The answer
    // depends on the font alone (the code page only admits a request), so it is shared.
    private static final byte[][] DRAWABLE = new byte[DOUBLE_CELL + 1][];

    private static final Map<Integer, CodePages.Resident> RESIDENTS = new LinkedHashMap<>();

    private final PrinterProfile profile;
    private final int codePage;
    private final int width;
    private final int paper;
    private final int boxFont;
    private final int gridPitch;
    private final boolean doubleByte;
    private final boolean kanjiText;
    // The profile has no code table for the code page: only ASCII is sent as text.
    private final boolean asciiOnly;
    private final CodePages.Resident resident;
    // With the code page left to the encoder: the calls, kept until the receipt is known, and
    // the encoder of the chosen code page that then takes them.
    private final List<Consumer<ReceiptEncoder>> pending;
    private final List<String> pendingText = new ArrayList<>();
    private ReceiptEncoder chosen;
    private boolean wideNoted;
    private TextStyle style = TextStyle.NORMAL;

    private final Bytes out = new Bytes(1024);
    private final Map<Long, int[]> notes = new LinkedHashMap<>(); // kind, code point -> line, count
    private boolean started;
    private boolean tightSpacing;
    private int kanji = KANJI_OFF;
    private int line;
    private int printedLines;
    private long drawnCharacters;
    private long residentCharacters;

    /**
     * @param profile the printer's code tables and abilities; {@link PrinterProfile#forModel}
     *     gives a printer model's
     * @param codePage the printer code page of the text: 1256, 864, 720, 1098, 862, 1255, 932, 936
     *     or 54936; or 0 to let the encoder choose, for the whole receipt, the code page among the
     *     profile's code tables that prints the most of its characters as resident text (ties go
     *     to 1256, 864, 720, 1098, 1255, 862 in this order; a profile with none of them gets 1256
     *     with everything but ASCII drawn). The choice is made when the bytes are first asked for
     *     and is reported by {@link #notes()}; until then {@link #codePage()} answers 0. When the
     *     profile has no code table for an Arabic-script code page (1256, 864, 720, 1098), Arabic
     *     and Persian are drawn entirely, ASCII stays resident and no {@code ESC t} is sent.
     * @param fontWidth the width of the library's font for drawn characters: 10, 13, 18 or 24.
     *     The wide ideographs that only the 24-dot font holds are drawn with it whatever the width.
     * @param paperDots the printable width in dots (384 for 58 mm paper, 576 for 80 mm), or 0 for
     *     the profile's paper width
     * @throws IllegalArgumentException naming the value: a null profile, a code page the library
     *     does not serve, an EBCDIC code page (290, 20290: no printer code table carries its
     *     bytes), a Hebrew code page (862, 1255) the profile has no code table for (the library's
     *     fonts do not draw Hebrew), a font width the library lacks, a paper narrower than one
     *     character cell or wider than {@link #MAX_PAPER}, or a paper width of 0 with a profile
     *     that knows none
     */
    public ReceiptEncoder(PrinterProfile profile, int codePage, int fontWidth, int paperDots) {
        if (profile == null) throw new IllegalArgumentException("printer profile: null");
        boolean choose = codePage == AUTO_CODE_PAGE;
        if (!choose && !CodePages.isServed(codePage)) {
            throw new IllegalArgumentException("code page not served by the library: " + codePage);
        }
        if (CodePages.isEbcdic(codePage)) {
            throw new IllegalArgumentException("code page " + codePage
                + " is EBCDIC: no printer code table carries it, so its text cannot be sent");
        }
        if (!choose && CodePages.isSingleByte(codePage) && !profile.hasCodeTable(codePage)
            && !isArabicScript(codePage)) {
            throw new IllegalArgumentException("printer profile " + profile.name()
                + " has no code table for code page " + codePage
                + ", and the library's fonts do not draw its script");
        }
        if (Arrays.stream(FONT_WIDTHS_ARRAY).noneMatch(w -> w == fontWidth)) {
            throw new IllegalArgumentException(
                "font width must be 10, 13, 18 or 24 dots: " + fontWidth);
        }
        if (paperDots == 0) {
            paperDots = profile.paperDots();
            if (paperDots == 0) {
                throw new IllegalArgumentException(
                    "paper width 0: printer profile " + profile.name() + " knows no paper width");
            }
        }
        int cell = Math.max(fontWidth, RESIDENT_CELL);
        if (paperDots < cell || paperDots > MAX_PAPER) {
            throw new IllegalArgumentException(
                "paper width must be " + cell + " to " + MAX_PAPER + " dots: " + paperDots);
        }
        this.profile = profile;
        this.codePage = codePage;
        this.width = fontWidth;
        this.paper = paperDots;
        // Box characters are drawn at least as wide as a resident cell, so that a frame's lines
        // join across the cells of its text: the 10-dot font's are drawn by the 13-dot font.
        this.boxFont = fontWidth < RESIDENT_CELL ? FRAME_FONT : fontWidth;
        this.gridPitch = Math.max(boxFont, RESIDENT_CELL);
        this.doubleByte = CodePages.isDoubleByte(codePage);
        this.kanjiText = doubleByte && profile.hasKanjiFont();
        this.asciiOnly =
            !choose && CodePages.isSingleByte(codePage) && !profile.hasCodeTable(codePage);
        this.resident = choose ? null : residentFor(codePage);
        this.pending = choose ? new ArrayList<>() : null;
    }

    /**
     * Like {@link #ReceiptEncoder(PrinterProfile, int, int, int)} with the profile's paper width.
     *
     * @param profile the printer's profile, one that knows its paper width (a printer model's)
     * @param codePage the code page of the text, or 0 to let the encoder choose
     * @param fontWidth the width of the library's font for drawn characters
     * @throws IllegalArgumentException as the other constructor does
     */
    public ReceiptEncoder(PrinterProfile profile, int codePage, int fontWidth) {
        this(profile, codePage, fontWidth, 0);
    }

    static boolean isArabicScript(int codePage) {
        return codePage == 1256 || codePage == 864 || codePage == 720 || codePage == 1098;
    }

    private static CodePages.Resident residentFor(int codePage) {
        synchronized (RESIDENTS) {
            CodePages.Resident r = RESIDENTS.get(codePage);
            if (r == null) {
                r = new CodePages.Resident(codePage);
                RESIDENTS.put(codePage, r);
            }
            return r;
        }
    }

    public PrinterProfile profile() { return profile; }

    /** The code page of the text: the one chosen, or 0 while the choice is still open. */
    public int codePage() { return chosen != null ? chosen.codePage : codePage; }

    public int fontWidth() { return width; }

    public int paperDots() { return paper; }

    // ---------------------------------------------------------------------------------------
    // Receipt building

    /**
     * Adds text: each paragraph (split at line breaks) is wrapped to the paper and printed
     * aligned to its start side: right for right-to-left text, left otherwise. A paragraph that
     * holds a TAB is a row: the text before the first TAB is the label, the rest the amount (see
     * {@link #addRow}). Null or empty text adds nothing.
     */
    public ReceiptEncoder addLine(String text) {
        if (defer(e -> e.addLine(text), text)) return this;
        addText(text, false);
        return this;
    }

    /**
     * Adds text like {@link #addLine}, each printed line centred on the paper. Rows and lines
     * holding box characters (drawings in character cells) are not centred.
     */
    public ReceiptEncoder addCenteredLine(String text) {
        if (defer(e -> e.addCenteredLine(text), text)) return this;
        addText(text, true);
        return this;
    }

    /**
     * Adds a row of two columns: the label at the line's start side and the amount at its end
     * side (in a right-to-left row the label stands at the right edge and the amount at the left).
     * Each column is put into printing order on its own, so an amount never moves next to the
     * words. A label too long for the room the amount leaves is wrapped, the amount staying on its
     * first line. Null or empty columns are empty; a row with both empty adds nothing.
     */
    public ReceiptEncoder addRow(String label, String amount) {
        if (defer(e -> e.addRow(label, amount), label, amount)) return this;
        boolean noLabel = label == null || label.isEmpty();
        boolean noAmount = amount == null || amount.isEmpty();
        if (noLabel && noAmount) return this;
        ++line;
        int[] l = noLabel ? new int[0] : flatten(codePoints(label, line));
        int[] a = noAmount ? new int[0] : flatten(codePoints(amount, line));
        row(l, a);
        return this;
    }

    /** Adds a rule across the paper: box-drawing lines drawn cell by cell, or dashes. */
    public ReceiptEncoder addRule() {
        if (defer(ReceiptEncoder::addRule)) return this;
        ++line;
        start();
        int kind = classify(HORIZONTAL_RULE);
        boolean drawn = kind == DRAWN || kind == DRAWN_BOX;
        int cell = kind == DRAWN ? width : kind == DRAWN_BOX ? boxFont : RESIDENT_CELL;
        int[] rule = new int[lineWidth() / cell];
        Arrays.fill(rule, drawn ? HORIZONTAL_RULE : '-');
        Run run = compose(rule, false);
        beginLine(drawn);
        append(run);
        endLine();
        return this;
    }

    /**
     * Feeds the paper by {@code lines} lines ({@code ESC d n}).
     *
     * @throws IllegalArgumentException when lines is outside 0 to 255
     */
    public ReceiptEncoder addFeed(int lines) {
        if (lines < 0 || lines > 255) {
            throw new IllegalArgumentException("feed must be 0 to 255 lines: " + lines);
        }
        if (defer(e -> e.addFeed(lines))) return this;
        ++line;
        start();
        spacing(false);
        out.write(ESC);
        out.write(FEED_LINES);
        out.write((byte) lines);
        printedLines += lines;
        return this;
    }

    /**
     * Sets the style of the lines, rows and rules added from now on, until it is set again. A
     * double-width line holds half as many characters and is wrapped and aligned at that width;
     * each line enters its style and leaves it again, so nothing of it reaches a QR code, a
     * barcode, a picture or raw bytes.
     *
     * @param style the style; {@link TextStyle#NORMAL} for plain text
     * @return this encoder
     * @throws IllegalArgumentException if the style is null
     */
    public ReceiptEncoder style(TextStyle style) {
        if (style == null) throw new IllegalArgumentException("text style: null");
        if (defer(e -> e.style(style))) return this;
        this.style = style;
        return this;
    }

    /**
     * Adds a QR code, centred.
     *
     * @param qr the symbol
     * @return this encoder
     * @throws IllegalArgumentException if the symbol is null or wider than the paper
     */
    public ReceiptEncoder addQrCode(QrCode qr) { return addQrCode(qr, Alignment.CENTER); }

    /**
     * Adds a QR code that the printer draws ({@code GS ( k}).
     *
     * @param qr the symbol
     * @param alignment where it stands across the paper
     * @return this encoder
     * @throws IllegalArgumentException if the symbol or the alignment is null, or the symbol is
     *     wider than the paper (a smaller module size makes it narrower)
     */
    public ReceiptEncoder addQrCode(QrCode qr, Alignment alignment) {
        if (qr == null) throw new IllegalArgumentException("QR code: null");
        return addPrinterItem("QR code", qr.widthDots(), qr.toBytes(), alignment, true);
    }

    /**
     * Adds a barcode, centred.
     *
     * @param barcode the barcode
     * @return this encoder
     * @throws IllegalArgumentException if the barcode is null or wider than the paper
     */
    public ReceiptEncoder addBarcode(Barcode barcode) {
        return addBarcode(barcode, Alignment.CENTER);
    }

    /**
     * Adds a barcode that the printer draws ({@code GS k}).
     *
     * @param barcode the barcode
     * @param alignment where it stands across the paper
     * @return this encoder
     * @throws IllegalArgumentException if the barcode or the alignment is null, or the barcode
     *     is wider than the paper (a narrower module width makes it narrower)
     */
    public ReceiptEncoder addBarcode(Barcode barcode, Alignment alignment) {
        if (barcode == null) throw new IllegalArgumentException("barcode: null");
        return addPrinterItem("barcode", barcode.widthDots(), barcode.toBytes(), alignment, true);
    }

    /**
     * Adds a picture (a logo), centred.
     *
     * @param image the picture, made for a width of at most the paper's
     * @return this encoder
     * @throws IllegalArgumentException if the picture is null or wider than the paper
     */
    public ReceiptEncoder addImage(RasterImage image) { return addImage(image, Alignment.CENTER); }

    /**
     * Adds a picture printed as a raster image ({@code GS v 0}).
     *
     * @param image the picture
     * @param alignment where it stands across the paper
     * @return this encoder
     * @throws IllegalArgumentException if the picture or the alignment is null, or the picture is
     *     wider than the paper
     */
    public ReceiptEncoder addImage(RasterImage image, Alignment alignment) {
        if (image == null) throw new IllegalArgumentException("picture: null");
        return addPrinterItem("picture", image.widthDots(), image.toBytes(), alignment, false);
    }

    /**
     * Feeds the paper to the cutter and cuts it ({@code GS V}).
     *
     * @param partial leave a point uncut, so the receipt hangs until torn off
     * @return this encoder
     */
    public ReceiptEncoder addCut(boolean partial) {
        if (defer(e -> e.addCut(partial))) return this;
        ++line;
        start();
        out.write(EscPos.cut(partial, 0));
        return this;
    }

    /**
     * Opens the cash drawer: a 100 ms pulse on a pin of the drawer connector ({@code ESC p}).
     *
     * @param pin the connector pin, 2 or 5
     * @return this encoder
     * @throws IllegalArgumentException if the pin is not 2 or 5
     */
    public ReceiptEncoder addDrawerPulse(int pin) {
        byte[] pulse = EscPos.drawerPulse(pin, 100, 100);
        if (defer(e -> e.addDrawerPulse(pin))) return this;
        ++line;
        start();
        out.write(pulse);
        return this;
    }

    /**
     * Adds bytes for the printer as they are, in their place among the lines: a command the
     * encoder does not make. They must leave the printer's modes (code table, Kanji mode, line
     * spacing, styles) as they found them, since the encoder does not read them.
     *
     * @param bytes the bytes, copied
     * @return this encoder
     * @throws IllegalArgumentException if the bytes are null
     */
    public ReceiptEncoder addRaw(byte[] bytes) {
        if (bytes == null) throw new IllegalArgumentException("raw bytes: null");
        byte[] copy = bytes.clone();
        if (defer(e -> e.addRaw(copy))) return this;
        ++line;
        start();
        out.write(copy);
        return this;
    }

    /**
     * A symbol or picture the printer places itself at a justification ({@code ESC a}). A symbol
     * gets blank paper above and below it, the quiet zone a scanner needs.
     */
    private ReceiptEncoder addPrinterItem(
        String what, int widthDots, byte[] bytes, Alignment alignment, boolean quiet) {
        if (alignment == null) throw new IllegalArgumentException(what + " alignment: null");
        if (widthDots > paper) {
            throw new IllegalArgumentException(
                what + " of " + widthDots + " dots is wider than the paper's " + paper);
        }
        if (defer(e -> e.addPrinterItem(what, widthDots, bytes, alignment, quiet))) return this;
        ++line;
        start();
        spacing(false);
        if (quiet) out.write(QUIET_FEED);
        out.write(new byte[] {ESC, EscPos.JUSTIFY, (byte) alignment.ordinal()}); // ESC a n
        out.write(bytes);
        if (quiet) out.write(QUIET_FEED);
        // The encoder places text itself: the justification goes back to the left.
        out.write(new byte[] {ESC, EscPos.JUSTIFY, 0});
        return this;
    }

    /**
     * The printer bytes of everything added so far: a reset, the mode and code table the text
     * needs, then the lines. Empty when nothing has been added. The encoder can go on adding.
     */
    public byte[] toBytes() {
        if (pending != null) return decided().toBytes();
        if (!started) return new byte[0];
        byte[] bytes = Arrays.copyOf(out.data(), out.size() + (tightSpacing ? 2 : 0));
        if (tightSpacing) {
            System.arraycopy(DEFAULT_SPACING, 0, bytes, out.size(), DEFAULT_SPACING.length);
        }
        return bytes;
    }

    /** Characters printed as {@code ?}, in the order in which they were first printed. */
    public List<Note> unprintables() {
        return pending != null ? decided().unprintables() : notesOf(Note.Kind.REPLACED);
    }

    /** Everything not printed as written: characters printed as {@code ?} and marks left out. */
    public List<Note> notes() { return pending != null ? decided().notes() : notesOf(null); }

    /** Lines printed so far (a feed counts its lines). */
    public int printedLines() { return pending != null ? decided().printedLines() : printedLines; }

    /** Characters drawn by the library so far. */
    public long drawnCharacters() {
        return pending != null ? decided().drawnCharacters() : drawnCharacters;
    }

    /** Characters sent as text for the resident font so far, replacements included. */
    public long residentCharacters() {
        return pending != null ? decided().residentCharacters() : residentCharacters;
    }

    /**
     * With the code page left to the encoder: keeps a call until the receipt is known, or hands
     * it to the encoder of the chosen code page. False when the code page was given.
     */
    private boolean defer(Consumer<ReceiptEncoder> call, String... texts) {
        if (pending == null) return false;
        if (chosen != null) {
            call.accept(chosen);
        } else {
            pending.add(call);
            for (String t : texts) {
                if (t != null) pendingText.add(t);
            }
        }
        return true;
    }

    /** The encoder of the chosen code page, choosing it from the receipt kept so far. */
    private ReceiptEncoder decided() {
        if (chosen != null) return chosen;
        int best = CHOSEN_CODE_PAGES[0];
        long bestCount = -1;
        for (int cp : CHOSEN_CODE_PAGES) {
            if (!profile.hasCodeTable(cp)) continue;
            CodePages.Resident r = residentFor(cp);
            long count = 0;
            for (String t : pendingText) {
                count += t.codePoints().filter(c -> c >= 0x80 && r.encode(c) != null).count();
            }
            if (count > bestCount) {
                best = cp;
                bestCount = count;
            }
        }
        chosen = new ReceiptEncoder(profile, best, width, paper);
        chosen.line = 1;
        chosen.note(Note.Kind.CODE_PAGE, best);
        chosen.line = 0;
        for (Consumer<ReceiptEncoder> call : pending) call.accept(chosen);
        pending.clear();
        pendingText.clear();
        return chosen;
    }

    private List<Note> notesOf(Note.Kind kind) {
        List<Note> list = new ArrayList<>();
        for (Map.Entry<Long, int[]> e : notes.entrySet()) {
            Note.Kind k = Note.Kind.values()[(int) (e.getKey() >>> 32)];
            if (kind != null && k != kind) continue;
            int cp = (int) (long) e.getKey();
            list.add(new Note(k, cp, e.getValue()[0], e.getValue()[1]));
        }
        return list;
    }

    private void note(Note.Kind kind, int codePoint) {
        long key = ((long) kind.ordinal() << 32) | (codePoint & 0xFFFFFFFFL);
        int[] entry = notes.get(key);
        if (entry == null) {
            notes.put(key, new int[] {line, 1});
        } else {
            ++entry[1];
        }
    }

    // ---------------------------------------------------------------------------------------
    // Paragraphs and wrapping

    private void addText(String text, boolean centered) {
        if (text == null || text.isEmpty()) return;
        for (int[] paragraph : codePoints(text, line + 1)) {
            ++line;
            if (paragraph.length == 0) {
                start();
                beginLine(false);
                endLine();
                continue;
            }
            int tab = indexOf(paragraph, TAB);
            if (tab >= 0) {
                int[] amount = Arrays.copyOfRange(paragraph, tab + 1, paragraph.length);
                for (int i = 0; i < amount.length; ++i) {
                    if (amount[i] == TAB) amount[i] = SPACE;
                }
                row(Arrays.copyOf(paragraph, tab), amount);
                continue;
            }
            paragraph(paragraph, centered);
        }
    }

    private void paragraph(int[] text, boolean centered) {
        // A line holding box characters is a drawing in character cells: it keeps its columns
        // from the left edge, in left-to-right order.
        boolean frame = hasBoxCharacters(text);
        boolean rtl = !frame && isRightToLeft(text);
        for (int[] segment : wrap(text, lineWidth(), frame)) {
            Run run = compose(visual(segment, rtl), frame);
            beginLine(frame || hasBoxCharacters(segment));
            int x = frame  ? 0
                : centered ? (lineWidth() - run.width) / 2
                : rtl      ? lineWidth() - run.width
                           : 0;
            moveTo(Math.max(0, x), 0);
            append(run);
            endLine();
        }
    }

    private void row(int[] label, int[] amount) {
        start();
        // The row reads in the direction of its label, or of its amount when the label has no
        // letters.
        int direction = firstStrong(label);
        boolean rtl = (direction != 0 ? direction : firstStrong(amount)) > 0;
        Run amountRun = compose(visual(amount, rtl), false);
        int room = lineWidth() - amountRun.width - RESIDENT_CELL;
        if (room < gridPitch || label.length == 0) {
            // No room beside the amount: the label on its own, then the amount at the end side.
            if (label.length > 0) paragraph(label, false);
            beginLine(hasBoxCharacters(amount));
            moveTo(rtl ? 0 : Math.max(0, lineWidth() - amountRun.width), 0);
            append(amountRun);
            endLine();
            return;
        }
        List<int[]> labelLines = wrap(label, room, false);
        Run labelRun = compose(visual(labelLines.get(0), rtl), false);
        beginLine(hasBoxCharacters(label) || hasBoxCharacters(amount));
        if (rtl) {
            append(amountRun);
            moveTo(lineWidth() - labelRun.width, amountRun.width);
            append(labelRun);
        } else {
            append(labelRun);
            moveTo(lineWidth() - amountRun.width, labelRun.width);
            append(amountRun);
        }
        endLine();
        for (int i = 1; i < labelLines.size(); ++i) {
            Run more = compose(visual(labelLines.get(i), rtl), false);
            beginLine(hasBoxCharacters(labelLines.get(i)));
            moveTo(rtl ? Math.max(0, lineWidth() - more.width) : 0, 0);
            append(more);
            endLine();
        }
    }

    /**
     * Splits a paragraph into printed lines of at most {@code room} dots, in reading order: at
     * spaces, or between any two characters of CJK text; a word longer than a line is cut. The
     * spaces at a break are not printed.
     */
    private List<int[]> wrap(int[] text, int room, boolean frame) {
        List<int[]> lines = new ArrayList<>();
        int start = 0;
        int n = text.length;
        while (start < n) {
            int x = 0;
            int lastBreak = -1;
            int end = n;
            for (int i = start; i < n; ++i) {
                int c = text[i];
                int w = frame ? cells(c) * gridPitch : measure(c);
                if (x + w > room && i > start) {
                    end = c == SPACE ? i : lastBreak > start ? lastBreak : i;
                    break;
                }
                x += w;
                if (c == SPACE) {
                    lastBreak = i + 1;
                } else if (isCjk(c) || (i > start && isCjk(text[i - 1]))) {
                    if (i > start) lastBreak = i;
                }
            }
            int stop = end;
            while (stop > start && text[stop - 1] == SPACE && end < n) --stop;
            lines.add(Arrays.copyOfRange(text, start, stop));
            start = end;
            while (start < n && text[start] == SPACE && end < n) ++start;
        }
        if (lines.isEmpty()) lines.add(new int[0]);
        return lines;
    }

    /** The dots a character takes, as far as can be told before the line is reordered. */
    private int measure(int c) {
        switch (classify(c)) {
            case DRAWN:
                return isMark(c) ? 0 : width;
            case DRAWN_BOX:
                return boxFont;
            case DRAWN_WIDE:
                return isMark(c) ? 0 : DOUBLE_CELL;
            case RESIDENT:
                byte[] bytes = residentBytes(c);
                return bytes == null ? RESIDENT_CELL : RESIDENT_CELL * bytes.length;
            case REPLACED:
                return RESIDENT_CELL;
            default:
                return 0;
        }
    }

    /** Grid cells of a character on a frame line. */
    private int cells(int c) {
        int dots = measure(c);
        return (dots + gridPitch - 1) / gridPitch;
    }

    // ---------------------------------------------------------------------------------------
    // One printed line

    /**
     * The line in printing order (the characters that only steer the reordering stay in it and
     * print nothing), with the lam-alef ligatures the fonts lack split into their two letters and
     * each shadda before the other marks of its letter. The paragraph's direction is passed first,
     * so that a continuation line reads in the direction of its paragraph.
     */
    private int[] visual(int[] logical, boolean rtl) {
        if (logical.length == 0) return logical;
        long[] line = new long[logical.length + 1];
        line[0] = rtl ? RLM : LRM;
        for (int i = 0; i < logical.length; ++i) line[i + 1] = logical[i];
        long[] reordered = nativef.ReverseTextRWC(line);
        int[] v = new int[reordered.length * 2];
        int n = 0;
        for (int i = 0; i < reordered.length; ++i) {
            int c = (int) reordered[i];
            if ((c == LAM_ALEF_HAMZA_BELOW_ISOLATED || c == LAM_ALEF_HAMZA_BELOW_FINAL)
                && drawable(ALEF_HAMZA_BELOW_FINAL, width) && drawable(LAM_INITIAL, width)
                && drawable(LAM_MEDIAL, width)) {
                // The two letters take the cell of the ligature and the one its filler held. The
                // printer prints left to right: the alef, then the lam that joins it.
                if (n > 0 && v[n - 1] == LIGATURE_FILLER) {
                    --n;
                } else if (i + 1 < reordered.length && reordered[i + 1] == LIGATURE_FILLER) {
                    ++i;
                }
                v[n++] = ALEF_HAMZA_BELOW_FINAL;
                v[n++] = c == LAM_ALEF_HAMZA_BELOW_ISOLATED ? LAM_INITIAL : LAM_MEDIAL;
                continue;
            }
            v[n++] = c;
        }
        // Canonical order puts fatha and its kin before shadda, which would stack them under the
        // shadda: the shadda goes first, the other marks are fitted over it.
        for (int i = 1; i < n; ++i) {
            if (v[i] != SHADDA || !isMark(v[i - 1])) continue;
            int j = i;
            while (j > 0 && isMark(v[j - 1])) {
                v[j] = v[j - 1];
                --j;
            }
            v[j] = SHADDA;
        }
        return Arrays.copyOf(v, n);
    }

    /** A line's bytes composed apart, with the Kanji mode it starts in and leaves. */
    private static final class Run {
        final Bytes bytes = new Bytes(256);
        int width;
        int firstKanji = KANJI_ANY;
        int lastKanji = KANJI_ANY;

        void needKanji(int mode, PrinterProfile profile) {
            if (firstKanji == KANJI_ANY) {
                firstKanji = mode;
            } else if (lastKanji != mode) {
                bytes.write(
                    mode == KANJI_ON ? profile.enterKanjiBytes() : profile.leaveKanjiBytes());
            }
            lastKanji = mode;
        }
    }

    /**
     * Composes characters in printing order. The placement record that fits a mark to its
     * letter starts empty and after each resident character, whose ink the library cannot see.
     * On a frame line each box character is placed at its cell of the grid.
     */
    private Run compose(int[] v, boolean frame) {
        Run run = new Run();
        byte[] placement = nativef.newPlacementRecord();
        int cells = 0;
        int previousLetter = -1;
        for (int i = 0; i < v.length; ++i) {
            int c = v[i];
            int kind = classify(c);
            if (kind == INVISIBLE) {
                // On a frame line the filler of a lam-alef ligature keeps the column of the
                // letter it replaced.
                if (frame && c == LIGATURE_FILLER) ++cells;
                continue;
            }
            if (kind == DROPPED) {
                note(Note.Kind.DROPPED, c);
                continue;
            }
            if (frame && isBox(c) && profile.hasAbsolutePosition()) {
                int target = cells * gridPitch;
                if (target > run.width) {
                    writePosition(run.bytes, target * style.widthFactor());
                    run.width = target;
                }
            }
            int before = run.width;
            if (kind == DRAWN || kind == DRAWN_WIDE || kind == DRAWN_BOX) {
                int font = kind == DRAWN ? width : kind == DRAWN_BOX ? boxFont : DOUBLE_CELL;
                // An isolated alef leans toward the next letter of its word, which in
                // right-to-left text is the one printed before it.
                int justify =
                    previousLetter >= 0 && isArabicLetter(c) && isArabicLetter(v[previousLetter])
                    ? NativeDraw.JUSTIFY_LEFT
                    : NativeDraw.JUSTIFY_NONE;
                byte[] sequence = NativeDraw.drawJustified(
                    c, codePage, font, NativeDraw.FONT_HEIGHT, placement, justify);
                if (sequence.length > 0) {
                    if (doubleByte) run.needKanji(KANJI_OFF, profile);
                    run.bytes.write(sequence);
                    ++drawnCharacters;
                    if (font > profile.fontAWidth() && profile.dpi() > 0 && !wideNoted) {
                        // Many printers take user-defined characters only as wide as Font A.
                        note(Note.Kind.WIDE_CHARACTER, c);
                        wideNoted = true;
                    }
                    boolean overstrike = sequence.length == 3 * font + 17;
                    if (!overstrike) run.width += font;
                } else {
                    kind = REPLACED;
                }
            }
            if (kind == RESIDENT || kind == RESIDENT_MARK) {
                byte[] bytes = residentBytes(c);
                if (doubleByte && bytes.length == 2 && bytes[0] < 0) {
                    run.needKanji(KANJI_ON, profile);
                }
                if (kind == RESIDENT_MARK) {
                    run.bytes.write(BS);
                } else {
                    run.width += RESIDENT_CELL * bytes.length;
                }
                run.bytes.write(bytes);
                ++residentCharacters;
                resetPlacement(placement);
            } else if (kind == REPLACED) {
                note(Note.Kind.REPLACED, c);
                run.bytes.write((byte) QUESTION_MARK);
                run.width += RESIDENT_CELL;
                ++residentCharacters;
                resetPlacement(placement);
            }
            if (run.width > before) {
                cells += (run.width - before + gridPitch - 1) / gridPitch;
            }
            if (!isMark(c)) previousLetter = i;
        }
        return run;
    }

    private static void resetPlacement(byte[] placement) {
        placement[0] = placement[1] = placement[2] = placement[3] = nativef.NO_INK;
        placement[4] = placement[5] = 0;
    }

    private void append(Run run) {
        if (run.firstKanji != KANJI_ANY && run.firstKanji != kanji) {
            out.write(
                run.firstKanji == KANJI_ON ? profile.enterKanjiBytes() : profile.leaveKanjiBytes());
        }
        out.write(run.bytes);
        if (run.lastKanji != KANJI_ANY) kanji = run.lastKanji;
    }

    /** Moves the print position from {@code x} to {@code target} dots from the line's start. */
    private void moveTo(int target, int x) {
        if (target <= x) {
            if (x > 0) out.write((byte) SPACE); // two columns never touch
            return;
        }
        if (profile.hasAbsolutePosition()) {
            writePosition(out, target * style.widthFactor());
            return;
        }
        int spaces = Math.max(x > 0 ? 1 : 0, (target - x) / RESIDENT_CELL);
        for (int i = 0; i < spaces; ++i) out.write((byte) SPACE);
    }

    private static void writePosition(Bytes bytes, int dots) {
        bytes.write(ESC);
        bytes.write(ABSOLUTE_POSITION); // ESC $ nL nH : absolute print position, in dots
        bytes.write((byte) (dots & 0xFF));
        bytes.write((byte) (dots >>> 8));
    }

    /** The reset, the Kanji mode and the code table, before the first line. */
    private void start() {
        if (started) return;
        started = true;
        out.write(INITIALIZE);
        // Whatever mode the printer starts in, single-byte text needs Kanji mode off; double-byte
        // text turns it on where it needs it.
        out.write(profile.leaveKanjiBytes());
        kanji = KANJI_OFF;
        if (!doubleByte && !asciiOnly) {
            out.write(ESC);
            out.write(SELECT_CODE_TABLE); // ESC t n : select the code table
            out.write((byte) profile.codeTable(codePage));
        }
    }

    /** Line spacing for the next line: 24 dots while lines hold box characters, so they join. */
    private void spacing(boolean box) {
        start();
        if (box != tightSpacing) {
            out.write(box ? TIGHT_SPACING : DEFAULT_SPACING);
            tightSpacing = box;
        }
    }

    /** The spacing and the style of the next line; {@link #endLine} leaves the style again. */
    private void beginLine(boolean box) {
        spacing(box);
        out.write(style.on());
    }

    private void endLine() {
        out.write(LF); // LF : print the line
        // Nothing of a line's style reaches the next line.
        out.write(style.off());
        ++printedLines;
    }

    /**
     * The width of a line in the dots of the current style's characters: a double-width line
     * holds half as many.
     */
    private int lineWidth() { return paper / style.widthFactor(); }

    // ---------------------------------------------------------------------------------------
    // Characters

    /** What becomes of a character in this encoder's code page and font width. */
    private int classify(int c) {
        if (isInvisible(c)) return INVISIBLE;
        if (kanjiText && isCjk(c)) {
            // The printer's own Kanji font prints CJK text at its own size, like the rest.
            byte[] bytes = resident.encode(c);
            if (bytes != null && bytes.length == 2) return RESIDENT;
        }
        if (isBox(c) && boxFont != width && drawable(c, boxFont)) return DRAWN_BOX;
        if (drawable(c, width)) return DRAWN;
        if (width != DOUBLE_CELL && drawable(c, DOUBLE_CELL)) return DRAWN_WIDE;
        if (residentBytes(c) != null) return isMark(c) ? RESIDENT_MARK : RESIDENT;
        return isMark(c) ? DROPPED : REPLACED;
    }

    /**
     * The resident bytes of a character, or null. A joined Arabic form that the code page lacks
     * is sent as its letters, which the printer prints unjoined.
     */
    private byte[] residentBytes(int c) {
        // Without a code table for the code page the printer's own table is unknown beyond
        // ASCII.
        if (asciiOnly) return c < 0x80 ? new byte[] {(byte) c} : null;
        byte[] bytes = resident.encode(c);
        if (bytes != null) {
            if (bytes.length == 2 && !kanjiText) return null; // no Kanji font to print it
            return bytes;
        }
        if (!isArabicPresentationForm(c)) return null;
        String letters =
            Normalizer.normalize(new String(Character.toChars(c)), Normalizer.Form.NFKC);
        if (letters.length() == 1 && letters.charAt(0) == c) return null;
        Bytes all = new Bytes(4);
        // The letters come in reading order; the printer prints right-to-left letters reversed.
        for (int i = letters.length() - 1; i >= 0; --i) {
            byte[] b = resident.encode(letters.charAt(i));
            if (b == null || b.length != 1) return null;
            all.write(b);
        }
        return Arrays.copyOf(all.data(), all.size());
    }

    private static boolean drawable(int c, int width) {
        if (c < 0 || c >= 0x10000) {
            return nativef.CharAvailable(c, 1256, width, NativeDraw.FONT_HEIGHT);
        }
        byte[] table;
        synchronized (DRAWABLE) {
            table = DRAWABLE[width];
            if (table == null) table = DRAWABLE[width] = new byte[0x10000];
        }
        byte known = table[c];
        if (known == 0) {
            // Any served code page admits the question; the font alone answers it.
            known = nativef.CharAvailable(c, 1256, width, NativeDraw.FONT_HEIGHT) ? (byte) 1 : 2;
            table[c] = known;
        }
        return known == 1;
    }

    /**
     * What has done its work once the line is in printing order: the zero-width no-break space a
     * lam-alef ligature leaves (and a byte order mark), zero-width space, joiner and non-joiner,
     * and the bidirectional marks and controls.
     */
    static boolean isInvisible(int c) {
        return c == 0xFEFF || (c >= 0x200B && c <= 0x200F) || c == 0x061C
            || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    }

    static boolean isMark(int c) {
        int type = Character.getType(c);
        return type == Character.NON_SPACING_MARK || type == Character.ENCLOSING_MARK;
    }

    static boolean isBox(int c) {
        return c >= 0x2500 && c <= 0x259F; // box drawing and block elements
    }

    private static boolean hasBoxCharacters(int[] text) {
        for (int c : text) {
            if (isBox(c)) return true;
        }
        return false;
    }

    /** Kana, ideographs, CJK punctuation and full-width forms: text a Kanji font prints. */
    static boolean isCjk(int c) {
        return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF)
            || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF)
            || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF60)
            || (c >= 0xFFE0 && c <= 0xFFE6);
    }

    private static boolean isArabicPresentationForm(int c) {
        return (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFC);
    }

    private static boolean isArabicLetter(int c) {
        boolean arabic = (c >= 0x0620 && c <= 0x06FF) || (c >= 0x0750 && c <= 0x077F)
            || (c >= 0x08A0 && c <= 0x08FF) || isArabicPresentationForm(c);
        return arabic && Character.isLetter(c);
    }

    /** The direction of the first strong character: 1 right to left, -1 left to right, 0 none. */
    private static int firstStrong(int[] text) {
        for (int c : text) {
            switch (Character.getDirectionality(c)) {
                case Character.DIRECTIONALITY_LEFT_TO_RIGHT:
                    return -1;
                case Character.DIRECTIONALITY_RIGHT_TO_LEFT:
                case Character.DIRECTIONALITY_RIGHT_TO_LEFT_ARABIC:
                    return 1;
                default:
                    break;
            }
        }
        return 0;
    }

    private static boolean isRightToLeft(int[] text) { return firstStrong(text) > 0; }

    private static int indexOf(int[] text, int c) {
        for (int i = 0; i < text.length; ++i) {
            if (text[i] == c) return i;
        }
        return -1;
    }

    private static boolean isLineBreak(int c) {
        return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029 || c == 0x85;
    }

    private static boolean isControl(int c) {
        return (c < 0x20 && c != TAB) || (c >= 0x7F && c < 0xA0);
    }

    /**
     * The paragraphs of a text as code points. An unpaired surrogate and a control character
     * (which the printer would read as a command) become {@code ?}, each with a note.
     */
    private List<int[]> codePoints(String text, int firstLine) {
        List<int[]> paragraphs = new ArrayList<>();
        int[] buffer = new int[text.length()];
        int n = 0;
        int paragraphLine = firstLine;
        for (int i = 0; i < text.length(); ++i) {
            char ch = text.charAt(i);
            int c = ch;
            if (Character.isHighSurrogate(ch) && i + 1 < text.length()
                && Character.isLowSurrogate(text.charAt(i + 1))) {
                c = Character.toCodePoint(ch, text.charAt(++i));
            }
            if (isLineBreak(c)) {
                paragraphs.add(Arrays.copyOf(buffer, n));
                n = 0;
                if (c == '\r' && i + 1 < text.length() && text.charAt(i + 1) == '\n') ++i;
                ++paragraphLine;
                continue;
            }
            if ((Character.isSurrogate(ch) && c == ch) || isControl(c)) {
                int saved = line;
                line = paragraphLine;
                note(Note.Kind.REPLACED, c);
                line = saved;
                c = QUESTION_MARK;
            }
            buffer[n++] = c;
        }
        // A line break that ends the text ends its last paragraph; it opens no empty one.
        if (n > 0 || paragraphs.isEmpty()) paragraphs.add(Arrays.copyOf(buffer, n));
        return paragraphs;
    }

    /** A row's column is one paragraph: line breaks inside it become spaces. */
    private static int[] flatten(List<int[]> paragraphs) {
        int total = paragraphs.size() - 1;
        for (int[] p : paragraphs) total += p.length;
        int[] text = new int[Math.max(0, total)];
        int n = 0;
        for (int[] p : paragraphs) {
            if (n > 0) text[n++] = SPACE;
            System.arraycopy(p, 0, text, n, p.length);
            n += p.length;
        }
        return Arrays.copyOf(text, n);
    }

    /** A growable byte array. */
    static final class Bytes {
        private byte[] data;
        private int size;

        Bytes(int capacity) { data = new byte[capacity]; }

        void write(byte b) {
            if (size == data.length) data = Arrays.copyOf(data, size * 2);
            data[size++] = b;
        }

        void write(byte[] bytes) {
            ensure(bytes.length);
            System.arraycopy(bytes, 0, data, size, bytes.length);
            size += bytes.length;
        }

        void write(Bytes other) {
            ensure(other.size);
            System.arraycopy(other.data, 0, data, size, other.size);
            size += other.size;
        }

        private void ensure(int more) {
            if (size + more > data.length) {
                data = Arrays.copyOf(data, Math.max(data.length * 2, size + more));
            }
        }

        byte[] data() { return data; }

        int size() { return size; }
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.Locale;
import java.util.function.Consumer;

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
 * <p>Under the 24-dot width, which holds no Arabic, Arabic and Persian are drawn with the 18-dot
 * font; a character the chosen font lacks is drawn by another font that holds it before it is
 * given up, and a character nothing prints as it is is printed as its compatibility form (NFKC:
 * full-width digits and Latin, half-width katakana as full-width) where that prints, or else as
 * one of a few substitutes ({@code ₪} as {@code ש"ח}, {@code ×} as {@code x}, the minus sign
 * U+2212 and the Hebrew maqaf as {@code -}, gershayim and geresh as {@code "} and {@code '}),
 * each with a note of kind {@link Note.Kind#SUBSTITUTED}.
 *
 * <p>A number that holds a separator ({@code 2026-12-08}, {@code 021-88776655}, {@code 10:30},
 * {@code 1,250.00}) or starts with a minus prints as one left-to-right unit in the order written,
 * in every context.
 *
 * <p>An encoder is not safe for use by several threads at once; separate encoders are.
 */
public final class ReceiptEncoder {
    /** The library's font widths, in dots: 10, 13, 18 and 24 (an unmodifiable list). */
    public static final List<Integer> FONT_WIDTHS =
        Collections.unmodifiableList(Arrays.asList(10, 13, 18, 24));

    /** The code page argument that lets the encoder choose the code page for the receipt. */
    public static final int AUTO_CODE_PAGE = 0;

    /** Dots of a resident single-byte character (the printer's 12 x 24 font). */
    public static final int RESIDENT_CELL = Characters.RESIDENT_CELL;

    /** Dots of a resident double-byte character, and of the library's wide ideographs. */
    public static final int DOUBLE_CELL = Characters.DOUBLE_CELL;

    /** The largest paper width in dots that {@code ESC $} can address. */
    public static final int MAX_PAPER = 0xFFFF;

    // The encoder checks widths against its own copy, which no caller can change.
    private static final int[] FONT_WIDTHS_ARRAY = {10, 13, 18, 24};
    // The code pages the encoder chooses among, the first preferred where they print alike.
    private static final int[] CHOSEN_CODE_PAGES = {1256, 864, 720, 1098, 1255, 862};

    private final PrinterProfile profile;
    private final int codePage;
    private final int width;
    private final int paper;
    private final Notes notes = new Notes();
    // The pipeline for one code page: the layout drives the line breaker, the visual line, the
    // drawing step and the writer. Null while the code page is left to the encoder.
    private final LineComposer composer;
    private final Characters characters;
    private final EscPosWriter writer;
    private final ReceiptLayout layout;
    // With the code page left to the encoder: the calls, kept until the receipt is known, and
    // the encoder of the chosen code page that then takes them.
    private final List<Consumer<ReceiptEncoder>> pending;
    private final List<String> pendingText = new ArrayList<>();
    private ReceiptEncoder chosen;
    // With the receipt's direction left to its text: the calls made since the first line without
    // a strong character, kept until a line that has one says which side they all stand at (or
    // until the bytes are asked for). A right-to-left receipt keeps every call until the bytes
    // are asked for: its amounts line up on the widest of them, which may come last.
    private final List<Consumer<ReceiptEncoder>> held = new ArrayList<>();
    private boolean replaying;

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
        if (choose) {
            pending = new ArrayList<>();
            characters = null;
            composer = null;
            writer = null;
            layout = null;
            return;
        }
        pending = null;
        characters = new Characters(profile, codePage, fontWidth);
        composer = new LineComposer(profile, characters, notes);
        writer = new EscPosWriter(profile, characters);
        layout = new ReceiptLayout(characters, new LineBreaker(characters, Locale.getDefault()),
            composer, writer, notes, paperDots);
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

    /** @return the printer's profile */
    public PrinterProfile profile() { return profile; }

    /** @return the code page of the text: the one chosen, or 0 while the choice is still open */
    public int codePage() { return chosen != null ? chosen.codePage : codePage; }

    /** @return the width of the library's font for drawn characters */
    public int fontWidth() { return width; }

    /** @return the printable width in dots */
    public int paperDots() { return paper; }

    /**
     * Adds text: each paragraph (split at line breaks) is wrapped to the paper and printed
     * aligned to its start side: right for right-to-left text, left otherwise. A paragraph that
     * holds a TAB is a row: the text before the first TAB is the label, the rest the amount (see
     * {@link #addRow}). Null or empty text adds nothing.
     *
     * @param text the text, with line breaks between paragraphs
     * @return this encoder
     */
    public ReceiptEncoder addLine(String text) {
        if (pending == null && text != null) layout.noteAmounts(text);
        if (defer(e -> e.addLine(text), text)) return this;
        if (text != null && !text.isEmpty()) layout.text(text, false);
        return this;
    }

    /**
     * Adds text like {@link #addLine}, each printed line centred on the paper. Rows and lines
     * holding box characters (drawings in character cells) are not centred.
     *
     * @param text the text
     * @return this encoder
     */
    public ReceiptEncoder addCenteredLine(String text) {
        if (defer(e -> e.addCenteredLine(text), text)) return this;
        if (text != null && !text.isEmpty()) layout.text(text, true);
        return this;
    }

    /**
     * Adds a row of two columns: the label at the line's start side and the amount at its end
     * side (in a right-to-left row the label stands at the right edge and the amount at the left,
     * ending where the widest amount of the receipt ends, so that their decimal points line up).
     * Each column is put into printing order on its own, so an amount never moves next to the
     * words. A label too long for the room the amount leaves is wrapped, the amount staying on its
     * first line. Line breaks and TABs inside a column print as spaces. Null or empty columns are
     * empty; a row with both empty adds nothing.
     *
     * @param label the label
     * @param amount the amount
     * @return this encoder
     */
    public ReceiptEncoder addRow(String label, String amount) {
        if (pending == null && amount != null) layout.noteAmount(amount);
        if (defer(e -> e.addRow(label, amount), label, amount)) return this;
        boolean noLabel = label == null || label.isEmpty();
        boolean noAmount = amount == null || amount.isEmpty();
        if (noLabel && noAmount) return this;
        int line = ++notes.line;
        int[] l = noLabel ? new int[0] : ReceiptInput.column(label, line, notes);
        int[] a = noAmount ? new int[0] : ReceiptInput.column(amount, line, notes);
        layout.row(l, a);
        return this;
    }

    /** @return adds a rule across the paper: box-drawing lines drawn cell by cell, or dashes */
    public ReceiptEncoder addRule() {
        if (defer(ReceiptEncoder::addRule)) return this;
        ++notes.line;
        layout.rule();
        return this;
    }

    /**
     * Feeds the paper by {@code lines} lines ({@code ESC d n}).
     *
     * @param lines 0 to 255
     * @return this encoder
     * @throws IllegalArgumentException when lines is outside 0 to 255
     */
    public ReceiptEncoder addFeed(int lines) {
        if (lines < 0 || lines > 255) {
            throw new IllegalArgumentException("feed must be 0 to 255 lines: " + lines);
        }
        if (defer(e -> e.addFeed(lines))) return this;
        ++notes.line;
        writer.feed(lines);
        return this;
    }

    /**
     * Sets the receipt's direction: the side every line starts at and every row's amount ends
     * at, whatever the line's own text begins with. By default ({@link TextDirection#FROM_TEXT})
     * it is set by the first strong character of the first line that has one; the lines before
     * it, which have none, are laid out when it comes (or when the bytes are asked for), so they
     * stand at the same side. A line still reorders its own text by its own first strong
     * character; a line without one (a number, a date) stands at the receipt's start side.
     *
     * @param direction the direction
     * @return this encoder
     * @throws IllegalArgumentException if the direction is null
     */
    public ReceiptEncoder direction(TextDirection direction) {
        if (direction == null) throw new IllegalArgumentException("direction: null");
        if (pending != null) {
            defer(e -> e.direction(direction));
            return this;
        }
        // Calls kept for their amounts are laid out in the direction they came in.
        if (!replaying && !layout.directionOpen()) release();
        layout.direction(direction);
        if (!replaying && !layout.directionOpen()) release();
        return this;
    }

    /**
     * Whether {@link #addLine} reads padding of spaces as a separator of columns (the default):
     * three or more spaces, or two before a digit, a sign or a currency symbol, separate columns
     * exactly as a TAB does, so {@code String.format("%-28s%8s", item, price)} prints as a row.
     * Each column is reordered on its own, so no word or digit crosses a gap; the first column
     * stands at the start side, the last flush with the end side (in a right-to-left receipt,
     * where the widest amount ends), and a middle one as far from the start side as it stood in
     * the text, counted in 12-dot cells. Columns that do not fit on one line print as one
     * paragraph. False keeps every line whole.
     *
     * @param on whether padding separates columns
     * @return this encoder
     */
    public ReceiptEncoder columnsFromSpaces(boolean on) {
        if (defer(e -> e.columnsFromSpaces(on))) return this;
        layout.columnsFromSpaces = on;
        return this;
    }

    /**
     * Whether drawn Arabic keeps the fixed cells of its font ({@code false}, the default, sets it
     * at its natural width). At natural width each letter is sent with only the columns it needs:
     * joined letters meet with a connecting stroke of 2 dots, a letter that does not join its
     * neighbour stands 2 blank dots from it, a zero-width non-joiner leaves a 4-dot break, and
     * marks are printed over their letter, never clipped; so Arabic reads as set type and takes
     * fewer bytes. Fixed cells print each letter at the font's width, as the library's own
     * drawing call composes it. Frame lines always keep their cells.
     *
     * @param on whether drawn Arabic keeps fixed cells
     * @return this encoder
     */
    public ReceiptEncoder fixedCells(boolean on) {
        if (defer(e -> e.fixedCells(on))) return this;
        characters.naturalWidth = !on;
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
        writer.style(style);
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
        ++notes.line;
        writer.raw(EscPos.cut(partial, 0));
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
        ++notes.line;
        writer.raw(pulse);
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
        ++notes.line;
        writer.raw(copy);
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
        ++notes.line;
        writer.printerItem(bytes, alignment, quiet);
        return this;
    }

    /**
     * The printer bytes of everything added so far: a reset, the mode and code table the text
     * needs, then the lines. Empty when nothing has been added. The encoder can go on adding.
     *
     * @return the bytes, a new array
     */
    public byte[] toBytes() {
        if (pending != null) return decided().toBytes();
        release();
        return writer.toBytes();
    }

    /** @return characters printed as {@code ?}, in the order in which they were first printed */
    public List<Note> unprintables() {
        return pending != null ? decided().unprintables()
                               : released().notes.list(Note.Kind.REPLACED);
    }

    /**
     * @return everything not printed as written: characters printed as {@code ?} and marks left
     *     out
     */
    public List<Note> notes() {
        return pending != null ? decided().notes() : released().notes.list(null);
    }

    /** @return lines printed so far (a feed counts its lines) */
    public int printedLines() {
        return pending != null ? decided().printedLines() : released().writer.printedLines;
    }

    /** @return characters drawn by the library so far */
    public long drawnCharacters() {
        return pending != null ? decided().drawnCharacters() : released().composer.drawnCharacters;
    }

    /** @return characters sent as text for the resident font so far, replacements included */
    public long residentCharacters() {
        return pending != null ? decided().residentCharacters()
                               : released().composer.residentCharacters;
    }

    /**
     * With the code page left to the encoder: keeps a call until the receipt is known, or hands
     * it to the encoder of the chosen code page. False when the code page was given.
     */
    private boolean defer(Consumer<ReceiptEncoder> call, String... texts) {
        if (pending == null) return hold(call, texts);
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

    /**
     * With the receipt's direction left to its text: keeps a line that has no strong character
     * (a number, a date, a row of dashes), and every call after it, until a line that has one
     * sets the direction, so the lines before it stand at the same side as the rest of the
     * receipt. False when the call is to be made now.
     */
    private boolean hold(Consumer<ReceiptEncoder> call, String... texts) {
        if (replaying) return false;
        if (layout.directionOpen()) {
            int strong = 0;
            for (int i = 0; i < texts.length && strong == 0; ++i) {
                if (texts[i] != null) {
                    strong = Characters.firstStrong(texts[i].codePoints().toArray());
                }
            }
            if (strong == 0 && (texts.length > 0 || !held.isEmpty())) {
                held.add(call);
                return true;
            }
            if (strong != 0) layout.directionFrom(strong);
        }
        if (layout.rightToLeft()) {
            held.add(call);
            return true;
        }
        release();
        return false;
    }

    /** This encoder with the calls held for the direction made: the receipt so far is asked for. */
    private ReceiptEncoder released() {
        release();
        return this;
    }

    /** Makes the calls held for the receipt's direction, in the order they came. */
    private void release() {
        if (held.isEmpty()) return;
        replaying = true;
        try {
            for (Consumer<ReceiptEncoder> call : held) call.accept(this);
        } finally {
            held.clear();
            replaying = false;
        }
    }

    /** The encoder of the chosen code page, choosing it from the receipt kept so far. */
    private ReceiptEncoder decided() {
        if (chosen != null) return chosen;
        int best = CHOSEN_CODE_PAGES[0];
        long bestCount = -1;
        for (int cp : CHOSEN_CODE_PAGES) {
            if (!profile.hasCodeTable(cp)) continue;
            CodePages.Resident r = Characters.residentFor(cp);
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
        chosen.notes.addAt(Note.Kind.CODE_PAGE, best, 1);
        for (Consumer<ReceiptEncoder> call : pending) call.accept(chosen);
        pending.clear();
        pendingText.clear();
        return chosen;
    }
}

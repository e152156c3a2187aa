// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.Arrays;
import java.util.List;

/**
 * The layout of a receipt: paragraphs wrapped to the paper and aligned to their start side (right
 * for right-to-left text) or centred, rows of a label and an amount, rules, and frames of box
 * characters on a grid of cells. Each printed line goes through the visual line and the drawing
 * step and is handed to the writer.
 */
final class ReceiptLayout {
    private static final int HORIZONTAL_RULE = 0x2500;
    // What an amount holds besides digits and currency symbols.
    private static final String AMOUNT_PUNCTUATION = ".,\u066B\u066C+-\u2212 %\u066A";

    private final Characters characters;
    private final LineBreaker breaker;
    private final LineComposer composer;
    private final LineComposer measurer;
    private final EscPosWriter writer;
    private final Notes notes;
    private final int paper;
    /** The receipt's direction: 1 right to left, -1 left to right, 0 not known yet. */
    private int direction;
    /** The dot column of the last frame line's closing border, or -1. */
    private int frameRight = -1;
    /** The leading spaces the lines of this frame lose, as its first line lost them to fit. */
    private int frameIndent;
    /** Whether this frame was typed in the middle of the paper and is centred as printed. */
    private boolean frameCentred;
    /** The dot column the lines of this frame start at. */
    private int frameOrigin;
    /** Whether padding of spaces separates columns. */
    boolean columnsFromSpaces = true;
    /**
     * The widest amount ending a row of the receipt, in dots of its cells: digits read left to
     * right, so a right-to-left receipt sets its amounts flush with the right end of this field,
     * where their decimal points line up, rather than with the paper's left edge, where they did
     * not.
     */
    private int amountField;

    ReceiptLayout(Characters characters, LineBreaker breaker, LineComposer composer,
        EscPosWriter writer, Notes notes, int paper) {
        this.characters = characters;
        this.breaker = breaker;
        this.composer = composer;
        this.measurer = composer.measurer();
        this.writer = writer;
        this.notes = notes;
        this.paper = paper;
    }

    /** Sets the receipt's direction; {@link TextDirection#FROM_TEXT} leaves it to the text. */
    void direction(TextDirection d) {
        direction = d == TextDirection.RIGHT_TO_LEFT ? 1
            : d == TextDirection.LEFT_TO_RIGHT       ? -1
                                                     : 0;
    }

    /** Whether the receipt is known to run right to left. */
    boolean rightToLeft() { return direction > 0; }

    /** Whether the receipt's direction is still left to a text with a strong character. */
    boolean directionOpen() { return direction == 0; }

    /** Sets the receipt's direction from a text's first strong character (1 right to left). */
    void directionFrom(int firstStrong) {
        if (direction == 0) direction = firstStrong;
    }

    /**
     * Whether the receipt runs right to left: as set, or as the first strong character of the
     * first text that has one says, or else as this text's.
     */
    private boolean receiptRtl(int[] text) {
        if (direction == 0) direction = Characters.firstStrong(text);
        return direction > 0;
    }

    /** The direction a text is reordered in: its own first strong character's, or the receipt's. */
    private boolean textRtl(int[] text, boolean receiptRtl) {
        int own = Characters.firstStrong(text);
        return own != 0 ? own > 0 : receiptRtl;
    }

    /**
     * The width of a line in the dots of the current style's characters: a double-width line
     * holds half as many.
     */
    private int lineWidth() { return paper / writer.style().widthFactor(); }

    /** Paragraphs of text; one that holds a TAB is a row. */
    void text(String text, boolean centered) {
        for (int[] paragraph : ReceiptInput.paragraphs(text, notes.line + 1, notes)) {
            ++notes.line;
            if (paragraph.length == 0) {
                writer.emptyLine();
                continue;
            }
            int tab = ReceiptInput.indexOf(paragraph, ReceiptInput.TAB);
            if (tab >= 0) {
                int[] amount = Arrays.copyOfRange(paragraph, tab + 1, paragraph.length);
                for (int i = 0; i < amount.length; ++i) {
                    if (amount[i] == ReceiptInput.TAB) amount[i] = ReceiptInput.SPACE;
                }
                row(Arrays.copyOf(paragraph, tab), amount);
                continue;
            }
            if (!centered && columnsFromSpaces && !isFrame(paragraph)) {
                List<int[]> columns = PaddedColumns.split(paragraph);
                if (columns.size() == 2) {
                    row(PaddedColumns.text(paragraph, columns.get(0)),
                        PaddedColumns.text(paragraph, columns.get(1)));
                    continue;
                }
                if (columns.size() > 2 && columns(paragraph, columns)) continue;
            }
            int[] typedCentred = centered || isFrame(paragraph) ? null : typedCentred(paragraph);
            if (typedCentred != null) {
                paragraph(typedCentred, true);
                continue;
            }
            paragraph(paragraph, centered);
        }
    }

    /**
     * The text of a line that its spaces centre in as many cells as the paper holds, as an app
     * centres a line with String.format padding or with spaces before it; otherwise null. Set in
     * its cells it would stand in the middle, but Arabic at its natural width is narrower than its
     * cells and stood off the middle by half of what it saves: the text is centred on the paper
     * instead.
     */
    private int[] typedCentred(int[] text) { return typedCentred(text, 1); }

    /**
     * The text of a line whose spaces centre it in the paper's cells to within {@code slack}
     * cells of the doubled padding, as {@link #typedCentred(int[])}; otherwise null.
     */
    private int[] typedCentred(int[] text, int slack) {
        int lead = leadingSpaces(text);
        int end = text.length;
        while (end > lead && text[end - 1] == ReceiptInput.SPACE) --end;
        int chars = end - lead;
        if (lead == 0 || chars == 0) return null;
        // The middle of the text in the middle of the line's cells, to the rounding of the
        // padding: counted a cell a character, as String.format counts, or as a screen shows
        // them, ideographs and kana two cells and marks none.
        int shown = shownCells(text, lead, end);
        int cells = lineWidth() / Characters.RESIDENT_CELL;
        boolean centred = Math.abs(2 * lead + chars - cells) <= slack
            || Math.abs(2 * lead + shown - cells) <= slack;
        return centred ? Arrays.copyOfRange(text, lead, end) : null;
    }

    /**
     * The cells a screen shows {@code text} from {@code from} to {@code to} in: ideographs and kana
     * two, marks and invisible characters none, any other one.
     */
    private static int shownCells(int[] text, int from, int to) {
        int shown = 0;
        for (int i = from; i < to; ++i) {
            int c = text[i];
            shown += Characters.isMark(c) || Characters.isInvisible(c) ? 0
                : Characters.isCjk(c)                                  ? 2
                                                                       : 1;
        }
        return shown;
    }

    /**
     * Prints columns found in padding on one line: the first at the start side, the last flush
     * with the end side, each middle one as far from the start side as it stood in the text (in
     * 12-dot cells), pushed further only when the column before it needs the room. Each column is
     * reordered on its own. False, printing nothing, when they do not fit on one line.
     */
    private boolean columns(int[] paragraph, List<int[]> spans) {
        int n = spans.size();
        int[][] texts = new int[n][];
        for (int i = 0; i < n; ++i) {
            texts[i] = characters.withFallbacks(PaddedColumns.text(paragraph, spans.get(i)), notes);
        }
        boolean rtl = receiptRtl(paragraph);
        int width = lineWidth();
        LineComposer.Run[] runs = new LineComposer.Run[n];
        int[] from = new int[n]; // distance of each column from the start side
        int end = 0;
        for (int i = 0; i < n; ++i) {
            runs[i] = line(texts[i], textRtl(texts[i], rtl), false);
            // As far in as the column was typed, counted as a screen shows it: a ZWNJ or a mark
            // before it took no cell there.
            int wanted =
                i == 0 ? 0 : shownCells(paragraph, 0, spans.get(i)[0]) * Characters.RESIDENT_CELL;
            from[i] = i == 0 ? 0 : Math.max(wanted, end + Characters.RESIDENT_CELL);
            if (i == n - 1) from[i] = Math.max(from[i], width - runs[i].width);
            end = from[i] + runs[i].width;
        }
        if (end > width) return false;
        if (rtl && n > 1) {
            // The last column flush with the right end of the amounts' field, where the column
            // before it leaves the room.
            int shift = Math.min(amountShift(runs[n - 1].width),
                from[n - 1] - from[n - 2] - runs[n - 2].width - Characters.RESIDENT_CELL);
            if (shift > 0) from[n - 1] -= shift;
        }
        writer.beginLine(false);
        int x = 0;
        for (int k = 0; k < n; ++k) {
            // The printer prints left to right: a right-to-left receipt's last column first.
            int i = rtl ? n - 1 - k : k;
            int left = rtl ? width - from[i] - runs[i].width : from[i];
            writer.moveTo(left, x);
            writer.append(runs[i]);
            x = left + runs[i].width;
        }
        writer.endLine();
        return true;
    }

    /**
     * The exact width of a line of reading-order text, for the line breaker, whose character
     * widths are only an upper bound of Arabic set at its natural width; null where they are
     * exact.
     */
    private LineBreaker.Measure measure(boolean rtl, boolean frame) {
        if (frame || !characters.naturalWidth) return null;
        int factor = writer.style().widthFactor();
        int width = lineWidth();
        return logical
            -> measurer.compose(visual(logical, rtl), false, factor, room(logical, width)).width;
    }

    /**
     * The dots a line of text may take beyond its cells and still fit {@code width}: a line
     * stands at one side of the paper or in its middle, so a letter at its natural width may use
     * the paper's blank as it uses what trimming saves.
     */
    private int room(int[] logical, int width) {
        int cells = 0;
        for (int dots : characters.widths(logical, 0, logical.length, false)) cells += dots;
        return Math.max(0, width - cells);
    }

    // The last line reordered: the line breaker measures the line it keeps, and the same line
    // is then composed again to be printed.
    private int[] lastLogical;
    private boolean lastRtl;
    private int[] lastVisual;

    /** The line in printing order, reordered once for measuring and printing. */
    private int[] visual(int[] logical, boolean rtl) {
        if (lastVisual == null || rtl != lastRtl || !Arrays.equals(logical, lastLogical)) {
            lastLogical = logical.clone();
            lastRtl = rtl;
            lastVisual = VisualLine.of(logical, rtl, characters);
        }
        return lastVisual;
    }

    private LineComposer.Run line(int[] logical, boolean rtl, boolean frame) {
        return composer.compose(
            VisualLine.of(logical, rtl, characters), frame, writer.style().widthFactor());
    }

    void paragraph(int[] text, boolean centered) {
        text = characters.withFallbacks(text, notes);
        // A line holding box characters is a drawing in character cells: it keeps its columns
        // from the left edge, in left-to-right order. So is a frame typed in ASCII.
        boolean frame = isFrame(text);
        // The lines stand at the receipt's start side; each reads in its own direction.
        boolean side = !frame && receiptRtl(text);
        boolean rtl = !frame && textRtl(text, side);
        int width = lineWidth();
        if (!frame) endFrame(); // a frame ends where its lines do
        if (frame) {
            // The lines of a frame that lost leading spaces keep lining up with its first line.
            int lead = leadingSpaces(text);
            // A line that starts before a centred frame's corner is not one of its lines.
            if (frameCentred && lead < frameIndent) endFrame();
            if (frameIndent > 0 && lead > 0) {
                text = Arrays.copyOfRange(text, Math.min(frameIndent, lead), text.length);
            }
            if (frameLine(text, width)) return;
        }
        for (int[] segment : breaker.wrap(text, width, frame, measure(rtl, frame))) {
            LineComposer.Run run = frame ? line(segment, rtl, true)
                                         : composer.compose(visual(segment, rtl), false,
                                             writer.style().widthFactor(), room(segment, width));
            writer.beginLine(frame || Characters.hasBoxCharacters(segment));
            int x = frame ? 0 : centered ? (width - run.width) / 2 : side ? width - run.width : 0;
            writer.moveTo(Math.max(0, x), 0);
            writer.append(run);
            writer.endLine();
        }
    }

    /**
     * A line of a frame typed in an editor. A line that starts and ends with a vertical border
     * puts its closing border on the dot column of the frame's corner above it, whatever the text
     * between holds (a line of Arabic has fewer characters than its frame); one wider than its
     * frame widens nothing and is noted. Any other frame line that ends with a box character sets
     * that column. False when the line is left to the cell grid, which breaks it into lines.
     *
     * <p>Box characters are drawn in cells of the font, wider than the printer's 12-dot cells a
     * frame may have been typed for: a line of only box characters and spaces that is wider than
     * the paper is shortened to fit (see {@link #fitted}), and a line of text still wider than the
     * paper is broken into lines rather than sent whole. An indented line is a frame line only in
     * a frame that lost leading spaces that way.
     */
    private boolean frameLine(int[] text, int width) {
        int lead = leadingSpaces(text);
        int last = text[text.length - 1];
        boolean bordered = text.length - lead >= 2 && isVerticalBorder(text[lead])
            && isVerticalBorder(last) && frameRight >= 0;
        // A frame typed in the middle of the paper's cells, to a cell, stays in its middle when
        // its cells print wider or narrower than the printer's (18 or 10 dots): its lines lose
        // their indent and the frame is centred as printed.
        int[] centred = !bordered && frameRight < 0 ? typedCentred(text, 2) : null;
        if (centred != null && isDrawing(centred)) {
            frameIndent += lead;
            text = centred;
            lead = 0;
            last = text[text.length - 1];
        } else {
            centred = null;
        }
        if (!bordered && isDrawing(text) && wider(text, width)) {
            int[] fitted = fitted(text, width);
            if (fitted == null) {
                endFrame();
                return false;
            }
            // The lines of the frame that follow lose as many leading spaces as this one did.
            frameIndent += lead - leadingSpaces(fitted);
            text = fitted;
            lead = leadingSpaces(text);
            last = text[text.length - 1];
        }
        boolean ends =
            text.length - lead >= 2 && Characters.isBox(text[lead]) && Characters.isBox(last);
        if (!(bordered || ends || asciiEdge(text))) {
            endFrame();
            return false;
        }
        if (!bordered) {
            LineComposer.Run run = line(text, false, true);
            if (frameRight < 0) {
                frameCentred = centred != null;
                frameOrigin = frameCentred ? Math.max(0, (width - run.width) / 2)
                                           : origin(text, run.width, width);
            }
            run.shift(frameOrigin, writer.style().widthFactor());
            if (frameOrigin + run.width > width) {
                if (frameRight >= 0) notes.add(Note.Kind.WIDER_THAN_FRAME, last);
                return false;
            }
            frameRight = run.width - characters.measure(last);
            writer.beginLine(true);
            writer.moveTo(frameOrigin, 0);
            writer.append(run);
            writer.endLine();
            return true;
        }
        int[] between = Arrays.copyOf(text, text.length - 1);
        if (placed(between, lead, last, width)) return true;
        // The padding was typed for the printer's 12-dot cells: where the text between is drawn
        // wider, the padding gives way, a space at a time from its wider side.
        while (measured(between) > frameRight) {
            int[] less = lessPadding(between, lead);
            if (less == null) break;
            between = less;
        }
        LineComposer.Run inside = framed(between);
        if (inside.width > frameRight) notes.add(Note.Kind.WIDER_THAN_FRAME, last);
        LineComposer.Run border = line(new int[] {last}, false, true);
        int right = frameOrigin + Math.max(frameRight, inside.width);
        if (right + border.width > width) return false;
        writer.beginLine(true);
        writer.moveTo(frameOrigin, 0);
        writer.append(inside);
        // Text that fills its frame leaves the closing border nothing to move over: a space there
        // would push it past the corner.
        if (right > frameOrigin + inside.width) writer.moveTo(right, frameOrigin + inside.width);
        writer.append(border);
        writer.endLine();
        return true;
    }

    /**
     * A line of text between two borders, placed where its padding put it: at the start, in the
     * middle or at the end of the frame as printed, or between them in proportion to the padding
     * on each side. The padding was typed in the printer's 12-dot cells, and the frame's cells and
     * its text are drawn narrower or wider than those, so a title typed in the middle would
     * otherwise lean to one side. False, printing nothing, when the text holds box characters (a
     * row of a table keeps its cells), does not fit, or the printer places only by spaces.
     */
    private boolean placed(int[] between, int lead, int last, int width) {
        int front = lead + 1;
        int back = between.length;
        while (front < back && between[front] == ReceiptInput.SPACE) ++front;
        while (back > front && between[back - 1] == ReceiptInput.SPACE) --back;
        int[] head = Arrays.copyOf(between, lead + 1);
        int[] content = Arrays.copyOfRange(between, front, back);
        if (!writer.placesExactly() || content.length == 0
            || Characters.hasBoxCharacters(content)) {
            return false;
        }
        int headWidth = measured(head);
        // The text is set as any text is, its letters at their natural width: only the borders
        // keep the frame's cells. What the frame leaves blank beside it is its room, as the
        // paper's is for a line: a word-final seen or sad at 10 dots takes its wider bowl there.
        LineComposer.Run text = composer.compose(visual(content, false), false,
            writer.style().widthFactor(), room(content, frameRight - headWidth));
        text.shift(frameOrigin, writer.style().widthFactor());
        int blank = frameRight - headWidth - text.width;
        int border = measured(new int[] {last});
        if (blank < 0 || frameOrigin + frameRight + border > width) return false;
        int before = front - lead - 1;
        int after = between.length - back;
        int x =
            frameOrigin + headWidth + (before + after == 0 ? 0 : blank * before / (before + after));
        writer.beginLine(true);
        writer.moveTo(frameOrigin, 0);
        writer.append(framed(head));
        if (x > frameOrigin + headWidth) writer.moveTo(x, frameOrigin + headWidth);
        writer.append(text);
        int right = frameOrigin + frameRight;
        if (right > x + text.width) writer.moveTo(right, x + text.width);
        writer.append(line(new int[] {last}, false, true));
        writer.endLine();
        return true;
    }

    /**
     * A frame line's text after its left border at {@code lead}, one space of padding shorter on
     * the side that has more (the end on a tie); null when neither side has more than one.
     */
    private static int[] lessPadding(int[] between, int lead) {
        int front = 0;
        while (
            lead + 1 + front < between.length && between[lead + 1 + front] == ReceiptInput.SPACE) {
            ++front;
        }
        int back = 0;
        while (back < between.length - lead - 1 - front
            && between[between.length - 1 - back] == ReceiptInput.SPACE) {
            ++back;
        }
        if (Math.max(front, back) <= 1) return null;
        int drop = back >= front ? between.length - 1 : lead + 1;
        int[] less = new int[between.length - 1];
        System.arraycopy(between, 0, less, 0, drop);
        System.arraycopy(between, drop + 1, less, drop, less.length - drop);
        return less;
    }

    private void endFrame() {
        frameRight = -1;
        frameIndent = 0;
        frameOrigin = 0;
        frameCentred = false;
    }

    /** A line of the frame in its cells, from the frame's origin. */
    private LineComposer.Run framed(int[] text) {
        LineComposer.Run run = line(text, false, true);
        run.shift(frameOrigin, writer.style().widthFactor());
        return run;
    }

    /**
     * Where a frame that starts with this line, {@code printed} dots wide, stands: at the
     * receipt's start side, as every other line does, which in a right-to-left receipt is the
     * right edge, less the indent the frame was typed with.
     */
    private int origin(int[] text, int printed, int width) {
        if (!receiptRtl(text)) return 0;
        // Leading spaces are resident cells; a box character after them stands on its grid cell.
        int lead = leadingSpaces(text);
        int indent = lead
            * (writer.placesExactly() && Characters.isBox(text[lead]) ? characters.gridPitch
                                                                      : Characters.RESIDENT_CELL);
        return Math.max(0, width - printed - indent);
    }

    /** Whether a frame line is wider than {@code width}; its cells bound what it prints. */
    private boolean wider(int[] text, int width) {
        int cells = 0;
        for (int w : characters.widths(text, 0, text.length, true)) cells += w;
        return cells > width && measured(text) > width;
    }

    /** The printed width of a frame line, measured apart, so that it takes no notes. */
    private int measured(int[] text) {
        return measurer
            .compose(VisualLine.of(text, false, characters), true, writer.style().widthFactor())
            .width;
    }

    /**
     * A line of box characters and spaces shortened to {@code width}: it loses its trailing
     * spaces, then as many leading spaces as it must, then one piece at a time from the longest
     * run of a repeated horizontal piece between its first and last characters, so that corners
     * and tees stay at its ends. Null when nothing more can go and it is still too wide.
     */
    private int[] fitted(int[] text, int width) {
        int end = text.length;
        while (end > 0 && text[end - 1] == ReceiptInput.SPACE) --end;
        int[] line = Arrays.copyOf(text, end);
        int excess = measured(line) - width;
        while (excess > 0) {
            int at = line[0] == ReceiptInput.SPACE ? 0 : repeatedPiece(line);
            if (at < 0) return null;
            // Each character takes its cells of the grid.
            excess -= characters.widths(line, at, at + 1, true)[0];
            int[] shorter = Arrays.copyOf(line, line.length - 1);
            System.arraycopy(line, at + 1, shorter, at, line.length - at - 1);
            line = shorter;
            if (excess <= 0) excess = measured(line) - width;
        }
        return line;
    }

    /**
     * The last character of the longest run of one horizontal piece that a line holds besides its
     * first and last characters (the first such run of that length), or -1 when it has none of
     * two or more.
     */
    private static int repeatedPiece(int[] line) {
        int best = -1;
        int longest = 1;
        for (int i = 1, j; i < line.length - 1; i = j + 1) {
            j = i;
            while (j + 1 < line.length - 1 && line[j + 1] == line[i]) ++j;
            if (isHorizontalPiece(line[i]) && j - i + 1 > longest) {
                best = j;
                longest = j - i + 1;
            }
        }
        return best;
    }

    /** Lines (light, heavy, double, dashed, half) and blocks, which repeat along a rule. */
    private static boolean isHorizontalPiece(int c) {
        return c == 0x2500 || c == 0x2501 || c == 0x2504 || c == 0x2505 || c == 0x2508
            || c == 0x2509 || c == 0x254C || c == 0x254D || c == 0x2550
            || (c >= 0x2574 && c <= 0x257F && c % 2 == 0) || (c >= 0x2580 && c <= 0x259F);
    }

    /** Whether a line holds only box characters and spaces. */
    private static boolean isDrawing(int[] text) {
        for (int c : text) {
            if (c != ReceiptInput.SPACE && !Characters.isBox(c)) return false;
        }
        return Characters.hasBoxCharacters(text);
    }

    private static int leadingSpaces(int[] text) {
        int n = 0;
        while (n < text.length && text[n] == ReceiptInput.SPACE) ++n;
        return n;
    }

    /**
     * Whether a line is a drawing in character cells: it holds box characters, or it is a frame
     * typed in ASCII: an edge such as {@code +------+}, or inside a frame a line between two
     * {@code |}, whose padding must not be read as columns.
     */
    private boolean isFrame(int[] text) {
        if (Characters.hasBoxCharacters(text) || asciiEdge(text)) return true;
        int lead = leadingSpaces(text);
        return frameRight >= 0 && text.length - lead >= 2 && text[lead] == '|'
            && text[text.length - 1] == '|';
    }

    /** Whether a line is the edge of a frame typed in ASCII: {@code +}, dashes or =, {@code +}. */
    private static boolean asciiEdge(int[] text) {
        int lead = leadingSpaces(text);
        if (text.length - lead < 3 || text[lead] != '+' || text[text.length - 1] != '+') {
            return false;
        }
        boolean rule = false;
        for (int i = lead + 1; i < text.length - 1; ++i) {
            int c = text[i];
            if (c != '-' && c != '=' && c != '+') return false;
            rule |= c != '+';
        }
        return rule;
    }

    private static boolean isVerticalBorder(int c) {
        return c == '|' || c == 0x2502 || c == 0x2503 || c == 0x2551 || c == 0x2506 || c == 0x2507
            || c == 0x250A || c == 0x250B || c == 0x254E || c == 0x254F;
    }

    void row(int[] label, int[] amount) {
        writer.start();
        label = characters.withFallbacks(label, notes);
        amount = characters.withFallbacks(amount, notes);
        // The row stands in the receipt's direction, whatever its label begins with; each column
        // reads in its own.
        int[] both = Arrays.copyOf(label, label.length + amount.length);
        System.arraycopy(amount, 0, both, label.length, amount.length);
        boolean rtl = receiptRtl(both);
        boolean labelRtl = textRtl(label, rtl);
        int width = lineWidth();
        LineComposer.Run amountRun = line(amount, textRtl(amount, rtl), false);
        int shift = rtl ? amountShift(amountRun.width) : 0;
        int room = width - amountRun.width - Characters.RESIDENT_CELL;
        if (room < characters.gridPitch || label.length == 0) {
            // No room beside the amount: the label on its own, then the amount at the end side.
            if (label.length > 0) paragraph(label, false);
            writer.beginLine(Characters.hasBoxCharacters(amount));
            writer.moveTo(rtl ? Math.min(shift, Math.max(0, width - amountRun.width))
                              : Math.max(0, width - amountRun.width),
                0);
            writer.append(amountRun);
            writer.endLine();
            return;
        }
        List<int[]> labelLines = breaker.wrap(label, room, false, measure(labelRtl, false));
        LineComposer.Run labelRun = line(labelLines.get(0), labelRtl, false);
        shift = Math.max(0, Math.min(shift, room - labelRun.width));
        writer.beginLine(Characters.hasBoxCharacters(label) || Characters.hasBoxCharacters(amount));
        if (rtl) {
            writer.moveTo(shift, 0);
            writer.append(amountRun);
            writer.moveTo(width - labelRun.width, shift + amountRun.width);
            writer.append(labelRun);
        } else {
            writer.append(labelRun);
            writer.moveTo(width - amountRun.width, labelRun.width);
            writer.append(amountRun);
        }
        writer.endLine();
        for (int i = 1; i < labelLines.size(); ++i) {
            LineComposer.Run more = line(labelLines.get(i), labelRtl, false);
            writer.beginLine(Characters.hasBoxCharacters(labelLines.get(i)));
            writer.moveTo(rtl ? Math.max(0, width - more.width) : 0, 0);
            writer.append(more);
            writer.endLine();
        }
    }

    /** Counts the amounts that end the rows of a text into the amounts' field. */
    void noteAmounts(String text) {
        if (direction < 0) return; // a left-to-right receipt sets amounts flush right
        for (int[] paragraph : ReceiptInput.paragraphs(text, 1, new Notes())) {
            int tab = ReceiptInput.indexOf(paragraph, ReceiptInput.TAB);
            if (tab >= 0) {
                widenAmountField(Arrays.copyOfRange(paragraph, tab + 1, paragraph.length));
            } else if (columnsFromSpaces && !isFrame(paragraph)) {
                List<int[]> columns = PaddedColumns.split(paragraph);
                if (columns.size() > 1) {
                    widenAmountField(
                        PaddedColumns.text(paragraph, columns.get(columns.size() - 1)));
                }
            }
        }
    }

    /** Counts the amount of a row into the amounts' field. */
    void noteAmount(String amount) {
        if (direction >= 0) widenAmountField(amount.codePoints().toArray());
    }

    /** Counts {@code column}, the last of a row, into the amounts' field if it is an amount. */
    private void widenAmountField(int[] column) {
        int end = column.length;
        while (end > 0 && column[end - 1] == ReceiptInput.SPACE) --end;
        if (end == 0 || !PaddedColumns.startsAmount(column[0])) return;
        for (int i = 0; i < end; ++i) {
            int c = column[i];
            if (!Character.isDigit(c) && AMOUNT_PUNCTUATION.indexOf(c) < 0
                && Character.getType(c) != Character.CURRENCY_SYMBOL) {
                return;
            }
        }
        // Its cells bound its width: only a wider one is measured as it prints.
        int cells = 0;
        for (int dots : characters.widths(column, 0, end, false)) cells += dots;
        if (cells <= amountField) return;
        int dots =
            measurer.compose(VisualLine.of(Arrays.copyOf(column, end), false, characters), false, 1)
                .width;
        amountField = Math.max(amountField, dots);
    }

    /**
     * How far right of the paper's left edge a right-to-left row's last column of {@code dots}
     * stands: flush with the right end of the amounts' field.
     */
    private int amountShift(int dots) { return Math.max(0, amountField - dots); }

    /** A rule across the paper: box-drawing lines drawn cell by cell, or dashes. */
    void rule() {
        writer.start();
        int font = characters.fontOf(HORIZONTAL_RULE);
        int cell = font > 0 ? font : Characters.RESIDENT_CELL;
        int[] rule = new int[lineWidth() / cell];
        Arrays.fill(rule, font > 0 ? HORIZONTAL_RULE : '-');
        LineComposer.Run run = composer.compose(rule, false, writer.style().widthFactor());
        writer.beginLine(font > 0);
        writer.append(run);
        writer.endLine();
    }
}

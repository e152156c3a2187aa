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

    private final Characters characters;
    private final LineBreaker breaker;
    private final LineComposer composer;
    private final EscPosWriter writer;
    private final Notes notes;
    private final int paper;

    ReceiptLayout(Characters characters, LineBreaker breaker, LineComposer composer,
        EscPosWriter writer, Notes notes, int paper) {
        this.characters = characters;
        this.breaker = breaker;
        this.composer = composer;
        this.writer = writer;
        this.notes = notes;
        this.paper = paper;
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
            paragraph(paragraph, centered);
        }
    }

    private LineComposer.Run line(int[] logical, boolean rtl, boolean frame) {
        return composer.compose(
            VisualLine.of(logical, rtl, characters), frame, writer.style().widthFactor());
    }

    void paragraph(int[] text, boolean centered) {
        text = characters.withFallbacks(text, notes);
        // A line holding box characters is a drawing in character cells: it keeps its columns
        // from the left edge, in left-to-right order.
        boolean frame = Characters.hasBoxCharacters(text);
        boolean rtl = !frame && Characters.firstStrong(text) > 0;
        int width = lineWidth();
        for (int[] segment : breaker.wrap(text, width, frame)) {
            LineComposer.Run run = line(segment, rtl, frame);
            writer.beginLine(frame || Characters.hasBoxCharacters(segment));
            int x = frame ? 0 : centered ? (width - run.width) / 2 : rtl ? width - run.width : 0;
            writer.moveTo(Math.max(0, x), 0);
            writer.append(run);
            writer.endLine();
        }
    }

    void row(int[] label, int[] amount) {
        writer.start();
        label = characters.withFallbacks(label, notes);
        amount = characters.withFallbacks(amount, notes);
        // The row reads in the direction of its label, or of its amount when the label has no
        // letters.
        int direction = Characters.firstStrong(label);
        boolean rtl = (direction != 0 ? direction : Characters.firstStrong(amount)) > 0;
        int width = lineWidth();
        LineComposer.Run amountRun = line(amount, rtl, false);
        int room = width - amountRun.width - Characters.RESIDENT_CELL;
        if (room < characters.gridPitch || label.length == 0) {
            // No room beside the amount: the label on its own, then the amount at the end side.
            if (label.length > 0) paragraph(label, false);
            writer.beginLine(Characters.hasBoxCharacters(amount));
            writer.moveTo(rtl ? 0 : Math.max(0, width - amountRun.width), 0);
            writer.append(amountRun);
            writer.endLine();
            return;
        }
        List<int[]> labelLines = breaker.wrap(label, room, false);
        LineComposer.Run labelRun = line(labelLines.get(0), rtl, false);
        writer.beginLine(Characters.hasBoxCharacters(label) || Characters.hasBoxCharacters(amount));
        if (rtl) {
            writer.append(amountRun);
            writer.moveTo(width - labelRun.width, amountRun.width);
            writer.append(labelRun);
        } else {
            writer.append(labelRun);
            writer.moveTo(width - amountRun.width, labelRun.width);
            writer.append(amountRun);
        }
        writer.endLine();
        for (int i = 1; i < labelLines.size(); ++i) {
            LineComposer.Run more = line(labelLines.get(i), rtl, false);
            writer.beginLine(Characters.hasBoxCharacters(labelLines.get(i)));
            writer.moveTo(rtl ? Math.max(0, width - more.width) : 0, 0);
            writer.append(more);
            writer.endLine();
        }
    }

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

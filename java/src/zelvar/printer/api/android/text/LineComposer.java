// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.atomic.AtomicReferenceArray;
import zelvar.printer.api.android.nat.nativef;

/**
 * The drawing step: composes the bytes of one line in printing order. Drawn characters become the
 * library's command sequences (define, select, print, cancel), resident ones their bytes in the
 * code page; a mark is fitted over its letter through the placement record, which starts empty
 * and after each resident character, whose ink the library cannot see. On a frame line each box
 * character is placed at its cell of the grid.
 *
 * <p>Arabic is set at its natural width, as type is: a user-defined character takes its own
 * width, so each letter goes out with only the columns it needs. Between two joined letters the
 * connecting stroke is cut to {@value #JOINED_STROKE} dots; beside a letter that does not join
 * its neighbour {@value #GAP} blank dots remain, and a zero-width non-joiner leaves {@value
 * Characters#ZWNJ_BREAK}. A mark is defined with its letter's columns and printed over it (BS),
 * moved sideways only as far as it takes to stand over what is left of the letter, so no mark is
 * ever clipped. A mark wider than its letter is centred over it; where it would reach over the
 * stroke that joins the next letter, its end is printed over that letter's start. A letter never
 * takes more room than its cell would, so the line breaker's widths stay an upper bound and no line
 * passes the paper's edge.
 */
final class LineComposer {
    // Kanji mode as a composed run needs it or leaves it.
    static final int KANJI_ANY = -1;
    static final int KANJI_OFF = 0;
    static final int KANJI_ON = 1;

    /** Dots of connecting stroke between the bodies of two joined letters at natural width. */
    static final int JOINED_STROKE = 2;
    /** Blank dots between two letters of a word that do not join. */
    static final int GAP = 2;
    // Blank dots kept between a letter at natural width and a character of the printer's font or
    // the line's end.
    private static final int EDGE = 1;
    // A column of more inked rows than this at a joining edge is a stem or a bowl, not a stroke.
    private static final int MAX_STROKE_ROWS = 3;
    // The top row of a short letter's body, and the row that parts marks above from marks below.
    private static final int BODY_TOP_ROW = 8;
    private static final int MIDDLE_ROW = 12;
    // What of two neighbouring letters must stand apart, and where: their dots over the joining
    // stroke (rows 0 to 13) and under it (16 to 23), and all their ink over a short letter's body
    // (rows 0 to 7: the tops of stems, the strokes of keheh and gaf).
    private static final int[] APART_ROWS = {0xFFFC00, 0xFF, 0xFF0000};
    // Rows 13 to 15, which the body of every letter reaches.
    private static final int BODY_ROWS = 0x700;
    // Rows 0 to 7, over a short letter's body.
    private static final int ABOVE_BODY = 0xFF0000;
    // Blank columns kept between the dots of two neighbouring letters: three times the blank
    // inside a group, so that the groups do not read as one. (Four lengthened the joins enough
    // that the machine reader misread more words at 18.)
    private static final int DOTS_APART = 3;
    // Blank columns kept between the heads of two neighbouring letters: in سنگک at 10 dots the
    // bars of gaf, which reach over the letter after it, met the rising stroke of the final
    // keheh, and the two read as one gaf.
    private static final int HEADS_APART = 2;
    private static final int[] APART = {DOTS_APART, DOTS_APART, HEADS_APART};
    // Blank rows between two marks stacked over a letter: with one, a thermal head prints them
    // as one mark.
    private static final int MARKS_APART = 2;
    // Blank columns between marks above two neighbouring letters at one height.
    private static final int MARKS_BESIDE = 2;
    // The tallest mark over alef with hamza for which the hamza comes down (a fatha, two rows).
    private static final int LOWERED_MARK_ROWS = 2;
    // Columns the upper vowel of a stacked tanwin stands at most left of the lower one.
    private static final int TANWIN_STAGGER = 2;
    private static final int FATHATAN = 0x064B;
    private static final int DAMMATAN = 0x064C;
    private static final int KASRATAN = 0x064D;
    private static final int FATHA = 0x064E;
    private static final int KASRA = 0x0650;
    // The dots of glyphs set before, by their columns, shared by all encoders: each receipt sets
    // the same few dozen letters. An entry is never changed, only replaced.
    private static final int DOTS_CACHE = 256;
    private static final AtomicReferenceArray<int[][]> DOTS_FOUND =
        new AtomicReferenceArray<>(DOTS_CACHE);
    private static final int ROWS_MASK = 0xFFFFFF;
    // The widest character ESC & defines; a wider definition is ignored and its bytes print.
    private static final int MAX_COLUMNS = 24;
    // The narrowest font, and the one whose drawings of seen, sheen, sad and dad have the room
    // for their bowls.
    private static final int NARROW_FONT = 10;
    private static final int BOWL_FONT = 13;
    private static final int USER_CODE = 0x41; // the code every drawn character is defined as
    private static final int COLUMN_BYTES = 3;
    private static final int SEQUENCE_HEADER = 6; // ESC & y c1 c2 x
    private static final byte[] USER_SET_ON = {EscPos.ESC, EscPos.USER_CHARACTER_SET, 1}; // ESC % 1
    private static final byte[] USER_SET_OFF = {EscPos.ESC, EscPos.USER_CHARACTER_SET, 0};

    /** A line's bytes composed apart, with the Kanji mode it starts in and leaves. */
    static final class Run {
        final Bytes bytes = new Bytes(256);
        int width;
        int firstKanji = KANJI_ANY;
        int lastKanji = KANJI_ANY;
        /** Where the dots of each print position the run sets begin in its bytes. */
        final List<Integer> positions = new ArrayList<>();

        /**
         * Moves the print positions the run sets by {@code dots} of the line's characters, for a
         * run printed that far from where it was composed to start.
         */
        void shift(int dots, int widthFactor) {
            byte[] data = bytes.data();
            for (int at : positions) {
                int position =
                    (data[at] & 0xFF) + ((data[at + 1] & 0xFF) << 8) + dots * widthFactor;
                data[at] = (byte) position;
                data[at + 1] = (byte) (position >>> 8);
            }
        }

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

    /** A drawn Arabic character and the marks printed over it, set once its neighbours are. */
    private static final class Cluster {
        final int codePoint;
        final int font;
        final int joining;
        final int[] base;
        // A dammatan drawn from the next width, two dammas, in place of the mark at pairIndex.
        int[] dammaPair;
        int pairIndex;
        final List<int[]> marks = new ArrayList<>(2);
        final boolean afterNonJoiner;
        int[] wideBowl; // the next width's drawing of a letter whose bowl the narrow cell cramps
        // A kasratan stacked under the letter's joining stroke, drawn on for it by tanwinExtra
        // columns, in place of the mark at tanwinIndex (see kasratanUnderStroke).
        int[] tanwinPair;
        int tanwinExtra;
        int tanwinIndex;
        boolean afterBlank; // the line's start or a space is printed just before it

        Cluster(int c, int font, byte[] sequence, boolean afterNonJoiner) {
            this.codePoint = c;
            this.font = font;
            this.joining = Characters.joining(c);
            this.base = columns(sequence, font);
            this.afterNonJoiner = afterNonJoiner;
        }
    }

    /** What one line's natural-width setting carries from letter to letter. */
    private static final class Setting {
        Cluster pending;
        boolean previousNatural; // the character printed just before pending is set too
        int previousJoining;
        boolean previousSeparator; // the character printed just before is ٫ or ٬
        boolean nonJoiner; // a zero-width non-joiner since the last letter
        boolean userSet; // the user-defined character set is selected
        int[] spill; // the end of the last letter's marks, printed over this letter's start
        // Dots the fixed cells would have taken so far and these letters did not: a gap may only
        // use what trimming saved, so a line is never wider than its cells.
        int saved;
        // Blank columns after the marks above the last letter sent, and their rows at its end.
        int markTrail = Integer.MAX_VALUE / 2;
        int markRows;
        // The same for each part kept apart (APART_ROWS): the last letter's dots over and under its
        // body, and its head.
        final int[] partTrail = {
            Integer.MAX_VALUE / 2, Integer.MAX_VALUE / 2, Integer.MAX_VALUE / 2};
        final int[] partRows = new int[3];
    }

    private final PrinterProfile profile;
    private final Characters characters;
    private final Notes notes;
    private boolean wideNoted;
    long drawnCharacters;
    long residentCharacters;

    LineComposer(PrinterProfile profile, Characters characters, Notes notes) {
        this.profile = profile;
        this.characters = characters;
        this.notes = notes;
    }

    /** A composer of the same printer and characters that only measures: its notes are its own. */
    LineComposer measurer() { return new LineComposer(profile, characters, new Notes()); }

    /**
     * Composes characters in printing order; {@code widthFactor} is the line's character width
     * (2 for double width), by which the printer moves its print position.
     */
    Run compose(int[] v, boolean frame, int widthFactor) {
        return compose(v, frame, widthFactor, 0);
    }

    /**
     * Composes characters in printing order as {@link #compose(int[], boolean, int)} does, where
     * the line may take {@code room} dots more than its cells: letters at their natural width
     * may use it as they use what trimming saves.
     */
    Run compose(int[] v, boolean frame, int widthFactor, int room) {
        Run run = new Run();
        byte[] placement = nativef.newPlacementRecord();
        int gridPitch = characters.gridPitch;
        int cells = 0;
        int previousLetter = -1;
        int cell = 0; // the width of the last cell, which a mark prints over
        Setting natural = characters.naturalWidth && !frame ? new Setting() : null;
        if (natural != null) natural.saved = Math.max(0, room);
        for (int i = 0; i < v.length; ++i) {
            int c = v[i];
            int kind = characters.classify(c);
            if (kind == Characters.INVISIBLE) {
                if (natural != null && c == Characters.ZWNJ) {
                    natural.nonJoiner = true;
                    natural.saved += Characters.ZWNJ_BREAK;
                }
                // On a frame line the filler of a lam-alef ligature keeps the column of the
                // letter it replaced.
                if (frame && c == VisualLine.LIGATURE_FILLER) ++cells;
                continue;
            }
            if (kind == Characters.DROPPED) {
                notes.add(Note.Kind.DROPPED, c);
                continue;
            }
            if (frame && Characters.isBox(c) && profile.hasAbsolutePosition()) {
                int target = cells * gridPitch;
                if (target > run.width) {
                    run.positions.add(run.bytes.size() + 2);
                    EscPosWriter.writePosition(run.bytes, target * widthFactor);
                    run.width = target;
                }
            }
            int before = run.width;
            if (kind == Characters.DRAWN) {
                int font = characters.fontOf(c);
                // An isolated alef leans toward the next letter of its word, which in
                // right-to-left text is the one printed before it.
                int justify = previousLetter >= 0 && Characters.isArabicLetter(c)
                        && Characters.isArabicLetter(v[previousLetter])
                    ? NativeDraw.JUSTIFY_LEFT
                    : NativeDraw.JUSTIFY_NONE;
                int vowel = natural != null ? tanwinVowel(c) : 0;
                boolean pairOfDammas = natural != null && c == DAMMATAN && font == NARROW_FONT;
                byte[] unmarked = vowel != 0 || pairOfDammas ? placement.clone() : null;
                byte[] sequence = NativeDraw.drawJustified(
                    c, characters.codePage, font, NativeDraw.FONT_HEIGHT, placement, justify);
                boolean overstrike = sequence.length == COLUMN_BYTES * font + 17;
                if (natural != null && sequence.length > 0) {
                    Cluster pending = natural.pending;
                    if (overstrike && pending != null && pending.font == font) {
                        int[] mark = vowel != 0
                            ? stackedTanwin(vowel, font, unmarked, justify, pending)
                            : null;
                        if (pairOfDammas && pending.dammaPair == null) {
                            pending.dammaPair = dammatanOfTwo(unmarked, justify);
                            pending.pairIndex = pending.marks.size();
                        }
                        pending.marks.add(mark != null ? mark : columns(sequence, font));
                        ++drawnCharacters;
                        continue;
                    }
                    if (!overstrike && Characters.isArabicBlock(c)) {
                        Cluster waiting = natural.pending;
                        Cluster arriving = new Cluster(c, font, sequence, natural.nonJoiner);
                        // What the next letter holds, for a mark of the letter before it that
                        // would reach over it (a letter's marks follow it).
                        int[] next = waiting != null && waiting.font == font
                                && !waiting.marks.isEmpty()
                                && (waiting.joining & Characters.JOINS_RIGHT) != 0
                                && (i + 1 == v.length || !Characters.isMark(v[i + 1]))
                            ? arriving.base
                            : null;
                        cell = set(run, natural, true, cell, c, next);
                        natural.pending = arriving;
                        natural.pending.afterBlank = previousLetter < 0 || v[previousLetter] == ' ';
                        if (font == NARROW_FONT && hasWideBowl(c)) {
                            byte[] wide =
                                NativeDraw.drawJustified(c, characters.codePage, BOWL_FONT,
                                    NativeDraw.FONT_HEIGHT, nativef.newPlacementRecord(), justify);
                            if (wide.length > SEQUENCE_HEADER + COLUMN_BYTES * BOWL_FONT) {
                                natural.pending.wideBowl = columns(wide, BOWL_FONT);
                            }
                        }
                        natural.nonJoiner = false;
                        natural.saved += font;
                        ++drawnCharacters;
                        previousLetter = i;
                        continue;
                    }
                }
                if (natural != null) cell = set(run, natural, false, cell);
                if (sequence.length > 0) {
                    if (characters.doubleByte) run.needKanji(KANJI_OFF, profile);
                    run.bytes.write(sequence);
                    ++drawnCharacters;
                    noteWidth(font, c);
                    cell = advance(run, cell, font, overstrike);
                } else {
                    kind = Characters.REPLACED;
                }
            }
            if (natural != null && kind != Characters.DRAWN) cell = set(run, natural, false, cell);
            if (kind == Characters.RESIDENT || kind == Characters.RESIDENT_MARK) {
                byte[] bytes = characters.residentBytes(c);
                if (characters.doubleByte && bytes.length == 2 && bytes[0] < 0) {
                    run.needKanji(KANJI_ON, profile);
                }
                if (kind == Characters.RESIDENT_MARK) run.bytes.write((byte) EscPos.BS);
                cell = advance(run, cell, Characters.RESIDENT_CELL * bytes.length,
                    kind == Characters.RESIDENT_MARK);
                run.bytes.write(bytes);
                ++residentCharacters;
                resetPlacement(placement);
            } else if (kind == Characters.REPLACED) {
                notes.add(Note.Kind.REPLACED, c);
                run.bytes.write((byte) ReceiptInput.QUESTION_MARK);
                cell = advance(run, cell, Characters.RESIDENT_CELL, false);
                ++residentCharacters;
                resetPlacement(placement);
            }
            if (run.width > before) {
                cells += (run.width - before + gridPitch - 1) / gridPitch;
            }
            if (!Characters.isMark(c)) previousLetter = i;
        }
        if (natural != null) set(run, natural, false, cell);
        return run;
    }

    /**
     * The dammatan over a letter of the narrowest font, drawn as the next width draws it: two
     * dammas side by side. In ten columns the font has room for one damma whose tail turns back,
     * which readers did not know. Null where the wider drawing is not to be had.
     */
    private int[] dammatanOfTwo(byte[] placement, int justify) {
        byte[] sequence = NativeDraw.drawJustified(
            DAMMATAN, characters.codePage, BOWL_FONT, NativeDraw.FONT_HEIGHT, placement, justify);
        if (sequence.length != COLUMN_BYTES * BOWL_FONT + 17) return null;
        int[] pair = columns(sequence, BOWL_FONT);
        return inkLeft(pair) < 0 ? null : pair;
    }

    /**
     * The letter of {@code k} widened to the next width's cell, with its dammatan of two dammas
     * (see {@link #dammatanOfTwo}), or null; taken where the line has saved the room.
     */
    private static Stacked withDammaPair(Cluster k) {
        int[] pair = k.dammaPair;
        if (pair == null || pair.length < k.base.length) return null;
        int before = (pair.length - k.base.length) / 2;
        return withMark(k, paddedBlank(k.base, before, pair.length - k.base.length - before),
            before, k.pairIndex, pair);
    }

    /**
     * The letter of {@code k} as {@code base}, which holds its drawing {@code before} columns in,
     * with {@code mark} in place of its mark at {@code index} and its other marks moved with it;
     * null where it has no such mark.
     */
    private static Stacked withMark(Cluster k, int[] base, int before, int index, int[] mark) {
        if (index >= k.marks.size()) return null;
        int after = base.length - k.base.length - before;
        List<int[]> marks = new ArrayList<>(k.marks.size());
        for (int i = 0; i < k.marks.size(); ++i) {
            marks.add(i == index ? mark : paddedBlank(k.marks.get(i), before, after));
        }
        return new Stacked(base, marks);
    }

    /** The vowel doubled in a fathatan or kasratan; 0 for any other character. */
    private static int tanwinVowel(int c) {
        return c == FATHATAN ? FATHA : c == KASRATAN ? KASRA : 0;
    }

    /**
     * A fathatan or kasratan as type sets it, its vowel twice, one over the other and two blank
     * rows apart, where the letter leaves that room; otherwise null, and the font's drawing of
     * the two strokes side by side is printed. Side by side they read as two vowels of two
     * letters.
     */
    private int[] stackedTanwin(int vowel, int font, byte[] placement, int justify, Cluster k) {
        byte[] sequence = NativeDraw.drawJustified(
            vowel, characters.codePage, font, NativeDraw.FONT_HEIGHT, placement, justify);
        if (sequence.length != COLUMN_BYTES * font + 17) return null;
        int[] v = columns(sequence, font);
        int top = topRow(v), bottom = bottomRow(v);
        if (top > bottom) return null;
        int[] stacked = stackedTanwin(vowel, v, k.base, k.joining);
        if (stacked == null && vowel == KASRA) kasratanUnderStroke(v, k);
        return stacked;
    }

    /** The vowel {@code v} as fitted under or over the letter {@code base}, twice; or null. */
    private static int[] stackedTanwin(int vowel, int[] v, int[] base, int joining) {
        int top = topRow(v), bottom = bottomRow(v);
        // The copy goes on the far side of the vowel the fit placed, which leaves two blank
        // rows next to the letter, the upper vowel up to two columns left of the lower one, as
        // far as the letter's body leaves room. Stacked square, the machine reader took them for
        // a letter's stroke more often at 18; with the upper one to the right, or wider than the
        // body, they stood over the head of the letter before (the kaf of شكرًا) and read as a
        // shadda over it.
        int step = bottom - top + 1 + MARKS_APART;
        if (vowel == FATHA ? top < step : bottom + step > 23) return null;
        int[] body = body(base, joining);
        int room = body[1] - body[0] - (inkRight(v) - inkLeft(v));
        int stagger = Math.max(0, Math.min(TANWIN_STAGGER, room)) * (vowel == FATHA ? -1 : 1);
        int[] copy = shifted(movedDown(v, vowel == FATHA ? -step : step), stagger);
        if (inkLeft(copy) - inkLeft(v) != stagger || inkRight(copy) - inkRight(v) != stagger) {
            return null; // the cell's edge would cut it
        }
        // Two blank rows and a blank column round the copy keep it off the letter.
        int[] around = paddedBlank(copy, 1, 1);
        for (int i = 0, n = Math.min(v.length, base.length); i < n; ++i) {
            int near = around[i] | around[i + 1] | around[i + 2];
            near |= near << 1 | near << 2 | near >>> 1 | near >>> 2;
            if ((base[i] & near) != 0) return null;
        }
        int[] stacked = new int[v.length];
        for (int i = 0; i < v.length; ++i) stacked[i] = v[i] | copy[i];
        return stacked;
    }

    /**
     * A kasratan under a letter whose tail leaves no room for it under the letter (the reh of
     * تَمْرٍ) stands, stacked, under the letter's joining stroke, which is drawn on as far as it
     * needs, as type lengthens it. Kept in {@code k} to be taken where the line has saved the
     * room; nothing where the letter joins nothing before it or the pair does not fit.
     */
    private static void kasratanUnderStroke(int[] v, Cluster k) {
        int[] base = k.base;
        int w = base.length;
        int stroke = base[w - 1];
        if ((k.joining & Characters.JOINS_RIGHT) == 0 || stroke == 0
            || Integer.bitCount(stroke) > MAX_STROKE_ROWS) {
            return;
        }
        int top = topRow(v), height = bottomRow(v) - top + 1;
        int upper = bottomRow(new int[] {stroke}) + 1 + MARKS_APART;
        int lower = upper + height + MARKS_APART;
        if (lower + height > 24) return;
        int[] a = movedDown(v, upper - top), b = shifted(movedDown(v, lower - top), TANWIN_STAGGER);
        if (inkRight(b) - inkRight(a) != TANWIN_STAGGER) return; // the cell's edge cut it
        int wide = inkRight(b) - inkLeft(a) + 1;
        for (int extra = 0; extra <= wide; ++extra) {
            int[] drawn = Arrays.copyOf(base, w + extra);
            Arrays.fill(drawn, w, w + extra, stroke);
            int shift = w + extra - 1 - inkRight(b);
            if (inkLeft(a) + shift < 0) continue;
            int[] pair = new int[w + extra];
            for (int c = 0; c < w; ++c) {
                int to = c + shift;
                if (to >= 0 && to < pair.length) pair[to] = a[c] | b[c];
            }
            // Two blank rows and a blank column round the pair keep it off the letter's tail.
            int[] around = paddedBlank(pair, 1, 1);
            boolean clear = true;
            for (int i = 0; i < drawn.length && clear; ++i) {
                int near = around[i] | around[i + 1] | around[i + 2];
                near |= near << 1 | near << 2 | near >>> 1 | near >>> 2;
                clear = (drawn[i] & near) == 0;
            }
            if (clear) {
                k.tanwinPair = pair;
                k.tanwinExtra = extra;
                k.tanwinIndex = k.marks.size();
                return;
            }
        }
    }

    /** The letter of {@code k} with its kasratan under its joining stroke, or null. */
    private static Stacked underStroke(Cluster k) {
        if (k.tanwinPair == null) return null;
        int[] base = Arrays.copyOf(k.base, k.base.length + k.tanwinExtra);
        Arrays.fill(base, k.base.length, base.length, k.base[k.base.length - 1]);
        return withMark(k, base, 0, k.tanwinIndex, k.tanwinPair);
    }

    private void noteWidth(int dots, int c) {
        if (dots > profile.fontAWidth() && profile.dpi() > 0 && !wideNoted) {
            // Many printers take user-defined characters only as wide as Font A.
            notes.add(Note.Kind.WIDE_CHARACTER, c);
            wideNoted = true;
        }
    }

    /**
     * Sets the letter waiting in {@code s}, now that its right neighbour is known to be another
     * letter at natural width ({@code nextNatural}) or not; without one, the user-defined set is
     * left again. Returns the width of the cell now last.
     */
    private int set(Run run, Setting s, boolean nextNatural, int cell) {
        return set(run, s, nextNatural, cell, 0, null);
    }

    /**
     * Sets the letter waiting in {@code s} as {@link #set(Run, Setting, boolean, int)} does, where
     * the next letter is {@code next} and, if it carries no marks, is drawn as {@code nextBase}.
     */
    private int set(Run run, Setting s, boolean nextNatural, int cell, int next, int[] nextBase) {
        Cluster k = s.pending;
        if (k != null) {
            s.pending = null;
            cell = setCluster(run, s, k, nextNatural, next, nextBase);
            s.previousNatural = nextNatural;
            s.previousJoining = k.joining;
            s.previousSeparator = isNumberSeparator(k.codePoint);
        } else if (!nextNatural) {
            s.previousNatural = false;
        }
        if (!nextNatural && s.userSet) {
            run.bytes.write(USER_SET_OFF);
            s.userSet = false;
        }
        return cell;
    }

    private int setCluster(
        Run run, Setting s, Cluster k, boolean nextNatural, int next, int[] nextBase) {
        int w = k.font;
        int[] base = k.base;
        List<int[]> marks = k.marks;
        int[] room = overhang(base, marks, k.joining);
        if (room[0] + room[1] > 0) {
            // A mark wider than its letter is centred over it even where the letter stands at the
            // edge of its cell: it reaches over the blank beside the letter, on a side where the
            // letter joins nothing, instead of widening the letter and its joining stroke.
            base = paddedBlank(base, room[0], room[1]);
            List<int[]> moved = new ArrayList<>(marks.size());
            for (int[] m : marks) moved.add(paddedBlank(m, room[0], room[1]));
            marks = moved;
            w = base.length;
        }
        if (isHamzaOverAlef(k.codePoint)) base = headLowered(base, marks);
        Stacked beside = besideStem(base, marks, k.joining);
        if (beside == null) beside = underStroke(k);
        if (beside == null) beside = withDammaPair(k);
        int[] window = window(base, marks, k.joining, false);
        int leadingGap = -1;
        if (k.wideBowl != null && marks.isEmpty()) {
            // Taken where the line has saved the room, gaps and all, and the character stays
            // as narrow as printers that take user-defined characters only as wide as Font A
            // need.
            int[] wider = window(k.wideBowl, marks, k.joining, false);
            int trailing = nextNatural ? 0 : Math.min(k.wideBowl.length - 1 - wider[1], EDGE);
            int core = wider[1] - wider[0] + 1;
            // A space or the paper's margin before it is blank enough.
            int lead = !s.previousNatural && k.afterBlank ? 0 : wantedGap(s, k, wider[0]);
            int x = lead + core + trailing;
            if (s.saved - x >= 0 && x <= Math.min(profile.fontAWidth(), MAX_COLUMNS)) {
                w = k.wideBowl.length;
                base = k.wideBowl;
                window = wider;
                leadingGap = lead;
            }
        }
        if (beside != null) {
            // Taken only where the line has saved the room the longer stroke needs, so that no
            // line grows past its cells.
            int[] wider = window(beside.base, beside.marks, k.joining, true);
            int trailing = nextNatural ? 0 : Math.min(beside.base.length - 1 - wider[1], EDGE);
            int core = wider[1] - wider[0] + 1;
            if (s.saved - core - trailing >= 0 && core + trailing <= MAX_COLUMNS) {
                w = beside.base.length;
                base = beside.base;
                marks = beside.marks;
                window = wider;
            }
        }
        int from = window[0], to = window[1];
        int[] dots = dotsOf(base);
        int trailing = nextNatural ? 0 : Math.min(w - 1 - to, EDGE);
        int gap = leadingGap >= 0 ? leadingGap : wantedGap(s, k, from);
        if (s.previousNatural) {
            // Columns taken to keep marks apart come out of what the line saved, like any gap,
            // and a character stays within what ESC & defines.
            int leftmost = to + 1 + trailing - Math.min(s.saved, MAX_COLUMNS);
            int wider =
                Math.min(apart(s, marks, from, gap), partsApart(s, dots, base, from, to, gap));
            from = Math.min(from, Math.max(wider, leftmost));
            if (from < 0) {
                // Wider than the drawing: its joining stroke goes on at its left, or its blank.
                int pad = -from;
                int fill = joined(s, k) ? base[0] & BODY_ROWS : 0;
                base = padded(base, pad, fill);
                dots = paddedBlank(dots, pad, 0);
                List<int[]> moved = new ArrayList<>(marks.size());
                for (int[] m : marks) moved.add(paddedBlank(m, pad, 0));
                marks = moved;
                w += pad;
                to += pad;
                from = 0;
            }
        }
        int[] over = s.spill;
        s.spill = null;
        if (over != null) {
            // The end of the last letter's mark, printed over this letter's start.
            int[] m = new int[w];
            int n = Math.min(over.length, w - from);
            System.arraycopy(over, 0, m, from, n);
            to = Math.max(to, from + n - 1);
            marks = new ArrayList<>(marks);
            marks.add(m);
        }
        int cut = nextBase != null && nextNatural && !s.nonJoiner && !marks.isEmpty()
            ? markEnd(base, marks, k.joining, to, next)
            : to + 1;
        if (cut <= to && clearOver(nextBase, next, marks, cut, to)) {
            int[] end = new int[to - cut + 1];
            List<int[]> kept = new ArrayList<>(marks.size());
            for (int[] m : marks) {
                int[] part = Arrays.copyOfRange(m, cut, to + 1);
                for (int c = 0; c < end.length; ++c) end[c] |= part[c];
                int[] left = Arrays.copyOf(m, w);
                Arrays.fill(left, cut, w, 0);
                kept.add(left);
            }
            s.spill = end;
            marks = kept;
            to = cut - 1;
        } else if (cut <= to && !s.previousNatural && (k.joining & Characters.JOINS_LEFT) == 0) {
            // The next letter is tall where the mark would reach (خطأً, حظاً): the mark moves
            // over the blank before the word instead, so the joining stroke keeps its length.
            int d = to - cut + 1;
            int pad = Math.max(0, d - from);
            base = paddedBlank(base, pad, 0);
            dots = paddedBlank(dots, pad, 0);
            List<int[]> moved = new ArrayList<>(marks.size());
            for (int[] m : marks) moved.add(shifted(paddedBlank(m, pad, 0), -d));
            marks = moved;
            w += pad;
            from += pad - d;
            to = cut + pad - 1;
            gap = wantedGap(s, k, from);
        }
        int core = to - from + 1;
        s.saved -= core + trailing;
        gap = Math.max(0, Math.min(Math.min(gap, s.saved), MAX_COLUMNS - core - trailing));
        s.saved -= gap;
        int x = gap + core + trailing;
        if (characters.doubleByte) run.needKanji(KANJI_OFF, profile);
        define(run.bytes, base, from, core, gap, x);
        if (!s.userSet) {
            run.bytes.write(USER_SET_ON);
            s.userSet = true;
        }
        run.bytes.write((byte) USER_CODE);
        for (int[] m : marks) {
            if (inkLeft(m) < 0) continue;
            define(run.bytes, m, from, core, gap, x);
            run.bytes.write((byte) EscPos.BS);
            run.bytes.write((byte) USER_CODE);
        }
        noteWidth(x, k.codePoint);
        run.width += x;
        lastMarks(s, marks, from, gap, x);
        lastParts(s, dots, base, from, to, gap, x);
        return x;
    }

    /**
     * The first column of a letter's marks that reaches over the stroke joining the next letter,
     * or {@code to + 1} for none. A mark wider than its letter (a tanwin over a final alef) is
     * centred over it; sent whole, it would lengthen that stroke. Type lets the mark reach over
     * the next letter, so its end is printed over that letter's start (see {@link #clearOver}).
     */
    private static int markEnd(int[] base, List<int[]> marks, int joining, int to, int next) {
        int none = to + 1;
        if ((Characters.joining(next) & Characters.JOINS_LEFT) == 0) return none;
        int cut = body(base, joining)[1] + 1;
        if (cut > to) return none;
        for (int c = cut; c <= to; ++c) {
            if ((base[c] & ~BODY_ROWS) != 0) return none;
            // A mark that stands beside the body or under it keeps to its letter.
            for (int[] m : marks) {
                if ((m[c] & ~ABOVE_BODY) != 0) return none;
            }
        }
        return cut;
    }

    /** Whether the next letter leaves two blank rows round the marks' columns from {@code cut}. */
    private static boolean clearOver(int[] nextBase, int next, List<int[]> marks, int cut, int to) {
        int rows = 0;
        for (int[] m : marks) rows |= columnsOr(m, cut, to + 1);
        int start = body(nextBase, Characters.joining(next))[0];
        int room = rows | rows << 1 | rows << 2 | rows >>> 1 | rows >>> 2;
        for (int c = Math.max(0, start - 1); c <= start + to - cut + 1 && c < nextBase.length;
             ++c) {
            if ((nextBase[c] & room) != 0) return false;
        }
        return true;
    }

    /** The blank dots wanted before a letter whose ink starts at column {@code from}. */
    private static int wantedGap(Setting s, Cluster k, int from) {
        if (!s.previousNatural) return Math.min(from, EDGE);
        if (joined(s, k)) return 0;
        if (k.afterNonJoiner) return Characters.ZWNJ_BREAK;
        // A separator inside a number is smaller than a digit: at the digits' gap it reads as a
        // tooth of the digit beside it (۱٬۲ as one digit), so it keeps a dot more.
        return s.previousSeparator || isNumberSeparator(k.codePoint) ? GAP + 1 : GAP;
    }

    /** The Arabic decimal and thousands separators. */
    private static boolean isNumberSeparator(int c) { return c == 0x066B || c == 0x066C; }

    /** Whether the letter joins the one set before it, at its left. */
    private static boolean joined(Setting s, Cluster k) {
        return !k.afterNonJoiner && (s.previousJoining & Characters.JOINS_RIGHT) != 0
            && (k.joining & Characters.JOINS_LEFT) != 0;
    }

    /** {@code columns} with {@code pad} columns of {@code fill} before them. */
    private static int[] padded(int[] columns, int pad, int fill) {
        int[] wider = new int[pad + columns.length];
        Arrays.fill(wider, 0, pad, fill);
        System.arraycopy(columns, 0, wider, pad, columns.length);
        return wider;
    }

    /** {@code columns} between {@code before} and {@code after} blank columns. */
    private static int[] paddedBlank(int[] columns, int before, int after) {
        int[] wider = new int[before + columns.length + after];
        System.arraycopy(columns, 0, wider, before, columns.length);
        return wider;
    }

    /**
     * Seen, sheen, sad and dad at the end of a word: in the narrowest cell their bowl has three
     * columns and reads as one more tooth (ر.س read ر.ﺷ), so they take the next width's drawing
     * where the line has the room.
     */
    private static boolean hasWideBowl(int c) {
        switch (c) {
            case 0x0633: // seen, sheen, sad, dad
            case 0x0634:
            case 0x0635:
            case 0x0636:
            case 0xFEB1: // their isolated and final forms
            case 0xFEB2:
            case 0xFEB5:
            case 0xFEB6:
            case 0xFEB9:
            case 0xFEBA:
            case 0xFEBD:
            case 0xFEBE:
                return true;
            default:
                return false;
        }
    }

    /**
     * Marks above two neighbouring letters that stand at one height and touch run into one stroke
     * (the fatha of lam and the damma of kaf in {@code لَكُمْ} read as a madda): where a mark would
     * touch the previous letter's, the letter is sent with as many more columns of its stroke (or
     * blank) at its left as keep {@value #MARKS_BESIDE} blank columns between them (a thermal head
     * prints two marks one blank dot apart as one strip: شُكْرًا at 10 dots). Returns the window's
     * new left end.
     */
    private static int apart(Setting s, List<int[]> marks, int from, int gap) {
        int wider = from;
        for (int[] m : marks) {
            int ml = inkLeft(m);
            if (ml < 0 || topRow(m) >= MIDDLE_ROW) continue;
            int need = MARKS_BESIDE - s.markTrail - (gap + ml - from);
            if (need > 0 && (widened(m[ml]) & s.markRows) != 0) {
                wider = Math.min(wider, from - need);
            }
        }
        return wider;
    }

    /**
     * The dots of two neighbouring letters run into one row at natural width (پیش printed the
     * three of peh and the two of yeh as five in a row, نتن four dots over a line): where this
     * letter's dots over or under its body would come closer to the previous letter's than
     * {@value #DOTS_APART} blank columns, or its head (of {@code glyph}) to the previous head
     * than {@value #HEADS_APART}, the letter is sent with as many more columns of its stroke (or
     * blank) at its left. Returns the window's new left end.
     */
    private static int partsApart(Setting s, int[] dots, int[] glyph, int from, int to, int gap) {
        int wider = from;
        for (int side = 0; side < APART.length; ++side) {
            int[] part = side < 2 ? dots : glyph;
            for (int c = from; c <= to; ++c) {
                int d = part[c] & APART_ROWS[side];
                if (d == 0) continue;
                int need = APART[side] - s.partTrail[side] - (gap + c - from);
                if (need > 0 && (widened(d) & s.partRows[side]) != 0) {
                    wider = Math.min(wider, from - need);
                }
                break;
            }
        }
        return wider;
    }

    /** Remembers how close to its right end the dots and head of the letter just sent stand. */
    private static void lastParts(
        Setting s, int[] dots, int[] glyph, int from, int to, int gap, int x) {
        for (int side = 0; side < APART.length; ++side) {
            int[] part = side < 2 ? dots : glyph;
            s.partTrail[side] = Integer.MAX_VALUE / 2;
            s.partRows[side] = 0;
            for (int c = to; c >= from; --c) {
                int d = part[c] & APART_ROWS[side];
                if (d == 0) continue;
                s.partTrail[side] = x - 1 - (gap + c - from);
                s.partRows[side] = widened(d);
                break;
            }
        }
    }

    /** {@link #dots} of a glyph, found once: a receipt sets the same letters again and again. */
    private static int[] dotsOf(int[] glyph) {
        boolean plain = true; // every column one run of ink down to the body's rows, or blank
        for (int c = 0; c < glyph.length && plain; ++c) {
            int x = glyph[c];
            plain = x == 0 || ((x & BODY_ROWS) != 0 && ((x + (x & -x)) & x) == 0);
        }
        if (plain) return new int[glyph.length];
        int h = Arrays.hashCode(glyph);
        int slot = (h ^ h >>> 16) & (DOTS_CACHE - 1);
        int[][] found = DOTS_FOUND.get(slot); // {glyph, its dots}
        if (found == null || !Arrays.equals(found[0], glyph)) {
            found = new int[][] {glyph.clone(), dots(glyph)};
            DOTS_FOUND.set(slot, found);
        }
        return found[1];
    }

    /**
     * A letter's ink apart from its body: the body is the ink joined, edge or corner, to what
     * the letter has on rows 13 to 15; the rest is its dots (and a hamza of its own).
     */
    private static int[] dots(int[] glyph) {
        int n = glyph.length;
        int[] body = new int[n];
        for (int c = 0; c < n; ++c) body[c] = within(glyph[c] & BODY_ROWS, glyph[c]);
        // Sweeps right and left carry the body across columns; a column grows along its ink in
        // one step, so that a stem takes one sweep, not one per row.
        for (boolean grew = true; grew;) {
            grew = false;
            for (int i = 0; i < 2 * n; ++i) {
                int c = i < n ? i : 2 * n - 1 - i;
                int reach = (c > 0 ? body[c - 1] : 0) | (c + 1 < n ? body[c + 1] : 0);
                int more = widened(reach) & glyph[c] & ~body[c];
                if (more != 0) {
                    body[c] = within(body[c] | more, glyph[c]);
                    grew = true;
                }
            }
        }
        int[] dots = new int[n];
        for (int c = 0; c < n; ++c) dots[c] = glyph[c] & ~body[c];
        return dots;
    }

    /** The rows of {@code ink} joined, along the column, to {@code seed}. */
    private static int within(int seed, int ink) {
        for (int grown = widened(seed) & ink; grown != seed; grown = widened(seed) & ink) {
            seed = grown;
        }
        return seed;
    }

    /** Remembers how close to its right end the marks above the letter just sent stand. */
    private static void lastMarks(Setting s, List<int[]> marks, int from, int gap, int x) {
        s.markTrail = Integer.MAX_VALUE / 2;
        s.markRows = 0;
        for (int[] m : marks) {
            int mr = inkRight(m);
            if (mr < 0 || topRow(m) >= MIDDLE_ROW) continue;
            int trail = x - 1 - (gap + mr - from);
            if (trail < s.markTrail) {
                s.markTrail = trail;
                s.markRows = 0;
            }
            if (trail == s.markTrail) s.markRows |= widened(m[mr]);
        }
    }

    /** A column's inked rows and the rows next to them. */
    private static int widened(int column) {
        return (column | column << 1 | column >>> 1) & ROWS_MASK;
    }

    /**
     * The columns {from, to} a letter and its marks are sent with: the letter's ink with its
     * connecting strokes cut, widened to hold every mark. A mark wider than what is left of the
     * letter is centred over it, and one beside it is moved over it; marks stacked {@code beside}
     * the letter's stem stay where they are. The marks moved are replaced in {@code marks}.
     */
    private static int[] window(int[] base, List<int[]> marks, int joining, boolean beside) {
        int w = base.length;
        int[] body = body(base, joining);
        int left = body[0], right = body[1];
        int from = left, to = right;
        for (int i = 0; i < marks.size(); ++i) {
            int[] m = marks.get(i);
            int ml = inkLeft(m);
            if (ml < 0) continue;
            int mr = inkRight(m);
            int shift;
            if (beside) {
                shift = 0;
            } else if (mr - ml > right - left) {
                shift = (left + right - ml - mr) / 2;
            } else if (ml < left) {
                shift = left - ml;
            } else if (mr > right) {
                shift = right - mr;
            } else {
                shift = 0;
            }
            shift = Math.max(-ml, Math.min(w - 1 - mr, shift));
            if (shift != 0) marks.set(i, shifted(m, shift));
            from = Math.min(from, ml + shift);
            to = Math.max(to, mr + shift);
        }
        return new int[] {from, to};
    }

    /** The columns {left, right} of a letter's ink with its connecting strokes cut. */
    private static int[] body(int[] base, int joining) {
        int left = inkLeft(base), right = inkRight(base);
        if (left < 0) return new int[] {0, base.length - 1}; // a blank glyph keeps its cell
        if ((joining & Characters.KASHIDA) == 0) {
            if ((joining & Characters.JOINS_RIGHT) != 0) right = strokeEnd(base, left, right, -1);
            if ((joining & Characters.JOINS_LEFT) != 0) left = strokeEnd(base, left, right, 1);
        }
        return new int[] {left, right};
    }

    /**
     * The blank columns {before, after} a letter's drawing needs so that a mark wider than the
     * letter can be centred over it (a tanwin over a final alef, whose stem stands at the left of
     * its cell). Only the sides where the letter joins nothing get them: on a joining side the
     * room would lengthen the stroke.
     */
    private static int[] overhang(int[] base, List<int[]> marks, int joining) {
        int[] room = {0, 0};
        if (marks.isEmpty() || inkLeft(base) < 0 || (joining & Characters.KASHIDA) != 0) {
            return room;
        }
        int[] body = body(base, joining);
        for (int[] m : marks) {
            int ml = inkLeft(m), mr = inkRight(m);
            if (ml < 0 || mr - ml <= body[1] - body[0]) continue;
            int at = ml + (body[0] + body[1] - ml - mr) / 2;
            if ((joining & Characters.JOINS_LEFT) == 0) room[0] = Math.max(room[0], -at);
            if ((joining & Characters.JOINS_RIGHT) == 0) {
                room[1] = Math.max(room[1], at + mr - ml - (base.length - 1));
            }
        }
        return room;
    }

    /** Alef with hamza above, in any of its forms. */
    private static boolean isHamzaOverAlef(int c) {
        return c == 0x0623 || c == 0xFE83 || c == 0xFE84;
    }

    /**
     * A vowel over alef with hamza finds no room under the line's top: beside the alef it read
     * as a stray dash, or as a word space between the alef and the letter before it (وَأَقْلَامٌ).
     * Type sets the vowel over the hamza, so here the hamza comes down onto the top of the alef's
     * stem, one blank row under a mark of up to {@value #LOWERED_MARK_ROWS} rows, and the stem
     * keeps at least the height of a short letter's body. The letter as it was where a mark is
     * taller, or where there are marks above but none that needs the room.
     */
    private static int[] headLowered(int[] base, List<int[]> marks) {
        int[] above = null;
        for (int[] m : marks) {
            if (inkLeft(m) < 0 || topRow(m) >= MIDDLE_ROW) continue;
            if (above != null) return base;
            above = m;
        }
        if (above == null || !touches(above, base)) return base;
        int rows = columnsOr(base, 0, base.length);
        int headTop = topRow(rows);
        int blank = headTop;
        while (blank < BODY_TOP_ROW && (rows & rowBit(blank)) != 0) ++blank;
        int stemTop = blank;
        while (stemTop < BODY_TOP_ROW && (rows & rowBit(stemTop)) == 0) ++stemTop;
        int markBottom = bottomRow(above);
        int down = markBottom + 2 - headTop;
        if (topRow(above) != 0 || markBottom >= LOWERED_MARK_ROWS || blank == stemTop
            || stemTop + down > BODY_TOP_ROW) {
            return base;
        }
        int head = ((1 << (blank - headTop)) - 1) << (23 - (blank - 1));
        int stem = (1 << (23 - (stemTop + down) + 1)) - 1;
        int[] lowered = new int[base.length];
        for (int c = 0; c < base.length; ++c) {
            lowered[c] = (base[c] & head) >>> down | base[c] & stem;
        }
        return touches(above, lowered) ? base : lowered;
    }

    /** The bit of row {@code row} (0 at the top) in a column. */
    private static int rowBit(int row) { return 1 << (23 - row); }

    /** A letter and its marks as they are sent when the marks stand beside its stem. */
    private static final class Stacked {
        final int[] base;
        final List<int[]> marks;

        Stacked(int[] base, List<int[]> marks) {
            this.base = base;
            this.marks = marks;
        }
    }

    /**
     * Over a tall letter (alef, lam, kaf) two marks above, a shadda and its vowel, find no room
     * under the line's top and print over each other and the letter as one black bar. Type sets
     * them beside the letter's stem, over a longer stroke to the next letter (as in the word for
     * God): here they are stacked, one blank row apart, at the height they take over a short
     * letter, two blank columns or more (a sixth of the cell) after the stem, and the stroke is
     * drawn on under them. Null where the marks already stand apart, or where a mark would leave
     * the line's top.
     */
    private static Stacked besideStem(int[] base, List<int[]> marks, int joining) {
        List<int[]> above = new ArrayList<>(2);
        for (int[] m : marks) {
            if (inkLeft(m) >= 0 && topRow(m) < MIDDLE_ROW) above.add(m);
        }
        if (above.isEmpty() || inkLeft(base) < 0) return null;
        // One mark alone moves only where it would merge with the letter's head, and only
        // beside a letter that joins nothing there: the hamza over alef reaches the line's top,
        // and a fatha over it printed as one blob with the hamza. It keeps its height.
        boolean single = above.size() == 1;
        if (single && (joining & Characters.JOINS_LEFT) != 0) return null;
        boolean collide = false;
        for (int i = 0; i < above.size(); ++i) {
            collide |= single ? touches(above.get(i), base) : overlap(above.get(i), base);
            for (int j = i + 1; j < above.size(); ++j) {
                collide |= overlap(above.get(i), above.get(j));
            }
        }
        if (!collide) return null;
        // The marks one over the other, the first (the shadda) lowest.
        List<int[]> stacked = new ArrayList<>(above.size());
        int bottom = BODY_TOP_ROW - 2;
        int width = 0;
        for (int[] m : above) {
            int down = single ? 0 : bottom - bottomRow(m);
            int top = topRow(m) + down;
            if (top < 0) return null;
            stacked.add(movedDown(m, down));
            bottom = top - 2;
            width = Math.max(width, inkRight(m) - inkLeft(m) + 1);
        }
        // The stem: the letter's columns that reach the marks' rows or the blank row under them.
        int lowest = BODY_TOP_ROW - 1;
        int stem = -1;
        for (int c = 0; c < base.length && stem < 0; ++c) {
            if (base[c] != 0 && topRow(base[c]) <= lowest) stem = c;
        }
        if (stem < 0) return null;
        // Far enough from the stem that the shadda does not read as the arm of a kaf, nor its
        // prongs as teeth beside the stem (عَلَّمَ at 10 dots, one blank dot away).
        int stackLeft =
            stem - (single ? HEADS_APART : Math.max(HEADS_APART, base.length / 6)) - width;
        int after = 0;
        if (single && (joining & Characters.JOINS_RIGHT) == 0) {
            // A letter that joins nothing before it takes its mark on that side, at its top
            // right as readers look for it: on the other it stands over the gap to the next
            // letter and reads as that letter's (أَنَا, وَأَقْلَامٌ).
            int stemEnd = stem;
            while (stemEnd + 1 < base.length && base[stemEnd + 1] != 0
                && topRow(base[stemEnd + 1]) <= lowest) {
                ++stemEnd;
            }
            stackLeft = stemEnd + 1 + HEADS_APART;
            after = Math.max(0, stackLeft + width - base.length);
        }
        int pad = Math.max(0, -stackLeft);
        // The letter, its joining stroke drawn on under the marks on the left.
        int[] stroke = paddedBlank(base, pad, after);
        if ((joining & Characters.JOINS_LEFT) != 0)
            Arrays.fill(stroke, 0, pad, base[inkLeft(base)]);
        List<int[]> moved = new ArrayList<>(marks.size());
        int at = 0;
        for (int[] m : marks) {
            int[] placed = m;
            if (inkLeft(m) >= 0 && topRow(m) < MIDDLE_ROW) {
                placed = stacked.get(at++);
                // Centred on the widest mark, which starts at stackLeft.
                placed = shifted(paddedBlank(placed, pad, after),
                    Math.floorDiv(
                        2 * stackLeft + width - 1 - inkLeft(placed) - inkRight(placed), 2));
            } else {
                placed = paddedBlank(placed, pad, after);
            }
            moved.add(placed);
        }
        return new Stacked(stroke, moved);
    }

    /** Whether {@code a} has ink on or next to ink of {@code b}, sideways or up and down. */
    private static boolean touches(int[] a, int[] b) {
        // b between two blank columns, so that every column has both neighbours.
        int[] around = paddedBlank(b, 1, 1);
        for (int c = 0, n = Math.min(a.length, b.length); c < n; ++c) {
            int near = widened(around[c]) | widened(around[c + 1]) | widened(around[c + 2]);
            if ((a[c] & near) != 0) return true;
        }
        return false;
    }

    private static boolean overlap(int[] a, int[] b) {
        for (int c = 0; c < a.length && c < b.length; ++c) {
            if ((a[c] & b[c]) != 0) return true;
        }
        return false;
    }

    private static int[] movedDown(int[] columns, int rows) {
        int[] out = new int[columns.length];
        for (int c = 0; c < columns.length; ++c) {
            out[c] = (rows >= 0 ? columns[c] >>> rows : columns[c] << -rows) & ROWS_MASK;
        }
        return out;
    }

    /** The highest inked row (0 at the top) of a column, or of the columns of a glyph. */
    private static int topRow(int column) { return Integer.numberOfLeadingZeros(column) - 8; }

    private static int topRow(int[] columns) {
        int rows = 0;
        for (int v : columns) rows |= v;
        return topRow(rows);
    }

    private static int bottomRow(int[] columns) {
        int rows = 0;
        for (int v : columns) rows |= v;
        return 23 - Integer.numberOfTrailingZeros(rows);
    }

    /**
     * The end of a letter's ink at a joining side ({@code step} 1 for the left, -1 for the
     * right) once its connecting stroke is cut to one column: the columns alike to the edge
     * column are the stroke, and at least two columns of the letter remain.
     */
    private static int strokeEnd(int[] columns, int left, int right, int step) {
        int edge = step > 0 ? left : right;
        int stroke = columns[edge];
        if (Integer.bitCount(stroke) > MAX_STROKE_ROWS) return edge;
        int i = edge;
        while (i + step >= left && i + step <= right && columns[i + step] == stroke) i += step;
        return step > 0 ? Math.min(i, right - 1) : Math.max(i, left + 1);
    }

    /** ESC & defining the user code as {@code x} columns: blanks, then {@code core} of glyph. */
    private static void define(Bytes out, int[] glyph, int from, int core, int gap, int x) {
        byte[] d = new byte[SEQUENCE_HEADER + COLUMN_BYTES * x];
        d[0] = EscPos.ESC;
        d[1] = EscPos.DEFINE_USER_CHARACTERS;
        d[2] = COLUMN_BYTES;
        d[3] = d[4] = USER_CODE;
        d[5] = (byte) x;
        for (int k = 0, at = SEQUENCE_HEADER + COLUMN_BYTES * gap; k < core; ++k) {
            int column = glyph[from + k];
            d[at++] = (byte) (column >>> 16);
            d[at++] = (byte) (column >>> 8);
            d[at++] = (byte) column;
        }
        out.write(d);
    }

    /** The columns of a drawn sequence's glyph, top row in bit 23. */
    private static int[] columns(byte[] sequence, int font) {
        int[] columns = new int[font];
        for (int i = 0, at = SEQUENCE_HEADER; i < font; ++i, at += COLUMN_BYTES) {
            columns[i] = (sequence[at] & 0xFF) << 16 | (sequence[at + 1] & 0xFF) << 8
                | (sequence[at + 2] & 0xFF);
        }
        return columns;
    }

    /** The rows inked in any of the columns {@code from} to {@code to} (excluded). */
    private static int columnsOr(int[] columns, int from, int to) {
        int rows = 0;
        for (int c : Arrays.copyOfRange(columns, from, to)) rows |= c;
        return rows;
    }

    private static int[] shifted(int[] columns, int shift) {
        // One copy of the columns that stay: a loop that tested each column's place sent the
        // JIT into a loop of recompiling the composer, which then ran five times slower.
        int[] out = new int[columns.length];
        int from = Math.max(0, -shift), to = Math.min(columns.length, columns.length - shift);
        if (from < to) System.arraycopy(columns, from, out, from + shift, to - from);
        return out;
    }

    private static int inkLeft(int[] columns) {
        for (int i = 0; i < columns.length; ++i) {
            if (columns[i] != 0) return i;
        }
        return -1;
    }

    private static int inkRight(int[] columns) {
        for (int i = columns.length - 1; i >= 0; --i) {
            if (columns[i] != 0) return i;
        }
        return -1;
    }

    /**
     * Moves the line's end past a cell of {@code dots}: a new cell, or one printed over the last
     * cell, which ends where the wider of the two ends. Returns the width of the cell now last.
     */
    private static int advance(Run run, int cell, int dots, boolean over) {
        if (!over) {
            run.width += dots;
            return dots;
        }
        int wider = Math.max(cell, dots);
        run.width += wider - cell;
        return wider;
    }

    private static void resetPlacement(byte[] placement) {
        placement[0] = placement[1] = placement[2] = placement[3] = nativef.NO_INK;
        placement[4] = placement[5] = 0;
    }
}

// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.Comparator;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.TreeMap;

/**
 * What the receipt encoder must know about one printer: which {@code ESC t n} selects each code
 * page, how its Kanji (double-byte) mode is entered and left, whether it has a resident Kanji font,
 * whether it takes the absolute print position command {@code ESC $}, and, for a known model, its
 * paper width and resolution.
 *
 * <p>The code table numbers differ from printer to printer. Every ESC/POS model of the public
 * printer database has its profile ({@link #forModel}, {@link #models}); two numberings are built
 * in ({@link #REFERENCE}, {@link #CLONE_58}); and an application gives its own with {@link
 * #builder}. Instances are immutable.
 */
public final class PrinterProfile {
    /** {@code FS &}: enter Kanji mode. */
    static final byte[] FS_ENTER_KANJI = {EscPos.FS, EscPos.KANJI_ON};

    /** {@code FS .}: leave Kanji mode. */
    static final byte[] FS_LEAVE_KANJI = {EscPos.FS, EscPos.KANJI_OFF};

    /**
     * The command set's reference numbering of {@code ESC t}: PC720 32, PC862 36, PC864 37,
     * PC1098 41, WPC1255 49, WPC1256 50. The printer does not start in Kanji mode and has a
     * resident Kanji font.
     */
    public static final PrinterProfile REFERENCE = builder("reference")
                                                       .codeTable(720, 32)
                                                       .codeTable(862, 36)
                                                       .codeTable(864, 37)
                                                       .codeTable(1098, 41)
                                                       .codeTable(1255, 49)
                                                       .codeTable(1256, 50)
                                                       .build();

    /**
     * The numbering of the widespread 58 mm clones, as the public printer database gives it for
     * {@code pos-5890}: PC720 93, PC862 8, PC864 28, WPC1255 32, WPC1256 92, and no table for
     * PC1098. It starts in Kanji mode and has a resident Kanji font.
     */
    public static final PrinterProfile CLONE_58 = builder("clone58")
                                                      .codeTable(720, 93)
                                                      .codeTable(862, 8)
                                                      .codeTable(864, 28)
                                                      .codeTable(1255, 32)
                                                      .codeTable(1256, 92)
                                                      .startsInKanjiMode(true)
                                                      .build();

    private final String name;
    private final Map<Integer, Integer> codeTables;
    private final boolean startsInKanjiMode;
    private final boolean kanjiFont;
    private final boolean absolutePosition;
    private final byte[] enterKanji;
    private final byte[] leaveKanji;
    private final int paperDots;
    private final int dpi;
    private final int fontAWidth;
    private final int katakanaTable;

    private PrinterProfile(Builder b) {
        name = b.name;
        codeTables = Collections.unmodifiableMap(new TreeMap<>(b.codeTables));
        startsInKanjiMode = b.startsInKanjiMode;
        kanjiFont = b.kanjiFont;
        absolutePosition = b.absolutePosition;
        enterKanji = b.enterKanji.clone();
        leaveKanji = b.leaveKanji.clone();
        paperDots = b.paperDots;
        dpi = b.dpi;
        fontAWidth = b.fontAWidth;
        katakanaTable = b.katakanaTable;
    }

    /**
     * The profile of a printer model of the public printer database, by its id there ({@code
     * epson-tm-t88vi}, {@code pos-5890}, {@code sunmi-p3h}, ...): its code tables for the code
     * pages the library serves, its paper width and its resolution. Kanji mode and {@code ESC $}
     * are as in {@link #REFERENCE}; change them with {@link #toBuilder} where a model differs.
     *
     * @param id the model's id, as {@link #models} lists it
     * @return the model's profile
     * @throws IllegalArgumentException for an unknown id, naming the nearest known ones
     */
    public static PrinterProfile forModel(String id) {
        for (PrinterModels.Model m : PrinterModels.MODELS) {
            if (m.id.equals(id)) return fromModel(m);
        }
        List<String> ids = new ArrayList<>(models());
        String typed = id == null ? "" : id.toLowerCase(Locale.ROOT);
        ids.sort(Comparator.comparingInt((String known) -> editDistance(typed, known))
                     .thenComparing(Comparator.naturalOrder()));
        throw new IllegalArgumentException("unknown printer model: " + id
            + " (nearest: " + String.join(", ", ids.subList(0, 3)) + ")");
    }

    private static PrinterProfile fromModel(PrinterModels.Model m) {
        Builder b = builder(m.id);
        for (int i = 0; i < m.codeTables.length; i += 2) {
            // A numbering may list a code page twice; the first number is the one the vendor
            // documents first.
            if (!b.codeTables.containsKey(m.codeTables[i])) {
                b.codeTable(m.codeTables[i], m.codeTables[i + 1]);
            }
        }
        b.paperDots = m.paperDots;
        b.dpi = m.dpi;
        b.fontAWidth = m.fontAWidth;
        b.katakanaTable = m.katakanaTable;
        return b.build();
    }

    /**
     * The ids of the ESC/POS printer models that {@link #forModel} knows, in the database's order.
     *
     * @return an unmodifiable list
     */
    public static List<String> models() {
        List<String> ids = new ArrayList<>();
        for (PrinterModels.Model m : PrinterModels.MODELS) ids.add(m.id);
        return Collections.unmodifiableList(ids);
    }

    /** The model's name as the database gives it, or null for a profile that is no model. */
    static String modelName(String id) {
        for (PrinterModels.Model m : PrinterModels.MODELS) {
            if (m.id.equals(id)) return m.name;
        }
        return null;
    }

    private static int editDistance(String a, String b) {
        int[] row = new int[b.length() + 1];
        for (int j = 0; j <= b.length(); ++j) row[j] = j;
        for (int i = 1; i <= a.length(); ++i) {
            int diagonal = row[0];
            row[0] = i;
            for (int j = 1; j <= b.length(); ++j) {
                int above = row[j];
                int cost = a.charAt(i - 1) == b.charAt(j - 1) ? 0 : 1;
                row[j] = Math.min(Math.min(row[j] + 1, row[j - 1] + 1), diagonal + cost);
                diagonal = above;
            }
        }
        return row[b.length()];
    }

    /**
     * The built-in profile of this name: {@code "reference"} or {@code "clone58"}.
     *
     * @param name the profile's name
     * @return the profile
     * @throws IllegalArgumentException for any other name
     */
    public static PrinterProfile named(String name) {
        if (REFERENCE.name.equals(name)) return REFERENCE;
        if (CLONE_58.name.equals(name)) return CLONE_58;
        throw new IllegalArgumentException(
            "unknown printer profile: " + name + " (reference or clone58)");
    }

    /**
     * A new profile without code tables, starting from the reference behaviour.
     *
     * @param name the profile's name, for messages
     * @return the builder
     * @throws IllegalArgumentException if the name is null or empty
     */
    public static Builder builder(String name) { return new Builder(name); }

    /** @return a builder holding this profile's settings, to change some of them */
    public Builder toBuilder() {
        Builder b = new Builder(name);
        b.codeTables.putAll(codeTables);
        b.startsInKanjiMode = startsInKanjiMode;
        b.kanjiFont = kanjiFont;
        b.absolutePosition = absolutePosition;
        b.enterKanji = enterKanji.clone();
        b.leaveKanji = leaveKanji.clone();
        b.paperDots = paperDots;
        b.dpi = dpi;
        b.fontAWidth = fontAWidth;
        b.katakanaTable = katakanaTable;
        return b;
    }

    /** @return the profile's name: the model's id for a printer model */
    public String name() { return name; }

    /**
     * @param codePage a code page
     * @return the {@code n} of {@code ESC t n} that selects it, or -1 when the profile has none
     */
    public int codeTable(int codePage) {
        Integer n = codeTables.get(codePage);
        return n == null ? -1 : n;
    }

    /**
     * @param codePage a code page
     * @return whether the profile has a code table for it
     */
    public boolean hasCodeTable(int codePage) { return codeTables.containsKey(codePage); }

    /** @return code page to {@code ESC t} number, for every code page the profile numbers */
    public Map<Integer, Integer> codeTables() { return codeTables; }

    /**
     * @return whether the printer is in Kanji mode after power-on. The encoder sets the mode it
     *     needs
     * itself in either case; this tells a reader of the profile why that matters.
     */
    public boolean startsInKanjiMode() { return startsInKanjiMode; }

    /**
     * @return whether the printer has a resident Kanji font. With one, kana, ideographs and CJK
     * punctuation of a Japanese or Chinese code page come from it (24 dots wide, matching the
     * printer's other double-byte characters); without one the library draws what it can.
     */
    public boolean hasKanjiFont() { return kanjiFont; }

    /**
     * @return whether the printer takes {@code ESC $ nL nH} (absolute print position, in dots).
     *     Without
     * it the encoder aligns with spaces, to the nearest 12-dot cell.
     */
    public boolean hasAbsolutePosition() { return absolutePosition; }

    /** @return the bytes that enter Kanji mode */
    public byte[] enterKanji() { return enterKanji.clone(); }

    /** @return the bytes that leave Kanji mode */
    public byte[] leaveKanji() { return leaveKanji.clone(); }

    /**
     * @return the paper's printable width in dots (Font A columns times its width), or 0 when
     *     unknown
     */
    public int paperDots() { return paperDots; }

    /** @return the print resolution in dots per inch, or 0 when unknown */
    public int dpi() { return dpi; }

    /**
     * @return the width in dots of the resident Font A cell: 12 unless the profile says otherwise
     */
    public int fontAWidth() { return fontAWidth; }

    /**
     * @return the {@code n} of {@code ESC t n} that selects the half-width katakana table, or -1
     */
    public int katakanaTable() { return katakanaTable; }

    byte[] enterKanjiBytes() { return enterKanji; }

    byte[] leaveKanjiBytes() { return leaveKanji; }

    @Override
    public String toString() {
        return "PrinterProfile(" + name + ", tables " + codeTables + ")";
    }

    /** Builds a profile. The defaults are the reference behaviour, with no code tables. */
    public static final class Builder {
        private final String name;
        private final Map<Integer, Integer> codeTables = new TreeMap<>();
        private boolean startsInKanjiMode = false;
        private boolean kanjiFont = true;
        private boolean absolutePosition = true;
        private byte[] enterKanji = FS_ENTER_KANJI.clone();
        private byte[] leaveKanji = FS_LEAVE_KANJI.clone();
        private int paperDots = 0;
        private int dpi = 0;
        private int fontAWidth = 12;
        private int katakanaTable = -1;

        private Builder(String name) {
            if (name == null || name.isEmpty()) {
                throw new IllegalArgumentException("a printer profile needs a name");
            }
            this.name = name;
        }

        /**
         * Selects {@code codePage} with {@code ESC t n}.
         *
         * @param codePage a single-byte code page the library serves
         * @param n the number of {@code ESC t n}
         * @return this builder
         * @throws IllegalArgumentException when n is outside 0 to 255 or the code page is not a
         *     single-byte code page the library serves (double-byte text needs no code table)
         */
        public Builder codeTable(int codePage, int n) {
            if (!CodePages.isSingleByte(codePage)) {
                throw new IllegalArgumentException(
                    "no code table is needed or possible for code page " + codePage);
            }
            if (n < 0 || n > 255) {
                throw new IllegalArgumentException("ESC t number out of range 0 to 255: " + n);
            }
            codeTables.put(codePage, n);
            return this;
        }

        /**
         * Forgets the code table of a code page: the encoder then draws an Arabic-script code
         * page's text and refuses a Hebrew one.
         *
         * @param codePage the code page
         * @return this builder
         */
        public Builder noCodeTable(int codePage) {
            codeTables.remove(codePage);
            return this;
        }

        /**
         * @param value whether the printer is in Kanji mode after power-on
         * @return this builder
         */
        public Builder startsInKanjiMode(boolean value) {
            startsInKanjiMode = value;
            return this;
        }

        /**
         * @param value whether the printer has a resident Kanji font
         * @return this builder
         */
        public Builder kanjiFont(boolean value) {
            kanjiFont = value;
            return this;
        }

        /**
         * @param value whether the printer takes {@code ESC $}
         * @return this builder
         */
        public Builder absolutePosition(boolean value) {
            absolutePosition = value;
            return this;
        }

        /**
         * The commands that enter and leave Kanji mode ({@code FS &} and {@code FS .} unless
         * given).
         *
         * @param enter the bytes that enter Kanji mode
         * @param leave the bytes that leave it
         * @return this builder
         * @throws IllegalArgumentException when either is null or empty
         */
        public Builder kanjiCommands(byte[] enter, byte[] leave) {
            if (enter == null || enter.length == 0 || leave == null || leave.length == 0) {
                throw new IllegalArgumentException("Kanji mode commands must not be empty: "
                    + Arrays.toString(enter) + ", " + Arrays.toString(leave));
            }
            enterKanji = enter.clone();
            leaveKanji = leave.clone();
            return this;
        }

        /**
         * The paper's printable width in dots; 0 for unknown.
         *
         * @param dots the width
         * @return this builder
         * @throws IllegalArgumentException when negative or over 65,535
         */
        public Builder paperDots(int dots) {
            if (dots < 0 || dots > 0xFFFF) {
                throw new IllegalArgumentException("paper width out of 0..65535 dots: " + dots);
            }
            paperDots = dots;
            return this;
        }

        /**
         * The {@code ESC t} number of the half-width katakana table; -1 for none.
         *
         * @param n the number
         * @return this builder
         * @throws IllegalArgumentException when outside -1 to 255
         */
        public Builder katakanaTable(int n) {
            if (n < -1 || n > 255) {
                throw new IllegalArgumentException("ESC t number out of range 0 to 255: " + n);
            }
            katakanaTable = n;
            return this;
        }

        /** @return the profile */
        public PrinterProfile build() { return new PrinterProfile(this); }
    }
}

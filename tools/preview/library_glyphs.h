// SPDX-License-Identifier: Apache-2.0
// Which of this library's glyphs a downloaded character is, so that a receipt can be read back
// as text: the bitmap of an ESC & definition is looked up in the four built-in fonts.
#ifndef ZELVAR_TOOLS_PREVIEW_LIBRARY_GLYPHS_H
#define ZELVAR_TOOLS_PREVIEW_LIBRARY_GLYPHS_H

#include <string>
#include <unordered_map>
#include <vector>

// Where a downloaded character was printed, for a mark the library moved towards its letter.
struct MarkContext {
    bool overstruck = false;  // printed over the previous character (after a BS)
    // Highest and lowest inked rows (0 = top) of what it was printed over; -1 when blank.
    int below_top = -1, below_bottom = -1;
};

class LibraryGlyphs {
  public:
    // The index over the fonts linked into this program, built on first use (all four fonts
    // are read once, over every code point).
    static const LibraryGlyphs& Get();

    // The code point whose glyph the `columns` columns of `column_bytes` (3 bytes each, top rows
    // first) are, or 0 when none is. A glyph matches as the font stores it, or moved the way the
    // library moves it: sideways when its flags allow justification, and up or down towards the
    // character it is printed over when it is a mark fitted to it. A character printed over the
    // previous one is first taken for a mark, any other first for a spacing character. When
    // several code points share a glyph, the lowest is the answer. Failing those, a glyph set at
    // its natural width is looked for: a letter's ink with its connecting strokes cut (to one
    // column, or as far as a wider mark over it allows), or a mark's ink moved anywhere on its
    // side of the letter's middle, whatever blank columns surround it.
    char32_t Find(int columns, const unsigned char* column_bytes, const MarkContext& where) const;

  private:
    LibraryGlyphs();
    void IndexTrimmed(char32_t cp, unsigned int flags, int width, const unsigned char* columns);
    char32_t FindTrimmed(int columns, const unsigned char* column_bytes,
                         const MarkContext& where) const;
    char32_t FindMoved(int columns, const unsigned char* column_bytes,
                       const MarkContext& where) const;
    struct Movable {
        char32_t code_point;
        unsigned int flags;
        int left, top;  // of the stored glyph's ink
    };
    // The lowest code point of the glyph among the marks (printed over the previous character)
    // and among the others; 0 where there is none.
    struct Exact {
        char32_t mark = 0, spacing = 0;
    };
    std::unordered_map<std::string, Exact> exact_;
    // Glyphs that may be moved, by the shape of their ink moved to the top-left corner.
    std::unordered_map<std::string, std::vector<Movable>> movable_;
    // Letters by the ink left when their connecting strokes are cut (at neither side, the left,
    // the right, both: the lower priority first), and marks by their ink's shape.
    struct Trimmed {
        char32_t code_point = 0;
        int priority = 0;
    };
    std::unordered_map<std::string, Trimmed> trimmed_;
    std::unordered_map<std::string, char32_t> trimmed_marks_;
};

#endif  // ZELVAR_TOOLS_PREVIEW_LIBRARY_GLYPHS_H

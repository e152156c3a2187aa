// SPDX-License-Identifier: Apache-2.0
// The four built-in bitmap fonts: 24 dots high, 10, 13, 18 and 24 dots wide.
//
// Each font maps a Unicode code point to a glyph column record (see fontmgr/glyph_column.h for
// the record layout) and a glyph flag word. The fonts only look glyphs up: they know nothing of
// code pages, printers or neighbouring characters.
//
// Contract of every GetBufferNNx24(code_point, flags):
//   - exact match on the full signed 32-bit code point (no normalisation, no fallback);
//   - returns a copy of the stored record, exactly 4 + 3 * W bytes, or an empty vector when the
//     font has no glyph for the code point;
//   - writes the glyph's flag word through `flags` on every return (0 when the result is empty).
//     `flags` must point to writable storage;
//   - std::bad_alloc may escape when the copy cannot be allocated; `flags` is then unwritten.
#ifndef ZELVAR_FONTS_FONTS_H
#define ZELVAR_FONTS_FONTS_H

#include <vector>

#include "common/zelvar_export.h"

// Glyph flag word bits.
// The glyph is a mark that prints over the previous character (a BS precedes it).
constexpr unsigned int SWFONT_FLAG_OVERSTRIKE = 0x01;
// The mark is moved vertically to sit two dot rows from the previous character's ink.
constexpr unsigned int SWFONT_FLAG_VFIT = 0x02;
// The glyph may be moved sideways by left or right justification.
constexpr unsigned int SWFONT_FLAG_HJUST = 0x10;

class CFont10x24 {
  public:
    CFont10x24() {}
    ~CFont10x24() {}
    ZELVAR_API static std::vector<unsigned char> GetBuffer10x24(int code_point,
                                                                unsigned int* flags);
};

class CFont13x24 {
  public:
    CFont13x24() {}
    ~CFont13x24() {}
    ZELVAR_API static std::vector<unsigned char> GetBuffer13x24(int code_point,
                                                                unsigned int* flags);
};

class CFont18x24 {
  public:
    CFont18x24() {}
    ~CFont18x24() {}
    ZELVAR_API static std::vector<unsigned char> GetBuffer18x24(int code_point,
                                                                unsigned int* flags);
};

class CFont24x24 {
  public:
    CFont24x24() {}
    ~CFont24x24() {}
    ZELVAR_API static std::vector<unsigned char> GetBuffer24x24(int code_point,
                                                                unsigned int* flags);
};

#endif  // ZELVAR_FONTS_FONTS_H

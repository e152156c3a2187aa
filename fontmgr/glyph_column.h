// SPDX-License-Identifier: Apache-2.0
// The glyph column record and the three operations that move and measure it.
//
// A glyph column record is a byte vector: four margin bytes (left, right, top, bottom; 255 when the
// glyph has no ink) followed by W dot columns of 3 bytes each, 24 rows per column. In each column
// the first byte holds rows 0-7, the second rows 8-15, the third rows 16-23, the upper row in the
// more significant bit: this is the vertical bit-image order that the printer's ESC & takes, so a
// record's columns go to the printer as they are. An empty vector stands for "no glyph".
//
// The record does not store its width W; every operation takes W and reads only the first W
// columns. The header is the glyph's stored data: ShiftH and ShiftV copy it unchanged, so after a
// move a caller that needs the moved picture's margins measures them with CalcMarginDataVector.
//
// None of the three checks the record's length: the caller guarantees at least 4 + 3 * max(W, 0)
// bytes.
#ifndef ZELVAR_FONTMGR_GLYPH_COLUMN_H
#define ZELVAR_FONTMGR_GLYPH_COLUMN_H

#include <vector>

#include "common/zelvar_export.h"

// Margin value meaning "no ink in the glyph" (or, in a placement record, "nothing known").
constexpr int SWFONT_MARGIN_NO_INK = 255;

// Dot rows in every column: the height of every glyph and of the only font height.
constexpr int SWFONT_HEIGHT = 24;

// Returns the picture moved right by n columns (n > 0) or left by -n columns (n < 0), W columns
// wide behind the unchanged header. Columns pushed past an edge are lost; blank columns come in.
// n == 0 returns `record` exactly as passed, whatever its length. When no column survives
// (|n| >= W) the result is W blank columns; W <= 0 gives the four header bytes alone.
ZELVAR_API std::vector<unsigned char> ShiftH(std::vector<unsigned char> record, int n, int W);

// Returns the picture moved up by n rows (n > 0) or down by -n rows (n < 0), W columns wide behind
// the unchanged header. Dots pushed past row 0 or row 23 are lost; blank rows come in, so a
// distance of 24 or more blanks every column. n == 0 returns `record` exactly as passed.
ZELVAR_API std::vector<unsigned char> ShiftV(std::vector<unsigned char> record, int n, int W);

// Measures the blank margins of the first W columns' ink (the header is not read) and writes all
// four out-parameters: left and right in blank columns (0 to W - 1), top and bottom in blank rows
// (0 to 23), or 255 in all four when W < 1 or no column holds ink.
ZELVAR_API void CalcMarginDataVector(std::vector<unsigned char> record, int W, int* left,
                                     int* right, int* top, int* bottom);

#endif  // ZELVAR_FONTMGR_GLYPH_COLUMN_H

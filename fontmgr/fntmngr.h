// SPDX-License-Identifier: Apache-2.0
// Composition of one character into a printer command sequence, and the capability queries.
//
// The printer lacks the characters of the built-in fonts in its resident code pages, so each one
// is printed as a downloaded bitmap: the command sequence defines the glyph as one user-defined
// character (ESC &), selects the user-defined set (ESC % 1), prints the character (after a BS when
// it is a mark that prints over the previous character), and cancels the set again (ESC % 0).
// Every sequence stands alone: it redefines the same character code and prints it at once.
#ifndef ZELVAR_FONTMGR_FNTMNGR_H
#define ZELVAR_FONTMGR_FNTMNGR_H

#include "common/zelvar_export.h"
#include "fontmgr/glyph_column.h"
#include "fonts/fonts.h"

// The placement record that links one character to the next. The caller owns it; the Java side
// keeps exactly these six bytes in a byte array between calls. A run of characters starts with an
// empty record: 255 in the four margin bytes, 0 in the two flag bytes.
struct _SWFONTINFO {
    unsigned char LeftMargin;    // blank dot columns left of the cell's ink (255: none/unknown)
    unsigned char RightMargin;   // blank dot columns right of the ink
    unsigned char TopMargin;     // blank dot rows above the ink (row 0 is the top row)
    unsigned char BottomMargin;  // blank dot rows below the ink
    unsigned char Overstrike;    // 1 when the character printed over the previous one
    unsigned char HJust;         // 1 when the glyph could be justified sideways
};
typedef _SWFONTINFO SWFONTINFO;
static_assert(sizeof(_SWFONTINFO) == 6, "the placement record is exchanged as six bytes");

// Horizontal justification of glyphs that carry SWFONT_FLAG_HJUST. Any other value acts as NONE;
// the fixed underlying type makes every int a valid value of the type.
enum _SWFONT_JUSTIFICATION : int {
    SWFONT_JUSTIFICATION_NONE = 0,
    SWFONT_JUSTIFICATION_LEFT = 1,  // move the ink left until one blank column remains at its left
    SWFONT_JUSTIFICATION_RIGHT =
        2,  // move the ink right until one blank column remains at its right
};
typedef _SWFONT_JUSTIFICATION SWFONT_JUSTIFICATION;

// Refusals of CFntMngr::GetFontDrawBuffer, tested in this order: height, code page, width, glyph.
constexpr int SWFONT_ERR_NO_GLYPH = -1;  // the font of the requested width lacks the code point
constexpr int SWFONT_ERR_HEIGHT = -2;    // the height is not 24
constexpr int SWFONT_ERR_CODEPAGE = -3;  // the code page is not one the library serves
constexpr int SWFONT_ERR_WIDTH = -4;     // the width is not 10, 13, 18 or 24

// The placement record that starts a run of characters: nothing known of a previous cell.
constexpr _SWFONTINFO SWFONT_EMPTY_PLACEMENT = {255, 255, 255, 255, 0, 0};

// The longest command sequence, that of a mark of the 24-dot font: ESC & y c1 c2 x (6 bytes), 3
// bytes for each of the 24 columns, ESC % 1 (3), the BS (1), the character (1), ESC % 0 (3) and
// ESC % AA (3). What a caller's buffer must hold at most.
constexpr int SWFONT_MAX_SEQUENCE = 6 + 3 * 24 + 3 + 1 + 1 + 3 + 3;

class CFntMngr {
  public:
    CFntMngr() {}
    ~CFntMngr() {}

    // Composes the command sequence for one code point.
    //
    // code_page must be one of the served code pages (IsCPSupported); it admits the request but
    // never chooses the glyph. width is 10, 13, 18 or 24 dots, height must be 24.
    //
    // buffer == nullptr: only asks whether the glyph exists; returns the glyph column record's
    //   length (4 + 3 * width) or a refusal, and touches nothing.
    // buffer != nullptr: must hold at least 3 * width + 17 bytes. Writes the sequence and returns
    //   its length (3 * width + 16, one more with the BS of a mark).
    // info: the previous cell's placement record, or nullptr. Only its four margin bytes are read.
    //   On success with a buffer it is overwritten with this cell's record (after a mark's
    //   vertical fit: the union of the previous cell and the mark).
    // On every refusal (negative SWFONT_ERR_* value) buffer and info are left untouched; when
    // memory runs out std::bad_alloc escapes, also with both untouched.
    ZELVAR_API static int GetFontDrawBuffer(int code_point, int code_page, int width, int height,
                                            unsigned char* buffer, _SWFONTINFO* info,
                                            _SWFONT_JUSTIFICATION justification);

    // True when the character can be drawn: the code page is served, the width exists, the height
    // is 24 and the font of that width has a glyph for the code point.
    ZELVAR_API static bool CharAvailable(int code_point, int code_page, int width, int height);

    // True exactly for the widths 10, 13, 18 and 24.
    ZELVAR_API static bool IsFontWidthSupported(int width);
};

// True when the code page is one of the eleven the library serves: Arabic (1256, 864, 720), Farsi
// (1098), Hebrew (862, 1255), Japanese (290, 20290, 932) and Chinese (936, 54936).
ZELVAR_API bool IsCPSupported(int code_page);

#endif  // ZELVAR_FONTMGR_FNTMNGR_H

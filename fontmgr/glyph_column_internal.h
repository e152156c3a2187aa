// Internal helpers over glyph column records, shared by the column operations and the composition.
#ifndef ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H
#define ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H

#include <cstddef>

namespace zelvar_fontmgr {

struct GlyphMargins {
    int left;
    int right;
    int top;
    int bottom;
};

// The margins of the ink of the first W columns of `record` (`size` bytes, header included), as
// CalcMarginDataVector reports them, without copying the record. Columns past `size` read as
// blank.
GlyphMargins MeasureMargins(const unsigned char* record, std::size_t size, int W);

}  // namespace zelvar_fontmgr

#endif  // ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H

// SPDX-License-Identifier: Apache-2.0
// Internal to the library (implemented in glyph_column.cpp): the layout of a glyph column record,
// read and written in one place by the column operations, the composition, the tools and the
// tests.
#ifndef ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H
#define ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "fontmgr/glyph_column.h"

namespace zelvar_fontmgr {

// Four margin bytes (left, right, top, bottom), then 3 bytes per dot column.
constexpr std::size_t kGlyphHeaderBytes = 4;
constexpr std::size_t kBytesPerColumn = 3;

// All 24 rows of a column inked.
constexpr std::uint32_t kColumnMask = 0xFFFFFF;

// Offset of column c in a record.
constexpr std::size_t ColumnOffset(std::size_t c) {
    return kGlyphHeaderBytes + kBytesPerColumn * c;
}

// The bytes of a record holding W columns.
constexpr std::size_t RecordBytes(std::size_t W) {
    return ColumnOffset(W);
}

// A column's three bytes as a 24-bit value, row 0 (the top row) in bit 23, as ESC & sends them.
inline std::uint32_t ReadColumn(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
}
inline void WriteColumn(unsigned char* bytes, std::uint32_t v) {
    bytes[0] = static_cast<unsigned char>((v >> 16) & 0xFF);
    bytes[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    bytes[2] = static_cast<unsigned char>(v & 0xFF);
}

// The column value with row r inked.
constexpr std::uint32_t RowBit(int r) {
    return std::uint32_t{1} << (SWFONT_HEIGHT - 1 - r);
}

struct GlyphMargins {
    int left;
    int right;
    int top;
    int bottom;
};

// A read-only view of a record of `size` bytes: its columns and its stored margins. Columns the
// record does not hold read as blank, never out of bounds.
class GlyphRecordView {
  public:
    GlyphRecordView(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    // Whole columns the record holds behind its header.
    std::size_t StoredColumns() const {
        return size_ > kGlyphHeaderBytes ? (size_ - kGlyphHeaderBytes) / kBytesPerColumn : 0;
    }
    std::uint32_t Column(std::size_t c) const {
        return c < StoredColumns() ? ReadColumn(data_ + ColumnOffset(c)) : 0;
    }
    // The margins stored in the header (SWFONT_MARGIN_NO_INK for a header the record lacks).
    GlyphMargins StoredMargins() const {
        auto at = [this](std::size_t i) {
            return i < size_ ? int{data_[i]} : SWFONT_MARGIN_NO_INK;
        };
        return {at(0), at(1), at(2), at(3)};
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
};

// The margins of the ink of the first W columns of `record` (`size` bytes, header included), as
// CalcMarginDataVector reports them, without copying the record. Columns past `size` read as
// blank.
GlyphMargins MeasureMargins(const unsigned char* record, std::size_t size, int W);

}  // namespace zelvar_fontmgr

#endif  // ZELVAR_FONTMGR_GLYPH_COLUMN_INTERNAL_H

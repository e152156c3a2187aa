// SPDX-License-Identifier: Apache-2.0
// Moving and measuring glyph column records.
#include "fontmgr/glyph_column.h"

#include <cstddef>
#include <cstdint>
#include <utility>

#include "fontmgr/glyph_column_internal.h"

namespace zelvar_fontmgr {
namespace {

// A result of W blank columns behind the input's header bytes (missing header bytes read as 0).
std::vector<unsigned char> BlankWithHeader(const std::vector<unsigned char>& record, int W) {
    const std::size_t columns = W > 0 ? static_cast<std::size_t>(W) : 0;
    std::vector<unsigned char> out(RecordBytes(columns), 0);
    for (std::size_t i = 0; i < kGlyphHeaderBytes && i < record.size(); ++i) out[i] = record[i];
    return out;
}

}  // namespace

GlyphMargins MeasureMargins(const unsigned char* record, std::size_t size, int W) {
    GlyphMargins m{SWFONT_MARGIN_NO_INK, SWFONT_MARGIN_NO_INK, SWFONT_MARGIN_NO_INK,
                   SWFONT_MARGIN_NO_INK};
    if (W < 1) return m;
    const std::size_t columns = static_cast<std::size_t>(W);
    std::uint32_t rows_inked = 0;
    std::size_t first = columns;
    std::size_t last = 0;
    // Columns the record does not hold are blank; they count toward the right margin only.
    const GlyphRecordView view(record, size);
    const std::size_t readable = columns < view.StoredColumns() ? columns : view.StoredColumns();
    for (std::size_t c = 0; c < readable; ++c) {
        const std::uint32_t v = view.Column(c);
        if (v == 0) continue;
        if (first == columns) first = c;
        last = c;
        rows_inked |= v;
    }
    if (rows_inked == 0) return m;
    int top = 0;
    while ((rows_inked & RowBit(top)) == 0) ++top;
    int bottom = 0;
    while ((rows_inked & (std::uint32_t{1} << bottom)) == 0) ++bottom;
    m.left = static_cast<int>(first);
    m.right = static_cast<int>(columns - 1 - last);
    m.top = top;
    m.bottom = bottom;
    return m;
}

}  // namespace zelvar_fontmgr

std::vector<unsigned char> ShiftH(std::vector<unsigned char> record, int n, int W) {
    using namespace zelvar_fontmgr;
    if (n == 0) return record;
    std::vector<unsigned char> out = BlankWithHeader(record, W);
    if (W <= 0) return out;
    // |n| as a 64-bit value, so that INT_MIN has a magnitude too.
    const std::int64_t distance = n > 0 ? std::int64_t{n} : -std::int64_t{n};
    if (distance >= W) return out;
    const std::size_t columns = static_cast<std::size_t>(W);
    const std::size_t d = static_cast<std::size_t>(distance);
    const GlyphRecordView view(record.data(), record.size());
    for (std::size_t c = 0; c < columns - d; ++c) {
        // Moving right, column c lands at c + d; moving left, column c + d lands at c.
        const std::size_t from = n > 0 ? c : c + d;
        const std::size_t to = n > 0 ? c + d : c;
        WriteColumn(&out[ColumnOffset(to)], view.Column(from));
    }
    return out;
}

std::vector<unsigned char> ShiftV(std::vector<unsigned char> record, int n, int W) {
    using namespace zelvar_fontmgr;
    if (n == 0) return record;
    std::vector<unsigned char> out = BlankWithHeader(record, W);
    if (W <= 0) return out;
    const std::int64_t distance = n > 0 ? std::int64_t{n} : -std::int64_t{n};
    // A distance of a full column or more moves every dot out of the cell.
    if (distance >= SWFONT_HEIGHT) return out;
    const unsigned d = static_cast<unsigned>(distance);
    const std::size_t columns = static_cast<std::size_t>(W);
    const GlyphRecordView view(record.data(), record.size());
    for (std::size_t c = 0; c < columns; ++c) {
        const std::uint32_t v = view.Column(c);
        // Up is toward bit 23 (the top row): shifting left moves the picture up.
        const std::uint32_t moved = n > 0 ? (v << d) & kColumnMask : v >> d;
        WriteColumn(&out[ColumnOffset(c)], moved);
    }
    return out;
}

void CalcMarginDataVector(std::vector<unsigned char> record, int W, int* left, int* right, int* top,
                          int* bottom) {
    const zelvar_fontmgr::GlyphMargins m =
        zelvar_fontmgr::MeasureMargins(record.data(), record.size(), W);
    *left = m.left;
    *right = m.right;
    *top = m.top;
    *bottom = m.bottom;
}

// SPDX-License-Identifier: Apache-2.0
// The composition of one fetched glyph into its command sequence: justify it, fit a mark to the
// previous cell, write the sequence, write the placement record for the next character.
#include "fontmgr/compose_internal.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/escpos_commands.h"
#include "fontmgr/glyph_column.h"
#include "fontmgr/glyph_column_internal.h"

namespace zelvar_fontmgr {
namespace {

// Justification only ever removes surplus blank columns: the ink moves until this many blank
// columns remain on the side it moves to.
constexpr int kJustifiedBlankColumns = 1;

// A mark fitted over the previous cell sits this many blank rows from that cell's ink; a wider
// gap is closed to it, a narrower one is left alone.
constexpr int kMarkGapRows = 2;

// The glyph being composed, with the margins of its ink as it stands now.
struct WorkingGlyph {
    std::vector<unsigned char> record;
    GlyphMargins margins;
    int W;

    // Moves the picture and measures it again.
    template <typename Shift>
    void Move(Shift shift, int n) {
        record = shift(std::move(record), n, W);
        margins = MeasureMargins(record.data(), record.size(), W);
    }
};

bool HasInk(const GlyphMargins& m) {
    return m.left != SWFONT_MARGIN_NO_INK && m.right != SWFONT_MARGIN_NO_INK &&
           m.top != SWFONT_MARGIN_NO_INK && m.bottom != SWFONT_MARGIN_NO_INK;
}

GlyphMargins MarginsOf(const _SWFONTINFO& info) {
    return {info.LeftMargin, info.RightMargin, info.TopMargin, info.BottomMargin};
}

void Justify(WorkingGlyph& glyph, unsigned int flags, _SWFONT_JUSTIFICATION justification) {
    if ((flags & SWFONT_FLAG_HJUST) == 0) return;
    const GlyphMargins& m = glyph.margins;
    if (justification == SWFONT_JUSTIFICATION_LEFT && m.left > kJustifiedBlankColumns) {
        glyph.Move(ShiftH, kJustifiedBlankColumns - m.left);
    } else if (justification == SWFONT_JUSTIFICATION_RIGHT && m.right > kJustifiedBlankColumns) {
        glyph.Move(ShiftH, m.right - kJustifiedBlankColumns);
    }
}

// A mark printed over the previous cell is brought to kMarkGapRows blank rows from that cell's
// ink, and the cell's margins become those of both, so that a second mark fits against the two.
void FitMark(WorkingGlyph& glyph, unsigned int flags, const _SWFONTINFO* info) {
    const unsigned int fit = SWFONT_FLAG_OVERSTRIKE | SWFONT_FLAG_VFIT;
    if (info == nullptr || (flags & fit) != fit) return;
    const GlyphMargins previous = MarginsOf(*info);
    if (!HasInk(glyph.margins) || !HasInk(previous)) return;
    // Blank rows between the mark's ink and the previous ink, for a mark above and below it.
    const int gap_above = glyph.margins.bottom + previous.top - SWFONT_HEIGHT;
    const int gap_below = glyph.margins.top + previous.bottom - SWFONT_HEIGHT;
    if (gap_above > kMarkGapRows) {
        glyph.Move(ShiftV, kMarkGapRows - gap_above);  // down
    } else if (gap_below > kMarkGapRows) {
        glyph.Move(ShiftV, gap_below - kMarkGapRows);  // up
    }
    // A placement record made up by a caller can push the mark out of the cell; the blank mark
    // then adds nothing, and the previous cell's margins stand.
    GlyphMargins& m = glyph.margins;
    m.left = std::min(m.left, previous.left);
    m.right = std::min(m.right, previous.right);
    m.top = std::min(m.top, previous.top);
    m.bottom = std::min(m.bottom, previous.bottom);
}

// Writes the sequence that defines the glyph as `char_code` and prints it; returns its length.
// Nothing here allocates or throws.
int WriteSequence(const WorkingGlyph& glyph, bool overstrike, unsigned char char_code,
                  unsigned char* buffer) {
    using namespace escpos;
    const std::size_t column_bytes = kBytesPerColumn * static_cast<std::size_t>(glyph.W);
    unsigned char* p = buffer;
    *p++ = kEsc;  // ESC & y c1 c2 x d... : define one user-defined character
    *p++ = kDefineUserChars;
    *p++ = kBytesPerColumn;                      // y: bytes per dot column
    *p++ = char_code;                            // c1: first code defined
    *p++ = char_code;                            // c2: last code defined
    *p++ = static_cast<unsigned char>(glyph.W);  // x: dot columns of the character
    std::memcpy(p, glyph.record.data() + kGlyphHeaderBytes, column_bytes);
    p += column_bytes;
    *p++ = kEsc;  // ESC % 1 : select the user-defined character set
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetOn;
    if (overstrike) *p++ = kBs;  // BS : the next character prints over the previous one
    *p++ = char_code;            // the character itself
    *p++ = kEsc;                 // ESC % 0 : cancel the user-defined character set
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetOff;
    *p++ = kEsc;  // ESC % AA : cancel it again
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetTrailer;
    return static_cast<int>(p - buffer);
}

void WriteRecord(const GlyphMargins& m, unsigned int flags, _SWFONTINFO* info) {
    info->LeftMargin = static_cast<unsigned char>(m.left & 0xFF);
    info->RightMargin = static_cast<unsigned char>(m.right & 0xFF);
    info->TopMargin = static_cast<unsigned char>(m.top & 0xFF);
    info->BottomMargin = static_cast<unsigned char>(m.bottom & 0xFF);
    info->Overstrike = (flags & SWFONT_FLAG_OVERSTRIKE) != 0 ? 1 : 0;
    info->HJust = (flags & SWFONT_FLAG_HJUST) != 0 ? 1 : 0;
}

}  // namespace

int ComposeGlyph(std::vector<unsigned char> record, unsigned int flags, int W,
                 unsigned char char_code, unsigned char* buffer, _SWFONTINFO* info,
                 _SWFONT_JUSTIFICATION justification) {
    // The margins the font stored with the glyph are the ones used until the glyph moves.
    const GlyphMargins stored = GlyphRecordView(record.data(), record.size()).StoredMargins();
    WorkingGlyph glyph{std::move(record), stored, W};
    Justify(glyph, flags, justification);
    FitMark(glyph, flags, info);
    // All glyph work is done: from here on nothing allocates or throws, so an exception above
    // leaves the buffer and the record as they were.
    const int written =
        WriteSequence(glyph, (flags & SWFONT_FLAG_OVERSTRIKE) != 0, char_code, buffer);
    if (info != nullptr) WriteRecord(glyph.margins, flags, info);
    return written;
}

}  // namespace zelvar_fontmgr

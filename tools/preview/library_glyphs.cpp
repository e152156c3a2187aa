// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/library_glyphs.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

#include "fontmgr/glyph_column_internal.h"
#include "fonts/fonts.h"
#include "fonts/fonts_internal.h"
#include "tools/preview/escpos.h"

namespace {

constexpr int kWidths[] = {10, 13, 18, 24};
constexpr char32_t kLastCodePoint = 0x10FFFF;

std::uint32_t ColumnValue(const unsigned char* bytes, int column) {
    return zelvar_fontmgr::ReadColumn(bytes + escpos::kBytesPerColumn * column);
}

// The ink's box; false when there is none.
struct Ink {
    int left = 0, top = 0, bottom = 0;
};

bool FindInk(int columns, const unsigned char* bytes, Ink* ink) {
    bool any = false;
    std::uint32_t rows = 0;
    for (int c = 0; c < columns; ++c) {
        const std::uint32_t v = ColumnValue(bytes, c);
        if (v != 0 && !any) {
            ink->left = c;
            any = true;
        }
        rows |= v;
    }
    if (!any) return false;
    int top = 0;
    while ((rows & zelvar_fontmgr::RowBit(top)) == 0) ++top;
    int bottom = escpos::kLineDots - 1;
    while ((rows & zelvar_fontmgr::RowBit(bottom)) == 0) --bottom;
    ink->top = top;
    ink->bottom = bottom;
    return true;
}

std::string Key(int columns, const unsigned char* bytes) {
    std::string key(1, static_cast<char>(columns));
    key.append(reinterpret_cast<const char*>(bytes),
               static_cast<std::size_t>(columns) * escpos::kBytesPerColumn);
    return key;
}

// The glyph with its ink moved to column 0 and row 0.
std::string ShapeKey(int columns, const unsigned char* bytes, const Ink& ink) {
    std::string key(1, static_cast<char>(columns));
    for (int c = 0; c < columns; ++c) {
        const std::uint32_t v =
            c + ink.left < columns ? (ColumnValue(bytes, c + ink.left) << ink.top) & 0xFFFFFFu : 0;
        key += static_cast<char>(v >> 16);
        key += static_cast<char>(v >> 8);
        key += static_cast<char>(v);
    }
    return key;
}

// The ink's columns, top row in bit 23, without the blank columns at either side.
std::vector<std::uint32_t> Core(int columns, const unsigned char* bytes) {
    std::vector<std::uint32_t> core;
    for (int c = 0; c < columns; ++c) core.push_back(ColumnValue(bytes, c));
    while (!core.empty() && core.back() == 0) core.pop_back();
    std::size_t blank = 0;
    while (blank < core.size() && core[blank] == 0) ++blank;
    core.erase(core.begin(), core.begin() + static_cast<std::ptrdiff_t>(blank));
    return core;
}

std::string CoreKey(const std::vector<std::uint32_t>& core, std::size_t from, std::size_t to) {
    std::string key;
    for (std::size_t c = from; c < to; ++c) {
        key += static_cast<char>(core[c] >> 16);
        key += static_cast<char>(core[c] >> 8);
        key += static_cast<char>(core[c]);
    }
    return key;
}

// A mark moved to row 0 by `up` rows, and whether it stands above or below a letter's middle: a
// fatha and a kasra are one stroke, told apart by their side of the letter, which the library
// keeps when it moves a mark towards its letter.
std::string MarkKey(const std::vector<std::uint32_t>& shape, int up) {
    return (up < escpos::kLineDots / 2 ? "a" : "b") + CoreKey(shape, 0, shape.size());
}

// The encoder sets Arabic at its natural width: a letter keeps one column of the connecting
// stroke at a joining side (the columns alike to the edge column, of at most this many rows), and
// at least two columns.
constexpr int kMaxStrokeRows = 3;

// A fathatan or kasratan stacked by the encoder: its vowel twice, this many blank rows apart, the
// upper one up to this many columns left of the lower one, as the letter's width allows.
constexpr int kMarksApart = 2;
constexpr std::size_t kTanwinStagger = 2;

std::size_t StrokeCut(const std::vector<std::uint32_t>& core, bool left) {
    const std::size_t n = core.size();
    if (n < 3) return 0;
    const std::uint32_t stroke = left ? core[0] : core[n - 1];
    int rows = 0;
    for (std::uint32_t v = stroke; v != 0; v &= v - 1) ++rows;
    if (rows > kMaxStrokeRows) return 0;
    std::size_t alike = 1;
    while (alike < n && core[left ? alike : n - 1 - alike] == stroke) ++alike;
    return std::min(alike - 1, n - 2);
}

}  // namespace

const LibraryGlyphs& LibraryGlyphs::Get() {
    static const LibraryGlyphs index;
    return index;
}

LibraryGlyphs::LibraryGlyphs() {
    for (int width : kWidths) {
        for (char32_t cp = 0; cp <= kLastCodePoint; ++cp) {
            unsigned int flags = 0;
            const std::vector<unsigned char> record =
                zelvar_fonts::FontForWidth(width)(static_cast<int>(cp), &flags);
            if (record.size() != zelvar_fontmgr::RecordBytes(static_cast<std::size_t>(width))) {
                continue;
            }
            const unsigned char* columns = record.data() + zelvar_fontmgr::kGlyphHeaderBytes;
            // Code points rise, so the first to claim a glyph is the lowest.
            Exact& exact = exact_[Key(width, columns)];
            char32_t& claim = (flags & SWFONT_FLAG_OVERSTRIKE) ? exact.mark : exact.spacing;
            if (claim == 0) claim = cp;
            IndexTrimmed(cp, flags, width, columns);
            const bool fitted = (flags & SWFONT_FLAG_OVERSTRIKE) && (flags & SWFONT_FLAG_VFIT);
            Ink ink;
            if ((fitted || (flags & SWFONT_FLAG_HJUST)) && FindInk(width, columns, &ink)) {
                movable_[ShapeKey(width, columns, ink)].push_back({cp, flags, ink.left, ink.top});
            }
        }
    }
}

char32_t LibraryGlyphs::Find(int columns, const unsigned char* column_bytes,
                             const MarkContext& where) const {
    Exact exact;
    const auto found = exact_.find(Key(columns, column_bytes));
    if (found != exact_.end()) exact = found->second;
    const char32_t first = where.overstruck ? exact.mark : exact.spacing;
    const char32_t second = where.overstruck ? exact.spacing : exact.mark;
    if (first != 0) return first;
    // A glyph of the other kind as stored beats a glyph of this kind moved only for a spacing
    // character; a mark over a character is looked for among the moved marks first.
    if (!where.overstruck && second != 0) return second;
    const char32_t moved = FindMoved(columns, column_bytes, where);
    if (moved != 0) return moved;
    if (second != 0) return second;
    return FindTrimmed(columns, column_bytes, where);
}

void LibraryGlyphs::IndexTrimmed(char32_t cp, unsigned int flags, int width,
                                 const unsigned char* columns) {
    const std::vector<std::uint32_t> core = Core(width, columns);
    if (core.empty()) return;
    if (flags & SWFONT_FLAG_OVERSTRIKE) {
        // A mark moves sideways and up or down: its shape is its ink moved to row 0.
        std::uint32_t rows = 0;
        for (std::uint32_t v : core) rows |= v;
        int up = 0;
        while ((rows & zelvar_fontmgr::RowBit(up)) == 0) ++up;
        std::vector<std::uint32_t> shape;
        for (std::uint32_t v : core) shape.push_back((v << up) & 0xFFFFFFu);
        // The fonts are read one after another, so a lower code point of a later font may come.
        char32_t& claim = trimmed_marks_[MarkKey(shape, up)];
        if (claim == 0 || cp < claim) claim = cp;
        if (cp == 0x064E || cp == 0x0650) {
            // The encoder sets a fathatan or kasratan, where the letter leaves the room, as its
            // vowel twice: two blank rows apart, the upper one up to two columns to the left.
            int height = escpos::kLineDots;  // 24 less the blank rows under the mark
            for (std::uint32_t ink = rows << up; ink != 0 && (ink & 1u) == 0; ink >>= 1) --height;
            for (std::size_t stagger = 0; stagger <= kTanwinStagger; ++stagger) {
                std::vector<std::uint32_t> stacked(shape.size() + stagger, 0);
                for (std::size_t c = 0; c < shape.size(); ++c) {
                    stacked[c] |= shape[c];
                    stacked[c + stagger] |= shape[c] >> (height + kMarksApart);
                }
                char32_t& tanwin = trimmed_marks_[MarkKey(stacked, up)];
                if (tanwin == 0) tanwin = cp - 3;  // U+064B, U+064D
            }
        }
        return;
    }
    const std::size_t left = StrokeCut(core, true), right = StrokeCut(core, false);
    // The least cut shape claims a key first: a letter drawn whole beats another one cut.
    const std::size_t cuts[][2] = {{0, 0}, {left, 0}, {0, right}, {left, right}};
    for (int priority = 0; priority < 4; ++priority) {
        const std::size_t from = cuts[priority][0], to = core.size() - cuts[priority][1];
        if (from + 2 > to) continue;
        Trimmed& claim = trimmed_[CoreKey(core, from, to)];
        if (claim.code_point == 0 || priority < claim.priority ||
            (priority == claim.priority && cp < claim.code_point)) {
            claim = {cp, priority};
        }
    }
}

char32_t LibraryGlyphs::FindTrimmed(int columns, const unsigned char* column_bytes,
                                    const MarkContext& where) const {
    std::vector<std::uint32_t> core = Core(columns, column_bytes);
    if (core.empty()) return 0;
    if (where.overstruck) {
        std::uint32_t rows = 0;
        for (std::uint32_t v : core) rows |= v;
        int up = 0;
        while ((rows & zelvar_fontmgr::RowBit(up)) == 0) ++up;
        for (std::uint32_t& v : core) v = (v << up) & 0xFFFFFFu;
        const auto mark = trimmed_marks_.find(MarkKey(core, up));
        return mark != trimmed_marks_.end() ? mark->second : 0;
    }
    // A letter under a mark wider than itself keeps as much of its connecting strokes as the
    // mark needs: the stroke columns alike to an edge column stand for the one column kept.
    const std::size_t n = core.size();
    const std::size_t left = StrokeCut(core, true), right = StrokeCut(core, false);
    const std::size_t cuts[][2] = {{0, 0}, {left, 0}, {0, right}, {left, right}};
    for (const auto& cut : cuts) {
        if (cut[0] + cut[1] + 2 > n) continue;
        const auto letter = trimmed_.find(CoreKey(core, cut[0], n - cut[1]));
        if (letter != trimmed_.end()) return letter->second.code_point;
    }
    return 0;
}

char32_t LibraryGlyphs::FindMoved(int columns, const unsigned char* column_bytes,
                                  const MarkContext& where) const {
    Ink ink;
    if (!FindInk(columns, column_bytes, &ink)) return 0;
    const auto shapes = movable_.find(ShapeKey(columns, column_bytes, ink));
    if (shapes == movable_.end()) return 0;
    char32_t best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (const Movable& m : shapes->second) {
        const int right = ink.left - m.left;  // columns moved right
        const int down = ink.top - m.top;     // rows moved down
        if (right != 0 && !(m.flags & SWFONT_FLAG_HJUST)) continue;
        if (down != 0) {
            // A mark is moved only towards the ink of the character it prints over, and stays
            // on its side of it: a mark above moves down, a mark below moves up.
            const bool fitted = (m.flags & SWFONT_FLAG_OVERSTRIKE) && (m.flags & SWFONT_FLAG_VFIT);
            if (!fitted || !where.overstruck || where.below_top < 0) continue;
            if (down > 0 && ink.bottom >= where.below_top) continue;
            if (down < 0 && ink.top <= where.below_bottom) continue;
        }
        const int distance = std::abs(right) + std::abs(down);
        if (distance < best_distance) {
            best_distance = distance;
            best = m.code_point;
        }
    }
    return best;
}

// SPDX-License-Identifier: Apache-2.0
// The composition of a fetched glyph: justification, the vertical fit of marks against the
// previous cell, the command sequence and the placement record, on glyphs drawn for each case.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fontmgr/compose_internal.h"
#include "tests/test_util.h"

using testutil::Block;
using testutil::Bytes;
using testutil::Column;
using testutil::Record;
using testutil::Rows;
using zelvar_fontmgr::ComposeGlyph;

namespace {

constexpr unsigned int kMark = SWFONT_FLAG_OVERSTRIKE | SWFONT_FLAG_VFIT;

_SWFONTINFO Info(int l, int r, int t, int b, int over = 0, int hjust = 0) {
    return {static_cast<unsigned char>(l),    static_cast<unsigned char>(r),
            static_cast<unsigned char>(t),    static_cast<unsigned char>(b),
            static_cast<unsigned char>(over), static_cast<unsigned char>(hjust)};
}

struct Composed {
    int status;
    std::vector<unsigned char> bytes;
    Record columns;  // the glyph as the sequence defines it, behind a zero header
};

Composed Compose(const Record& glyph, unsigned int flags, int W, _SWFONTINFO* info,
                 _SWFONT_JUSTIFICATION j = SWFONT_JUSTIFICATION_NONE) {
    std::vector<unsigned char> buffer(128, 0xEE);
    Composed c;
    c.status = ComposeGlyph(glyph, flags, W, 0x41, buffer.data(), info, j);
    c.bytes.assign(buffer.begin(), buffer.begin() + (c.status > 0 ? c.status : 0));
    c.columns = Record(4, 0);
    if (c.status >= 6 + 3 * W) {
        c.columns.insert(c.columns.end(), buffer.begin() + 6, buffer.begin() + 6 + 3 * W);
    }
    // Nothing beyond the returned length is touched.
    for (std::size_t i = static_cast<std::size_t>(c.status); i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0xEE) << "byte " << i << " written past the sequence";
    }
    return c;
}

// Column ranges of the ink in a composed glyph.
struct Ink {
    int first_col, last_col;
    std::uint32_t rows;
};
Ink InkOf(const Record& columns, int W) {
    Ink ink{-1, -1, 0};
    for (int c = 0; c < W; ++c) {
        const std::uint32_t v = Column(columns, c);
        if (v == 0) continue;
        if (ink.first_col < 0) ink.first_col = c;
        ink.last_col = c;
        ink.rows |= v;
    }
    return ink;
}

TEST(ComposeJustification, MovesOnlyHJustGlyphsAndNeverAddsBlankColumns) {
    struct Case {
        const char* what;
        unsigned int flags;
        int c0, c1;  // ink columns of a 10-wide glyph
        int just;
        int want_c0;
    };
    const Case cases[] = {
        {"left, margin 5", SWFONT_FLAG_HJUST, 5, 6, SWFONT_JUSTIFICATION_LEFT, 1},
        {"left, margin 1", SWFONT_FLAG_HJUST, 1, 3, SWFONT_JUSTIFICATION_LEFT, 1},
        {"left, margin 0", SWFONT_FLAG_HJUST, 0, 3, SWFONT_JUSTIFICATION_LEFT, 0},
        {"left, margin 2", SWFONT_FLAG_HJUST, 2, 3, SWFONT_JUSTIFICATION_LEFT, 1},
        {"right, margin 3", SWFONT_FLAG_HJUST, 4, 6, SWFONT_JUSTIFICATION_RIGHT, 6},
        {"right, margin 1", SWFONT_FLAG_HJUST, 4, 8, SWFONT_JUSTIFICATION_RIGHT, 4},
        {"right, margin 0", SWFONT_FLAG_HJUST, 4, 9, SWFONT_JUSTIFICATION_RIGHT, 4},
        {"right, margin 8", SWFONT_FLAG_HJUST, 0, 1, SWFONT_JUSTIFICATION_RIGHT, 7},
        {"none", SWFONT_FLAG_HJUST, 5, 6, SWFONT_JUSTIFICATION_NONE, 5},
        {"value 3 acts as none", SWFONT_FLAG_HJUST, 5, 6, 3, 5},
        {"value -1 acts as none", SWFONT_FLAG_HJUST, 5, 6, -1, 5},
        {"no HJUST flag, left", 0, 5, 6, SWFONT_JUSTIFICATION_LEFT, 5},
        {"no HJUST flag, right", 0, 2, 3, SWFONT_JUSTIFICATION_RIGHT, 2},
        {"mark flags, left", kMark, 5, 6, SWFONT_JUSTIFICATION_LEFT, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Record glyph = Block(10, c.c0, c.c1, 4, 15);
        _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
        const Composed out =
            Compose(glyph, c.flags, 10, &info, static_cast<_SWFONT_JUSTIFICATION>(c.just));
        ASSERT_GT(out.status, 0);
        const Ink ink = InkOf(out.columns, 10);
        EXPECT_EQ(ink.first_col, c.want_c0);
        EXPECT_EQ(ink.last_col - ink.first_col, c.c1 - c.c0) << "the glyph keeps its shape";
        EXPECT_EQ(ink.rows, Rows(4, 15));
        EXPECT_EQ(info.LeftMargin, c.want_c0);
        EXPECT_EQ(info.RightMargin, 9 - (c.want_c0 + c.c1 - c.c0));
        EXPECT_EQ(info.HJust, (c.flags & SWFONT_FLAG_HJUST) != 0 ? 1 : 0);
    }
}

TEST(ComposeJustification, UnmovedGlyphKeepsItsStoredMargins) {
    // The stored header, not the ink, is what an unmoved glyph reports (a final alef stores a
    // bottom margin of 0 although its ink stops on row 15).
    const Record glyph = Block(10, 4, 9, 4, 15, {4, 0, 4, 0});
    _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
    Compose(glyph, 0, 10, &info, SWFONT_JUSTIFICATION_LEFT);
    EXPECT_EQ(Bytes(info), (std::vector<int>{4, 0, 4, 0, 0, 0}));
    // Once moved, the glyph is measured again.
    const Record hjust = Block(10, 4, 8, 4, 15, {4, 1, 4, 0});
    Compose(hjust, SWFONT_FLAG_HJUST, 10, &info, SWFONT_JUSTIFICATION_LEFT);
    EXPECT_EQ(Bytes(info), (std::vector<int>{1, 4, 4, 8, 0, 1}));
}

TEST(ComposeVerticalFit, MarksCloseToTwoRowsAndMergeMargins) {
    struct Case {
        const char* what;
        int mark_r0, mark_r1;
        _SWFONTINFO previous;
        int want_r0;  // first inked row of the printed mark
        std::vector<int> want_info;
    };
    const Case cases[] = {
        // Mark in rows 8-11 over a base in rows 17-21: gap above 5, moves down 3.
        {"above, gap 5", 8, 11, Info(1, 1, 17, 2), 11, {1, 1, 11, 2, 1, 0}},
        // Gap above 2: stays, margins still merged.
        {"above, gap 2", 8, 11, Info(1, 1, 14, 2), 8, {1, 1, 8, 2, 1, 0}},
        // Exactly 3 rows: closes to 2.
        {"above, gap 3", 8, 11, Info(2, 3, 15, 2), 9, {2, 3, 9, 2, 1, 0}},
        // A mark on rows 22-23 under a base on rows 3-17: gap below 4, moves up 2.
        {"below, gap 4", 22, 23, Info(0, 0, 3, 6), 20, {0, 0, 3, 2, 1, 0}},
        {"below, gap 2", 22, 23, Info(0, 0, 3, 4), 22, {0, 0, 3, 0, 1, 0}},
        // A top mark reaching row 0 over a letter standing on row 15, inked from row 4.
        {"top mark over alef", 0, 1, Info(4, 4, 4, 8), 0, {3, 4, 0, 8, 1, 0}},
        {"top mark over a low letter", 0, 1, Info(4, 4, 10, 8), 6, {3, 4, 6, 8, 1, 0}},
        // Ink that overlaps stays where it is.
        {"overlap", 5, 15, Info(4, 4, 4, 8), 5, {3, 4, 4, 8, 1, 0}},
        // An empty previous cell: no fit, the mark's own margins.
        {"empty record", 0, 1, SWFONT_EMPTY_PLACEMENT, 0, {3, 4, 0, 22, 1, 0}},
        {"one unknown margin", 0, 1, Info(4, 4, 255, 8), 0, {3, 4, 0, 22, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Record mark = Block(10, 3, 5, c.mark_r0, c.mark_r1);
        _SWFONTINFO info = c.previous;
        const Composed out = Compose(mark, kMark, 10, &info);
        ASSERT_EQ(out.status, 47);
        const Ink ink = InkOf(out.columns, 10);
        EXPECT_EQ(ink.rows, Rows(c.want_r0, c.want_r0 + c.mark_r1 - c.mark_r0));
        EXPECT_EQ(ink.first_col, 3);
        EXPECT_EQ(Bytes(info), c.want_info);
    }
}

TEST(ComposeVerticalFit, SecondMarkFitsAgainstBaseAndFirstMark) {
    // Base on rows 10-15; a mark above (rows 0-1) lands on rows 6-7; a second mark above is then
    // fitted against the merged cell (top 6) and lands on rows 2-3.
    _SWFONTINFO info = Info(2, 2, 10, 8);
    const Record mark = Block(10, 3, 5, 0, 1);
    Compose(mark, kMark, 10, &info);
    EXPECT_EQ(Bytes(info), (std::vector<int>{2, 2, 6, 8, 1, 0}));
    const Composed second = Compose(mark, kMark, 10, &info);
    EXPECT_EQ(InkOf(second.columns, 10).rows, Rows(2, 3));
    EXPECT_EQ(Bytes(info), (std::vector<int>{2, 2, 2, 8, 1, 0}));
}

TEST(ComposeVerticalFit, OnlyMarksWithBothFlagsAreFitted) {
    const Record mark = Block(10, 3, 5, 0, 1);
    for (unsigned int flags : {0u, SWFONT_FLAG_OVERSTRIKE, SWFONT_FLAG_VFIT}) {
        SCOPED_TRACE(flags);
        _SWFONTINFO info = Info(4, 4, 10, 8);
        const Composed out = Compose(mark, flags, 10, &info);
        EXPECT_EQ(InkOf(out.columns, 10).rows, Rows(0, 1)) << "not moved";
        // Without a fit the record describes this glyph alone.
        EXPECT_EQ(Bytes(info), (std::vector<int>{3, 4, 0, 22, static_cast<int>(flags & 1), 0}));
    }
    // Without a record nothing is fitted.
    const Composed out = Compose(mark, kMark, 10, nullptr);
    EXPECT_EQ(InkOf(out.columns, 10).rows, Rows(0, 1));
}

TEST(ComposeVerticalFit, MadeUpRecordsStayDefinedAndKeepTheSequenceLength) {
    // Margins no real cell has: shifts far beyond the cell must blank the mark, not misbehave.
    const Record above = Block(10, 3, 5, 0, 1);
    const Record below = Block(10, 3, 5, 22, 23);
    const _SWFONTINFO made_up[] = {Info(0, 0, 254, 0), Info(0, 0, 0, 254), Info(254, 254, 254, 254),
                                   Info(0, 0, 100, 100), Info(9, 9, 23, 23)};
    for (const _SWFONTINFO& r : made_up) {
        for (const Record& mark : {above, below}) {
            _SWFONTINFO info = r;
            const Composed out = Compose(mark, kMark, 10, &info);
            EXPECT_EQ(out.status, 47);
            EXPECT_EQ(info.Overstrike, 1);
        }
    }
    // A mark pushed out of the cell leaves the previous cell's margins.
    _SWFONTINFO info = Info(5, 5, 254, 0);
    const Composed out = Compose(above, kMark, 10, &info);
    EXPECT_EQ(InkOf(out.columns, 10).rows, 0u);
    EXPECT_EQ(Bytes(info), (std::vector<int>{5, 5, 254, 0, 1, 0}));
}

TEST(ComposeSequence, ReadsLikeTheCommandTable) {
    for (int W : {10, 13, 18, 24}) {
        for (unsigned int flags : {0u, SWFONT_FLAG_OVERSTRIKE}) {
            SCOPED_TRACE(W * 100 + static_cast<int>(flags));
            const Record glyph = testutil::Numbered(W);
            std::vector<unsigned char> buffer(128, 0xEE);
            const unsigned char ch = W == 24 ? 0x80 : 0x41;
            const int n = ComposeGlyph(glyph, flags, W, ch, buffer.data(), nullptr,
                                       SWFONT_JUSTIFICATION_NONE);
            std::vector<unsigned char> want = {0x1B, 0x26, 3,
                                               ch,   ch,   static_cast<unsigned char>(W)};
            want.reserve(128);  // also keeps gcc 12's -Warray-bounds false positive away
            want.insert(want.end(), glyph.begin() + 4, glyph.end());
            want.insert(want.end(), {0x1B, 0x25, 0x01});
            if (flags != 0) want.push_back(0x08);
            want.insert(want.end(), {ch, 0x1B, 0x25, 0x00, 0x1B, 0x25, 0xAA});
            ASSERT_EQ(n, static_cast<int>(want.size()));
            EXPECT_EQ(n, 3 * W + 16 + (flags != 0 ? 1 : 0));
            EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + n), want);
            EXPECT_EQ(buffer[static_cast<std::size_t>(n)], 0xEE);
        }
    }
}

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The glyph column operations: moving a picture sideways and up or down, and measuring it.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "fontmgr/glyph_column.h"
#include "tests/test_util.h"

using testutil::Block;
using testutil::Column;
using testutil::Numbered;
using testutil::Record;
using testutil::Rows;

namespace {

struct Margins {
    int left, right, top, bottom;
    bool operator==(const Margins& o) const {
        return left == o.left && right == o.right && top == o.top && bottom == o.bottom;
    }
};

Margins Measure(const Record& r, int W) {
    Margins m{-1, -1, -1, -1};
    CalcMarginDataVector(r, W, &m.left, &m.right, &m.top, &m.bottom);
    return m;
}

void PrintTo(const Margins& m, std::ostream* os) {
    *os << "{" << m.left << "," << m.right << "," << m.top << "," << m.bottom << "}";
}

TEST(GlyphShiftZero, ReturnsTheInputByteForByteWhateverItsLength) {
    const Record odd = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};  // not 4 + 3W for any W
    EXPECT_EQ(ShiftH(odd, 0, 10), odd);
    EXPECT_EQ(ShiftV(odd, 0, 10), odd);
    const Record empty;
    EXPECT_EQ(ShiftH(empty, 0, 10), empty);
    EXPECT_EQ(ShiftV(empty, 0, 10), empty);
}

// ShiftH over a 10-column record with distinct columns: where does each input column land?
TEST(GlyphShiftH, MovesColumnsAndBlanksWhatComesIn) {
    struct Case {
        int n;
        std::vector<int> source;  // for each output column, the input column it holds, or -1
    };
    const Case cases[] = {
        {2, {-1, -1, 0, 1, 2, 3, 4, 5, 6, 7}},        {-3, {3, 4, 5, 6, 7, 8, 9, -1, -1, -1}},
        {9, {-1, -1, -1, -1, -1, -1, -1, -1, -1, 0}}, {-9, {9, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        {1, {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
    };
    const Record in = Numbered(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        const Record out = ShiftH(in, c.n, 10);
        ASSERT_EQ(out.size(), 34u);
        EXPECT_EQ(Record(out.begin(), out.begin() + 4), Record(in.begin(), in.begin() + 4));
        for (int col = 0; col < 10; ++col) {
            const std::uint32_t want = c.source[col] < 0 ? 0 : Column(in, c.source[col]);
            EXPECT_EQ(Column(out, col), want) << "column " << col;
        }
    }
}

TEST(GlyphShiftH, NoSurvivingColumnGivesWBlankColumnsBehindTheHeader) {
    const Record in = Numbered(10);
    for (int n : {10, -10, 11, 1000, INT_MAX, INT_MIN, -INT_MAX}) {
        SCOPED_TRACE(n);
        Record want = testutil::BlankRecord(10, {1, 2, 3, 4});
        EXPECT_EQ(ShiftH(in, n, 10), want);
    }
    for (int W : {0, -1, INT_MIN}) {
        SCOPED_TRACE(W);
        EXPECT_EQ(ShiftH(in, 3, W), (Record{1, 2, 3, 4}));
    }
}

TEST(GlyphShiftV, MovesDotsWithinEachColumn) {
    struct Case {
        int n;
        std::uint32_t in, out;
    };
    const Case cases[] = {
        {1, 0x000001, 0x000002},   // bottom dot moves up one row
        {1, 0x800000, 0x000000},   // top dot leaves the cell
        {-1, 0x800000, 0x400000},  // top dot moves down one row
        {-1, 0x000001, 0x000000},  // bottom dot leaves the cell
        {3, Rows(8, 11), Rows(5, 8)},
        {-3, Rows(8, 11), Rows(11, 14)},
        {23, 0x000001, 0x800000},
        {-23, 0x800000, 0x000001},
        {24, 0xFFFFFF, 0},
        {-24, 0xFFFFFF, 0},
        {-31, 0xFFFFFF, 0},
        {32, 0xFFFFFF, 0},  // no shift of a 32-bit value by 32 or more
        {-40, 0xFFFFFF, 0},
        {INT_MAX, 0xFFFFFF, 0},
        {INT_MIN, 0xFFFFFF, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        Record in = testutil::BlankRecord(10, {1, 2, 3, 4});
        for (int col = 0; col < 10; ++col) testutil::SetColumn(in, col, c.in);
        const Record out = ShiftV(in, c.n, 10);
        ASSERT_EQ(out.size(), 34u);
        EXPECT_EQ(Record(out.begin(), out.begin() + 4), (Record{1, 2, 3, 4}));
        for (int col = 0; col < 10; ++col) EXPECT_EQ(Column(out, col), c.out);
    }
    EXPECT_EQ(ShiftV(Numbered(10), 3, 0), (Record{1, 2, 3, 4}));
}

TEST(GlyphShift, DropsColumnsBeyondW) {
    const Record twelve = Numbered(12);
    const Record h = ShiftH(twelve, 1, 10);
    ASSERT_EQ(h.size(), 34u);
    EXPECT_EQ(Column(h, 9), Column(twelve, 8));
    const Record v = ShiftV(twelve, 1, 10);
    ASSERT_EQ(v.size(), 34u);
    EXPECT_EQ(Column(v, 9), (Column(twelve, 9) << 1) & 0xFFFFFF);
}

TEST(GlyphShift, ShortRecordReadsAsBlankInsteadOfOutOfBounds) {
    // Two columns stored, ten claimed: the missing eight are blank.
    const Record shortrec = {1, 2, 3, 4, 0x80, 0, 0, 0, 0, 1};
    const Record h = ShiftH(shortrec, 1, 10);
    ASSERT_EQ(h.size(), 34u);
    EXPECT_EQ(Column(h, 1), 0x800000u);
    EXPECT_EQ(Column(h, 2), 0x000001u);
    for (int c = 3; c < 10; ++c) EXPECT_EQ(Column(h, c), 0u);
    EXPECT_EQ(ShiftV(Record{7}, 1, 2), (Record{7, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Measure(shortrec, 10), (Margins{0, 8, 0, 0}));
}

TEST(GlyphMargins, MeasuresTheInkOfTheFirstWColumns) {
    struct Case {
        const char* what;
        Record record;
        int W;
        Margins want;
    };
    Record corners = testutil::BlankRecord(10);
    testutil::SetColumn(corners, 0, 0x800000);
    testutil::SetColumn(corners, 9, 0x000001);
    Record wrong_header_and_tail = Block(13, 3, 5, 8, 11, {0, 0, 0, 0});
    wrong_header_and_tail.insert(wrong_header_and_tail.end(), {0xFF, 0xFF, 0xFF});
    const Case cases[] = {
        {"single dot", Block(10, 3, 3, 7, 7), 10, {3, 6, 7, 16}},
        {"single dot, wide", Block(24, 23, 23, 0, 0), 24, {23, 0, 0, 23}},
        {"ink in every edge", corners, 10, {0, 0, 0, 0}},
        {"header and trailing bytes ignored", wrong_header_and_tail, 13, {3, 7, 8, 12}},
        {"blank glyph", testutil::BlankRecord(10), 10, {255, 255, 255, 255}},
        {"no columns", Block(10, 0, 9, 0, 23), 0, {255, 255, 255, 255}},
        {"negative width", Block(10, 0, 9, 0, 23), -5, {255, 255, 255, 255}},
        {"alef-like stroke", Block(10, 4, 5, 4, 15), 10, {4, 4, 4, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Measure(c.record, c.W), c.want);
    }
}

TEST(GlyphMargins, EveryOutParameterIsWritten) {
    int l = -7, r = -7, t = -7, b = -7;
    CalcMarginDataVector(Block(18, 2, 15, 1, 22), 18, &l, &r, &t, &b);
    EXPECT_EQ(l, 2);
    EXPECT_EQ(r, 2);
    EXPECT_EQ(t, 1);
    EXPECT_EQ(b, 1);
}

}  // namespace

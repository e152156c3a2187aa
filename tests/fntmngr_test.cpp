// SPDX-License-Identifier: Apache-2.0
// CFntMngr through the library's exported interface, with the real built-in fonts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "fontmgr/glyph_column.h"
#include "tests/test_util.h"

using testutil::Bytes;
using testutil::Column;
using testutil::FontGlyph;
using testutil::Record;

namespace {

constexpr int kArabic = 1256;
constexpr int kAlef = 0x0627;
constexpr int kFatha = 0x064E;
constexpr int kWideIdeograph = 0x9FA6;
constexpr int kWidths[] = {10, 13, 18, 24};

// A code point every font of the width has.
int SampleGlyph(int W) {
    return W == 24 ? kWideIdeograph : kAlef;
}

_SWFONTINFO Marked() {
    return {11, 12, 13, 14, 15, 16};
}

TEST(DrawBufferRefusals, AreTestedInOrderAndTouchNothing) {
    struct Case {
        int code_point, code_page, width, height, want;
    };
    const Case cases[] = {
        {kAlef, 437, 11, 23, SWFONT_ERR_HEIGHT},
        {kAlef, 437, 11, 25, SWFONT_ERR_HEIGHT},
        {kAlef, kArabic, 10, 0, SWFONT_ERR_HEIGHT},
        {kAlef, kArabic, 10, -24, SWFONT_ERR_HEIGHT},
        {kAlef, 437, 11, 24, SWFONT_ERR_CODEPAGE},
        {kAlef, 0, 10, 24, SWFONT_ERR_CODEPAGE},
        {kAlef, -1256, 10, 24, SWFONT_ERR_CODEPAGE},
        {kAlef, kArabic, 11, 24, SWFONT_ERR_WIDTH},
        {kAlef, kArabic, 0, 24, SWFONT_ERR_WIDTH},
        {kAlef, kArabic, -10, 24, SWFONT_ERR_WIDTH},
        {kAlef, kArabic, 42, 24, SWFONT_ERR_WIDTH},
        {kAlef, kArabic, INT_MIN, 24, SWFONT_ERR_WIDTH},
        {kAlef, kArabic, 24, 24, SWFONT_ERR_NO_GLYPH},
        {kWideIdeograph, kArabic, 10, 24, SWFONT_ERR_NO_GLYPH},
        {0x41, kArabic, 13, 24, SWFONT_ERR_NO_GLYPH},
        {-1, 932, 18, 24, SWFONT_ERR_NO_GLYPH},
        {0x10627, kArabic, 10, 24, SWFONT_ERR_NO_GLYPH},
        {INT_MIN, kArabic, 10, 24, SWFONT_ERR_NO_GLYPH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code_point << " cp " << c.code_page << " w " << c.width
                                        << " h " << c.height);
        EXPECT_EQ(CFntMngr::GetFontDrawBuffer(c.code_point, c.code_page, c.width, c.height, nullptr,
                                              nullptr, SWFONT_JUSTIFICATION_NONE),
                  c.want);
        std::vector<unsigned char> buffer(128, 0xEE);
        _SWFONTINFO info = Marked();
        EXPECT_EQ(CFntMngr::GetFontDrawBuffer(c.code_point, c.code_page, c.width, c.height,
                                              buffer.data(), &info, SWFONT_JUSTIFICATION_LEFT),
                  c.want);
        EXPECT_EQ(buffer, std::vector<unsigned char>(128, 0xEE));
        EXPECT_EQ(Bytes(info), Bytes(Marked()));
    }
}

TEST(DrawBufferWidths, WithoutBufferReportTheRecordLengthAndTouchNothing) {
    const int want[] = {34, 43, 58, 76};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kWidths[i]);
        _SWFONTINFO info = Marked();
        EXPECT_EQ(CFntMngr::GetFontDrawBuffer(SampleGlyph(kWidths[i]), kArabic, kWidths[i], 24,
                                              nullptr, &info, SWFONT_JUSTIFICATION_RIGHT),
                  want[i]);
        EXPECT_EQ(Bytes(info), Bytes(Marked()));
    }
}

TEST(DrawBufferWidths, WithBufferWriteTheWholeSequenceAndTheRecord) {
    for (int W : kWidths) {
        for (bool with_record : {false, true}) {
            SCOPED_TRACE(testing::Message() << W << (with_record ? " with record" : ""));
            unsigned int flags = 99;
            const Record glyph = FontGlyph(W, SampleGlyph(W), &flags);
            ASSERT_EQ(glyph.size(), 4u + 3u * static_cast<unsigned>(W));
            const unsigned char ch = W == 24 ? 0x80 : 0x41;

            std::vector<unsigned char> buffer(128, 0xEE);
            _SWFONTINFO info = Marked();
            const int n = CFntMngr::GetFontDrawBuffer(SampleGlyph(W), 932, W, 24, buffer.data(),
                                                      with_record ? &info : nullptr,
                                                      SWFONT_JUSTIFICATION_NONE);
            ASSERT_EQ(n, 3 * W + 16);
            std::vector<unsigned char> want = {0x1B, 0x26, 0x03,
                                               ch,   ch,   static_cast<unsigned char>(W)};
            want.reserve(128);  // also keeps gcc 12's -Warray-bounds false positive away
            want.insert(want.end(), glyph.begin() + 4, glyph.end());
            want.insert(want.end(), {0x1B, 0x25, 0x01, ch, 0x1B, 0x25, 0x00, 0x1B, 0x25, 0xAA});
            EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + n), want);
            EXPECT_EQ(buffer[static_cast<std::size_t>(n)], 0xEE);
            if (with_record) {
                const int hjust = (flags & SWFONT_FLAG_HJUST) != 0 ? 1 : 0;
                EXPECT_EQ(Bytes(info),
                          (std::vector<int>{glyph[0], glyph[1], glyph[2], glyph[3], 0, hjust}));
            } else {
                EXPECT_EQ(Bytes(info), Bytes(Marked()));
            }
        }
    }
}

// The sequence around the font's own columns: define, select, print, cancel twice.
TEST(DrawBufferAlef, PlainTenDotGlyphIsFortySixBytes) {
    std::vector<unsigned char> buffer(128, 0);
    _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
    ASSERT_EQ(CFntMngr::GetFontDrawBuffer(kAlef, kArabic, 10, 24, buffer.data(), &info,
                                          SWFONT_JUSTIFICATION_NONE),
              46);
    unsigned int flags = 0;
    const Record glyph = FontGlyph(10, kAlef, &flags);
    std::vector<unsigned char> want = {27, 38, 3, 65, 65, 10};
    want.insert(want.end(), glyph.begin() + 4, glyph.end());
    want.insert(want.end(), {27, 37, 1, 65, 27, 37, 0, 27, 37, 170});
    EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + 46), want);
    EXPECT_EQ(Bytes(info), (std::vector<int>{glyph[0], glyph[1], glyph[2], glyph[3], 0, 1}));
}

TEST(DrawBufferAlef, JustificationMovesTheRealAlef) {
    struct Case {
        _SWFONT_JUSTIFICATION j;
        int want_left, want_right;
    };
    for (const Case& c :
         {Case{SWFONT_JUSTIFICATION_LEFT, 1, 7}, Case{SWFONT_JUSTIFICATION_RIGHT, 7, 1},
          Case{SWFONT_JUSTIFICATION_NONE, 4, 4},
          Case{static_cast<_SWFONT_JUSTIFICATION>(3), 4, 4}}) {
        SCOPED_TRACE(static_cast<int>(c.j));
        std::vector<unsigned char> buffer(128, 0);
        _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
        ASSERT_EQ(CFntMngr::GetFontDrawBuffer(kAlef, kArabic, 10, 24, buffer.data(), &info, c.j),
                  46);
        EXPECT_EQ(info.LeftMargin, c.want_left);
        EXPECT_EQ(info.RightMargin, c.want_right);
        const Record printed(buffer.begin() + 2, buffer.begin() + 36);  // 4 bytes before columns
        EXPECT_EQ(Column(printed, c.want_left), 0x0FFF00u);
        EXPECT_EQ(Column(printed, c.want_left + 1), 0x0FFF00u);
    }
}

TEST(DrawBufferMarks, FathaOverAlefPrintsOverItWithMergedMargins) {
    std::vector<unsigned char> buffer(128, 0);
    _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
    ASSERT_EQ(CFntMngr::GetFontDrawBuffer(kAlef, kArabic, 10, 24, buffer.data(), &info,
                                          SWFONT_JUSTIFICATION_NONE),
              46);
    // Only bytes 0 to 3 of the record are read: the flag bytes on entry change nothing.
    info.Overstrike = 1;
    info.HJust = 7;
    ASSERT_EQ(CFntMngr::GetFontDrawBuffer(kFatha, kArabic, 10, 24, buffer.data(), &info,
                                          SWFONT_JUSTIFICATION_NONE),
              47);
    EXPECT_EQ(buffer[36], 0x1B);
    EXPECT_EQ(buffer[39], 0x08) << "BS just before the character code";
    EXPECT_EQ(buffer[40], 0x41);
    EXPECT_EQ(buffer[46], 0xAA);
    // The fatha (rows 0-1) is two rows above the alef (from row 4): it stays where it is drawn.
    const Record printed(buffer.begin() + 2, buffer.begin() + 36);
    EXPECT_EQ(Column(printed, 2), 0x400000u);
    EXPECT_EQ(Bytes(info), (std::vector<int>{2, 2, 0, 8, 1, 0}));
}

// Every Arabic mark of the font, fitted over and under real base letters in every narrow width:
// the printed mark is the font's mark moved only vertically, a gap of 3 rows or more is closed to
// exactly 2, a smaller gap or overlapping ink is left alone, and the record holds the union.
TEST(DrawBufferMarks, RealMarksFitAgainstRealBases) {
    const int bases[] = {0x0627, 0x0628, 0xFE91, 0xFE8E, 0x0644, 0x06CC, 0x0645};
    int moved = 0, kept = 0;
    for (int W : {10, 13, 18}) {
        for (int base : bases) {
            for (int mark = 0x0610; mark <= 0x08FF; ++mark) {
                unsigned int flags = 0;
                const Record glyph = FontGlyph(W, mark, &flags);
                if (flags != (SWFONT_FLAG_OVERSTRIKE | SWFONT_FLAG_VFIT)) continue;
                SCOPED_TRACE(testing::Message()
                             << "width " << W << " base " << std::hex << base << " mark " << mark);
                std::vector<unsigned char> buffer(128, 0);
                _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
                ASSERT_GT(CFntMngr::GetFontDrawBuffer(base, kArabic, W, 24, buffer.data(), &info,
                                                      SWFONT_JUSTIFICATION_NONE),
                          0);
                const _SWFONTINFO base_info = info;
                const int n = CFntMngr::GetFontDrawBuffer(mark, kArabic, W, 24, buffer.data(),
                                                          &info, SWFONT_JUSTIFICATION_NONE);
                ASSERT_EQ(n, 3 * W + 17);
                const Record printed(buffer.begin() + 2, buffer.begin() + 6 + 3 * W);

                // Find the vertical move k (up positive) that turns the font's mark into the
                // printed one.
                int k = 99;
                for (int cand = -23; cand <= 23 && k == 99; ++cand) {
                    bool all = true;
                    for (int c = 0; c < W && all; ++c) {
                        const std::uint32_t v = Column(glyph, c);
                        const std::uint32_t s = cand >= 0 ? (v << cand) & 0xFFFFFF : v >> -cand;
                        all = s == Column(printed, c);
                    }
                    if (all) k = cand;
                }
                ASSERT_NE(k, 99) << "the mark was changed, not only moved vertically";
                // Blank rows between a mark's ink and the base's ink, above or below it (negative
                // when they overlap).
                auto gap = [&](int mark_top, int mark_bottom) {
                    return std::max(mark_bottom + base_info.TopMargin,
                                    mark_top + base_info.BottomMargin) -
                           24;
                };
                int l, r, t, b;
                CalcMarginDataVector(printed, W, &l, &r, &t, &b);
                if (k != 0) {
                    EXPECT_EQ(gap(t, b), 2) << "a mark that moved sits two rows from the letter";
                } else {
                    EXPECT_LE(gap(glyph[2], glyph[3]), 2) << "a mark further away must move";
                }
                (k == 0 ? kept : moved)++;
                // No ink is lost by the move.
                EXPECT_EQ(t + b, glyph[2] + glyph[3]);
                EXPECT_EQ(info.TopMargin, std::min(t, static_cast<int>(base_info.TopMargin)));
                EXPECT_EQ(info.BottomMargin, std::min(b, static_cast<int>(base_info.BottomMargin)));
                EXPECT_EQ(info.LeftMargin, std::min(l, static_cast<int>(base_info.LeftMargin)));
                EXPECT_EQ(info.Overstrike, 1);
            }
        }
    }
    // Both outcomes occur over real letters: marks drawn at the cell edge are moved in.
    EXPECT_GT(moved, 100);
    EXPECT_GT(kept, 0);
}

TEST(DrawBufferMarks, SoundMarkWithoutVFitStaysWhereDrawn) {
    for (int W : {10, 13, 18}) {
        unsigned int flags = 0;
        const Record mark = FontGlyph(W, 0x3099, &flags);
        ASSERT_EQ(flags, SWFONT_FLAG_OVERSTRIKE);
        std::vector<unsigned char> buffer(128, 0);
        _SWFONTINFO info = {0, 0, 20, 0, 0, 0};
        ASSERT_EQ(CFntMngr::GetFontDrawBuffer(0x3099, 932, W, 24, buffer.data(), &info,
                                              SWFONT_JUSTIFICATION_NONE),
                  3 * W + 17);
        EXPECT_EQ(Record(buffer.begin() + 6, buffer.begin() + 6 + 3 * W),
                  Record(mark.begin() + 4, mark.end()));
        EXPECT_EQ(Bytes(info), (std::vector<int>{mark[0], mark[1], mark[2], mark[3], 1, 0}));
    }
}

TEST(CapabilityQueries, CodePages) {
    for (int cp : {1256, 864, 720, 1098, 862, 1255, 290, 20290, 932, 936, 54936}) {
        EXPECT_TRUE(IsCPSupported(cp)) << cp;
    }
    for (int cp : {0, 437, 1252, 937, -1256, 65001, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(IsCPSupported(cp)) << cp;
    }
}

TEST(CapabilityQueries, FontWidths) {
    for (int w : kWidths) EXPECT_TRUE(CFntMngr::IsFontWidthSupported(w)) << w;
    for (int w : {0, 9, 11, 12, 25, 32, 42, -10, 266, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(CFntMngr::IsFontWidthSupported(w)) << w;
    }
}

TEST(CapabilityQueries, CharAvailable) {
    struct Case {
        int code_point, code_page, width, height;
        bool want;
    };
    const Case cases[] = {
        {kAlef, kArabic, 10, 24, true},
        {kAlef, kArabic, 13, 24, true},
        {kAlef, 1255, 18, 24, true},  // the code page admits; the font decides
        {kAlef, kArabic, 24, 24, false},
        {kWideIdeograph, kArabic, 24, 24, true},
        {kWideIdeograph, kArabic, 10, 24, false},
        {kAlef, kArabic, 10, 23, false},
        {kAlef, kArabic, 10, 25, false},
        {kAlef, 437, 10, 24, false},
        {kAlef, kArabic, 12, 24, false},
        {0x41, kArabic, 10, 24, false},
        {0x4E00, 936, 24, 24, false},
        {0x3099, 932, 13, 24, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CFntMngr::CharAvailable(c.code_point, c.code_page, c.width, c.height), c.want)
            << std::hex << c.code_point << std::dec << " cp " << c.code_page << " w " << c.width
            << " h " << c.height;
    }
}

}  // namespace

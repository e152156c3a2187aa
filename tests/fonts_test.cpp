// SPDX-License-Identifier: Apache-2.0
// The four built-in fonts, seen through their exported lookups: which code points they answer,
// with which flag word and record, and whether the artwork keeps the conventions the
// composition relies on (base line, marks at the cell edge, joining strokes, box drawing).
//
// The coverage and flag tables below are written out here on their own, and are deliberately not
// generated from the font generator's coverage list, so that a fault in one shows against the
// other.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "fonts/fonts.h"

namespace {

using Record = std::vector<unsigned char>;
using Lookup = Record (*)(int, unsigned int*);

struct Font {
    const char* name;
    int width;
    Lookup lookup;
    bool narrow;
};

const Font kFonts[] = {
    {"10x24", 10, &CFont10x24::GetBuffer10x24, true},
    {"13x24", 13, &CFont13x24::GetBuffer13x24, true},
    {"18x24", 18, &CFont18x24::GetBuffer18x24, true},
    {"24x24", 24, &CFont24x24::GetBuffer24x24, false},
};

constexpr int kRows = 24;
constexpr int kConnectorRow = 15;  // Arabic letters stand on it; joining strokes run along it

struct Range {
    int first;
    int last;
};

// Narrow-font coverage, block by block.
const Range kNarrowCoverage[] = {
    {0x00A5, 0x00A5},
    {0x00A8, 0x00A8},
    {0x00B7, 0x00B7},
    // Arabic
    {0x0601, 0x0615},
    {0x0617, 0x061B},
    {0x061D, 0x06D5},
    {0x06D8, 0x06DC},
    {0x06DF, 0x06E8},
    {0x06EA, 0x06FF},
    // Arabic Supplement, Extended-B, Extended-A
    {0x0750, 0x077F},
    {0x0870, 0x088E},
    {0x089C, 0x089F},
    {0x08A0, 0x08D3},
    {0x08D5, 0x08D9},
    {0x08E0, 0x08FF},
    // General Punctuation
    {0x2013, 0x2014},
    {0x2018, 0x201A},
    {0x201C, 0x201E},
    {0x2020, 0x2022},
    {0x2026, 0x2026},
    {0x2030, 0x2030},
    {0x2039, 0x203A},
    {0x203E, 0x203E},
    // Currency, letterlike, maths
    {0x20AC, 0x20AC},
    {0x2122, 0x2122},
    {0x2219, 0x221A},
    {0x221E, 0x221E},
    {0x2248, 0x2248},
    // Box drawing
    {0x2500, 0x2500},
    {0x2502, 0x2502},
    {0x250C, 0x250C},
    {0x2510, 0x2510},
    {0x2514, 0x2514},
    {0x2518, 0x2518},
    {0x251C, 0x251C},
    {0x2524, 0x2524},
    {0x252C, 0x252C},
    {0x2534, 0x2534},
    {0x253C, 0x253C},
    {0x2550, 0x2551},
    {0x2554, 0x2554},
    {0x2557, 0x2557},
    {0x255A, 0x255A},
    {0x255D, 0x255D},
    {0x2560, 0x2560},
    {0x2563, 0x2563},
    {0x2566, 0x2566},
    {0x2569, 0x2569},
    {0x256C, 0x256C},
    // Block elements, geometric shapes
    {0x2580, 0x2580},
    {0x2584, 0x2584},
    {0x2588, 0x2588},
    {0x2591, 0x2593},
    {0x25A0, 0x25A0},
    // CJK punctuation, kana
    {0x3001, 0x3002},
    {0x300C, 0x300D},
    {0x3012, 0x3012},
    {0x3036, 0x3036},
    {0x3099, 0x309C},
    {0x30A0, 0x30FF},
    // the twelve kanji
    {0x4EBA, 0x4EBA},
    {0x5186, 0x5186},
    {0x5206, 0x5206},
    {0x533A, 0x533A},
    {0x5E02, 0x5E02},
    {0x5E74, 0x5E74},
    {0x65E5, 0x65E5},
    {0x6642, 0x6642},
    {0x6708, 0x6708},
    {0x6751, 0x6751},
    {0x753A, 0x753A},
    {0x79D2, 0x79D2},
    // Private use
    {0xE001, 0xE001},
    {0xE003, 0xE009},
    {0xE010, 0xE016},
    {0xF8BE, 0xF8C0},
    {0xF8F9, 0xF8FB},
    // Arabic presentation forms
    {0xFB50, 0xFBC2},
    {0xFBD3, 0xFBE9},
    {0xFBFC, 0xFBFF},
    {0xFE71, 0xFE71},
    {0xFE73, 0xFE73},
    {0xFE77, 0xFE77},
    {0xFE79, 0xFE79},
    {0xFE7B, 0xFE7B},
    {0xFE7D, 0xFE7D},
    {0xFE7F, 0xFEF8},
    {0xFEFB, 0xFEFC},
};

struct FlagRanges {
    unsigned int flag;
    std::vector<Range> ranges;
};

const FlagRanges kNarrowFlags[] = {
    {0x03,
     {{0x0610, 0x0615},
      {0x061A, 0x061A},
      {0x064B, 0x065F},
      {0x0670, 0x0670},
      {0x06D8, 0x06DC},
      {0x06DF, 0x06E8},
      {0x06EA, 0x06ED},
      {0x089C, 0x089C},
      {0x089E, 0x089E},
      {0x08CA, 0x08CC},
      {0x08CE, 0x08D3},
      {0x08E4, 0x08FF},
      {0xFBB4, 0xFBB6},
      {0xFBB8, 0xFBC1},
      {0xFE71, 0xFE71}}},
    {0x01, {{0x3099, 0x309A}}},
    {0x10,
     {{0x0622, 0x0623},
      {0x0625, 0x0625},
      {0x0627, 0x0627},
      {0x0671, 0x0673},
      {0x0675, 0x0675},
      {0x0773, 0x0774},
      {0x0870, 0x0882},
      {0xFB50, 0xFB50},
      {0xFE81, 0xFE81},
      {0xFE83, 0xFE83},
      {0xFE87, 0xFE87},
      {0xFE8D, 0xFE8D}}},
};

const Range kWideCoverage[] = {{0x4DB6, 0x4DBF}, {0x9FA6, 0x9FB3}, {0x9FBC, 0x9FFF}};

// Glyphs whose stored header is not the margins measured on their columns: the composition and
// the placement record go by the stored header.
struct StoredHeader {
    int width;
    int code_point;
    unsigned char header[4];
};

const StoredHeader kDeviatingHeaders[] = {
    {10, 0x06D2, {0, 0, 11, 0}}, {10, 0x06D3, {0, 0, 6, 0}},  {10, 0x077A, {0, 0, 7, 0}},
    {10, 0x077B, {0, 0, 7, 0}},  {10, 0x3012, {1, 1, 2, 3}},  {10, 0x533A, {0, 0, 2, 3}},
    {10, 0xFB51, {2, 0, 0, 0}},  {10, 0xFBAE, {0, 0, 11, 0}}, {10, 0xFBAF, {0, 0, 14, 0}},
    {10, 0xFBB0, {0, 0, 6, 0}},  {10, 0xFBB1, {0, 0, 9, 0}},  {10, 0xFE82, {2, 0, 0, 0}},
    {10, 0xFE84, {3, 0, 0, 0}},  {10, 0xFE88, {3, 0, 4, 0}},  {10, 0xFE8E, {4, 0, 4, 0}},
    {13, 0x533A, {0, 0, 3, 2}},
};

std::map<int, unsigned int> NarrowExpectation() {
    std::map<int, unsigned int> flags;
    for (const Range& r : kNarrowCoverage) {
        for (int cp = r.first; cp <= r.last; ++cp) flags[cp] = 0;
    }
    for (const FlagRanges& f : kNarrowFlags) {
        for (const Range& r : f.ranges) {
            for (int cp = r.first; cp <= r.last; ++cp) flags[cp] = f.flag;
        }
    }
    return flags;
}

std::map<int, unsigned int> WideExpectation() {
    std::map<int, unsigned int> flags;
    for (const Range& r : kWideCoverage) {
        for (int cp = r.first; cp <= r.last; ++cp) flags[cp] = 0;
    }
    return flags;
}

const std::map<int, unsigned int>& Expectation(const Font& font) {
    static const std::map<int, unsigned int> narrow = NarrowExpectation();
    static const std::map<int, unsigned int> wide = WideExpectation();
    return font.narrow ? narrow : wide;
}

// --- reading a record ----------------------------------------------------------------------

bool Ink(const Record& rec, int c, int r) {
    const unsigned char byte =
        rec[4 + 3 * static_cast<std::size_t>(c) + static_cast<std::size_t>(r / 8)];
    return (byte >> (7 - r % 8)) & 1;
}

struct Margins {
    int left, right, top, bottom;
    bool operator==(const Margins& o) const {
        return left == o.left && right == o.right && top == o.top && bottom == o.bottom;
    }
};

// The blank margins of the picture, measured dot by dot; 255 each for a blank picture.
Margins Measure(const Record& rec, int width) {
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (!Ink(rec, c, r)) continue;
            if (left < 0) left = c;
            right = c;
            if (top < 0 || r < top) top = r;
            if (r > bottom) bottom = r;
        }
    }
    if (left < 0) return {255, 255, 255, 255};
    return {left, width - 1 - right, top, kRows - 1 - bottom};
}

Margins StoredMargins(const Record& rec) {
    return {rec[0], rec[1], rec[2], rec[3]};
}

std::string Hex(int cp) {
    std::ostringstream s;
    s << "U+" << std::hex << std::uppercase << cp;
    return s.str();
}

std::ostream& operator<<(std::ostream& os, const Margins& m) {
    return os << "(" << m.left << ", " << m.right << ", " << m.top << ", " << m.bottom << ")";
}

Record Get(const Font& font, int cp) {
    unsigned int flags = 0;
    return font.lookup(cp, &flags);
}

// --- the whole code space -------------------------------------------------------------------

// Every value a caller can pass, checked against the coverage and flag tables, for every font:
// presence, flag word (written also when absent, over whatever the caller left there), record
// length, stored header (no 255; the measured margins except the listed deviations) and ink.
void WalkCodePoint(const Font& font, long long value, int& failures) {
    const int cp = static_cast<int>(value);
    const auto& expected = Expectation(font);
    const auto it = expected.find(cp);
    const bool present = it != expected.end();
    const std::size_t length = 4 + 3 * static_cast<std::size_t>(font.width);

    unsigned int flags = 0xA5A5A5A5u;
    const Record rec = font.lookup(cp, &flags);
    auto fail = [&](const std::string& what) {
        if (++failures <= 20)
            ADD_FAILURE() << font.name << " " << Hex(cp) << " (" << cp << "): " << what;
    };
    if (!present) {
        if (!rec.empty()) fail("answers a code point it must not hold");
        if (flags != 0) fail("flag word not cleared for an absent code point");
        return;
    }
    if (rec.size() != length) {
        fail("record of " + std::to_string(rec.size()) + " bytes");
        return;
    }
    if (flags != it->second) fail("flag word " + std::to_string(flags));
    for (int i = 0; i < 4; ++i) {
        if (rec[static_cast<std::size_t>(i)] == 255) fail("255 in the stored header");
    }
    const Margins measured = Measure(rec, font.width);
    if (measured.left == 255) {
        fail("glyph without ink");
        return;
    }
    bool deviating = false;
    for (const StoredHeader& d : kDeviatingHeaders) {
        if (d.width != font.width || d.code_point != cp) continue;
        deviating = true;
        const Margins listed{d.header[0], d.header[1], d.header[2], d.header[3]};
        if (!(StoredMargins(rec) == listed)) fail("deviating header not stored as listed");
    }
    if (!deviating && !(StoredMargins(rec) == measured)) {
        std::ostringstream s;
        s << "stored header " << StoredMargins(rec) << " but measured " << measured;
        fail(s.str());
    }
}

TEST(CodeSpace, EveryFontAnswersExactlyItsTableOverTheWholeRange) {
    std::vector<long long> extra = {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1};
    // values that equal a covered code point in their low 16 or 24 bits
    for (int low : {0x0627, 0x064E, 0x9FFF, 0xFEFC, 0x4DB6}) {
        for (long long high : {0x10000LL, 0x1000000LL, 0x7FFF0000LL, -0x10000LL, -0x80000000LL}) {
            extra.push_back(high + low);
        }
    }
    for (const Font& font : kFonts) {
        int failures = 0;
        for (long long v = -70000; v <= 0x12FFFF; ++v) WalkCodePoint(font, v, failures);
        for (long long v : extra) WalkCodePoint(font, v, failures);
        EXPECT_EQ(failures, 0) << font.name;
    }
}

TEST(CodeSpace, StoredRecordsAreReturnedAsFreshCopies) {
    // A caller that changes its copy must not change what the next caller gets.
    for (const Font& font : kFonts) {
        const int cp = font.narrow ? 0x0627 : 0x9FA6;
        Record first = Get(font, cp);
        ASSERT_FALSE(first.empty()) << font.name;
        const Record original = first;
        for (auto& b : first) b = 0xEE;
        EXPECT_EQ(Get(font, cp), original) << font.name;
    }
}

// --- pinned bytes --------------------------------------------------------------------------

TEST(PinnedGlyphs, AlefAndFathaAtTenDotsKeepTheirBytes) {
    unsigned int flags = 0;
    const Record alef = CFont10x24::GetBuffer10x24(0x0627, &flags);
    const Record expected_alef = {0x04, 0x04, 0x04, 0x08, 0,    0,    0,    0,    0,    0,    0, 0,
                                  0,    0,    0,    0,    0x0F, 0xFF, 0x00, 0x0F, 0xFF, 0x00, 0, 0,
                                  0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(alef, expected_alef);
    EXPECT_EQ(flags, 0x10u);

    const Record fatha = CFont10x24::GetBuffer10x24(0x064E, &flags);
    const Record expected_fatha = {0x02, 0x02, 0x00, 0x16, 0,    0, 0, 0,    0, 0, 0x40, 0,
                                   0,    0x40, 0,    0,    0xC0, 0, 0, 0xC0, 0, 0, 0x80, 0,
                                   0,    0x80, 0,    0,    0,    0, 0, 0,    0, 0};
    EXPECT_EQ(fatha, expected_fatha);
    EXPECT_EQ(flags, 0x03u);
}

// --- artwork conventions ---------------------------------------------------------------------

// Marks fitted vertically to the previous character start from the cell edge on their own side:
// wholly in the top half touching row 0 or 1, or wholly in the bottom half touching row 22 or 23.
TEST(Artwork, FittedMarksLieInTheirHalfAtTheOuterEdge) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        int above = 0, below = 0;
        for (const auto& [cp, flag] : Expectation(font)) {
            if (flag != 0x03 || cp == 0xFE71 || cp == 0xFBBF) continue;
            const Margins m = Measure(Get(font, cp), font.width);
            const int first_row = m.top, last_row = kRows - 1 - m.bottom;
            if (last_row <= 11 && first_row <= 1) {
                ++above;
            } else if (first_row >= 12 && last_row >= 22) {
                ++below;
            } else {
                ADD_FAILURE() << font.name << " " << Hex(cp) << " inks rows " << first_row << ".."
                              << last_row;
            }
        }
        EXPECT_EQ(above + below, 99) << font.name;
        EXPECT_GT(above, 50) << font.name;
        EXPECT_GT(below, 20) << font.name;
    }
}

// Arabic character names, read from the Unicode Character Database that the system ships.
std::map<int, std::string> ArabicNames() {
    std::map<int, std::string> names;
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    std::string line;
    while (std::getline(in, line)) {
        const auto semi = line.find(';');
        const int cp = std::stoi(line.substr(0, semi), nullptr, 16);
        if ((cp >= 0x0600 && cp <= 0x08FF) || (cp >= 0xFB50 && cp <= 0xFEFF)) {
            names[cp] = line.substr(semi + 1, line.find(';', semi + 1) - semi - 1);
        }
    }
    return names;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The printer prints visual order left to right: an initial form joins the letter printed to
// its left, a final form the one to its right, a medial form both. Those strokes must reach the
// cell edge on the connector row; every other Arabic glyph keeps off the edges there, so that
// it does not seem joined to a neighbour.
TEST(Artwork, JoiningFormsReachTheirEdgesOnTheConnectorRowAndNoOthersDo) {
    const auto names = ArabicNames();
    ASSERT_GT(names.size(), 1000u) << "needs /usr/share/unicode/UnicodeData.txt (unicode-data)";
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        int joining = 0;
        for (const auto& [cp, flag] : Expectation(font)) {
            const auto name = names.find(cp);
            if (name == names.end() || flag == 0x03) continue;
            bool left = false, right = false;
            if (EndsWith(name->second, "INITIAL FORM")) left = true;
            if (EndsWith(name->second, "MEDIAL FORM")) left = right = true;
            if (EndsWith(name->second, "FINAL FORM")) right = true;
            if (name->second == "ARABIC TATWEEL") left = right = true;
            joining += left || right;
            const Record rec = Get(font, cp);
            EXPECT_EQ(Ink(rec, 0, kConnectorRow), left)
                << font.name << " " << Hex(cp) << " " << name->second << ": left edge";
            EXPECT_EQ(Ink(rec, font.width - 1, kConnectorRow), right)
                << font.name << " " << Hex(cp) << " " << name->second << ": right edge";
        }
        EXPECT_GT(joining, 150) << font.name;
    }
}

// Letters without anything below the base line end on it, whatever the width.
TEST(Artwork, ArabicLettersStandOnTheBaseLine) {
    const int on_base_line[] = {0x0627, 0x062A, 0x062B, 0x062F, 0x0630, 0x0637, 0x0638,
                                0x0640, 0x0643, 0x0647, 0xFE8E, 0xFE98, 0xFEAA, 0xFEDB};
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (int cp : on_base_line) {
            EXPECT_EQ(Measure(Get(font, cp), font.width).bottom, kRows - 1 - kConnectorRow)
                << font.name << " " << Hex(cp);
        }
    }
}

// The narrow fonts differ in width only: a character sits on the same rows in all three (within
// a row or two of hinting), so a line that mixes widths keeps one base line.
TEST(Artwork, NarrowFontsDrawEachCharacterOnTheSameRows) {
    for (const auto& [cp, flag] : NarrowExpectation()) {
        const Margins m10 = Measure(Get(kFonts[0], cp), 10);
        const Margins m13 = Measure(Get(kFonts[1], cp), 13);
        const Margins m18 = Measure(Get(kFonts[2], cp), 18);
        for (const Margins* m : {&m13, &m18}) {
            EXPECT_LE(std::abs(m->top - m10.top), 2) << Hex(cp);
            EXPECT_LE(std::abs(m->bottom - m10.bottom), 2) << Hex(cp);
        }
        EXPECT_LE(std::abs(m13.top - m18.top), 1) << Hex(cp);
        EXPECT_LE(std::abs(m13.bottom - m18.bottom), 1) << Hex(cp);
    }
}

TEST(Artwork, JapaneseStaysBetweenRowsThreeAndTwenty) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const auto& [cp, flag] : Expectation(font)) {
            if (cp < 0x3000 || cp > 0x9FFF) continue;
            const Margins m = Measure(Get(font, cp), font.width);
            EXPECT_GE(m.top, 3) << font.name << " " << Hex(cp);
            EXPECT_GE(m.bottom, 3) << font.name << " " << Hex(cp);
        }
    }
}

TEST(Artwork, WideIdeographsFillTheirCell) {
    const Font& wide = kFonts[3];
    for (const auto& [cp, flag] : Expectation(wide)) {
        const Margins m = Measure(Get(wide, cp), wide.width);
        // within three columns of each side, yet a blank column each side: two in a run stand
        // two apart, further than the parts of one
        EXPECT_TRUE(m.left >= 1 && m.left <= 3 && m.right >= 1 && m.right <= 3) << Hex(cp);
        // U+9FB0 is a small ideograph that stands low in its cell
        EXPECT_LE(m.top, cp == 0x9FB0 ? 10 : 4) << Hex(cp);
        EXPECT_LE(m.bottom, 4) << Hex(cp);
    }
}

// Length of the run of ink through (c, r) along the step (dc, dr), both ways.
int RunThrough(const Record& rec, int width, int c, int r, int dc, int dr) {
    auto inked = [&](int x, int y) {
        return x >= 0 && x < width && y >= 0 && y < kRows && Ink(rec, x, y);
    };
    int n = 1;
    for (int x = c + dc, y = r + dr; inked(x, y); x += dc, y += dr) ++n;
    for (int x = c - dc, y = r - dr; inked(x, y); x -= dc, y -= dr) ++n;
    return n;
}

// Thermal heads fade one-dot strokes, and an ideograph whose strokes weigh one dot here and two
// there prints patchy: strokes are two dots thick, except where two strokes of a dense ideograph
// stand one blank apart. Counted: dots of a stroke (a run of three or more) one dot thick across.
TEST(Artwork, WideIdeographStrokesAreTwoDotsThick) {
    const Font& wide = kFonts[3];
    constexpr int kMostThinPercentOfAll = 18, kMostThinPercentOfOne = 40;
    int all_ink = 0, all_thin = 0;
    for (const auto& [cp, flag] : Expectation(wide)) {
        const Record rec = Get(wide, cp);
        int ink = 0, thin = 0;
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < wide.width; ++c) {
                if (!Ink(rec, c, r)) continue;
                ++ink;
                const int across = RunThrough(rec, wide.width, c, r, 1, 0);
                const int down = RunThrough(rec, wide.width, c, r, 0, 1);
                thin += (across >= 3 && down == 1) || (down >= 3 && across == 1);
            }
        }
        EXPECT_LE(100 * thin, kMostThinPercentOfOne * ink) << Hex(cp);
        all_ink += ink;
        all_thin += thin;
    }
    EXPECT_LE(100 * all_thin, kMostThinPercentOfAll * all_ink);
}

// A cross three dots square (single dots crossing on one) prints as a checkerboard, and a run
// of ideographs drawn with such crosses reads as a grey band: no dot of a wide ideograph stands
// without ink beside, over or under it while three of its corners are inked.
TEST(Artwork, WideIdeographsHaveNoCheckerboardCrosses) {
    const Font& wide = kFonts[3];
    for (const auto& [cp, flag] : Expectation(wide)) {
        const Record rec = Get(wide, cp);
        auto inked = [&](int c, int r) {
            return c >= 0 && c < wide.width && r >= 0 && r < kRows && Ink(rec, c, r);
        };
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < wide.width; ++c) {
                if (!inked(c, r) || inked(c - 1, r) || inked(c + 1, r) || inked(c, r - 1) ||
                    inked(c, r + 1)) {
                    continue;
                }
                const int corners = inked(c - 1, r - 1) + inked(c + 1, r - 1) +
                                    inked(c - 1, r + 1) + inked(c + 1, r + 1);
                EXPECT_LT(corners, 3) << Hex(cp) << " column " << c << " row " << r;
            }
        }
    }
}

// --- box drawing and blocks -----------------------------------------------------------------

struct BoxSign {
    int cp;
    bool up, down, left, right, dbl;
};

// The arms of each box-drawing sign, read from its Unicode name.
std::vector<BoxSign> BoxSigns() {
    const std::map<std::string, std::vector<bool>> arms = {
        {"HORIZONTAL", {false, false, true, true}},
        {"VERTICAL", {true, true, false, false}},
        {"DOWN AND RIGHT", {false, true, false, true}},
        {"DOWN AND LEFT", {false, true, true, false}},
        {"UP AND RIGHT", {true, false, false, true}},
        {"UP AND LEFT", {true, false, true, false}},
        {"VERTICAL AND RIGHT", {true, true, false, true}},
        {"VERTICAL AND LEFT", {true, true, true, false}},
        {"DOWN AND HORIZONTAL", {false, true, true, true}},
        {"UP AND HORIZONTAL", {true, false, true, true}},
        {"VERTICAL AND HORIZONTAL", {true, true, true, true}},
    };
    std::vector<BoxSign> signs;
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    std::string line;
    while (std::getline(in, line)) {
        const int cp = std::stoi(line.substr(0, line.find(';')), nullptr, 16);
        if (cp < 0x2500 || cp > 0x257F || !NarrowExpectation().count(cp)) continue;
        std::string name = line.substr(line.find(';') + 1);
        name = name.substr(0, name.find(';'));
        const std::string prefix = "BOX DRAWINGS ";
        std::string rest = name.substr(prefix.size());
        const bool dbl = rest.rfind("DOUBLE ", 0) == 0;
        rest = rest.substr(rest.find(' ') + 1);  // drop LIGHT / DOUBLE
        const auto a = arms.find(rest);
        if (a == arms.end()) {
            ADD_FAILURE() << "unexpected box sign " << name;
            continue;
        }
        signs.push_back({cp, a->second[0], a->second[1], a->second[2], a->second[3], dbl});
    }
    return signs;
}

std::vector<int> EdgeRows(const Record& rec, int column) {
    std::vector<int> rows;
    for (int r = 0; r < kRows; ++r) {
        if (Ink(rec, column, r)) rows.push_back(r);
    }
    return rows;
}

std::vector<int> EdgeColumns(const Record& rec, int width, int row) {
    std::vector<int> cols;
    for (int c = 0; c < width; ++c) {
        if (Ink(rec, c, row)) cols.push_back(c);
    }
    return cols;
}

// Any two signs placed side by side (or one above the other) continue each other's lines: an
// arm meets the neighbouring arm on the very same rows (columns), and an edge without an arm
// is blank, so nothing sticks out into the neighbouring cell.
TEST(BoxDrawing, LinesMeetExactlyAcrossNeighbouringCells) {
    const auto signs = BoxSigns();
    ASSERT_EQ(signs.size(), 22u);
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        std::map<bool, std::vector<int>> left_rows, right_rows, top_cols, bottom_cols;
        for (const BoxSign& s : signs) {
            const Record rec = Get(font, s.cp);
            const auto l = EdgeRows(rec, 0), r = EdgeRows(rec, font.width - 1);
            const auto t = EdgeColumns(rec, font.width, 0);
            const auto b = EdgeColumns(rec, font.width, kRows - 1);
            EXPECT_EQ(!l.empty(), s.left) << font.name << " " << Hex(s.cp);
            EXPECT_EQ(!r.empty(), s.right) << font.name << " " << Hex(s.cp);
            EXPECT_EQ(!t.empty(), s.up) << font.name << " " << Hex(s.cp);
            EXPECT_EQ(!b.empty(), s.down) << font.name << " " << Hex(s.cp);
            auto same = [&](std::map<bool, std::vector<int>>& seen, const std::vector<int>& v,
                            const char* edge) {
                if (v.empty()) return;
                if (seen[s.dbl].empty()) seen[s.dbl] = v;
                EXPECT_EQ(v, seen[s.dbl]) << font.name << " " << Hex(s.cp) << " " << edge;
            };
            same(left_rows, l, "left");
            same(right_rows, r, "right");
            same(top_cols, t, "top");
            same(bottom_cols, b, "bottom");
        }
        for (bool dbl : {false, true}) {
            EXPECT_EQ(left_rows[dbl], right_rows[dbl]) << font.name;
            EXPECT_EQ(top_cols[dbl], bottom_cols[dbl]) << font.name;
            EXPECT_EQ(left_rows[dbl].size(), 2u) << font.name << (dbl ? " double" : " light");
            EXPECT_EQ(top_cols[dbl].size(), 2u) << font.name << (dbl ? " double" : " light");
        }
    }
}

// Inside one cell an arm runs unbroken from the edge to the centre: a line drawn through a
// sign never has a gap.
TEST(BoxDrawing, ArmsAreUnbrokenFromEdgeToCentre) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const BoxSign& s : BoxSigns()) {
            const Record rec = Get(font, s.cp);
            const int mid_c = font.width / 2, mid_r = kRows / 2;
            for (int r : EdgeRows(rec, 0)) {
                for (int c = 0; c < mid_c - 2; ++c) EXPECT_TRUE(Ink(rec, c, r)) << Hex(s.cp);
            }
            for (int r : EdgeRows(rec, font.width - 1)) {
                for (int c = mid_c + 2; c < font.width; ++c)
                    EXPECT_TRUE(Ink(rec, c, r)) << Hex(s.cp);
            }
            for (int c : EdgeColumns(rec, font.width, 0)) {
                for (int r = 0; r < mid_r - 2; ++r) EXPECT_TRUE(Ink(rec, c, r)) << Hex(s.cp);
            }
            for (int c : EdgeColumns(rec, font.width, kRows - 1)) {
                for (int r = mid_r + 2; r < kRows; ++r) EXPECT_TRUE(Ink(rec, c, r)) << Hex(s.cp);
            }
        }
    }
}

TEST(BlockElements, HalvesAndFullBlockCoverTheirRows) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        const Record upper = Get(font, 0x2580), lower = Get(font, 0x2584), full = Get(font, 0x2588);
        for (int c = 0; c < font.width; ++c) {
            for (int r = 0; r < kRows; ++r) {
                EXPECT_EQ(Ink(upper, c, r), r < 12) << font.name;
                EXPECT_EQ(Ink(lower, c, r), r >= 12) << font.name;
                EXPECT_TRUE(Ink(full, c, r)) << font.name;
            }
        }
    }
}

// Shades of a quarter, a half and three quarters of ink. Laid out as on paper (the cell
// repeated sideways and downwards), a quarter shade has no two neighbouring dots, a
// three-quarter shade no two neighbouring blanks, and a half shade is a checkerboard, so no
// seam shows between cells. A two-column pattern cannot repeat seamlessly across an odd number
// of columns, so at 13 dots only the joins between rows of cells are checked, and the
// sideways join is allowed the one doubled column it cannot avoid.
TEST(BlockElements, ShadesHaveTheirDensityAndTileWithoutSeams) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        const int w = font.width;
        const int tiled_w = (w % 2 == 0) ? 2 * w : w;
        for (int level = 1; level <= 3; ++level) {
            const Record rec = Get(font, 0x2590 + level);
            auto at = [&](int x, int y) { return Ink(rec, x % w, y % kRows); };
            int dots = 0;
            for (int y = 0; y < 2 * kRows; ++y) {
                for (int x = 0; x < tiled_w; ++x) {
                    dots += y < kRows && x < w && at(x, y);
                    const bool here = at(x, y);
                    for (const auto& [nx, ny] : {std::pair<int, int>{x + 1, y}, {x, y + 1}}) {
                        if (nx >= tiled_w && w % 2 != 0) continue;
                        const bool there = at(nx, ny);
                        const bool bad = level == 1   ? (here && there)
                                         : level == 3 ? (!here && !there)
                                                      : here == there;
                        if (bad) {
                            ADD_FAILURE() << font.name << " shade " << level << " at " << x << ","
                                          << y << " next to " << nx << "," << ny;
                        }
                    }
                }
            }
            EXPECT_NEAR(dots, level * w * kRows / 4, w) << font.name << " shade " << level;
        }
    }
}

// --- how the Arabic reads on paper -----------------------------------------------------------

using Dots = std::set<std::pair<int, int>>;

Dots DotsOf(const Record& rec, int width, std::size_t first_column_byte = 4) {
    Dots dots;
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const unsigned char byte = rec[first_column_byte + 3 * static_cast<std::size_t>(c) +
                                           static_cast<std::size_t>(r / 8)];
            if ((byte >> (7 - r % 8)) & 1) dots.insert({c, r});
        }
    }
    return dots;
}

// Separate pieces of ink, dots touching at a corner counting as one piece (as the eye sees it).
int InkPieces(const Dots& dots) {
    Dots seen;
    int pieces = 0;
    for (const auto& start : dots) {
        if (seen.count(start)) continue;
        ++pieces;
        std::vector<std::pair<int, int>> todo = {start};
        seen.insert(start);
        while (!todo.empty()) {
            const auto [c, r] = todo.back();
            todo.pop_back();
            for (int dc = -1; dc <= 1; ++dc) {
                for (int dr = -1; dr <= 1; ++dr) {
                    const std::pair<int, int> n{c + dc, r + dr};
                    if (dots.count(n) && seen.insert(n).second) todo.push_back(n);
                }
            }
        }
    }
    return pieces;
}

// Whether two pictures share a dot or touch at an edge or a corner.
bool Touch(const Dots& a, const Dots& b) {
    for (const auto& [c, r] : a) {
        for (int dc = -1; dc <= 1; ++dc) {
            for (int dr = -1; dr <= 1; ++dr) {
                if (b.count({c + dc, r + dr})) return true;
            }
        }
    }
    return false;
}

// Each letter's presentation forms and how many pieces of ink each prints as: the body and one
// piece per dot or hamza (isolated and final kaf add their small swash). A dot group that melts
// into a dash, or into the letter, changes the count, and بيت starts to read بين (a hamza that
// melts into yeh, and لآلئ reads لآلى).
struct DottedLetter {
    const char* name;
    int first;
    int forms;
    int pieces[4];  // isolated, final, initial, medial
};
const DottedLetter kDottedLetters[] = {
    {"beh", 0xFE8F, 4, {2, 2, 2, 2}},   {"teh marbuta", 0xFE93, 2, {3, 3}},
    {"teh", 0xFE95, 4, {3, 3, 3, 3}},   {"theh", 0xFE99, 4, {4, 4, 4, 4}},
    {"jeem", 0xFE9D, 4, {2, 2, 2, 2}},  {"hah", 0xFEA1, 4, {1, 1, 1, 1}},
    {"khah", 0xFEA5, 4, {2, 2, 2, 2}},  {"dal", 0xFEA9, 2, {1, 1}},
    {"thal", 0xFEAB, 2, {2, 2}},        {"reh", 0xFEAD, 2, {1, 1}},
    {"zain", 0xFEAF, 2, {2, 2}},        {"seen", 0xFEB1, 4, {1, 1, 1, 1}},
    {"sheen", 0xFEB5, 4, {4, 4, 4, 4}}, {"sad", 0xFEB9, 4, {1, 1, 1, 1}},
    {"dad", 0xFEBD, 4, {2, 2, 2, 2}},   {"tah", 0xFEC1, 4, {1, 1, 1, 1}},
    {"zah", 0xFEC5, 4, {2, 2, 2, 2}},   {"ain", 0xFEC9, 4, {1, 1, 1, 1}},
    {"ghain", 0xFECD, 4, {2, 2, 2, 2}}, {"feh", 0xFED1, 4, {2, 2, 2, 2}},
    {"qaf", 0xFED5, 4, {3, 3, 3, 3}},   {"kaf", 0xFED9, 4, {2, 2, 1, 1}},
    {"lam", 0xFEDD, 4, {1, 1, 1, 1}},   {"meem", 0xFEE1, 4, {1, 1, 1, 1}},
    {"noon", 0xFEE5, 4, {2, 2, 2, 2}},  {"heh", 0xFEE9, 4, {1, 1, 1, 1}},
    {"waw", 0xFEED, 2, {1, 1}},         {"alef maksura", 0xFEEF, 2, {1, 1}},
    {"yeh", 0xFEF1, 4, {3, 3, 3, 3}},   {"peh", 0xFB56, 4, {4, 4, 4, 4}},
    {"tcheh", 0xFB7A, 4, {4, 4, 4, 4}}, {"jeh", 0xFB8A, 2, {4, 4}},
    {"أ", 0xFE83, 2, {2, 2}},           {"ؤ", 0xFE85, 2, {2, 2}},
    {"إ", 0xFE87, 2, {2, 2}},           {"ئ", 0xFE89, 4, {2, 2, 2, 2}},
};

// Forms whose count is known to differ, and why.
const std::map<int, const char*> kPieceExceptions = {
    {0xFB7A,
     "tcheh isolated: its three dots sit inside the bowl, which at 24 rows has no room "
     "for them with a blank dot all round, so the bowl is cut open around them"},
    {0xFB7B, "tcheh final: the same bowl as the isolated form"},
};

TEST(ArabicArtwork, DottedLettersPrintTheirDotsAsSeparateInk) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        int forms = 0, kept = 0;
        for (const DottedLetter& letter : kDottedLetters) {
            for (int i = 0; i < letter.forms; ++i) {
                const int cp = letter.first + i;
                const int pieces = InkPieces(DotsOf(Get(font, cp), font.width));
                ++forms;
                kept += pieces == letter.pieces[i];
                if (kPieceExceptions.count(cp)) continue;
                EXPECT_EQ(pieces, letter.pieces[i])
                    << font.name << " " << letter.name << " " << Hex(cp);
            }
        }
        std::cout << font.name << ": dots keep their count on " << 100 * kept / forms << " % ("
                  << kept << " of " << forms << ") of the forms\n";
    }
}

// Seen and sheen: three teeth rising from one base stroke (two rows, the connector row and the
// one above it) with a blank dot between neighbouring teeth up to their tops. Above the base
// stroke each tooth, sheen's dots and the rising tail of the bowl (isolated, final) print as
// separate ink; two teeth closed into a loop at the top read as sad, and ش as a dad with dots.
struct ToothedLetter {
    const char* name;
    int first;
    int pieces_above_base[4];  // isolated, final, initial, medial
};
const ToothedLetter kToothedLetters[] = {
    {"seen", 0xFEB1, {4, 4, 3, 3}},
    {"sheen", 0xFEB5, {7, 7, 6, 6}},
};

TEST(ArabicArtwork, SeenAndSheenTeethStandApart) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const ToothedLetter& letter : kToothedLetters) {
            for (int i = 0; i < 4; ++i) {
                Dots above;
                for (const auto& dot : DotsOf(Get(font, letter.first + i), font.width)) {
                    if (dot.second < kConnectorRow - 1) above.insert(dot);
                }
                EXPECT_EQ(InkPieces(above), letter.pieces_above_base[i])
                    << font.name << " " << letter.name << " " << Hex(letter.first + i);
            }
        }
    }
}

// The turned-up left end of final and isolated beh rises at most three rows over the joining
// stroke: as tall as the letter it reads as alef beside teh's dots (ـت read تا). Reh falls from
// its head in a stroke two dots thick: thinned to one dot under the head, or to fewer dots than
// the rows over and under it, the head reads as zain's dot, and so does a head two dots wide (10
// and 13) that the stroke steps right from.
TEST(ArabicArtwork, BehEndsStayLowAndRehFallsWithoutANeck) {
    const int kBehEnds[] = {0xFE8F, 0xFE90, 0xFE95, 0xFE96, 0xFE99, 0xFE9A, 0xFB56, 0xFB57};
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (int cp : kBehEnds) {
            const Dots dots = DotsOf(Get(font, cp), font.width);
            const int end = dots.begin()->first;  // the leftmost column
            int top = kConnectorRow;  // up the column from the stroke, to the first blank
            while (top > 0 && dots.count({end, top - 1})) --top;
            EXPECT_GE(top, kConnectorRow - 4) << font.name << " " << Hex(cp);
        }
        for (int cp : {0xFEAD, 0xFEAE}) {
            std::map<int, int> row_dots;
            std::map<int, int> right;  // the rightmost column of each row
            for (const auto& [c, r] : DotsOf(Get(font, cp), font.width)) {
                ++row_dots[r];
                right[r] = std::max(right[r], c);
            }
            row_dots.erase(std::prev(row_dots.end()));  // the tail's tip
            for (const auto& [r, n] : row_dots) {
                EXPECT_GE(n, 2) << font.name << " " << Hex(cp) << " row " << r;
                if (r > row_dots.begin()->first && r < kConnectorRow - 1) {
                    EXPECT_FALSE(n < row_dots.at(r - 1) && n < row_dots.at(r + 1))
                        << font.name << " " << Hex(cp) << " narrows on row " << r;
                }
                if (font.width < 18 && r < kConnectorRow - 1) {
                    EXPECT_LE(right[r], right.begin()->second)
                        << font.name << " " << Hex(cp) << " steps right on row " << r;
                }
            }
        }
    }
}

// Feh's dot and qaf's two stand over the loop, a blank row over it: set beside the top of the
// loop (13 and 18 dots put it there two columns aside), ف read as ق (تلفن as تلقن).
TEST(ArabicArtwork, FehAndQafDotsStandABlankRowOverTheLoop) {
    for (const Font& font : kFonts) {
        if (!font.narrow || font.width < 13) continue;  // the final feh at 10 still has it aside
        for (int cp = 0xFED1; cp <= 0xFED8; ++cp) {
            std::set<int> rows;
            for (const auto& dot : DotsOf(Get(font, cp), font.width)) rows.insert(dot.second);
            int r = *rows.begin();
            while (rows.count(r)) ++r;  // down from the dots to the first blank row
            EXPECT_LT(r, kConnectorRow) << font.name << " " << Hex(cp);
        }
    }
}

// The head of the initial and medial kaf at 13 dots is one slanted stroke, stepping a column a
// row: a bar stepping two columns a row read as gaf's extra stroke (کد as کگد).
TEST(ArabicArtwork, KafHeadAtThirteenDotsStepsAColumnARow) {
    const Font& font = kFonts[1];
    ASSERT_EQ(font.width, 13);
    for (int cp : {0xFB90, 0xFB91, 0xFEDB, 0xFEDC}) {
        std::map<int, int> left;  // the leftmost column of each row (dots come column by column)
        for (const auto& [c, r] : DotsOf(Get(font, cp), font.width)) left.emplace(r, c);
        for (int r = left.begin()->first; r + 1 < kConnectorRow - 1; ++r) {
            EXPECT_LE(std::abs(left[r + 1] - left[r]), 1) << Hex(cp) << " row " << r;
        }
    }
}

// Alef and the alefs carrying hamza or madda stand as heavy as lam: at 18 dots an alef two dots
// wide beside lam's three made a word starting with alef look light at its start.
TEST(ArabicArtwork, AlefStemsAreAsWideAsLam) {
    const int kAlefs[] = {0x0622, 0x0623, 0x0625, 0x0627, 0xFE81, 0xFE83, 0xFE87, 0xFE8D, 0xFE8E};
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        auto across = [&font](int cp) {  // dots on a row of the stem, over any mark below
            int n = 0;
            for (const auto& dot : DotsOf(Get(font, cp), font.width)) n += dot.second == 10;
            return n;
        };
        for (int cp : kAlefs) EXPECT_EQ(across(cp), across(0x0644)) << font.name << " " << Hex(cp);
    }
}

// The hamza over alef at 10 and 13 dots has four rows at most over the stem; drawn solid there
// it printed as a blob. It is an open c: at most three quarters of the box round it inked.
TEST(ArabicArtwork, HamzaOverAlefIsOpen) {
    for (const Font& font : kFonts) {
        if (!font.narrow || font.width > 13) continue;
        for (int cp : {0x0623, 0xFE83, 0xFE84}) {
            int c0 = font.width, c1 = 0, r1 = 0, n = 0;
            for (const auto& [c, r] : DotsOf(Get(font, cp), font.width)) {
                if (r > 3) continue;  // the stem starts on row 4 or lower
                c0 = std::min(c0, c), c1 = std::max(c1, c), r1 = std::max(r1, r), ++n;
            }
            EXPECT_LE(4 * n, 3 * (c1 - c0 + 1) * (r1 + 1)) << font.name << " " << Hex(cp);
        }
    }
}

// Thermal heads print two strokes one blank dot apart as one: tanwin then reads as madda and
// gaf as kaf. Strokes that must read as separate ink keep two blank dots between them: dots up
// to two apart (one blank between) count as one piece, and the pieces keep their number.
// They also fade a stroke one dot thick, and a slanted stroke drawn as a staircase of single
// dots is one: the slanted harakat are two dots thick, every dot of a stroke in a 2 x 2 square
// of ink but the one at each end.
struct SeparateStrokes {
    int cp;
    int pieces;
    const char* name;
    bool two_dots_thick;
};
const SeparateStrokes kSeparateStrokes[] = {
    {0x064B, 2, "fathatan", true},      {0x064C, 2, "dammatan", false},
    {0x064D, 2, "kasratan", true},      {0x064E, 1, "fatha", true},
    {0x0650, 1, "kasra", true},         {0x06AF, 2, "gaf", false},
    {0xFB92, 2, "gaf isolated", false}, {0xFB93, 2, "gaf final", false},
    {0xFB94, 2, "gaf initial", false},  {0xFB95, 2, "gaf medial", false},
    {0x066A, 3, "percent sign", false},
};

int PiecesAcrossOneBlank(const Dots& dots) {
    Dots seen;
    int pieces = 0;
    for (const auto& start : dots) {
        if (!seen.insert(start).second) continue;
        ++pieces;
        std::vector<std::pair<int, int>> todo = {start};
        while (!todo.empty()) {
            const auto [c, r] = todo.back();
            todo.pop_back();
            for (int dc = -2; dc <= 2; ++dc) {
                for (int dr = -2; dr <= 2; ++dr) {
                    const std::pair<int, int> n{c + dc, r + dr};
                    if (dots.count(n) && seen.insert(n).second) todo.push_back(n);
                }
            }
        }
    }
    return pieces;
}

int DotsOutsideEverySquareOfFour(const Dots& dots) {
    auto square = [&dots](int c, int r) {
        return dots.count({c, r}) && dots.count({c + 1, r}) && dots.count({c, r + 1}) &&
               dots.count({c + 1, r + 1});
    };
    int outside = 0;
    for (const auto& [c, r] : dots) {
        outside += !(square(c, r) || square(c - 1, r) || square(c, r - 1) || square(c - 1, r - 1));
    }
    return outside;
}

TEST(ArabicArtwork, StrokesThatReadApartKeepTwoBlankDotsBetweenThem) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const SeparateStrokes& s : kSeparateStrokes) {
            const Dots dots = DotsOf(Get(font, s.cp), font.width);
            // two dammas do not fit ten columns: there the dammatan is one whose tail turns back
            const int pieces = font.width == 10 && s.cp == 0x064C ? 1 : s.pieces;
            EXPECT_EQ(PiecesAcrossOneBlank(dots), pieces)
                << font.name << " " << s.name << " " << Hex(s.cp);
            // the 10-dot fatha keeps the bytes pinned above
            if (!s.two_dots_thick || (font.width == 10 && s.cp == 0x064E)) continue;
            EXPECT_LE(DotsOutsideEverySquareOfFour(dots), 2 * s.pieces)
                << font.name << " " << s.name << " " << Hex(s.cp) << " is one dot thick";
        }
    }
}

// At 10 and 13 a shadda whose prongs stood one blank dot apart printed as a notched blob: over
// its base row, the comb shows three prongs two blank dots apart.
TEST(ArabicArtwork, ShaddaProngsKeepTwoBlankDotsApart) {
    for (const Font& font : kFonts) {
        if (!font.narrow || font.width > 13) continue;
        const Dots shadda = DotsOf(Get(font, 0x0651), font.width);
        int base = 0;
        for (const auto& dot : shadda) base = std::max(base, dot.second);
        Dots prongs;
        for (const auto& dot : shadda) {
            if (dot.second != base) prongs.insert(dot);
        }
        EXPECT_EQ(PiecesAcrossOneBlank(prongs), 3) << font.name;
    }
}

// The teeth of the two and the three (their top three rows) stand two blank dots apart: one apart,
// ٣ printed as a notched blob.
TEST(ArabicArtwork, DigitTeethKeepTwoBlankDotsApart) {
    const std::pair<int, int> kTeeth[] = {{0x0662, 2}, {0x06F2, 2}, {0x0663, 3}, {0x06F3, 3}};
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const auto& [cp, teeth] : kTeeth) {
            const Dots dots = DotsOf(Get(font, cp), font.width);
            int top = kRows;
            for (const auto& dot : dots) top = std::min(top, dot.second);
            Dots comb;
            for (const auto& dot : dots) {
                if (dot.second < top + 3) comb.insert(dot);
            }
            EXPECT_EQ(PiecesAcrossOneBlank(comb), teeth) << font.name << " " << Hex(cp);
        }
    }
}

// Look-alikes a reader confused on paper: a one as narrow as alef, with a one-dot serif, read as
// alef; a comma nearly as tall as hamza read as hamza; a hamza as tall as the initial ain read as
// ain (ماء as ماع). The one leans, at least four columns wider than alef (under a flag it read as
// six); the comma's top stands at least two rows under hamza's, and its foot on the base line
// under hamza's; the hamza stands at least two rows shorter than the initial ain.
TEST(ArabicArtwork, DigitOneAndCommaReadApartFromAlefAndHamza) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        auto ink = [&font](int cp) { return Measure(Get(font, cp), font.width); };
        const Margins alef = ink(0x0627), hamza = ink(0x0621), comma = ink(0x060C);
        for (int one : {0x0661, 0x06F1}) {
            const Margins m = ink(one);
            EXPECT_GE(alef.left + alef.right - m.left - m.right, 4) << font.name << " " << Hex(one);
        }
        EXPECT_GE(comma.top - hamza.top, 2) << font.name;
        EXPECT_GT(hamza.bottom, comma.bottom) << font.name;
        const Margins ain = ink(0xFECB);
        EXPECT_GE(hamza.top + hamza.bottom - ain.top - ain.bottom, 2) << font.name;
    }
}

// A letter, then a mark over it, through the library's own composition with the placement record
// carried from one call to the next, as the encoder prints them: what the mark's cell shows.
struct Printed {
    Dots letter, mark;
    bool complete;  // the mark kept all its ink (none moved out of the cell)
};

constexpr int kArabicCodePage = 1256;

Dots PrintCell(int cp, int width, _SWFONTINFO& info) {
    std::vector<unsigned char> buffer(128, 0);
    const int n = CFntMngr::GetFontDrawBuffer(cp, kArabicCodePage, width, kRows, buffer.data(),
                                              &info, SWFONT_JUSTIFICATION_NONE);
    EXPECT_GT(n, 6 + 3 * width) << Hex(cp);
    if (n <= 6 + 3 * width) return {};
    return DotsOf(buffer, width, 6);  // ESC & y c1 c2 x, then the columns
}

bool MarkFits(const Font& font, int letter, std::initializer_list<int> marks) {
    _SWFONTINFO info{};
    Dots below = PrintCell(letter, font.width, info);
    for (int mark : marks) {
        const Dots printed = PrintCell(mark, font.width, info);
        if (printed.size() != DotsOf(Get(font, mark), font.width).size()) return false;
        if (Touch(printed, below)) return false;
        below.insert(printed.begin(), printed.end());
    }
    return true;
}

// Every form U+FE80-FEFC with each haraka: the fitted mark keeps its ink and neither overlaps nor
// touches the letter. Forms with ink in rows 0-3 (hamza, madda) have no room above them.
// Shadda then fatha, damma or kasra: short letters take the stack, tall ones cannot.
TEST(ArabicArtwork, HarakatFitOverTheLetters) {
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        int singles = 0, single_fits = 0, stacks = 0, stack_collisions = 0;
        for (int cp = 0xFE80; cp <= 0xFEFC; ++cp) {
            if (Get(font, cp).empty()) continue;
            for (int haraka = 0x064B; haraka <= 0x0652; ++haraka) {
                ++singles;
                single_fits += MarkFits(font, cp, {haraka});
            }
            for (int vowel : {0x064E, 0x064F, 0x0650}) {
                ++stacks;
                stack_collisions += !MarkFits(font, cp, {0x0651, vowel});
            }
        }
        const double fit = 100.0 * single_fits / singles;
        const double collide = 100.0 * stack_collisions / stacks;
        std::cout << font.name << ": a single haraka fits " << fit << " % of " << singles
                  << " combinations; shadda and a vowel collide on " << collide << " % of "
                  << stacks << "\n";
        EXPECT_GE(fit, 94.0) << font.name;
        EXPECT_LE(collide, 50.0) << font.name;
    }
}

// Marks fitted over letters whose dots stand near the top of the body: the damma's tail, drawn
// from the cell's left edge, touched the top dot of sheen when the dots stood over its first two
// teeth, and a haraka stood one blank row over the two dots of teh marbuta, so that ـةٌ printed as
// a clump of specks. Each mark, fitted over each form, keeps two blank dots every way from the
// letter and its dots.
TEST(ArabicArtwork, HarakatKeepTwoBlankDotsOverCrowdedDots) {
    struct Case {
        std::vector<int> letters;
        std::vector<int> marks;
    };
    const std::vector<Case> cases = {
        {{0xFEB5, 0xFEB6, 0xFEB7, 0xFEB8}, {0x064F}},                          // sheen, damma
        {{0xFE93, 0xFE94}, {0x064B, 0x064C, 0x064E, 0x064F, 0x0651, 0x0652}},  // teh marbuta
    };
    for (const Font& font : kFonts) {
        if (!font.narrow) continue;
        for (const Case& k : cases) {
            for (int letter_cp : k.letters) {
                for (int mark_cp : k.marks) {
                    _SWFONTINFO info{};
                    const Dots letter = PrintCell(letter_cp, font.width, info);
                    const Dots mark = PrintCell(mark_cp, font.width, info);
                    int nearest = kRows;
                    for (const auto& [c, r] : mark) {
                        for (const auto& [lc, lr] : letter) {
                            nearest =
                                std::min(nearest, std::max(std::abs(c - lc), std::abs(r - lr)));
                        }
                    }
                    EXPECT_GE(nearest, 3)
                        << font.name << " " << Hex(letter_cp) << " " << Hex(mark_cp);
                }
            }
        }
    }
}

}  // namespace

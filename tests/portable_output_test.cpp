// SPDX-License-Identifier: Apache-2.0
// Every build of the library must answer exactly alike: the phones run an arm64 build, the
// development machines an x86-64 one. A difference between them (a plain char that is signed on one
// and unsigned on the other, a shift past the width of a type, an order of evaluation left open)
// goes unseen by suites that only check what each build answers on its own.
//
// This suite walks the exported interface over its input space: every code point in all four fonts
// with the placement record carried from one character to the next, every mark after every base,
// the refusals and capability queries, the glyph column operations on real glyphs, and the
// reordering of generated mixed lines. It reduces what comes back to one 64-bit digest per chunk of
// the walk. One build writes the digests, another compares them:
//
//   ZELVAR_OUTPUT_WRITE=FILE    writes them (tools/run-arm64-tests.sh runs the host build so)
//   ZELVAR_OUTPUT_COMPARE=FILE  compares with them and names every chunk that differs
//
// With neither set there is nothing to compare with, and the suite skips itself.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"
#include "fontmgr/glyph_column.h"
#include "fonts/fonts.h"
#include "tests/test_util.h"

namespace {

// FNV-1a over an explicit little-endian byte image of each value, so that the digest depends on
// the values alone and never on how a machine lays them out.
class Digest {
  public:
    void Byte(unsigned char b) {
        h_ ^= b;
        h_ *= 0x100000001b3ULL;
    }
    void Int(long long v) {
        const auto u = static_cast<unsigned long long>(v);
        for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned char>(u >> (8 * i)));
    }
    void Bytes(const unsigned char* p, std::size_t n) {
        Int(static_cast<long long>(n));
        for (std::size_t i = 0; i < n; ++i) Byte(p[i]);
    }
    void Record(const std::vector<unsigned char>& v) { Bytes(v.data(), v.size()); }
    void Info(const _SWFONTINFO& info) {
        for (unsigned char b : {info.LeftMargin, info.RightMargin, info.TopMargin,
                                info.BottomMargin, info.Overstrike, info.HJust})
            Byte(b);
    }
    std::string Hex() const {
        static const char kDigits[] = "0123456789abcdef";
        std::string s(16, '0');
        for (int i = 0; i < 16; ++i) s[15 - i] = kDigits[(h_ >> (4 * i)) & 0xF];
        return s;
    }

  private:
    unsigned long long h_ = 0xcbf29ce484222325ULL;
};

using Chunks = std::vector<std::pair<std::string, std::string>>;  // name, digest

constexpr int kWidths[] = {10, 13, 18, 24};
constexpr int kLastCodePoint = 0x10FFFF;

// One composition, with the sequence, the status and the record that follows it.
void Compose(Digest& d, int code_point, int code_page, int width, int height, _SWFONTINFO* info,
             int justification) {
    unsigned char buffer[SWFONT_MAX_SEQUENCE + 8] = {};
    const int n = CFntMngr::GetFontDrawBuffer(code_point, code_page, width, height, buffer, info,
                                              static_cast<_SWFONT_JUSTIFICATION>(justification));
    d.Int(n);
    if (n > 0) d.Bytes(buffer, static_cast<std::size_t>(n));
    if (info != nullptr) d.Info(*info);
}

// Every code point of one font, in chunks of 4096, the record carried along within a chunk and
// the justification changing from one character to the next. Returns the code points with a glyph.
std::vector<int> WalkFont(int width, Chunks& chunks) {
    std::vector<int> glyphs;
    for (int start = 0; start <= kLastCodePoint; start += 0x1000) {
        Digest d;
        _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
        for (int cp = start; cp < start + 0x1000; ++cp) {
            Compose(d, cp, 1256, width, 24, &info, cp % 3);
            d.Int(CFntMngr::CharAvailable(cp, 932, width, 24));
            if (CFntMngr::CharAvailable(cp, 1256, width, 24)) glyphs.push_back(cp);
        }
        char name[64];
        std::snprintf(name, sizeof name, "font %d, U+%04X..U+%04X", width, start, start + 0xFFF);
        chunks.emplace_back(name, d.Hex());
    }
    Digest d;
    for (int cp : {-1, -0x0627, INT_MIN, INT_MAX, 0x110000, 0x10627, 0x100000 + 0x0627}) {
        _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
        Compose(d, cp, 1256, width, 24, &info, 0);
        d.Int(CFntMngr::CharAvailable(cp, 1256, width, 24));
    }
    chunks.emplace_back("font " + std::to_string(width) + ", outside Unicode", d.Hex());
    return glyphs;
}

// Every mark that is fitted vertically, after every base of the same font, in all justifications.
void MarksAfterBases(int width, const std::vector<int>& glyphs, Chunks& chunks) {
    std::vector<int> marks;
    for (int cp : glyphs) {
        unsigned int flags = 0;
        testutil::FontGlyph(width, cp, &flags);
        if ((flags & SWFONT_FLAG_VFIT) != 0) marks.push_back(cp);
    }
    Digest d;
    d.Int(static_cast<long long>(marks.size()));
    for (int base : glyphs) {
        for (int mark : marks) {
            _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
            Compose(d, base, 864, width, 24, &info, base % 3);
            Compose(d, mark, 864, width, 24, &info, mark % 3);
        }
    }
    chunks.emplace_back("font " + std::to_string(width) + ", marks after bases", d.Hex());
}

// The glyph column operations on every fifth glyph, over every distance that matters.
void GlyphOperations(int width, const std::vector<int>& glyphs, Chunks& chunks) {
    Digest d;
    for (std::size_t i = 0; i < glyphs.size(); i += 5) {
        unsigned int flags = 0;
        const std::vector<unsigned char> record = testutil::FontGlyph(width, glyphs[i], &flags);
        d.Int(flags);
        d.Record(record);
        for (int n = -width - 1; n <= width + 1; ++n) d.Record(ShiftH(record, n, width));
        for (int n = -SWFONT_HEIGHT - 1; n <= SWFONT_HEIGHT + 1; ++n) {
            const std::vector<unsigned char> moved = ShiftV(record, n, width);
            d.Record(moved);
            int left = -1, right = -1, top = -1, bottom = -1;
            CalcMarginDataVector(moved, width, &left, &right, &top, &bottom);
            for (int m : {left, right, top, bottom}) d.Int(m);
        }
    }
    chunks.emplace_back("font " + std::to_string(width) + ", glyph operations", d.Hex());
}

// The refusals (and what they leave untouched) and the yes-or-no questions.
void Queries(Chunks& chunks) {
    Digest d;
    const int code_pages[] = {INT_MIN, -1,   0,    437,  720,   862,   864,   932,
                              936,     1098, 1255, 1256, 20290, 54936, 65001, 290};
    for (int height : {-24, 0, 23, 24, 25, 48}) {
        for (int code_page : code_pages) {
            for (int width = -1; width <= 30; ++width) {
                _SWFONTINFO info = {7, 200, 130, 1, 1, 0};
                Compose(d, 0x0627, code_page, width, height, &info, 1);
                d.Int(CFntMngr::CharAvailable(0x064E, code_page, width, height));
                d.Int(CFntMngr::GetFontDrawBuffer(0x9FA5, code_page, width, height, nullptr,
                                                  nullptr, SWFONT_JUSTIFICATION_NONE));
            }
        }
    }
    for (int code_page = -2; code_page <= 70000; ++code_page) d.Int(IsCPSupported(code_page));
    for (int width = -2; width <= 300; ++width) d.Int(CFntMngr::IsFontWidthSupported(width));
    chunks.emplace_back("refusals and queries", d.Hex());
}

// Generated lines of Hebrew, Arabic and Farsi letters, marks, both kinds of digits, Latin letters,
// brackets, punctuation and directional marks, and elements with bits above the low 32.
void Reorderings(Chunks& chunks) {
    std::vector<long> alphabet;
    for (long c = 0x05D0; c <= 0x05EA; c += 3) alphabet.push_back(c);
    for (long c = 0x0621; c <= 0x0652; ++c) alphabet.push_back(c);
    for (long c : {0x067EL, 0x0686L, 0x0698L, 0x06A9L, 0x06AFL, 0x06CCL,        0x0660L, 0x0665L,
                   0x06F4L, 0x30L,   0x35L,   0x39L,   0x41L,   0x62L,          0x7AL,   0x20L,
                   0x20L,   0x20L,   0x28L,   0x29L,   0x5BL,   0x5DL,          0x7BL,   0x7DL,
                   0x3CL,   0x3EL,   0x2EL,   0x2CL,   0x2DL,   0x3AL,          0x21L,   0x200EL,
                   0x200FL, 0x200DL, 0x00ABL, 0x00BBL, 0xFEFBL, 0x10000000627L, -0x0627L})
        alphabet.push_back(c);
    unsigned long long state = 0x2545F4914F6CDD1DULL;
    const auto next = [&state](unsigned long long bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (state >> 33) % bound;
    };
    for (int chunk = 0; chunk < 20; ++chunk) {
        Digest d;
        for (int l = 0; l < 200; ++l) {
            std::vector<long> line(next(49));
            for (long& c : line) c = alphabet[next(alphabet.size())];
            long* visual = nullptr;
            const long count =
                CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &visual);
            d.Int(count);
            if (visual != nullptr && count >= 0) {
                for (long i = 0; i <= count; ++i) d.Int(visual[i]);
                d.Int(wcslen(visual));
            }
            delete[] visual;
        }
        chunks.emplace_back("reordering, lines " + std::to_string(chunk * 200) + ".." +
                                std::to_string(chunk * 200 + 199),
                            d.Hex());
    }
}

Chunks Walk(std::size_t& glyph_count) {
    Chunks chunks;
    glyph_count = 0;
    for (int width : kWidths) {
        const std::vector<int> glyphs = WalkFont(width, chunks);
        glyph_count += glyphs.size();
        MarksAfterBases(width, glyphs, chunks);
        GlyphOperations(width, glyphs, chunks);
    }
    Queries(chunks);
    Reorderings(chunks);
    return chunks;
}

const char* Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

TEST(PortableOutput, SameDigestsAsTheOtherBuild) {
    const char* write_to = Env("ZELVAR_OUTPUT_WRITE");
    const char* compare_with = Env("ZELVAR_OUTPUT_COMPARE");
    if (write_to == nullptr && compare_with == nullptr)
        GTEST_SKIP() << "no other build to compare with (ZELVAR_OUTPUT_COMPARE is not set)";

    std::size_t glyphs = 0;
    const Chunks mine = Walk(glyphs);
    // A walk that drew nothing would compare equal everywhere and prove nothing.
    ASSERT_GT(glyphs, 1000U);

    if (write_to != nullptr) {
        std::ofstream out(write_to);
        for (const auto& [name, digest] : mine) out << digest << ' ' << name << '\n';
        out.close();
        ASSERT_TRUE(out.good()) << "cannot write " << write_to;
    }
    if (compare_with != nullptr) {
        std::ifstream in(compare_with);
        ASSERT_TRUE(in.is_open()) << "cannot read " << compare_with;
        Chunks theirs;
        std::string digest, name;
        while (in >> digest && std::getline(in, name)) theirs.emplace_back(name.substr(1), digest);
        ASSERT_EQ(theirs.size(), mine.size())
            << compare_with << " comes from a walk of other sources";
        int differing = 0;
        for (std::size_t i = 0; i < mine.size(); ++i) {
            ASSERT_EQ(mine[i].first, theirs[i].first) << "chunk " << i;
            if (mine[i].second != theirs[i].second) {
                ++differing;
                ADD_FAILURE() << "this build answers differently in: " << mine[i].first;
            }
        }
        EXPECT_EQ(differing, 0) << "of " << mine.size() << " chunks";
    }
}

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The shortcut for plain left-to-right lines against the full FriBidi path.
//
// The shortcut must never change an answer: for every line, the exported reordering (which takes
// the shortcut where it can) and the full path through fribidi_log2vis must hand back the same
// count and the same result array, element for element, terminator included. The lines compared
// are every code point that takes the shortcut (and a few of each kind between characters that
// FriBidi treats specially), a large generated corpus, and the lines of Unicode's
// bidi conformance files (BidiCharacterTest.txt by code point, BidiTest.txt by bidi class).
// Where a group of lines is meant to exercise the shortcut, the test also checks that it did.
#include <gtest/gtest.h>

#include <fribidi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "bidi/cfribidi.h"
#include "bidi/plain_line_internal.h"
#include "bidi/reorder_line_internal.h"
#include "tests/test_util.h"

namespace {

using testutil::Hex;
using testutil::Line;
using zelvar_bidi::IsPlainLeftToRight;

const std::string kUnicodeDir = "/usr/share/unicode/";

struct Answer {
    long count = -1;
    Line elements;  // the whole result array: size + 1 elements on success

    bool operator==(const Answer& o) const { return count == o.count && elements == o.elements; }
};

void* Malloc(std::size_t bytes) {
    return std::malloc(bytes);
}

// Both paths allocate size + 1 elements for a line they reorder; the whole array is compared.
Answer Collect(long count, long* result, std::size_t elements) {
    Answer a;
    a.count = count;
    if (result != nullptr) a.elements.assign(result, result + elements);
    delete[] result;
    return a;
}

Answer FullPath(const Line& line) {
    long* result = nullptr;
    const long n =
        zelvar_bidi::ReorderLine(line.data(), line.size(), &result, &fribidi_log2vis, &Malloc);
    return Collect(n, result, line.size() + 1);
}

Answer Exported(Line line) {
    long* result = nullptr;
    const long n = CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &result);
    return Collect(n, result, line.size() + 1);
}

// Lines that do not take the shortcut go through FriBidi on both paths; of those, one in this many
// is compared, which keeps the check of the dispatch without doubling the run time.
constexpr int kFullPathSampling = 32;

// Compares the two paths on one line; returns whether the line took the shortcut.
bool ExpectSameAnswer(const Line& line, const std::string& where) {
    const Answer full = FullPath(line);
    const Answer fast = Exported(line);
    EXPECT_EQ(fast.count, full.count) << where << " " << Hex(line);
    EXPECT_TRUE(fast.elements == full.elements)
        << where << " " << Hex(line) << ": got " << Hex(fast.elements) << ", full path "
        << Hex(full.elements);
    return IsPlainLeftToRight(line.data(), line.size());
}

// Characters of each bidi class, chosen where FriBidi does something special: brackets and
// mirrored signs, marks inside the Arabic shaping range (U+064B, U+0670), the Arabic percent sign
// (a terminator in that range), joiners, extended Arabic-Indic digits (European numbers).
const std::map<std::string, Line>& Representatives() {
    static const std::map<std::string, Line> reps{
        {"L", {'a', 0xE9, 0x4E2D, 0x200E, 0x1820}},
        {"R", {0x5D0, 0x7C0, 0x200F}},
        {"AL", {0x628, 0x627, 0x644, 0x710, 0xFEDF}},
        {"EN", {'1', 0xB2, 0x6F1}},
        {"ES", {'+', '-'}},
        {"ET", {'$', '%', 0x66A, 0xB0}},
        {"AN", {0x660, 0x66B, 0x600}},
        {"CS", {',', '.', ':', 0xA0}},
        {"NSM", {0x301, 0x64B, 0x670, 0x5B8}},
        {"BN", {0x200D, 0xAD, 0x01, 0x200C}},
        {"B", {0x2029, 0x0A, 0x1C}},
        {"S", {'\t', 0x1F}},
        {"WS", {' ', 0x2003}},
        {"ON", {'(', ')', '[', ']', '<', '>', '{', '}', '!', 0x2039, 0x2264}},
        {"LRE", {0x202A}},
        {"RLE", {0x202B}},
        {"PDF", {0x202C}},
        {"LRO", {0x202D}},
        {"RLO", {0x202E}},
        {"LRI", {0x2066}},
        {"RLI", {0x2067}},
        {"FSI", {0x2068}},
        {"PDI", {0x2069}},
    };
    return reps;
}

// The decision itself, by class: a line is plain exactly when none of its units is right to left,
// Arabic or an explicit or isolate control, wherever in the line that unit stands.
TEST(ShortcutDecision, ByBidiClassAndPosition) {
    const std::vector<std::string> plain{"L",  "EN", "ES", "ET", "CS", "NSM",
                                         "BN", "B",  "S",  "WS", "ON"};
    const Line filler{'T', 'o', 't', 'a', 'l', ' ', '1', '2', '.', '5', '0'};
    for (const auto& [name, chars] : Representatives()) {
        const bool expected = std::find(plain.begin(), plain.end(), name) != plain.end();
        for (long c : chars) {
            for (std::size_t at : {std::size_t{0}, filler.size() / 2, filler.size()}) {
                Line line = filler;
                line.insert(line.begin() + static_cast<long>(at), c);
                EXPECT_EQ(IsPlainLeftToRight(line.data(), line.size()), expected)
                    << name << " " << Hex(line);
            }
        }
    }
    EXPECT_TRUE(IsPlainLeftToRight(nullptr, 0));
}

// The values that reach FriBidi are the low 32 bits: a right-to-left letter hidden under high
// bits is still right to left, and a Latin letter with high bits set is still plain.
TEST(ShortcutDecision, LooksAtTheLow32BitsOnly) {
    const Line hidden_hebrew{'a', 0x7F00000005D0L, 'b'};
    EXPECT_FALSE(IsPlainLeftToRight(hidden_hebrew.data(), hidden_hebrew.size()));
    const Line high_latin{'a', 0x100000041L, -0x100000000L + 'c', 0xFFFFFFFFL, 0x80000000L};
    EXPECT_TRUE(IsPlainLeftToRight(high_latin.data(), high_latin.size()));
}

// Only `size` elements belong to the line: a right-to-left element past it changes nothing.
TEST(ShortcutDecision, ReadsOnlyTheGivenSize) {
    const Line line{'a', 'b', 0x5D0};
    EXPECT_TRUE(IsPlainLeftToRight(line.data(), 2));
    EXPECT_FALSE(IsPlainLeftToRight(line.data(), 3));
}

// With counting fakes in place of FriBidi and its allocator: plain lines never reach them, every
// other line goes through them.
int g_log2vis_calls = 0;
int g_alloc_calls = 0;

FriBidiLevel CountingLog2Vis(const FriBidiChar* str, FriBidiStrIndex len, FriBidiParType* dir,
                             FriBidiChar* visual, FriBidiStrIndex* l2v, FriBidiStrIndex* v2l,
                             FriBidiLevel* levels) {
    ++g_log2vis_calls;
    return fribidi_log2vis(str, len, dir, visual, l2v, v2l, levels);
}

void* CountingMalloc(std::size_t bytes) {
    ++g_alloc_calls;
    return std::malloc(bytes);
}

TEST(ShortcutDispatch, PlainLinesSkipFriBidiOthersReachIt) {
    const struct {
        Line line;
        bool skips;
    } cases[] = {
        {{'T', 'o', 't', 'a', 'l', ':', ' ', '1', '2', '.', '5', '0', ' ', 0x20AC}, true},
        {{'(', 'a', ')', ' ', '[', 'b', ']', ' ', 'e', 0x301}, true},
        {{'1', '2', 0x100000033L, 0, 'x'}, true},
        {{'a', 'b', 0x5D0}, false},
        {{0x628, 'a', 'b'}, false},
        {{'1', 0x660, '2'}, false},
        {{'a', 0x2067, 'b', 0x2069}, false},
    };
    for (const auto& c : cases) {
        g_log2vis_calls = g_alloc_calls = 0;
        long* result = nullptr;
        const long n = zelvar_bidi::ReorderLineOrCopyPlain(c.line.data(), c.line.size(), &result,
                                                           &CountingLog2Vis, &CountingMalloc);
        const Answer got = Collect(n, result, c.line.size() + 1);
        EXPECT_EQ(got, FullPath(c.line)) << Hex(c.line);
        EXPECT_EQ(g_log2vis_calls, c.skips ? 0 : 1) << Hex(c.line);
        EXPECT_EQ(g_alloc_calls, c.skips ? 0 : 1) << Hex(c.line);
    }
}

// A plain line longer than FriBidi can index is still handed back unreordered, 64-bit values
// intact, up to its first zero: the shortcut must not read it or answer for it.
TEST(ShortcutDispatch, OversizedPlainLineIsHandedBack) {
    const Line line{'a', 0x100000041L, 0, 'b'};
    long* result = nullptr;
    const long n = zelvar_bidi::ReorderLineOrCopyPlain(line.data(), 0x80000000UL, &result,
                                                       &CountingLog2Vis, &CountingMalloc);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Line(result, result + 3), (Line{'a', 0x100000041L, 0}));
    delete[] result;
}

// What FriBidi knows of a character that could matter in a left-to-right line: its bidi class,
// its joining type (Arabic shaping), whether it has a mirror image, and whether it is an opening
// or a closing bracket.
using Signature = std::tuple<FriBidiCharType, FriBidiJoiningType, bool, int>;

Signature SignatureOf(long c) {
    const auto ch = static_cast<FriBidiChar>(c);
    FriBidiChar mirror = 0;
    const FriBidiBracketType bracket = fribidi_get_bracket(ch);
    const int bracket_kind =
        bracket == FRIBIDI_NO_BRACKET ? 0 : (FRIBIDI_IS_BRACKET_OPEN(bracket) ? 1 : 2);
    return {fribidi_get_bidi_type(ch), fribidi_get_joining_type(ch),
            fribidi_get_mirror_char(ch, &mirror) != 0, bracket_kind};
}

// Every code point that takes the shortcut (and a few 32-bit values beyond Unicode), in lines of
// 64 consecutive ones; then, for each distinct signature among them, a few code points between
// characters that FriBidi treats specially in a left-to-right line.
TEST(ShortcutMatchesFullPath, EveryCodePointInContext) {
    Line values;
    std::map<Signature, Line> by_signature;
    for (long c = 0; c <= 0x10FFFF; ++c) {
        if (!IsPlainLeftToRight(&c, 1)) continue;
        values.push_back(c);
        Line& same = by_signature[SignatureOf(c)];
        if (same.size() < 8) same.push_back(c);
    }
    // Most of Unicode is left to right; a shortcut that never engages proves nothing.
    EXPECT_GT(values.size(), 700000U) << "code points taking the shortcut";
    for (long c : {0x110000L, 0x7FFFFFFFL, 0x80000000L, 0xFFFFFFFEL, 0xFFFFFFFFL, 0x100000041L,
                   -0x41L, -1L}) {
        values.push_back(c);
    }

    constexpr std::size_t kBatch = 64;
    for (std::size_t first = 0; first < values.size(); first += kBatch) {
        const Line line(
            values.begin() + static_cast<long>(first),
            values.begin() + static_cast<long>(std::min(first + kBatch, values.size())));
        EXPECT_TRUE(ExpectSameAnswer(line, "consecutive"));
        if (::testing::Test::HasFailure()) return;  // one batch's report is enough
    }

    const Line contexts[] = {
        {'a', -1, 'b'},        {'1', -1, '2'},          {'(', -1, ')'},
        {-1, 0x301},           {0x200D, -1, '%', '1'},  {' ', 0x2029, -1, '\t'},
        {'[', -1, 0x64B, ']'}, {0x2264, -1, -1, 0x670}, {-1, '-', '5', -1, ' '},
    };
    EXPECT_GT(by_signature.size(), 20U) << "distinct signatures";
    for (const auto& [signature, chars] : by_signature) {
        for (long c : chars) {
            for (const Line& context : contexts) {
                Line line = context;
                for (long& e : line) {
                    if (e == -1) e = c;
                }
                EXPECT_TRUE(ExpectSameAnswer(line, "in context"));
            }
        }
        if (::testing::Test::HasFailure()) return;
    }
}

// Generated lines: mostly plain, some with one right-to-left, Arabic or control character, zeros,
// high bits and negative values; lengths up to 100.
TEST(ShortcutMatchesFullPath, GeneratedCorpus) {
    std::mt19937 rng(5201314);
    Line plain_pool, other_pool;
    for (const auto& [name, chars] : Representatives()) {
        Line& pool = IsPlainLeftToRight(chars.data(), chars.size()) ? plain_pool : other_pool;
        pool.insert(pool.end(), chars.begin(), chars.end());
    }
    std::uniform_int_distribution<long> any_bmp(0, 0xFFFF);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::size_t> length(0, 100);
    auto pick = [&](const Line& pool) {
        return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    };
    int plain_lines = 0;
    constexpr int kLines = 15000;
    for (int n = 0; n < kLines; ++n) {
        Line line(length(rng));
        for (long& e : line) {
            const int p = percent(rng);
            if (p < 45) {
                e = 0x20 + p % 0x5F;  // ASCII
            } else if (p < 80) {
                e = pick(plain_pool);
            } else if (p < 97) {
                e = any_bmp(rng);
            } else if (p < 98) {
                e = 0;
            } else {
                e = static_cast<long>(static_cast<unsigned long>(any_bmp(rng)) << 32) + 'x';
            }
        }
        // A third of the lines get one right-to-left, Arabic or control unit.
        if (!line.empty() && percent(rng) < 33) {
            line[std::uniform_int_distribution<std::size_t>(0, line.size() - 1)(rng)] =
                pick(other_pool);
        }
        plain_lines += ExpectSameAnswer(line, "generated") ? 1 : 0;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(plain_lines, kLines / 10) << "generated lines taking the shortcut";
}

// The unit tests of Unicode's bidi data files are many; all lines that take the shortcut are
// compared, and one in kFullPathSampling of the others.
bool Sampled(bool plain, int line_number) {
    return plain || line_number % kFullPathSampling == 0;
}

// BidiCharacterTest.txt: the code points of each line, as they stand.
TEST(ShortcutMatchesFullPath, UnicodeBidiCharacterTestLines) {
    std::ifstream in(kUnicodeDir + "BidiCharacterTest.txt");
    ASSERT_TRUE(in) << kUnicodeDir
                    << "BidiCharacterTest.txt is missing: install the Debian package unicode-data";
    std::string row;
    int lines = 0;
    int plain = 0;
    while (std::getline(in, row)) {
        if (row.empty() || row[0] == '#') continue;
        Line line;
        const char* p = row.c_str();
        char* end = nullptr;
        for (long cp = std::strtol(p, &end, 16); end != p; cp = std::strtol(p, &end, 16)) {
            line.push_back(cp);
            p = end;
        }
        if (*p != ';') continue;  // not a test line
        ++lines;
        const bool is_plain = IsPlainLeftToRight(line.data(), line.size());
        if (!Sampled(is_plain, lines)) continue;
        plain += ExpectSameAnswer(line, "BidiCharacterTest: " + row) ? 1 : 0;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(lines, 90000);
    EXPECT_GT(plain, 100);
}

// BidiTest.txt: each line of bidi classes becomes code points of those classes, the
// representatives taken in turn so that each class appears in several of its forms.
TEST(ShortcutMatchesFullPath, UnicodeBidiTestLines) {
    std::ifstream in(kUnicodeDir + "BidiTest.txt");
    ASSERT_TRUE(in) << kUnicodeDir
                    << "BidiTest.txt is missing: install the Debian package unicode-data";
    // Representatives and whether they are plain, by class name.
    std::map<std::string, std::pair<const Line*, bool>, std::less<>> classes;
    for (const auto& [name, chars] : Representatives()) {
        classes[name] = {&chars, IsPlainLeftToRight(chars.data(), chars.size())};
    }
    std::string row;
    int lines = 0;
    int plain = 0;
    std::size_t turn = 0;
    std::vector<std::pair<const Line*, bool>> sequence;
    while (std::getline(in, row)) {
        const std::size_t semicolon = row.find(';');
        if (row.empty() || row[0] == '#' || row[0] == '@' || semicolon == std::string::npos) {
            continue;
        }
        sequence.clear();
        bool is_plain = true;
        const std::string_view names(row.data(), semicolon);
        for (std::size_t at = names.find_first_not_of(' '); at != std::string_view::npos;) {
            const std::size_t end = std::min(names.find(' ', at), names.size());
            sequence.push_back(classes.find(names.substr(at, end - at))->second);
            is_plain = is_plain && sequence.back().second;
            at = names.find_first_not_of(' ', end);
        }
        ++lines;
        if (!Sampled(is_plain, lines)) continue;
        Line line;
        for (const auto& [reps, unused] : sequence) line.push_back((*reps)[turn++ % reps->size()]);
        plain += ExpectSameAnswer(line, "BidiTest: " + row) ? 1 : 0;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(lines, 400000);
    EXPECT_GT(plain, 10000);
}

}  // namespace

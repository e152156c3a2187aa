// SPDX-License-Identifier: Apache-2.0
// Reordering of a line through the exported CCFribidi::ReverseTextFixCharFribidi and wcslen(long*),
// as a native caller sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bidi/cfribidi.h"
#include "tests/test_util.h"

namespace {

using testutil::Hex;
using testutil::Line;

struct Reordered {
    long count = -1;
    Line elements;  // every element of the result array up to and including [count]
};

// Runs the operation on an exactly sized copy of `line` (no zero terminator, so that an over-read
// shows under AddressSanitizer) and checks the parts of the contract every call must keep.
Reordered Reorder(const Line& line, unsigned long size) {
    std::unique_ptr<long[]> input(new long[line.empty() ? 1 : line.size()]);
    for (size_t i = 0; i < line.size(); ++i) input[i] = line[i];
    long* result = reinterpret_cast<long*>(0x1);  // must be overwritten
    Reordered out;
    out.count =
        CCFribidi::ReverseTextFixCharFribidi(line.empty() ? nullptr : input.get(), size, &result);
    EXPECT_NE(result, nullptr);
    EXPECT_NE(result, reinterpret_cast<long*>(0x1));
    if (result == nullptr || result == reinterpret_cast<long*>(0x1)) return out;
    EXPECT_GE(out.count, 0);
    EXPECT_LE(static_cast<unsigned long>(out.count), line.size());
    out.elements.assign(result, result + out.count + 1);
    EXPECT_EQ(out.elements.back(), 0) << "the element at the count's position must be zero";
    for (long i = 0; i < out.count; ++i) EXPECT_NE(out.elements[i], 0);
    out.elements.pop_back();
    delete[] result;
    return out;
}

Reordered Reorder(const Line& line) {
    return Reorder(line, line.size());
}

struct Case {
    const char* name;
    Line logical;
    Line visual;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class ReorderingProducesVisualOrder : public ::testing::TestWithParam<Case> {};

TEST_P(ReorderingProducesVisualOrder, Line) {
    const Case& c = GetParam();
    const Reordered r = Reorder(c.logical);
    EXPECT_EQ(r.count, static_cast<long>(c.visual.size()));
    EXPECT_EQ(r.elements, c.visual) << "got " << Hex(r.elements) << ", want " << Hex(c.visual);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ReorderingProducesVisualOrder,
    ::testing::Values(
        Case{"latin_unchanged",
             {'P', 'r', 'i', 'n', 't', ' ', 'O', 'K'},
             {'P', 'r', 'i', 'n', 't', ' ', 'O', 'K'}},
        Case{"hebrew_reversed", {0x5D0, 0x5D1, 0x5D2}, {0x5D2, 0x5D1, 0x5D0}},
        Case{"digits_keep_their_order_in_rtl",
             {0x5D0, 0x5D1, ' ', '1', '2'},
             {'1', '2', ' ', 0x5D1, 0x5D0}},
        Case{"parentheses_mirrored_and_moved", {0x5D0, '(', 0x5D1, ')'}, {'(', 0x5D1, ')', 0x5D0}},
        Case{"latin_run_inside_hebrew",
             {0x5D0, ' ', 'a', 'b', ' ', 0x5D1},
             {0x5D1, ' ', 'a', 'b', ' ', 0x5D0}},
        Case{"hebrew_run_inside_latin",
             {'a', ' ', 0x5D0, 0x5D1, ' ', 'b'},
             {'a', ' ', 0x5D1, 0x5D0, ' ', 'b'}},
        Case{"no_strong_character_stays_ltr",
             {'1', ' ', '2', '3', ' ', '-'},
             {'1', ' ', '2', '3', ' ', '-'}},
        Case{"first_strong_character_sets_direction",
             {'1', ' ', 0x5D0, ' ', 'a'},
             {'a', ' ', 0x5D0, ' ', '1'}},
        // Arabic comes back joined: final form of beh, then its initial form, in printing order.
        Case{"arabic_beh_beh_shaped", {0x628, 0x628}, {0xFE90, 0xFE91}},
        // Lam-alef becomes the ligature; FriBidi fills the freed cell with U+FEFF, kept as is.
        Case{"arabic_lam_alef_ligature", {0x644, 0x627}, {0xFEFB, 0xFEFF}},
        // The printer overstrikes a mark on the character printed just before it, so a mark must
        // stay after its base in visual order too: qamats follows alef.
        Case{"hebrew_mark_stays_after_base", {0x5D0, 0x5B8, 0x5D1}, {0x5D1, 0x5D0, 0x5B8}},
        Case{"arabic_marks_stay_after_base",
             {0x628, 0x64E, 0x651, 0x628},
             {0xFE90, 0xFE91, 0x64E, 0x651}},
        Case{"mark_in_ltr_untouched", {'e', 0x301, 'x'}, {'e', 0x301, 'x'}}),
    [](const ::testing::TestParamInfo<Case>& param_info) {
        return std::string(param_info.param.name);
    });

// What happens to the values themselves: the low 32 bits go through, sign-extended on the way back.
TEST(ReorderingKeepsLow32BitsSigned, ValuesAboveBit31ComeBackNegative) {
    const Reordered r = Reorder({0x80000000L, 0xFFFFFFFFL, 'a'});
    ASSERT_EQ(r.count, 3);
    EXPECT_EQ(r.elements, (Line{INT32_MIN, -1, 'a'}));
}

TEST(ReorderingKeepsLow32BitsSigned, BitsAbove32AreDropped) {
    const Reordered r = Reorder({0x100000041L, static_cast<long>(0xABCD000000005D0ULL), 'b'});
    ASSERT_EQ(r.count, 3);
    EXPECT_EQ(r.elements, (Line{'A', 0x5D0, 'b'}));
}

// A zero unit (0, or any value whose low 32 bits are zero) ends the line where it lands in visual
// order.
struct CutCase {
    const char* name;
    Line logical;
    Line visual_before_cut;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class ReorderingCutsAtFirstZero : public ::testing::TestWithParam<CutCase> {};

TEST_P(ReorderingCutsAtFirstZero, Line) {
    const CutCase& c = GetParam();
    const Reordered r = Reorder(c.logical);
    EXPECT_EQ(r.elements, c.visual_before_cut) << "got " << Hex(r.elements);
}

INSTANTIATE_TEST_SUITE_P(
    Zeros, ReorderingCutsAtFirstZero,
    ::testing::Values(CutCase{"zero_in_latin", {'a', 0, 'b'}, {'a'}},
                      CutCase{"high_bits_only_is_zero", {'a', 'b', 0x100000000L, 'c'}, {'a', 'b'}},
                      CutCase{"leading_zero", {0, 'a'}, {}},
                      // Right to left, the unit after the zero prints first and survives the cut.
                      CutCase{"zero_in_hebrew", {0x5D0, 0, 0x5D1}, {0x5D1}}),
    [](const ::testing::TestParamInfo<CutCase>& param_info) {
        return std::string(param_info.param.name);
    });

TEST(ReorderingEdges, EmptyLineGivesOneZeroElement) {
    const Line line{'z'};
    long* result = nullptr;
    long out = CCFribidi::ReverseTextFixCharFribidi(const_cast<long*>(line.data()), 0, &result);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(result[0], 0);
    delete[] result;
}

TEST(ReorderingEdges, NullLineIsAnEmptyLine) {
    long* result = nullptr;
    EXPECT_EQ(CCFribidi::ReverseTextFixCharFribidi(nullptr, 5, &result), 0);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result[0], 0);
    delete[] result;
}

TEST(ReorderingEdges, NullResultPointerIsRefusedWithoutCrash) {
    Line line{0x5D0, 0x5D1};
    EXPECT_EQ(CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), nullptr), 0);
}

TEST(ReorderingEdges, InputIsOnlyRead) {
    const Line original{0x5D0, 0x100000041L, '(', 0x628, 0};
    Line line = original;
    long* result = nullptr;
    CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &result);
    delete[] result;
    EXPECT_EQ(line, original);
}

TEST(ReorderingEdges, OnlyTheGivenSizeIsRead) {
    // Elements past `size` are not part of the line, even when they are right to left.
    const Reordered r = Reorder({'a', 'b', 0x5D0, 0x5D1}, 2);
    EXPECT_EQ(r.elements, (Line{'a', 'b'}));
}

// FriBidi indexes lines with a signed 32-bit integer. A larger size must not wrap into a short or
// negative length: the line comes back as given, 64-bit values intact, up to its first zero.
TEST(ReorderingRefusesOversizedLength, LineHandedBackUnchanged) {
    const Line line{0x5D0, 0x100000041L, 0x5D1, 0, 0x5D2};
    for (unsigned long size : {0x80000000UL, 0x100000003UL, ULONG_MAX - 1}) {
        long* result = nullptr;
        const long count =
            CCFribidi::ReverseTextFixCharFribidi(const_cast<long*>(line.data()), size, &result);
        ASSERT_NE(result, nullptr) << size;
        EXPECT_EQ(count, 3) << size;
        EXPECT_EQ(Line(result, result + 4), (Line{0x5D0, 0x100000041L, 0x5D1, 0})) << size;
        delete[] result;
    }
}

// Properties over generated lines (fixed seed): a line without right-to-left letters and without
// mirrored characters comes back as it was; a line of Hebrew letters comes back reversed.
TEST(ReorderingProperties, GeneratedLines) {
    std::mt19937 rng(20240611);
    const Line ltr_pool{'a', 'Z', '0', '7', ' ', '.', ',', '+', 0xE9, 0x3B1, 0x416, 0x4E2D};
    std::uniform_int_distribution<long> hebrew(0x5D0, 0x5EA);
    std::uniform_int_distribution<size_t> pick(0, ltr_pool.size() - 1);
    std::uniform_int_distribution<int> length(1, 80);
    for (int round = 0; round < 300; ++round) {
        Line ltr, rtl;
        const int n = length(rng);
        for (int i = 0; i < n; ++i) {
            ltr.push_back(ltr_pool[pick(rng)]);
            rtl.push_back(hebrew(rng));
        }
        EXPECT_EQ(Reorder(ltr).elements, ltr) << Hex(ltr);
        EXPECT_EQ(Reorder(rtl).elements, Line(rtl.rbegin(), rtl.rend())) << Hex(rtl);
    }
}

TEST(Wcslen64, CountsUpToFirstZeroComparingAll64Bits) {
    struct {
        Line s;
        int n;
    } cases[] = {
        {{0}, 0},
        {{'a', 'b', 'c', 0}, 3},
        {{0x100000000L, 0}, 1},  // low 32 bits zero, but not a zero element
        {{-1, INT64_MIN, 0, 'x', 0}, 2},
    };
    for (auto& c : cases) EXPECT_EQ(wcslen(c.s.data()), c.n) << Hex(c.s);
}

}  // namespace

namespace {

// A line with paragraph separators is reordered one paragraph at a time, isolate or not: the first
// paragraph takes the direction of its first strong character, each later one the direction the
// one before resolved to, and each separator stays with its paragraph at the paragraph's level
// (last when left to right, first when right to left). FriBidi never sees a separator, so an
// isolate that meets one (which makes FriBidi 1.0.8 read freed memory) is harmless.
TEST(ParagraphSeparators, EachParagraphReorderedInTheDirectionCarriedOn) {
    struct Paragraphs {
        Line logical, visual;
    };
    const Paragraphs cases[] = {
        // Isolates that reach a separator: FriBidi's crash cases.
        {{0x2068, 0x2D, 0x0A, 0x3E}, {0x2068, 0x2D, 0x0A, 0x3E}},
        {{0x2066, 0x29, 0x2069, 0x2067, 0x0A}, {0x2066, 0x29, 0x2069, 0x2067, 0x0A}},
        // An open isolate hides its letter: the paragraph has no strong character, prints left to
        // right, and hands on no direction, so the next paragraph finds its own.
        {{0x2066, 0x41, 0x0A, 0x05D0, 0x41}, {0x2066, 0x41, 0x0A, 0x41, 0x05D0}},
        {{0x2067, 0x05D0, 0x0A, 0x05D0, 0x0A, 0x05D0},
         {0x2067, 0x05D0, 0x0A, 0x0A, 0x05D0, 0x05D0}},
        // A closed isolate hides nothing after it: left to right, handed on.
        {{0x2066, 0x2069, 0x41, 0x2029, 0x05D0, 0x41},
         {0x2066, 0x2069, 0x41, 0x2029, 0x05D0, 0x41}},
        {{0x41, 0x2066, 0x42, 0x2029, 0x05D0, 0x05D1},
         {0x41, 0x2066, 0x42, 0x2029, 0x05D1, 0x05D0}},
        {{0x05D0, 0x2067, 0x05D1, 0x0A, 0x41, 0x42}, {0x0A, 0x05D1, 0x2067, 0x05D0, 0x41, 0x42}},
        {{0x05D0, 0x2068, 0x31, 0x1C, 0x05D1, 0x20, 0x32, 0x0A},
         {0x1C, 0x31, 0x2068, 0x05D0, 0x0A, 0x32, 0x20, 0x05D1}},
        // No isolate: the second paragraph keeps the first one's right-to-left direction, so its
        // leading Latin letter prints at its right end.
        {{0x05D0, 0x05D1, 0x0A, 0x41, 0x05D2, 0x05D3},
         {0x0A, 0x05D1, 0x05D0, 0x05D3, 0x05D2, 0x41}},
        {{0x05D0, 0x0A, 0x05D1}, {0x0A, 0x05D0, 0x05D1}},
        // An empty paragraph hands on the direction it was given.
        {{0x05D0, 0x0A, 0x0A, 0x41, 0x05D1}, {0x0A, 0x05D0, 0x0A, 0x05D1, 0x41}},
    };
    for (const Paragraphs& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.logical));
        EXPECT_EQ(Reorder(c.logical).elements, c.visual);
    }
}

// Generated lines of letters, digits, isolates, embeddings and separators (fixed seed; valgrind
// runs this suite, so FriBidi's own memory faults show too): every paragraph is reordered within
// its own span, so each span of the visual line holds exactly its paragraph's units.
TEST(ParagraphSeparators, GeneratedLinesKeepEachParagraphInItsSpan) {
    std::mt19937 rng(20261209);
    const Line pool{'a',    'B',    '1',    ' ',    0x05D0, 0x05D1, 0x0661, 0x2066, 0x2067, 0x2068,
                    0x2069, 0x202A, 0x202B, 0x202C, 0x202E, 0x0A,   0x2029, 0x1C,   0x0D};
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int round = 0; round < 2000; ++round) {
        Line line(static_cast<size_t>(length(rng)));
        for (long& unit : line) unit = pool[pick(rng)];
        const Line got = Reorder(line).elements;
        ASSERT_EQ(got.size(), line.size()) << Hex(line);
        size_t start = 0;
        for (size_t i = 0; i <= line.size(); ++i) {
            const bool separator = i < line.size() && (line[i] == 0x0A || line[i] == 0x2029 ||
                                                       line[i] == 0x1C || line[i] == 0x0D);
            if (i < line.size() && !separator) continue;
            const size_t end = std::min(i + 1, line.size());
            Line want(line.begin() + static_cast<long>(start),
                      line.begin() + static_cast<long>(end));
            Line span(got.begin() + static_cast<long>(start), got.begin() + static_cast<long>(end));
            std::sort(want.begin(), want.end());
            std::sort(span.begin(), span.end());
            ASSERT_EQ(span, want) << Hex(line) << " gave " << Hex(got);
            start = end;
        }
    }
}

// Explicit embeddings nested past FriBidi's deepest level make FriBidi 1.0.8 read and write memory
// it does not own (63 LROs, then RLI, PDI and a bracket, kill the process), so a line that nests
// them deeper than the reordering allows comes back as it was. Below that it is reordered, and the
// two Hebrew letters inside the embeddings come back reversed.
TEST(DeeplyNestedEmbeddings, HandedBackUnchangedInsteadOfReachingFriBidi) {
    const Line tail{0x2067, 0x2069, '[', 0x05D0, 0x05D1};
    for (const auto& [pushes, control, reordered] :
         std::vector<std::tuple<int, long, bool>>{{58, 0x202A, true},
                                                  {59, 0x202A, true},
                                                  {60, 0x202A, false},
                                                  {62, 0x202D, false},
                                                  {63, 0x202D, false},
                                                  {63, 0x202A, false},
                                                  {200, 0x202E, false}}) {
        Line line(static_cast<size_t>(pushes), control);
        line.insert(line.end(), tail.begin(), tail.end());
        const Line got = Reorder(line).elements;
        SCOPED_TRACE(::testing::Message() << pushes << " x " << std::hex << control);
        if (reordered) {
            ASSERT_EQ(got.size(), line.size());
            const auto alef = std::find(got.begin(), got.end(), 0x05D0);
            const auto bet = std::find(got.begin(), got.end(), 0x05D1);
            EXPECT_EQ(bet + 1, alef);
        } else {
            EXPECT_EQ(got, line);
        }
    }
}

}  // namespace

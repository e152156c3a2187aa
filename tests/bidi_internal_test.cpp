// SPDX-License-Identifier: Apache-2.0
// The reordering's failure paths, reached through its internal seam: the FriBidi call and the
// allocator of FriBidi's visual string are replaced by fakes that fail on purpose.
//
// Interposing malloc in the test binary would reach the same paths through the real FriBidi, but
// under AddressSanitizer the sanitizer owns malloc, and which definition wins is not something a
// test should depend on; the seam gives the same coverage deterministically in every build.
#include <gtest/gtest.h>

#include <fribidi.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "bidi/reorder_line_internal.h"

namespace {

using Line = std::vector<long>;
using zelvar_bidi::ReorderLine;

// What the fakes saw; the tests run one at a time.
struct Seen {
    int log2vis_calls = 0;
    int alloc_calls = 0;
    std::size_t alloc_bytes = 0;
    FriBidiStrIndex length = -1;
    FriBidiParType direction = 0;
    std::vector<FriBidiChar> logical;  // length + 1 units, terminator included
    bool maps_and_levels_null = false;
};
Seen seen;

FriBidiLevel RecordingLog2Vis(const FriBidiChar* str, FriBidiStrIndex len, FriBidiParType* dir,
                              FriBidiChar* visual, FriBidiStrIndex* l2v, FriBidiStrIndex* v2l,
                              FriBidiLevel* levels) {
    ++seen.log2vis_calls;
    seen.length = len;
    seen.direction = *dir;
    seen.logical.assign(str, str + len + 1);
    seen.maps_and_levels_null = l2v == nullptr && v2l == nullptr && levels == nullptr;
    return fribidi_log2vis(str, len, dir, visual, l2v, v2l, levels);
}

FriBidiLevel FailingLog2Vis(const FriBidiChar*, FriBidiStrIndex, FriBidiParType*, FriBidiChar*,
                            FriBidiStrIndex*, FriBidiStrIndex*, FriBidiLevel*) {
    ++seen.log2vis_calls;
    return 0;
}

// Fails after writing a full visual string, as FriBidi could when memory runs out late: the
// half-done output must not leak into the answer.
FriBidiLevel ScribblingFailingLog2Vis(const FriBidiChar* str, FriBidiStrIndex len,
                                      FriBidiParType* dir, FriBidiChar* visual,
                                      FriBidiStrIndex* l2v, FriBidiStrIndex* v2l,
                                      FriBidiLevel* levels) {
    ++seen.log2vis_calls;
    fribidi_log2vis(str, len, dir, visual, l2v, v2l, levels);
    for (FriBidiStrIndex i = 0; i < len; ++i) visual[i] ^= 0x5A5A;
    return 0;
}

[[noreturn]] FriBidiLevel ThrowingLog2Vis(const FriBidiChar*, FriBidiStrIndex, FriBidiParType*,
                                          FriBidiChar*, FriBidiStrIndex*, FriBidiStrIndex*,
                                          FriBidiLevel*) {
    throw std::bad_alloc();
}

void* CountingMalloc(std::size_t bytes) {
    ++seen.alloc_calls;
    seen.alloc_bytes = bytes;
    return std::malloc(bytes);
}

void* NullMalloc(std::size_t bytes) {
    ++seen.alloc_calls;
    seen.alloc_bytes = bytes;
    return nullptr;
}

struct Outcome {
    long count = -1;
    Line elements;  // up to and including [count]
};

Outcome ReorderWith(const Line& line, zelvar_bidi::Log2VisFunction log2vis,
                    zelvar_bidi::VisualAllocFunction alloc) {
    seen = Seen{};
    // Exactly sized, so that reading past the line shows under AddressSanitizer.
    std::vector<long> input(line);
    input.shrink_to_fit();
    long* result = nullptr;
    Outcome out;
    out.count =
        ReorderLine(input.empty() ? nullptr : input.data(), input.size(), &result, log2vis, alloc);
    EXPECT_NE(result, nullptr);
    if (result != nullptr && out.count >= 0) {
        out.elements.assign(result, result + out.count + 1);
    }
    delete[] result;
    return out;
}

// Every way the reordering can fail hands the line back as it was given: all 64 bits of each
// element, up to its first zero element (all 64 bits compared) or its end, then one zero.
struct HandBackCase {
    const char* name;
    Line line;
    Line expected;  // including the closing zero
};

void PrintTo(const HandBackCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedReorderingHandsLineBack : public ::testing::TestWithParam<HandBackCase> {};

TEST_P(FailedReorderingHandsLineBack, FriBidiFailure) {
    const HandBackCase& c = GetParam();
    const Outcome out = ReorderWith(c.line, &FailingLog2Vis, &CountingMalloc);
    EXPECT_EQ(seen.log2vis_calls, 1);
    EXPECT_EQ(out.count, static_cast<long>(c.expected.size()) - 1);
    EXPECT_EQ(out.elements, c.expected);
}

TEST_P(FailedReorderingHandsLineBack, FriBidiFailureAfterWritingOutput) {
    const HandBackCase& c = GetParam();
    const Outcome out = ReorderWith(c.line, &ScribblingFailingLog2Vis, &CountingMalloc);
    EXPECT_EQ(out.elements, c.expected);
}

TEST_P(FailedReorderingHandsLineBack, VisualStringNotAllocated) {
    const HandBackCase& c = GetParam();
    const Outcome out = ReorderWith(c.line, &RecordingLog2Vis, &NullMalloc);
    EXPECT_EQ(seen.alloc_calls, 1);
    EXPECT_EQ(seen.log2vis_calls, 0) << "FriBidi must not get a null output string";
    EXPECT_EQ(out.elements, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FailedReorderingHandsLineBack,
    ::testing::Values(HandBackCase{"no_zero_whole_line",
                                   {0x5D0, 0x100000041L, -7, 0x628},
                                   {0x5D0, 0x100000041L, -7, 0x628, 0}},
                      HandBackCase{"cut_at_zero", {0x5D0, 0x5D1, 0, 0x5D2}, {0x5D0, 0x5D1, 0}},
                      // Only a value with all 64 bits zero ends the line here.
                      HandBackCase{"low_bits_zero_is_kept",
                                   {'a', 0x100000000L, 'b'},
                                   {'a', 0x100000000L, 'b', 0}},
                      HandBackCase{"leading_zero", {0, 'a'}, {0}},
                      // Reordered paragraph by paragraph: a failure there hands the line back too.
                      HandBackCase{"isolate_before_separator",
                                   {0x2068, 0x5D0, 0x0A, 0x5D1},
                                   {0x2068, 0x5D0, 0x0A, 0x5D1, 0}},
                      HandBackCase{"empty_line", {}, {0}}),
    [](const ::testing::TestParamInfo<HandBackCase>& param_info) {
        return std::string(param_info.param.name);
    });

// The call FriBidi receives: length equal to the size, a zero unit after the line, the low 32 bits
// of every element, the first strong character deciding the direction, and no position maps or
// embedding levels requested.
TEST(ReorderingCallsFriBidi, WithTheLineAsFriBidiExpectsIt) {
    const Line line{0x5D0, 0x100000041L, -1, 0x80000000L, ' '};
    const Outcome out = ReorderWith(line, &RecordingLog2Vis, &CountingMalloc);
    ASSERT_EQ(seen.log2vis_calls, 1);
    EXPECT_EQ(seen.length, 5);
    EXPECT_EQ(seen.direction, static_cast<FriBidiParType>(FRIBIDI_PAR_ON));
    EXPECT_TRUE(seen.maps_and_levels_null);
    EXPECT_EQ(seen.logical,
              (std::vector<FriBidiChar>{0x5D0, 0x41, 0xFFFFFFFFu, 0x80000000u, ' ', 0}));
    EXPECT_GE(seen.alloc_bytes, 6 * sizeof(FriBidiChar));
    EXPECT_EQ(out.count, 5);
}

TEST(ReorderingCallsFriBidi, EmptyLineStillCallsFriBidiAndSucceeds) {
    const Outcome out = ReorderWith({}, &RecordingLog2Vis, &CountingMalloc);
    EXPECT_EQ(seen.log2vis_calls, 1);
    EXPECT_EQ(seen.length, 0);
    EXPECT_EQ(out.count, 0);
    EXPECT_EQ(out.elements, (Line{0}));
}

// An exception from inside the call (memory exhaustion) passes through; the work strings are
// released on the way (LeakSanitizer checks that in the sanitizer build) and the caller's pointer
// is left null rather than dangling or uninitialised.
TEST(ReorderingUnderException, ReleasesBuffersAndLeavesResultNull) {
    Line line{0x5D0, 0x5D1};
    long* result = reinterpret_cast<long*>(&line);
    EXPECT_THROW(ReorderLine(line.data(), line.size(), &result, &ThrowingLog2Vis, &CountingMalloc),
                 std::bad_alloc);
    EXPECT_EQ(result, nullptr);
}

}  // namespace

namespace {

// The paragraph split and the nesting guard recognise the explicit formatting characters and the
// separators by value; those values must be exactly the code points of FriBidi's classes.
TEST(LineScan, RecognisesExactlyFriBidisExplicitClassesAndSeparators) {
    using zelvar_bidi::ExplicitFormat;
    for (FriBidiChar u = 0; u <= 0x10FFFF; ++u) {
        const FriBidiCharType type = fribidi_get_bidi_type(u);
        ExplicitFormat want = ExplicitFormat::kNone;
        if (type == FRIBIDI_TYPE_LRE || type == FRIBIDI_TYPE_RLE || type == FRIBIDI_TYPE_LRO ||
            type == FRIBIDI_TYPE_RLO) {
            want = ExplicitFormat::kEmbedding;
        } else if (type == FRIBIDI_TYPE_LRI || type == FRIBIDI_TYPE_RLI ||
                   type == FRIBIDI_TYPE_FSI) {
            want = ExplicitFormat::kIsolate;
        } else if (type == FRIBIDI_TYPE_PDF) {
            want = ExplicitFormat::kPopEmbedding;
        } else if (type == FRIBIDI_TYPE_PDI) {
            want = ExplicitFormat::kPopIsolate;
        }
        ASSERT_EQ(zelvar_bidi::ClassifyExplicit(u), want) << std::hex << u;
        ASSERT_EQ(zelvar_bidi::IsParagraphSeparator(u), type == FRIBIDI_TYPE_BS) << std::hex << u;
    }
}

// The nesting the guard measures is the stack rules X1-X8 build: what closes an entry, and what
// does not, decides whether a line reaches the limit.
TEST(LineScan, MeasuresExplicitNestingAsTheBidiRulesStackIt) {
    using Units = std::vector<FriBidiChar>;
    const int limit = zelvar_bidi::kMaxExplicitNesting;
    auto repeat = [](FriBidiChar u, int n) { return Units(static_cast<size_t>(n), u); };
    auto join = [](std::initializer_list<Units> parts) {
        Units all;
        for (const Units& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    struct {
        const char* name;
        Units line;
        bool too_deep;
    } cases[] = {
        {"at the limit", repeat(0x202D, limit), false},
        {"one past the limit", repeat(0x202D, limit + 1), true},
        {"isolates count too", join({repeat(0x202A, limit - 1), {0x2067, 0x2068}}), true},
        {"PDF closes an embedding", join({repeat(0x202B, limit), {0x202C, 0x202E}}), false},
        {"PDF cannot close an isolate", join({repeat(0x202A, limit - 1), {0x2066, 0x202C, 0x202A}}),
         true},
        {"PDI closes its isolate and what it holds",
         join({{0x2067}, repeat(0x202A, limit - 1), {0x2069}, repeat(0x202D, limit)}), false},
        {"unmatched PDI closes nothing", join({repeat(0x202A, limit), {0x2069, 0x202A}}), true},
        {"each paragraph starts afresh",
         join({repeat(0x202D, limit), {0x2029}, repeat(0x202D, limit)}), false},
        {"the crashing line", join({repeat(0x202D, 63), {0x2067, 0x2069, '['}}), true},
    };
    for (const auto& c : cases) {
        const zelvar_bidi::LineShape shape = zelvar_bidi::ScanLine(c.line.data(), c.line.size());
        EXPECT_EQ(shape.nests_too_deep, c.too_deep) << c.name;
    }
}

}  // namespace

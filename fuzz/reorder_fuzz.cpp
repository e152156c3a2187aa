// SPDX-License-Identifier: Apache-2.0
// The reordering on any line of 64-bit values: the caller's line is left as it was, the result
// is terminated where the count says, and every element went through the 32-bit reordering, or
// the line came back as it was when it nests too deep to be reordered.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bidi/cfribidi.h"
#include "bidi/reorder_line_internal.h"
#include "fuzz/fuzz_input.h"

namespace {

// Code points that exercise the reordering: Hebrew, Arabic, digits, brackets, spaces, marks,
// explicit controls, paragraph separators, zero, and values that are no code point at all.
constexpr std::int64_t kAlphabet[] = {
    0x05D0, 0x05D1,     0x0627,   0x0628,  0x0644, 0x064E, 0x0661,       0x06F1,
    0x0031, 0x0041,     0x0028,   0x0029,  0x005B, 0x005D, 0x0020,       0x002E,
    0x200E, 0x200F,     0x202A,   0x202B,  0x202C, 0x202D, 0x202E,       0x2066,
    0x2067, 0x2068,     0x2069,   0x0000,  0x0300, 0xFEFF, 0x80000000LL, 0x100000000LL,
    -1,     0x7FFFFFFF, 0x110000, 0x1F600, 0x000A, 0x2029, 0x001C};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::vector<long> line;
    while (in.Remaining() > 0 && line.size() < 4096) {
        const std::uint8_t selector = in.Byte();
        if (selector < 224) {
            line.push_back(
                static_cast<long>(kAlphabet[selector % (sizeof kAlphabet / sizeof kAlphabet[0])]));
        } else {
            line.push_back(in.Value<long>());
        }
    }
    const std::vector<long> original = line;
    long* result = nullptr;
    const long count = CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &result);
    FUZZ_CHECK(line == original);
    FUZZ_CHECK(result != nullptr);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= line.size());
    FUZZ_CHECK(result[count] == 0);
    // A line whose explicit embeddings nest too deep for FriBidi comes back as it was, 64-bit
    // values and all, cut at its first zero element; every other line went through the 32-bit
    // reordering.
    std::vector<FriBidiChar> units;
    for (long v : line) units.push_back(zelvar_bidi::LogicalUnit(v));
    if (zelvar_bidi::ScanLine(units.data(), units.size()).nests_too_deep) {
        const std::size_t kept = static_cast<std::size_t>(
            std::find(original.begin(), original.end(), 0L) - original.begin());
        FUZZ_CHECK(static_cast<std::size_t>(count) == kept);
        FUZZ_CHECK(std::equal(original.begin(), original.begin() + count, result));
    } else {
        for (long i = 0; i < count; ++i) {
            FUZZ_CHECK(result[i] != 0);
            FUZZ_CHECK(result[i] == static_cast<std::int32_t>(result[i]));
        }
    }
    // Without any zero element the whole line comes back, in some order (a line handed back
    // keeps an element whose low 32 bits alone are zero, so this holds for it too).
    bool has_zero = false;
    for (long v : original) has_zero = has_zero || static_cast<std::uint32_t>(v) == 0;
    if (!has_zero) FUZZ_CHECK(static_cast<std::size_t>(count) == original.size());
    delete[] result;
    return 0;
}

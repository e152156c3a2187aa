// SPDX-License-Identifier: Apache-2.0
// Exhausted memory at every allocation a call makes: the standard exception passes out, nothing
// leaks, and the caller's buffer, placement record and text are left exactly as they were.
//
// This test binary replaces the global operator new (tests/failing_new.cpp), which the library's
// calls resolve to as well, so that the n-th allocation after arming throws std::bad_alloc.
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"
#include "fontmgr/glyph_column.h"
#include "tests/test_util.h"

namespace {

// Runs `call` with the 1st, 2nd, ... allocation failing until it completes without a failure.
// After each failure `check` is run and no allocation may be left behind. Returns the number of
// allocations the call made.
template <typename Call, typename Check>
int FailEveryAllocation(Call call, Check check) {
    for (int n = 1; n < 100; ++n) {
        const long live_before = testutil::LiveAllocations();
        testutil::FailNthAllocation(n);
        bool threw = false;
        try {
            call();
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        testutil::StopFailing();
        const bool failed_on_nth = testutil::AllocationFailed();
        if (!threw) {
            EXPECT_FALSE(failed_on_nth) << "an allocation failed but the call reported success";
            return n - 1;
        }
        EXPECT_EQ(testutil::LiveAllocations(), live_before)
            << "leak after allocation " << n << " failed";
        check();
    }
    ADD_FAILURE() << "the call never completed";
    return -1;
}

using testutil::Bytes;

TEST(AllocationFailure, CompositionLeavesBufferAndRecordUntouched) {
    struct Case {
        const char* what;
        int code_point, width;
        _SWFONTINFO info;
        _SWFONT_JUSTIFICATION justification;
        bool with_buffer;
    };
    const Case cases[] = {
        {"plain letter", 0x0628, 10, SWFONT_EMPTY_PLACEMENT, SWFONT_JUSTIFICATION_NONE, true},
        {"justified alef", 0x0627, 13, SWFONT_EMPTY_PLACEMENT, SWFONT_JUSTIFICATION_LEFT, true},
        {"fitted mark", 0x064E, 18, {2, 2, 12, 8, 0, 0}, SWFONT_JUSTIFICATION_NONE, true},
        {"wide ideograph", 0x9FA6, 24, {1, 2, 3, 4, 5, 6}, SWFONT_JUSTIFICATION_RIGHT, true},
        {"no buffer", 0x0627, 10, {1, 2, 3, 4, 5, 6}, SWFONT_JUSTIFICATION_NONE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> buffer(128, 0x5A);
        _SWFONTINFO info = c.info;
        const int allocations = FailEveryAllocation(
            [&] {
                CFntMngr::GetFontDrawBuffer(c.code_point, 1256, c.width, 24,
                                            c.with_buffer ? buffer.data() : nullptr, &info,
                                            c.justification);
            },
            [&] {
                EXPECT_EQ(buffer, std::vector<unsigned char>(128, 0x5A));
                EXPECT_EQ(Bytes(info), Bytes(c.info));
            });
        EXPECT_GE(allocations, 1);
    }
}

TEST(AllocationFailure, GlyphOperationsLeakNothing) {
    const std::vector<unsigned char> record = {4, 4, 4, 8, 0, 0, 0, 0x0F, 0xFF, 0, 0x0F, 0xFF, 0};
    int l, r, t, b;
    EXPECT_GE(FailEveryAllocation([&] { ShiftH(record, 1, 3); }, [] {}), 1);
    EXPECT_GE(FailEveryAllocation([&] { ShiftV(record, -2, 3); }, [] {}), 1);
    EXPECT_GE(FailEveryAllocation([&] { CalcMarginDataVector(record, 3, &l, &r, &t, &b); }, [] {}),
              1);
}

TEST(AllocationFailure, ReorderingLeaksNothingAndKeepsTheLine) {
    const std::vector<long> text = {0x05D0, 0x05D1, 0x20, 0x31, 0x32, 0x0644, 0x0627};
    std::vector<long> line = text;
    long* result = nullptr;
    const int allocations = FailEveryAllocation(
        [&] {
            result = nullptr;
            CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &result);
            delete[] result;
        },
        [&] { EXPECT_EQ(line, text); });
    EXPECT_GE(allocations, 1);
}

}  // namespace

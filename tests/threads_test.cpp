// SPDX-License-Identifier: Apache-2.0
// Any thread may call any operation at any time: the library keeps no state of its own, and the
// fonts are constant. Several threads compose, query and reorder at once and must get exactly
// what one thread gets alone. Run under ThreadSanitizer by tools/run-tests.sh.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"

namespace {

struct Work {
    int code_point, width;
};

// A line of characters composed one after the other with the record carried along, plus the
// queries and the reordering of mixed lines: everything the Java side can call.
std::vector<int> RunOnce(const std::vector<Work>& work,
                         const std::vector<std::vector<long>>& lines) {
    std::vector<int> out;
    _SWFONTINFO info = SWFONT_EMPTY_PLACEMENT;
    unsigned char buffer[SWFONT_MAX_SEQUENCE];
    for (const Work& w : work) {
        const int n = CFntMngr::GetFontDrawBuffer(w.code_point, 1256, w.width, 24, buffer, &info,
                                                  SWFONT_JUSTIFICATION_LEFT);
        out.push_back(n);
        for (int i = 0; i < n; ++i) out.push_back(buffer[i]);
        out.insert(out.end(), {info.LeftMargin, info.RightMargin, info.TopMargin, info.BottomMargin,
                               info.Overstrike, info.HJust});
        out.push_back(CFntMngr::CharAvailable(w.code_point, 932, w.width, 24));
        out.push_back(IsCPSupported(w.code_point));
        out.push_back(CFntMngr::IsFontWidthSupported(w.width));
    }
    for (const std::vector<long>& line : lines) {
        long* visual = nullptr;
        std::vector<long> copy = line;
        const long count = CCFribidi::ReverseTextFixCharFribidi(copy.data(), copy.size(), &visual);
        for (long i = 0; i <= count; ++i) out.push_back(static_cast<int>(visual[i]));
        delete[] visual;
    }
    return out;
}

TEST(Threads, ConcurrentCallsGiveTheSerialResults) {
    const std::vector<Work> work = {{0x0628, 10}, {0x064E, 10}, {0x0651, 10}, {0x0627, 13},
                                    {0x0650, 13}, {0x9FA6, 24}, {0x3099, 18}, {0x2500, 18},
                                    {0x41, 10},   {0x0627, 24}};
    // Lines with many runs, so that FriBidi allocates much per call, and one of paragraphs.
    const std::vector<std::vector<long>> parts = {
        {0x0645, 0x0631, 0x062D, 0x0628, 0x0627, 0x20, 0x28, 0x31, 0x32, 0x29, 0x20, 0x05D0, 0x05D1,
         0x20, 0x41, 0x42},
        {0x5D0, 0x5D1, ' ', '1', '2', ' ', '(', 'a', 'b', ')'},
        {0x628, 0x64E, 0x644, 0x627, ' ', 0x660, 0x661, ' ', 0x628, 0x628},
        {'x', ' ', 0x5D0, 0x5B8, 0x5D1, ' ', '[', 0x5D2, ']', ' ', 'y'},
        {'1', '.', '2', ' ', 0x5E9, 0x5DC, 0x5D5, 0x5DD, ' ', '{', 'Q', '}'},
        {0x647, 0x644, ' ', 0x62A, 0x633, 0x62A, 0x0A, '3', '%', ' ', 0x5D0, '<', '>'},
    };
    std::vector<std::vector<long>> lines = parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::vector<long> joined;
        for (size_t k = 0; k < 4; ++k) {
            const std::vector<long>& part = parts[(i + k) % parts.size()];
            joined.insert(joined.end(), part.begin(), part.end());
            joined.push_back(' ');
        }
        lines.push_back(joined);
    }
    const std::vector<int> serial = RunOnce(work, lines);
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int r = 0; r < kRounds; ++r) {
                if (RunOnce(work, lines) != serial) ++mismatches[t];
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace

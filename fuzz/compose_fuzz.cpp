// SPDX-License-Identifier: Apache-2.0
// The composition with all seven arguments free: it must refuse cleanly or write exactly the
// sequence it reports, and never touch what a refusal promises to leave alone.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fontmgr/fntmngr.h"
#include "fuzz/fuzz_input.h"

namespace {

// Starts of the covered code point ranges, so that the fuzzer reaches real glyphs often.
constexpr int kRangeStarts[] = {0x00A5, 0x0600, 0x0700, 0x0870, 0x08A0, 0x2010,
                                0x2500, 0x3000, 0x3099, 0x30A0, 0x4DB0, 0x9FA0,
                                0xE000, 0xF8B0, 0xFB50, 0xFBC0, 0xFE70, 0xFEF0};
constexpr int kCodePages[] = {1256, 864, 720, 1098, 862, 1255, 290, 20290, 932, 936, 54936, 437};
constexpr int kWidths[] = {10, 13, 18, 24, 11, 0};
constexpr int kHeights[] = {24, 24, 24, 23};
constexpr unsigned char kSentinel = 0xC7;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int range_start = in.OneOfOrAny(kRangeStarts);
    // Wraps around instead of overflowing when the start was drawn as any value.
    const int code_point =
        static_cast<int>(static_cast<unsigned>(range_start) + static_cast<unsigned>(in.Byte()));
    const int code_page = in.OneOfOrAny(kCodePages);
    const int width = in.OneOfOrAny(kWidths);
    const int height = in.OneOfOrAny(kHeights);
    const std::uint8_t mode = in.Byte();
    const bool with_buffer = (mode & 1) != 0;
    const bool with_info = (mode & 2) != 0;
    const auto justification = static_cast<_SWFONT_JUSTIFICATION>(in.Value<int>());
    _SWFONTINFO info;
    unsigned char raw_info[sizeof info];
    for (unsigned char& b : raw_info) b = in.Byte();
    std::memcpy(&info, raw_info, sizeof info);
    const _SWFONTINFO before = info;

    unsigned char buffer[128];
    std::memset(buffer, kSentinel, sizeof buffer);
    const int status = CFntMngr::GetFontDrawBuffer(code_point, code_page, width, height,
                                                   with_buffer ? buffer : nullptr,
                                                   with_info ? &info : nullptr, justification);

    const bool available = CFntMngr::CharAvailable(code_point, code_page, width, height);
    FUZZ_CHECK(available == (status > 0));
    FUZZ_CHECK(status >= SWFONT_ERR_WIDTH && status != 0);

    std::size_t untouched_from = 0;
    if (status > 0 && with_buffer) {
        const int W = width;
        FUZZ_CHECK(status == 3 * W + 16 || status == 3 * W + 17);
        const unsigned char ch = W == 24 ? 0x80 : 0x41;
        FUZZ_CHECK(buffer[0] == 0x1B && buffer[1] == 0x26 && buffer[2] == 3);
        FUZZ_CHECK(buffer[3] == ch && buffer[4] == ch && buffer[5] == W);
        FUZZ_CHECK(buffer[status - 1] == 0xAA && buffer[status - 4] == 0x00);
        FUZZ_CHECK(buffer[status - 7] == ch);
        untouched_from = static_cast<std::size_t>(status);
        if (with_info) {
            FUZZ_CHECK(info.Overstrike == (status == 3 * W + 17 ? 1 : 0));
            FUZZ_CHECK(info.HJust <= 1);
        }
    } else {
        if (status > 0) FUZZ_CHECK(status == 4 + 3 * width);
        FUZZ_CHECK(std::memcmp(&info, &before, sizeof info) == 0);
    }
    for (std::size_t i = untouched_from; i < sizeof buffer; ++i) FUZZ_CHECK(buffer[i] == kSentinel);
    return 0;
}

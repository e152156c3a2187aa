// SPDX-License-Identifier: Apache-2.0
// Reordering of one line, against two baselines measured on the same line in the same run:
//   fribidi: a bare fribidi_log2vis call, the line already in FriBidi's units and the visual
//            string already allocated;
//   icu:     ICU's pipeline on the same line in UTF-16 (one UBiDi object kept across calls):
//            ubidi_setPara with UBIDI_DEFAULT_LTR, ubidi_writeReordered with mirroring,
//            u_shapeArabic on the visual text.
// The library's own call (zelvar) converts the 64-bit line, reorders it and hands back a new
// array, as the Java binding uses it.
#include <fribidi.h>
#include <unicode/ubidi.h>
#include <unicode/ushape.h>

#include <string>
#include <vector>

#include "bench/bench_lines.h"
#include "bidi/cfribidi.h"

namespace zelvar_bench {
namespace {

std::vector<UChar> Utf16(const Line& line) {
    std::vector<UChar> text;
    for (long cp : line) {
        if (cp >= 0x10000) {
            text.push_back(static_cast<UChar>(0xD800 + ((cp - 0x10000) >> 10)));
            text.push_back(static_cast<UChar>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<UChar>(cp));
        }
    }
    return text;
}

// The longest lines are timed once per repetition: FriBidi's bracket pairing takes seconds there.
void Configure(benchmark::internal::Benchmark* b, std::size_t length) {
    b->Unit(benchmark::kMicrosecond);
    if (length >= 100000) b->Iterations(1)->Repetitions(3);
}

void RegisterLine(const std::string& name, const Line& line) {
    Configure(Register("reorder/" + name + "/zelvar",
                       [line](benchmark::State& state) {
                           std::vector<long> input = line;
                           for (auto _ : state) {
                               long* result = nullptr;
                               const long n = CCFribidi::ReverseTextFixCharFribidi(
                                   input.data(), input.size(), &result);
                               benchmark::DoNotOptimize(n);
                               benchmark::DoNotOptimize(result);
                               delete[] result;
                           }
                       }),
              line.size());

    Configure(Register("reorder/" + name + "/fribidi",
                       [line](benchmark::State& state) {
                           std::vector<FriBidiChar> logical(line.begin(), line.end());
                           std::vector<FriBidiChar> visual(line.size() + 1);
                           const auto length = static_cast<FriBidiStrIndex>(line.size());
                           for (auto _ : state) {
                               FriBidiParType direction = FRIBIDI_PAR_ON;
                               const FriBidiLevel level =
                                   fribidi_log2vis(logical.data(), length, &direction,
                                                   visual.data(), nullptr, nullptr, nullptr);
                               benchmark::DoNotOptimize(level);
                               benchmark::ClobberMemory();
                           }
                       }),
              line.size());

    Configure(Register("reorder/" + name + "/icu",
                       [line](benchmark::State& state) {
                           const std::vector<UChar> text = Utf16(line);
                           const auto length = static_cast<int32_t>(text.size());
                           std::vector<UChar> visual(text.size() + 1);
                           std::vector<UChar> shaped(text.size() + 1);
                           UErrorCode error = U_ZERO_ERROR;
                           UBiDi* bidi = ubidi_openSized(length, 0, &error);
                           for (auto _ : state) {
                               ubidi_setPara(bidi, text.data(), length, UBIDI_DEFAULT_LTR, nullptr,
                                             &error);
                               const int32_t n = ubidi_writeReordered(
                                   bidi, visual.data(), length + 1, UBIDI_DO_MIRRORING, &error);
                               const int32_t m = u_shapeArabic(
                                   visual.data(), n, shaped.data(), length + 1,
                                   U_SHAPE_LETTERS_SHAPE | U_SHAPE_TEXT_DIRECTION_VISUAL_LTR,
                                   &error);
                               benchmark::DoNotOptimize(m);
                               benchmark::ClobberMemory();
                           }
                           if (U_FAILURE(error)) state.SkipWithError(u_errorName(error));
                           ubidi_close(bidi);
                       }),
              line.size());
}

}  // namespace

void RegisterReorderBenchmarks() {
    for (const auto& [name, line] : ReorderLines()) RegisterLine(name, line);
}

}  // namespace zelvar_bench

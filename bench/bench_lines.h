// SPDX-License-Identifier: Apache-2.0
// The lines and helpers shared by the benchmarks (and handed to the Java harness, so that both
// sides time the same text).
#ifndef ZELVAR_BENCH_BENCH_LINES_H
#define ZELVAR_BENCH_BENCH_LINES_H

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace zelvar_bench {

// A receipt line of an Arabic shop: Arabic words, European and Arabic-Indic digits, a Latin
// letter, brackets (mirrored in right-to-left text) and punctuation.
inline constexpr char32_t kMixedReceipt[] = U"فاتورة 1042: قهوة عربية (كبير) x2 = 15.50 ر.س ١٢";
// A receipt line without any right-to-left, Arabic-number or bidi-control character.
inline constexpr char32_t kLatinReceipt[] = U"Table 7: Coffee (large) x2 = 15.50 EUR [paid] #1";
// Text dense in brackets, each pair around a right-to-left or a left-to-right word, for the growth
// curve: bracket pairing is the part of the algorithm that is not linear in the line's length.
inline constexpr char32_t kBracketText[] = U"\u05D0(\u05D1) [a] {\u05D2}";
static_assert(std::size(kMixedReceipt) - 1 == 48, "the mixed receipt line is 48 characters");
static_assert(std::size(kLatinReceipt) - 1 == 48, "the Latin receipt line is 48 characters");

using Line = std::vector<long>;

// `text` repeated (each copy followed by a space) and cut to `length` code points.
inline Line RepeatedLine(const char32_t* text, std::size_t length) {
    Line line;
    while (line.size() < length) {
        for (const char32_t* p = text; *p != 0 && line.size() < length; ++p) line.push_back(*p);
        if (line.size() < length) line.push_back(' ');
    }
    return line;
}

// The reordering's test lines by name: 48-character receipt lines, mixed and Latin lines of 1,000
// characters, and mixed and bracket-dense lines of 1,000, 10,000 and 100,000 characters for the
// growth curve.
inline std::vector<std::pair<std::string, Line>> ReorderLines() {
    return {
        {"mixed48", RepeatedLine(kMixedReceipt, 48)},
        {"latin48", RepeatedLine(kLatinReceipt, 48)},
        {"mixed1000", RepeatedLine(kMixedReceipt, 1000)},
        {"latin1000", RepeatedLine(kLatinReceipt, 1000)},
        {"mixed10000", RepeatedLine(kMixedReceipt, 10000)},
        {"mixed100000", RepeatedLine(kMixedReceipt, 100000)},
        {"brackets1000", RepeatedLine(kBracketText, 1000)},
        {"brackets10000", RepeatedLine(kBracketText, 10000)},
        {"brackets100000", RepeatedLine(kBracketText, 100000)},
    };
}

// Registers a benchmark under `name` ("group/case/variant"). Under callgrind, each run of it is
// dumped as a profile of its own, named after its iteration count and its name, so that
// instructions per call can be counted free of the machine's noise (bench/run.sh with
// INSTRUCTIONS=1). With --fixed-iterations=N on the command line every benchmark runs exactly N
// iterations, once.
benchmark::internal::Benchmark* Register(const std::string& name,
                                         std::function<void(benchmark::State&)> body);

// Each benchmark group registers its cases.
void RegisterLookupBenchmarks();
void RegisterComposeBenchmarks();
void RegisterReorderBenchmarks();

}  // namespace zelvar_bench

#endif  // ZELVAR_BENCH_BENCH_LINES_H

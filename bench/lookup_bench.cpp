// SPDX-License-Identifier: Apache-2.0
// Glyph lookup in each font at the first, middle and last entry, at a code point inside a gap of
// the table and at one far outside it. A lookup must cost the same wherever the code point lies.
#include <string>
#include <vector>

#include "bench/bench_lines.h"
#include "fonts/fonts.h"

namespace zelvar_bench {
namespace {

using Lookup = std::vector<unsigned char> (*)(int, unsigned int*);

struct Font {
    const char* name;
    Lookup lookup;
};

const Font kFonts[] = {
    {"10x24", &CFont10x24::GetBuffer10x24},
    {"13x24", &CFont13x24::GetBuffer13x24},
    {"18x24", &CFont18x24::GetBuffer18x24},
    {"24x24", &CFont24x24::GetBuffer24x24},
};

// Every font lies in the Basic Multilingual Plane: its covered code points, found by asking it.
std::vector<int> CoveredCodePoints(Lookup lookup) {
    std::vector<int> covered;
    unsigned int flags = 0;
    for (int cp = 0; cp <= 0xFFFF; ++cp) {
        if (!lookup(cp, &flags).empty()) covered.push_back(cp);
    }
    return covered;
}

// The middle of the widest gap between two covered code points.
int InsideWidestGap(const std::vector<int>& covered) {
    int best_from = covered.front();
    int best_width = 0;
    for (std::size_t i = 1; i < covered.size(); ++i) {
        if (covered[i] - covered[i - 1] > best_width) {
            best_width = covered[i] - covered[i - 1];
            best_from = covered[i - 1];
        }
    }
    return best_from + best_width / 2;
}

void RegisterFont(const Font& font) {
    const std::vector<int> covered = CoveredCodePoints(font.lookup);
    if (covered.empty()) return;
    const struct {
        const char* name;
        int code_point;
    } positions[] = {
        {"first", covered.front()}, {"middle", covered[covered.size() / 2]},
        {"last", covered.back()},   {"gap", InsideWidestGap(covered)},
        {"outside", 0x10FFFF},
    };
    for (const auto& p : positions) {
        const Lookup lookup = font.lookup;
        const int code_point = p.code_point;
        Register("lookup/" + std::string(font.name) + "/" + p.name,
                 [lookup, code_point](benchmark::State& state) {
                     unsigned int flags = 0;
                     for (auto _ : state) {
                         std::vector<unsigned char> record = lookup(code_point, &flags);
                         benchmark::DoNotOptimize(record.data());
                         benchmark::DoNotOptimize(flags);
                     }
                 });
    }
}

}  // namespace

void RegisterLookupBenchmarks() {
    for (const Font& font : kFonts) RegisterFont(font);
}

}  // namespace zelvar_bench

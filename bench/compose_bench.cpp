// SPDX-License-Identifier: Apache-2.0
// Composition of one character's printer command sequence, per font width: a plain glyph, a mark
// fitted against the placement record of the letter before it, and an alef justified to the left.
// The baseline is the least any composition must do: copy the glyph's stored record into a new
// std::vector.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_lines.h"
#include "fontmgr/fntmngr.h"
#include "fonts/fonts.h"
#include "fonts/fonts_internal.h"

namespace zelvar_bench {
namespace {

constexpr int kArabicCodePage = 1256;
constexpr int kChineseCodePage = 936;
constexpr int kBeh = 0x0628;    // a letter without flags
constexpr int kFatha = 0x064E;  // a mark above, fitted to the letter before it
constexpr int kAlef = 0x0627;   // may be justified
constexpr int kIdeograph = 0x9FA6;

struct ComposeCase {
    const char* name;
    int code_point;
    int code_page;
    int width;
    _SWFONTINFO before;  // the placement record handed in
    _SWFONT_JUSTIFICATION justification;
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "compose benchmark setup: %s\n", what.c_str());
    std::exit(1);
}

// A case must take the path it is named for: a fitted mark and a justified alef must move.
void CheckCase(const ComposeCase& c) {
    unsigned char buffer[128];
    _SWFONTINFO info = c.before;
    const int n = CFntMngr::GetFontDrawBuffer(c.code_point, c.code_page, c.width, SWFONT_HEIGHT,
                                              buffer, &info, c.justification);
    if (n <= 0) Fail(std::string(c.name) + ": no sequence");
    unsigned int flags = 0;
    const std::vector<unsigned char> stored =
        zelvar_fonts::FontForWidth(c.width)(c.code_point, &flags);
    const bool moved = std::memcmp(buffer + 6, stored.data() + 4, stored.size() - 4) != 0;
    const bool should_move = std::string(c.name) != "plain";
    if (moved != should_move) Fail(std::string(c.name) + ": the glyph did not take its path");
}

void RegisterCompose(const ComposeCase& c) {
    CheckCase(c);
    Register("compose/" + std::to_string(c.width) + "/" + c.name, [c](benchmark::State& state) {
        unsigned char buffer[128];
        for (auto _ : state) {
            _SWFONTINFO info = c.before;
            const int n = CFntMngr::GetFontDrawBuffer(
                c.code_point, c.code_page, c.width, SWFONT_HEIGHT, buffer, &info, c.justification);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(buffer);
            benchmark::DoNotOptimize(info);
        }
    });
}

// The baseline: the stored record (fetched once) copied into a new vector.
void RegisterCopyBaseline(int width, int code_point) {
    unsigned int flags = 0;
    const std::vector<unsigned char> stored = zelvar_fonts::FontForWidth(width)(code_point, &flags);
    Register("compose/" + std::to_string(width) + "/copy", [stored](benchmark::State& state) {
        const unsigned char* from = stored.data();
        const std::size_t n = stored.size();
        for (auto _ : state) {
            benchmark::DoNotOptimize(from);
            std::vector<unsigned char> copy(from, from + n);
            benchmark::DoNotOptimize(copy.data());
        }
    });
}

}  // namespace

void RegisterComposeBenchmarks() {
    for (int width : {10, 13, 18}) {
        // The letter's own placement record, as the composition leaves it for the next character.
        unsigned char buffer[128];
        _SWFONTINFO after_beh = SWFONT_EMPTY_PLACEMENT;
        if (CFntMngr::GetFontDrawBuffer(kBeh, kArabicCodePage, width, SWFONT_HEIGHT, buffer,
                                        &after_beh, SWFONT_JUSTIFICATION_NONE) <= 0) {
            Fail("no beh in width " + std::to_string(width));
        }
        RegisterCompose({"plain", kBeh, kArabicCodePage, width, SWFONT_EMPTY_PLACEMENT,
                         SWFONT_JUSTIFICATION_NONE});
        RegisterCopyBaseline(width, kBeh);
        RegisterCompose(
            {"mark", kFatha, kArabicCodePage, width, after_beh, SWFONT_JUSTIFICATION_NONE});
        RegisterCompose({"alef", kAlef, kArabicCodePage, width, SWFONT_EMPTY_PLACEMENT,
                         SWFONT_JUSTIFICATION_LEFT});
    }
    RegisterCompose({"plain", kIdeograph, kChineseCodePage, 24, SWFONT_EMPTY_PLACEMENT,
                     SWFONT_JUSTIFICATION_NONE});
    RegisterCopyBaseline(24, kIdeograph);
}

}  // namespace zelvar_bench

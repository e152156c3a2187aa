// The four font classes: each looks its code point up in its own generated table.
#include "fonts/fonts.h"

#include "fonts/glyph_tables.h"

namespace zelvar_fonts {

int FindGlyphIndex(const GlyphRun* runs, int run_count, std::int32_t code_point) {
    // Find the last run whose first code point is not above code_point.
    int lo = 0;
    int hi = run_count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (runs[mid].first <= code_point) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo == 0) {
        return -1;  // below the first run, negative code points included
    }
    const GlyphRun& run = runs[lo - 1];
    // The difference is taken in 64 bits: code_point - first cannot overflow there.
    const std::int64_t offset = static_cast<std::int64_t>(code_point) - run.first;
    if (offset >= run.count) {
        return -1;
    }
    return run.index + static_cast<int>(offset);
}

}  // namespace zelvar_fonts

using zelvar_fonts::CopyGlyph;

std::vector<unsigned char> CFont10x24::GetBuffer10x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries10x24, code_point, flags);
}

std::vector<unsigned char> CFont13x24::GetBuffer13x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries13x24, code_point, flags);
}

std::vector<unsigned char> CFont18x24::GetBuffer18x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries18x24, code_point, flags);
}

std::vector<unsigned char> CFont24x24::GetBuffer24x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRuns24x24, zelvar_fonts::kRunCount24x24,
                     zelvar_fonts::kEntries24x24, code_point, flags);
}

// SPDX-License-Identifier: Apache-2.0
// The lookup that the generated glyph tables of every font share.
#include "fonts/glyph_tables_internal.h"

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

// SPDX-License-Identifier: Apache-2.0
// The shortcut for lines that FriBidi would hand back exactly as they came.
#include "bidi/plain_line_internal.h"

#include <cstdint>
#include <memory>

namespace zelvar_bidi {

bool IsPlainLeftToRight(const long* line, unsigned long size) noexcept {
    // The bidi classes under which FriBidi may move or change a unit: right to left (R, AL, RLE,
    // RLO, RLI), Arabic (AL, AN), explicit embeddings and overrides, isolates.
    constexpr auto kMovesOrChanges = static_cast<FriBidiCharType>(
        FRIBIDI_MASK_RTL | FRIBIDI_MASK_ARABIC | FRIBIDI_MASK_EXPLICIT | FRIBIDI_MASK_ISOLATE);
    for (unsigned long i = 0; i < size; ++i) {
        if ((fribidi_get_bidi_type(LogicalUnit(line[i])) & kMovesOrChanges) != 0) return false;
    }
    return true;
}

long CopyPlainLine(const long* line, unsigned long size, long** result) {
    *result = nullptr;
    // Every element is filled, as the full path fills them, not only those before the count.
    std::unique_ptr<long[]> visual(new long[size + 1]);
    for (unsigned long i = 0; i < size; ++i) visual[i] = WidenVisualUnit(LogicalUnit(line[i]));
    visual[size] = 0;
    std::int32_t count = 0;
    while (visual[static_cast<unsigned long>(count)] != 0) ++count;
    *result = visual.release();
    return count;
}

long ReorderLineOrCopyPlain(const long* line, unsigned long size, long** result,
                            Log2VisFunction log2vis, VisualAllocFunction alloc_visual) {
    // Null arguments and lines too long for FriBidi keep the full path's answers.
    if (result != nullptr && line != nullptr && size <= kMaxReorderLength &&
        IsPlainLeftToRight(line, size)) {
        return CopyPlainLine(line, size, result);
    }
    return ReorderLine(line, size, result, log2vis, alloc_visual);
}

}  // namespace zelvar_bidi

// SPDX-License-Identifier: Apache-2.0
// The exported reordering: FriBidi's fribidi_log2vis and malloc behind the shortcut for plain
// lines.
#include "bidi/cfribidi.h"

#include <fribidi.h>

#include <cstddef>
#include <cstdlib>

#include "bidi/plain_line_internal.h"

long CCFribidi::ReverseTextFixCharFribidi(long* line, unsigned long size, long** result) {
    return zelvar_bidi::ReorderLineOrCopyPlain(
        line, size, result, &fribidi_log2vis, [](std::size_t bytes) { return std::malloc(bytes); });
}

int wcslen(long* s) {
    int n = 0;
    while (s[n] != 0) ++n;
    return n;
}

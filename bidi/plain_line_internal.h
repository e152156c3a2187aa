// SPDX-License-Identifier: Apache-2.0
// Internal to bidi/ (implemented in plain_line.cpp): the shortcut for lines that FriBidi would hand
// back exactly as they came.
//
// Most receipt lines are Latin letters, digits, spaces and punctuation. For such a line the whole
// of FriBidi's work (levels, mirroring, mark reordering, Arabic shaping) ends where it started,
// and the three allocations and the passes over the line are pure cost. A line qualifies when
// FriBidi's own bidi class of every unit is neither right to left (R, AL, and the RLE, RLO, RLI
// controls), nor Arabic (AL, AN), nor an explicit embedding or isolate control (LRE, RLE, LRO,
// RLO, PDF, LRI, RLI, FSI, PDI):
//   - the paragraph is then left to right (its first strong character, if any, is L);
//   - every unit resolves to level 0: European numbers after L (or the start) become L, and
//     every neutral, bracket or mark sits between L and L;
//   - mirroring and the reordering of marks act only at odd levels, Arabic shaping and ligatures
//     only on Arabic letters and at odd levels; so no unit changes and none moves.
// The reordered answer is then the line's low 32 bits, sign-extended, cut at the first zero: what
// the full path gives for it. tests/bidi_fastpath_test.cpp compares the two paths over every code
// point and over Unicode's bidi test lines.
#ifndef ZELVAR_BIDI_PLAIN_LINE_INTERNAL_H
#define ZELVAR_BIDI_PLAIN_LINE_INTERNAL_H

#include "bidi/reorder_line_internal.h"

namespace zelvar_bidi {

// True when no unit of the line (the low 32 bits of each of its `size` elements) has a bidi class
// that could make FriBidi change or move anything. An empty line qualifies.
bool IsPlainLeftToRight(const long* line, unsigned long size) noexcept;

// The visual line of a line that IsPlainLeftToRight accepted, under the contract of ReorderLine:
// `*result` receives a new array of size + 1 elements holding each unit sign-extended from 32 bits;
// the count is the number of elements before the first zero.
long CopyPlainLine(const long* line, unsigned long size, long** result);

// ReorderLine, except that a line IsPlainLeftToRight accepts is answered by CopyPlainLine without
// calling `log2vis` or `alloc_visual`. CCFribidi::ReverseTextFixCharFribidi is this function with
// fribidi_log2vis and malloc.
long ReorderLineOrCopyPlain(const long* line, unsigned long size, long** result,
                            Log2VisFunction log2vis, VisualAllocFunction alloc_visual);

}  // namespace zelvar_bidi

#endif  // ZELVAR_BIDI_PLAIN_LINE_INTERNAL_H

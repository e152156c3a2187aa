// SPDX-License-Identifier: Apache-2.0
// Logical-to-visual reordering of one line of text through GNU FriBidi.
//
// The printer prints every line strictly left to right, so a line holding right-to-left script
// (Hebrew, Arabic, Farsi) is reordered into visual order before it is sent: right-to-left runs are
// reversed, digits and left-to-right runs keep their order, paired brackets are mirrored and
// Arabic letters are replaced by their joined presentation forms and ligatures.
#ifndef ZELVAR_BIDI_CFRIBIDI_H
#define ZELVAR_BIDI_CFRIBIDI_H

#include "common/zelvar_export.h"

// Lines of text cross the library's interface as arrays of `long`, one 64-bit code point per
// element, as the Java side's long[] holds them. That holds on the 64-bit Android ABIs
// (arm64-v8a, x86_64) and not on the 32-bit ones, where long is 32 bits wide.
static_assert(sizeof(long) == 8,
              "libzelvarandroidapi needs a 64-bit long: build for arm64-v8a or x86_64, not for "
              "armeabi-v7a or x86");

class CCFribidi {
  public:
    CCFribidi() {}
    ~CCFribidi() {}

    // Reorders `size` code points of `line` (logical order; need not be zero-terminated; only read)
    // into visual order.
    //
    // `*result` is set on every return to a new array, released by the caller with delete[],
    // holding at least count + 1 elements, of which element [count] is zero. The return value,
    // count, is the number of elements before the result's first zero element.
    //
    // Each element enters the reordering as its low 32 bits and comes back sign-extended from 32
    // bits. The result is cut where the first zero unit lands in printing order, which in
    // right-to-left text is first: {05D0, 05D1, 0} comes back empty. A line with paragraph
    // separators is reordered paragraph by paragraph, each separator kept with its paragraph.
    //
    // When the reordering cannot be done, the line comes back unchanged, all 64 bits, up to its
    // first zero element (or its end), with the same contract: FriBidi reports a failure, memory
    // runs out for its work string, `size` exceeds FriBidi's signed 32-bit index, or the line's
    // explicit embeddings, overrides and isolates nest more than 60 deep (FriBidi 1.0.8 corrupts
    // memory past its deepest level; no text nests that deep). FriBidi's own allocations are
    // unchecked: if they fail deep inside it (hundreds of millions of elements near the process's
    // memory limit), FriBidi itself crashes, which nothing here can prevent.
    // A null `line` is an empty line. With a null `result` nothing is allocated and 0 is returned.
    // Memory exhaustion in the library's own array allocations throws std::bad_alloc (nothing
    // leaks; `*result` is then null).
    ZELVAR_API static long ReverseTextFixCharFribidi(long* line, unsigned long size, long** result);
};

// Number of elements of `s` before its first zero element (all 64 bits compared). `s` must hold a
// zero element.
ZELVAR_API int wcslen(long* s);

#endif  // ZELVAR_BIDI_CFRIBIDI_H

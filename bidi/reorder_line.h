// Internal to bidi/: the reordering of one line with its two outside dependencies (the FriBidi
// call and the allocator of FriBidi's visual string) passed in, so that tests can make either of
// them fail. CCFribidi::ReverseTextFixCharFribidi is this function with fribidi_log2vis and
// malloc, for every line that the shortcut of bidi/plain_line.h does not answer. Not exported
// from the shared library.
#ifndef ZELVAR_BIDI_REORDER_LINE_H
#define ZELVAR_BIDI_REORDER_LINE_H

#include <fribidi.h>

#include <cstddef>

namespace zelvar_bidi {

// The shape of fribidi_log2vis: logical string, length, paragraph direction (in and out), visual
// string, logical-to-visual map, visual-to-logical map, embedding levels. Returns the highest
// embedding level plus one, or 0 when FriBidi could not do the work (out of memory).
using Log2VisFunction = FriBidiLevel (*)(const FriBidiChar*, FriBidiStrIndex, FriBidiParType*,
                                         FriBidiChar*, FriBidiStrIndex*, FriBidiStrIndex*,
                                         FriBidiLevel*);

// Allocates FriBidi's visual string; the string is released with free(). Returns null on failure.
using VisualAllocFunction = void* (*)(std::size_t);

// The longest line FriBidi can index: its string index is a signed 32-bit integer.
constexpr unsigned long kMaxReorderLength = 0x7FFFFFFFUL;

// Unicode's isolate initiators (LRI, RLI, FSI) and paragraph separators (class B).
bool IsIsolateInitiator(FriBidiChar unit);
bool IsParagraphSeparator(FriBidiChar unit);

// True when an isolate initiator comes before a paragraph separator in the line: FriBidi then
// reorders it paragraph by paragraph (see bidi/cfribidi.cpp).
bool IsolateMeetsParagraphSeparator(const FriBidiChar* logical, unsigned long size);

// Reorders `size` units paragraph by paragraph into `visual`: each paragraph by one `log2vis` call
// without its separator, the separator at the paragraph's level. Returns 0 when a call failed.
FriBidiLevel ReorderParagraphs(const FriBidiChar* logical, unsigned long size, FriBidiChar* visual,
                               Log2VisFunction log2vis);

// Same contract as CCFribidi::ReverseTextFixCharFribidi (see bidi/cfribidi.h).
long ReorderLine(const long* line, unsigned long size, long** result, Log2VisFunction log2vis,
                 VisualAllocFunction alloc_visual);

}  // namespace zelvar_bidi

#endif  // ZELVAR_BIDI_REORDER_LINE_H

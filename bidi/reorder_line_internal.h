// SPDX-License-Identifier: Apache-2.0
// Internal to bidi/ (implemented in reorder_line.cpp): the reordering of one line with its two
// outside dependencies (the FriBidi call and the allocator of FriBidi's visual string) passed in,
// so that tests can make either of them fail. CCFribidi::ReverseTextFixCharFribidi is this
// function with fribidi_log2vis and malloc, for every line that the shortcut of
// bidi/plain_line_internal.h does not answer. Not exported from the shared library.
#ifndef ZELVAR_BIDI_REORDER_LINE_INTERNAL_H
#define ZELVAR_BIDI_REORDER_LINE_INTERNAL_H

#include <fribidi.h>

#include <cstddef>
#include <cstdint>

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

// Code points travel as 64-bit integers; FriBidi takes the low 32 bits, unchecked.
inline FriBidiChar LogicalUnit(long element) {
    return static_cast<FriBidiChar>(static_cast<unsigned long>(element) & 0xFFFFFFFFUL);
}

// A unit that went through FriBidi comes back as a signed 32-bit value widened to 64 bits.
inline long WidenVisualUnit(FriBidiChar unit) {
    return static_cast<long>(static_cast<std::int32_t>(unit));
}

// How an explicit directional formatting character acts on the stack of explicit levels.
enum class ExplicitFormat {
    kNone,
    kEmbedding,     // LRE, RLE, LRO, RLO: opens an embedding or override
    kIsolate,       // LRI, RLI, FSI: opens an isolate
    kPopEmbedding,  // PDF
    kPopIsolate,    // PDI
};
ExplicitFormat ClassifyExplicit(FriBidiChar unit);

// Unicode's paragraph separators (class B).
bool IsParagraphSeparator(FriBidiChar unit);

// The deepest nesting of explicit embeddings, overrides and isolates that is handed to FriBidi.
// Each level of nesting raises the embedding level by one or two from a paragraph level of at
// most 1, so 60 levels stay at most at level 121, below FriBidi's deepest level (125), and no
// line FriBidi sees ever makes its explicit stack overflow: on overflow 1.0.8 reads and writes
// memory it does not own (63 LROs followed by RLI, PDI and a bracket crash it). Real text nests a
// few levels at most.
constexpr int kMaxExplicitNesting = 60;

// What the reordering must know about a line before FriBidi sees it.
struct LineShape {
    bool has_paragraph_separator = false;  // reordered paragraph by paragraph
    bool nests_too_deep = false;  // explicit nesting goes past kMaxExplicitNesting: handed back
};
LineShape ScanLine(const FriBidiChar* logical, unsigned long size) noexcept;

// Reorders `size` units paragraph by paragraph into `visual`: each paragraph by one `log2vis` call
// without its separator, the first with FRIBIDI_PAR_ON and each later one with the direction the
// one before resolved to; the separator at its paragraph's level. Returns 0 when a call failed.
FriBidiLevel ReorderParagraphs(const FriBidiChar* logical, unsigned long size, FriBidiChar* visual,
                               Log2VisFunction log2vis);

// Same contract as CCFribidi::ReverseTextFixCharFribidi (see bidi/cfribidi.h).
long ReorderLine(const long* line, unsigned long size, long** result, Log2VisFunction log2vis,
                 VisualAllocFunction alloc_visual);

}  // namespace zelvar_bidi

#endif  // ZELVAR_BIDI_REORDER_LINE_INTERNAL_H

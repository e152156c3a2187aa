// SPDX-License-Identifier: Apache-2.0
// The reordering of one line through FriBidi, with the FriBidi call and the allocator of its
// visual string passed in.
#include "bidi/reorder_line_internal.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zelvar_bidi {

namespace {

// FriBidi's visual string comes from malloc (or the allocator under test) and goes back to free.
struct FreeDeleter {
    void operator()(FriBidiChar* p) const noexcept { std::free(p); }
};
using VisualString = std::unique_ptr<FriBidiChar, FreeDeleter>;

// Number of elements before the first zero element (all 64 bits compared), at most `size`.
unsigned long CountUpToZero(const long* line, unsigned long size) {
    unsigned long k = 0;
    while (k < size && line[k] != 0) ++k;
    return k;
}

// When the line cannot be reordered the caller still gets a line to print: the one it gave, with
// all 64 bits of each element, cut at its first zero element like a reordered line would be.
long HandBackLine(const long* line, unsigned long size, long** result) {
    const unsigned long k = CountUpToZero(line, size);
    std::unique_ptr<long[]> copy(new long[k + 1]());
    for (unsigned long i = 0; i < k; ++i) copy[i] = line[i];
    *result = copy.release();
    return static_cast<long>(k);
}

}  // namespace

ExplicitFormat ClassifyExplicit(FriBidiChar unit) {
    switch (unit) {
        case 0x202A:  // LRE
        case 0x202B:  // RLE
        case 0x202D:  // LRO
        case 0x202E:  // RLO
            return ExplicitFormat::kEmbedding;
        case 0x2066:  // LRI
        case 0x2067:  // RLI
        case 0x2068:  // FSI
            return ExplicitFormat::kIsolate;
        case 0x202C:
            return ExplicitFormat::kPopEmbedding;  // PDF
        case 0x2069:
            return ExplicitFormat::kPopIsolate;  // PDI
        default:
            return ExplicitFormat::kNone;
    }
}

bool IsParagraphSeparator(FriBidiChar unit) {
    switch (unit) {
        case 0x000A:
        case 0x000D:
        case 0x001C:
        case 0x001D:
        case 0x001E:
        case 0x0085:
        case 0x2029:
            return true;
        default:
            return false;
    }
}

LineShape ScanLine(const FriBidiChar* logical, unsigned long size) noexcept {
    // The stack of the explicit levels that rules X1-X8 build, one entry per open embedding,
    // override or isolate, as it stands while no level has overflowed: a PDF closes the innermost
    // embedding unless an isolate is innermost, a PDI closes its isolate and everything opened
    // inside it, and unmatched ones do nothing. Only whether each entry is an isolate matters.
    bool is_isolate[kMaxExplicitNesting];
    int depth = 0;
    int isolates = 0;
    LineShape shape;
    for (unsigned long i = 0; i < size; ++i) {
        const FriBidiChar unit = logical[i];
        // Plain comparisons rather than FriBidi's class lookup keep this scan cheap on every
        // line; a test checks the sets against FriBidi's own classes.
        if (IsParagraphSeparator(unit)) {
            // Each paragraph starts with an empty stack (rule P1 splits the line before X1).
            shape.has_paragraph_separator = true;
            depth = 0;
            isolates = 0;
            continue;
        }
        switch (ClassifyExplicit(unit)) {
            case ExplicitFormat::kEmbedding:
            case ExplicitFormat::kIsolate: {
                if (depth == kMaxExplicitNesting) {
                    shape.nests_too_deep = true;
                    return shape;
                }
                const bool isolate = ClassifyExplicit(unit) == ExplicitFormat::kIsolate;
                is_isolate[depth++] = isolate;
                if (isolate) ++isolates;
                break;
            }
            case ExplicitFormat::kPopEmbedding:
                if (depth > 0 && !is_isolate[depth - 1]) --depth;
                break;
            case ExplicitFormat::kPopIsolate:
                if (isolates > 0) {
                    while (!is_isolate[depth - 1]) --depth;
                    --depth;
                    --isolates;
                }
                break;
            case ExplicitFormat::kNone:
                break;
        }
    }
    return shape;
}

FriBidiLevel ReorderParagraphs(const FriBidiChar* logical, unsigned long size, FriBidiChar* visual,
                               Log2VisFunction log2vis) {
    // The first paragraph takes the direction of its first strong character; every later one is
    // handed the direction its predecessor resolved to, as FriBidi asks of multi-paragraph text.
    // An empty paragraph leaves the direction as it was given.
    FriBidiParType direction = FRIBIDI_PAR_ON;
    unsigned long start = 0;
    while (start < size) {
        unsigned long text = 0;  // units of the paragraph before its separator
        while (start + text < size && !IsParagraphSeparator(logical[start + text])) ++text;
        const bool separated = start + text < size;
        FriBidiChar* out = visual + start;
        if (log2vis(logical + start, static_cast<FriBidiStrIndex>(text), &direction, out, nullptr,
                    nullptr, nullptr) == 0) {
            return 0;
        }
        if (separated) {
            // The separator takes the paragraph's level (rule L1), so it prints at the
            // paragraph's end in reading order: last when left to right, first when right to left.
            if (FRIBIDI_IS_RTL(direction)) {
                std::memmove(out + 1, out, text * sizeof(FriBidiChar));
                out[0] = logical[start + text];
            } else {
                out[text] = logical[start + text];
            }
        }
        start += text + (separated ? 1 : 0);
    }
    return 1;
}

long ReorderLine(const long* line, unsigned long size, long** result, Log2VisFunction log2vis,
                 VisualAllocFunction alloc_visual) {
    if (result == nullptr) return 0;  // nowhere to hand anything back
    // Set first, so that the caller's pointer is defined even when an allocation below throws.
    *result = nullptr;
    if (line == nullptr) size = 0;  // nothing to read: an empty line

    // FriBidi indexes with a signed 32-bit integer; a longer line would be cut to a wrong length,
    // so it is handed back unreordered instead.
    if (size > kMaxReorderLength) return HandBackLine(line, size, result);

    // Size + 1 units, the last one staying zero, so FriBidi always reads a terminated string.
    std::unique_ptr<FriBidiChar[]> logical(new FriBidiChar[size + 1]());
    for (unsigned long i = 0; i < size; ++i) logical[i] = LogicalUnit(line[i]);

    // FriBidi 1.0.8 reads and writes memory it does not own once explicit embeddings, overrides
    // and isolates nest past its deepest level, so it never sees such a line: no text nests that
    // deep, and the line comes back as it was, like any line that cannot be reordered.
    const LineShape shape = ScanLine(logical.get(), size);
    if (shape.nests_too_deep) return HandBackLine(line, size, result);

    VisualString visual(static_cast<FriBidiChar*>(alloc_visual((size + 1) * sizeof(FriBidiChar))));
    if (!visual) return HandBackLine(line, size, result);

    // FRIBIDI_PAR_ON: the line takes the direction of its first strong character, left to right
    // when it has none. A line of several paragraphs goes to FriBidi one paragraph at a time:
    // fribidi_log2vis handles one paragraph (its explicit-level pass stops at the first
    // separator), and 1.0.8 reads and writes freed memory when an isolate meets a separator.
    // No lock: FriBidi 1.0 allocates its runs with plain malloc and keeps no shared state, so any
    // number of threads may reorder lines at the same time.
    FriBidiLevel level = 0;
    if (shape.has_paragraph_separator) {
        level = ReorderParagraphs(logical.get(), size, visual.get(), log2vis);
    } else {
        FriBidiParType direction = FRIBIDI_PAR_ON;
        level = log2vis(logical.get(), static_cast<FriBidiStrIndex>(size), &direction, visual.get(),
                        nullptr, nullptr, nullptr);
    }
    visual.get()[size] = 0;

    // A zero level is FriBidi's only failure report (out of memory).
    if (level == 0) return HandBackLine(line, size, result);

    std::unique_ptr<long[]> reordered(new long[size + 1]());
    for (unsigned long i = 0; i < size; ++i) reordered[i] = WidenVisualUnit(visual.get()[i]);
    // A zero unit (U+0000 in the line) ends the visual line where it landed.
    std::int32_t count = 0;
    while (reordered[static_cast<unsigned long>(count)] != 0) ++count;
    *result = reordered.release();
    return count;
}

}  // namespace zelvar_bidi

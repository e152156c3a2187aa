// Small helpers for building and reading glyph column records in tests.
#ifndef ZELVAR_TESTS_GLYPH_TEST_UTIL_H
#define ZELVAR_TESTS_GLYPH_TEST_UTIL_H

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "fonts/fonts.h"

namespace testutil {

using Record = std::vector<unsigned char>;

// A record of W blank columns behind the given header.
inline Record BlankRecord(int W, std::initializer_list<unsigned char> header = {9, 8, 7, 6}) {
    Record r(header);
    r.resize(4 + 3 * static_cast<std::size_t>(W), 0);
    return r;
}

// Column c's 24-bit value, top row in bit 23.
inline std::uint32_t Column(const Record& r, int c) {
    const std::size_t at = 4 + 3 * static_cast<std::size_t>(c);
    return (std::uint32_t{r[at]} << 16) | (std::uint32_t{r[at + 1]} << 8) | r[at + 2];
}

inline void SetColumn(Record& r, int c, std::uint32_t v) {
    const std::size_t at = 4 + 3 * static_cast<std::size_t>(c);
    r[at] = static_cast<unsigned char>(v >> 16);
    r[at + 1] = static_cast<unsigned char>(v >> 8);
    r[at + 2] = static_cast<unsigned char>(v);
}

// The column value with rows first..last (inclusive) inked.
inline std::uint32_t Rows(int first, int last) {
    std::uint32_t v = 0;
    for (int r = first; r <= last; ++r) v |= std::uint32_t{1} << (23 - r);
    return v;
}

// A W-column glyph inked in columns [c0, c1] and rows [r0, r1], with the given header.
inline Record Block(int W, int c0, int c1, int r0, int r1,
                    std::initializer_list<unsigned char> header) {
    Record r = BlankRecord(W, header);
    for (int c = c0; c <= c1; ++c) SetColumn(r, c, Rows(r0, r1));
    return r;
}

// The same, with the header the glyph's own margins.
inline Record Block(int W, int c0, int c1, int r0, int r1) {
    return Block(W, c0, c1, r0, r1,
                 {static_cast<unsigned char>(c0), static_cast<unsigned char>(W - 1 - c1),
                  static_cast<unsigned char>(r0), static_cast<unsigned char>(23 - r1)});
}

// A record whose every column has a distinct, recognisable value.
inline Record Numbered(int W) {
    Record r = BlankRecord(W, {1, 2, 3, 4});
    for (int c = 0; c < W; ++c) SetColumn(r, c, 0x010203u * static_cast<std::uint32_t>(c + 1));
    return r;
}

// The glyph of the built-in font of width W (10, 13, 18; any other value: the 24-dot font).
inline Record FontGlyph(int W, int code_point, unsigned int* flags) {
    switch (W) {
        case 10:
            return CFont10x24::GetBuffer10x24(code_point, flags);
        case 13:
            return CFont13x24::GetBuffer13x24(code_point, flags);
        case 18:
            return CFont18x24::GetBuffer18x24(code_point, flags);
        default:
            return CFont24x24::GetBuffer24x24(code_point, flags);
    }
}

}  // namespace testutil

#endif  // ZELVAR_TESTS_GLYPH_TEST_UTIL_H

// SPDX-License-Identifier: Apache-2.0
// Helpers shared by the test suites: glyph column records built and read through the library's
// own record layout, placement records and lines as printable values, and an allocator that
// fails on demand (tests/failing_new.cpp, linked into the suites that use it).
#ifndef ZELVAR_TESTS_TEST_UTIL_H
#define ZELVAR_TESTS_TEST_UTIL_H

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "fontmgr/glyph_column_internal.h"
#include "fonts/fonts.h"
#include "fonts/fonts_internal.h"

namespace testutil {

using Record = std::vector<unsigned char>;
using Line = std::vector<long>;

// A record of W blank columns behind the given header.
inline Record BlankRecord(int W, std::initializer_list<unsigned char> header = {9, 8, 7, 6}) {
    Record r(header);
    r.resize(zelvar_fontmgr::RecordBytes(static_cast<std::size_t>(W)), 0);
    return r;
}

// Column c's 24-bit value, top row in bit 23; blank past the record's end.
inline std::uint32_t Column(const Record& r, int c) {
    return zelvar_fontmgr::GlyphRecordView(r.data(), r.size()).Column(static_cast<std::size_t>(c));
}

inline void SetColumn(Record& r, int c, std::uint32_t v) {
    zelvar_fontmgr::WriteColumn(&r[zelvar_fontmgr::ColumnOffset(static_cast<std::size_t>(c))], v);
}

// The column value with rows first..last (inclusive) inked.
inline std::uint32_t Rows(int first, int last) {
    std::uint32_t v = 0;
    for (int r = first; r <= last; ++r) v |= zelvar_fontmgr::RowBit(r);
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

// The glyph of the built-in font of width W (10, 13, 18 or 24).
inline Record FontGlyph(int W, int code_point, unsigned int* flags) {
    return zelvar_fonts::FontForWidth(W)(code_point, flags);
}

// The six bytes of a placement record, comparable and printable.
inline std::vector<int> Bytes(const _SWFONTINFO& i) {
    return {i.LeftMargin, i.RightMargin, i.TopMargin, i.BottomMargin, i.Overstrike, i.HJust};
}

// A line of code points as "[5D0 5D1 ...]".
inline std::string Hex(const Line& line) {
    std::string s;
    char buf[24];
    for (long v : line) {
        std::snprintf(buf, sizeof buf, "%s%lX", s.empty() ? "" : " ",
                      static_cast<unsigned long>(v));
        s += buf;
    }
    return "[" + s + "]";
}

// The allocator of tests/failing_new.cpp, which replaces operator new and delete in the suites it
// is linked into (the library's own allocations included). Failures are armed per thread.
// From now on, the nth allocation on this thread throws std::bad_alloc (0: none does).
void FailNthAllocation(long nth);
// Disarms the failure, keeping what AllocationFailed reports.
void StopFailing();
// Whether the armed allocation has failed since FailNthAllocation.
bool AllocationFailed();
// Allocations made through operator new and not yet released, on every thread.
long LiveAllocations();
// Suspends the armed failure for the scope, for a test's own allocations.
class NoAllocationFailure {
  public:
    NoAllocationFailure();
    ~NoAllocationFailure();
    NoAllocationFailure(const NoAllocationFailure&) = delete;
    NoAllocationFailure& operator=(const NoAllocationFailure&) = delete;

  private:
    long saved_;
};

}  // namespace testutil

#endif  // ZELVAR_TESTS_TEST_UTIL_H

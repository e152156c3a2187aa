// SPDX-License-Identifier: Apache-2.0
// The glyph column operations on any record bytes, any shift and any width: results have the
// promised length and header, and every dot lands where the move says.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fontmgr/glyph_column.h"
#include "fuzz/fuzz_input.h"

namespace {

using Record = std::vector<unsigned char>;

// Column c as a 24-bit value; columns the record does not hold are blank.
std::uint32_t Column(const Record& r, int c) {
    const std::size_t at = 4 + 3 * static_cast<std::size_t>(c);
    if (at + 3 > r.size()) return 0;
    return (std::uint32_t{r[at]} << 16) | (std::uint32_t{r[at + 1]} << 8) | r[at + 2];
}

unsigned char HeaderByte(const Record& r, std::size_t i) {
    return i < r.size() ? r[i] : 0;
}

void CheckShape(const Record& in, const Record& out, int W) {
    const std::size_t columns = W > 0 ? static_cast<std::size_t>(W) : 0;
    FUZZ_CHECK(out.size() == 4 + 3 * columns);
    for (std::size_t i = 0; i < 4; ++i) FUZZ_CHECK(out[i] == HeaderByte(in, i));
}

constexpr int kShifts[] = {1, -1, 2, -2, 3, -3, 9, -9, 23, -23, 24, -24, 31, -32, 0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int W = static_cast<int>(in.Byte() % 34) - 3;  // -3 .. 30
    const int n = in.OneOfOrAny(kShifts);
    const Record record(in.Rest(), in.Rest() + in.Remaining());

    const Record h = ShiftH(record, n, W);
    const Record v = ShiftV(record, n, W);
    if (n == 0) {
        FUZZ_CHECK(h == record && v == record);
        return 0;
    }
    CheckShape(record, h, W);
    CheckShape(record, v, W);
    const long long d = n > 0 ? n : -static_cast<long long>(n);
    for (int c = 0; c < W; ++c) {
        const long long from = n > 0 ? c - d : c + d;
        const std::uint32_t want_h =
            from >= 0 && from < W ? Column(record, static_cast<int>(from)) : 0;
        FUZZ_CHECK(Column(h, c) == want_h);
        const std::uint32_t col = Column(record, c);
        std::uint32_t want_v = 0;
        if (d < 24) want_v = n > 0 ? (col << d) & 0xFFFFFF : col >> d;
        FUZZ_CHECK(Column(v, c) == want_v);
    }

    int l = -1, r = -1, t = -1, b = -1;
    CalcMarginDataVector(record, W, &l, &r, &t, &b);
    bool any = false;
    std::uint32_t rows = 0;
    for (int c = 0; c < W; ++c) {
        any = any || Column(record, c) != 0;
        rows |= Column(record, c);
    }
    if (!any) {
        FUZZ_CHECK(l == 255 && r == 255 && t == 255 && b == 255);
    } else {
        FUZZ_CHECK(l >= 0 && l < W && r >= 0 && l + r <= W - 1);
        FUZZ_CHECK(Column(record, l) != 0 && Column(record, W - 1 - r) != 0);
        FUZZ_CHECK(t >= 0 && b >= 0 && t + b <= 23);
        FUZZ_CHECK((rows >> (23 - t)) & 1);
        FUZZ_CHECK((rows >> b) & 1);
        FUZZ_CHECK((rows >> (24 - t)) == 0 && (rows & ((1u << b) - 1)) == 0);
    }
    return 0;
}

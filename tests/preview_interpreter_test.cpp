// The receipt printer model: it must print exactly what the bytes say, and refuse what it cannot
// read with the byte offset of the command.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "tests/test_util.h"
#include "tools/preview/code_page.h"
#include "tools/preview/escpos.h"
#include "tools/preview/escpos_interpreter.h"
#include "tools/preview/png_output.h"
#include "tools/preview/resident_font.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kArabicCodePage = 1256;

// Records what the printer asks of its own font, and inks the cell's top-left dot.
class RecordingFont : public ResidentFont {
  public:
    struct Call {
        char32_t code_point;
        int cell_width, x;
    };
    void Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) override {
        calls.push_back({code_point, cell_width, x});
        strip->Ink(x, 0);
    }
    std::vector<Call> calls;
};

bool ColumnDot(const std::vector<unsigned char>& record, int column, int row) {
    const std::size_t at =
        4 + 3 * static_cast<std::size_t>(column) + static_cast<std::size_t>(row / 8);
    return (record[at] & (0x80 >> (row % 8))) != 0;
}

// ESC & defining one character `code` of `columns` columns, each column `column_value`.
Bytes Define(unsigned char code, unsigned char columns, std::uint32_t column_value) {
    Bytes b = {escpos::kEsc, escpos::kDefineUserChars, 3, code, code, columns};
    for (int c = 0; c < columns; ++c) {
        b.push_back(static_cast<unsigned char>(column_value >> 16));
        b.push_back(static_cast<unsigned char>(column_value >> 8));
        b.push_back(static_cast<unsigned char>(column_value));
    }
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

int InkedDots(const Page& page) {
    int n = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) n += page.IsInked(x, y) ? 1 : 0;
    }
    return n;
}

// Every glyph of every font, composed as the library composes it after a space from the
// printer's own font, prints its own columns: beside the space, or over it after the BS of a mark.
TEST(PrinterModelRoundTrip, EveryGlyphOfEveryFontPrintsItsColumns) {
    CodePage code_page(kArabicCodePage);
    for (int width : {10, 13, 18, 24}) {
        SCOPED_TRACE("width " + std::to_string(width));
        int glyphs = 0;
        for (int code_point = 0; code_point <= 0xFFFF; ++code_point) {
            if (!CFntMngr::CharAvailable(code_point, kArabicCodePage, width, SWFONT_HEIGHT)) {
                continue;
            }
            ++glyphs;
            unsigned int flags = 0;
            const std::vector<unsigned char> record =
                testutil::FontGlyph(width, code_point, &flags);
            ASSERT_EQ(record.size(), 4 + 3 * static_cast<std::size_t>(width));
            unsigned char sequence[SWFONT_MAX_SEQUENCE];
            _SWFONTINFO empty = {255, 255, 255, 255, 0, 0};
            const int n =
                CFntMngr::GetFontDrawBuffer(code_point, kArabicCodePage, width, SWFONT_HEIGHT,
                                            sequence, &empty, SWFONT_JUSTIFICATION_NONE);
            ASSERT_GT(n, 0);
            // ESC @, a space from the printer's font, the sequence, LF.
            Bytes stream(static_cast<std::size_t>(n) + 4);
            stream[0] = escpos::kEsc;
            stream[1] = escpos::kInitialize;
            stream[2] = ' ';
            std::copy(sequence, sequence + n, stream.begin() + 3);
            stream.back() = escpos::kLf;

            Page page(escpos::kDefaultPaperDots);
            EscPosInterpreter printer(escpos::kDefaultPaperDots, &code_page, nullptr);
            const InterpretResult result = printer.Run(stream, &page);
            ASSERT_TRUE(result.ok) << std::hex << code_point << ": " << result.error;
            ASSERT_EQ(result.lines_fed, 1);
            ASSERT_EQ(page.height(), escpos::kLinePitch);

            const bool overstrike = (flags & SWFONT_FLAG_OVERSTRIKE) != 0;
            const int x0 = overstrike ? 0 : escpos::kResidentCellWidth;
            int expected_ink = 0;
            for (int column = 0; column < width; ++column) {
                for (int row = 0; row < escpos::kLineDots; ++row) {
                    const bool dot = ColumnDot(record, column, row);
                    expected_ink += dot ? 1 : 0;
                    ASSERT_EQ(page.IsInked(x0 + column, row), dot)
                        << std::hex << "U+" << code_point << std::dec << " column " << column
                        << " row " << row;
                }
            }
            // Nothing else on the paper.
            ASSERT_EQ(InkedDots(page), expected_ink) << std::hex << "U+" << code_point;
        }
        EXPECT_GT(glyphs, 0) << "the font of this width has no glyph at all";
    }
}

TEST(PrinterModelCommands, UserDefinedSetIsUsedOnlyWhileSelected) {
    CodePage code_page(kArabicCodePage);
    RecordingFont font;
    const std::uint32_t full = 0xFFFFFF;
    // 'A' before selection, selected, after ESC % 0xAA (bit 0 clear: cancelled), after ESC % 3.
    const Bytes stream = Cat({{escpos::kEsc, escpos::kInitialize},
                              Define('A', 5, full),
                              {'A', escpos::kEsc, escpos::kSelectUserCharSet, 1, 'A', 'B'},
                              {escpos::kEsc, escpos::kSelectUserCharSet, 0xAA, 'A'},
                              {escpos::kEsc, escpos::kSelectUserCharSet, 3, 'A', escpos::kLf}});
    Page page(200);
    EscPosInterpreter printer(200, &code_page, &font);
    const InterpretResult result = printer.Run(stream, &page);
    ASSERT_TRUE(result.ok) << result.error;

    // Resident 'A' at 0, defined 'A' at 12..16, resident 'B' (not defined) at 17, resident 'A'
    // at 29, defined 'A' at 41..45.
    ASSERT_EQ(font.calls.size(), 3u);
    EXPECT_EQ(font.calls[0].code_point, U'A');
    EXPECT_EQ(font.calls[0].x, 0);
    EXPECT_EQ(font.calls[1].code_point, U'B');
    EXPECT_EQ(font.calls[1].x, 17);
    EXPECT_EQ(font.calls[2].code_point, U'A');
    EXPECT_EQ(font.calls[2].x, 29);
    for (int x : {12, 16, 41, 45}) {
        for (int row : {0, 23}) EXPECT_TRUE(page.IsInked(x, row)) << x << "," << row;
    }
    for (int x : {11, 18, 40, 46}) EXPECT_FALSE(page.IsInked(x, 23)) << x;
}

TEST(PrinterModelCommands, ResetForgetsDefinitionsSelectionAndTheUnprintedLine) {
    CodePage code_page(kArabicCodePage);
    RecordingFont font;
    const Bytes stream = Cat({Define('A', 4, 0xFFFFFF),
                              {escpos::kEsc, escpos::kSelectUserCharSet, 1, 'A', 'A'},
                              {escpos::kEsc, escpos::kInitialize},
                              {escpos::kEsc, escpos::kSelectUserCharSet, 1, 'A', escpos::kLf}});
    Page page(100);
    EscPosInterpreter printer(100, &code_page, &font);
    const InterpretResult result = printer.Run(stream, &page);
    ASSERT_TRUE(result.ok) << result.error;
    // The two defined 'A's were never fed; after the reset 'A' is no longer defined.
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].x, 0);
    EXPECT_EQ(InkedDots(page), 1);
    EXPECT_EQ(page.height(), escpos::kLinePitch);
}

TEST(PrinterModelCommands, BackspacePrintsOverTheLastCharacter) {
    CodePage code_page(kArabicCodePage);
    RecordingFont font;
    // BS at the start of a line has nothing to step back over; two marks after one base both
    // print over the base; a character after the marks follows the last mark.
    const Bytes stream =
        Cat({Define('A', 13, 0x000001),
             {escpos::kBs, 'x', 'y', escpos::kEsc, escpos::kSelectUserCharSet, 1, escpos::kBs, 'A',
              escpos::kBs, 'A', escpos::kEsc, escpos::kSelectUserCharSet, 0, 'z', escpos::kLf}});
    Page page(200);
    EscPosInterpreter printer(200, &code_page, &font);
    const InterpretResult result = printer.Run(stream, &page);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(font.calls.size(), 3u);
    EXPECT_EQ(font.calls[0].x, 0);   // x
    EXPECT_EQ(font.calls[1].x, 12);  // y
    EXPECT_EQ(font.calls[2].x, 25);  // z: after the 13-dot mark printed at 12
    EXPECT_TRUE(page.IsInked(12, 23));
    EXPECT_TRUE(page.IsInked(24, 23));
    EXPECT_FALSE(page.IsInked(25, 23));
}

TEST(PrinterModelCommands, LinesFullToThePaperEdgeAreBrokenByThePrinter) {
    CodePage code_page(kArabicCodePage);
    RecordingFont font;
    // Four 12-dot characters fill 48 dots; the fifth starts a new line.
    const Bytes stream = {'a', 'b', 'c', 'd', 'e', escpos::kLf, 'f', escpos::kLf};
    Page page(48);
    EscPosInterpreter printer(48, &code_page, &font);
    const InterpretResult result = printer.Run(stream, &page);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.lines_fed, 3);
    EXPECT_EQ(result.lines_wrapped, 1);
    EXPECT_EQ(page.height(), 3 * escpos::kLinePitch);
    ASSERT_EQ(font.calls.size(), 6u);
    EXPECT_EQ(font.calls[3].x, 36);
    EXPECT_EQ(font.calls[4].x, 0);
    EXPECT_TRUE(page.IsInked(0, escpos::kLinePitch));
    EXPECT_TRUE(page.IsInked(0, 2 * escpos::kLinePitch));
}

TEST(PrinterModelCommands, TextWithoutLineFeedIsNeverPrinted) {
    CodePage code_page(kArabicCodePage);
    RecordingFont font;
    Page page(100);
    EscPosInterpreter printer(100, &code_page, &font);
    const InterpretResult result = printer.Run({'a', escpos::kLf, 'b'}, &page);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.unprinted_tail);
    EXPECT_EQ(page.height(), escpos::kLinePitch);
}

TEST(PrinterModelCodePages, PrintableBytesAreReadInTheCodePage) {
    struct Case {
        int code_page;
        Bytes bytes;
        char32_t code_point;
        int cell_width;
    };
    const Case cases[] = {
        {1255, {0xE0}, 0x05D0, 12},                     // Hebrew alef
        {1256, {0xC7}, 0x0627, 12},                     // Arabic alef
        {862, {0x80}, 0x05D0, 12},                      // DOS Hebrew alef
        {932, {0x96, 0x7B}, 0x672C, 24},                // Shift JIS ideograph: a double-width cell
        {936, {0xB1, 0xBE}, 0x672C, 24},                // GBK
        {54936, {0x81, 0x30, 0x86, 0x38}, 0x00C0, 24},  // a four-byte GB18030 character
        {290, {0xC1}, U'A', 12},                        // EBCDIC
        {720, {0x41}, U'A', 12},                        // unknown to iconv: ASCII
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code page " + std::to_string(c.code_page));
        CodePage code_page(c.code_page);
        RecordingFont font;
        Page page(100);
        EscPosInterpreter printer(100, &code_page, &font);
        // The character twice: the second follows the first's cell.
        Bytes stream = Cat({c.bytes, c.bytes});
        const InterpretResult result = printer.Run(stream, &page);
        ASSERT_TRUE(result.ok) << result.error;
        ASSERT_EQ(font.calls.size(), 2u);
        EXPECT_EQ(font.calls[0].code_point, c.code_point);
        EXPECT_EQ(font.calls[0].cell_width, c.cell_width);
        EXPECT_EQ(font.calls[1].code_point, c.code_point);
        EXPECT_EQ(font.calls[1].x, c.cell_width);
    }
}

TEST(PrinterModelErrors, NameTheCommandAndItsByteOffset) {
    struct Case {
        const char* what;
        int code_page;
        Bytes bytes;
        std::size_t offset;
        const char* message;
    };
    const Bytes definition_cut = [] {
        Bytes b = Define('A', 10, 0x123456);
        b.resize(b.size() - 1);
        return b;
    }();
    const Case cases[] = {
        {"unknown ESC command", 1256, {'a', escpos::kEsc, 'x', 'b'}, 1, "unknown command ESC 0x78"},
        {"ESC at the end", 1256, {escpos::kLf, escpos::kEsc}, 1, "ESC without a command"},
        {"ESC % without argument", 1256, {'a', 'b', escpos::kEsc, '%'}, 2, "ESC % without"},
        {"ESC & header cut short", 1256, {'a', escpos::kEsc, '&', 3, 'A'}, 1, "cut short"},
        {"ESC & columns cut short", 1256, Cat({{'a', 'b', 'c'}, definition_cut}), 3,
         "needs 30 column bytes, 29 remain"},
        {"ESC & without the width",
         1256,
         {escpos::kEsc, '&', 3, 'A', 'B', 1, 0, 0, 0},
         0,
         "no width for character 0x42"},
        {"ESC & with 2 bytes per column",
         1256,
         {escpos::kEsc, '&', 2, 'A', 'A', 1, 0, 0},
         0,
         "2 bytes per column"},
        {"ESC & with codes reversed",
         1256,
         {escpos::kEsc, '&', 3, 'B', 'A', 0},
         0,
         "codes 0x42 to 0x41"},
        {"carriage return", 1256, {'a', 0x0D, escpos::kLf}, 1, "unknown control byte 0x0D"},
        {"DEL", 1256, {0x7F}, 0, "unknown control byte 0x7F"},
        {"undefined byte of the code page",
         1255,
         {'a', 0xFF},
         1,
         "byte 0xFF is not a character of code page 1255"},
        {"double-byte character cut short",
         932,
         {'a', 0x93},
         1,
         "not a character of code page 932"},
        {"double-byte character broken by LF", 932, {0x93, escpos::kLf}, 0, "0x93"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CodePage code_page(c.code_page);
        Page page(100);
        EscPosInterpreter printer(100, &code_page, nullptr);
        const InterpretResult result = printer.Run(c.bytes, &page);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error_offset, c.offset);
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
    }
}

// The printer's own characters stay inside their cells: narrow, wide, and the box of a
// character no face has.
TEST(ResidentFontCells, InkStaysInsideTheCell) {
    std::string error;
    auto font = FreeTypeResidentFont::Open(FreeTypeResidentFont::kDefaultFace,
                                           FreeTypeResidentFont::DefaultFallbacks(), &error);
    ASSERT_NE(font, nullptr) << error;
    struct Case {
        char32_t code_point;
        int cell_width;
        bool inked;
    };
    const Case cases[] = {{U'W', 12, true},    {U'g', 12, true},   {U'_', 12, true},
                          {U' ', 12, false},   {0x05D0, 12, true}, {0x672C, 24, true},
                          {0x10FFFD, 12, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.code_point));
        LineStrip strip(3 * c.cell_width);
        font->Draw(c.code_point, c.cell_width, c.cell_width, &strip);
        int inside = 0, outside = 0;
        for (int x = 0; x < strip.width(); ++x) {
            for (int y = 0; y < escpos::kLineDots; ++y) {
                if (!strip.IsInked(x, y)) continue;
                (x >= c.cell_width && x < 2 * c.cell_width ? inside : outside) += 1;
            }
        }
        EXPECT_EQ(inside > 0, c.inked);
        EXPECT_EQ(outside, 0);
    }
}

// Reads back the picture: signature, chunk CRCs, header and every dot.
TEST(PagePicture, PngHoldsEveryDotScaled) {
    CodePage code_page(kArabicCodePage);
    Page page(50);
    EscPosInterpreter printer(50, &code_page, nullptr);
    // A defined character with a diagonal, printed at x = 3 (after a 3-column blank character).
    Bytes stream = Cat({Define('B', 3, 0), Define('A', 3, 0)});
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t column = 0x800000u >> c;
        const std::size_t at = stream.size() - 9 + 3 * static_cast<std::size_t>(c);
        stream[at] = static_cast<unsigned char>(column >> 16);
    }
    const Bytes print = {escpos::kEsc, '%', 1, 'B', 'A', escpos::kLf, escpos::kLf};
    stream.insert(stream.end(), print.begin(), print.end());
    ASSERT_TRUE(printer.Run(stream, &page).ok);
    ASSERT_EQ(page.height(), 2 * escpos::kLinePitch);

    const int scale = 3;
    const Bytes png = EncodePagePng(page, scale);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    auto u32 = [&](std::size_t at) {
        return (std::uint32_t{png[at]} << 24) | (std::uint32_t{png[at + 1]} << 16) |
               (std::uint32_t{png[at + 2]} << 8) | png[at + 3];
    };
    Bytes idat;
    std::size_t at = 8;
    std::uint32_t width = 0, height = 0;
    bool ended = false;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = u32(at);
        const std::string type(png.begin() + static_cast<long>(at) + 4,
                               png.begin() + static_cast<long>(at) + 8);
        ASSERT_LE(at + 12 + length, png.size());
        const uLong crc = crc32(0L, png.data() + at + 4, length + 4);
        EXPECT_EQ(u32(at + 8 + length), crc) << type;
        if (type == "IHDR") {
            width = u32(at + 8);
            height = u32(at + 12);
            EXPECT_EQ(png[at + 16], 1);  // one bit per pixel
            EXPECT_EQ(png[at + 17], 0);  // greyscale
        } else if (type == "IDAT") {
            idat.insert(idat.end(), png.begin() + static_cast<long>(at) + 8,
                        png.begin() + static_cast<long>(at + 8 + length));
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    EXPECT_TRUE(ended);
    ASSERT_EQ(width, 50u * scale);
    ASSERT_EQ(height, 60u * scale);
    const std::size_t row_bytes = (width + 7) / 8 + 1;
    Bytes raw(row_bytes * height);
    uLongf raw_size = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &raw_size, idat.data(), static_cast<uLong>(idat.size())),
              Z_OK);
    ASSERT_EQ(raw_size, raw.size());
    int black = 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        ASSERT_EQ(raw[y * row_bytes], 0);  // no filter
        for (std::uint32_t x = 0; x < width; ++x) {
            const bool white = raw[y * row_bytes + 1 + x / 8] & (0x80 >> (x % 8));
            const bool inked =
                page.IsInked(static_cast<int>(x / scale), static_cast<int>(y / scale));
            ASSERT_EQ(!white, inked) << x << "," << y;
            black += white ? 0 : 1;
        }
    }
    // The diagonal: dots (3,0), (4,1), (5,2), each 3 x 3 pixels.
    EXPECT_EQ(black, 3 * scale * scale);
    EXPECT_TRUE(page.IsInked(3, 0));
    EXPECT_TRUE(page.IsInked(4, 1));
    EXPECT_TRUE(page.IsInked(5, 2));
}

}  // namespace

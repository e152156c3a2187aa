// SPDX-License-Identifier: Apache-2.0
// The receipt printer model: it must print exactly what the bytes say, read the library's
// characters back as text, skip what it does not print with one warning, and refuse what it
// cannot read with the byte offset of the command.
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
#include "tools/preview/library_glyphs.h"
#include "tools/preview/png_output.h"
#include "tools/preview/resident_font.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kArabicCodePage = 1256;

PrinterSetup MakeSetup(int paper, int code_page = kArabicCodePage) {
    PrinterSetup setup;
    setup.paper_dots = paper;
    PrinterProfile::Named("reference", &setup.profile);
    setup.code_page = code_page;
    return setup;
}

InterpretResult Print(const std::vector<unsigned char>& stream, Page* page,
                      ResidentFont* font = nullptr, int code_page = kArabicCodePage) {
    EscPosInterpreter printer(MakeSetup(page->width(), code_page), font);
    return printer.Run(stream, page);
}

// Records what the printer asks of its own font, and inks the cell's top-left dot.
class RecordingFont : public ResidentFont {
  public:
    struct Call {
        char32_t code_point;
        int cell_width;
    };
    void Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) override {
        calls.push_back({code_point, cell_width});
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

Bytes Sequence(int code_point, int width, _SWFONTINFO* placement) {
    unsigned char buffer[SWFONT_MAX_SEQUENCE];
    const int n = CFntMngr::GetFontDrawBuffer(code_point, kArabicCodePage, width, SWFONT_HEIGHT,
                                              buffer, placement, SWFONT_JUSTIFICATION_NONE);
    return n > 0 ? Bytes(buffer, buffer + n) : Bytes();
}

// The glyph columns of the font of `width` for `code_point`, without the margins.
Bytes Columns(int width, char32_t code_point) {
    unsigned int flags = 0;
    const Bytes record = testutil::FontGlyph(width, static_cast<int>(code_point), &flags);
    return record.empty() ? record : Bytes(record.begin() + 4, record.end());
}

// Every glyph of every font, composed as the library composes it after a space from the
// printer's own font, prints its own columns (beside the space, or over it after the BS of a
// mark) and reads back as a code point with exactly that glyph.
TEST(PrinterModelRoundTrip, EveryGlyphOfEveryFontPrintsItsColumnsAndReadsBack) {
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
            _SWFONTINFO empty = {255, 255, 255, 255, 0, 0};
            // ESC @, a space from the printer's font, the sequence, LF.
            const Bytes stream = Cat({{escpos::kEsc, escpos::kInitialize, ' '},
                                      Sequence(code_point, width, &empty),
                                      {escpos::kLf}});
            Page page(escpos::kDefaultPaperDots);
            const InterpretResult result = Print(stream, &page);
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

            ASSERT_EQ(result.text.size(), 1u);
            const std::string& line = result.text[0];
            ASSERT_EQ(line.substr(0, 1), " ") << std::hex << "U+" << code_point;
            // The code point read back has this very glyph (the lowest of those that share it).
            const std::string read = line.substr(1);
            char32_t back = 0;
            for (char32_t c = static_cast<char32_t>(code_point); c > 0 && back == 0; --c) {
                if (EncodeUtf8(c) == read) back = c;
            }
            ASSERT_NE(back, 0u) << std::hex << "U+" << code_point << " read as " << read;
            ASSERT_EQ(Columns(width, back), Bytes(record.begin() + 4, record.end()))
                << std::hex << "U+" << code_point << " read as U+" << back;
        }
        EXPECT_GT(glyphs, 0) << "the font of this width has no glyph at all";
    }
}

// A mark that the library moved towards its letter still reads as the mark: every fitted mark
// of every narrow font, after letters inked high and low.
TEST(PrinterModelRoundTrip, FittedMarksReadBackAsThemselves) {
    const int bases[] = {0x0628, 0x0644, 0xFE8E, 0x0640, 0xFEDF};  // beh, lam, alef, tatweel
    int moved = 0;
    for (int width : {10, 13, 18}) {
        for (int base : bases) {
            for (int mark = 0x0610; mark <= 0x08FF; ++mark) {
                unsigned int flags = 0;
                const Bytes stored = testutil::FontGlyph(width, mark, &flags);
                if (stored.empty() || !(flags & SWFONT_FLAG_VFIT)) continue;
                _SWFONTINFO placement = {255, 255, 255, 255, 0, 0};
                const Bytes base_bytes = Sequence(base, width, &placement);
                const Bytes mark_bytes = Sequence(mark, width, &placement);
                if (base_bytes.empty() || mark_bytes.empty()) continue;
                // Columns at offset 6 of the sequence; unchanged means the mark was not moved.
                if (std::equal(stored.begin() + 4, stored.end(), mark_bytes.begin() + 6)) continue;
                ++moved;
                Page page(escpos::kDefaultPaperDots);
                const InterpretResult result =
                    Print(Cat({base_bytes, mark_bytes, {escpos::kLf}}), &page);
                ASSERT_TRUE(result.ok) << result.error;
                const std::string text = result.text.at(0);
                const std::string expected_mark = EncodeUtf8(static_cast<char32_t>(mark));
                // The mark, or one with the same glyph, follows the letter.
                char32_t read_mark = 0;
                for (char32_t c = 0x0610; c <= 0xFEFF && read_mark == 0; ++c) {
                    if (text.size() > expected_mark.size() &&
                        text.compare(text.size() - EncodeUtf8(c).size(), std::string::npos,
                                     EncodeUtf8(c)) == 0 &&
                        Columns(width, c) == Bytes(stored.begin() + 4, stored.end())) {
                        read_mark = c;
                    }
                }
                EXPECT_NE(read_mark, 0u) << std::hex << "mark U+" << mark << " over U+" << base
                                         << " width " << std::dec << width << " read as " << text;
            }
        }
    }
    EXPECT_GT(moved, 20) << "too few marks were moved to test the fit";
}

TEST(PrinterModelCommands, UserDefinedSetIsUsedOnlyWhileSelected) {
    RecordingFont font;
    const std::uint32_t full = 0xFFFFFF;
    // 'A' before selection, selected, after ESC % 0xAA (bit 0 clear: cancelled), after ESC % 3.
    const Bytes stream = Cat({{escpos::kEsc, escpos::kInitialize},
                              Define('A', 5, full),
                              {'A', escpos::kEsc, escpos::kSelectUserCharSet, 1, 'A', 'B'},
                              {escpos::kEsc, escpos::kSelectUserCharSet, 0xAA, 'A'},
                              {escpos::kEsc, escpos::kSelectUserCharSet, 3, 'A', escpos::kLf}});
    Page page(200);
    const InterpretResult result = Print(stream, &page, &font);
    ASSERT_TRUE(result.ok) << result.error;

    // Resident 'A' at 0, defined 'A' at 12..16, resident 'B' (not defined) at 17, resident 'A'
    // at 29, defined 'A' at 41..45. The recording font inks each cell's top-left dot.
    ASSERT_EQ(font.calls.size(), 3u);
    EXPECT_EQ(font.calls[0].code_point, U'A');
    EXPECT_EQ(font.calls[1].code_point, U'B');
    EXPECT_EQ(font.calls[2].code_point, U'A');
    for (int x : {0, 12, 16, 17, 29, 41, 45}) EXPECT_TRUE(page.IsInked(x, 0)) << x;
    for (int x : {12, 16, 41, 45}) EXPECT_TRUE(page.IsInked(x, 23)) << x;
    for (int x : {11, 18, 40, 46}) EXPECT_FALSE(page.IsInked(x, 23)) << x;
    // A 5-column block is no glyph of the library's.
    EXPECT_EQ(result.text, std::vector<std::string>{"A□BA□"});
}

// A definition lasts until the code is redefined, cancelled by ESC ? or forgotten by ESC @.
TEST(PrinterModelCommands, DefinitionsLastUntilRedefinedCancelledOrReset) {
    RecordingFont font;
    const Bytes select = {escpos::kEsc, escpos::kSelectUserCharSet, 1};
    const Bytes stream = Cat({Define('A', 2, 0xFFFFFF),
                              Define('B', 3, 0xFFFFFF),
                              select,
                              {'A', 'B'},
                              Define('A', 4, 0x000001),
                              {'A'},
                              {escpos::kEsc, escpos::kCancelUserChar, 'A', 'A', 'B'},
                              {escpos::kEsc, escpos::kInitialize},
                              select,
                              {'B', escpos::kLf}});
    Page page(100);
    const InterpretResult result = Print(stream, &page, &font);
    ASSERT_TRUE(result.ok) << result.error;
    // After the reset 'B' is resident at 0; all before it (the cancelled 'A' from the printer's
    // font among it) was never printed.
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[1].code_point, U'B');
    EXPECT_EQ(InkedDots(page), 1);

    // Without the reset: A (2 columns), B (3), the new A (4 columns, bottom row only), the
    // cancelled A from the resident font (12), B (3).
    Page page2(100);
    RecordingFont font2;
    const Bytes kept(stream.begin(), stream.end() - 7);  // up to the ESC @
    const InterpretResult r2 = Print(Cat({kept, {escpos::kLf}}), &page2, &font2);
    ASSERT_TRUE(r2.ok) << r2.error;
    ASSERT_EQ(font2.calls.size(), 1u);
    EXPECT_EQ(font2.calls[0].code_point, U'A');
    for (int x : {0, 1, 2, 4, 9, 21, 23}) EXPECT_TRUE(page2.IsInked(x, 0)) << x;
    for (int x : {5, 8}) EXPECT_TRUE(page2.IsInked(x, 23) && !page2.IsInked(x, 0)) << x;
}

TEST(PrinterModelCommands, BackspacePrintsOverTheLastCharacter) {
    RecordingFont font;
    // BS at the start of a line has nothing to step back over; two marks after one base both
    // print over the base; a character after the marks follows the last mark.
    const Bytes stream =
        Cat({Define('A', 13, 0x000001),
             {escpos::kBs, 'x', 'y', escpos::kEsc, escpos::kSelectUserCharSet, 1, escpos::kBs, 'A',
              escpos::kBs, 'A', escpos::kEsc, escpos::kSelectUserCharSet, 0, 'z', escpos::kLf}});
    Page page(200);
    const InterpretResult result = Print(stream, &page, &font);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(font.calls.size(), 3u);
    for (int x : {0, 12, 25}) EXPECT_TRUE(page.IsInked(x, 0)) << x;  // x, y, z after the mark
    EXPECT_TRUE(page.IsInked(12, 23));
    EXPECT_TRUE(page.IsInked(24, 23));
    EXPECT_FALSE(page.IsInked(25, 23));
    EXPECT_EQ(result.text, std::vector<std::string>{"xy□□z"});
}

TEST(PrinterModelCommands, LinesFullToThePaperEdgeAreBrokenByThePrinter) {
    RecordingFont font;
    // Four 12-dot characters fill 48 dots; the fifth starts a new line.
    const Bytes stream = {'a', 'b', 'c', 'd', 'e', escpos::kLf, 'f', escpos::kLf};
    Page page(48);
    const InterpretResult result = Print(stream, &page, &font);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.lines_fed, 3);
    EXPECT_EQ(result.lines_wrapped, 1);
    EXPECT_EQ(page.height(), 3 * escpos::kLinePitch);
    EXPECT_EQ(result.text, (std::vector<std::string>{"abcd", "e", "f"}));
    EXPECT_TRUE(page.IsInked(36, 0));
    EXPECT_TRUE(page.IsInked(0, escpos::kLinePitch));
    EXPECT_TRUE(page.IsInked(0, 2 * escpos::kLinePitch));
}

TEST(PrinterModelCommands, TextWithoutLineFeedIsNeverPrinted) {
    RecordingFont font;
    Page page(100);
    const InterpretResult result = Print({'a', escpos::kLf, 'b'}, &page, &font);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.unprinted_tail);
    EXPECT_EQ(page.height(), escpos::kLinePitch);
    EXPECT_EQ(result.text, std::vector<std::string>{"a"});
}

// Where the commands put a 12 x 24 block on the paper, and how far they feed it.
TEST(PrinterModelCommands, PositionAlignmentSpacingAndSizeMoveTheInk) {
    const Bytes block = Cat({Define('A', 12, 0xFFFFFF), {escpos::kEsc, '%', 1}});
    struct Case {
        const char* what;
        Bytes commands;  // then 'A' and LF
        int left, top, width, height;
        int paper_length;
        const char* text;
    };
    const Case cases[] = {
        {"left", {}, 0, 0, 12, 24, 30, "□"},
        {"right", {escpos::kEsc, 'a', 2}, 188, 0, 12, 24, 30, "                □"},
        {"right, as '2'", {escpos::kEsc, 'a', '2'}, 188, 0, 12, 24, 30, "                □"},
        {"centre", {escpos::kEsc, 'a', 1}, 94, 0, 12, 24, 30, "        □"},
        {"ESC $ 100", {escpos::kEsc, '$', 100, 0}, 100, 0, 12, 24, 30, "        □"},
        {"ESC $ past the paper is ignored", {escpos::kEsc, '$', 0xFF, 0}, 0, 0, 12, 24, 30, "□"},
        {"ESC \\ +30 then -6",
         {escpos::kEsc, '\\', 30, 0, escpos::kEsc, '\\', 0xFA, 0xFF},
         24,
         0,
         12,
         24,
         30,
         "  □"},
        {"ESC \\ before the paper's edge is ignored",
         {escpos::kEsc, '\\', 0xF0, 0xFF},
         0,
         0,
         12,
         24,
         30,
         "□"},
        {"HT", {escpos::kHt}, 96, 0, 12, 24, 30, "        □"},
        {"ESC 3 24", {escpos::kEsc, '3', 24}, 0, 0, 12, 24, 24, "□"},
        {"ESC 3 50 then ESC 2", {escpos::kEsc, '3', 50, escpos::kEsc, '2'}, 0, 0, 12, 24, 30, "□"},
        {"GS ! 0x11", {escpos::kGs, '!', 0x11}, 0, 0, 24, 48, 48, "□"},
        {"GS ! 0x20 right",
         {escpos::kGs, '!', 0x20, escpos::kEsc, 'a', 2},
         164,
         0,
         36,
         24,
         30,
         "              □"},
        {"ESC ! 0x30", {escpos::kEsc, '!', 0x30}, 0, 0, 24, 48, 48, "□"},
        {"ESC E 1: one dot wider", {escpos::kEsc, 'E', 1}, 0, 0, 13, 24, 30, "□"},
        {"GS B 1: white on black turns the block blank",
         {escpos::kGs, 'B', 1},
         0,
         0,
         0,
         0,
         30,
         "□"},
        {"ESC d 3", {}, 0, 0, 12, 24, 90, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool feed_three = c.text == nullptr;
        const Bytes stream =
            Cat({block, c.commands,
                 feed_three ? Bytes{'A', escpos::kEsc, 'd', 3} : Bytes{'A', escpos::kLf}});
        Page page(200);
        const InterpretResult result = Print(stream, &page);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(page.height(), c.paper_length);
        int inked = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const bool inside =
                    x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
                EXPECT_EQ(page.IsInked(x, y), inside) << x << "," << y;
                inked += page.IsInked(x, y) ? 1 : 0;
                if (page.IsInked(x, y) != inside) break;
            }
        }
        EXPECT_EQ(inked, c.width * c.height);
        if (feed_three) {
            EXPECT_EQ(result.text, (std::vector<std::string>{"□", "", ""}));
        } else {
            EXPECT_EQ(result.text, std::vector<std::string>{c.text});
        }
    }
}

// Underline and white on black cover the cell of every character, resident or downloaded; a reset
// ends them.
TEST(PrinterModelCommands, UnderlineAndInverseCoverTheCell) {
    const Bytes blank = Cat({Define('A', 10, 0), {escpos::kEsc, '%', 1}});
    struct Case {
        const char* what;
        Bytes commands;
        int inked;
    };
    const Case cases[] = {
        {"ESC - 1", {escpos::kEsc, '-', 1}, 10},
        {"ESC - '2'", {escpos::kEsc, '-', '2'}, 20},
        {"ESC ! 0x80", {escpos::kEsc, '!', 0x80}, 10},
        {"GS B 1", {escpos::kGs, 'B', 1}, 10 * 24},
        {"GS B 1 then ESC @", {escpos::kGs, 'B', 1, escpos::kEsc, '@'}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page page(100);
        const InterpretResult result = Print(Cat({c.commands, blank, {'A', escpos::kLf}}), &page);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(InkedDots(page), c.inked);
    }
}

// Images and the cut print at the start of a line and show in the text.
TEST(PrinterModelCommands, ImagesAndTheCut) {
    // GS v 0: 2 bytes by 3 rows, the left bit of each row: a 1 x 3 line at x = 0, fed 3 dots.
    const Bytes raster = {escpos::kGs, 'v', '0', 0, 2, 0, 3, 0, 0x80, 0, 0x80, 0, 0x80, 0};
    // ESC * 33: two 24-dot columns, the first one full.
    const Bytes bit_image = {escpos::kEsc, '*', 33, 2, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, escpos::kLf};
    const Bytes cut = {escpos::kGs, 'V', 0};
    Page page(48);
    const InterpretResult result = Print(Cat({raster, bit_image, cut}), &page);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, (std::vector<std::string>{"[image 16×3]", "[image 2×24]", "✂ - -"}));
    EXPECT_TRUE(page.IsInked(0, 0) && page.IsInked(0, 2) && !page.IsInked(1, 0));
    EXPECT_TRUE(page.IsInked(0, 3) && page.IsInked(0, 26) && !page.IsInked(1, 3));
    const int cut_row = 3 + escpos::kLinePitch + 6;
    EXPECT_TRUE(page.IsInked(0, cut_row) && !page.IsInked(8, cut_row));
    EXPECT_EQ(page.height(), cut_row + 6);

    // After characters on the line, printers ignore both.
    Page page2(48);
    const InterpretResult r2 = Print(Cat({{'a'}, raster, cut, {escpos::kLf}}), &page2);
    ASSERT_TRUE(r2.ok) << r2.error;
    EXPECT_EQ(r2.text, std::vector<std::string>{"a"});
    EXPECT_EQ(r2.warnings.size(), 2u);
}

TEST(PrinterModelCodePages, BytesAreReadThroughTheSelectedTableOrKanjiMode) {
    const Bytes fs_on = {escpos::kFs, '&'}, fs_off = {escpos::kFs, '.'};
    struct Case {
        const char* profile;
        int kanji_code_page;
        Bytes bytes;
        const char* text;
    };
    const Case cases[] = {
        {"reference", 932, {escpos::kEsc, 't', 49, 0xE0}, "א"},       // WPC1255
        {"reference", 932, {escpos::kEsc, 't', 50, 0xC7}, "ا"},       // WPC1256
        {"reference", 932, {escpos::kEsc, 't', 36, 0x80}, "א"},       // PC862
        {"reference", 932, {escpos::kEsc, 't', 37, 0xC7}, "ﺍ"},       // PC864
        {"reference", 932, {escpos::kEsc, 't', 32, 'A'}, "A"},        // PC720: ASCII from iconv
        {"reference", 932, {escpos::kEsc, 't', 0, 'A', 0x80}, "AÇ"},  // table 0: PC437
        {"reference", 932, {escpos::kEsc, 't', 92, 0xC7}, "□"},       // no such table
        {"clone58", 54936, Cat({fs_off, {escpos::kEsc, 't', 92, 0xC7}}), "ا"},
        {"clone58", 54936, Cat({fs_off, {escpos::kEsc, 't', 32, 0xE0}}), "א"},
        {"clone58", 54936, {0xB1, 0xBE, 'a'}, "本a"},       // it starts in Kanji mode
        {"clone58", 54936, {0x81, 0x30, 0x86, 0x38}, "À"},  // a four-byte GB18030 character
        {"reference", 932, Cat({fs_on, {0x96, 0x7B, 'a'}, fs_off, {0x96}}), "本a□"},
        {"reference", 936, Cat({fs_on, {0xB1, 0xBE}}), "本"},
        // In Kanji mode a lead byte takes the next byte, whatever it is.
        {"reference", 932, Cat({fs_on, {0x96, escpos::kLf, 'a'}}), "□a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + std::to_string(c.bytes.back()));
        PrinterSetup setup = MakeSetup(200, 0);
        ASSERT_TRUE(PrinterProfile::Named(c.profile, &setup.profile));
        setup.profile.kanji_code_page = c.kanji_code_page;
        EscPosInterpreter printer(setup, nullptr);
        Page page(200);
        const InterpretResult result = printer.Run(Cat({c.bytes, {escpos::kLf}}), &page);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.text, std::vector<std::string>{c.text});
    }
}

TEST(PrinterModelSkipping, KnownCommandsAreSkippedWithOneWarningEach) {
    struct Case {
        Bytes command;
        const char* warning;
    };
    const Case cases[] = {
        {{escpos::kGs, 'L', 0, 0}, "skipped GS L (left margin) at byte offset 1"},
        {{escpos::kEsc, 'M', 1}, "skipped ESC M (character font)"},
        {{escpos::kEsc, 'D', 8, 16, 0}, "skipped ESC D (tab positions)"},
        {{escpos::kGs, '(', 'k', 3, 0, 48, 67, 3}, "skipped GS ( k of a symbol other than"},
        {{escpos::kGs, '8', 'L', 2, 0, 0, 0, 48, 2}, "skipped GS 8 L"},
        {{escpos::kGs, 'k', 4, '1', '2', 0}, "skipped a symbol after characters on its line"},
        {{escpos::kGs, 'k', 73, 2, '1', '2'}, "skipped a symbol after characters on its line"},
        {{escpos::kFs, 'q', 1, 1, 0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8}, "skipped FS q"},
        {{escpos::kDle, 0x04, 1}, "skipped DLE EOT"},
        {{0x07}, "skipped control byte 0x07"},
        {{escpos::kEsc, '!', 0x01}, "ESC ! selects font B; printed in font A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        // The command twice: one warning, with the count.
        Page page(100);
        const InterpretResult result =
            Print(Cat({{'a'}, c.command, c.command, {'b', escpos::kLf}}), &page);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.text, std::vector<std::string>{"ab"});
        ASSERT_EQ(result.warnings.size(), 1u);
        EXPECT_NE(result.warnings[0].find(c.warning), std::string::npos) << result.warnings[0];
        EXPECT_NE(result.warnings[0].find("(and 1 more)"), std::string::npos);
    }
}

TEST(PrinterModelErrors, UnknownLengthOrCutShortNameTheCommandAndItsByteOffset) {
    struct Case {
        const char* what;
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
        {"unknown ESC command", {'a', escpos::kEsc, 'x', 'b'}, 1, "unknown command ESC 0x78"},
        {"unknown GS command", {escpos::kGs, 'Z', 0}, 0, "unknown command GS 0x5A"},
        {"unknown FS command", {escpos::kFs, 'z'}, 0, "unknown command FS 0x7A"},
        {"unknown DLE command", {escpos::kDle, 0x7F}, 0, "unknown command DLE 0x7F"},
        {"ESC * of an unknown mode", {escpos::kEsc, '*', 2, 1, 0, 0}, 0, "ESC * with mode 2"},
        {"GS V of an unknown kind", {escpos::kGs, 'V', 7}, 0, "GS V with 7"},
        {"ESC D without NUL", Cat({{escpos::kEsc, 'D'}, Bytes(40, 1)}), 0, "without its NUL"},
        {"ESC at the end", {escpos::kLf, escpos::kEsc}, 1, "ESC without a command"},
        {"ESC % without argument", {'a', 'b', escpos::kEsc, '%'}, 2, "ESC % without"},
        {"ESC $ cut short", {escpos::kEsc, '$', 1}, 0, "ESC $ cut short"},
        {"GS v 0 data cut short", {escpos::kGs, 'v', '0', 0, 1, 0, 2, 0, 0xFF}, 0, "cut short"},
        {"GS L cut short", {'a', escpos::kGs, 'L', 0}, 1, "GS L (left margin) cut short"},
        {"GS k data cut short", {escpos::kGs, 'k', 4, '1'}, 0, "cut short"},
        {"double-byte cut short", {escpos::kFs, '&', 0x93}, 2, "double-byte character cut short"},
        {"ESC & header cut short", {'a', escpos::kEsc, '&', 3, 'A'}, 1, "cut short"},
        {"ESC & columns cut short", Cat({{'a', 'b', 'c'}, definition_cut}), 3,
         "needs 30 column bytes, 29 remain"},
        {"ESC & without the width",
         {escpos::kEsc, '&', 3, 'A', 'B', 1, 0, 0, 0},
         0,
         "no width for character 0x42"},
        {"ESC & with 2 bytes per column",
         {escpos::kEsc, '&', 2, 'A', 'A', 1, 0, 0},
         0,
         "2 bytes per column"},
        {"ESC & with codes reversed", {escpos::kEsc, '&', 3, 'B', 'A', 0}, 0, "codes 0x42 to 0x41"},
        {"ESC & of code 0xFF", {escpos::kEsc, '&', 3, 0xFF, 0xFF, 0}, 0, "codes 0xFF to 0xFF"},
        {"ESC & 25 columns wide", {escpos::kEsc, '&', 3, 'A', 'A', 25}, 0, "25 columns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page page(100);
        const InterpretResult result = Print(c.bytes, &page);
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
    Page page(50);
    // A defined character with a diagonal, printed at x = 3 (after a 3-column blank character).
    Bytes stream = Cat({Define('B', 3, 0), Define('A', 3, 0)});
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t column = 0x800000u >> c;
        const std::size_t at = stream.size() - 9 + 3 * static_cast<std::size_t>(c);
        stream[at] = static_cast<unsigned char>(column >> 16);
    }
    const Bytes print = {escpos::kEsc, '%', 1, 'B', 'A', escpos::kLf, escpos::kLf};
    stream.insert(stream.end(), print.begin(), print.end());
    ASSERT_TRUE(Print(stream, &page).ok);
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

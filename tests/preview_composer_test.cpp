// The line composer: text lines in, the printer's bytes out, with the placement record carried
// the way the printer needs it and nothing sent that the printer should not show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "tools/preview/code_page.h"
#include "tools/preview/escpos.h"
#include "tools/preview/receipt_composer.h"
#include "tools/preview/utf8_lines.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kArabicCodePage = 1256;
constexpr int kWidth = 13;
constexpr char32_t kBeh = 0x0628, kAlef = 0x0627, kLam = 0x0644, kFatha = 0x064E;
constexpr char32_t kMiddleDot = 0x00B7;  // drawn by the library, inked mid-cell only

const _SWFONTINFO kEmpty = {255, 255, 255, 255, 0, 0};

Bytes Sequence(char32_t c, _SWFONTINFO* placement) {
    unsigned char buffer[SWFONT_MAX_SEQUENCE];
    const int n =
        CFntMngr::GetFontDrawBuffer(static_cast<int>(c), kArabicCodePage, kWidth, SWFONT_HEIGHT,
                                    buffer, placement, SWFONT_JUSTIFICATION_NONE);
    return n > 0 ? Bytes(buffer, buffer + n) : Bytes();
}

// The bytes of the receipt's text line `index` (0-based), without its LF.
Bytes LineBytes(const ComposedReceipt& receipt, int index) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < receipt.bytes.size(); ++i) {
        if (receipt.bytes[i] == escpos::kLf) ends.push_back(i);
    }
    const std::size_t begin = index == 0 ? 2 : ends[static_cast<std::size_t>(index - 1)] + 1;
    return Bytes(receipt.bytes.begin() + static_cast<long>(begin),
                 receipt.bytes.begin() + static_cast<long>(ends[static_cast<std::size_t>(index)]));
}

bool EndsWith(const Bytes& bytes, const Bytes& tail) {
    return bytes.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<long>(tail.size()));
}

TEST(ComposedStream, StartsWithResetAndEndsEveryLineWithLineFeed) {
    CodePage code_page(kArabicCodePage);
    ReceiptComposer composer(&code_page, kWidth);
    composer.AddLine(U"ab", 1);
    composer.AddLine(U"", 2);
    composer.AddLine(U"c", 3);
    const ComposedReceipt& r = composer.receipt();
    EXPECT_EQ(r.bytes, (Bytes{escpos::kEsc, escpos::kInitialize, 'a', 'b', escpos::kLf, escpos::kLf,
                              'c', escpos::kLf}));
    EXPECT_EQ(r.lines, 3);
    EXPECT_EQ(r.resident_chars, 3);
    EXPECT_EQ(r.drawn_chars, 0);
}

TEST(ComposedStream, DrawsWhatTheFontsHaveInVisualOrder) {
    CodePage code_page(kArabicCodePage);
    ReceiptComposer composer(&code_page, kWidth);
    // beh beh: visual order final form, then initial form (the printer prints left to right).
    composer.AddLine({kBeh, kBeh, U' ', U'7'}, 1);
    const ComposedReceipt& r = composer.receipt();
    // The paragraph is right to left: "7", " ", then the word.
    Bytes want = {'7', ' '};
    _SWFONTINFO placement = kEmpty;
    for (char32_t c : {char32_t{0xFE90}, char32_t{0xFE91}}) {
        const Bytes s = Sequence(c, &placement);
        ASSERT_FALSE(s.empty());
        want.insert(want.end(), s.begin(), s.end());
    }
    EXPECT_EQ(LineBytes(r, 0), want);
    EXPECT_EQ(r.drawn_chars, 2);
    EXPECT_EQ(r.resident_chars, 2);
}

// A mark is fitted against the character before it only when the library drew that character on
// the same line: the record starts empty at each line and after each resident character.
TEST(PlacementRecord, IsCarriedAlongTheLineAndStartsEmptyWhereTheInkIsUnknown) {
    _SWFONTINFO after_dot = kEmpty;
    ASSERT_FALSE(Sequence(kMiddleDot, &after_dot).empty());
    _SWFONTINFO fresh = kEmpty;
    const Bytes fitted = Sequence(kFatha, &after_dot);
    const Bytes unfitted = Sequence(kFatha, &fresh);
    // Without this difference the cases below could not tell the records apart.
    ASSERT_NE(fitted, unfitted) << "the fatha is not moved toward the middle dot";

    struct Case {
        const char* what;
        std::vector<std::u32string> lines;
        int line;
        Bytes mark;
    };
    const Case cases[] = {
        {"carried from a drawn character", {{kMiddleDot, kFatha}}, 0, fitted},
        {"empty after a resident character", {{kMiddleDot, U'a', kFatha}}, 0, unfitted},
        {"empty at the start of a line", {{kMiddleDot}, {kFatha}}, 1, unfitted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CodePage code_page(kArabicCodePage);
        ReceiptComposer composer(&code_page, kWidth);
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            composer.AddLine(c.lines[i], static_cast<int>(i + 1));
        }
        EXPECT_TRUE(EndsWith(LineBytes(composer.receipt(), c.line), c.mark));
    }
}

TEST(VisualLineFilter, DropsWhatThePrinterShouldNotShow) {
    const char32_t invisible[] = {0xFEFF, 0x200C, 0x200D, 0x200E, 0x200F, 0x061C, 0x202A, 0x202B,
                                  0x202C, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069};
    for (char32_t c : invisible) {
        SCOPED_TRACE(static_cast<unsigned>(c));
        EXPECT_EQ(VisualLine({U'a', c, U'b'}), U"ab");
    }
    // Neighbours of those ranges stay.
    for (char32_t c : {char32_t{0x200B}, char32_t{0x2010}, char32_t{0x2065}, char32_t{0xFEFC}}) {
        EXPECT_EQ(VisualLine({U'a', c}).size(), 2u) << static_cast<unsigned>(c);
    }
}

TEST(VisualLineFilter, LamAlefBecomesOneLigatureWithNothingBehind) {
    const std::u32string visual = VisualLine({kLam, kAlef});
    EXPECT_EQ(visual, std::u32string(1, 0xFEFB));
    // A zero-width joiner shapes its neighbours, then goes.
    const std::u32string joined = VisualLine({kBeh, 0x200D});
    EXPECT_EQ(joined, std::u32string(1, 0xFE91));
}

TEST(ResidentText, IsEncodedInTheCodePage) {
    struct Case {
        int code_page;
        std::u32string text;
        Bytes bytes;
    };
    const Case cases[] = {
        {1255, {0x05D0}, {0xE0}},          // Hebrew alef
        {1255, {0x20AA}, {0xA4}},          // new shekel sign
        {862, {0x05D1}, {0x81}},           // DOS Hebrew bet
        {932, {0x672C}, {0x96, 0x7B}},     // an ideograph the fonts lack, in Shift JIS
        {936, {0x672C}, {0xB1, 0xBE}},     // the same in GBK
        {290, {U'A'}, {0xC1}},             // EBCDIC
        {1098, {U'A', U'~'}, {'A', '~'}},  // unknown to iconv: ASCII goes through
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code page " + std::to_string(c.code_page));
        CodePage code_page(c.code_page);
        ReceiptComposer composer(&code_page, kWidth);
        composer.AddLine(c.text, 1);
        EXPECT_EQ(LineBytes(composer.receipt(), 0), c.bytes);
        EXPECT_TRUE(composer.receipt().unprintable.empty());
    }
}

TEST(ResidentText, WhatCannotBeSentIsReplacedAndNotedOncePerCharacter) {
    CodePage code_page(kArabicCodePage);
    ReceiptComposer composer(&code_page, kWidth);
    composer.AddLine({U'x', 0x05D0}, 1);       // Hebrew is neither drawn nor in 1256
    composer.AddLine({U'a', U'\t', U'b'}, 2);  // a control character would read as a command
    composer.AddLine({U'c', 0, U'd'}, 3);      // NUL must not cut the line
    composer.AddLine({0x05D0, U' ', 0x05D0}, 4);
    const ComposedReceipt& r = composer.receipt();
    EXPECT_EQ(LineBytes(r, 1), (Bytes{'a', '?', 'b'}));
    EXPECT_EQ(LineBytes(r, 2), (Bytes{'c', '?', 'd'}));
    EXPECT_EQ(LineBytes(r, 3), (Bytes{'?', ' ', '?'}));
    ASSERT_EQ(r.unprintable.size(), 3u);
    EXPECT_EQ(r.unprintable[0].code_point, 0x05D0u);
    EXPECT_EQ(r.unprintable[0].first_line, 1);
    EXPECT_EQ(r.unprintable[0].count, 3);
    EXPECT_FALSE(r.unprintable[0].control);
    EXPECT_EQ(r.unprintable[1].code_point, U'\t');
    EXPECT_TRUE(r.unprintable[1].control);
    EXPECT_EQ(r.unprintable[2].code_point, 0u);
    EXPECT_EQ(r.unprintable[2].first_line, 3);
}

TEST(Utf8Lines, SplitsLinesAndDropsTheCarriageReturnOfCrLf) {
    struct Case {
        std::string text;
        std::vector<std::u32string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {U"a"}},
        {"a\n", {U"a"}},
        {"a\r\n\nb", {U"a", U"", U"b"}},
        {"a\rb\r", {U"a\rb"}},
        {"\xD7\x90\xE2\x82\xAC\xF0\x9F\x98\x80\n", {{0x05D0, 0x20AC, 0x1F600}}},
    };
    for (const Case& c : cases) {
        std::vector<std::u32string> lines;
        std::size_t offset = 99;
        ASSERT_TRUE(DecodeUtf8Lines(c.text, &lines, &offset)) << c.text;
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(Utf8Lines, RejectsIllFormedInputAtItsOffset) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t offset;
    };
    const Case cases[] = {
        {"lone continuation byte", "ab\x80", 2},     {"truncated at the end", "a\xE2\x82", 1},
        {"broken by ASCII", "ab\nc\xC3(", 4},        {"overlong slash", "\xC0\xAF", 0},
        {"overlong three-byte", "x\xE0\x80\xAF", 1}, {"surrogate", "xy\xED\xA0\x80", 2},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0},   {"invalid lead byte", "abc\xFF", 3},
    };
    for (const Case& c : cases) {
        std::vector<std::u32string> lines;
        std::size_t offset = 99;
        EXPECT_FALSE(DecodeUtf8Lines(c.text, &lines, &offset)) << c.what;
        EXPECT_EQ(offset, c.offset) << c.what;
    }
}

}  // namespace

// Composition of one character into a printer command sequence, and the capability queries.
#include "fontmgr/fntmngr.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "fontmgr/compose_internal.h"
#include "fontmgr/glyph_column.h"
#include "fontmgr/glyph_column_internal.h"

namespace zelvar_fontmgr {
namespace {

// Printer protocol bytes.
constexpr unsigned char ESC = 0x1B;
constexpr unsigned char BS = 0x08;
constexpr unsigned char kDefineUserChars = '&';      // ESC & y c1 c2 x d...
constexpr unsigned char kSelectUserCharSet = '%';    // ESC % n
constexpr unsigned char kBytesPerColumn = 3;         // y: 24 dots, 3 bytes a column
constexpr unsigned char kUserCharSetOn = 0x01;       // ESC % 1: select the user-defined set
constexpr unsigned char kUserCharSetOff = 0x00;      // ESC % 0: cancel it
constexpr unsigned char kUserCharSetTrailer = 0xAA;  // ESC % AA: bit 0 clear, a second cancel

// The user-defined character code each width defines and prints. Codes from 0x80 up are taken
// for the 24-dot font, which the printer places in the upper half of its user-defined table.
constexpr unsigned char kNarrowCharCode = 0x41;
constexpr unsigned char kWideCharCode = 0x80;

constexpr std::size_t kHeaderBytes = 4;

// The printer code pages whose text the library serves: Arabic, Farsi, Hebrew, Japanese and
// Chinese.
constexpr int kSupportedCodePages[] = {
    1256,   // Windows Arabic
    864,    // IBM PC Arabic
    720,    // DOS Arabic (Transparent ASMO)
    1098,   // IBM PC Farsi
    862,    // DOS Hebrew
    1255,   // Windows Hebrew
    290,    // IBM EBCDIC Japanese Katakana Extended
    20290,  // the same, under its Windows number
    932,    // Japanese Shift JIS
    936,    // Simplified Chinese GBK
    54936,  // Simplified Chinese GB18030
};

using GlyphLookup = std::vector<unsigned char> (*)(int, unsigned int*);

struct FontChoice {
    GlyphLookup lookup;
    unsigned char char_code;
};

// The font of a width, or a null lookup for a width that has none.
FontChoice FontForWidth(int width) {
    switch (width) {
        case 10:
            return {&CFont10x24::GetBuffer10x24, kNarrowCharCode};
        case 13:
            return {&CFont13x24::GetBuffer13x24, kNarrowCharCode};
        case 18:
            return {&CFont18x24::GetBuffer18x24, kNarrowCharCode};
        case 24:
            return {&CFont24x24::GetBuffer24x24, kWideCharCode};
        default:
            return {nullptr, 0};
    }
}

bool HasInk(const GlyphMargins& m) {
    return m.left != SWFONT_MARGIN_NO_INK && m.right != SWFONT_MARGIN_NO_INK &&
           m.top != SWFONT_MARGIN_NO_INK && m.bottom != SWFONT_MARGIN_NO_INK;
}

GlyphMargins MarginsOf(const _SWFONTINFO& info) {
    return {info.LeftMargin, info.RightMargin, info.TopMargin, info.BottomMargin};
}

// Moves the working record and measures the moved picture again.
template <typename Shift>
void MoveGlyph(std::vector<unsigned char>& record, GlyphMargins& m, Shift shift, int n, int W) {
    record = shift(std::move(record), n, W);
    m = MeasureMargins(record.data(), record.size(), W);
}

}  // namespace

int ComposeGlyph(std::vector<unsigned char> record, unsigned int flags, int W,
                 unsigned char char_code, unsigned char* buffer, _SWFONTINFO* info,
                 _SWFONT_JUSTIFICATION justification) {
    // The margins the font stored with the glyph are the ones used until the glyph moves.
    GlyphMargins m{record[0], record[1], record[2], record[3]};

    // Justification only ever removes surplus blank columns, down to one.
    if ((flags & SWFONT_FLAG_HJUST) != 0) {
        if (justification == SWFONT_JUSTIFICATION_LEFT && m.left >= 2) {
            MoveGlyph(record, m, ShiftH, 1 - m.left, W);
        } else if (justification == SWFONT_JUSTIFICATION_RIGHT && m.right >= 2) {
            MoveGlyph(record, m, ShiftH, m.right - 1, W);
        }
    }

    // A mark printed over the previous cell is brought to two blank rows from that cell's ink,
    // and the cell's margins become those of both, so that a second mark fits against the two.
    const unsigned int fit = SWFONT_FLAG_OVERSTRIKE | SWFONT_FLAG_VFIT;
    if (info != nullptr && (flags & fit) == fit && HasInk(m) && HasInk(MarginsOf(*info))) {
        const GlyphMargins previous = MarginsOf(*info);
        const int gap_above = m.bottom + previous.top - SWFONT_ROWS;
        const int gap_below = m.top + previous.bottom - SWFONT_ROWS;
        if (gap_above >= 3) {
            MoveGlyph(record, m, ShiftV, 2 - gap_above, W);  // down
        } else if (gap_below >= 3) {
            MoveGlyph(record, m, ShiftV, gap_below - 2, W);  // up
        }
        // A placement record made up by a caller can push the mark out of the cell; the blank
        // mark then adds nothing, and the previous cell's margins stand.
        m.left = std::min(m.left, previous.left);
        m.right = std::min(m.right, previous.right);
        m.top = std::min(m.top, previous.top);
        m.bottom = std::min(m.bottom, previous.bottom);
    }

    // All glyph work is done: from here on nothing allocates or throws.
    const bool overstrike = (flags & SWFONT_FLAG_OVERSTRIKE) != 0;
    const std::size_t column_bytes = std::size_t{kBytesPerColumn} * static_cast<std::size_t>(W);
    unsigned char* p = buffer;
    *p++ = ESC;  // ESC & : define user-defined characters
    *p++ = kDefineUserChars;
    *p++ = kBytesPerColumn;                // y: bytes per dot column
    *p++ = char_code;                      // c1: first code defined
    *p++ = char_code;                      // c2: last code defined
    *p++ = static_cast<unsigned char>(W);  // x: dot columns of the character
    std::memcpy(p, record.data() + kHeaderBytes, column_bytes);
    p += column_bytes;
    *p++ = ESC;  // ESC % 1 : select the user-defined character set
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetOn;
    if (overstrike) *p++ = BS;  // BS : the next character prints over the previous one
    *p++ = char_code;           // the character itself
    *p++ = ESC;                 // ESC % 0 : cancel the user-defined character set
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetOff;
    *p++ = ESC;  // ESC % AA
    *p++ = kSelectUserCharSet;
    *p++ = kUserCharSetTrailer;

    if (info != nullptr) {
        info->LeftMargin = static_cast<unsigned char>(m.left & 0xFF);
        info->RightMargin = static_cast<unsigned char>(m.right & 0xFF);
        info->TopMargin = static_cast<unsigned char>(m.top & 0xFF);
        info->BottomMargin = static_cast<unsigned char>(m.bottom & 0xFF);
        info->Overstrike = overstrike ? 1 : 0;
        info->HJust = (flags & SWFONT_FLAG_HJUST) != 0 ? 1 : 0;
    }
    return static_cast<int>(p - buffer);
}

}  // namespace zelvar_fontmgr

bool IsCPSupported(int code_page) {
    return std::find(std::begin(zelvar_fontmgr::kSupportedCodePages),
                     std::end(zelvar_fontmgr::kSupportedCodePages),
                     code_page) != std::end(zelvar_fontmgr::kSupportedCodePages);
}

bool CFntMngr::IsFontWidthSupported(int width) {
    return zelvar_fontmgr::FontForWidth(width).lookup != nullptr;
}

int CFntMngr::GetFontDrawBuffer(int code_point, int code_page, int width, int height,
                                unsigned char* buffer, _SWFONTINFO* info,
                                _SWFONT_JUSTIFICATION justification) {
    if (height != SWFONT_HEIGHT) return SWFONT_ERR_HEIGHT;
    if (!IsCPSupported(code_page)) return SWFONT_ERR_CODEPAGE;
    const zelvar_fontmgr::FontChoice font = zelvar_fontmgr::FontForWidth(width);
    if (font.lookup == nullptr) return SWFONT_ERR_WIDTH;

    unsigned int flags = 0;
    std::vector<unsigned char> record = font.lookup(code_point, &flags);
    if (record.empty()) return SWFONT_ERR_NO_GLYPH;
    if (buffer == nullptr) return static_cast<int>(record.size());
    return zelvar_fontmgr::ComposeGlyph(std::move(record), flags, width, font.char_code, buffer,
                                        info, justification);
}

bool CFntMngr::CharAvailable(int code_point, int code_page, int width, int height) {
    if (!IsCPSupported(code_page)) return false;
    if (!IsFontWidthSupported(width)) return false;
    return GetFontDrawBuffer(code_point, code_page, width, height, nullptr, nullptr,
                             SWFONT_JUSTIFICATION_NONE) > 0;
}

// SPDX-License-Identifier: Apache-2.0
// Composition of one character into a printer command sequence, and the capability queries.
#include "fontmgr/fntmngr.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "common/escpos_commands.h"
#include "fontmgr/compose_internal.h"
#include "fonts/fonts_internal.h"

namespace zelvar_fontmgr {
namespace {

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

// The user-defined character code a width defines and prints.
unsigned char CharCodeForWidth(int width) {
    return width == 24 ? escpos::kWideCharCode : escpos::kNarrowCharCode;
}

}  // namespace
}  // namespace zelvar_fontmgr

bool IsCPSupported(int code_page) {
    return std::find(std::begin(zelvar_fontmgr::kSupportedCodePages),
                     std::end(zelvar_fontmgr::kSupportedCodePages),
                     code_page) != std::end(zelvar_fontmgr::kSupportedCodePages);
}

bool CFntMngr::IsFontWidthSupported(int width) {
    return zelvar_fonts::FontForWidth(width) != nullptr;
}

int CFntMngr::GetFontDrawBuffer(int code_point, int code_page, int width, int height,
                                unsigned char* buffer, _SWFONTINFO* info,
                                _SWFONT_JUSTIFICATION justification) {
    if (height != SWFONT_HEIGHT) return SWFONT_ERR_HEIGHT;
    if (!IsCPSupported(code_page)) return SWFONT_ERR_CODEPAGE;
    const zelvar_fonts::GlyphLookup lookup = zelvar_fonts::FontForWidth(width);
    if (lookup == nullptr) return SWFONT_ERR_WIDTH;

    unsigned int flags = 0;
    std::vector<unsigned char> record = lookup(code_point, &flags);
    if (record.empty()) return SWFONT_ERR_NO_GLYPH;
    if (buffer == nullptr) return static_cast<int>(record.size());
    return zelvar_fontmgr::ComposeGlyph(std::move(record), flags, width,
                                        zelvar_fontmgr::CharCodeForWidth(width), buffer, info,
                                        justification);
}

bool CFntMngr::CharAvailable(int code_point, int code_page, int width, int height) {
    if (!IsCPSupported(code_page)) return false;
    if (!IsFontWidthSupported(width)) return false;
    return GetFontDrawBuffer(code_point, code_page, width, height, nullptr, nullptr,
                             SWFONT_JUSTIFICATION_NONE) > 0;
}

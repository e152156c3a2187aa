// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/resident_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <unistd.h>

#include "tools/preview/escpos.h"

namespace {

// Rows of the 24-dot cell: the base line sits on row 19, leaving rows 20 to 23 for descenders.
constexpr int kBaseLine = 19;
// Pixel sizes that give DejaVu Sans Mono a 12-dot advance, and a CJK face a 24-dot cell.
constexpr FT_UInt kNarrowPixels = 20;
constexpr FT_UInt kWidePixels = 22;

}  // namespace

const char* const FreeTypeResidentFont::kDefaultFace =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

std::vector<std::string> FreeTypeResidentFont::DefaultFallbacks() {
    return {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
        "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf",
    };
}

struct FreeTypeResidentFont::Impl {
    FT_Library library = nullptr;
    std::vector<FT_Face> faces;

    ~Impl() {
        for (FT_Face face : faces) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

FreeTypeResidentFont::FreeTypeResidentFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

FreeTypeResidentFont::~FreeTypeResidentFont() = default;

std::unique_ptr<FreeTypeResidentFont> FreeTypeResidentFont::Open(
    const std::string& main_face, const std::vector<std::string>& fallbacks, std::string* error) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) {
        impl->library = nullptr;
        *error = "FreeType cannot be initialised";
        return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(impl->library, main_face.c_str(), 0, &face) != 0) {
        *error = "cannot read the resident font " + main_face;
        return nullptr;
    }
    impl->faces.push_back(face);
    for (const std::string& path : fallbacks) {
        if (access(path.c_str(), R_OK) != 0) continue;
        if (FT_New_Face(impl->library, path.c_str(), 0, &face) == 0) impl->faces.push_back(face);
    }
    return std::unique_ptr<FreeTypeResidentFont>(new FreeTypeResidentFont(std::move(impl)));
}

void FreeTypeResidentFont::Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) {
    if (code_point == U' ') return;
    for (FT_Face face : impl_->faces) {
        const FT_UInt index = FT_Get_Char_Index(face, code_point);
        if (index == 0) continue;
        const bool wide = cell_width > escpos::kResidentCellWidth;
        FT_Set_Pixel_Sizes(face, 0, wide ? kWidePixels : kNarrowPixels);
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        // A face other than the monospace one may be wider: centre its advance in the cell. A
        // combining mark (a Hebrew point) has no advance of its own: its ink is centred in the
        // cell of the letter it prints over.
        const int advance = static_cast<int>(slot->advance.x >> 6);
        const int left = advance == 0 ? x + (cell_width - static_cast<int>(bitmap.width)) / 2
                                      : x + (cell_width - advance) / 2 + slot->bitmap_left;
        const int top = kBaseLine + 1 - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const bool ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                     ? (line[col / 8] & (0x80 >> (col % 8))) != 0
                                     : line[col] >= 128;
                const int dx = left + static_cast<int>(col);
                // Stay inside the cell, as the printer's character generator does.
                if (ink && dx >= x && dx < x + cell_width) {
                    strip->Ink(dx, top + static_cast<int>(row));
                }
            }
        }
        return;
    }
    // No face has it: an empty box, one dot inside the cell.
    for (int dx = x + 1; dx < x + cell_width - 1; ++dx) {
        strip->Ink(dx, 4);
        strip->Ink(dx, 21);
    }
    for (int row = 4; row <= 21; ++row) {
        strip->Ink(x + 1, row);
        strip->Ink(x + cell_width - 2, row);
    }
}

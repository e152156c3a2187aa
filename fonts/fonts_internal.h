// SPDX-License-Identifier: Apache-2.0
// Internal to the library: the built-in font of a width, for the composition, the tools and the
// tests alike. Inline over the exported font classes, so that code linked to the shared library
// can use it too.
#ifndef ZELVAR_FONTS_FONTS_INTERNAL_H
#define ZELVAR_FONTS_FONTS_INTERNAL_H

#include <vector>

#include "fonts/fonts.h"

namespace zelvar_fonts {

// The lookup of one font, as CFont10x24::GetBuffer10x24 and its siblings take it.
using GlyphLookup = std::vector<unsigned char> (*)(int code_point, unsigned int* flags);

// The lookup of the font `width` dots wide (10, 13, 18 or 24), or nullptr for any other width.
inline GlyphLookup FontForWidth(int width) {
    switch (width) {
        case 10:
            return &CFont10x24::GetBuffer10x24;
        case 13:
            return &CFont13x24::GetBuffer13x24;
        case 18:
            return &CFont18x24::GetBuffer18x24;
        case 24:
            return &CFont24x24::GetBuffer24x24;
        default:
            return nullptr;
    }
}

}  // namespace zelvar_fonts

#endif  // ZELVAR_FONTS_FONTS_INTERNAL_H

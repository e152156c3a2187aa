// Internal to the library (implemented in fonts.cpp): the built-in font of a width.
#ifndef ZELVAR_FONTS_FONTS_INTERNAL_H
#define ZELVAR_FONTS_FONTS_INTERNAL_H

#include <vector>

namespace zelvar_fonts {

// The lookup of one font, as CFont10x24::GetBuffer10x24 and its siblings take it.
using GlyphLookup = std::vector<unsigned char> (*)(int code_point, unsigned int* flags);

// The lookup of the font `width` dots wide (10, 13, 18 or 24), or nullptr for any other width.
GlyphLookup FontForWidth(int width);

}  // namespace zelvar_fonts

#endif  // ZELVAR_FONTS_FONTS_INTERNAL_H

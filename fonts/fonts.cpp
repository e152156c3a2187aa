// SPDX-License-Identifier: Apache-2.0
// The four font classes: each looks its code point up in its own generated table.
#include "fonts/fonts.h"

#include "fonts/glyph_tables_internal.h"

using zelvar_fonts::CopyGlyph;

std::vector<unsigned char> CFont10x24::GetBuffer10x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries10x24, code_point, flags);
}

std::vector<unsigned char> CFont13x24::GetBuffer13x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries13x24, code_point, flags);
}

std::vector<unsigned char> CFont18x24::GetBuffer18x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRunsNarrow, zelvar_fonts::kRunCountNarrow,
                     zelvar_fonts::kEntries18x24, code_point, flags);
}

std::vector<unsigned char> CFont24x24::GetBuffer24x24(int code_point, unsigned int* flags) {
    return CopyGlyph(zelvar_fonts::kRuns24x24, zelvar_fonts::kRunCount24x24,
                     zelvar_fonts::kEntries24x24, code_point, flags);
}

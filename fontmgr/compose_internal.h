// SPDX-License-Identifier: Apache-2.0
// Internal to the library (implemented in compose.cpp): the composition of one fetched glyph into
// its command sequence, apart from the validation and the font lookup, so that it can be
// exercised with glyphs of any shape.
#ifndef ZELVAR_FONTMGR_COMPOSE_INTERNAL_H
#define ZELVAR_FONTMGR_COMPOSE_INTERNAL_H

#include <vector>

#include "fontmgr/fntmngr.h"

namespace zelvar_fontmgr {

// Justifies `record` (a glyph of `W` columns, 4 + 3 * W bytes, with ink) when its flag word
// allows, fits it against `info` when it is a mark with SWFONT_FLAG_VFIT, writes the command
// sequence that defines and prints it as `char_code` into `buffer` (3 * W + 17 bytes at most) and,
// when `info` is given, this cell's placement record. Returns the number of bytes written.
// Nothing is written before all glyph work is done, so an exception leaves buffer and info as
// they were.
int ComposeGlyph(std::vector<unsigned char> record, unsigned int flags, int W,
                 unsigned char char_code, unsigned char* buffer, _SWFONTINFO* info,
                 _SWFONT_JUSTIFICATION justification);

}  // namespace zelvar_fontmgr

#endif  // ZELVAR_FONTMGR_COMPOSE_INTERNAL_H

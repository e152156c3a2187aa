// Splitting UTF-8 text into receipt lines of code points.
#ifndef ZELVAR_TOOLS_PREVIEW_UTF8_LINES_H
#define ZELVAR_TOOLS_PREVIEW_UTF8_LINES_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Decodes `text` into one line of code points per text line. Lines end at LF; a CR just before the
// LF is dropped, and a last line without LF is still a line (an empty text has none).
// Only well-formed UTF-8 is taken: no overlong forms, no surrogates, nothing above U+10FFFF. At the
// first ill-formed sequence it returns false and stores the offset in `text` of its first byte;
// `lines` then holds the lines before it.
bool DecodeUtf8Lines(std::string_view text, std::vector<std::u32string>* lines,
                     std::size_t* error_offset);

#endif  // ZELVAR_TOOLS_PREVIEW_UTF8_LINES_H

#include "tools/preview/utf8_lines.h"

namespace {

// Reads one code point starting at `at`; returns its length, or 0 when the bytes there are not
// well-formed UTF-8. `*bad` is then the offset of the sequence's first byte.
std::size_t ReadCodePoint(std::string_view text, std::size_t at, char32_t* out, std::size_t* bad) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    *bad = at;
    if (lead < 0x80) {
        *out = lead;
        return 1;
    }
    std::size_t length;
    char32_t c;
    // The range the second byte must lie in excludes overlong forms, surrogates and values
    // above U+10FFFF.
    unsigned char second_min = 0x80, second_max = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        if (lead == 0xE0) second_min = 0xA0;
        if (lead == 0xED) second_max = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        if (lead == 0xF0) second_min = 0x90;
        if (lead == 0xF4) second_max = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size()) return 0;
        const unsigned char next = byte(at + i);
        const unsigned char lo = i == 1 ? second_min : 0x80;
        const unsigned char hi = i == 1 ? second_max : 0xBF;
        if (next < lo || next > hi) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    *out = c;
    return length;
}

}  // namespace

bool DecodeUtf8Lines(std::string_view text, std::vector<std::u32string>* lines,
                     std::size_t* error_offset) {
    lines->clear();
    std::u32string line;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t c;
        const std::size_t length = ReadCodePoint(text, at, &c, error_offset);
        if (length == 0) return false;
        at += length;
        if (c == U'\n') {
            if (!line.empty() && line.back() == U'\r') line.pop_back();
            lines->push_back(std::move(line));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!text.empty() && text.back() != '\n') {
        if (!line.empty() && line.back() == U'\r') line.pop_back();
        lines->push_back(std::move(line));
    }
    return true;
}

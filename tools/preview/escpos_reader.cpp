// SPDX-License-Identifier: Apache-2.0
// The byte reader: each command of the stream, its length, and what is malformed. A command
// whose length cannot be known, or one cut short, stops the reading; one the model does not
// print is skipped with a warning; the rest go to the printer model.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "tools/preview/printer_state_internal.h"

using namespace preview_internal;  // the model's own constants and types

namespace {

// Commands that the model does not print but whose length is fixed: skipped with a warning.
struct KnownCommand {
    unsigned char code;
    std::size_t length;
    const char* name;
};

constexpr KnownCommand kEscSkipped[] = {
    {0x0C, 2, "ESC FF (print in page mode)"},
    {' ', 3, "ESC SP (right-side character spacing)"},
    {'<', 2, "ESC < (return home)"},
    {'=', 3, "ESC = (select peripheral device)"},
    {'G', 3, "ESC G (double-strike)"},
    {'L', 2, "ESC L (page mode)"},
    {'M', 3, "ESC M (character font)"},
    {'R', 3, "ESC R (international character set)"},
    {'S', 2, "ESC S (standard mode)"},
    {'T', 3, "ESC T (print direction in page mode)"},
    {'U', 3, "ESC U (unidirectional printing)"},
    {'V', 3, "ESC V (90-degree rotation)"},
    {'W', 10, "ESC W (print area in page mode)"},
    {'c', 4, "ESC c (panel buttons, paper sensors)"},
    {'e', 3, "ESC e (reverse feed)"},
    {'p', 5, "ESC p (drawer kick pulse)"},
    {'r', 3, "ESC r (print colour)"},
    {'u', 3, "ESC u (peripheral status)"},
    {'v', 2, "ESC v (paper sensor status)"},
    {'{', 3, "ESC { (upside-down printing)"},
};

constexpr KnownCommand kFsSkipped[] = {
    {'!', 3, "FS ! (Kanji print mode)"},
    {'-', 3, "FS - (Kanji underline)"},
    {'2', 4 + 72, "FS 2 (define a user-defined Kanji character)"},
    {'C', 3, "FS C (Kanji code system)"},
    {'S', 4, "FS S (Kanji character spacing)"},
    {'W', 3, "FS W (Kanji quadruple size)"},
    {'p', 4, "FS p (print a stored image)"},
};

constexpr KnownCommand kGsSkipped[] = {
    {'$', 4, "GS $ (vertical position in page mode)"},
    {'/', 3, "GS / (print a downloaded image)"},
    {':', 2, "GS : (macro definition)"},
    {'I', 3, "GS I (printer ID)"},
    {'L', 4, "GS L (left margin)"},
    {'P', 4, "GS P (motion units)"},
    {'T', 3, "GS T (print position to the line start)"},
    {'W', 4, "GS W (print area width)"},
    {'\\', 4, "GS \\ (vertical position in page mode)"},
    {'^', 5, "GS ^ (run a macro)"},
    {'a', 3, "GS a (automatic status back)"},
    {'b', 3, "GS b (smoothing)"},
    {'c', 2, "GS c (print the counter)"},
    {'f', 3, "GS f (barcode text font)"},
    {'r', 3, "GS r (transmit status)"},
};

template <std::size_t N>
const KnownCommand* FindKnown(const KnownCommand (&table)[N], unsigned char code) {
    for (const KnownCommand& k : table) {
        if (k.code == code) return &k;
    }
    return nullptr;
}

}  // namespace

bool EscPosInterpreter::State::Fail(std::size_t offset, std::string message) {
    result->ok = false;
    result->error_offset = offset;
    result->error = std::move(message);
    return false;
}

bool EscPosInterpreter::State::Need(std::uint64_t n, const std::string& what) {
    if (size - command >= n) return true;
    return Fail(command, what + " cut short: the stream ends inside it");
}

bool EscPosInterpreter::State::Skip(std::uint64_t length, const std::string& name) {
    if (!Need(length, name)) return false;
    Warn("skipped " + name, command);
    at = command + static_cast<std::size_t>(length);
    return true;
}

bool EscPosInterpreter::State::Esc() {
    if (size - command < 2) return Fail(command, "ESC without a command at the end of the stream");
    const unsigned char c = bytes[command + 1];
    const auto arg = [this](std::size_t i) { return bytes[command + i]; };
    const auto with_argument = [this, c](std::size_t length) {
        return Need(length, std::string("ESC ") + static_cast<char>(c));
    };
    switch (c) {
        case escpos::kInitialize:
            Reset();
            at = command + 2;
            return true;
        case escpos::kSelectUserCharSet:
            if (size - command < 3) return Fail(command, "ESC % without its argument");
            user_set = (arg(2) & 0x01) != 0;
            at = command + 3;
            return true;
        case escpos::kDefineUserChars:
            return Define();
        case escpos::kCancelUserChar:
            if (!with_argument(3)) return false;
            user_chars.erase(arg(2));
            at = command + 3;
            return true;
        case escpos::kSelectCodeTable:
            if (!with_argument(3)) return false;
            SelectCodeTable(arg(2));
            at = command + 3;
            return true;
        case escpos::kLineSpacing:
            if (!with_argument(3)) return false;
            spacing = arg(2);
            at = command + 3;
            return true;
        case escpos::kDefaultSpacing:
            spacing = escpos::kLinePitch;
            at = command + 2;
            return true;
        case escpos::kAlign: {
            if (!with_argument(3)) return false;
            const int n = arg(2) >= '0' ? arg(2) - '0' : arg(2);
            if (n > 2) {
                Warn("skipped ESC a with " + std::to_string(arg(2)), command);
            } else {
                alignment = static_cast<Alignment>(n);
                // Alignment takes effect at the start of a line.
                if (!line_has_data) line_alignment = alignment;
            }
            at = command + 3;
            return true;
        }
        case '-': {
            if (!with_argument(3)) return false;
            const int n = arg(2) >= '0' ? arg(2) - '0' : arg(2);
            underline = n <= 2 ? n : 0;
            at = command + 3;
            return true;
        }
        case escpos::kEmphasis:
            if (!with_argument(3)) return false;
            emphasis = (arg(2) & 0x01) != 0;
            at = command + 3;
            return true;
        case escpos::kSelectPrintMode: {
            if (!with_argument(3)) return false;
            const unsigned char n = arg(2);
            emphasis = (n & 0x08) != 0;
            height_times = (n & 0x10) ? 2 : 1;
            width_times = (n & 0x20) ? 2 : 1;
            if (n & 0x01) Warn("ESC ! selects font B; printed in font A", command);
            underline = (n & 0x80) ? 1 : 0;
            at = command + 3;
            return true;
        }
        case escpos::kFeedLines:
            if (!with_argument(3)) return false;
            at = command + 3;
            return PrintLine(arg(2) * spacing);
        case escpos::kFeedDots:
            if (!with_argument(3)) return false;
            at = command + 3;
            return PrintLine(arg(2));
        case escpos::kAbsolutePosition: {
            if (!with_argument(4)) return false;
            const int to = arg(2) + 256 * arg(3);
            MoveTo(to, "ESC $");
            at = command + 4;
            return true;
        }
        case escpos::kRelativePosition: {
            if (!with_argument(4)) return false;
            const auto by = static_cast<std::int16_t>(arg(2) | (arg(3) << 8));
            MoveTo(x + by, "ESC \\");
            at = command + 4;
            return true;
        }
        case escpos::kBitImage:
            return BitImage();
        case escpos::kPartialCutOnePoint:
        case escpos::kPartialCutThreePoints:
            at = command + 2;
            return Cut(0);
        case 'D': {
            // Tab positions, ended by NUL.
            for (std::size_t i = 2; i < 2 + kMaxTabBytes; ++i) {
                if (command + i >= size) return Need(i + 1, "ESC D (tab positions)");
                if (bytes[command + i] == 0) return Skip(i + 1, "ESC D (tab positions)");
            }
            return Fail(command, "ESC D without its NUL: its length cannot be known");
        }
        default:
            if (const KnownCommand* k = FindKnown(kEscSkipped, c)) return Skip(k->length, k->name);
            return Fail(command, "unknown command ESC " + Hex(c) + ": its length cannot be known");
    }
}

bool EscPosInterpreter::State::Fs() {
    if (size - command < 2) return Fail(command, "FS without a command at the end of the stream");
    const unsigned char c = bytes[command + 1];
    switch (c) {
        case escpos::kKanjiOn:
            kanji = true;
            at = command + 2;
            return true;
        case escpos::kKanjiOff:
            kanji = false;
            at = command + 2;
            return true;
        case '(': {
            if (!Need(5, "FS (")) return false;
            const std::uint64_t p = bytes[command + 3] + 256u * bytes[command + 4];
            return Skip(5 + p, "FS ( " + Function(bytes[command + 2]));
        }
        case 'q': {
            // Stored images: n, then for each: xL xH yL yH and 8 x y bytes.
            if (!Need(3, "FS q (store images)")) return false;
            std::uint64_t pos = 3;
            for (int i = 0; i < bytes[command + 2]; ++i) {
                if (!Need(pos + 4, "FS q (store images)")) return false;
                const std::uint64_t w = bytes[command + pos] + 256u * bytes[command + pos + 1];
                const std::uint64_t h = bytes[command + pos + 2] + 256u * bytes[command + pos + 3];
                pos += 4 + 8 * w * h;
            }
            return Skip(pos, "FS q (store images)");
        }
        default:
            if (const KnownCommand* k = FindKnown(kFsSkipped, c)) return Skip(k->length, k->name);
            return Fail(command, "unknown command FS " + Hex(c) + ": its length cannot be known");
    }
}

bool EscPosInterpreter::State::Gs() {
    if (size - command < 2) return Fail(command, "GS without a command at the end of the stream");
    const unsigned char c = bytes[command + 1];
    switch (c) {
        case escpos::kCharacterSize: {
            if (!Need(3, "GS !")) return false;
            const unsigned char n = bytes[command + 2];
            width_times = ((n >> 4) & 7) + 1;
            height_times = (n & 7) + 1;
            at = command + 3;
            return true;
        }
        case escpos::kCut: {
            if (!Need(3, "GS V (cut)")) return false;
            const int m = bytes[command + 2];
            if (m == 0 || m == 1 || m == '0' || m == '1') {
                at = command + 3;
                return Cut(0);
            }
            if (m == 65 || m == 66 || m == 97 || m == 98 || m == 103 || m == 104) {
                if (!Need(4, "GS V (cut)")) return false;
                at = command + 4;
                return Cut(bytes[command + 3]);
            }
            return Fail(command, "GS V with " + std::to_string(m) + ": its length cannot be known");
        }
        case escpos::kRasterImage:
            if (!Need(3, "GS v")) return false;
            if (bytes[command + 2] == escpos::kRasterImageFn) return RasterImage();
            return Fail(command, "unknown command GS v " + Hex(bytes[command + 2]) +
                                     ": its length cannot be known");
        case '(': {
            if (!Need(5, "GS (")) return false;
            const std::uint64_t p = bytes[command + 3] + 256u * bytes[command + 4];
            if (bytes[command + 2] == 'k') return SymbolFunction(p);
            return Skip(5 + p, "GS ( " + Function(bytes[command + 2]));
        }
        case 'B':
            if (!Need(3, "GS B")) return false;
            inverse = (bytes[command + 2] & 1) != 0;
            at = command + 3;
            return true;
        case 'h':
            if (!Need(3, "GS h")) return false;
            if (bytes[command + 2] > 0) bar_height = bytes[command + 2];
            at = command + 3;
            return true;
        case 'w':
            if (!Need(3, "GS w")) return false;
            if (bytes[command + 2] >= 1 && bytes[command + 2] <= 6) {
                bar_module = bytes[command + 2];
            }
            at = command + 3;
            return true;
        case 'H':
            if (!Need(3, "GS H")) return false;
            bar_text = bytes[command + 2] & 3;
            at = command + 3;
            return true;
        case '8': {
            if (!Need(7, "GS 8")) return false;
            if (bytes[command + 2] != 'L') {
                return Fail(command, "unknown command GS 8 " + Hex(bytes[command + 2]) +
                                         ": its length cannot be known");
            }
            std::uint64_t p = 0;
            for (int i = 3; i >= 0; --i)
                p = (p << 8) | bytes[command + 3 + static_cast<std::size_t>(i)];
            return Skip(7 + p, "GS 8 L (graphics)");
        }
        case '*': {
            if (!Need(4, "GS * (define a downloaded image)")) return false;
            const std::uint64_t n = 8ull * bytes[command + 2] * bytes[command + 3];
            return Skip(4 + n, "GS * (define a downloaded image)");
        }
        case 'k': {
            if (!Need(3, "GS k (barcode)")) return false;
            const int m = bytes[command + 2];
            if (m <= 6) {
                for (std::size_t i = 3; command + i < size; ++i) {
                    if (bytes[command + i] != 0) continue;
                    at = command + i + 1;
                    return PrintBarcode(m, std::string(bytes + command + 3, bytes + command + i));
                }
                return Fail(command, "GS k (barcode) cut short: the stream ends inside it");
            }
            if (m >= 65 && m <= 79) {
                if (!Need(4, "GS k (barcode)")) return false;
                const std::size_t n = bytes[command + 3];
                if (!Need(4 + std::uint64_t{n}, "GS k (barcode)")) return false;
                at = command + 4 + n;
                return PrintBarcode(m, std::string(bytes + command + 4, bytes + at));
            }
            return Fail(command, "GS k with " + std::to_string(m) + ": its length cannot be known");
        }
        default:
            if (const KnownCommand* k = FindKnown(kGsSkipped, c)) return Skip(k->length, k->name);
            return Fail(command, "unknown command GS " + Hex(c) + ": its length cannot be known");
    }
}

bool EscPosInterpreter::State::Dle() {
    if (size - command < 2) return Fail(command, "DLE without a command at the end of the stream");
    const unsigned char c = bytes[command + 1];
    if (c == 0x04) return Skip(3, "DLE EOT (real-time status)");
    if (c == 0x05) return Skip(3, "DLE ENQ (real-time request)");
    if (c == 0x14) {
        if (!Need(3, "DLE DC4")) return false;
        const int fn = bytes[command + 2];
        if (fn == 1 || fn == 2) return Skip(5, "DLE DC4 (real-time pulse, power-off)");
        return Fail(command, "DLE DC4 with " + std::to_string(fn) + ": its length cannot be known");
    }
    return Fail(command, "unknown command DLE " + Hex(c) + ": its length cannot be known");
}

std::size_t EscPosInterpreter::State::DoubleByteLength(unsigned char lead) const {
    const int kanji_page = setup.profile.kanji_code_page;
    if (kanji_page == 932) {
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 0;
    }
    if (lead < 0x81 || lead > 0xFE) return 0;
    // GB18030's four-byte characters have a digit second.
    if (kanji_page == 54936 && size - command >= 2 && bytes[command + 1] >= 0x30 &&
        bytes[command + 1] <= 0x39) {
        return 4;
    }
    return 2;
}

bool EscPosInterpreter::State::Character() {
    const unsigned char b = bytes[command];
    if (kanji) {
        const std::size_t length = DoubleByteLength(b);
        if (length > 0) {
            if (!Need(std::max<std::size_t>(length, 2), "double-byte character")) return false;
            char32_t code_point = 0;
            CodePage& page_of_kanji = CodePageNumber(setup.profile.kanji_code_page);
            if (page_of_kanji.Decode(bytes + command, length, &code_point) != length) {
                // The printer takes the bytes as one character all the same.
                Warn("bytes that are no double-byte character of code page " +
                         std::to_string(setup.profile.kanji_code_page) + " print as □",
                     command);
                code_point = kNoGlyph;
            }
            at = command + length;
            return PrintResident(code_point, escpos::kResidentWideCellWidth);
        }
    }
    at = command + 1;
    if (user_set) {
        const auto defined = user_chars.find(b);
        if (defined != user_chars.end()) return PrintUser(defined->second);
    }
    char32_t code_point = 0;
    if (code_page == 0) {
        if (b < escpos::kDelete) code_point = b;
    } else {
        CodePage& table = CodePageNumber(code_page);
        if (table.Decode(&b, 1, &code_point) != 1) code_point = 0;
    }
    if (code_point == 0) {
        if (code_page == 0) {
            Warn("bytes 0x7F and up under a table without a code page print as □", command);
        } else if (CodePageNumber(code_page).iconv_name().empty() && b >= 0x80) {
            Warn("iconv does not know code page " + std::to_string(code_page) +
                     ": bytes 0x80 and up print as □",
                 command);
        } else {
            Warn("bytes that are no character of code page " + std::to_string(code_page) +
                     " print as □",
                 command);
        }
        code_point = kNoGlyph;
    }
    return PrintResident(code_point, escpos::kResidentCellWidth);
}

bool EscPosInterpreter::State::Step() {
    command = at;
    const unsigned char b = bytes[at];
    switch (b) {
        case escpos::kEsc:
            return Esc();
        case escpos::kFs:
            return Fs();
        case escpos::kGs:
            return Gs();
        case escpos::kDle:
            return Dle();
        case escpos::kBs:
            if (last_char_x >= 0) {
                x = last_char_x;
                overstrike = true;
            }
            ++at;
            return true;
        case escpos::kHt: {
            const int next = (x / escpos::kTabDots + 1) * escpos::kTabDots;
            if (next <= setup.paper_dots) MoveTo(next, "HT");
            ++at;
            return true;
        }
        case escpos::kLf:
            ++at;
            return PrintLine(spacing);
        case escpos::kCr:
            ++at;
            return true;
        default:
            break;
    }
    if (b < escpos::kFirstPrintable) return Skip(1, "control byte " + Hex(b));
    return Character();
}

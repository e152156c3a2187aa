#include "tools/preview/escpos_interpreter.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tools/preview/escpos.h"

namespace {

std::string Hex(unsigned char b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

}  // namespace

LineStrip::LineStrip(int width)
    : width_(width), dots_(static_cast<std::size_t>(width) * escpos::kLineDots, 0) {}

void LineStrip::Ink(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= escpos::kLineDots) return;
    dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = 1;
}

bool LineStrip::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= escpos::kLineDots) return false;
    return dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)] != 0;
}

bool LineStrip::IsBlank() const {
    for (unsigned char d : dots_) {
        if (d != 0) return false;
    }
    return true;
}

void LineStrip::Clear() {
    std::fill(dots_.begin(), dots_.end(), 0);
}

bool Page::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height()) return false;
    return dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)] != 0;
}

void Page::Feed(const LineStrip& strip) {
    dots_.insert(dots_.end(), strip.dots().begin(), strip.dots().end());
    dots_.resize(dots_.size() + static_cast<std::size_t>(escpos::kLinePitch - escpos::kLineDots) *
                                    static_cast<std::size_t>(width_),
                 0);
}

EscPosInterpreter::EscPosInterpreter(int paper_dots, CodePage* code_page, ResidentFont* font)
    : paper_dots_(paper_dots), code_page_(code_page), font_(font), strip_(paper_dots) {}

void EscPosInterpreter::Reset() {
    user_chars_.clear();
    user_set_selected_ = false;
    strip_.Clear();
    x_ = 0;
    last_char_x_ = -1;
    overstrike_ = false;
}

void EscPosInterpreter::FeedLine(Page* page, InterpretResult* result) {
    page->Feed(strip_);
    strip_.Clear();
    x_ = 0;
    last_char_x_ = -1;
    overstrike_ = false;
    ++result->lines_fed;
}

void EscPosInterpreter::Fit(int advance, Page* page, InterpretResult* result) {
    // A character printed over the previous one stays on its line, whatever its width.
    if (overstrike_) {
        overstrike_ = false;
        return;
    }
    if (x_ > 0 && x_ + advance > paper_dots_) {
        FeedLine(page, result);
        ++result->lines_wrapped;
    }
}

void EscPosInterpreter::Print(const UserChar& glyph, Page* page, InterpretResult* result) {
    Fit(glyph.columns, page, result);
    for (int c = 0; c < glyph.columns; ++c) {
        for (int row = 0; row < escpos::kLineDots; ++row) {
            const std::size_t at = static_cast<std::size_t>(c) * escpos::kBytesPerColumn +
                                   static_cast<std::size_t>(row / 8);
            if (glyph.column_bytes[at] & (0x80 >> (row % 8))) strip_.Ink(x_ + c, row);
        }
    }
    last_char_x_ = x_;
    x_ += glyph.columns;
}

void EscPosInterpreter::PrintResident(char32_t code_point, int cell_width, Page* page,
                                      InterpretResult* result) {
    Fit(cell_width, page, result);
    if (font_ != nullptr) font_->Draw(code_point, cell_width, x_, &strip_);
    last_char_x_ = x_;
    x_ += cell_width;
}

std::size_t EscPosInterpreter::Define(const std::vector<unsigned char>& bytes, std::size_t at,
                                      std::string* error) {
    // ESC & y c1 c2, then for each character c1..c2: x, and y * x column bytes.
    const std::size_t size = bytes.size();
    if (size - at < 5) {
        *error = "ESC & (define user-defined characters) cut short in its header";
        return 0;
    }
    const unsigned char y = bytes[at + 2], first = bytes[at + 3], last = bytes[at + 4];
    if (y != escpos::kBytesPerColumn) {
        *error =
            "ESC & with " + std::to_string(y) + " bytes per column; characters are 24 dots (3)";
        return 0;
    }
    if (first < escpos::kFirstPrintable || first > last) {
        *error = "ESC & with the character codes " + Hex(first) + " to " + Hex(last);
        return 0;
    }
    std::map<unsigned char, UserChar> defined;
    std::size_t pos = at + 5;
    for (int code = first; code <= last; ++code) {
        if (pos >= size) {
            *error =
                "ESC & cut short: no width for character " + Hex(static_cast<unsigned char>(code));
            return 0;
        }
        UserChar glyph;
        glyph.columns = bytes[pos++];
        const std::size_t need = static_cast<std::size_t>(glyph.columns) * escpos::kBytesPerColumn;
        if (size - pos < need) {
            *error = "ESC & cut short: character " + Hex(static_cast<unsigned char>(code)) +
                     " needs " + std::to_string(need) + " column bytes, " +
                     std::to_string(size - pos) + " remain";
            return 0;
        }
        glyph.column_bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(pos + need));
        pos += need;
        defined[static_cast<unsigned char>(code)] = std::move(glyph);
    }
    for (auto& entry : defined) user_chars_[entry.first] = std::move(entry.second);
    return pos;
}

InterpretResult EscPosInterpreter::Run(const std::vector<unsigned char>& bytes, Page* page) {
    Reset();
    InterpretResult result;
    const auto fail = [&result](std::size_t offset, std::string message) {
        result.ok = false;
        result.error_offset = offset;
        result.error = std::move(message);
        return result;
    };
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    while (at < size) {
        const unsigned char b = bytes[at];
        if (b == escpos::kEsc) {
            if (size - at < 2) return fail(at, "ESC without a command at the end of the stream");
            switch (bytes[at + 1]) {
                case escpos::kInitialize:  // ESC @
                    Reset();
                    at += 2;
                    break;
                case escpos::kSelectUserCharSet:  // ESC % n
                    if (size - at < 3) return fail(at, "ESC % without its argument");
                    user_set_selected_ = (bytes[at + 2] & 0x01) != 0;
                    at += 3;
                    break;
                case escpos::kDefineUserChars: {  // ESC & y c1 c2 ...
                    std::string error;
                    const std::size_t next = Define(bytes, at, &error);
                    if (next == 0) return fail(at, error);
                    at = next;
                    break;
                }
                default:
                    return fail(at, "unknown command ESC " + Hex(bytes[at + 1]));
            }
        } else if (b == escpos::kBs) {
            if (last_char_x_ >= 0) {
                x_ = last_char_x_;
                overstrike_ = true;
            }
            ++at;
        } else if (b == escpos::kLf) {
            FeedLine(page, &result);
            ++at;
        } else if (b < escpos::kFirstPrintable || b == escpos::kDelete) {
            return fail(at, "unknown control byte " + Hex(b));
        } else {
            if (user_set_selected_) {
                const auto defined = user_chars_.find(b);
                if (defined != user_chars_.end()) {
                    Print(defined->second, page, &result);
                    ++at;
                    continue;
                }
            }
            char32_t code_point = 0;
            const std::size_t length = code_page_->Decode(&bytes[at], size - at, &code_point);
            if (length == 0) {
                return fail(at, "byte " + Hex(b) + " is not a character of code page " +
                                    std::to_string(code_page_->number()));
            }
            PrintResident(code_point,
                          length > 1 ? escpos::kResidentWideCellWidth : escpos::kResidentCellWidth,
                          page, &result);
            at += length;
        }
    }
    result.unprinted_tail = x_ > 0 || !strip_.IsBlank();
    return result;
}

// SPDX-License-Identifier: Apache-2.0
// The printer model: the state that commands change, the line being composed and the paper it
// is printed on.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "fontmgr/glyph_column_internal.h"
#include "tools/preview/library_glyphs.h"
#include "tools/preview/printer_state_internal.h"

using namespace preview_internal;  // the model's own constants and types

void EscPosInterpreter::State::Warn(const std::string& message, std::size_t offset) {
    const auto known = warning_index.find(message);
    if (known != warning_index.end()) {
        ++warnings[known->second].count;
        return;
    }
    warning_index.emplace(message, warnings.size());
    warnings.push_back({message, offset, 1});
}

CodePage& EscPosInterpreter::State::CodePageNumber(int number) {
    std::unique_ptr<CodePage>& c = code_pages[number];
    if (!c) c = std::make_unique<CodePage>(number);
    return *c;
}

void EscPosInterpreter::State::ClearLine() {
    line.ClearRows(kLineRows - line_height);
    line_has_data = false;
    line_height = 0;
    x = 0;
    extent = 0;
    last_char_x = -1;
    overstrike = false;
    line_alignment = alignment;
    cells.clear();
    placed.clear();
}

void EscPosInterpreter::State::Reset() {
    code_page = setup.code_page;
    kanji = setup.profile.starts_in_kanji_mode;
    user_chars.clear();
    user_set = false;
    spacing = escpos::kLinePitch;
    alignment = Alignment::kLeft;
    emphasis = false;
    width_times = height_times = 1;
    underline = 0;
    inverse = false;
    bar_height = kDefaultBarHeight;
    bar_module = kDefaultBarModule;
    bar_text = 0;
    qr_module = kDefaultQrModule;
    qr_level = 0;
    qr_data.clear();
    // The strip holds ink only in the rows of the line being discarded.
    ClearLine();
}

int EscPosInterpreter::State::AlignmentOffset(Alignment a, int width) const {
    const int room = std::max(0, setup.paper_dots - width);
    switch (a) {
        case Alignment::kCentre:
            return room / 2;
        case Alignment::kRight:
            return room;
        default:
            return 0;
    }
}

bool EscPosInterpreter::State::Lengthen(int rows) {
    if (rows > setup.max_page_dots) {
        return Fail(command, "the receipt would be longer than " +
                                 std::to_string(setup.max_page_dots) + " dots of paper");
    }
    page->Extend(rows);
    return true;
}

void EscPosInterpreter::State::AddTextLines(int n) {
    for (int i = 0; i < n; ++i) result->text.emplace_back();
}

std::string EscPosInterpreter::State::LineText(int offset) {
    std::stable_sort(cells.begin(), cells.end(),
                     [](const TextCell& a, const TextCell& b) { return a.x < b.x; });
    std::string s;
    int cursor = 0;
    for (const TextCell& c : cells) {
        const int left = c.x + offset;
        if (left > cursor) {
            s.append(static_cast<std::size_t>((left - cursor + kTextColumn / 2) / kTextColumn),
                     ' ');
        }
        s += c.text;
        cursor = std::max(cursor, left + c.width);
    }
    return s;
}

bool EscPosInterpreter::State::PrintLine(int feed) {
    int advance = feed;
    if (line_has_data) {
        const int height = line_height;
        const int offset = AlignmentOffset(line_alignment, extent);
        if (!Lengthen(paper_y + height)) return false;
        const int columns = std::min(extent + 1, line.width());
        for (int row = 0; row < height; ++row) {
            const unsigned char* dots = line.Row(kLineRows - height + row);
            for (int col = 0; col < columns; ++col) {
                if (dots[col] != 0) page->Ink(col + offset, paper_y + row);
            }
        }
        for (PrintedCell cell : placed) {
            cell.line = static_cast<int>(result->text.size());
            cell.y = paper_y;
            cell.x += offset;
            result->cells.push_back(cell);
        }
        result->text.push_back(LineText(offset));
        advance = std::max(advance, height);
        const int lines = spacing > 0 ? feed / spacing : 0;
        AddTextLines(lines - 1);
    } else {
        AddTextLines(spacing > 0 ? feed / spacing : 0);
    }
    if (!Lengthen(paper_y + advance)) return false;
    paper_y += advance;
    ++result->lines_fed;
    ClearLine();
    return true;
}

bool EscPosInterpreter::State::Place(const LineStrip& cell, bool magnify, const UserChar* user,
                                     char32_t resident) {
    const int wt = magnify ? width_times : 1, ht = magnify ? height_times : 1;
    const int width = cell.width() * wt, height = kLineDots * ht;
    const bool over = overstrike && last_char_x >= 0;
    overstrike = false;
    if (!over && x > 0 && x + width > setup.paper_dots) {
        if (!PrintLine(spacing)) return false;
        ++result->lines_wrapped;
    }
    const int top = kLineRows - height;
    std::string text;
    char32_t named = resident;
    if (user != nullptr) {
        MarkContext where;
        where.overstruck = over;
        if (over) {
            for (int row = top; row < kLineRows; ++row) {
                for (int col = x; col < x + width; ++col) {
                    if (!line.IsInked(col, row)) continue;
                    const int cell_row = (row - top) / ht;
                    if (where.below_top < 0) where.below_top = cell_row;
                    where.below_bottom = cell_row;
                    break;
                }
            }
        }
        const char32_t c =
            LibraryGlyphs::Get().Find(user->columns, user->column_bytes.data(), where);
        named = c != 0 ? c : kNoGlyph;
        text = EncodeUtf8(named);
    } else {
        text = EncodeUtf8(resident);
    }
    for (int cy = 0; cy < cell.height(); ++cy) {
        for (int cx = 0; cx < cell.width(); ++cx) {
            if (!cell.IsInked(cx, cy)) continue;
            for (int sy = 0; sy < ht; ++sy) {
                for (int sx = 0; sx < wt; ++sx) {
                    const int px = x + cx * wt + sx, py = top + cy * ht + sy;
                    line.Ink(px, py);
                    // Emphasis prints each dot twice, the second one dot to the right.
                    if (emphasis) line.Ink(px + 1, py);
                }
            }
        }
    }
    if (!over) {
        for (int col = x; col < x + width; ++col) {
            // White on black turns the whole cell over; the underline runs under it.
            if (inverse) {
                for (int row = top; row < kLineRows; ++row) line.Flip(col, row);
            }
            for (int u = 0; u < underline; ++u) line.Ink(col, kLineRows - 1 - u);
        }
    }
    placed.push_back({0, 0, x, width, named, user != nullptr, over});
    if (over && !cells.empty()) {
        cells.back().text += text;
    } else {
        cells.push_back({x, width, text});
    }
    last_char_x = x;
    x += width;
    extent = std::min(setup.paper_dots, std::max(extent, x));
    line_height = std::max(line_height, height);
    line_has_data = true;
    return true;
}

bool EscPosInterpreter::State::PrintResident(char32_t code_point, int cell_width) {
    LineStrip cell(cell_width, kLineDots);
    if (font != nullptr) font->Draw(code_point, cell_width, 0, &cell);
    return Place(cell, true, nullptr, code_point);
}

bool EscPosInterpreter::State::PrintUser(const UserChar& glyph) {
    LineStrip cell(glyph.columns, kLineDots);
    for (int c = 0; c < glyph.columns; ++c) {
        const std::uint32_t column = zelvar_fontmgr::ReadColumn(
            &glyph.column_bytes[static_cast<std::size_t>(c) * kBytesPerColumn]);
        for (int row = 0; row < kLineDots; ++row) {
            if (column & zelvar_fontmgr::RowBit(row)) cell.Ink(c, row);
        }
    }
    return Place(cell, true, &glyph, 0);
}

bool EscPosInterpreter::State::Define() {
    if (size - command < 5) {
        return Fail(command, "ESC & (define user-defined characters) cut short in its header");
    }
    const unsigned char y = bytes[command + 2], first = bytes[command + 3],
                        last = bytes[command + 4];
    // Out of range, a printer ignores the command and prints its bytes as text; what it
    // prints then depends on the printer, so the reading stops here.
    if (y != kBytesPerColumn) {
        return Fail(command, "ESC & with " + std::to_string(y) +
                                 " bytes per column; characters are 24 dots (3)");
    }
    if (first < escpos::kFirstUserCode || first > last || last > escpos::kLastUserCode) {
        return Fail(command, "ESC & with the character codes " + Hex(first) + " to " + Hex(last) +
                                 ", outside " + Hex(escpos::kFirstUserCode) + " to " +
                                 Hex(escpos::kLastUserCode));
    }
    std::map<unsigned char, UserChar> defined;
    std::size_t pos = command + 5;
    for (int code = first; code <= last; ++code) {
        if (pos >= size) {
            return Fail(command, "ESC & cut short: no width for character " +
                                     Hex(static_cast<unsigned>(code)));
        }
        UserChar glyph;
        glyph.columns = bytes[pos++];
        if (glyph.columns > escpos::kMaxUserColumns) {
            return Fail(command, "ESC & with " + std::to_string(glyph.columns) +
                                     " columns for character " + Hex(static_cast<unsigned>(code)) +
                                     ", more than " + std::to_string(escpos::kMaxUserColumns));
        }
        const std::size_t need = static_cast<std::size_t>(glyph.columns) * kBytesPerColumn;
        if (size - pos < need) {
            return Fail(command, "ESC & cut short: character " + Hex(static_cast<unsigned>(code)) +
                                     " needs " + std::to_string(need) + " column bytes, " +
                                     std::to_string(size - pos) + " remain");
        }
        glyph.column_bytes.assign(bytes + pos, bytes + pos + need);
        pos += need;
        defined[static_cast<unsigned char>(code)] = std::move(glyph);
    }
    for (auto& entry : defined) user_chars[entry.first] = std::move(entry.second);
    at = pos;
    return true;
}

bool EscPosInterpreter::State::BitImage() {
    if (!Need(5, "ESC * (bit image)")) return false;
    const int mode = bytes[command + 2];
    const std::size_t columns = bytes[command + 3] + 256u * bytes[command + 4];
    bool eight_dots = false;
    int wide = 1;
    switch (mode) {
        case 0:  // 8 dots, each column two dots wide
            eight_dots = true;
            wide = 2;
            break;
        case 1:  // 8 dots
            eight_dots = true;
            break;
        case 32:  // 24 dots, each column two dots wide
            wide = 2;
            break;
        case 33:  // 24 dots
            break;
        default:
            return Fail(command,
                        "ESC * with mode " + std::to_string(mode) + ": its length cannot be known");
    }
    const std::size_t data = eight_dots ? columns : columns * kBytesPerColumn;
    if (!Need(5 + data, "ESC * (bit image)")) return false;
    const unsigned char* d = bytes + command + 5;
    // Columns past the paper's edge are dropped, not carried to the next line.
    const int room = std::max(0, setup.paper_dots - x);
    const int width = static_cast<int>(std::min<std::size_t>(
        columns * static_cast<std::size_t>(wide), static_cast<std::size_t>(room)));
    const int top = kLineRows - kLineDots;
    for (int col = 0; col * wide < width; ++col) {
        for (int row = 0; row < kLineDots; ++row) {
            // 8-dot images print each dot three rows high.
            const bool dot = eight_dots ? (d[col] & (0x80 >> (row / 3))) != 0
                                        : (d[static_cast<std::size_t>(col) * kBytesPerColumn +
                                             static_cast<std::size_t>(row / 8)] &
                                           (0x80 >> (row % 8))) != 0;
            if (!dot) continue;
            for (int sx = 0; sx < wide; ++sx) line.Ink(x + col * wide + sx, top + row);
        }
    }
    cells.push_back({x, width,
                     "[image " + std::to_string(columns * static_cast<std::size_t>(wide)) + "×" +
                         std::to_string(kLineDots) + "]"});
    overstrike = false;
    last_char_x = x;
    x += width;
    extent = std::max(extent, x);
    line_height = std::max(line_height, kLineDots);
    line_has_data = true;
    at = command + 5 + data;
    return true;
}

bool EscPosInterpreter::State::RasterImage() {
    if (!Need(8, "GS v 0 (raster image)")) return false;
    const int mode = bytes[command + 3];
    const std::size_t row_bytes = bytes[command + 4] + 256u * bytes[command + 5];
    const std::size_t rows = bytes[command + 6] + 256u * bytes[command + 7];
    const std::uint64_t length = 8 + std::uint64_t{row_bytes} * rows;
    if (!Need(length, "GS v 0 (raster image)")) return false;
    at = command + static_cast<std::size_t>(length);
    if ((mode & ~3) != 0 && (mode & ~3) != '0') {
        Warn("skipped GS v 0 with mode " + std::to_string(mode), command);
        return true;
    }
    if (line_has_data) {
        // Printers take a raster image only at the start of a line.
        Warn("skipped GS v 0 (raster image) after characters on its line", command);
        return true;
    }
    const int wide = (mode & 1) ? 2 : 1, tall = (mode & 2) ? 2 : 1;
    const std::size_t width_dots = row_bytes * 8 * static_cast<std::size_t>(wide);
    const std::size_t height_dots = rows * static_cast<std::size_t>(tall);
    const int shown = static_cast<int>(
        std::min<std::size_t>(width_dots, static_cast<std::size_t>(setup.paper_dots)));
    if (!Lengthen(static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(paper_y) + height_dots,
                                  static_cast<std::size_t>(setup.max_page_dots) + 1)))) {
        return false;
    }
    const int offset = AlignmentOffset(alignment, shown);
    const unsigned char* d = bytes + command + 8;
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t b = 0; b < row_bytes && b * 8 * static_cast<std::size_t>(wide) <
                                                     static_cast<std::size_t>(shown);
             ++b) {
            const unsigned char v = d[r * row_bytes + b];
            if (v == 0) continue;
            for (int bit = 0; bit < 8; ++bit) {
                if ((v & (0x80 >> bit)) == 0) continue;
                const int col = static_cast<int>(b * 8) + bit;
                for (int sy = 0; sy < tall; ++sy) {
                    for (int sx = 0; sx < wide; ++sx) {
                        page->Ink(offset + col * wide + sx,
                                  paper_y + static_cast<int>(r) * tall + sy);
                    }
                }
            }
        }
    }
    paper_y += static_cast<int>(height_dots);
    result->text.push_back("[image " + std::to_string(width_dots) + "×" +
                           std::to_string(height_dots) + "]");
    return true;
}

bool EscPosInterpreter::State::Cut(int feed) {
    if (line_has_data) {
        // Printers cut only at the start of a line.
        Warn("skipped a cut after characters on its line", command);
        return true;
    }
    if (!Lengthen(paper_y + feed + kCutRows)) return false;
    paper_y += feed;
    for (int col = 0; col < setup.paper_dots; ++col) {
        if (col % kCutPeriod < kCutDash) page->Ink(col, paper_y + kCutRows / 2);
    }
    paper_y += kCutRows;
    std::string text = "✂";
    for (int i = 0; i < setup.paper_dots / (2 * kTextColumn); ++i) text += " -";
    result->text.push_back(text);
    return true;
}

void EscPosInterpreter::State::SelectCodeTable(int table) {
    const auto mapped = setup.profile.code_tables.find(table);
    if (mapped != setup.profile.code_tables.end()) {
        code_page = mapped->second;
    } else {
        code_page = 0;
        Warn("ESC t " + std::to_string(table) + ": profile " + setup.profile.name +
                 " has no code page for this table; bytes 0x80 and up print as □",
             command);
    }
}

void EscPosInterpreter::State::MoveTo(int to, const char* name) {
    if (to < 0 || to > setup.paper_dots) {
        Warn(std::string("ignored ") + name + " beyond the paper's edge, as printers do", command);
        return;
    }
    x = to;
    overstrike = false;
    extent = std::max(extent, x);
}

// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/escpos_interpreter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "fontmgr/glyph_column_internal.h"
#include "tools/preview/escpos.h"
#include "tools/preview/library_glyphs.h"
#include "tools/preview/symbols.h"

namespace {

using escpos::kBytesPerColumn;
using escpos::kLineDots;

constexpr char32_t kNoGlyph = 0x25A1;  // □: what the text shows for a character it cannot name
// The line is composed bottom-aligned in a strip tall enough for GS ! at its largest.
constexpr int kLineRows = kLineDots * escpos::kMaxMagnification;
// Paper a cut takes in the picture: a dashed line in the middle of it.
constexpr int kCutRows = 12;
// A printer's barcode and QR code settings after ESC @.
constexpr int kDefaultBarHeight = 162, kDefaultBarModule = 3, kDefaultQrModule = 3;
// GS ( k: cn of the QR code, and its functions.
constexpr unsigned char kQrSymbol = 49;
constexpr unsigned char kQrModel = 65, kQrModuleSize = 67, kQrErrorCorrection = 69, kQrStore = 80,
                        kQrPrint = 81;
constexpr int kCutDash = 8, kCutPeriod = 12;
// Room in the text for one resident character.
constexpr int kTextColumn = escpos::kResidentCellWidth;
// ESC D takes at most 32 tab positions and a NUL.
constexpr std::size_t kMaxTabBytes = 33;

std::string Hex(unsigned b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b & 0xFFu);
    return text;
}

// A command's function byte as a reader would name it.
std::string Function(unsigned char b) {
    return b > escpos::kFirstPrintable && b < escpos::kDelete ? std::string(1, static_cast<char>(b))
                                                              : Hex(b);
}

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

enum class Alignment { kLeft, kCentre, kRight };

struct UserChar {
    int columns;
    std::vector<unsigned char> column_bytes;  // 3 per column, top rows first
};

// What the text shows of one character cell of the line.
struct TextCell {
    int x, width;
    std::string text;
};

}  // namespace

LineStrip::LineStrip(int width, int height)
    : width_(width),
      height_(height),
      dots_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

void LineStrip::Ink(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = 1;
}

void LineStrip::Flip(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    unsigned char& dot = dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)];
    dot = dot ? 0 : 1;
}

bool LineStrip::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return false;
    return dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)] != 0;
}

bool LineStrip::IsBlank() const {
    return std::all_of(dots_.begin(), dots_.end(), [](unsigned char d) { return d == 0; });
}

void LineStrip::Clear() {
    std::fill(dots_.begin(), dots_.end(), 0);
}

void LineStrip::ClearRows(int first) {
    if (first < 0) first = 0;
    if (first >= height_) return;
    std::fill(dots_.begin() + static_cast<std::ptrdiff_t>(first) * width_, dots_.end(), 0);
}

Page::Page(int width) : width_(width), row_bytes_((static_cast<std::size_t>(width) + 7) / 8) {}

bool Page::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return false;
    const std::size_t at =
        static_cast<std::size_t>(y) * row_bytes_ + static_cast<std::size_t>(x) / 8;
    return (bits_[at] & (0x80 >> (x % 8))) != 0;
}

void Page::Extend(int rows) {
    if (rows <= height_) return;
    height_ = rows;
    bits_.resize(static_cast<std::size_t>(rows) * row_bytes_, 0);
}

void Page::Ink(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    bits_[static_cast<std::size_t>(y) * row_bytes_ + static_cast<std::size_t>(x) / 8] |=
        static_cast<unsigned char>(0x80 >> (x % 8));
}

struct EscPosInterpreter::State {
    State(const PrinterSetup& s, ResidentFont* f)
        : setup(s), font(f), line(s.paper_dots, kLineRows) {}

    PrinterSetup setup;
    ResidentFont* font;

    // The stream being read.
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;       // next byte
    std::size_t command = 0;  // first byte of the command being read
    Page* page = nullptr;
    InterpretResult* result = nullptr;

    std::map<int, std::unique_ptr<CodePage>> code_pages;

    // What ESC @ resets.
    int code_page = 0;
    bool kanji = false;
    std::map<unsigned char, UserChar> user_chars;
    bool user_set = false;
    int spacing = escpos::kLinePitch;
    Alignment alignment = Alignment::kLeft;
    bool emphasis = false;
    int width_times = 1, height_times = 1;
    int underline = 0;  // dots thick: 0, 1 or 2
    bool inverse = false;
    // Barcodes (GS h, GS w, GS H) and the QR code symbol (GS ( k).
    int bar_height = kDefaultBarHeight;
    int bar_module = kDefaultBarModule;
    int bar_text = 0;  // 0 none, 1 above, 2 below, 3 both
    int qr_module = kDefaultQrModule;
    int qr_level = 0;  // L, M, Q, H
    std::string qr_data;

    // The line being composed, bottom-aligned in `line`.
    LineStrip line;
    bool line_has_data = false;
    int line_height = 0;
    int x = 0;
    int extent = 0;  // right end of what the line holds
    int last_char_x = -1;
    bool overstrike = false;
    Alignment line_alignment = Alignment::kLeft;
    std::vector<TextCell> cells;
    std::vector<PrintedCell> placed;  // the line's cells, before alignment

    int paper_y = 0;  // where the next line prints

    struct Warning {
        std::string message;
        std::size_t first;
        int count;
    };
    std::vector<Warning> warnings;
    std::map<std::string, std::size_t> warning_index;

    bool Fail(std::size_t offset, std::string message) {
        result->ok = false;
        result->error_offset = offset;
        result->error = std::move(message);
        return false;
    }

    // True when the stream holds `n` more bytes from the command's start.
    bool Need(std::uint64_t n, const std::string& what) {
        if (size - command >= n) return true;
        return Fail(command, what + " cut short: the stream ends inside it");
    }

    void Warn(const std::string& message, std::size_t offset) {
        const auto known = warning_index.find(message);
        if (known != warning_index.end()) {
            ++warnings[known->second].count;
            return;
        }
        warning_index.emplace(message, warnings.size());
        warnings.push_back({message, offset, 1});
    }

    bool Skip(std::uint64_t length, const std::string& name) {
        if (!Need(length, name)) return false;
        Warn("skipped " + name, command);
        at = command + static_cast<std::size_t>(length);
        return true;
    }

    CodePage& CodePageNumber(int number) {
        std::unique_ptr<CodePage>& c = code_pages[number];
        if (!c) c = std::make_unique<CodePage>(number);
        return *c;
    }

    void ClearLine() {
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

    void Reset() {
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

    int AlignmentOffset(Alignment a, int width) const {
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

    bool Lengthen(int rows) {
        if (rows > setup.max_page_dots) {
            return Fail(command, "the receipt would be longer than " +
                                     std::to_string(setup.max_page_dots) + " dots of paper");
        }
        page->Extend(rows);
        return true;
    }

    void AddTextLines(int n) {
        for (int i = 0; i < n; ++i) result->text.emplace_back();
    }

    std::string LineText(int offset) {
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

    // Prints the line (if it holds anything) and feeds `feed` dots, or the line's height when
    // that is more.
    bool PrintLine(int feed) {
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

    // Places a cell of `cell` (24 dots high) at the print position, magnified by GS ! when
    // `magnify` holds. `user` is the downloaded character it shows, or null for `resident`.
    bool Place(const LineStrip& cell, bool magnify, const UserChar* user, char32_t resident) {
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

    bool PrintResident(char32_t code_point, int cell_width) {
        LineStrip cell(cell_width, kLineDots);
        if (font != nullptr) font->Draw(code_point, cell_width, 0, &cell);
        return Place(cell, true, nullptr, code_point);
    }

    bool PrintUser(const UserChar& glyph) {
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

    // ESC & y c1 c2, then for each character c1..c2: x, and y * x column bytes.
    bool Define() {
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
            return Fail(command, "ESC & with the character codes " + Hex(first) + " to " +
                                     Hex(last) + ", outside " + Hex(escpos::kFirstUserCode) +
                                     " to " + Hex(escpos::kLastUserCode));
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
                                         " columns for character " +
                                         Hex(static_cast<unsigned>(code)) + ", more than " +
                                         std::to_string(escpos::kMaxUserColumns));
            }
            const std::size_t need = static_cast<std::size_t>(glyph.columns) * kBytesPerColumn;
            if (size - pos < need) {
                return Fail(command, "ESC & cut short: character " +
                                         Hex(static_cast<unsigned>(code)) + " needs " +
                                         std::to_string(need) + " column bytes, " +
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

    // ESC * m nL nH d...: a bit image of nL + 256 nH columns in the line, 8 or 24 dots high.
    bool BitImage() {
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
                return Fail(command, "ESC * with mode " + std::to_string(mode) +
                                         ": its length cannot be known");
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
                         "[image " + std::to_string(columns * static_cast<std::size_t>(wide)) +
                             "×" + std::to_string(kLineDots) + "]"});
        overstrike = false;
        last_char_x = x;
        x += width;
        extent = std::max(extent, x);
        line_height = std::max(line_height, kLineDots);
        line_has_data = true;
        at = command + 5 + data;
        return true;
    }

    // GS v 0 m xL xH yL yH d...: a raster image of (xL + 256 xH) bytes by (yL + 256 yH) rows.
    bool RasterImage() {
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

    // GS ( k pL pH cn fn ...: the two-dimensional symbols. QR codes (cn 49) are stored and
    // printed; the other symbols are skipped.
    bool SymbolFunction(std::uint64_t p) {
        const std::uint64_t length = 5 + p;
        if (!Need(length, "GS ( k (symbol)")) return false;
        at = command + static_cast<std::size_t>(length);
        if (p < 2 || bytes[command + 5] != kQrSymbol) {
            Warn("skipped GS ( k of a symbol other than a QR code", command);
            return true;
        }
        const unsigned char fn = bytes[command + 6];
        const unsigned char* parameters = bytes + command + 7;
        const std::size_t count = static_cast<std::size_t>(p - 2);
        switch (fn) {
            case kQrModel:
                if (count >= 1 && parameters[0] != '2')
                    Warn("QR code model 1 drawn as model 2", command);
                return true;
            case kQrModuleSize:
                if (count >= 1 && parameters[0] >= 1 && parameters[0] <= 16)
                    qr_module = parameters[0];
                return true;
            case kQrErrorCorrection:
                if (count >= 1 && parameters[0] >= '0' && parameters[0] <= '3') {
                    qr_level = parameters[0] - '0';
                }
                return true;
            case kQrStore:
                // The first parameter is m = '0'; the data follow it.
                qr_data.assign(parameters + std::min<std::size_t>(count, 1), parameters + count);
                return true;
            case kQrPrint: {
                preview_symbols::Modules modules;
                std::string error;
                if (qr_data.empty() ||
                    !preview_symbols::QrCode(qr_data, qr_level, &modules, &error)) {
                    Warn("skipped a QR code that does not encode: " +
                             (qr_data.empty() ? std::string("no data stored") : error),
                         command);
                    return true;
                }
                return PrintSymbol(modules, qr_module, qr_module,
                                   "[QR code: " + Printable(qr_data) + "]", "");
            }
            default:
                Warn("skipped GS ( k QR code function " + std::to_string(fn), command);
                return true;
        }
    }

    // GS k: the barcode of the data, bars GS h high, modules GS w wide, its text where GS H says.
    bool PrintBarcode(int m, const std::string& data) {
        preview_symbols::Modules modules;
        std::string text, error;
        if (!preview_symbols::Barcode(m, data, &modules, &text, &error)) {
            Warn("skipped a barcode that does not encode: " + error, command);
            return true;
        }
        preview_symbols::Modules bars;
        bars.width = modules.width;
        bars.height = 1;
        bars.dark.assign(modules.dark.begin(), modules.dark.begin() + modules.width);
        return PrintSymbol(bars, bar_module, bar_height,
                           "[" + preview_symbols::BarcodeName(m) + ": " + Printable(text) + "]",
                           Printable(text));
    }

    static std::string Printable(const std::string& data) {
        std::string s;
        for (const char ch : data) {
            const unsigned char b = static_cast<unsigned char>(ch);
            s += b < escpos::kFirstPrintable || b >= escpos::kDelete ? '?' : ch;
        }
        return s;
    }

    // Prints a symbol's modules at the start of a line, at the current justification, with the
    // text a barcode carries over or under it.
    bool PrintSymbol(const preview_symbols::Modules& modules, int module_width, int module_height,
                     const std::string& read_back, const std::string& caption) {
        if (line_has_data) {
            // Printers take a symbol only at the start of a line.
            Warn("skipped a symbol after characters on its line", command);
            return true;
        }
        const int width = modules.width * module_width;
        if (width > setup.paper_dots) {
            Warn("skipped a symbol wider than the paper", command);
            return true;
        }
        const int height = modules.height * module_height;
        const bool above = !caption.empty() && (bar_text & 1),
                   below = !caption.empty() && (bar_text & 2);
        const int total = height + (above ? kLineDots : 0) + (below ? kLineDots : 0);
        if (!Lengthen(paper_y + total)) return false;
        const int offset = AlignmentOffset(alignment, width);
        if (above) Caption(caption, offset, width);
        for (int my = 0; my < modules.height; ++my) {
            for (int mx = 0; mx < modules.width; ++mx) {
                if (!modules.At(mx, my)) continue;
                for (int dy = 0; dy < module_height; ++dy) {
                    for (int dx = 0; dx < module_width; ++dx) {
                        page->Ink(offset + mx * module_width + dx,
                                  paper_y + my * module_height + dy);
                    }
                }
            }
        }
        paper_y += height;
        if (below) Caption(caption, offset, width);
        result->text.push_back(read_back);
        return true;
    }

    // One line of the resident font, centred under or over a symbol.
    void Caption(const std::string& text, int offset, int width) {
        LineStrip strip(setup.paper_dots, kLineDots);
        const int characters = static_cast<int>(text.size());
        int cx = offset + std::max(0, (width - characters * escpos::kResidentCellWidth) / 2);
        for (const char ch : text) {
            if (font != nullptr) {
                font->Draw(static_cast<unsigned char>(ch), escpos::kResidentCellWidth, cx, &strip);
            }
            cx += escpos::kResidentCellWidth;
        }
        for (int row = 0; row < kLineDots; ++row) {
            for (int col = 0; col < setup.paper_dots; ++col) {
                if (strip.IsInked(col, row)) page->Ink(col, paper_y + row);
            }
        }
        paper_y += kLineDots;
    }

    // GS V, ESC i, ESC m: feeds `feed` dots and cuts.
    bool Cut(int feed) {
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

    void SelectCodeTable(int table) {
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

    bool Esc() {
        if (size - command < 2)
            return Fail(command, "ESC without a command at the end of the stream");
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
                if (const KnownCommand* k = FindKnown(kEscSkipped, c))
                    return Skip(k->length, k->name);
                return Fail(command,
                            "unknown command ESC " + Hex(c) + ": its length cannot be known");
        }
    }

    void MoveTo(int to, const char* name) {
        if (to < 0 || to > setup.paper_dots) {
            Warn(std::string("ignored ") + name + " beyond the paper's edge, as printers do",
                 command);
            return;
        }
        x = to;
        overstrike = false;
        extent = std::max(extent, x);
    }

    bool Fs() {
        if (size - command < 2)
            return Fail(command, "FS without a command at the end of the stream");
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
                    const std::uint64_t h =
                        bytes[command + pos + 2] + 256u * bytes[command + pos + 3];
                    pos += 4 + 8 * w * h;
                }
                return Skip(pos, "FS q (store images)");
            }
            default:
                if (const KnownCommand* k = FindKnown(kFsSkipped, c))
                    return Skip(k->length, k->name);
                return Fail(command,
                            "unknown command FS " + Hex(c) + ": its length cannot be known");
        }
    }

    bool Gs() {
        if (size - command < 2)
            return Fail(command, "GS without a command at the end of the stream");
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
                return Fail(command,
                            "GS V with " + std::to_string(m) + ": its length cannot be known");
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
                        return PrintBarcode(m,
                                            std::string(bytes + command + 3, bytes + command + i));
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
                return Fail(command,
                            "GS k with " + std::to_string(m) + ": its length cannot be known");
            }
            default:
                if (const KnownCommand* k = FindKnown(kGsSkipped, c))
                    return Skip(k->length, k->name);
                return Fail(command,
                            "unknown command GS " + Hex(c) + ": its length cannot be known");
        }
    }

    bool Dle() {
        if (size - command < 2)
            return Fail(command, "DLE without a command at the end of the stream");
        const unsigned char c = bytes[command + 1];
        if (c == 0x04) return Skip(3, "DLE EOT (real-time status)");
        if (c == 0x05) return Skip(3, "DLE ENQ (real-time request)");
        if (c == 0x14) {
            if (!Need(3, "DLE DC4")) return false;
            const int fn = bytes[command + 2];
            if (fn == 1 || fn == 2) return Skip(5, "DLE DC4 (real-time pulse, power-off)");
            return Fail(command,
                        "DLE DC4 with " + std::to_string(fn) + ": its length cannot be known");
        }
        return Fail(command, "unknown command DLE " + Hex(c) + ": its length cannot be known");
    }

    // The length of the double-byte character whose first byte is `lead`, or 0 when `lead`
    // does not start one in the Kanji code page.
    std::size_t DoubleByteLength(unsigned char lead) const {
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

    bool Character() {
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

    bool Step() {
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
};

EscPosInterpreter::EscPosInterpreter(const PrinterSetup& setup, ResidentFont* font)
    : state_(std::make_unique<State>(setup, font)) {}

EscPosInterpreter::~EscPosInterpreter() = default;

InterpretResult EscPosInterpreter::Run(const unsigned char* bytes, std::size_t size, Page* page) {
    State& s = *state_;
    InterpretResult result;
    s.bytes = bytes;
    s.size = size;
    s.at = 0;
    s.page = page;
    s.result = &result;
    s.paper_y = 0;
    s.warnings.clear();
    s.warning_index.clear();
    s.Reset();
    while (s.at < size) {
        if (!s.Step()) break;
    }
    if (result.ok) result.unprinted_tail = s.line_has_data;
    for (const State::Warning& w : s.warnings) {
        result.warnings.push_back(
            w.message + " at byte offset " + std::to_string(w.first) +
            (w.count > 1 ? " (and " + std::to_string(w.count - 1) + " more)" : ""));
    }
    s.bytes = nullptr;
    s.page = nullptr;
    s.result = nullptr;
    return result;
}

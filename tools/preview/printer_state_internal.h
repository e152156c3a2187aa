// SPDX-License-Identifier: Apache-2.0
// The printer model's state, shared by its parts: the byte reader (escpos_reader.cpp) turns the
// stream into commands, knowing every command's length and what is malformed; the printer model
// (printer_model.cpp, printer_symbols.cpp) applies them to the line being composed and the paper;
// the outputs (png_output.cpp, text_output.cpp) read the result.
#ifndef ZELVAR_TOOLS_PREVIEW_PRINTER_STATE_INTERNAL_H
#define ZELVAR_TOOLS_PREVIEW_PRINTER_STATE_INTERNAL_H

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/preview/escpos.h"
#include "tools/preview/escpos_interpreter.h"
#include "tools/preview/symbols.h"

namespace preview_internal {

using escpos::kBytesPerColumn;
using escpos::kLineDots;
inline constexpr char32_t kNoGlyph =
    0x25A1;  // □: what the text shows for a character it cannot name
// The line is composed bottom-aligned in a strip tall enough for GS ! at its largest.
inline constexpr int kLineRows = kLineDots * escpos::kMaxMagnification;
// Paper a cut takes in the picture: a dashed line in the middle of it.
inline constexpr int kCutRows = 12;
// A printer's barcode and QR code settings after ESC @.
inline constexpr int kDefaultBarHeight = 162, kDefaultBarModule = 3, kDefaultQrModule = 3;
// GS ( k: cn of the QR code, and its functions.
inline constexpr unsigned char kQrSymbol = 49;
inline constexpr unsigned char kQrModel = 65, kQrModuleSize = 67, kQrErrorCorrection = 69,
                               kQrStore = 80, kQrPrint = 81;
inline constexpr int kCutDash = 8, kCutPeriod = 12;
// Room in the text for one resident character.
inline constexpr int kTextColumn = escpos::kResidentCellWidth;
// ESC D takes at most 32 tab positions and a NUL.
inline constexpr std::size_t kMaxTabBytes = 33;

inline std::string Hex(unsigned b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b & 0xFFu);
    return text;
}

// A command's function byte as a reader would name it.
inline std::string Function(unsigned char b) {
    return b > escpos::kFirstPrintable && b < escpos::kDelete ? std::string(1, static_cast<char>(b))
                                                              : Hex(b);
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

}  // namespace preview_internal

struct EscPosInterpreter::State {
    using Alignment = preview_internal::Alignment;
    using UserChar = preview_internal::UserChar;
    using TextCell = preview_internal::TextCell;

    State(const PrinterSetup& s, ResidentFont* f)
        : setup(s), font(f), line(s.paper_dots, preview_internal::kLineRows) {}

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
    int bar_height = preview_internal::kDefaultBarHeight;
    int bar_module = preview_internal::kDefaultBarModule;
    int bar_text = 0;  // 0 none, 1 above, 2 below, 3 both
    int qr_module = preview_internal::kDefaultQrModule;
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

    bool Fail(std::size_t offset, std::string message);

    // True when the stream holds `n` more bytes from the command's start.
    bool Need(std::uint64_t n, const std::string& what);

    void Warn(const std::string& message, std::size_t offset);

    bool Skip(std::uint64_t length, const std::string& name);

    CodePage& CodePageNumber(int number);

    void ClearLine();

    void Reset();

    int AlignmentOffset(Alignment a, int width) const;

    bool Lengthen(int rows);

    void AddTextLines(int n);

    std::string LineText(int offset);

    // Prints the line (if it holds anything) and feeds `feed` dots, or the line's height when
    // that is more.
    bool PrintLine(int feed);

    // Places a cell of `cell` (24 dots high) at the print position, magnified by GS ! when
    // `magnify` holds. `user` is the downloaded character it shows, or null for `resident`.
    bool Place(const LineStrip& cell, bool magnify, const UserChar* user, char32_t resident);

    bool PrintResident(char32_t code_point, int cell_width);

    bool PrintUser(const UserChar& glyph);

    // ESC & y c1 c2, then for each character c1..c2: x, and y * x column bytes.
    bool Define();

    // ESC * m nL nH d...: a bit image of nL + 256 nH columns in the line, 8 or 24 dots high.
    bool BitImage();

    // GS v 0 m xL xH yL yH d...: a raster image of (xL + 256 xH) bytes by (yL + 256 yH) rows.
    bool RasterImage();

    // GS ( k pL pH cn fn ...: the two-dimensional symbols. QR codes (cn 49) are stored and
    // printed; the other symbols are skipped.
    bool SymbolFunction(std::uint64_t p);

    // GS k: the barcode of the data, bars GS h high, modules GS w wide, its text where GS H says.
    bool PrintBarcode(int m, const std::string& data);

    static std::string Printable(const std::string& data);

    // Prints a symbol's modules at the start of a line, at the current justification, with the
    // text a barcode carries over or under it.
    bool PrintSymbol(const preview_symbols::Modules& modules, int module_width, int module_height,
                     const std::string& read_back, const std::string& caption);

    // One line of the resident font, centred under or over a symbol.
    void Caption(const std::string& text, int offset, int width);

    // GS V, ESC i, ESC m: feeds `feed` dots and cuts.
    bool Cut(int feed);

    void SelectCodeTable(int table);

    bool Esc();

    void MoveTo(int to, const char* name);

    bool Fs();

    bool Gs();

    bool Dle();

    // The length of the double-byte character whose first byte is `lead`, or 0 when `lead`
    // does not start one in the Kanji code page.
    std::size_t DoubleByteLength(unsigned char lead) const;

    bool Character();

    bool Step();
};

#endif  // ZELVAR_TOOLS_PREVIEW_PRINTER_STATE_INTERNAL_H

// SPDX-License-Identifier: Apache-2.0
// A model of the receipt printer that reads an ESC/POS byte stream and prints it onto a page of
// dots, so that a picture shows what the bytes say, not what the text meant; and the same receipt
// as lines of text, so that two receipts can be compared in a terminal.
//
// It prints what a receipt is made of: text through the code table that ESC t selects (the
// numbers come from a printer profile) or, between FS & and FS ., the double-byte characters of
// the Kanji code page; user-defined characters (ESC &, ESC % n, ESC ?), each kept under its code
// until it is redefined or cancelled or ESC @ resets the printer; BS (the next character prints
// over the last one); LF, ESC d n and ESC J n (print and feed); ESC 3 n / ESC 2 (line spacing);
// ESC a n (alignment); ESC $ and ESC \ (absolute and relative position, in dots); HT; ESC E n
// and ESC ! n (emphasis, double size, underline); GS ! n (character size); ESC - n (underline);
// GS B n (white on black); ESC * (a bit image in the line); GS v 0 (a raster image); GS ( k (a
// QR code) and GS k with GS h, GS w and GS H (barcodes), drawn by zint; GS V, ESC i and ESC m (a
// cut, drawn as a dashed line).
//
// Any other command whose length is known is skipped, with one warning per command that names
// its first offset. A command whose length cannot be known, or one cut off by the end of the
// stream, stops the reading with an error that names its byte offset: nothing after it could be
// read in step with the printer.
#ifndef ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H
#define ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/preview/code_page.h"
#include "tools/preview/printer_profile.h"

// A rectangle of dots, row 0 at the top: one printed character cell, or the line being composed.
class LineStrip {
  public:
    explicit LineStrip(int width, int height = 24);
    int width() const { return width_; }
    int height() const { return height_; }
    // Inks one dot; dots outside the strip are dropped, as the print head has none there.
    void Ink(int x, int y);
    bool IsInked(int x, int y) const;
    // Turns an inked dot blank and a blank one inked (white on black).
    void Flip(int x, int y);
    // The `width()` dots of row `y` (0 <= y < height()), one byte each.
    const unsigned char* Row(int y) const {
        return dots_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    bool IsBlank() const;
    void Clear();
    // Clears the rows from `first` down.
    void ClearRows(int first);

  private:
    int width_, height_;
    std::vector<unsigned char> dots_;  // one byte per dot, row after row
};

// The printed paper: `width` dots wide, as long as the paper fed.
class Page {
  public:
    explicit Page(int width);
    int width() const { return width_; }
    int height() const { return height_; }
    bool IsInked(int x, int y) const;
    // Makes the paper at least `rows` long.
    void Extend(int rows);
    // Inks one dot of the paper fed so far; others are dropped.
    void Ink(int x, int y);

  private:
    int width_;
    int height_ = 0;
    std::size_t row_bytes_;
    std::vector<unsigned char> bits_;  // one bit per dot, row after row, left dot in bit 7
};

// Draws the printer's own characters.
class ResidentFont {
  public:
    virtual ~ResidentFont() = default;
    // Draws `code_point` into the cell of `cell_width` dots whose left edge is at `x`.
    virtual void Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) = 0;
};

struct PrinterSetup {
    int paper_dots = 576;
    PrinterProfile profile;  // the ESC t numbers and the mode at power-on
    // The code page of bytes 0x80 and up at power-on: table 0, PC437, on the printers we know;
    // 0 reads ASCII only.
    int code_page = 437;
    // The paper a receipt may take; a longer one is refused.
    int max_page_dots = 1 << 16;
};

// One character cell as the printer placed it on the paper.
struct PrintedCell {
    int line;             // index of its line in InterpretResult::text
    int y;                // dot row of the paper where its line starts
    int x;                // left edge, in dots from the paper's left edge, after alignment
    int width;            // dots
    char32_t code_point;  // as InterpretResult::text shows it (□ when it cannot be named)
    bool user_defined;    // a downloaded character, not one of the printer's own
    bool overstrike;      // printed over the cell before it (after a BS)
};

struct InterpretResult {
    bool ok = true;
    std::size_t error_offset = 0;       // of the command that could not be read
    std::string error;                  // one line, without the offset
    int lines_fed = 0;                  // lines printed: by LF, ESC d, ESC J or a full line
    int lines_wrapped = 0;              // of those, the ones broken at the paper's edge
    bool unprinted_tail = false;        // the stream ended with characters that nothing printed
    std::vector<std::string> warnings;  // one line each, in the order first met
    // The receipt as text, one UTF-8 string per printed line: resident characters as the code
    // page reads them, downloaded ones as the code point of the library's glyph they are (□ when
    // they are none), blank room as spaces of the resident font's width, an image as
    // "[image W×H]" and a cut as a line of "✂ - - -".
    std::vector<std::string> text;
    // Every character cell of the receipt, in the order the lines were printed.
    std::vector<PrintedCell> cells;
};

class EscPosInterpreter {
  public:
    // `font` may be null: the resident characters then take their room but show no ink.
    EscPosInterpreter(const PrinterSetup& setup, ResidentFont* font);
    ~EscPosInterpreter();
    EscPosInterpreter(const EscPosInterpreter&) = delete;
    EscPosInterpreter& operator=(const EscPosInterpreter&) = delete;

    // Reads the whole stream onto `page` (which must be the setup's paper wide), from the
    // printer's state after power-on. Stops at the first command it cannot read. Reads nothing
    // outside bytes[0, size).
    InterpretResult Run(const unsigned char* bytes, std::size_t size, Page* page);
    InterpretResult Run(const std::vector<unsigned char>& bytes, Page* page) {
        return Run(bytes.data(), bytes.size(), page);
    }

  private:
    struct State;
    std::unique_ptr<State> state_;
};

#endif  // ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H

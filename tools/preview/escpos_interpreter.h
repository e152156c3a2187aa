// A model of the receipt printer that reads an ESC/POS byte stream and prints it onto a page of
// dots, so that a picture shows what the bytes say, not what the text meant.
//
// It knows the commands a receipt of this library is made of: ESC @ (reset), ESC & (define
// user-defined characters), ESC % n (select the user-defined set when bit 0 of n is set, cancel it
// otherwise), BS (step back over the last character, so the next one prints over it), LF (print
// the line and feed) and printable bytes. Anything else, or a command cut short, stops the
// reading with an error that names the byte offset of the command.
#ifndef ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H
#define ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/preview/code_page.h"

// One printed line before it is fed: `width` dots by escpos::kLineDots, row 0 at the top.
class LineStrip {
  public:
    explicit LineStrip(int width);
    int width() const { return width_; }
    // Inks one dot; dots outside the strip are dropped, as the print head has none there.
    void Ink(int x, int y);
    bool IsInked(int x, int y) const;
    bool IsBlank() const;
    void Clear();
    const std::vector<unsigned char>& dots() const { return dots_; }

  private:
    int width_;
    std::vector<unsigned char> dots_;  // one byte per dot, row after row
};

// The printed paper: `width` dots wide, escpos::kLinePitch rows per line fed.
class Page {
  public:
    explicit Page(int width) : width_(width) {}
    int width() const { return width_; }
    int height() const { return static_cast<int>(dots_.size() / static_cast<std::size_t>(width_)); }
    bool IsInked(int x, int y) const;
    // Feeds one line: the strip's rows, then the blank line spacing.
    void Feed(const LineStrip& strip);

  private:
    int width_;
    std::vector<unsigned char> dots_;
};

// Draws the printer's own characters.
class ResidentFont {
  public:
    virtual ~ResidentFont() = default;
    // Draws `code_point` into the cell of `cell_width` dots whose left edge is at `x`.
    virtual void Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) = 0;
};

struct InterpretResult {
    bool ok = true;
    std::size_t error_offset = 0;  // of the command that could not be read
    std::string error;             // one line, without the offset
    int lines_fed = 0;             // LFs, and lines the printer broke because the paper was full
    int lines_wrapped = 0;         // of those, the ones broken at the paper's edge
    bool unprinted_tail = false;   // the stream ended with characters that no LF printed
};

class EscPosInterpreter {
  public:
    // `font` may be null: the resident characters then take their room but show no ink.
    EscPosInterpreter(int paper_dots, CodePage* code_page, ResidentFont* font);

    // Reads the whole stream onto `page` (which must be `paper_dots` wide), from the printer's
    // state after power-on. Stops at the first command it cannot read.
    InterpretResult Run(const std::vector<unsigned char>& bytes, Page* page);

  private:
    struct UserChar {
        int columns;
        std::vector<unsigned char> column_bytes;  // 3 per column, top rows first
    };

    void Reset();
    // Makes room for a character of `advance` dots, breaking the line when the paper is full.
    void Fit(int advance, Page* page, InterpretResult* result);
    void Print(const UserChar& glyph, Page* page, InterpretResult* result);
    void PrintResident(char32_t code_point, int cell_width, Page* page, InterpretResult* result);
    void FeedLine(Page* page, InterpretResult* result);
    // Reads the ESC & at `at`; returns the offset after it, or 0 with `error` set.
    std::size_t Define(const std::vector<unsigned char>& bytes, std::size_t at, std::string* error);

    int paper_dots_;
    CodePage* code_page_;
    ResidentFont* font_;
    std::map<unsigned char, UserChar> user_chars_;
    bool user_set_selected_ = false;
    LineStrip strip_;
    int x_ = 0;
    int last_char_x_ = -1;     // left edge of the last character on this line; -1 when none
    bool overstrike_ = false;  // a BS stepped back: the next character prints over the last
};

#endif  // ZELVAR_TOOLS_PREVIEW_ESCPOS_INTERPRETER_H

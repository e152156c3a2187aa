// Turning receipt lines into the printer's bytes, the way the Java side of the library does it.
//
// Each line is put into visual order with the library's reordering, then every character is
// either drawn by the library (a self-contained ESC & / ESC % sequence) or, when no built-in
// font of the chosen width has it, sent as text in the code page for the printer's resident font.
// The placement record that fits a mark to the character before it is carried along the line and
// starts empty at each line and after each character the printer prints from its own font, since
// the library knows nothing of that character's ink.
#ifndef ZELVAR_TOOLS_PREVIEW_RECEIPT_COMPOSER_H
#define ZELVAR_TOOLS_PREVIEW_RECEIPT_COMPOSER_H

#include <string>
#include <vector>

#include "tools/preview/code_page.h"

// A character that could not be printed as written: it was printed as '?'.
struct UnprintableChar {
    char32_t code_point;
    int first_line;  // 1-based text line of its first occurrence
    int count;       // occurrences in the whole receipt
    bool control;    // a control character, rather than one the code page lacks
};

struct ComposedReceipt {
    std::vector<unsigned char> bytes;
    int lines = 0;
    long drawn_chars = 0;     // composed by the library
    long resident_chars = 0;  // sent as text for the resident font, replacements included
    std::vector<UnprintableChar> unprintable;  // in order of first occurrence
};

// True for what the printer should not show at all: the zero-width no-break space that the
// reordering leaves behind a lam-alef ligature (and a byte order mark), the zero-width joiner and
// non-joiner, and the bidi formatting characters, all of which have done their work once the
// line is in visual order.
bool IsInvisibleAfterReordering(char32_t code_point);

// The line in the order the printer prints it, without the characters above.
std::u32string VisualLine(const std::u32string& logical);

class ReceiptComposer {
  public:
    // `code_page` must be served by the library and `width` one of its font widths.
    ReceiptComposer(CodePage* code_page, int width);

    // Appends one text line (1-based `line_number`, for the notes on unprintable characters).
    void AddLine(const std::u32string& logical, int line_number);

    // The stream so far: ESC @, then every line added, each ended by LF.
    const ComposedReceipt& receipt() const { return receipt_; }

  private:
    void Note(char32_t code_point, int line_number, bool control);
    void AppendResident(char32_t code_point, int line_number);

    CodePage* code_page_;
    int width_;
    std::string replacement_;
    ComposedReceipt receipt_;
};

#endif  // ZELVAR_TOOLS_PREVIEW_RECEIPT_COMPOSER_H

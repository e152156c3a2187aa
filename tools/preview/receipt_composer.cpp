#include "tools/preview/receipt_composer.h"

#include <stdexcept>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"
#include "tools/preview/escpos.h"

namespace {

constexpr char32_t kReplacement = U'?';

// A cell with no ink known: what starts a run of characters.
constexpr _SWFONTINFO kEmptyPlacement = {255, 255, 255, 255, 0, 0};

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

bool IsInvisibleAfterReordering(char32_t c) {
    return c == 0xFEFF                       // zero-width no-break space, byte order mark
           || c == 0x200C || c == 0x200D     // zero-width non-joiner, joiner
           || c == 0x200E || c == 0x200F     // left-to-right, right-to-left mark
           || c == 0x061C                    // Arabic letter mark
           || (c >= 0x202A && c <= 0x202E)   // embeddings, overrides, pop
           || (c >= 0x2066 && c <= 0x2069);  // isolates
}

std::u32string VisualLine(const std::u32string& logical) {
    std::u32string visual;
    if (logical.empty()) return visual;
    std::vector<long> line(logical.begin(), logical.end());
    long* reordered = nullptr;
    const long count = CCFribidi::ReverseTextFixCharFribidi(line.data(), line.size(), &reordered);
    visual.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        const auto c = static_cast<char32_t>(reordered[i]);
        if (!IsInvisibleAfterReordering(c)) visual.push_back(c);
    }
    delete[] reordered;
    return visual;
}

ReceiptComposer::ReceiptComposer(CodePage* code_page, int width)
    : code_page_(code_page), width_(width), replacement_(code_page->Encode(kReplacement)) {
    if (replacement_.empty()) throw std::logic_error("the code page has no '?'");
    receipt_.bytes = {escpos::kEsc, escpos::kInitialize};  // ESC @ : reset the printer
}

void ReceiptComposer::Note(char32_t code_point, int line_number, bool control) {
    for (UnprintableChar& u : receipt_.unprintable) {
        if (u.code_point == code_point) {
            ++u.count;
            return;
        }
    }
    receipt_.unprintable.push_back({code_point, line_number, 1, control});
}

void ReceiptComposer::AppendResident(char32_t code_point, int line_number) {
    std::string text = code_page_->Encode(code_point);
    if (text.empty()) {
        Note(code_point, line_number, false);
        text = replacement_;
    }
    receipt_.bytes.insert(receipt_.bytes.end(), text.begin(), text.end());
    ++receipt_.resident_chars;
}

void ReceiptComposer::AddLine(const std::u32string& logical, int line_number) {
    // Control characters would read as printer commands, and a NUL would end the line in the
    // reordering; they are printed as '?' instead.
    std::u32string text = logical;
    for (char32_t& c : text) {
        if (IsControl(c)) {
            Note(c, line_number, true);
            c = kReplacement;
        }
    }

    _SWFONTINFO placement = kEmptyPlacement;
    unsigned char sequence[SWFONT_MAX_SEQUENCE];
    for (char32_t c : VisualLine(text)) {
        const int n = CFntMngr::GetFontDrawBuffer(static_cast<int>(c), code_page_->number(), width_,
                                                  SWFONT_HEIGHT, sequence, &placement,
                                                  SWFONT_JUSTIFICATION_NONE);
        if (n > 0) {
            receipt_.bytes.insert(receipt_.bytes.end(), sequence, sequence + n);
            ++receipt_.drawn_chars;
            continue;
        }
        if (n != SWFONT_ERR_NO_GLYPH) {
            throw std::logic_error("the library refused the code page or the width");
        }
        AppendResident(c, line_number);
        // The library cannot see the ink of the printer's own characters.
        placement = kEmptyPlacement;
    }
    receipt_.bytes.push_back(escpos::kLf);  // LF : print the line
    ++receipt_.lines;
}

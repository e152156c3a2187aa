// The few ESC/POS commands a receipt of this library is made of, and the geometry of the printed
// line. The composer writes them and the interpreter reads them; both name them from here.
#ifndef ZELVAR_TOOLS_PREVIEW_ESCPOS_H
#define ZELVAR_TOOLS_PREVIEW_ESCPOS_H

namespace escpos {

constexpr unsigned char kEsc = 0x1B;  // starts every command with parameters
constexpr unsigned char kBs = 0x08;   // BS: the next character prints over the previous one
constexpr unsigned char kLf = 0x0A;   // LF: print the line and feed the paper

constexpr unsigned char kInitialize = '@';         // ESC @ : reset the printer
constexpr unsigned char kDefineUserChars = '&';    // ESC & y c1 c2 [x d...]... : define characters
constexpr unsigned char kSelectUserCharSet = '%';  // ESC % n : bit 0 of n selects the set

// Bytes below this one are commands, never characters of an ASCII-based code page.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;  // not printable either

// User-defined characters are 24 dots high: three bytes per dot column, top rows first.
constexpr int kBytesPerColumn = 3;
constexpr int kLineDots = 24;

// The printer's resident font: 12 x 24 cells, and 24 x 24 for the double-byte characters of the
// Japanese and Chinese code pages.
constexpr int kResidentCellWidth = 12;
constexpr int kResidentWideCellWidth = 24;

// Paper fed by one LF: the 24 dots of the line and 6 dots of line spacing.
constexpr int kLinePitch = 30;

// 80 mm paper at 203 dpi.
constexpr int kDefaultPaperDots = 576;

}  // namespace escpos

#endif  // ZELVAR_TOOLS_PREVIEW_ESCPOS_H

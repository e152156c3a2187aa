// The ESC/POS bytes and the geometry of the printed line that the printer model reads.
#ifndef ZELVAR_TOOLS_PREVIEW_ESCPOS_H
#define ZELVAR_TOOLS_PREVIEW_ESCPOS_H

namespace escpos {

// Bytes that start a command with parameters.
constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kFs = 0x1C;
constexpr unsigned char kGs = 0x1D;
constexpr unsigned char kDle = 0x10;

// One-byte commands.
constexpr unsigned char kBs = 0x08;  // BS: the next character prints over the previous one
constexpr unsigned char kHt = 0x09;  // HT: move to the next tab position
constexpr unsigned char kLf = 0x0A;  // LF: print the line and feed the paper
constexpr unsigned char kCr = 0x0D;  // CR: nothing, with automatic line feed off

// Second bytes of ESC commands.
constexpr unsigned char kSelectPrintMode = '!';     // ESC ! n : emphasis, double size
constexpr unsigned char kAbsolutePosition = '$';    // ESC $ nL nH : dots from the left edge
constexpr unsigned char kSelectUserCharSet = '%';   // ESC % n : bit 0 of n selects the set
constexpr unsigned char kDefineUserChars = '&';     // ESC & y c1 c2 [x d...]... : define
constexpr unsigned char kBitImage = '*';            // ESC * m nL nH d... : a bit image in the line
constexpr unsigned char kDefaultSpacing = '2';      // ESC 2 : line spacing back to the default
constexpr unsigned char kLineSpacing = '3';         // ESC 3 n : line spacing of n dots
constexpr unsigned char kCancelUserChar = '?';      // ESC ? n : forget the user-defined n
constexpr unsigned char kInitialize = '@';          // ESC @ : reset the printer
constexpr unsigned char kEmphasis = 'E';            // ESC E n : bit 0 of n turns emphasis on
constexpr unsigned char kFeedDots = 'J';            // ESC J n : print and feed n dots
constexpr unsigned char kRelativePosition = '\\';   // ESC \ nL nH : signed dots from here
constexpr unsigned char kAlign = 'a';               // ESC a n : left, centre, right
constexpr unsigned char kFeedLines = 'd';           // ESC d n : print and feed n lines
constexpr unsigned char kPartialCutOnePoint = 'i';  // ESC i : cut (an older form of GS V)
constexpr unsigned char kPartialCutThreePoints = 'm';  // ESC m : cut (an older form of GS V)
constexpr unsigned char kSelectCodeTable = 't';        // ESC t n : code table of bytes 0x80+

// Second bytes of FS and GS commands.
constexpr unsigned char kKanjiOn = '&';        // FS & : double-byte characters
constexpr unsigned char kKanjiOff = '.';       // FS . : single-byte characters again
constexpr unsigned char kCharacterSize = '!';  // GS ! n : width and height multipliers
constexpr unsigned char kCut = 'V';            // GS V m [n] : cut the paper
constexpr unsigned char kRasterImage = 'v';    // GS v 0 m xL xH yL yH d... : raster image
constexpr unsigned char kRasterImageFn = '0';  // the third byte of GS v 0

// Bytes below this one are commands, never characters of an ASCII-based code page.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;  // not printable either

// User-defined characters are 24 dots high: three bytes per dot column, top rows first.
constexpr int kBytesPerColumn = 3;
constexpr int kLineDots = 24;
// Codes a user-defined character may have: the printers this library serves take up to 0xFE
// (the 24-dot font is printed as 0x80).
constexpr int kFirstUserCode = 0x20;
constexpr int kLastUserCode = 0xFE;
// The widest user-defined character the model takes: a double-byte cell.
constexpr int kMaxUserColumns = 24;

// The printer's resident font: 12 x 24 cells, and 24 x 24 for the double-byte characters of the
// Japanese and Chinese code pages.
constexpr int kResidentCellWidth = 12;
constexpr int kResidentWideCellWidth = 24;
// Tab positions are every 8 characters of the resident font.
constexpr int kTabDots = 8 * kResidentCellWidth;

// GS ! multiplies width and height by 1 to 8.
constexpr int kMaxMagnification = 8;

// Paper fed by one LF at power-on: the 24 dots of the line and 6 dots of line spacing (ESC 2).
constexpr int kLinePitch = 30;

// 80 mm paper at 203 dpi.
constexpr int kDefaultPaperDots = 576;

}  // namespace escpos

#endif  // ZELVAR_TOOLS_PREVIEW_ESCPOS_H

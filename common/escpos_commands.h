// The bytes of the ESC/POS commands that this library's command sequences are made of, and that
// the receipt tools and the tests read back. Constants only: one definition for every part that
// writes or reads printer bytes.
#ifndef ZELVAR_COMMON_ESCPOS_COMMANDS_H
#define ZELVAR_COMMON_ESCPOS_COMMANDS_H

namespace escpos {

// Control bytes.
constexpr unsigned char kEsc = 0x1B;  // starts every command with parameters
constexpr unsigned char kFs = 0x1C;   // starts the double-byte (Kanji) commands
constexpr unsigned char kGs = 0x1D;   // starts the graphics and size commands
constexpr unsigned char kBs = 0x08;   // BS: the next character prints over the previous one
constexpr unsigned char kLf = 0x0A;   // LF: print the line and feed the paper

// Second bytes of the ESC commands.
constexpr unsigned char kInitialize = '@';          // ESC @ : reset the printer
constexpr unsigned char kDefineUserChars = '&';     // ESC & y c1 c2 [x d...]... : define characters
constexpr unsigned char kSelectUserCharSet = '%';   // ESC % n : bit 0 of n selects the set
constexpr unsigned char kCancelUserChar = '?';      // ESC ? n : forget user-defined character n
constexpr unsigned char kSelectCodeTable = 't';     // ESC t n : choose the single-byte code table
constexpr unsigned char kAbsolutePosition = '$';    // ESC $ nL nH : move to a dot column
constexpr unsigned char kRelativePosition = '\\';   // ESC \ nL nH : move by dots
constexpr unsigned char kLineSpacing = '3';         // ESC 3 n : lines n dots apart
constexpr unsigned char kDefaultLineSpacing = '2';  // ESC 2 : the printer's own line spacing
constexpr unsigned char kAlign = 'a';               // ESC a n : 0 left, 1 centre, 2 right

// Second bytes of the FS commands.
constexpr unsigned char kKanjiOn = '&';   // FS & : bytes of the lead range start a two-byte code
constexpr unsigned char kKanjiOff = '.';  // FS . : every byte is one character again

// ESC % n: bit 0 selects (1) or cancels (0) the user-defined set. The library's sequences end
// with ESC % 0 and then ESC % AA, a second cancel (0xAA has bit 0 clear).
constexpr unsigned char kUserCharSetOn = 0x01;
constexpr unsigned char kUserCharSetOff = 0x00;
constexpr unsigned char kUserCharSetTrailer = 0xAA;

// The user-defined character codes the library defines and prints: one code for the three narrow
// fonts, and one from the upper half of the table for the 24-dot font, which printers keep there.
constexpr unsigned char kNarrowCharCode = 0x41;
constexpr unsigned char kWideCharCode = 0x80;

// ESC & y: bytes per dot column of a 24-dot-high character.
constexpr unsigned char kBytesPerColumn = 3;

// Bytes ESC & takes before the first column's data: ESC & y c1 c2 x.
constexpr int kDefineHeaderBytes = 6;

}  // namespace escpos

#endif  // ZELVAR_COMMON_ESCPOS_COMMANDS_H

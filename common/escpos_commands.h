// SPDX-License-Identifier: Apache-2.0
// The bytes of the ESC/POS commands that this library's command sequences, the receipt encoder's
// output and the receipt preview's printer model are made of. Constants only: one definition for
// every part that writes or reads printer bytes.
#ifndef ZELVAR_COMMON_ESCPOS_COMMANDS_H
#define ZELVAR_COMMON_ESCPOS_COMMANDS_H

namespace escpos {

// Bytes that start a command with parameters.
constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kFs = 0x1C;  // the double-byte (Kanji) commands
constexpr unsigned char kGs = 0x1D;  // graphics, character size, cut
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

// ESC % n: bit 0 selects (1) or cancels (0) the user-defined set. The library's sequences end
// with ESC % 0 and then ESC % AA, a second cancel (0xAA has bit 0 clear).
constexpr unsigned char kUserCharSetOn = 0x01;
constexpr unsigned char kUserCharSetOff = 0x00;
constexpr unsigned char kUserCharSetTrailer = 0xAA;

// The user-defined character codes the library defines and prints: one code for the three narrow
// fonts, and one from the upper half of the table for the 24-dot font, which printers keep there.
constexpr unsigned char kNarrowCharCode = 0x41;
constexpr unsigned char kWideCharCode = 0x80;

// ESC & y: bytes per dot column of a 24-dot-high character, top rows first.
constexpr unsigned char kBytesPerColumn = 3;

}  // namespace escpos

#endif  // ZELVAR_COMMON_ESCPOS_COMMANDS_H

// SPDX-License-Identifier: Apache-2.0
// The geometry of the printed line that the printer model reads, beside the command bytes that
// every part of the project names from common/escpos_commands.h.
#ifndef ZELVAR_TOOLS_PREVIEW_ESCPOS_H
#define ZELVAR_TOOLS_PREVIEW_ESCPOS_H

#include "common/escpos_commands.h"

namespace escpos {

// Bytes below this one are commands, never characters of an ASCII-based code page.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;  // not printable either

// User-defined characters are 24 dots high.
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

// SPDX-License-Identifier: Apache-2.0
// The receipt as text, for a terminal or a diff: its printed lines, or every character cell with
// where it landed.
#ifndef ZELVAR_TOOLS_PREVIEW_TEXT_OUTPUT_H
#define ZELVAR_TOOLS_PREVIEW_TEXT_OUTPUT_H

#include <ostream>

#include "tools/preview/escpos_interpreter.h"

// One UTF-8 line per printed line.
void WriteText(const InterpretResult& printed, std::ostream& out);

// One line per character cell: line, paper row, x, width (dots), U+code point, then "user"
// (downloaded) or "resident", and "over" after a BS; fields separated by TABs.
void WriteCells(const InterpretResult& printed, std::ostream& out);

#endif  // ZELVAR_TOOLS_PREVIEW_TEXT_OUTPUT_H

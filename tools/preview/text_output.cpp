// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/text_output.h"

#include <cstdio>

void WriteText(const InterpretResult& printed, std::ostream& out) {
    for (const std::string& line : printed.text) out << line << "\n";
}

void WriteCells(const InterpretResult& printed, std::ostream& out) {
    for (const PrintedCell& c : printed.cells) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c.code_point));
        out << c.line << '\t' << c.y << '\t' << c.x << '\t' << c.width << '\t' << code << '\t'
            << (c.user_defined ? "user" : "resident") << (c.overstrike ? "\tover" : "") << "\n";
    }
}

// SPDX-License-Identifier: Apache-2.0
// What differs from printer to printer in how it reads a stream: which code page each ESC t
// number selects, and whether it starts in Kanji (double-byte) mode.
#ifndef ZELVAR_TOOLS_PREVIEW_PRINTER_PROFILE_H
#define ZELVAR_TOOLS_PREVIEW_PRINTER_PROFILE_H

#include <map>
#include <string>
#include <vector>

struct PrinterProfile {
    std::string name;
    // ESC t number -> code page. A table not listed reads ASCII only. Table 0, where the printer
    // starts, is PC437 in every numbering we know.
    std::map<int, int> code_tables;
    bool starts_in_kanji_mode = false;
    // The double-byte code page the printer reads in Kanji mode.
    int kanji_code_page = 932;

    // The built-in profiles: "reference" (the command set's reference numbering, the default)
    // and "clone58" (the numbering of a widespread 58 mm clone). False for any other name.
    static bool Named(const std::string& name, PrinterProfile* profile);
    static std::vector<std::string> Names();

    // The profile of a model of the public printer database (tools/preview/printer_models.h),
    // with every ESC t number whose code page iconv can read (a table left out is reported when
    // a stream selects it), and the model's paper width. False for an unknown id.
    static bool Model(const std::string& id, PrinterProfile* profile, int* paper_dots);

    // Reads "N=CP" (an ESC t number 0..255 and a code page the library serves) into the table.
    // False with a one-line reason otherwise.
    bool AddCodeTable(const std::string& mapping, std::string* error);
};

// The code pages that are double-byte in Kanji mode: 932, 936, 54936.
bool IsDoubleByteCodePage(int code_page);

#endif  // ZELVAR_TOOLS_PREVIEW_PRINTER_PROFILE_H

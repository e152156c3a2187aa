// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/printer_profile.h"

#include <cerrno>
#include <cstdlib>

#include "fontmgr/fntmngr.h"
#include "tools/preview/code_page.h"
#include "tools/preview/printer_models.h"

namespace {

// The code pages by the names the tables are known by.
constexpr int kPc437 = 437, kPc720 = 720, kPc862 = 862, kPc864 = 864, kPc1098 = 1098;
constexpr int kWpc1255 = 1255, kWpc1256 = 1256;

bool ParseInt(const std::string& text, long low, long high, int* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

// The code page number of a code-page name of the printer database ("cp437", "windows1252",
// "iso8859-15"), or 0 for a table that has no number iconv knows (a vendor's own table).
int CodePageOfName(const std::string& name) {
    int number = 0;
    if (name.compare(0, 2, "cp") == 0 && ParseInt(name.substr(2), 1, 65535, &number)) {
        return number;
    }
    if (name.compare(0, 7, "windows") == 0 && ParseInt(name.substr(7), 1, 65535, &number)) {
        return number;
    }
    if (name.compare(0, 7, "iso8859") == 0 && ParseInt(name.substr(8), 1, 15, &number)) {
        return 28590 + number;
    }
    return 0;
}

}  // namespace

bool PrinterProfile::Model(const std::string& id, PrinterProfile* profile, int* paper_dots) {
    for (const preview_models::PrinterModel& m : preview_models::kPrinterModels) {
        if (id != m.id) continue;
        PrinterProfile p;
        p.name = m.id;
        for (std::size_t i = 0; i < m.tableCount; ++i) {
            const int code_page = CodePageOfName(m.tables[i].name);
            // The library's own code pages are read even where iconv lacks them (720, 1098).
            const bool readable = code_page != 0 && (IsCPSupported(code_page) ||
                                                     !CodePage(code_page).iconv_name().empty());
            if (readable) p.code_tables[m.tables[i].number] = code_page;
        }
        *profile = p;
        *paper_dots = m.paperDots;
        return true;
    }
    return false;
}

bool PrinterProfile::Named(const std::string& name, PrinterProfile* profile) {
    PrinterProfile p;
    p.name = name;
    if (name == "reference") {
        p.code_tables = {{0, kPc437},   {32, kPc720},   {36, kPc862},  {37, kPc864},
                         {41, kPc1098}, {49, kWpc1255}, {50, kWpc1256}};
        p.starts_in_kanji_mode = false;
        p.kanji_code_page = 932;
    } else if (name == "clone58") {
        // This numbering has no table for PC1098.
        p.code_tables = {{0, kPc437},  {93, kPc720},   {8, kPc862},
                         {28, kPc864}, {32, kWpc1255}, {92, kWpc1256}};
        // Printers of this kind are sold for Chinese text: they start in Kanji mode and read
        // GB18030, whose two-byte characters are those of GBK.
        p.starts_in_kanji_mode = true;
        p.kanji_code_page = 54936;
    } else {
        return false;
    }
    *profile = p;
    return true;
}

std::vector<std::string> PrinterProfile::Names() {
    return {"reference", "clone58"};
}

bool PrinterProfile::AddCodeTable(const std::string& mapping, std::string* error) {
    const std::size_t equals = mapping.find('=');
    int table = 0, code_page = 0;
    if (equals == std::string::npos || !ParseInt(mapping.substr(0, equals), 0, 255, &table) ||
        !ParseInt(mapping.substr(equals + 1), 1, 65535, &code_page)) {
        *error = "invalid code table '" + mapping + "': give N=CP, an ESC t number 0 to 255 " +
                 "and a code page";
        return false;
    }
    if (!IsCPSupported(code_page) || IsDoubleByteCodePage(code_page)) {
        *error = "invalid code table '" + mapping + "': " + std::to_string(code_page) +
                 " is not a single-byte code page the library serves";
        return false;
    }
    code_tables[table] = code_page;
    return true;
}

bool IsDoubleByteCodePage(int code_page) {
    return code_page == 932 || code_page == 936 || code_page == 54936;
}

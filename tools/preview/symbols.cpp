// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/symbols.h"

#ifdef ZELVAR_PREVIEW_ZINT
#include <zint.h>
#endif

#include <memory>

namespace preview_symbols {
namespace {

#ifdef ZELVAR_PREVIEW_ZINT

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// zint keeps the modules of a row one bit each, the first in the lowest bit.
bool ModuleIsSet(const zint_symbol& s, int row, int column) {
    return ((s.encoded_data[row][column >> 3] >> (column & 7)) & 1) != 0;
}

bool Encode(int symbology, int option_1, const std::string& data, Modules* modules,
            std::string* error) {
    Symbol s(ZBarcode_Create());
    if (!s) {
        *error = "out of memory";
        return false;
    }
    s->symbology = symbology;
    s->input_mode = DATA_MODE;
    if (option_1 > 0) s->option_1 = option_1;
    const int status = ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(data.data()),
                                       static_cast<int>(data.size()));
    if (status >= ZINT_ERROR) {
        *error = s->errtxt;
        return false;
    }
    modules->width = s->width;
    modules->height = s->rows;
    modules->dark.assign(static_cast<std::size_t>(s->width) * static_cast<std::size_t>(s->rows),
                         false);
    for (int y = 0; y < s->rows; ++y) {
        for (int x = 0; x < s->width; ++x) {
            modules->dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(s->width) +
                          static_cast<std::size_t>(x)] = ModuleIsSet(*s, y, x);
        }
    }
    return true;
}
#else
// Without a symbol library every symbol is refused; the names stand in for zint's.
constexpr int BARCODE_QRCODE = 0, BARCODE_UPCA = 0, BARCODE_UPCA_CHK = 0, BARCODE_UPCE = 0,
              BARCODE_UPCE_CHK = 0, BARCODE_EANX = 0, BARCODE_EANX_CHK = 0, BARCODE_CODE39 = 0,
              BARCODE_C25INTER = 0, BARCODE_CODABAR = 0, BARCODE_CODE93 = 0, BARCODE_CODE128 = 0;

bool Encode(int, int, const std::string&, Modules*, std::string* error) {
    *error = "this build of the preview has no symbol library (zint)";
    return false;
}
#endif

// The characters a CODE128 barcode holds, from the printer's form: "{A", "{B", "{C" select a
// code set, "{{" is a brace, and in set C each byte is two digits.
bool Code128Text(const std::string& data, std::string* text, std::string* error) {
    char set = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b == '{' && i + 1 < data.size()) {
            const char next = data[++i];
            if (next == 'A' || next == 'B' || next == 'C') {
                set = next;
                continue;
            }
            if (next != '{') {
                *error = std::string("CODE128 function {") + next + " is not drawn";
                return false;
            }
        } else if (set == 'C') {
            if (b > 99) {
                *error = "CODE128 code set C byte over 99";
                return false;
            }
            *text += static_cast<char>('0' + b / 10);
            *text += static_cast<char>('0' + b % 10);
            continue;
        }
        if (set == 0) {
            *error = "CODE128 data must start with {A, {B or {C";
            return false;
        }
        *text += data[i];
    }
    return true;
}

}  // namespace

bool QrCode(const std::string& data, int level, Modules* modules, std::string* error) {
    return Encode(BARCODE_QRCODE, level + 1, data, modules, error);
}

std::string BarcodeName(int m) {
    switch (m) {
        case 0:
        case 65:
            return "UPC-A";
        case 1:
        case 66:
            return "UPC-E";
        case 2:
        case 67:
            return "EAN-13";
        case 3:
        case 68:
            return "EAN-8";
        case 4:
        case 69:
            return "CODE39";
        case 5:
        case 70:
            return "ITF";
        case 6:
        case 71:
            return "CODABAR";
        case 72:
            return "CODE93";
        case 73:
            return "CODE128";
        default:
            return "barcode " + std::to_string(m);
    }
}

bool Barcode(int m, const std::string& data, Modules* modules, std::string* text,
             std::string* error) {
    const std::string name = BarcodeName(m);
    std::string content = data;
    int symbology = 0;
    if (name == "UPC-A") {
        symbology = data.size() == 12 ? BARCODE_UPCA_CHK : BARCODE_UPCA;
    } else if (name == "UPC-E") {
        symbology = data.size() == 8 ? BARCODE_UPCE_CHK : BARCODE_UPCE;
    } else if (name == "EAN-13") {
        symbology = data.size() == 13 ? BARCODE_EANX_CHK : BARCODE_EANX;
    } else if (name == "EAN-8") {
        symbology = data.size() == 8 ? BARCODE_EANX_CHK : BARCODE_EANX;
    } else if (name == "CODE39") {
        symbology = BARCODE_CODE39;
    } else if (name == "ITF") {
        symbology = BARCODE_C25INTER;
    } else if (name == "CODABAR") {
        symbology = BARCODE_CODABAR;
    } else if (name == "CODE93") {
        symbology = BARCODE_CODE93;
    } else if (name == "CODE128") {
        symbology = BARCODE_CODE128;
        content.clear();
        if (!Code128Text(data, &content, error)) return false;
    } else {
        *error = name + " is not drawn";
        return false;
    }
    if (!Encode(symbology, 0, content, modules, error)) {
        *error = name + ": " + *error;
        return false;
    }
    *text = content;
    return true;
}

}  // namespace preview_symbols

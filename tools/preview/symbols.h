// SPDX-License-Identifier: Apache-2.0
// The symbols a printer draws itself, QR codes and barcodes, as the printer model reads them from
// GS ( k and GS k: the modules come from a real symbol library (zint), so that the picture of a
// receipt reads back with any scanner.
#ifndef ZELVAR_TOOLS_PREVIEW_SYMBOLS_H
#define ZELVAR_TOOLS_PREVIEW_SYMBOLS_H

#include <string>
#include <vector>

namespace preview_symbols {

// A symbol's dark modules, row after row.
struct Modules {
    int width = 0;
    int height = 0;
    std::vector<bool> dark;
    bool At(int x, int y) const {
        return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
};

// The QR code (model 2) of `data` at error correction level 0 to 3 (L, M, Q, H). False with a
// reason when the data does not fit.
bool QrCode(const std::string& data, int level, Modules* modules, std::string* error);

// The one row of modules of a barcode of GS k symbology `m` (function A 0 to 6 or function B 65 to
// 73) and its data bytes as the printer takes them (CODE128 with its {A {B {C code-set selectors).
// `text` receives the human-readable text printed under or over the bars. False with a reason for
// data the symbology refuses.
bool Barcode(int m, const std::string& data, Modules* modules, std::string* text,
             std::string* error);

// The name of a GS k symbology, for the printed text and the warnings.
std::string BarcodeName(int m);

}  // namespace preview_symbols

#endif  // ZELVAR_TOOLS_PREVIEW_SYMBOLS_H

// SPDX-License-Identifier: Apache-2.0
// The symbols the printer draws itself: QR codes (GS ( k) and barcodes (GS k), placed at the
// current justification with their text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "tools/preview/printer_state_internal.h"
#include "tools/preview/symbols.h"

using namespace preview_internal;  // the model's own constants and types

bool EscPosInterpreter::State::SymbolFunction(std::uint64_t p) {
    const std::uint64_t length = 5 + p;
    if (!Need(length, "GS ( k (symbol)")) return false;
    at = command + static_cast<std::size_t>(length);
    if (p < 2 || bytes[command + 5] != kQrSymbol) {
        Warn("skipped GS ( k of a symbol other than a QR code", command);
        return true;
    }
    const unsigned char fn = bytes[command + 6];
    const unsigned char* parameters = bytes + command + 7;
    const std::size_t count = static_cast<std::size_t>(p - 2);
    switch (fn) {
        case kQrModel:
            if (count >= 1 && parameters[0] != '2')
                Warn("QR code model 1 drawn as model 2", command);
            return true;
        case kQrModuleSize:
            if (count >= 1 && parameters[0] >= 1 && parameters[0] <= 16) qr_module = parameters[0];
            return true;
        case kQrErrorCorrection:
            if (count >= 1 && parameters[0] >= '0' && parameters[0] <= '3') {
                qr_level = parameters[0] - '0';
            }
            return true;
        case kQrStore:
            // The first parameter is m = '0'; the data follow it.
            qr_data.assign(parameters + std::min<std::size_t>(count, 1), parameters + count);
            return true;
        case kQrPrint: {
            preview_symbols::Modules modules;
            std::string error;
            if (qr_data.empty() || !preview_symbols::QrCode(qr_data, qr_level, &modules, &error)) {
                Warn("skipped a QR code that does not encode: " +
                         (qr_data.empty() ? std::string("no data stored") : error),
                     command);
                return true;
            }
            return PrintSymbol(modules, qr_module, qr_module,
                               "[QR code: " + Printable(qr_data) + "]", "");
        }
        default:
            Warn("skipped GS ( k QR code function " + std::to_string(fn), command);
            return true;
    }
}

bool EscPosInterpreter::State::PrintBarcode(int m, const std::string& data) {
    if (line_has_data) {
        // Printers take a symbol only at the start of a line.
        Warn("skipped a symbol after characters on its line", command);
        return true;
    }
    preview_symbols::Modules modules;
    std::string text, error;
    if (!preview_symbols::Barcode(m, data, &modules, &text, &error)) {
        Warn("skipped a barcode that does not encode: " + error, command);
        return true;
    }
    preview_symbols::Modules bars;
    bars.width = modules.width;
    bars.height = 1;
    bars.dark.assign(modules.dark.begin(), modules.dark.begin() + modules.width);
    return PrintSymbol(bars, bar_module, bar_height,
                       "[" + preview_symbols::BarcodeName(m) + ": " + Printable(text) + "]",
                       Printable(text));
}

std::string EscPosInterpreter::State::Printable(const std::string& data) {
    std::string s;
    for (const char ch : data) {
        const unsigned char b = static_cast<unsigned char>(ch);
        s += b < escpos::kFirstPrintable || b >= escpos::kDelete ? '?' : ch;
    }
    return s;
}

bool EscPosInterpreter::State::PrintSymbol(const preview_symbols::Modules& modules,
                                           int module_width, int module_height,
                                           const std::string& read_back,
                                           const std::string& caption) {
    if (line_has_data) {
        // Printers take a symbol only at the start of a line.
        Warn("skipped a symbol after characters on its line", command);
        return true;
    }
    const int width = modules.width * module_width;
    if (width > setup.paper_dots) {
        Warn("skipped a symbol wider than the paper", command);
        return true;
    }
    const int height = modules.height * module_height;
    const bool above = !caption.empty() && (bar_text & 1),
               below = !caption.empty() && (bar_text & 2);
    const int total = height + (above ? kLineDots : 0) + (below ? kLineDots : 0);
    if (!Lengthen(paper_y + total)) return false;
    const int offset = AlignmentOffset(alignment, width);
    if (above) Caption(caption, offset, width);
    for (int my = 0; my < modules.height; ++my) {
        for (int mx = 0; mx < modules.width; ++mx) {
            if (!modules.At(mx, my)) continue;
            for (int dy = 0; dy < module_height; ++dy) {
                for (int dx = 0; dx < module_width; ++dx) {
                    page->Ink(offset + mx * module_width + dx, paper_y + my * module_height + dy);
                }
            }
        }
    }
    paper_y += height;
    if (below) Caption(caption, offset, width);
    result->text.push_back(read_back);
    return true;
}

void EscPosInterpreter::State::Caption(const std::string& text, int offset, int width) {
    LineStrip strip(setup.paper_dots, kLineDots);
    const int characters = static_cast<int>(text.size());
    int cx = offset + std::max(0, (width - characters * escpos::kResidentCellWidth) / 2);
    for (const char ch : text) {
        if (font != nullptr) {
            font->Draw(static_cast<unsigned char>(ch), escpos::kResidentCellWidth, cx, &strip);
        }
        cx += escpos::kResidentCellWidth;
    }
    for (int row = 0; row < kLineDots; ++row) {
        for (int col = 0; col < setup.paper_dots; ++col) {
            if (strip.IsInked(col, row)) page->Ink(col, paper_y + row);
        }
    }
    paper_y += kLineDots;
}

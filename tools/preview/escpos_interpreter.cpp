// SPDX-License-Identifier: Apache-2.0
// The printer model's entry: reads a stream step by step through the byte reader, from the
// printer's state after power-on.
#include "tools/preview/escpos_interpreter.h"

#include "tools/preview/printer_state_internal.h"

EscPosInterpreter::EscPosInterpreter(const PrinterSetup& setup, ResidentFont* font)
    : state_(std::make_unique<State>(setup, font)) {}

EscPosInterpreter::~EscPosInterpreter() = default;

InterpretResult EscPosInterpreter::Run(const unsigned char* bytes, std::size_t size, Page* page) {
    State& s = *state_;
    InterpretResult result;
    s.bytes = bytes;
    s.size = size;
    s.at = 0;
    s.page = page;
    s.result = &result;
    s.paper_y = 0;
    s.warnings.clear();
    s.warning_index.clear();
    s.Reset();
    while (s.at < size) {
        if (!s.Step()) break;
    }
    if (result.ok) result.unprinted_tail = s.line_has_data;
    for (const State::Warning& w : s.warnings) {
        result.warnings.push_back(
            w.message + " at byte offset " + std::to_string(w.first) +
            (w.count > 1 ? " (and " + std::to_string(w.count - 1) + " more)" : ""));
    }
    s.bytes = nullptr;
    s.page = nullptr;
    s.result = nullptr;
    return result;
}

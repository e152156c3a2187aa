// SPDX-License-Identifier: Apache-2.0
// The printer's resident font, drawn from system fonts through FreeType.
#ifndef ZELVAR_TOOLS_PREVIEW_RESIDENT_FONT_H
#define ZELVAR_TOOLS_PREVIEW_RESIDENT_FONT_H

#include <memory>
#include <string>
#include <vector>

#include "tools/preview/escpos_interpreter.h"

// Draws each character from the first face that has it: a monospace face for the 12-dot cells,
// others behind it for what that face lacks (Hebrew, the ideographs of the double-byte code
// pages). A character no face has is drawn as an empty box, as printers do.
class FreeTypeResidentFont : public ResidentFont {
  public:
    // The monospace face the resident font is drawn from on Debian (fonts-dejavu-core).
    static const char* const kDefaultFace;
    // Faces tried after it when they are installed.
    static std::vector<std::string> DefaultFallbacks();

    // Opens `main_face` (which must open) and those `fallbacks` that exist. Returns null with a
    // one-line reason in `error` when the main face cannot be read.
    static std::unique_ptr<FreeTypeResidentFont> Open(const std::string& main_face,
                                                      const std::vector<std::string>& fallbacks,
                                                      std::string* error);
    ~FreeTypeResidentFont() override;

    void Draw(char32_t code_point, int cell_width, int x, LineStrip* strip) override;

  private:
    struct Impl;
    explicit FreeTypeResidentFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

#endif  // ZELVAR_TOOLS_PREVIEW_RESIDENT_FONT_H

// SPDX-License-Identifier: Apache-2.0
// The printed page as a PNG picture, and writing output files without leaving partial ones.
#ifndef ZELVAR_TOOLS_PREVIEW_PNG_OUTPUT_H
#define ZELVAR_TOOLS_PREVIEW_PNG_OUTPUT_H

#include <string>
#include <vector>

#include "tools/preview/escpos_interpreter.h"

// A 1-bit greyscale PNG of the page, black ink on white paper, each dot `scale` x `scale` pixels.
// A page without lines still gives a picture one row high, since PNG has no empty picture.
std::vector<unsigned char> EncodePagePng(const Page& page, int scale);

// Writes files so that each either appears complete under its name or not at all: every file
// goes to a temporary file in its own directory first, and only when all of them are written are
// they renamed into place. Whatever fails, no temporary file stays behind.
class AtomicFileSet {
  public:
    AtomicFileSet() = default;
    ~AtomicFileSet();
    AtomicFileSet(const AtomicFileSet&) = delete;
    AtomicFileSet& operator=(const AtomicFileSet&) = delete;

    // Writes `bytes` to a temporary file beside `path`. False with a one-line reason on failure.
    bool Stage(const std::string& path, const std::vector<unsigned char>& bytes,
               std::string* error);
    // Renames every staged file into place. False with a one-line reason on failure.
    bool Commit(std::string* error);

  private:
    struct Staged {
        std::string temporary, path;
    };
    std::vector<Staged> staged_;
};

#endif  // ZELVAR_TOOLS_PREVIEW_PNG_OUTPUT_H

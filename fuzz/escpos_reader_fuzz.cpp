// SPDX-License-Identifier: Apache-2.0
// The printer model over any byte stream: it never crashes and never reads past the stream, and
// it always ends with a picture (and the same one when the stream is read again) or with an
// error that names an offset inside the stream.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "tools/preview/escpos_interpreter.h"
#include "tools/preview/png_output.h"

namespace {

constexpr int kCodePages[] = {0, 1256, 864, 862, 1255, 290, 720};
constexpr int kMinPaper = 48;
// Short paper keeps each run fast; the limit is reached by feeds, images and cuts.
constexpr int kMaxPageDots = 4096;
constexpr int kMaxPictureRows = 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t mode = in.Byte();
    PrinterSetup setup;
    PrinterProfile::Named((mode & 1) ? "clone58" : "reference", &setup.profile);
    if (mode & 2) setup.profile.kanji_code_page = (mode & 4) ? 936 : 932;
    setup.code_page = kCodePages[(mode >> 3) % (sizeof kCodePages / sizeof kCodePages[0])];
    setup.paper_dots = kMinPaper + in.Byte();
    setup.max_page_dots = kMaxPageDots;

    // The stream is the rest of the fuzzer's own buffer, so reading past it is caught.
    const std::uint8_t* stream = in.Rest();
    const std::size_t length = in.Remaining();
    EscPosInterpreter printer(setup, nullptr);
    Page page(setup.paper_dots);
    const InterpretResult result = printer.Run(stream, length, &page);
    if (result.ok) {
        FUZZ_CHECK(result.error.empty());
        FUZZ_CHECK(page.width() == setup.paper_dots);
        FUZZ_CHECK(page.height() >= 0 && page.height() <= kMaxPageDots);
    } else {
        FUZZ_CHECK(!result.error.empty());
        FUZZ_CHECK(result.error_offset < length);
    }
    // A second reading by the same printer starts from power-on again.
    Page again(setup.paper_dots);
    const InterpretResult second = printer.Run(stream, length, &again);
    FUZZ_CHECK(second.ok == result.ok && second.error_offset == result.error_offset);
    FUZZ_CHECK(second.text == result.text && second.warnings == result.warnings);
    FUZZ_CHECK(again.height() == page.height());
    if (result.ok && page.height() <= kMaxPictureRows) {
        const std::vector<unsigned char> picture = EncodePagePng(page, 1);
        FUZZ_CHECK(picture.size() > 8);
        FUZZ_CHECK(EncodePagePng(again, 1) == picture);
    }
    return 0;
}

// Prints, as hex, the printer bytes for one Arabic word: the word is put into visual order (with
// its letters joined), then each character is composed with the placement record carried from
// one character to the next, as the Java side does it. Linked through the exported interface only.
#include <cstdio>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"

int main() {
    // "مَرحَبًا" (hello): meem, fatha, reh, hah, fatha, beh, fathatan, alef.
    long word[] = {0x0645, 0x064E, 0x0631, 0x062D, 0x064E, 0x0628, 0x064B, 0x0627};
    constexpr int kCodePage = 1256;  // Windows Arabic
    constexpr int kWidth = 13;

    long* visual = nullptr;
    const long count =
        CCFribidi::ReverseTextFixCharFribidi(word, sizeof word / sizeof word[0], &visual);
    _SWFONTINFO info = {255, 255, 255, 255, 0, 0};  // an empty cell starts the line
    unsigned char buffer[SWFONT_MAX_SEQUENCE];
    int status = 0;
    for (long i = 0; i < count; ++i) {
        const int code_point = static_cast<int>(visual[i]);
        const int n = CFntMngr::GetFontDrawBuffer(code_point, kCodePage, kWidth, SWFONT_HEIGHT,
                                                  buffer, &info, SWFONT_JUSTIFICATION_NONE);
        std::printf("U+%04X", static_cast<unsigned>(code_point));
        if (n < 0) {
            std::printf("  refused (%d)\n", n);
            status = 1;
            continue;
        }
        std::printf(" %2d bytes:", n);
        for (int b = 0; b < n; ++b) std::printf(" %02X", buffer[b]);
        std::printf("\n");
    }
    delete[] visual;
    return status;
}

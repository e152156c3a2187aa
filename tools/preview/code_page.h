// SPDX-License-Identifier: Apache-2.0
// The printer's resident code page: how the printer reads the bytes of its own characters.
//
// The conversion is glibc's iconv: the library's served code pages and the other tables printers
// carry (PC437, PC850, PC858, WPC1252, PC866, ISO 8859, ...). A code page that iconv does not know
// (DOS Arabic 720 and DOS Farsi 1098 among them) is read as ASCII in its lower half, which they
// keep, and nothing above.
#ifndef ZELVAR_TOOLS_PREVIEW_CODE_PAGE_H
#define ZELVAR_TOOLS_PREVIEW_CODE_PAGE_H

#include <iconv.h>

#include <cstddef>
#include <string>

class CodePage {
  public:
    // `number` is a code page number: the library's served ones (IsCPSupported), DOS and Windows
    // numbers (437, 850, 1252, ...), or 28591 to 28605 for ISO 8859-1 to -15.
    explicit CodePage(int number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int number() const { return number_; }
    // The iconv name used for the code page, or empty when iconv does not know it.
    const std::string& iconv_name() const { return iconv_name_; }

    // Reads one character from the first `size` bytes of `bytes`: returns the number of bytes it
    // takes (1 to 4) and stores the character, or returns 0 when the bytes do not start a
    // printable character of the code page (also when they are cut short).
    std::size_t Decode(const unsigned char* bytes, std::size_t size, char32_t* code_point);

  private:
    int number_;
    std::string iconv_name_;
    iconv_t from_printer_;
};

// One code point as UTF-8 bytes.
std::string EncodeUtf8(char32_t c);

#endif  // ZELVAR_TOOLS_PREVIEW_CODE_PAGE_H

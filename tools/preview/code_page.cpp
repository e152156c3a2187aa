// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/code_page.h"

#include <cerrno>
#include <cstdint>

#include "tools/preview/escpos.h"

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// glibc's names for the code pages. 290 and 20290 are one code page under its IBM and its
// Windows number; 28591 to 28605 are ISO 8859-1 to -15 under their Windows numbers. Empty for a
// code page glibc does not convert (DOS Arabic 720 and DOS Farsi 1098 among them).
std::string IconvName(int number) {
    switch (number) {
        case 864:
            return "IBM864";
        case 862:
            return "IBM862";
        case 290:
        case 20290:
            return "IBM290";
        case 932:
            return "CP932";
        case 936:
            return "GBK";
        case 54936:
            return "GB18030";
        case 437:
        case 737:
        case 775:
        case 850:
        case 851:
        case 852:
        case 855:
        case 857:
        case 858:
        case 860:
        case 861:
        case 863:
        case 865:
        case 866:
        case 869:
        case 874:
            return "CP" + std::to_string(number);
        default:
            if (number >= 1250 && number <= 1258) return "CP" + std::to_string(number);
            if (number >= 28591 && number <= 28605) {
                return "ISO-8859-" + std::to_string(number - 28590);
            }
            return "";
    }
}

bool IsControl(char32_t c) {
    return c < escpos::kFirstPrintable || (c >= escpos::kDelete && c < 0xA0);
}

// Runs `cd` over `in` from its initial state, flushing what it holds back; false on any failure.
bool Convert(iconv_t cd, const char* in, std::size_t in_size, std::string* out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[32];
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    if (iconv(cd, &in_ptr, &in_size, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) {
        return false;
    }
    if (iconv(cd, nullptr, nullptr, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) {
        return false;
    }
    out->assign(buffer, static_cast<std::size_t>(out_ptr - buffer));
    return true;
}

}  // namespace

CodePage::CodePage(int number) : number_(number), from_printer_(kNoConverter) {
    const std::string name = IconvName(number);
    if (name.empty()) return;
    from_printer_ = iconv_open("UTF-32LE", name.c_str());
    if (from_printer_ != kNoConverter) iconv_name_ = name;
}

CodePage::~CodePage() {
    if (from_printer_ != kNoConverter) iconv_close(from_printer_);
}

std::size_t CodePage::Decode(const unsigned char* bytes, std::size_t size, char32_t* code_point) {
    if (size == 0) return 0;
    if (from_printer_ == kNoConverter) {
        if (bytes[0] >= 0x80 || IsControl(bytes[0])) return 0;
        *code_point = bytes[0];
        return 1;
    }
    // The longest character of the served code pages is four bytes (GB18030).
    for (std::size_t length = 1; length <= 4 && length <= size; ++length) {
        std::string out;
        if (!Convert(from_printer_, reinterpret_cast<const char*>(bytes), length, &out)) {
            if (errno == EINVAL) continue;  // cut short: try one byte more
            return 0;
        }
        if (out.size() != 4) return 0;
        char32_t c = 0;
        for (int i = 3; i >= 0; --i) {
            c = (c << 8) | static_cast<unsigned char>(out[static_cast<std::size_t>(i)]);
        }
        if (IsControl(c)) return 0;
        *code_point = c;
        return length;
    }
    return 0;
}

std::string EncodeUtf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

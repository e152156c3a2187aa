// receipt-preview: UTF-8 text in; the exact bytes the printer gets, and a picture of the printed
// receipt, out.
//
// Each text line becomes one receipt line, composed the way the Java side of the library does it:
// put into visual order, every character the library can draw sent as a downloaded bitmap, the
// rest as text in the printer's code page. The picture is printed from those bytes by a model of
// the printer, so it shows what the bytes say.
#include <fcntl.h>
#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "tools/preview/code_page.h"
#include "tools/preview/escpos.h"
#include "tools/preview/escpos_interpreter.h"
#include "tools/preview/png_output.h"
#include "tools/preview/receipt_composer.h"
#include "tools/preview/resident_font.h"
#include "tools/preview/utf8_lines.h"

namespace {

constexpr const char* kProgram = "receipt-preview";
constexpr int kExitUsage = 2;     // bad input, options or files
constexpr int kExitInternal = 3;  // the composed bytes do not read back: a fault of the library

constexpr int kMinPaperDots = 48;
constexpr int kMaxPaperDots = 4096;
constexpr int kMaxScale = 8;

const char kUsage[] =
    "usage: receipt-preview [options] [FILE]\n"
    "Composes UTF-8 text (FILE, or standard input) into receipt-printer bytes, one receipt\n"
    "line per text line, and prints them onto a picture.\n"
    "  -c, --code-page N  printer code page (default 1256): 1256, 864, 720, 1098, 862, 1255,\n"
    "                     290, 20290, 932, 936, 54936\n"
    "  -w, --width N      width of the library's font: 10, 13, 18 or 24 dots (default 13)\n"
    "  -p, --paper N      paper width in dots (default 576: 80 mm at 203 dpi)\n"
    "  -o, --bytes FILE   write the printer bytes to FILE ('-': standard output)\n"
    "  -g, --png FILE     write a picture of the printed receipt to FILE\n"
    "  -s, --scale N      picture pixels per printer dot, 1 to 8 (default 1)\n"
    "      --font FILE    face of the printer's resident font (default DejaVu Sans Mono)\n"
    "  -h, --help         show this help\n";

struct Options {
    int code_page = 1256;
    int width = 13;
    int paper = escpos::kDefaultPaperDots;
    int scale = 1;
    std::string input;  // empty or "-": standard input
    std::string bytes_path;
    std::string png_path;
    std::string font = FreeTypeResidentFont::kDefaultFace;
};

// A failure that ends the run; thrown so that every staged output file is removed on the way out.
struct Failure {
    std::string message;
    int status;
};

[[noreturn]] void Fail(const std::string& message, int status = kExitUsage) {
    throw Failure{message, status};
}

// Warnings wait until the outputs are written, so that a failed run says one line only.
std::vector<std::string> deferred_warnings;

void Warn(const std::string& message) {
    deferred_warnings.push_back(message);
}

int ParseNumber(const char* option, const char* text) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < -2147483647L || value > 2147483647L) {
        Fail(std::string("invalid number for ") + option + ": '" + text + "'");
    }
    return static_cast<int>(value);
}

Options ParseOptions(int argc, char** argv) {
    static const option kLong[] = {
        {"code-page", required_argument, nullptr, 'c'},
        {"width", required_argument, nullptr, 'w'},
        {"paper", required_argument, nullptr, 'p'},
        {"bytes", required_argument, nullptr, 'o'},
        {"png", required_argument, nullptr, 'g'},
        {"scale", required_argument, nullptr, 's'},
        {"font", required_argument, nullptr, 'f'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, ":c:w:p:o:g:s:h", kLong, nullptr)) != -1) {
        switch (c) {
            case 'c':
                o.code_page = ParseNumber("--code-page", optarg);
                break;
            case 'w':
                o.width = ParseNumber("--width", optarg);
                break;
            case 'p':
                o.paper = ParseNumber("--paper", optarg);
                break;
            case 's':
                o.scale = ParseNumber("--scale", optarg);
                break;
            case 'o':
                o.bytes_path = optarg;
                break;
            case 'g':
                o.png_path = optarg;
                break;
            case 'f':
                o.font = optarg;
                break;
            case 'h':
                std::cout << kUsage;
                std::exit(0);
            case ':':
                Fail(std::string("option ") + argv[optind - 1] + " needs a value");
            default:
                Fail(std::string("unknown option ") + argv[optind - 1] + " (see --help)");
        }
    }
    if (argc - optind > 1) Fail("only one input file is read (see --help)");
    if (optind < argc) o.input = argv[optind];

    if (!IsCPSupported(o.code_page)) {
        Fail("unknown code page " + std::to_string(o.code_page) +
             ": the library serves 1256, 864, 720, 1098, 862, 1255, 290, 20290, 932, 936 and "
             "54936");
    }
    if (!CFntMngr::IsFontWidthSupported(o.width)) {
        Fail("unsupported width " + std::to_string(o.width) +
             ": the library's fonts are 10, 13, 18 and 24 dots wide");
    }
    if (o.paper < kMinPaperDots || o.paper > kMaxPaperDots) {
        Fail("unsupported paper width " + std::to_string(o.paper) + ": give " +
             std::to_string(kMinPaperDots) + " to " + std::to_string(kMaxPaperDots) + " dots");
    }
    if (o.scale < 1 || o.scale > kMaxScale) {
        Fail("unsupported scale " + std::to_string(o.scale) + ": give 1 to " +
             std::to_string(kMaxScale));
    }
    return o;
}

std::string ReadInput(const std::string& path) {
    const bool standard_input = path.empty() || path == "-";
    const std::string name = standard_input ? std::string("standard input") : path;
    const int fd = standard_input ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot read " + name + ": " + std::strerror(errno));
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            if (!standard_input) close(fd);
            Fail("cannot read " + name + ": " + std::strerror(error));
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    if (!standard_input) close(fd);
    return text;
}

std::string Utf8(char32_t c) {
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

std::string CodePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

int Run(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const std::string text = ReadInput(options.input);
    const std::string source =
        options.input.empty() || options.input == "-" ? "standard input" : options.input;

    std::vector<std::u32string> lines;
    std::size_t bad_offset = 0;
    if (!DecodeUtf8Lines(text, &lines, &bad_offset)) {
        Fail(source + ": invalid UTF-8 at byte offset " + std::to_string(bad_offset) + " (line " +
             std::to_string(lines.size() + 1) + ")");
    }

    CodePage code_page(options.code_page);
    if (code_page.iconv_name().empty()) {
        Warn("iconv does not know code page " + std::to_string(options.code_page) +
             ": only ASCII is sent to the printer's own font");
    }
    ReceiptComposer composer(&code_page, options.width);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        composer.AddLine(lines[i], static_cast<int>(i + 1));
    }
    const ComposedReceipt& receipt = composer.receipt();
    for (const UnprintableChar& u : receipt.unprintable) {
        const std::string where = " (line " + std::to_string(u.first_line) +
                                  (u.count > 1 ? ", " + std::to_string(u.count) + " times" : "") +
                                  ")";
        if (u.control) {
            Warn("control character " + CodePointName(u.code_point) + where + " printed as '?'");
        } else {
            Warn(CodePointName(u.code_point) + " " + Utf8(u.code_point) + where +
                 " is in no font of width " + std::to_string(options.width) +
                 " and not in code page " + std::to_string(options.code_page) + "; printed as '?'");
        }
    }

    // The printer model reads the bytes back in any case: a stream it cannot read is a fault.
    std::unique_ptr<FreeTypeResidentFont> font;
    if (!options.png_path.empty()) {
        std::string error;
        font = FreeTypeResidentFont::Open(options.font, FreeTypeResidentFont::DefaultFallbacks(),
                                          &error);
        if (!font) Fail(error);
    }
    Page page(options.paper);
    EscPosInterpreter printer(options.paper, &code_page, font.get());
    const InterpretResult printed = printer.Run(receipt.bytes, &page);
    if (!printed.ok) {
        Fail("the composed bytes do not read back: " + printed.error + " at byte offset " +
                 std::to_string(printed.error_offset),
             kExitInternal);
    }
    if (printed.lines_wrapped > 0) {
        Warn(std::to_string(printed.lines_wrapped) + " line break(s) added by the printer: " +
             "some lines are wider than the paper (" + std::to_string(options.paper) + " dots)");
    }

    AtomicFileSet files;
    std::string error;
    if (!options.bytes_path.empty() && options.bytes_path != "-" &&
        !files.Stage(options.bytes_path, receipt.bytes, &error)) {
        Fail(error);
    }
    if (!options.png_path.empty() &&
        !files.Stage(options.png_path, EncodePagePng(page, options.scale), &error)) {
        Fail(error);
    }
    if (!files.Commit(&error)) Fail(error);
    for (const std::string& w : deferred_warnings)
        std::cerr << kProgram << ": warning: " << w << "\n";
    if (options.bytes_path == "-") {
        std::cout.write(reinterpret_cast<const char*>(receipt.bytes.data()),
                        static_cast<std::streamsize>(receipt.bytes.size()));
        std::cout.flush();
        if (!std::cout) Fail("cannot write the printer bytes to standard output");
    } else {
        std::cout << receipt.lines << " lines, " << receipt.bytes.size()
                  << " bytes: " << receipt.drawn_chars << " characters drawn by the library, "
                  << receipt.resident_chars << " from the printer's font; page " << page.width()
                  << " x " << page.height() << " dots\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        std::cerr << kProgram << ": " << failure.message << "\n";
        return failure.status;
    }
}

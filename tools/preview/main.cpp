// SPDX-License-Identifier: Apache-2.0
// receipt-preview: printer bytes in; a picture of the printed receipt, and the receipt as text,
// out.
//
// The bytes (a file, or standard input) are read by a model of the printer, so the picture shows
// what the bytes say: the characters the library draws as they are downloaded, the rest from the
// printer's own font through the code table the stream selects. The text shows each downloaded
// character as the code point of the library's glyph it is, so a receipt can be compared in a
// terminal.
#include <fcntl.h>
#include <getopt.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"
#include "tools/preview/escpos.h"
#include "tools/preview/escpos_interpreter.h"
#include "tools/preview/png_output.h"
#include "tools/preview/printer_profile.h"
#include "tools/preview/resident_font.h"
#include "tools/preview/text_output.h"

namespace {

constexpr const char* kProgram = "receipt-preview";
constexpr int kExitFailure = 2;  // bad input, options or files

constexpr int kMinPaperDots = 48;
constexpr int kMaxPaperDots = 4096;
constexpr int kMaxScale = 8;
// A bigger picture is refused rather than written: 2^28 pixels is 32 MB before compression.
constexpr long long kMaxPicturePixels = 1LL << 28;

const char kUsage[] =
    "usage: receipt-preview [options] [FILE]\n"
    "Reads receipt-printer (ESC/POS) bytes from FILE, or from standard input when FILE is '-'\n"
    "or missing, and prints them onto a picture and as text.\n"
    "  -g, --png FILE        write a picture of the printed receipt to FILE\n"
    "  -s, --scale N         picture pixels per printer dot, 1 to 8 (default 1)\n"
    "  -t, --text            write the receipt to standard output as UTF-8 lines\n"
    "      --cells           write every character cell to standard output, one a line:\n"
    "                        line, paper row, x, width (dots), U+code point, then 'user'\n"
    "                        (downloaded) or 'resident', and 'over' after a BS\n"
    "  -p, --paper N         paper width in dots (default 576: 80 mm at 203 dpi)\n"
    "      --profile NAME    how the printer numbers its code tables: reference (default)\n"
    "                        or clone58\n"
    "      --printer MODEL   a model of the public printer database: its numbering of every\n"
    "                        code table iconv reads, and its paper width unless --paper\n"
    "                        gives one\n"
    "      --code-table N=CP ESC t N selects code page CP (repeatable; adds to the profile)\n"
    "  -c, --code-page CP    code page at power-on instead of table 0 (PC437); 932, 936 or\n"
    "                        54936 sets the code page of Kanji mode instead\n"
    "      --font FILE       face of the printer's resident font (default DejaVu Sans Mono)\n"
    "  -h, --help            show this help\n";

struct Options {
    PrinterSetup setup;
    int scale = 1;
    bool text = false;
    bool cells = false;
    std::string input;  // empty or "-": standard input
    std::string png_path;
    std::string font = FreeTypeResidentFont::kDefaultFace;
};

// A failure that ends the run; thrown so that every staged output file is removed on the way out.
struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) {
    throw Failure{message};
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
    enum { kProfile = 256, kCodeTable, kFont, kCells, kPrinter };
    static const option kLong[] = {
        {"png", required_argument, nullptr, 'g'},
        {"scale", required_argument, nullptr, 's'},
        {"text", no_argument, nullptr, 't'},
        {"cells", no_argument, nullptr, kCells},
        {"paper", required_argument, nullptr, 'p'},
        {"profile", required_argument, nullptr, kProfile},
        {"printer", required_argument, nullptr, kPrinter},
        {"code-table", required_argument, nullptr, kCodeTable},
        {"code-page", required_argument, nullptr, 'c'},
        {"font", required_argument, nullptr, kFont},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    PrinterProfile::Named("reference", &o.setup.profile);
    std::vector<std::string> tables;
    int code_page = 0;
    bool paper_given = false;
    int model_paper = 0;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, ":g:s:tp:c:h", kLong, nullptr)) != -1) {
        switch (c) {
            case 'g':
                o.png_path = optarg;
                break;
            case 's':
                o.scale = ParseNumber("--scale", optarg);
                break;
            case 't':
                o.text = true;
                break;
            case kCells:
                o.cells = true;
                break;
            case 'p':
                o.setup.paper_dots = ParseNumber("--paper", optarg);
                paper_given = true;
                break;
            case kPrinter:
                if (!PrinterProfile::Model(optarg, &o.setup.profile, &model_paper)) {
                    Fail(std::string("unknown printer model '") + optarg +
                         "': see encode-receipt --list-printers");
                }
                break;
            case kProfile:
                if (!PrinterProfile::Named(optarg, &o.setup.profile)) {
                    Fail(std::string("unknown profile '") + optarg +
                         "': give reference or clone58");
                }
                break;
            case kCodeTable:
                tables.push_back(optarg);
                break;
            case 'c':
                code_page = ParseNumber("--code-page", optarg);
                break;
            case kFont:
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
    if (model_paper > 0 && !paper_given) o.setup.paper_dots = model_paper;
    if (optind < argc) o.input = argv[optind];

    // The tables are added after the profile, whichever option came first.
    for (const std::string& t : tables) {
        std::string error;
        if (!o.setup.profile.AddCodeTable(t, &error)) Fail(error);
    }
    if (code_page != 0) {
        if (!IsCPSupported(code_page)) {
            Fail("unknown code page " + std::to_string(code_page) +
                 ": the library serves 1256, 864, 720, 1098, 862, 1255, 290, 20290, 932, 936 "
                 "and 54936");
        }
        if (IsDoubleByteCodePage(code_page)) {
            o.setup.profile.kanji_code_page = code_page;
        } else {
            o.setup.code_page = code_page;
        }
    }
    if (o.setup.paper_dots < kMinPaperDots || o.setup.paper_dots > kMaxPaperDots) {
        Fail("unsupported paper width " + std::to_string(o.setup.paper_dots) + ": give " +
             std::to_string(kMinPaperDots) + " to " + std::to_string(kMaxPaperDots) + " dots");
    }
    if (o.scale < 1 || o.scale > kMaxScale) {
        Fail("unsupported scale " + std::to_string(o.scale) + ": give 1 to " +
             std::to_string(kMaxScale));
    }
    return o;
}

std::vector<unsigned char> ReadInput(const std::string& path) {
    const bool standard_input = path.empty() || path == "-";
    const std::string name = standard_input ? std::string("standard input") : path;
    const int fd = standard_input ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot read " + name + ": " + std::strerror(errno));
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            if (!standard_input) close(fd);
            Fail("cannot read " + name + ": " + std::strerror(error));
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (!standard_input) close(fd);
    return bytes;
}

int Run(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const std::vector<unsigned char> bytes = ReadInput(options.input);
    const std::string source =
        options.input.empty() || options.input == "-" ? "standard input" : options.input;

    std::unique_ptr<FreeTypeResidentFont> font;
    if (!options.png_path.empty()) {
        std::string error;
        font = FreeTypeResidentFont::Open(options.font, FreeTypeResidentFont::DefaultFallbacks(),
                                          &error);
        if (!font) Fail(error);
    }
    Page page(options.setup.paper_dots);
    EscPosInterpreter printer(options.setup, font.get());
    const InterpretResult printed = printer.Run(bytes, &page);
    if (!printed.ok) {
        Fail(source + ": " + printed.error + " at byte offset " +
             std::to_string(printed.error_offset));
    }
    std::vector<std::string> warnings = printed.warnings;
    if (printed.lines_wrapped > 0) {
        warnings.push_back(std::to_string(printed.lines_wrapped) +
                           " line break(s) added by the printer: some lines are wider than the "
                           "paper (" +
                           std::to_string(options.setup.paper_dots) + " dots)");
    }
    if (printed.unprinted_tail) {
        warnings.push_back("the stream ends with characters that no LF prints");
    }

    AtomicFileSet files;
    std::string error;
    if (!options.png_path.empty()) {
        const long long pixels = static_cast<long long>(page.width()) * options.scale *
                                 std::max(page.height(), 1) * options.scale;
        if (pixels > kMaxPicturePixels) {
            Fail("the picture would have " + std::to_string(pixels) + " pixels, more than " +
                 std::to_string(kMaxPicturePixels) + ": give a smaller --scale");
        }
        if (!files.Stage(options.png_path, EncodePagePng(page, options.scale), &error)) {
            Fail(error);
        }
    }
    if (!files.Commit(&error)) Fail(error);
    for (const std::string& w : warnings) std::cerr << kProgram << ": warning: " << w << "\n";
    if (options.text) WriteText(printed, std::cout);
    if (options.cells) WriteCells(printed, std::cout);
    if (!options.text && !options.cells) {
        std::cout << bytes.size() << " bytes, " << printed.lines_fed << " lines; page "
                  << page.width() << " x " << page.height() << " dots\n";
    }
    std::cout.flush();
    if (!std::cout) Fail("cannot write to standard output");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        std::cerr << kProgram << ": " << failure.message << "\n";
        return kExitFailure;
    }
}

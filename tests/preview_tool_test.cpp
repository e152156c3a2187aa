// SPDX-License-Identifier: Apache-2.0
// receipt-preview as a user runs it: the golden receipts read back as their text, the picture
// has the paper's size, and every error ends with status 2, one line on standard error, nothing
// on standard output and no output file.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"
#include "tools/preview/escpos.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> Files(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        closedir(d);
    }
    return names;
}

class ReceiptPreviewTool : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/receipt-preview-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    struct Result {
        int status;
        std::string out, err;
    };

    // Runs the program with `args` (each single-quoted), `input` on its standard input.
    Result Run(const std::vector<std::string>& args, const std::string& input = "") {
        const std::string in = dir_ + "/.stdin", out = dir_ + "/.stdout", err = dir_ + "/.stderr";
        WriteFile(in, input);
        std::string command = RECEIPT_PREVIEW_PROGRAM;
        for (const std::string& a : args) command += " '" + a + "'";
        command += " <'" + in + "' >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
        unlink(in.c_str());
        unlink(out.c_str());
        unlink(err.c_str());
        return r;
    }

    std::string dir_;
};

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A line as the library's Java side sends it: put into printing order by the library's
// reordering, each character the fonts of `width` have drawn with the placement record carried
// along, the others (ASCII here) sent for the printer's own font, after which nothing is known
// of the ink. The zero-width filler the reordering leaves behind a ligature is not sent.
Bytes Drawn(const std::u32string& logical, int width, int code_page) {
    std::vector<long> line(logical.begin(), logical.end());
    line.push_back(0);
    long* visual = nullptr;
    const long n = CCFribidi::ReverseTextFixCharFribidi(line.data(), logical.size(), &visual);
    Bytes out;
    _SWFONTINFO placement = SWFONT_EMPTY_PLACEMENT;
    for (long i = 0; i < n; ++i) {
        const int c = static_cast<int>(visual[i]);
        unsigned char buffer[SWFONT_MAX_SEQUENCE];
        const int length = CFntMngr::GetFontDrawBuffer(c, code_page, width, SWFONT_HEIGHT, buffer,
                                                       &placement, SWFONT_JUSTIFICATION_NONE);
        if (length > 0) {
            out.insert(out.end(), buffer, buffer + length);
        } else if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<unsigned char>(c));
            placement = SWFONT_EMPTY_PLACEMENT;
        }
    }
    delete[] visual;
    return out;
}

constexpr unsigned char kEsc = escpos::kEsc, kFs = escpos::kFs, kGs = escpos::kGs;
constexpr unsigned char kLf = escpos::kLf;

// The golden receipts: small streams made of the library's sequences and the commands a
// receipt uses, each with the text a reader should see under tests/data/NAME.txt.
struct Golden {
    const char* name;
    Bytes bytes;
};

std::vector<Golden> GoldenReceipts() {
    const Bytes start = {kEsc, '@'};
    return {
        // Right-aligned Arabic drawn at 13 dots, a fatha fitted over its letter, digits and
        // spaces from the printer's font; then text of the printer's own Windows Arabic table.
        {"arabic-total", Cat({start,
                              {kEsc, 'a', 2},
                              Drawn(U"المجموع 12.50", 13, 1256),
                              {kLf},
                              Drawn(U"سَلام", 13, 1256),
                              {kLf},
                              {kEsc, 'a', 0, kEsc, 't', 50, 0xC7, 0xE1, kLf}})},
        // Kanji mode: Shift JIS double-byte characters from the printer's font, then single-byte
        // text and an ideograph drawn by the 24-dot font.
        {"kanji", Cat({start,
                       {kFs, '&', 0x93, 0xFA, 0x96, 0x7B, kFs, '.', ' ', 'x', '2', ' '},
                       Drawn(U"\u9FA6", 24, 932),
                       {kLf}})},
        // One byte through each ESC t table of the reference numbering, and tables it lacks.
        {"code-tables", {kEsc, 't', 50,   0xC7, kEsc, 't', 36,  0x80, kEsc, 't', 49, 0xE0, kEsc,
                         't',  37,  0xC7, kEsc, 't',  0,   'A', 0x80, kEsc, 't', 7,  0x80, kLf}},
        // A frame of drawn box signs on 24-dot lines, its right edge placed by ESC $; centred
        // and right-aligned lines; an amount placed at the paper's right edge; a relative move;
        // a feed and a cut.  576 - 4 x 12 = 528 = 0x210.
        {"layout", Cat({start,
                        {kEsc, '3', 24},
                        Drawn(U"┌──────┐", 13, 1256),
                        {kLf},
                        Drawn(U"│", 13, 1256),
                        {'T', 'e', 'a'},
                        {kEsc, '$', 7 * 13, 0},
                        Drawn(U"│", 13, 1256),
                        {kLf},
                        Drawn(U"└──────┘", 13, 1256),
                        {kLf},
                        {kEsc, '2', kEsc, 'a', 1, 'c', 'e', 'n', 't', 'r', 'e', kLf},
                        {kEsc, 'a', 2, 'r', 'i', 'g', 'h', 't', kLf, kEsc, 'a', 0},
                        {'T', 'o', 't', 'a', 'l', kEsc, '$', 0x10, 0x02, '9', '.', '5', '0', kLf},
                        {'a', kEsc, '\\', 24, 0, 'b', kEsc, 'd', 2, kGs, 'V', 66, 0}})},
    };
}

std::string GoldenPath(const std::string& name, const char* extension) {
    return std::string(TEST_DATA_DIR) + "/" + name + extension;
}

// The committed bytes are the ones the library makes today; ZELVAR_UPDATE_GOLDEN=1 rewrites them
// (after a change of the fonts), and the expected text is then checked by eye.
TEST_F(ReceiptPreviewTool, GoldenReceiptBytesAreTheLibrarysOfToday) {
    const bool update = std::getenv("ZELVAR_UPDATE_GOLDEN") != nullptr;
    for (const Golden& g : GoldenReceipts()) {
        SCOPED_TRACE(g.name);
        const std::string path = GoldenPath(g.name, ".bin");
        if (update) WriteFile(path, std::string(g.bytes.begin(), g.bytes.end()));
        const std::string committed = ReadFile(path);
        EXPECT_TRUE(Bytes(committed.begin(), committed.end()) == g.bytes)
            << path << " is stale: run this test with ZELVAR_UPDATE_GOLDEN=1";
    }
}

TEST_F(ReceiptPreviewTool, GoldenReceiptsReadBackAsTheirText) {
    for (const Golden& g : GoldenReceipts()) {
        SCOPED_TRACE(g.name);
        const Result r = Run({GoldenPath(g.name, ".bin"), "--text"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, ReadFile(GoldenPath(g.name, ".txt")));
    }
}

struct PngSize {
    std::uint32_t width = 0, height = 0;
};

PngSize ReadPngSize(const std::string& png) {
    PngSize size;
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0 || png.compare(12, 4, "IHDR") != 0) {
        return size;
    }
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(png[at + k]);
        return v;
    };
    size.width = u32(16);
    size.height = u32(20);
    return size;
}

int CountLines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n' ? 1 : 0;
    return n;
}

// The picture is the paper's width and the length fed, scaled; the input may come from a file,
// '-' or standard input, and a skipped command is one warning.
TEST_F(ReceiptPreviewTool, PictureHasThePapersSizeWhateverTheInput) {
    const char stream[] =
        "a\nb\x1D"
        "L\x00\x00\n\x1B"
        "3\x18"
        "c\n";
    const std::string bytes(stream, sizeof stream - 1);
    WriteFile(dir_ + "/r.bin", bytes);
    const std::string png_path = dir_ + "/r.png";
    for (const std::vector<std::string>& input :
         {std::vector<std::string>{dir_ + "/r.bin"}, std::vector<std::string>{"-"},
          std::vector<std::string>{}}) {
        std::vector<std::string> args = input;
        for (const char* a : {"--paper", "384", "--scale", "2", "--png"}) args.push_back(a);
        args.push_back(png_path);
        const Result r = Run(args, bytes);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find("warning: skipped GS L (left margin) at byte offset 3"),
                  std::string::npos)
            << r.err;
        const PngSize size = ReadPngSize(ReadFile(png_path));
        EXPECT_EQ(size.width, 2u * 384);
        EXPECT_EQ(size.height, 2u * (30 + 30 + 24));
    }
}

TEST_F(ReceiptPreviewTool, ErrorsExitWithStatusTwoOneLineAndNoOutputFile) {
    WriteFile(dir_ + "/good.bin", "ok\n");
    WriteFile(dir_ + "/unknown.bin", "ok\n\x1BZ\n");
    WriteFile(dir_ + "/cut.bin", "ok\n\x1B$\x01");
    // 40 feeds of 30 dots: 1,200 dots, 9,600 pixels at scale 8, on 4,096-dot paper.
    WriteFile(dir_ + "/long.bin",
              "\x1B"
              "d(");
    WriteFile(dir_ + "/endless.bin",
              "\x1B"
              "3\xFF\x1B"
              "d\xFF\x1B"
              "d\xFF");
    const std::string png_path = dir_ + "/out.png";
    const std::string missing_dir = dir_ + "/no/such/dir";
    const std::string good = dir_ + "/good.bin";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"unknown command",
         {dir_ + "/unknown.bin", "-g", png_path, "--text"},
         "unknown command ESC 0x5A: its length cannot be known at byte offset 3"},
        {"cut short",
         {dir_ + "/cut.bin", "-g", png_path, "--text"},
         "ESC $ cut short: the stream ends inside it at byte offset 3"},
        {"receipt too long",
         {dir_ + "/endless.bin", "-g", png_path, "--text"},
         "longer than 65536 dots"},
        {"picture too big",
         {dir_ + "/long.bin", "-p", "4096", "-s", "8", "-g", png_path},
         "give a smaller --scale"},
        {"unknown profile", {good, "--profile", "clone80", "-g", png_path}, "unknown profile"},
        {"code table without '='",
         {good, "--code-table", "50", "-g", png_path},
         "invalid code table"},
        {"code table of a double-byte code page",
         {good, "--code-table", "50=932", "--text"},
         "not a single-byte code page"},
        {"unknown code page", {good, "-c", "437", "-g", png_path}, "unknown code page 437"},
        {"code page not a number",
         {good, "-c", "1256x", "--text"},
         "invalid number for --code-page"},
        {"unreadable input", {dir_ + "/missing.bin", "-g", png_path}, "cannot read"},
        {"input is a directory", {dir_, "-g", png_path}, "cannot read"},
        {"unwritable picture", {good, "--text", "-g", missing_dir + "/r.png"}, "cannot write"},
        {"unreadable resident font",
         {good, "-g", png_path, "--font", dir_ + "/none.ttf"},
         "cannot read the resident font"},
        {"unsupported scale", {good, "-g", png_path, "-s", "0"}, "unsupported scale"},
        {"unsupported paper", {good, "-g", png_path, "-p", "20"}, "unsupported paper width"},
    };
    const std::set<std::string> inputs = Files(dir_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_EQ(r.err.rfind("receipt-preview: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        // Neither the picture nor any temporary file is left.
        EXPECT_EQ(Files(dir_), inputs);
    }
}

}  // namespace

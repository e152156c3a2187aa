// receipt-preview as a user runs it: the sample receipt gives a well-formed stream and a picture
// the size of its lines, and every error ends with status 2, one line on standard error and no
// output file.
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

// What a printer needs of the stream: a reset first, every ESC & complete, the user-defined set
// cancelled before each LF, BS only right before a user-defined character, LF last.
struct StreamShape {
    int lines = 0, definitions = 0;
    std::string problem;  // empty when well-formed
};

StreamShape CheckStream(const Bytes& b) {
    StreamShape shape;
    const auto problem = [&](std::size_t at, const std::string& what) {
        shape.problem = what + " at byte " + std::to_string(at);
        return shape;
    };
    if (b.size() < 2 || b[0] != escpos::kEsc || b[1] != escpos::kInitialize) {
        return problem(0, "no ESC @ first");
    }
    bool selected = false;
    std::set<unsigned char> defined;
    std::size_t i = 2;
    while (i < b.size()) {
        const unsigned char c = b[i];
        if (c == escpos::kEsc) {
            if (i + 2 >= b.size()) return problem(i, "ESC cut short");
            if (b[i + 1] == escpos::kSelectUserCharSet) {
                selected = (b[i + 2] & 1) != 0;
                i += 3;
            } else if (b[i + 1] == escpos::kDefineUserChars) {
                if (i + 6 > b.size()) return problem(i, "ESC & header cut short");
                if (b[i + 2] != 3 || b[i + 3] != b[i + 4])
                    return problem(i, "ESC & not one 24-dot char");
                const std::size_t columns = b[i + 5];
                if (i + 6 + 3 * columns > b.size()) return problem(i, "ESC & columns cut short");
                defined.insert(b[i + 3]);
                ++shape.definitions;
                i += 6 + 3 * columns;
            } else {
                return problem(i, "unexpected command");
            }
        } else if (c == escpos::kBs) {
            if (i + 1 >= b.size() || !selected || defined.count(b[i + 1]) == 0) {
                return problem(i, "BS not before a user-defined character");
            }
            ++i;
        } else if (c == escpos::kLf) {
            if (selected) return problem(i, "ESC % 1 still open at LF");
            ++shape.lines;
            ++i;
        } else if (c < escpos::kFirstPrintable || c == escpos::kDelete) {
            return problem(i, "control byte");
        } else {
            ++i;
        }
    }
    if (b.back() != escpos::kLf) return problem(b.size() - 1, "no LF last");
    return shape;
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

TEST_F(ReceiptPreviewTool, SampleReceiptGivesWellFormedStreamAndPictureOfItsLines) {
    const int text_lines = CountLines(ReadFile(SAMPLE_RECEIPT));
    ASSERT_GT(text_lines, 10);
    const std::string bytes_path = dir_ + "/r.bin", png_path = dir_ + "/r.png";
    // Under Windows Hebrew every character of the sample can be printed: no warning.
    const Result r =
        Run({SAMPLE_RECEIPT, "--code-page", "1255", "--bytes", bytes_path, "--png", png_path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string raw = ReadFile(bytes_path);
    const StreamShape shape = CheckStream(Bytes(raw.begin(), raw.end()));
    EXPECT_EQ(shape.problem, "");
    EXPECT_EQ(shape.lines, text_lines);
    EXPECT_GT(shape.definitions, 100);  // Arabic, Farsi, Japanese, the frame, the signs
    const PngSize size = ReadPngSize(ReadFile(png_path));
    EXPECT_EQ(size.width, static_cast<std::uint32_t>(escpos::kDefaultPaperDots));
    EXPECT_EQ(size.height, static_cast<std::uint32_t>(text_lines * escpos::kLinePitch));
    EXPECT_EQ(Files(dir_), (std::set<std::string>{"r.bin", "r.png"}));
}

TEST_F(ReceiptPreviewTool, EveryWidthAndCodePageGivesWellFormedStreams) {
    const int text_lines = CountLines(ReadFile(SAMPLE_RECEIPT));
    for (const char* width : {"10", "13", "18", "24"}) {
        for (const char* code_page :
             {"1256", "864", "720", "1098", "862", "1255", "290", "20290", "932", "936", "54936"}) {
            SCOPED_TRACE(std::string("width ") + width + ", code page " + code_page);
            const Result r = Run({SAMPLE_RECEIPT, "-w", width, "-c", code_page, "--bytes", "-"});
            ASSERT_EQ(r.status, 0) << r.err;
            const StreamShape shape = CheckStream(Bytes(r.out.begin(), r.out.end()));
            EXPECT_EQ(shape.problem, "");
            EXPECT_EQ(shape.lines, text_lines);
        }
    }
}

TEST_F(ReceiptPreviewTool, ScaleAndNarrowPaperShapeThePicture) {
    const int text_lines = CountLines(ReadFile(SAMPLE_RECEIPT));
    const std::string png_path = dir_ + "/r.png";
    // On 58 mm paper (384 dots) the 44-sign rules no longer fit: the printer breaks them.
    const Result r =
        Run({SAMPLE_RECEIPT, "-c", "1255", "--paper", "384", "--scale", "2", "--png", png_path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("wider than the paper"), std::string::npos) << r.err;
    const PngSize size = ReadPngSize(ReadFile(png_path));
    EXPECT_EQ(size.width, 2u * 384);
    const std::uint32_t pitch = 2 * escpos::kLinePitch;
    EXPECT_EQ(size.height % pitch, 0u);
    EXPECT_GT(size.height, text_lines * pitch);
}

TEST_F(ReceiptPreviewTool, UnprintableCharacterIsWarnedOnceAndReplaced) {
    // Hebrew under Windows Arabic: neither in the library's fonts nor in the code page.
    const Result r = Run({"--bytes", "-"}, "\xD7\x90\xD7\x90 a\n\xD7\x90\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string("\x1B@a ??\n?\n"));
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("U+05D0"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("3 times"), std::string::npos) << r.err;
}

TEST_F(ReceiptPreviewTool, ErrorsExitWithStatusTwoOneLineAndNoOutputFile) {
    WriteFile(dir_ + "/bad.txt", "ok\n\xC3(x\n");
    // Hebrew under Windows Arabic draws a warning; a failed run still says one line only.
    WriteFile(dir_ + "/good.txt", "ok \xD7\x90\n");
    const std::string bytes_path = dir_ + "/out.bin", png_path = dir_ + "/out.png";
    const std::string missing_dir = dir_ + "/no/such/dir";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"invalid UTF-8",
         {dir_ + "/bad.txt", "-o", bytes_path, "-g", png_path},
         "invalid UTF-8 at byte offset 3 (line 2)"},
        {"unknown code page",
         {dir_ + "/good.txt", "-c", "437", "-o", bytes_path},
         "unknown code page 437"},
        {"code page not a number",
         {dir_ + "/good.txt", "-c", "1256x", "-o", bytes_path},
         "invalid number for --code-page"},
        {"unsupported width",
         {dir_ + "/good.txt", "-w", "12", "-g", png_path},
         "unsupported width 12"},
        {"unreadable input", {dir_ + "/missing.txt", "-o", bytes_path}, "cannot read"},
        {"input is a directory", {dir_, "-o", bytes_path}, "cannot read"},
        {"unwritable bytes",
         {dir_ + "/good.txt", "-o", missing_dir + "/r.bin", "-g", png_path},
         "cannot write"},
        {"unwritable picture",
         {dir_ + "/good.txt", "-o", bytes_path, "-g", missing_dir + "/r.png"},
         "cannot write"},
        {"unreadable resident font",
         {dir_ + "/good.txt", "-o", bytes_path, "-g", png_path, "--font", dir_ + "/none.ttf"},
         "cannot read the resident font"},
        {"unsupported scale", {dir_ + "/good.txt", "-g", png_path, "-s", "0"}, "unsupported scale"},
        {"unsupported paper",
         {dir_ + "/good.txt", "-g", png_path, "-p", "20"},
         "unsupported paper width"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_EQ(r.err.rfind("receipt-preview: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        // Neither output file, nor any temporary file, is left.
        EXPECT_EQ(Files(dir_), (std::set<std::string>{"bad.txt", "good.txt"}));
    }
}

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// What the shipped library file looks like to the loader: its stripped size, no code run at load
// time, glyph tables that the loader never touches, and exactly the intended exported names.
//
// The library under test is the one this program is linked against, found through an exported
// function's address. The checks read it with binutils (strip, readelf, nm, c++filt). Builds
// instrumented by a sanitizer or for fuzzing add constructors and code of their own, and an
// unoptimised build is larger: the checks that depend on the build skip themselves there.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fontmgr/fntmngr.h"

namespace {

constexpr long kMaxStrippedBytes = 200 * 1024;

std::string LibraryPath() {
    Dl_info info{};
    const int found = dladdr(reinterpret_cast<void*>(&CFntMngr::IsFontWidthSupported), &info);
    return found != 0 && info.dli_fname != nullptr ? info.dli_fname : "";
}

// Runs a shell command; its standard output goes to `output`. Returns whether it succeeded.
bool TryTool(const std::string& command, std::string* output) {
    output->clear();
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) output->append(buf, n);
    return pclose(pipe) == 0;
}

// Standard output of a shell command; the command must succeed.
std::string RunTool(const std::string& command) {
    std::string output;
    EXPECT_TRUE(TryTool(command, &output)) << command;
    return output;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

class LibraryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = LibraryPath();
        ASSERT_FALSE(path_.empty()) << "the library linked into this test was not found";
        ASSERT_EQ(path_.find('\''), std::string::npos);
        quoted_ = "'" + path_ + "'";
        // Sanitizers and fuzzing coverage bring their own constructors and runtime calls.
        const std::string undefined = RunTool("nm -D --undefined-only " + quoted_);
        instrumented_ = undefined.find("__asan_") != std::string::npos ||
                        undefined.find("__tsan_") != std::string::npos ||
                        undefined.find("__ubsan_") != std::string::npos ||
                        undefined.find("__sanitizer_cov") != std::string::npos;
    }

    struct Section {
        std::string name;
        unsigned long address = 0;
        unsigned long size = 0;
        bool writable = false;
    };

    // The sections with an address, from readelf -S -W.
    std::vector<Section> Sections() const {
        std::vector<Section> sections;
        for (const std::string& line : Lines(RunTool("readelf -S -W " + quoted_))) {
            const std::size_t bracket = line.find(']');
            if (line.find('[') == std::string::npos || bracket == std::string::npos) continue;
            const std::vector<std::string> w = Words(line.substr(bracket + 1));
            // Name Type Address Off Size ES Flg ...
            if (w.size() < 7 || w[1] == "Type") continue;
            Section s;
            s.name = w[0];
            s.address = std::stoul(w[2], nullptr, 16);
            s.size = std::stoul(w[4], nullptr, 16);
            s.writable = w[6].find('W') != std::string::npos;
            sections.push_back(s);
        }
        return sections;
    }

    // Offset and addend of every dynamic relocation, from readelf -r -W.
    std::vector<std::pair<unsigned long, unsigned long>> Relocations() const {
        std::vector<std::pair<unsigned long, unsigned long>> relocations;
        for (const std::string& line : Lines(RunTool("readelf -r -W " + quoted_))) {
            const std::vector<std::string> w = Words(line);
            if (w.size() < 3 || w[2].rfind("R_", 0) != 0) continue;
            const unsigned long addend = w.size() == 4 ? std::stoul(w[3], nullptr, 16) : 0;
            relocations.emplace_back(std::stoul(w[0], nullptr, 16), addend);
        }
        return relocations;
    }

    std::string path_;
    std::string quoted_;
    bool instrumented_ = false;
};

TEST_F(LibraryFile, StrippedSizeWithinBudget) {
#if !defined(__OPTIMIZE__)
    GTEST_SKIP() << "unoptimised build";
#endif
    if (instrumented_) GTEST_SKIP() << "instrumented build";
    char stripped[] = "/tmp/zelvar_stripped_XXXXXX";
    const int fd = mkstemp(stripped);
    ASSERT_GE(fd, 0);
    close(fd);
    // The host's strip reads only the host's architecture; a cross build (tested under an
    // emulator) has its own.
    std::string ignored;
    bool done = false;
    for (const char* strip : {"strip", "aarch64-linux-gnu-strip", "x86_64-linux-gnu-strip"}) {
        done = TryTool(std::string(strip) + " -o '" + stripped + "' " + quoted_ + " 2>/dev/null",
                       &ignored);
        if (done) break;
    }
    if (!done) std::remove(stripped);
    ASSERT_TRUE(done) << "no strip for this library's architecture";
    const std::vector<std::string> size =
        Words(RunTool("stat -c %s '" + std::string(stripped) + "'"));
    std::remove(stripped);
    ASSERT_EQ(size.size(), 1U);
    // Most of it is the glyph records themselves.
    EXPECT_LE(std::stol(size[0]), kMaxStrippedBytes) << "stripped bytes";
}

// Nothing of the library's own runs when it is loaded: the constructor tables hold at most the
// toolchain's frame_dummy (crtbegin), and nothing else.
TEST_F(LibraryFile, NoStaticConstructors) {
    if (instrumented_) GTEST_SKIP() << "instrumented build";
    std::map<unsigned long, std::string> functions;
    for (const std::string& line : Lines(RunTool("nm --defined-only " + quoted_))) {
        const std::vector<std::string> w = Words(line);
        if (w.size() == 3 && (w[1] == "t" || w[1] == "T")) {
            functions[std::stoul(w[0], nullptr, 16)] = w[2];
        }
    }
    ASSERT_FALSE(functions.empty()) << "the library has no symbol table: test an unstripped build";
    const auto relocations = Relocations();
    int entries = 0;
    for (const Section& s : Sections()) {
        if (s.name != ".init_array" && s.name != ".preinit_array" && s.name != ".ctors") continue;
        for (const auto& [offset, addend] : relocations) {
            if (offset < s.address || offset >= s.address + s.size) continue;
            ++entries;
            const auto f = functions.find(addend);
            const std::string name = f == functions.end() ? "?" : f->second;
            EXPECT_EQ(name, "frame_dummy") << s.name << " runs " << name << " at load time";
        }
        EXPECT_EQ(s.size, static_cast<unsigned long>(entries) * sizeof(void*))
            << s.name << " holds entries that are not relocated";
    }
    EXPECT_LE(entries, 1);
}

// The glyph tables lie in read-only memory as they are: no pointer in them for the loader to
// fix up, so no page of them is written (or made private to the process) at load time.
TEST_F(LibraryFile, GlyphTablesNeedNoRelocation) {
    const std::string symbols = RunTool("nm -S --defined-only " + quoted_ + " | c++filt");
    std::vector<std::pair<unsigned long, unsigned long>> tables;  // start, end
    for (const std::string& line : Lines(symbols)) {
        const std::vector<std::string> w = Words(line);
        if (w.size() != 4) continue;
        const bool records = w[3].rfind("zelvar_fonts::kEntries", 0) == 0;
        const bool runs = w[3].rfind("zelvar_fonts::kRuns", 0) == 0;
        if (!records && !runs) continue;
        const unsigned long start = std::stoul(w[0], nullptr, 16);
        tables.emplace_back(start, start + std::stoul(w[1], nullptr, 16));
    }
    ASSERT_EQ(tables.size(), 6U) << "four record tables and two run tables\n" << symbols;
    const std::vector<Section> sections = Sections();
    const auto relocations = Relocations();
    for (const auto& [start, end] : tables) {
        bool in_read_only = false;
        for (const Section& s : sections) {
            if (start >= s.address && end <= s.address + s.size) in_read_only = !s.writable;
        }
        EXPECT_TRUE(in_read_only) << std::hex << "table at " << start << " is not read-only";
        for (const auto& reloc : relocations) {
            EXPECT_FALSE(reloc.first >= start && reloc.first < end)
                << std::hex << "relocation at " << reloc.first << " inside table at " << start;
        }
    }
}

// Exactly the library's interface leaves it: the Java entry points (the four of nativef,
// drawJustified of the receipt encoder) and the operations of its own, nothing of the C++ runtime
// or of the internal helpers.
TEST_F(LibraryFile, ExportsExactlyTheInterface) {
    const std::set<std::string> expected{
        "Java_zelvar_printer_api_android_nat_nativef_CharAvailable",
        "Java_zelvar_printer_api_android_nat_nativef_GetFontDrawBuffer",
        "Java_zelvar_printer_api_android_nat_nativef_IsFontWidthSupported",
        "Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC",
        "Java_zelvar_printer_api_android_text_NativeDraw_drawJustified",
        "IsCPSupported(int)",
        "CalcMarginDataVector(std::vector<unsigned char, std::allocator<unsigned char> >, int, "
        "int*, int*, int*, int*)",
        "ShiftH(std::vector<unsigned char, std::allocator<unsigned char> >, int, int)",
        "ShiftV(std::vector<unsigned char, std::allocator<unsigned char> >, int, int)",
        "wcslen(long*)",
        "CFont10x24::GetBuffer10x24(int, unsigned int*)",
        "CFont13x24::GetBuffer13x24(int, unsigned int*)",
        "CFont18x24::GetBuffer18x24(int, unsigned int*)",
        "CFont24x24::GetBuffer24x24(int, unsigned int*)",
        "CFntMngr::CharAvailable(int, int, int, int)",
        "CFntMngr::GetFontDrawBuffer(int, int, int, int, unsigned char*, _SWFONTINFO*, "
        "_SWFONT_JUSTIFICATION)",
        "CFntMngr::IsFontWidthSupported(int)",
        "CCFribidi::ReverseTextFixCharFribidi(long*, unsigned long, long**)",
    };
    std::set<std::string> exported;
    for (const std::string& line :
         Lines(RunTool("nm -D --defined-only " + quoted_ + " | c++filt"))) {
        // address, type, then the demangled name, which holds spaces
        const std::size_t type = line.find(' ');
        if (type == std::string::npos || line.size() < type + 4) continue;
        const std::string name = line.substr(type + 3);
        // Sanitizer runtimes export hooks of their own from instrumented builds.
        if (instrumented_ && name.rfind("__", 0) == 0) continue;
        exported.insert(name);
    }
    for (const std::string& name : expected)
        EXPECT_EQ(exported.count(name), 1U) << "missing " << name;
    for (const std::string& name : exported) {
        EXPECT_EQ(expected.count(name), 1U) << "exported but not part of the interface: " << name;
    }
}

}  // namespace

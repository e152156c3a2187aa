// SPDX-License-Identifier: Apache-2.0
// Unicode's own bidi conformance lines (BidiCharacterTest.txt) run through the exported
// reordering, compared with the visual order they list.
//
// Each test line gives code points, a paragraph direction, the resolved levels and the visual
// order as logical indices. The reordering here always detects the direction from the first strong
// character and returns code points rather than indices, so a line is compared when:
//   - it holds no explicit formatting character (embeddings, overrides, isolates) and no boundary
//     neutral: the listed order drops those characters, FriBidi keeps them in the line;
//   - it holds no Arabic letter: FriBidi replaces those by presentation forms and ligatures;
//   - its paragraph direction is automatic, or forced to the one its first strong character gives.
// Expected code points are the listed order with two adjustments that FriBidi applies on purpose
// (and the printer needs), the known deviations from the plain listed order:
//   - a character with a mirror image (BidiMirroring.txt) at an odd level is replaced by it;
//   - marks (bidi class NSM) at an odd level are kept after their base character, so that the
//     printer, which overstrikes a mark on the character printed just before, puts it on the right
//     base. The test data leaves that rule (L3) out of scope.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "bidi/cfribidi.h"
#include "tests/test_util.h"

namespace {

const std::string kUnicodeDir = "/usr/share/unicode/";

struct CharInfo {
    std::string bidi_class;
    bool mirrored = false;
};

// Bidi class and mirrored flag of every code point listed in UnicodeData.txt (ranges expanded).
std::unordered_map<long, CharInfo> LoadUnicodeData(const std::string& path) {
    std::unordered_map<long, CharInfo> chars;
    std::ifstream in(path);
    std::string row;
    long range_first = -1;
    while (std::getline(in, row)) {
        std::vector<std::string> f;
        std::stringstream ss(row);
        std::string field;
        while (std::getline(ss, field, ';')) f.push_back(field);
        if (f.size() < 10) continue;
        const long cp = std::stol(f[0], nullptr, 16);
        const CharInfo info{f[4], f[9] == "Y"};
        if (f[1].find(", First>") != std::string::npos) {
            range_first = cp;
            continue;
        }
        const long from = f[1].find(", Last>") != std::string::npos ? range_first : cp;
        for (long c = from; c <= cp; ++c) chars[c] = info;
    }
    return chars;
}

// Mirror image of each character that has one.
std::unordered_map<long, long> LoadMirrors(const std::string& path) {
    std::unordered_map<long, long> mirrors;
    std::ifstream in(path);
    std::string row;
    while (std::getline(in, row)) {
        if (row.empty() || row[0] == '#') continue;
        long from = 0, to = 0;
        if (std::sscanf(row.c_str(), "%lx; %lx", &from, &to) == 2) mirrors[from] = to;
    }
    return mirrors;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::stringstream ss(s);
    std::string part;
    while (std::getline(ss, part, sep)) parts.push_back(part);
    return parts;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::stringstream ss(s);
    std::string w;
    while (ss >> w) words.push_back(w);
    return words;
}

bool IsArabicLetter(long cp, const CharInfo& info) {
    const bool arabic_block = (cp >= 0x600 && cp <= 0x6FF) || (cp >= 0x750 && cp <= 0x77F) ||
                              (cp >= 0x870 && cp <= 0x8FF) || (cp >= 0xFB50 && cp <= 0xFDFF) ||
                              (cp >= 0xFE70 && cp <= 0xFEFF);
    return arabic_block && info.bidi_class == "AL";
}

bool IsRemovedOrFormatting(const std::string& bidi_class) {
    static const char* const kClasses[] = {"LRE", "RLE", "LRO", "RLO", "PDF",
                                           "LRI", "RLI", "FSI", "PDI", "BN"};
    for (const char* c : kClasses) {
        if (bidi_class == c) return true;
    }
    return false;
}

// Paragraph level that the first strong character gives (left to right when there is none).
int DetectedParagraphLevel(const std::vector<const CharInfo*>& infos) {
    for (const CharInfo* info : infos) {
        if (info->bidi_class == "L") return 0;
        if (info->bidi_class == "R" || info->bidi_class == "AL") return 1;
    }
    return 0;
}

// One line of BidiCharacterTest.txt: code points; direction (0 LTR, 1 RTL, 2 auto); paragraph
// level; resolved levels ('x' for removed characters); visual order as logical indices.
struct TestLine {
    std::vector<long> logical;
    int direction = 0;
    std::vector<std::string> levels;
    std::vector<size_t> visual_order;
};

TestLine ParseTestLine(const std::vector<std::string>& fields) {
    TestLine t;
    for (const std::string& w : Words(fields[0])) t.logical.push_back(std::stol(w, nullptr, 16));
    t.direction = std::stoi(fields[1]);
    t.levels = Words(fields[3]);
    for (const std::string& w : Words(fields[4])) t.visual_order.push_back(std::stoul(w));
    return t;
}

// Why a line is not compared, or "" when it is.
std::string SkipReason(const TestLine& t, const std::vector<const CharInfo*>& infos) {
    if (infos.size() != t.logical.size()) return "code point missing from UnicodeData.txt";
    for (const CharInfo* info : infos) {
        if (IsRemovedOrFormatting(info->bidi_class)) return "explicit formatting or BN";
    }
    for (size_t i = 0; i < infos.size(); ++i) {
        if (IsArabicLetter(t.logical[i], *infos[i])) return "Arabic letters (shaped)";
    }
    if (t.direction != 2 && t.direction != DetectedParagraphLevel(infos)) {
        return "direction forced against the first strong character";
    }
    return "";
}

struct Expected {
    std::vector<long> visual;
    bool mirrored = false;
    bool marks_moved = false;
};

Expected ExpectedVisual(const TestLine& t, const std::vector<const CharInfo*>& infos,
                        const std::unordered_map<long, long>& mirrors) {
    std::vector<int> levels;
    for (const std::string& w : t.levels) levels.push_back(std::stoi(w));
    Expected e;
    // A character with a mirror image is replaced by it at an odd level.
    std::vector<long> values = t.logical;
    for (size_t i = 0; i < values.size(); ++i) {
        const auto m = mirrors.find(values[i]);
        if (levels[i] % 2 == 1 && m != mirrors.end()) {
            values[i] = m->second;
            e.mirrored = true;
        }
    }
    // Marks at an odd level are turned around with their base before the line is reversed, so
    // that they come out after it. Levels inside such a group are equal, so the listed order of
    // positions still holds.
    for (size_t end = values.size(); end-- > 0;) {
        if (levels[end] % 2 == 0 || infos[end]->bidi_class != "NSM") continue;
        size_t start = end;
        while (start > 0 && levels[start - 1] == levels[end] &&
               infos[start - 1]->bidi_class == "NSM") {
            --start;
        }
        if (start > 0 && levels[start - 1] == levels[end]) --start;  // the base
        if (start < end) {
            std::reverse(values.begin() + static_cast<long>(start),
                         values.begin() + static_cast<long>(end) + 1);
            e.marks_moved = true;
        }
        end = start;
    }
    for (size_t index : t.visual_order) e.visual.push_back(values[index]);
    return e;
}

using testutil::Hex;

TEST(ConformanceWithUnicodeBidiCharacterTest, VisualOrderMatches) {
    const std::string test_path = kUnicodeDir + "BidiCharacterTest.txt";
    std::ifstream test_file(test_path);
    ASSERT_TRUE(test_file.good()) << test_path
                                  << " is missing: install the Debian package unicode-data";
    const auto chars = LoadUnicodeData(kUnicodeDir + "UnicodeData.txt");
    ASSERT_GT(chars.size(), 100000u) << "UnicodeData.txt missing or unreadable";
    const auto mirrors = LoadMirrors(kUnicodeDir + "BidiMirroring.txt");
    ASSERT_GT(mirrors.size(), 300u) << "BidiMirroring.txt missing or unreadable";

    int lines = 0, compared = 0, passed = 0, with_mirroring = 0, with_marks_moved = 0;
    std::map<std::string, int> skipped;
    std::string row;
    while (std::getline(test_file, row)) {
        if (row.empty() || row[0] == '#') continue;
        const std::vector<std::string> fields = Split(row, ';');
        ASSERT_EQ(fields.size(), 5u) << row;
        ++lines;
        const TestLine t = ParseTestLine(fields);
        ASSERT_EQ(t.levels.size(), t.logical.size()) << row;
        std::vector<const CharInfo*> infos;
        for (long cp : t.logical) {
            const auto it = chars.find(cp);
            if (it != chars.end()) infos.push_back(&it->second);
        }
        const std::string skip = SkipReason(t, infos);
        if (!skip.empty()) {
            ++skipped[skip];
            continue;
        }
        const Expected want = ExpectedVisual(t, infos, mirrors);

        std::vector<long> input = t.logical;
        long* result = nullptr;
        const long count =
            CCFribidi::ReverseTextFixCharFribidi(input.data(), input.size(), &result);
        ASSERT_NE(result, nullptr);
        const std::vector<long> got(result, result + count);
        delete[] result;

        ++compared;
        with_mirroring += want.mirrored ? 1 : 0;
        with_marks_moved += want.marks_moved ? 1 : 0;
        if (got == want.visual) {
            ++passed;
        } else if (compared - passed <= 20) {
            ADD_FAILURE() << "line: " << row << "\n  want: " << Hex(want.visual)
                          << "\n  got:  " << Hex(got);
        }
    }

    std::printf("BidiCharacterTest.txt: %d lines, %d compared, %d passed", lines, compared, passed);
    std::printf(" (%d with mirroring, %d with marks kept after their base)\n", with_mirroring,
                with_marks_moved);
    for (const auto& [reason, n] : skipped) std::printf("  skipped, %s: %d\n", reason.c_str(), n);
    RecordProperty("compared", compared);
    RecordProperty("passed", passed);
    // Guards against a parser that quietly skips everything.
    EXPECT_GT(compared, lines / 3);
    EXPECT_EQ(passed, compared);
}

}  // namespace

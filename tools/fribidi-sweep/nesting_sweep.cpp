// SPDX-License-Identifier: Apache-2.0
// Hands bare fribidi_log2vis lines of deeply nested explicit embeddings, overrides and isolates
// and counts, per nesting depth, the lines it mishandles. Run under valgrind (run.sh): each line
// is reordered in a child process, which exits non-zero when valgrind saw a memory error, and a
// crash or hang (20 s) kills the child, not the sweep. The reordering's nesting limit
// (bidi/reorder_line_internal.h) is chosen below the shallowest depth at which a fault shows here.
#include <fribidi.h>
#include <sys/wait.h>
#include <unistd.h>
#include <valgrind/valgrind.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

namespace {

// Openers: LRE, RLE, LRO, RLO, LRI, RLI, FSI.
const FriBidiChar kOpeners[] = {0x202A, 0x202B, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068};
// What follows them: every explicit control, brackets, strong letters, digits, a space.
const FriBidiChar kTail[] = {0x2066, 0x2067, 0x2068, 0x2069, 0x202C, 0x202A, 0x202B,
                             0x202D, 0x202E, '[',    ']',    '(',    ')',    'A',
                             0x05D0, 0x0627, '1',    ' ',    0x0661, 0x2069, 0x202C};

bool IsIsolateOpener(FriBidiChar c) {
    return c >= 0x2066 && c <= 0x2068;
}

// The deepest stack of explicit levels the line builds when nothing overflows (rules X1-X8).
int NestingDepth(const std::vector<FriBidiChar>& line) {
    std::vector<bool> stack;  // true: an isolate
    int deepest = 0;
    for (FriBidiChar c : line) {
        if ((c >= 0x202A && c <= 0x202E && c != 0x202C) || IsIsolateOpener(c)) {
            stack.push_back(IsIsolateOpener(c));
        } else if (c == 0x202C) {
            if (!stack.empty() && !stack.back()) stack.pop_back();
        } else if (c == 0x2069 && std::find(stack.begin(), stack.end(), true) != stack.end()) {
            while (!stack.back()) stack.pop_back();
            stack.pop_back();
        }
        deepest = std::max(deepest, static_cast<int>(stack.size()));
    }
    return deepest;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s MIN-OPENERS MAX-OPENERS LINES SEED\n", argv[0]);
        return 2;
    }
    const int min_openers = std::atoi(argv[1]), max_openers = std::atoi(argv[2]);
    const int lines = std::atoi(argv[3]);
    std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[4])));
    std::map<int, std::pair<int, int>> by_depth;  // depth -> lines, mishandled
    int killed = 0;
    for (int n = 0; n < lines; ++n) {
        std::vector<FriBidiChar> line;
        const int openers = min_openers + static_cast<int>(rng() % (max_openers - min_openers + 1));
        const int kind = static_cast<int>(rng() % 8) - 1;  // -1: mixed
        for (int i = 0; i < openers; ++i) line.push_back(kOpeners[kind >= 0 ? kind : rng() % 7]);
        const int tail = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < tail; ++i)
            line.push_back(kTail[rng() % (sizeof kTail / sizeof *kTail)]);
        if (rng() % 4 == 0) std::shuffle(line.begin(), line.end(), rng);
        const int depth = NestingDepth(line);
        const pid_t child = fork();
        if (child == 0) {
            alarm(20);
            std::vector<FriBidiChar> visual(line.size() + 1);
            FriBidiParType direction = FRIBIDI_PAR_ON;
            fribidi_log2vis(line.data(), static_cast<FriBidiStrIndex>(line.size()), &direction,
                            visual.data(), nullptr, nullptr, nullptr);
            _exit(VALGRIND_COUNT_ERRORS > 0 ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const bool mishandled = !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (!WIFEXITED(status)) ++killed;
        by_depth[depth].first++;
        by_depth[depth].second += mishandled ? 1 : 0;
    }
    std::printf("killed by a signal (crash or hang): %d\n", killed);
    for (const auto& [depth, count] : by_depth) {
        std::printf("nesting %d: %d lines, %d mishandled\n", depth, count.first, count.second);
    }
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// The benchmark program: every group registered by name, then Google Benchmark's own command line.
//
//   zelvar_bench --write-lines FILE   writes the reordering lines for the Java harness and exits
//                                     (one line of text each: its name, then its code points in
//                                     hexadecimal)
//   zelvar_bench --fixed-iterations=N [benchmark options]
//                                     runs every benchmark exactly N iterations, once (for
//                                     counting instructions under callgrind)
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else  // without valgrind's headers the program only times
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name) static_cast<void>(name)
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "bench/bench_lines.h"

namespace {

long g_fixed_iterations = 0;

int WriteLines(const char* path) {
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    for (const auto& [name, line] : zelvar_bench::ReorderLines()) {
        // The JVM times the receipt lines and the 1,000-character ones.
        if (line.size() > 1000 || name.rfind("brackets", 0) == 0) continue;
        std::fprintf(out, "%s", name.c_str());
        for (long cp : line) std::fprintf(out, " %lx", cp);
        std::fprintf(out, "\n");
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace

benchmark::internal::Benchmark* zelvar_bench::Register(
    const std::string& name, std::function<void(benchmark::State&)> body) {
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(
        name.c_str(), [name, body = std::move(body)](benchmark::State& state) {
            // The set-up inside `body` is counted too; over hundreds of iterations it is noise.
            CALLGRIND_ZERO_STATS;
            body(state);
            const std::string dump =
                "iterations=" + std::to_string(state.iterations()) + " " + name;
            CALLGRIND_DUMP_STATS_AT(dump.c_str());
        });
    if (g_fixed_iterations > 0) b->Iterations(g_fixed_iterations)->Repetitions(1);
    return b;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-lines") == 0) return WriteLines(argv[2]);
    constexpr const char kFixed[] = "--fixed-iterations=";
    if (argc >= 2 && std::strncmp(argv[1], kFixed, sizeof kFixed - 1) == 0) {
        g_fixed_iterations = std::atol(argv[1] + sizeof kFixed - 1);
        argv[1] = argv[0];  // drop the option before Google Benchmark reads the command line
        ++argv;
        --argc;
    }
    zelvar_bench::RegisterLookupBenchmarks();
    zelvar_bench::RegisterComposeBenchmarks();
    zelvar_bench::RegisterReorderBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Preparation of a large file without a database: the working copy and the
// first pass, as a run does them before its first statement, against cp of
// the same file, alternating. Each preparation runs in a child process of its
// own, so its peak resident memory is that of the preparation alone.
//
//   prepare-bench FOLDER [MIB] [RUNS]      generates FOLDER/prepare_bench.csv, measures
//   prepare-bench --prepare-only FILE      one preparation (the measured child)
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/host.h"
#include "bench_support.h"
#include "import/import_options.h"
#include "import/working_copy.h"
#include "support/import_helpers.h"

namespace verrolift::bench {
namespace {

// About MIB mebibytes of lines of 8 fields, each line ended by CR LF; returns its size in MiB.
double Generate(const std::string& path, long mib) {
    return GenerateMiB(path, mib, [](long n, std::string& block) {
        char line[256];
        const int length = std::snprintf(
            line, sizeof line,
            "%ld,Name %ld,%ld.%02ld,2021-08-%02ld,city %ld,x%lx,\"q %ld\",end\r\n", n, n % 9973,
            n % 100000, n % 100, n % 28 + 1, n % 613, n * 2654435761L % 65536, n % 7);
        block.append(line, static_cast<std::size_t>(length));
    });
}

int PrepareOnly(const std::string& file) {
    ImportOptions options;  // create mode, column names from the first line: every line kept
    NoEventPump pump;
    const PreparedLines prepared = PrepareFile(file, options, pump);
    std::printf("lines %llu\n", static_cast<unsigned long long>(prepared.lineCount));
    return 0;
}

}  // namespace

int Main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--prepare-only") return PrepareOnly(argv[2]);
    if (argc < 2) Fail("usage: prepare-bench FOLDER [MIB] [RUNS]");
    const std::string folder = argv[1];
    const long mib = argc > 2 ? std::stol(argv[2]) : 1024;
    const int runs = argc > 3 ? std::stoi(argv[3]) : 3;
    const std::string self = SelfPath();

    const std::string file = folder + "/prepare_bench.csv";
    const std::string copy = folder + "/cp_copy.csv";
    // The working copies go below the bench folder, on the same disk as the file, and go with it.
    const std::string tmp = folder + "/tmp";
    MakePrivateFolder(tmp);
    const double sizeMiB = Generate(file, mib);
    std::printf("prepare: %.0f MiB file, %d runs of each, alternating with cp\n", sizeMiB, runs);

    std::vector<double> prepareSeconds, cpSeconds;
    long peakKiB = 0;
    auto removeOutputs = [&] {
        std::filesystem::remove(copy);
        for (const auto& entry : std::filesystem::directory_iterator(tmp))
            std::filesystem::remove_all(entry);
    };
    // One round unmeasured: the first writer after the file was generated pays for
    // setting up the page cache and would make whichever goes first look slow.
    removeOutputs();
    if (RunChild({"/bin/cp", file, copy}).exitCode != 0) Fail("cp failed");
    removeOutputs();
    if (RunChild({self, "--prepare-only", file}, {"TMPDIR=" + tmp}).exitCode != 0)
        Fail("preparation failed");
    for (int run = 1; run <= runs; ++run) {
        auto runCp = [&] {
            removeOutputs();
            const ChildRun r = RunChild({"/bin/cp", file, copy});
            if (r.exitCode != 0) Fail("cp failed");
            cpSeconds.push_back(r.seconds);
        };
        auto runPrepare = [&] {
            removeOutputs();
            const ChildRun r = RunChild({self, "--prepare-only", file}, {"TMPDIR=" + tmp});
            unsigned long long lines = 0;
            if (r.exitCode != 0 || std::sscanf(r.out.c_str(), "lines %llu", &lines) != 1 ||
                lines == 0)
                Fail("preparation failed");
            prepareSeconds.push_back(r.seconds);
            peakKiB = std::max(peakKiB, r.peakRssKiB);
            std::printf("  run %d: prepare %.3f s (%.0f MiB/s, peak RSS %.1f MiB)", run, r.seconds,
                        sizeMiB / r.seconds, r.peakRssKiB / 1024.0);
        };
        if (run % 2) {
            runPrepare();
            runCp();
        } else {
            runCp();
            runPrepare();
        }
        std::printf(", cp %.3f s (%.0f MiB/s)\n", cpSeconds.back(), sizeMiB / cpSeconds.back());
    }
    removeOutputs();
    std::filesystem::remove(file);

    const double prepareRate = sizeMiB / Median(prepareSeconds);
    const double cpRate = sizeMiB / Median(cpSeconds);
    std::printf("cp: %.0f MiB/s\n", cpRate);
    std::printf("prepare: %.0f MiB/s, ratio (prepare/cp) %.2f, peak RSS %.0f MiB\n", prepareRate,
                prepareRate / cpRate, peakKiB / 1024.0);
    return 0;
}

}  // namespace verrolift::bench

int main(int argc, char** argv) {
    return verrolift::bench::Main(argc, argv);
}

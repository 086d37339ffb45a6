// Reading a file with quoted fields against reading it as plain lines, without a
// database: the first pass (working copy) and the second pass (records cut into
// fields), as a run does them before and between its statements. A third of the
// fields of the generated file are quoted, some holding the separator, doubled
// quotes or a line break. Each reading runs in a child process of its own,
// alternating between the two readers.
//
//   quotes-bench FOLDER [MIB] [RUNS]         generates FOLDER/quotes_bench.csv, measures
//   quotes-bench --read-only MODE FILE       one reading, MODE "default" or "quotes"
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/host.h"
#include "bench_support.h"
#include "import/file_handle.h"
#include "import/import_options.h"
#include "import/line_fields.h"
#include "import/line_reader.h"
#include "import/quoted_record_reader.h"
#include "import/working_copy.h"
#include "support/import_helpers.h"

namespace verrolift::bench {
namespace {

// About MIB mebibytes of records of 9 fields, every third one quoted, ended by CR LF;
// returns its size in MiB.
double Generate(const std::string& path, long mib) {
    return GenerateMiB(path, mib, [](long n, std::string& block) {
        // Quoted: a name with a comma, a note with doubled quotes (and now and then a line
        // break), an empty text.
        char line[512];
        const int length = std::snprintf(
            line, sizeof line,
            "%ld,\"Name %ld, Jr.\",%ld.%02ld,2021-08-%02ld,\"say \"\"%ld\"\"%s\",x%lx,"
            "city %ld,\"\",end\r\n",
            n, n % 9973, n % 100000, n % 100, n % 28 + 1, n % 613, n % 50 == 0 ? "\r\nmore" : "",
            n * 2654435761L % 65536, n % 7);
        block.append(line, static_cast<std::size_t>(length));
    });
}

int ReadOnly(const std::string& mode, const std::string& file) {
    ImportOptions options;  // create mode, column names from the first line: every record kept
    options.quotedFields = mode == "quotes";
    NoEventPump pump;
    WorkingCopy copy = WorkingCopy::Claim();
    const PreparedLines prepared = PrepareFile(copy, file, options, pump);
    FileHandle in = OpenWorkingCopy(copy);
    unsigned long long records = 0;
    unsigned long long fields = 0;
    unsigned long long bytes = 0;
    if (options.quotedFields) {
        QuotedRecordReader::Settings settings;
        settings.separator = options.separator;
        settings.lineEnds = copy.LineEnds();
        QuotedRecordReader reader(in.Get(), copy.Path(), settings);
        for (; reader.Next(); ++records) {
            fields += reader.Fields().size();
            for (const auto field : reader.Fields()) bytes += field.size();
        }
    } else {
        LineReader reader(in.Get(), copy.Path(), copy.LineEnds());
        std::vector<std::string_view> split;
        for (; !reader.AtEnd(); ++records) {
            SplitFieldsInto(reader.Next(), options.separator, split);
            fields += split.size();
            for (const auto field : split) bytes += field.size();
        }
    }
    std::printf("records %llu fields %llu bytes %llu\n", records, fields, bytes);
    return 0;
}

}  // namespace

int Main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--read-only") return ReadOnly(argv[2], argv[3]);
    if (argc < 2) Fail("usage: quotes-bench FOLDER [MIB] [RUNS]");
    const std::string folder = argv[1];
    const long mib = argc > 2 ? std::stol(argv[2]) : 256;
    const int runs = argc > 3 ? std::stoi(argv[3]) : 5;
    const std::string self = SelfPath();

    const std::string file = folder + "/quotes_bench.csv";
    const std::string tmp = folder + "/quotes-tmp";
    MakePrivateFolder(tmp);
    const double sizeMiB = Generate(file, mib);
    std::printf("quotes: %.0f MiB file, %d runs of each reader, alternating\n", sizeMiB, runs);

    std::vector<double> seconds[2];
    const char* modes[2] = {"default", "quotes"};
    auto run = [&](int m) {
        const ChildRun r = RunChild({self, "--read-only", modes[m], file}, {"TMPDIR=" + tmp});
        unsigned long long records = 0;
        if (r.exitCode != 0 || std::sscanf(r.out.c_str(), "records %llu", &records) != 1 ||
            records == 0)
            Fail(std::string(modes[m]) + " reading failed");
        seconds[m].push_back(r.seconds);
        std::printf("  %-7s %.3f s (%.0f MiB/s, cpu %.3f s, peak RSS %.1f MiB): %s", modes[m],
                    r.seconds, sizeMiB / r.seconds, r.cpuSeconds, r.peakRssKiB / 1024.0,
                    r.out.c_str());
    };
    run(0);  // unmeasured: the first reader after generating pays for the page cache
    seconds[0].clear();
    for (int i = 1; i <= runs; ++i) {
        run(i % 2 == 0 ? 0 : 1);
        run(i % 2 == 0 ? 1 : 0);
    }
    std::filesystem::remove_all(tmp);
    std::filesystem::remove(file);

    const double defaultRate = sizeMiB / Median(seconds[0]);
    const double quotesRate = sizeMiB / Median(seconds[1]);
    std::printf("default: %.0f MiB/s\n", defaultRate);
    std::printf("quotes: %.0f MiB/s, ratio (quotes/default) %.2f\n", quotesRate,
                quotesRate / defaultRate);
    return 0;
}

}  // namespace verrolift::bench

int main(int argc, char** argv) {
    return verrolift::bench::Main(argc, argv);
}

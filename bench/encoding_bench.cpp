// Decoding a Windows-1252 file to UTF-8, and checking that a UTF-8 file is valid, without
// a database: what the first pass adds to reading a file that is not UTF-8, or to learning
// that one is. Each file is read into memory first and handed over in pieces of 1 MiB, as
// the first pass reads them, so that the disk is not what is measured. Medians of RUNS;
// the last two lines are the rates, by wall and by processor time.
//
//   encoding-bench FOLDER [MIB] [RUNS]     generates FOLDER/encoding_bench_*.csv (64, 5)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_support.h"
#include "import/text_decoder.h"
#include "import/text_encoding.h"
#include "import/utf8_check.h"

namespace verrolift::bench {
namespace {

constexpr std::size_t kPiece = 1 << 20;

// Mostly ASCII records, a name with an accented letter in each and a few more characters
// above 0x7F in every fourth, as exports from Western European systems are.
void AppendRecord(long n, std::string& block) {
    char line[256];
    const int length = std::snprintf(
        line, sizeof line,
        "%ld;M\xFCller %ld;%s %ld;%ld.%02ld;2021-08-%02ld;plain text %lx;%ld\r\n", n, n % 9973,
        n % 4 == 0 ? "\x93"
                     "caf\xE9\x94 \x80"
                   : "cafe EUR",
        n % 613, n % 100000, n % 100, n % 28 + 1, n * 2654435761L % 65536, n % 7);
    block.append(line, static_cast<std::size_t>(length));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in) Fail("cannot read " + path);
    return all;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Wall and processor time of one measured run: on a shared machine the second says what
// the code costs when the first is stretched by other work.
struct Timing {
    double seconds = 0;
    double cpuSeconds = 0;
};

class Timer {
public:
    Timing Stop() const {
        return {Seconds(start_), static_cast<double>(std::clock() - cpuStart_) / CLOCKS_PER_SEC};
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::clock_t cpuStart_ = std::clock();
};

Timing TimeDecode(const std::string& bytes, std::size_t& written) {
    TextDecoder decoder(TextEncoding(EncodingKind::CodePage, "windows-1252"));
    std::string out;
    written = 0;
    const Timer timer;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        out.clear();
        decoder.Decode(bytes.data() + at, std::min(kPiece, bytes.size() - at), out);
        written += out.size();
    }
    out.clear();
    decoder.Finish(out);
    return timer.Stop();
}

Timing TimeCheck(const std::string& bytes) {
    Utf8Check check;
    const Timer timer;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
        check.Feed(bytes.data() + at, std::min(kPiece, bytes.size() - at));
    const bool valid = check.Finish();
    const Timing timing = timer.Stop();
    if (!valid) Fail("the UTF-8 file was found invalid");
    return timing;
}

}  // namespace

int Main(int argc, char** argv) {
    if (argc < 2) Fail("usage: encoding-bench FOLDER [MIB] [RUNS]");
    const std::string folder = argv[1];
    const long mib = argc > 2 ? std::stol(argv[2]) : 64;
    const int runs = argc > 3 ? std::max(1, std::stoi(argv[3])) : 5;

    const std::string legacyPath = folder + "/encoding_bench_1252.csv";
    const std::string utf8Path = folder + "/encoding_bench_utf8.csv";
    const double legacyMiB = GenerateMiB(legacyPath, mib, AppendRecord);
    const std::string legacy = ReadAll(legacyPath);
    // The UTF-8 file holds the same text: the decoder's own output.
    std::string utf8;
    {
        TextDecoder decoder(TextEncoding(EncodingKind::CodePage, "windows-1252"));
        decoder.Decode(legacy.data(), legacy.size(), utf8);
        decoder.Finish(utf8);
        std::ofstream(utf8Path, std::ios::binary) << utf8;
    }
    const double utf8MiB = static_cast<double>(utf8.size()) / (1 << 20);
    std::printf("encoding: %.0f MiB windows-1252 file, %.0f MiB utf-8 file, %d runs of each\n",
                legacyMiB, utf8MiB, runs);

    std::vector<double> decodeSeconds, decodeCpu, checkSeconds, checkCpu;
    for (int run = 1; run <= runs; ++run) {
        std::size_t written = 0;
        const Timing decode = TimeDecode(legacy, written);
        if (written != utf8.size()) Fail("the decoder wrote a different size each time");
        const Timing check = TimeCheck(utf8);
        decodeSeconds.push_back(decode.seconds);
        decodeCpu.push_back(decode.cpuSeconds);
        checkSeconds.push_back(check.seconds);
        checkCpu.push_back(check.cpuSeconds);
        std::printf(
            "  run %d: decode %.3f s (%.0f MiB/s, cpu %.3f s), check %.3f s (%.0f MiB/s, "
            "cpu %.3f s)\n",
            run, decode.seconds, legacyMiB / decode.seconds, decode.cpuSeconds, check.seconds,
            utf8MiB / check.seconds, check.cpuSeconds);
    }
    std::filesystem::remove(legacyPath);
    std::filesystem::remove(utf8Path);

    std::printf("windows-1252 decode: %.0f MiB/s (by processor time %.0f MiB/s)\n",
                legacyMiB / Median(decodeSeconds), legacyMiB / Median(decodeCpu));
    std::printf("utf-8 check: %.0f MiB/s (by processor time %.0f MiB/s)\n",
                utf8MiB / Median(checkSeconds), utf8MiB / Median(checkCpu));
    return 0;
}

}  // namespace verrolift::bench

int main(int argc, char** argv) {
    return verrolift::bench::Main(argc, argv);
}

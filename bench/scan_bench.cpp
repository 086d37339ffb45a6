// Scanning and listing a tree of 10,000 files in 1,000 folders exactly as
// "Add All File(s) In Folder" does, against `find <tree> -type f` over the
// same tree in the same run. Alternating runs, medians; the last line is
// `scan ratio (find/scan): X.XX` (find's time over ours: higher is better).
//
//   scan-bench [runs]        (default 7; the tree goes under $TMPDIR or /tmp)

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/host.h"
#include "files/folder_files.h"

extern char** environ;

namespace {

constexpr int kTopFolders = 10;
constexpr int kFoldersPerTop = 99;   // 10 + 10 * 99 = 1,000 folders
constexpr int kFilesPerFolder = 10;  // 1,000 * 10 = 10,000 files

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "scan-bench: %s\n", what.c_str());
    std::exit(1);
}

// Stands in for the windows: the benchmark has no reports to show.
class CountingDialogs : public verrolift::Dialogs {
public:
    void ShowMessage(const std::string&) override { ++shown; }
    void ShowErrorReport(const verrolift::ErrorReport&) override { ++shown; }
    std::string InputBox(const std::string&, const std::string&) override { return {}; }
    std::vector<std::string> PickFiles(const std::string&, const std::string&) override {
        return {};
    }
    std::string PickFolder(const std::string&, const std::string&) override { return {}; }
    int shown = 0;
};

void WriteFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail("cannot create " + path);
    if (::write(fd, "a,b\n", 4) != 4) Fail("cannot write " + path);
    ::close(fd);
}

int BuildTree(const std::string& root) {
    int files = 0;
    auto fill = [&](const std::string& folder) {
        if (::mkdir(folder.c_str(), 0755) != 0) Fail("cannot create " + folder);
        for (int f = 0; f < kFilesPerFolder; ++f, ++files)
            WriteFile(folder + "/file" + std::to_string(f) + ".txt");
    };
    for (int t = 0; t < kTopFolders; ++t) {
        const std::string top = root + "/top" + std::to_string(t);
        fill(top);
        for (int s = 0; s < kFoldersPerTop; ++s) fill(top + "/sub" + std::to_string(s));
    }
    return files;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Our side: the folder command's scan and listing, paths collected.
double TimeScan(const std::string& root, std::size_t& found) {
    verrolift::NoEventPump pump;
    CountingDialogs dialogs;
    const auto start = std::chrono::steady_clock::now();
    const auto files = verrolift::FilesInFolderTree(root, "*.txt", pump, dialogs, nullptr);
    const double seconds = Seconds(start);
    found = files.size();
    if (dialogs.shown != 0) Fail("the scan reported a failure");
    return seconds;
}

// find's side: start to exit, its output to /dev/null (or to `outPath`).
double TimeFind(const std::string& root, const char* outPath = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string find = "find", typeFlag = "-type", f = "f";
    std::string tree = root;
    char* argv[] = {find.data(), tree.data(), typeFlag.data(), f.data(), nullptr};
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    if (posix_spawnp(&pid, "find", &actions, nullptr, argv, environ) != 0) Fail("cannot run find");
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double seconds = Seconds(start);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("find failed");
    return seconds;
}

std::size_t CountLines(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (!in) Fail("cannot read " + path);
    std::size_t lines = 0;
    for (int c; (c = std::fgetc(in)) != EOF;)
        if (c == '\n') ++lines;
    std::fclose(in);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/verrolift-scan-XXXXXX";
    if (!::mkdtemp(pattern.data())) Fail("mkdtemp failed");
    const std::string base = pattern;
    const std::string root = base + "/tree";
    if (::mkdir(root.c_str(), 0755) != 0) Fail("cannot create " + root);

    const int files = BuildTree(root);
    std::printf("tree: %d files in %d folders under %s\n", files,
                kTopFolders * (1 + kFoldersPerTop), root.c_str());

    // Both sides must see the same files; the first runs also warm the cache.
    std::size_t found = 0;
    TimeScan(root, found);
    const std::string listing = base + "/find.out";
    TimeFind(root, listing.c_str());
    const std::size_t findFound = CountLines(listing);
    if (found != static_cast<std::size_t>(files) || findFound != found)
        Fail("scan found " + std::to_string(found) + ", find " + std::to_string(findFound) +
             ", tree holds " + std::to_string(files));

    std::vector<double> scanTimes, findTimes;
    for (int r = 0; r < runs; ++r) {
        // Alternate which goes first, so neither always meets the warmer cache.
        if (r % 2 == 0) {
            scanTimes.push_back(TimeScan(root, found));
            findTimes.push_back(TimeFind(root));
        } else {
            findTimes.push_back(TimeFind(root));
            scanTimes.push_back(TimeScan(root, found));
        }
    }
    const double scan = Median(scanTimes);
    const double find = Median(findTimes);
    std::printf("scan: median %.2f ms over %d runs, %.0f files/s\n", scan * 1e3, runs,
                files / scan);
    std::printf("find: median %.2f ms over %d runs, %.0f files/s\n", find * 1e3, runs,
                files / find);

    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    std::printf("scan ratio (find/scan): %.2f\n", find / scan);
    return 0;
}

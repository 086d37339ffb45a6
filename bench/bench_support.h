#pragma once

#include <functional>
#include <string>
#include <vector>

namespace verrolift::bench {

struct ChildRun {
    int exitCode = -1;
    double seconds = 0;     // wall time from start to exit
    long peakRssKiB = 0;    // ru_maxrss of the child
    double cpuSeconds = 0;  // user and system time of the child
    std::string out;        // standard output (standard error is passed through)
};

// Runs argv[0] with argv, with extra "NAME=value" entries added to the environment.
ChildRun RunChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnv = {});

double Median(std::vector<double> values);

// A plain ODBC session for setting up and checking benchmark tables.
class Session {
public:
    explicit Session(const std::string& connectionString);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    void Exec(const std::string& sql);
    // The first column of the first row.
    std::string Scalar(const std::string& sql);

private:
    void* env_ = nullptr;
    void* dbc_ = nullptr;
};

// The rows of a table.
long CountRows(Session& session, const std::string& table);

// The fields of each line GenerateLines writes.
constexpr int kGeneratedFields = 8;

// LINES lines of kGeneratedFields fields, the first naming the columns (col1, col2, ...);
// CR LF after each. The same count gives the same file, and a shorter one its first lines.
void GenerateLines(const std::string& path, long lines);

// About MIB mebibytes of records, record n (from 0) appended to block by appendRecord,
// written in whole mebibytes and synced: no measured run pays for writing the file out.
// Returns the file's size in MiB.
double GenerateMiB(const std::string& path, long mib,
                   const std::function<void(long n, std::string& block)>& appendRecord);

// A folder below the bench folder that only its owner may enter, for the working copies
// of a measured child (its TMPDIR).
void MakePrivateFolder(const std::string& path);

// This program, to be run again as the measured child.
std::string SelfPath();

// Prints and exits 1.
[[noreturn]] void Fail(const std::string& what);

std::string EnvOr(const char* name, const std::string& fallback);

}  // namespace verrolift::bench

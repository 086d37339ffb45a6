#pragma once

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

// Prints and exits 1.
[[noreturn]] void Fail(const std::string& what);

std::string EnvOr(const char* name, const std::string& fallback);

}  // namespace verrolift::bench

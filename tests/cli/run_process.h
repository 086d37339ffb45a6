#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace verrolift::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    int signal = 0;     // the signal that ended it, if one did
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // Added to (or replacing) the test's own environment; a nullopt value removes the variable.
    std::map<std::string, std::optional<std::string>> environment;
    // Standard error on a pseudo-terminal instead of a pipe.
    bool stderrOnTerminal = false;
    // The child's working folder; the test's own when unset.
    std::optional<std::string> workingDirectory;
    // The child runs as "nobody" when the test runs as root, so that permissions bind it.
    bool nonRoot = false;
    // The largest file the child may write (RLIMIT_FSIZE), in bytes; no limit when unset.
    std::optional<std::uint64_t> fileSizeLimit;
};

// Runs program with args (argv[0] is the program), standard input empty,
// and gathers both outputs until it ends.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

// The same, started now and finished by Wait: for tests that act while it runs.
class RunningProcess {
public:
    RunningProcess(const std::string& program, const std::vector<std::string>& args,
                   const ProcessOptions& options = {});
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    int Pid() const { return pid_; }
    void Signal(int signal);
    ProcessResult Wait();

private:
    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool waited_ = false;
};

}  // namespace verrolift::test

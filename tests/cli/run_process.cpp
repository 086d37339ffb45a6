#include "run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/non_root.h"

extern char** environ;

namespace verrolift::test {

namespace {

std::vector<std::string> ChildEnvironment(const ProcessOptions& options) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : options.environment) {
        if (value)
            env[name] = *value;
        else
            env.erase(name);
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : env) out.push_back(name + "=" + value);
    return out;
}

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

RunningProcess::RunningProcess(const std::string& program, const std::vector<std::string>& args,
                               const ProcessOptions& options) {
    int outPipe[2];
    Check(::pipe2(outPipe, O_CLOEXEC) == 0, "pipe");
    int errRead = -1;
    int errWrite = -1;
    if (options.stderrOnTerminal) {
        Check(::openpty(&errRead, &errWrite, nullptr, nullptr, nullptr) == 0, "openpty");
        ::fcntl(errRead, F_SETFD, FD_CLOEXEC);
        ::fcntl(errWrite, F_SETFD, FD_CLOEXEC);
    } else {
        int errPipe[2];
        Check(::pipe2(errPipe, O_CLOEXEC) == 0, "pipe");
        errRead = errPipe[0];
        errWrite = errPipe[1];
    }

    // Everything the child needs is built before fork.
    std::vector<std::string> env = ChildEnvironment(options);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = args;
    std::vector<char*> argv;
    for (auto& a : argCopy) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_ = ::fork();
    Check(pid_ >= 0, "fork");
    if (pid_ == 0) {
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, 0);
        ::dup2(outPipe[1], 1);
        ::dup2(errWrite, 2);
        if (options.workingDirectory && ::chdir(options.workingDirectory->c_str()) != 0) _exit(126);
        if (options.nonRoot && !BecomeNonRoot().empty()) _exit(125);
        if (options.fileSizeLimit) {
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
        }
        ::execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    ::close(outPipe[1]);
    ::close(errWrite);
    outFd_ = outPipe[0];
    errFd_ = errRead;
}

RunningProcess::~RunningProcess() {
    if (!waited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

void RunningProcess::Signal(int signal) {
    ::kill(pid_, signal);
}

ProcessResult RunningProcess::Wait() {
    ProcessResult result;
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            // End of a pipe, or EIO once a terminal's last writer has gone.
            ::close(fds[i].fd);
            fds[i].fd = -1;
            --open;
        }
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    return RunningProcess(program, args, options).Wait();
}

}  // namespace verrolift::test

#include "support/non_root.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace verrolift::test {

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
}  // namespace

std::string BecomeNonRoot() {
    if (::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNoGroup, kNoGroup, kNoGroup) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0)
            return std::string("cannot become nobody: ") + std::strerror(errno);
    }
    if (::geteuid() == 0) return "still root";
    return {};
}

std::string RunAsNonRoot(const std::function<std::string()>& check) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string problem = BecomeNonRoot();
        if (problem.empty()) problem = check();
        (void)!::write(pipeFds[1], problem.data(), problem.size());
        ::_exit(problem.empty() ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string got;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        got.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) return "child did not exit normally\n" + got;
    if (WEXITSTATUS(status) != 0 && got.empty()) return "child failed without a word";
    return got;
}

}  // namespace verrolift::test

#include <unistd.h>

#include "cli/process_platform.h"

namespace verrolift {

namespace {

volatile std::sig_atomic_t* stopFlag = nullptr;

extern "C" void RequestStop(int signal) {
    *stopFlag = signal;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void StopOnSignals(volatile std::sig_atomic_t* flag) {
    stopFlag = flag;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    // A write past the file-size limit then fails with EFBIG and is reported as any failed
    // write is, and the run goes on with the next file, instead of ending without a word.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

int ExitStatusAfterSignal(int signal) {
    return signal == SIGTERM || signal == SIGHUP ? 128 + SIGTERM : 128 + SIGINT;
}

bool ErrorOutputIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace verrolift

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/headless_import.h"
#include "verrolift_version.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// Interrupting a run stops it at its next yield: the connection is closed and the
// rows already sent stay, as when the window is closed during a run.
void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace verrolift;
    // Folder names are judged in the user's character set, as the windows do.
    std::setlocale(LC_CTYPE, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args, std::getenv("VERROLIFT_PASSWORD"));
    if (!parsed.commandLine) {
        std::fprintf(stderr, "verrolift-import: %s\n%s", parsed.error.c_str(), kUsageText);
        return kExitUsage;
    }
    if (parsed.commandLine->help) {
        std::fputs(kUsageText, stdout);
        return kExitDone;
    }
    if (parsed.commandLine->version) {
        std::printf("verrolift-import %s\n", kVersion);
        return kExitDone;
    }
    InstallStopHandlers();
    Console console;
    console.showProgress = ::isatty(STDERR_FILENO) == 1;
    console.stopRequested = &stopRequested;
    try {
        return RunHeadlessImport(*parsed.commandLine, console);
    } catch (const std::exception& e) {
        // Only what no protected step caught, such as memory running out.
        std::fprintf(stderr, "verrolift-import: %s\n", e.what());
        return kExitReported;
    }
}

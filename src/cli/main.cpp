#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/headless_import.h"
#include "cli/process_platform.h"
#include "verrolift_version.h"

namespace {

// Interrupting a run stops it at its next yield: the connection is closed and the
// rows already sent stay, as when the window is closed during a run.
volatile std::sig_atomic_t stopRequested = 0;

}  // namespace

int main(int argc, char** argv) {
    using namespace verrolift;
    // Folder names are judged in the user's character set, as the windows do.
    std::setlocale(LC_CTYPE, "");
    const std::vector<std::string> args = ProgramArguments(argc, argv);
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
    StopOnSignals(&stopRequested);
    Console console;
    console.showProgress = ErrorOutputIsTerminal();
    console.stopRequested = &stopRequested;
    try {
        return RunHeadlessImport(*parsed.commandLine, console);
    } catch (const std::exception& e) {
        // Only what no protected step caught, such as memory running out.
        std::fprintf(stderr, "verrolift-import: %s\n", e.what());
        return kExitReported;
    }
}

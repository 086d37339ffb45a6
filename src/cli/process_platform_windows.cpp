#include <io.h>

#include <cstdio>

#include "base/wide_text.h"
#include "base/windows_api.h"
#include "cli/process_platform.h"

// After windows.h, which it builds on.
#include <shellapi.h>

namespace verrolift {

namespace {

volatile std::sig_atomic_t* stopFlag = nullptr;

extern "C" void RequestStop(int signal) {
    *stopFlag = signal;
    // The C run-time resets the handler to the default before calling it.
    std::signal(signal, RequestStop);
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

void StopOnSignals(volatile std::sig_atomic_t* flag) {
    stopFlag = flag;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGBREAK, RequestStop);
}

int ExitStatusAfterSignal(int signal) {
    return signal == SIGTERM ? 128 + 15 : 128 + 2;
}

bool ErrorOutputIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace verrolift

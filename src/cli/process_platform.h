#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace verrolift {

// What verrolift-import needs of the platform at start-up. One implementation per
// platform (process_platform_posix.cpp, process_platform_windows.cpp).

// The program's arguments, without the program name, as UTF-8 bytes. POSIX: argv as
// given. Windows: the UTF-16 command line (GetCommandLineW), converted once here, since
// argv holds only what the ANSI code page can spell.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// From now on the signals that ask a program to stop (SIGINT, SIGTERM; SIGHUP on POSIX,
// SIGBREAK for Ctrl+Break on Windows) set *flag to the signal's number instead of ending
// the program. On POSIX
// SIGXFSZ is ignored as well: a write past the file-size limit fails with EFBIG.
void StopOnSignals(volatile std::sig_atomic_t* flag);

// The exit status of a run stopped by signal: 130 for an interrupt (SIGINT, Ctrl+Break),
// 143 for a request to end (SIGTERM, SIGHUP), as a shell reports such signals.
int ExitStatusAfterSignal(int signal);

// True when standard error is a terminal, where a progress line can be redrawn.
bool ErrorOutputIsTerminal();

}  // namespace verrolift

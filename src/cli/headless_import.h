#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/console_dialogs.h"
#include "db/table_list.h"
#include "import/import_outcome.h"
#include "import/run_stop.h"

namespace verrolift {

// Exit status of verrolift-import.
inline constexpr int kExitDone = 0;
inline constexpr int kExitReported = 1;
inline constexpr int kExitUsage = 2;

// What the program does with its standard streams.
struct Console {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool showProgress = false;  // standard error is a terminal
    // Set by a signal: the run stops at its next yield.
    const volatile std::sig_atomic_t* stopRequested = nullptr;
};

// The main window's work without the window: fills the table list from the
// catalogue, builds the file list from the paths, sets the options and runs
// the import. Gives the exit status.
int RunHeadlessImport(const CommandLine& commandLine, const Console& console);

// The line printed after a run's final message, or after a stopped run: "Summary: 2 of 3
// files imported, 2998 rows stored, 2 rows refused, 1 records not sent, 0 rows skipped.".
// A file is imported when every record of it was stored.
std::string SummaryLine(const ImportOutcome& outcome, int fileCount);

// For a file the run stopped inside: how many of its rows are decided, and how the rest
// loads.
std::string ResumeLine(const FileOutcome& file);

// What the command line says after a run: why it stopped, the summary, where the bad
// files are, and where each file cut short goes on.
void TellOutcome(const ImportOutcome& outcome, int fileCount, const RunStop& stop,
                 const CommandLine& commandLine, ConsoleDialogs& dialogs);

// Append mode selects TABLE in the table list: the entry spelled exactly so,
// else the one entry equal to it without regard to case, else TABLE is added
// at the end and selected, so the run's column check names a missing table.
void SelectAppendTable(VectorTableList& tables, const std::string& table);

}  // namespace verrolift

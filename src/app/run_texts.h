#pragma once

#include <cstdint>
#include <string>

#include "import/import_outcome.h"

namespace verrolift {

// "12345" as "12,345" (n >= 0).
std::string GroupedNumber(std::int64_t n);

// The caption of the main window during a run: "<title> - file 2 of 5, 12,345 rows".
std::string ProgressCaptionText(const std::string& title, int position, int count,
                                std::int64_t rows);

// The final message of a run that went through its files: the engine's closing words
// ("Done." or "Table(s) already exist."), a blank line, then what the run did:
// "2 of 3 files imported, 1,200 rows stored, 4 rows refused.". fileCount: the files the
// run took from the list.
// When a file of the run has a bad file, the folder of the bad files follows.
std::string FinalRunMessage(const ImportOutcome& outcome, int fileCount,
                            const std::string& badFolder = {});

// A file whose refused rows were too many to show one box each.
struct RefusedRows {
    std::string path;
    std::int64_t rows = 0;  // every refused row of the file
    int shown = 0;          // of them, shown one box each
    // Where the file's refused rows were kept, once the engine keeps them; "" while none is.
    std::string badFileFolder;
};

// The one box at the end of such a file: how many of its rows were not stored.
std::string RefusedRowsMessage(const RefusedRows& refused);

}  // namespace verrolift

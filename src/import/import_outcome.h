#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace verrolift {

// How a run ended: the final message it showed, or why it showed none.
enum class RunEnd {
    NotStarted,          // another run was under way
    NoFiles,             // "No files added."
    NoTableSelected,     // "Please select a table."
    TableNameExists,     // "Table name already exists."
    Done,                // "Done."
    TablesAlreadyExist,  // "Table(s) already exist."
    Stopped,             // a stop signal or the error limit: no final message
};

// Why a file made or filled no table, when it did not.
enum class FileSkip {
    None,
    NameListed,           // its table name was already in the table list
    ColumnCountMismatch,  // append mode: told in a message of its own
    NoColumnName,         // typed names: a name was left empty
    Other,                // reported, or left by the options (no pattern, no column source)
};

// What happened to one file of the list.
struct FileOutcome {
    std::string path;
    std::string table;  // the table its rows went to; "" when none was chosen
    // Every record of the file was stored.
    bool imported = false;
    FileSkip skip = FileSkip::None;
    std::int64_t rowsSent = 0;  // accepted or refused
    std::int64_t rowsRefused = 0;
    // Malformed, not valid in the file's encoding, or left when the file ended early
    // because its connection or table was gone.
    std::int64_t recordsNotSent = 0;
    std::int64_t rowsSkipped = 0;  // the first records, as asked (--skip-rows)
    int reports = 0;               // error reports shown for the file
    // The run stopped inside the file: its first resumeAfter records (after any first
    // line that is no data) are decided, stored or written to the bad file; the rest was
    // not read.
    std::optional<std::int64_t> resumeAfter;
    std::string badFile;  // where its records that were not stored went; "" for none

    std::int64_t RowsStored() const { return rowsSent - rowsRefused; }
};

// What a run did, as values: the command line decides on them, never on the words shown.
struct ImportOutcome {
    RunEnd end = RunEnd::NotStarted;
    std::vector<FileOutcome> files;  // in list order, the files the run reached
    int reports = 0;                 // every error report of the run, the files' included

    bool Ended() const { return end == RunEnd::Done || end == RunEnd::TablesAlreadyExist; }
    int FilesImported() const;
    std::int64_t RowsSent() const;
    std::int64_t RowsRefused() const;
    std::int64_t RowsStored() const { return RowsSent() - RowsRefused(); }
    std::int64_t RecordsNotSent() const;
    std::int64_t RowsSkipped() const;
    // "Done." with nothing else to tell: no report, no file skipped with a message.
    bool Clean() const;
};

}  // namespace verrolift

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/dialogs.h"
#include "base/host.h"
#include "db/connection.h"
#include "db/table_list.h"
#include "files/file_list.h"
#include "import/import_options.h"
#include "import/run_stop.h"

namespace verrolift {

// Told where a run is, for a progress display; optional. Calls come from the
// run itself, between statements, so they must be cheap. With several jobs,
// RowSent comes from the jobs' threads.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // Before anything else is done for the file at position (from 1) of count.
    virtual void FileStarted(int position, int count) = 0;
    // After each row went out, accepted or refused (a row of a batch once its batch
    // is committed, or sent again on its own).
    virtual void RowSent() = 0;
    // After a row statement the database refused (RowSent counts it too).
    virtual void RowRefused() {}
    // After the last line of a file went out as a row: nothing of the file was
    // skipped (a listed name, a column-count mismatch, a refused CREATE TABLE, a
    // lost connection or table, a file that could not be read).
    virtual void FileImported() {}
};

// How the rows of a file go out. The window always sends one autocommitted
// statement per line; the command line may ask for batches.
struct RowSending {
    // Prepared INSERTs with parameter arrays, one transaction per batch of batchRows
    // rows. A refused batch is rolled back and its rows sent again one by one as
    // without batches, so every row ends as it would have without them.
    bool batches = false;
    std::size_t batchRows = 1000;
    // Off: each row of a batch is executed on its own inside the batch's transaction,
    // as for a driver without parameter arrays.
    bool parameterArrays = true;
    // Rows per INSERT statement (VALUES(...),(...)) where the database takes it,
    // fewer for a wide table; 1: one row per statement.
    std::size_t rowsPerStatement = 500;
};

// Everything an import run talks to. The main window provides all of them;
// the command line and tests provide their own.
struct ImportContext {
    const FileList& files;
    TableList& tables;
    const ImportOptionsSource& options;
    const ConnectionSource& connection;
    Dialogs& dialogs;
    EventPump& pump;
    WindowPointer& pointer;
    ImportProgress* progress = nullptr;
    RowSending sending{};
    // Files imported at once, each on a thread and a connection of its own (the command
    // line only). With more than one, jobPump is what those threads yield to, and the
    // dialogs' InputBox is asked from them; pump is then yielded to only by the thread
    // that started the run, while it waits.
    int jobs = 1;
    EventPump* jobPump = nullptr;
    // Asked between records whether to stop early (the command line's signals and
    // --max-errors); none: the run goes to its end.
    RunStop* stop = nullptr;
    // The first skipRows records of each file are read but not sent (--skip-rows).
    std::int64_t skipRows = 0;
    // Where each file's records that were not stored are written, byte for byte; "": nowhere.
    std::string badFolder{};
};

}  // namespace verrolift

#include "cli/headless_import.h"

#include <optional>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/host.h"
#include "base/ignoring_case.h"
#include "base/protected_handler.h"
#include "cli/cli_paths.h"
#include "cli/console_dialogs.h"
#include "cli/progress_line.h"
#include "db/catalogue.h"
#include "db/failure_kinds.h"
#include "files/file_list.h"
#include "import/import_messages.h"
#include "import/import_run.h"

namespace verrolift {

namespace {

class GivenConnection : public ConnectionSource {
public:
    explicit GivenConnection(std::string connectionString) : s_(std::move(connectionString)) {}
    std::string ConnectionString() const override { return s_; }

private:
    std::string s_;
};

// Nothing to repaint: a yield only notices a stop request and refreshes the progress line.
class ConsolePump : public EventPump {
public:
    ConsolePump(ProgressLine& progress, const volatile std::sig_atomic_t* stop)
        : progress_(progress), stop_(stop) {}
    void Yield() override {
        if (stop_ && *stop_) throw RunAborted{};
        progress_.Tick();
    }

private:
    ProgressLine& progress_;
    const volatile std::sig_atomic_t* stop_;
};

// What the jobs of a run with --jobs yield to from their threads: only the stop request.
class StopPump : public EventPump {
public:
    explicit StopPump(const volatile std::sig_atomic_t* stop) : stop_(stop) {}
    void Yield() override {
        if (stop_ && *stop_) throw RunAborted{};
    }

private:
    const volatile std::sig_atomic_t* stop_;
};

// Keeps the progress line going; the jobs of a run with --jobs count from their own threads.
class HeadlessProgress : public ImportProgress {
public:
    explicit HeadlessProgress(ProgressLine& line) : line_(line) {}
    void FileStarted(int position, int count) override { line_.FileStarted(position, count); }
    void RowSent() override { line_.RowSent(); }

private:
    ProgressLine& line_;
};

// Files as given; a folder gives its tree's files, all of them or those of one extension.
// Unlike a drop, nothing is left out silently: a folder that cannot be read is reported
// as the folder command reports it, so the exit status shows it.
std::vector<std::string> PathEntries(const CommandLine& commandLine, EventPump& pump,
                                     Dialogs& dialogs) {
    ProtectedHandler folderCommand(tags::kMainAddFolder, dialogs);
    return CliPathEntries(commandLine.paths, commandLine.extension, pump, dialogs, folderCommand);
}

}  // namespace

std::string SummaryLine(int filesImported, int fileCount, std::int64_t rowsSent,
                        std::int64_t rowsRefused) {
    return "Summary: " + std::to_string(filesImported) + " of " + std::to_string(fileCount) +
           " files imported, " + std::to_string(rowsSent) + " rows sent, " +
           std::to_string(rowsRefused) + " rows refused.";
}

void SelectAppendTable(VectorTableList& tables, const std::string& table) {
    const auto& names = tables.Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == table) {
            tables.Select(static_cast<int>(i));
            return;
        }
    }
    int match = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!EqualIgnoringCase(names[i], table)) continue;
        if (match >= 0) {  // two spellings: neither is more right than the other
            match = -1;
            break;
        }
        match = static_cast<int>(i);
    }
    if (match < 0) {
        tables.Append(table);
        match = tables.Count() - 1;
    }
    tables.Select(match);
}

// The options the command line gives a run; in append mode the table is selected in
// tables, added to it when the catalogue did not list it.
ImportOptions OptionsOf(const CommandLine& commandLine, VectorTableList& tables) {
    ImportOptions options;
    options.mode = commandLine.mode;
    options.columnSource =
        commandLine.columnAnswers ? ColumnSource::TypedNames : ColumnSource::HeaderLine;
    options.skipHeaderOnAppend = commandLine.skipHeader;
    options.skipHeaderOnCreate = commandLine.skipHeader;
    options.separator = commandLine.separator;
    options.quotedFields = commandLine.quotes;
    options.encoding = commandLine.encoding;
    options.tableNamePattern = commandLine.tableNamePattern;
    if (commandLine.mode == ImportMode::AppendToTable) {
        SelectAppendTable(tables, commandLine.appendTable);
        options.targetTable = tables.Selected();
    }
    return options;
}

int RunHeadlessImport(const CommandLine& commandLine, const Console& console) {
    ProgressLine progress(console.err, console.showProgress);
    ConsoleDialogs dialogs(console.out, console.err,
                           commandLine.columnAnswers.value_or(std::vector<std::string>{}),
                           &progress);
    ConsolePump pump(progress, console.stopRequested);
    NoWindowPointer pointer;
    const GivenConnection connection(commandLine.ConnectionString());

    try {
        // As the main window's load step: a failing catalogue is reported and the list stays
        // as far as it got.
        VectorTableList tables;
        ProtectedHandler load(tags::kMainLoad, dialogs);
        std::optional<OdbcError> refusal;
        load.Run(
            kListTablesStep, [&] { ListUserTables(tables, connection.ConnectionString(), pump); },
            refusal);
        const bool loginRefused = refusal && IsLoginRefused(*refusal);

        VectorFileList files(PathEntries(commandLine, pump, dialogs));
        // The catalogue's login is the check before the first file: refused credentials
        // are not tried again once per file.
        if (loginRefused) {
            dialogs.ShowMessage(FilesNotImportedAfterRefusedLogin(files.Snapshot()));
            progress.Clear();
            return kExitReported;
        }

        const ImportOptions options = OptionsOf(commandLine, tables);

        HeadlessProgress counts(progress);
        StopPump jobPump(console.stopRequested);
        ImportContext context{files, tables, options, connection, dialogs, pump, pointer};
        context.progress = &counts;
        context.sending.batches = commandLine.fast;
        context.sending.batchRows = commandLine.batchRows;
        context.jobs = commandLine.jobs;
        context.jobPump = &jobPump;
        const int reportsBefore = dialogs.Reports();
        const ImportOutcome outcome = RunImport(context);
        if (outcome.Ended())
            dialogs.Print(SummaryLine(outcome.FilesImported(), files.Count(), outcome.RowsSent(),
                                      outcome.RowsRefused()));
        progress.Clear();
        return outcome.Clean() && reportsBefore == 0 ? kExitDone : kExitReported;
    } catch (const RunAborted&) {
        progress.Clear();
        return kExitReported;
    }
}

}  // namespace verrolift

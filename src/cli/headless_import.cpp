#include "cli/headless_import.h"

#include <optional>

#include "base/display_text.h"
#include "base/error_report.h"
#include "base/failure.h"
#include "base/host.h"
#include "base/ignoring_case.h"
#include "base/protected_handler.h"
#include "cli/cli_paths.h"
#include "cli/console_dialogs.h"
#include "cli/process_platform.h"
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

// Nothing to repaint: a yield refreshes the progress line, and before the run notices a
// stop request (the run itself stops between records, once what it sent is decided).
class ConsolePump : public EventPump {
public:
    ConsolePump(ProgressLine& progress, const volatile std::sig_atomic_t* stop)
        : progress_(progress), stop_(stop) {}
    void Yield() override {
        if (beforeRun && stop_ && *stop_) throw RunAborted{};
        progress_.Tick();
    }
    bool beforeRun = true;

private:
    ProgressLine& progress_;
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

std::string SummaryLine(const ImportOutcome& outcome, int fileCount) {
    return "Summary: " + std::to_string(outcome.FilesImported()) + " of " +
           std::to_string(fileCount) + " files imported, " + std::to_string(outcome.RowsStored()) +
           " rows stored, " + std::to_string(outcome.RowsRefused()) + " rows refused, " +
           std::to_string(outcome.RecordsNotSent()) + " records not sent, " +
           std::to_string(outcome.RowsSkipped()) + " rows skipped.";
}

std::string ResumeLine(const FileOutcome& file) {
    const std::string count = std::to_string(*file.resumeAfter);
    const std::string table = "\"" + ForDisplay(file.table) + "\"";
    return "\"" + ForDisplay(file.path) + "\": its first " + count + " rows are stored in " +
           table + "; the rest loads with --append " + table + " --skip-rows " + count;
}

void TellOutcome(const ImportOutcome& outcome, int fileCount, const RunStop& stop,
                 const CommandLine& commandLine, ConsoleDialogs& dialogs) {
    if (outcome.end == RunEnd::Stopped)
        dialogs.Print(stop.GetReason() == RunStop::Reason::ErrorLimit
                          ? "The run stopped: " + std::to_string(commandLine.maxErrors) +
                                " records were not stored, the limit --max-errors sets."
                          : "The run was stopped.");
    if (!outcome.Ended() && outcome.end != RunEnd::Stopped) return;
    dialogs.Print(SummaryLine(outcome, fileCount));
    for (const FileOutcome& file : outcome.files) {
        if (file.badFile.empty()) continue;
        dialogs.Print("The records that were not stored are in \"" +
                      ForDisplay(commandLine.badFolder) + "\".");
        break;
    }
    for (const FileOutcome& file : outcome.files)
        if (file.resumeAfter && !file.table.empty()) dialogs.Print(ResumeLine(file));
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
        RunStop stop(console.stopRequested, commandLine.maxErrors);
        ImportContext context{files, tables, options, connection, dialogs, pump, pointer};
        context.progress = &counts;
        context.sending.batches = commandLine.fast;
        context.sending.batchRows = commandLine.batchRows;
        context.jobs = commandLine.jobs;
        context.stop = &stop;
        context.skipRows = commandLine.skipRows;
        context.badFolder = commandLine.badFolder;
        const int reportsBefore = dialogs.Reports();
        pump.beforeRun = false;
        const ImportOutcome outcome = RunImport(context);
        TellOutcome(outcome, files.Count(), stop, commandLine, dialogs);
        progress.Clear();
        if (outcome.end == RunEnd::Stopped && stop.GetReason() == RunStop::Reason::Asked)
            return ExitStatusAfterSignal(*console.stopRequested);
        return outcome.Clean() && reportsBefore == 0 ? kExitDone : kExitReported;
    } catch (const RunAborted&) {
        progress.Clear();
        return console.stopRequested ? ExitStatusAfterSignal(*console.stopRequested)
                                     : kExitReported;
    }
}

}  // namespace verrolift

// The life of a row, in the order of the files it passes through:
//  1. ui/main_window.cpp (OnImportClicked) or cli/headless_import.cpp gathers the list, the
//     options and the connection into an ImportContext (import_context.h) and calls RunImport.
//  2. Here the run checks its preconditions and hands each file of the list to a
//     FileImporter (file_importer.cpp), one after the other or, with jobs, through
//     parallel_import.cpp; it shows the final message and returns the ImportOutcome.
//  3. The importer opens the file's connection (db/odbc.cpp), and working_copy.cpp copies
//     the file and reads it once (PrepareLines: its line ends, its first line, and by
//     line_fields.cpp's first-line rule the records kept; quoted_first_pass.cpp with
//     quoted fields).
//  4. new_table_import.cpp makes the table, its columns from the first line or typed by the
//     user, or append_import.cpp checks the chosen table's columns against the first record.
//  5. send_rows.cpp reads the working copy again through the record source chosen for the
//     file (record_source.cpp: line_reader.cpp and line_fields.cpp for plain lines,
//     quoted_record_reader.cpp for quoted fields) and gives each record to the row sink
//     chosen for it (row_sink.cpp): one INSERT per row built by sql_text.cpp and sent by
//     OdbcConnection::Execute, or batches (batch_sender.cpp) sent as parameter arrays
//     through db/batch_statement.cpp inside a db/transaction.h transaction.
// Each step reports its own failure under its number (import_steps.h) and the run goes on;
// what happened to each file is counted into its FileOutcome (import_outcome.h).

#include "import/import_run.h"

#include <optional>
#include <string>
#include <vector>

#include "base/protected_handler.h"
#include "import/file_importer.h"
#include "import/import_messages.h"
#include "import/parallel_import.h"
#include "import/sql_text.h"
#include "import/working_copy.h"

namespace verrolift {

namespace steps = import_steps;

namespace {

// One run at a time: a start from inside a running import's yield does nothing.
bool runUnderWay = false;

class RunClaim {
public:
    RunClaim() : claimed_(!runUnderWay) { runUnderWay = true; }
    ~RunClaim() {
        if (claimed_) runUnderWay = false;
    }
    RunClaim(const RunClaim&) = delete;
    RunClaim& operator=(const RunClaim&) = delete;
    bool Claimed() const { return claimed_; }

private:
    bool claimed_;
};

class ImportRun {
public:
    explicit ImportRun(ImportContext& context)
        : context_(context), options_(context.options), h_(tags::kMainImport, context.dialogs) {}

    ImportOutcome Run() {
        ImportOutcome outcome;
        outcome.end = Preconditions();
        if (outcome.end == RunEnd::NotStarted) {
            std::vector<std::string> files;
            h_.Run(steps::kSnapshotFiles, [&] { files = context_.files.Snapshot(); });
            outcome.files = ImportFiles(files);
            // A stopped run tells what it did in its own words, not with a final message.
            const bool stopped = context_.stop && context_.stop->Requested();
            outcome.end = stopped ? RunEnd::Stopped : FinalMessage(outcome.files);
        }
        outcome.reports = h_.Failures();
        for (const FileOutcome& file : outcome.files) outcome.reports += file.reports;
        return outcome;
    }

private:
    // The first precondition that fails, told in its message; NotStarted when all hold.
    RunEnd Preconditions() {
        if (h_.Test(steps::kNoFilesTest, [&] { return context_.files.Count() == 0; })) {
            h_.Run(steps::kNoFilesMessage, [&] { context_.dialogs.ShowMessage(kNoFilesAdded); });
            return RunEnd::NoFiles;
        }
        if (h_.Test(steps::kNoTableTest, [&] {
                return options_.Mode() == ImportMode::AppendToTable &&
                       !options_.TargetTable().has_value();
            })) {
            h_.Run(steps::kNoTableMessage,
                   [&] { context_.dialogs.ShowMessage(kPleaseSelectTable); });
            return RunEnd::NoTableSelected;
        }
        if (h_.Test(steps::kNameTakenTest, [&] {
                return options_.Mode() == ImportMode::CreateTable &&
                       ListContains(context_.tables, options_.TableNamePattern());
            })) {
            h_.Run(steps::kNameTakenMessage,
                   [&] { context_.dialogs.ShowMessage(kTableNameExists); });
            return RunEnd::TableNameExists;
        }
        return RunEnd::NotStarted;
    }

    std::vector<FileOutcome> ImportFiles(const std::vector<std::string>& files) {
        auto reportLeft = [&](std::vector<std::string> left) { ReportFilesLeft(left); };
        if (context_.jobs > 1 && files.size() > 1)
            return ParallelImport(context_, files).Run(reportLeft);
        std::vector<FileOutcome> outcomes;
        std::optional<WorkingCopy> workingCopy;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (context_.stop && context_.stop->Requested()) break;
            if (context_.progress)
                context_.progress->FileStarted(static_cast<int>(i + 1),
                                               static_cast<int>(files.size()));
            FileImporter importer(context_, workingCopy);
            outcomes.push_back(importer.Import(static_cast<std::int32_t>(i + 1), files[i]));
            if (importer.LoginRefused()) {
                reportLeft({files.begin() + static_cast<std::ptrdiff_t>(i + 1), files.end()});
                break;
            }
        }
        return outcomes;
    }

    // Every further attempt would count towards locking the account: the files left
    // are named in one report instead.
    void ReportFilesLeft(const std::vector<std::string>& left) {
        if (left.empty()) return;
        h_.Report(steps::kOpenConnection, FilesNotImportedAfterRefusedLogin(left));
    }

    // The message reflects the last file only, as the window always showed it.
    RunEnd FinalMessage(const std::vector<FileOutcome>& files) {
        const bool noTableClash = !files.empty() && files.back().skip != FileSkip::NameListed;
        if (h_.Test(steps::kOutcomeTest, [&] { return noTableClash; })) {
            h_.Run(steps::kDoneMessage, [&] { context_.dialogs.ShowMessage(kDone); });
            return RunEnd::Done;
        }
        h_.Run(steps::kClashMessage, [&] { context_.dialogs.ShowMessage(kTablesAlreadyExist); });
        return RunEnd::TablesAlreadyExist;
    }

    ImportContext& context_;
    const ImportOptionsSource& options_;
    ProtectedHandler h_;
};

}  // namespace

ImportOutcome RunImport(ImportContext& context) {
    const RunClaim claim;
    if (!claim.Claimed()) return {};
    return ImportRun(context).Run();
}

int ImportOutcome::FilesImported() const {
    int count = 0;
    for (const FileOutcome& file : files) count += file.imported ? 1 : 0;
    return count;
}

std::int64_t ImportOutcome::RowsSent() const {
    std::int64_t count = 0;
    for (const FileOutcome& file : files) count += file.rowsSent;
    return count;
}

std::int64_t ImportOutcome::RowsRefused() const {
    std::int64_t count = 0;
    for (const FileOutcome& file : files) count += file.rowsRefused;
    return count;
}

std::int64_t ImportOutcome::RecordsNotSent() const {
    std::int64_t count = 0;
    for (const FileOutcome& file : files) count += file.recordsNotSent;
    return count;
}

std::int64_t ImportOutcome::RowsSkipped() const {
    std::int64_t count = 0;
    for (const FileOutcome& file : files) count += file.rowsSkipped;
    return count;
}

bool ImportOutcome::Clean() const {
    if (end != RunEnd::Done || reports > 0) return false;
    for (const FileOutcome& file : files)
        if (file.skip == FileSkip::ColumnCountMismatch || file.skip == FileSkip::NoColumnName)
            return false;
    return true;
}

}  // namespace verrolift

#include "import/import_run.h"

#include <optional>
#include <string>
#include <vector>

#include "base/protected_handler.h"
#include "db/failure_kinds.h"
#include "db/odbc.h"
#include "import/append_import.h"
#include "import/file_import.h"
#include "import/import_messages.h"
#include "import/new_table_import.h"
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

// The busy pointer of one file, put back on every way out of it.
class FilePointer {
public:
    explicit FilePointer(WindowPointer& pointer) : pointer_(pointer) {}
    ~FilePointer() {
        if (!busy_) return;
        try {
            pointer_.SetPointer(PointerShape::Default);
        } catch (...) {
            // Leaving the file anyway; a pointer that cannot be set is no reason to stop.
        }
    }
    FilePointer(const FilePointer&) = delete;
    FilePointer& operator=(const FilePointer&) = delete;

    void Busy() {
        busy_ = true;
        pointer_.SetPointer(PointerShape::Busy);
    }
    void Default() {
        pointer_.SetPointer(PointerShape::Default);
        busy_ = false;
    }

private:
    WindowPointer& pointer_;
    bool busy_ = false;
};

std::int32_t StepOf(WorkingCopyError::Stage stage) {
    switch (stage) {
        case WorkingCopyError::Stage::Open:
            return steps::kOpenFirstPass;
        case WorkingCopyError::Stage::Read:
            return steps::kReadFirstPass;
        case WorkingCopyError::Stage::Write:
            break;
    }
    return steps::kRewriteWorkingCopy;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A file that leaves no line to import ends with one report and makes nothing.
void RequireKeptLines(const FileImport& file) {
    if (file.prepared.keptLineCount > 0) return;
    if (file.prepared.lineCount == 0) throw Failure("The file " + Quoted(file.path) + " is empty.");
    throw Failure("The file " + Quoted(file.path) +
                  " holds no line to import after its first line.");
}

class ImportRun {
public:
    explicit ImportRun(ImportContext& context)
        : context_(context), options_(context.options), h_(tags::kForm2Import, context.dialogs) {}

    void Run() {
        if (h_.Test(steps::kNoFilesTest, [&] { return context_.files.Count() == 0; })) {
            h_.Run(steps::kNoFilesMessage, [&] { context_.dialogs.ShowMessage(kNoFilesAdded); });
            return;
        }
        if (h_.Test(steps::kNoTableTest, [&] {
                return options_.Mode() == ImportMode::AppendToTable &&
                       !options_.TargetTable().has_value();
            })) {
            h_.Run(steps::kNoTableMessage,
                   [&] { context_.dialogs.ShowMessage(kPleaseSelectTable); });
            return;
        }
        if (h_.Test(steps::kNameTakenTest, [&] {
                return options_.Mode() == ImportMode::CreateTable &&
                       ListContains(context_.tables, options_.TableNamePattern());
            })) {
            h_.Run(steps::kNameTakenMessage,
                   [&] { context_.dialogs.ShowMessage(kTableNameExists); });
            return;
        }
        std::vector<std::string> files;
        h_.Run(steps::kSnapshotFiles, [&] { files = context_.files.Snapshot(); });
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (loginRefused_) {
                // Every further attempt would count towards locking the account.
                h_.Report(steps::kOpenConnection,
                          FilesNotImportedAfterRefusedLogin(std::vector<std::string>(
                              files.begin() + static_cast<std::ptrdiff_t>(i), files.end())));
                break;
            }
            if (context_.progress)
                context_.progress->FileStarted(static_cast<int>(i + 1),
                                               static_cast<int>(files.size()));
            ImportFile(static_cast<std::int32_t>(i + 1), files[i]);
        }

        if (h_.Test(steps::kOutcomeTest, [&] { return noTableClash_; })) {
            h_.Run(steps::kDoneMessage, [&] { context_.dialogs.ShowMessage(kDone); });
        } else {
            h_.Run(steps::kClashMessage,
                   [&] { context_.dialogs.ShowMessage(kTablesAlreadyExist); });
        }
    }

private:
    void ImportFile(std::int32_t position, const std::string& entry) {
        noTableClash_ = true;
        FilePointer pointer(context_.pointer);
        h_.Run(steps::kBusyPointer, [&] { pointer.Busy(); });
        // Dropped on every way out of the file, a closing program included.
        std::optional<OdbcConnection> connection;
        // A file without a connection is skipped: each of its statements would only fail.
        if (h_.Run(steps::kOpenConnection, [&] {
                connection.emplace();
                try {
                    connection->Open(context_.connection.ConnectionString(),
                                     ConnectionSettings{5000, 5000, true});
                } catch (const OdbcError& error) {
                    loginRefused_ = IsLoginRefused(error);
                    throw;
                }
            }))
            ImportOpenFile(*connection, position, entry);
        h_.Run(steps::kCloseConnection, [&] {
            if (connection) connection->Disconnect();
        });
        h_.Run(steps::kDefaultPointer, [&] { pointer.Default(); });
    }

    void ImportOpenFile(OdbcConnection& connection, std::int32_t position,
                        const std::string& entry) {
        std::string path;
        h_.Run(steps::kTakePath, [&] { path = entry; });
        if (!h_.Run(steps::kMakeWorkingCopy, [&] {
                if (!workingCopy_) workingCopy_.emplace(WorkingCopy::Claim());
                MakeWorkingCopy(path, *workingCopy_);
            }))
            return;
        std::optional<PreparedLines> prepared;
        h_.Run(steps::kOpenFirstPass, [&] {
            try {
                prepared = PrepareLines(*workingCopy_, options_, context_.pump);
            } catch (const WorkingCopyError& failure) {
                h_.Report(StepOf(failure.GetStage()), failure.Description());
            }
        });
        // Without a complete first pass the working copy is no copy of this file.
        if (!prepared) return;

        FileImport file{context_, h_,   connection,          *workingCopy_,
                        position, path, std::move(*prepared)};
        if (h_.Test(steps::kCreateModeTest,
                    [&] { return options_.Mode() == ImportMode::CreateTable; })) {
            std::string name;
            h_.Run(steps::kResolveName,
                   [&] { name = ResolveTableName(options_.TableNamePattern(), position); });
            if (h_.Test(steps::kNameListedTest,
                        [&] { return ListContains(context_.tables, name); })) {
                noTableClash_ = false;
                return;
            }
            if (h_.Test(steps::kEmptyPatternTest,
                        [&] { return options_.TableNamePattern().empty(); }))
                return;
            if (h_.Test(steps::kColumnSourceTest,
                        [&] { return options_.Columns() == ColumnSource::Unset; }))
                return;
            if (!h_.Run(steps::kCreateDataCheck, [&] {
                    RequireKeptLines(file);
                    if (file.prepared.firstLine.empty())
                        throw Failure("The first line of the file " + Quoted(file.path) +
                                      " is empty, so it gives no column and no table is made.");
                }))
                return;
            ImportNewTable(file, name);
            return;
        }
        if (h_.Test(steps::kAppendModeTest,
                    [&] { return options_.Mode() == ImportMode::AppendToTable; })) {
            if (!h_.Run(steps::kAppendDataCheck, [&] { RequireKeptLines(file); })) return;
            ImportIntoTable(file);
        }
    }

    ImportContext& context_;
    const ImportOptionsSource& options_;
    ProtectedHandler h_;
    bool noTableClash_ = false;
    bool loginRefused_ = false;  // the database refused the credentials: no more logins
    std::optional<WorkingCopy> workingCopy_;
};

}  // namespace

void RunImport(ImportContext& context) {
    const RunClaim claim;
    if (!claim.Claimed()) return;
    ImportRun(context).Run();
}

}  // namespace verrolift

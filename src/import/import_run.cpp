#include "import/import_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/protected_handler.h"
#include "db/failure_kinds.h"
#include "db/locked_table_list.h"
#include "db/odbc.h"
#include "import/append_import.h"
#include "import/buffered_dialogs.h"
#include "import/file_import.h"
#include "import/import_messages.h"
#include "import/job_queue.h"
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

// A job's yield: stops when the run is stopping, else the run's thread-safe pump.
class JobPump : public EventPump {
public:
    JobPump(const std::atomic<bool>& stop, EventPump* inner) : stop_(stop), inner_(inner) {}
    void Yield() override {
        if (stop_.load(std::memory_order_relaxed)) throw RunAborted{};
        if (inner_) inner_->Yield();
    }

private:
    const std::atomic<bool>& stop_;
    EventPump* inner_;
};

class ImportRun {
public:
    // workingCopy, when given, is the copy to use and keep (a job's, for all its files).
    explicit ImportRun(ImportContext& context, std::optional<WorkingCopy>* workingCopy = nullptr)
        : context_(context),
          options_(context.options),
          h_(tags::kForm2Import, context.dialogs),
          workingCopy_(workingCopy ? *workingCopy : ownWorkingCopy_) {}

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
        if (context_.jobs > 1 && files.size() > 1) {
            RunJobs(files);
        } else {
            for (std::size_t i = 0; i < files.size(); ++i) {
                if (loginRefused_) {
                    ReportFilesLeftAfterRefusedLogin(files, i);
                    break;
                }
                if (context_.progress)
                    context_.progress->FileStarted(static_cast<int>(i + 1),
                                                   static_cast<int>(files.size()));
                ImportFile(static_cast<std::int32_t>(i + 1), files[i]);
            }
        }

        if (h_.Test(steps::kOutcomeTest, [&] { return noTableClash_; })) {
            h_.Run(steps::kDoneMessage, [&] { context_.dialogs.ShowMessage(kDone); });
        } else {
            h_.Run(steps::kClashMessage,
                   [&] { context_.dialogs.ShowMessage(kTablesAlreadyExist); });
        }
    }

    // One file of the list; gives whether its table name was free.
    bool ImportFile(std::int32_t position, const std::string& entry) {
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
        return noTableClash_;
    }

    bool LoginRefused() const { return loginRefused_; }

private:
    // Every further attempt would count towards locking the account: the files from
    // position first on are named in one report instead.
    void ReportFilesLeftAfterRefusedLogin(const std::vector<std::string>& files,
                                          std::size_t first) {
        h_.Report(steps::kOpenConnection,
                  FilesNotImportedAfterRefusedLogin(std::vector<std::string>(
                      files.begin() + static_cast<std::ptrdiff_t>(first), files.end())));
    }

    // Up to context.jobs files at once, each on a thread, a connection, a working copy
    // and dialogs of its own. Each file's messages and reports are shown together once
    // it is done, in list order, so the output is the same whatever the number of jobs.
    void RunJobs(const std::vector<std::string>& files) {
        const std::size_t count = files.size();
        // Files that would make tables of the same name go one after the other, as the
        // later ones must find the name in the table list.
        std::vector<std::optional<std::string>> keys(count);
        if (options_.Mode() == ImportMode::CreateTable) {
            const std::string pattern = options_.TableNamePattern();
            for (std::size_t i = 0; i < count; ++i)
                keys[i] = ResolveTableName(pattern, static_cast<std::int32_t>(i + 1));
        }
        JobQueue queue(std::move(keys));
        LockedTableList tables(context_.tables);
        std::atomic<bool> stop{false};          // every job stops at its next yield
        std::atomic<bool> aborted{false};       // a job was stopped by the program closing
        std::atomic<bool> loginRefused{false};  // no job starts another file then
        JobPump pump(stop, context_.jobPump);
        std::vector<std::unique_ptr<BufferedDialogs>> dialogs;
        for (std::size_t i = 0; i < count; ++i)
            dialogs.push_back(std::make_unique<BufferedDialogs>(context_.dialogs));
        std::vector<char> noTableClash(count, 0);
        std::mutex failureMutex;
        std::exception_ptr failure;

        auto job = [&] {
            std::optional<WorkingCopy> workingCopy;
            while (const auto index = queue.Next()) {
                const std::size_t i = *index;
                NoWindowPointer pointer;
                ImportContext fileContext{context_.files, tables, options_, context_.connection,
                                          *dialogs[i],    pump,   pointer,  context_.progress};
                fileContext.sending = context_.sending;
                try {
                    ImportRun file(fileContext, &workingCopy);
                    noTableClash[i] = file.ImportFile(static_cast<std::int32_t>(i + 1), files[i]);
                    if (file.LoginRefused()) {
                        queue.Stop();
                        loginRefused = true;
                    }
                } catch (const RunAborted&) {
                    aborted = true;
                    stop = true;
                } catch (...) {
                    const std::lock_guard lock(failureMutex);
                    if (!failure) failure = std::current_exception();
                    stop = true;
                }
                queue.Done(i);
                if (stop) queue.Stop();
            }
        };

        std::vector<std::thread> threads;
        const std::size_t jobs = std::min(count, static_cast<std::size_t>(context_.jobs));
        for (std::size_t j = 0; j < jobs; ++j) threads.emplace_back(job);
        // Whatever ends the wait, no job outlives the run.
        struct Joiner {
            std::vector<std::thread>& threads;
            std::atomic<bool>& stop;
            JobQueue& queue;
            ~Joiner() {
                stop = true;
                queue.Stop();
                for (auto& t : threads)
                    if (t.joinable()) t.join();
            }
        };
        {
            Joiner joiner{threads, stop, queue};
            for (std::size_t i = 0; i < count && !stop; ++i) {
                if (context_.progress)
                    context_.progress->FileStarted(static_cast<int>(i + 1),
                                                   static_cast<int>(count));
                bool left = false;  // never handed out after a refused login
                while (!queue.WaitDone(i, std::chrono::milliseconds(100))) {
                    if (loginRefused && !queue.WillBeDone(i)) {
                        left = true;
                        break;
                    }
                    context_.pump.Yield();
                }
                if (stop) break;
                if (left) {
                    // A file held back by its table name may follow files already handed
                    // out: those are shown as usual, the others named in one report.
                    std::vector<std::string> notImported;
                    for (std::size_t j = i; j < count && !stop; ++j) {
                        if (!queue.WillBeDone(j)) {
                            notImported.push_back(files[j]);
                            continue;
                        }
                        while (!queue.WaitDone(j, std::chrono::milliseconds(100)))
                            context_.pump.Yield();
                        dialogs[j]->Replay(context_.dialogs);
                        noTableClash_ = noTableClash[j] != 0;
                    }
                    if (!stop) ReportFilesLeftAfterRefusedLogin(notImported, 0);
                    break;
                }
                dialogs[i]->Replay(context_.dialogs);
                noTableClash_ = noTableClash[i] != 0;
            }
            for (auto& t : threads) t.join();
        }
        if (failure) std::rethrow_exception(failure);
        // A job stopped by the program closing: nothing more is shown.
        if (aborted) throw RunAborted{};
    }

public:
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
    std::optional<WorkingCopy> ownWorkingCopy_;
    std::optional<WorkingCopy>& workingCopy_;
};

}  // namespace

void RunImport(ImportContext& context) {
    const RunClaim claim;
    if (!claim.Claimed()) return;
    ImportRun(context).Run();
}

}  // namespace verrolift

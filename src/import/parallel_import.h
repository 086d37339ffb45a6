#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "db/locked_table_list.h"
#include "import/buffered_dialogs.h"
#include "import/import_context.h"
#include "import/import_outcome.h"
#include "import/job_queue.h"
#include "import/working_copy.h"

namespace verrolift {

// The files of a run imported up to context.jobs at once, each on a thread, a
// connection, a working copy and dialogs of its own. Each file's messages and
// reports are shown together once it is done, in list order, so the output is the
// same whatever the number of jobs. Files that would make tables of the same name go
// one after the other, as the later ones must find the name in the table list.
class ParallelImport {
public:
    ParallelImport(ImportContext& context, const std::vector<std::string>& files);
    ~ParallelImport();
    ParallelImport(const ParallelImport&) = delete;
    ParallelImport& operator=(const ParallelImport&) = delete;

    // Imports the files and gives the outcomes of those shown, in list order. After a
    // refused login no file is started; the files never started go to reportLeft, in
    // one call. Rethrows a job's failure; throws RunAborted when the program closed.
    std::vector<FileOutcome> Run(const std::function<void(std::vector<std::string>)>& reportLeft);

private:
    class StopPump;

    void Job();
    bool WaitFor(std::size_t index);
    void ShowRest(std::size_t from, std::vector<FileOutcome>& shown,
                  const std::function<void(std::vector<std::string>)>& reportLeft);
    void Show(std::size_t index, std::vector<FileOutcome>& shown);
    void JoinAll();
    bool Stopping() const;

    ImportContext& context_;
    const std::vector<std::string>& files_;
    mutable JobQueue queue_;
    LockedTableList tables_;
    std::atomic<bool> stop_{false};          // every job stops at its next yield
    std::atomic<bool> aborted_{false};       // a job was stopped by the program closing
    std::atomic<bool> loginRefused_{false};  // no job starts another file then
    std::unique_ptr<StopPump> pump_;
    std::vector<std::unique_ptr<BufferedDialogs>> dialogs_;
    std::vector<FileOutcome> outcomes_;
    std::mutex failureMutex_;
    std::exception_ptr failure_;
    std::vector<std::thread> threads_;
};

}  // namespace verrolift

#include "import/parallel_import.h"

#include <algorithm>
#include <chrono>

#include "import/file_importer.h"
#include "import/sql_text.h"

namespace verrolift {

namespace {

constexpr std::chrono::milliseconds kWaitStep{100};

// The queue's keys: each file's table name in create mode, none in append mode.
std::vector<std::optional<std::string>> TableKeys(const ImportOptionsSource& options,
                                                  std::size_t count) {
    std::vector<std::optional<std::string>> keys(count);
    if (options.Mode() != ImportMode::CreateTable) return keys;
    const std::string pattern = options.TableNamePattern();
    for (std::size_t i = 0; i < count; ++i)
        keys[i] = ResolveTableName(pattern, static_cast<std::int32_t>(i + 1));
    return keys;
}

}  // namespace

// A job's yield: stops when the run is stopping, else the run's thread-safe pump.
class ParallelImport::StopPump : public EventPump {
public:
    StopPump(const std::atomic<bool>& stop, EventPump* inner) : stop_(stop), inner_(inner) {}
    void Yield() override {
        if (stop_.load(std::memory_order_relaxed)) throw RunAborted{};
        if (inner_) inner_->Yield();
    }

private:
    const std::atomic<bool>& stop_;
    EventPump* inner_;
};

ParallelImport::ParallelImport(ImportContext& context, const std::vector<std::string>& files)
    : context_(context),
      files_(files),
      queue_(TableKeys(context.options, files.size())),
      tables_(context.tables),
      pump_(std::make_unique<StopPump>(stop_, context.jobPump)),
      outcomes_(files.size()) {
    for (std::size_t i = 0; i < files.size(); ++i)
        dialogs_.push_back(std::make_unique<BufferedDialogs>(context_.dialogs));
}

// Whatever ends the run, no job outlives it.
ParallelImport::~ParallelImport() {
    JoinAll();
}

void ParallelImport::JoinAll() {
    stop_ = true;
    queue_.Stop();
    for (auto& t : threads_)
        if (t.joinable()) t.join();
}

void ParallelImport::Job() {
    std::optional<WorkingCopy> workingCopy;
    while (const auto index = Stopping() ? std::nullopt : queue_.Next()) {
        const std::size_t i = *index;
        NoWindowPointer pointer;
        ImportContext fileContext{context_.files, tables_, context_.options, context_.connection,
                                  *dialogs_[i],   *pump_,  pointer,          context_.progress};
        fileContext.sending = context_.sending;
        fileContext.stop = context_.stop;
        fileContext.skipRows = context_.skipRows;
        fileContext.badFolder = context_.badFolder;
        try {
            FileImporter importer(fileContext, workingCopy);
            outcomes_[i] = importer.Import(static_cast<std::int32_t>(i + 1), files_[i]);
            if (importer.LoginRefused()) {
                queue_.Stop();
                loginRefused_ = true;
            }
        } catch (const RunAborted&) {
            aborted_ = true;
            stop_ = true;
        } catch (...) {
            const std::lock_guard lock(failureMutex_);
            if (!failure_) failure_ = std::current_exception();
            stop_ = true;
        }
        queue_.Done(i);
        if (stop_ || Stopping()) queue_.Stop();
    }
}

std::vector<FileOutcome> ParallelImport::Run(
    const std::function<void(std::vector<std::string>)>& reportLeft) {
    const std::size_t count = files_.size();
    const std::size_t jobs = std::min(count, static_cast<std::size_t>(context_.jobs));
    for (std::size_t j = 0; j < jobs; ++j) threads_.emplace_back([this] { Job(); });
    std::vector<FileOutcome> shown;
    for (std::size_t i = 0; i < count && !stop_; ++i) {
        if (context_.progress)
            context_.progress->FileStarted(static_cast<int>(i + 1), static_cast<int>(count));
        if (!WaitFor(i)) {
            ShowRest(i, shown, reportLeft);
            break;
        }
        if (stop_) break;
        Show(i, shown);
    }
    for (auto& t : threads_) t.join();
    if (failure_) std::rethrow_exception(failure_);
    // A job stopped by the program closing: nothing more is shown.
    if (aborted_) throw RunAborted{};
    return shown;
}

// Waits until the file is done; false when it never will be: it was not handed out
// before a refused login stopped the queue.
bool ParallelImport::WaitFor(std::size_t index) {
    while (!queue_.WaitDone(index, kWaitStep)) {
        if ((loginRefused_ || Stopping()) && !queue_.WillBeDone(index)) return false;
        context_.pump.Yield();
    }
    return true;
}

// After a refused login: a file held back by its table name may follow files already
// handed out; those are shown as usual, the others named in one report.
void ParallelImport::ShowRest(std::size_t from, std::vector<FileOutcome>& shown,
                              const std::function<void(std::vector<std::string>)>& reportLeft) {
    std::vector<std::string> notImported;
    for (std::size_t j = from; j < files_.size() && !stop_; ++j) {
        if (!queue_.WillBeDone(j)) {
            notImported.push_back(files_[j]);
            continue;
        }
        while (!queue_.WaitDone(j, kWaitStep)) context_.pump.Yield();
        Show(j, shown);
    }
    // A run stopped on request names no file: the summary tells what was done.
    if (!stop_ && loginRefused_) reportLeft(std::move(notImported));
}

bool ParallelImport::Stopping() const {
    if (!context_.stop || !context_.stop->Requested()) return false;
    // No job starts another file, and waiting ones return.
    queue_.Stop();
    return true;
}

void ParallelImport::Show(std::size_t index, std::vector<FileOutcome>& shown) {
    dialogs_[index]->Replay(context_.dialogs);
    shown.push_back(outcomes_[index]);
}

}  // namespace verrolift

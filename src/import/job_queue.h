#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace verrolift {

// Hands the files of a run to jobs working at once: in list order, except that
// a file whose key (its table name) equals, without regard to ASCII case, the
// key of an earlier file waits until that file is done, so that it finds the
// table list as a run of one file at a time would leave it. A file without a
// key waits for nobody. Thread-safe.
class JobQueue {
public:
    explicit JobQueue(std::vector<std::optional<std::string>> keys);

    // The next file that may start, waiting while only held-back files are left;
    // none when every file has been handed out or Stop was called.
    std::optional<std::size_t> Next();

    void Done(std::size_t index);

    // True when the file is done; waits at most timeout for it.
    bool WaitDone(std::size_t index, std::chrono::milliseconds timeout);

    // No file is handed out any more; waiting jobs return.
    void Stop();

    // True when the file was handed out to a job (it will be done) or was never
    // going to be: false only for a file that a stopped queue will not hand out.
    bool WillBeDone(std::size_t index) const;

private:
    bool MayStart(std::size_t index) const;

    std::vector<std::optional<std::string>> keys_;  // lower case
    std::vector<bool> started_;
    std::vector<bool> done_;
    bool stopped_ = false;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace verrolift

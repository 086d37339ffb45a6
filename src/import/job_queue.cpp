#include "import/job_queue.h"

namespace verrolift {

namespace {
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

JobQueue::JobQueue(std::vector<std::optional<std::string>> keys)
    : keys_(std::move(keys)), started_(keys_.size(), false), done_(keys_.size(), false) {
    for (auto& key : keys_)
        if (key) key = Lower(*key);
}

bool JobQueue::MayStart(std::size_t index) const {
    if (!keys_[index]) return true;
    for (std::size_t j = 0; j < index; ++j)
        if (!done_[j] && keys_[j] == keys_[index]) return false;
    return true;
}

std::optional<std::size_t> JobQueue::Next() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopped_) return std::nullopt;
        bool left = false;
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (started_[i]) continue;
            left = true;
            if (!MayStart(i)) continue;
            started_[i] = true;
            return i;
        }
        if (!left) return std::nullopt;
        changed_.wait(lock);
    }
}

void JobQueue::Done(std::size_t index) {
    {
        const std::lock_guard lock(mutex_);
        done_.at(index) = true;
    }
    changed_.notify_all();
}

bool JobQueue::WaitDone(std::size_t index, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done_.at(index); });
}

bool JobQueue::WillBeDone(std::size_t index) const {
    const std::lock_guard lock(mutex_);
    return started_.at(index) || !stopped_;
}

void JobQueue::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

}  // namespace verrolift

#pragma once

#include <atomic>
#include <csignal>
#include <cstdint>

namespace verrolift {

// Whether a run is to stop early, and why: asked from outside (a stop signal), or its
// error limit reached. A stopping run finishes the statement or batch under way, reads
// no further record and starts no further file. Thread-safe: the jobs of a run share one.
class RunStop {
public:
    enum class Reason { None, Asked, ErrorLimit };

    // asked: set (non-zero) by a signal handler, or null; maxErrors: the records of the
    // run that may go unstored before it stops, 0 for no limit.
    RunStop(const volatile std::sig_atomic_t* asked, std::int64_t maxErrors)
        : asked_(asked), maxErrors_(maxErrors) {}

    bool Requested() const { return GetReason() != Reason::None; }
    Reason GetReason() const {
        if (asked_ && *asked_) return Reason::Asked;
        if (maxErrors_ > 0 && notStored_.load() >= maxErrors_) return Reason::ErrorLimit;
        return Reason::None;
    }
    // A record of the run was not stored (refused, malformed, not valid text).
    void NotStored() { notStored_.fetch_add(1); }

private:
    const volatile std::sig_atomic_t* asked_;
    std::int64_t maxErrors_;
    std::atomic<std::int64_t> notStored_{0};
};

}  // namespace verrolift

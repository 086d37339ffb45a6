#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "import/import_context.h"

namespace verrolift {

// The one-line progress of a run on a terminal: file i of n, lines sent, rows
// per second, redrawn in place a few times per second. Disabled, it draws nothing.
class ProgressLine : public ImportProgress {
public:
    using Clock = std::chrono::steady_clock;

    ProgressLine(std::FILE* terminal, bool enabled);

    void FileStarted(int position, int count) override;
    // From any thread; drawing stays on the thread that calls Tick and Clear.
    void RowSent() override { rows_.fetch_add(1, std::memory_order_relaxed); }
    // Redraws when the last drawing is old enough; cheap otherwise.
    void Tick();
    // Wipes the line so other output starts at the left edge; the next Tick draws it again.
    void Clear();

    long Rows() const { return rows_.load(std::memory_order_relaxed); }
    // The text of the line at the given time since the run started.
    std::string Text(Clock::duration elapsed) const;

private:
    void Draw(Clock::time_point now);

    std::FILE* terminal_;
    bool enabled_;
    int position_ = 0;
    int count_ = 0;
    std::atomic<long> rows_{0};
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point lastDraw_;
};

}  // namespace verrolift

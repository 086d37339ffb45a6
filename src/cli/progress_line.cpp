#include "cli/progress_line.h"

namespace verrolift {

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
// Carriage return, then erase to the end of the line.
constexpr const char* kWipe = "\r\x1b[K";
}  // namespace

ProgressLine::ProgressLine(std::FILE* terminal, bool enabled)
    : terminal_(terminal), enabled_(enabled), start_(Clock::now()), lastDraw_(start_) {}

void ProgressLine::FileStarted(int position, int count) {
    position_ = position;
    count_ = count;
    if (!enabled_) return;
    Draw(Clock::now());
}

void ProgressLine::Tick() {
    if (!enabled_) return;
    const auto now = Clock::now();
    if (now - lastDraw_ >= kRedrawInterval) Draw(now);
}

void ProgressLine::Clear() {
    if (!enabled_ || !shown_) return;
    std::fputs(kWipe, terminal_);
    std::fflush(terminal_);
    shown_ = false;
    // Draw again soon after the message, not at once over it.
    lastDraw_ = Clock::now();
}

std::string ProgressLine::Text(Clock::duration elapsed) const {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    const long perSecond =
        seconds > 0 ? static_cast<long>(static_cast<double>(Rows()) / seconds) : 0;
    return "file " + std::to_string(position_) + " of " + std::to_string(count_) + ", " +
           std::to_string(Rows()) + " lines sent, " + std::to_string(perSecond) + " rows/s";
}

void ProgressLine::Draw(Clock::time_point now) {
    const std::string text = kWipe + Text(now - start_);
    std::fwrite(text.data(), 1, text.size(), terminal_);
    std::fflush(terminal_);
    shown_ = true;
    lastDraw_ = now;
}

}  // namespace verrolift

#include "win32/caption_progress.h"

#include "app/run_texts.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

bool CaptionProgress::Begin() {
    if (active_) return false;
    active_ = true;
    title_ = TextOf(window_);
    position_ = 0;
    count_ = 0;
    rows_ = 0;
    shown_.reset();
    SetTimer(window_, kTimerId, static_cast<UINT>(intervalMs_), nullptr);
    return true;
}

void CaptionProgress::End() {
    KillTimer(window_, kTimerId);
    active_ = false;
    PutText(window_, title_);
}

void CaptionProgress::FileStarted(int position, int count) {
    position_ = position;
    count_ = count;
    // The first file shows at once; later ones wait for their turn.
    const auto now = std::chrono::steady_clock::now();
    if (!shown_ || now - *shown_ >= std::chrono::milliseconds(intervalMs_)) Show();
}

void CaptionProgress::Show() {
    // Before the first file (a run that stops at its checks) there is nothing to tell.
    if (!active_ || position_ == 0) return;
    PutText(window_, ProgressCaptionText(title_, position_, count_, rows_));
    shown_ = std::chrono::steady_clock::now();
}

}  // namespace verrolift::win32

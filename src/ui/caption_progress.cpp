#include "ui/caption_progress.h"

#include <QWidget>

#include "app/run_texts.h"

namespace verrolift {

CaptionProgress::CaptionProgress(QWidget* window, int intervalMs)
    : QObject(window), window_(window), intervalMs_(intervalMs) {
    timer_.setInterval(intervalMs_);
    connect(&timer_, &QTimer::timeout, this, [this] { Show(); });
}

bool CaptionProgress::Begin() {
    if (active_) return false;
    active_ = true;
    title_ = window_->windowTitle();
    position_ = 0;
    count_ = 0;
    rows_ = 0;
    sinceShown_.invalidate();
    timer_.start();
    return true;
}

void CaptionProgress::End() {
    timer_.stop();
    active_ = false;
    window_->setWindowTitle(title_);
}

void CaptionProgress::FileStarted(int position, int count) {
    position_ = position;
    count_ = count;
    // The first file shows at once; later ones wait for their turn.
    if (!sinceShown_.isValid() || sinceShown_.elapsed() >= intervalMs_) Show();
}

void CaptionProgress::Show() {
    // Before the first file (a run that stops at its checks) there is nothing to tell.
    if (!active_ || position_ == 0) return;
    window_->setWindowTitle(Text(title_, position_, count_, rows_));
    sinceShown_.start();
}

QString CaptionProgress::GroupedNumber(long long n) {
    return QString::fromStdString(verrolift::GroupedNumber(n));
}

QString CaptionProgress::Text(const QString& title, int position, int count, long long rows) {
    return QString::fromLocal8Bit(
        ProgressCaptionText(title.toLocal8Bit().toStdString(), position, count, rows));
}

}  // namespace verrolift

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "import/import_run.h"

class QWidget;

namespace verrolift {

// Where an import run stands, shown in its window's caption:
// "<title> - file 2 of 5, 12,345 rows". A row costs one counter step; the
// caption is redrawn at most once per interval, by a timer that fires while
// the run yields, and the title comes back when the run ends.
class CaptionProgress : public QObject, public ImportProgress {
    Q_OBJECT
public:
    CaptionProgress(QWidget* window, int intervalMs);

    // The caption of one run, put back on every way out of it. A run started
    // while another is under way (which the import refuses) leaves the caption alone.
    class Run {
    public:
        explicit Run(CaptionProgress& progress) : progress_(progress), began_(progress.Begin()) {}
        ~Run() {
            if (began_) progress_.End();
        }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

    private:
        CaptionProgress& progress_;
        bool began_;
    };

    void FileStarted(int position, int count) override;
    void RowSent() override { ++rows_; }

    // "12345" as "12,345" (n >= 0).
    static QString GroupedNumber(long long n);
    static QString Text(const QString& title, int position, int count, long long rows);

private:
    bool Begin();
    void End();
    void Show();

    QWidget* window_;
    QTimer timer_;
    QElapsedTimer sinceShown_;
    int intervalMs_;
    bool active_ = false;
    QString title_;
    int position_ = 0;
    int count_ = 0;
    long long rows_ = 0;
};

}  // namespace verrolift

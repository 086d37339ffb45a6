#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "base/windows_api.h"
#include "import/import_context.h"

namespace verrolift::win32 {

// Where an import run stands, shown in its window's caption: "<title> - file 2 of 5, 12,345
// rows". A row costs one counter step; the caption is redrawn at most once per interval, by
// a window timer that fires while the run yields, and the title comes back when it ends.
class CaptionProgress : public ImportProgress {
public:
    static constexpr UINT_PTR kTimerId = 0x5650;

    CaptionProgress(HWND window, int intervalMs) : window_(window), intervalMs_(intervalMs) {}

    // False when a run is under way already (which the import refuses): the caption stays.
    bool Begin();
    void End();
    // The window's WM_TIMER with kTimerId.
    void Tick() { Show(); }

    void FileStarted(int position, int count) override;
    void RowSent() override { ++rows_; }

private:
    void Show();

    HWND window_;
    int intervalMs_;
    bool active_ = false;
    std::string title_;
    int position_ = 0;
    int count_ = 0;
    long long rows_ = 0;
    std::optional<std::chrono::steady_clock::time_point> shown_;
};

}  // namespace verrolift::win32

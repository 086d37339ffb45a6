#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "base/host.h"
#include "base/windows_api.h"

namespace verrolift::win32 {

// The program's windows that take the dialog keys (Tab, Enter, Escape, the arrows).
using DialogWindows = std::function<std::vector<HWND>()>;

// Hands message to the dialog manager of the window among windows that it is for, so that
// the dialog keys work there; false when it is for none of them and still to be dispatched.
bool PassToDialogWindow(const std::vector<HWND>& windows, MSG& message);

// Lets the windows repaint and take input during long work. The messages waiting are
// dispatched at most once every intervalMs, so a yield per field costs nothing; once the
// program is ending every yield throws RunAborted.
class Win32EventPump : public EventPump {
public:
    Win32EventPump(std::function<bool()> ending, int intervalMs, DialogWindows windows = {});
    void Yield() override;
    void SetInterval(int intervalMs) { interval_ = std::chrono::milliseconds(intervalMs); }

private:
    void DispatchWaiting();

    std::function<bool()> ending_;
    std::chrono::milliseconds interval_;
    DialogWindows windows_;
    std::chrono::steady_clock::time_point last_{};
    bool pumped_ = false;
};

}  // namespace verrolift::win32

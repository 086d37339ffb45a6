#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/windows_api.h"

namespace verrolift::win32 {

// The core's questions as Windows boxes, each modal to the window it belongs to and
// opening centred over it: plain messages without icon, OK only, under the application
// title; the error report with the warning icon under "Application Error"; the input box;
// the file dialog and the folder picker. Texts are UTF-8.
class Win32Dialogs : public Dialogs {
public:
    // owner gives the window the boxes belong to (its top-level window is taken); when it
    // gives none, a box belongs to no window. Without owner, boxes belong to this thread's
    // active window. Once ending says the program is ending, no box is shown any more:
    // each call throws RunAborted.
    explicit Win32Dialogs(std::function<HWND()> owner = {}, std::function<bool()> ending = {});
    void SetEnding(std::function<bool()> ending) { ending_ = std::move(ending); }

    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    std::vector<std::string> PickFiles(const std::string& title,
                                       const std::string& filter) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

private:
    HWND Owner() const;
    void StopWhenEnding() const;

    std::function<HWND()> owner_;
    std::function<bool()> ending_;
};

}  // namespace verrolift::win32

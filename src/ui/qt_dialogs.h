#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "base/dialogs.h"

class QWidget;

namespace verrolift {

// The core's questions as Qt boxes: plain messages without icon, OK only,
// under the application title; the error report with the warning icon under
// "Application Error"; the file dialog and the folder picker.
class QtDialogs : public Dialogs {
public:
    // parent gives the window the boxes belong to (default: the active window).
    explicit QtDialogs(std::function<QWidget*()> parent = {});
    // Once the program is ending no box is shown any more: each call throws RunAborted.
    void SetEnding(std::function<bool()> ending) { ending_ = std::move(ending); }

    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    std::vector<std::string> PickFiles(const std::string& title,
                                       const std::string& filter) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

private:
    QWidget* Parent() const;
    void StopWhenEnding() const;
    std::function<QWidget*()> parent_;
    std::function<bool()> ending_;
};

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" in Qt's notation:
// "Text Files (*.txt);;All Files (*)". Patterns come from the pattern half of
// each pair, and "*.*" means every file.
QString QtFileFilter(const std::string& filter);

// The width a box needs for its title bar to show the whole caption.
int CaptionWidth(const QString& title);

// Message text for a Qt label: CR LF and lone CR become line breaks.
QString DisplayText(const std::string& text);

}  // namespace verrolift

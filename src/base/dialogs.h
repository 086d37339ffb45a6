#pragma once

#include <string>
#include <vector>

#include "base/error_report.h"

namespace verrolift {

// Everything the core asks of the user. The windows show real boxes, tests
// answer and record, the command line prints. All texts are bytes in the
// machine's code page.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain message: OK only, no icon, the application title as caption.
    virtual void ShowMessage(const std::string& text) = 0;

    // The "Application Error" box: warning icon, OK only, report.Text() as its text.
    virtual void ShowErrorReport(const ErrorReport& report) = 0;

    // Modal prompt with the application title; cancel and an empty answer both give "".
    virtual std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) = 0;

    // The prompt for the name of a new table's column number column (from 1). A window
    // asks it in an input box; the command line answers it from what it was given.
    virtual std::string AskColumnName(const std::string& prompt, int column) {
        static_cast<void>(column);
        return InputBox(prompt, "");
    }

    // Multi-select file-open dialog. Returns the full paths picked, in the
    // dialog's order; empty when cancelled.
    virtual std::vector<std::string> PickFiles(const std::string& title,
                                               const std::string& filter) = 0;

    // Folder picker opening at startFolder (may be empty). "" when cancelled.
    virtual std::string PickFolder(const std::string& title, const std::string& startFolder) = 0;

    // A word about how something was read that changes nothing of the outcome (a file
    // read in the legacy code page). The command line prints it; a window need not show it.
    virtual void ShowNotice(const std::string& /*text*/) {}

    // The column prompts of the file at path ended without a name for column
    // number (from 1), so that file gets no table. A window's user saw the prompt
    // go unanswered and needs nothing more; the command line says it.
    virtual void NoColumnName(const std::string& /*path*/, int /*number*/) {}
};

}  // namespace verrolift

#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/dialogs.h"

namespace verrolift {

class ProgressLine;

// The dialogs of a run without a window: plain messages on standard output,
// error reports on standard error, column prompts answered from the command line.
class ConsoleDialogs : public Dialogs {
public:
    // answers: the names of columns 1, 2, ... of a new table; a column beyond them
    // gets the empty answer. progress (may be null) is wiped
    // before anything is written, so a message never shares a line with it.
    ConsoleDialogs(std::FILE* out, std::FILE* err, std::vector<std::string> answers,
                   ProgressLine* progress);

    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    // Nobody to ask: an input box answers as cancelled.
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    std::string AskColumnName(const std::string& prompt, int column) override;
    // Nobody to ask: both pickers answer as cancelled.
    std::vector<std::string> PickFiles(const std::string& title,
                                       const std::string& filter) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

    // On standard output, as a message; it does not change the exit status.
    void ShowNotice(const std::string& text) override { Print(text); }

    // Says that the file gets no table, and why.
    void NoColumnName(const std::string& path, int number) override;

    // The error reports shown so far.
    int Reports() const { return reports_; }

    // A line on standard output that is no message of the run.
    void Print(const std::string& line);

private:
    std::FILE* out_;
    std::FILE* err_;
    std::vector<std::string> answers_;
    ProgressLine* progress_;
    int reports_ = 0;
};

// Every CR LF or lone CR becomes LF: the report's own line breaks as a terminal shows them.
std::string UnixLineBreaks(const std::string& text);

// Said for a file that --columns leaves without a name for prompt number.
std::string NoColumnNameMessage(const std::string& path, std::size_t number);

}  // namespace verrolift

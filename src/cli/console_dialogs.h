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
    // answers: the replies to "Enter name for column #j:", j counted from 1; a
    // prompt beyond them gets the empty answer. progress (may be null) is wiped
    // before anything is written, so a message never shares a line with it.
    ConsoleDialogs(std::FILE* out, std::FILE* err, std::vector<std::string> answers,
                   ProgressLine* progress);

    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    // Nobody to ask: both pickers answer as cancelled.
    std::vector<std::string> PickFiles(const std::string& title,
                                       const std::string& filter) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

    // Says that the file gets no table, and why.
    void NoColumnName(const std::string& path, int number) override;

    // True when the run ended with "Done." and nothing else was shown: no
    // report, no precondition or column-count message, no "Table(s) already exist.".
    bool Succeeded() const;
    // True when the run went through its files to its final message.
    bool RunEnded() const { return done_ || clash_; }

    // A line on standard output that is no message of the run.
    void Print(const std::string& line);

private:
    std::FILE* out_;
    std::FILE* err_;
    std::vector<std::string> answers_;
    ProgressLine* progress_;
    int reports_ = 0;
    int otherMessages_ = 0;
    bool done_ = false;
    bool clash_ = false;
};

// Every CR LF or lone CR becomes LF: the report's own line breaks as a terminal shows them.
std::string UnixLineBreaks(const std::string& text);

inline constexpr const char* kDoneMessage = "Done.";

// Said for a file that --columns leaves without a name for prompt number.
std::string NoColumnNameMessage(const std::string& path, std::size_t number);

}  // namespace verrolift

#include "cli/console_dialogs.h"

#include "base/display_text.h"
#include "cli/progress_line.h"

namespace verrolift {

namespace {

// What reaches the terminal: the message's own line breaks as LF, and no other control
// byte but tabs, whatever a driver's words hold (a value of the file, a name).
std::string TerminalText(const std::string& text) {
    return ForDisplay(UnixLineBreaks(text), "\n\t");
}

void Write(std::FILE* file, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
    // Each box is whole before the next one starts, whichever stream it went to.
    std::fflush(file);
}

}  // namespace

std::string UnixLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out.push_back(text[i]);
            continue;
        }
        out.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

ConsoleDialogs::ConsoleDialogs(std::FILE* out, std::FILE* err, std::vector<std::string> answers,
                               ProgressLine* progress)
    : out_(out), err_(err), answers_(std::move(answers)), progress_(progress) {}

std::string NoColumnNameMessage(const std::string& path, std::size_t number) {
    return "No table was made for \"" + ForDisplay(path) +
           "\": --columns gives no name for column #" + std::to_string(number) + ".";
}

void ConsoleDialogs::ShowMessage(const std::string& text) {
    if (progress_) progress_->Clear();
    Write(out_, TerminalText(text) + "\n");
}

void ConsoleDialogs::Print(const std::string& line) {
    if (progress_) progress_->Clear();
    Write(out_, TerminalText(line) + "\n");
}

void ConsoleDialogs::ShowErrorReport(const ErrorReport& report) {
    if (progress_) progress_->Clear();
    ++reports_;
    Write(err_, std::string(kErrorReportTitle) + "\n" + TerminalText(report.Text()) + "\n");
}

std::string ConsoleDialogs::InputBox(const std::string&, const std::string&) {
    return {};
}

std::string ConsoleDialogs::AskColumnName(const std::string&, int column) {
    // The prompts of every file start again at #1, so each file gets the same names.
    if (column < 1) return {};
    const auto j = static_cast<std::size_t>(column);
    return j <= answers_.size() ? answers_[j - 1] : std::string();
}

void ConsoleDialogs::NoColumnName(const std::string& path, int number) {
    // An empty answer ended the prompts and made no table: without a window, say so.
    ShowMessage(NoColumnNameMessage(path, static_cast<std::size_t>(number)));
}

std::vector<std::string> ConsoleDialogs::PickFiles(const std::string&, const std::string&) {
    return {};
}

std::string ConsoleDialogs::PickFolder(const std::string&, const std::string&) {
    return {};
}

}  // namespace verrolift

#include "cli/console_dialogs.h"

#include <charconv>

#include "cli/progress_line.h"
#include "import/import_messages.h"

namespace verrolift {

namespace {

constexpr std::string_view kColumnPromptStart = "Enter name for column #";

void Write(std::FILE* file, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
    // Each box is whole before the next one starts, whichever stream it went to.
    std::fflush(file);
}

// The j of "Enter name for column #j:", or 0 for any other prompt.
std::size_t ColumnNumber(const std::string& prompt) {
    if (!prompt.starts_with(kColumnPromptStart)) return 0;
    const char* first = prompt.data() + kColumnPromptStart.size();
    const char* last = prompt.data() + prompt.size();
    std::size_t j = 0;
    const auto [end, ec] = std::from_chars(first, last, j);
    if (ec != std::errc() || end == last || *end != ':') return 0;
    return j;
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
    return "No table was made for \"" + path + "\": --columns gives no name for column #" +
           std::to_string(number) + ".";
}

void ConsoleDialogs::ShowMessage(const std::string& text) {
    if (progress_) progress_->Clear();
    if (text == kDoneMessage)
        done_ = true;
    else
        ++otherMessages_;
    if (text == kTablesAlreadyExist) clash_ = true;
    Write(out_, UnixLineBreaks(text) + "\n");
}

void ConsoleDialogs::Print(const std::string& line) {
    if (progress_) progress_->Clear();
    Write(out_, line + "\n");
}

void ConsoleDialogs::ShowErrorReport(const ErrorReport& report) {
    if (progress_) progress_->Clear();
    ++reports_;
    Write(err_, std::string(kErrorReportTitle) + "\n" + UnixLineBreaks(report.Text()) + "\n");
}

std::string ConsoleDialogs::InputBox(const std::string& prompt, const std::string&) {
    // The prompts of every file start again at #1, so each file gets the same names.
    const std::size_t j = ColumnNumber(prompt);
    if (j == 0) return {};
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

bool ConsoleDialogs::Succeeded() const {
    return done_ && reports_ == 0 && otherMessages_ == 0;
}

}  // namespace verrolift

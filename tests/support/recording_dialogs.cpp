#include "support/recording_dialogs.h"

namespace verrolift::test {

void RecordingDialogs::ShowMessage(const std::string& text) {
    messages.push_back(text);
    log.push_back("message: " + text);
}

void RecordingDialogs::ShowErrorReport(const ErrorReport& report) {
    reports.push_back(report);
    log.push_back("report " + std::to_string(report.step) + ": " + report.description);
}

std::string RecordingDialogs::InputBox(const std::string& prompt,
                                       const std::string& defaultAnswer) {
    prompts.push_back({prompt, defaultAnswer});
    log.push_back("prompt: " + prompt);
    if (inputAnswers.empty()) return {};
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::vector<std::string> RecordingDialogs::PickFiles(const std::string& title,
                                                     const std::string& filter) {
    fileDialogTitles.push_back(title);
    fileDialogFilters.push_back(filter);
    if (fileAnswers.empty()) return {};
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::string RecordingDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    folderTitles.push_back(title);
    folderStarts.push_back(startFolder);
    if (folderAnswers.empty()) return {};
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::vector<int> RecordingDialogs::ReportSteps() const {
    std::vector<int> steps;
    for (const auto& r : reports) steps.push_back(r.step);
    return steps;
}

}  // namespace verrolift::test

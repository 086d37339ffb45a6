#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"

namespace verrolift::test {

// Answers the core's questions from queues and records everything shown.
class RecordingDialogs : public Dialogs {
public:
    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    std::vector<std::string> PickFiles(const std::string& title,
                                       const std::string& filter) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

    // Answers, consumed in order; an empty queue answers as a cancel.
    std::deque<std::string> inputAnswers;
    std::deque<std::vector<std::string>> fileAnswers;
    std::deque<std::string> folderAnswers;

    // What was shown, in order.
    std::vector<std::string> messages;
    std::vector<ErrorReport> reports;
    struct Prompt {
        std::string text;
        std::string defaultAnswer;
    };
    std::vector<Prompt> prompts;
    std::vector<std::string> fileDialogTitles;
    std::vector<std::string> fileDialogFilters;
    std::vector<std::string> folderTitles;
    std::vector<std::string> folderStarts;
    // Every box in order, as "message: <text>" or "report <step>: <description>".
    std::vector<std::string> log;

    // The step numbers of the reports, in order.
    std::vector<int> ReportSteps() const;
};

// Counts yields; runs an optional action on each (to edit options mid-run or close).
class RecordingPump : public EventPump {
public:
    void Yield() override {
        ++yields;
        if (onYield) onYield();
    }
    long yields = 0;
    std::function<void()> onYield;
};

// Remembers every pointer change.
class RecordingPointer : public WindowPointer {
public:
    void SetPointer(PointerShape shape) override {
        current = shape;
        history.push_back(shape);
    }
    PointerShape Pointer() const override { return current; }
    PointerShape current = PointerShape::Default;
    std::vector<PointerShape> history;
};

}  // namespace verrolift::test

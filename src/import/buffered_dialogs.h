#pragma once

#include <string>
#include <variant>
#include <vector>

#include "base/dialogs.h"

namespace verrolift {

// The dialogs of one file imported beside others: messages and error reports are
// kept, to be shown together and in list order once the file is done; prompts
// are answered at once by the run's own dialogs, which must allow that from the
// job's thread.
class BufferedDialogs : public Dialogs {
public:
    explicit BufferedDialogs(Dialogs& answering) : answering_(answering) {}

    void ShowMessage(const std::string& text) override { shown_.emplace_back(text); }
    void ShowErrorReport(const ErrorReport& report) override { shown_.emplace_back(report); }
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override {
        return answering_.InputBox(prompt, defaultAnswer);
    }
    std::string AskColumnName(const std::string& prompt, int column) override {
        return answering_.AskColumnName(prompt, column);
    }
    // No file or folder is picked during an import.
    std::vector<std::string> PickFiles(const std::string&, const std::string&) override {
        return {};
    }
    std::string PickFolder(const std::string&, const std::string&) override { return {}; }
    void ShowNotice(const std::string& text) override { shown_.emplace_back(Notice{text}); }
    void NoColumnName(const std::string& path, int number) override {
        shown_.emplace_back(NoName{path, number});
    }

    // Shows what was kept, in its order, and forgets it.
    void Replay(Dialogs& to);

private:
    struct Notice {
        std::string text;
    };
    struct NoName {
        std::string path;
        int number;
    };
    Dialogs& answering_;
    std::vector<std::variant<std::string, ErrorReport, Notice, NoName>> shown_;
};

}  // namespace verrolift

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "import/import_context.h"

namespace verrolift {

// The dialogs and the progress of one import run of the main window. Everything goes on
// to the window's own dialogs and progress display, except:
// - the run's closing words ("Done.", "Table(s) already exist."), kept back for the
//   window to show them with what the run did;
// - a file's refused rows past the first kShownRefusedRows: counted only, and told in one
//   box when the file ends, so that a file of bad rows cannot bury the user in boxes.
class RunDialogs : public Dialogs, public ImportProgress {
public:
    static constexpr int kShownRefusedRows = 10;

    // files: the list as the run takes it, to name a file in its box.
    // badFolder: where the run's bad files go ("" for none), named in the count box.
    RunDialogs(Dialogs& window, ImportProgress* progress, std::vector<std::string> files,
               std::string badFolder = {});

    void ShowMessage(const std::string& text) override;
    void ShowErrorReport(const ErrorReport& report) override;
    std::string InputBox(const std::string& prompt, const std::string& defaultAnswer) override;
    std::string AskColumnName(const std::string& prompt, int column) override;
    // Nothing is picked during a run.
    std::vector<std::string> PickFiles(const std::string&, const std::string&) override {
        return {};
    }
    std::string PickFolder(const std::string&, const std::string&) override { return {}; }
    void NoColumnName(const std::string& path, int number) override;

    void FileStarted(int position, int count) override;
    void RowSent() override;
    void RowRefused() override;
    void FileImported() override;

    // After the run: the last file's count, when it has one.
    void EndRun();
    // The closing words the run gave, if it got that far.
    const std::optional<std::string>& ClosingWords() const { return closing_; }

    // A report of a row statement that the database refused.
    static bool IsRefusedRow(const ErrorReport& report);

private:
    std::string badFolder_;
    void EndFile();

    Dialogs& window_;
    ImportProgress* progress_;
    std::vector<std::string> files_;
    int position_ = 0;
    std::int64_t refused_ = 0;  // refused-row reports of the current file
    std::optional<std::string> closing_;
};

}  // namespace verrolift

#include "app/run_dialogs.h"

#include "app/run_texts.h"
#include "import/import_messages.h"
#include "import/import_steps.h"

namespace verrolift {

RunDialogs::RunDialogs(Dialogs& window, ImportProgress* progress, std::vector<std::string> files,
                       std::string badFolder)
    : badFolder_(std::move(badFolder)),
      window_(window),
      progress_(progress),
      files_(std::move(files)) {}

void RunDialogs::ShowMessage(const std::string& text) {
    if (text == kDone || text == kTablesAlreadyExist) {
        closing_ = text;
        return;
    }
    window_.ShowMessage(text);
}

bool RunDialogs::IsRefusedRow(const ErrorReport& report) {
    namespace steps = import_steps;
    return report.tag == tags::kMainImport &&
           (report.step == steps::kHeaderRows.send || report.step == steps::kTypedRows.send ||
            report.step == steps::kAppendRows.send);
}

void RunDialogs::ShowErrorReport(const ErrorReport& report) {
    if (IsRefusedRow(report) && ++refused_ > kShownRefusedRows) return;
    window_.ShowErrorReport(report);
}

std::string RunDialogs::InputBox(const std::string& prompt, const std::string& defaultAnswer) {
    return window_.InputBox(prompt, defaultAnswer);
}

std::string RunDialogs::AskColumnName(const std::string& prompt, int column) {
    return window_.AskColumnName(prompt, column);
}

void RunDialogs::NoColumnName(const std::string& path, int number) {
    window_.NoColumnName(path, number);
}

void RunDialogs::FileStarted(int position, int count) {
    EndFile();
    position_ = position;
    if (progress_) progress_->FileStarted(position, count);
}

void RunDialogs::RowSent() {
    if (progress_) progress_->RowSent();
}

void RunDialogs::RowRefused() {
    if (progress_) progress_->RowRefused();
}

void RunDialogs::FileImported() {
    if (progress_) progress_->FileImported();
}

void RunDialogs::EndRun() {
    EndFile();
}

void RunDialogs::EndFile() {
    const std::int64_t refused = refused_;
    refused_ = 0;
    if (refused <= kShownRefusedRows) return;
    RefusedRows rows;
    const auto at = static_cast<std::size_t>(position_ - 1);
    if (position_ > 0 && at < files_.size()) rows.path = files_[at];
    rows.rows = refused;
    rows.shown = kShownRefusedRows;
    rows.badFileFolder = badFolder_;
    window_.ShowMessage(RefusedRowsMessage(rows));
}

}  // namespace verrolift

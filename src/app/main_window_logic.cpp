#include "app/main_window_logic.h"

#include "app/bad_files_folder.h"

#include "app/help_texts.h"
#include "app/main_window_steps.h"
#include "app/program_files.h"
#include "app/run_dialogs.h"
#include "app/run_texts.h"
#include "app/separator_text.h"
#include "base/error_report.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "db/catalogue.h"
#include "files/add_files.h"
#include "files/add_folder.h"
#include "files/drop.h"
#include "import/import_run.h"

namespace verrolift {

namespace steps = main_window_steps;

MainWindowLogic::MainWindowLogic(AppContext& context, MainWindowView& view,
                                 const ConnectionSource& profile)
    : context_(context), view_(view), profile_(profile) {}

void MainWindowLogic::Load() {
    ProtectedHandler h(tags::kMainLoad, context_.dialogs);
    h.Run(steps::load::kFaceColor, [&] { view_.ApplyFaceColor(); });
    h.Run(steps::load::kIcon, [&] { view_.SetApplicationIcon(); });
    view_.SetText(MainBox::TableName, kDefaultTableName);
    view_.SetText(MainBox::Separator, kDefaultSeparator);
    h.Run(steps::load::kQuotedFields, [&] {
        view_.SetChosen(MainChoice::QuotedFields,
                        context_.settings.GetSetting(kSettingsApplication, kSettingsSection,
                                                     keys::kQuotedFields, "0") == "1");
    });
    const std::string pointerFile = ProgramFile(context_.programFolder, kPointerFile);
    if (h.Test(steps::load::kPointerFileTest, [&] { return FileExists(pointerFile); }))
        h.Run(steps::load::kLoadPointer, [&] { view_.LoadPointerFile(pointerFile); });
    view_.SetCaption(std::string(kProductName));
    view_.Tables().Clear();
    h.Run(steps::load::kListTables,
          [&] { ListUserTables(view_.Tables(), profile_.ConnectionString(), context_.pump); });
    view_.PrepareFileList();
}

void MainWindowLogic::EnableForMode(bool create) {
    for (MainControl c : {MainControl::HeaderColumns, MainControl::TypedColumns,
                          MainControl::TableNameLabel, MainControl::TableName})
        view_.Enable(c, create);
    for (MainControl c : {MainControl::AppendFrame, MainControl::SkipHeader,
                          MainControl::AppendTableLabel, MainControl::TableList})
        view_.Enable(c, !create);
}

void MainWindowLogic::CreateChosen() {
    EnableForMode(true);
}

void MainWindowLogic::AppendChosen() {
    EnableForMode(false);
}

std::string MainWindowLogic::SeparatorEdited(const std::string& text) {
    return BoxTextOfSeparator(text);
}

void MainWindowLogic::QuotedFieldsToggled(bool on) {
    // Kept at once, as every setting; a store that cannot be written costs only the memory.
    try {
        context_.settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kQuotedFields,
                                      on ? "1" : "0");
    } catch (const std::exception&) {
    }
}

ImportOptions MainWindowLogic::Options() const {
    ImportOptions options;
    options.mode = view_.Chosen(MainChoice::CreateTable)     ? ImportMode::CreateTable
                   : view_.Chosen(MainChoice::AppendToTable) ? ImportMode::AppendToTable
                                                             : ImportMode::Unset;
    options.columnSource = view_.Chosen(MainChoice::HeaderColumns)  ? ColumnSource::HeaderLine
                           : view_.Chosen(MainChoice::TypedColumns) ? ColumnSource::TypedNames
                                                                    : ColumnSource::Unset;
    options.skipHeaderOnAppend = view_.Chosen(MainChoice::SkipHeader);
    options.skipHeaderOnCreate = false;
    options.separator = SeparatorOfBoxText(view_.Text(MainBox::Separator));
    options.tableNamePattern = view_.Text(MainBox::TableName);
    options.targetTable = view_.Tables().Selected();
    options.quotedFields = view_.Chosen(MainChoice::QuotedFields);
    return options;
}

namespace {

// Ends the run's progress display on every way out of the run.
class RunProgress {
public:
    explicit RunProgress(MainWindowView& view) : view_(view), progress_(view.BeginRunProgress()) {}
    ~RunProgress() { view_.EndRunProgress(); }
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;
    ImportProgress* Get() const { return progress_; }

private:
    MainWindowView& view_;
    ImportProgress* progress_;
};

}  // namespace

void MainWindowLogic::Import() {
    const RunState::Claim claim(context_.run);
    if (!claim.Claimed()) return;
    // Taken once: what the user does in the window while the run yields cannot redirect it.
    const ImportOptions options = Options();
    const std::vector<std::string> files = view_.Files().Snapshot();
    const RunProgress progress(view_);
    // Every record not stored goes to a bad file, in a folder of this run's own.
    const std::string badFolder = MakeBadFilesFolder(RunStamp());
    // However the run ends, closing included, an empty folder is not left behind.
    const struct EmptyFolderRemover {
        const std::string& folder;
        ~EmptyFolderRemover() { RemoveIfEmpty(folder); }
    } remover{badFolder};
    RunDialogs dialogs(context_.dialogs, progress.Get(), files, badFolder);
    ImportContext import{view_.Files(), view_.Tables(), options,         profile_,
                         dialogs,       context_.pump,  view_.Pointer(), &dialogs};
    import.badFolder = badFolder;
    const ImportOutcome outcome = RunImport(import);
    dialogs.EndRun();
    if (dialogs.ClosingWords())
        context_.dialogs.ShowMessage(
            FinalRunMessage(outcome, static_cast<int>(files.size()), badFolder));
}

void MainWindowLogic::AddFiles() {
    if (RunUnderWay()) return;
    AddFilesCommand(view_.Files(), context_.dialogs);
}

void MainWindowLogic::AddFolder() {
    if (RunUnderWay()) return;
    AddFolderContext folder{view_.Files(), context_.dialogs, context_.settings, context_.pump,
                            view_.Pointer()};
    AddFolderCommand(folder);
}

void MainWindowLogic::Drop(const std::vector<std::string>& paths) {
    // Allowed during a run: the run works on the list as it stood when it began.
    DropOnFileList(paths, view_.Files(), context_.pump, context_.dialogs);
}

void MainWindowLogic::SetupConnection() {
    if (RunUnderWay()) return;
    ProtectedHandler h(tags::kMainSetupConnection, context_.dialogs);
    h.Run(steps::setup_connection::kShowLogin, [&] { context_.flow.ShowLoginWindow(); });
    h.Run(steps::setup_connection::kHideMain, [&] { context_.flow.HideMainWindow(); });
}

void MainWindowLogic::FormatHelp() {
    if (RunUnderWay()) return;
    ProtectedHandler h(tags::kMainFormatHelp, context_.dialogs);
    h.Run(steps::format_help::kShowText,
          [&] { context_.dialogs.ShowMessage(FileFormatHelpText()); });
}

void MainWindowLogic::Close() {
    // Ends the program even during a run: the run stops at its next yield, and what it sent
    // stays stored.
    context_.flow.EndProgram();
}

}  // namespace verrolift

#include "ui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

#include "base/error_report.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "db/catalogue.h"
#include "files/add_files.h"
#include "files/add_folder.h"
#include "import/import_run.h"
#include "ui/caption_progress.h"
#include "ui/file_list_drag.h"
#include "ui/file_list_view.h"
#include "ui/frame_box.h"
#include "ui/help_texts.h"
#include "ui/look.h"
#include "ui/main_window_steps.h"
#include "ui/slot_guard.h"
#include "ui/table_list_box.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

namespace steps = main_window_steps;

MainWindow::MainWindow(UiContext& context, const ConnectionSource& profile)
    : QWidget(nullptr), context_(context), profile_(profile), pointer_(this) {
    setObjectName(QStringLiteral("Form2"));
    BuildControls();
}

void MainWindow::BuildControls() {
    setFixedSize(TwipsToPixels(6360), TwipsToPixels(8220));
    setFont(ControlFont());

    filesFrame_ = Make<FrameBox>(this, "Frame1", TwipsRect(120, 0, 6120, 2480));
    fileList_ = Make<FileListView>(filesFrame_, "ListView1", TwipsRect(120, 240, 5895, 1215));
    addFilesButton_ =
        Make<QPushButton>(filesFrame_, "PushButton3", TwipsRect(120, 1560, 2895, 400));
    addFilesButton_->setText(QStringLiteral("Add Text File(s)"));
    addFolderButton_ =
        Make<QPushButton>(filesFrame_, "PushButton4", TwipsRect(3120, 1560, 2895, 400));
    addFolderButton_->setText(QStringLiteral("Add All File(s) In Folder"));
    separatorLabel_ = Make<QLabel>(filesFrame_, "Label1", TwipsRect(240, 2090, 2055, 255));
    separatorLabel_->setText(QStringLiteral("Fields Separated By:"));
    separatorEdit_ = Make<QLineEdit>(filesFrame_, "Text3", TwipsRect(2280, 2050, 1695, 330));
    separatorEdit_->setText(QString::fromLatin1(kDefaultSeparator));
    formatHelpButton_ =
        Make<QPushButton>(filesFrame_, "PushButton6", TwipsRect(4080, 2033, 615, 345));
    formatHelpButton_->setText(QStringLiteral("?"));

    tableOptionsFrame_ = Make<FrameBox>(this, "Frame2", TwipsRect(120, 2520, 6120, 5055));
    tableOptionsFrame_->setTitle(QStringLiteral("Table Options"));
    createOption_ =
        Make<QRadioButton>(tableOptionsFrame_, "Option1", TwipsRect(180, 360, 3495, 255));
    createOption_->setText(QStringLiteral("Create New Table From Text File"));
    createFrame_ = Make<FrameBox>(tableOptionsFrame_, "Frame3", TwipsRect(180, 720, 5775, 1455));
    createFrame_->setTitle(QStringLiteral("Create New Table Options"));
    headerColumnsOption_ =
        Make<QRadioButton>(createFrame_, "Option3", TwipsRect(120, 300, 4695, 255));
    headerColumnsOption_->setText(
        QStringLiteral("First line in file will be used to create table columns"));
    typedColumnsOption_ =
        Make<QRadioButton>(createFrame_, "Option4", TwipsRect(120, 600, 4455, 255));
    typedColumnsOption_->setText(QStringLiteral("Ignore first line, user-specified columns names"));
    tableNameLabel_ = Make<QLabel>(createFrame_, "Label5", TwipsRect(240, 960, 1215, 255));
    tableNameLabel_->setText(QStringLiteral("Table Name:"));
    tableNameEdit_ = Make<QLineEdit>(createFrame_, "Text2", TwipsRect(1680, 960, 3735, 330));
    tableNameEdit_->setText(QString::fromLatin1(kDefaultTableName));
    appendOption_ =
        Make<QRadioButton>(tableOptionsFrame_, "Option2", TwipsRect(180, 2280, 4095, 255));
    appendOption_->setText(QStringLiteral("Append to Existing Table From Text File"));
    appendFrame_ = Make<FrameBox>(tableOptionsFrame_, "Frame4", TwipsRect(180, 2640, 5775, 2175));
    appendFrame_->setTitle(QStringLiteral("Append to Existing Table Options"));
    skipHeaderCheck_ = Make<QCheckBox>(appendFrame_, "Check2", TwipsRect(120, 360, 5535, 255));
    skipHeaderCheck_->setText(
        QStringLiteral("Ignore first line in file because it is a header row with no data"));
    appendTableLabel_ = Make<QLabel>(appendFrame_, "Label2", TwipsRect(240, 720, 1215, 255));
    appendTableLabel_->setText(QStringLiteral("Table Name:"));
    tableList_ = Make<TableListBox>(appendFrame_, "List1", TwipsRect(1680, 720, 3735, 1185));

    importButton_ = Make<QPushButton>(this, "PushButton1", TwipsRect(120, 7680, 3015, 400));
    importButton_->setText(QStringLiteral("Import To Oracle"));
    setupConnectionButton_ =
        Make<QPushButton>(this, "PushButton5", TwipsRect(3240, 7680, 3000, 400));
    setupConnectionButton_->setText(QStringLiteral("Setup Connection"));

    for (QWidget* w : findChildren<QWidget*>()) w->setFont(ControlFont());
    for (QPushButton* b : {importButton_, addFilesButton_, addFolderButton_, setupConnectionButton_,
                           formatHelpButton_}) {
        b->setFont(ButtonFont());
        b->setAutoDefault(false);
    }
    ApplyDesignBackground(this);

    // Two exclusive pairs. Left to themselves, option buttons are exclusive
    // among all buttons below one parent, nested frames included, which makes
    // one group of all four.
    for (auto pair : {std::pair{createOption_, appendOption_},
                      std::pair{headerColumnsOption_, typedColumnsOption_}}) {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    createOption_->setChecked(true);
    headerColumnsOption_->setChecked(true);
    skipHeaderCheck_->setChecked(false);
    OnCreateChosen();

    fileList_->SetBusyTest([this] { return pointer_.Busy(); });
    pointer_.OnBusyChange([this](bool busy) { fileList_->ShowBusyPointer(busy); });
    progress_ = new CaptionProgress(this, context_.progressIntervalMs);

    connect(createOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OnCreateChosen();
    });
    connect(appendOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OnAppendChosen();
    });
    connect(importButton_, &QPushButton::clicked, this, [this] { OnImportClicked(); });
    connect(addFilesButton_, &QPushButton::clicked, this, [this] { OnAddFilesClicked(); });
    connect(addFolderButton_, &QPushButton::clicked, this, [this] { OnAddFolderClicked(); });
    connect(setupConnectionButton_, &QPushButton::clicked, this,
            [this] { OnSetupConnectionClicked(); });
    connect(formatHelpButton_, &QPushButton::clicked, this, [this] { OnFormatHelpClicked(); });

    auto* feedback = new PointerFeedback(pointer_, this);
    for (QWidget* b :
         std::initializer_list<QWidget*>{importButton_, addFilesButton_, addFolderButton_,
                                         setupConnectionButton_, formatHelpButton_})
        feedback->Hand(b);
    for (QWidget* w :
         std::initializer_list<QWidget*>{this, filesFrame_, tableOptionsFrame_, createFrame_,
                                         appendFrame_, separatorLabel_, tableList_, separatorEdit_})
        feedback->Reset(w);
    // The list's own pointer moves (the reset first), dragging and dropping.
    new FileListDrag(*fileList_, pointer_, context_.pump, context_.dialogs, context_.programFolder,
                     this);
}

void MainWindow::Load() {
    ProtectedHandler h(tags::kMainLoad, context_.dialogs);
    h.Run(steps::load::kFaceColor, [&] { ApplyFaceColor(this); });
    h.Run(steps::load::kIcon, [&] { setWindowIcon(ApplicationIcon()); });
    tableNameEdit_->setText(QString::fromLatin1(kDefaultTableName));
    separatorEdit_->setText(QString::fromLatin1(kDefaultSeparator));
    const std::string pointerFile = ProgramFile(context_.programFolder, kPointerFile);
    if (h.Test(steps::load::kPointerFileTest, [&] { return FileExists(pointerFile); })) {
        h.Run(steps::load::kLoadPointer, [&] {
            if (auto cursor = LoadCursorFile(pointerFile)) pointer_.SetCustomCursor(*cursor);
        });
    }
    setWindowTitle(Local(std::string(kProductName)));
    tableList_->Clear();
    h.Run(steps::load::kListTables,
          [&] { ListUserTables(*tableList_, profile_.ConnectionString(), context_.pump); });
    fileList_->EnsureColumn();
    fileList_->SetColumnWidthTwips(kFileListColumnTwips);
}

ImportMode MainWindow::Mode() const {
    if (createOption_->isChecked()) return ImportMode::CreateTable;
    if (appendOption_->isChecked()) return ImportMode::AppendToTable;
    return ImportMode::Unset;
}

ColumnSource MainWindow::Columns() const {
    if (headerColumnsOption_->isChecked()) return ColumnSource::HeaderLine;
    if (typedColumnsOption_->isChecked()) return ColumnSource::TypedNames;
    return ColumnSource::Unset;
}

bool MainWindow::SkipHeaderOnAppend() const {
    return skipHeaderCheck_->isChecked();
}

std::string MainWindow::Separator() const {
    return Bytes(separatorEdit_->text());
}

std::string MainWindow::TableNamePattern() const {
    return Bytes(tableNameEdit_->text());
}

std::optional<std::string> MainWindow::TargetTable() const {
    return tableList_->Selected();
}

void MainWindow::OnCreateChosen() {
    for (QWidget* w : std::initializer_list<QWidget*>{headerColumnsOption_, typedColumnsOption_,
                                                      tableNameLabel_, tableNameEdit_})
        w->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{appendFrame_, skipHeaderCheck_,
                                                      appendTableLabel_, tableList_})
        w->setEnabled(false);
}

void MainWindow::OnAppendChosen() {
    for (QWidget* w : std::initializer_list<QWidget*>{headerColumnsOption_, typedColumnsOption_,
                                                      tableNameLabel_, tableNameEdit_})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{appendFrame_, skipHeaderCheck_,
                                                      appendTableLabel_, tableList_})
        w->setEnabled(true);
}

void MainWindow::OnImportClicked() {
    RunGuarded([&] {
        const CaptionProgress::Run caption(*progress_);
        ImportContext import{*fileList_,       *tableList_,   *this,    profile_,
                             context_.dialogs, context_.pump, pointer_, progress_};
        RunImport(import);
    });
}

void MainWindow::OnAddFilesClicked() {
    RunGuarded([&] { AddFilesCommand(*fileList_, context_.dialogs); });
}

void MainWindow::OnAddFolderClicked() {
    RunGuarded([&] {
        AddFolderContext folder{*fileList_, context_.dialogs, context_.settings, context_.pump,
                                pointer_};
        AddFolderCommand(folder);
    });
}

void MainWindow::OnSetupConnectionClicked() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kMainSetupConnection, context_.dialogs);
        h.Run(steps::setup_connection::kShowLogin, [&] { context_.flow.ShowLoginWindow(); });
        h.Run(steps::setup_connection::kHideMain, [&] { context_.flow.HideMainWindow(); });
    });
}

void MainWindow::OnFormatHelpClicked() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kMainFormatHelp, context_.dialogs);
        h.Run(steps::format_help::kShowText,
              [&] { context_.dialogs.ShowMessage(FileFormatHelpText()); });
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    context_.flow.EndProgram();
}

}  // namespace verrolift

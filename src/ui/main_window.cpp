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
#include "ui/slot_guard.h"
#include "ui/table_list_box.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

MainWindow::MainWindow(UiContext& context, const ConnectionSource& profile)
    : QWidget(nullptr), context_(context), profile_(profile), pointer_(this) {
    setObjectName(QStringLiteral("Form2"));
    BuildControls();
}

void MainWindow::BuildControls() {
    setFixedSize(TwipsToPixels(6360), TwipsToPixels(8220));
    setFont(ControlFont());

    frame1_ = Make<FrameBox>(this, "Frame1", TwipsRect(120, 0, 6120, 2480));
    listView1_ = Make<FileListView>(frame1_, "ListView1", TwipsRect(120, 240, 5895, 1215));
    pushButton3_ = Make<QPushButton>(frame1_, "PushButton3", TwipsRect(120, 1560, 2895, 400));
    pushButton3_->setText(QStringLiteral("Add Text File(s)"));
    pushButton4_ = Make<QPushButton>(frame1_, "PushButton4", TwipsRect(3120, 1560, 2895, 400));
    pushButton4_->setText(QStringLiteral("Add All File(s) In Folder"));
    label1_ = Make<QLabel>(frame1_, "Label1", TwipsRect(240, 2090, 2055, 255));
    label1_->setText(QStringLiteral("Fields Separated By:"));
    text3_ = Make<QLineEdit>(frame1_, "Text3", TwipsRect(2280, 2050, 1695, 330));
    text3_->setText(QString::fromLatin1(kDefaultSeparator));
    pushButton6_ = Make<QPushButton>(frame1_, "PushButton6", TwipsRect(4080, 2033, 615, 345));
    pushButton6_->setText(QStringLiteral("?"));

    frame2_ = Make<FrameBox>(this, "Frame2", TwipsRect(120, 2520, 6120, 5055));
    frame2_->setTitle(QStringLiteral("Table Options"));
    option1_ = Make<QRadioButton>(frame2_, "Option1", TwipsRect(180, 360, 3495, 255));
    option1_->setText(QStringLiteral("Create New Table From Text File"));
    frame3_ = Make<FrameBox>(frame2_, "Frame3", TwipsRect(180, 720, 5775, 1455));
    frame3_->setTitle(QStringLiteral("Create New Table Options"));
    option3_ = Make<QRadioButton>(frame3_, "Option3", TwipsRect(120, 300, 4695, 255));
    option3_->setText(QStringLiteral("First line in file will be used to create table columns"));
    option4_ = Make<QRadioButton>(frame3_, "Option4", TwipsRect(120, 600, 4455, 255));
    option4_->setText(QStringLiteral("Ignore first line, user-specified columns names"));
    label5_ = Make<QLabel>(frame3_, "Label5", TwipsRect(240, 960, 1215, 255));
    label5_->setText(QStringLiteral("Table Name:"));
    text2_ = Make<QLineEdit>(frame3_, "Text2", TwipsRect(1680, 960, 3735, 330));
    text2_->setText(QString::fromLatin1(kDefaultTableName));
    option2_ = Make<QRadioButton>(frame2_, "Option2", TwipsRect(180, 2280, 4095, 255));
    option2_->setText(QStringLiteral("Append to Existing Table From Text File"));
    frame4_ = Make<FrameBox>(frame2_, "Frame4", TwipsRect(180, 2640, 5775, 2175));
    frame4_->setTitle(QStringLiteral("Append to Existing Table Options"));
    check2_ = Make<QCheckBox>(frame4_, "Check2", TwipsRect(120, 360, 5535, 255));
    check2_->setText(
        QStringLiteral("Ignore first line in file because it is a header row with no data"));
    label2_ = Make<QLabel>(frame4_, "Label2", TwipsRect(240, 720, 1215, 255));
    label2_->setText(QStringLiteral("Table Name:"));
    list1_ = Make<TableListBox>(frame4_, "List1", TwipsRect(1680, 720, 3735, 1185));

    pushButton1_ = Make<QPushButton>(this, "PushButton1", TwipsRect(120, 7680, 3015, 400));
    pushButton1_->setText(QStringLiteral("Import To Oracle"));
    pushButton5_ = Make<QPushButton>(this, "PushButton5", TwipsRect(3240, 7680, 3000, 400));
    pushButton5_->setText(QStringLiteral("Setup Connection"));

    for (QWidget* w : findChildren<QWidget*>()) w->setFont(ControlFont());
    for (QPushButton* b : {pushButton1_, pushButton3_, pushButton4_, pushButton5_, pushButton6_}) {
        b->setFont(ButtonFont());
        b->setAutoDefault(false);
    }
    ApplyDesignBackground(this);

    // Two exclusive pairs. Left to themselves, option buttons are exclusive
    // among all buttons below one parent, nested frames included, which makes
    // one group of all four.
    for (auto pair : {std::pair{option1_, option2_}, std::pair{option3_, option4_}}) {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    option1_->setChecked(true);
    option3_->setChecked(true);
    check2_->setChecked(false);
    Option1_Click();

    listView1_->SetBusyTest([this] { return pointer_.Busy(); });
    pointer_.OnBusyChange([this](bool busy) { listView1_->ShowBusyPointer(busy); });
    progress_ = new CaptionProgress(this, context_.progressIntervalMs);

    connect(option1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option1_Click();
    });
    connect(option2_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option2_Click();
    });
    connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(pushButton3_, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(pushButton4_, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(pushButton5_, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(pushButton6_, &QPushButton::clicked, this, [this] { PushButton6_Click(); });

    auto* feedback = new PointerFeedback(pointer_, this);
    for (QWidget* b : std::initializer_list<QWidget*>{pushButton1_, pushButton3_, pushButton4_,
                                                      pushButton5_, pushButton6_})
        feedback->Hand(b);
    for (QWidget* w : std::initializer_list<QWidget*>{this, frame1_, frame2_, frame3_, frame4_,
                                                      label1_, list1_, text3_})
        feedback->Reset(w);
    // The list's own pointer moves (the reset first), dragging and dropping.
    new FileListDrag(*listView1_, pointer_, context_.pump, context_.dialogs, context_.programFolder,
                     this);
}

void MainWindow::FormLoad() {
    ProtectedHandler h(tags::kForm2Load, context_.dialogs);
    h.Run(100, [&] { ApplyFaceColor(this); });
    h.Run(102, [&] { setWindowIcon(ApplicationIcon()); });
    h.Run(104, [&] { text2_->setText(QString::fromLatin1(kDefaultTableName)); });
    h.Run(106, [&] { text3_->setText(QString::fromLatin1(kDefaultSeparator)); });
    const std::string pointerFile = ProgramFile(context_.programFolder, kPointerFile);
    if (h.Test(110, [&] { return FileExists(pointerFile); })) {
        h.Run(112, [&] {
            if (auto cursor = LoadCursorFile(pointerFile)) pointer_.SetCustomCursor(*cursor);
        });
    }
    h.Run(114, [&] { setWindowTitle(Local(std::string(kProductName))); });
    h.Run(116, [&] { list1_->Clear(); });
    std::string connectionString;
    h.Run(118, [&] { connectionString = profile_.ConnectionString(); });
    h.Run(120, [&] { ListUserTables(*list1_, connectionString, context_.pump); });
    h.Run(122, [&] { listView1_->EnsureColumn(); });
    h.Run(124, [&] { listView1_->SetColumnWidthTwips(kFileListColumnTwips); });
}

ImportMode MainWindow::Mode() const {
    if (option1_->isChecked()) return ImportMode::CreateTable;
    if (option2_->isChecked()) return ImportMode::AppendToTable;
    return ImportMode::Unset;
}

ColumnSource MainWindow::Columns() const {
    if (option3_->isChecked()) return ColumnSource::HeaderLine;
    if (option4_->isChecked()) return ColumnSource::TypedNames;
    return ColumnSource::Unset;
}

bool MainWindow::SkipHeaderOnAppend() const {
    return check2_->isChecked();
}

std::string MainWindow::Separator() const {
    return Bytes(text3_->text());
}

std::string MainWindow::TableNamePattern() const {
    return Bytes(text2_->text());
}

std::optional<std::string> MainWindow::TargetTable() const {
    return list1_->Selected();
}

void MainWindow::Option1_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{option3_, option4_, label5_, text2_})
        w->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{frame4_, check2_, label2_, list1_})
        w->setEnabled(false);
}

void MainWindow::Option2_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{option3_, option4_, label5_, text2_})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{frame4_, check2_, label2_, list1_})
        w->setEnabled(true);
}

void MainWindow::PushButton1_Click() {
    RunGuarded([&] {
        const CaptionProgress::Run caption(*progress_);
        ImportContext import{*listView1_,      *list1_,       *this,    profile_,
                             context_.dialogs, context_.pump, pointer_, progress_};
        RunImport(import);
    });
}

void MainWindow::PushButton3_Click() {
    RunGuarded([&] { AddFilesCommand(*listView1_, context_.dialogs); });
}

void MainWindow::PushButton4_Click() {
    RunGuarded([&] {
        AddFolderContext folder{*listView1_, context_.dialogs, context_.settings, context_.pump,
                                pointer_};
        AddFolderCommand(folder);
    });
}

void MainWindow::PushButton5_Click() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kForm2SetupConnection, context_.dialogs);
        h.Run(100, [&] { context_.flow.ShowLoginWindow(); });
        h.Run(102, [&] { context_.flow.HideMainWindow(); });
    });
}

void MainWindow::PushButton6_Click() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kForm2FormatHelp, context_.dialogs);
        std::string text;
        h.Run(100, [&] { text = FileFormatHelpText(); });
        h.Run(114, [&] { context_.dialogs.ShowMessage(text); });
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    context_.flow.EndProgram();
}

}  // namespace verrolift

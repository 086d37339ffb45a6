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

#include "app/command_guard.h"
#include "ui/file_list_drag.h"
#include "ui/file_list_view.h"
#include "ui/frame_box.h"
#include "ui/look.h"
#include "ui/table_list_box.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

MainWindow::MainWindow(UiContext& context, const ConnectionSource& profile)
    : QWidget(nullptr), context_(context), pointer_(this), logic_(context, *this, profile) {
    setObjectName(QStringLiteral("Form2"));
    BuildControls();
}

MainWindow::~MainWindow() = default;

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
    // From just past the "?" to the frame's inner edge: the room its caption has.
    quotedFieldsCheck_ = Make<QCheckBox>(filesFrame_, "Check3", TwipsRect(4710, 2090, 1380, 255));
    quotedFieldsCheck_->setText(QString::fromLatin1(kQuotedFieldsCaption));

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
    // In bold its caption is wider than the room right of the "?".
    QFont plainControlFont = ControlFont();
    plainControlFont.setWeight(QFont::Normal);
    quotedFieldsCheck_->setFont(plainControlFont);
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
    logic_.CreateChosen();

    fileList_->SetBusyTest([this] { return pointer_.Busy(); });
    pointer_.OnBusyChange([this](bool busy) { fileList_->ShowBusyPointer(busy); });
    progress_ = new CaptionProgress(this, context_.progressIntervalMs);

    connect(createOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) logic_.CreateChosen();
    });
    connect(appendOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) logic_.AppendChosen();
    });
    connect(separatorEdit_, &QLineEdit::textChanged, this, [this] { ShowSeparatorAsTyped(); });
    // Stored on the user's clicks only: the load step's own setting is the stored value.
    connect(quotedFieldsCheck_, &QCheckBox::clicked, this,
            [this](bool on) { logic_.QuotedFieldsToggled(on); });
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
    auto* drag = new FileListDrag(*fileList_, pointer_, context_.pump, context_.dialogs,
                                  context_.programFolder, this);
    drag->SetDropHandler([this](const std::vector<std::string>& paths) { logic_.Drop(paths); });
}

QAbstractButton* MainWindow::ChoiceButton(MainChoice choice) const {
    switch (choice) {
        case MainChoice::CreateTable:
            return createOption_;
        case MainChoice::AppendToTable:
            return appendOption_;
        case MainChoice::HeaderColumns:
            return headerColumnsOption_;
        case MainChoice::TypedColumns:
            return typedColumnsOption_;
        case MainChoice::SkipHeader:
            return skipHeaderCheck_;
        case MainChoice::QuotedFields:
            return quotedFieldsCheck_;
    }
    return createOption_;
}

QLineEdit* MainWindow::Box(MainBox box) const {
    return box == MainBox::Separator ? separatorEdit_ : tableNameEdit_;
}

bool MainWindow::Chosen(MainChoice choice) const {
    return ChoiceButton(choice)->isChecked();
}

void MainWindow::SetChosen(MainChoice choice, bool on) {
    ChoiceButton(choice)->setChecked(on);
}

std::string MainWindow::Text(MainBox box) const {
    return Bytes(Box(box)->text());
}

void MainWindow::SetText(MainBox box, const std::string& text) {
    Box(box)->setText(Local(text));
}

void MainWindow::Enable(MainControl control, bool enabled) {
    QWidget* w = nullptr;
    switch (control) {
        case MainControl::HeaderColumns:
            w = headerColumnsOption_;
            break;
        case MainControl::TypedColumns:
            w = typedColumnsOption_;
            break;
        case MainControl::TableNameLabel:
            w = tableNameLabel_;
            break;
        case MainControl::TableName:
            w = tableNameEdit_;
            break;
        case MainControl::AppendFrame:
            w = appendFrame_;
            break;
        case MainControl::SkipHeader:
            w = skipHeaderCheck_;
            break;
        case MainControl::AppendTableLabel:
            w = appendTableLabel_;
            break;
        case MainControl::TableList:
            w = tableList_;
            break;
    }
    if (w) w->setEnabled(enabled);
}

void MainWindow::ApplyFaceColor() {
    verrolift::ApplyFaceColor(this);
}

void MainWindow::SetApplicationIcon() {
    setWindowIcon(ApplicationIcon());
}

bool MainWindow::LoadPointerFile(const std::string& path) {
    const auto cursor = LoadCursorFile(path);
    if (cursor) pointer_.SetCustomCursor(*cursor);
    return cursor.has_value();
}

void MainWindow::SetCaption(const std::string& caption) {
    setWindowTitle(Local(caption));
}

void MainWindow::PrepareFileList() {
    fileList_->EnsureColumn();
    fileList_->SetColumnWidthTwips(kFileListColumnTwips);
}

ImportProgress* MainWindow::BeginRunProgress() {
    runCaption_.emplace(*progress_);
    return progress_;
}

void MainWindow::EndRunProgress() {
    runCaption_.reset();
}

void MainWindow::ShowSeparatorAsTyped() {
    const QString typed = separatorEdit_->text();
    const QString shown = Local(logic_.SeparatorEdited(Bytes(typed)));
    if (shown == typed) return;
    // The caret stays after what it followed.
    const int caret = separatorEdit_->cursorPosition();
    const QString before = Local(logic_.SeparatorEdited(Bytes(typed.left(caret))));
    separatorEdit_->setText(shown);
    separatorEdit_->setCursorPosition(static_cast<int>(before.size()));
}

void MainWindow::OnImportClicked() {
    RunGuarded([&] { logic_.Import(); });
}

void MainWindow::OnAddFilesClicked() {
    RunGuarded([&] { logic_.AddFiles(); });
}

void MainWindow::OnAddFolderClicked() {
    RunGuarded([&] { logic_.AddFolder(); });
}

void MainWindow::OnSetupConnectionClicked() {
    RunGuarded([&] { logic_.SetupConnection(); });
}

void MainWindow::OnFormatHelpClicked() {
    RunGuarded([&] { logic_.FormatHelp(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    logic_.Close();
}

}  // namespace verrolift

#pragma once

#include <optional>
#include <string>

#include <QWidget>

#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "db/connection.h"
#include "ui/caption_progress.h"
#include "ui/file_list_view.h"
#include "ui/table_list_box.h"
#include "ui/window_flow.h"
#include "ui/window_pointer.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace verrolift {

// Form2 in Qt widgets: the file list, the separator, the table options, the table list and
// the import. What it does is MainWindowLogic's; this window shows the controls, hands
// their events on and answers the logic's questions about them.
class MainWindow : public QWidget, public MainWindowView {
    Q_OBJECT
public:
    // profile: the login window's boxes, read at each connection.
    MainWindow(UiContext& context, const ConnectionSource& profile);
    ~MainWindow() override;

    // Form_Load.
    void Load() { logic_.Load(); }
    // The options as the controls stand now, as a run takes them when it starts.
    ImportOptions Options() const { return logic_.Options(); }

    FileListView& Files() override { return *fileList_; }
    TableListBox& Tables() override { return *tableList_; }
    QtWindowPointer& Pointer() override { return pointer_; }

    void OnImportClicked();           // "Import To Oracle"
    void OnAddFilesClicked();         // "Add Text File(s)"
    void OnAddFolderClicked();        // "Add All File(s) In Folder"
    void OnSetupConnectionClicked();  // "Setup Connection"
    void OnFormatHelpClicked();       // "?" file format help

    // MainWindowView
    bool Chosen(MainChoice choice) const override;
    void SetChosen(MainChoice choice, bool on) override;
    std::string Text(MainBox box) const override;
    void SetText(MainBox box, const std::string& text) override;
    void Enable(MainControl control, bool enabled) override;
    void ApplyFaceColor() override;
    void SetApplicationIcon() override;
    bool LoadPointerFile(const std::string& path) override;
    void SetCaption(const std::string& caption) override;
    void PrepareFileList() override;
    ImportProgress* BeginRunProgress() override;
    void EndRunProgress() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    QAbstractButton* ChoiceButton(MainChoice choice) const;
    QLineEdit* Box(MainBox box) const;
    void ShowSeparatorAsTyped();

    UiContext& context_;
    QtWindowPointer pointer_;
    MainWindowLogic logic_;
    CaptionProgress* progress_ = nullptr;
    std::optional<CaptionProgress::Run> runCaption_;
    QGroupBox* filesFrame_ = nullptr;
    FileListView* fileList_ = nullptr;
    QPushButton* addFilesButton_ = nullptr;
    QPushButton* addFolderButton_ = nullptr;
    QLabel* separatorLabel_ = nullptr;
    QLineEdit* separatorEdit_ = nullptr;
    QPushButton* formatHelpButton_ = nullptr;
    QCheckBox* quotedFieldsCheck_ = nullptr;
    QGroupBox* tableOptionsFrame_ = nullptr;
    QRadioButton* createOption_ = nullptr;
    QGroupBox* createFrame_ = nullptr;
    QRadioButton* headerColumnsOption_ = nullptr;
    QRadioButton* typedColumnsOption_ = nullptr;
    QLabel* tableNameLabel_ = nullptr;
    QLineEdit* tableNameEdit_ = nullptr;
    QRadioButton* appendOption_ = nullptr;
    QGroupBox* appendFrame_ = nullptr;
    QCheckBox* skipHeaderCheck_ = nullptr;
    QLabel* appendTableLabel_ = nullptr;
    TableListBox* tableList_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* setupConnectionButton_ = nullptr;
};

}  // namespace verrolift

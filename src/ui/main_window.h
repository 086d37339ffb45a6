#pragma once

#include <optional>
#include <string>

#include <QWidget>

#include "db/connection.h"
#include "import/import_options.h"
#include "ui/window_flow.h"
#include "ui/window_pointer.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace verrolift {

class CaptionProgress;
class FileListView;
class TableListBox;

inline constexpr const char* kDefaultTableName = "NewTable[counter]";
inline constexpr const char* kDefaultSeparator = ",";

// Form2: the file list, the separator, the table options, the table list and
// the import. The import reads its options from the controls themselves,
// each at the moment it needs one.
class MainWindow : public QWidget, public ImportOptionsSource {
    Q_OBJECT
public:
    // profile: the login window's boxes, read at each connection.
    MainWindow(UiContext& context, const ConnectionSource& profile);

    // Form_Load: look, defaults of the table name and separator, table list
    // refilled from the database, the file list's column.
    void Load();

    ImportMode Mode() const override;
    ColumnSource Columns() const override;
    bool SkipHeaderOnAppend() const override;
    std::string Separator() const override;
    std::string TableNamePattern() const override;
    std::optional<std::string> TargetTable() const override;

    FileListView& Files() { return *fileList_; }
    TableListBox& Tables() { return *tableList_; }
    QtWindowPointer& Pointer() { return pointer_; }

    void OnImportClicked();           // "Import To Oracle"
    void OnAddFilesClicked();         // "Add Text File(s)"
    void OnAddFolderClicked();        // "Add All File(s) In Folder"
    void OnSetupConnectionClicked();  // "Setup Connection"
    void OnFormatHelpClicked();       // "?" file format help
    void OnCreateChosen();            // create mode
    void OnAppendChosen();            // append mode

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();

    UiContext& context_;
    const ConnectionSource& profile_;
    QtWindowPointer pointer_;
    CaptionProgress* progress_ = nullptr;
    QGroupBox* filesFrame_ = nullptr;
    FileListView* fileList_ = nullptr;
    QPushButton* addFilesButton_ = nullptr;
    QPushButton* addFolderButton_ = nullptr;
    QLabel* separatorLabel_ = nullptr;
    QLineEdit* separatorEdit_ = nullptr;
    QPushButton* formatHelpButton_ = nullptr;
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

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
    void FormLoad();

    ImportMode Mode() const override;
    ColumnSource Columns() const override;
    bool SkipHeaderOnAppend() const override;
    std::string Separator() const override;
    std::string TableNamePattern() const override;
    std::optional<std::string> TargetTable() const override;

    FileListView& Files() { return *listView1_; }
    TableListBox& Tables() { return *list1_; }
    QtWindowPointer& Pointer() { return pointer_; }

    void PushButton1_Click();  // "Import To Oracle"
    void PushButton3_Click();  // "Add Text File(s)"
    void PushButton4_Click();  // "Add All File(s) In Folder"
    void PushButton5_Click();  // "Setup Connection"
    void PushButton6_Click();  // "?" file format help
    void Option1_Click();      // create mode
    void Option2_Click();      // append mode

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();

    UiContext& context_;
    const ConnectionSource& profile_;
    QtWindowPointer pointer_;
    CaptionProgress* progress_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    FileListView* listView1_ = nullptr;
    QPushButton* pushButton3_ = nullptr;
    QPushButton* pushButton4_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QPushButton* pushButton6_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QRadioButton* option1_ = nullptr;
    QGroupBox* frame3_ = nullptr;
    QRadioButton* option3_ = nullptr;
    QRadioButton* option4_ = nullptr;
    QLabel* label5_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QGroupBox* frame4_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QLabel* label2_ = nullptr;
    TableListBox* list1_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    QPushButton* pushButton5_ = nullptr;
};

}  // namespace verrolift

#pragma once

#include <string>

#include <QWidget>

#include "db/connection.h"
#include "ui/window_flow.h"
#include "ui/window_pointer.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace verrolift {

class SelectAllLineEdit;

// Form1: the connection profile in three boxes, its test, two help texts and
// "Next >". Its load step is the program's start-up. The boxes are the live
// profile: every connection reads them at the moment it is made.
class LoginWindow : public QWidget, public ConnectionSource {
    Q_OBJECT
public:
    explicit LoginWindow(UiContext& context);

    // Form_Load: skin, caption and title, home page, hand pointer, saved
    // profile, probe, and on success straight on to the main window.
    void FormLoad();

    std::string ConnectionString() const override;
    ConnectionProfile Profile() const;
    QtWindowPointer& Pointer() { return pointer_; }

    void PushButton1_Click();  // "?"
    void PushButton3_Click();  // "Next >"
    void PushButton5_Click();  // "Test Connection"
    void PushButton6_Click();  // "Help"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void StoreOnChange(SelectAllLineEdit* box, const char* key);

    UiContext& context_;
    QtWindowPointer pointer_;
    QGroupBox* frame1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label4_ = nullptr;
    SelectAllLineEdit* text1_ = nullptr;
    SelectAllLineEdit* text2_ = nullptr;
    SelectAllLineEdit* text3_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    QPushButton* pushButton3_ = nullptr;
    QPushButton* pushButton5_ = nullptr;
    QPushButton* pushButton6_ = nullptr;
};

}  // namespace verrolift

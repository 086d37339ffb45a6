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
    void Load();

    std::string ConnectionString() const override;
    ConnectionProfile Profile() const;
    QtWindowPointer& Pointer() { return pointer_; }

    void OnSidHelpClicked();         // "?"
    void OnNextClicked();            // "Next >"
    void OnTestConnectionClicked();  // "Test Connection"
    void OnHelpClicked();            // "Help"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void StoreOnChange(SelectAllLineEdit* box, const char* key);

    UiContext& context_;
    QtWindowPointer pointer_;
    QGroupBox* profileFrame_ = nullptr;
    QLabel* userLabel_ = nullptr;
    QLabel* sidLabel_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    SelectAllLineEdit* sidEdit_ = nullptr;
    SelectAllLineEdit* userEdit_ = nullptr;
    SelectAllLineEdit* passwordEdit_ = nullptr;
    QPushButton* sidHelpButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* testConnectionButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
};

}  // namespace verrolift

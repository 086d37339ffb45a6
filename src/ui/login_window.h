#pragma once

#include <string>

#include <QWidget>

#include "app/login_window_logic.h"
#include "app/login_window_view.h"
#include "db/connection.h"
#include "ui/window_flow.h"
#include "ui/window_pointer.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace verrolift {

class SelectAllLineEdit;

// Form1 in Qt widgets: the connection profile in three boxes, its test, two help texts and
// "Next >". What it does is LoginWindowLogic's; its load step is the program's start-up.
// The boxes are the live profile: every connection reads them at the moment it is made.
class LoginWindow : public QWidget, public LoginWindowView, public ConnectionSource {
    Q_OBJECT
public:
    explicit LoginWindow(UiContext& context);

    // Form_Load.
    void Load() { logic_.Load(); }

    std::string ConnectionString() const override { return logic_.ConnectionString(); }
    ConnectionProfile Profile() const { return logic_.Profile(); }
    QtWindowPointer& Pointer() override { return pointer_; }

    void OnSidHelpClicked();         // "?"
    void OnNextClicked();            // "Next >"
    void OnTestConnectionClicked();  // "Test Connection"
    void OnHelpClicked();            // "Help"

    // LoginWindowView
    std::string Text(LoginBox box) const override;
    void SetText(LoginBox box, const std::string& text) override;
    void ApplySkin(const std::string& programFolder) override;
    void SetTitles() override;
    bool LoadPointerFile(const std::string& path) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    SelectAllLineEdit* Box(LoginBox box) const;
    void StoreOnChange(LoginBox box);

    QtWindowPointer pointer_;
    LoginWindowLogic logic_;
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

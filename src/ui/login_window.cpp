#include "ui/login_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/command_guard.h"
#include "base/error_report.h"
#include "ui/frame_box.h"
#include "ui/look.h"
#include "ui/select_all_line_edit.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

LoginWindow::LoginWindow(UiContext& context)
    : QWidget(nullptr), pointer_(this), logic_(context, *this) {
    setObjectName(QStringLiteral("Form1"));
    BuildControls();
}

void LoginWindow::BuildControls() {
    setFixedSize(TwipsToPixels(8040), TwipsToPixels(3180));
    setFont(ControlFont());

    profileFrame_ = Make<FrameBox>(this, "Frame1", TwipsRect(120, 120, 7800, 2385));
    profileFrame_->setTitle(QStringLiteral("Oracle Login"));

    sidLabel_ = Make<QLabel>(profileFrame_, "Label2", TwipsRect(240, 405, 1095, 255));
    sidLabel_->setText(QStringLiteral("SID:"));
    sidEdit_ = Make<SelectAllLineEdit>(profileFrame_, "Text1", TwipsRect(1320, 360, 5535, 345));
    sidHelpButton_ =
        Make<QPushButton>(profileFrame_, "PushButton1", TwipsRect(6960, 360, 615, 345));
    sidHelpButton_->setText(QStringLiteral("?"));

    userLabel_ = Make<QLabel>(profileFrame_, "Label1", TwipsRect(240, 885, 1095, 255));
    userLabel_->setText(QStringLiteral("Username:"));
    userEdit_ = Make<SelectAllLineEdit>(profileFrame_, "Text2", TwipsRect(1320, 840, 6255, 345));

    passwordLabel_ = Make<QLabel>(profileFrame_, "Label4", TwipsRect(240, 1365, 1095, 255));
    passwordLabel_->setText(QStringLiteral("Password:"));
    passwordEdit_ =
        Make<SelectAllLineEdit>(profileFrame_, "Text3", TwipsRect(1320, 1320, 6255, 345));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    // Every character of the password is shown as "*".
    passwordEdit_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    testConnectionButton_ =
        Make<QPushButton>(profileFrame_, "PushButton5", TwipsRect(240, 1800, 3600, 405));
    testConnectionButton_->setText(QStringLiteral("Test Connection"));
    helpButton_ = Make<QPushButton>(profileFrame_, "PushButton6", TwipsRect(3960, 1800, 3600, 405));
    helpButton_->setText(QStringLiteral("Help"));

    nextButton_ = Make<QPushButton>(this, "PushButton3", TwipsRect(120, 2640, 7800, 405));
    nextButton_->setText(QStringLiteral("Next >"));

    for (QPushButton* button : {sidHelpButton_, nextButton_, testConnectionButton_, helpButton_}) {
        button->setFont(ButtonFont());
        button->setAutoDefault(false);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{profileFrame_, userLabel_, sidLabel_, passwordLabel_,
                                         sidEdit_, userEdit_, passwordEdit_})
        w->setFont(ControlFont());
    ApplyDesignBackground(this);

    // SID, "?", user, password, "Test Connection", "Help", "Next >".
    setTabOrder(sidEdit_, sidHelpButton_);
    setTabOrder(sidHelpButton_, userEdit_);
    setTabOrder(userEdit_, passwordEdit_);
    setTabOrder(passwordEdit_, testConnectionButton_);
    setTabOrder(testConnectionButton_, helpButton_);
    setTabOrder(helpButton_, nextButton_);

    for (LoginBox box : {LoginBox::Sid, LoginBox::User, LoginBox::Password}) StoreOnChange(box);

    connect(sidHelpButton_, &QPushButton::clicked, this, [this] { OnSidHelpClicked(); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { OnNextClicked(); });
    connect(testConnectionButton_, &QPushButton::clicked, this,
            [this] { OnTestConnectionClicked(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { OnHelpClicked(); });

    auto* feedback = new PointerFeedback(pointer_, this);
    for (QWidget* w : {sidHelpButton_, nextButton_, testConnectionButton_, helpButton_})
        feedback->Hand(w);
    for (QWidget* w :
         std::initializer_list<QWidget*>{this, profileFrame_, sidEdit_, userEdit_, passwordEdit_})
        feedback->Reset(w);
}

void LoginWindow::StoreOnChange(LoginBox box) {
    connect(Box(box), &QLineEdit::textChanged, this,
            [this, box](const QString& text) { logic_.BoxChanged(box, Bytes(text)); });
}

SelectAllLineEdit* LoginWindow::Box(LoginBox box) const {
    switch (box) {
        case LoginBox::Sid:
            return sidEdit_;
        case LoginBox::User:
            return userEdit_;
        case LoginBox::Password:
            return passwordEdit_;
    }
    return sidEdit_;
}

std::string LoginWindow::Text(LoginBox box) const {
    return Bytes(Box(box)->text());
}

void LoginWindow::SetText(LoginBox box, const std::string& text) {
    Box(box)->setText(Local(text));
}

void LoginWindow::ApplySkin(const std::string& programFolder) {
    verrolift::ApplySkin(this, programFolder);
}

void LoginWindow::SetTitles() {
    setWindowTitle(Local(std::string(kProductName)));
    setWindowIcon(ApplicationIcon());
    SetApplicationTitle();
}

bool LoginWindow::LoadPointerFile(const std::string& path) {
    const auto cursor = LoadCursorFile(path);
    if (cursor) pointer_.SetCustomCursor(*cursor);
    return cursor.has_value();
}

void LoginWindow::OnSidHelpClicked() {
    RunGuarded([&] { logic_.SidHelp(); });
}

void LoginWindow::OnNextClicked() {
    RunGuarded([&] { logic_.Next(); });
}

void LoginWindow::OnTestConnectionClicked() {
    RunGuarded([&] { logic_.TestConnection(); });
}

void LoginWindow::OnHelpClicked() {
    RunGuarded([&] { logic_.Help(); });
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    logic_.Close();
}

}  // namespace verrolift

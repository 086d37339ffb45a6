#include "ui/login_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/error_report.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "ui/frame_box.h"
#include "ui/help_texts.h"
#include "ui/login_window_steps.h"
#include "ui/look.h"
#include "ui/select_all_line_edit.h"
#include "ui/slot_guard.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

namespace steps = login_window_steps;

LoginWindow::LoginWindow(UiContext& context) : QWidget(nullptr), context_(context), pointer_(this) {
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

    StoreOnChange(sidEdit_, keys::kOracleSid.data());
    StoreOnChange(userEdit_, keys::kOracleUser.data());
    StoreOnChange(passwordEdit_, keys::kOraclePassword.data());

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

void LoginWindow::StoreOnChange(SelectAllLineEdit* box, const char* key) {
    connect(box, &QLineEdit::textChanged, this, [this, key](const QString& text) {
        // No trap of its own in the design; a store that cannot be written
        // must not end the program, and the next change writes the whole text again.
        try {
            context_.settings.SaveSetting(kSettingsApplication, kSettingsSection, key, Bytes(text));
        } catch (const std::exception&) {
        }
    });
}

ConnectionProfile LoginWindow::Profile() const {
    return {Bytes(sidEdit_->text()), Bytes(userEdit_->text()), Bytes(passwordEdit_->text())};
}

std::string LoginWindow::ConnectionString() const {
    return BuildConnectionString(Profile());
}

void LoginWindow::Load() {
    ProtectedHandler h(tags::kLoginLoad, context_.dialogs);
    const std::string& folder = context_.programFolder;
    h.Run(steps::load::kSkin, [&] { ApplySkin(this, folder); });
    h.Run(steps::load::kTitles, [&] {
        setWindowTitle(Local(std::string(kProductName)));
        setWindowIcon(ApplicationIcon());
        SetApplicationTitle();
    });
    h.Run(steps::load::kHomePage,
          [&] { VisitHomePageAtRandom(context_.random, context_.openUrl); });
    const std::string pointerFile = ProgramFile(folder, kPointerFile);
    if (h.Test(steps::load::kPointerFileTest, [&] { return FileExists(pointerFile); })) {
        h.Run(steps::load::kLoadPointer, [&] {
            if (auto cursor = LoadCursorFile(pointerFile)) pointer_.SetCustomCursor(*cursor);
        });
    }
    auto fill = [&](SelectAllLineEdit* box, std::string_view key) {
        box->setText(
            Local(context_.settings.GetSetting(kSettingsApplication, kSettingsSection, key, "")));
    };
    h.Run(steps::load::kFillSid, [&] { fill(sidEdit_, keys::kOracleSid); });
    h.Run(steps::load::kFillUser, [&] { fill(userEdit_, keys::kOracleUser); });
    h.Run(steps::load::kFillPassword, [&] { fill(passwordEdit_, keys::kOraclePassword); });
    if (h.Test(steps::load::kProbeTest, [&] { return TryOpenConnection(ConnectionString()); })) {
        h.Run(steps::load::kShowMain, [&] { context_.flow.ShowMainWindow(); });
        h.Run(steps::load::kHideLogin, [&] { context_.flow.HideLoginWindow(); });
    }
}

void LoginWindow::OnSidHelpClicked() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kLoginSidHelp, context_.dialogs);
        h.Run(steps::sid_help::kShowText, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
    });
}

void LoginWindow::OnNextClicked() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kLoginNext, context_.dialogs);
        // A profile that does not connect changes nothing and says nothing.
        if (!h.Test(steps::next::kProbeTest, [&] { return TryOpenConnection(ConnectionString()); }))
            return;
        h.Run(steps::next::kShowMain, [&] { context_.flow.ShowMainWindow(); });
        h.Run(steps::next::kHideLogin, [&] { context_.flow.HideLoginWindow(); });
        h.Run(steps::next::kLoadMain, [&] { context_.flow.RunMainWindowLoad(); });
    });
}

void LoginWindow::OnTestConnectionClicked() {
    RunGuarded([&] { TestConnection(*this, context_.dialogs, pointer_); });
}

void LoginWindow::OnHelpClicked() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kLoginHelp, context_.dialogs);
        h.Run(steps::help::kShowSidHelp, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
        h.Run(steps::help::kShowDataTypes, [&] { context_.dialogs.ShowMessage(kDataTypeNotice); });
    });
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    context_.flow.EndProgram();
}

}  // namespace verrolift

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
#include "ui/look.h"
#include "ui/select_all_line_edit.h"
#include "ui/slot_guard.h"
#include "ui/widget_building.h"

namespace verrolift {

using ui::Bytes;
using ui::Local;
using ui::Make;

LoginWindow::LoginWindow(UiContext& context) : QWidget(nullptr), context_(context), pointer_(this) {
    setObjectName(QStringLiteral("Form1"));
    BuildControls();
}

void LoginWindow::BuildControls() {
    setFixedSize(TwipsToPixels(8040), TwipsToPixels(3180));
    setFont(ControlFont());

    frame1_ = Make<FrameBox>(this, "Frame1", TwipsRect(120, 120, 7800, 2385));
    frame1_->setTitle(QStringLiteral("Oracle Login"));

    label2_ = Make<QLabel>(frame1_, "Label2", TwipsRect(240, 405, 1095, 255));
    label2_->setText(QStringLiteral("SID:"));
    text1_ = Make<SelectAllLineEdit>(frame1_, "Text1", TwipsRect(1320, 360, 5535, 345));
    pushButton1_ = Make<QPushButton>(frame1_, "PushButton1", TwipsRect(6960, 360, 615, 345));
    pushButton1_->setText(QStringLiteral("?"));

    label1_ = Make<QLabel>(frame1_, "Label1", TwipsRect(240, 885, 1095, 255));
    label1_->setText(QStringLiteral("Username:"));
    text2_ = Make<SelectAllLineEdit>(frame1_, "Text2", TwipsRect(1320, 840, 6255, 345));

    label4_ = Make<QLabel>(frame1_, "Label4", TwipsRect(240, 1365, 1095, 255));
    label4_->setText(QStringLiteral("Password:"));
    text3_ = Make<SelectAllLineEdit>(frame1_, "Text3", TwipsRect(1320, 1320, 6255, 345));
    text3_->setEchoMode(QLineEdit::Password);
    // Every character of the password is shown as "*".
    text3_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    pushButton5_ = Make<QPushButton>(frame1_, "PushButton5", TwipsRect(240, 1800, 3600, 405));
    pushButton5_->setText(QStringLiteral("Test Connection"));
    pushButton6_ = Make<QPushButton>(frame1_, "PushButton6", TwipsRect(3960, 1800, 3600, 405));
    pushButton6_->setText(QStringLiteral("Help"));

    pushButton3_ = Make<QPushButton>(this, "PushButton3", TwipsRect(120, 2640, 7800, 405));
    pushButton3_->setText(QStringLiteral("Next >"));

    for (QPushButton* button : {pushButton1_, pushButton3_, pushButton5_, pushButton6_}) {
        button->setFont(ButtonFont());
        button->setAutoDefault(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{frame1_, label1_, label2_, label4_, text1_,
                                                      text2_, text3_})
        w->setFont(ControlFont());
    ApplyDesignBackground(this);

    // SID, "?", user, password, "Test Connection", "Help", "Next >".
    setTabOrder(text1_, pushButton1_);
    setTabOrder(pushButton1_, text2_);
    setTabOrder(text2_, text3_);
    setTabOrder(text3_, pushButton5_);
    setTabOrder(pushButton5_, pushButton6_);
    setTabOrder(pushButton6_, pushButton3_);

    StoreOnChange(text1_, keys::kOracleSid.data());
    StoreOnChange(text2_, keys::kOracleUser.data());
    StoreOnChange(text3_, keys::kOraclePassword.data());

    connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(pushButton3_, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(pushButton5_, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(pushButton6_, &QPushButton::clicked, this, [this] { PushButton6_Click(); });

    auto* feedback = new PointerFeedback(pointer_, this);
    for (QWidget* w : {pushButton1_, pushButton3_, pushButton5_, pushButton6_}) feedback->Hand(w);
    for (QWidget* w : std::initializer_list<QWidget*>{this, frame1_, text1_, text2_, text3_})
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
    return {Bytes(text1_->text()), Bytes(text2_->text()), Bytes(text3_->text())};
}

std::string LoginWindow::ConnectionString() const {
    return BuildConnectionString(Profile());
}

void LoginWindow::FormLoad() {
    ProtectedHandler h(tags::kForm1Load, context_.dialogs);
    const std::string& folder = context_.programFolder;
    h.Run(100, [&] { ApplySkin(this, folder); });
    h.Run(104, [&] {
        setWindowTitle(Local(std::string(kProductName)));
        setWindowIcon(ApplicationIcon());
        SetApplicationTitle();
    });
    h.Run(106, [&] { VisitHomePageAtRandom(context_.random, context_.openUrl); });
    const std::string pointerFile = ProgramFile(folder, kPointerFile);
    if (h.Test(124, [&] { return FileExists(pointerFile); })) {
        h.Run(126, [&] {
            if (auto cursor = LoadCursorFile(pointerFile)) pointer_.SetCustomCursor(*cursor);
        });
    }
    auto fill = [&](SelectAllLineEdit* box, std::string_view key) {
        box->setText(
            Local(context_.settings.GetSetting(kSettingsApplication, kSettingsSection, key, "")));
    };
    h.Run(128, [&] { fill(text1_, keys::kOracleSid); });
    h.Run(130, [&] { fill(text2_, keys::kOracleUser); });
    h.Run(132, [&] { fill(text3_, keys::kOraclePassword); });
    if (h.Test(134, [&] { return TryOpenConnection(ConnectionString()); })) {
        h.Run(136, [&] { context_.flow.ShowMainWindow(); });
        h.Run(138, [&] { context_.flow.HideLoginWindow(); });
    }
}

void LoginWindow::PushButton1_Click() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kForm1SidHelp, context_.dialogs);
        h.Run(100, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
    });
}

void LoginWindow::PushButton3_Click() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kForm1Next, context_.dialogs);
        // A profile that does not connect changes nothing and says nothing.
        if (!h.Test(100, [&] { return TryOpenConnection(ConnectionString()); })) return;
        h.Run(102, [&] { context_.flow.ShowMainWindow(); });
        h.Run(104, [&] { context_.flow.HideLoginWindow(); });
        h.Run(106, [&] { context_.flow.RunMainWindowLoad(); });
    });
}

void LoginWindow::PushButton5_Click() {
    RunGuarded([&] { TestConnection(*this, context_.dialogs, pointer_); });
}

void LoginWindow::PushButton6_Click() {
    RunGuarded([&] {
        ProtectedHandler h(tags::kForm1Help, context_.dialogs);
        h.Run(100, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
        h.Run(102, [&] { context_.dialogs.ShowMessage(kDataTypeNotice); });
    });
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    context_.flow.EndProgram();
}

}  // namespace verrolift

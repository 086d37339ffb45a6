#include "app/login_window_logic.h"

#include "app/help_texts.h"
#include "app/login_window_steps.h"
#include "app/program_files.h"
#include "base/error_report.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "base/settings_store.h"

namespace verrolift {

namespace steps = login_window_steps;

namespace {

std::string_view KeyOf(LoginBox box) {
    switch (box) {
        case LoginBox::Sid:
            return keys::kOracleSid;
        case LoginBox::User:
            return keys::kOracleUser;
        case LoginBox::Password:
            return keys::kOraclePassword;
    }
    return keys::kOracleSid;
}

}  // namespace

LoginWindowLogic::LoginWindowLogic(AppContext& context, LoginWindowView& view)
    : context_(context), view_(view) {}

ConnectionProfile LoginWindowLogic::Profile() const {
    return {view_.Text(LoginBox::Sid), view_.Text(LoginBox::User), view_.Text(LoginBox::Password)};
}

std::string LoginWindowLogic::ConnectionString() const {
    return BuildConnectionString(Profile());
}

void LoginWindowLogic::Load() {
    ProtectedHandler h(tags::kLoginLoad, context_.dialogs);
    const std::string& folder = context_.programFolder;
    h.Run(steps::load::kSkin, [&] { view_.ApplySkin(folder); });
    h.Run(steps::load::kTitles, [&] { view_.SetTitles(); });
    h.Run(steps::load::kHomePage,
          [&] { VisitHomePageAtRandom(context_.random, context_.openUrl); });
    const std::string pointerFile = ProgramFile(folder, kPointerFile);
    if (h.Test(steps::load::kPointerFileTest, [&] { return FileExists(pointerFile); }))
        h.Run(steps::load::kLoadPointer, [&] { view_.LoadPointerFile(pointerFile); });
    auto fill = [&](LoginBox box) {
        view_.SetText(box, context_.settings.GetSetting(kSettingsApplication, kSettingsSection,
                                                        KeyOf(box), ""));
    };
    h.Run(steps::load::kFillSid, [&] { fill(LoginBox::Sid); });
    h.Run(steps::load::kFillUser, [&] { fill(LoginBox::User); });
    h.Run(steps::load::kFillPassword, [&] { fill(LoginBox::Password); });
    if (h.Test(steps::load::kProbeTest, [&] { return TryOpenConnection(ConnectionString()); })) {
        h.Run(steps::load::kShowMain, [&] { context_.flow.ShowMainWindow(); });
        h.Run(steps::load::kHideLogin, [&] { context_.flow.HideLoginWindow(); });
    }
}

void LoginWindowLogic::BoxChanged(LoginBox box, const std::string& text) {
    // No trap of its own in the design; a store that cannot be written must not end the
    // program, and the next change writes the whole text again.
    try {
        context_.settings.SaveSetting(kSettingsApplication, kSettingsSection, KeyOf(box), text);
    } catch (const std::exception&) {
    }
}

void LoginWindowLogic::SidHelp() {
    if (context_.run.UnderWay()) return;
    ProtectedHandler h(tags::kLoginSidHelp, context_.dialogs);
    h.Run(steps::sid_help::kShowText, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
}

void LoginWindowLogic::Next() {
    if (context_.run.UnderWay()) return;
    ProtectedHandler h(tags::kLoginNext, context_.dialogs);
    // A profile that does not connect changes nothing and says nothing.
    if (!h.Test(steps::next::kProbeTest, [&] { return TryOpenConnection(ConnectionString()); }))
        return;
    h.Run(steps::next::kShowMain, [&] { context_.flow.ShowMainWindow(); });
    h.Run(steps::next::kHideLogin, [&] { context_.flow.HideLoginWindow(); });
    h.Run(steps::next::kLoadMain, [&] { context_.flow.RunMainWindowLoad(); });
}

void LoginWindowLogic::TestConnection() {
    if (context_.run.UnderWay()) return;
    verrolift::TestConnection(*this, context_.dialogs, view_.Pointer());
}

void LoginWindowLogic::Help() {
    if (context_.run.UnderWay()) return;
    ProtectedHandler h(tags::kLoginHelp, context_.dialogs);
    h.Run(steps::help::kShowSidHelp, [&] { context_.dialogs.ShowMessage(SidHelpText()); });
    h.Run(steps::help::kShowDataTypes, [&] { context_.dialogs.ShowMessage(kDataTypeNotice); });
}

void LoginWindowLogic::Close() {
    context_.flow.EndProgram();
}

}  // namespace verrolift

#pragma once

#include <string>

#include "app/login_window_view.h"
#include "app/window_flow.h"
#include "db/connection.h"

namespace verrolift {

// Form1's behaviour. Its load step is the program's start-up. The boxes are the live
// connection profile: every connection reads them at the moment it is made. While an
// import runs, its commands do nothing.
class LoginWindowLogic : public ConnectionSource {
public:
    LoginWindowLogic(AppContext& context, LoginWindowView& view);

    // Form_Load: skin, caption and title, home page, hand pointer, saved profile, probe, and
    // on success straight on to the main window.
    void Load();

    ConnectionProfile Profile() const;
    std::string ConnectionString() const override;

    // A box's text changed: stored at once under its key.
    void BoxChanged(LoginBox box, const std::string& text);
    void SidHelp();         // "?"
    void Next();            // "Next >"
    void TestConnection();  // "Test Connection"
    void Help();            // "Help"
    void Close();

private:
    AppContext& context_;
    LoginWindowView& view_;
};

}  // namespace verrolift

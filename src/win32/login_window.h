#pragma once

#include <string>

#include "app/login_window_logic.h"
#include "app/login_window_view.h"
#include "app/window_flow.h"
#include "win32/top_window.h"

namespace verrolift::win32 {

// Form1 on the Win32 API: the connection profile in three boxes, its test, two help texts
// and "Next >". What it does is LoginWindowLogic's; its load step is the program's start-up.
class LoginWindow : public TopWindow, public LoginWindowView, public ConnectionSource {
public:
    // The controls' ids, by which tests find them too.
    enum Id : int {
        kFrame = 100,
        kSidLabel,
        kSidBox,
        kSidHelp,
        kUserLabel,
        kUserBox,
        kPasswordLabel,
        kPasswordBox,
        kTestConnection,
        kHelp,
        kNext,
    };
    static constexpr const wchar_t* kClassName = L"Verrolift.Form1";

    explicit LoginWindow(AppContext& context);

    // Form_Load.
    void Load() { logic_.Load(); }
    std::string ConnectionString() const override { return logic_.ConnectionString(); }

    // LoginWindowView
    Win32WindowPointer& Pointer() override { return WindowsPointer(); }
    std::string Text(LoginBox box) const override;
    void SetText(LoginBox box, const std::string& text) override;
    void ApplySkin(const std::string& programFolder) override;
    void SetTitles() override;
    bool LoadPointerFile(const std::string& path) override;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void BuildControls();
    HWND Box(LoginBox box) const;
    void Command(int id, int notification, HWND control);

    LoginWindowLogic logic_;
};

}  // namespace verrolift::win32

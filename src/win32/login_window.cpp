#include "win32/login_window.h"

#include "app/command_guard.h"
#include "app/program_files.h"
#include "base/error_report.h"
#include "base/paths.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {
constexpr DWORD kBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
}  // namespace

LoginWindow::LoginWindow(AppContext& context) : logic_(context, *this) {
    Create(kClassName, 8040, 3180);
    BuildControls();
}

void LoginWindow::BuildControls() {
    const TwipsBox frame{120, 120, 7800, 2385};
    AddFrame("Oracle Login", frame, kFrame);
    // Creation order is tab order: SID, "?", user, password, "Test Connection", "Help", "Next >".
    Add(L"STATIC", "SID:", 0, TwipsBox{240, 405, 1095, 255}.In(frame), kSidLabel);
    Add(L"EDIT", "", kBox, TwipsBox{1320, 360, 5535, 345}.In(frame), kSidBox, ControlFont::Text,
        WS_EX_CLIENTEDGE);
    HandOver(Add(L"BUTTON", "?", kButton, TwipsBox{6960, 360, 615, 345}.In(frame), kSidHelp,
                 ControlFont::Button));
    Add(L"STATIC", "Username:", 0, TwipsBox{240, 885, 1095, 255}.In(frame), kUserLabel);
    Add(L"EDIT", "", kBox, TwipsBox{1320, 840, 6255, 345}.In(frame), kUserBox, ControlFont::Text,
        WS_EX_CLIENTEDGE);
    Add(L"STATIC", "Password:", 0, TwipsBox{240, 1365, 1095, 255}.In(frame), kPasswordLabel);
    HWND password = Add(L"EDIT", "", kBox | ES_PASSWORD, TwipsBox{1320, 1320, 6255, 345}.In(frame),
                        kPasswordBox, ControlFont::Text, WS_EX_CLIENTEDGE);
    // Every character of the password is shown as "*".
    SendMessageW(password, EM_SETPASSWORDCHAR, L'*', 0);
    HandOver(Add(L"BUTTON", "Test Connection", kButton, TwipsBox{240, 1800, 3600, 405}.In(frame),
                 kTestConnection, ControlFont::Button));
    HandOver(Add(L"BUTTON", "Help", kButton, TwipsBox{3960, 1800, 3600, 405}.In(frame), kHelp,
                 ControlFont::Button));
    HandOver(Add(L"BUTTON", "Next >", kButton, TwipsBox{120, 2640, 7800, 405}, kNext,
                 ControlFont::Button));
    for (int id : {kSidBox, kUserBox, kPasswordBox}) ResetOver(GetDlgItem(Handle(), id));
}

HWND LoginWindow::Box(LoginBox box) const {
    switch (box) {
        case LoginBox::Sid:
            return GetDlgItem(Handle(), kSidBox);
        case LoginBox::User:
            return GetDlgItem(Handle(), kUserBox);
        case LoginBox::Password:
            return GetDlgItem(Handle(), kPasswordBox);
    }
    return nullptr;
}

std::string LoginWindow::Text(LoginBox box) const {
    return TextOf(Box(box));
}

void LoginWindow::SetText(LoginBox box, const std::string& text) {
    PutText(Box(box), text);
}

void LoginWindow::ApplySkin(const std::string& programFolder) {
    // The skin file is a Qt style sheet; here its presence brings the face colour only.
    if (IsExistingFile(ProgramFile(programFolder, kSkinFile))) TakeFaceColor();
}

void LoginWindow::SetTitles() {
    PutText(Handle(), std::string(kProductName));
}

bool LoginWindow::LoadPointerFile(const std::string& path) {
    return WindowsPointer().LoadHand(Wide(path));
}

void LoginWindow::Command(int id, int notification, HWND control) {
    if (notification == EN_CHANGE) {
        for (LoginBox box : {LoginBox::Sid, LoginBox::User, LoginBox::Password})
            if (Box(box) == control) RunGuarded([&] { logic_.BoxChanged(box, TextOf(control)); });
        return;
    }
    if (notification == EN_SETFOCUS) {
        // After the click that gave the focus has placed the caret.
        PostMessageW(control, EM_SETSEL, 0, -1);
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (id) {
        case kSidHelp:
            RunGuarded([&] { logic_.SidHelp(); });
            break;
        case kNext:
            RunGuarded([&] { logic_.Next(); });
            break;
        case kTestConnection:
            RunGuarded([&] { logic_.TestConnection(); });
            break;
        case kHelp:
            RunGuarded([&] { logic_.Help(); });
            break;
        default:
            break;
    }
}

bool LoginWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            result = 0;
            return true;
        case WM_CLOSE:
            // The logic ends the program; the window itself stays until then.
            RunGuarded([&] { logic_.Close(); });
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace verrolift::win32

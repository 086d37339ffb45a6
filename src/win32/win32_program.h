#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/window_flow.h"
#include "base/windows_api.h"

namespace verrolift::win32 {

class LoginWindow;
class MainWindow;

// What the program is started with; tests give their own dialogs, settings and pump.
struct ProgramParts {
    Dialogs* dialogs = nullptr;
    SettingsStore* settings = nullptr;
    EventPump* pump = nullptr;
    // Where the optional pointer and skin files are looked for.
    std::string programFolder;
    RandomFraction random;
    UrlOpener openUrl;
    int progressIntervalMs = 250;
    std::function<void()> onEnd;  // default: leave the message loop
};

// The two windows and the moves between them. The login window is created at start and runs
// the start-up; the main window is created when first shown.
class Win32Program : public WindowFlow {
public:
    explicit Win32Program(ProgramParts parts);
    ~Win32Program() override;
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

    // Creates the login window and runs its load step; the login window is shown unless
    // start-up left the main window up.
    void Start();

    LoginWindow& Login() { return *login_; }
    // Null until the main window was first shown.
    MainWindow* Main() { return main_.get(); }
    // The window a box belongs to: the active one of the two, else the one shown (the main
    // window first); null before either is up.
    HWND DialogOwner() const;
    // Both windows once made, for the dialog keys (Tab, Enter, the arrows).
    std::vector<HWND> Windows() const;

    void ShowMainWindow() override;
    void HideMainWindow() override;
    void RunMainWindowLoad() override;
    void ShowLoginWindow() override;
    void HideLoginWindow() override;
    void EndProgram() override;
    bool Ending() const override { return ending_; }

private:
    ProgramParts parts_;
    bool ending_ = false;
    AppContext context_;
    std::unique_ptr<LoginWindow> login_;
    std::unique_ptr<MainWindow> main_;
};

}  // namespace verrolift::win32

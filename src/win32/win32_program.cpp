#include "win32/win32_program.h"

#include "app/timer_seeded_random.h"
#include "base/failure.h"
#include "win32/desktop_services.h"
#include "win32/login_window.h"
#include "win32/main_window.h"

namespace verrolift::win32 {

Win32Program::Win32Program(ProgramParts parts)
    : parts_(std::move(parts)),
      context_{*parts_.dialogs,
               *parts_.settings,
               *parts_.pump,
               *this,
               parts_.programFolder,
               parts_.random ? parts_.random : TimerSeededFraction(),
               parts_.openUrl ? parts_.openUrl : ShellUrlOpener(),
               parts_.progressIntervalMs} {
    if (!parts_.onEnd) parts_.onEnd = [] { PostQuitMessage(0); };
}

Win32Program::~Win32Program() = default;

void Win32Program::Start() {
    login_ = std::make_unique<LoginWindow>(context_);
    try {
        login_->Load();
    } catch (const RunAborted&) {
        return;
    }
    if (ending_) return;
    if (!(main_ && main_->Visible())) login_->Show();
}

void Win32Program::ShowMainWindow() {
    if (ending_) throw RunAborted{};
    if (!main_) {
        main_ = std::make_unique<MainWindow>(context_, *login_);
        main_->Load();
    }
    main_->Show();
}

void Win32Program::HideMainWindow() {
    if (main_) main_->Hide();
}

void Win32Program::RunMainWindowLoad() {
    if (ending_) throw RunAborted{};
    if (main_) main_->Load();
}

void Win32Program::ShowLoginWindow() {
    if (ending_) throw RunAborted{};
    login_->Show();
}

void Win32Program::HideLoginWindow() {
    login_->Hide();
}

HWND Win32Program::DialogOwner() const {
    const HWND active = GetActiveWindow();
    const HWND windows[] = {main_ ? main_->Handle() : nullptr, login_ ? login_->Handle() : nullptr};
    for (HWND window : windows)
        if (window && window == active && IsWindowVisible(window)) return window;
    // No window of the program is active, as right after another box closed.
    for (HWND window : windows)
        if (window && IsWindowVisible(window)) return window;
    return nullptr;
}

std::vector<HWND> Win32Program::Windows() const {
    std::vector<HWND> windows;
    if (login_) windows.push_back(login_->Handle());
    if (main_) windows.push_back(main_->Handle());
    return windows;
}

void Win32Program::EndProgram() {
    if (ending_) return;
    ending_ = true;
    // Both windows go at once, hidden ones included; no further handler runs.
    if (main_) main_->Hide();
    if (login_) login_->Hide();
    parts_.onEnd();
}

}  // namespace verrolift::win32

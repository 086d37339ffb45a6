#include "win32/win32_program.h"

#include <chrono>
#include <ctime>
#include <random>

#include "base/failure.h"
#include "win32/login_window.h"
#include "win32/main_window.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

UrlOpener ShellUrlOpener() {
    return [](const std::string& address) {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
            nullptr, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
    };
}

}  // namespace

RandomFraction TimeSeededFraction() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    const auto seed =
        static_cast<std::uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

Win32Program::Win32Program(ProgramParts parts)
    : parts_(std::move(parts)),
      context_{*parts_.dialogs,
               *parts_.settings,
               *parts_.pump,
               *this,
               parts_.programFolder,
               parts_.random ? parts_.random : TimeSeededFraction(),
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

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/dialogs.h"
#include "base/settings_store.h"
#include "ui/startup.h"
#include "ui/ui_event_pump.h"
#include "ui/window_flow.h"
#include "ui/window_placement.h"

class QWidget;

namespace verrolift {

class LoginWindow;
class MainWindow;

struct ProgramOptions {
    Dialogs* dialogs = nullptr;
    SettingsStore* settings = nullptr;
    // Where the optional pointer and skin files are looked for.
    std::string programFolder;
    RandomFraction random;  // default: seeded from the time of day
    UrlOpener openUrl;      // default: the desktop's URL handler
    int yieldIntervalMs = 5;
    int progressIntervalMs = 250;  // caption progress of an import, at most this often
    std::function<void()> onEnd;   // default: leave the event loop
};

// The two windows and the moves between them. The login window is created at
// start and runs the start-up; the main window is created when first shown.
class Program : public WindowFlow {
public:
    explicit Program(ProgramOptions options);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates the login window and runs its load step; the login window is
    // shown unless start-up left the main window up.
    void Start();

    LoginWindow& Login() { return *login_; }
    // Null until the main window was first shown.
    MainWindow* Main() { return main_.get(); }
    UiEventPump& Pump() { return pump_; }
    // The window a box belongs to, centred over it: the active one of the two
    // windows, else the one shown (the main window first); null before either is up.
    QWidget* DialogOwner() const;

    void ShowMainWindow() override;
    void HideMainWindow() override;
    void RunMainWindowLoad() override;
    void ShowLoginWindow() override;
    void HideLoginWindow() override;
    void EndProgram() override;
    bool Ending() const override { return ending_; }

private:
    ProgramOptions options_;
    bool ending_ = false;
    UiEventPump pump_;
    UiContext context_;
    std::unique_ptr<LoginWindow> login_;
    std::unique_ptr<MainWindow> main_;
    std::optional<WindowPlacement> loginPlace_;
    std::optional<WindowPlacement> mainPlace_;
};

}  // namespace verrolift

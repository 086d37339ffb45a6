#pragma once

#include <string>

#include "app/home_page.h"
#include "app/run_state.h"
#include "base/dialogs.h"
#include "base/host.h"
#include "base/settings_store.h"

namespace verrolift {

// The moves between the two windows. Both stay loaded once created and are
// only shown and hidden; closing either ends the program.
class WindowFlow {
public:
    virtual ~WindowFlow() = default;
    // Shows the main window, creating it (and so running its load step) on first use.
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    // Runs the main window's load step again.
    virtual void RunMainWindowLoad() = 0;
    virtual void ShowLoginWindow() = 0;
    virtual void HideLoginWindow() = 0;
    // Closes every window at once; no command resumes after this.
    virtual void EndProgram() = 0;
    virtual bool Ending() const = 0;
};

// What the windows share.
struct AppContext {
    Dialogs& dialogs;
    SettingsStore& settings;
    EventPump& pump;
    WindowFlow& flow;
    std::string programFolder;
    RandomFraction random;
    UrlOpener openUrl;
    // How often at most the main window's caption tells the progress of an import.
    int progressIntervalMs = 250;
    // One import run at a time, for both windows.
    RunState run{};
};

}  // namespace verrolift

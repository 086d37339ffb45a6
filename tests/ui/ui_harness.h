#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "ui/program.h"
#include "ui/qt_settings_store.h"
#include "ui/window_flow.h"

namespace verrolift::test {

// The child of a window with the given design name; fails the test when absent.
template <class T = QWidget>
T* Control(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
    return widget;
}

// Pixels for twips at the screen's dpi, worked out by the tests on their own.
int Px(int twips);

// One control of a window's design: its name, Qt class, caption, container
// and place in twips.
struct ControlCase {
    const char* name;
    const char* kind;
    const char* caption;
    const char* container;
    int left, top, width, height;
};

// Checks the control's kind, caption (as the caller reads it), container,
// place, and the design font: bold Arial, 11.25 points on buttons, 9 elsewhere.
void ExpectControl(QWidget* w, const ControlCase& c, const QString& caption);

// Records the moves between windows that a window asks for.
class RecordingFlow : public WindowFlow {
public:
    void ShowMainWindow() override { calls.push_back("show main"); }
    void HideMainWindow() override { calls.push_back("hide main"); }
    void RunMainWindowLoad() override { calls.push_back("load main"); }
    void ShowLoginWindow() override { calls.push_back("show login"); }
    void HideLoginWindow() override { calls.push_back("hide login"); }
    void EndProgram() override {
        calls.push_back("end");
        ending = true;
    }
    bool Ending() const override { return ending; }
    std::vector<std::string> calls;
    bool ending = false;
};

// Sends a pointer move (no button held) to a widget, as the window system does.
void MovePointerOver(QWidget* widget, QPoint at = QPoint(2, 2));

// A whole program as the user meets it: real windows and a real settings
// store in a temporary folder; boxes are answered through the dialogs.
class ProgramHarness {
public:
    ProgramHarness();
    ~ProgramHarness();

    // Writes the three connection keys before the program starts.
    void SaveProfile(const std::string& sid, const std::string& user, const std::string& password);
    std::string Stored(const char* key);

    // Creates the windows and runs the start-up.
    Program& Start();
    Program& program() { return *program_; }

    TempDir dir;
    std::string programFolder;  // where HAND-M.CUR and x/o.cjs would lie
    QtSettingsStore settings;
    RecordingDialogs dialogs;
    std::vector<std::string> openedAddresses;
    double randomFraction = 0.5;  // the home page stays closed unless a test says otherwise
    bool refuseUrls = false;      // the desktop has no URL handler
    int progressIntervalMs = 0;   // the caption follows every yield
    int ends = 0;

private:
    std::unique_ptr<Program> program_;
};

// The widget's own enabled setting, whatever its parents say.
bool OwnEnabled(const QWidget* widget);

// A 32 x 32 Windows cursor file (32-bit image and mask) with the given hot spot.
std::string CursorFileBytes(unsigned hotX, unsigned hotY);

}  // namespace verrolift::test

#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/qt_settings_store.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "ui/program.h"

namespace verrolift::test {

// The child of a window with the given design name; fails the test when absent.
template <class T = QWidget>
T* Control(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
    return widget;
}

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
    int ends = 0;

private:
    std::unique_ptr<Program> program_;
};

// The widget's own enabled setting, whatever its parents say.
bool OwnEnabled(const QWidget* widget);

// A 32 x 32 Windows cursor file (32-bit image and mask) with the given hot spot.
std::string CursorFileBytes(unsigned hotX, unsigned hotY);

}  // namespace verrolift::test

#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/program_usage.h"
#include "ui/program.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_settings_store.h"
#include "verrolift_version.h"

int main(int argc, char** argv) {
    // Answered before QApplication exists, which would need a display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("verrolift %s\n", verrolift::kVersion);
        return 0;
    }
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::fputs(verrolift::kWindowProgramUsage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // Either window's closing ends the program, hidden windows or not.
    QApplication::setQuitOnLastWindowClosed(false);

    verrolift::QtSettingsStore settings;
    verrolift::Program* owner = nullptr;
    // Each box opens centred over the window that shows it.
    verrolift::QtDialogs dialogs([&owner] { return owner ? owner->DialogOwner() : nullptr; });
    verrolift::ProgramOptions options;
    options.dialogs = &dialogs;
    options.settings = &settings;
    options.programFolder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    verrolift::Program program(std::move(options));
    owner = &program;
    dialogs.SetEnding([&program] { return program.Ending(); });

    program.Start();
    if (program.Ending()) return 0;
    return app.exec();
}

#include "base/windows_api.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "app/program_usage.h"
#include "verrolift_version.h"
#include "win32/com_apartment.h"
#include "win32/registry_settings_store.h"
#include "win32/wide_window_text.h"
#include "win32/win32_dialogs.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_program.h"

namespace {

// A window program has no console of its own: the answer goes to the one it was started
// from, else into a box.
void Tell(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return;
    MessageBoxW(nullptr, verrolift::win32::Wide(text).c_str(), L"Verrolift", MB_OK);
}

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return verrolift::win32::Utf8(slash == std::wstring::npos ? L"." : path.substr(0, slash));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace verrolift;
    using namespace verrolift::win32;

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring_view option = argc == 2 ? argv[1] : L"";
    if (option == L"--version") {
        Tell(std::string("verrolift ") + kVersion + "\n");
        return 0;
    }
    if (option == L"--help") {
        Tell(verrolift::kWindowProgramUsage);
        return 0;
    }
    if (argc > 1) {
        Tell(std::string("verrolift: unknown option\n") + verrolift::kWindowProgramUsage);
        return 2;
    }

    // The shell's folder picker and drops want a single-threaded apartment.
    const ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Win32Program* owner = nullptr;
    RegistrySettingsStore settings;
    // Each box opens centred over the window that shows it.
    Win32Dialogs dialogs([&owner] { return owner ? owner->DialogOwner() : nullptr; });
    const auto ending = [&owner] { return owner && owner->Ending(); };
    const auto windows = [&owner] { return owner ? owner->Windows() : std::vector<HWND>{}; };
    Win32EventPump pump(ending, 5, windows);
    ProgramParts parts;
    parts.dialogs = &dialogs;
    parts.settings = &settings;
    parts.pump = &pump;
    parts.programFolder = ProgramFolder();
    Win32Program program(std::move(parts));
    owner = &program;
    dialogs.SetEnding(ending);

    program.Start();
    if (program.Ending()) return 0;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Enter and the arrows move between the controls of the window they are for.
        if (PassToDialogWindow(program.Windows(), message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

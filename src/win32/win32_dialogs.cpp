#include "win32/win32_dialogs.h"

#include <shlobj.h>

#include <algorithm>

#include "app/application_title.h"
#include "base/failure.h"
#include "win32/com_apartment.h"
#include "win32/input_box.h"
#include "win32/open_file_names.h"
#include "win32/owner_centring.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

// Room for the full paths of some thousands of files at once, so that the dialog
// seldom has to be shown again for want of it.
constexpr std::size_t kFileNamesRoom = 1 << 20;
// The longest path Windows has.
constexpr DWORD kPathRoom = 32768;

void ShowBox(HWND owner, const std::string& caption, const std::string& text, UINT icon) {
    CentreNextBoxOver centring(owner);
    MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | icon);
}

struct FolderStart {
    HWND owner;
    std::wstring folder;
};

int CALLBACK OnFolderPickerEvent(HWND picker, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const FolderStart*>(data);
        CentreOverOwner(picker, start->owner);
        if (!start->folder.empty()) {
            const auto folder = reinterpret_cast<LPARAM>(start->folder.c_str());
            SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, folder);
            // Again once the picker has finished setting itself up: under wine the selection
            // made here is at times lost by then.
            PostMessageW(picker, BFFM_SETSELECTIONW, TRUE, folder);
        }
    }
    return 0;
}

}  // namespace

Win32Dialogs::Win32Dialogs(std::function<HWND()> owner, std::function<bool()> ending)
    : owner_(std::move(owner)), ending_(std::move(ending)) {}

HWND Win32Dialogs::Owner() const {
    const HWND window = owner_ ? owner_() : GetActiveWindow();
    return window ? GetAncestor(window, GA_ROOT) : nullptr;
}

void Win32Dialogs::StopWhenEnding() const {
    if (ending_ && ending_()) throw RunAborted{};
}

void Win32Dialogs::ShowMessage(const std::string& text) {
    StopWhenEnding();
    ShowBox(Owner(), TitleFromProductName(kProductName), text, 0);
}

void Win32Dialogs::ShowErrorReport(const ErrorReport& report) {
    StopWhenEnding();
    ShowBox(Owner(), std::string(kErrorReportTitle), report.Text(), MB_ICONWARNING);
}

std::string Win32Dialogs::InputBox(const std::string& prompt, const std::string& defaultAnswer) {
    StopWhenEnding();
    return AskInInputBox(Owner(), TitleFromProductName(kProductName), prompt, defaultAnswer);
}

std::vector<std::string> Win32Dialogs::PickFiles(const std::string& title,
                                                 const std::string& filter) {
    StopWhenEnding();
    const std::wstring caption = Wide(title);
    const std::wstring patterns = WindowsFileFilter(filter);
    std::wstring names(kFileNamesRoom, L'\0');
    for (;;) {
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = Owner();
        dialog.lpstrFilter = patterns.empty() ? nullptr : patterns.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = names.data();
        dialog.nMaxFile = static_cast<DWORD>(names.size());
        dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
        // The working folder stays where it was, whatever folder the files came from.
        dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                       OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&dialog)) return PickedPaths(names, dialog.nFileOffset);
        const DWORD error = CommDlgExtendedError();
        if (error == 0) return {};
        if (error != FNERR_BUFFERTOOSMALL)
            throw Failure("The file dialog failed with error " + std::to_string(error));
        // The room it needs is in the first two bytes, where it fits in them.
        const std::size_t needed = static_cast<WORD>(names[0]);
        names.assign(std::max(needed + 1, names.size() * 2), L'\0');
    }
}

std::string Win32Dialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    StopWhenEnding();
    const ComApartment com;
    const std::wstring text = Wide(title);
    FolderStart start{Owner(), Wide(startFolder)};
    BROWSEINFOW picker{};
    picker.hwndOwner = start.owner;
    picker.lpszTitle = text.c_str();
    picker.ulFlags = BIF_RETURNONLYFSDIRS;
    // The resizable picker, with its New Folder button, needs a single-threaded apartment.
    if (com.SingleThreaded()) picker.ulFlags |= BIF_NEWDIALOGSTYLE;
    picker.lpfn = &OnFolderPickerEvent;
    picker.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&picker);
    if (!picked) return {};
    std::wstring path(kPathRoom, L'\0');
    const bool named = SHGetPathFromIDListEx(picked, path.data(), kPathRoom, GPFIDL_DEFAULT);
    CoTaskMemFree(picked);
    if (!named) return {};
    path.resize(path.find(L'\0'));
    return Utf8(path);
}

}  // namespace verrolift::win32

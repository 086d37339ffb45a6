#include <windows.h>

#include "app/bad_files_folder.h"
#include "base/wide_text.h"

namespace verrolift {

std::string MakeBadFilesFolder(const std::string& stamp) {
    const wchar_t* data = _wgetenv(L"LOCALAPPDATA");
    if (!data || !*data) return {};
    std::wstring folder = std::wstring(data) + L"\\Verrolift\\bad\\" + WidePath(stamp);
    // Each folder on the way; one that is there already is fine.
    for (std::size_t at = folder.find(L'\\', 3);; at = folder.find(L'\\', at + 1)) {
        const std::wstring part = folder.substr(0, at);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
        if (at == std::wstring::npos) break;
    }
    return Utf8FromWide(folder);
}

void RemoveIfEmpty(const std::string& folder) {
    if (!folder.empty()) RemoveDirectoryW(WidePath(folder).c_str());
}

}  // namespace verrolift

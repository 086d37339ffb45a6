#include "base/paths.h"

#ifdef _WIN32
#include "base/wide_text.h"
#include "base/windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace verrolift {

namespace {

#ifdef _WIN32
// Each non-overlapping "\\" becomes "\", scanning on behind the replaced pair.
std::string CollapseDoubled(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
    }
    return out;
}
#endif

}  // namespace

std::string NormalizePath(std::string_view path) {
#ifdef _WIN32
    if (path.empty() || path.front() != '\\') return CollapseDoubled(path);
    std::size_t first = 1;
    while (first < path.size() && path[first] == '\\') ++first;
    return "\\\\" + CollapseDoubled(path.substr(first));
#else
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
#endif
}

std::string FolderOf(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    if (pos == std::string_view::npos) return {};
    return std::string(path.substr(0, pos + 1));
}

bool IsFolder(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) != 0;
#else
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
#endif
}

bool IsExistingFile(const std::string& path) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
#ifdef _WIN32
    HANDLE handle =
        CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
#else
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

}  // namespace verrolift

#include "win32/open_file_names.h"

#include "win32/wide_window_text.h"

namespace verrolift::win32 {

std::wstring WindowsFileFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    std::wstring out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        out += Wide(parts[i]);
        out += L'\0';
        out += Wide(parts[i + 1]);
        out += L'\0';
    }
    if (!out.empty()) out += L'\0';
    return out;
}

std::vector<std::string> PickedPaths(std::wstring_view names, std::size_t firstName) {
    const std::wstring_view first = names.substr(0, names.find(L'\0'));
    if (first.empty()) return {};
    // One file: its full path, whose name starts within it.
    if (firstName < first.size()) return {Utf8(first)};
    std::wstring folder(first);
    // A drive's root ends in a separator already.
    if (folder.back() != L'\\') folder += L'\\';
    std::vector<std::string> paths;
    std::size_t at = first.size() + 1;
    while (at < names.size() && names[at] != L'\0') {
        const std::size_t end = names.find(L'\0', at);
        const std::wstring_view name =
            names.substr(at, end == std::wstring_view::npos ? std::wstring_view::npos : end - at);
        paths.push_back(Utf8(folder + std::wstring(name)));
        if (end == std::wstring_view::npos) break;
        at = end + 1;
    }
    return paths;
}

}  // namespace verrolift::win32

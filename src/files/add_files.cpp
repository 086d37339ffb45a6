#include "files/add_files.h"

#include <cstddef>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/paths.h"
#include "base/protected_handler.h"

namespace verrolift {

namespace {

constexpr const char* kTooManyFiles =
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";

bool IsRootFolder(const std::string& folder) {
    if (folder.size() == 1 && folder[0] == kPathSeparator) return true;
    // A drive root such as "C:\".
    return folder.size() == 3 && folder[1] == ':' && folder[2] == kPathSeparator;
}

// The folder all picked paths share, as the dialog gives it: without its
// closing separator, except for a root.
std::string SharedFolder(const std::vector<std::string>& picks) {
    std::string folder = FolderOf(picks.front());
    for (const auto& pick : picks) {
        while (!folder.empty() && pick.compare(0, folder.size(), folder) != 0)
            folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    if (folder.size() > 1 && !IsRootFolder(folder)) folder.pop_back();
    return folder;
}

// The dialog's result text: one picked path as it is; several as the folder,
// then each name after a NUL.
std::string DialogResult(const std::vector<std::string>& picks) {
    if (picks.empty()) return {};
    if (picks.size() == 1) return picks.front();
    const std::string folder = SharedFolder(picks);
    std::size_t skip = folder.size();
    if (!folder.empty() && folder.back() != kPathSeparator) ++skip;
    std::string result = folder;
    for (const auto& pick : picks) {
        result += '\0';
        result.append(pick, skip, std::string::npos);
    }
    return result;
}

std::vector<std::string> SplitAtNul(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = text.find('\0', start);
        parts.push_back(text.substr(start, nul == std::string::npos ? nul : nul - start));
        if (nul == std::string::npos) return parts;
        start = nul + 1;
    }
}

}  // namespace

void AddFilesCommand(FileList& files, Dialogs& dialogs) {
    ProtectedHandler h(tags::kForm2AddFiles, dialogs);
    // 104 to 110 set the dialog's file name, flags, title and filter; the
    // dialog takes title and filter with it when it is shown.
    std::string result;
    bool tooMany = false;
    h.Run(112, [&] {
        result = DialogResult(dialogs.PickFiles(kAddFilesTitle, kAddFilesFilter));
        // The result and its closing NUL must fit the dialog's buffer.
        tooMany = result.size() + 1 > static_cast<std::size_t>(kFileDialogBufferChars);
    });
    if (tooMany) {
        dialogs.ShowMessage(kTooManyFiles);
        return;
    }
    if (h.Test(114, [&] { return result.empty(); })) return;

    std::vector<std::string> parts;
    h.Run(116, [&] { parts = SplitAtNul(result); });
    if (h.Test(118, [&] { return parts.size() <= 1; })) {
        std::string path;
        h.Run(120, [&] { path = parts.at(0); });
        h.Run(122, [&] { files.AddEntry(path); });
        return;
    }
    // 124: every name after the folder, in the dialog's order.
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string path;
        // A dialog always names a folder; paths with none in common stay whole.
        h.Run(136,
              [&] { path = parts[0].empty() ? parts[i] : parts[0] + kPathSeparator + parts[i]; });
        h.Run(138, [&] { path = NormalizePath(path); });
        h.Run(140, [&] { files.AddEntry(path); });
    }
}

}  // namespace verrolift

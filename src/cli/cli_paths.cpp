#include "cli/cli_paths.h"

#include <dirent.h>

#include <cerrno>
#include <cstring>

#include "base/paths.h"
#include "files/folder_files.h"

namespace verrolift {

namespace {

// The step of the folder command that scans the folder tree.
constexpr std::int32_t kScanStep = 118;

// Why a folder named on the command line cannot be listed, or "" when it can. The
// scan itself passes over folders it may not enter, as a drop does; a folder the
// user named is worth a word.
std::string UnreadableFolder(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (dir != nullptr) {
        ::closedir(dir);
        return {};
    }
    return "The folder \"" + path + "\" cannot be read: " + std::strerror(errno);
}

}  // namespace

std::vector<std::string> CliPathEntries(const std::vector<std::string>& paths,
                                        const std::optional<std::string>& extension,
                                        EventPump& pump, Dialogs& dialogs,
                                        const StepFailure& onFailure) {
    const std::string pattern =
        (extension && !extension->empty()) ? "*." + *extension : std::string("*.*");
    std::vector<std::string> entries;
    for (const auto& path : paths) {
        if (IsFolder(path)) {
            if (const std::string why = UnreadableFolder(path); !why.empty()) {
                if (onFailure) onFailure(kScanStep, why);
                continue;
            }
            auto files = FilesInFolderTree(path, pattern, pump, dialogs, onFailure);
            entries.insert(entries.end(), std::make_move_iterator(files.begin()),
                           std::make_move_iterator(files.end()));
        } else {
            entries.push_back(path);
        }
    }
    return entries;
}

}  // namespace verrolift

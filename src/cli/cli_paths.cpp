#include "cli/cli_paths.h"

#include "base/paths.h"
#include "files/folder_files.h"

namespace verrolift {

std::vector<std::string> CliPathEntries(const std::vector<std::string>& paths,
                                        const std::optional<std::string>& extension,
                                        EventPump& pump, Dialogs& dialogs,
                                        const StepFailure& onFailure) {
    const std::string pattern =
        (extension && !extension->empty()) ? "*." + *extension : std::string("*.*");
    std::vector<std::string> entries;
    for (const auto& path : paths) {
        if (IsFolder(path)) {
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

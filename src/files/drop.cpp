#include "files/drop.h"

#include "base/paths.h"
#include "files/folder_files.h"

namespace verrolift {

std::vector<std::string> DroppedEntries(const std::vector<std::string>& paths, EventPump& pump,
                                        Dialogs& dialogs) {
    std::vector<std::string> entries;
    for (const auto& path : paths) {
        if (IsFolder(path)) {
            // A drop has no error report of its own: what cannot be read is left out.
            auto files = FilesInFolderTree(path, "*.*", pump, dialogs, nullptr);
            entries.insert(entries.end(), std::make_move_iterator(files.begin()),
                           std::make_move_iterator(files.end()));
        } else {
            entries.push_back(path);
        }
    }
    return entries;
}

void DropOnFileList(const std::vector<std::string>& paths, FileList& files, EventPump& pump,
                    Dialogs& dialogs) {
    const std::vector<std::string> entries = DroppedEntries(paths, pump, dialogs);
    if (!entries.empty()) files.AddEntries(entries);
}

}  // namespace verrolift

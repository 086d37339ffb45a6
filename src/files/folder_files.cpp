#include "files/folder_files.h"

#include "base/paths.h"
#include "files/add_folder_steps.h"
#include "files/file_attributes.h"
#include "files/folder_scan.h"

namespace verrolift {

namespace steps = add_folder_steps;

std::vector<std::string> FilesInFolderTree(const std::string& folder, std::string_view pattern,
                                           EventPump& pump, Dialogs& dialogs,
                                           ProtectedHandler& handler,
                                           const FolderNotListed& notListed) {
    std::vector<std::string> found;
    std::vector<std::string> folders{folder + kPathSeparator};
    handler.Run(steps::kSubfolders,
                [&] { GetSubDirectories2016(folders, true, pump, dialogs, notListed); });

    for (const auto& entry : folders) {
        const std::string_view own = std::string_view(entry).substr(0, entry.size() - 1);
        std::vector<std::string> names;
        handler.Run(steps::kListFiles,
                    [&] { names = ListFilesInFolder(std::string(own), pattern); });
        for (std::size_t i = 1; i < names.size(); ++i) {
            const std::string& name = names[i];
            if (name.front() == '~') continue;  // office lock and temporary files
            handler.Run(steps::kAddFiles, [&] {
                std::string path;
                path.reserve(own.size() + name.size() + 1);
                path.append(own).push_back(kPathSeparator);
                path.append(name);
                // The lister has already found each name an existing regular
                // file. Only a dot-name can be hidden, so only a dot-file can
                // have exactly archive + hidden: the others need no question.
                if (name.front() == '.' && FileAttributes(path) == attributes::kArchiveHidden)
                    return;
                found.push_back(NormalizePath(path));
            });
        }
    }
    return found;
}

}  // namespace verrolift

#include "files/folder_files.h"

#include <exception>

#include "base/failure.h"
#include "base/paths.h"
#include "files/file_attributes.h"
#include "files/folder_scan.h"

namespace verrolift {

namespace {

template <class Statement>
bool Attempt(std::int32_t step, const StepFailure& onFailure, Statement&& statement) {
    try {
        statement();
        return true;
    } catch (const Failure& failure) {
        if (onFailure) onFailure(step, failure.Description());
    } catch (const std::exception& e) {
        if (onFailure) onFailure(step, e.what());
    }
    return false;
}

}  // namespace

std::vector<std::string> FilesInFolderTree(const std::string& folder, std::string_view pattern,
                                           EventPump& pump, Dialogs& dialogs,
                                           const StepFailure& onFailure) {
    std::vector<std::string> found;
    std::vector<std::string> folders;
    Attempt(116, onFailure, [&] { folders.push_back(folder + kPathSeparator); });
    Attempt(118, onFailure, [&] { GetSubDirectories2016(folders, true, pump, dialogs); });

    for (const auto& entry : folders) {                                                    // 120
        const std::string_view own = std::string_view(entry).substr(0, entry.size() - 1);  // 122
        std::vector<std::string> names;
        Attempt(124, onFailure, [&] { names = ListFilesInFolder(std::string(own), pattern); });
        for (std::size_t i = 1; i < names.size(); ++i) {  // 126
            const std::string& name = names[i];
            if (name.front() == '~') continue;  // 128: office lock and temporary files
            Attempt(134, onFailure, [&] {
                std::string path;  // 130
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

#include "cli/cli_paths.h"

#include <string_view>

#include "base/display_text.h"
#include "base/paths.h"
#include "files/add_folder_steps.h"
#include "files/folder_files.h"
#include "files/folder_lister.h"

namespace verrolift {

namespace {

std::string CannotBeRead(const std::string& folder, const std::string& reason) {
    return "The folder \"" + ForDisplay(folder) + "\" cannot be read: " + reason;
}

// Why a folder named on the command line cannot be listed, or "" when it can. Listing
// it is the test: on Windows a folder may open for its attributes and still refuse its
// entries.
std::string UnreadableFolder(const std::string& path) {
    ListedFolder folder(path);
    try {
        folder.Files([](std::string_view) { return false; });
        return {};
    } catch (const ListingFailure& failure) {
        return CannotBeRead(path, failure.Description());
    }
}

}  // namespace

std::vector<std::string> CliPathEntries(const std::vector<std::string>& paths,
                                        const std::optional<std::string>& extension,
                                        EventPump& pump, Dialogs& dialogs,
                                        ProtectedHandler& handler) {
    const std::string pattern =
        (extension && !extension->empty()) ? "*." + *extension : std::string("*.*");
    // A drop and the window's folder command pass over the folders they may not list;
    // here each is worth a word, since the exit status must show that files were missed.
    const FolderNotListed notListed = [&](const std::string& folder, const std::string& reason) {
        handler.Report(add_folder_steps::kSubfolders, CannotBeRead(NormalizePath(folder), reason));
    };
    std::vector<std::string> entries;
    for (const auto& path : paths) {
        if (IsFolder(path)) {
            if (const std::string why = UnreadableFolder(path); !why.empty()) {
                handler.Report(add_folder_steps::kSubfolders, why);
                continue;
            }
            auto files = FilesInFolderTree(path, pattern, pump, dialogs, handler, notListed);
            entries.insert(entries.end(), std::make_move_iterator(files.begin()),
                           std::make_move_iterator(files.end()));
        } else {
            entries.push_back(path);
        }
    }
    return entries;
}

}  // namespace verrolift

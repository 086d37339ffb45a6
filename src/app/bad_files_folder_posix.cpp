#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/bad_files_folder.h"

namespace verrolift {

std::string MakeBadFilesFolder(const std::string& stamp) {
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    std::string folder = base + "/verrolift/bad/" + stamp;
    // Each folder on the way, private to the user as a data folder should be.
    for (std::size_t at = 1; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return {};
    }
    return folder;
}

void RemoveIfEmpty(const std::string& folder) {
    if (!folder.empty()) ::rmdir(folder.c_str());
}

}  // namespace verrolift

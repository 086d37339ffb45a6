#include "app/program_files.h"

#include "base/paths.h"

namespace verrolift {

std::string ProgramFile(const std::string& programFolder, std::string_view name) {
    std::string path = programFolder;
    path += kPathSeparator;
    for (char c : name) path += (c == '/') ? kPathSeparator : c;
    return NormalizePath(path);
}

}  // namespace verrolift

#include "support/folder_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace verrolift::test {

std::string FolderTree::Folder(const std::string& relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(path);
    return path;
}

std::string FolderTree::File(const std::string& relative, const std::string& bytes) const {
    return dir_.Write(relative, bytes);
}

std::string FolderTree::Link(const std::string& relative, const std::string& target) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (::symlink(target.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot link " + path);
    return path;
}

std::string FolderTree::Fifo(const std::string& relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make fifo " + path);
    return path;
}

ScopedCtype::ScopedCtype(const char* name) {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    previous_ = current ? current : "C";
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
}

ScopedCtype::~ScopedCtype() {
    std::setlocale(LC_CTYPE, previous_.c_str());
}

std::vector<std::string> Under(const FolderTree& tree, const std::vector<std::string>& relative) {
    std::vector<std::string> out;
    for (const auto& r : relative) out.push_back(tree.Path(r));
    return out;
}

}  // namespace verrolift::test

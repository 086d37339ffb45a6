#include "support/folder_tree.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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
#ifdef _WIN32
    (void)target;
    throw std::runtime_error("links are made by POSIX tests only: " + path);
#else
    if (::symlink(target.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot link " + path);
#endif
    return path;
}

std::string FolderTree::Fifo(const std::string& relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
#ifdef _WIN32
    throw std::runtime_error("FIFOs are made by POSIX tests only: " + path);
#else
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make fifo " + path);
#endif
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

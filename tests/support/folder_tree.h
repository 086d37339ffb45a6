#pragma once

#include <clocale>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace verrolift::test {

// A folder tree in a temporary folder, built from paths relative to its root.
class FolderTree {
public:
    const std::string& Root() const { return dir_.Path(); }
    // Root() + "/" + relative.
    std::string Path(const std::string& relative) const { return dir_.File(relative); }
    // The root as a folder list entry: Root() + "/".
    std::string Entry(const std::string& relative = "") const {
        return relative.empty() ? Root() + "/" : Path(relative) + "/";
    }

    std::string Folder(const std::string& relative) const;
    std::string File(const std::string& relative, const std::string& bytes = "x") const;
    std::string Link(const std::string& relative, const std::string& target) const;
    std::string Fifo(const std::string& relative) const;

private:
    TempDir dir_;
};

// Sets LC_CTYPE for one test and puts the previous one back.
class ScopedCtype {
public:
    explicit ScopedCtype(const char* name);
    ~ScopedCtype();
    bool Ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

// Prefixes each relative path with the tree's root and "/".
std::vector<std::string> Under(const FolderTree& tree, const std::vector<std::string>& relative);

}  // namespace verrolift::test

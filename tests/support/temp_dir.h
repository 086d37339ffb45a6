#pragma once

#include <string>

#include "base/paths.h"

namespace verrolift::test {

// A fresh folder under $TMPDIR (default /tmp; on Windows the temporary folder),
// removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + the separator + name.
    std::string File(const std::string& name) const { return path_ + kPathSeparator + name; }
    // Writes bytes to Path()/name (creating folders on the way) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);

}  // namespace verrolift::test

#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// The one place that knows the platform's path separator.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Text-only clean-up of doubled separators. On Windows a leading run of
// backslashes becomes exactly two (UNC prefix) and each "\\" pair elsewhere
// becomes one; on POSIX every run of "/" becomes one.
std::string NormalizePath(std::string_view path);

// The path up to and including its last separator; "" when it has none.
std::string FolderOf(std::string_view path);

// True for an existing folder (a link counts by its target).
bool IsFolder(const std::string& path);

// True when the file system can tell the path's time of last change: files and folders.
bool FileExists(const std::string& path);

// True only for an existing regular file (a link counts by its target) whose
// name holds no wildcard. Folders, FIFOs and devices never count, so nothing
// that trusts this answer can block reading one.
bool IsExistingFile(const std::string& path);

}  // namespace verrolift

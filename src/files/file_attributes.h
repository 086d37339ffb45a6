#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// The attribute bits that the file rules speak of, with their POSIX meaning.
namespace attributes {
inline constexpr unsigned kReadOnly = 1;         // the owner may not write
inline constexpr unsigned kHidden = 2;           // the name begins with "."
inline constexpr unsigned kSystem = 4;           // never set on POSIX
inline constexpr unsigned kDirectory = 16;       // a folder (a link counts by its target)
inline constexpr unsigned kArchive = 32;         // every regular file
inline constexpr unsigned kReparsePoint = 1024;  // a symbolic link
// What a dot-file has: left out when a folder's files are added.
inline constexpr unsigned kArchiveHidden = kArchive | kHidden;
}  // namespace attributes

// What the platform told about one path, gathered by whoever already asked it.
struct FileFacts {
    bool link = false;           // the path itself is a symbolic link
    bool targetKnown = false;    // what it leads to could be examined
    bool directory = false;      // of the target
    bool regular = false;        // of the target
    bool ownerWritable = false;  // of the target
};

// The attribute bits of an entry called `name` (the last path component) with these facts.
unsigned AttributesFromFacts(std::string_view name, const FileFacts& facts);

// The attribute bits of a path; "/" has only the directory bit. Asked of the
// platform with the folder lister (folder_lister_<platform>.cpp).
// Throws Failure when the path cannot be examined at all.
unsigned FileAttributes(const std::string& path);

}  // namespace verrolift

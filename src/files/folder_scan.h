#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"

namespace verrolift {

// A folder path, or a subfolder name, of this many characters or more is not used.
inline constexpr std::size_t kMaxPathChars = 260;

// Told of a folder (its path without the trailing separator) whose subfolders could not
// be listed, and the system's reason.
using FolderNotListed = std::function<void(const std::string& folder, const std::string& reason)>;

// Extends `folders` (every entry ending in kPathSeparator) with every folder
// below its entries, level by level: the entries given, then all folders one
// level below them (grouped by parent, siblings in byte order of their names),
// then two levels below, and so on. A folder whose subfolders cannot be listed
// for lack of permission, or because it vanished, is removed from the list;
// whatever the reason, the scan goes on without its subfolders and tells
// `notListed`, when given (the windows pass such a folder over without a word).
// A folder already scanned (same device and inode, as links can make it) is
// not added again, so the scan always ends. `recurse` is true at every call
// site. Yields to `pump` once per folder examined, per subfolder enumerated
// and per folder appended. A protected handler of its own (tags::kFolderScan).
void GetSubDirectories2016(std::vector<std::string>& folders, bool recurse, EventPump& pump,
                           Dialogs& dialogs, const FolderNotListed& notListed = {});

// The names (no folder part) of the regular files in `folder` (with or
// without a trailing separator) whose names match the wildcard `pattern`
// (see WildcardPattern), in byte order, at positions 1 to n; position 0 holds
// an empty text, so with no match the result is that one empty element.
// Links count by their target; FIFOs, devices and folders never match, nor
// do names holding "*" or "?". A folder that cannot be opened has no files.
std::vector<std::string> ListFilesInFolder(const std::string& folder, std::string_view pattern);

// True when the name's bytes are not valid characters of the current
// locale, or it holds a control character (below 32, 127 to 159) or "?".
bool HasUnusableChars(std::string_view name);

// Whether a subfolder of this name is taken into the scan: shorter than
// kMaxPathChars characters, no unusable character, no "?", not "." or "..".
bool IsUsableSubfolderName(std::string_view name);

// The number of characters of the current locale in `text`; a byte that
// starts no valid character counts as one.
std::size_t CharacterCount(std::string_view text);

}  // namespace verrolift

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"
#include "base/protected_handler.h"
#include "files/folder_scan.h"

namespace verrolift {

// The files that adding `folder` and every folder below it finds: the
// folder's own files first, then level by level (GetSubDirectories2016),
// within a folder in byte order; each that matches `pattern` unless its
// name begins with "~" or its attributes are exactly archive + hidden (a
// dot-file). Paths are built as folder, separator, name and normalised.
// A failure is reported by `handler`, under the folder command's step
// numbers, and the gathering goes on. A folder whose subfolders cannot be
// listed is told to `notListed`, when given, and otherwise passed over.
std::vector<std::string> FilesInFolderTree(const std::string& folder, std::string_view pattern,
                                           EventPump& pump, Dialogs& dialogs,
                                           ProtectedHandler& handler,
                                           const FolderNotListed& notListed = {});

}  // namespace verrolift

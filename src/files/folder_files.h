#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"

namespace verrolift {

// Told of a failure while the files of a folder tree are gathered, with the
// step number of the folder command's statement that failed.
using StepFailure = std::function<void(std::int32_t step, const std::string& description)>;

// The files that adding `folder` and every folder below it finds: the
// folder's own files first, then level by level (GetSubDirectories2016),
// within a folder in byte order; each that matches `pattern` unless its
// name begins with "~" or its attributes are exactly archive + hidden (a
// dot-file). Paths are built as folder, separator, name and normalised.
// A failure is passed to `onFailure` and the gathering goes on.
std::vector<std::string> FilesInFolderTree(const std::string& folder, std::string_view pattern,
                                           EventPump& pump, Dialogs& dialogs,
                                           const StepFailure& onFailure);

}  // namespace verrolift

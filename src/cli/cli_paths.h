#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"
#include "base/protected_handler.h"
#include "files/folder_files.h"

namespace verrolift {

// Turns the PATH arguments of the command line into file list entries, in
// argument order. A folder gives every file in it and below it: without an
// extension (std::nullopt, or an empty one) whatever the extension, as a
// drop does; with one only the files of that extension, as the folder
// command does. Anything else is taken as it is given. A folder or subfolder
// that cannot be listed (no permission, gone) and a folder whose files cannot
// all be gathered are reported by `handler` and the others go on; the folder
// scan reports its own failures through `dialogs`.
std::vector<std::string> CliPathEntries(const std::vector<std::string>& paths,
                                        const std::optional<std::string>& extension,
                                        EventPump& pump, Dialogs& dialogs,
                                        ProtectedHandler& handler);

}  // namespace verrolift

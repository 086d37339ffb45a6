#pragma once

#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/host.h"
#include "files/file_list.h"

namespace verrolift {

// What dropping `paths` (in the order of the drop data) adds: a folder (a
// link counts by its target) gives every file in it and below it whatever
// the extension, as a folder add finds them (FilesInFolderTree with "*.*");
// anything else is added exactly as dropped, without any test. A failure
// while a folder's files are gathered skips that file or folder; the folder
// scan reports its own failures.
std::vector<std::string> DroppedEntries(const std::vector<std::string>& paths, EventPump& pump,
                                        Dialogs& dialogs);

// Appends DroppedEntries(paths) to the list in one go. Shows no busy pointer.
void DropOnFileList(const std::vector<std::string>& paths, FileList& files, EventPump& pump,
                    Dialogs& dialogs);

}  // namespace verrolift

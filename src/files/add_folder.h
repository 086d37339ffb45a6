#pragma once

#include "base/dialogs.h"
#include "base/host.h"
#include "base/settings_store.h"
#include "files/file_list.h"

namespace verrolift {

struct AddFolderContext {
    FileList& files;
    Dialogs& dialogs;
    SettingsStore& settings;
    EventPump& pump;
    WindowPointer& pointer;  // the main window's: busy while scanning
};

// "Add All File(s) In Folder": asks the extension and the folder, scans the
// tree and appends every matching file. A protected handler of its own.
void AddFolderCommand(AddFolderContext& context);

}  // namespace verrolift

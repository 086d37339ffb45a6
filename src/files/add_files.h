#pragma once

#include "base/dialogs.h"
#include "files/file_list.h"

namespace verrolift {

inline constexpr const char* kAddFilesTitle = "Add File(s) - Hold Ctrl to select multiple files";
// Description and pattern pairs in the dialog's own notation.
inline constexpr const char* kAddFilesFilter =
    "Text Files (*.txt)|*.txt|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|";
inline constexpr int kFileDialogBufferChars = 30000;

// "Add Text File(s)": one multi-select dialog, picked files appended in order.
void AddFilesCommand(FileList& files, Dialogs& dialogs);

}  // namespace verrolift

#pragma once

#include "import/import_context.h"
#include "import/import_outcome.h"

namespace verrolift {

// The "Import To Oracle" command. One run at a time: a start while a run is
// under way does nothing and gives RunEnd::NotStarted. The run takes the file list
// as it stood when it began, and gives what happened to each file it reached.
// Once the database refused the login's credentials (IsLoginRefused), no further
// login is tried: the files left are named in one report and not imported.
// When a yield throws RunAborted (the program is closing) the run stops there:
// nothing more is reported, the file's connection is closed, the pointer is
// set back to the default, rows already sent stay, and RunAborted is rethrown
// for the caller to unwind.
ImportOutcome RunImport(ImportContext& context);

}  // namespace verrolift

#pragma once

#include <string>

namespace verrolift {

// The folder of a run's bad files, under the user's data folder: on Linux
// $XDG_DATA_HOME/verrolift/bad/<stamp> ($HOME/.local/share when it is unset), on Windows
// %LOCALAPPDATA%\Verrolift\bad\<stamp>. Created with the folders above it; "" when it
// cannot be, and the run then keeps no bad file.
std::string MakeBadFilesFolder(const std::string& stamp);

// Removes the folder if nothing was put in it.
void RemoveIfEmpty(const std::string& folder);

// "2026-12-08_21-07-02": a run's folder name, from the local time.
std::string RunStamp();

}  // namespace verrolift

#pragma once

namespace verrolift {

// What `verrolift --help` prints, from either toolkit's program.
inline constexpr const char* kWindowProgramUsage =
    "usage: verrolift [--help | --version]\n"
    "Opens the login window, then the main window, which load delimited text files into\n"
    "Oracle tables. The same import without a window: verrolift-import --help.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the program's name and version and exit\n";

}  // namespace verrolift

#pragma once

#include <string>

namespace verrolift {

// The SID help of the login window's "?" and "Help", with an example
// TNSNAMES.ORA entry. The example host is a documentation address.
std::string SidHelpText();

inline constexpr const char* kDataTypeNotice =
    "This software does not support the CLOB and NLOB data type in Oracle.";

// The main window's "?": what a text file should look like, quoted fields, the TAB.
std::string FileFormatHelpText();

}  // namespace verrolift

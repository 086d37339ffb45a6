#pragma once

#include <string>
#include <vector>

#include "run_process.h"

namespace verrolift::test {

// The built verrolift-import, run as a user would run it.
ProcessResult RunImportCommand(const std::vector<std::string>& args, ProcessOptions options = {});

// What standard error shows for one error report.
std::string ReportOnConsole(const std::string& description, const std::string& tag, int step);

// The error reports on a standard error text, each as "<tag>at line <step>" (its second
// line after the title), in order; the descriptions come from drivers and vary.
std::vector<std::string> ReportLocations(const std::string& err);
// The first line of each report's description, in order.
std::vector<std::string> ReportDescriptions(const std::string& err);

inline constexpr const char* kImportTag = "in Pellucor2021/08/31.Form2.PushButton1_Click ";
inline constexpr const char* kLoadTag = "in Pellucor2021/08/31.Form2.Form_Load ";

// A report's location as ReportLocations gives it, for a step of the import or of the load.
inline std::string At(int step) {
    return std::string(kImportTag) + "at line " + std::to_string(step);
}
inline std::string LoadAt(int step) {
    return std::string(kLoadTag) + "at line " + std::to_string(step);
}

}  // namespace verrolift::test

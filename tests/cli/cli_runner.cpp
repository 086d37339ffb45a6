#include "cli_runner.h"

#include <sstream>

namespace verrolift::test {

namespace {
constexpr const char* kSupportLine =
    "Please email screenshot of this message to support@verrolift.example";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Reports are "Application Error", description lines, location, "", support line.
template <class Take>
std::vector<std::string> EachReport(const std::string& err, Take take) {
    std::vector<std::string> out;
    const auto lines = Lines(err);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "Application Error") continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end] != kSupportLine) ++end;
        if (end >= lines.size() || end < i + 4) continue;
        out.push_back(take(lines, i + 1, end - 2));  // description from i+1, location at end-2
        i = end;
    }
    return out;
}
}  // namespace

ProcessResult RunImportCommand(const std::vector<std::string>& args, ProcessOptions options) {
    // Only the tests that mean it give a password through the environment.
    if (!options.environment.contains("VERROLIFT_PASSWORD"))
        options.environment["VERROLIFT_PASSWORD"] = std::nullopt;
    std::vector<std::string> argv{VERROLIFT_IMPORT_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(VERROLIFT_IMPORT_PROGRAM, argv, options);
}

std::string ReportOnConsole(const std::string& description, const std::string& tag, int step) {
    return "Application Error\n" + description + "\n" + tag + "at line " + std::to_string(step) +
           "\n\n" + kSupportLine + "\n";
}

std::vector<std::string> ReportLocations(const std::string& err) {
    return EachReport(err, [](const std::vector<std::string>& lines, std::size_t, std::size_t at) {
        return lines[at];
    });
}

std::vector<std::string> ReportDescriptions(const std::string& err) {
    return EachReport(err, [](const std::vector<std::string>& lines, std::size_t first,
                              std::size_t) { return lines[first]; });
}

}  // namespace verrolift::test

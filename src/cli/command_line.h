#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "import/import_options.h"

namespace verrolift {

// What verrolift-import was asked to do.
struct CommandLine {
    // Exactly one of the two: a login profile or a connection string used as given.
    std::optional<ConnectionProfile> profile;
    std::optional<std::string> connectionString;

    std::string separator = ",";
    ImportMode mode = ImportMode::CreateTable;
    std::string tableNamePattern = "NewTable[counter]";
    // Typed-names mode when present: the answers to "Enter name for column #j:", j from 1.
    std::optional<std::vector<std::string>> columnAnswers;
    std::string appendTable;
    bool skipHeader = false;
    // Fields may be quoted: "a,b" is one field, "" an empty text rather than NULL.
    bool quotes = false;
    std::optional<TextEncoding> encoding;  // none: each file's mark or content decides
    std::string badFolder;                 // "": no bad files
    std::int64_t maxErrors = 0;            // 0: no limit
    std::int64_t skipRows = 0;
    // Folders add only files of this extension; without it, every file.
    std::optional<std::string> extension;
    std::vector<std::string> paths;

    // Rows in batches of batchRows, one transaction per batch (--fast).
    bool fast = false;
    std::size_t batchRows = 1000;
    // Files imported at once (--jobs).
    int jobs = 1;

    bool help = false;
    bool version = false;

    std::string ConnectionString() const;
};

struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;  // why the arguments were refused, when commandLine is empty
};

// args excludes the program name. envPassword is VERROLIFT_PASSWORD (null when unset):
// the password when --password is not given.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args, const char* envPassword);

// "a,,b" -> {"a", "", "b"}; "" -> {""}.
std::vector<std::string> SplitAnswers(const std::string& names);

extern const char* const kUsageText;

inline constexpr std::size_t kMaxBatchRows = 100000;
inline constexpr int kMaxJobs = 32;

}  // namespace verrolift

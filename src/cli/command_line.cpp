#include "cli/command_line.h"

#include <map>
#include <string_view>
#include <utility>

namespace verrolift {

const char* const kUsageText =
    "usage: verrolift-import [OPTIONS] PATH...\n"
    "Loads delimited text files into database tables, one INSERT per line.\n"
    "\n"
    "  --sid SID --user USER --password PASSWORD   the login profile\n"
    "  --connection-string STRING                  any ODBC connection string, used as given\n"
    "  --separator TEXT          field separator (default \",\")\n"
    "  --table-name PATTERN      create mode (the default, one new table per file): the name\n"
    "                            pattern, default \"NewTable[counter]\"\n"
    "  --columns NAMES           create mode: comma-separated answers to the column prompts,\n"
    "                            in order, instead of the first line's names; a missing or\n"
    "                            empty answer is an empty answer\n"
    "  --append TABLE            append mode: every file into TABLE\n"
    "  --skip-header             the first line of every file is a header, not a row: with\n"
    "                            --append it is left out; in create mode it names the\n"
    "                            columns and is not imported\n"
    "  --quotes                  fields may be quoted: \"a,b\" is one field, \"\" inside\n"
    "                            quotes is one quote, quoted line breaks stay in the field;\n"
    "                            \"\" alone is an empty text, an empty unquoted field NULL\n"
    "  --encoding NAME           how files are read: utf-8, utf-16le, utf-16be, a code page\n"
    "                            (windows-1252, latin1, cp1251, shift_jis, ...), or bytes to\n"
    "                            send them as they are; by default a byte-order mark decides,\n"
    "                            else UTF-8 when the whole file is UTF-8, else windows-1252\n"
    "  --extension EXT           folders add only files of this extension; without it a\n"
    "                            folder adds every file\n"
    "  --fast                    send rows in batches, one transaction per batch; the same\n"
    "                            rows are stored and refused as without it\n"
    "  --batch-rows N            with --fast: rows per batch (default 1000)\n"
    "  --jobs N                  import up to N files at once, each on its own connection\n"
    "                            (default 1)\n"
    "  --bad-folder DIR          every record not stored goes, byte for byte, to\n"
    "                            DIR/<file name>.bad, to be mended and loaded again\n"
    "  --max-errors N            stop the run once N records were not stored\n"
    "  --skip-rows N             read but do not send the first N rows of each file (after\n"
    "                            any header): where an interrupted run goes on\n"
    "  --help                    this text\n"
    "  --version                 the program's name and version\n"
    "\n"
    "The password may also come from the environment variable VERROLIFT_PASSWORD.\n"
    "Lines end as each file's first line end says: at LF, or at CR and CR LF.\n"
    "Exit status: 0 done, 1 a report or message was shown or --max-errors was reached,\n"
    "2 bad usage, 130 stopped by SIGINT (Ctrl+C), 143 stopped by SIGTERM or SIGHUP.\n";

std::string CommandLine::ConnectionString() const {
    if (connectionString) return *connectionString;
    return BuildConnectionString(profile.value_or(ConnectionProfile{}));
}

std::vector<std::string> SplitAnswers(const std::string& names) {
    std::vector<std::string> answers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = names.find(',', start);
        if (comma == std::string::npos) {
            answers.push_back(names.substr(start));
            return answers;
        }
        answers.push_back(names.substr(start, comma - start));
        start = comma + 1;
    }
}

namespace {

// Why the arguments are refused; empty while they are accepted.
using Refusal = std::optional<std::string>;

// The options given, by their first name, with their values ("" for those that take none).
using GivenOptions = std::map<std::string_view, std::string>;

// When an option is acted on. The first refusal met is the one reported, so the stages and
// the order of the table below are the order in which problems are named.
enum class Stage {
    AnswersAlone,  // the first of these given is the whole command
    Database,      // then a database must have been named
    Import,
};

// What an option's action sees: its value, every option given, the command line so far.
struct OptionUse {
    const std::string& value;
    const GivenOptions& given;
    CommandLine& cl;
};

struct OptionRow {
    std::string_view name;
    std::string_view alias;  // a second name, or none
    bool takesValue;
    Stage stage;
    // Sets what the option asks for; refuses a bad value or a combination that cannot be.
    Refusal (*action)(OptionUse use);
};

ConnectionProfile& Profile(CommandLine& cl) {
    return cl.profile ? *cl.profile : cl.profile.emplace();
}

// A whole number from 1 to max, digits only.
std::optional<std::size_t> Count(const std::string& text, std::size_t max) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    if (value < 1 || value > max) return std::nullopt;
    return value;
}

// A whole number from 0 to 999,999,999, digits only.
std::optional<std::int64_t> Amount(const std::string& text) {
    if (text == "0") return 0;
    const auto value = Count(text, 999999999);
    if (!value) return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

// Every option of the command line, in the order described at Stage. Its text in kUsageText
// is kept by hand.
constexpr OptionRow kOptions[] = {
    {"--help", "-h", false, Stage::AnswersAlone,
     [](OptionUse use) -> Refusal {
         use.cl.help = true;
         return std::nullopt;
     }},
    {"--version", "", false, Stage::AnswersAlone,
     [](OptionUse use) -> Refusal {
         use.cl.version = true;
         return std::nullopt;
     }},

    {"--connection-string", "", true, Stage::Database,
     [](OptionUse use) -> Refusal {
         if (use.given.contains("--sid") || use.given.contains("--user") ||
             use.given.contains("--password"))
             return "--connection-string cannot be combined with --sid, --user or --password";
         use.cl.connectionString = use.value;
         return std::nullopt;
     }},
    {"--sid", "", true, Stage::Database,
     [](OptionUse use) -> Refusal {
         Profile(use.cl).sid = use.value;
         return std::nullopt;
     }},
    {"--user", "", true, Stage::Database,
     [](OptionUse use) -> Refusal {
         Profile(use.cl).userName = use.value;
         return std::nullopt;
     }},
    {"--password", "", true, Stage::Database,
     [](OptionUse use) -> Refusal {
         Profile(use.cl).password = use.value;
         return std::nullopt;
     }},

    {"--separator", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         use.cl.separator = use.value;
         return std::nullopt;
     }},
    {"--quotes", "", false, Stage::Import,
     [](OptionUse use) -> Refusal {
         // A quote would both open fields and separate them.
         if (use.cl.separator.find('"') != std::string::npos)
             return "--quotes needs a separator without a double quote";
         use.cl.quotes = true;
         return std::nullopt;
     }},
    {"--encoding", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         const auto encoding = ParseEncodingName(use.value);
         if (!encoding)
             return "--encoding does not know \"" + use.value +
                    "\": give utf-8, utf-16le, utf-16be, bytes or a code page such as "
                    "windows-1252";
         use.cl.encoding = *encoding;
         return std::nullopt;
     }},
    {"--extension", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         // "csv" and ".csv" mean the same to a user.
         use.cl.extension = use.value.starts_with('.') ? use.value.substr(1) : use.value;
         return std::nullopt;
     }},
    {"--table-name", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         if (use.given.contains("--append")) return "--table-name is for create mode, not --append";
         if (use.value.empty()) return "--table-name needs a table name pattern";
         use.cl.tableNamePattern = use.value;
         return std::nullopt;
     }},
    {"--columns", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         if (use.given.contains("--append")) return "--columns is for create mode, not --append";
         use.cl.columnAnswers = SplitAnswers(use.value);
         return std::nullopt;
     }},
    {"--append", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         if (use.value.empty()) return "--append needs a table name";
         use.cl.mode = ImportMode::AppendToTable;
         use.cl.appendTable = use.value;
         return std::nullopt;
     }},
    // In create mode with names from the first line, that line then names the columns only.
    {"--skip-header", "", false, Stage::Import,
     [](OptionUse use) -> Refusal {
         use.cl.skipHeader = true;
         return std::nullopt;
     }},
    {"--fast", "", false, Stage::Import,
     [](OptionUse use) -> Refusal {
         use.cl.fast = true;
         return std::nullopt;
     }},
    {"--batch-rows", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         if (!use.given.contains("--fast")) return "--batch-rows needs --fast";
         const auto rows = Count(use.value, kMaxBatchRows);
         if (!rows) return "--batch-rows needs a number from 1 to " + std::to_string(kMaxBatchRows);
         use.cl.batchRows = *rows;
         return std::nullopt;
     }},
    {"--bad-folder", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         if (use.value.empty()) return "--bad-folder needs a folder";
         use.cl.badFolder = use.value;
         return std::nullopt;
     }},
    {"--max-errors", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         const auto count = Count(use.value, 999999999);
         if (!count) return "--max-errors needs a number from 1 to 999999999";
         use.cl.maxErrors = static_cast<std::int64_t>(*count);
         return std::nullopt;
     }},
    {"--skip-rows", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         const auto count = Amount(use.value);
         if (!count) return "--skip-rows needs a number from 0 to 999999999";
         use.cl.skipRows = *count;
         return std::nullopt;
     }},
    {"--jobs", "", true, Stage::Import,
     [](OptionUse use) -> Refusal {
         const auto jobs = Count(use.value, static_cast<std::size_t>(kMaxJobs));
         if (!jobs) return "--jobs needs a number from 1 to " + std::to_string(kMaxJobs);
         use.cl.jobs = static_cast<int>(*jobs);
         return std::nullopt;
     }},
};

// The row of the option called `name` by either of its names; null for none.
const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions)
        if (row.name == name || (!row.alias.empty() && row.alias == name)) return &row;
    return nullptr;
}

// Sorts the arguments into options and paths. "-" and whatever does not start with "-" is
// a path, and so is every argument after "--".
Refusal ReadArguments(const std::vector<std::string>& args, GivenOptions& given,
                      std::vector<std::string>& paths) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value" as well as "--name value".
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        const OptionRow* row = FindOption(name);
        if (!row) return "unknown option " + name;
        // Each option at most once: a repeat is a typo.
        if (given.contains(row->name)) return name + " given twice";

        std::string value;
        if (row->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return name + " needs a value";
            }
        } else if (inlineValue) {
            return name + " takes no value";
        }
        given[row->name] = value;
    }
    return std::nullopt;
}

// The first option given of a stage, in table order; null for none.
const OptionRow* FirstGiven(Stage stage, const GivenOptions& given) {
    for (const OptionRow& row : kOptions)
        if (row.stage == stage && given.contains(row.name)) return &row;
    return nullptr;
}

// Acts on the given options of one stage, in table order, up to the first refusal.
Refusal Act(Stage stage, const GivenOptions& given, CommandLine& cl) {
    for (const OptionRow& row : kOptions) {
        if (row.stage != stage) continue;
        if (const auto found = given.find(row.name); found != given.end())
            if (Refusal refusal = row.action({found->second, given, cl})) return refusal;
    }
    return std::nullopt;
}

// One of the two ways to a database is needed; a profile without --password takes
// VERROLIFT_PASSWORD's.
Refusal CompleteDatabase(const GivenOptions& given, const char* envPassword, CommandLine& cl) {
    if (!cl.profile && !cl.connectionString)
        return "no database given: use --sid, --user and --password, or --connection-string";
    if (cl.profile && !given.contains("--password") && envPassword)
        cl.profile->password = envPassword;
    return std::nullopt;
}

ParsedCommandLine Refuse(std::string error) {
    return {std::nullopt, std::move(error)};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args, const char* envPassword) {
    CommandLine cl;
    GivenOptions given;
    Refusal refusal = ReadArguments(args, given, cl.paths);
    if (refusal) return Refuse(*refusal);
    if (const OptionRow* answer = FirstGiven(Stage::AnswersAlone, given)) {
        answer->action({given.at(answer->name), given, cl});
        return {cl, {}};
    }

    refusal = Act(Stage::Database, given, cl);
    if (!refusal) refusal = CompleteDatabase(given, envPassword, cl);
    if (!refusal) refusal = Act(Stage::Import, given, cl);
    if (refusal) return Refuse(*refusal);
    if (cl.paths.empty()) return Refuse("no PATH given");
    return {cl, {}};
}

}  // namespace verrolift

#include "cli/command_line.h"

#include <map>
#include <string_view>

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
    "  --extension EXT           folders add only files of this extension; without it a\n"
    "                            folder adds every file\n"
    "  --fast                    send rows in batches, one transaction per batch; the same\n"
    "                            rows are stored and refused as without it\n"
    "  --batch-rows N            with --fast: rows per batch (default 1000)\n"
    "  --jobs N                  import up to N files at once, each on its own connection\n"
    "                            (default 1)\n"
    "  --help                    this text\n"
    "  --version                 the program's name and version\n"
    "\n"
    "The password may also come from the environment variable VERROLIFT_PASSWORD.\n"
    "Lines end as each file's first line end says: at LF, or at CR and CR LF.\n"
    "Exit status: 0 done, 1 a report or message was shown, 2 bad usage.\n";

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

enum class Option {
    Sid,
    User,
    Password,
    ConnectionString,
    Separator,
    TableName,
    Columns,
    Append,
    SkipHeader,
    Extension,
    Fast,
    BatchRows,
    Jobs,
    Help,
    Version,
};

struct OptionInfo {
    Option option;
    bool takesValue;
};

const std::map<std::string_view, OptionInfo>& Options() {
    static const std::map<std::string_view, OptionInfo> options = {
        {"--sid", {Option::Sid, true}},
        {"--user", {Option::User, true}},
        {"--password", {Option::Password, true}},
        {"--connection-string", {Option::ConnectionString, true}},
        {"--separator", {Option::Separator, true}},
        {"--table-name", {Option::TableName, true}},
        {"--columns", {Option::Columns, true}},
        {"--append", {Option::Append, true}},
        {"--skip-header", {Option::SkipHeader, false}},
        {"--extension", {Option::Extension, true}},
        {"--fast", {Option::Fast, false}},
        {"--batch-rows", {Option::BatchRows, true}},
        {"--jobs", {Option::Jobs, true}},
        {"--help", {Option::Help, false}},
        {"-h", {Option::Help, false}},
        {"--version", {Option::Version, false}},
    };
    return options;
}

ParsedCommandLine Refuse(std::string error) {
    return {std::nullopt, std::move(error)};
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

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args, const char* envPassword) {
    CommandLine cl;
    std::map<Option, std::string> given;  // each option at most once: a repeat is a typo
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            cl.paths.push_back(arg);
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
        const auto found = Options().find(name);
        if (found == Options().end()) return Refuse("unknown option " + name);
        const OptionInfo info = found->second;
        if (given.contains(info.option)) return Refuse(name + " given twice");

        std::string value;
        if (info.takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return Refuse(name + " needs a value");
            }
        } else if (inlineValue) {
            return Refuse(name + " takes no value");
        }
        given[info.option] = value;
    }

    if (given.contains(Option::Help)) {
        cl.help = true;
        return {cl, {}};
    }
    if (given.contains(Option::Version)) {
        cl.version = true;
        return {cl, {}};
    }

    const bool hasProfile = given.contains(Option::Sid) || given.contains(Option::User) ||
                            given.contains(Option::Password);
    if (given.contains(Option::ConnectionString)) {
        if (hasProfile)
            return Refuse(
                "--connection-string cannot be combined with --sid, --user or --password");
        cl.connectionString = given[Option::ConnectionString];
    } else if (hasProfile) {
        ConnectionProfile profile;
        profile.sid = given[Option::Sid];
        profile.userName = given[Option::User];
        if (given.contains(Option::Password))
            profile.password = given[Option::Password];
        else if (envPassword)
            profile.password = envPassword;
        cl.profile = profile;
    } else {
        return Refuse(
            "no database given: use --sid, --user and --password, or --connection-string");
    }

    if (given.contains(Option::Separator)) cl.separator = given[Option::Separator];
    if (given.contains(Option::Extension)) {
        // "csv" and ".csv" mean the same to a user.
        std::string extension = given[Option::Extension];
        if (extension.starts_with('.')) extension.erase(0, 1);
        cl.extension = extension;
    }

    if (given.contains(Option::Append)) {
        if (given.contains(Option::TableName))
            return Refuse("--table-name is for create mode, not --append");
        if (given.contains(Option::Columns))
            return Refuse("--columns is for create mode, not --append");
        cl.mode = ImportMode::AppendToTable;
        cl.appendTable = given[Option::Append];
        if (cl.appendTable.empty()) return Refuse("--append needs a table name");
        cl.skipHeader = given.contains(Option::SkipHeader);
    } else {
        // With names from the first line, that line then names the columns only.
        cl.skipHeader = given.contains(Option::SkipHeader);
        if (given.contains(Option::TableName)) cl.tableNamePattern = given[Option::TableName];
        if (given.contains(Option::Columns))
            cl.columnAnswers = SplitAnswers(given[Option::Columns]);
    }

    cl.fast = given.contains(Option::Fast);
    if (given.contains(Option::BatchRows)) {
        if (!cl.fast) return Refuse("--batch-rows needs --fast");
        const auto rows = Count(given[Option::BatchRows], kMaxBatchRows);
        if (!rows)
            return Refuse("--batch-rows needs a number from 1 to " + std::to_string(kMaxBatchRows));
        cl.batchRows = *rows;
    }
    if (given.contains(Option::Jobs)) {
        const auto jobs = Count(given[Option::Jobs], static_cast<std::size_t>(kMaxJobs));
        if (!jobs) return Refuse("--jobs needs a number from 1 to " + std::to_string(kMaxJobs));
        cl.jobs = static_cast<int>(*jobs);
    }

    if (cl.paths.empty()) return Refuse("no PATH given");
    return {cl, {}};
}

}  // namespace verrolift

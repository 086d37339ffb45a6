#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

const std::vector<std::string> kLogin = {"--sid", "db", "--user", "scott", "--password", "tiger"};

std::vector<std::string> With(std::vector<std::string> args) {
    std::vector<std::string> all = kLogin;
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

CommandLine Accepted(const std::vector<std::string>& args, const char* envPassword = nullptr) {
    const ParsedCommandLine parsed = ParseCommandLine(args, envPassword);
    EXPECT_TRUE(parsed.commandLine.has_value()) << parsed.error;
    return parsed.commandLine.value_or(CommandLine{});
}

TEST(CommandLine, DefaultsAreTheMainWindowsInitialState) {
    const CommandLine cl = Accepted(With({"a.csv"}));
    EXPECT_EQ(cl.separator, ",");
    EXPECT_EQ(cl.mode, ImportMode::CreateTable);
    EXPECT_EQ(cl.tableNamePattern, "NewTable[counter]");
    EXPECT_FALSE(cl.columnAnswers.has_value());
    EXPECT_FALSE(cl.skipHeader);
    EXPECT_FALSE(cl.extension.has_value());
    EXPECT_FALSE(cl.quotes);
    EXPECT_FALSE(cl.fast);
    EXPECT_EQ(cl.batchRows, 1000u);
    EXPECT_EQ(cl.jobs, 1);
    EXPECT_EQ(cl.paths, std::vector<std::string>{"a.csv"});
    EXPECT_EQ(cl.ConnectionString(),
              "Driver={Microsoft ODBC for Oracle};Server=db;Uid=scott;Pwd=tiger;");
}

TEST(CommandLine, ConnectionStringIsUsedAsGiven) {
    const CommandLine cl =
        Accepted({"--connection-string", "Driver={SQLite3};Database=/x y;", "a"});
    EXPECT_EQ(cl.ConnectionString(), "Driver={SQLite3};Database=/x y;");
    EXPECT_FALSE(cl.profile.has_value());
}

TEST(CommandLine, PasswordComesFromTheEnvironmentUnlessGiven) {
    EXPECT_EQ(Accepted({"--sid", "db", "--user", "u", "f"}, "fromenv").profile->password,
              "fromenv");
    EXPECT_EQ(Accepted({"--sid", "db", "--user", "u", "--password", "p", "f"}, "fromenv")
                  .profile->password,
              "p");
    EXPECT_EQ(Accepted({"--sid", "db", "--user", "u", "f"}).profile->password, "");
    // An empty --password is a password too: it wins over the environment.
    EXPECT_EQ(Accepted({"--sid", "db", "--password", "", "f"}, "fromenv").profile->password, "");
}

TEST(CommandLine, CreateModeOptions) {
    const CommandLine cl = Accepted(With(
        {"--separator", "; ", "--table-name", "T[counter]x", "--columns", "id,,name", "a", "b"}));
    EXPECT_EQ(cl.separator, "; ");
    EXPECT_EQ(cl.tableNamePattern, "T[counter]x");
    EXPECT_EQ(cl.columnAnswers, (std::vector<std::string>{"id", "", "name"}));
    EXPECT_EQ(cl.paths, (std::vector<std::string>{"a", "b"}));
}

TEST(CommandLine, AppendModeOptions) {
    const CommandLine cl =
        Accepted(With({"--append", "EMP", "--skip-header", "--extension", "csv", "dir"}));
    EXPECT_EQ(cl.mode, ImportMode::AppendToTable);
    EXPECT_EQ(cl.appendTable, "EMP");
    EXPECT_TRUE(cl.skipHeader);
    EXPECT_EQ(cl.extension, "csv");
}

TEST(CommandLine, SkipHeaderAlsoInCreateMode) {
    const CommandLine cl = Accepted(With({"--skip-header", "a"}));
    EXPECT_EQ(cl.mode, ImportMode::CreateTable);
    EXPECT_TRUE(cl.skipHeader);
}

TEST(CommandLine, QuotesWorkWithEitherModeAndAnySeparatorWithoutAQuote) {
    EXPECT_TRUE(Accepted(With({"--quotes", "a"})).quotes);
    const CommandLine append =
        Accepted(With({"--append", "EMP", "--skip-header", "--quotes", "--separator", "::", "d"}));
    EXPECT_TRUE(append.quotes);
    EXPECT_EQ(append.separator, "::");
    EXPECT_TRUE(Accepted(With({"--quotes", "--columns", "a,b", "--separator", "\t", "f"})).quotes);
}

TEST(CommandLine, ValuesMayBeJoinedWithAnEqualsSign) {
    const CommandLine cl = Accepted(With({"--separator=|", "--table-name=a=b", "f"}));
    EXPECT_EQ(cl.separator, "|");
    EXPECT_EQ(cl.tableNamePattern, "a=b");
}

TEST(CommandLine, EmptyValuesAreKept) {
    const CommandLine cl = Accepted(With({"--separator", "", "--columns", "", "f"}));
    EXPECT_EQ(cl.separator, "");
    EXPECT_EQ(cl.columnAnswers, std::vector<std::string>{""});
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
    const CommandLine cl = Accepted(With({"--", "--append", "-x"}));
    EXPECT_EQ(cl.mode, ImportMode::CreateTable);
    EXPECT_EQ(cl.paths, (std::vector<std::string>{"--append", "-x"}));
}

TEST(CommandLine, HelpNeedsNothingElse) {
    EXPECT_TRUE(Accepted({"--help"}).help);
    EXPECT_TRUE(Accepted({"-h"}).help);
}

TEST(CommandLine, FastBatchRowsAndJobs) {
    CommandLine cl = Accepted(With({"--fast", "--batch-rows", "250", "--jobs=4", "a.csv"}));
    EXPECT_TRUE(cl.fast);
    EXPECT_EQ(cl.batchRows, 250u);
    EXPECT_EQ(cl.jobs, 4);
    cl = Accepted(With({"--jobs", "32", "--fast", "--batch-rows", "100000", "a.csv"}));
    EXPECT_EQ(cl.jobs, 32);
    EXPECT_EQ(cl.batchRows, 100000u);
}

TEST(CommandLine, VersionNeedsNothingElse) {
    EXPECT_TRUE(Accepted({"--version"}).version);
    // Asked beside a full import, it still only answers.
    EXPECT_TRUE(Accepted(With({"--version", "a.csv"})).version);
}

struct Refused {
    std::vector<std::string> args;
    std::string error;
};

class CommandLineRefusal : public testing::TestWithParam<Refused> {};

TEST_P(CommandLineRefusal, SaysWhy) {
    const ParsedCommandLine parsed = ParseCommandLine(GetParam().args, "envpw");
    EXPECT_FALSE(parsed.commandLine.has_value());
    EXPECT_EQ(parsed.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    BadUsage, CommandLineRefusal,
    testing::Values(
        Refused{With({}), "no PATH given"},
        Refused{{"a.csv"},
                "no database given: use --sid, --user and --password, or --connection-string"},
        Refused{With({"--bogus", "a"}), "unknown option --bogus"},
        Refused{With({"-v", "a"}), "unknown option -v"},
        Refused{With({"a", "--separator"}), "--separator needs a value"},
        Refused{With({"--skip-header=yes", "a"}), "--skip-header takes no value"},
        Refused{With({"--separator", ";", "--separator", ",", "a"}), "--separator given twice"},
        Refused{With({"--connection-string", "DSN=x", "a"}),
                "--connection-string cannot be combined with --sid, --user or --password"},
        Refused{With({"--append", "T", "--table-name", "X", "a"}),
                "--table-name is for create mode, not --append"},
        Refused{With({"--append", "T", "--columns", "a,b", "a"}),
                "--columns is for create mode, not --append"},
        Refused{With({"--append", "", "a"}), "--append needs a table name"},
        Refused{With({"--table-name", "", "a"}), "--table-name needs a table name pattern"},
        Refused{With({"--table-name=", "a"}), "--table-name needs a table name pattern"},
        Refused{With({"--separator", "a\"b", "--quotes", "a"}),
                "--quotes needs a separator without a double quote"},
        Refused{With({"--batch-rows", "10", "a"}), "--batch-rows needs --fast"},
        Refused{With({"--fast", "--batch-rows", "0", "a"}),
                "--batch-rows needs a number from 1 to 100000"},
        Refused{With({"--fast", "--batch-rows", "100001", "a"}),
                "--batch-rows needs a number from 1 to 100000"},
        Refused{With({"--fast", "--batch-rows", "1e3", "a"}),
                "--batch-rows needs a number from 1 to 100000"},
        Refused{With({"--jobs", "0", "a"}), "--jobs needs a number from 1 to 32"},
        Refused{With({"--jobs", "33", "a"}), "--jobs needs a number from 1 to 32"},
        Refused{With({"--encoding", "klingon", "a"}),
                "--encoding does not know \"klingon\": give utf-8, utf-16le, utf-16be, bytes or a "
                "code page such as windows-1252"}));

TEST(SplitAnswers, EveryCommaSeparatesAnAnswer) {
    EXPECT_EQ(SplitAnswers("id,name,city"), (std::vector<std::string>{"id", "name", "city"}));
    EXPECT_EQ(SplitAnswers("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitAnswers(""), std::vector<std::string>{""});
    EXPECT_EQ(SplitAnswers(" x "), std::vector<std::string>{" x "});
}

}  // namespace
}  // namespace verrolift

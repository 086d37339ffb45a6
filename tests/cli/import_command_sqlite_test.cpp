// verrolift-import against SQLite: options, messages, exit status and the rows stored.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "base/error_report.h"
#include "base/paths.h"
#include "cli/command_line.h"
#include "cli_runner.h"
#include "db/catalogue.h"
#include "files/add_folder_steps.h"
#include "import/import_steps.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift::test {
namespace {

class ImportCommandSqlite : public testing::Test {
protected:
    ProcessResult Import(std::vector<std::string> args, ProcessOptions options = {}) {
        args.insert(args.begin(), {"--connection-string", db.ConnectionString()});
        return RunImportCommand(args, options);
    }
    std::vector<std::string> Columns(const std::string& table) {
        return db.Column("SELECT name FROM pragma_table_info('" + table + "') ORDER BY cid");
    }
    std::vector<std::string> Tables() {
        return db.Column("SELECT table_name FROM user_tables ORDER BY table_name");
    }

    SqliteDatabase db;
    TempDir files;
};

// "Done." and the summary line after it.
// The final message and the summary; sent counts rows stored and refused.
std::string Done(int imported, int files, int sent, int refused, int notSent = 0) {
    return "Done.\nSummary: " + std::to_string(imported) + " of " + std::to_string(files) +
           " files imported, " + std::to_string(sent - refused) + " rows stored, " +
           std::to_string(refused) + " rows refused, " + std::to_string(notSent) +
           " records not sent, 0 rows skipped.\n";
}

// The column check's message for a file split by ",", a plain line on standard output.
std::string Misfit(const std::string& file, int fields, const std::string& table, int columns) {
    return "The columns in the text file and the columns in the table must be identical.\n\n" +
           file + " was split by , and has " + std::to_string(fields) + " columns. The table " +
           table + " has " + std::to_string(columns) + " columns.\n";
}

TEST_F(ImportCommandSqlite, HeaderModeMakesOneTablePerFileAndSaysDone) {
    const auto a = files.Write("a.csv", "Name,Age\r\nAnn,30\r\n");
    const auto b = files.Write("b.csv", "id,First Name\r\n1,Bo\r\n2,Cy");
    const auto r = Import({a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 5, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Columns("NewTable1"), (std::vector<std::string>{"Name", "Age"}));
    EXPECT_EQ(db.Rows("NewTable1"), (std::vector<std::string>{"Name|Age", "Ann|30"}));
    EXPECT_EQ(Columns("NewTable2"), (std::vector<std::string>{"id", "FirstName"}));
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"id|First Name", "1|Bo", "2|Cy"}));
}

TEST_F(ImportCommandSqlite, SeparatorAndPatternAreUsedAsGiven) {
    const auto a = files.Write("a.txt", "x; y\r\n1; 2;3\r\n");
    const auto r = Import({"--separator", "; ", "--table-name", "Load[counter]_[counter]", a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(1, 1, 2, 0));
    EXPECT_EQ(db.Rows("Load1_1"), (std::vector<std::string>{"x|y", "1|2;3"}));
}

TEST_F(ImportCommandSqlite, ColumnsOptionAnswersThePromptsOfEveryFile) {
    const auto a = files.Write("a.csv", "h1,h2,h3\r\n1,Ann,Oslo\r\n");
    const auto b = files.Write("b.csv", "h1,h2,h3\r\n2,Bo,Rome\r\n3,Cy,Lima\r\n");
    const auto r = Import({"--columns", "id,name,city", a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 3, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Columns("NewTable1"), (std::vector<std::string>{"id", "name", "city"}));
    EXPECT_EQ(db.Rows("NewTable1"), std::vector<std::string>{"1|Ann|Oslo"});
    EXPECT_EQ(Columns("NewTable2"), (std::vector<std::string>{"id", "name", "city"}));
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"2|Bo|Rome", "3|Cy|Lima"}));
}

TEST_F(ImportCommandSqlite, MissingColumnAnswerMakesNoTableForThatFileOnly) {
    const auto a = files.Write("a.csv", "h1,h2,h3\r\n1,Ann,Oslo\r\n2,Bo,Rome\r\n");
    const auto b = files.Write("b.csv", "h1\r\n7\r\n");
    const auto r = Import({"--columns", "id", a, b});
    // The first file asks for a second name and gets none: no table and no row for it,
    // and the command says so.
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "No table was made for \"" + a +
                         "\": --columns gives no name for column #2.\n" + Done(1, 2, 1, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Tables(), std::vector<std::string>{"NewTable2"});
    EXPECT_EQ(Columns("NewTable2"), std::vector<std::string>{"id"});
    EXPECT_EQ(db.Rows("NewTable2"), std::vector<std::string>{"7"});
}

TEST_F(ImportCommandSqlite, EmptyColumnsOptionAnswersTheFirstPromptWithNothing) {
    const auto a = files.Write("a.csv", "h1\r\n1\r\n");
    const auto r = Import({"--columns", "", a});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "No table was made for \"" + a +
                         "\": --columns gives no name for column #1.\n" + Done(0, 1, 0, 0));
    EXPECT_EQ(Tables(), std::vector<std::string>{});
}

TEST_F(ImportCommandSqlite, ListedPatternStopsBeforeAnyFile) {
    db.Exec("CREATE TABLE \"OLD\"(a)");
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    const auto r = Import({"--table-name", "old", a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Table name already exists.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Tables(), std::vector<std::string>{"OLD"});
}

TEST_F(ImportCommandSqlite, CatalogueNamesAreSkippedAndTheLastFileDecidesTheMessage) {
    db.Exec("CREATE TABLE \"T1\"(a)");
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    const auto b = files.Write("b.csv", "y\r\n2\r\n");
    auto r = Import({"--table-name", "T[counter]", a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(1, 2, 2, 0));
    EXPECT_EQ(db.Rows("T1"), std::vector<std::string>{});
    EXPECT_EQ(db.Rows("T2"), (std::vector<std::string>{"y", "2"}));

    // Without the counter every file after the first finds the name just made.
    r = Import({"--table-name", "Same", a, b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        r.out,
        "Table(s) already exist.\nSummary: 1 of 2 files imported, 2 rows stored, 0 rows refused, 0 "
        "records not sent, 0 rows skipped.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(db.Rows("Same"), (std::vector<std::string>{"x", "1"}));
}

TEST_F(ImportCommandSqlite, AppendFillsTheTableFromEveryFile) {
    db.Exec("CREATE TABLE \"EMP\"(a, b, c)");
    const auto a = files.Write("a.csv", "1,2,3\r\n4,5,6\r\n");
    const auto b = files.Write("b.csv", "7,8,9");
    const auto r = Import({"--append", "EMP", a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 3, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(db.Rows("EMP"), (std::vector<std::string>{"1|2|3", "4|5|6", "7|8|9"}));
}

TEST_F(ImportCommandSqlite, AppendSkipHeaderLeavesTheFirstLineOfEachFileOut) {
    db.Exec("CREATE TABLE \"EMP\"(a, b)");
    const auto a = files.Write("a.csv", "A,B\r\n1,2\r\n");
    const auto b = files.Write("b.csv", "A,B,C\r\n3,4\r\n");
    const auto r = Import({"--append", "EMP", "--skip-header", a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 2, 0));
    EXPECT_EQ(db.Rows("EMP"), (std::vector<std::string>{"1|2", "3|4"}));
}

TEST_F(ImportCommandSqlite, SummaryCountsRefusedRowsAndTheFilesLeftOut) {
    db.Exec("CREATE TABLE \"EMP\"(a, b)");
    const auto a = files.Write("a.csv", "1,2\n1,2,3\n3,4\n");
    const auto b = files.Write("b.csv", "1,2,3\n");
    const auto r = Import({"--append", "EMP", a, b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Misfit(b, 3, "EMP", 2) + Done(0, 2, 3, 1));
    EXPECT_EQ(db.Rows("EMP"), (std::vector<std::string>{"1|2", "3|4"}));

    // Every row refused: "Done." alone would read as success.
    db.Exec("CREATE TABLE \"CHK\"(a, b CHECK (b <> 'x'))");
    const auto r2 = Import({"--append", "CHK", files.Write("d.csv", "1,x\n2,x\n")});
    EXPECT_EQ(r2.exitCode, 1);
    EXPECT_EQ(r2.out, Done(0, 1, 2, 2));
    EXPECT_EQ(ReportLocations(r2.err),
              (std::vector<std::string>{At(import_steps::kAppendRows.send),
                                        At(import_steps::kAppendRows.send)}));
}

TEST_F(ImportCommandSqlite, SkipHeaderInCreateModeNamesTheColumnsAndImportsNoHeaderRow) {
    const auto a = files.Write("a.csv", "Name,Age,\nAnn,30,\nBo,41,\n");
    const auto r = Import({"--skip-header", a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(1, 1, 2, 0));
    EXPECT_EQ(Columns("NewTable1"), (std::vector<std::string>{"Name", "Age"}));
    EXPECT_EQ(db.Rows("NewTable1"), (std::vector<std::string>{"Ann|30", "Bo|41"}));
}

TEST_F(ImportCommandSqlite, ColumnCountMismatchIsAPlainMessageAndSkipsTheFile) {
    db.Exec("CREATE TABLE \"EMP\"(a, b, c, d)");
    const auto a = files.Write("a.csv", "1,2,3\r\n");
    const auto b = files.Write("b.csv", "1,2,3,4\r\n");
    const auto r = Import({"--append", "EMP", a, b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Misfit(a, 3, "EMP", 4) + Done(1, 2, 1, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(db.Rows("EMP"), std::vector<std::string>{"1|2|3|4"});
}

TEST_F(ImportCommandSqlite, AppendToATableMissingFromTheCatalogueIsReportedByTheRun) {
    const auto a = files.Write("a.csv", "1,2\r\n3,4\r\n");
    const auto r = Import({"--append", "NOSUCH", a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Done(0, 1, 0, 0));
    EXPECT_EQ(ReportLocations(r.err), std::vector<std::string>{At(import_steps::kOpenRecordSet)});
    EXPECT_EQ(Tables(), std::vector<std::string>{});
}

TEST_F(ImportCommandSqlite, AFileThatCannotBeReadIsReportedOnceAndTheRunGoesOn) {
    const auto missing = files.File("missing.csv");
    const auto b = files.Write("b.csv", "y\r\n2\r\n");
    const auto r = Import({missing, b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Done(1, 2, 2, 0));
    const auto locations = ReportLocations(r.err);
    ASSERT_EQ(locations.size(), 1u) << r.err;
    EXPECT_NE(ReportDescriptions(r.err).at(0).find(missing), std::string::npos) << r.err;
    EXPECT_EQ(Tables(), std::vector<std::string>{"NewTable2"});
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"y", "2"}));
}

TEST_F(ImportCommandSqlite, AFileLargerThanTheFileSizeLimitIsReportedAndTheRunGoesOn) {
    const auto big = files.Write("big.csv", "x\r\n" + std::string(std::size_t{3} << 20, '1'));
    const auto b = files.Write("b.csv", "y\r\n2\r\n");
    const TempDir tmp;
    ProcessOptions limited;
    limited.environment["TMPDIR"] = tmp.Path();
    limited.fileSizeLimit = std::uint64_t{1} << 20;
    const auto r = Import({big, b}, limited);
    EXPECT_EQ(r.signal, 0) << "ended by a signal";
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, Done(1, 2, 2, 0));
    const std::string copy =
        tmp.Path() + "/verrolift-" + std::to_string(::geteuid()) + "/1/upload.txt";
    EXPECT_EQ(r.err,
              ReportOnConsole("Cannot write the working copy " + copy + ": " + std::strerror(EFBIG),
                              kImportTag, import_steps::kRewriteWorkingCopy));
    EXPECT_EQ(Tables(), std::vector<std::string>{"NewTable2"});
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"y", "2"}));
}

TEST_F(ImportCommandSqlite, BytesAndEmptyFieldsArriveAsTheEngineSendsThem) {
    const std::string latin1 = "Caf\xe9";
    const auto a = files.Write("a.csv", "a,b,c\r\n" + latin1 + ",,it's\nx\r\n");
    const auto r = Import({"--encoding", "bytes", a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(db.Rows("NewTable1"),
              (std::vector<std::string>{"a|b|c", latin1 + "|<NULL>|it's\nx"}));
}

// Told once, on standard output, without changing the exit status; stored as its text.
TEST_F(ImportCommandSqlite, AFileThatIsNotUtf8IsSaidOnceAndStoredAsItsText) {
    const auto a = files.Write("w.csv", "n\r\n\xe9t\xe9\r\n\x80\r\n");
    const auto r = Import({a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "\"" + a + "\" is not UTF-8; it was read as windows-1252.\n" + Done(1, 1, 3, 0));
    EXPECT_EQ(db.Rows("NewTable1"),
              (std::vector<std::string>{"n", "\xc3\xa9t\xc3\xa9", "\xe2\x82\xac"}));
}

TEST_F(ImportCommandSqlite, ADatabaseThatCannotBeReachedIsReportedByLoadAndRun) {
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    const auto r = RunImportCommand({"--connection-string", "Driver={No Such Driver};", a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Done(0, 1, 0, 0));
    EXPECT_EQ(
        ReportLocations(r.err),
        (std::vector<std::string>{LoadAt(kListTablesStep), At(import_steps::kOpenConnection)}));
}

TEST_F(ImportCommandSqlite, ProgressIsDrawnOnlyOnATerminal) {
    const auto a = files.Write("a.csv", "x\r\n1\r\n2\r\n");
    ProcessOptions onTerminal;
    onTerminal.stderrOnTerminal = true;
    const auto r = Import({"--table-name", "P[counter]", a}, onTerminal);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(1, 1, 3, 0));
    EXPECT_NE(r.err.find("\r\x1b[Kfile 1 of 1, "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" rows/s"), std::string::npos) << r.err;
    // Wiped at the end: the terminal is left with an empty line.
    EXPECT_TRUE(r.err.ends_with("\r\x1b[K")) << r.err;

    const auto piped = Import({"--table-name", "Q[counter]", a});
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(db.Rows("P1"), db.Rows("Q1"));
}

TEST_F(ImportCommandSqlite, AFolderAddsEveryFileOfItsTree) {
    files.Write("d/a.csv", "x\r\n1\r\n");
    files.Write("d/b.txt", "y\r\n2\r\n");
    files.Write("d/sub/c.csv", "z\r\n3\r\n");
    const auto r = Import({files.File("d")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(3, 3, 6, 0));
    EXPECT_EQ(db.Rows("NewTable1"), (std::vector<std::string>{"x", "1"}));
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"y", "2"}));
    EXPECT_EQ(db.Rows("NewTable3"), (std::vector<std::string>{"z", "3"}));
}

TEST_F(ImportCommandSqlite, ASubfolderThatCannotBeReadIsReportedAndTheOtherFilesImported) {
    files.Write("d/a.csv", "x\r\n1\r\n");
    files.Write("d/open/b.csv", "y\r\n2\r\n");
    files.Write("d/denied/c.csv", "z\r\n3\r\n");
    // Everything open to the user the program runs as, but the one subfolder and the
    // working folders of other users.
    const TempDir tmp;
    for (const std::string& p : {files.Path(), files.File("d"), files.File("d/open"), tmp.Path()})
        ::chmod(p.c_str(), p == tmp.Path() ? 01777 : 0755);
    for (const char* f : {"d/a.csv", "d/open/b.csv"}) ::chmod(files.File(f).c_str(), 0644);
    ::chmod(files.File("d/denied").c_str(), 0);
    const std::string dbFolder = FolderOf(db.FilePath());
    ::chmod(dbFolder.c_str(), 0777);
    ::chmod(db.FilePath().c_str(), 0666);
    ProcessOptions asUser;
    asUser.nonRoot = true;
    asUser.environment["TMPDIR"] = tmp.Path();

    const auto r = Import({files.File("d")}, asUser);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 4, 0));
    EXPECT_EQ(r.err,
              ReportOnConsole("The folder \"" + files.File("d/denied") +
                                  "\" cannot be read: " + std::strerror(EACCES),
                              std::string(tags::kMainAddFolder), add_folder_steps::kSubfolders));
    EXPECT_EQ(db.Rows("NewTable1"), (std::vector<std::string>{"x", "1"}));
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"y", "2"}));
}

class ImportCommandExtension : public ImportCommandSqlite,
                               public testing::WithParamInterface<std::string> {};

TEST_P(ImportCommandExtension, AFolderAddsOnlyFilesOfTheExtension) {
    files.Write("d/a.csv", "x\r\n1\r\n");
    files.Write("d/b.txt", "y\r\n2\r\n");
    files.Write("d/sub/c.csv", "z\r\n3\r\n");
    const auto given = files.Write("given.txt", "g\r\n0\r\n");
    const auto r = Import({"--extension", GetParam(), files.File("d"), given});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(3, 3, 6, 0));
    EXPECT_EQ(Tables(), (std::vector<std::string>{"NewTable1", "NewTable2", "NewTable3"}));
    EXPECT_EQ(db.Rows("NewTable1"), (std::vector<std::string>{"x", "1"}));
    EXPECT_EQ(db.Rows("NewTable2"), (std::vector<std::string>{"z", "3"}));
    // A file named on the command line is taken whatever its extension.
    EXPECT_EQ(db.Rows("NewTable3"), (std::vector<std::string>{"g", "0"}));
}

INSTANTIATE_TEST_SUITE_P(Spellings, ImportCommandExtension, testing::Values("csv", ".csv"));

TEST_F(ImportCommandSqlite, AFolderWithoutMatchingFilesLeavesNoFileToImport) {
    files.Write("d/b.txt", "y\r\n2\r\n");
    const auto r = Import({"--extension", "csv", files.File("d")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "No files added.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Tables(), std::vector<std::string>{});
}

// --- Quoted fields ---

// Each row as SQLite quotes its values: 'text' with apostrophes doubled, or NULL.
std::vector<std::string> QuotedRows(const SqliteDatabase& db, const std::string& table,
                                    int columns) {
    std::string values;
    for (int c = 1; c <= columns; ++c)
        values += (c > 1 ? " || ' ' || " : "") + std::string("quote(c") + std::to_string(c) + ")";
    return db.Column("SELECT " + values + " FROM \"" + table + "\" ORDER BY rowid");
}

TEST_F(ImportCommandSqlite, QuotesWithAppendSkipHeaderAndAFolder) {
    db.Exec("CREATE TABLE \"T\"(c1, c2, c3)");
    files.Write("d/a.csv",
                "\"id\",\"note, long\",x\r\n1,\"say \"\"hi\"\"\",\"\"\r\n2,\"a\nb\",\r\n");
    files.Write("d/sub/b.csv", "h,h,h\n3,\"c\r\nd\",5\" disk\n");
    files.Write("d/skip.txt", "not,a,csv\r\n");
    const auto r = Import(
        {"--quotes", "--append", "T", "--skip-header", "--extension", "csv", files.File("d")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Done(2, 2, 3, 0));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(QuotedRows(db, "T", 3),
              (std::vector<std::string>{"'1' 'say \"hi\"' ''", "'2' 'a\nb' NULL",
                                        "'3' 'c\r\nd' '5\" disk'"}));
}

TEST_F(ImportCommandSqlite, MalformedRecordIsReportedOnStandardErrorAndTheRestIsSent) {
    db.Exec("CREATE TABLE \"T\"(c1, c2)");
    const auto a = files.Write("a.csv", "1,\"one\"\r\n\"2\"two,x\r\n3,\"three\r\n4,four\r\n");
    const auto r = Import({"--quotes", "--append", "T", a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Done(0, 1, 2, 0, 2));
    EXPECT_EQ(ReportLocations(r.err),
              (std::vector<std::string>{At(import_steps::kMalformedRecord),
                                        At(import_steps::kMalformedRecord)}));
    EXPECT_EQ(ReportDescriptions(r.err),
              (std::vector<std::string>{
                  "Record 2 of the file \"" + a +
                      "\", beginning at line 2, is malformed: text follows the closing quote of a "
                      "field. It is not sent.",
                  "Record 3 of the file \"" + a +
                      "\", beginning at line 3, is malformed: a quoted field is still open at the "
                      "end of the file. It is not sent; reading goes on at line 4."}));
    EXPECT_EQ(QuotedRows(db, "T", 2), (std::vector<std::string>{"'1' 'one'", "'4' 'four'"}));
}

struct ShownName {
    std::string name;
    std::string shown;
};

void PrintTo(const ShownName& name, std::ostream* os) {
    *os << name.shown;
}

class ImportCommandNames : public ImportCommandSqlite,
                           public testing::WithParamInterface<ShownName> {};

// A name's control bytes reach no terminal and split no message, in a report on standard
// error and in a message on standard output alike.
TEST_P(ImportCommandNames, ControlBytesOfAFileNameAreShownAsHex) {
    db.Exec("CREATE TABLE \"T\"(c1, c2)");
    // The first has three fields (a message), the second is empty (a report).
    const std::string misfit = "a/" + GetParam().name, empty = "b/" + GetParam().name;
    files.Write(misfit, "1,2,3\r\n");
    files.Write(empty, "");
    const auto r = Import({"--append", "T", files.File(misfit), files.File(empty)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Misfit(files.File("a/" + GetParam().shown), 3, "T", 2) + Done(0, 2, 0, 0));
    EXPECT_EQ(r.err,
              ReportOnConsole("The file \"" + files.File("b/" + GetParam().shown) + "\" is empty.",
                              kImportTag, import_steps::kAppendDataCheck));
    EXPECT_EQ((r.out + r.err).find('\x1b'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ImportCommandNames,
    testing::Values(ShownName{"a\x1b[31mred\nb.csv", "a\\x1B[31mred\\x0Ab.csv"},
                    ShownName{"del\x7f\ttab\rcr.csv", "del\\x7F\\x09tab\\x0Dcr.csv"}));

TEST(ImportCommandUsage, HelpGoesToStandardOutput) {
    const auto r = RunImportCommand({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kUsageText);
    EXPECT_EQ(r.err, "");
}

struct Usage {
    std::vector<std::string> args;
    std::string error;
};

class ImportCommandBadUsage : public testing::TestWithParam<Usage> {};

TEST_P(ImportCommandBadUsage, ExitsWithTwoAndTheUsage) {
    const auto r = RunImportCommand(GetParam().args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "verrolift-import: " + GetParam().error + "\n" + kUsageText);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ImportCommandBadUsage,
    testing::Values(
        Usage{{}, "no database given: use --sid, --user and --password, or --connection-string"},
        Usage{{"--sid", "x"}, "no PATH given"},
        Usage{{"--sid", "x", "--frobnicate", "a"}, "unknown option --frobnicate"},
        Usage{{"--sid", "x", "a", "--append"}, "--append needs a value"},
        // An empty pattern would skip every file without a word.
        Usage{{"--sid", "x", "--table-name", "", "a"}, "--table-name needs a table name pattern"},
        Usage{{"--sid", "x", "--columns", "a", "--append", "T", "a"},
              "--columns is for create mode, not --append"}));

}  // namespace
}  // namespace verrolift::test

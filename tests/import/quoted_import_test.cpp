// Imports with quoted fields end to end against a real database: SQLite, or the
// PostgreSQL stand-in when built with VERROLIFT_TEST_PG. Files are generated from
// the values they must deliver, and every stored value is compared byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "import/import_messages.h"
#include "import/import_steps.h"
#include "support/import_fixture.h"

namespace verrolift {
namespace {

namespace steps = import_steps;

#ifdef VERROLIFT_TEST_PG
#define QuotedImport PgQuotedImport
#else
#define QuotedImport SqliteQuotedImport
#endif

// A stored value; none for NULL.
using Value = std::optional<std::string>;
using Row = std::vector<Value>;

// Every row of a table, each value as its bytes or none for NULL, in insertion order.
std::vector<Row> StoredRows(const test::ImportBackend& db, const std::string& table) {
    std::vector<Row> rows;
    const auto columns = db.Columns(table);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::string name = "\"" + columns[c] + "\"";
        // A mark before each value tells NULL from every text, the empty one included.
        const auto marked = test::ColumnOn(
            db.ConnectionString(), "SELECT CASE WHEN " + name + " IS NULL THEN 'N' ELSE 'V' || " +
                                       test::ImportBackend::AsText(name) + " END FROM \"" + table +
                                       "\" ORDER BY " + test::ImportBackend::kOrder);
        if (rows.empty()) rows.resize(marked.size());
        for (std::size_t r = 0; r < marked.size(); ++r)
            rows[r].push_back(marked[r].at(0) == 'N' ? Value() : Value(marked[r].substr(1)));
    }
    return rows;
}

// A file as a spreadsheet writes it: a field is quoted when it has to be (it
// holds the separator, a quote at its start, a CR or an LF, or is the empty
// text) and every third field besides; quotes inside quoted fields are doubled.
// NULL is an empty unquoted field; a quote inside an unquoted field stays as it is.
std::string WriteFile(const std::vector<Row>& rows, const std::string& separator,
                      const std::string& lineEnd) {
    std::string out;
    int count = 0;
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += separator;
            if (!row[i]) continue;
            const std::string& v = *row[i];
            const bool quote = ++count % 3 == 0 || v.empty() || v.starts_with('"') ||
                               v.find(separator) != std::string::npos ||
                               v.find_first_of("\r\n") != std::string::npos;
            if (!quote) {
                out += v;
                continue;
            }
            out += '"';
            for (char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
            out += '"';
        }
        out += lineEnd;
    }
    return out;
}

// Names the first row that differs rather than printing thousands. Rows are
// compared in order of their values: PostgreSQL puts a row wherever it finds
// room, so no column tells the order of insertion there.
void ExpectRows(std::vector<Row> stored, std::vector<Row> expected) {
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(stored.size(), expected.size());
    for (std::size_t r = 0; r < stored.size(); ++r)
        ASSERT_EQ(stored[r], expected[r]) << "row " << r;
}

class QuotedImport : public test::ImportFixture {
protected:
    QuotedImport() {
        options_.quotedFields = true;
        options_.separator = ",";
        sending_.batchRows = 7;
    }
};

// --- Generated files: what the file holds is what the table holds ---

struct GeneratedCase {
    const char* name;
    std::string separator;
    std::string lineEnd;
    std::vector<Row> rows;
};

void PrintTo(const GeneratedCase& c, std::ostream* os) {
    *os << c.name;
}

class GeneratedFile : public QuotedImport, public ::testing::WithParamInterface<GeneratedCase> {};

TEST_P(GeneratedFile, EveryValueArrivesAsWritten) {
    const GeneratedCase& c = GetParam();
    options_.separator = c.separator;
    // The header line is read with quotes too, and left out.
    Row header;
    for (std::size_t i = 0; i < c.rows[0].size(); ++i)
        header.push_back("col" + c.separator + std::to_string(i) + "\r\n\"");
    std::vector<Row> lines{header};
    lines.insert(lines.end(), c.rows.begin(), c.rows.end());
    const std::string bytes = WriteFile(lines, c.separator, c.lineEnd);
    for (const bool batches : {false, true}) {
        SCOPED_TRACE(batches ? "in batches" : "one statement per row");
        sending_.batches = batches;
        files_ = VectorFileList();
        dialogs_ = {};
        const std::string table =
            MakeTable(batches ? "genb" : "gen", static_cast<int>(c.rows.at(0).size()));
        UseAppend(table, true);
        AddFile("gen.csv", bytes);
        Run();
        EXPECT_TRUE(dialogs_.reports.empty()) << dialogs_.log.front();
        EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
        ExpectRows(StoredRows(db_, table), c.rows);
    }
}

// Many records of every kind, long enough to cross the reader's buffers.
std::vector<Row> ManyRows() {
    const std::vector<std::string> pieces = {
        "plain", "a,b",  "say \"hi\"", "\"",        "5\" disk", "two\r\nlines", "lf\nonly",
        "",      "it's", " spaced ",   "cr\ralone", "\"\"",     "tab\there",    "trailing,"};
    std::vector<Row> rows;
    unsigned state = 12345;
    for (int r = 0; r < 3000; ++r) {
        Row row;
        for (int c = 0; c < 3; ++c) {
            state = state * 1103515245u + 12345u;
            if ((state >> 16) % 11 == 0) {
                row.emplace_back();
                continue;
            }
            std::string value;
            const int parts = static_cast<int>((state >> 8) % 4);
            for (int p = 0; p <= parts; ++p) value += pieces[(state >> (p * 4)) % pieces.size()];
            if ((state >> 20) % 10 == 0) value += std::string(2000, 'x');
            row.push_back(value);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, GeneratedFile,
    ::testing::Values(
        GeneratedCase{
            "QuotedSeparators", ",", "\r\n", {{"a,b", "c", ",,"}, {",", "plain", "x, y"}}},
        GeneratedCase{"DoubledQuotes",
                      ",",
                      "\r\n",
                      {{"say \"hi\"", "\"", "\"\""}, {"\"start", "end\"", "mid\"dle"}}},
        GeneratedCase{
            "LfInsideACrLfFile", ",", "\r\n", {{"one\ntwo", "\n", "x"}, {"a\n\nb", "y", "last\n"}}},
        GeneratedCase{"CrLfInsideAnLfFile",
                      ",",
                      "\n",
                      {{"one\r\ntwo", "\r\n", "x"}, {"a\r\n\r\nb", "cr\ralone", "\r"}}},
        GeneratedCase{"EmptyQuotedAndUnquoted",
                      ",",
                      "\r\n",
                      {{"", std::nullopt, ""}, {std::nullopt, "", std::nullopt}}},
        GeneratedCase{"QuoteInsideUnquotedFields",
                      ";",
                      "\r\n",
                      {{"5\" disk", "a\"b\"c", "x"}, {"12\"", "y", "O'Brien \"Bob\""}}},
        GeneratedCase{"MultiCharacterSeparator",
                      "<|>",
                      "\r\n",
                      {{"a<|>b", "<", "|>"}, {"<|", "\"q\"<|>", "x"}}},
        GeneratedCase{"ManyRecords", ",", "\r\n", ManyRows()}),
    [](const auto& p) { return std::string(p.param.name); });

// --- Headers, the column check, malformed records ---

TEST_F(QuotedImport, HeaderNamesAreCleanedOfTheirQuotesAndTheHeaderRowIsSent) {
    const std::string stem = db_.Fresh("hdr");
    options_.tableNamePattern = stem + "_[counter]";
    AddFile("a.csv", "\"First, Name\",\"a\"\"b\"\r\n\"O'Brien, Ann\",\r\n");
    Run();
    EXPECT_TRUE(dialogs_.reports.empty()) << dialogs_.log.front();
    EXPECT_EQ(db_.Columns(stem + "_1"), (std::vector<std::string>{"FirstName", "ab"}));
    EXPECT_EQ(StoredRows(db_, stem + "_1"),
              (std::vector<Row>{{"First, Name", "a\"b"}, {"O'Brien, Ann", std::nullopt}}));
}

TEST_F(QuotedImport, TypedNamesAreAskedOncePerQuotedField) {
    const std::string stem = db_.Fresh("typed");
    options_.tableNamePattern = stem + "_[counter]";
    options_.columnSource = ColumnSource::TypedNames;
    dialogs_.inputAnswers = {"id", "note"};
    AddFile("a.csv", "\"a,b\",\"c\r\nd\"\r\n1,\"x\r\ny\"\r\n");
    Run();
    EXPECT_EQ(dialogs_.prompts.size(), 2u);
    EXPECT_EQ(StoredRows(db_, stem + "_1"), (std::vector<Row>{{"1", "x\r\ny"}}));
}

TEST_F(QuotedImport, ColumnCheckCountsQuotedFields) {
    const std::string table = MakeTable("chk", 2);
    UseAppend(table, false);
    AddFile("a.csv", "\"1,2\",3\r\n");
    const std::string misfit = AddFile("b.csv", "\"1\",\"2\",3\r\n");
    Run();
    EXPECT_EQ(dialogs_.messages,
              (std::vector<std::string>{ColumnCountMessage(misfit, ",", 3, table, 2), kDone}));
    EXPECT_EQ(StoredRows(db_, table), (std::vector<Row>{{"1,2", "3"}}));
}

TEST_F(QuotedImport, MalformedRecordsAreReportedOnceInTheirPlaceAndTheRestGoesOn) {
    const std::string table = MakeTable("bad", 2);
    UseAppend(table, true);
    // The header spans two lines; a row the table refuses comes before the malformed records.
    const std::string path = AddFile("a.csv",
                                     "\"h\r\n1\",h2\r\n"
                                     "1,\"one\r\nline two\"\r\n"
                                     "9,9,9\r\n"
                                     "\"2\"x,y\r\n"
                                     "3,\"three\"\r\n"
                                     "4,\"open\r\n"
                                     "5,five\r\n");
    Run();
    using Fault = QuotedRecordReader::Fault;
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kAppendRows.send, steps::kMalformedRecord,
                                steps::kMalformedRecord}));
    EXPECT_EQ(Descriptions().at(1), MalformedRecordMessage(path, {4, 6, Fault::TextAfterQuote}));
    EXPECT_EQ(Descriptions().at(2), MalformedRecordMessage(path, {6, 8, Fault::OpenAtEnd}));
    // The open quote swallowed nothing: reading went on at the line after it.
    EXPECT_EQ(StoredRows(db_, table),
              (std::vector<Row>{{"1", "one\r\nline two"}, {"3", "three"}, {"5", "five"}}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

TEST_F(QuotedImport, UnterminatedQuoteAtTheEndIsReportedAndTheNextFileFollows) {
    const std::string table = MakeTable("end", 2);
    UseAppend(table, false);
    const std::string path = AddFile("a.csv", "a,b\nc,\"d, and so on");
    AddFile("b.csv", "x,\"y\"");
    Run();
    EXPECT_EQ(Descriptions(), std::vector<std::string>{MalformedRecordMessage(
                                  path, {2, 2, QuotedRecordReader::Fault::OpenAtEnd})});
    EXPECT_EQ(StoredRows(db_, table), (std::vector<Row>{{"a", "b"}, {"x", "y"}}));
}

TEST_F(QuotedImport, TableDroppedDuringAFileEndsItAfterOneReport) {
    const std::string table = MakeTable("dropped", 2);
    UseAppend(table, false);
    std::string many;
    for (int i = 0; i < 30; ++i) many += "1,\"2\r\n\"\r\n";
    AddFile("a.csv", many);
    rowHook_.onRow = [&] {
        if (rowHook_.rows == 3)
            test::ExecOn(db_.ConnectionString(), "DROP TABLE \"" + table + "\"");
    };
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kAppendRows.send});
    EXPECT_EQ(rowHook_.rows, 4);
}

TEST_F(QuotedImport, MalformedFirstRecordMakesNoTableAndTheCheckUsesTheFirstGoodRecord) {
    options_.tableNamePattern = db_.Fresh("first") + "_[counter]";
    AddFile("a.csv", "\"a\"b,c\r\n1,2\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kMalformedRecord, steps::kCreateDataCheck}));
    EXPECT_TRUE(tables_.Names().empty());

    // In append mode the malformed record is only left out.
    const std::string table = MakeTable("firstapp", 2);
    UseAppend(table, false);
    dialogs_ = {};
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kMalformedRecord});
    EXPECT_EQ(StoredRows(db_, table), (std::vector<Row>{{"1", "2"}}));
}

}  // namespace
}  // namespace verrolift

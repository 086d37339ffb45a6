// The first pass with quoted fields: the first record kept aside, the rest of the
// file copied as it is for the second pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/working_copy.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

using Fault = QuotedRecordReader::Fault;

struct FirstPassCase {
    const char* name;
    std::string bytes;
    bool dropFirst;  // typed names: the first record is not imported
    std::string copy;
    std::string firstLine;
    std::vector<std::string> firstFields;
    std::vector<Fault> reported;  // each of record 1, line 1
    std::uint64_t copyFromRecord;
    std::uint64_t copyFromLine;
    LineEndMode ends;
    std::uint64_t lines;
    std::uint64_t kept;
};

void PrintTo(const FirstPassCase& c, std::ostream* os) {
    *os << c.name;
}

class QuotedFirstPass : public ::testing::TestWithParam<FirstPassCase> {
protected:
    test::TempDir tmp_;
    test::TempDir files_;
    test::ScopedEnvironment tmpdir_{"TMPDIR", tmp_.Path()};
};

TEST_P(QuotedFirstPass, KeepsTheFirstRecordAsideAndCopiesTheRest) {
    const FirstPassCase& c = GetParam();
    const std::string path = files_.Write("in.csv", c.bytes);
    ImportOptions options;
    options.quotedFields = true;
    if (c.dropFirst) options.columnSource = ColumnSource::TypedNames;
    test::RecordingPump pump;
    std::vector<Fault> reported;
    const PreparedLines prepared = PrepareFile(path, options, pump, [&](const MalformedRecord& r) {
        EXPECT_EQ(r.number, 1u);
        EXPECT_EQ(r.line, 1u);
        reported.push_back(r.fault);
    });
    EXPECT_EQ(test::ReadFileBytes(tmp_.Path() + "/verrolift-" + std::to_string(::geteuid()) +
                                  "/1/upload.txt"),
              c.copy);
    EXPECT_EQ(prepared.firstLine, c.firstLine);
    EXPECT_EQ(prepared.firstFields, c.firstFields);
    EXPECT_EQ(reported, c.reported);
    EXPECT_EQ(prepared.firstRecordMalformed, !c.reported.empty());
    EXPECT_EQ(prepared.copyFromRecord, c.copyFromRecord);
    EXPECT_EQ(prepared.copyFromLine, c.copyFromLine);
    EXPECT_EQ(prepared.lineEnds, c.ends);
    EXPECT_EQ(prepared.lineCount, c.lines);
    EXPECT_EQ(prepared.keptLineCount, c.kept);
    EXPECT_GT(pump.yields, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuotedFirstPass,
    ::testing::Values(
        FirstPassCase{"HeaderKept",
                      "\"a,b\",c\r\n1,2\r\n",
                      false,
                      "\"a,b\",c\r\n1,2\r\n",
                      "\"a,b\",c",
                      {"a,b", "c"},
                      {},
                      1,
                      1,
                      LineEndMode::CrOrCrLf,
                      2,
                      2},
        FirstPassCase{"HeaderOverTwoLinesDropped",
                      "\"a\r\nb\",c\r\n1,\"x\ny\"\r\n",
                      true,
                      "1,\"x\ny\"\r\n",
                      "\"a\r\nb\",c",
                      {"a\r\nb", "c"},
                      {},
                      2,
                      3,
                      LineEndMode::CrOrCrLf,
                      2,
                      1},
        FirstPassCase{"CrEndedHeaderKeptWithCrLf",
                      "h\r1\r2",
                      false,
                      "h\r\n1\r2",
                      "h",
                      {"h"},
                      {},
                      1,
                      1,
                      LineEndMode::CrOrCrLf,
                      2,
                      2},
        FirstPassCase{"LfFile",
                      "\"h\"\n1\r\n2",
                      false,
                      "\"h\"\n1\r\n2",
                      "\"h\"",
                      {"h"},
                      {},
                      1,
                      1,
                      LineEndMode::Lf,
                      2,
                      2},
        FirstPassCase{"OnlyAnUnterminatedHeader",
                      "\"h\"",
                      false,
                      "\"h\"",
                      "\"h\"",
                      {"h"},
                      {},
                      1,
                      1,
                      LineEndMode::CrOrCrLf,
                      1,
                      1},
        FirstPassCase{"RestCopiedAsItIsMalformedOrNot",
                      "h\r\n\"x\"y\r\nz",
                      true,
                      "\"x\"y\r\nz",
                      "h",
                      {"h"},
                      {},
                      2,
                      2,
                      LineEndMode::CrOrCrLf,
                      2,
                      1},
        FirstPassCase{"MalformedHeaderIsReportedAndLeftOut",
                      "\"a\"x,b\r\n1,2\r\n",
                      false,
                      "1,2\r\n",
                      "",
                      {},
                      {Fault::TextAfterQuote},
                      2,
                      2,
                      LineEndMode::CrOrCrLf,
                      2,
                      1},
        FirstPassCase{"OpenHeaderLosesOnlyItsFirstLine",
                      "\"a,b\n1,2\n",
                      true,
                      "1,2\n",
                      "",
                      {},
                      {Fault::OpenAtEnd},
                      2,
                      2,
                      LineEndMode::Lf,
                      2,
                      1},
        FirstPassCase{"EmptyFile", "", false, "", "", {}, {}, 1, 1, LineEndMode::CrOrCrLf, 0, 0},
        FirstPassCase{"OnlyADroppedHeader",
                      "h\r\n",
                      true,
                      "",
                      "h",
                      {"h"},
                      {},
                      2,
                      2,
                      LineEndMode::CrOrCrLf,
                      1,
                      0}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace verrolift

#include <string>

#include <gtest/gtest.h>

#include "app/run_texts.h"

namespace verrolift {
namespace {

struct CaptionCase {
    int position, count;
    long long rows;
    const char* caption;
};

class CaptionText : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionText, NamesTheFileAndTheRowsWithGroupedDigits) {
    const CaptionCase& c = GetParam();
    EXPECT_EQ(ProgressCaptionText("Verrolift", c.position, c.count, c.rows), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Caption, CaptionText,
    ::testing::Values(CaptionCase{1, 1, 0, "Verrolift - file 1 of 1, 0 rows"},
                      CaptionCase{1, 3, 1, "Verrolift - file 1 of 3, 1 row"},
                      CaptionCase{2, 5, 1000, "Verrolift - file 2 of 5, 1,000 rows"},
                      CaptionCase{999, 1000, 123456, "Verrolift - file 999 of 1,000, 123,456 rows"},
                      CaptionCase{7, 12, 1234567890LL,
                                  "Verrolift - file 7 of 12, 1,234,567,890 rows"}));

FileOutcome File(bool imported, std::int64_t sent, std::int64_t refused) {
    FileOutcome file;
    file.imported = imported;
    file.rowsSent = sent;
    file.rowsRefused = refused;
    return file;
}

// A run's outcome and the summary its final box ends with.
struct SummaryCase {
    const char* name;
    RunEnd end;
    std::vector<FileOutcome> files;
    int fileCount;
    const char* message;
};

class FinalMessage : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(FinalMessage, TellsTheClosingWordsThenFilesRowsStoredAndRefused) {
    const SummaryCase& c = GetParam();
    ImportOutcome outcome;
    outcome.end = c.end;
    outcome.files = c.files;
    EXPECT_EQ(FinalRunMessage(outcome, c.fileCount), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    App, FinalMessage,
    ::testing::Values(
        SummaryCase{"TwoOfThree",
                    RunEnd::Done,
                    {File(true, 1000, 4), File(false, 0, 0), File(true, 204, 0)},
                    3,
                    "Done.\r\n\r\n2 of 3 files imported, 1,200 rows stored, 4 rows refused."},
        SummaryCase{"OneFileOneRow",
                    RunEnd::Done,
                    {File(true, 1, 0)},
                    1,
                    "Done.\r\n\r\n1 of 1 file imported, 1 row stored, 0 rows refused."},
        // A file cut short by a lost connection counts its rows, but is not imported.
        SummaryCase{"Clash",
                    RunEnd::TablesAlreadyExist,
                    {File(false, 7, 1), File(false, 0, 0)},
                    2,
                    "Table(s) already exist.\r\n\r\n0 of 2 files imported, 6 rows stored, 1 row "
                    "refused."}),
    [](const ::testing::TestParamInfo<SummaryCase>& p) { return std::string(p.param.name); });

TEST(RefusedRowsBox, NamesTheFileAndTheCountAndTheBadFileFolderOnceThereIsOne) {
    RefusedRows refused{"/data/in.txt", 1234, 10, ""};
    const std::string without = RefusedRowsMessage(refused);
    EXPECT_NE(without.find("/data/in.txt"), std::string::npos) << without;
    EXPECT_NE(without.find("1,234 rows"), std::string::npos) << without;
    EXPECT_EQ(without.find("/data/bad"), std::string::npos) << without;
    refused.badFileFolder = "/data/bad";
    const std::string with = RefusedRowsMessage(refused);
    EXPECT_EQ(with.substr(0, without.size()), without);
    EXPECT_NE(with.find("/data/bad", without.size()), std::string::npos) << with;
}

}  // namespace
}  // namespace verrolift

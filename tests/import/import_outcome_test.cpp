#include "import/import_outcome.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

struct CleanCase {
    RunEnd end;
    int reports;
    FileSkip skip;
    bool clean;
};

class ImportOutcomeClean : public testing::TestWithParam<CleanCase> {};

// Clean is what the command line's exit status 0 stands for: a plain "Done." with no
// report and no file skipped with a message of its own.
TEST_P(ImportOutcomeClean, OnlyAPlainDoneIsClean) {
    ImportOutcome outcome;
    outcome.end = GetParam().end;
    outcome.reports = GetParam().reports;
    outcome.files = {FileOutcome{}, FileOutcome{}};
    outcome.files[1].skip = GetParam().skip;
    EXPECT_EQ(outcome.Clean(), GetParam().clean);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ImportOutcomeClean,
    testing::Values(CleanCase{RunEnd::Done, 0, FileSkip::None, true},
                    CleanCase{RunEnd::Done, 1, FileSkip::None, false},
                    CleanCase{RunEnd::NotStarted, 0, FileSkip::None, false},
                    CleanCase{RunEnd::NoFiles, 0, FileSkip::None, false},
                    CleanCase{RunEnd::NoTableSelected, 0, FileSkip::None, false},
                    CleanCase{RunEnd::TableNameExists, 0, FileSkip::None, false},
                    CleanCase{RunEnd::TablesAlreadyExist, 0, FileSkip::None, false},
                    CleanCase{RunEnd::Done, 0, FileSkip::ColumnCountMismatch, false},
                    CleanCase{RunEnd::Done, 0, FileSkip::NoColumnName, false}));

}  // namespace
}  // namespace verrolift

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/run_dialogs.h"
#include "base/error_report.h"
#include "import/import_messages.h"
#include "import/import_steps.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

namespace steps = import_steps;

ErrorReport Report(std::int32_t step) {
    return ErrorReport{std::string(tags::kMainImport), step, "refused"};
}

// Counts what reached the window's progress display.
class CountingProgress : public ImportProgress {
public:
    void FileStarted(int position, int) override { started.push_back(position); }
    void RowSent() override { ++sent; }
    void RowRefused() override { ++refused; }
    std::vector<int> started;
    int sent = 0;
    int refused = 0;
};

// The refused rows of each file of a run, and the boxes the user sees of them.
struct BoundCase {
    const char* name;
    std::int32_t step;  // where the rows were refused
    std::vector<int> refusedPerFile;
    int reportsShown;
    std::vector<std::string> countedFiles;  // the files that end with a count box
};

class BoundedReports : public ::testing::TestWithParam<BoundCase> {};

TEST_P(BoundedReports, TenRowsOneBoxEachThenOneCountAtTheEndOfTheFile) {
    const BoundCase& c = GetParam();
    test::RecordingDialogs window;
    CountingProgress progress;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < c.refusedPerFile.size(); ++i)
        files.push_back("/in/f" + std::to_string(i + 1) + ".txt");
    RunDialogs run(window, &progress, files);
    const int count = static_cast<int>(files.size());
    for (int f = 0; f < count; ++f) {
        run.FileStarted(f + 1, count);
        for (int r = 0; r < c.refusedPerFile[static_cast<std::size_t>(f)]; ++r) {
            run.ShowErrorReport(Report(c.step));
            run.RowSent();
            run.RowRefused();
        }
    }
    run.EndRun();

    EXPECT_EQ(static_cast<int>(window.reports.size()), c.reportsShown);
    ASSERT_EQ(window.messages.size(), c.countedFiles.size());
    for (std::size_t i = 0; i < c.countedFiles.size(); ++i)
        EXPECT_NE(window.messages[i].find(c.countedFiles[i]), std::string::npos)
            << window.messages[i];
    // Counted or shown, every row still reaches the progress display.
    int total = 0;
    for (int n : c.refusedPerFile) total += n;
    EXPECT_EQ(progress.refused, total);
    EXPECT_EQ(progress.sent, total);
    EXPECT_EQ(static_cast<int>(progress.started.size()), count);
}

INSTANTIATE_TEST_SUITE_P(
    App, BoundedReports,
    ::testing::Values(
        BoundCase{"None", steps::kHeaderRows.send, {0}, 0, {}},
        BoundCase{"Ten", steps::kHeaderRows.send, {10}, 10, {}},
        BoundCase{"Eleven", steps::kTypedRows.send, {11}, 10, {"/in/f1.txt"}},
        BoundCase{"ThreeHundred", steps::kAppendRows.send, {300}, 10, {"/in/f1.txt"}},
        // Each file has ten of its own.
        BoundCase{
            "PerFile", steps::kHeaderRows.send, {300, 5, 12}, 25, {"/in/f1.txt", "/in/f3.txt"}}),
    [](const ::testing::TestParamInfo<BoundCase>& p) { return std::string(p.param.name); });

TEST(BoundedReports, TheCountOfAFileComesBeforeAnythingOfTheNextFile) {
    test::RecordingDialogs window;
    RunDialogs run(window, nullptr, {"/in/a.txt", "/in/b.txt"});
    run.FileStarted(1, 2);
    for (int r = 0; r < 11; ++r) run.ShowErrorReport(Report(steps::kHeaderRows.send));
    run.FileStarted(2, 2);
    run.ShowErrorReport(Report(steps::kOpenConnection));
    ASSERT_EQ(window.log.size(), 12u);
    EXPECT_EQ(window.log[10].rfind("message: ", 0), 0u) << window.log[10];
    EXPECT_NE(window.log[10].find("/in/a.txt"), std::string::npos) << window.log[10];
    EXPECT_EQ(window.log[11].rfind("report 124", 0), 0u) << window.log[11];
}

TEST(BoundedReports, OtherReportsAreNeverHeldBack) {
    test::RecordingDialogs window;
    RunDialogs run(window, nullptr, {"/in/a.txt"});
    run.FileStarted(1, 1);
    for (int r = 0; r < 20; ++r) run.ShowErrorReport(Report(steps::kHeaderRows.send));
    for (std::int32_t step : {steps::kHeaderRows.build, steps::kMalformedRecord,
                              steps::kCloseConnection, steps::kHeaderCreate})
        run.ShowErrorReport(Report(step));
    // A report of another command at a number that a row step has here.
    run.ShowErrorReport(ErrorReport{std::string(tags::kMainLoad), steps::kHeaderRows.send, "x"});
    EXPECT_EQ(window.reports.size(), 15u);
}

TEST(RunDialogs, KeepsTheClosingWordsBackAndPassesOtherMessagesAndPrompts) {
    test::RecordingDialogs window;
    window.inputAnswers.push_back("Name");
    RunDialogs run(window, nullptr, {});
    run.ShowMessage(kNoFilesAdded);
    EXPECT_EQ(run.AskColumnName(ColumnPrompt(1), 1), "Name");
    EXPECT_FALSE(run.ClosingWords().has_value());
    run.ShowMessage(kTablesAlreadyExist);
    EXPECT_EQ(run.ClosingWords(), std::optional<std::string>(kTablesAlreadyExist));
    EXPECT_EQ(window.messages, std::vector<std::string>{kNoFilesAdded});
    EXPECT_EQ(window.prompts.size(), 1u);
}

}  // namespace
}  // namespace verrolift

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/error_report.h"
#include "files/add_files.h"
#include "files/add_files_steps.h"
#include "support/file_lists.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

const std::string kTooManyFiles =
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";

struct PickCase {
    const char* name;
    std::vector<std::string> picked;
    std::vector<std::string> expected;
};

class AddFilesPicks : public ::testing::TestWithParam<PickCase> {};

TEST_P(AddFilesPicks, AddsWhatTheDialogReturnedInItsOrder) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back(GetParam().picked);
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Snapshot(), GetParam().expected);
    EXPECT_TRUE(dialogs.log.empty()) << dialogs.log.front();
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, AddFilesPicks,
    ::testing::Values(PickCase{"Cancelled", {}, {}},
                      PickCase{"OneFile", {"/data/orders.txt"}, {"/data/orders.txt"}},
                      // One picked path is taken exactly as the dialog gave it.
                      PickCase{"OneFileUnnormalised", {"/data//orders.txt"}, {"/data//orders.txt"}},
                      PickCase{"ThreeFilesInOneFolder",
                               {"/data/in/c.txt", "/data/in/a.txt", "/data/in/b.csv"},
                               {"/data/in/c.txt", "/data/in/a.txt", "/data/in/b.csv"}},
                      PickCase{"TwoFilesInTheRoot", {"/a.txt", "/b.txt"}, {"/a.txt", "/b.txt"}},
                      PickCase{"NamesWithBlanksAndQuotes",
                               {"/data/my files/it's here.txt", "/data/my files/x;y.txt"},
                               {"/data/my files/it's here.txt", "/data/my files/x;y.txt"}},
                      // Not what a dialog gives, but nothing may be lost: paths keep their folders.
                      PickCase{"DifferentFolders",
                               {"/data/one/a.txt", "/data/two/b.txt"},
                               {"/data/one/a.txt", "/data/two/b.txt"}}),
    [](const ::testing::TestParamInfo<PickCase>& p) { return std::string(p.param.name); });

TEST(AddFiles, ShowsTheDialogWithItsTitleAndFilter) {
    test::RecordingDialogs dialogs;
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    ASSERT_EQ(dialogs.fileDialogTitles.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogTitles[0], "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(dialogs.fileDialogFilters[0],
              "Text Files (*.txt)|*.txt|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|");
}

TEST(AddFiles, AppendsBehindTheEntriesAlreadyListedAndAllowsDuplicates) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back({"/d/a.txt"});
    dialogs.fileAnswers.push_back({"/d/a.txt", "/d/b.txt"});
    VectorFileList files({"/d/first.txt"});
    AddFilesCommand(files, dialogs);
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Snapshot(),
              (std::vector<std::string>{"/d/first.txt", "/d/a.txt", "/d/a.txt", "/d/b.txt"}));
}

// Picks in folder "/d" whose result text (folder, then NUL and name per file)
// is exactly `length` bytes long.
std::vector<std::string> PicksWithResultLength(std::size_t length) {
    const std::string folder = "/d";
    std::vector<std::size_t> costs;  // a NUL and a name each
    std::size_t remaining = length - folder.size();
    while (remaining >= 200) {
        costs.push_back(100);
        remaining -= 100;
    }
    costs.push_back(remaining / 2);
    costs.push_back(remaining - remaining / 2);
    std::vector<std::string> picks;
    for (std::size_t i = 0; i < costs.size(); ++i) {
        std::string name = std::to_string(i) + "_";
        name.resize(costs[i] - 1, 'x');
        picks.push_back(folder + "/" + name);
    }
    return picks;
}

TEST(AddFiles, ResultThatFillsTheBufferWithItsClosingNulIsAdded) {
    const auto picks = PicksWithResultLength(29999);
    std::size_t resultLength = 2;
    for (const auto& pick : picks) resultLength += pick.size() - 2;
    ASSERT_EQ(resultLength, 29999u);
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back(picks);
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Snapshot(), picks);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(AddFiles, ResultOneCharacterTooLongShowsTheTooManyFilesMessageAndAddsNothing) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back(PicksWithResultLength(30000));
    VectorFileList files({"/kept.txt"});
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Snapshot(), std::vector<std::string>{"/kept.txt"});
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kTooManyFiles});
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST(AddFiles, ThousandsOfPickedFilesShowTheTooManyFilesMessage) {
    std::vector<std::string> picks;
    for (int i = 0; i < 2000; ++i)
        picks.push_back("/home/user/exports/daily/report_" + std::to_string(i) + ".txt");
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back(picks);
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"message: " + kTooManyFiles});
}

TEST(AddFiles, OnePathTooLongForTheBufferShowsTheTooManyFilesMessage) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back({"/" + std::string(29999, 'n')});
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kTooManyFiles});
}

TEST(AddFiles, FailureWhileAddingOneOfSeveralIsReportedWithStep140AndTheRestAreAdded) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back({"/d/a.txt", "/d/b.txt", "/d/c.txt"});
    test::FailingFileList files("/d/b.txt");
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Snapshot(), (std::vector<std::string>{"/d/a.txt", "/d/c.txt"}));
    ASSERT_EQ(dialogs.reports.size(), 1u);
    EXPECT_EQ(dialogs.reports[0].tag, tags::kMainAddFiles);
    EXPECT_EQ(dialogs.reports[0].step, add_files_steps::kAddEachFile);
    EXPECT_EQ(dialogs.reports[0].description, "Out of memory");
}

TEST(AddFiles, FailureWhileAddingTheOnlyFileIsReportedWithStep122) {
    test::RecordingDialogs dialogs;
    dialogs.fileAnswers.push_back({"/d/a.txt"});
    test::FailingFileList files("/d/a.txt");
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_EQ(dialogs.ReportSteps(), std::vector<int>{add_files_steps::kAddOnlyFile});
}

// A dialog that fails to open.
class BrokenDialogs : public test::RecordingDialogs {
public:
    std::vector<std::string> PickFiles(const std::string&, const std::string&) override {
        throw std::runtime_error("No display");
    }
};

TEST(AddFiles, DialogThatFailsIsReportedWithStep112AndNothingIsAdded) {
    BrokenDialogs dialogs;
    VectorFileList files;
    AddFilesCommand(files, dialogs);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_EQ(dialogs.ReportSteps(), std::vector<int>{add_files_steps::kPickFiles});
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace verrolift

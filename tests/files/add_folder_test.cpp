#include "files/add_folder.h"

#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/failure.h"
#include "files/add_folder_steps.h"
#include "support/file_lists.h"
#include "support/folder_tree.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const kPrompt =
    "Enter file extension to load:\r\r"
    "(* for all files, txt for all txt files, doc for all doc files, etc.)";

class MemorySettings : public SettingsStore {
public:
    std::string GetSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view defaultValue) override {
        if (failReads) throw Failure("store unreadable");
        auto it = values.find(Address(application, section, key));
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                     std::string_view value) override {
        if (failWrites) throw Failure("store read-only");
        values[Address(application, section, key)] = std::string(value);
        writes.push_back(std::string(key) + "=" + std::string(value));
    }
    static std::string Address(std::string_view a, std::string_view s, std::string_view k) {
        return std::string(a) + "/" + std::string(s) + "/" + std::string(k);
    }
    std::string Value(std::string_view key) const {
        auto it = values.find(Address("Corvendel", "Verrolift", key));
        return it == values.end() ? "<absent>" : it->second;
    }
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;
    bool failReads = false;
    bool failWrites = false;
};

class AddFolder : public ::testing::Test {
protected:
    void Run() {
        AddFolderContext context{files, dialogs, settings, pump, pointer};
        AddFolderCommand(context);
    }
    void Answer(const std::string& extension, const std::string& folder) {
        dialogs.inputAnswers.push_back(extension);
        dialogs.folderAnswers.push_back(folder);
    }
    test::FolderTree tree;
    test::CountingFileList files;
    test::RecordingDialogs dialogs;
    MemorySettings settings;
    test::RecordingPump pump;
    test::RecordingPointer pointer;
};

// ---- The two questions ----------------------------------------------------

TEST_F(AddFolder, FirstUseOffersTxtAndOpensThePickerWithoutFolder) {
    Run();  // both cancelled
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, kPrompt);
    EXPECT_EQ(dialogs.prompts[0].defaultAnswer, "txt");
    EXPECT_THAT(dialogs.folderTitles, IsEmpty());  // cancelled prompt: no picker
    EXPECT_THAT(settings.writes, IsEmpty());
    EXPECT_EQ(files.Count(), 0);
    EXPECT_THAT(pointer.history, IsEmpty());
}

TEST_F(AddFolder, ExtensionIsSavedEvenWhenThePickerIsCancelled) {
    settings.values[MemorySettings::Address("Corvendel", "Verrolift", "LastFolder")] = "/old";
    dialogs.inputAnswers.push_back("csv");
    Run();
    EXPECT_EQ(settings.Value("Extension"), "csv");
    EXPECT_EQ(settings.Value("LastFolder"), "/old");
    EXPECT_THAT(settings.writes, ElementsAre("Extension=csv"));
    EXPECT_THAT(dialogs.folderTitles, ElementsAre("Please select folder:"));
    EXPECT_THAT(dialogs.folderStarts, ElementsAre("/old"));
    EXPECT_EQ(files.Count(), 0);
    EXPECT_THAT(pointer.history, IsEmpty());
}

TEST_F(AddFolder, AnswersAreRememberedForNextTime) {
    tree.File("a.doc");
    Answer("doc", tree.Root());
    Run();
    EXPECT_EQ(settings.Value("Extension"), "doc");
    EXPECT_EQ(settings.Value("LastFolder"), tree.Root());
    dialogs.inputAnswers.push_back("doc");
    Run();  // the picker cancelled this time
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[1].defaultAnswer, "doc");
    EXPECT_THAT(dialogs.folderStarts, ElementsAre("", tree.Root()));
    EXPECT_EQ(settings.Value("LastFolder"), tree.Root());
}

TEST_F(AddFolder, ExtensionIsUsedExactlyAsTyped) {
    tree.File("a.txt");
    tree.File("b. txt");
    Answer(" txt", tree.Root());
    Run();
    EXPECT_EQ(settings.Value("Extension"), " txt");
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path("b. txt")));
}

// ---- What is added -------------------------------------------------------

TEST_F(AddFolder, OwnFilesFirstThenLevelByLevel) {
    tree.File("start/z.txt");
    tree.File("start/a.txt");
    tree.File("start/B/b.txt");
    tree.File("start/C/c.txt");
    tree.File("start/B/D/d.txt");
    tree.File("start/B/skip.csv");
    Answer("txt", tree.Path("start"));
    Run();
    EXPECT_THAT(
        files.Snapshot(),
        ElementsAre(tree.Path("start/a.txt"), tree.Path("start/z.txt"), tree.Path("start/B/b.txt"),
                    tree.Path("start/C/c.txt"), tree.Path("start/B/D/d.txt")));
    EXPECT_EQ(files.batches, 1);
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST_F(AddFolder, ExtensionMatchesInAnyLetterCase) {
    tree.File("A.CSV");
    tree.File("b.csv");
    tree.File("sub/C.Csv");
    tree.File("d.txt");
    tree.File("e.csvx");
    Answer("csv", tree.Root());
    Run();
    EXPECT_THAT(files.Snapshot(),
                ElementsAre(tree.Path("A.CSV"), tree.Path("b.csv"), tree.Path("sub/C.Csv")));
}

TEST_F(AddFolder, StarAddsEveryFileButLockAndDotFiles) {
    tree.File("README");
    tree.File("a.txt");
    tree.File("b.doc");
    tree.File("~$report.txt");
    tree.File(".hidden.txt");
    const std::string readOnlyDot = tree.File(".readonly");
    ::chmod(readOnlyDot.c_str(), 0444);            // read-only + hidden + archive: not exactly 34
    tree.File(".config/settings.txt");             // a dot-folder is scanned
    tree.Link(".linked.txt", tree.Path("a.txt"));  // a link is a reparse point: not 34
    tree.Fifo("pipe");
    Answer("*", tree.Root());
    Run();
    EXPECT_THAT(
        files.Snapshot(),
        ElementsAre(tree.Path(".linked.txt"), tree.Path(".readonly"), tree.Path("README"),
                    tree.Path("a.txt"), tree.Path("b.doc"), tree.Path(".config/settings.txt")));
}

TEST_F(AddFolder, FolderWithoutMatchesAddsNothingAndSaysNothing) {
    tree.File("a.csv");
    Answer("txt", tree.Root());
    Run();
    EXPECT_EQ(files.Count(), 0);
    EXPECT_TRUE(dialogs.log.size() == 1u);  // only the prompt
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST_F(AddFolder, FilesAlreadyListedAreAddedAgain) {
    tree.File("a.txt");
    Answer("txt", tree.Root());
    Answer("txt", tree.Root());
    Run();
    Run();
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path("a.txt"), tree.Path("a.txt")));
}

TEST_F(AddFolder, PickedFolderWithTrailingSeparatorGivesCleanPaths) {
    tree.File("sub/a.txt");
    Answer("txt", tree.Root() + "/");
    Run();
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path("sub/a.txt")));
}

TEST_F(AddFolder, BusyWhileScanningThenDefault) {
    tree.File("a/b.txt");
    PointerShape during = PointerShape::Default;
    pump.onYield = [&] { during = pointer.current; };
    Answer("txt", tree.Root());
    Run();
    EXPECT_EQ(during, PointerShape::Busy);
    EXPECT_THAT(pointer.history, ElementsAre(PointerShape::Busy, PointerShape::Default));
    EXPECT_GT(pump.yields, 0);
}

TEST_F(AddFolder, LinkLoopAddsEachFileOnce) {
    tree.File("A/a.txt");
    tree.File("A/B/b.txt");
    tree.Link("A/B/up", tree.Path("A"));
    Answer("txt", tree.Path("A"));
    Run();
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path("A/a.txt"), tree.Path("A/B/b.txt")));
}

TEST_F(AddFolder, FilesOfAFolderTooLongToEnterAreStillAdded) {
    const std::size_t base = tree.Root().size() + 2;
    ASSERT_LT(base + 10, 260u);
    const std::string long260(260 - base, 'l');
    tree.File(long260 + "/mine.txt");
    tree.File(long260 + "/below/not.txt");
    Answer("txt", tree.Root());
    Run();
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path(long260 + "/mine.txt")));
}

// ---- Failures -----------------------------------------------------------

TEST_F(AddFolder, UnreadableStoreIsReportedAndEndsAtTheEmptyAnswer) {
    settings.failReads = true;
    Answer("txt", tree.Root());
    Run();
    ASSERT_EQ(dialogs.reports.size(), 1u);
    EXPECT_EQ(dialogs.reports[0].tag, "in Pellucor2021/08/31.Form2.PushButton4_Click ");
    EXPECT_EQ(dialogs.reports[0].step, add_folder_steps::kAskExtension);
    EXPECT_EQ(dialogs.reports[0].description, "store unreadable");
    EXPECT_EQ(files.Count(), 0);
}

TEST_F(AddFolder, UnwritableStoreIsReportedAndTheCommandGoesOn) {
    tree.File("a.txt");
    settings.failWrites = true;
    Answer("txt", tree.Root());
    Run();
    EXPECT_THAT(dialogs.ReportSteps(),
                ElementsAre(add_folder_steps::kSaveExtension, add_folder_steps::kSaveFolder));
    EXPECT_THAT(files.Snapshot(), ElementsAre(tree.Path("a.txt")));
    EXPECT_THAT(pointer.history, ElementsAre(PointerShape::Busy, PointerShape::Default));
}

TEST_F(AddFolder, VanishedFolderAddsNothingWithoutReport) {
    Answer("txt", tree.Path("gone"));
    Run();
    EXPECT_EQ(files.Count(), 0);
    EXPECT_TRUE(dialogs.reports.empty());
    EXPECT_EQ(settings.Value("LastFolder"), tree.Path("gone"));
}

TEST_F(AddFolder, ClosingProgramStopsTheCommand) {
    tree.File("a/b.txt");
    pump.onYield = [] { throw RunAborted{}; };
    Answer("txt", tree.Root());
    EXPECT_THROW(Run(), RunAborted);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_TRUE(dialogs.reports.empty());
}

}  // namespace
}  // namespace verrolift

#include "cli/cli_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/error_report.h"
#include "files/add_folder_steps.h"
#include "support/folder_tree.h"
#include "support/non_root.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;

class CliPaths : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("f/a.txt");
        tree.File("f/B.CSV");
        tree.File("f/~x.csv");
        tree.File("f/.dot.csv");
        tree.File("f/sub/c.csv");
        tree.File("f/sub/d");
        file = tree.File("given.txt");
    }
    std::vector<std::string> Entries(const std::vector<std::string>& paths,
                                     std::optional<std::string> extension) {
        return CliPathEntries(paths, extension, pump, dialogs, folderCommand);
    }
    test::FolderTree tree;
    std::string file;
    test::RecordingDialogs dialogs;
    ProtectedHandler folderCommand{tags::kMainAddFolder, dialogs};

    // The folder command's reports, each as "<step> <description>".
    std::vector<std::string> Failures() const {
        std::vector<std::string> failures;
        for (const auto& report : dialogs.reports)
            if (report.tag == tags::kMainAddFolder)
                failures.push_back(std::to_string(report.step) + " " + report.description);
        return failures;
    }
    NoEventPump pump;

    // Runs Entries as a user who is not root and says where the entries or the folder
    // command's reports differ from those expected; empty when they match.
    std::string AsNonRoot(const std::vector<std::string>& paths,
                          std::optional<std::string> extension,
                          const std::vector<std::string>& entries,
                          const std::vector<std::string>& failures) {
        return test::RunAsNonRoot([&]() -> std::string {
            const auto got = Entries(paths, extension);
            std::string out;
            if (Failures() != failures) out += "failures: " + testing::PrintToString(Failures());
            if (got != entries) out += "\nentries: " + testing::PrintToString(got);
            return out;
        });
    }
};

TEST_F(CliPaths, FolderWithoutExtensionAddsEveryFileAsADrop) {
    EXPECT_THAT(Entries({tree.Path("f")}, std::nullopt),
                ElementsAre(tree.Path("f/B.CSV"), tree.Path("f/a.txt"), tree.Path("f/sub/c.csv"),
                            tree.Path("f/sub/d")));
    EXPECT_TRUE(Failures().empty());
}

TEST_F(CliPaths, EmptyExtensionCountsAsNone) {
    EXPECT_EQ(Entries({tree.Path("f")}, std::string()), Entries({tree.Path("f")}, std::nullopt));
}

TEST_F(CliPaths, FolderWithExtensionAddsOnlyThoseFiles) {
    EXPECT_THAT(Entries({tree.Path("f")}, std::string("csv")),
                ElementsAre(tree.Path("f/B.CSV"), tree.Path("f/sub/c.csv")));
}

TEST_F(CliPaths, FilesAreTakenAsGivenInArgumentOrder) {
    const std::string lock = tree.Path("f/~x.csv");
    const std::string missing = tree.Path("missing.txt");
    EXPECT_THAT(Entries({file, tree.Path("f/sub"), lock, missing}, std::string("txt")),
                ElementsAre(file, lock, missing));  // sub holds no .txt file
    EXPECT_THAT(Entries({tree.Path("f/sub"), file}, std::string("csv")),
                ElementsAre(tree.Path("f/sub/c.csv"), file));
}

TEST_F(CliPaths, AFolderThatCannotBeListedIsReportedAndTheOthersGoOn) {
    tree.File("denied/d.txt");
    tree.File("open/o.txt");
    // Reachable by the child that is not root, but for "denied".
    for (const std::string& p : {tree.Root(), tree.Path("open")}) ::chmod(p.c_str(), 0755);
    ::chmod(tree.Path("denied").c_str(), ::geteuid() == 0 ? 0700 : 0);
    EXPECT_EQ(AsNonRoot({tree.Path("denied"), tree.Path("open")}, std::string("txt"),
                        {tree.Path("open/o.txt")},
                        {std::to_string(add_folder_steps::kSubfolders) + " The folder \"" +
                         tree.Path("denied") + "\" cannot be read: " + std::strerror(EACCES)}),
              "");
}

TEST_F(CliPaths, ASubfolderThatCannotBeListedIsReportedByItsPathAndTheScanGoesOn) {
    tree.File("top/t.txt");
    tree.File("top/a/denied/d.txt");
    tree.File("top/a/open/o.txt");
    for (const std::string& p :
         {tree.Root(), tree.Path("top"), tree.Path("top/a"), tree.Path("top/a/open")})
        ::chmod(p.c_str(), 0755);
    ::chmod(tree.Path("top/a/denied").c_str(), 0);
    // Given with a trailing separator, the folder's path is still shown as the files' are.
    EXPECT_EQ(
        AsNonRoot({tree.Path("top") + "/"}, std::nullopt,
                  {tree.Path("top/t.txt"), tree.Path("top/a/open/o.txt")},
                  {std::to_string(add_folder_steps::kSubfolders) + " The folder \"" +
                   tree.Path("top/a/denied") + "\" cannot be read: " + std::strerror(EACCES)}),
        "");
}

// Only a folder that does not list is reported here; one that lists goes to the scan,
// whether it holds nothing, may be read but not entered, or is reached through a link.
TEST_F(CliPaths, FoldersThatListAreLeftToTheScanWhateverTheyHold) {
    tree.Folder("empty");
    tree.File("unsearchable/u.txt");
    tree.Link("link", tree.Path("f/sub"));
    for (const std::string& p :
         {tree.Root(), tree.Path("empty"), tree.Path("f"), tree.Path("f/sub")})
        ::chmod(p.c_str(), 0755);
    ::chmod(tree.Path("unsearchable").c_str(), 0444);
    EXPECT_EQ(
        AsNonRoot({tree.Path("empty"), tree.Path("link"), tree.Path("unsearchable")}, std::nullopt,
                  {tree.Path("link/c.csv"), tree.Path("link/d"), tree.Path("unsearchable/u.txt")},
                  {}),
        "");
}

}  // namespace
}  // namespace verrolift

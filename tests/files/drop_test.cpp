#include "files/drop.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/failure.h"
#include "support/file_lists.h"
#include "support/folder_tree.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;

class Drop : public ::testing::Test {
protected:
    std::vector<std::string> DropPaths(const std::vector<std::string>& paths) {
        DropOnFileList(paths, files, pump, dialogs);
        return files.Snapshot();
    }
    test::FolderTree tree;
    test::CountingFileList files;
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
};

TEST_F(Drop, FilesAreAddedExactlyAsDroppedInDropOrder) {
    const std::string c = tree.File("c.csv");
    const std::string lock = tree.File("~$lock.txt");
    const std::string dot = tree.File(".hidden");
    const std::string odd = tree.Root() + "//double";  // not normalised, not even existing
    EXPECT_THAT(DropPaths({c, lock, dot, odd}), ElementsAre(c, lock, dot, odd));
    EXPECT_EQ(files.batches, 1);
}

TEST_F(Drop, FolderAddsEveryFileBelowItWithoutLockAndDotFiles) {
    tree.File("f/b.doc");
    tree.File("f/a.txt");
    tree.File("f/README");
    tree.File("f/~tmp.txt");
    tree.File("f/.hidden.txt");
    tree.File("f/sub/c.csv");
    tree.File("f/.dotdir/d.txt");
    EXPECT_THAT(DropPaths({tree.Path("f")}),
                ElementsAre(tree.Path("f/README"), tree.Path("f/a.txt"), tree.Path("f/b.doc"),
                            tree.Path("f/.dotdir/d.txt"), tree.Path("f/sub/c.csv")));
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST_F(Drop, FileAndFolderTogetherKeepDropOrder) {
    const std::string file = tree.File("lone.txt");
    tree.File("f/in.txt");
    EXPECT_THAT(DropPaths({file, tree.Path("f")}), ElementsAre(file, tree.Path("f/in.txt")));
    files = test::CountingFileList();
    EXPECT_THAT(DropPaths({tree.Path("f"), file}), ElementsAre(tree.Path("f/in.txt"), file));
}

TEST_F(Drop, TwoFoldersAddEachOnce) {
    tree.File("one/1.txt");
    tree.File("two/2.txt");
    EXPECT_THAT(DropPaths({tree.Path("one"), tree.Path("two")}),
                ElementsAre(tree.Path("one/1.txt"), tree.Path("two/2.txt")));
    EXPECT_EQ(files.batches, 1);
}

TEST_F(Drop, LinkToFolderCountsAsFolder) {
    tree.File("real/r.txt");
    const std::string link = tree.Link("link", tree.Path("real"));
    EXPECT_THAT(DropPaths({link}), ElementsAre(tree.Path("link/r.txt")));
}

TEST_F(Drop, EmptyFolderAddsNothing) {
    tree.Folder("empty");
    EXPECT_THAT(DropPaths({tree.Path("empty")}), ElementsAre());
    EXPECT_EQ(files.batches, 0);
}

TEST_F(Drop, FifoDroppedAsFileIsAddedWithoutBeingOpened) {
    const std::string fifo = tree.Fifo("pipe");
    EXPECT_THAT(DropPaths({fifo}), ElementsAre(fifo));
}

TEST_F(Drop, DroppedEntriesDoesNotTouchTheList) {
    tree.File("f/a.txt");
    EXPECT_THAT(DroppedEntries({tree.Path("f")}, pump, dialogs), ElementsAre(tree.Path("f/a.txt")));
    EXPECT_EQ(files.Count(), 0);
}

}  // namespace
}  // namespace verrolift

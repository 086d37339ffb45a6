#include "files/file_attributes.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "support/folder_tree.h"

namespace verrolift {
namespace {

using namespace attributes;

TEST(FileAttributes, PosixMeaningOfEachBit) {
    test::FolderTree tree;
    const std::string plain = tree.File("plain.txt");
    const std::string dot = tree.File(".hidden.txt");
    const std::string readOnly = tree.File("ro.txt");
    ::chmod(readOnly.c_str(), 0444);
    const std::string dotReadOnly = tree.File(".ro");
    ::chmod(dotReadOnly.c_str(), 0444);
    const std::string folder = tree.Folder("folder");
    const std::string dotFolder = tree.Folder(".git");
    const std::string fileLink = tree.Link("link.txt", plain);
    const std::string folderLink = tree.Link("folderlink", folder);
    const std::string dangling = tree.Link("dangling", tree.Path("missing"));
    const std::string fifo = tree.Fifo("pipe");

    EXPECT_EQ(FileAttributes(plain), kArchive);
    EXPECT_EQ(FileAttributes(dot), kArchiveHidden);
    EXPECT_EQ(FileAttributes(dot), 34u);
    EXPECT_EQ(FileAttributes(readOnly), kArchive | kReadOnly);
    EXPECT_EQ(FileAttributes(dotReadOnly), 35u);
    EXPECT_EQ(FileAttributes(folder), kDirectory);
    EXPECT_EQ(FileAttributes(folder + "/"), kDirectory);
    EXPECT_EQ(FileAttributes(dotFolder), 18u);
    EXPECT_EQ(FileAttributes(fileLink), kArchive | kReparsePoint);
    EXPECT_EQ(FileAttributes(folderLink), kDirectory | kReparsePoint);
    // A trailing separator must not turn the link into its target.
    EXPECT_EQ(FileAttributes(folderLink + "/"), kDirectory | kReparsePoint);
    EXPECT_EQ(FileAttributes(dangling), kReparsePoint);
    EXPECT_EQ(FileAttributes(fifo), 0u);
    EXPECT_EQ(FileAttributes("/"), kDirectory);
}

TEST(FileAttributes, SystemIsNeverSet) {
    test::FolderTree tree;
    for (const auto& path : {tree.File(".a"), tree.Folder(".b"), tree.Root(), std::string("/")})
        EXPECT_EQ(FileAttributes(path) & kSystem, 0u) << path;
}

TEST(FileAttributes, MissingPathFails) {
    test::FolderTree tree;
    EXPECT_THROW(FileAttributes(tree.Path("missing")), Failure);
    EXPECT_THROW(FileAttributes(""), Failure);
}

TEST(AttributesFromFacts, HiddenComesFromTheNameAlone) {
    FileFacts facts;
    facts.targetKnown = true;
    facts.regular = true;
    facts.ownerWritable = true;
    EXPECT_EQ(AttributesFromFacts(".x", facts), 34u);
    EXPECT_EQ(AttributesFromFacts("x", facts), 32u);
    EXPECT_EQ(AttributesFromFacts("", facts), 32u);
}

}  // namespace
}  // namespace verrolift

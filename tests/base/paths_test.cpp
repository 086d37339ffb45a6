#include "base/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace verrolift {
namespace {

struct NormalizeCase {
    const char* in;
    const char* out;
};

class NormalizePathTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizePathTest, CollapsesSeparatorRuns) {
    EXPECT_EQ(NormalizePath(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Posix, NormalizePathTest,
                         ::testing::Values(NormalizeCase{"", ""},
                                           NormalizeCase{"/data/x.txt", "/data/x.txt"},
                                           NormalizeCase{"//data//x.txt", "/data/x.txt"},
                                           NormalizeCase{"/data///x.txt", "/data/x.txt"},
                                           NormalizeCase{"////", "/"},
                                           NormalizeCase{"rel//a", "rel/a"},
                                           NormalizeCase{"a\\\\b", "a\\\\b"}));

TEST(FolderOf, UpToAndIncludingLastSeparator) {
    EXPECT_EQ(FolderOf("/data.txt"), "/");
    EXPECT_EQ(FolderOf("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(FolderOf("c.txt"), "");
    EXPECT_EQ(FolderOf(""), "");
}

TEST(FileTests, AnswersForFilesFoldersAndMissingPaths) {
    test::TempDir dir;
    const std::string file = dir.Write("a.txt", "x");
    const std::string hidden = dir.Write(".hidden", "x");
    ::chmod(hidden.c_str(), 0444);

    EXPECT_TRUE(IsFolder(dir.Path()));
    EXPECT_TRUE(IsFolder("/"));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_FALSE(IsFolder(dir.File("missing")));

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(dir.File("missing")));
    EXPECT_FALSE(FileExists(dir.File("missing/inner.txt")));

    EXPECT_TRUE(IsExistingFile(file));
    EXPECT_TRUE(IsExistingFile(hidden));
    EXPECT_FALSE(IsExistingFile(dir.Path()));
    EXPECT_FALSE(IsExistingFile(dir.File("missing")));
    EXPECT_FALSE(IsExistingFile(""));
}

TEST(FileTests, WildcardsFifosAndLinks) {
    test::TempDir dir;
    const std::string star = dir.Write("a*b.txt", "x");
    const std::string question = dir.Write("a?b.txt", "x");
    EXPECT_FALSE(IsExistingFile(star));
    EXPECT_FALSE(IsExistingFile(question));

    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IsExistingFile(fifo));
    EXPECT_FALSE(IsExistingFile("/dev/null"));

    const std::string target = dir.Write("t.txt", "x");
    const std::string link = dir.File("l.txt");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_TRUE(IsExistingFile(link));
    const std::string dangling = dir.File("d.txt");
    ASSERT_EQ(::symlink(dir.File("none").c_str(), dangling.c_str()), 0);
    EXPECT_FALSE(IsExistingFile(dangling));
    const std::string dirLink = dir.File("dl");
    ASSERT_EQ(::symlink(dir.Path().c_str(), dirLink.c_str()), 0);
    EXPECT_FALSE(IsExistingFile(dirLink));
    EXPECT_TRUE(IsFolder(dirLink));
}

}  // namespace
}  // namespace verrolift

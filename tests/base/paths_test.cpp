#include "base/paths.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>

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

#ifndef _WIN32
INSTANTIATE_TEST_SUITE_P(
    Posix, NormalizePathTest,
    ::testing::Values(NormalizeCase{"", ""}, NormalizeCase{"/data/x.txt", "/data/x.txt"},
                      NormalizeCase{"//data//x.txt", "/data/x.txt"},
                      NormalizeCase{"/data///x.txt", "/data/x.txt"}, NormalizeCase{"////", "/"},
                      NormalizeCase{"rel//a", "rel/a"}, NormalizeCase{"a\\\\b", "a\\\\b"}));

#else
// Windows paths: a leading run of backslashes becomes exactly two (UNC prefix), each
// "\\" pair elsewhere one, scanning on behind the replaced pair.
INSTANTIATE_TEST_SUITE_P(
    Windows, NormalizePathTest,
    ::testing::Values(NormalizeCase{"", ""},
                      NormalizeCase{R"(C:\\Data\\x.txt)", R"(C:\Data\x.txt)"},
                      NormalizeCase{R"(\\\\srv\\share\x.txt)", R"(\\srv\share\x.txt)"},
                      NormalizeCase{R"(D:\x.txt)", R"(D:\x.txt)"},
                      NormalizeCase{R"(\a.txt)", R"(\\a.txt)"},
                      NormalizeCase{R"(C:\\\a.txt)", R"(C:\\a.txt)"},
                      NormalizeCase{R"(C:\\\\a.txt)", R"(C:\\a.txt)"},
                      NormalizeCase{R"(\\\\)", R"(\\)"}, NormalizeCase{"a//b", "a//b"}));

TEST(FolderOf, WindowsUpToAndIncludingLastBackslash) {
    EXPECT_EQ(FolderOf(R"(C:\data.txt)"), R"(C:\)");
    EXPECT_EQ(FolderOf(R"(\\srv\share\a\b.txt)"), R"(\\srv\share\a\)");
    EXPECT_EQ(FolderOf("c.txt"), "");
    EXPECT_EQ(FolderOf("a/b.txt"), "");
}

TEST(FileTests, WindowsDriveRootsFoldersFilesAndWildcards) {
    test::TempDir dir;
    const std::string file = dir.Write("a.txt", "x");
    const std::string readOnly = dir.Write("r.txt", "x");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);

    EXPECT_TRUE(IsFolder(R"(C:\)"));
    EXPECT_TRUE(IsFolder(dir.Path()));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_FALSE(IsFolder(dir.File("missing")));

    EXPECT_TRUE(FileExists(dir.Path()));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(dir.File("missing")));
    EXPECT_FALSE(FileExists(dir.File(R"(missing\inner.txt)")));

    EXPECT_TRUE(IsExistingFile(file));
    EXPECT_TRUE(IsExistingFile(readOnly));
    EXPECT_FALSE(IsExistingFile(dir.Path()));
    EXPECT_FALSE(IsExistingFile(dir.File("missing")));
    EXPECT_FALSE(IsExistingFile(dir.File("*.txt")));
    EXPECT_FALSE(IsExistingFile(""));
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(FileTests, WindowsNamesBeyondTheAnsiCodePage) {
    test::TempDir dir;
    for (const char* name : {"Gr\xc3\xb6\xc3\x9f"
                             "e.csv",
                             "\xe6\x95\xb0\xe6\x8d\xae.csv"}) {
        const std::string file = dir.Write(name, "x");
        EXPECT_TRUE(IsExistingFile(file)) << name;
        EXPECT_TRUE(FileExists(file)) << name;
        EXPECT_FALSE(IsFolder(file)) << name;
    }
}
#endif

#ifndef _WIN32
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
#endif

}  // namespace
}  // namespace verrolift

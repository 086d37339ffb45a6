#include "files/folder_scan.h"

#include <dirent.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/failure.h"
#include "support/folder_tree.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> Scan(std::vector<std::string> folders, test::RecordingDialogs& dialogs,
                              test::RecordingPump& pump) {
    GetSubDirectories2016(folders, true, pump, dialogs);
    return folders;
}

std::vector<std::string> Scan(const std::string& start) {
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    auto result = Scan({start}, dialogs, pump);
    EXPECT_TRUE(dialogs.reports.empty());
    return result;
}

int OpenFds() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir)) ++count;
        ::closedir(dir);
    }
    return count;
}

// ---- Order ----------------------------------------------------------------

TEST(FolderScan, LevelByLevelGroupedByParent) {
    test::FolderTree tree;
    tree.Folder("A/B/D");
    tree.Folder("A/C");
    EXPECT_THAT(Scan(tree.Entry("A")), ElementsAre(tree.Entry("A"), tree.Entry("A/B"),
                                                   tree.Entry("A/C"), tree.Entry("A/B/D")));
}

TEST(FolderScan, DeeperTreeKeepsLevelsAndByteOrder) {
    test::FolderTree tree;
    // Created out of order; byte order puts capitals first.
    for (const char* f : {"r/b/y", "r/a/z/deep", "r/B", "r/a/x", "r/b/w"}) tree.Folder(f);
    tree.File("r/a/file.txt");  // files are not folders
    EXPECT_THAT(Scan(tree.Entry("r")),
                ElementsAre(tree.Entry("r"), tree.Entry("r/B"), tree.Entry("r/a"),
                            tree.Entry("r/b"), tree.Entry("r/a/x"), tree.Entry("r/a/z"),
                            tree.Entry("r/b/w"), tree.Entry("r/b/y"), tree.Entry("r/a/z/deep")));
}

TEST(FolderScan, FolderWithoutSubfoldersLeavesTheListAsItWas) {
    test::FolderTree tree;
    tree.File("only.txt");
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    EXPECT_THAT(Scan({tree.Entry()}, dialogs, pump), ElementsAre(tree.Entry()));
    EXPECT_EQ(pump.yields, 1);  // the one folder examined, no deeper call
}

TEST(FolderScan, YieldsPerFolderExaminedSubfolderEnumeratedAndFolderAppended) {
    test::FolderTree tree;
    tree.Folder("A/B/D");
    tree.Folder("A/C");
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    Scan({tree.Entry("A")}, dialogs, pump);
    // Examined A, B, C, D (4); enumerated B, C, D (3); appended D at the
    // second level and B, C, D at the first (4).
    EXPECT_EQ(pump.yields, 11);
}

TEST(FolderScan, SeveralStartEntriesKeepTheirOrder) {
    test::FolderTree tree;
    tree.Folder("one/x");
    tree.Folder("two/y");
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    EXPECT_THAT(Scan({tree.Entry("two"), tree.Entry("one")}, dialogs, pump),
                ElementsAre(tree.Entry("two"), tree.Entry("one"), tree.Entry("two/y"),
                            tree.Entry("one/x")));
}

// ---- What is entered ----------------------------------------------------------

TEST(FolderScan, DotFolderIsScanned) {
    test::FolderTree tree;
    tree.Folder(".hidden/inner");
    EXPECT_THAT(Scan(tree.Entry()),
                ElementsAre(tree.Entry(), tree.Entry(".hidden"), tree.Entry(".hidden/inner")));
}

TEST(FolderScan, FolderWithUnusableNameIsSkippedWithEverythingBelow) {
    test::FolderTree tree;
    tree.Folder("good");
    tree.Folder("ctl\x01name/below");
    tree.Folder("line\nbreak");
    tree.Folder("del\x7f");
    tree.Folder("what?");
    tree.Folder("bytes\xff");  // not a character of the C locale
    EXPECT_THAT(Scan(tree.Entry()), ElementsAre(tree.Entry(), tree.Entry("good")));
}

TEST(FolderScan, NameValidInTheLocaleIsTaken) {
    test::ScopedCtype utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Ok());
    test::FolderTree tree;
    tree.Folder("caf\xc3\xa9");
    tree.Folder("c1\xc2\x85");  // U+0085, a control character
    EXPECT_THAT(Scan(tree.Entry()), ElementsAre(tree.Entry(), tree.Entry("caf\xc3\xa9")));
}

TEST(FolderScan, LinkedFolderIsScannedThroughTheLink) {
    test::FolderTree tree;
    tree.Folder("elsewhere/inner");
    tree.Folder("start");
    tree.Link("start/link", tree.Path("elsewhere"));
    EXPECT_THAT(
        Scan(tree.Entry("start")),
        ElementsAre(tree.Entry("start"), tree.Entry("start/link"), tree.Entry("start/link/inner")));
}

TEST(FolderScan, LinkLoopIsScannedOnce) {
    test::FolderTree tree;
    tree.Folder("A/B");
    tree.Link("A/B/up", tree.Path("A"));      // back to the start
    tree.Link("A/B/self", tree.Path("A/B"));  // back to its own folder
    tree.Link("A/again", "B");                // a second way to B
    EXPECT_THAT(Scan(tree.Entry("A")), ElementsAre(tree.Entry("A"), tree.Entry("A/B")));
}

TEST(FolderScan, FilesLinksAndFifosAreNotFolders) {
    test::FolderTree tree;
    tree.File("file.txt");
    tree.Fifo("pipe");
    tree.Link("pipelink", tree.Path("pipe"));
    tree.Link("dangling", tree.Path("nowhere"));
    tree.Link("filelink", tree.Path("file.txt"));
    EXPECT_THAT(Scan(tree.Entry()), ElementsAre(tree.Entry()));
}

TEST(FolderScan, EntryThatIsNoFolderStaysAndIsNotEntered) {
    test::FolderTree tree;
    const std::string missing = tree.Entry("missing");
    const std::string file = tree.File("file.txt") + "/";
    const std::string fifo = tree.Fifo("pipe") + "/";
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    EXPECT_THAT(Scan({missing, file, fifo}, dialogs, pump), ElementsAre(missing, file, fifo));
    EXPECT_TRUE(dialogs.reports.empty());
}

// ---- Length limit ------------------------------------------------------------

TEST(FolderScan, FolderPathOf260CharactersStaysButIsNotLookedInto) {
    test::FolderTree tree;
    const std::size_t base = tree.Root().size() + 2;  // root, "/", name, "/"
    ASSERT_LT(base + 10, 259u) << "temporary folder path too long for this test";
    const std::string short259(259 - base, 's');
    const std::string long260(260 - base, 'l');
    ASSERT_LE(long260.size(), 255u);
    tree.Folder(short259 + "/below");
    tree.Folder(long260 + "/below");
    ASSERT_EQ(tree.Entry(short259).size(), 259u);
    ASSERT_EQ(tree.Entry(long260).size(), 260u);

    EXPECT_THAT(Scan(tree.Entry()),
                ElementsAre(tree.Entry(), tree.Entry(long260), tree.Entry(short259),
                            tree.Entry(short259 + "/below")));
}

TEST(FolderScan, LongestNameTheFileSystemAllowsIsTaken) {
    test::FolderTree tree;
    const std::string name(255, 'n');  // NAME_MAX on Linux
    tree.Folder(name);
    EXPECT_THAT(Scan(tree.Entry()), ElementsAre(tree.Entry(), tree.Entry(name)));
}

// ---- Leaving early -------------------------------------------------------

TEST(FolderScan, ClosingProgramStopsTheScanWithoutReportOrLeak) {
    test::FolderTree tree;
    for (int i = 0; i < 5; ++i) tree.Folder("d" + std::to_string(i) + "/e");
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    pump.onYield = [&] {
        if (pump.yields == 4) throw RunAborted{};
    };
    const int before = OpenFds();
    std::vector<std::string> folders{tree.Entry()};
    EXPECT_THROW(GetSubDirectories2016(folders, true, pump, dialogs), RunAborted);
    EXPECT_EQ(OpenFds(), before);
    EXPECT_TRUE(dialogs.reports.empty());
}

// ---- Names ----------------------------------------------------------------

struct NameCase {
    std::string name;
    bool usable;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name.size() << " bytes: " << ::testing::PrintToString(c.name.substr(0, 20));
}

class SubfolderNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SubfolderNameTest, TakenOnlyWhenUsable) {
    EXPECT_EQ(IsUsableSubfolderName(GetParam().name), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    CLocale, SubfolderNameTest,
    ::testing::Values(NameCase{"data", true}, NameCase{".git", true}, NameCase{"~tmp", true},
                      NameCase{"a b;c'd", true}, NameCase{std::string(259, 'a'), true},
                      NameCase{std::string(260, 'a'), false}, NameCase{".", false},
                      NameCase{"..", false}, NameCase{"a?b", false},
                      NameCase{std::string("a\0b", 3), false}, NameCase{"tab\t", false},
                      NameCase{"\x1f", false}, NameCase{"\x7f", false}, NameCase{"\x80", false},
                      NameCase{"caf\xc3\xa9", false}));

struct CharsCase {
    const char* name;
    bool unusable;
};

class HasUnusableCharsUtf8 : public ::testing::TestWithParam<CharsCase> {};

TEST_P(HasUnusableCharsUtf8, DecidesByCodePoint) {
    test::ScopedCtype utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Ok());
    EXPECT_EQ(HasUnusableChars(GetParam().name), GetParam().unusable) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, HasUnusableCharsUtf8,
    ::testing::Values(CharsCase{"", false}, CharsCase{"plain", false},
                      CharsCase{"caf\xc3\xa9", false},   // é
                      CharsCase{"\xe2\x82\xac", false},  // €
                      CharsCase{"\xc2\xa0", false},      // U+00A0, first after the C1 range
                      CharsCase{"\xc2\x80", true},       // U+0080
                      CharsCase{"\xc2\x9f", true},       // U+009F
                      CharsCase{"\xff", true},           // no character
                      CharsCase{"\xc3", true},           // cut short
                      CharsCase{"q?", true}, CharsCase{"\x7f", true}, CharsCase{"\x1b", true}));

TEST(CharacterCount, CountsCharactersOfTheLocale) {
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("caf\xc3\xa9"), 5u);  // C locale: every byte
    test::ScopedCtype utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Ok());
    EXPECT_EQ(CharacterCount("caf\xc3\xa9"), 4u);
    EXPECT_EQ(CharacterCount("\xff\xfe"), 2u);
}

// ---- ListFilesInFolder ---------------------------------------------------

TEST(ListFilesInFolder, NoMatchIsOneEmptyElement) {
    test::FolderTree tree;
    tree.File("a.csv");
    EXPECT_THAT(ListFilesInFolder(tree.Root(), "*.txt"), ElementsAre(""));
    EXPECT_THAT(ListFilesInFolder(tree.Path("missing"), "*.*"), ElementsAre(""));
}

TEST(ListFilesInFolder, GrowsPastTheFirstHundred) {
    test::FolderTree tree;
    std::vector<std::string> expected{""};
    for (int i = 0; i < 101; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.txt", 100 - i);  // created in reverse
        tree.File(name);
    }
    for (int i = 0; i < 101; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.txt", i);
        expected.push_back(name);
    }
    const auto names = ListFilesInFolder(tree.Root(), "*.txt");
    ASSERT_EQ(names.size(), 102u);
    EXPECT_THAT(names, ElementsAreArray(expected));
}

TEST(ListFilesInFolder, OnlyRegularFilesMatchingThePattern) {
    test::FolderTree tree;
    tree.File("B.TXT");
    tree.File("a.txt");
    tree.File(".dot.txt");  // hidden files are listed; the callers decide
    tree.File("~lock.txt");
    tree.File("c.csv");
    tree.File("star*.txt");
    tree.Folder("folder.txt");
    tree.Fifo("pipe.txt");
    tree.Link("pipelink.txt", tree.Path("pipe.txt"));
    tree.Link("link.txt", tree.Path("c.csv"));
    tree.Link("dangling.txt", tree.Path("gone"));
    tree.Link("folderlink.txt", tree.Path("folder.txt"));
    EXPECT_THAT(ListFilesInFolder(tree.Root(), "*.txt"),
                ElementsAre("", ".dot.txt", "B.TXT", "a.txt", "link.txt", "~lock.txt"));
    // With or without the trailing separator.
    EXPECT_EQ(ListFilesInFolder(tree.Root() + "/", "*.txt"),
              ListFilesInFolder(tree.Root(), "*.txt"));
}

TEST(ListFilesInFolder, StarDotStarTakesNamesWithoutDot) {
    test::FolderTree tree;
    tree.File("README");
    tree.File("x.y");
    EXPECT_THAT(ListFilesInFolder(tree.Root(), "*.*"), ElementsAre("", "README", "x.y"));
}

}  // namespace
}  // namespace verrolift

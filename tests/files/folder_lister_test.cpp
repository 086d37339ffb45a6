// The platform's folder lister against real folders: what each platform's
// implementation must answer the same way.

#include "files/folder_lister.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/file_attributes.h"
#include "support/folder_tree.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::vector<std::string> Names(const std::vector<SubfolderEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    return names;
}

const SubfolderEntry& Find(const std::vector<SubfolderEntry>& entries, const std::string& name) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const SubfolderEntry& e) { return e.name == name; });
    if (it == entries.end()) throw std::runtime_error("no entry " + name);
    return *it;
}

TEST(FolderLister, SubfoldersAreTheFoldersOnlyWithDirectoryAttributeAndTheirOwnIdentity) {
    test::FolderTree tree;
    tree.Folder("r/a");
    tree.Folder("r/b/deeper");
    tree.File("r/file.txt");
    tree.File("r/b.txt");

    ListedFolder r(tree.Path("r"));
    ASSERT_TRUE(r.IsOpen());
    const auto subfolders = r.Subfolders();
    EXPECT_THAT(Names(subfolders), UnorderedElementsAre("a", "b"));
    for (const auto& sub : subfolders) {
        EXPECT_NE(sub.attributes & attributes::kDirectory, 0u) << sub.name;
        // The identity found while listing is the one the folder itself gives.
        ListedFolder opened(tree.Path("r/" + sub.name));
        ASSERT_TRUE(opened.IsOpen());
        EXPECT_EQ(sub.id, opened.Identity()) << sub.name;
    }
    EXPECT_NE(Find(subfolders, "a").id, Find(subfolders, "b").id);
    EXPECT_NE(Find(subfolders, "a").id, r.Identity());
    ListedFolder empty(tree.Path("r/a"));
    EXPECT_THAT(empty.Subfolders(), IsEmpty());
}

TEST(FolderLister, FilesAreRegularFilesTheFilterTakesAndTheFilterIsNotAskedAboutFolders) {
    test::FolderTree tree;
    tree.File("r/a.csv");
    tree.File("r/b.txt");
    tree.File("r/c.csv", "");
    tree.Folder("r/d.csv");
    std::vector<std::string> asked;
    ListedFolder r(tree.Path("r"));
    auto files = r.Files([&](std::string_view name) {
        asked.emplace_back(name);
        return name.size() > 4 && name.substr(name.size() - 4) == ".csv";
    });
    std::sort(files.begin(), files.end());
    EXPECT_THAT(files, ElementsAre("a.csv", "c.csv"));
    std::sort(asked.begin(), asked.end());
    EXPECT_THAT(asked, ElementsAre("a.csv", "b.txt", "c.csv"));
    ListedFolder empty(tree.Path("r/d.csv"));
    EXPECT_THAT(empty.Files([](std::string_view) { return true; }), IsEmpty());
}

TEST(FolderLister, MissingFolderOrAFileDoesNotOpenAndListingThrowsNotFound) {
    test::FolderTree tree;
    for (const std::string& path :
         {tree.Path("missing"), tree.Path("missing/deeper"), tree.File("plain.txt")}) {
        ListedFolder folder(path);
        EXPECT_FALSE(folder.IsOpen()) << path;
        try {
            folder.Subfolders();
            ADD_FAILURE() << "listed " << path;
        } catch (const ListingFailure& failure) {
            EXPECT_EQ(failure.GetCause(), ListingFailure::Cause::NotFound)
                << path << ": " << failure.Description();
        }
        EXPECT_THROW(folder.Identity(), ListingFailure) << path;
    }
}

TEST(FolderLister, FileAttributesOfFoldersAndFiles) {
    test::FolderTree tree;
    const std::string folder = tree.Folder("sub");
    const std::string file = tree.File("sub/x.txt");
    EXPECT_EQ(FileAttributes(folder) & attributes::kDirectory, attributes::kDirectory);
    EXPECT_EQ(FileAttributes(file) & (attributes::kDirectory | attributes::kArchive),
              attributes::kArchive);
    EXPECT_THROW(FileAttributes(tree.Path("missing")), Failure);
}

// File names in UTF-8 (POSIX: under a UTF-8 locale) decode to their code points;
// what is not a character decodes to nothing.
struct DecodeCase {
    const char* bytes;
    std::optional<char32_t> code;
    std::size_t size;
};

class NameCharacters : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(NameCharacters, DecodeTheFirstCharacter) {
#ifndef _WIN32
    test::ScopedCtype utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Ok());
#endif
    const DecodeCase& c = GetParam();
    std::mbstate_t state{};
    const auto got = DecodeNameCharacter(c.bytes, state);
    ASSERT_EQ(got.has_value(), c.code.has_value()) << c.bytes;
    if (got) {
        EXPECT_EQ(got->code, *c.code);
        EXPECT_EQ(got->size, c.size);
    }
}

INSTANTIATE_TEST_SUITE_P(Utf8, NameCharacters,
                         ::testing::Values(DecodeCase{"a\xc3\x9f", U'a', 1},
                                           DecodeCase{"\xc3\x9fz", U'\u00df', 2},
                                           DecodeCase{"\xe6\x95\xb0\xe6\x8d\xae", U'\u6570', 3},
                                           DecodeCase{"\xf0\x9f\x98\x80", U'\U0001F600', 4},
                                           DecodeCase{"\xff", std::nullopt, 0},
                                           DecodeCase{"\xc3", std::nullopt, 0},
                                           DecodeCase{"\xe6\x95z", std::nullopt, 0},
                                           DecodeCase{"\xc0\xaf", std::nullopt, 0},
                                           DecodeCase{"\xed\xa0\x80", std::nullopt, 0},
                                           DecodeCase{"", std::nullopt, 0}));

#ifndef _WIN32
// Links: a link to a folder is a subfolder with the target's identity; a
// dangling link is nothing.
TEST(FolderLister, PosixLinkToFolderHasTheTargetsIdentityAndDanglingLinkIsNothing) {
    test::FolderTree tree;
    tree.Folder("r/real");
    tree.Link("r/link", tree.Path("r/real"));
    tree.Link("r/dangling", tree.Path("r/nowhere"));
    tree.File("target.txt");
    tree.Link("r/file-link.txt", tree.Path("target.txt"));
    ListedFolder r(tree.Path("r"));
    const auto subfolders = r.Subfolders();
    EXPECT_THAT(Names(subfolders), UnorderedElementsAre("real", "link"));
    EXPECT_EQ(Find(subfolders, "link").id, Find(subfolders, "real").id);
    EXPECT_NE(Find(subfolders, "link").attributes & attributes::kReparsePoint, 0u);
    ListedFolder again(tree.Path("r"));
    EXPECT_THAT(again.Files([](std::string_view) { return true; }), ElementsAre("file-link.txt"));
}
#endif

}  // namespace
}  // namespace verrolift

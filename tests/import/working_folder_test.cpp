// The platform's working folder against real folders: what each platform's
// implementation must answer the same way.

#include "import/working_folder.h"

#include <cerrno>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

// Every byte the C run-time of some platform would turn or stop at in text mode.
const std::string kAwkwardBytes = std::string(
                                      "a\r\nb\nc\rd\x1a"
                                      "e\r\r\n\n") +
                                  '\0' + "\xff";

class WorkingFolderTest : public ::testing::Test {
protected:
    test::TempDir tmp_;
    test::TempDir files_;
    // The temporary folder of both platforms' rules.
    test::ScopedEnvironment tmpdir_{"TMPDIR", tmp_.Path()};
    test::ScopedEnvironment temp_{"TEMP", tmp_.Path()};
};

std::string ReadAll(const FileHandle& file) {
    std::string bytes;
    char buffer[5];  // small, so that reads end inside the awkward bytes
    while (const std::size_t n = ReadSome(file.Get(), buffer, sizeof buffer, "read"))
        bytes.append(buffer, n);
    return bytes;
}

void WriteAllPieces(const FileHandle& file, const std::string& bytes) {
    // Three pieces, so that a platform writing them one by one keeps their order.
    const std::size_t third = bytes.size() / 3;
    const WritePiece pieces[] = {{bytes.data(), third},
                                 {bytes.data() + third, third},
                                 {bytes.data() + 2 * third, bytes.size() - 2 * third}};
    ASSERT_EQ(WritePieces(file, pieces, 3), static_cast<long long>(bytes.size()));
}

void WriteTo(const WorkingFolder& folder, const char* name, WorkingFolder::Access access,
             const std::string& bytes) {
    const FileHandle out = folder.Open(name, access);
    ASSERT_TRUE(out.IsOpen()) << name << ": " << ErrnoText(errno);
    WriteAllPieces(out, bytes);
}

TEST_F(WorkingFolderTest, ClaimsAreDistinctFoldersInsideThePrivateFolderAndNumbersAreReused) {
    std::optional<WorkingFolder> first = WorkingFolder::Claim(4);
    const WorkingFolder second = WorkingFolder::Claim(4);
    EXPECT_NE(first->Path(), second.Path());
    for (const WorkingFolder* f : std::initializer_list<const WorkingFolder*>{&*first, &second})
        EXPECT_EQ(f->Path().rfind(PrivateWorkingFolder(), 0), 0u) << f->Path();
    const std::string freed = first->Path();
    first.reset();
    EXPECT_EQ(WorkingFolder::Claim(4).Path(), freed);
}

TEST_F(WorkingFolderTest, EveryNumberHeldIsAFailure) {
    const WorkingFolder only = WorkingFolder::Claim(1);
    EXPECT_THROW(WorkingFolder::Claim(1), Failure);
}

TEST_F(WorkingFolderTest, BytesWrittenAreReadBackUnchanged) {
    const WorkingFolder folder = WorkingFolder::Claim(4);
    WriteTo(folder, "f", WorkingFolder::Access::CreateNew, kAwkwardBytes);
    EXPECT_EQ(test::ReadFileBytes(folder.PathOf("f")), kAwkwardBytes);
    const FileHandle in = folder.Open("f", WorkingFolder::Access::Read);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(ReadAll(in), kAwkwardBytes);
}

TEST_F(WorkingFolderTest, OpenModesCreateRefuseKeepAndEmptyAsNamed) {
    const WorkingFolder folder = WorkingFolder::Claim(4);
    errno = 0;
    EXPECT_FALSE(folder.Open("f", WorkingFolder::Access::Read).IsOpen());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(folder.Open("f", WorkingFolder::Access::Write).IsOpen());
    ASSERT_TRUE(folder.Open("f", WorkingFolder::Access::CreateNew).IsOpen());
    EXPECT_FALSE(folder.Open("f", WorkingFolder::Access::CreateNew).IsOpen());
    EXPECT_EQ(errno, EEXIST);

    WriteTo(folder, "f", WorkingFolder::Access::Write, "abcdef");
    // Write neither truncates nor appends: it writes from the start.
    WriteTo(folder, "f", WorkingFolder::Access::Write, "XYZ");
    EXPECT_EQ(test::ReadFileBytes(folder.PathOf("f")), "XYZdef");
    ASSERT_TRUE(EmptyFile(folder.Open("f", WorkingFolder::Access::Write)));
    EXPECT_EQ(test::ReadFileBytes(folder.PathOf("f")), "");
    WriteTo(folder, "f", WorkingFolder::Access::Write, "abc");
    ASSERT_TRUE(folder.Open("f", WorkingFolder::Access::CreateOrTruncate).IsOpen());
    EXPECT_EQ(test::ReadFileBytes(folder.PathOf("f")), "");
}

TEST_F(WorkingFolderTest, ReplaceTakesTheOldNamesPlaceAndRemoveSaysWhenNothingWasThere) {
    const WorkingFolder folder = WorkingFolder::Claim(4);
    WriteTo(folder, "old", WorkingFolder::Access::CreateNew, "old bytes");
    WriteTo(folder, "new", WorkingFolder::Access::CreateNew, "new");
    ASSERT_TRUE(folder.Replace("new", "old"));
    EXPECT_EQ(test::ReadFileBytes(folder.PathOf("old")), "new");
    EXPECT_FALSE(folder.Open("new", WorkingFolder::Access::Read).IsOpen());

    EXPECT_TRUE(folder.Remove("old"));
    errno = 0;
    EXPECT_FALSE(folder.Remove("old"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(folder.Replace("old", "other"));
}

TEST_F(WorkingFolderTest, RegularFilesOpenInBinaryAndNothingElseOpens) {
    const std::string file = files_.Write("in.txt", kAwkwardBytes);
    bool notRegular = true;
    const FileHandle in = OpenRegularFile(file, notRegular);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_FALSE(notRegular);
    EXPECT_EQ(ReadAll(in), kAwkwardBytes);

    EXPECT_FALSE(OpenRegularFile(files_.Path(), notRegular).IsOpen());
    EXPECT_TRUE(notRegular) << "a folder";

    errno = 0;
    EXPECT_FALSE(OpenRegularFile(files_.File("missing.txt"), notRegular).IsOpen());
    EXPECT_FALSE(notRegular);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace verrolift

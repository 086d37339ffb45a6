#include "import/read_buffer.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "import/file_handle.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

const std::string kBytes = "abcdefghijklmnopqrstuvwxyz0123456789";

// A reader that uses the bytes in pieces of a size, each once it holds all of it,
// through a buffer of 4 bytes: the size it ends with, for each piece size.
class ReadBufferGrowth : public ::testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {};

TEST_P(ReadBufferGrowth, KeepsTheUnreadBytesAndGrowsOnlyWhenTheyFillIt) {
    const auto [piece, capacity] = GetParam();
    test::TempDir dir;
    const std::string path = dir.Write("in.txt", kBytes);
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    ReadBuffer buffer(fd.Get(), path, 4);
    std::string used;
    while (!buffer.AtEnd()) {
        while (buffer.End() - buffer.Begin() < piece && !buffer.Eof()) buffer.ReadMore();
        EXPECT_EQ(buffer.Offset() + buffer.Begin(), used.size());
        const std::size_t n = std::min(piece, buffer.End() - buffer.Begin());
        used.append(buffer.Data() + buffer.Begin(), n);
        buffer.SetBegin(buffer.Begin() + n);
    }
    EXPECT_EQ(used, kBytes);
    EXPECT_EQ(buffer.Offset() + buffer.Begin(), kBytes.size());
    EXPECT_EQ(buffer.Capacity(), capacity);
}

INSTANTIATE_TEST_SUITE_P(Pieces, ReadBufferGrowth,
                         ::testing::Values(std::tuple{3, 4}, std::tuple{4, 4}, std::tuple{5, 8},
                                           std::tuple{36, 64}));

TEST(ReadBuffer, UnreadBytesHandedOverAreCountedAsRead) {
    test::TempDir dir;
    const std::string path = dir.Write("in.txt", kBytes);
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    ReadBuffer buffer(fd.Get(), path, 8);
    ASSERT_FALSE(buffer.AtEnd());
    buffer.SetBegin(3);
    EXPECT_EQ(buffer.TakeUnread(), kBytes.substr(3, 5));
    // Reading goes on where the bytes handed over end.
    ASSERT_FALSE(buffer.AtEnd());
    EXPECT_EQ(buffer.Offset() + buffer.Begin(), 8u);
    EXPECT_EQ(std::string(buffer.Data() + buffer.Begin(), buffer.End() - buffer.Begin()),
              kBytes.substr(8, 8));
}

}  // namespace
}  // namespace verrolift

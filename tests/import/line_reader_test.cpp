#include "import/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "import/file_handle.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

using LineEnd = LineReader::LineEnd;

struct ReadResult {
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    std::vector<std::uint64_t> positions;
};

ReadResult ReadAll(const std::string& bytes, std::size_t bufferSize) {
    test::TempDir dir;
    const std::string path = dir.Write("in.txt", bytes);
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    LineReader reader(fd.Get(), path, bufferSize);
    ReadResult result;
    while (!reader.AtEnd()) {
        result.lines.emplace_back(reader.Next());
        result.ends.push_back(reader.LastLineEnd());
        result.positions.push_back(reader.Position());
    }
    return result;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

// Test names carry the case's name, not its bytes.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

// Buffer sizes that put every terminator at every place of a buffer, including its last byte.
class LineReading : public ::testing::TestWithParam<std::tuple<LineCase, std::size_t>> {};

TEST_P(LineReading, EndsLinesAtCrOrCrLfOnly) {
    const auto& [c, bufferSize] = GetParam();
    const ReadResult result = ReadAll(c.bytes, bufferSize);
    EXPECT_EQ(result.lines, c.lines);
    // Each line ends where the next begins, the last one at the end of the file.
    if (!result.positions.empty()) {
        EXPECT_EQ(result.positions.back(), c.bytes.size());
    }
}

const LineCase kLineCases[] = {
    {"Empty", "", {}},
    {"OneLineNoTerminator", "abc", {"abc"}},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"CrAlone", "a\rb\rc", {"a", "b", "c"}},
    {"LoneLfIsText", "a\nb\nc\n", {"a\nb\nc\n"}},
    {"LfCrIsTextThenTerminator", "a\n\rb", {"a\n", "b"}},
    {"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
    {"OneTerminatorAtEndGivesNoEmptyLine", "a\r\n", {"a"}},
    {"TwoTerminatorsAtEndGiveOneEmptyLine", "a\r\n\r\n", {"a", ""}},
    {"TwoCrAtEnd", "a\r\r", {"a", ""}},
    {"OnlyCrLf", "\r\n", {""}},
    {"OnlyCr", "\r", {""}},
    {"EmptyLinesBetween", "\r\n\r\nx\r\n\r", {"", "", "x", ""}},
    {"MixedTerminators",
     "one\r\ntwo\rthree\nstill three\r\n",
     {"one", "two", "three\nstill three"}},
    {"LongerThanBuffers",
     std::string(40, 'x') + "\r\n" + std::string(17, 'y'),
     {std::string(40, 'x'), std::string(17, 'y')}},
    {"BytesKept",
     std::string("\xEF\xBB\xBFName\t\x00\xFF", 10) + "\r\n",
     {std::string("\xEF\xBB\xBFName\t\x00\xFF", 10)}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineReading,
                         ::testing::Combine(::testing::ValuesIn(kLineCases),
                                            ::testing::Values(2, 3, 4, 5, 7, 1 << 20)),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(std::get<1>(p.param));
                         });

TEST(LineReader, TellsHowEachLineEndedAndWhereTheNextBegins) {
    const ReadResult result = ReadAll("ab\r\ncd\ref\n\rgh", 3);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"ab", "cd", "ef\n", "gh"}));
    EXPECT_EQ(result.ends,
              (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::Cr, LineEnd::Cr, LineEnd::None}));
    EXPECT_EQ(result.positions, (std::vector<std::uint64_t>{4, 7, 11, 13}));
}

TEST(LineReader, ReadFailureNamesTheFile) {
    test::TempDir dir;
    // A folder opens but cannot be read as a file.
    FileHandle fd(::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    LineReader reader(fd.Get(), "Cannot read the working copy X");
    try {
        reader.AtEnd();
        FAIL() << "reading a folder succeeded";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Description().rfind("Cannot read the working copy X: ", 0), 0u)
            << failure.Description();
    }
}

struct SplitCase {
    const char* line;
    const char* separator;
    std::vector<std::string> fields;
};

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, CutsAtTheWholeSeparator) {
    EXPECT_EQ(SplitFields(GetParam().line, GetParam().separator), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitFieldsTest,
    ::testing::Values(
        SplitCase{"a,b,c", ",", {"a", "b", "c"}}, SplitCase{"a,,c,", ",", {"a", "", "c", ""}},
        SplitCase{",a", ",", {"", "a"}}, SplitCase{",", ",", {"", ""}}, SplitCase{"", ",", {}},
        SplitCase{"", "", {}}, SplitCase{"a,b", "", {"a,b"}},
        SplitCase{"a; b;c", "; ", {"a", "b;c"}}, SplitCase{"XaxB", "x", {"Xa", "B"}},
        SplitCase{"\"x,y\",z", ",", {"\"x", "y\"", "z"}},
        SplitCase{" a |\tb ", "|", {" a ", "\tb "}}, SplitCase{"a||b|||c", "||", {"a", "b", "|c"}},
        SplitCase{"abcabc", "abc", {"", "", ""}}, SplitCase{"it's,'q'", ",", {"it's", "'q'"}},
        SplitCase{"no separator here", "|", {"no separator here"}}));

struct SkipCase {
    ImportMode mode;
    ColumnSource columns;
    bool skipHeader;
    bool skips;
};

class SkipsFirstLineTest : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkipsFirstLineTest, FollowsModeAndOptions) {
    ImportOptions options;
    options.mode = GetParam().mode;
    options.columnSource = GetParam().columns;
    options.skipHeaderOnAppend = GetParam().skipHeader;
    EXPECT_EQ(SkipsFirstLine(options), GetParam().skips);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkipsFirstLineTest,
    ::testing::Values(SkipCase{ImportMode::CreateTable, ColumnSource::HeaderLine, false, false},
                      SkipCase{ImportMode::CreateTable, ColumnSource::HeaderLine, true, false},
                      SkipCase{ImportMode::CreateTable, ColumnSource::TypedNames, false, true},
                      SkipCase{ImportMode::CreateTable, ColumnSource::Unset, false, true},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::HeaderLine, true, true},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::HeaderLine, false, false},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::TypedNames, false, false},
                      SkipCase{ImportMode::Unset, ColumnSource::HeaderLine, false, true}));

}  // namespace
}  // namespace verrolift

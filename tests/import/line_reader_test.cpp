#include "import/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/failure.h"
#include "import/file_handle.h"
#include "import/line_end_mode.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

using LineEnd = LineReader::LineEnd;

struct ReadResult {
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    std::vector<std::uint64_t> positions;
};

ReadResult ReadAll(const std::string& bytes, std::size_t bufferSize,
                   LineEndMode mode = LineEndMode::CrOrCrLf) {
    test::TempDir dir;
    const std::string path = dir.Write("in.txt", bytes);
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    LineReader reader(fd.Get(), path, mode, bufferSize);
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
    std::vector<std::string> crLines;  // read with lines ending at CR or CR LF
    std::vector<std::string> lfLines;  // read with lines ending at LF or CR LF
};

// Test names carry the case's name, not its bytes.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

// Buffer sizes that put every terminator at every place of a buffer, including its last byte.
class LineReading : public ::testing::TestWithParam<std::tuple<LineCase, std::size_t>> {};

TEST_P(LineReading, EndsLinesAsTheModeSays) {
    const auto& [c, bufferSize] = GetParam();
    for (const LineEndMode mode : {LineEndMode::CrOrCrLf, LineEndMode::Lf}) {
        SCOPED_TRACE(mode == LineEndMode::Lf ? "LF mode" : "CR mode");
        const ReadResult result = ReadAll(c.bytes, bufferSize, mode);
        EXPECT_EQ(result.lines, mode == LineEndMode::Lf ? c.lfLines : c.crLines);
        // Each line ends where the next begins, the last one at the end of the file.
        if (!result.positions.empty()) {
            EXPECT_EQ(result.positions.back(), c.bytes.size());
        }
    }
}

const LineCase kLineCases[] = {
    {"Empty", "", {}, {}},
    {"OneLineNoTerminator", "abc", {"abc"}, {"abc"}},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
    {"CrAlone", "a\rb\rc", {"a", "b", "c"}, {"a\rb\rc"}},
    {"LfAlone", "a\nb\nc\n", {"a\nb\nc\n"}, {"a", "b", "c"}},
    {"LfCr", "a\n\rb", {"a\n", "b"}, {"a", "\rb"}},
    {"CrCrLf", "a\r\r\nb", {"a", "", "b"}, {"a\r", "b"}},
    {"OneTerminatorAtEndGivesNoEmptyLine", "a\r\n", {"a"}, {"a"}},
    {"TwoTerminatorsAtEndGiveOneEmptyLine", "a\r\n\r\n", {"a", ""}, {"a", ""}},
    {"TwoLfAtEnd", "a\n\n", {"a\n\n"}, {"a", ""}},
    {"TwoCrAtEnd", "a\r\r", {"a", ""}, {"a\r\r"}},
    {"CrLastInLfMode", "a\nb\r", {"a\nb"}, {"a", "b\r"}},
    {"OnlyCrLf", "\r\n", {""}, {""}},
    {"OnlyCr", "\r", {""}, {"\r"}},
    {"OnlyLf", "\n", {"\n"}, {""}},
    {"EmptyLinesBetween", "\r\n\r\nx\r\n\r", {"", "", "x", ""}, {"", "", "x", "\r"}},
    {"MixedTerminators",
     "one\r\ntwo\rthree\nstill three\r\n",
     {"one", "two", "three\nstill three"},
     {"one", "two\rthree", "still three"}},
    {"LongerThanBuffers",
     std::string(40, 'x') + "\r\n" + std::string(17, 'y') + "\n" + std::string(9, 'z'),
     {std::string(40, 'x'), std::string(17, 'y') + "\n" + std::string(9, 'z')},
     {std::string(40, 'x'), std::string(17, 'y'), std::string(9, 'z')}},
    {"BytesKept",
     std::string("\xEF\xBB\xBFName\t\x00\xFF", 10) + "\r\n",
     {std::string("\xEF\xBB\xBFName\t\x00\xFF", 10)},
     {std::string("\xEF\xBB\xBFName\t\x00\xFF", 10)}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineReading,
                         ::testing::Combine(::testing::ValuesIn(kLineCases),
                                            ::testing::Values(2, 3, 4, 5, 7, 1 << 20)),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(std::get<1>(p.param));
                         });

struct ModeCase {
    const char* bytes;
    std::optional<LineEndMode> mode;
};

class LineEndModeDecision : public ::testing::TestWithParam<ModeCase> {};

TEST_P(LineEndModeDecision, TheFirstLineEndDecides) {
    EXPECT_EQ(DecideLineEndMode(GetParam().bytes), GetParam().mode) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineEndModeDecision,
    ::testing::Values(ModeCase{"", std::nullopt}, ModeCase{"no line end", std::nullopt},
                      ModeCase{"a\nb\r\n", LineEndMode::Lf}, ModeCase{"\n", LineEndMode::Lf},
                      ModeCase{"a\r\nb\n", LineEndMode::CrOrCrLf},
                      ModeCase{"a\rb\n", LineEndMode::CrOrCrLf},
                      ModeCase{"\r", LineEndMode::CrOrCrLf}, ModeCase{"x\n\r", LineEndMode::Lf}));

TEST(LineReader, TellsHowEachLineEndedAndWhereTheNextBegins) {
    const ReadResult result = ReadAll("ab\r\ncd\ref\n\rgh", 3);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"ab", "cd", "ef\n", "gh"}));
    EXPECT_EQ(result.ends,
              (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::Cr, LineEnd::Cr, LineEnd::None}));
    EXPECT_EQ(result.positions, (std::vector<std::uint64_t>{4, 7, 11, 13}));

    const ReadResult lf = ReadAll("ab\r\ncd\ref\n\rgh", 3, LineEndMode::Lf);
    EXPECT_EQ(lf.lines, (std::vector<std::string>{"ab", "cd\ref", "\rgh"}));
    EXPECT_EQ(lf.ends, (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::Lf, LineEnd::None}));
    EXPECT_EQ(lf.positions, (std::vector<std::uint64_t>{4, 10, 13}));
}

TEST(LineReader, ReadFailureNamesTheFile) {
    test::TempDir dir;
    // A folder opens but cannot be read as a file.
    FileHandle fd(::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    LineReader reader(fd.Get(), "Cannot read the working copy X", LineEndMode::CrOrCrLf);
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

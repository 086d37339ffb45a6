#include "import/working_copy.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "import/line_reader.h"
#include "support/import_helpers.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

// Runs each test with $TMPDIR in a fresh folder of its own.
class WorkingCopyTest : public ::testing::Test {
protected:
    std::string Private() const {
        return tmp_.Path() + "/verrolift-" + std::to_string(::geteuid());
    }

    test::TempDir tmp_;
    test::TempDir files_;
    test::ScopedEnvironment tmpdir_{"TMPDIR", tmp_.Path()};
};

ImportOptions Header() {
    return {};
}

ImportOptions Typed() {
    ImportOptions o;
    o.columnSource = ColumnSource::TypedNames;
    return o;
}

ImportOptions Append(bool skipHeader) {
    ImportOptions o;
    o.mode = ImportMode::AppendToTable;
    o.skipHeaderOnAppend = skipHeader;
    o.targetTable = "T";
    return o;
}

// The mode of bytes and their lines, the slow plain way: the first CR or LF decides
// whether lines end at CR (an LF right after it belonging to the end) or at LF (a CR
// right before it belonging to the end).
struct Plain {
    LineEndMode mode = LineEndMode::CrOrCrLf;
    std::vector<std::string> lines;
};

Plain PlainLines(const std::string& bytes) {
    Plain plain;
    const std::size_t first = bytes.find_first_of("\r\n");
    if (first != std::string::npos && bytes[first] == '\n') plain.mode = LineEndMode::Lf;
    const char end = plain.mode == LineEndMode::Lf ? '\n' : '\r';
    std::string line;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == end) {
            if (end == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
            plain.lines.push_back(line);
            line.clear();
            ++i;
            if (end == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
            continue;
        }
        line.push_back(bytes[i++]);
        if (i == bytes.size()) plain.lines.push_back(line);
    }
    return plain;
}

// The kept lines of bytes; a working copy of no kept line holds one empty line.
std::vector<std::string> KeptLines(const std::string& bytes, bool dropFirst) {
    std::vector<std::string> lines = PlainLines(bytes).lines;
    if (dropFirst && !lines.empty()) lines.erase(lines.begin());
    if (lines.empty()) lines.push_back("");
    return lines;
}

// The working copy of a file whose first line end is a CR, the slow plain way: every
// kept line, each followed by CR LF.
std::string ExpectedCrCopy(const std::string& bytes, bool dropFirst) {
    std::string joined;
    for (const std::string& line : KeptLines(bytes, dropFirst)) joined += line + "\r\n";
    return joined;
}

// The lines of the working copy as the second pass reads them: in the mode kept with it.
std::vector<std::string> ReadBack(const WorkingCopy& copy) {
    FileHandle in = OpenWorkingCopy(copy);
    LineReader reader(in.Get(), copy.Path(), copy.LineEnds(), 3);
    std::vector<std::string> lines;
    while (!reader.AtEnd()) lines.emplace_back(reader.Next());
    return lines;
}

struct CopyCase {
    const char* name;
    std::string bytes;
    bool dropFirst;
    std::string expected;
    const char* firstLine;
    std::uint64_t lines;
    std::uint64_t kept;
    LineEndMode mode = LineEndMode::CrOrCrLf;
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

class PreparedCopy : public WorkingCopyTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(PreparedCopy, HoldsTheKeptLinesEachWithALineEndOfTheFilesMode) {
    const CopyCase& c = GetParam();
    const std::string path = files_.Write("in.txt", c.bytes);
    test::RecordingPump pump;
    WorkingCopy copy = WorkingCopy::Claim();
    const PreparedLines prepared = PrepareFile(copy, path, c.dropFirst ? Typed() : Header(), pump);
    EXPECT_EQ(test::ReadFileBytes(copy.Path()), c.expected);
    if (c.mode == LineEndMode::CrOrCrLf) {
        EXPECT_EQ(c.expected, ExpectedCrCopy(c.bytes, c.dropFirst));
    }
    EXPECT_EQ(prepared.lineEnds, c.mode);
    EXPECT_EQ(copy.LineEnds(), c.mode);
    EXPECT_EQ(ReadBack(copy), KeptLines(c.bytes, c.dropFirst));
    EXPECT_EQ(prepared.firstLine, c.firstLine);
    EXPECT_EQ(prepared.lineCount, c.lines);
    EXPECT_EQ(prepared.keptLineCount, c.kept);
    // One yield before each line read and one before the old copy is replaced.
    EXPECT_EQ(pump.yields, static_cast<long>(c.lines + 1));
    // The listed file itself is never touched.
    EXPECT_EQ(test::ReadFileBytes(path), c.bytes);
}

constexpr LineEndMode kLf = LineEndMode::Lf;

INSTANTIATE_TEST_SUITE_P(
    Cases, PreparedCopy,
    ::testing::Values(
        CopyCase{"CrLfKept", "Name,Age\r\nAnn,30\r\n", false, "Name,Age\r\nAnn,30\r\n", "Name,Age",
                 2, 2},
        CopyCase{"LastLineUnterminated", "a\r\nb", false, "a\r\nb\r\n", "a", 2, 2},
        CopyCase{"CrAlone", "a\rb\rc", false, "a\r\nb\r\nc\r\n", "a", 3, 3},
        CopyCase{"CrInTheMiddle", "a\r\nb\rc\r\nd", false, "a\r\nb\r\nc\r\nd\r\n", "a", 4, 4},
        CopyCase{"CrLfFileKeepsALoneLfInItsLine", "a\r\nb\nc\r\n", false, "a\r\nb\nc\r\n", "a", 2,
                 2},
        CopyCase{"LfLastLineUnterminated", "Name,Age\nAnn,30", false, "Name,Age\nAnn,30\r\n",
                 "Name,Age", 2, 2, kLf},
        CopyCase{"LfFileKeepsALoneCrInItsLine", "h\nx\ry\nz\r\n", true, "x\ry\nz\r\n", "h", 3, 2,
                 kLf},
        CopyCase{"LfFileWhoseLastLineEndsInCr", "a\nb\r", false, "a\nb\r\r\n", "a", 2, 2, kLf},
        CopyCase{"LfEmptyLastLineKept", "a\n\n", false, "a\n\n", "a", 2, 2, kLf},
        CopyCase{"FirstLineDropped", "Name,Age\r\nAnn,30\r\nBob,40\r\n", true,
                 "Ann,30\r\nBob,40\r\n", "Name,Age", 3, 2},
        CopyCase{"DroppedThenUnterminated", "h\r\nx", true, "x\r\n", "h", 2, 1},
        CopyCase{"DroppedThenCr", "h\rx\ry", true, "x\r\ny\r\n", "h", 3, 2},
        CopyCase{"EmptyLastLineKept", "a\r\n\r\n", false, "a\r\n\r\n", "a", 2, 2},
        CopyCase{"EmptyFile", "", false, "\r\n", "", 0, 0},
        CopyCase{"OnlyADroppedHeader", "h\r\n", true, "\r\n", "h", 1, 0},
        CopyCase{"OnlyADroppedLfHeader", "h\n", true, "\r\n", "h", 1, 0, kLf},
        CopyCase{"OnlyAnEmptyLine", "\r\n", false, "\r\n", "", 1, 1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(WorkingCopyTest, LargeFilesWithEveryKindOfEndingMatchThePlainRule) {
    // Lines cross the read buffers, one line is longer than a buffer, and CR-only
    // endings come late, after a long stretch that needs no rewriting.
    std::mt19937 random(7);
    std::string bytes;
    while (bytes.size() < (std::size_t{5} << 20)) {
        const std::size_t length = random() % 200;
        for (std::size_t k = 0; k < length; ++k)
            bytes.push_back(static_cast<char>('a' + random() % 26));
        const bool late = bytes.size() > (std::size_t{3} << 20);
        const unsigned kind = late ? random() % 4 : 0;
        bytes += kind == 1 ? "\r" : kind == 2 ? "\n" : "\r\n";
        if (bytes.size() > (std::size_t{2} << 20) && bytes.size() < (std::size_t{2} << 20) + 300)
            bytes += std::string((std::size_t{3} << 20) / 2, 'L') + "\r\n";
    }
    bytes += "tail";
    // The same lines once in each mode: the first line end decides.
    for (const char* first : {"first\r\n", "first\n"}) {
        const std::string all = first + bytes;
        const std::string path = files_.Write("big.txt", all);
        for (const bool drop : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "first " << testing::PrintToString(first) << " drop " << drop);
            NoEventPump pump;
            WorkingCopy copy = WorkingCopy::Claim();
            const PreparedLines prepared =
                PrepareFile(copy, path, drop ? Append(true) : Append(false), pump);
            if (prepared.lineEnds == LineEndMode::CrOrCrLf) {
                EXPECT_EQ(test::ReadFileBytes(copy.Path()), ExpectedCrCopy(all, drop));
            }
            EXPECT_EQ(ReadBack(copy), KeptLines(all, drop));
            EXPECT_EQ(prepared.lineEnds, PlainLines(all).mode);
            EXPECT_GT(prepared.keptLineCount, 10000u);
        }
    }
}

TEST_F(WorkingCopyTest, LineEndsWhereOnePieceOfTheFileEndsAreReadWhole) {
    // The file is read in pieces: each kind of line end, a dropped first line's among them,
    // falls just before, across and just after the end of the first piece, and the file
    // ends there too.
    const std::size_t edge = kFirstPassChunkSize;
    const std::vector<std::string> ends = {"\r\n", "\r", "\rx", "\r\r\n", "\n", "\n\r", "\r\n\n"};
    for (const bool longFirstLine : {false, true}) {
        for (std::size_t at = edge - 2; at <= edge + 1; ++at) {
            for (const std::string& end : ends) {
                for (const std::string tail : {"", "tail\r\n"}) {
                    std::string bytes = longFirstLine ? "" : "h\r\n";
                    bytes += std::string(at - bytes.size(), 'a') + end + tail;
                    const std::string path = files_.Write("edge.txt", bytes);
                    const std::vector<std::string> lines = PlainLines(bytes).lines;
                    for (const bool drop : {false, true}) {
                        SCOPED_TRACE(testing::Message()
                                     << "long " << longFirstLine << " at " << at << " end "
                                     << testing::PrintToString(end) << " tail " << tail.size()
                                     << " drop " << drop);
                        test::RecordingPump pump;
                        WorkingCopy copy = WorkingCopy::Claim();
                        const PreparedLines prepared =
                            PrepareFile(copy, path, drop ? Typed() : Header(), pump);
                        if (prepared.lineEnds == LineEndMode::CrOrCrLf) {
                            EXPECT_EQ(test::ReadFileBytes(copy.Path()),
                                      ExpectedCrCopy(bytes, drop));
                        }
                        EXPECT_EQ(ReadBack(copy), KeptLines(bytes, drop));
                        EXPECT_EQ(prepared.firstLine, lines.front());
                        EXPECT_EQ(prepared.lineCount, lines.size());
                        EXPECT_EQ(prepared.keptLineCount, lines.size() - (drop ? 1 : 0));
                        EXPECT_EQ(pump.yields, static_cast<long>(lines.size() + 1));
                    }
                }
            }
        }
    }
}

TEST_F(WorkingCopyTest, AFirstPassAgainReadsTheWorkingCopyItself) {
    WorkingCopy copy = WorkingCopy::Claim();
    test::RecordingPump pump;
    MakeWorkingCopy(files_.Write("in.txt", "a\r\nb\rc"), copy);
    EXPECT_EQ(PrepareLines(copy, Typed(), pump).firstLine, "a");
    EXPECT_EQ(test::ReadFileBytes(copy.Path()), "b\r\nc\r\n");

    const PreparedLines again = PrepareLines(copy, Typed(), pump);
    EXPECT_EQ(again.firstLine, "b");
    EXPECT_EQ(again.lineCount, 2u);
    EXPECT_EQ(again.keptLineCount, 1u);
    EXPECT_EQ(test::ReadFileBytes(copy.Path()), "c\r\n");
    EXPECT_EQ(pump.yields, (3 + 1) + (2 + 1));

    // A working copy read again keeps its file's mode: its own lone CR does not decide.
    MakeWorkingCopy(files_.Write("lf.txt", "h\nx\ry\r\nz"), copy);
    EXPECT_EQ(PrepareLines(copy, Typed(), pump).lineEnds, LineEndMode::Lf);
    const PreparedLines lf = PrepareLines(copy, Typed(), pump);
    EXPECT_EQ(lf.firstLine, "x\ry");
    EXPECT_EQ(lf.lineEnds, LineEndMode::Lf);
    EXPECT_EQ(ReadBack(copy), std::vector<std::string>{"z"});
}

// Prepares path in a child process that may write files of limit bytes at most: "write: " or
// "other: " (the failure's stage) and its description, or "no failure".
std::string PrepareWithFileSizeLimit(const std::string& path, const ImportOptions& options,
                                     std::size_t limit) {
    int report[2];
    if (::pipe(report) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        std::string answer = "no failure";
        try {
            NoEventPump pump;
            PrepareFile(path, options, pump);
        } catch (const WorkingCopyError& failure) {
            answer =
                (failure.GetStage() == WorkingCopyError::Stage::Write ? "write: " : "other: ") +
                failure.Description();
        }
        (void)!::write(report[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    ::close(report[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return answer;
}

// A copy cut short by the limit is a write failure of the working copy, not a file that
// cannot be read, and leaves no partial copy.
void ExpectCutShort(const std::string& path, const ImportOptions& options, std::size_t limit,
                    const std::string& copy) {
    SCOPED_TRACE(testing::Message() << "limit " << limit);
    EXPECT_EQ(PrepareWithFileSizeLimit(path, options, limit),
              "write: Cannot write the working copy " + copy + ": " + std::strerror(EFBIG));
    struct stat st {};
    EXPECT_NE(::lstat(copy.c_str(), &st), 0) << "a partial copy was left";
}

TEST_F(WorkingCopyTest, ACopyCutShortIsAWriteFailureOfTheCopyAndLeavesNoWorkingCopy) {
    // A file larger than this process may write: the copy fails part of the way in.
    const std::string path = files_.Write("big.txt", std::string(std::size_t{3} << 20, 'x'));
    ExpectCutShort(path, Header(), std::size_t{1} << 20, Private() + "/1/upload.txt");
}

TEST_F(WorkingCopyTest, AQuotedCopyCutShortIsTheSameWriteFailure) {
    // Cut short in what the reader of quoted fields held, and in the file read on after it.
    std::string bytes = "\"a\",b\r\n";
    while (bytes.size() < (std::size_t{3} << 20)) bytes += std::string(97, 'x') + ",\"y\"\r\n";
    const std::string path = files_.Write("big.csv", bytes);
    ImportOptions options = Header();
    options.quotedFields = true;
    for (const std::size_t limit : {std::size_t{64} << 10, std::size_t{2} << 20})
        ExpectCutShort(path, options, limit, Private() + "/1/upload.txt");
}

TEST_F(WorkingCopyTest, PrivateFolderIsMadeForTheUserAlone) {
    const WorkingCopy copy = WorkingCopy::Claim();
    EXPECT_EQ(copy.Path(), Private() + "/1/upload.txt");
    for (const std::string& folder : {Private(), Private() + "/1"}) {
        struct stat st {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
}

TEST_F(WorkingCopyTest, TwoClaimsAtOnceNeverShareAFileAndFreedNumbersAreReused) {
    std::optional<WorkingCopy> first = WorkingCopy::Claim();
    const WorkingCopy second = WorkingCopy::Claim();
    EXPECT_EQ(first->Path(), Private() + "/1/upload.txt");
    EXPECT_EQ(second.Path(), Private() + "/2/upload.txt");

    WorkingCopy& a = *first;
    WorkingCopy b = WorkingCopy::Claim();
    MakeWorkingCopy(files_.Write("a.txt", "from a\r\n"), a);
    MakeWorkingCopy(files_.Write("b.txt", "from b\r\n"), b);
    NoEventPump pump;
    EXPECT_EQ(PrepareLines(a, Header(), pump).firstLine, "from a");
    EXPECT_EQ(PrepareLines(b, Header(), pump).firstLine, "from b");

    first.reset();
    EXPECT_EQ(WorkingCopy::Claim().Path(), Private() + "/1/upload.txt");
}

TEST_F(WorkingCopyTest, AnotherRunningProgramHoldsItsOwnWorkingCopyUntilItEnds) {
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other program: claims, says so, and keeps its claim until told to end.
        const WorkingCopy copy = WorkingCopy::Claim();
        char byte = copy.Path() == Private() + "/1/upload.txt" ? 'y' : 'n';
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    EXPECT_EQ(WorkingCopy::Claim().Path(), Private() + "/2/upload.txt");

    ASSERT_EQ(::write(release[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // Its claim ended with it.
    EXPECT_EQ(WorkingCopy::Claim().Path(), Private() + "/1/upload.txt");
    for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

// Each way of planting something unsafe in place of a working folder is refused.
TEST_F(WorkingCopyTest, UnsafeFoldersAreRefused) {
    const std::string elsewhere = files_.Path() + "/elsewhere";
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);

    ASSERT_EQ(::symlink(elsewhere.c_str(), Private().c_str()), 0);
    EXPECT_THROW(WorkingCopy::Claim(), Failure);
    ASSERT_EQ(::unlink(Private().c_str()), 0);

    ASSERT_EQ(::mkdir(Private().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(Private().c_str(), 0755), 0);
    EXPECT_THROW(WorkingCopy::Claim(), Failure);
    ASSERT_EQ(::chmod(Private().c_str(), 0700), 0);

    ASSERT_EQ(::symlink(elsewhere.c_str(), (Private() + "/1").c_str()), 0);
    try {
        WorkingCopy::Claim();
        FAIL() << "a linked working folder was used";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find(Private() + "/1"), std::string::npos);
    }
    ASSERT_EQ(::unlink((Private() + "/1").c_str()), 0);
    EXPECT_NO_THROW(WorkingCopy::Claim());
}

TEST_F(WorkingCopyTest, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a folder for another user";
    ASSERT_EQ(::mkdir(Private().c_str(), 0700), 0);
    ASSERT_EQ(::chown(Private().c_str(), 65534, 65534), 0);
    try {
        WorkingCopy::Claim();
        FAIL() << "a folder of another user was used";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("another user"), std::string::npos);
    }
}

TEST_F(WorkingCopyTest, ALinkPlantedAsTheWorkingCopyIsNeverFollowed) {
    WorkingCopy copy = WorkingCopy::Claim();
    const std::string victim = files_.Write("victim.txt", "precious\r\n");

    // Before the copy: removed, not written through.
    ASSERT_EQ(::symlink(victim.c_str(), copy.Path().c_str()), 0);
    MakeWorkingCopy(files_.Write("in.txt", "x\r\n"), copy);
    EXPECT_EQ(test::ReadFileBytes(victim), "precious\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(copy.Path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));

    // Before the first pass: refused, not read.
    ASSERT_EQ(::unlink(copy.Path().c_str()), 0);
    ASSERT_EQ(::symlink(victim.c_str(), copy.Path().c_str()), 0);
    NoEventPump pump;
    try {
        PrepareLines(copy, Header(), pump);
        FAIL() << "the first pass read through a link";
    } catch (const WorkingCopyError& failure) {
        EXPECT_EQ(failure.GetStage(), WorkingCopyError::Stage::Open);
    }
    EXPECT_EQ(test::ReadFileBytes(victim), "precious\r\n");
}

struct UnreadableCase {
    const char* name;
    const char* reason;  // the end of the description
};

void PrintTo(const UnreadableCase& c, std::ostream* os) {
    *os << c.name;
}

class UnreadableFile : public WorkingCopyTest,
                       public ::testing::WithParamInterface<UnreadableCase> {};

// Whatever the earlier file left, an unreadable file leaves no working copy to read.
TEST_P(UnreadableFile, LeavesNoCopyAndTheFirstPassNamesTheFile) {
    WorkingCopy copy = WorkingCopy::Claim();
    NoEventPump pump;
    MakeWorkingCopy(files_.Write("earlier.txt", "earlier\r\n"), copy);
    PrepareLines(copy, Header(), pump);

    std::string path = files_.File(GetParam().name);
    const std::string kind = GetParam().name;
    if (kind == "folder") {
        ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    }
    if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    }
    if (kind == "blank") path = "   ";

    MakeWorkingCopy(path, copy);
    struct stat st {};
    EXPECT_NE(::lstat(copy.Path().c_str(), &st), 0) << "a working copy was left";
    try {
        PrepareLines(copy, Header(), pump);
        FAIL() << "the first pass found a working copy";
    } catch (const WorkingCopyError& failure) {
        EXPECT_EQ(failure.GetStage(), WorkingCopyError::Stage::Open);
        const std::string& d = failure.Description();
        EXPECT_EQ(d.rfind("The file \"" + path + "\" cannot be read", 0), 0u) << d;
        EXPECT_NE(d.find(GetParam().reason), std::string::npos) << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadableFile,
                         ::testing::Values(UnreadableCase{"missing.txt", "No such file"},
                                           UnreadableCase{"folder", "not a regular file"},
                                           UnreadableCase{"fifo", "not a regular file"},
                                           UnreadableCase{"wild*.txt", "wildcard"},
                                           UnreadableCase{"blank", "empty"}),
                         [](const auto& p) {
                             std::string n = p.param.name;
                             return n == "wild*.txt" ? std::string("wildcard")
                                                     : n.substr(0, n.find('.'));
                         });

TEST_F(WorkingCopyTest, OptionsAreReadWhenTheFirstLineIsRead) {
    // Switching the column source before the first line is read decides whether it is kept.
    ImportOptions options = Header();
    test::RecordingPump pump;
    pump.onYield = [&] { options.columnSource = ColumnSource::TypedNames; };
    const PreparedLines prepared = PrepareFile(files_.Write("in.txt", "h\r\nv\r\n"), options, pump);
    EXPECT_EQ(prepared.keptLineCount, 1u);
    EXPECT_EQ(test::ReadFileBytes(Private() + "/1/upload.txt"), "v\r\n");
}

}  // namespace
}  // namespace verrolift

#include "import/quoted_record_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "import/file_handle.h"
#include "support/temp_dir.h"

namespace verrolift {
namespace {

using Fault = QuotedRecordReader::Fault;

// One record as read: its start line, its fault, and each field marked "q:"
// (quoted) or "u:" (unquoted).
struct Record {
    std::uint64_t line;
    Fault fault;
    std::vector<std::string> fields;
    bool operator==(const Record&) const = default;
};

void PrintTo(const Record& r, std::ostream* os) {
    *os << "{line " << r.line << ", fault " << static_cast<int>(r.fault) << ",";
    for (const auto& f : r.fields) *os << " [" << ::testing::PrintToString(f) << "]";
    *os << "}";
}

Record Good(std::uint64_t line, std::vector<std::string> fields) {
    return Record{line, Fault::None, std::move(fields)};
}
Record Bad(std::uint64_t line, Fault fault) {
    return Record{line, fault, {}};
}

std::vector<Record> ReadRecords(QuotedRecordReader& reader) {
    std::vector<Record> records;
    while (reader.Next()) {
        Record r{reader.StartLine(), reader.GetFault(), {}};
        EXPECT_EQ(reader.Number(), records.size() + 1);
        EXPECT_EQ(reader.Fields().size(), reader.Quoted().size());
        for (std::size_t i = 0; i < reader.Fields().size(); ++i)
            r.fields.push_back((reader.Quoted()[i] ? "q:" : "u:") +
                               std::string(reader.Fields()[i]));
        records.push_back(std::move(r));
    }
    // Reading past the end stays at the end.
    EXPECT_FALSE(reader.Next());
    return records;
}

// bufferSize 0: the bytes are read from memory rather than from a file.
std::vector<Record> ReadAll(const std::string& bytes, QuotedRecordReader::Settings settings,
                            std::size_t bufferSize) {
    if (bufferSize == 0) {
        QuotedRecordReader reader(bytes, settings);
        return ReadRecords(reader);
    }
    test::TempDir dir;
    const std::string path = dir.Write("in.csv", bytes);
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    settings.bufferSize = bufferSize;
    QuotedRecordReader reader(fd.Get(), path, settings);
    return ReadRecords(reader);
}

struct RecordCase {
    const char* name;
    std::string bytes;
    std::vector<Record> records;
    std::string separator = ",";
    std::optional<LineEndMode> ends = std::nullopt;
    std::size_t maxQuotedField = QuotedRecordReader::kMaxQuotedField;
};

void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

// Buffer sizes that put every quote, separator and line end at every place of a buffer.
class QuotedRecords : public ::testing::TestWithParam<std::tuple<RecordCase, std::size_t>> {};

TEST_P(QuotedRecords, ReadAsWritten) {
    const auto& [c, bufferSize] = GetParam();
    QuotedRecordReader::Settings settings;
    settings.separator = c.separator;
    settings.lineEnds = c.ends;
    settings.maxQuotedField = c.maxQuotedField;
    EXPECT_EQ(ReadAll(c.bytes, settings, bufferSize), c.records);
}

const RecordCase kRecordCases[] = {
    {"Empty", "", {}},
    {"DoubledQuotes", "\"say \"\"hi\"\"\",\"\"\"\"\r\n", {Good(1, {"q:say \"hi\"", "q:\""})}},
    {"LfInsideCrLfFile",
     "h\r\n\"a\nb\",c\r\nd\r\n",
     {Good(1, {"u:h"}), Good(2, {"q:a\nb", "u:c"}), Good(3, {"u:d"})}},
    {"CrLfInsideLfFile",
     "h\n\"a\r\nb\",c\nd\n",
     {Good(1, {"u:h"}), Good(2, {"q:a\r\nb", "u:c"}), Good(4, {"u:d"})}},
    {"LinesCountedInsideQuotes",
     "\"a\r\nb\rc\",d\r\ne",
     {Good(1, {"q:a\r\nb\rc", "u:d"}), Good(4, {"u:e"})}},
    {"MultiCharacterSeparator",
     "\"a::b\"::c:d::\"\"::\r\n",
     {Good(1, {"q:a::b", "u:c:d", "q:", "u:"})},
     "::"},
    {"EmptySeparatorGivesOneField",
     "\"a,b\"\r\nc,\"d\"\r\n",
     {Good(1, {"q:a,b"}), Good(2, {"u:c,\"d\""})},
     ""},
    {"EmptyLinesHaveNoField",
     "a\r\n\r\n\"\"\r\n",
     {Good(1, {"u:a"}), Good(2, {}), Good(3, {"q:"})}},
    {"LoneCrIsTextInAnLfFile", "a\nb\rc\n", {Good(1, {"u:a"}), Good(2, {"u:b\rc"})}},
    {"CrBeforeLfBelongsToTheLineEnd",
     "a\nb\r\n\"c\"\r\n",
     {Good(1, {"u:a"}), Good(2, {"u:b"}), Good(3, {"q:c"})}},
    {"LoneLfIsTextInACrFile", "a\r\nb\nc\r\n", {Good(1, {"u:a"}), Good(2, {"u:b\nc"})}},
    {"FirstLineEndInsideQuotesDoesNotDecide",
     "\"x\ny\",1\r\nz\n2\r\n",
     {Good(1, {"q:x\ny", "u:1"}), Good(2, {"u:z\n2"})}},
    {"GivenLfEnds", "a\r\nb\rc\n", {Good(1, {"u:a"}), Good(2, {"u:b\rc"})}, ",", LineEndMode::Lf},
    {"BytesKept",
     std::string("\"\xEF\xBB\xBF\x00\xFF\",\x01", 9),
     {Good(1, {std::string("q:\xEF\xBB\xBF\x00\xFF", 7), "u:\x01"})}},
    // Malformed records: reported in place, and the next one read as usual.
    {"TextAfterClosingQuote",
     "1,2\r\n\"a\"x,3\r\n4,5\r\n",
     {Good(1, {"u:1", "u:2"}), Bad(2, Fault::TextAfterQuote), Good(3, {"u:4", "u:5"})}},
    {"QuoteAfterTextAfterClosingQuoteIsText",
     "\"a\"b\"c\r\nd\",e\r\nf\r\n",
     {Bad(1, Fault::TextAfterQuote), Good(2, {"u:d\"", "u:e"}), Good(3, {"u:f"})}},
    {"LfAfterClosingQuoteIsTextInACrFile",
     "\"a\"\r\n\"b\"\nc\r\nd",
     {Good(1, {"q:a"}), Bad(2, Fault::TextAfterQuote), Good(3, {"u:d"})}},
    {"OpenQuoteAtTheEndGoesOnAtTheNextLine",
     "1\r\n\"abc\r\ndef,\"\"\r\ng\r\n",
     {Good(1, {"u:1"}), Bad(2, Fault::OpenAtEnd), Good(3, {"u:def", "q:"}), Good(4, {"u:g"})}},
    {"OpenQuoteOnTheLastLine", "1\n2,\"abc", {Good(1, {"u:1"}), Bad(2, Fault::OpenAtEnd)}},
    {"OpenQuoteBeforeAnyLineEndDecides",
     "\"abc\nd\re\n",
     {Bad(1, Fault::OpenAtEnd), Good(2, {"u:d\re"})}},
    {"QuotedFieldPastTheLimit",
     "x\r\n\"0123456789\",a\r\nb\r\n",
     {Good(1, {"u:x"}), Bad(2, Fault::TooLong), Good(3, {"u:b"})},
     ",",
     std::nullopt,
     8},
    {"OpenQuotedFieldPastTheLimit",
     "\"abc\ndefghijk\n\"lm\n",
     {Bad(1, Fault::TooLong), Good(2, {"u:defghijk"}), Bad(3, Fault::OpenAtEnd)},
     ",",
     std::nullopt,
     4},
    {"QuotedFieldAtTheLimit", "\"0123\"\r\n", {Good(1, {"q:0123"})}, ",", std::nullopt, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, QuotedRecords,
                         ::testing::Combine(::testing::ValuesIn(kRecordCases),
                                            ::testing::Values(0, 2, 3, 4, 5, 7, 1 << 20)),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(std::get<1>(p.param));
                         });

TEST(QuotedRecordReader, GivesTheRecordsTextAndTheLineEndsItDecided) {
    QuotedRecordReader reader("\"a\nb\",c\n\"d\"\n", {});
    EXPECT_EQ(reader.Ends(), std::nullopt);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.Text(), "\"a\nb\",c");
    EXPECT_EQ(reader.Ends(), LineEndMode::Lf);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.Text(), "\"d\"");
    EXPECT_FALSE(reader.Next());
}

TEST(QuotedRecordReader, HandsOverWhatItHoldsBeyondTheRecordsItRead) {
    // After a good record, and after one whose open quote loses it only its first line.
    for (const bool malformed : {false, true}) {
        test::TempDir dir;
        const std::string first = malformed ? "\"open\r\n" : "\"a\r\nb\",c\r\n";
        const std::string rest = "1,2\r\n3," + std::string(50, 'x');
        const std::string path = dir.Write("in.csv", first + rest);
        FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        QuotedRecordReader::Settings settings;
        settings.bufferSize = 8;
        QuotedRecordReader reader(fd.Get(), path, settings);
        ASSERT_TRUE(reader.Next());
        EXPECT_EQ(reader.GetFault(), malformed ? Fault::OpenAtEnd : Fault::None);
        std::string taken(reader.TakeBuffered());
        char buffer[64];
        for (std::size_t n; (n = ReadSome(fd.Get(), buffer, sizeof buffer, path)) > 0;)
            taken.append(buffer, n);
        EXPECT_EQ(taken, rest) << "malformed " << malformed;
        EXPECT_EQ(reader.NextLine(), malformed ? 2u : 3u);
        EXPECT_EQ(reader.Ends(), LineEndMode::CrOrCrLf);
    }
}

}  // namespace
}  // namespace verrolift

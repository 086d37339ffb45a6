// Files as other programs write them, imported end to end: each stored value is
// compared with the text the file holds, whatever its encoding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import_steps.h"
#include "support/import_fixture.h"

namespace verrolift {
namespace {

using namespace std::string_literals;

// The UTF-16 form of UTF-8 text, with its mark: what "Unicode text" exports are.
std::string Utf16(const std::string& utf8, bool bigEndian) {
    std::u32string points;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto unit = [&](char16_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    for (const char32_t p : points) {
        if (p < 0x10000) {
            unit(static_cast<char16_t>(p));
        } else {
            unit(static_cast<char16_t>(0xD800 + ((p - 0x10000) >> 10)));
            unit(static_cast<char16_t>(0xDC00 + ((p - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

enum class Target { NewTable, NewTableSkippingHeader, TypedNames, Append, AppendSkippingHeader };

struct EncodingCase {
    const char* name;
    std::string bytes;
    Target target;
    std::string encoding;  // --encoding, "" for the automatic rule
    std::string separator;
    bool quoted;
    std::vector<std::string> columns;  // of a new table
    std::vector<std::string> rows;
    std::vector<int> reportSteps;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kBom = "\xEF\xBB\xBF";
const std::string kUtf16Text = "Name\tCity\r\nJos\xC3\xA9\t\xE6\x9D\xB1\xE4\xBA\xAC\r\n";
// Windows-1252: the euro, an en dash, curly quotes, e acute, and 0x81, which Windows maps
// to the C1 control U+0081.
const std::string kCp1252 = "a,b\r\n\x80 \x96 \x93q\x94,\xE9\x81\r\n";
constexpr int kNotValid = import_steps::kMalformedRecord;

// Under wine, unixODBC hands statement text to a driver without wide calls as UCS-2, which
// has no room for characters beyond U+FFFF: the Windows build's text stays within it.
#ifdef _WIN32
const std::string kBeyondLatin =
    "Gr\xC3\xBC\xC3\x9F"
    "e \xE6\x95\xB0\xE6\x8D\xAE \xCE\xA9";
#else
const std::string kBeyondLatin =
    "Gr\xC3\xBC\xC3\x9F"
    "e \xE6\x95\xB0\xE6\x8D\xAE \xCE\xA9 \xF0\x9F\x98\x80";
#endif
const EncodingCase kValidUtf8{"ValidUtf8ByteForByte",
                              "n\r\n" + kBeyondLatin + "\r\n",
                              Target::NewTable,
                              "",
                              ",",
                              false,
                              {"n"},
                              {"n", kBeyondLatin},
                              {}};

// As bytes, a Latin-1 byte reaches the database as it is: a UTF-8 server refuses it.
#ifdef VERROLIFT_TEST_PG
const EncodingCase kBytesAsTheyAre{"BytesAsTheyAre",
                                   "n\r\nCaf\xE9\r\n",
                                   Target::NewTable,
                                   "bytes",
                                   ",",
                                   false,
                                   {"n"},
                                   {"n"},
                                   {import_steps::kHeaderRows.send}};
#else
const EncodingCase kBytesAsTheyAre{"BytesAsTheyAre",
                                   "n\r\nCaf\xE9\r\n",
                                   Target::NewTable,
                                   "bytes",
                                   ",",
                                   false,
                                   {"n"},
                                   {"n", "Caf\xE9"},
                                   {}};
#endif

class EncodingFile : public test::ImportFixture {};

class EncodingImport : public test::ImportFixture,
                       public testing::WithParamInterface<EncodingCase> {};

TEST_P(EncodingImport, StoresTheTextTheFileHolds) {
    const EncodingCase& c = GetParam();
    std::string table = db_.Fresh(std::string("enc_") + c.name);
    switch (c.target) {
        case Target::NewTable:
        case Target::NewTableSkippingHeader:
            options_.skipHeaderOnCreate = c.target == Target::NewTableSkippingHeader;
            options_.tableNamePattern = table;
            break;
        case Target::TypedNames:
            options_.columnSource = ColumnSource::TypedNames;
            dialogs_.inputAnswers.assign(c.columns.begin(), c.columns.end());
            options_.tableNamePattern = table;
            break;
        case Target::Append:
        case Target::AppendSkippingHeader:
            table = MakeTable(table, 2);
            UseAppend(table, c.target == Target::AppendSkippingHeader);
            break;
    }
    if (!c.encoding.empty()) options_.encoding = ParseEncodingName(c.encoding);
    options_.separator = c.separator;
    options_.quotedFields = c.quoted;
    AddFile("in.txt", c.bytes);
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), c.reportSteps);
    if (c.target != Target::Append && c.target != Target::AppendSkippingHeader) {
        EXPECT_EQ(db_.Columns(table), c.columns);
    }
    EXPECT_EQ(db_.Rows(table), c.rows);
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, EncodingImport,
    testing::Values(
        // The mark would otherwise hide the opening quote of the first header field.
        EncodingCase{"BomBeforeAQuotedHeader",
                     kBom + "\"Last, First\",Age,Note\r\n\"Doe, Jane\",41,ok\r\n",
                     Target::NewTableSkippingHeader,
                     "",
                     ",",
                     true,
                     {"LastFirst", "Age", "Note"},
                     {"Doe, Jane|41|ok"},
                     {}},
        EncodingCase{"BomBeforeAPlainHeader",
                     kBom + "Name,Age\r\nPlain,1\r\n",
                     Target::NewTable,
                     "",
                     ",",
                     false,
                     {"Name", "Age"},
                     {"Name|Age", "Plain|1"},
                     {}},
        EncodingCase{"BomInAppendMode",
                     kBom + "h1,h2\r\nPlain,1\r\n",
                     Target::AppendSkippingHeader,
                     "",
                     ",",
                     false,
                     {},
                     {"Plain|1"},
                     {}},
        EncodingCase{"BomWithoutAHeader",
                     kBom + "Plain,1\r\nx,2\r\n",
                     Target::Append,
                     "",
                     ",",
                     false,
                     {},
                     {"Plain|1", "x|2"},
                     {}},
        EncodingCase{"Utf16LittleEndian",
                     Utf16(kUtf16Text, false),
                     Target::NewTable,
                     "",
                     "\t",
                     false,
                     {"Name", "City"},
                     {"Name|City", "Jos\xC3\xA9|\xE6\x9D\xB1\xE4\xBA\xAC"},
                     {}},
        EncodingCase{"Utf16BigEndian",
                     Utf16(kUtf16Text, true),
                     Target::NewTable,
                     "",
                     "\t",
                     false,
                     {"Name", "City"},
                     {"Name|City", "Jos\xC3\xA9|\xE6\x9D\xB1\xE4\xBA\xAC"},
                     {}},
        EncodingCase{
            "Windows1252ByItsContent",
            kCp1252,
            Target::NewTable,
            "",
            ",",
            false,
            {"a", "b"},
            {"a|b", "\xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9Cq\xE2\x80\x9D|\xC3\xA9\xC2\x81"},
            {}},
        EncodingCase{"Latin1ByName",
                     "n\r\n\xE9\xFF\r\n",
                     Target::NewTable,
                     "latin1",
                     ",",
                     false,
                     {"n"},
                     {"n", "\xC3\xA9\xC3\xBF"},
                     {}},
        EncodingCase{"Cp1251ByName",
                     "n\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n",
                     Target::NewTable,
                     "cp1251",
                     ",",
                     false,
                     {"n"},
                     {"n", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
                     {}},
        // Named as UTF-8, a line that is not is refused on its own, not guessed at.
        EncodingCase{"Utf8ByNameRefusesAnInvalidLine",
                     "n\r\nok\r\nb\xE9"
                     "d\r\nfine\r\n",
                     Target::NewTable,
                     "utf-8",
                     ",",
                     false,
                     {"n"},
                     {"n", "ok", "fine"},
                     {kNotValid}},
        // A mark that agrees with the encoding named is dropped too.
        EncodingCase{"Utf16ByNameWithItsMark",
                     Utf16("v\r\n\xCE\xA9\r\n", false),
                     Target::NewTable,
                     "utf-16le",
                     ",",
                     false,
                     {"v"},
                     {"v", "\xCE\xA9"},
                     {}},
        kValidUtf8, kBytesAsTheyAre),
    [](const testing::TestParamInfo<EncodingCase>& param) {
        return std::string(param.param.name);
    });

// A record that spans lines under quoted fields is refused whole when any of its lines
// is not valid, and the reports name the file's own line.
TEST_F(EncodingFile, AnInvalidLineInsideAQuotedRecordRefusesTheRecordAndNamesItsLine) {
    options_.tableNamePattern = db_.Fresh("enc_quoted");
    options_.quotedFields = true;
    options_.encoding = ParseEncodingName("utf-8");
    AddFile("q.csv", "h\r\n\"one\r\ntw\xE9\"\r\nthree\r\n");
    Run();
    ASSERT_EQ(dialogs_.reports.size(), 1u);
    EXPECT_NE(dialogs_.reports[0].description.find("(q.csv, line 2)"), std::string::npos)
        << dialogs_.reports[0].description;
    EXPECT_EQ(db_.Rows(options_.tableNamePattern), (std::vector<std::string>{"h", "three"}));
}

}  // namespace
}  // namespace verrolift

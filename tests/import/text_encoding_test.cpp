#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "import/code_page.h"
#include "import/text_decoder.h"
#include "import/text_encoding.h"
#include "import/utf8_check.h"
#include "import/windows_1252.h"

namespace verrolift {
namespace {

using namespace std::string_literals;

// Piece sizes the input is fed in; 0 is the whole input at once. 1 to 7 cut every
// multi-byte sequence somewhere, 64 crosses the eight-byte ASCII blocks.
const auto kPieces = ::testing::Values(std::size_t{1}, std::size_t{2}, std::size_t{3},
                                       std::size_t{7}, std::size_t{64}, std::size_t{0});

template <typename Each>
void InPieces(const std::string& input, std::size_t piece, Each each) {
    if (piece == 0) piece = input.size();
    for (std::size_t at = 0; at < input.size(); at += piece) {
        // A buffer of the piece's exact size, so that the sanitizer sees a read past it.
        const std::size_t size = std::min(piece, input.size() - at);
        const auto copy = std::make_unique<char[]>(size);
        std::copy_n(input.data() + at, size, copy.get());
        each(copy.get(), size);
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<std::tuple<Case, std::size_t>>& info) {
    const std::size_t piece = std::get<1>(info.param);
    return std::string(std::get<0>(info.param).what) + "_" +
           (piece == 0 ? "whole" : std::to_string(piece));
}

template <typename Case>
std::string WhatName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.what;
}

// --- UTF-8 check ---

struct CheckCase {
    const char* what;
    std::string input;
    std::optional<std::uint64_t> invalidAt;
};

class Utf8CheckTest : public ::testing::TestWithParam<std::tuple<CheckCase, std::size_t>> {};

TEST_P(Utf8CheckTest, FindsTheFirstInvalidSequenceWhereverThePiecesEnd) {
    const auto& [c, piece] = GetParam();
    Utf8Check check;
    InPieces(c.input, piece, [&](const char* data, std::size_t size) { check.Feed(data, size); });
    EXPECT_EQ(check.Finish(), !c.invalidAt.has_value());
    EXPECT_EQ(check.InvalidAt(), c.invalidAt);
}

const std::string kAscii40 = Repeat("abcd,efgh;", 4);

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8CheckTest,
    ::testing::Combine(
        ::testing::Values(
            CheckCase{"Empty", "", std::nullopt}, CheckCase{"Ascii", kAscii40, std::nullopt},
            CheckCase{"TwoThreeFour", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", std::nullopt},
            CheckCase{"Limits",
                      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
                      "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                      std::nullopt},
            CheckCase{"AfterAscii", kAscii40 + "\xE2\x82\xAC" + kAscii40, std::nullopt},
            CheckCase{"Cyrillic", Repeat("\xD0\x9F\xD1\x80\xD0\xB8", 20), std::nullopt},
            CheckCase{"Overlong2", "ab\xC0\x80", 2}, CheckCase{"OverlongC1", "\xC1\xBF", 0},
            CheckCase{"Overlong3", "ab\xE0\x9F\xBF", 2},
            CheckCase{"SurrogateLow", "ab\xED\xA0\x80", 2},
            CheckCase{"AboveMax", "ab\xF4\x90\x80\x80", 2},
            CheckCase{"F5", "ab\xF5\x80\x80\x80", 2}, CheckCase{"FF", "ab\xFF", 2},
            CheckCase{"LoneContinuation", "ab\x80", 2},
            CheckCase{"ContinuationAfterChar", "\xC3\xA9\xA9", 2},
            CheckCase{"LeadThenAscii", "ab\xE2\x82x", 2},
            CheckCase{"FourCutByAscii", "ab\xF0\x9F\x98x", 2},
            CheckCase{"TruncatedAtEnd2", "ab\xC3", 2},
            CheckCase{"TruncatedAtEnd3", "ab\xE2\x82", 2},
            CheckCase{"TruncatedAtEnd4", "ab\xF0\x9F\x98", 2},
            CheckCase{"LateInLongText", kAscii40 + kAscii40 + "\x80" + kAscii40, 80},
            CheckCase{"OnlyTheFirstCounts", "a\xFF" + kAscii40 + "\xFF", 1}),
        kPieces),
    CaseName<CheckCase>);

// The ASCII blocks: a bad byte at each place in a 40-byte line is found exactly there.
class Utf8CheckPlaceTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Utf8CheckPlaceTest, FindsABadByteAtEveryPlaceOfABlock) {
    for (std::size_t at = 0; at < kAscii40.size(); ++at) {
        std::string input = kAscii40;
        input[at] = '\xFE';
        Utf8Check check;
        InPieces(input, GetParam(),
                 [&](const char* data, std::size_t size) { check.Feed(data, size); });
        EXPECT_EQ(check.InvalidAt(), std::optional<std::uint64_t>(at)) << "at " << at;
    }
}

INSTANTIATE_TEST_SUITE_P(Pieces, Utf8CheckPlaceTest, kPieces);

// Every string of up to four bytes drawn from the bytes where the rules change, at places
// around the 16-byte blocks, against a reference that decodes code points and checks their
// values rather than byte ranges.
std::optional<std::uint64_t> ReferenceInvalidAt(const std::string& text) {
    constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < text.size();) {
        const unsigned lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC0 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF8 ? 4
                                                           : 0;
        if (length == 0 || i + length > text.size()) return i;
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return i;
            c = c << 6 | (next & 0x3F);
        }
        if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return i;
        i += length;
    }
    return std::nullopt;
}

TEST(Utf8Check, AgreesWithCodePointDecodingOnEveryShortSequence) {
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                   0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                   0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xF8, 0xFF};
    const std::size_t n = sizeof edges;
    int invalid = 0;
    for (std::size_t length = 1; length <= 4; ++length) {
        std::size_t count = 1;
        for (std::size_t k = 0; k < length; ++k) count *= n;
        for (std::size_t index = 0; index < count; ++index) {
            std::string bytes;
            for (std::size_t k = 0, rest = index; k < length; ++k, rest /= n)
                bytes += static_cast<char>(edges[rest % n]);
            // Before, inside and at the end of 16-byte blocks, and at the end of the text.
            const std::string texts[] = {bytes + kAscii40, std::string(13, 'a') + bytes + kAscii40,
                                         std::string(14, 'a') + bytes + kAscii40,
                                         std::string(16 - length, 'a') + bytes,
                                         std::string(30, 'a') + bytes};
            for (const std::string& text : texts) {
                Utf8Check check;
                InPieces(text, 0,
                         [&](const char* data, std::size_t size) { check.Feed(data, size); });
                check.Finish();
                const auto expected = ReferenceInvalidAt(text);
                invalid += expected.has_value();
                ASSERT_EQ(check.InvalidAt(), expected) << ::testing::PrintToString(text);
            }
        }
    }
    EXPECT_GT(invalid, 0);
}

// --- Marks ---

struct MarkCase {
    const char* what;
    std::string firstBytes;
    std::optional<EncodingKind> kind;
    std::size_t length;
};

class ByteOrderMarkTest : public ::testing::TestWithParam<MarkCase> {};

// The mark is found, and dropped only for the encoding it names.
TEST_P(ByteOrderMarkTest, NamesItsEncodingAndIsDroppedOnlyForIt) {
    const MarkCase& c = GetParam();
    const auto mark = FindByteOrderMark(c.firstBytes);
    ASSERT_EQ(mark.has_value(), c.kind.has_value());
    if (mark) {
        EXPECT_EQ(mark->kind, *c.kind);
        EXPECT_EQ(mark->length, c.length);
    }
    for (const EncodingKind kind :
         {EncodingKind::Utf8, EncodingKind::Utf16Le, EncodingKind::Utf16Be, EncodingKind::Bytes}) {
        EXPECT_EQ(MarkToDrop(TextEncoding(kind), c.firstBytes), c.kind == kind ? c.length : 0)
            << TextEncoding(kind).DisplayName();
    }
    EXPECT_EQ(MarkToDrop(TextEncoding(EncodingKind::CodePage, "windows-1252"), c.firstBytes), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ByteOrderMarkTest,
    ::testing::Values(MarkCase{"Utf8", "\xEF\xBB\xBFid", EncodingKind::Utf8, 3},
                      MarkCase{"Utf8Alone", "\xEF\xBB\xBF", EncodingKind::Utf8, 3},
                      MarkCase{"Utf16Le", "\xFF\xFEz\0"s, EncodingKind::Utf16Le, 2},
                      MarkCase{"Utf16LeAlone", "\xFF\xFE", EncodingKind::Utf16Le, 2},
                      MarkCase{"Utf16Be", "\xFE\xFF\0z"s, EncodingKind::Utf16Be, 2},
                      MarkCase{"Utf16BeAlone", "\xFE\xFF", EncodingKind::Utf16Be, 2},
                      MarkCase{"PartialUtf8", "\xEF\xBB", std::nullopt, 0},
                      MarkCase{"PartialUtf8BeforeText", "\xEF\xBBz", std::nullopt, 0},
                      MarkCase{"OneByte", "\xFF", std::nullopt, 0},
                      MarkCase{"Empty", "", std::nullopt, 0},
                      MarkCase{"NotAtStart", "z\xEF\xBB\xBF", std::nullopt, 0},
                      MarkCase{"Reversed", "\xBF\xBB\xEF", std::nullopt, 0}),
    WhatName<MarkCase>);

// --- Names ---

struct NameCase {
    const char* what;
    const char* name;
    std::optional<EncodingKind> kind;
    const char* display;
};

class ParseEncodingNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ParseEncodingNameTest, KnowsTheNamesWhateverTheirCase) {
    const auto encoding = ParseEncodingName(GetParam().name);
    ASSERT_EQ(encoding.has_value(), GetParam().kind.has_value());
    if (encoding) {
        EXPECT_EQ(encoding->Kind(), *GetParam().kind);
        EXPECT_EQ(encoding->DisplayName(), GetParam().display);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseEncodingNameTest,
    ::testing::Values(
        NameCase{"Utf8Upper", "UTF-8", EncodingKind::Utf8, "utf-8"},
        NameCase{"Utf16Le", "Utf-16LE", EncodingKind::Utf16Le, "utf-16le"},
        NameCase{"Utf16Be", "utf-16be", EncodingKind::Utf16Be, "utf-16be"},
        NameCase{"Bytes", "BYTES", EncodingKind::Bytes, "bytes"},
        NameCase{"Windows1252", "Windows-1252", EncodingKind::CodePage, "Windows-1252"},
        NameCase{"Number1252", "1252", EncodingKind::CodePage, "1252"},
        NameCase{"Latin1", "LATIN1", EncodingKind::CodePage, "LATIN1"},
        NameCase{"Cp1251", "cp1251", EncodingKind::CodePage, "cp1251"},
        NameCase{"Windows1251", "windows-1251", EncodingKind::CodePage, "windows-1251"},
        NameCase{"Number1251", "1251", EncodingKind::CodePage, "1251"},
        NameCase{"ShiftJis", "Shift_JIS", EncodingKind::CodePage, "Shift_JIS"},
        NameCase{"Unknown", "klingon", std::nullopt, ""}, NameCase{"Empty", "", std::nullopt, ""},
        NameCase{"WithSuffix", "latin1//IGNORE", std::nullopt, ""}),
    WhatName<NameCase>);

#ifndef _WIN32
// On Windows it is the system's ANSI code page.
TEST(LegacyEncoding, IsWindows1252WhereTheSystemHasNoCodePage) {
    EXPECT_TRUE(LegacyEncoding().IsWindows1252());
    EXPECT_EQ(LegacyEncoding().DisplayName(), "windows-1252");
}
#endif

// --- Decoding ---

struct DecodeCase {
    const char* what;
    std::string input;
    std::string utf8;
    std::vector<std::uint64_t> invalidAt;
};

using DecodeParam = std::tuple<const char*, DecodeCase, std::size_t>;

class TextDecoderTest : public ::testing::TestWithParam<DecodeParam> {};

TEST_P(TextDecoderTest, GivesTheSameUtf8WhereverThePiecesEnd) {
    const auto& [name, c, piece] = GetParam();
    const auto encoding = ParseEncodingName(name);
#ifdef _WIN32
    if (!encoding && std::string_view(name) == "gb18030")
        GTEST_SKIP() << "no code page 54936 here (wine has none)";
#endif
    ASSERT_TRUE(encoding) << name;
    TextDecoder decoder(*encoding);
    // A fresh out each call: the offsets count over all of them.
    std::string all, out;
    InPieces(c.input, piece, [&](const char* data, std::size_t size) {
        out.clear();
        decoder.Decode(data, size, out);
        all += out;
    });
    out.clear();
    decoder.Finish(out);
    all += out;
    EXPECT_EQ(all, c.utf8);
    EXPECT_EQ(decoder.InvalidAt(), c.invalidAt);
    EXPECT_EQ(decoder.Written(), c.utf8.size());
}

std::string DecodeName(const ::testing::TestParamInfo<DecodeParam>& info) {
    const std::size_t piece = std::get<2>(info.param);
    return std::string(std::get<1>(info.param).what) + "_" +
           (piece == 0 ? "whole" : std::to_string(piece));
}

template <typename... Cases>
auto Decoding(const char* encoding, Cases... cases) {
    return ::testing::Combine(::testing::Values(encoding), ::testing::Values(cases...), kPieces);
}

const std::string kFffd = "\xEF\xBF\xBD";
const std::string kSmile = "\xF0\x9F\x98\x80";          // U+1F600
const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
const std::string kNihonSjis = "\x93\xFA\x96\x7B";

INSTANTIATE_TEST_SUITE_P(
    Utf16Le, TextDecoderTest,
    Decoding("utf-16le", DecodeCase{"CrLf", "a\0,\0\r\0\n\0"s, "a,\r\n", {}},
             DecodeCase{"TwoThree", "\xE9\0\xAC\x20\x0E\x04"s, "\xC3\xA9\xE2\x82\xAC\xD0\x8E", {}},
             DecodeCase{"Pair", "x\0\x3D\xD8\x00\xDEy\0"s, "x" + kSmile + "y", {}},
             DecodeCase{"HighThenText", "\x3D\xD8z\0"s, kFffd + "z", {0}},
             DecodeCase{"TwoHighs", "\x3D\xD8\x3D\xD8\x00\xDE"s, kFffd + kSmile, {0}},
             DecodeCase{"LoneLow", "z\0\x00\xDEz\0"s, "z" + kFffd + "z", {1}},
             DecodeCase{"HighAtEnd", "z\0\x3D\xD8"s, "z" + kFffd, {1}},
             DecodeCase{"OddLength", "z\0z"s, "z" + kFffd, {1}},
             DecodeCase{"MarkIsData", "\xFF\xFEz\0"s, "\xEF\xBB\xBFz", {}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(Utf16Be, TextDecoderTest,
                         Decoding("utf-16be", DecodeCase{"CrLf", "\0a\0,\0\r\0\n"s, "a,\r\n", {}},
                                  DecodeCase{
                                      "Pair", "\0x\xD8\x3D\xDE\x00\0y"s, "x" + kSmile + "y", {}},
                                  DecodeCase{"LoneLow", "\0z\xDE\x00\0z"s, "z" + kFffd + "z", {1}},
                                  DecodeCase{"OddLength", "\0z\0"s, "z" + kFffd, {1}}),
                         DecodeName);

// One U+FFFD for the longest start of a sequence, then the byte that broke it afresh.
INSTANTIATE_TEST_SUITE_P(
    Utf8, TextDecoderTest,
    Decoding("utf-8",
             DecodeCase{
                 "Valid", kAscii40 + "\xC3\xA9" + kSmile, kAscii40 + "\xC3\xA9" + kSmile, {}},
             DecodeCase{"Cut", "z\xE2\x82z", "z" + kFffd + "z", {1}},
             DecodeCase{"Overlong", "\xC0\x80", kFffd + kFffd, {0, 3}},
             DecodeCase{"Surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd, {0, 3, 6}},
             DecodeCase{"FourThenLead", "\xF0\x9F\x98\xC3\xA9", kFffd + "\xC3\xA9", {0}},
             DecodeCase{"TruncatedAtEnd", "ab\xF0\x9F\x98", "ab" + kFffd, {2}},
             DecodeCase{"MarkIsData", "\xEF\xBB\xBFz", "\xEF\xBB\xBFz", {}},
             DecodeCase{"RealReplacementNotNoted", kFffd + "\xFF", kFffd + kFffd, {3}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(
    Windows1252, TextDecoderTest,
    Decoding("windows-1252",
             DecodeCase{"Punctuation",
                        "\x80 \x96 \x93q\x94 caf\xE9",
                        "\xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9Cq\xE2\x80\x9D caf\xC3\xA9",
                        {}},
             DecodeCase{"Unassigned",
                        "\x81\x8D\x8F\x90\x9D",
                        "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D",
                        {}},
             DecodeCase{
                 "AfterAscii", kAscii40 + "\x9F" + kAscii40, kAscii40 + "\xC5\xB8" + kAscii40, {}},
             DecodeCase{"Utf8IsNotGuessed", "\xC3\xA9", "\xC3\x83\xC2\xA9", {}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(
    Bytes, TextDecoderTest,
    Decoding("bytes", DecodeCase{"AsTheyAre", "\xFF\xFE\x81\0\xC0"s, "\xFF\xFE\x81\0\xC0"s, {}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(
    Latin1, TextDecoderTest,
    Decoding("latin1", DecodeCase{"High", "\x80\xE9\xFF", "\xC2\x80\xC3\xA9\xC3\xBF", {}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(Cp1251, TextDecoderTest,
                         Decoding("cp1251", DecodeCase{"Cyrillic",
                                                       "\xCF\xF0\xE8\x80;\xB8",
                                                       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\x82;\xD1\x91",
                                                       {}}),
                         DecodeName);

// A lead byte without its trail byte: only the lead byte is lost.
INSTANTIATE_TEST_SUITE_P(
    ShiftJis, TextDecoderTest,
    Decoding("shift_jis", DecodeCase{"Valid", kNihonSjis + ",\xB1", kNihon + ",\xEF\xBD\xB1", {}},
             DecodeCase{"BadTrail", "\x93\xFA\x81 x", "\xE6\x97\xA5" + kFffd + " x", {3}},
             DecodeCase{"LeadAtEnd", kNihonSjis + "\x81", kNihon + kFffd, {6}},
             DecodeCase{"BadInLongText",
                        Repeat(kNihonSjis, 30) + "\x81 " + Repeat(kNihonSjis, 30),
                        Repeat(kNihon, 30) + kFffd + " " + Repeat(kNihon, 30),
                        {180}}),
    DecodeName);

INSTANTIATE_TEST_SUITE_P(
    Gb18030, TextDecoderTest,
    Decoding("gb18030",
             DecodeCase{"OneTwoFour",
                        "\xC4\xE3,\x81\x30\x81\x30,\x94\x39\xFC\x36",
                        "\xE4\xBD\xA0,\xC2\x80," + kSmile,
                        {}},
             DecodeCase{"Bad", "z\xFF\xC4\xE3", "z" + kFffd + "\xE4\xBD\xA0", {1}},
             DecodeCase{"CutAtEnd", "\xC4\xE3\x81\x30\x81", "\xE4\xBD\xA0" + kFffd, {3}}),
    DecodeName);

// The built-in table against the platform's own Windows-1252, byte by byte, wherever the
// platform maps the byte (iconv refuses the five unassigned ones).
TEST(Windows1252Converter, AgreesWithThePlatform) {
    const auto platform = OpenPlatformCodePage("windows-1252");
    ASSERT_TRUE(platform);
    Windows1252Converter table;
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string ours, theirs;
        std::vector<std::size_t> replaced;
        EXPECT_EQ(table.Convert(&byte, 1, ours, replaced), 1u);
        EXPECT_TRUE(replaced.empty());
        platform->Convert(&byte, 1, theirs, replaced);
        if (!replaced.empty()) continue;
        EXPECT_EQ(ours, theirs) << "byte " << b;
        ++compared;
    }
    EXPECT_GE(compared, 251);
}

}  // namespace
}  // namespace verrolift

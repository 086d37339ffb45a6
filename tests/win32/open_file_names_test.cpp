#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32/open_file_names.h"

namespace verrolift::win32 {
namespace {

using namespace std::string_literals;

struct FilterCase {
    const char* name;
    std::string filter;
    std::wstring windows;
    friend void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }
};

class FileFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileFilter, BecomesNulSeparatedPairsEndedTwice) {
    EXPECT_EQ(WindowsFileFilter(GetParam().filter), GetParam().windows);
}

INSTANTIATE_TEST_SUITE_P(
    OpenFileNames, FileFilter,
    ::testing::Values(FilterCase{"TwoPairs", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*",
                                 L"Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0"s},
                      FilterCase{"TrailingBar", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|",
                                 L"Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0"s},
                      FilterCase{"SeveralPatterns", "Data (*.txt;*.csv)|*.txt;*.csv",
                                 L"Data (*.txt;*.csv)\0*.txt;*.csv\0\0"s},
                      FilterCase{"BeyondLatin1", "Fichiers données (*.dat)|*.dat",
                                 L"Fichiers donn\u00e9es (*.dat)\0*.dat\0\0"s},
                      FilterCase{"DescriptionWithoutPatterns", "Text (*.txt)|*.txt|Orphan",
                                 L"Text (*.txt)\0*.txt\0\0"s},
                      FilterCase{"Nothing", "", L""s}),
    [](const ::testing::TestParamInfo<FilterCase>& p) { return std::string(p.param.name); });

struct AnswerCase {
    const char* name;
    std::wstring buffer;
    std::size_t firstName;
    std::vector<std::string> paths;
    friend void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }
};

class PickedFiles : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(PickedFiles, AreFullPathsInTheDialogsOrder) {
    EXPECT_EQ(PickedPaths(GetParam().buffer, GetParam().firstName), GetParam().paths);
}

INSTANTIATE_TEST_SUITE_P(
    OpenFileNames, PickedFiles,
    ::testing::Values(
        AnswerCase{"One", L"C:\\Data\\a.txt\0\0"s, 8, {"C:\\Data\\a.txt"}},
        AnswerCase{"OneAtTheRoot", L"C:\\a.txt\0\0"s, 3, {"C:\\a.txt"}},
        AnswerCase{"Several",
                   L"C:\\Data\0b.txt\0a.txt\0c d.txt\0\0"s,
                   8,
                   {"C:\\Data\\b.txt", "C:\\Data\\a.txt", "C:\\Data\\c d.txt"}},
        AnswerCase{"SeveralAtTheRoot", L"C:\\\0a.txt\0b.txt\0\0"s, 4, {"C:\\a.txt", "C:\\b.txt"}},
        AnswerCase{"BeyondLatin1",
                   L"C:\\Gr\u00fc\u00dfe\0\u6771\u4eac.txt\0x.txt\0\0"s,
                   9,
                   {"C:\\Grüße\\東京.txt", "C:\\Grüße\\x.txt"}},
        AnswerCase{"None", L"\0\0"s, 0, {}}),
    [](const ::testing::TestParamInfo<AnswerCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace verrolift::win32

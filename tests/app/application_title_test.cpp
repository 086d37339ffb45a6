#include <string>

#include <gtest/gtest.h>

#include "app/application_title.h"

namespace verrolift {
namespace {

struct TitleCase {
    const char* product;
    const char* title;
};

class ApplicationTitleCut : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleCut, CutsWholeWordsUntilFortyCharactersOrFewer) {
    EXPECT_EQ(TitleFromProductName(GetParam().product), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    ApplicationTitle, ApplicationTitleCut,
    ::testing::Values(TitleCase{"Verrolift", "Verrolift"},
                      // exactly 40 characters: whole
                      TitleCase{"Verrolift Text Loader For Oracle Tables!",
                                "Verrolift Text Loader For Oracle Tables!"},
                      // 41: the last word goes
                      TitleCase{"Verrolift Text Loader For Oracle Tables!!",
                                "Verrolift Text Loader For Oracle"},
                      // several words go until it fits
                      TitleCase{"Verrolift Loader of Delimited Text Files Into Oracle Tables",
                                "Verrolift Loader of Delimited Text Files"},
                      // no blank to cut at: whole, however long
                      TitleCase{"VerroliftLoaderOfDelimitedTextFilesIntoOracle",
                                "VerroliftLoaderOfDelimitedTextFilesIntoOracle"},
                      TitleCase{"", ""}),
    [](const ::testing::TestParamInfo<TitleCase>& p) {
        return "Length" + std::to_string(std::string(p.param.product).size());
    });

}  // namespace
}  // namespace verrolift

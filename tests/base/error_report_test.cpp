#include "base/error_report.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

TEST(ErrorReport, TextIsExactByteForByte) {
    EXPECT_EQ(BuildErrorReportText(tags::kMainLoad, 120, "Table not found"),
              "Table not found\r\nin Pellucor2021/08/31.Form2.Form_Load at line 120\r\r"
              "Please email screenshot of this message to support@verrolift.example");
}

TEST(ErrorReport, EmptyDescriptionGivesEmptyFirstLine) {
    const std::string text = BuildErrorReportText(tags::kLoginLoad, 100, "");
    EXPECT_EQ(text.substr(0, 2), "\r\n");
    EXPECT_NE(text.find("Form_Load at line 100\r\r"), std::string::npos);
}

TEST(ErrorReport, StepFollowsBlankDirectly) {
    const std::string text = ErrorReport{std::string(tags::kFolderScan), 7, "x"}.Text();
    EXPECT_NE(text.find("GetSubDirectories2016 at line 7\r\r"), std::string::npos);
    EXPECT_EQ(text.find("at line  "), std::string::npos);
    EXPECT_EQ(text.find("at line 07"), std::string::npos);
}

TEST(ErrorReport, DescriptionBytesAreKept) {
    const std::string description("caf\xe9\0z", 6);
    const std::string text = BuildErrorReportText(tags::kMainImport, 348, description);
    EXPECT_EQ(text.substr(0, 6), description);
}

TEST(ErrorReport, TagsCarryTrailingBlankAndProjectName) {
    const std::string_view all[] = {
        tags::kLoginLoad,           tags::kLoginSidHelp,   tags::kLoginNext,
        tags::kLoginTestConnection, tags::kLoginHelp,      tags::kMainLoad,
        tags::kMainImport,          tags::kMainAddFiles,   tags::kMainAddFolder,
        tags::kMainSetupConnection, tags::kMainFormatHelp, tags::kFolderScan};
    for (auto tag : all) {
        EXPECT_EQ(tag.back(), ' ') << tag;
        EXPECT_EQ(tag.substr(0, 3), "in ") << tag;
        EXPECT_NE(tag.find("2021/08/31."), std::string_view::npos) << tag;
    }
    EXPECT_EQ(tags::kFolderScan, "in Marrowtide2021/08/31.AddFolder.GetSubDirectories2016 ");
    EXPECT_EQ(tags::kLoginTestConnection, "in Pellucor2021/08/31.Form1.PushButton5_Click ");
}

}  // namespace
}  // namespace verrolift

#include "base/error_report.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

TEST(ErrorReport, TextIsExactByteForByte) {
    EXPECT_EQ(BuildErrorReportText(tags::kForm2Load, 120, "Table not found"),
              "Table not found\r\nin Pellucor2021/08/31.Form2.Form_Load at line 120\r\r"
              "Please email screenshot of this message to support@verrolift.example");
}

TEST(ErrorReport, EmptyDescriptionGivesEmptyFirstLine) {
    const std::string text = BuildErrorReportText(tags::kForm1Load, 100, "");
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
    const std::string text = BuildErrorReportText(tags::kForm2Import, 348, description);
    EXPECT_EQ(text.substr(0, 6), description);
}

TEST(ErrorReport, TagsCarryTrailingBlankAndProjectName) {
    const std::string_view all[] = {
        tags::kForm1Load,      tags::kForm1SidHelp,    tags::kForm1Next,
        tags::kForm1TestConnection, tags::kForm1Help,  tags::kForm2Load,
        tags::kForm2Import,    tags::kForm2AddFiles,   tags::kForm2AddFolder,
        tags::kForm2SetupConnection, tags::kForm2FormatHelp, tags::kFolderScan};
    for (auto tag : all) {
        EXPECT_EQ(tag.back(), ' ') << tag;
        EXPECT_EQ(tag.substr(0, 3), "in ") << tag;
        EXPECT_NE(tag.find("2021/08/31."), std::string_view::npos) << tag;
    }
    EXPECT_EQ(tags::kFolderScan, "in Marrowtide2021/08/31.AddFolder.GetSubDirectories2016 ");
    EXPECT_EQ(tags::kForm1TestConnection, "in Pellucor2021/08/31.Form1.PushButton5_Click ");
}

}  // namespace
}  // namespace verrolift

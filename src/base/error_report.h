#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace verrolift {

inline constexpr std::string_view kProductName = "Verrolift";
inline constexpr std::string_view kErrorReportTitle = "Application Error";
inline constexpr std::string_view kSupportAddress = "support@verrolift.example";

// Location tags of the protected handlers; the trailing blank belongs to each tag.
namespace tags {
inline constexpr std::string_view kForm1Load = "in Pellucor2021/08/31.Form1.Form_Load ";
inline constexpr std::string_view kForm1SidHelp = "in Pellucor2021/08/31.Form1.PushButton1_Click ";
inline constexpr std::string_view kForm1Next = "in Pellucor2021/08/31.Form1.PushButton3_Click ";
inline constexpr std::string_view kForm1TestConnection =
    "in Pellucor2021/08/31.Form1.PushButton5_Click ";
inline constexpr std::string_view kForm1Help = "in Pellucor2021/08/31.Form1.PushButton6_Click ";
inline constexpr std::string_view kForm2Load = "in Pellucor2021/08/31.Form2.Form_Load ";
inline constexpr std::string_view kForm2Import = "in Pellucor2021/08/31.Form2.PushButton1_Click ";
inline constexpr std::string_view kForm2AddFiles = "in Pellucor2021/08/31.Form2.PushButton3_Click ";
inline constexpr std::string_view kForm2AddFolder = "in Pellucor2021/08/31.Form2.PushButton4_Click ";
inline constexpr std::string_view kForm2SetupConnection =
    "in Pellucor2021/08/31.Form2.PushButton5_Click ";
inline constexpr std::string_view kForm2FormatHelp =
    "in Pellucor2021/08/31.Form2.PushButton6_Click ";
inline constexpr std::string_view kFolderScan =
    "in Marrowtide2021/08/31.AddFolder.GetSubDirectories2016 ";
}  // namespace tags

// One failure caught by a protected handler.
struct ErrorReport {
    std::string tag;
    std::int32_t step = 0;
    std::string description;

    // The box's text: description, CR LF, tag, "at line ", step, CR CR, support line.
    std::string Text() const;
};

std::string BuildErrorReportText(std::string_view tag, std::int32_t step,
                                 std::string_view description);

}  // namespace verrolift

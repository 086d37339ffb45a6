#include "cli/console_dialogs.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "cli/headless_import.h"
#include "cli/progress_line.h"
#include "db/table_list.h"

namespace verrolift {
namespace {

// A FILE* whose bytes the test can read back.
class Capture {
public:
    Capture() : file_(std::tmpfile()) {}
    ~Capture() { std::fclose(file_); }
    std::FILE* File() { return file_; }
    std::string Text() {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
        return text;
    }

private:
    std::FILE* file_;
};

TEST(UnixLineBreaks, CrLfAndLoneCrBecomeLf) {
    EXPECT_EQ(UnixLineBreaks("a\r\nb\r\rc"), "a\nb\n\nc");
    EXPECT_EQ(UnixLineBreaks("a\n\r\r\n"), "a\n\n\n");
    EXPECT_EQ(UnixLineBreaks("\r"), "\n");
    EXPECT_EQ(UnixLineBreaks("plain"), "plain");
}

TEST(ConsoleDialogs, MessagesGoToStandardOutputOnePerLine) {
    Capture out, err;
    ConsoleDialogs dialogs(out.File(), err.File(), {}, nullptr);
    dialogs.ShowMessage("No files added.");
    dialogs.ShowMessage("two\r\n\r\nbreaks\rand a lone CR");
    dialogs.ShowMessage("Done.");
    EXPECT_EQ(out.Text(), "No files added.\ntwo\n\nbreaks\nand a lone CR\nDone.\n");
    EXPECT_EQ(err.Text(), "");
}

TEST(ConsoleDialogs, ReportsGoToStandardErrorUnderTheirTitle) {
    Capture out, err;
    ConsoleDialogs dialogs(out.File(), err.File(), {}, nullptr);
    dialogs.ShowErrorReport(ErrorReport{std::string(tags::kMainImport), 124, "no\r\nserver"});
    EXPECT_EQ(out.Text(), "");
    EXPECT_EQ(err.Text(),
              "Application Error\n"
              "no\nserver\n"
              "in Pellucor2021/08/31.Form2.PushButton1_Click at line 124\n"
              "\n"
              "Please email screenshot of this message to support@verrolift.example\n");
}

// A driver's words may hold what a file held; only tabs and the line breaks reach the
// terminal as they are.
TEST(ConsoleDialogs, ControlBytesAreWrittenAsHexWhereverTheyCameFrom) {
    Capture out, err;
    ConsoleDialogs dialogs(out.File(), err.File(), {}, nullptr);
    dialogs.ShowMessage("a\x1b[2Jb\tc\r\nd\x07");
    dialogs.Print("e\x7f");
    dialogs.ShowErrorReport(ErrorReport{"t ", 1, "[22P02] bad value \"\x1b]0;x\x07\""});
    EXPECT_EQ(out.Text(), "a\\x1B[2Jb\tc\nd\\x07\ne\\x7F\n");
    EXPECT_EQ(err.Text(),
              "Application Error\n[22P02] bad value \"\\x1B]0;x\\x07\"\nt at line 1\n\n"
              "Please email screenshot of this message to support@verrolift.example\n");
}

TEST(ConsoleDialogs, ColumnPromptsAreAnsweredByNumber) {
    Capture out, err;
    ConsoleDialogs dialogs(out.File(), err.File(), {"id", "", "city"}, nullptr);
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #1:", 1), "id");
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #2:", 2), "");
    dialogs.NoColumnName("/d/a.csv", 2);
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #3:", 3), "city");
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #4:", 4), "");
    dialogs.NoColumnName("/d/a.csv", 4);
    // The next file starts again at #1.
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #1:", 1), "id");
    EXPECT_EQ(dialogs.InputBox("Something else?", "default"), "");
    EXPECT_EQ(dialogs.AskColumnName("Enter name for column #0:", 0), "");
    // A prompt left without a name says which file gets no table.
    EXPECT_EQ(out.Text(),
              "No table was made for \"/d/a.csv\": --columns gives no name for column #2.\n"
              "No table was made for \"/d/a.csv\": --columns gives no name for column #4.\n");
    EXPECT_EQ(err.Text(), "");
}

TEST(ConsoleDialogs, PickersAnswerAsCancelled) {
    Capture out, err;
    ConsoleDialogs dialogs(out.File(), err.File(), {}, nullptr);
    EXPECT_TRUE(dialogs.PickFiles("t", "f").empty());
    EXPECT_EQ(dialogs.PickFolder("t", "/"), "");
}

TEST(ProgressLine, TextNamesFileLinesAndRate) {
    Capture err;
    ProgressLine progress(err.File(), false);
    progress.FileStarted(2, 5);
    for (int i = 0; i < 300; ++i) progress.RowSent();
    EXPECT_EQ(progress.Text(std::chrono::seconds(2)), "file 2 of 5, 300 lines sent, 150 rows/s");
    EXPECT_EQ(progress.Text(std::chrono::seconds(0)), "file 2 of 5, 300 lines sent, 0 rows/s");
    progress.Tick();
    progress.Clear();
    EXPECT_EQ(err.Text(), "") << "a disabled line draws nothing";
}

TEST(ProgressLine, EnabledLineIsRedrawnInPlaceAndWipedBeforeMessages) {
    Capture out, err;
    ProgressLine progress(err.File(), true);
    ConsoleDialogs dialogs(out.File(), err.File(), {}, &progress);
    progress.FileStarted(1, 1);
    dialogs.ShowErrorReport(ErrorReport{"t ", 100, "x"});
    const std::string text = err.Text();
    EXPECT_EQ(text.rfind("\r\x1b[Kfile 1 of 1, 0 lines sent, ", 0), 0u) << text;
    EXPECT_NE(text.find(" rows/s\r\x1b[KApplication Error\nx\n"), std::string::npos) << text;
}

struct Selection {
    std::vector<std::string> catalogue;
    std::string table;
    std::vector<std::string> list;
    std::string selected;
};

class AppendSelection : public testing::TestWithParam<Selection> {};

TEST_P(AppendSelection, SelectsTheListedSpellingOrAddsTheName) {
    VectorTableList tables(GetParam().catalogue);
    SelectAppendTable(tables, GetParam().table);
    EXPECT_EQ(tables.Names(), GetParam().list);
    EXPECT_EQ(tables.Selected(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, AppendSelection,
    testing::Values(Selection{{"A", "EMP", "B"}, "EMP", {"A", "EMP", "B"}, "EMP"},
                    Selection{{"A", "EMP"}, "emp", {"A", "EMP"}, "EMP"},
                    Selection{{"emp", "EMP"}, "EMP", {"emp", "EMP"}, "EMP"},
                    Selection{{"emp", "EMP"}, "Emp", {"emp", "EMP", "Emp"}, "Emp"},
                    Selection{{"A"}, "MISSING", {"A", "MISSING"}, "MISSING"},
                    Selection{{}, "T", {"T"}, "T"}));

}  // namespace
}  // namespace verrolift

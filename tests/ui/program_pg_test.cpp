#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_database.h"
#include "ui/file_list_view.h"
#include "ui/login_window.h"
#include "ui/main_window.h"
#include "ui/table_list_box.h"
#include "ui_harness.h"

namespace verrolift {
namespace {

using test::Control;

std::vector<std::string> Names(TableListBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.At(i));
    return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Replaces a box's text the way a user does: focus, whole text selected, typing.
void Retype(QLineEdit* box, const std::string& text) {
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromStdString(text));
}

// Each test has one table of its own in each account of the stand-in.
class ProgramPgTest : public ::testing::Test {
protected:
    // A run's bad files go under the user's data folder: the test's own.
    test::TempDir data;
    test::ScopedEnvironment dataHome{"XDG_DATA_HOME", data.Path()};
    ProgramPgTest() {
        if (!test::PgAvailable()) return;
        mainTable = test::UniqueName("VL_MAIN");
        otherTable = test::UniqueName("VL_OTHER");
        test::ExecOn(main.ConnectionString(), "CREATE TABLE \"" + mainTable + "\" (a text)");
        test::ExecOn(other.ConnectionString(), "CREATE TABLE \"" + otherTable + "\" (a text)");
    }
    ~ProgramPgTest() override {
        if (!test::PgAvailable()) return;
        for (const auto& t : {mainTable, importedTable})
            if (!t.empty())
                test::ExecOn(main.ConnectionString(), "DROP TABLE IF EXISTS \"" + t + "\"");
        test::ExecOn(other.ConnectionString(), "DROP TABLE IF EXISTS \"" + otherTable + "\"");
    }
    void SetUp() override { ASSERT_TRUE(test::PgAvailable()) << "PostgreSQL stand-in not running"; }

    void SaveMainProfile() {
        h.SaveProfile(main.profile.sid, main.profile.userName, main.profile.password);
    }
    MainWindow& Main() { return *h.program().Main(); }
    template <class T = QWidget>
    T* M(const char* name) {
        return Control<T>(h.program().Main(), name);
    }
    template <class T = QWidget>
    T* L(const char* name) {
        return Control<T>(&h.program().Login(), name);
    }
    long RowCount(const std::string& table) {
        const auto exists = test::ColumnOn(
            main.ConnectionString(),
            "SELECT count(*)::text FROM pg_tables WHERE tablename = '" + table + "'");
        if (exists.at(0) == "0") return -1;
        return std::stol(
            test::ColumnOn(main.ConnectionString(), "SELECT count(*)::text FROM \"" + table + "\"")
                .at(0));
    }

    test::PgAccount main = test::PgMain();
    test::PgAccount other = test::PgOther();
    std::string mainTable, otherTable, importedTable;
    test::ProgramHarness h;
};

TEST_F(ProgramPgTest, SavedProfileThatConnectsGoesStraightToTheMainWindow) {
    SaveMainProfile();
    h.Start();
    ASSERT_NE(h.program().Main(), nullptr);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(h.program().Login().isVisible());
    EXPECT_TRUE(Has(Names(Main().Tables()), mainTable));
    EXPECT_FALSE(Has(Names(Main().Tables()), otherTable));
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(ProgramPgTest, SavedProfileWithAWrongPasswordStaysAtTheLoginWindow) {
    h.SaveProfile(main.profile.sid, main.profile.userName, "wrong");
    h.Start();
    EXPECT_TRUE(h.program().Login().isVisible());
    EXPECT_EQ(h.program().Main(), nullptr);
    EXPECT_EQ(L<QLineEdit>("Text3")->text(), QStringLiteral("wrong"));
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(ProgramPgTest, SetupConnectionShowsTheSavedProfileAndHidesTheMainWindow) {
    SaveMainProfile();
    h.Start();
    QTest::mouseClick(M("PushButton5"), Qt::LeftButton);
    EXPECT_TRUE(h.program().Login().isVisible());
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(L<QLineEdit>("Text2")->text().toStdString(), main.profile.userName);
    EXPECT_EQ(h.program().Login().Profile().password, main.profile.password);
}

// The distance of a window's centre from the centre of its screen's free area.
QPoint OffCentre(const QWidget* w) {
    return w->frameGeometry().center() - w->screen()->availableGeometry().center();
}

TEST_F(ProgramPgTest, WindowsOpenCentredAndComeBackWhereTheyWereAndBoxesGoToTheShownWindow) {
    SaveMainProfile();
    h.Start();
    LoginWindow& login = h.program().Login();
    EXPECT_LE(OffCentre(&Main()).manhattanLength(), 2) << "main window first shown";
    EXPECT_EQ(h.program().DialogOwner(), &Main());
    Main().move(40, 30);

    QTest::mouseClick(M("PushButton5"), Qt::LeftButton);
    EXPECT_LE(OffCentre(&login).manhattanLength(), 2) << "login window first shown";
    EXPECT_EQ(h.program().DialogOwner(), &login);
    login.move(70, 20);

    QTest::mouseClick(L("PushButton3"), Qt::LeftButton);
    ASSERT_TRUE(Main().isVisible());
    EXPECT_EQ(Main().pos(), QPoint(40, 30));
    EXPECT_EQ(h.program().DialogOwner(), &Main());
    QTest::mouseClick(M("PushButton5"), Qt::LeftButton);
    EXPECT_EQ(login.pos(), QPoint(70, 20));
}

TEST_F(ProgramPgTest, OtherAccountAfterSetupConnectionListsItsTablesAndKeepsFilesAndOptions) {
    SaveMainProfile();
    h.Start();
    Main().Files().AddEntries({"/data/a.txt", "/data/b.txt"});
    QTest::mouseClick(M("Option2"), Qt::LeftButton);
    M<QCheckBox>("Check2")->setChecked(true);
    M<QLineEdit>("Text2")->setText(QStringLiteral("Renamed"));
    M<QLineEdit>("Text3")->setText(QStringLiteral("|"));

    QTest::mouseClick(M("PushButton5"), Qt::LeftButton);
    Retype(L<QLineEdit>("Text2"), other.profile.userName);
    Retype(L<QLineEdit>("Text3"), other.profile.password);
    EXPECT_EQ(h.Stored("OracleUser"), other.profile.userName);
    EXPECT_EQ(h.Stored("OraclePassword"), other.profile.password);
    QTest::mouseClick(L("PushButton3"), Qt::LeftButton);

    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(h.program().Login().isVisible());
    const auto tables = Names(Main().Tables());
    EXPECT_TRUE(Has(tables, otherTable));
    EXPECT_FALSE(Has(tables, mainTable));
    EXPECT_EQ(Main().Files().Snapshot(), (std::vector<std::string>{"/data/a.txt", "/data/b.txt"}));
    EXPECT_TRUE(M<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(M<QCheckBox>("Check2")->isChecked());
    EXPECT_EQ(M<QLineEdit>("Text2")->text(), QStringLiteral("NewTable[counter]"));
    EXPECT_EQ(M<QLineEdit>("Text3")->text(), QStringLiteral(","));
    EXPECT_EQ(Main().Files().columnCount(), 1);
    EXPECT_EQ(Main().Files().headerItem()->text(0), QStringLiteral("Text Files"));
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(ProgramPgTest, NextAfterAFailedStartLoadsTheMainWindowTwiceWithTheSameResult) {
    h.SaveProfile(main.profile.sid, main.profile.userName, "wrong");
    h.Start();
    Retype(L<QLineEdit>("Text3"), main.profile.password);
    QTest::mouseClick(L("PushButton3"), Qt::LeftButton);
    ASSERT_NE(h.program().Main(), nullptr);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(h.program().Login().isVisible());
    const auto tables = Names(Main().Tables());
    EXPECT_EQ(std::count(tables.begin(), tables.end(), mainTable), 1);
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(ProgramPgTest, TestConnectionWithAProfileThatConnectsSaysSo) {
    h.SaveProfile(main.profile.sid, main.profile.userName, "wrong");
    h.Start();
    Retype(L<QLineEdit>("Text3"), main.profile.password);
    QTest::mouseClick(L("PushButton5"), Qt::LeftButton);
    EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{"Connection successful."});
    EXPECT_EQ(h.program().Login().Pointer().Pointer(), PointerShape::Default);
    EXPECT_TRUE(h.program().Login().isVisible());
}

TEST_F(ProgramPgTest, ClosingTheMainWindowWhileTheLoginWindowIsHiddenEndsTheProgram) {
    SaveMainProfile();
    h.Start();
    Main().close();
    EXPECT_EQ(h.ends, 1);
    EXPECT_FALSE(h.program().Login().isVisible());
}

TEST_F(ProgramPgTest, ImportFromTheMainWindowCreatesAndFillsTheTable) {
    SaveMainProfile();
    h.Start();
    const std::string file = h.dir.Write("people.txt", "Name,State\r\nPeter,NH\r\nJane,MA\r\n");
    h.dialogs.fileAnswers.push_back({file});
    QTest::mouseClick(M("PushButton3"), Qt::LeftButton);
    const std::string stem = test::UniqueName("VL_IMP");
    importedTable = stem + "_1";
    M<QLineEdit>("Text2")->setText(QString::fromStdString(stem + "_[counter]"));

    // Midway the window is busy: the pointer is the hourglass and Delete removes nothing.
    PointerShape during = PointerShape::Default;
    PointerShape overButton = PointerShape::Default;
    QTimer::singleShot(0, &Main(), [&] {
        during = Main().Pointer().Pointer();
        test::MovePointerOver(M("PushButton3"));
        overButton = Main().Pointer().Pointer();
        Main().Files().SelectEntry(1);
        QTest::keyClick(&Main().Files(), Qt::Key_Delete);
    });
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    EXPECT_EQ(during, PointerShape::Busy);
    EXPECT_EQ(overButton, PointerShape::Busy);
    EXPECT_EQ(Main().Pointer().Pointer(), PointerShape::Default);
    EXPECT_EQ(h.dialogs.log,
              std::vector<std::string>{
                  "message: Done.\r\n\r\n1 of 1 file imported, 3 rows stored, 0 rows refused."});
    EXPECT_EQ(test::RowsOn(main.ConnectionString(), importedTable, "\"Name\""),
              // In header mode the first line names the columns and is a row as well.
              (std::vector<std::string>{"Jane|MA", "Name|State", "Peter|NH"}));
    ASSERT_GE(Main().Tables().Count(), 1);
    EXPECT_EQ(Main().Tables().At(0), importedTable);
    EXPECT_EQ(Main().Files().Snapshot(), std::vector<std::string>{file});
}

TEST_F(ProgramPgTest, TheCaptionTellsTheFileAndTheRowsDuringAnImportAndTheTitleAfterIt) {
    SaveMainProfile();
    h.Start();
    std::string lines = "Id,Text\r\n";
    for (int i = 1; i < 1200; ++i)
        lines += std::to_string(i) + ",row " + std::to_string(i) + "\r\n";
    h.dialogs.fileAnswers.push_back(
        {h.dir.Write("first.txt", lines), h.dir.Write("second.txt", "Id,Text\r\n1,a\r\n2,b\r\n")});
    QTest::mouseClick(M("PushButton3"), Qt::LeftButton);
    const std::string stem = test::UniqueName("VL_CAP");
    importedTable = stem + "_1";
    const std::string secondTable = stem + "_2";
    M<QLineEdit>("Text2")->setText(QString::fromStdString(stem + "_[counter]"));

    // The captions as the window system sees them while the run yields.
    std::vector<std::string> captions;
    bool listBusy = true;
    QTimer sampler;
    sampler.setInterval(0);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const std::string caption = Main().windowTitle().toStdString();
        if (captions.empty() || captions.back() != caption) captions.push_back(caption);
        listBusy = listBusy && Main().Files().viewport()->cursor().shape() == Qt::WaitCursor;
    });
    sampler.start();
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);
    sampler.stop();
    test::ExecOn(main.ConnectionString(), "DROP TABLE IF EXISTS \"" + secondTable + "\"");

    EXPECT_EQ(h.dialogs.log,
              std::vector<std::string>{
                  "message: Done.\r\n\r\n2 of 2 files imported, 1,203 rows stored, 0 rows "
                  "refused."});
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Verrolift"));
    EXPECT_TRUE(listBusy);
    EXPECT_NE(Main().Files().viewport()->cursor().shape(), Qt::WaitCursor);
    ASSERT_GE(captions.size(), 3u);
    EXPECT_EQ(captions.front(), "Verrolift - file 1 of 2, 0 rows");
    // File 2 starts with the rows of file 1, all its lines (the first one too).
    EXPECT_NE(std::find(captions.begin(), captions.end(), "Verrolift - file 2 of 2, 1,200 rows"),
              captions.end());
    const QRegularExpression form(
        QStringLiteral("^Verrolift - file ([12]) of 2, ([0-9,]+) rows?$"));
    int lastFile = 0;
    long lastRows = 0;
    for (const std::string& caption : captions) {
        const auto match = form.match(QString::fromStdString(caption));
        ASSERT_TRUE(match.hasMatch()) << caption;
        const int file = match.captured(1).toInt();
        const long rows = match.captured(2).remove(QLatin1Char(',')).toLong();
        EXPECT_GE(file, lastFile) << caption;
        EXPECT_GE(rows, lastRows) << caption;
        EXPECT_LE(rows, 1203) << caption;
        lastFile = file;
        lastRows = rows;
    }
}

TEST_F(ProgramPgTest, ClosingWhileAnImportYieldsStopsItAndShowsNothingMore) {
    SaveMainProfile();
    h.Start();
    std::string lines = "Id,Text\r\n";
    for (int i = 0; i < 500; ++i) lines += std::to_string(i) + ",row " + std::to_string(i) + "\r\n";
    h.dialogs.fileAnswers.push_back({h.dir.Write("many.txt", lines)});
    QTest::mouseClick(M("PushButton3"), Qt::LeftButton);
    const std::string stem = test::UniqueName("VL_CLOSE");
    importedTable = stem + "_1";
    M<QLineEdit>("Text2")->setText(QString::fromStdString(stem + "_[counter]"));

    QTimer::singleShot(0, &Main(), [&] { Main().close(); });
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    EXPECT_EQ(h.ends, 1);
    EXPECT_TRUE(h.dialogs.log.empty()) << h.dialogs.log.front();
    EXPECT_FALSE(Main().isVisible());
    EXPECT_FALSE(h.program().Login().isVisible());
    EXPECT_LT(RowCount(importedTable), 500);
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Verrolift"));
}

// The run of a file list picked through "Add Text File(s)", each file's table dropped after the
// test: the stem's tables <stem>_1, <stem>_2, ...
class ImportRunPgTest : public ProgramPgTest {
protected:
    ~ImportRunPgTest() override {
        if (!test::PgAvailable()) return;
        for (const auto& t : tables)
            test::ExecOn(main.ConnectionString(), "DROP TABLE IF EXISTS \"" + t + "\"");
    }
    // Starts with the saved profile, adds the files and names their tables stem_[counter].
    void Prepare(const std::vector<std::pair<std::string, std::string>>& files) {
        SaveMainProfile();
        h.Start();
        std::vector<std::string> paths;
        for (const auto& [name, text] : files) paths.push_back(h.dir.Write(name, text));
        h.dialogs.fileAnswers.push_back(paths);
        QTest::mouseClick(M("PushButton3"), Qt::LeftButton);
        stem = test::UniqueName("VL_RUN");
        for (std::size_t i = 1; i <= files.size(); ++i)
            tables.push_back(stem + "_" + std::to_string(i));
        Retype(M<QLineEdit>("Text2"), stem + "_[counter]");
    }
    std::vector<std::string> Rows(std::size_t file, const char* order) {
        return test::RowsOn(main.ConnectionString(), tables.at(file - 1), order);
    }
    // While the run yields, once.
    void DuringTheRun(std::function<void()> action) {
        QTimer::singleShot(0, &Main(), [this, action] {
            ranDuring = Main().Pointer().Pointer() == PointerShape::Busy;
            action();
        });
    }

    std::string stem;
    std::vector<std::string> tables;
    bool ranDuring = false;
};

std::string PeopleFile(int rows) {
    std::string text = "Name;State\r\n";
    for (int i = 0; i < rows; ++i)
        text += "P" + std::to_string(i) + ";S" + std::to_string(i) + "\r\n";
    return text;
}

TEST_F(ImportRunPgTest, ClicksAndEditsDuringARunNeitherRedirectNorHoldItUp) {
    Prepare({{"first.txt", PeopleFile(150)}, {"second.txt", PeopleFile(150)}});
    Retype(M<QLineEdit>("Text3"), ";");
    h.dialogs.fileAnswers.push_back({"/data/late.txt"});
    DuringTheRun([this] {
        QTest::mouseClick(M("PushButton5"), Qt::LeftButton);  // "Setup Connection"
        QTest::mouseClick(L("PushButton3"), Qt::LeftButton);  // "Next >"
        QTest::mouseClick(M("PushButton3"), Qt::LeftButton);  // "Add Text File(s)"
        Retype(M<QLineEdit>("Text3"), ",");
        Retype(M<QLineEdit>("Text2"), "Elsewhere[counter]");
    });
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    ASSERT_TRUE(ranDuring);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(h.program().Login().isVisible());
    EXPECT_EQ(h.dialogs.fileDialogTitles.size(), 1u) << "only the one before the run";
    for (std::size_t file : {1u, 2u}) {
        const auto rows = Rows(file, "\"Name\"");
        ASSERT_EQ(rows.size(), 151u) << "file " << file;
        EXPECT_NE(std::find(rows.begin(), rows.end(), "P149|S149"), rows.end()) << file;
    }
    EXPECT_EQ(h.dialogs.log.size(), 1u);
}

TEST_F(ImportRunPgTest, AFileOfRefusedRowsShowsTenBoxesItsCountAndTheSummary) {
    // One column from the first line; every later line has two values.
    std::string lines = "Id\r\n";
    for (int i = 0; i < 300; ++i) lines += std::to_string(i) + ",extra\r\n";
    Prepare({{"refused.txt", lines}, {"fine.txt", "Id\r\n1\r\n2\r\n"}});
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    EXPECT_LE(h.dialogs.log.size(), 12u);
    EXPECT_EQ(h.dialogs.reports.size(), 10u);
    ASSERT_EQ(h.dialogs.messages.size(), 2u);
    EXPECT_NE(h.dialogs.messages[0].find("refused.txt"), std::string::npos);
    EXPECT_NE(h.dialogs.messages[0].find("300"), std::string::npos);
    // The refused file is not imported; its rows are in a bad file of the run's own folder.
    const std::string summary =
        "Done.\r\n\r\n1 of 2 files imported, 4 rows stored, 300 rows refused.";
    const std::string& last = h.dialogs.messages[1];
    ASSERT_TRUE(last.starts_with(summary + "\r\n\r\nThe records that were not stored are in \""))
        << last;
    const std::string folder =
        last.substr(last.find('"') + 1, last.rfind('"') - last.find('"') - 1);
    EXPECT_NE(h.dialogs.messages[0].find(folder), std::string::npos) << "the file's box names it";
    std::ifstream bad(folder + "/refused.txt.bad", std::ios::binary);
    const std::string kept((std::istreambuf_iterator<char>(bad)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, lines.substr(4)) << "the 300 lines as they stood, without the header";
    EXPECT_EQ(Rows(2, "\"Id\""), (std::vector<std::string>{"1", "2", "Id"}));
}

TEST_F(ImportRunPgTest, AQuotedFileLoadsExactlyWithQuotedFieldsTicked) {
    Prepare({{"quoted.csv",
              "Name,Note\r\n\"Smith, John\",\"said \"\"hi\"\"\"\r\nJane,\"two\r\nlines\"\r\n"}});
    QTest::mouseClick(M("Check3"), Qt::LeftButton);
    EXPECT_EQ(h.Stored("QuotedFields"), "1");
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    EXPECT_TRUE(h.dialogs.reports.empty()) << h.dialogs.reports.front().description;
    EXPECT_EQ(Rows(1, "\"Name\""), (std::vector<std::string>{"Jane|two\r\nlines", "Name|Note",
                                                             "Smith, John|said \"hi\""}));
}

TEST_F(ImportRunPgTest, BackslashTInTheSeparatorBoxLoadsATabFile) {
    Prepare({{"tabs.txt", "Name\tState\r\nPeter, Jr\tNH\r\n"}});
    Retype(M<QLineEdit>("Text3"), "\\t");
    QTest::mouseClick(M("PushButton1"), Qt::LeftButton);

    EXPECT_TRUE(h.dialogs.reports.empty());
    EXPECT_EQ(Rows(1, "\"Name\""), (std::vector<std::string>{"Name|State", "Peter, Jr|NH"}));
}

}  // namespace
}  // namespace verrolift

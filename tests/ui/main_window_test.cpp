#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/main_window_steps.h"
#include "base/error_report.h"
#include "support/test_database.h"
#include "ui/file_list_view.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/table_list_box.h"
#include "ui_harness.h"

namespace verrolift {
namespace {

using test::Control;
using test::ControlCase;
using test::OwnEnabled;
using test::Px;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        db.Exec("CREATE TABLE \"ORDERS\" (a TEXT)");
        db.Exec("CREATE TABLE \"customers\" (a TEXT)");
    }

    MainWindow& Window() {
        if (!window) {
            window = std::make_unique<MainWindow>(context, profile);
            window->Load();
            window->show();
        }
        return *window;
    }
    template <class T = QWidget>
    T* C(const char* name) {
        return Control<T>(&Window(), name);
    }
    std::vector<std::string> Tables() {
        std::vector<std::string> names;
        for (int i = 0; i < Window().Tables().Count(); ++i)
            names.push_back(Window().Tables().At(i));
        return names;
    }

    test::TempDir dir;
    test::SqliteDatabase db;
    test::FixedConnection profile{db.ConnectionString()};
    test::RecordingDialogs dialogs;
    QtSettingsStore settings{dir.File("config")};
    test::RecordingPump pump;
    test::RecordingFlow flow;
    std::string programFolder = dir.Path();
    UiContext context{dialogs,
                      settings,
                      pump,
                      flow,
                      programFolder,
                      [] { return 0.5; },
                      [](const std::string&) { return true; }};
    std::unique_ptr<MainWindow> window;
};

class MainWindowLayout : public MainWindowTest,
                         public ::testing::WithParamInterface<ControlCase> {};

QString Caption(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* t = qobject_cast<QTreeWidget*>(w)) return t->headerItem()->text(0);
    return {};
}

TEST_P(MainWindowLayout, ControlHasItsKindCaptionContainerAndPlace) {
    const ControlCase& c = GetParam();
    QWidget* w = C(c.name);
    ASSERT_NE(w, nullptr);
    test::ExpectControl(w, c, Caption(w));
}

INSTANTIATE_TEST_SUITE_P(
    Form2, MainWindowLayout,
    ::testing::Values(
        ControlCase{"Frame1", "QGroupBox", "", "Form2", 120, 0, 6120, 2480},
        ControlCase{"ListView1", "QTreeWidget", "Text Files", "Frame1", 120, 240, 5895, 1215},
        ControlCase{"PushButton3", "QPushButton", "Add Text File(s)", "Frame1", 120, 1560, 2895,
                    400},
        ControlCase{"PushButton4", "QPushButton", "Add All File(s) In Folder", "Frame1", 3120, 1560,
                    2895, 400},
        ControlCase{"Label1", "QLabel", "Fields Separated By:", "Frame1", 240, 2090, 2055, 255},
        ControlCase{"Text3", "QLineEdit", ",", "Frame1", 2280, 2050, 1695, 330},
        ControlCase{"PushButton6", "QPushButton", "?", "Frame1", 4080, 2033, 615, 345},
        ControlCase{"Frame2", "QGroupBox", "Table Options", "Form2", 120, 2520, 6120, 5055},
        ControlCase{"Option1", "QRadioButton", "Create New Table From Text File", "Frame2", 180,
                    360, 3495, 255},
        ControlCase{"Frame3", "QGroupBox", "Create New Table Options", "Frame2", 180, 720, 5775,
                    1455},
        ControlCase{"Option3", "QRadioButton",
                    "First line in file will be used to create table columns", "Frame3", 120, 300,
                    4695, 255},
        ControlCase{"Option4", "QRadioButton", "Ignore first line, user-specified columns names",
                    "Frame3", 120, 600, 4455, 255},
        ControlCase{"Label5", "QLabel", "Table Name:", "Frame3", 240, 960, 1215, 255},
        ControlCase{"Text2", "QLineEdit", "NewTable[counter]", "Frame3", 1680, 960, 3735, 330},
        ControlCase{"Option2", "QRadioButton", "Append to Existing Table From Text File", "Frame2",
                    180, 2280, 4095, 255},
        ControlCase{"Frame4", "QGroupBox", "Append to Existing Table Options", "Frame2", 180, 2640,
                    5775, 2175},
        ControlCase{"Check2", "QCheckBox",
                    "Ignore first line in file because it is a header row with no data", "Frame4",
                    120, 360, 5535, 255},
        ControlCase{"Label2", "QLabel", "Table Name:", "Frame4", 240, 720, 1215, 255},
        ControlCase{"List1", "QListWidget", "", "Frame4", 1680, 720, 3735, 1185},
        ControlCase{"PushButton1", "QPushButton", "Import To Oracle", "Form2", 120, 7680, 3015,
                    400},
        ControlCase{"PushButton5", "QPushButton", "Setup Connection", "Form2", 3240, 7680, 3000,
                    400}),
    [](const ::testing::TestParamInfo<ControlCase>& p) { return std::string(p.param.name); });

TEST_F(MainWindowTest, ClientAreaAndTitle) {
    EXPECT_EQ(Window().size(), QSize(Px(6360), Px(8220)));
    EXPECT_EQ(Window().objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Verrolift"));
    EXPECT_FALSE(Window().windowIcon().isNull());
}

TEST_F(MainWindowTest, AfterLoadingItIsInCreateModeWithDefaultsAndTheUsersTables) {
    EXPECT_TRUE(C<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Option3")->isChecked());
    EXPECT_FALSE(C<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(C<QRadioButton>("Option4")->isChecked());
    EXPECT_FALSE(C<QCheckBox>("Check2")->isChecked());
    EXPECT_EQ(C<QLineEdit>("Text2")->text(), QStringLiteral("NewTable[counter]"));
    EXPECT_EQ(C<QLineEdit>("Text3")->text(), QStringLiteral(","));
    EXPECT_EQ(Tables(), (std::vector<std::string>{"ORDERS", "customers"}));
    EXPECT_FALSE(Window().Tables().Selected().has_value());
    EXPECT_EQ(Window().Files().columnCount(), 1);
    EXPECT_EQ(Window().Files().columnWidth(0), Px(5000));
    EXPECT_TRUE(dialogs.log.empty());
    // The catalogue fill yields once per table.
    EXPECT_GE(pump.yields, 2);
}

TEST_F(MainWindowTest, FramesLabelsOptionsAndChecksTakeTheFaceColour) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Label1", "Label2", "Label5",
                             "Option1", "Option2", "Option3", "Option4", "Check2"}) {
        QWidget* w = C(name);
        EXPECT_EQ(w->palette().color(w->backgroundRole()), face) << name;
    }
    EXPECT_EQ(Window().palette().color(Window().backgroundRole()), face);
}

TEST_F(MainWindowTest, LabelsOptionsAndChecksShowTheFaceOfTheirFrameWithoutAPatch) {
    QWidget& w = Window();
    const QImage image = w.grab().toImage();
    for (const char* name :
         {"Label1", "Label2", "Label5", "Option1", "Option2", "Option3", "Option4", "Check2"}) {
        QWidget* control = C(name);
        const QRect r(control->mapTo(&w, QPoint(0, 0)), control->size());
        // The control's top right corner is blank (its last pixels may lie
        // under the next control); a little left of the control lies its
        // frame's own face.
        const QColor own = image.pixelColor(r.topRight() - QPoint(3, 0));
        const QColor container = image.pixelColor(QPoint(r.left() - 3, r.center().y()));
        EXPECT_EQ(own.name().toStdString(), container.name().toStdString()) << name;
    }
}

TEST_F(MainWindowTest, FrameCaptionsSitOnTheBorderLine) {
    Window();
    for (const char* name : {"Frame2", "Frame3", "Frame4"}) {
        auto* frame = C<QGroupBox>(name);
        const QImage image = frame->grab().toImage();
        const int textHeight = QFontMetrics(frame->font()).height();
        // Down the right part of the frame, clear of the caption: the first
        // line met is the top border.
        const int x = frame->width() - 20;
        const QColor face = image.pixelColor(QPoint(x, 0));
        int border = -1;
        for (int y = 1; y < frame->height() && border < 0; ++y)
            if (image.pixelColor(QPoint(x, y)) != face) border = y;
        EXPECT_GT(border, 0) << name;
        EXPECT_LT(border, textHeight) << name << ": the border runs below the caption";
        // The caption itself is drawn across that line, greyed or not.
        const int captionWidth = QFontMetrics(frame->font()).horizontalAdvance(frame->title());
        int inked = 0;
        for (int cx = 0; cx < captionWidth; ++cx)
            for (int y = 0; y < textHeight; ++y)
                if (y != border && y != border + 1 && image.pixelColor(QPoint(cx, y)) != face)
                    ++inked;
        EXPECT_GT(inked, captionWidth / 2) << name;
    }
}

TEST_F(MainWindowTest, QuotedFieldsShowsItsWholeCaptionBetweenTheHelpButtonAndTheFrameBorder) {
    auto* check = C<QCheckBox>("Check3");
    const QRect box = check->geometry();
    EXPECT_GT(box.left(), C("PushButton6")->geometry().right());
    // The frame draws its border in its two outer columns.
    EXPECT_LE(box.right(), C("Frame1")->width() - 3);
    // The style draws the caption from the left of its label rectangle on, and
    // whatever passes the box's right edge is cut off.
    QStyleOptionButton option;
    option.initFrom(check);
    option.text = check->text();
    const QRect label = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    EXPECT_LE(QFontMetrics(check->font()).horizontalAdvance(check->text()), label.width())
        << "label room " << label.width() << " px of a " << box.width() << " px box";
}

TEST_F(MainWindowTest, FileListHeaderSpansTheList) {
    QHeaderView* header = Window().Files().header();
    const QImage image = header->grab().toImage();
    ASSERT_LT(header->sectionSize(0) + 20, header->width());
    const int y = header->height() / 2;
    const QColor inColumn = image.pixelColor(QPoint(header->sectionSize(0) - 10, y));
    const QColor farEnd = image.pixelColor(QPoint(header->width() - 3, y));
    EXPECT_EQ(farEnd.name().toStdString(), inColumn.name().toStdString());
}

struct EnabledCase {
    const char* control;
    bool inCreateMode;
};

class OptionSwitch : public MainWindowTest, public ::testing::WithParamInterface<EnabledCase> {};

TEST_P(OptionSwitch, EnablesAndDisablesByMode) {
    QWidget* w = C(GetParam().control);
    EXPECT_EQ(OwnEnabled(w), GetParam().inCreateMode) << "initial";
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    ASSERT_TRUE(C<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(OwnEnabled(w), !GetParam().inCreateMode) << "append";
    QTest::mouseClick(C("Option1"), Qt::LeftButton);
    EXPECT_EQ(OwnEnabled(w), GetParam().inCreateMode) << "create again";
}

INSTANTIATE_TEST_SUITE_P(
    Form2, OptionSwitch,
    ::testing::Values(EnabledCase{"Option3", true}, EnabledCase{"Option4", true},
                      EnabledCase{"Label5", true}, EnabledCase{"Text2", true},
                      EnabledCase{"Frame4", false}, EnabledCase{"Check2", false},
                      EnabledCase{"Label2", false}, EnabledCase{"List1", false}),
    [](const ::testing::TestParamInfo<EnabledCase>& p) { return std::string(p.param.control); });

// The user's clicks on the four option buttons, and the four states after each.
struct OptionClicks {
    const char* name;
    std::vector<const char*> clicks;
    // One "1100"-style pattern per click: Option1, Option2, Option3, Option4 selected.
    std::vector<const char*> states;
};

void PrintTo(const OptionClicks& c, std::ostream* os) {
    *os << c.name;
}

class OptionPairs : public MainWindowTest, public ::testing::WithParamInterface<OptionClicks> {
protected:
    std::string States() {
        std::string s;
        for (const char* name : {"Option1", "Option2", "Option3", "Option4"})
            s += C<QRadioButton>(name)->isChecked() ? '1' : '0';
        return s;
    }
};

TEST_P(OptionPairs, EachPairKeepsExactlyOneSelected) {
    const OptionClicks& c = GetParam();
    ASSERT_EQ(c.clicks.size(), c.states.size());
    EXPECT_EQ(States(), "1010") << "initial";
    std::string done;
    for (std::size_t i = 0; i < c.clicks.size(); ++i) {
        done += std::string(done.empty() ? "" : ", ") + c.clicks[i];
        QTest::mouseClick(C(c.clicks[i]), Qt::LeftButton);
        EXPECT_EQ(States(), c.states[i]) << "after " << done;
    }
    // Whatever the way, the mode's controls follow the selected option.
    const bool create = C<QRadioButton>("Option1")->isChecked();
    for (const char* name : {"Option3", "Option4", "Label5", "Text2"})
        EXPECT_EQ(OwnEnabled(C(name)), create) << name;
    for (const char* name : {"Frame4", "Check2", "Label2", "List1"})
        EXPECT_EQ(OwnEnabled(C(name)), !create) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Form2, OptionPairs,
    ::testing::Values(
        // Append then create again, and each selected option clicked again.
        OptionClicks{"AppendCreateAndTheSelectedOneAgain",
                     {"Option1", "Option2", "Option1", "Option1", "Option2", "Option2"},
                     {"1010", "0110", "1010", "1010", "0110", "0110"}},
        OptionClicks{"TypedNamesSurviveAppendAndCreate",
                     {"Option4", "Option2", "Option1", "Option3", "Option4", "Option4"},
                     {"1001", "0101", "1001", "1010", "1001", "1001"}},
        // In append mode the column options are greyed: clicking them changes nothing.
        OptionClicks{"GreyedColumnOptionsInAppendMode",
                     {"Option2", "Option4", "Option3", "Option1", "Option4"},
                     {"0110", "0110", "0110", "1010", "1001"}}),
    [](const ::testing::TestParamInfo<OptionClicks>& p) { return std::string(p.param.name); });

TEST_F(MainWindowTest, CreateFrameStaysEnabledAndTheAppendFrameGreysAsAWhole) {
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    EXPECT_TRUE(C("Frame3")->isEnabled());
    EXPECT_FALSE(C("Text2")->isEnabled());
    EXPECT_TRUE(C("List1")->isEnabled());
    QTest::mouseClick(C("Option1"), Qt::LeftButton);
    EXPECT_FALSE(C("Frame4")->isEnabled());
    EXPECT_TRUE(C("Option1")->isEnabled());
    EXPECT_TRUE(C("Option2")->isEnabled());
}

TEST_F(MainWindowTest, SwitchingKeepsTheTableChoiceAndTheHeaderCheck) {
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    Window().Tables().Select(1);
    C<QCheckBox>("Check2")->setChecked(true);
    QTest::mouseClick(C("Option1"), Qt::LeftButton);
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    EXPECT_EQ(Window().Tables().Selected(), std::optional<std::string>("customers"));
    EXPECT_TRUE(C<QCheckBox>("Check2")->isChecked());
}

TEST_F(MainWindowTest, OptionsAreTheControlsAsTheyStandNow) {
    MainWindow& w = Window();
    EXPECT_EQ(w.Options().Mode(), ImportMode::CreateTable);
    EXPECT_EQ(w.Options().Columns(), ColumnSource::HeaderLine);
    EXPECT_EQ(w.Options().TableNamePattern(), "NewTable[counter]");
    EXPECT_EQ(w.Options().Separator(), ",");
    EXPECT_FALSE(w.Options().SkipHeaderOnAppend());
    EXPECT_FALSE(w.Options().TargetTable().has_value());

    C<QLineEdit>("Text3")->clear();
    QTest::keyClicks(C("Text3"), "|;");
    C<QLineEdit>("Text2")->setText(QStringLiteral("Sales[counter]"));
    QTest::mouseClick(C("Option4"), Qt::LeftButton);
    EXPECT_EQ(w.Options().Separator(), "|;");
    EXPECT_EQ(w.Options().TableNamePattern(), "Sales[counter]");
    EXPECT_EQ(w.Options().Columns(), ColumnSource::TypedNames);

    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    C<QCheckBox>("Check2")->setChecked(true);
    w.Tables().Select(0);
    EXPECT_EQ(w.Options().Mode(), ImportMode::AppendToTable);
    EXPECT_TRUE(w.Options().SkipHeaderOnAppend());
    EXPECT_EQ(w.Options().TargetTable(), std::optional<std::string>("ORDERS"));
}

TEST_F(MainWindowTest, APastedTabIsShownAsBackslashTAndStaysTheSeparator) {
    QLineEdit* box = C<QLineEdit>("Text3");
    QApplication::clipboard()->setText(QStringLiteral("|\t"));
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(box, "x");
    EXPECT_EQ(box->text().toStdString(), "|\\tx");
    EXPECT_EQ(Window().Options().separator, "|\tx");
}

TEST_F(MainWindowTest, FileFormatHelpIsExact) {
    QTest::mouseClick(C("PushButton6"), Qt::LeftButton);
    EXPECT_EQ(
        dialogs.messages,
        std::vector<std::string>{
            "Text files should look like this:\r\n\r\nName,State\r\nPeter,NH\r\nJane,MA\r\n\r\n"
            "Also, if appending, make sure the number of columns in the text file match the "
            "number of columns in the table.\r\n\r\nWhen appending, number of columns and data "
            "types (number, decimal, text, etc.) must be identical.\r\n\r\nTick \"Quoted "
            "fields\" when fields may stand between double quotes, as in \"Smith, John\",NH: a "
            "separator or a line break between the quotes is then part of the field, and two "
            "double quotes there stand for one.\r\n\r\nType \\t in \"Fields Separated By:\" "
            "for a TAB; a pasted TAB is shown as \\t."});
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST_F(MainWindowTest, LoadingAgainKeepsFilesAndOptionsAndResetsNameSeparatorAndTables) {
    MainWindow& w = Window();
    w.Files().AddEntry("/data/a.txt");
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    C<QCheckBox>("Check2")->setChecked(true);
    w.Tables().Select(0);
    C<QLineEdit>("Text2")->setText(QStringLiteral("X"));
    C<QLineEdit>("Text3")->setText(QStringLiteral(";"));
    db.Exec("CREATE TABLE \"NEWER\" (a TEXT)");

    w.Load();

    EXPECT_EQ(w.Files().Snapshot(), std::vector<std::string>{"/data/a.txt"});
    EXPECT_TRUE(C<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(OwnEnabled(C("List1")));
    EXPECT_TRUE(C<QCheckBox>("Check2")->isChecked());
    EXPECT_EQ(C<QLineEdit>("Text2")->text(), QStringLiteral("NewTable[counter]"));
    EXPECT_EQ(C<QLineEdit>("Text3")->text(), QStringLiteral(","));
    EXPECT_EQ(Tables(), (std::vector<std::string>{"ORDERS", "customers", "NEWER"}));
    EXPECT_FALSE(w.Tables().Selected().has_value());
    EXPECT_EQ(w.Files().columnCount(), 1);
    EXPECT_EQ(w.Files().headerItem()->text(0), QStringLiteral("Text Files"));
    EXPECT_EQ(w.Files().columnWidth(0), Px(5000));
}

TEST_F(MainWindowTest, CatalogueThatCannotConnectIsReportedAtStep120AndTheWindowStillOpens) {
    profile.Set(
        "Driver={Microsoft ODBC for Oracle};Server=/nonexistent/verrolift;Uid=nobody;Pwd=x;");
    MainWindow& w = Window();
    ASSERT_EQ(dialogs.reports.size(), 1u);
    EXPECT_EQ(dialogs.reports[0].tag, tags::kMainLoad);
    EXPECT_EQ(dialogs.reports[0].step, main_window_steps::load::kListTables);
    EXPECT_EQ(w.Tables().Count(), 0);
    EXPECT_TRUE(w.isVisible());
    // The steps after it ran.
    EXPECT_EQ(w.Files().headerItem()->text(0), QStringLiteral("Text Files"));
    EXPECT_EQ(w.Files().columnWidth(0), Px(5000));
}

TEST_F(MainWindowTest, SetupConnectionShowsTheLoginWindowThenHidesThisOne) {
    QTest::mouseClick(C("PushButton5"), Qt::LeftButton);
    EXPECT_EQ(flow.calls, (std::vector<std::string>{"show login", "hide main"}));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(MainWindowTest, ClosingEndsTheProgram) {
    Window().close();
    EXPECT_EQ(flow.calls, std::vector<std::string>{"end"});
}

TEST_F(MainWindowTest, AddTextFilesAddsOneAndSeveralPickedFiles) {
    dialogs.fileAnswers.push_back({"/data/one.txt"});
    dialogs.fileAnswers.push_back({"/data/in/b.txt", "/data/in/a.txt"});
    QTest::mouseClick(C("PushButton3"), Qt::LeftButton);
    QTest::mouseClick(C("PushButton3"), Qt::LeftButton);
    EXPECT_EQ(Window().Files().Snapshot(),
              (std::vector<std::string>{"/data/one.txt", "/data/in/b.txt", "/data/in/a.txt"}));
    EXPECT_EQ(dialogs.fileDialogTitles.size(), 2u);
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(MainWindowTest, AddTextFilesWithTooManyPickedShowsTheMessageAndAddsNothing) {
    std::vector<std::string> many;
    for (int i = 0; i < 1500; ++i)
        many.push_back("/data/exports/export_file_" + std::to_string(i) + ".csv");
    dialogs.fileAnswers.push_back(many);
    QTest::mouseClick(C("PushButton3"), Qt::LeftButton);
    EXPECT_EQ(Window().Files().Count(), 0);
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"You've selected too many files to add.\r\rPlease try "
                                       "adding via the \"Add All\" button."});
}

class DeleteInWindow : public MainWindowTest,
                       public ::testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(DeleteInWindow, RemovesTheSelectedFileUnlessBusy) {
    FileListView& files = Window().Files();
    files.AddEntries({"/a.txt", "/b.txt", "/c.txt"});
    files.SelectEntry(2);
    Window().Pointer().SetPointer(PointerShape::Busy);
    QTest::keyClick(&files, Qt::Key_Delete, GetParam());
    EXPECT_EQ(files.Count(), 3) << "busy";
    Window().Pointer().SetPointer(PointerShape::Default);
    QTest::keyClick(&files, Qt::Key_Backspace, GetParam());
    EXPECT_EQ(files.Count(), 3) << "backspace";
    QTest::keyClick(&files, Qt::Key_Delete, GetParam());
    EXPECT_EQ(files.Snapshot(), (std::vector<std::string>{"/a.txt", "/c.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Form2, DeleteInWindow,
                         ::testing::Values(Qt::NoModifier, Qt::ShiftModifier));

TEST_F(MainWindowTest, HandOverButtonsResetOverFramesAndNeverOverABusyPointer) {
    MainWindow& w = Window();
    test::MovePointerOver(C("PushButton1"));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Custom);
    test::MovePointerOver(C("Text2"));  // no handler of its own: the pointer stays
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Custom);
    test::MovePointerOver(C("Frame3"), QPoint(3, 3));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Default);
    QTest::mouseClick(C("Option2"), Qt::LeftButton);
    test::MovePointerOver(C("PushButton6"));
    test::MovePointerOver(C("List1"));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Default);
    test::MovePointerOver(C("PushButton4"));
    test::MovePointerOver(&w, QPoint(1, Px(7600)));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Default);
    test::MovePointerOver(C("PushButton3"));
    test::MovePointerOver(C("ListView1"), QPoint(5, 40));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Default);

    w.Pointer().SetPointer(PointerShape::Busy);
    for (const char* name :
         {"PushButton1", "PushButton3", "Frame1", "Label1", "Text3", "ListView1"}) {
        test::MovePointerOver(C(name));
        EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Busy) << name;
    }
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
}

TEST_F(MainWindowTest, TheBusyPointerCoversTheFileListThatHasAPointerOfItsOwn) {
    FileListView& files = Window().Files();
    files.AddEntries({"/a.txt", "/b.txt"});
    QWidget* surface = files.viewport();
    const QPoint onEntry = files.visualItemRect(files.topLevelItem(0)).center();
    // A click on an entry leaves the list with its own arrow pointer.
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, onEntry);
    ASSERT_EQ(surface->cursor().shape(), Qt::ArrowCursor);

    Window().Pointer().SetPointer(PointerShape::Busy);
    EXPECT_EQ(surface->cursor().shape(), Qt::WaitCursor);
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, onEntry);
    EXPECT_EQ(surface->cursor().shape(), Qt::WaitCursor) << "a click while busy";
    Window().Pointer().SetPointer(PointerShape::Default);
    EXPECT_EQ(surface->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, WithoutThePointerFileTheHandSettingShowsTheOrdinaryPointer) {
    MainWindow& w = Window();
    EXPECT_FALSE(w.Pointer().HasCustomCursor());
    test::MovePointerOver(C("PushButton1"));
    EXPECT_EQ(w.Pointer().Pointer(), PointerShape::Custom);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(MainWindowTest, WithThePointerFileTheHandShowsOverButtons) {
    dir.Write("HAND-M.CUR", test::CursorFileBytes(6, 1));
    MainWindow& w = Window();
    ASSERT_TRUE(w.Pointer().HasCustomCursor());
    test::MovePointerOver(C("PushButton3"));
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w.cursor().hotSpot(), QPoint(6, 1));
    test::MovePointerOver(C("Frame1"), QPoint(2, 2));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, UnreadablePointerFileCountsAsAbsent) {
    dir.Write("HAND-M.CUR", "garbage");
    MainWindow& w = Window();
    EXPECT_FALSE(w.Pointer().HasCustomCursor());
    EXPECT_TRUE(dialogs.log.empty());
}

}  // namespace
}  // namespace verrolift

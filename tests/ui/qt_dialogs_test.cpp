#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>

#include <gtest/gtest.h>

#include "base/error_report.h"
#include "base/failure.h"
#include "files/add_files.h"
#include "support/temp_dir.h"
#include "ui/look.h"
#include "ui/qt_dialogs.h"

namespace verrolift {
namespace {

// Runs `inspect` on the modal box once it is up; a box that inspect left open
// (a failed expectation) is cancelled so that the test goes on.
void WhenModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal box";
        inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
}

TEST(QtFileFilter, TurnsDescriptionAndPatternPairsIntoQtNotation) {
    EXPECT_EQ(QtFileFilter(kAddFilesFilter).toStdString(),
              "Text Files (*.txt);;CSV Files (*.csv);;All Files (*)");
}

TEST(QtFileFilter, TakesThePatternsFromThePatternHalf) {
    EXPECT_EQ(QtFileFilter("Data|*.dat;*.tsv|Logs (*.log)|*.log").toStdString(),
              "Data (*.dat *.tsv);;Logs (*.log)");
}

TEST(DisplayText, LineEndsOfTheMessagesBecomeLineBreaks) {
    EXPECT_EQ(DisplayText("a\r\rb\r\nc\nd").toStdString(), "a\n\nb\nc\nd");
}

TEST(QtDialogs, PlainMessageHasNoIconOnlyOkAndTheApplicationTitle) {
    SetApplicationTitle();
    QtDialogs dialogs;
    bool seen = false;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Verrolift"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->text(), QStringLiteral("Done.\n\nNext <line> & more"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.ShowMessage("Done.\r\rNext <line> & more");
    EXPECT_TRUE(seen);
}

// What a title bar needs to show a caption whole: the text in the title font
// (bold, as window managers draw an active title), and room for the window
// icon and the minimise, maximise and close buttons, each about as wide as
// the bar is high.
int NeededForCaption(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QFontMetrics(font).horizontalAdvance(title) + 4 * bar;
}

struct ShortBox {
    const char* name;
    std::function<void(QtDialogs&)> show;
};

void PrintTo(const ShortBox& b, std::ostream* os) {
    *os << b.name;
}

class ShortBoxes : public ::testing::TestWithParam<ShortBox> {};

TEST_P(ShortBoxes, ShowTheirWholeCaptionCentredOverTheWindowThatShowsThem) {
    SetApplicationTitle();
    QWidget owner;
    owner.setGeometry(30, 40, 420, 540);
    owner.show();
    QtDialogs dialogs([&owner] { return &owner; });
    bool seen = false;
    WhenModal([&](QWidget* modal) {
        seen = true;
        EXPECT_GE(modal->width(), NeededForCaption(modal->windowTitle()))
            << modal->windowTitle().toStdString();
        const QPoint offset = modal->frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
    });
    GetParam().show(dialogs);
    EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(
    QtDialogs, ShortBoxes,
    ::testing::Values(ShortBox{"Done", [](QtDialogs& d) { d.ShowMessage("Done."); }},
                      ShortBox{"EmptyMessage", [](QtDialogs& d) { d.ShowMessage(""); }},
                      ShortBox{"ShortReport",
                               [](QtDialogs& d) {
                                   d.ShowErrorReport(ErrorReport{"", 100, "x"});
                               }},
                      ShortBox{"InputBox", [](QtDialogs& d) { d.InputBox("Column 1?", ""); }}),
    [](const ::testing::TestParamInfo<ShortBox>& p) { return std::string(p.param.name); });

TEST(QtDialogs, ALineThatFitsTheScreenIsShownWholeAndALongerOneWraps) {
    std::string paragraph;
    for (int i = 0; i < 60; ++i) paragraph += "paragraph ";
    const std::string summary =
        "1,234 of 1,240 files imported, 12,345,678 rows stored, 1,234,567 rows refused.";
    for (const auto& [line, whole] : {std::pair{summary, true}, std::pair{paragraph, false}}) {
        QtDialogs dialogs;
        bool seen = false;
        WhenModal([&, line = line, whole = whole](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            seen = true;
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text() != box->text()) continue;
                const int needed =
                    QFontMetrics(label->font()).horizontalAdvance(QString::fromStdString(line));
                EXPECT_EQ(label->contentsRect().width() >= needed, whole) << needed;
            }
            EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.ShowMessage("Done.\r\n\r\n" + line);
        EXPECT_TRUE(seen);
    }
}

// A style that puts its standard icons on dialog buttons, as some desktop styles do.
class IconButtonStyle : public QProxyStyle {
public:
    IconButtonStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

TEST(QtDialogs, OkButtonOfAMessageCarriesNoIconEvenWhereTheStyleAddsThem) {
    const QString before = QApplication::style()->name();
    QApplication::setStyle(new IconButtonStyle);
    QtDialogs dialogs;
    bool seen = false;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
        EXPECT_TRUE(box->button(QMessageBox::Ok)->icon().isNull());
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.ShowMessage("Done.");
    QApplication::setStyle(QStyleFactory::create(before));
    EXPECT_TRUE(seen);
}

TEST(QtDialogs, ErrorReportHasTheWarningIconAndItsOwnTitle) {
    QtDialogs dialogs;
    bool seen = false;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Application Error"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->text().toStdString(),
                  "Broken\nin Pellucor2021/08/31.Form2.Form_Load at line 120\n\nPlease email "
                  "screenshot of this message to " +
                      std::string(kSupportAddress));
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.ShowErrorReport(ErrorReport{std::string(tags::kMainLoad), 120, "Broken"});
    EXPECT_TRUE(seen);
}

TEST(QtDialogs, InputBoxOffersTheDefaultAndReturnsTheAnswer) {
    QtDialogs dialogs;
    WhenModal([](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("Verrolift"));
        EXPECT_EQ(input->labelText(), QStringLiteral("Extension?"));
        EXPECT_EQ(input->textValue(), QStringLiteral("txt"));
        input->setTextValue(QStringLiteral("csv"));
        input->accept();
    });
    EXPECT_EQ(dialogs.InputBox("Extension?", "txt"), "csv");
}

TEST(QtDialogs, CancelledInputBoxAnswersEmpty) {
    QtDialogs dialogs;
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.InputBox("Extension?", "txt"), "");
}

TEST(QtDialogs, FileDialogAllowsSeveralFilesWithTheTextFilterInForce) {
    test::TempDir dir;
    dir.Write("a.txt", "1");
    dir.Write("b.txt", "2");
    QtDialogs dialogs;
    WhenModal([&](QWidget* modal) {
        auto* fd = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(fd, nullptr);
        EXPECT_EQ(fd->windowTitle(),
                  QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"));
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(fd->nameFilters(),
                  (QStringList{"Text Files (*.txt)", "CSV Files (*.csv)", "All Files (*)"}));
        EXPECT_EQ(fd->selectedNameFilter(), QStringLiteral("Text Files (*.txt)"));
        fd->setDirectory(QString::fromStdString(dir.Path()));
        fd->selectFile(QStringLiteral("\"a.txt\" \"b.txt\""));
        QMetaObject::invokeMethod(fd, "accept");
    });
    const auto picked = dialogs.PickFiles(kAddFilesTitle, kAddFilesFilter);
    EXPECT_EQ(picked, (std::vector<std::string>{dir.File("a.txt"), dir.File("b.txt")}));
}

TEST(QtDialogs, CancelledFileDialogPicksNothing) {
    QtDialogs dialogs;
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_TRUE(dialogs.PickFiles(kAddFilesTitle, kAddFilesFilter).empty());
}

TEST(QtDialogs, FolderPickerOpensAtTheStartFolderUnderItsTitle) {
    test::TempDir dir;
    dir.Write("inner/x.txt", "1");
    QtDialogs dialogs;
    WhenModal([&](QWidget* modal) {
        auto* fd = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(fd, nullptr);
        EXPECT_EQ(fd->windowTitle(), QStringLiteral("Pick a folder"));
        EXPECT_EQ(fd->fileMode(), QFileDialog::Directory);
        EXPECT_EQ(fd->directory().absolutePath().toStdString(), dir.Path());
        fd->selectFile(QString::fromStdString(dir.File("inner")));
        QMetaObject::invokeMethod(fd, "accept");
    });
    EXPECT_EQ(dialogs.PickFolder("Pick a folder", dir.Path()), dir.File("inner"));
}

TEST(QtDialogs, NothingIsShownOnceTheProgramIsEnding) {
    QtDialogs dialogs;
    dialogs.SetEnding([] { return true; });
    EXPECT_THROW(dialogs.ShowMessage("Done."), RunAborted);
    EXPECT_THROW(dialogs.ShowErrorReport(ErrorReport{}), RunAborted);
    EXPECT_THROW(dialogs.InputBox("?", ""), RunAborted);
    EXPECT_THROW(dialogs.PickFiles("t", "f|*|"), RunAborted);
    EXPECT_THROW(dialogs.PickFolder("t", ""), RunAborted);
}

}  // namespace
}  // namespace verrolift

#include <cmath>
#include <string>
#include <vector>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "app/login_window_steps.h"
#include "base/settings_store.h"
#include "ui/login_window.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "ui_harness.h"

namespace verrolift {
namespace {

using test::Control;
using test::ControlCase;
using test::Px;

// A socket folder where no database listens: every probe fails.
constexpr const char* kNowhere = "/nonexistent/verrolift";

const std::string kSidHelp =
    "This software works with Oracle 9i or higher.\r\r"
    "The SID is used to identify a particular database. The SID is usually defined in the "
    "TNSNAMES.ORA file. The TNSNAMES.ORA file found in my Oracle 9i folder looks like:\r\n\r\n"
    "KARV =\r\n"
    " (DESCRIPTION =\r\n"
    "   (ADDRESS_LIST =\r\n"
    "     (ADDRESS = (PROTOCOL = TCP)(HOST = 192.0.2.10)(PORT = 1521))\r\n"
    "   )\r\n"
    "   (CONNECT_DATA =\r\n"
    "     (SID = KARV)\r\n"
    "   )\r\n"
    " )\r\n\r\n"
    "Therefore, my SID would be KARV";

class LoginWindowTest : public ::testing::Test {
protected:
    // The program as started with a saved profile that does not connect.
    LoginWindow& Started() {
        if (!started_) {
            h.SaveProfile(kNowhere, "scott", "tiger");
            h.Start();
            started_ = true;
        }
        return h.program().Login();
    }
    template <class T = QWidget>
    T* C(const char* name) {
        return Control<T>(&Started(), name);
    }
    // Brings the window to the front so that it takes the keyboard focus.
    void Activate() {
        Started().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Started()));
    }

    test::ProgramHarness h;

private:
    bool started_ = false;
};

class LoginLayout : public LoginWindowTest, public ::testing::WithParamInterface<ControlCase> {};

QString Caption(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return {};
}

TEST_P(LoginLayout, ControlHasItsKindCaptionContainerPlaceAndFont) {
    const ControlCase& c = GetParam();
    QWidget* w = C(c.name);
    ASSERT_NE(w, nullptr);
    test::ExpectControl(w, c, Caption(w));
}

INSTANTIATE_TEST_SUITE_P(
    Form1, LoginLayout,
    ::testing::Values(
        ControlCase{"Frame1", "QGroupBox", "Oracle Login", "Form1", 120, 120, 7800, 2385},
        ControlCase{"Label2", "QLabel", "SID:", "Frame1", 240, 405, 1095, 255},
        ControlCase{"Text1", "QLineEdit", "", "Frame1", 1320, 360, 5535, 345},
        ControlCase{"PushButton1", "QPushButton", "?", "Frame1", 6960, 360, 615, 345},
        ControlCase{"Label1", "QLabel", "Username:", "Frame1", 240, 885, 1095, 255},
        ControlCase{"Text2", "QLineEdit", "", "Frame1", 1320, 840, 6255, 345},
        ControlCase{"Label4", "QLabel", "Password:", "Frame1", 240, 1365, 1095, 255},
        ControlCase{"Text3", "QLineEdit", "", "Frame1", 1320, 1320, 6255, 345},
        ControlCase{"PushButton5", "QPushButton", "Test Connection", "Frame1", 240, 1800, 3600,
                    405},
        ControlCase{"PushButton6", "QPushButton", "Help", "Frame1", 3960, 1800, 3600, 405},
        ControlCase{"PushButton3", "QPushButton", "Next >", "Form1", 120, 2640, 7800, 405}),
    [](const ::testing::TestParamInfo<ControlCase>& p) { return std::string(p.param.name); });

TEST_F(LoginWindowTest, ClientAreaTitleAndIcon) {
    EXPECT_EQ(Started().size(), QSize(Px(8040), Px(3180)));
    EXPECT_EQ(Started().objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(Started().windowTitle(), QStringLiteral("Verrolift"));
    EXPECT_FALSE(Started().windowIcon().isNull());
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Verrolift"));
}

TEST_F(LoginWindowTest, SavedProfileThatDoesNotConnectLeavesTheLoginWindowUpWithItsValues) {
    LoginWindow& login = Started();
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(h.program().Main(), nullptr);
    EXPECT_EQ(C<QLineEdit>("Text1")->text().toStdString(), kNowhere);
    EXPECT_EQ(C<QLineEdit>("Text2")->text(), QStringLiteral("scott"));
    EXPECT_EQ(C<QLineEdit>("Text3")->text(), QStringLiteral("tiger"));
    EXPECT_TRUE(h.dialogs.log.empty());
    EXPECT_EQ(login.Profile().password, "tiger");
}

TEST_F(LoginWindowTest, FirstRunComesUpEmptyAndStoresNothing) {
    h.Start();
    LoginWindow& login = h.program().Login();
    EXPECT_TRUE(login.isVisible());
    for (const char* box : {"Text1", "Text2", "Text3"})
        EXPECT_TRUE(Control<QLineEdit>(&login, box)->text().isEmpty()) << box;
    EXPECT_EQ(h.Stored("OracleSID"), "<absent>");
    EXPECT_EQ(h.Stored("OraclePassword"), "<absent>");
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(LoginWindowTest, ValuesOfAnyLengthAreKeptWhole) {
    const std::string sid(40000, 's');
    h.SaveProfile(sid, "u", std::string(33000, 'p'));
    h.Start();
    LoginWindow& login = h.program().Login();
    EXPECT_EQ(login.Profile().sid, sid);
    EXPECT_EQ(login.Profile().password.size(), 33000u);
    EXPECT_EQ(h.Stored("OracleSID"), sid);
}

TEST_F(LoginWindowTest, PasswordIsShownAsStars) {
    EXPECT_EQ(C<QLineEdit>("Text3")->displayText(), QStringLiteral("*****"));
    EXPECT_EQ(C<QLineEdit>("Text1")->displayText().toStdString(), kNowhere);
}

TEST_F(LoginWindowTest, TabOrderRunsThroughBoxesAndButtons) {
    std::vector<std::string> order;
    QWidget* w = C("Text1");
    for (int i = 0; i < 7; ++i) {
        order.push_back(w->objectName().toStdString());
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Text1", "PushButton1", "Text2", "Text3",
                                               "PushButton5", "PushButton6", "PushButton3"}));
}

TEST_F(LoginWindowTest, SidHelpIsExact) {
    QTest::mouseClick(C("PushButton1"), Qt::LeftButton);
    EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{kSidHelp});
}

TEST_F(LoginWindowTest, HelpShowsTheSidHelpThenTheDataTypeNotice) {
    QTest::mouseClick(C("PushButton6"), Qt::LeftButton);
    EXPECT_EQ(
        h.dialogs.messages,
        (std::vector<std::string>{
            kSidHelp, "This software does not support the CLOB and NLOB data type in Oracle."}));
}

TEST_F(LoginWindowTest, EveryKeystrokeIsStoredAtOnce) {
    auto* user = C<QLineEdit>("Text2");
    user->clear();
    EXPECT_EQ(h.Stored("OracleUser"), "");
    QTest::keyClick(user, Qt::Key_A);
    EXPECT_EQ(h.Stored("OracleUser"), "a");
    QTest::keyClicks(user, "b;c");
    EXPECT_EQ(h.Stored("OracleUser"), "ab;c");
    QTest::keyClick(user, Qt::Key_Backspace);
    EXPECT_EQ(h.Stored("OracleUser"), "ab;");
    auto* password = C<QLineEdit>("Text3");
    password->clear();
    QTest::keyClicks(password, " p w ");
    EXPECT_EQ(h.Stored("OraclePassword"), " p w ");
    EXPECT_EQ(h.Stored("OracleSID"), kNowhere);
}

TEST_F(LoginWindowTest, FocusByTabSelectsTheWholeTextAndTypingReplacesIt) {
    Activate();
    auto* user = C<QLineEdit>("Text2");
    C("PushButton1")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), user);
    EXPECT_EQ(user->selectedText(), QStringLiteral("scott"));
    EXPECT_EQ(user->selectionStart(), 0);
    QTest::keyClicks(user, "system");
    EXPECT_EQ(user->text(), QStringLiteral("system"));
    EXPECT_EQ(h.Stored("OracleUser"), "system");
}

TEST_F(LoginWindowTest, FocusByClickSelectsTheWholeText) {
    Activate();
    auto* password = C<QLineEdit>("Text3");
    C("Text1")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(password, Qt::LeftButton, {}, QPoint(3, 5));
    ASSERT_EQ(QApplication::focusWidget(), password);
    EXPECT_EQ(password->selectedText().size(), 5);
    EXPECT_EQ(password->selectionStart(), 0);
    QTest::keyClick(password, Qt::Key_X);
    EXPECT_EQ(password->text(), QStringLiteral("x"));
    EXPECT_EQ(h.Stored("OraclePassword"), "x");
}

TEST_F(LoginWindowTest, ClickIntoTheBoxThatHasTheFocusPlacesTheCaret) {
    Activate();
    auto* sid = C<QLineEdit>("Text1");
    sid->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(sid, Qt::LeftButton, {}, QPoint(sid->width() - 4, 5));
    EXPECT_FALSE(sid->hasSelectedText());
}

TEST_F(LoginWindowTest, NextWithAProfileThatDoesNotConnectDoesNothingVisibleEveryTime) {
    LoginWindow& login = Started();
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(C("PushButton3"), Qt::LeftButton);
        EXPECT_TRUE(login.isVisible());
        EXPECT_EQ(h.program().Main(), nullptr);
        EXPECT_EQ(login.Pointer().Pointer(), PointerShape::Default);
    }
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(LoginWindowTest, TestConnectionThatFailsSaysSoAndPutsThePointerBack) {
    QTest::mouseClick(C("PushButton5"), Qt::LeftButton);
    EXPECT_EQ(h.dialogs.messages,
              std::vector<std::string>{"Could not connect. Please check with your administrator."});
    EXPECT_EQ(Started().Pointer().Pointer(), PointerShape::Default);
}

TEST_F(LoginWindowTest, ClosingEndsTheProgram) {
    Started().close();
    EXPECT_EQ(h.ends, 1);
    EXPECT_TRUE(h.program().Ending());
    EXPECT_FALSE(Started().isVisible());
}

TEST_F(LoginWindowTest, HandOverButtonsAndResetOverFrameAndBoxes) {
    LoginWindow& login = Started();
    for (const char* button : {"PushButton1", "PushButton3", "PushButton5", "PushButton6"}) {
        login.Pointer().SetPointer(PointerShape::Default);
        test::MovePointerOver(C(button));
        EXPECT_EQ(login.Pointer().Pointer(), PointerShape::Custom) << button;
    }
    for (const char* place : {"Frame1", "Text1", "Text2", "Text3"}) {
        login.Pointer().SetPointer(PointerShape::Custom);
        test::MovePointerOver(C(place), QPoint(2, 2));
        EXPECT_EQ(login.Pointer().Pointer(), PointerShape::Default) << place;
    }
    login.Pointer().SetPointer(PointerShape::Custom);
    test::MovePointerOver(C("Label2"));  // labels have no handler
    EXPECT_EQ(login.Pointer().Pointer(), PointerShape::Custom);
}

TEST_F(LoginWindowTest, WithoutTheSkinFileFrameAndLabelsStayWhite) {
    for (const char* name : {"Frame1", "Label1", "Label2", "Label4"}) {
        QWidget* w = C(name);
        EXPECT_EQ(w->palette().color(w->backgroundRole()), QColor(Qt::white)) << name;
    }
    EXPECT_TRUE(Started().styleSheet().isEmpty());
}

TEST_F(LoginWindowTest, SkinFileGivesTheFaceColourAndItsStyleSheet) {
    h.dir.Write("bin/x/o.cjs", "QPushButton { font-style: italic; }");
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (const char* name : {"Frame1", "Label1", "Label2", "Label4"}) {
        QWidget* w = C(name);
        EXPECT_EQ(w->palette().color(w->backgroundRole()), face) << name;
    }
    EXPECT_EQ(Started().styleSheet(), QStringLiteral("QPushButton { font-style: italic; }"));
    EXPECT_TRUE(h.dialogs.log.empty());
}

TEST_F(LoginWindowTest, PointerFileGivesTheHandOverButtons) {
    h.dir.Write("bin/HAND-M.CUR", test::CursorFileBytes(9, 2));
    LoginWindow& login = Started();
    ASSERT_TRUE(login.Pointer().HasCustomCursor());
    test::MovePointerOver(C("PushButton3"));
    EXPECT_EQ(login.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(login.cursor().hotSpot(), QPoint(9, 2));
    test::MovePointerOver(C("Frame1"), QPoint(2, 2));
    EXPECT_EQ(login.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(LoginWindowTest, MissingPointerFileMeansNoHandAndNoMessage) {
    EXPECT_FALSE(Started().Pointer().HasCustomCursor());
    EXPECT_TRUE(h.dialogs.log.empty());
}

struct DrawCase {
    double r;
    bool opens;
};

class HomePageVisit : public LoginWindowTest, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(HomePageVisit, OpensOnlyOnADrawOfSeven) {
    h.randomFraction = GetParam().r;
    Started();
    if (GetParam().opens)
        EXPECT_EQ(h.openedAddresses, std::vector<std::string>{std::string(kHomePageAddress)});
    else
        EXPECT_TRUE(h.openedAddresses.empty());
    EXPECT_TRUE(h.dialogs.log.empty());
}

INSTANTIATE_TEST_SUITE_P(Startup, HomePageVisit,
                         ::testing::Values(DrawCase{0.0, false}, DrawCase{0.0599, false},
                                           DrawCase{0.06, true}, DrawCase{0.0699, true},
                                           DrawCase{0.07, false}, DrawCase{0.9999, false}),
                         [](const ::testing::TestParamInfo<DrawCase>& p) {
                             return "Draw" + std::to_string(static_cast<int>(p.param.r * 10000));
                         });

TEST(HomePage, ThatCannotOpenIsReportedAtStep106AndStartUpGoesOn) {
    test::ProgramHarness refusing;
    refusing.randomFraction = 0.065;
    refusing.SaveProfile(kNowhere, "u", "p");
    refusing.refuseUrls = true;
    refusing.Start();
    ASSERT_EQ(refusing.dialogs.reports.size(), 1u);
    EXPECT_EQ(refusing.dialogs.reports[0].tag, tags::kLoginLoad);
    EXPECT_EQ(refusing.dialogs.reports[0].step, login_window_steps::load::kHomePage);
    EXPECT_EQ(Control<QLineEdit>(&refusing.program().Login(), "Text2")->text(),
              QStringLiteral("u"));
    EXPECT_TRUE(refusing.program().Login().isVisible());
}

}  // namespace
}  // namespace verrolift

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "ui/look.h"
#include "ui_harness.h"

namespace verrolift {
namespace {

struct TwipsCase {
    int twips;
    double dpi;
    int pixels;
};

class TwipsConversion : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsConversion, FollowsTheLogicalDpi) {
    EXPECT_EQ(TwipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Look, TwipsConversion,
                         ::testing::Values(TwipsCase{15, 96, 1}, TwipsCase{1440, 96, 96},
                                           TwipsCase{8040, 96, 536}, TwipsCase{3180, 96, 212},
                                           TwipsCase{5000, 96, 333}, TwipsCase{6360, 96, 424},
                                           TwipsCase{8220, 96, 548}, TwipsCase{1440, 120, 120},
                                           TwipsCase{8040, 144, 804}, TwipsCase{0, 96, 0}),
                         [](const ::testing::TestParamInfo<TwipsCase>& p) {
                             return std::to_string(p.param.twips) + "twipsAt" +
                                    std::to_string(static_cast<int>(p.param.dpi)) + "dpi";
                         });

TEST(Look, ApplicationTitleIsTheProductName) {
    SetApplicationTitle();
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Verrolift"));
}

// The icon file as the desktop shows it, at one size.
QImage InstalledIcon(int size) {
    QSvgRenderer renderer(QStringLiteral(VERROLIFT_ICON_FILE));
    EXPECT_TRUE(renderer.isValid());
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

TEST(Look, TheWindowIconIsTheInstalledIconFile) {
    const QIcon icon = ApplicationIcon();
    for (int size : {16, 32, 64}) {
        const QImage shown =
            icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(shown, InstalledIcon(size)) << size;
    }
}

TEST(Look, FontsAreArialBoldNineAndElevenAndAQuarterPoints) {
    const QFont control = ControlFont();
    EXPECT_EQ(control.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(control.pointSizeF(), 9.0);
    EXPECT_EQ(control.weight(), QFont::Bold);
    const QFont button = ButtonFont();
    EXPECT_EQ(button.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(button.pointSizeF(), 11.25);
    EXPECT_EQ(button.weight(), QFont::Bold);
}

// A window with one control of each kind.
struct Sample {
    QWidget window;
    QGroupBox* frame = new QGroupBox(&window);
    QLabel* label = new QLabel(frame);
    QRadioButton* option = new QRadioButton(frame);
    QCheckBox* check = new QCheckBox(frame);
    QLineEdit* text = new QLineEdit(frame);
    QPushButton* button = new QPushButton(&window);
};

QColor Background(const QWidget* w) {
    return w->palette().color(w->backgroundRole());
}
QColor Face() {
    return QApplication::palette().color(QPalette::Button);
}

TEST(Look, FaceColourIsTheSystemButtonColourAndNotWhite) {
    // The tests below tell white from the face colour.
    EXPECT_NE(Face(), QColor(Qt::white));
}

TEST(Look, DesignBackgroundIsWhiteBehindFramesLabelsOptionsAndChecks) {
    Sample s;
    ApplyDesignBackground(&s.window);
    for (QWidget* w : std::initializer_list<QWidget*>{s.frame, s.label, s.option, s.check}) {
        EXPECT_EQ(Background(w), QColor(Qt::white)) << w->metaObject()->className();
        EXPECT_TRUE(w->autoFillBackground());
    }
    EXPECT_FALSE(s.text->autoFillBackground());
}

TEST(Look, FaceColourReplacesTheDesignBackgroundOfWindowFramesLabelsOptionsAndChecks) {
    Sample s;
    ApplyDesignBackground(&s.window);
    const QPalette textBefore = s.text->palette();
    const auto textRole = s.text->backgroundRole();
    const auto buttonRole = s.button->backgroundRole();
    ApplyFaceColor(&s.window);
    for (QWidget* w :
         std::initializer_list<QWidget*>{&s.window, s.frame, s.label, s.option, s.check}) {
        EXPECT_EQ(Background(w), Face()) << w->metaObject()->className();
        EXPECT_EQ(w->backgroundRole(), QPalette::Button);
    }
    // Text boxes and push buttons are left as they are.
    EXPECT_EQ(s.text->backgroundRole(), textRole);
    EXPECT_EQ(s.button->backgroundRole(), buttonRole);
    EXPECT_EQ(s.text->palette(), textBefore);
}

TEST(Look, SkinAbsentLeavesTheWindowAsItIs) {
    test::TempDir dir;
    Sample s;
    ApplyDesignBackground(&s.window);
    ApplySkin(&s.window, dir.Path());
    EXPECT_TRUE(s.window.styleSheet().isEmpty());
    EXPECT_EQ(Background(s.label), QColor(Qt::white));
}

TEST(Look, SkinFileIsAppliedAsStyleSheetWithTheFaceColour) {
    test::TempDir dir;
    const std::string sheet = "QPushButton { border: 2px solid #336699; }";
    dir.Write("x/o.cjs", sheet);
    Sample s;
    ApplyDesignBackground(&s.window);
    ApplySkin(&s.window, dir.Path());
    EXPECT_EQ(s.window.styleSheet().toStdString(), sheet);
    EXPECT_EQ(Background(s.label), Face());
    EXPECT_EQ(Background(s.frame), Face());
}

TEST(Look, SkinPathThatIsAFolderCountsAsAbsent) {
    test::TempDir dir;
    dir.Write("x/o.cjs/inside.txt", "x");
    Sample s;
    ApplyDesignBackground(&s.window);
    ApplySkin(&s.window, dir.Path());
    EXPECT_TRUE(s.window.styleSheet().isEmpty());
    EXPECT_EQ(Background(s.label), QColor(Qt::white));
}

TEST(Look, CursorFileIsReadWithItsHotSpot) {
    test::TempDir dir;
    const std::string path = dir.Write("HAND-M.CUR", test::CursorFileBytes(5, 7));
    const auto cursor = LoadCursorFile(path);
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor->hotSpot(), QPoint(5, 7));
    EXPECT_EQ(cursor->pixmap().size(), QSize(32, 32));
}

struct BadCursorCase {
    const char* name;
    std::string bytes;
};

class UnreadableCursor : public ::testing::TestWithParam<BadCursorCase> {};

TEST_P(UnreadableCursor, CountsAsAbsent) {
    test::TempDir dir;
    const std::string path = dir.Write("HAND-M.CUR", GetParam().bytes);
    EXPECT_FALSE(LoadCursorFile(path).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Look, UnreadableCursor,
    ::testing::Values(BadCursorCase{"Empty", ""},
                      BadCursorCase{"Text", "not a cursor at all, sorry"},
                      BadCursorCase{"Truncated", test::CursorFileBytes(1, 1).substr(0, 40)},
                      BadCursorCase{"IconNotCursor",
                                    [] {
                                        std::string f = test::CursorFileBytes(1, 1);
                                        f[2] = 1;
                                        return f;
                                    }()}),
    [](const ::testing::TestParamInfo<BadCursorCase>& p) { return std::string(p.param.name); });

TEST(Look, MissingCursorFileGivesNothing) {
    test::TempDir dir;
    EXPECT_FALSE(LoadCursorFile(dir.File("HAND-M.CUR")).has_value());
}

TEST(Look, ProgramFilesLieInTheProgramFolder) {
    EXPECT_EQ(ProgramFile("/opt/verrolift/bin", kPointerFile), "/opt/verrolift/bin/HAND-M.CUR");
    EXPECT_EQ(ProgramFile("/opt/verrolift/bin/", kSkinFile), "/opt/verrolift/bin/x/o.cjs");
}

}  // namespace
}  // namespace verrolift

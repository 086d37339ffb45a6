#include <string>

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/caption_progress.h"

namespace verrolift {
namespace {

class CaptionProgressTest : public ::testing::Test {
protected:
    CaptionProgressTest() { window.setWindowTitle(QStringLiteral("Verrolift")); }
    std::string Caption() const { return window.windowTitle().toStdString(); }
    QWidget window;
};

TEST_F(CaptionProgressTest, FirstFileShowsAtOnceLaterOnesWaitForTheInterval) {
    CaptionProgress progress(&window, 60 * 60 * 1000);
    {
        const CaptionProgress::Run run(progress);
        progress.FileStarted(1, 3);
        EXPECT_EQ(Caption(), "Verrolift - file 1 of 3, 0 rows");
        for (int i = 0; i < 5; ++i) progress.RowSent();
        progress.FileStarted(2, 3);
        QCoreApplication::processEvents();
        EXPECT_EQ(Caption(), "Verrolift - file 1 of 3, 0 rows");
    }
    EXPECT_EQ(Caption(), "Verrolift");
}

TEST_F(CaptionProgressTest, TheTimerShowsTheCountersWhileTheRunYields) {
    CaptionProgress progress(&window, 0);
    const CaptionProgress::Run run(progress);
    progress.FileStarted(1, 2);
    for (int i = 0; i < 1234; ++i) progress.RowSent();
    EXPECT_EQ(Caption(), "Verrolift - file 1 of 2, 0 rows");
    QCoreApplication::processEvents();
    EXPECT_EQ(Caption(), "Verrolift - file 1 of 2, 1,234 rows");
}

TEST_F(CaptionProgressTest, EachRunCountsFromZeroAndShowsNothingBeforeItsFirstFile) {
    CaptionProgress progress(&window, 0);
    {
        const CaptionProgress::Run run(progress);
        progress.FileStarted(1, 1);
        progress.RowSent();
        QCoreApplication::processEvents();
    }
    const CaptionProgress::Run run(progress);
    QCoreApplication::processEvents();
    EXPECT_EQ(Caption(), "Verrolift");
    progress.FileStarted(1, 1);
    EXPECT_EQ(Caption(), "Verrolift - file 1 of 1, 0 rows");
}

TEST_F(CaptionProgressTest, ARefusedSecondStartDoesNotPutTheTitleBackEarly) {
    CaptionProgress progress(&window, 0);
    {
        const CaptionProgress::Run run(progress);
        progress.FileStarted(1, 2);
        { const CaptionProgress::Run refused(progress); }
        EXPECT_EQ(Caption(), "Verrolift - file 1 of 2, 0 rows");
    }
    EXPECT_EQ(Caption(), "Verrolift");
}

}  // namespace
}  // namespace verrolift

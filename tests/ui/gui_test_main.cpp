#include <cstdlib>

#include <QApplication>

#include <gtest/gtest.h>

// The window tests need one QApplication for the whole process. Listing the
// tests happens without the test environment, so the offscreen platform is
// the default here too.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The main routine of widget tests: a QApplication on Qt's offscreen platform with one screen
// of 1920 x 1080 pixels, so that placement tests see the same geometry on every machine.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" WIDGET_TEST_SCREENS);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

// The main routine of widget tests: a QApplication on Qt's offscreen platform with one screen
// of 1920 x 1080 pixels, so that placement tests see the same geometry on every machine. A
// message box or dialog that a test does not expect fails that test instead of waiting for ever.
#include <gtest/gtest.h>

#include <QApplication>

#include "DialogScript.h"
#include "WinUtils.h"

namespace {

class AnswerUnexpectedBoxes : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { TestSupport::FailOnEveryDialog(); }
    void OnTestEnd(const ::testing::TestInfo&) override { WinUtils::SetMessageAnswerer({}); }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" WIDGET_TEST_SCREENS);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new AnswerUnexpectedBoxes);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

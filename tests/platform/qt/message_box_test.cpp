// MessageBoxA: a question that only its buttons answer, a notice, texts kept as given, and
// the program's timers ticking meanwhile.
#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

TEST(MessageBoxTest, QuestionIgnoresEscapeAndTheCloseBoxWhileTimersTick) {
    const char* text = "No HMD Tracker assigned \n See the Joystick configuration ";
    RecordingDialog panel(IDD_CONTROL_PANEL);
    panel.onInit = [&] { panel.SetTimer(1, 10); };
    int answer = 0;
    std::size_t ticksDuringBox = 0;
    RunModal(panel, [&](DialogWindow&) {
        WhenNestedLoopRuns([&] {
            QMessageBox* box = ShownMessageBox();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QString::fromUtf8(text));
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            const std::size_t before = panel.ticks.size();
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            QTest::qWait(120);
            ticksDuringBox = panel.ticks.size() - before;
            EXPECT_TRUE(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);  // Yes is the default
        });
        answer = MessageBoxA(nullptr, text, "Select HMD to configure", MB_YESNO);
    });
    EXPECT_EQ(answer, IDYES);
    EXPECT_GE(ticksDuringBox, 3u);
}

TEST(MessageBoxTest, NoticeIsDismissedByEscape) {
    WhenNestedLoopRuns([] { QTest::keyClick(ShownMessageBox(), Qt::Key_Escape); });
    EXPECT_EQ(MessageBoxA(nullptr, "Driver not loaded...", "Error", MB_OK), IDOK);
}

}  // namespace
}  // namespace zarven::qt::test

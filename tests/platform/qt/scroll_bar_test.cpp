// The sensitivity bars as the program sees them: the scroll codes of each user action, and a
// thumb that only the program moves, except while the user drags it.
#include "platform/qt/scroll_bar.h"

#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

constexpr int kBar = IDC_YAW_BAR;

// The panel with the yaw bar on 0..2047 and its thumb at `startPos`.
void StartBarAt(RecordingDialog& dialog, int startPos) {
    dialog.onInit = [&dialog, startPos] {
        dialog.SetScrollRange(kBar, 0, 2047);
        dialog.SetScrollPos(kBar, startPos);
    };
}

using Gesture = std::function<void(Win32ScrollBar&)>;

Gesture Click(QStyle::SubControl part) {
    return [part](Win32ScrollBar& bar) {
        QTest::mouseClick(&bar, Qt::LeftButton, {}, ScrollBarPartCentre(bar, part));
    };
}

Gesture Key(Qt::Key key) {
    return [key](Win32ScrollBar& bar) {
        bar.setFocus();
        QTest::keyClick(&bar, key);
    };
}

struct GestureCase {
    const char* name;
    int startPos;
    Gesture gesture;
    UINT code;
};

class ScrollGestureTest : public ::testing::TestWithParam<GestureCase> {};

TEST_P(ScrollGestureTest, GivesItsCodeThenEndOfScrollAndLeavesTheThumb) {
    const GestureCase& gesture = GetParam();
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    StartBarAt(dialog, gesture.startPos);
    RunModal(dialog, [&](DialogWindow& window) {
        auto& bar = *window.ControlAs<Win32ScrollBar>(kBar);
        gesture.gesture(bar);
        EXPECT_EQ(bar.sliderPosition(), gesture.startPos);
        EXPECT_EQ(dialog.GetScrollPos(kBar), gesture.startPos);
    });
    EXPECT_EQ(dialog.ScrollCodes(), (std::vector<UINT>{gesture.code, SB_ENDSCROLL}));
    for (const ScrollEvent& event : dialog.scrolls) {
        EXPECT_EQ(event.bar, kBar);
        EXPECT_EQ(event.pos, 0u);  // only the thumb codes carry a position
    }
}

INSTANTIATE_TEST_SUITE_P(
    UserActions, ScrollGestureTest,
    ::testing::Values(
        GestureCase{"DownArrow", 1000, Click(QStyle::SC_ScrollBarAddLine), SB_LINEDOWN},
        GestureCase{"UpArrowAtTheTop", 0, Click(QStyle::SC_ScrollBarSubLine), SB_LINEUP},
        GestureCase{"PageBelowTheThumb", 0, Click(QStyle::SC_ScrollBarAddPage), SB_PAGEDOWN},
        GestureCase{"PageAboveTheThumb", 2047, Click(QStyle::SC_ScrollBarSubPage), SB_PAGEUP},
        GestureCase{"UpKey", 1000, Key(Qt::Key_Up), SB_LINEUP},
        GestureCase{"HomeKey", 1000, Key(Qt::Key_Home), SB_TOP},
        GestureCase{"EndKey", 1000, Key(Qt::Key_End), SB_BOTTOM}),
    [](const auto& info) { return std::string(info.param.name); });

// While dragging, the thumb follows the pointer; after the release it stands where the program
// put it: back at the start when the program ignores the drag, at the release when it follows.
TEST(ScrollDragTest, TracksThePointerReleasesAndEnds) {
    for (const bool programFollows : {false, true}) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        StartBarAt(dialog, 0);
        dialog.followThumb = programFollows;
        int thumbAfterRelease = -1;
        RunModal(dialog, [&](DialogWindow& window) {
            auto& bar = *window.ControlAs<Win32ScrollBar>(kBar);
            const QPoint start = ScrollBarPartCentre(bar, QStyle::SC_ScrollBarSlider);
            QTest::mousePress(&bar, Qt::LeftButton, {}, start);
            for (int step = 1; step <= 3; ++step) {
                QTest::mouseMove(&bar, start + QPoint(0, 10 * step));
            }
            QTest::mouseRelease(&bar, Qt::LeftButton, {}, start + QPoint(0, 30));
            thumbAfterRelease = bar.sliderPosition();
        });
        const std::vector<ScrollEvent>& events = dialog.scrolls;
        ASSERT_EQ(dialog.ScrollCodes(),
                  (std::vector<UINT>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION,
                                     SB_ENDSCROLL}));
        EXPECT_LT(0, events[0].trackPos);
        EXPECT_LT(events[0].trackPos, events[1].trackPos);
        EXPECT_LT(events[1].trackPos, events[2].trackPos);
        EXPECT_EQ(events[3].trackPos, events[2].trackPos);  // released where the last step was
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(events[i].pos, static_cast<UINT>(events[i].trackPos)) << "event " << i;
        }
        EXPECT_EQ(thumbAfterRelease, programFollows ? events[3].trackPos : 0);
    }
}

// While the program handles a code it may run a nested event loop (a failing write shows an
// "Error" box): the arrow's auto-repeat raises no codes meanwhile, and the release's end of
// scroll comes after the code in hand.
TEST(ScrollBarTest, NoRepeatsWhileTheProgramShowsABox) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    StartBarAt(dialog, 1000);
    dialog.onScroll = [&](UINT code) {
        if (code != SB_LINEDOWN) {
            return;
        }
        WhenNestedLoopRuns([&] {
            auto& bar = *dialog.Window()->ControlAs<Win32ScrollBar>(kBar);
            bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);  // as the repeat timer does
            QTest::mouseRelease(&bar, Qt::LeftButton, {},
                                ScrollBarPartCentre(bar, QStyle::SC_ScrollBarAddLine));
            EXPECT_EQ(bar.sliderPosition(), 1000);
            ShownMessageBox()->button(QMessageBox::Ok)->click();
        });
        MessageBoxA(nullptr, "<MSJSTICK.DRV> Driver not loaded...", "Error", MB_OK);
    };
    RunModal(dialog, [&](DialogWindow& window) {
        auto& bar = *window.ControlAs<Win32ScrollBar>(kBar);
        QTest::mousePress(&bar, Qt::LeftButton, {},
                          ScrollBarPartCentre(bar, QStyle::SC_ScrollBarAddLine));
    });
    EXPECT_EQ(dialog.ScrollCodes(), (std::vector<UINT>{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST(ScrollBarTest, ProgramPositionsAreClampedToTheRange) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    StartBarAt(dialog, 0);
    RunModal(dialog, [&](DialogWindow& window) {
        EXPECT_EQ(dialog.SetScrollPos(kBar, -353), 0);
        EXPECT_EQ(dialog.SetScrollPos(kBar, 5000), 0);  // the previous, clamped position
        EXPECT_EQ(dialog.GetScrollPos(kBar), 2047);
        dialog.SetScrollRange(kBar, 0, 100);  // a narrower range pulls the thumb in
        EXPECT_EQ(window.ControlAs<Win32ScrollBar>(kBar)->sliderPosition(), 100);
        SCROLLINFO info{};
        ASSERT_TRUE(dialog.GetScrollInfo(kBar, &info, SIF_ALL));
        EXPECT_EQ(info.nMax, 100);
        EXPECT_EQ(info.nTrackPos, 100);
    });
}

}  // namespace
}  // namespace zarven::qt::test

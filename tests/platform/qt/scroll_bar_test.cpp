// The sensitivity bars as the program sees them: the scroll codes of each user action, and a
// thumb that only the program moves, except while the user drags it.
#include "platform/qt/scroll_bar.h"

#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <tuple>

namespace zarven::qt::test {
namespace {

constexpr int kBar = IDC_YAW_BAR;

// The yaw bar of a running panel, on 0..2047 with its thumb at `startPos`.
Win32ScrollBar& BarAt(RecordingDialog& dialog, DialogWindow& window, int startPos) {
    dialog.SetScrollRange(kBar, 0, 2047);
    dialog.SetScrollPos(kBar, startPos);
    return *window.ControlAs<Win32ScrollBar>(kBar);
}

// The centre of a part of the bar (arrow, page area, thumb), as the style lays it out.
QPoint PartCentre(const QScrollBar& bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

TEST(ScrollBarTest, EachClickGivesItsCodeThenEndOfScrollAndLeavesTheThumb) {
    // The start position and the part of the bar clicked (keys: keyboard_test.cpp).
    const std::tuple<int, QStyle::SubControl, UINT> cases[] = {
        {1000, QStyle::SC_ScrollBarAddLine, SB_LINEDOWN},
        {0, QStyle::SC_ScrollBarSubLine, SB_LINEUP},  // at the top
        {0, QStyle::SC_ScrollBarAddPage, SB_PAGEDOWN},
        {2047, QStyle::SC_ScrollBarSubPage, SB_PAGEUP}};
    for (const auto& [startPos, clicked, code] : cases) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        RunModal(dialog, [&](DialogWindow& window) {
            auto& bar = BarAt(dialog, window, startPos);
            QTest::mouseClick(&bar, Qt::LeftButton, {}, PartCentre(bar, clicked));
            EXPECT_EQ(bar.sliderPosition(), startPos);
        });
        // Only the thumb codes carry a position.
        EXPECT_EQ(dialog.scrolls, (std::vector<ScrollEvent>{{code, 0, kBar, startPos},
                                                            {SB_ENDSCROLL, 0, kBar, startPos}}));
    }
}

// While dragging, the thumb follows the pointer; after the release it stands where the program
// put it: back at the start when the program ignores the drag, at the release when it follows.
TEST(ScrollBarTest, DragTracksThePointerReleasesAndEnds) {
    for (const bool programFollows : {false, true}) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        dialog.followThumb = programFollows;
        int thumbAfterRelease = -1;
        RunModal(dialog, [&](DialogWindow& window) {
            auto& bar = BarAt(dialog, window, 0);
            const QPoint start = PartCentre(bar, QStyle::SC_ScrollBarSlider);
            QTest::mousePress(&bar, Qt::LeftButton, {}, start);
            for (int step = 1; step <= 3; ++step) {
                QTest::mouseMove(&bar, start + QPoint(0, 10 * step));
            }
            QTest::mouseRelease(&bar, Qt::LeftButton, {}, start + QPoint(0, 30));
            thumbAfterRelease = bar.sliderPosition();
        });
        ASSERT_EQ(dialog.scrolls.size(), 5u);
        const std::vector<ScrollEvent>& e = dialog.scrolls;
        const int t0 = e[0].trackPos, t1 = e[1].trackPos, t2 = e[2].trackPos;
        EXPECT_TRUE(0 < t0 && t0 < t1 && t1 < t2) << t0 << " " << t1 << " " << t2;
        const int end = programFollows ? t2 : 0;  // where the program leaves the thumb
        const auto u = [](int pos) { return static_cast<UINT>(pos); };
        EXPECT_EQ(e, (std::vector<ScrollEvent>{{SB_THUMBTRACK, u(t0), kBar, t0},
                                               {SB_THUMBTRACK, u(t1), kBar, t1},
                                               {SB_THUMBTRACK, u(t2), kBar, t2},
                                               {SB_THUMBPOSITION, u(t2), kBar, t2},
                                               {SB_ENDSCROLL, 0, kBar, end}}));
        EXPECT_EQ(thumbAfterRelease, end);
    }
}

// While the program handles a code it may show a box (a write whose driver is missing): the
// arrow's auto-repeat raises no codes meanwhile, or every repeat would open another box.
TEST(ScrollBarTest, NoRepeatsWhileTheProgramShowsABox) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    Win32ScrollBar* shown = nullptr;
    dialog.onScroll = [&shown](UINT code) {
        if (code != SB_LINEDOWN) {
            return;
        }
        QTimer::singleShot(0, [&shown] {  // inside the box's own event loop
            Win32ScrollBar& bar = *shown;
            bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);  // as the repeat timer does
            QTest::mouseRelease(&bar, Qt::LeftButton, {},
                                PartCentre(bar, QStyle::SC_ScrollBarAddLine));
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        MessageBoxA(nullptr, "<MSJSTICK.DRV> Driver not loaded...", "Error", MB_OK);
    };
    RunModal(dialog, [&](DialogWindow& window) {
        shown = &BarAt(dialog, window, 1000);
        QTest::mousePress(shown, Qt::LeftButton, {},
                          PartCentre(*shown, QStyle::SC_ScrollBarAddLine));
    });
    std::vector<UINT> codes;
    for (const ScrollEvent& event : dialog.scrolls) {
        codes.push_back(event.code);
    }
    EXPECT_EQ(codes, (std::vector<UINT>{SB_LINEDOWN, SB_ENDSCROLL}));
}

}  // namespace
}  // namespace zarven::qt::test

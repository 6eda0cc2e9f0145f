// Keys where tests/win32/keyboard_differential.sh cannot look, and the bars' scroll codes.
#include "panel/resource.h"
#include "platform/qt/dialog_keyboard.h"
#include "platform/qt/scroll_bar.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QStyleOptionSlider>
#include <QTimer>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

// Panel indexes: 0 OK, 7 roll bar, 8 "Yaw", 14 "Min", 21 "Axes Output"; groups form a ring.
TEST(GroupWalkTest, ArrowReachesTheNextControlOfItsGroupThatCanTakeTheFocus) {
    const auto panel = FindDialogTemplate(IDD_CONTROL_PANEL)->controls;
    for (const auto& [from, previous, to] :
         {std::tuple{0u, true, 21u}, {7u, false, 14u}, {8u, false, 8u}}) {
        EXPECT_EQ(NextGroupItem(panel, from, previous, [](std::size_t) { return true; }), to);
    }
    EXPECT_EQ(NextGroupItem(panel, 0, false, [](std::size_t) { return false; }), 0u);
}

// The differential cannot disable a control: from OK, Down reaches Cancel, then passes over Stereo.
TEST(KeyboardTest, ArrowsPassOverADisabledControl) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        window.Control(IDC_STEREO_MODE)->setEnabled(false);
        Press(Qt::Key_Down);
        Press(Qt::Key_Down);
        EXPECT_EQ(Focused(), window.Control(IDC_POWER_SAVER));
    });
}

// Template, arrow from the first tab stop onto a group box or icon (0: none), key. Return and
// Escape on a bar the differential covers.
TEST(KeyboardTest, KeysEndTheDialogFromAnyControl) {
    const std::tuple<UINT, int, Qt::Key, Qt::KeyboardModifiers, INT_PTR> cases[] = {
        {IDD_CONTROL_PANEL, 0, Qt::Key_F4, Qt::AltModifier, IDCANCEL},
        {IDD_CONTROL_PANEL, Qt::Key_Up, Qt::Key_Enter, kNone, IDOK},
        {IDD_ABOUTBOX, 0, Qt::Key_Escape, kNone, IDCANCEL},  // without a Cancel button
        {IDD_ABOUTBOX, Qt::Key_Down, Qt::Key_Return, kNone, IDOK}};
    for (const auto& [templateId, move, key, modifiers, result] : cases) {
        RecordingDialog dialog(templateId);
        const INT_PTR ended = RunModal(dialog, [&](DialogWindow&) {
            if (move != 0) {
                Press(static_cast<Qt::Key>(move));
                EXPECT_EQ(Focused()->focusPolicy(), Qt::NoFocus);
            }
            Press(key, modifiers);
        });
        EXPECT_EQ(ended, result) << templateId << " " << move << " " << key;
        EXPECT_TRUE(dialog.scrolls.empty());
    }
}

// A focused bar marks its thumb; each key sends one code, no end of scroll; the thumb stays.
TEST(KeyboardTest, FocusedBarMarksItsThumbAndSendsEachKeysCodeOnly) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        auto& bar = *window.ControlAs<Win32ScrollBar>(IDC_YAW_BAR);
        dialog.SetScrollRange(IDC_YAW_BAR, 0, 2047);
        dialog.SetScrollPos(IDC_YAW_BAR, 341);
        const QImage unfocused = bar.grab().toImage();
        window.Control(IDC_SET_ZERO)->setFocus();
        Press(Qt::Key_Down);
        ASSERT_EQ(Focused(), &bar);
        EXPECT_NE(bar.grab().toImage(), unfocused);
        for (const Qt::Key key :
             {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right, Qt::Key_PageUp,
              Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_Space}) {
            Press(key);
        }
        Press(Qt::Key_Down, Qt::AltModifier);
        Press(Qt::Key_Down, Qt::ControlModifier);
        EXPECT_EQ(bar.sliderPosition(), 341);
        EXPECT_EQ(Focused(), &bar);
        window.Control(IDOK)->setFocus();
        EXPECT_EQ(bar.grab().toImage(), unfocused);
    });
    EXPECT_EQ(dialog.Codes(),
              (std::vector<UINT>{SB_LINEUP, SB_LINEUP, SB_LINEDOWN, SB_LINEDOWN, SB_PAGEUP,
                                 SB_PAGEDOWN, SB_TOP, SB_BOTTOM, SB_LINEDOWN}));
}

// After Tab selected "179", an arrow moves the caret one character, Shift extending the selection.
TEST(KeyboardTest, ArrowInAValueBoxMovesTheCaretAsWin32Does) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> cases[] = {
        {Qt::Key_Up, kNone, "1779"},
        {Qt::Key_Down, kNone, "1797"},
        {Qt::Key_Up, Qt::KeypadModifier, "1779"},
        {Qt::Key_Up, Qt::ShiftModifier, "79"},
        {Qt::Key_Left, Qt::ControlModifier, "7179"}};
    for (const auto& [key, modifiers, textAfterTyping7] : cases) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        RunModal(dialog, [&](DialogWindow& window) {
            dialog.SetDlgItemText(IDC_YAW_VALUE, "179");
            window.Control(IDC_SET_ZERO)->setFocus();
            Press(Qt::Key_Tab);
            Press(key, modifiers);
            Press(Qt::Key_7);
            EXPECT_EQ(Focused(), window.Control(IDC_YAW_VALUE));
            EXPECT_EQ(dialog.GetDlgItemText(IDC_YAW_VALUE), textAfterTyping7) << key << modifiers;
        });
    }
}

constexpr int kBar = IDC_YAW_BAR;

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

// Only the thumb codes carry a position; a bar without a tab stop takes no focus.
TEST(ScrollBarTest, EachClickGivesItsCodeThenEndOfScrollAndLeavesTheThumb) {
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
            EXPECT_EQ(Focused(), window.Control(IDOK));
        });
        EXPECT_EQ(dialog.scrolls, (std::vector<ScrollEvent>{{code, 0, kBar, startPos},
                                                            {SB_ENDSCROLL, 0, kBar, startPos}}));
    }
}

// After the release the thumb stands where the program put it: at the start, or where it ends.
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
        const int end = programFollows ? t2 : 0;
        const auto u = [](int pos) { return static_cast<UINT>(pos); };
        EXPECT_EQ(e, (std::vector<ScrollEvent>{{SB_THUMBTRACK, u(t0), kBar, t0},
                                               {SB_THUMBTRACK, u(t1), kBar, t1},
                                               {SB_THUMBTRACK, u(t2), kBar, t2},
                                               {SB_THUMBPOSITION, u(t2), kBar, t2},
                                               {SB_ENDSCROLL, 0, kBar, end}}));
        EXPECT_EQ(thumbAfterRelease, end);
    }
}

// While the program shows a box, repeats raise no codes; a new key press waits its turn.
TEST(ScrollBarTest, NoRepeatsWhileTheProgramShowsABox) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    Win32ScrollBar* bar = nullptr;
    const auto key = [&bar](bool autoRepeat) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, {}, autoRepeat);
        QApplication::sendEvent(bar, &press);
    };
    dialog.onScroll = [&](UINT) {
        if (dialog.scrolls.size() != 1) {
            return;
        }
        QTimer::singleShot(0, [&] {  // inside the box's own event loop
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // as the repeat timer does
            EXPECT_EQ(bar->sliderPosition(), 1000);
            key(true);
            key(false);
            QTest::mouseRelease(bar, Qt::LeftButton, {},
                                PartCentre(*bar, QStyle::SC_ScrollBarAddLine));
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        MessageBoxA(dialog.GetSafeHwnd(), "<MSJSTICK.DRV> Driver not loaded...", "Error", MB_OK);
    };
    RunModal(dialog, [&](DialogWindow& window) {
        bar = &BarAt(dialog, window, 1000);
        QTest::mousePress(bar, Qt::LeftButton, {}, PartCentre(*bar, QStyle::SC_ScrollBarAddLine));
        key(true);
    });
    EXPECT_EQ(dialog.Codes(),
              (std::vector<UINT>{SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL, SB_LINEDOWN}));
}

TEST(ScrollBarTest, ThumbStaysInsideTheRange) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        const auto& bar = BarAt(dialog, window, 0);
        for (const auto& [asked, shown] : {std::pair{-353, 0}, {2048, 2047}, {1023, 1023}}) {
            dialog.SetScrollPos(kBar, asked);
            EXPECT_EQ(std::pair(dialog.GetScrollPos(kBar), bar.value()), std::pair(shown, shown));
        }
        dialog.SetScrollRange(kBar, 0, 1000);
        EXPECT_EQ(std::pair(dialog.GetScrollPos(kBar), bar.value()), std::pair(1000, 1000));
    });
}

}  // namespace
}  // namespace zarven::qt::test

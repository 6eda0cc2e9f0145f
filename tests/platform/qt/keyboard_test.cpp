// The dialog manager's keyboard as the Qt backend gives it: arrow keys around a group (a ring,
// so controls before the first group start close the last group), bars that take the arrows
// and the page keys, and no focus for a bar on a click. The same sequences run against the
// Windows build under Wine in tests/win32/keyboard_differential.sh.
#include "panel/resource.h"
#include "platform/qt/dialog_keyboard.h"
#include "platform/qt/scroll_bar.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zarven::qt::test {
namespace {

std::size_t IndexOf(const DialogTemplate& dialogTemplate, int id, ControlKind kind) {
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        if (dialogTemplate.controls[i].id == id && dialogTemplate.controls[i].kind == kind) {
            return i;
        }
    }
    ADD_FAILURE() << "no control " << id;
    return 0;
}

struct GroupWalk {
    const char* name;
    UINT templateId;
    int fromId;
    ControlKind fromKind;
    bool previous;
    int toId;  // IDC_STATIC: the template's "Axes Output" group box, or the about box's icon
    ControlKind toKind;
};

class GroupWalkTest : public ::testing::TestWithParam<GroupWalk> {};

TEST_P(GroupWalkTest, ArrowReachesTheNextControlOfTheGroup) {
    const GroupWalk& walk = GetParam();
    const DialogTemplate& dialogTemplate = *FindDialogTemplate(walk.templateId);
    const auto all = [](std::size_t) { return true; };
    EXPECT_EQ(
        NextGroupItem(dialogTemplate.controls, IndexOf(dialogTemplate, walk.fromId, walk.fromKind),
                      walk.previous, all),
        IndexOf(dialogTemplate, walk.toId, walk.toKind));
}

constexpr auto kButton = ControlKind::PushButton;
constexpr auto kCheck = ControlKind::CheckBox;
constexpr auto kBar = ControlKind::ScrollBar;
constexpr auto kLabel = ControlKind::Label;
constexpr auto kGroup = ControlKind::GroupBox;

INSTANTIATE_TEST_SUITE_P(
    Templates, GroupWalkTest,
    ::testing::Values(
        GroupWalk{"OkDownIsCancel", IDD_CONTROL_PANEL, IDOK, kButton, false, IDCANCEL, kButton},
        GroupWalk{"CancelUpIsOk", IDD_CONTROL_PANEL, IDCANCEL, kButton, true, IDOK, kButton},
        GroupWalk{"SetZeroDownIsYawBar", IDD_CONTROL_PANEL, IDC_SET_ZERO, kButton, false,
                  IDC_YAW_BAR, kBar},
        GroupWalk{"StereoUpIsCancel", IDD_CONTROL_PANEL, IDC_STEREO_MODE, kCheck, true, IDCANCEL,
                  kButton},
        // OK has no group start: the last group (from "Min" on) runs on through the bars.
        GroupWalk{"OkUpIsAxesOutputBox", IDD_CONTROL_PANEL, IDOK, kButton, true, IDC_STATIC,
                  kGroup},
        GroupWalk{"RollBarDownIsMinLabel", IDD_CONTROL_PANEL, IDC_ROLL_BAR, kBar, false,
                  IDC_MIN_LABEL, kLabel},
        GroupWalk{"YawLabelStaysAlone", IDD_CONTROL_PANEL, IDC_YAW_LABEL, kLabel, false,
                  IDC_YAW_LABEL, kLabel},
        GroupWalk{"AboutOkDownIsIcon", IDD_ABOUTBOX, IDOK, kButton, false, IDC_STATIC,
                  ControlKind::Icon},
        GroupWalk{"AboutIconUpIsOk", IDD_ABOUTBOX, IDC_STATIC, ControlKind::Icon, true, IDOK,
                  kButton}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupWalkTest, SkipsControlsThatCannotTakeTheFocusAndStaysWhenNoneCan) {
    const DialogTemplate& panel = *FindDialogTemplate(IDD_CONTROL_PANEL);
    const std::size_t ok = IndexOf(panel, IDOK, kButton);
    const std::size_t cancel = IndexOf(panel, IDCANCEL, kButton);
    const auto notCancel = [cancel](std::size_t index) { return index != cancel; };
    EXPECT_EQ(NextGroupItem(panel.controls, ok, false, notCancel),
              IndexOf(panel, IDC_STEREO_MODE, kCheck));
    EXPECT_EQ(NextGroupItem(panel.controls, ok, false, [](std::size_t) { return false; }), ok);
    // Without any group start the whole dialog is one ring.
    const DialogControl ungrouped[] = {{1, kButton, "A", 0, 0, 1, 1, ControlStyle::kNone},
                                       {2, kButton, "B", 0, 0, 1, 1, ControlStyle::kNone}};
    EXPECT_EQ(NextGroupItem(ungrouped, 1, false, [](std::size_t) { return true; }), 0u);
}

QWidget* Focused() {
    return QApplication::focusWidget();
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Focused(), key, modifiers);
}

TEST(KeyboardTest, ArrowsWalkTheFirstGroupAndAFocusedBarTakesThem) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetScrollRange(IDC_YAW_BAR, 0, 2047);
        EXPECT_EQ(Focused(), window.Control(IDOK));
        for (const auto& [key, modifiers, id] :
             {std::tuple{Qt::Key_Down, Qt::NoModifier, IDCANCEL},
              {Qt::Key_Right, Qt::NoModifier, IDC_STEREO_MODE},
              {Qt::Key_Left, Qt::NoModifier, IDCANCEL},
              {Qt::Key_Down, Qt::NoModifier, IDC_STEREO_MODE},
              {Qt::Key_Down, Qt::NoModifier, IDC_POWER_SAVER},
              {Qt::Key_Down, Qt::NoModifier, IDC_SET_ZERO},
              {Qt::Key_Down, Qt::NoModifier, IDC_YAW_BAR},
              {Qt::Key_Down, Qt::NoModifier, IDC_YAW_BAR},  // line down
              {Qt::Key_Left, Qt::NoModifier, IDC_YAW_BAR},  // line up
              {Qt::Key_Tab, Qt::NoModifier, IDC_YAW_VALUE},
              {Qt::Key_Up, Qt::NoModifier, IDC_YAW_VALUE},     // the caret's
              {Qt::Key_Tab, Qt::ShiftModifier, IDC_SET_ZERO},  // the bar has no tab stop
              {Qt::Key_Down, Qt::NoModifier, IDC_YAW_BAR},
              {Qt::Key_Tab, Qt::ShiftModifier, IDC_SET_ZERO}}) {
            Press(key, modifiers);
            EXPECT_EQ(Focused(), window.Control(id)) << "expected control " << id;
        }
    });
    EXPECT_EQ(dialog.scrolls, (std::vector<ScrollEvent>{{SB_LINEDOWN, 0, IDC_YAW_BAR, 0},
                                                        {SB_LINEUP, 0, IDC_YAW_BAR, 0}}));
}

struct BarKey {
    const char* name;
    Qt::Key key;
    std::vector<UINT> codes;
};

class BarKeyTest : public ::testing::TestWithParam<BarKey> {};

// Each key sends its one code when pressed; nothing closes it with an end of scroll.
TEST_P(BarKeyTest, FocusedBarSendsTheKeysCodeOnly) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetScrollRange(IDC_PITCH_BAR, 0, 2047);
        dialog.SetScrollPos(IDC_PITCH_BAR, 341);
        window.Control(IDC_PITCH_BAR)->setFocus();
        Press(GetParam().key);
        EXPECT_EQ(Focused(), window.Control(IDC_PITCH_BAR));
        EXPECT_EQ(window.ControlAs<Win32ScrollBar>(IDC_PITCH_BAR)->sliderPosition(), 341);
    });
    std::vector<UINT> codes;
    for (const ScrollEvent& event : dialog.scrolls) {
        EXPECT_EQ(event.bar, IDC_PITCH_BAR);
        codes.push_back(event.code);
    }
    EXPECT_EQ(codes, GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Keys, BarKeyTest,
                         ::testing::Values(BarKey{"Up", Qt::Key_Up, {SB_LINEUP}},
                                           BarKey{"Left", Qt::Key_Left, {SB_LINEUP}},
                                           BarKey{"Down", Qt::Key_Down, {SB_LINEDOWN}},
                                           BarKey{"Right", Qt::Key_Right, {SB_LINEDOWN}},
                                           BarKey{"PageUp", Qt::Key_PageUp, {SB_PAGEUP}},
                                           BarKey{"PageDown", Qt::Key_PageDown, {SB_PAGEDOWN}},
                                           BarKey{"Home", Qt::Key_Home, {SB_TOP}},
                                           BarKey{"End", Qt::Key_End, {SB_BOTTOM}},
                                           BarKey{"Space", Qt::Key_Space, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EndingKey {
    const char* name;
    UINT templateId;
    Qt::Key moveWith;  // pressed first, from the first tab stop
    int focusId;       // the control that has the focus then; IDC_STATIC: a label, box or icon
    Qt::Key endWith;
    INT_PTR result;
};

class EndingKeyTest : public ::testing::TestWithParam<EndingKey> {};

TEST_P(EndingKeyTest, ReturnAndEscapeReachTheDialogFromAnyControl) {
    const EndingKey& step = GetParam();
    RecordingDialog dialog(step.templateId);
    const INT_PTR result = RunModal(dialog, [&](DialogWindow& window) {
        Press(step.moveWith);
        if (step.focusId == IDC_STATIC) {
            EXPECT_EQ(Focused()->focusPolicy(), Qt::NoFocus) << "a label, group box or icon";
        } else {
            EXPECT_EQ(Focused(), window.Control(step.focusId));
        }
        Press(step.endWith);
    });
    EXPECT_EQ(result, step.result);
    EXPECT_TRUE(dialog.scrolls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EndingKeyTest,
    ::testing::Values(EndingKey{"ReturnOnTheAxesOutputBox", IDD_CONTROL_PANEL, Qt::Key_Up,
                                IDC_STATIC, Qt::Key_Return, IDOK},
                      EndingKey{"ReturnOnCancel", IDD_CONTROL_PANEL, Qt::Key_Down, IDCANCEL,
                                Qt::Key_Return, IDCANCEL},
                      EndingKey{"ReturnOnTheAboutIcon", IDD_ABOUTBOX, Qt::Key_Down, IDC_STATIC,
                                Qt::Key_Return, IDOK},
                      EndingKey{"EscapeOnTheAboutIcon", IDD_ABOUTBOX, Qt::Key_Right, IDC_STATIC,
                                Qt::Key_Escape, IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardTest, ReturnAndEscapeOnAFocusedBarEndTheDialog) {
    for (const auto& [key, result] :
         {std::pair{Qt::Key_Return, IDOK}, {Qt::Key_Escape, IDCANCEL}}) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        EXPECT_EQ(RunModal(dialog,
                           [&](DialogWindow& window) {
                               window.Control(IDC_ROLL_BAR)->setFocus();
                               Press(key);
                           }),
                  result);
        EXPECT_TRUE(dialog.scrolls.empty());
    }
}

TEST(KeyboardTest, AClickOnABarLeavesTheFocusWhereItWas) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        auto& bar = *window.ControlAs<Win32ScrollBar>(IDC_YAW_BAR);
        dialog.SetScrollRange(IDC_YAW_BAR, 0, 2047);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() - 2));
        EXPECT_EQ(Focused(), window.Control(IDOK));
    });
    ASSERT_FALSE(dialog.scrolls.empty());
    EXPECT_EQ(dialog.scrolls.front().code, SB_LINEDOWN);
}

struct EditKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* textAfterTyping7;
};

class EditKeyTest : public ::testing::TestWithParam<EditKey> {};

// Tab selects the whole text with the caret at its end; an arrow moves the caret from there.
TEST_P(EditKeyTest, ArrowInAValueBoxMovesTheCaretAsWin32Does) {
    const EditKey& step = GetParam();
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetDlgItemText(IDC_YAW_VALUE, "179");
        window.Control(IDC_SET_ZERO)->setFocus();
        Press(Qt::Key_Tab);
        Press(step.key, step.modifiers);
        Press(Qt::Key_7);
        EXPECT_EQ(Focused(), window.Control(IDC_YAW_VALUE));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_YAW_VALUE), step.textAfterTyping7);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeyTest,
    ::testing::Values(EditKey{"UpAsLeft", Qt::Key_Up, Qt::NoModifier, "1779"},
                      EditKey{"Left", Qt::Key_Left, Qt::NoModifier, "1779"},
                      EditKey{"DownAsRight", Qt::Key_Down, Qt::NoModifier, "1797"},
                      EditKey{"ShiftUpShrinksTheSelection", Qt::Key_Up, Qt::ShiftModifier, "79"},
                      EditKey{"Home", Qt::Key_Home, Qt::NoModifier, "7179"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardTest, AFocusedBarMarksItsThumb) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetScrollRange(IDC_YAW_BAR, 0, 2047);
        dialog.SetScrollPos(IDC_YAW_BAR, 1023);
        QWidget& bar = *window.Control(IDC_YAW_BAR);
        const QImage unfocused = bar.grab().toImage();
        window.Control(IDC_SET_ZERO)->setFocus();
        Press(Qt::Key_Down);  // styles mark the focus once the keyboard has moved it
        ASSERT_EQ(Focused(), &bar);
        EXPECT_NE(bar.grab().toImage(), unfocused);
        window.Control(IDOK)->setFocus();
        EXPECT_EQ(bar.grab().toImage(), unfocused);
    });
}

}  // namespace
}  // namespace zarven::qt::test

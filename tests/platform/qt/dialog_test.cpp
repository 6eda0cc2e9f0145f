// Running dialogs from the real templates: how each way of closing ends DoModal, the tab
// order, check boxes, the system menu, the about box over the panel, and timers.
#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

void PressKey(DialogWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window.focusWidget() != nullptr ? window.focusWidget() : &window, key,
                    modifiers);
}

// Opens the system menu with `open` and picks the item at `index`; returns the items' texts.
QStringList ChooseFromSystemMenu(const std::function<void()>& open, int index) {
    QStringList texts;
    WhenNestedLoopRuns([&texts, index] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        menu->setActiveAction(menu->actions().at(index));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    open();
    return texts;
}

void RightClick(DialogWindow& window) {
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window.mapToGlobal(at));
    QApplication::sendEvent(&window, &event);
}

struct EndCase {
    const char* name;
    UINT templateId;
    std::function<void(DialogWindow&)> gesture;
    INT_PTR result;
    std::vector<UINT> sysCommands = {};
};

class DialogEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEndTest, EndsDoModalWithTheWin32Result) {
    RecordingDialog dialog(GetParam().templateId);
    EXPECT_EQ(RunModal(dialog, GetParam().gesture), GetParam().result);
    EXPECT_EQ(dialog.sysCommands, GetParam().sysCommands);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // the window is gone
}

using Gesture = std::function<void(DialogWindow&)>;

Gesture Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return [=](DialogWindow& window) { PressKey(window, key, modifiers); };
}

Gesture PressIn(int controlId, Qt::Key key) {
    return [=](DialogWindow& window) {
        window.Control(controlId)->setFocus();
        PressKey(window, key);
    };
}

const Gesture kCloseBox = [](DialogWindow& window) { window.close(); };
const Gesture kSystemMenuClose = [](DialogWindow& window) {
    ChooseFromSystemMenu([&window] { RightClick(window); }, 0);
};

INSTANTIATE_TEST_SUITE_P(
    Gestures, DialogEndTest,
    ::testing::Values(
        EndCase{"Enter", IDD_CONTROL_PANEL, Press(Qt::Key_Return), IDOK},
        EndCase{"EnterInAnEditBox", IDD_CONTROL_PANEL, PressIn(IDC_AXIS_X_OUT, Qt::Key_Enter),
                IDOK},
        EndCase{"Escape", IDD_CONTROL_PANEL, Press(Qt::Key_Escape), IDCANCEL},
        EndCase{"EscapeWithoutCancelButton", IDD_ABOUTBOX, Press(Qt::Key_Escape), IDCANCEL},
        EndCase{"CloseBox", IDD_CONTROL_PANEL, kCloseBox, IDCANCEL, {SC_CLOSE}},
        EndCase{
            "AltF4", IDD_CONTROL_PANEL, Press(Qt::Key_F4, Qt::AltModifier), IDCANCEL, {SC_CLOSE}},
        EndCase{"SystemMenuClose", IDD_CONTROL_PANEL, kSystemMenuClose, IDCANCEL, {SC_CLOSE}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogTest, TabVisitsTheTabStopsInTemplateOrder) {
    const std::vector<int> expected{
        IDOK,           IDCANCEL,       IDC_STEREO_MODE, IDC_POWER_SAVER,
        IDC_SET_ZERO,   IDC_YAW_VALUE,  IDC_PITCH_VALUE, IDC_ROLL_VALUE,
        IDC_AXIS_X_OUT, IDC_AXIS_Y_OUT, IDC_AXIS_Z_OUT,  IDOK};
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    std::vector<int> visited;
    RunModal(dialog, [&](DialogWindow& window) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (i > 0) {
                PressKey(window, Qt::Key_Tab);
            }
            const auto id = std::find_if(expected.begin(), expected.end(), [&](int id) {
                return window.Control(id) == window.focusWidget();
            });
            visited.push_back(id != expected.end() ? *id : 0);
        }
    });
    EXPECT_EQ(visited, expected);
}

TEST(DialogTest, ClicksAndTypingAreReportedByControlId) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    UINT stateAtClick = BST_UNCHECKED;
    dialog.onClicked = [&](int) { stateAtClick = dialog.IsDlgButtonChecked(IDC_STEREO_MODE); };
    RunModal(dialog, [&](DialogWindow& window) {
        QTest::mouseClick(window.Control(IDC_STEREO_MODE), Qt::LeftButton);
        dialog.CheckDlgButton(IDC_STEREO_MODE, BST_UNCHECKED);  // the program's change: no click
        QTest::keyClicks(window.Control(IDC_YAW_VALUE), "42");
    });
    EXPECT_EQ(stateAtClick, BST_CHECKED);  // the box toggled itself before reporting
    EXPECT_EQ(dialog.clicks, (std::vector<int>{IDC_STEREO_MODE}));
    EXPECT_EQ(dialog.editChanges, (std::vector<int>{IDC_YAW_VALUE, IDC_YAW_VALUE}));
}

TEST(DialogTest, SystemMenuOffersCloseThenTheAppendedItems) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    dialog.onInit = [&] {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(menu->AppendMenu(MF_STRING, IDM_ABOUT, AfxLoadString(IDS_ABOUT_MENU).c_str()));
    };
    QStringList texts;
    RunModal(dialog, [&](DialogWindow& window) {
        texts = ChooseFromSystemMenu([&] { PressKey(window, Qt::Key_Space, Qt::AltModifier); }, 2);
    });
    EXPECT_EQ(texts, (QStringList{"&Close\tAlt+F4", "-", "&About ZARVEN Controls..."}));
    EXPECT_EQ(dialog.sysCommands, (std::vector<UINT>{IDM_ABOUT}));
}

TEST(DialogTest, AboutBoxBlocksThePanelWhoseTimerKeepsTicking) {
    RecordingDialog panel(IDD_CONTROL_PANEL);
    RecordingDialog about(IDD_ABOUTBOX, &panel);
    panel.onInit = [&] { panel.SetTimer(7, 10); };
    std::size_t ticksDuringAbout = 0;
    RunModal(panel, [&](DialogWindow& panelWindow) {
        RunModal(about, [&](DialogWindow& aboutWindow) {
            EXPECT_EQ(QGuiApplication::modalWindow(), aboutWindow.windowHandle());
            const QPoint offset = aboutWindow.geometry().center() - panelWindow.geometry().center();
            EXPECT_LE(offset.manhattanLength(), 2);  // centred over the panel
            // A click on the panel's OK through the window system does not get through.
            QTest::mouseClick(panelWindow.windowHandle(), Qt::LeftButton, {},
                              panelWindow.Control(IDOK)->geometry().center());
            EXPECT_TRUE(panelWindow.isVisible());
            const std::size_t before = panel.ticks.size();
            QTest::qWait(120);
            ticksDuringAbout = panel.ticks.size() - before;
        });
        EXPECT_TRUE(QTest::qWaitForWindowActive(&panelWindow));
        EXPECT_EQ(GetFocus(), panel.GetSafeHwnd());
    });
    EXPECT_GE(ticksDuringAbout, 3u);
}

TEST(DialogTest, TimersAreReplacedByIdAndDieWithTheDialog) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow&) {
        EXPECT_FALSE(dialog.KillTimer(3));  // harmless
        EXPECT_EQ(dialog.SetTimer(3, 10), 3u);
        dialog.SetTimer(3, 60000);  // replaces the fast one
        dialog.SetTimer(4, 10);
        QTest::qWait(80);
        EXPECT_EQ(std::count(dialog.ticks.begin(), dialog.ticks.end(), 3u), 0);
        EXPECT_TRUE(dialog.KillTimer(3));
    });
    const std::size_t ticksAtEnd = dialog.ticks.size();
    EXPECT_GE(ticksAtEnd, 3u);
    QTest::qWait(50);
    EXPECT_EQ(dialog.ticks.size(), ticksAtEnd);
    EXPECT_EQ(dialog.SetTimer(4, 10), 0u);  // no window, no timer
}

}  // namespace
}  // namespace zarven::qt::test

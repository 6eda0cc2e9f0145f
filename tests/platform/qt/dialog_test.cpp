// Dialogs from the real templates: how each way of closing ends DoModal, the tab order, every
// control on its dialog-unit rectangle, and a Yes/No box over a panel whose timer ticks on.
#include "panel/resource.h"
#include "platform/qt/dialog_units.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <tuple>

namespace zarven::qt::test {
namespace {

// Presses `key` in the control `focusId`, or else in the control that has the focus.
void PressKey(DialogWindow& window, Qt::Key key, int focusId = 0) {
    if (focusId != 0) {
        window.Control(focusId)->setFocus();
    }
    QTest::keyClick(window.focusWidget() != nullptr ? window.focusWidget() : &window, key);
}

TEST(DialogTest, EnterEndsWithOkAndEscapeOrCloseWithCancel) {
    const std::tuple<UINT, Qt::Key, int, INT_PTR> cases[] = {
        {IDD_CONTROL_PANEL, Qt::Key_Return, 0, IDOK},
        {IDD_CONTROL_PANEL, Qt::Key_Enter, IDC_AXIS_X_OUT, IDOK},
        {IDD_CONTROL_PANEL, Qt::Key_Escape, 0, IDCANCEL},
        {IDD_ABOUTBOX, Qt::Key_Escape, 0, IDCANCEL}};  // the about box has no Cancel button
    for (const auto& [templateId, key, focusId, result] : cases) {
        RecordingDialog dialog(templateId);
        const auto press = [&](DialogWindow& window) { PressKey(window, key, focusId); };
        EXPECT_EQ(RunModal(dialog, press), result) << templateId << " key " << key;
    }
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    EXPECT_EQ(RunModal(dialog, [](DialogWindow& window) { window.close(); }), IDCANCEL);
}

TEST(DialogTest, TabVisitsTheTabStopsInTemplateOrder) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        for (const int id : {IDOK, IDCANCEL, IDC_STEREO_MODE, IDC_POWER_SAVER, IDC_SET_ZERO,
                             IDC_YAW_VALUE, IDC_PITCH_VALUE, IDC_ROLL_VALUE, IDC_AXIS_X_OUT,
                             IDC_AXIS_Y_OUT, IDC_AXIS_Z_OUT, IDOK}) {
            EXPECT_EQ(window.focusWidget(), window.Control(id)) << "expected control " << id;
            PressKey(window, Qt::Key_Tab);
        }
    });
}

TEST(DialogTest, EveryControlSitsOnItsDialogUnitRectangle) {
    for (const UINT templateId : {IDD_CONTROL_PANEL, IDD_ABOUTBOX}) {
        const DialogTemplate& dialogTemplate = *FindDialogTemplate(templateId);
        RecordingDialog dialog(templateId);
        RunModal(dialog, [&](DialogWindow& window) {
            // The stand-in for the classic dialog font keeps its 6 x 13 base units.
            EXPECT_EQ(window.BaseUnits(), (DialogBaseUnits{6, 13}));
            ASSERT_EQ(window.Controls().size(), dialogTemplate.controls.size());
            for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
                const DialogControl& control = dialogTemplate.controls[i];
                EXPECT_EQ(window.Controls()[i]->geometry(),
                          ControlRectInPixels(window.BaseUnits(), control))
                    << templateId << " " << control.text;
            }
        });
    }
    // 153 x 6 / 4 = 229.5 and 127 x 13 / 8 = 206.4 round to the nearest pixel.
    EXPECT_EQ(DialogUnitsToPixels({6, 13}, 153, 127, 50, 16), QRect(230, 206, 75, 26));
}

TEST(MessageBoxTest, YesNoBoxIgnoresEscapeAndTheCloseBoxWhileTimersTick) {
    const char* text = "No HMD Tracker assigned \n See the Joystick configuration ";
    RecordingDialog panel(IDD_CONTROL_PANEL);
    std::size_t ticksDuringBox = 0;
    RunModal(panel, [&](DialogWindow&) {
        panel.SetTimer(1, 10);
        QTimer::singleShot(0, qApp, [&] {  // runs inside the box's event loop
            QMessageBox* box = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                box = box != nullptr ? box : qobject_cast<QMessageBox*>(widget);
            }
            ASSERT_NE(box, nullptr);
            const std::size_t before = panel.ticks.size();
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            QTest::qWait(120);
            ticksDuringBox = panel.ticks.size() - before;
            EXPECT_TRUE(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);  // Yes is the default
        });
        EXPECT_EQ(MessageBoxA(nullptr, text, "Select HMD to configure", MB_YESNO), IDYES);
    });
    EXPECT_GE(ticksDuringBox, 3u);
}

}  // namespace
}  // namespace zarven::qt::test

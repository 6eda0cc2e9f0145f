// What assistive technology hears, read through QAccessible as a screen reader reads it.
#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QAccessible>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>
#include <string>

namespace zarven::qt::test {
namespace {

QString Text(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(kind) : QString();
}

TEST(AccessibilityTest, EveryControlOfBothDialogsHasAName) {
    for (const UINT templateId : {IDD_CONTROL_PANEL, IDD_ABOUTBOX}) {
        RecordingDialog dialog(templateId);
        RunModal(dialog, [&](DialogWindow& window) {
            for (QWidget* control : window.Controls()) {
                EXPECT_FALSE(Text(control, QAccessible::Name).isEmpty())
                    << templateId << " " << control->metaObject()->className();
            }
        });
    }
}

struct Announced {
    const char* name;
    int id;
    QAccessible::Role role;
    const char* accessibleName;
    bool described;
};

class AnnouncedTest : public ::testing::TestWithParam<Announced> {};

TEST_P(AnnouncedTest, ControlIsAnnouncedByNameAndRole) {
    const Announced& expected = GetParam();
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetDlgItemText(IDC_YAW_VALUE, "179");  // a box's text is its value, not its name
        QWidget* control = window.Control(expected.id);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), expected.role);
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), expected.accessibleName);
        EXPECT_EQ(!accessible->text(QAccessible::Description).isEmpty(), expected.described);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Panel, AnnouncedTest,
    ::testing::Values(
        Announced{"YawBar", IDC_YAW_BAR, QAccessible::ScrollBar, "Yaw sensitivity", true},
        Announced{"RollBar", IDC_ROLL_BAR, QAccessible::ScrollBar, "Roll sensitivity", true},
        Announced{"YawValue", IDC_YAW_VALUE, QAccessible::EditableText, "Yaw sensitivity, degrees",
                  true},
        Announced{"YawReadout", IDC_AXIS_X_OUT, QAccessible::EditableText, "Yaw, degrees", true},
        Announced{"RollReadout", IDC_AXIS_Z_OUT, QAccessible::EditableText, "Roll, degrees", true},
        Announced{"SetZero", IDC_SET_ZERO, QAccessible::Button, "Set Zero", true},
        Announced{"StereoMode", IDC_STEREO_MODE, QAccessible::CheckBox, "Enable Stereo Mode", true},
        Announced{"Ok", IDOK, QAccessible::Button, "OK", false},
        Announced{"SensitivityGroup", IDC_SENSITIVITY_GROUP, QAccessible::Grouping,
                  "Headset Sensitivity", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AccessibilityTest, NamesChangeNothingDrawn) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        const QImage named = window.grab().toImage();
        for (QWidget* control : window.Controls()) {
            control->setAccessibleName({});
            control->setAccessibleDescription({});
        }
        EXPECT_EQ(window.grab().toImage(), named);
    });
}

}  // namespace
}  // namespace zarven::qt::test

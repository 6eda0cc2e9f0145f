// Dialog units to pixels: the arithmetic, the stand-in font, and every control of the real
// templates placed where its dialog-unit rectangle says.
#include "panel/resource.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/icons.h"
#include "tests/platform/qt/qt_test_support.h"

#include <climits>
#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

TEST(MulDivTest, RoundsHalfAwayFromZeroAndFailsAsWin32) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {153, 6, 4, 230},                      // 229.5 rounds up
        {-3, 1, 2, -2},                        // -1.5 rounds away from zero
        {3, 1, -2, -2},                        // a negative divisor too
        {7, 1, 0, -1},                         // division by zero
        {INT_MAX, 4, 2, -1},                   // too large for an int
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the 64-bit product does not overflow
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
    }
}

TEST(DialogLayoutTest, EveryControlSitsOnItsDialogUnitRectangle) {
    for (const UINT templateId : {IDD_CONTROL_PANEL, IDD_ABOUTBOX}) {
        const DialogTemplate& dialogTemplate = *FindDialogTemplate(templateId);
        RecordingDialog dialog(templateId);
        RunModal(dialog, [&](DialogWindow& window) {
            const DialogBaseUnits units = window.BaseUnits();
            EXPECT_EQ(units, BaseUnitsOf(window.font()));
            EXPECT_EQ(
                window.size(),
                DialogUnitsToPixels(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size());
            ASSERT_EQ(window.Controls().size(), dialogTemplate.controls.size());
            for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
                const DialogControl& control = dialogTemplate.controls[i];
                EXPECT_EQ(window.Controls()[i]->geometry(), ControlRectInPixels(units, control))
                    << "template " << templateId << ", control " << i << " (" << control.text
                    << ")";
                EXPECT_TRUE(window.Controls()[i]->isVisible());
            }
        });
    }
}

TEST(DialogLayoutTest, PanelInPixelsWithTheClassicBaseUnits) {
    // The stand-in for the classic dialog font has its 6 × 13 base units: x × 6 / 4 and
    // y × 13 / 8, rounded.
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        ASSERT_EQ(window.BaseUnits(), (DialogBaseUnits{6, 13}));
        EXPECT_EQ(window.size(), QSize(315, 284));
        EXPECT_EQ(window.Control(IDOK)->geometry(), QRect(230, 206, 75, 26));
        EXPECT_EQ(window.Control(IDC_YAW_BAR)->geometry(), QRect(206, 44, 15, 112));
        EXPECT_EQ(window.Control(IDC_YAW_VALUE)->geometry(), QRect(197, 163, 29, 21));
    });
}

TEST(IconTest, PanelIconComesInEverySizeFromTheLibraryItself) {
    const QList<QSize> sizes = IconOfHandle(LoadIconResource(IDI_PANEL)).availableSizes();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
    EXPECT_EQ(LoadIconResource(1), nullptr);
}

}  // namespace
}  // namespace zarven::qt::test

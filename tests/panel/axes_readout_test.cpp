// The "Axes Output" group: raw axis values in whole degrees, read at start-up and on each tick.
#include "panel/AxesReadout.h"
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tests/support/fake_input_devices.h"

#include <gmock/gmock.h>

namespace {

constexpr int kBoxes[] = {IDC_AXIS_X_OUT, IDC_AXIS_Y_OUT, IDC_AXIS_Z_OUT};

// A real tracker whose axes the test sets; joydev raw - 32767 reads back as raw for these values.
class Readout : public PanelTest {
protected:
    void SetUp() override {
        FakeDevice tracker = MakeFakeDevice(0, "HMD Tracker", "usb-hmd");
        m_axes = tracker.state;
        UseFakeDevices({tracker});
        m_machine.Start();
    }
    void SetRaw(const std::optional<std::array<int, 3>>& raw) {
        emulated::SetUnplugged(0, !raw);
        for (std::size_t i = 0; raw && i < 3; ++i) {
            m_axes->joydev[i] = (*raw)[i] - 32767;
        }
    }
    std::shared_ptr<FakeDeviceState> m_axes;
};

constexpr UINT_PTR kOwnTimer = 7;

// A panel that runs a timer of its own too, and whose timer handler a test can call directly.
class TwoTimerPanel : public CHeadsetDlg {
public:
    using CHeadsetDlg::OnTimer;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CHeadsetDlg::OnInitDialog();
        SetTimer(kOwnTimer, 100);
        return result;
    }
};

struct Step {
    std::optional<std::array<int, 3>> raw;  // none: the tracker does not answer
    std::array<const char*, 3> texts;
    std::array<int, 3> writes;  // of each box's text, so far
    UINT_PTR timer = kReadoutTimerId;
};

// Start-up, then ticks of the readout's timer or the panel's own (the handler ignores the id).
TEST_F(Readout, ShowsWholeDegreesAndRewritesABoxOnlyWhenItsRawValueChanged) {
    const Step steps[] = {
        {{{0, 182, 183}}, {"000", "000", "001"}, {1, 1, 1}},
        {{{1, 182, 183}}, {"000", "000", "001"}, {2, 1, 1}},  // a new raw value, the same degrees
        {{{32768, 65535, 182}}, {"180", "359", "000"}, {3, 2, 2}, kOwnTimer},
        {{{32768, 65535, 182}}, {"180", "359", "000"}, {3, 2, 2}},
        {std::nullopt, {"000", "000", "000"}, {4, 3, 3}},
        {std::nullopt, {"000", "000", "000"}, {4, 3, 3}},
        {{{0, 182, 183}}, {"000", "000", "001"}, {4, 4, 4}},
    };
    TwoTimerPanel panel;
    SetRaw(steps[0].raw);
    headless::Run([](CDialog& dlg) {
        EXPECT_THAT(headless::Timers(dlg), ::testing::ElementsAre(headless::Timer{kOwnTimer, 100},
                                                                  headless::Timer{0xE001, 20}));
        emulated::ClearLogs();
    });
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        if (i > 0) {
            headless::Run([&, i](CDialog&) { SetRaw(steps[i].raw); });
            headless::TickTimer(steps[i].timer);
        }
        headless::Run([&, i](CDialog& dlg) {
            SCOPED_TRACE(i);
            for (std::size_t axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(headless::Text(dlg, kBoxes[axis]), steps[i].texts[axis]) << axis;
                EXPECT_EQ(headless::TextWrites(dlg, kBoxes[axis]), steps[i].writes[axis]) << axis;
            }
            EXPECT_EQ(QueryFlags(), std::vector<DWORD>(i, JOY_RETURNALL));
        });
    }
    headless::PressEscape();
    panel.DoModal();
}

TEST_F(Readout, TickBeforeStartUpReadsNothing) {
    TwoTimerPanel panel;
    panel.OnTimer(kReadoutTimerId);
    EXPECT_TRUE(emulated::JoystickQueries().empty());
    headless::Reset();  // the early tick's default processing ran without a window
}

TEST(AxisDegrees, TheProductWrapsAroundIn32Bits) {
    EXPECT_EQ(AxisToDegrees(0xFFFFFFFFu), 0xFFFFFE98u >> 16);
}

}  // namespace

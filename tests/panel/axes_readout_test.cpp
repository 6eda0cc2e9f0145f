// The "Axes Output" group: first values at start-up, the 20 ms timer, one read per tick and a
// box rewritten only when its raw value changed.
#include "panel/AxesReadout.h"
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tracker/TrackerLink.h"

#include <array>
#include <cstdio>
#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

constexpr int kBoxes[] = {IDC_AXIS_X_OUT, IDC_AXIS_Y_OUT, IDC_AXIS_Z_OUT};

std::string Degrees(DWORD raw) {
    char text[8];
    std::snprintf(text, sizeof text, "%03u", AxisToDegrees(raw));
    return text;
}

struct DegreesCase {
    DWORD raw;
    UINT degrees;
};

class AxisDegrees : public ::testing::TestWithParam<DegreesCase> {};

TEST_P(AxisDegrees, ShiftedProduct) {
    EXPECT_EQ(AxisToDegrees(GetParam().raw), GetParam().degrees);
}

INSTANTIATE_TEST_SUITE_P(Values, AxisDegrees,
                         ::testing::Values(DegreesCase{0, 0}, DegreesCase{182, 0},
                                           DegreesCase{183, 1}, DegreesCase{32768, 180},
                                           DegreesCase{65535, 359}, DegreesCase{65536, 360},
                                           // the product wraps around in 32 bits
                                           DegreesCase{0xFFFFFFFFu, 0xFFFFFE98u >> 16}),
                         [](const auto& info) { return "Raw" + std::to_string(info.param.raw); });

class Readout : public PanelTest {
protected:
    void SetUp() override {
        m_machine.Add({.slot = 0});
        Start();
    }

    void Start() {
        m_machine.Start();
        emulated::SetClock([this] { return m_seconds; });
    }

    static std::array<DWORD, 3> RawAxes() {
        const TrackerAxes a = ReadTrackerAxes(0);
        return {a.x, a.y, a.z};
    }

    double m_seconds = 0.0;
};

TEST_F(Readout, StartUpShowsFirstValuesAndStartsTheTimer) {
    const std::array<DWORD, 3> raw = RawAxes();
    CHeadsetDlg panel;
    headless::Run([&](CDialog& dlg) {
        EXPECT_THAT(headless::Timers(dlg), ElementsAre(headless::Timer{0xE001, 20}));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(headless::Text(dlg, kBoxes[i]), Degrees(raw[i]));
        }
    });
    headless::PressEscape();
    panel.DoModal();
    EXPECT_TRUE(panel.State().readoutReady);
}

TEST_F(Readout, UnchangedValuesTouchNoBoxAndEachTickReadsOnce) {
    CHeadsetDlg panel;
    ClearLogsNow();
    for (int i = 0; i < 5; ++i) {
        headless::Tick();
    }
    headless::PressEscape();
    panel.DoModal();

    EXPECT_THAT(QueryFlags(), ElementsAre(JOY_RETURNALL, JOY_RETURNALL, JOY_RETURNALL,
                                          JOY_RETURNALL, JOY_RETURNALL));
    for (int box : kBoxes) {
        EXPECT_EQ(headless::TextWrites(panel, box), 1) << box;  // the start-up write only
    }
}

TEST_F(Readout, ChangedRawValueRewritesItsBoxEvenWithTheSameDegrees) {
    const std::array<DWORD, 3> before = RawAxes();
    m_seconds = 0.5;  // the head moves a unit or so: raw values change, degrees barely
    const std::array<DWORD, 3> after = RawAxes();
    m_seconds = 0.0;

    CHeadsetDlg panel;
    headless::Run([this](CDialog&) { m_seconds = 0.5; });
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();

    bool sameDegreesRewritten = false;
    for (int i = 0; i < 3; ++i) {
        const int expectedWrites = before[i] != after[i] ? 2 : 1;
        EXPECT_EQ(headless::TextWrites(panel, kBoxes[i]), expectedWrites) << i;
        EXPECT_EQ(headless::Text(panel, kBoxes[i]), Degrees(after[i]));
        sameDegreesRewritten |= before[i] != after[i] && Degrees(before[i]) == Degrees(after[i]);
    }
    EXPECT_TRUE(sameDegreesRewritten) << "the sway should move some axis within one degree";
    EXPECT_EQ(panel.State().lastX, after[0]);
}

TEST_F(Readout, SilentTrackerShowsZerosThenRealValuesAgain) {
    const std::array<DWORD, 3> raw = RawAxes();
    CHeadsetDlg panel;
    headless::Run([](CDialog&) { emulated::SetUnplugged(0, true); });
    headless::Tick();
    headless::Tick();  // the boxes stand at 0 already: not rewritten
    headless::Run([](CDialog& dlg) {
        for (int box : kBoxes) {
            EXPECT_EQ(headless::Text(dlg, box), "000");
            EXPECT_EQ(headless::TextWrites(dlg, box), 2);
        }
        emulated::SetUnplugged(0, false);
    });
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(headless::Text(panel, kBoxes[i]), Degrees(raw[i]));
    }
}

// A panel that also runs a timer of its own.
class PanelWithSecondTimer : public CHeadsetDlg {
protected:
    BOOL OnInitDialog() override {
        const BOOL result = CHeadsetDlg::OnInitDialog();
        SetTimer(kOtherTimer, 100);
        return result;
    }

public:
    static constexpr UINT_PTR kOtherTimer = 7;
};

// The handler does not look at the timer's id: any tick refreshes the readout.
TEST_F(Readout, ATickOfAnotherTimerAlsoRefreshes) {
    PanelWithSecondTimer panel;
    headless::Run([this](CDialog&) {
        m_seconds = 3.0;
        emulated::ClearLogs();
    });
    headless::TickTimer(PanelWithSecondTimer::kOtherTimer);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_THAT(QueryFlags(), ElementsAre(JOY_RETURNALL));
    const std::array<DWORD, 3> raw = RawAxes();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(headless::TextWrites(panel, kBoxes[i]), 2) << i;
        EXPECT_EQ(headless::Text(panel, kBoxes[i]), Degrees(raw[i]));
    }
}

// A panel whose timer handler a test can call before the panel has started.
class EarlyTickPanel : public CHeadsetDlg {
public:
    using CHeadsetDlg::OnTimer;
};

TEST_F(Readout, TickBeforeStartUpReadsNothing) {
    EarlyTickPanel panel;
    emulated::ClearLogs();
    panel.OnTimer(kReadoutTimerId);
    EXPECT_TRUE(emulated::JoystickQueries().empty());
    headless::Reset();  // the early tick's default processing ran without a window
}

TEST_F(Readout, TicksGoOnWhileTheAboutBoxOrAnErrorBoxIsOpen) {
    m_machine.WithoutDriver();
    Start();
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::SysCommand(IDM_ABOUT);
    headless::Tick();
    headless::Tick();
    headless::Run([](CDialog&) { EXPECT_EQ(emulated::JoystickQueries().size(), 2u); });
    headless::PressEnter();
    headless::AnswerBox(IDOK, 3);  // the "Error" box of the first notification stays open
    headless::AnswerBox(IDOK);
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(emulated::JoystickQueries().size(), 5u);
    ASSERT_EQ(headless::Boxes().size(), 2u);
    EXPECT_EQ(headless::Boxes()[0].caption, "Error");
}

TEST_F(Readout, SetZeroBringsTheReadoutToItsRestingValue) {
    m_seconds = 7.3;  // the head has swayed away from where it started
    CHeadsetDlg panel;
    headless::Click(IDC_SET_ZERO);
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();

    for (int box : kBoxes) {
        EXPECT_THAT(headless::Text(panel, box), ::testing::AnyOf("179", "180")) << box;
    }
}

}  // namespace

// The panel's start-up, the "Headset Options" group, the system menu and the icon.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

struct StatusCase {
    const char* name;
    int stereo;
    int powerSaver;
    bool unplugged;  // the status query fails with 167, whose bits 0 and 1 are set
    int expectedStereo;
    int expectedPowerSaver;
};

class PanelStatus : public PanelTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(PanelStatus, BoxesAndStateFollowTheTracker) {
    const StatusCase& c = GetParam();
    m_machine.Add({.slot = 0, .stereo = c.stereo, .powerSaver = c.powerSaver}).Start();
    emulated::SetUnplugged(0, c.unplugged);
    CHeadsetDlg panel;
    headless::PressEscape();
    EXPECT_EQ(panel.DoModal(), IDCANCEL);

    EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), static_cast<UINT>(c.expectedStereo));
    EXPECT_EQ(headless::Checked(panel, IDC_POWER_SAVER), static_cast<UINT>(c.expectedPowerSaver));
    EXPECT_EQ(panel.State().stereoOn, c.expectedStereo);
    EXPECT_EQ(panel.State().powerSaverOn, c.expectedPowerSaver);
}

INSTANTIATE_TEST_SUITE_P(Status, PanelStatus,
                         ::testing::Values(StatusCase{"Status0", 0, 0, false, 0, 0},
                                           StatusCase{"Status2PowerSaverOnly", 0, 1, false, 0, 1},
                                           StatusCase{"Status3Both", 1, 1, false, 1, 1},
                                           StatusCase{"FailedQueryBothOff", 1, 1, true, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ClickCase {
    const char* name;
    std::vector<int> clicks;
    std::vector<DWORD> flags;  // the joystick queries they send, in order
};

class PanelClicks : public PanelTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(PanelClicks, SendPrimingReadThenTheCommand) {
    m_machine.Add({.slot = 3}).Start();
    CHeadsetDlg panel;
    ClearLogsNow();
    for (int id : GetParam().clicks) {
        headless::Click(id);
    }
    headless::PressEscape();
    panel.DoModal();
    EXPECT_THAT(QueryFlags(), ::testing::ElementsAreArray(GetParam().flags));
    EXPECT_EQ(emulated::JoystickQueries().back().slot, 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Options, PanelClicks,
    ::testing::Values(
        ClickCase{"StereoOnThenOff",
                  {IDC_STEREO_MODE, IDC_STEREO_MODE},
                  {JOY_CAL_READVONLY, JOY_CAL_READZONLY, JOY_CAL_READVONLY, JOY_CAL_READYONLY}},
        ClickCase{"PowerSaverOn", {IDC_POWER_SAVER}, {JOY_CAL_READVONLY, JOY_CAL_READUONLY}},
        ClickCase{"SetZeroEachClick",
                  {IDC_SET_ZERO, IDC_SET_ZERO},
                  {JOY_CAL_READVONLY, JOY_CAL_READXONLY, JOY_CAL_READVONLY, JOY_CAL_READXONLY}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, StereoBoxAndStateToggleTogether) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    headless::Click(IDC_STEREO_MODE);
    headless::Run([&panel](CDialog& dlg) {
        EXPECT_EQ(headless::Checked(dlg, IDC_STEREO_MODE), 1u);
        EXPECT_EQ(panel.State().stereoOn, 1);
    });
    headless::Click(IDC_STEREO_MODE);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), 0u);
    EXPECT_EQ(panel.State().stereoOn, 0);
}

TEST_F(PanelTest, SystemMenuEndsWithAboutItemThatOpensTheAboutBox) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    headless::SysCommand(IDM_ABOUT | 0x7);  // the low four bits are the platform's
    headless::Run([&panel](CDialog& about) {
        EXPECT_EQ(about.GetTemplateId(), static_cast<UINT>(IDD_ABOUTBOX));
        EXPECT_TRUE(headless::IsDisabled(panel));
    });
    headless::PressEnter();
    headless::Run([&panel](CDialog& innermost) { EXPECT_EQ(&innermost, &panel); });
    headless::CloseBox();
    EXPECT_EQ(panel.DoModal(), IDCANCEL);

    const std::vector<headless::MenuItem> menu = headless::SystemMenu(panel);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2].flags, MF_SEPARATOR);
    EXPECT_EQ(menu.back(), (headless::MenuItem{MF_STRING, IDM_ABOUT, "&About ZARVEN Controls..."}));
}

TEST_F(PanelTest, IconOnWindowMinimizedPaintingAndDragQuery) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    headless::Paint();
    headless::Minimize();
    headless::Paint();
    headless::QueryDragIcon();
    headless::PressEscape();
    panel.DoModal();

    const HICON icon = headless::Icon(panel, true);
    EXPECT_EQ(headless::IconId(icon), static_cast<UINT>(IDI_PANEL));
    EXPECT_EQ(headless::Icon(panel, false), icon);
    EXPECT_EQ(headless::DefaultPaints(panel), 1);  // only the paint before minimizing
    // Client area 315 x 284 pixels, icon 32 x 32: centred at ((315-32+1)/2, (284-32+1)/2).
    const std::vector<headless::DrawnIcon> drawn = headless::DrawnIcons(panel);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0], (headless::DrawnIcon{drawn[0].hdc, 142, 126, icon}));
    EXPECT_THAT(headless::SentMessages(panel),
                ElementsAre(headless::SentMessage{WM_ICONERASEBKGND,
                                                  reinterpret_cast<WPARAM>(drawn[0].hdc), 0}));
    EXPECT_THAT(headless::DragIcons(), ElementsAre(icon));
}

TEST_F(PanelTest, TypingIntoAValueBoxChangesNothingElse) {
    m_machine.Add({.slot = 0}).Start();
    const std::string registryBefore = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::Type(IDC_YAW_VALUE, "2047");
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "2047");
    EXPECT_TRUE(emulated::JoystickQueries().empty());
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registryBefore);
}

}  // namespace

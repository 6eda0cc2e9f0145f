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
};

class PanelStatus : public PanelTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(PanelStatus, BoxesAndStateFollowTheTracker) {
    m_machine.Add({.slot = 0, .stereo = GetParam().stereo, .powerSaver = GetParam().powerSaver})
        .Start();
    CHeadsetDlg panel;
    headless::PressEscape();
    EXPECT_EQ(panel.DoModal(), IDCANCEL);

    EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), static_cast<UINT>(GetParam().stereo));
    EXPECT_EQ(headless::Checked(panel, IDC_POWER_SAVER), static_cast<UINT>(GetParam().powerSaver));
    EXPECT_EQ(panel.State().stereoOn, GetParam().stereo);
    EXPECT_EQ(panel.State().powerSaverOn, GetParam().powerSaver);
    EXPECT_TRUE(headless::Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Status, PanelStatus,
                         ::testing::Values(StatusCase{"Status0", 0, 0},
                                           StatusCase{"Status1StereoOnly", 1, 0},
                                           StatusCase{"Status2PowerSaverOnly", 0, 1},
                                           StatusCase{"Status3Both", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, FailedStatusQueryLeavesBothOptionsOff) {
    // The error code (167) has bits 0 and 1 set; it must not read as a status word.
    m_machine.Add({.slot = 0, .stereo = 1, .powerSaver = 1}).Start();
    emulated::SetUnplugged(0, true);
    CHeadsetDlg panel;
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), 0u);
    EXPECT_EQ(headless::Checked(panel, IDC_POWER_SAVER), 0u);
    EXPECT_EQ(panel.State().stereoOn, 0);
    EXPECT_EQ(panel.State().powerSaverOn, 0);
}

TEST_F(PanelTest, NoTrackerNoticeComesBeforeThePanelAndSlot0IsUsed) {
    m_machine.Start();
    CHeadsetDlg panel;
    headless::PressEscape();
    panel.DoModal();

    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_EQ(headless::Boxes()[0].caption, "NO Tracker");
    EXPECT_EQ(headless::Boxes()[0].owner, nullptr);
    EXPECT_EQ(panel.State().selectedSlot, 0u);
}

TEST_F(PanelTest, StereoClickedTwiceSendsOnThenOff) {
    m_machine.Add({.slot = 3}).Start();
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::Click(IDC_STEREO_MODE);
    headless::Run([](CDialog& dlg) { EXPECT_EQ(headless::Checked(dlg, IDC_STEREO_MODE), 1u); });
    headless::Click(IDC_STEREO_MODE);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_THAT(QueryFlags(), ElementsAre(JOY_CAL_READVONLY, JOY_CAL_READZONLY, JOY_CAL_READVONLY,
                                          JOY_CAL_READYONLY));
    EXPECT_EQ(panel.State().stereoOn, 0);
    EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), 0u);
    EXPECT_EQ(emulated::JoystickQueries()[1].slot, 3u);
}

TEST_F(PanelTest, PowerSaverClickReachesTheTrackerAndStays) {
    m_machine.Add({.slot = 0}).Start();
    {
        CHeadsetDlg panel;
        ClearLogsNow();
        headless::Click(IDC_POWER_SAVER);
        headless::PressEscape();  // Cancel does not undo what was sent
        panel.DoModal();
        EXPECT_THAT(QueryFlags(), ElementsAre(JOY_CAL_READVONLY, JOY_CAL_READUONLY));
        EXPECT_EQ(panel.State().powerSaverOn, 1);
    }
    emulated::UsePrefix(m_machine.Prefix());  // a fresh load of the same machine
    CHeadsetDlg again;
    headless::PressEscape();
    again.DoModal();
    EXPECT_EQ(headless::Checked(again, IDC_POWER_SAVER), 1u);
}

TEST_F(PanelTest, SetZeroSendsPrimingReadAndZeroEachClick) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::Click(IDC_SET_ZERO);
    headless::Click(IDC_SET_ZERO);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_THAT(QueryFlags(), ElementsAre(JOY_CAL_READVONLY, JOY_CAL_READXONLY, JOY_CAL_READVONLY,
                                          JOY_CAL_READXONLY));
}

TEST_F(PanelTest, SystemMenuEndsWithAboutItemThatOpensTheAboutBox) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    for (UINT command : {UINT{IDM_ABOUT}, UINT{IDM_ABOUT | 0x7}}) {
        headless::SysCommand(command);
        headless::Run([&panel](CDialog& about) {
            EXPECT_EQ(about.GetTemplateId(), static_cast<UINT>(IDD_ABOUTBOX));
            EXPECT_TRUE(headless::IsDisabled(panel));
        });
        headless::PressEnter();
        headless::Run([&panel](CDialog& innermost) {
            EXPECT_EQ(&innermost, &panel);
            EXPECT_FALSE(headless::IsDisabled(panel));
        });
    }
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
    EXPECT_EQ(drawn[0].x, 142);
    EXPECT_EQ(drawn[0].y, 126);
    EXPECT_EQ(drawn[0].icon, icon);
    ASSERT_FALSE(headless::SentMessages(panel).empty());
    EXPECT_EQ(headless::SentMessages(panel)[0].message, static_cast<UINT>(WM_ICONERASEBKGND));
    EXPECT_EQ(headless::SentMessages(panel)[0].wParam, reinterpret_cast<WPARAM>(drawn[0].hdc));
    EXPECT_THAT(headless::DragIcons(), ElementsAre(icon));
}

TEST_F(PanelTest, TypingIntoAValueBoxChangesNothingElse) {
    m_machine.Add({.slot = 0}).Start();
    const std::string registryBefore = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::Type(IDC_YAW_VALUE, "2047");
    headless::Type(IDC_AXIS_X_OUT, "12");
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "2047");
    EXPECT_TRUE(emulated::JoystickQueries().empty());
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registryBefore);
}

}  // namespace

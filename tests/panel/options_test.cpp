// The panel's start-up, the "Headset Options" group, the system menu and the icon.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tests/support/param_name.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct OptionsCase {
    const char* name;
    int stereo, powerSaver;  // as the tracker holds them
    bool unplugged;          // the status query fails with 167, whose bits 0 and 1 are set
    UINT stereoBox, powerSaverBox;
    void (*user)(int control);
    int control;
    std::vector<DWORD> commands;  // the joystick queries the user's action sends to slot 3
};

// The queries that send these commands: each after its priming status query.
std::vector<DWORD> Primed(std::initializer_list<DWORD> commands) {
    std::vector<DWORD> queries;
    for (DWORD command : commands) {
        queries.insert(queries.end(), {JOY_CAL_READVONLY, command});
    }
    return queries;
}

void ClickTwice(int id) {
    headless::Click(id);
    headless::Click(id);
}

class Options : public PanelTest, public ::testing::WithParamInterface<OptionsCase> {};

// Start-up asks the status twice (once if it fails), then reads the axes; no option stores.
TEST_P(Options, BoxesFollowTheTrackerAndEachClickSendsItsCommand) {
    const OptionsCase& c = GetParam();
    m_machine.Add({.slot = 3, .stereo = c.stereo, .powerSaver = c.powerSaver}).Start();
    emulated::SetUnplugged(3, c.unplugged);
    const std::string registry = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    headless::Run([&](CDialog& dlg) {
        EXPECT_EQ(headless::Checked(dlg, IDC_STEREO_MODE), c.stereoBox);
        EXPECT_EQ(headless::Checked(dlg, IDC_POWER_SAVER), c.powerSaverBox);
        std::vector<DWORD> startUp{JOY_CAL_READVONLY, JOY_CAL_READVONLY, JOY_RETURNALL};
        EXPECT_EQ(QueryFlags(), std::vector(startUp.begin() + c.unplugged, startUp.end()));
        emulated::ClearLogs();
    });
    c.user(c.control);
    headless::PressEscape();
    EXPECT_EQ(panel.DoModal(), IDCANCEL);

    EXPECT_THAT(QueryFlags(), ElementsAreArray(c.commands));
    for (const emulated::JoystickQuery& query : emulated::JoystickQueries()) {
        EXPECT_EQ(query.slot, 3u);
    }
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registry);
}

INSTANTIATE_TEST_SUITE_P(
    Tracker, Options,
    ::testing::Values(OptionsCase{"Status0StereoOnThenOff", 0, 0, false, 0, 0, ClickTwice,
                                  IDC_STEREO_MODE, Primed({JOY_CAL_READZONLY, JOY_CAL_READYONLY})},
                      OptionsCase{"Status2PowerSaverOffThenOn", 0, 1, false, 0, 1, ClickTwice,
                                  IDC_POWER_SAVER, Primed({JOY_CAL_READRONLY, JOY_CAL_READUONLY})},
                      OptionsCase{"Status3SetZeroEachClick", 1, 1, false, 1, 1, ClickTwice,
                                  IDC_SET_ZERO, Primed({JOY_CAL_READXONLY, JOY_CAL_READXONLY})},
                      // The priming query fails: the command is not sent.
                      OptionsCase{"FailedStatusBothOff", 1, 1, true, 0, 0, headless::Click,
                                  IDC_STEREO_MODE, std::vector<DWORD>(1, JOY_CAL_READVONLY)},
                      OptionsCase{"TypingIntoAValueBoxSendsNothing", 0, 0, false, 0, 0,
                                  [](int id) { headless::Type(id, "2047"); }, IDC_YAW_VALUE,
                                  Primed({})}),
    kByName);

// The readout ticks on while the about box is open.
TEST_F(PanelTest, SystemMenuEndsWithAboutItemThatOpensTheAboutBox) {
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::SysCommand(IDM_ABOUT | 0x7);  // the low four bits are the platform's
    headless::Tick();
    headless::Run([&panel](CDialog& about) {
        EXPECT_EQ(about.GetTemplateId(), static_cast<UINT>(IDD_ABOUTBOX));
        EXPECT_TRUE(headless::IsDisabled(panel));
        EXPECT_THAT(QueryFlags(), ElementsAre(JOY_RETURNALL));
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

}  // namespace

// The application shell: the modal run and the settings profile written on OK only.
#include "app/HeadsetApp.h"
#include "panel/resource.h"
#include "platform/headless/headless.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override { m_app.m_exeName = "zarven-controls"; }
    void TearDown() override { EXPECT_FALSE(headless::ScriptFault()); }

    std::string Profile() const {
        std::string text = m_machine.ReadFile("windows/zarven-controls.INI");
        std::erase(text, '\r');
        return text;
    }

    CHeadsetApp m_app;
    TestMachine m_machine;
};

TEST_F(Shell, OkWritesTheFiveKeysInOrderWithSignedPositions) {
    m_machine.Add({.slot = 0, .config = ConfigWithMinimums(512, 853, 1200)}).Start();
    headless::Click(IDC_POWER_SAVER);
    headless::PressEnter();

    EXPECT_FALSE(m_app.InitInstance());

    EXPECT_TRUE(headless::ThreeDControlsEnabled());
    EXPECT_EQ(Profile(),
              "[ZARVEN]\nStereoMode=0\nPowerSaver=1\nYawSensitivity=1023\n"
              "PitchSensitivity=341\nRollSensitivity=-353\n");
}

TEST_F(Shell, OkSavesThePositionsAsTheyStand) {
    m_machine.Add({.slot = 0, .config = ConfigWithMinimums(512, 853, 853)}).Start();
    headless::Drag(IDC_YAW_BAR, {1500});
    headless::ArrowClick(IDC_ROLL_BAR, false);
    headless::PressEnter();
    m_app.InitInstance();

    EXPECT_NE(Profile().find("YawSensitivity=1500\nPitchSensitivity=341\nRollSensitivity=342\n"),
              std::string::npos);
}

struct CancelWay {
    const char* name;
    void (*close)();
};

class ShellCancel : public Shell, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(ShellCancel, WritesNothing) {
    m_machine.Add({.slot = 0}).Start();
    headless::Click(IDC_STEREO_MODE);
    GetParam().close();
    m_app.InitInstance();

    EXPECT_FALSE(std::filesystem::exists(m_machine.Prefix() / "windows" / "zarven-controls.INI"));
    EXPECT_NE(m_machine.ReadFile("joysticks.ini").find("StereoMode=1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ways, ShellCancel,
                         ::testing::Values(CancelWay{"Escape", &headless::PressEscape},
                                           CancelWay{"CloseBox", &headless::CloseBox},
                                           CancelWay{"CancelButton",
                                                     [] { headless::Click(IDCANCEL); }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Shell, SecondRunShowsTheTrackerNotTheProfile) {
    m_machine.Add({.slot = 0}).Start();
    headless::Click(IDC_STEREO_MODE);
    headless::PressEnter();
    m_app.InitInstance();
    ASSERT_NE(Profile().find("StereoMode=1"), std::string::npos);

    // The tracker is switched back behind the profile's back.
    SendTrackerCommand(0, TrackerCommand::StereoOff);
    headless::Run([](CDialog& panel) { EXPECT_EQ(headless::Checked(panel, IDC_STEREO_MODE), 0u); });
    headless::PressEscape();
    m_app.InitInstance();
}

}  // namespace

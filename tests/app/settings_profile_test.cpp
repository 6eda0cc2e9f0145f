// The application shell: the modal run and the settings profile written on OK only.
#include "app/HeadsetApp.h"
#include "panel/resource.h"
#include "platform/headless/headless.h"
#include "tests/support/param_name.h"
#include "tests/support/test_machine.h"

namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override { m_app.m_exeName = "zarven-controls"; }
    void TearDown() override { EXPECT_FALSE(headless::ScriptFault()); }

    CHeadsetApp m_app;
    TestMachine m_machine;
};

TEST_F(Shell, OkWritesTheFiveKeysInOrderWithThePositionsAsTheyStand) {
    m_machine.Add({.slot = 0, .config = ConfigWithMinimums(512, 853, 1200)}).Start();
    headless::Click(IDC_POWER_SAVER);
    headless::Drag(IDC_YAW_BAR, {1500});
    headless::ArrowClick(IDC_ROLL_BAR, false);
    headless::PressEnter();

    EXPECT_FALSE(m_app.InitInstance());

    EXPECT_TRUE(headless::ThreeDControlsEnabled());
    std::string profile = m_machine.ReadFile("windows/zarven-controls.INI");
    std::erase(profile, '\r');
    EXPECT_EQ(profile,
              "[ZARVEN]\nStereoMode=0\nPowerSaver=1\nYawSensitivity=1500\n"
              "PitchSensitivity=341\nRollSensitivity=-352\n");
}

struct CancelWay {
    const char* name;
    void (*close)();  // none: the panel ends some other way (the script runs out)
};

class ShellCancel : public Shell, public ::testing::WithParamInterface<CancelWay> {};

// Nothing already sent to the tracker is undone.
TEST_P(ShellCancel, WritesNoProfile) {
    m_machine.Add({.slot = 0}).Start();
    headless::Click(IDC_STEREO_MODE);
    if (GetParam().close != nullptr) {
        GetParam().close();
    }
    m_app.InitInstance();
    if (GetParam().close == nullptr) {
        EXPECT_TRUE(headless::ScriptFault());
        headless::Reset();
    }

    EXPECT_FALSE(std::filesystem::exists(m_machine.Prefix() / "windows" / "zarven-controls.INI"));
    EXPECT_NE(m_machine.ReadFile("joysticks.ini").find("StereoMode=1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ways, ShellCancel,
                         ::testing::Values(CancelWay{"Escape", &headless::PressEscape},
                                           CancelWay{"CloseBox", &headless::CloseBox},
                                           CancelWay{"CancelButton",
                                                     [] { headless::Click(IDCANCEL); }},
                                           CancelWay{"NeitherOkNorCancel", nullptr}),
                         kByName);

}  // namespace

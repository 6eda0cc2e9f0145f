// A lock another program holds never freezes the panel: the write gives up, the readout ticks on.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tests/support/lock_holder.h"

#include <gmock/gmock.h>

TEST_F(PanelTest, AHeldLockFailsTheClickInBoundedTimeAndTheReadoutTicksOn) {
    m_machine.Add({.slot = 0}).Start();
    const emulated_test::LockHolder holder(m_machine.Prefix() / ".lock");
    ASSERT_TRUE(holder.held());
    CHeadsetDlg panel;
    std::vector<std::string> readouts;
    ClearLogsNow();
    headless::Click(IDC_STEREO_MODE);  // writes joysticks.ini: waits for the lock, then fails
    for (int tick = 0; tick < 3; ++tick) {
        headless::Tick();
        headless::Run(
            [&](CDialog& dlg) { readouts.push_back(headless::Text(dlg, IDC_AXIS_X_OUT)); });
    }
    headless::PressEscape();
    ::testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    panel.DoModal();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
        << "the holder keeps the lock for 10 s";
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("/.lock: held by another program"));
    EXPECT_EQ(QueryFlags().size(), 2u + 3u) << "priming read and command, then one per tick";
    EXPECT_THAT(readouts, ::testing::Each(::testing::AnyOf("179", "180", "181")));
    EXPECT_EQ(m_machine.ReadFile("joysticks.ini").find("StereoMode=1"), std::string::npos);
}

// Another program holding the machine's lock (stopped in the middle of a write, or on a hung
// network folder) never freezes the panel: a click whose write has to wait gives up after a
// bounded wait, and the readout goes on ticking.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tests/support/lock_holder.h"

#include <chrono>
#include <gmock/gmock.h>

namespace {

TEST_F(PanelTest, AHeldLockFailsTheClickInBoundedTimeAndTheReadoutTicksOn) {
    m_machine.Add({.slot = 0}).Start();
    const emulated_test::LockHolder holder(m_machine.Prefix() / ".lock");
    ASSERT_TRUE(holder.held());

    CHeadsetDlg panel;
    std::vector<std::string> readouts;
    const auto readYaw = [&](CDialog& dlg) {
        readouts.push_back(headless::Text(dlg, IDC_AXIS_X_OUT));
    };
    ClearLogsNow();
    headless::Click(IDC_STEREO_MODE);  // writes joysticks.ini: waits for the lock, then fails
    for (int tick = 0; tick < 3; ++tick) {
        headless::Tick();
        headless::Run(readYaw);
    }
    headless::PressEscape();
    ::testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    panel.DoModal();
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_LT(took, std::chrono::milliseconds(1500)) << "the holder keeps the lock for 10 s";
    EXPECT_NE(said.find("/.lock: held by another program"), std::string::npos) << said;
    EXPECT_EQ(QueryFlags().size(), 2u + 3u) << "priming read and command, then one per tick";
    EXPECT_THAT(readouts, ::testing::Each(::testing::AnyOf("179", "180", "181")));
    EXPECT_EQ(m_machine.ReadFile("joysticks.ini").find("StereoMode=1"), std::string::npos);
}

}  // namespace

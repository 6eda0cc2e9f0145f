// A control panel over a fresh emulated machine and the headless double.
#pragma once

#include "panel/HeadsetDlg.h"
#include "platform/headless/headless.h"
#include "tests/support/test_machine.h"

class PanelTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_FALSE(headless::ScriptFault()) << headless::Faults()[0]; }

    // Forgets what start-up asked of the machine, so a test sees only what follows.
    static void ClearLogsNow() {
        headless::Run([](CDialog&) { emulated::ClearLogs(); });
    }

    static std::vector<DWORD> QueryFlags() {
        std::vector<DWORD> flags;
        for (const emulated::JoystickQuery& q : emulated::JoystickQueries()) {
            flags.push_back(q.flags);
        }
        return flags;
    }

    CWinApp m_app;  // gives the panel its icon
    TestMachine m_machine;
};

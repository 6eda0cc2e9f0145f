#include "platform/emulated/seed.h"
#include "tests/support/test_machine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

namespace emulated_test {
namespace {

using JoystickApi = MachineTest;

int Offset(DWORD axis) {
    return static_cast<int>(axis) - 32768;
}

TEST_F(JoystickApi, RefusesBadRecordsAndEmptySlots) {
    for (const auto& [slot, capsSize, infoSize, result] :
         {std::tuple{0u, 400u, 48u, JOYERR_PARMS}, std::tuple{16u, 404u, 52u, JOYERR_PARMS},
          std::tuple{~0u, 404u, 52u, JOYERR_PARMS}, std::tuple{1u, 404u, 52u, JOYERR_UNPLUGGED},
          std::tuple{15u, 404u, 52u, JOYERR_UNPLUGGED}}) {
        JOYCAPSA caps{};
        EXPECT_EQ(joyGetDevCapsA(slot, &caps, capsSize), result) << slot;
        JOYINFOEX info{};
        info.dwSize = infoSize;
        EXPECT_EQ(joyGetPosEx(slot, &info), result) << slot;
    }
    EXPECT_EQ(joyGetDevCapsA(0, nullptr, sizeof(JOYCAPSA)), JOYERR_PARMS);
    EXPECT_EQ(joyGetPosEx(0, nullptr), JOYERR_PARMS);
}

// The status word: bit 0 stereo mode, bit 1 the power saver. The commands: V reads it, X zeroes,
// Y/Z turn stereo off/on, R/U the power saver off/on; any other flags are no command.
TEST_F(JoystickApi, EachCommandFlagAnswersWithTheStatusAfterIt) {
    for (const auto& [flags, statusAfter] :
         {std::pair{JOY_CAL_READVONLY, 1u}, std::pair{JOY_CAL_READXONLY, 1u},
          std::pair{JOY_CAL_READYONLY, 0u}, std::pair{JOY_CAL_READZONLY, 1u},
          std::pair{JOY_CAL_READRONLY, 1u}, std::pair{JOY_CAL_READUONLY, 3u},
          std::pair{JOY_RETURNALL, 1u}, std::pair{JOY_CAL_READUONLY | JOY_CAL_READYONLY, 1u}}) {
        // Only "1" turns a state on.
        WriteText(File("joysticks.ini"),
                  "[Joystick1]\nDevice=HeadTracker\nStereoMode=1\nPowerSaver=yes\n");
        Reload();
        const Reply reply = Query(0, flags);
        ASSERT_EQ(reply.result, JOYERR_NOERROR) << flags;
        EXPECT_EQ(reply.info.dwVpos, statusAfter) << flags;
        EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, statusAfter) << flags;
    }
}

TEST_F(JoystickApi, TheStatusIsKeptInTheFileAcrossAFreshLoad) {
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, 0u);
    Query(0, JOY_CAL_READZONLY);
    Query(0, JOY_CAL_READUONLY);
    Reload();
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, 3u);
    Query(0, JOY_CAL_READYONLY);
    Reload();
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, 2u);
}

// An old Mac-style file, every line ended by a lone CR.
TEST_F(JoystickApi, ACrOnlyJoysticksFileHasItsTrackerAndKeepsItsLineEnds) {
    WriteText(File("joysticks.ini"), "; mine\r[Joystick1]\rDevice=HeadTracker\rStereoMode=0\r");
    Reload();
    EXPECT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR);
    EXPECT_EQ(Query(0, JOY_CAL_READUONLY).result, JOYERR_NOERROR);
    EXPECT_EQ(ReadText(File("joysticks.ini")),
              "; mine\r[Joystick1]\rDevice=HeadTracker\rStereoMode=1\rPowerSaver=1\r");
}

TEST_F(JoystickApi, APlainJoystickAnswersCentredAndIgnoresCommands) {
    const std::string ini = "[Joystick3]\nDevice=joystick\nRegKey=MSJSTICK.DRV\n";
    WriteText(File("joysticks.ini"), ini);
    now_ = 1234.5;  // a tracker is well away from centre here
    EXPECT_EQ(Query(2, JOY_RETURNALL).info.dwXpos, 32768u);
    const Reply reply = Query(2, JOY_CAL_READZONLY);
    EXPECT_EQ(reply.result, JOYERR_NOERROR);
    EXPECT_EQ(reply.info.dwVpos, 0u);
    EXPECT_EQ(ReadText(File("joysticks.ini")), ini);
}

TEST_F(JoystickApi, ZeroMakesThePresentAttitudeTheResting) {
    now_ = 1234.5;
    ASSERT_NE(Query(0, JOY_RETURNALL).info.dwXpos, 32768u);
    ASSERT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_NOERROR);
    const Reply reply = Query(0, JOY_RETURNALL);
    EXPECT_EQ(reply.info.dwXpos, 32768u);
    EXPECT_EQ(reply.info.dwYpos, 32768u);
    EXPECT_EQ(reply.info.dwZpos, 32768u);
    now_ += 2.5;
    EXPECT_NE(Query(0, JOY_RETURNALL).info.dwXpos, 32768u) << "and sways on from there";
}

// The sensor counts whole hardware units: over ten seconds of 20 ms polls the yaw reading
// changes a few dozen times (once per unit the head moves), not on every poll.
TEST_F(JoystickApi, TheRestingHeadsReadingChangesOnlyWhenItMovesAWholeUnit) {
    int changes = 0;
    DWORD last = Query(0, JOY_RETURNALL).info.dwXpos;
    for (int poll = 0; poll < 500; ++poll) {
        now_ += 0.02;
        const DWORD x = Query(0, JOY_RETURNALL).info.dwXpos;
        changes += x != last ? 1 : 0;
        last = x;
    }
    EXPECT_GT(changes, 5) << "the head sways";
    EXPECT_LT(changes, 100);
}

// The record is stored as the panel stores it: the structure's own bytes.
TEST_F(JoystickApi, ANewCalibrationAppliesOnlyAfterTheDriverIsTold) {
    now_ = 27.85;  // the head is pitched well away from straight ahead here
    const DWORD narrow = Query(0, JOY_RETURNALL).info.dwYpos;
    ASSERT_GT(std::abs(Offset(narrow)), 800);
    JOYREGHWCONFIG config = emulated::SeedJoystickConfig();
    config.hwv.jrvHardware.jpMin.dwY = 0;
    config.hwv.jrvHardware.jpMax.dwY = 2047;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_WRITE, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "Joystick1Configuration", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(&config), sizeof config),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Query(0, JOY_RETURNALL).info.dwYpos, narrow) << "the registry alone changes nothing";

    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    EXPECT_EQ(SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0), 0);
    CloseDriver(driver, 0, 0);
    const DWORD full = Query(0, JOY_RETURNALL).info.dwYpos;
    EXPECT_LT(std::abs(Offset(full)) * 4, std::abs(Offset(narrow))) << "a wider range swings less";
    EXPECT_EQ(Offset(full) > 0, Offset(narrow) > 0);
}

TEST_F(JoystickApi, TheDriverOpensOnlyWithItsDriversEntry) {
    EXPECT_NE(OpenDriver(L"MSJSTICK", L"drivers", 0), nullptr);
    for (const char* systemIni : {"[Drivers]\n;msjstick=msjstick.drv\n", "[Drivers]\nmsjstick=\n",
                                  "[Other]\nmsjstick=msjstick.drv\n"}) {
        WriteText(File("system.ini"), systemIni);
        Reload();
        EXPECT_EQ(OpenDriver(L"msjstick", L"Drivers", 0), nullptr) << systemIni;
    }
}

}  // namespace
}  // namespace emulated_test

#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/joystick_config.h"
#include "platform/win32api.h"
#include "temp_prefix.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace emulated_test {
namespace {

struct Reply {
    MMRESULT result;
    JOYINFOEX info;
};

Reply Query(UINT slot, DWORD flags) {
    Reply reply{};
    reply.info.dwSize = sizeof(JOYINFOEX);
    reply.info.dwFlags = flags;
    reply.result = joyGetPosEx(slot, &reply.info);
    return reply;
}

DWORD Status(UINT slot) {
    const Reply reply = Query(slot, JOY_CAL_READVONLY);
    EXPECT_EQ(reply.result, JOYERR_NOERROR);
    return reply.info.dwVpos;
}

using JoystickApi = TempPrefixTest;

TEST_F(JoystickApi, SixteenSlotsWithTheSeededTrackerInSlotZero) {
    EXPECT_EQ(joyGetNumDevs(), 16u);
    JOYCAPSA caps;
    std::memset(&caps, 0x5A, sizeof caps);
    ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR);
    EXPECT_STREQ(caps.szRegKey, "MSJSTICK.DRV");
    EXPECT_STRNE(caps.szPname, "");
    EXPECT_EQ(caps.wXmin, 0u);
    EXPECT_EQ(caps.wXmax, 65535u);
    EXPECT_EQ(caps.wZmax, 65535u);
    EXPECT_EQ(caps.szOEMVxD[0], '\0') << "the record starts zeroed";
    EXPECT_EQ(caps.szOEMVxD[MAX_JOYSTICKOEMVXDNAME - 1], '\0');
}

struct CapsCase {
    const char* name;
    UINT_PTR slot;
    UINT size;
    bool record;
    MMRESULT result;
};

class JoystickCapsErrors : public TempPrefixTest, public ::testing::WithParamInterface<CapsCase> {};

TEST_P(JoystickCapsErrors, AreThePlatformsCodes) {
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(GetParam().slot, GetParam().record ? &caps : nullptr, GetParam().size),
              GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, JoystickCapsErrors,
    ::testing::Values(CapsCase{"WrongSize", 0, 400, true, JOYERR_PARMS},
                      CapsCase{"NullRecord", 0, 404, false, JOYERR_PARMS},
                      CapsCase{"SlotSixteen", 16, 404, true, JOYERR_PARMS},
                      CapsCase{"HugeSlot", UINT_PTR(-1), 404, true, JOYERR_PARMS},
                      CapsCase{"EmptySlot", 1, 404, true, JOYERR_UNPLUGGED},
                      CapsCase{"LastEmptySlot", 15, 404, true, JOYERR_UNPLUGGED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoystickApi, PositionQueriesRefuseBadRecordsAndEmptySlots) {
    EXPECT_EQ(joyGetPosEx(0, nullptr), JOYERR_PARMS);
    JOYINFOEX info{};
    info.dwSize = 48;
    EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_PARMS);
    EXPECT_EQ(Query(16, JOY_RETURNALL).result, JOYERR_PARMS);
    EXPECT_EQ(Query(1, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Query(1, JOY_CAL_READVONLY).result, JOYERR_UNPLUGGED);
}

struct CommandCase {
    const char* name;
    DWORD flags;
    DWORD statusAfter;  // starting from stereo on, power saver off (status 1)
};

class TrackerCommands : public TempPrefixTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(TrackerCommands, ChangeTheStatusWordAsTheDriverDoes) {
    ASSERT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR);
    const Reply reply = Query(0, GetParam().flags);
    ASSERT_EQ(reply.result, JOYERR_NOERROR);
    EXPECT_EQ(reply.info.dwVpos, GetParam().statusAfter) << "the answer already shows the change";
    EXPECT_EQ(Status(0), GetParam().statusAfter);
}

INSTANTIATE_TEST_SUITE_P(FlagTable, TrackerCommands,
                         ::testing::Values(CommandCase{"Status", JOY_CAL_READVONLY, 1},
                                           CommandCase{"Zero", JOY_CAL_READXONLY, 1},
                                           CommandCase{"StereoOff", JOY_CAL_READYONLY, 0},
                                           CommandCase{"StereoOn", JOY_CAL_READZONLY, 1},
                                           CommandCase{"PowerSaverOff", JOY_CAL_READRONLY, 1},
                                           CommandCase{"PowerSaverOn", JOY_CAL_READUONLY, 3},
                                           CommandCase{"Axes", JOY_RETURNALL, 1},
                                           CommandCase{"OtherFlags", 0x00000003, 1},
                                           CommandCase{"CommandsCombined",
                                                       JOY_CAL_READUONLY | JOY_CAL_READYONLY, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoystickApi, TheStatusIsKeptInTheFileAcrossAFreshLoad) {
    EXPECT_EQ(Status(0), 0u);
    Query(0, JOY_CAL_READZONLY);
    Query(0, JOY_CAL_READUONLY);
    const std::string text = ReadText(File("joysticks.ini"));
    EXPECT_NE(text.find("StereoMode=1\n"), std::string::npos);
    EXPECT_NE(text.find("PowerSaver=1\n"), std::string::npos);
    EXPECT_NE(text.find("; Joystick slots"), std::string::npos) << "the comments stay";
    Reload();
    EXPECT_EQ(Status(0), 3u);
    Query(0, JOY_CAL_READYONLY);
    Reload();
    EXPECT_EQ(Status(0), 2u);
}

TEST_F(JoystickApi, EveryQueryIsLoggedInOrder) {
    emulated::ClearLogs();
    Query(0, JOY_CAL_READVONLY);
    Query(0, JOY_CAL_READZONLY);
    Query(5, JOY_RETURNALL);
    joyGetPosEx(3, nullptr);
    const std::vector<emulated::JoystickQuery> log = emulated::JoystickQueries();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].flags, JOY_CAL_READVONLY);
    EXPECT_EQ(log[1].flags, JOY_CAL_READZONLY);
    EXPECT_EQ(log[2].slot, 5u);
    EXPECT_EQ(log[2].flags, JOY_RETURNALL);
    EXPECT_EQ(log[3].slot, 3u);
    EXPECT_EQ(log[3].flags, 0u);
    emulated::ClearLogs();
    EXPECT_TRUE(emulated::JoystickQueries().empty());
}

int Offset(DWORD axis) {
    return static_cast<int>(axis) - 32768;
}

TEST_F(JoystickApi, TheTrackerSwaysGentlyThroughTheCalibratedRange) {
    int largest[3] = {};
    for (int tick = 0; tick < 3000; ++tick) {  // a minute of readout ticks
        now_ = 100 + tick * 0.02;
        const Reply reply = Query(0, JOY_RETURNALL);
        ASSERT_EQ(reply.result, JOYERR_NOERROR);
        const DWORD axes[3] = {reply.info.dwXpos, reply.info.dwYpos, reply.info.dwZpos};
        for (int i = 0; i < 3; ++i) {
            EXPECT_LE(axes[i], 65535u);
            largest[i] = std::max(largest[i], std::abs(Offset(axes[i])));
        }
    }
    // Seeded yaw range 512..1535 and pitch, roll 853..1194: a few degrees of head movement
    // show as a few to a few tens of degrees on the readout, and the ends are not reached.
    for (int axis : largest) {
        EXPECT_GT(axis, 500);
        EXPECT_LT(axis, 32000);
    }
}

TEST_F(JoystickApi, ZeroMakesThePresentAttitudeTheResting) {
    now_ = 1234.5;
    ASSERT_NE(Query(0, JOY_RETURNALL).info.dwXpos, 32768u);
    ASSERT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_NOERROR);
    Reply reply = Query(0, JOY_RETURNALL);
    EXPECT_EQ(reply.info.dwXpos, 32768u);
    EXPECT_EQ(reply.info.dwYpos, 32768u);
    EXPECT_EQ(reply.info.dwZpos, 32768u);
    EXPECT_EQ((reply.info.dwXpos * 360) >> 16, 180u);
    now_ += 2.5;
    reply = Query(0, JOY_RETURNALL);
    EXPECT_NE(reply.info.dwXpos, 32768u) << "and sways on from there";
    EXPECT_LT(std::abs(Offset(reply.info.dwXpos)), 20000);
}

// The seeded record, with the Y axis given the full range 0..2047 instead of 853..1194.
void StoreFullPitchRange() {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK.DRV\\"
                      "CurrentJoystickSettings",
                      0, KEY_READ | KEY_WRITE, &key),
        ERROR_SUCCESS);
    BYTE record[112];
    DWORD size = sizeof record;
    ASSERT_EQ(RegQueryValueExA(key, "Joystick1Configuration", nullptr, nullptr, record, &size),
              ERROR_SUCCESS);
    JOYREGHWCONFIG config = *emulated::DecodeJoystickConfig(record);
    config.hwv.jrvHardware.jpMin.dwY = 0;
    config.hwv.jrvHardware.jpMax.dwY = 2047;
    const std::vector<BYTE> bytes = emulated::EncodeJoystickConfig(config);
    ASSERT_EQ(RegSetValueExA(key, "Joystick1Configuration", 0, REG_BINARY, bytes.data(), 112),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(JoystickApi, ANewCalibrationAppliesOnlyAfterTheDriverIsTold) {
    now_ = 27.85;  // the head is pitched some 5 units away from straight ahead here
    const DWORD narrow = Query(0, JOY_RETURNALL).info.dwYpos;
    ASSERT_GT(std::abs(Offset(narrow)), 800);

    StoreFullPitchRange();
    EXPECT_EQ(Query(0, JOY_RETURNALL).info.dwYpos, narrow) << "the registry alone changes nothing";

    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0), 0);
    CloseDriver(driver, 0, 0);
    const DWORD full = Query(0, JOY_RETURNALL).info.dwYpos;
    EXPECT_LT(std::abs(Offset(full)) * 4, std::abs(Offset(narrow))) << "a wider range swings less";
    EXPECT_EQ(Offset(full) > 0, Offset(narrow) > 0);
}

TEST_F(JoystickApi, AnUnpluggedDeviceStopsAnsweringUntilPluggedBackIn) {
    emulated::SetUnplugged(0, true);
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR) << "still configured";
    emulated::SetUnplugged(0, false);
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_NOERROR);
}

TEST_F(JoystickApi, APlainJoystickAnswersSteadilyAndIgnoresCommands) {
    WriteText(File("joysticks.ini"), "[Joystick3]\nDevice=joystick\nRegKey=MSJSTICK.DRV\n");
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_UNPLUGGED) << "no section, no device";
    ASSERT_EQ(joyGetDevCapsA(2, &caps, sizeof caps), JOYERR_NOERROR);
    for (DWORD flags : {JOY_RETURNALL, JOY_CAL_READZONLY, JOY_CAL_READVONLY}) {
        now_ += 1.7;
        const Reply reply = Query(2, flags);
        ASSERT_EQ(reply.result, JOYERR_NOERROR);
        EXPECT_EQ(reply.info.dwXpos, 32768u);
        EXPECT_EQ(reply.info.dwYpos, 32768u);
        EXPECT_EQ(reply.info.dwVpos, 0u);
    }
    EXPECT_EQ(ReadText(File("joysticks.ini")),
              "[Joystick3]\nDevice=joystick\nRegKey=MSJSTICK.DRV\n");
}

}  // namespace
}  // namespace emulated_test

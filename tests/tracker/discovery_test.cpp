// Finding the tracker among the slots: which slot is chosen, what the user is asked or told.
#include "platform/headless/headless.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

struct DiscoveryCase {
    const char* name;
    std::vector<TestSlot> slots;
    std::vector<int> answers;
    UINT expectedSlot;
    std::vector<std::string> boxes;  // "caption: text" of every box shown, in order
};

class Discovery : public ::testing::TestWithParam<DiscoveryCase> {};

TEST_P(Discovery, ChoosesSlotAndAsksInTurn) {
    TestMachine machine;
    for (const TestSlot& slot : GetParam().slots) {
        machine.Add(slot);
    }
    machine.Start();
    for (int answer : GetParam().answers) {
        headless::AnswerBox(answer);
    }

    EXPECT_EQ(FindTrackerSlot(), GetParam().expectedSlot);

    std::vector<std::string> boxes;
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box.type, box.caption == "NO Tracker" ? MB_OK : MB_YESNO);
        EXPECT_EQ(box.owner, nullptr);  // nothing has the focus before the panel is shown
        boxes.push_back(box.caption + ": " + box.text);
    }
    EXPECT_THAT(boxes, ::testing::ElementsAreArray(GetParam().boxes));
    EXPECT_EQ(headless::AnswersLeft(), 0u);
}

const std::string kAsk = "Select HMD to configure: ";
const std::string kNoTracker =
    "NO Tracker: No HMD Tracker assigned \n See the Joystick configuration \n Icon in the "
    "control panel";

INSTANTIATE_TEST_SUITE_P(
    Slots, Discovery,
    ::testing::Values(
        DiscoveryCase{"NoDevices", {}, {}, 0, {kNoTracker}},
        DiscoveryCase{"OnlySlot3", {{.slot = 3}}, {}, 3, {}},
        DiscoveryCase{
            "Slots0And5Yes", {{.slot = 0}, {.slot = 5}}, {IDYES}, 5, {kAsk + "Joystick6"}},
        DiscoveryCase{"Slots0And5No", {{.slot = 0}, {.slot = 5}}, {IDNO}, 0, {kAsk + "Joystick6"}},
        DiscoveryCase{"Slots1_4_9NoThenYes",
                      {{.slot = 1}, {.slot = 4}, {.slot = 9}},
                      {IDNO, IDYES},
                      9,
                      {kAsk + "Joystick5", kAsk + "Joystick10"}},
        DiscoveryCase{"Slots1_4_9YesAtOnce",
                      {{.slot = 1}, {.slot = 4}, {.slot = 9}},
                      {IDYES},
                      4,
                      {kAsk + "Joystick5"}},
        DiscoveryCase{"PlainJoystickIsNoTracker",
                      {{.slot = 0, .device = "Joystick", .oemName = "Gamepad"}},
                      {},
                      0,
                      {kNoTracker}},
        DiscoveryCase{
            "LowerCaseTrackerIsNoTracker",
            {{.slot = 2, .oemName = "HMD tracker"}, {.slot = 7, .oemName = "HMD Tracker"}},
            {},
            7,
            {}},
        // No settings key for the device's driver key: its OEM name cannot be read.
        DiscoveryCase{
            "UnregisteredIsNoTracker", {{.slot = 0, .registered = false}}, {}, 0, {kNoTracker}}),
    [](const auto& info) { return std::string(info.param.name); });

// The slot's OEM name value written by hand as raw bytes.
std::string OemNameValue(UINT slot, const std::string& bytes) {
    return "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties"
           "\\PrivateProperties\\Joystick\\OEM\\OEM_TYPE_" +
           std::to_string(slot + 1) + "]\n\"OEMName\"=" + RegistryHex(bytes.data(), bytes.size()) +
           "\n";
}

TEST(OemNameValue, IsReadInsideItsBufferAndTerminated) {
    const std::string fits = std::string(248, 'x') + "Tracker";     // 255 bytes, no zero
    const std::string tooLong = std::string(249, 'x') + "Tracker";  // 256 bytes
    TestMachine machine;
    machine.Add({.slot = 0})
        .Add({.slot = 1})
        .Add({.slot = 2})
        .ExtraRegistry(OemNameValue(0, fits) + OemNameValue(1, tooLong) +
                       OemNameValue(2, "HMD Tracker"))
        .Start();

    char name[kOemNameSize];
    ASSERT_TRUE(ReadSlotOemName(2, "MSJSTICK.DRV", name));
    EXPECT_STREQ(name, "HMD Tracker");
    EXPECT_TRUE(IsTrackerSlot(0, "Tracker"));
    EXPECT_FALSE(IsTrackerSlot(1, "Tracker"));
    EXPECT_FALSE(IsTrackerSlot(16, "Tracker"));
}

// Each stage of the OEM name lookup, written by hand for slot 0 of driver key MSJSTICK.DRV.
std::string SettingsKey(const std::string& values) {
    return "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick"
           "\\MSJSTICK.DRV\\CurrentJoystickSettings]\n" +
           values;
}

std::string OemKey(const std::string& type, const std::string& values) {
    return "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties"
           "\\PrivateProperties\\Joystick\\OEM\\" +
           type + "]\n" + values;
}

const std::string kOemType = "\"Joystick1OEMName\"=\"HEADSET\"\n";
const std::string kOemName = "\"OEMName\"=\"HMD Tracker\"\n";

struct OemStageCase {
    const char* name;
    std::string registry;
    bool found;
};

class OemLookupStages : public ::testing::TestWithParam<OemStageCase> {};

TEST_P(OemLookupStages, EveryStageMustSucceed) {
    TestMachine machine;
    machine.Add({.slot = 0, .registered = false}).ExtraRegistry(GetParam().registry).Start();
    char name[kOemNameSize] = "unchanged";
    EXPECT_EQ(ReadSlotOemName(0, "MSJSTICK.DRV", name), GetParam().found);
    EXPECT_STREQ(name, GetParam().found ? "HMD Tracker" : "unchanged");
    EXPECT_EQ(IsTrackerSlot(0, "Tracker"), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, OemLookupStages,
    ::testing::Values(
        OemStageCase{"AllPresent", SettingsKey(kOemType) + OemKey("HEADSET", kOemName), true},
        OemStageCase{"NoSettingsKey", OemKey("HEADSET", kOemName), false},
        OemStageCase{
            "NoOemTypeValue",
            SettingsKey("\"Joystick2OEMName\"=\"HEADSET\"\n") + OemKey("HEADSET", kOemName), false},
        OemStageCase{"OemTypeKeyMissing", SettingsKey(kOemType) + OemKey("OTHER", kOemName), false},
        OemStageCase{"OemNameMissing",
                     SettingsKey(kOemType) + OemKey("HEADSET", "\"OEMCallout\"=\"HMD Tracker\"\n"),
                     false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

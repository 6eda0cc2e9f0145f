// Finding the tracker among the slots: the slot chosen, and what the user is asked or told.
#include "platform/headless/headless.h"
#include "tests/support/param_name.h"
#include "tests/support/test_machine.h"
#include "tracker/RegistryPaths.h"
#include "tracker/TrackerLink.h"

#include <cstring>
#include <gmock/gmock.h>

namespace {

const std::string kAsk = "Select HMD to configure: ";
const std::string kNoTracker =
    "NO Tracker: No HMD Tracker assigned \n See the Joystick configuration \n Icon in the "
    "control panel";

std::vector<TestSlot> Trackers(std::initializer_list<UINT> slots) {
    std::vector<TestSlot> trackers;
    for (UINT slot : slots) {
        trackers.push_back({.slot = slot});
    }
    return trackers;
}

struct DiscoveryCase {
    const char* name;
    std::vector<TestSlot> slots;
    std::vector<int> answers;
    UINT chosen;
    std::vector<std::string> boxes;  // "caption: text" of every box shown, in order
};

class Discovery : public ::testing::TestWithParam<DiscoveryCase> {};

TEST_P(Discovery, ChoosesSlotAndAsksInTurn) {
    const DiscoveryCase& c = GetParam();
    TestMachine machine;
    for (const TestSlot& slot : c.slots) {
        machine.Add(slot);
    }
    machine.Start();
    for (int answer : c.answers) {
        headless::AnswerBox(answer);
    }

    EXPECT_EQ(FindTrackerSlot(), c.chosen);
    std::vector<std::string> boxes;
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box.type, box.caption == "NO Tracker" ? MB_OK : MB_YESNO);
        EXPECT_EQ(box.owner, nullptr);  // nothing has the focus before the panel is shown
        boxes.push_back(box.caption + ": " + box.text);
    }
    EXPECT_THAT(boxes, ::testing::ElementsAreArray(c.boxes));
    EXPECT_EQ(headless::AnswersLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, Discovery,
    ::testing::Values(
        DiscoveryCase{"NoDevices", {}, {}, 0, {kNoTracker}},
        DiscoveryCase{"Slots0And5Yes", Trackers({0, 5}), {IDYES}, 5, {kAsk + "Joystick6"}},
        DiscoveryCase{"Slots0And5No", Trackers({0, 5}), {IDNO}, 0, {kAsk + "Joystick6"}},
        DiscoveryCase{"Slots1_4_9NoThenYes",
                      Trackers({1, 4, 9}),
                      {IDNO, IDYES},
                      9,
                      {kAsk + "Joystick5", kAsk + "Joystick10"}},
        DiscoveryCase{"Slots1_4_9YesAtOnce", Trackers({1, 4, 9}), {IDYES}, 4, {kAsk + "Joystick5"}},
        DiscoveryCase{"Slots0And15Yes", Trackers({0, 15}), {IDYES}, 15, {kAsk + "Joystick16"}},
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
        DiscoveryCase{
            "UnregisteredIsNoTracker", {{.slot = 0, .registered = false}}, {}, 0, {kNoTracker}}),
    kByName);

// Slot 0's OEM name: "Joystick1OEMName" names an OEM type key whose "OEMName" is the name, which
// must fit 256 bytes with its zero.
TEST(Discovery, OemNameIsReadInTwoStepsInsideItsBuffer) {
    const std::string settings = "\n[HKEY_LOCAL_MACHINE\\" + std::string(kSettings) + "]\n";
    const std::string oem = "\n[HKEY_LOCAL_MACHINE\\" + std::string(kOemKey);
    const std::string type = settings + "\"Joystick1OEMName\"=\"HEADSET\"\n";
    const std::string name = "\"OEMName\"=\"HMD Tracker\"\n";
    const auto raw = [](const std::string& bytes) {  // without a terminating zero
        return "\"OEMName\"=" + RegistryHex(bytes.data(), bytes.size()) + "\n";
    };
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"AllThere", type + oem + "HEADSET]\n" + name, true},
        {"NoSettingsKey", oem + "HEADSET]\n" + name, false},
        {"TypeOfSlot2Only",
         settings + "\"Joystick2OEMName\"=\"HEADSET\"\n" + oem + "HEADSET]\n" + name, false},
        {"NoTypeKey", type + oem + "OTHER]\n" + name, false},
        {"NoName", type + oem + "HEADSET]\n\"OEMCallout\"=\"HMD Tracker\"\n", false},
        {"Name255Bytes", type + oem + "HEADSET]\n" + raw(std::string(248, 'x') + "Tracker"), true},
        {"Name256Bytes", type + oem + "HEADSET]\n" + raw("Tracker" + std::string(249, 'x')), false},
    };
    for (const auto& [what, registry, found] : cases) {
        SCOPED_TRACE(what);
        TestMachine machine;
        machine.Add({.slot = 0, .registered = false}).ExtraRegistry(registry).Start();
        EXPECT_EQ(IsTrackerSlot(0, "Tracker"), found);
    }
}

// What joyGetNumDevs reports for joysticks.ini's [Slots] Count=: anything but 0..16 is all 16.
// A tracker at or above the count is no tracker.
TEST(DeviceCount, ReportedFromTheSlotsSetting) {
    const std::pair<const char*, UINT> cases[] = {
        {"0", 0}, {"3", 3},          {"4", 4},           {"17", 16},    {"-1", 16},
        {"", 16}, {"3 devices", 16}, {"4294967299", 16}, {nullptr, 16},
    };
    for (const auto& [count, reported] : cases) {
        SCOPED_TRACE(count != nullptr ? count : "no setting");
        TestMachine machine;
        machine.Add({.slot = 3});
        if (count != nullptr) {
            machine.DeviceCount(count);
        }
        machine.Start();
        EXPECT_EQ(joyGetNumDevs(), reported);
        EXPECT_EQ(IsTrackerSlot(3, "Tracker"), reported > 3);
        EXPECT_FALSE(IsTrackerSlot(16, "Tracker"));
    }
}

constexpr char kSettingsPrefix[] = "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\";

TEST(RegistryPaths, UnterminatedKeyNameCountsAs32Characters) {
    struct {
        char regKey[32];
        char after[8];
    } caps;
    std::memset(caps.regKey, 'K', sizeof caps.regKey);
    std::memcpy(caps.after, "garbage", 8);
    char path[kRegistryPathSize];
    ASSERT_TRUE(FormatJoystickSettingsPath(path, caps.regKey));
    EXPECT_EQ(std::string(path),
              kSettingsPrefix + std::string(32, 'K') + "\\CurrentJoystickSettings");
}

// The OEM type key path has 80 characters before the type: 431 more fill it with its zero.
TEST(RegistryPaths, OemTypeThatDoesNotFitIsRefused) {
    char path[kRegistryPathSize];
    const std::string fits(431, 'T');
    EXPECT_TRUE(FormatOemTypePath(path, fits.c_str()));
    EXPECT_TRUE(std::string(path).ends_with("\\OEM\\" + fits));
    EXPECT_FALSE(FormatOemTypePath(path, (fits + "T").c_str()));
}

}  // namespace

// Finding the tracker among the slots: which slot is chosen, what the user is asked or told.
#include "platform/emulated/emulated_machine.h"
#include "platform/headless/headless.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAreArray;

constexpr char kNoTrackerText[] =
    "No HMD Tracker assigned \n See the Joystick configuration \n Icon in the control panel";

struct DiscoveryCase {
    const char* name;
    std::vector<UINT> trackers;
    std::vector<int> answers;
    UINT expectedSlot;
    std::vector<std::string> questions;  // texts of the Yes/No boxes, in order
};

class Discovery : public ::testing::TestWithParam<DiscoveryCase> {};

TEST_P(Discovery, ChoosesSlotAndAsksInTurn) {
    const DiscoveryCase& c = GetParam();
    TestMachine machine;
    for (UINT slot : c.trackers) {
        machine.Add({.slot = slot});
    }
    machine.Start();
    for (int answer : c.answers) {
        headless::AnswerBox(answer);
    }

    EXPECT_EQ(FindTrackerSlot(), c.expectedSlot);

    std::vector<std::string> questions;
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box.caption, "Select HMD to configure");
        EXPECT_EQ(box.type, MB_YESNO);
        questions.push_back(box.text);
    }
    EXPECT_THAT(questions, ElementsAreArray(c.questions));
    EXPECT_EQ(headless::AnswersLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, Discovery,
    ::testing::Values(
        DiscoveryCase{"OnlySlot3", {3}, {}, 3, {}},
        DiscoveryCase{"Slots0And5Yes", {0, 5}, {IDYES}, 5, {"Joystick6"}},
        DiscoveryCase{"Slots0And5No", {0, 5}, {IDNO}, 0, {"Joystick6"}},
        DiscoveryCase{
            "Slots1_4_9NoThenYes", {1, 4, 9}, {IDNO, IDYES}, 9, {"Joystick5", "Joystick10"}},
        DiscoveryCase{"Slots1_4_9YesAtOnce", {1, 4, 9}, {IDYES}, 4, {"Joystick5"}},
        DiscoveryCase{"LastSlot", {15}, {}, 15, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DiscoveryNotice, NoDevicesShowsNoticeOnceAndGivesSlot0) {
    TestMachine machine;
    machine.Start();

    EXPECT_EQ(FindTrackerSlot(), 0u);

    ASSERT_EQ(headless::Boxes().size(), 1u);
    const headless::ShownBox& notice = headless::Boxes()[0];
    EXPECT_EQ(notice.caption, "NO Tracker");
    EXPECT_EQ(notice.text, kNoTrackerText);
    EXPECT_EQ(notice.type, MB_OK);
    EXPECT_EQ(notice.owner, nullptr);
}

TEST(DiscoveryNotice, PlainJoysticksAreNoTrackers) {
    TestMachine machine;
    machine.Add({.slot = 0, .device = "Joystick", .oemName = "Gamepad"}).Start();

    EXPECT_EQ(FindTrackerSlot(), 0u);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_EQ(headless::Boxes()[0].caption, "NO Tracker");
}

struct OemCase {
    const char* name;
    std::string oemName;
    bool tracker;
};

class OemName : public ::testing::TestWithParam<OemCase> {};

TEST_P(OemName, MatchesTrackerCaseSensitively) {
    TestMachine machine;
    machine.Add({.slot = 2, .oemName = GetParam().oemName}).Start();
    EXPECT_EQ(IsTrackerSlot(2, "Tracker"), GetParam().tracker);
}

INSTANTIATE_TEST_SUITE_P(Names, OemName,
                         ::testing::Values(OemCase{"HmdTracker", "HMD Tracker", true},
                                           OemCase{"LowerCase", "HMD tracker", false},
                                           OemCase{"AtStart", "Tracker 2", true},
                                           OemCase{"Unrelated", "Flight Stick", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The slot's OEM name value written by hand as raw bytes.
std::string OemNameValue(UINT slot, const std::string& bytes) {
    return "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties"
           "\\PrivateProperties\\Joystick\\OEM\\OEM_TYPE_" +
           std::to_string(slot + 1) + "]\n\"OEMName\"=" + RegistryHex(bytes.data(), bytes.size()) +
           "\n";
}

TEST(OemNameValue, WithoutTerminatingZeroIsTerminatedInsideTheBuffer) {
    TestMachine machine;
    machine.Add({.slot = 1, .oemName = "placeholder"})
        .ExtraRegistry(OemNameValue(1, "HMD Tracker"))
        .Start();
    char name[kOemNameSize];
    ASSERT_TRUE(ReadSlotOemName(1, "MSJSTICK.DRV", name));
    EXPECT_STREQ(name, "HMD Tracker");
    EXPECT_TRUE(IsTrackerSlot(1, "Tracker"));
}

TEST(OemNameValue, OfBufferSizeOrMoreCannotBeRead) {
    // 255 bytes fit with the terminator the buffer adds; 256 do not.
    const std::string fits = std::string(248, 'x') + "Tracker";
    const std::string tooLong = std::string(249, 'x') + "Tracker";
    ASSERT_EQ(fits.size(), 255u);
    TestMachine machine;
    machine.Add({.slot = 0})
        .Add({.slot = 1})
        .ExtraRegistry(OemNameValue(0, fits) + OemNameValue(1, tooLong))
        .Start();
    EXPECT_TRUE(IsTrackerSlot(0, "Tracker"));
    EXPECT_FALSE(IsTrackerSlot(1, "Tracker"));
}

TEST(OemNameValue, UnreadableNameMeansNoTracker) {
    TestMachine machine;
    machine.Add({.slot = 0, .registered = false})
        .Add({.slot = 1, .regKey = "LOST.DRV", .registered = false})
        .ExtraRegistry(
            "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources"
            "\\Joystick\\LOST.DRV\\CurrentJoystickSettings]\n\"Joystick2OEMName\"=\"MISSING\"\n")
        .Start();
    EXPECT_FALSE(IsTrackerSlot(0, "Tracker"));  // no settings key for its driver key
    EXPECT_FALSE(IsTrackerSlot(1, "Tracker"));  // its OEM type key does not exist
    EXPECT_EQ(FindTrackerSlot(), 0u);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_EQ(headless::Boxes()[0].caption, "NO Tracker");
}

TEST(SlotTest, OutOfRangeSlotsAreNoTrackers) {
    TestMachine machine;
    machine.Add({.slot = 0}).Start();
    EXPECT_FALSE(IsTrackerSlot(16, "Tracker"));
    EXPECT_FALSE(IsTrackerSlot(0xFFFFFFFFu, "Tracker"));
}

}  // namespace

// The slot test's first step: a slot at or above the platform's device count is no tracker,
// whatever its device and registry say. The machine reports joysticks.ini's [Slots] Count=.
#include "platform/headless/headless.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct CountCase {
    const char* name;
    const char* count;  // the text of Count=
    UINT reported;      // what joyGetNumDevs gives
    bool slot3Found;    // a tracker in slot 3 is found
};

class DeviceCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(DeviceCount, SlotsFromTheCountOnAreNoTrackers) {
    TestMachine machine;
    machine.Add({.slot = 3}).DeviceCount(GetParam().count).Start();
    headless::AnswerBox(IDOK);  // the "NO Tracker" notice, when it comes

    EXPECT_EQ(joyGetNumDevs(), GetParam().reported);
    EXPECT_EQ(IsTrackerSlot(3, "Tracker"), GetParam().slot3Found);
    EXPECT_EQ(FindTrackerSlot(), GetParam().slot3Found ? 3u : 0u);
    EXPECT_EQ(headless::Boxes().size(), GetParam().slot3Found ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(SlotsCount, DeviceCount,
                         ::testing::Values(CountCase{"ThreeHidesSlot3", "3", 3, false},
                                           CountCase{"FourShowsSlot3", "4", 4, true},
                                           CountCase{"NoDevices", "0", 0, false},
                                           CountCase{"All16", "16", 16, true},
                                           // anything else counts as all sixteen slots
                                           CountCase{"AboveTheSlots", "17", 16, true},
                                           CountCase{"Negative", "-1", 16, true},
                                           CountCase{"TrailingText", "3 devices", 16, true},
                                           CountCase{"Empty", "", 16, true},
                                           CountCase{"Huge", "4294967299", 16, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceCountDefault, WithoutTheSettingAllSixteenSlots) {
    TestMachine machine;
    machine.Add({.slot = 15}).Start();
    EXPECT_EQ(joyGetNumDevs(), 16u);
    EXPECT_TRUE(IsTrackerSlot(15, "Tracker"));
}

}  // namespace

#include "platform/emulated/joystick_slots.h"

#include "platform/emulated/ini_text.h"

#include <gtest/gtest.h>

namespace emulated {
namespace {

struct SlotCase {
    const char* name;
    std::string joysticksIni;
    UINT slot;
    SlotDevice device;
};

class SlotDescriptions : public ::testing::TestWithParam<SlotCase> {};

TEST_P(SlotDescriptions, FollowTheSlotsSection) {
    const Parsed<IniDocument> parsed = ParseIniText(GetParam().joysticksIni);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(DescribeSlot(parsed.value(), GetParam().slot), GetParam().device);
}

constexpr DeviceKind kTracker = DeviceKind::kHeadTracker;

INSTANTIATE_TEST_SUITE_P(
    Table, SlotDescriptions,
    ::testing::Values(SlotCase{"NoSection", "[Joystick2]\nDevice=HeadTracker\n", 0, {}},
                      SlotCase{"SectionOneIsSlotZero",
                               "[Joystick1]\nDevice=HeadTracker\nRegKey=X.DRV\n",
                               0,
                               {kTracker, "X.DRV", false, false}},
                      SlotCase{"LastSlot",
                               "[joystick16]\ndevice = joystick\n",
                               15,
                               {DeviceKind::kJoystick, "MSJSTICK.DRV", false, false}},
                      SlotCase{"StateBits",
                               "[Joystick1]\nDevice=HeadTracker\nStereoMode=1\nPowerSaver=1\n",
                               0,
                               {kTracker, "MSJSTICK.DRV", true, true}},
                      SlotCase{"OnlyOneIsOn",
                               "[Joystick1]\nDevice=HeadTracker\nStereoMode=yes\nPowerSaver=2\n",
                               0,
                               {kTracker, "MSJSTICK.DRV", false, false}},
                      SlotCase{"EmptyRegKey",
                               "[Joystick1]\nDevice=HeadTracker\nRegKey=\n",
                               0,
                               {kTracker, "MSJSTICK.DRV", false, false}},
                      SlotCase{"UnknownDevice", "[Joystick1]\nDevice=Wheel\nRegKey=X\n", 0, {}},
                      SlotCase{"NoDeviceKey", "[Joystick1]\nRegKey=X\n", 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlotNames, NumberTheSlotFromOne) {
    EXPECT_EQ(SlotSectionName(0), "Joystick1");
    EXPECT_EQ(ConfigurationValueName(9), "Joystick10Configuration");
    EXPECT_EQ(OemNameValueName(15), "Joystick16OEMName");
    EXPECT_EQ(TrackerStatusWord({kTracker, "", true, false}), 1u);
    EXPECT_EQ(TrackerStatusWord({kTracker, "", false, true}), 2u);
}

}  // namespace
}  // namespace emulated

#include "platform/emulated/joystick_config.h"

#include "platform/emulated/head_sway.h"
#include "platform/emulated/seed.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace emulated {
namespace {

TEST(JoystickConfigRecord, StoresEachFieldLittleEndianAtItsOffset) {
    JOYREGHWCONFIG config{};
    config.hwv.jrvHardware.jpMin.dwX = 0x01020304;
    config.hwv.jrvHardware.jpMax.dwX = 1535;
    config.hwv.jrvHardware.jpCenter.dwX = 1024;
    config.dwType = 0xA0B0C0D0;
    const std::vector<BYTE> bytes = EncodeJoystickConfig(config);
    ASSERT_EQ(bytes.size(), 112u);
    EXPECT_EQ((std::vector<BYTE>(bytes.begin() + 12, bytes.begin() + 16)),
              (std::vector<BYTE>{4, 3, 2, 1}));
    EXPECT_EQ(bytes[36], 0xFF);
    EXPECT_EQ(bytes[37], 0x05);
    EXPECT_EQ(bytes[61], 0x04);
    EXPECT_EQ(bytes[104], 0xD0);
    EXPECT_EQ(bytes[107], 0xA0);

    const std::optional<JOYREGHWCONFIG> decoded = DecodeJoystickConfig(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(EncodeJoystickConfig(*decoded), bytes);
}

TEST(JoystickConfigRecord, OnlyExactly112BytesAreARecord) {
    EXPECT_FALSE(DecodeJoystickConfig(std::vector<BYTE>(111)));
    EXPECT_FALSE(DecodeJoystickConfig(std::vector<BYTE>(113)));
    EXPECT_FALSE(DecodeJoystickConfig({}));
}

JOYREGHWCONFIG RecordWithX(DWORD min, DWORD center, DWORD max) {
    JOYREGHWCONFIG config{};
    config.hwv.jrvHardware.jpMin.dwX = min;
    config.hwv.jrvHardware.jpCenter.dwX = center;
    config.hwv.jrvHardware.jpMax.dwX = max;
    return config;
}

TEST(JoystickConfigRanges, FallBackToTheFullRangeWhenMissingOrDegenerate) {
    EXPECT_EQ(RangesFromConfig(std::nullopt), AxisRanges{});
    EXPECT_EQ(RangesFromConfig(JOYREGHWCONFIG{}).x, kFullAxisRange) << "an all-zero record";
    EXPECT_EQ(RangesFromConfig(RecordWithX(1023, 1024, 1023)).x, kFullAxisRange);
    EXPECT_EQ(RangesFromConfig(RecordWithX(1200, 1024, 100)).x, kFullAxisRange);
    EXPECT_EQ(RangesFromConfig(RecordWithX(512, 1024, 1535)).x, (AxisRange{512, 1024, 1535}));
    EXPECT_EQ(RangesFromConfig(RecordWithX(512, 0, 1536)).x, (AxisRange{512, 1024, 1536}))
        << "a centre outside the range moves to its middle";
    EXPECT_EQ(RangesFromConfig(RecordWithX(0xFFFFFFF0, 5, 0xFFFFFFFF)).x,
              (AxisRange{4294967280.0, 4294967287.5, 4294967295.0}));
}

struct ReportCase {
    double reading;
    AxisRange range;
    DWORD reported;
};

class ReportAxisCases : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportAxisCases, MapMinCentreMaxOntoTheAxis) {
    EXPECT_EQ(ReportAxis(GetParam().reading, GetParam().range), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportAxisCases,
    ::testing::Values(
        ReportCase{1024, kFullAxisRange, 32768}, ReportCase{0, kFullAxisRange, 0},
        ReportCase{2047, kFullAxisRange, 65535}, ReportCase{512, kFullAxisRange, 16384},
        ReportCase{-50, kFullAxisRange, 0}, ReportCase{5000, kFullAxisRange, 65535},
        ReportCase{1024, {853, 1024, 1194}, 32768}, ReportCase{853, {853, 1024, 1194}, 0},
        ReportCase{1194, {853, 1024, 1194}, 65535}, ReportCase{800, {853, 1024, 1194}, 0},
        ReportCase{NAN, kFullAxisRange, 32768}, ReportCase{INFINITY, kFullAxisRange, 65535},
        ReportCase{-INFINITY, kFullAxisRange, 0}));

TEST(JoystickConfigRanges, TheSameHeadMovementSwingsANarrowerRangeFurther) {
    const double moved = 1024 + 20;
    const DWORD full = ReportAxis(moved, kFullAxisRange);
    const DWORD narrow = ReportAxis(moved, RangesFromConfig(SeedJoystickConfig()).y);
    EXPECT_GT(full, 32768u);
    EXPECT_GT(narrow - 32768, 5 * (full - 32768));
}

TEST(HeadSway, StaysSmallSmoothAndAlive) {
    double previousYaw = RestingHeadSway(0).yaw;
    double lowest = 1024, highest = 1024;
    bool pitchMoved = false, rollMoved = false;
    for (int step = 1; step <= 60 * 50; ++step) {  // a minute at the readout's 20 ms
        const HeadAttitude head = RestingHeadSway(step * 0.02);
        EXPECT_LT(std::abs(head.yaw - previousYaw), 0.5) << "no jumps between two readings";
        for (double axis : {head.yaw, head.pitch, head.roll}) {
            lowest = std::min(lowest, axis);
            highest = std::max(highest, axis);
        }
        pitchMoved = pitchMoved || std::abs(head.pitch - RestingHeadSway(0).pitch) > 3;
        rollMoved = rollMoved || std::abs(head.roll - RestingHeadSway(0).roll) > 3;
        previousYaw = head.yaw;
    }
    EXPECT_GE(lowest, 1024 - 8);
    EXPECT_LE(highest, 1024 + 8);
    EXPECT_LT(lowest, 1024 - 5);
    EXPECT_TRUE(pitchMoved);
    EXPECT_TRUE(rollMoved);
    EXPECT_EQ(RestingHeadSway(NAN).yaw, RestingHeadSway(0).yaw);
}

}  // namespace
}  // namespace emulated

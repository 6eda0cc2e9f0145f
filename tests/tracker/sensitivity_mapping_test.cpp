// Bar position <-> axis range and the degrees shown, including stored values far out of range.
#include "tracker/TrackerLink.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

// A number as a test name may hold it: "Minus353" for -353.
std::string NameOf(long long value) {
    return value < 0 ? "Minus" + std::to_string(-value) : std::to_string(value);
}

struct MappingCase {
    SensitivityPosition position;
    DWORD min;
    DWORD max;
};

class PositionToRangeValues : public ::testing::TestWithParam<MappingCase> {};

TEST_P(PositionToRangeValues, WorkedValues) {
    const AxisRange range = PositionToRange(GetParam().position);
    EXPECT_EQ(range.min, GetParam().min);
    EXPECT_EQ(range.max, GetParam().max);
    EXPECT_EQ(range.center, 1024u);
}

INSTANTIATE_TEST_SUITE_P(Worked, PositionToRangeValues,
                         ::testing::Values(MappingCase{2047, 0, 2047}, MappingCase{1023, 512, 1535},
                                           MappingCase{341, 853, 1194}, MappingCase{0, 1023, 1023},
                                           MappingCase{1000, 523, 1523},
                                           MappingCase{-353, 1200, 847}),
                         [](const auto& info) { return "Position" + NameOf(info.param.position); });

struct StoredCase {
    DWORD min;
    SensitivityPosition position;
};

class RangeToPositionValues : public ::testing::TestWithParam<StoredCase> {};

TEST_P(RangeToPositionValues, FromStoredMinimum) {
    EXPECT_EQ(RangeToPosition(GetParam().min), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, RangeToPositionValues,
    ::testing::Values(StoredCase{0, 2047}, StoredCase{512, 1023}, StoredCase{853, 341},
                      StoredCase{1200, -353}, StoredCase{1021, 5},
                      // 2047 - 2 * min wraps past INT_MIN to a large positive value: capped.
                      StoredCase{0x80000000u, 2047}, StoredCase{0xFFFFFFFFu, 2047},
                      StoredCase{0x400003FFu, INT_MIN + 1}, StoredCase{0x80000400u, -1}),
    [](const auto& info) { return "Min" + NameOf(info.param.min); });

TEST(RoundTrip, EvenPositionsComeBackOneHigherOddOnesUnchanged) {
    EXPECT_EQ(RangeToPosition(PositionToRange(1000).min), 1001);
    EXPECT_EQ(RangeToPosition(PositionToRange(1001).min), 1001);
    for (SensitivityPosition p = 1; p <= 2047; p += 2) {
        ASSERT_EQ(RangeToPosition(PositionToRange(p).min), p) << p;
    }
}

TEST(RoundTrip, StoredMinimumFarOutOfRangeIsWrittenBackAsRead) {
    const DWORD stored = 0x400003FFu;  // gives INT_MIN + 1
    const SensitivityPosition p = RangeToPosition(stored);
    EXPECT_EQ(p, INT_MIN + 1);
    EXPECT_EQ(PositionToRange(p).min, stored);
}

struct DegreesCase {
    SensitivityPosition position;
    int degrees;
};

class Degrees : public ::testing::TestWithParam<DegreesCase> {};

TEST_P(Degrees, WidthOfTheRangeInDegrees) {
    EXPECT_EQ(SensitivityToDegrees(GetParam().position), GetParam().degrees);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Degrees,
    ::testing::Values(DegreesCase{2047, 359}, DegreesCase{2046, 359}, DegreesCase{1023, 179},
                      DegreesCase{341, 59}, DegreesCase{6, 1}, DegreesCase{5, 0}, DegreesCase{0, 0},
                      DegreesCase{-353, 0},
                      // the product wraps around in 32 bits: 6000000 * 360 turns negative
                      DegreesCase{INT_MAX, 0}, DegreesCase{INT_MIN, 0}, DegreesCase{6000000, 0}),
    [](const auto& info) { return "Position" + NameOf(info.param.position); });

}  // namespace

// Records to joydev corrections and evdev ranges, checked through the kernel's own formula.

#include "tests/platform/linux_input/kernel_formula.h"
#include "tests/support/param_name.h"

namespace {

using namespace linux_input;

// Stored min, centre and max; what is used of them. Equal or crossed ends, or ends beyond the
// scale, give the full range; a centre on or outside an end moves to the middle.
TEST(SoundRecord, MakesTheStoredAxisUsable) {
    for (const auto& [stored, used] :
         {std::pair{HardwareRange{512, 1024, 1534}, HardwareRange{512, 1024, 1534}},
          {{1023, 1024, 1023}, {0, 1024, 2047}},
          {{1500, 1024, 500}, {0, 1024, 2047}},
          {{600, 100, 1400}, {600, 1000, 1400}},
          {{600, 600, 1400}, {600, 1000, 1400}},
          {{600, 1400, 1400}, {600, 1000, 1400}},
          {{3000, 3500, 4000}, {0, 1024, 2047}},
          {{1000, 1024, 0xFFFFFFFF}, {1000, 1024, 2047}},
          {{10, 10, 11}, {10, 10, 11}}}) {
        EXPECT_EQ(SoundHardwareRange(stored.min, stored.center, stored.max), used) << stored.min;
    }
}

struct MappingCase {
    const char* name;
    RawRange device;
    HardwareRange record;
    std::int64_t shift;
    RawRange evdev;  // the evdev range expected, which is also where joydev reads full scale
};

class Mapping : public ::testing::TestWithParam<MappingCase> {};

// Every raw value the device can report reads through the kernel's formula without wrapping,
// never decreasing as the raw value grows.
void ExpectNoWrap(const BrokenLine& line, RawRange device) {
    const std::int64_t step =
        std::max<std::int64_t>(1, (std::int64_t{device.max} - device.min) / 4093);
    std::int32_t previous = -32767;
    for (std::int64_t value = device.min; value <= device.max; value += step) {
        const std::int32_t read = KernelCorrect(static_cast<std::int32_t>(value), line);
        EXPECT_GE(read, previous) << value;
        previous = read;
    }
}

// The record's min, centre and max read -32767, 0 and +32767 through joydev; evdev gets the range.
TEST_P(Mapping, MinCentreAndMaxReadFullScale) {
    const MappingCase& c = GetParam();
    const DeviceRange own{c.device, 0};
    const AxisCalibration calibration = CalibrationFor(c.record, own, c.shift);
    const BrokenLine& line = calibration.correction;
    EXPECT_EQ(calibration.evdev, (DeviceRange{c.evdev, 0}));
    EXPECT_EQ(KernelCorrect(c.evdev.min, line), -32767);
    const std::int64_t centre = RawCentre(c.record, own) + c.shift;
    EXPECT_EQ(KernelCorrect(static_cast<std::int32_t>(centre), line), 0);
    EXPECT_EQ(KernelCorrect(c.evdev.max, line), 32767);
    ExpectNoWrap(line, c.device);
    // Only the device's own calibration reads as untouched at the next start.
    EXPECT_EQ(IsAsPluggedIn(calibration), c.evdev == c.device) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Mapping,
    ::testing::Values(
        MappingCase{"FullOnHardwareScale", {0, 2047}, {0, 1024, 2047}, 0, {0, 2047}},
        MappingCase{"LineUpFromDefault", {0, 2047}, {512, 1024, 1534}, 0, {512, 1534}},
        MappingCase{"OddRangeFull", {-512, 511}, {0, 1024, 2047}, 0, {-512, 511}},
        MappingCase{"OddRangeNarrow", {-512, 511}, {512, 1024, 1534}, 0, {-256, 255}},
        MappingCase{"SixteenBits", {0, 65535}, {512, 1024, 1535}, 0, {16392, 49143}},
        MappingCase{"SignedSixteenBits", {-32768, 32767}, {512, 1024, 1535}, 0, {-16376, 16375}},
        MappingCase{"Shifted", {0, 2047}, {512, 1024, 1534}, 100, {612, 1634}},
        MappingCase{"FullShifted", {0, 2047}, {0, 1024, 2047}, 100, {100, 2147}},
        MappingCase{"ShiftedBeyondTheDevice", {0, 1023}, {0, 512, 2047}, -200, {-200, 823}},
        MappingCase{"NarrowedAtTheBottomOnly", {0, 2047}, {512, 1024, 2047}, 0, {512, 2047}},
        // 2^29 over the span above the centre leaves a remainder above 2^14: rounded down, the
        // slope would stop one short of full scale.
        MappingCase{"SlopeRoundedUp", {0, 65535}, {512, 1024, 2044}, 0, {16392, 65439}},
        // joydev's slope here is 1: marked as changed, it must still rise.
        MappingCase{"SlopeOfOneShifted", {0, 1 << 30}, {0, 1024, 2047}, 1, {1, (1 << 30) + 1}},
        // The narrow line here is exactly the one joydev would compute for its range.
        MappingCase{"NarrowLikeAPlugIn", {0, 4094}, {512, 1024, 1536}, 0, {1024, 3072}}),
    kByName);

// A narrower range keeps the device's dead zone (flat 64) in proportion. That the full range gives
// the plug-in calibration back, dead zone included, the VM test shows against the kernel itself.
TEST(DeadZone, NarrowerRangeScalesIt) {
    const DeviceRange own{{0, 2047}, 64};
    const AxisCalibration narrow = CalibrationFor({512, 1024, 1534}, own, 0);
    EXPECT_EQ(narrow.evdev, (DeviceRange{{512, 1534}, 32}));  // 64 * 1022 / 2047
    EXPECT_EQ(narrow.correction.coef[0], 1024 - 32);
    EXPECT_EQ(narrow.correction.coef[1], 1024 + 32);
    EXPECT_EQ(KernelCorrect(1024 + 32, narrow.correction), 0);
    EXPECT_EQ(KernelCorrect(512, narrow.correction), -32767);
    EXPECT_EQ(KernelCorrect(1534, narrow.correction), 32767);

    // A dead zone wider than the narrowed range leaves a raw value on each side of it.
    const AxisCalibration wide = CalibrationFor({512, 1024, 1534}, {{0, 2047}, 1500}, 0);
    EXPECT_EQ(wide.evdev.flat, 509);
}

// joydev's own arithmetic, wrapping as the kernel's int does.
TEST(PlugIn, CorrectionAsJoydevComputesIt) {
    for (const auto& [range, line] :
         {std::pair{DeviceRange{{-512, 511}, 0}, BrokenLine{{0, 0, 1050628, 1050628}}},
          std::pair{DeviceRange{{5, 5}, 0}, BrokenLine{}},  // left uncorrected
          std::pair{DeviceRange{{0, 2}, 1}, BrokenLine{{0, 2, -536870912, -536870912}}},
          std::pair{DeviceRange{{1, 2147483647}, 0},
                    BrokenLine{{-1073741824, -1073741824, 0, 0}}}}) {
        EXPECT_EQ(PlugInCorrection(range), line) << range.range.min;
    }
}

TEST(Mapping, RoundsToTheNearestRawValue) {
    for (const auto& [hardware, device, raw] :
         {std::tuple{0u, RawRange{-512, 511}, std::int64_t{-512}},
          std::tuple{1024u, RawRange{-512, 511}, std::int64_t{0}},  // 511.75 above the min
          std::tuple{2047u, RawRange{-512, 511}, std::int64_t{511}},
          std::tuple{1u, RawRange{0, 65535}, std::int64_t{32}},  // 32.01
          std::tuple{2047u, RawRange{-2147483647 - 1, 2147483647}, std::int64_t{2147483647}},
          std::tuple{1024u, RawRange{100, 0}, std::int64_t{50}}}) {  // a reversed device
        EXPECT_EQ(RawOf(hardware, device), raw) << hardware;
    }
}

// A range much narrower than the device's caps each slope so the farthest raw value fits 32 bits:
// joydev stops short of full scale at the record's ends, reaches it further out, never wraps.
// Pitch's default on the hardware scale and on 16 bits; a narrow range on 16 bits and on an odd
// one.
TEST(CappedMapping, StopsShortOfFullScaleWithoutWrapping) {
    for (const auto& [device, record] :
         {std::pair{RawRange{0, 2047}, HardwareRange{853, 1024, 1194}},
          {{-32768, 32767}, {853, 1024, 1194}},
          {{0, 65535}, {1000, 1024, 1048}},
          {{-512, 511}, {1000, 1024, 1048}}}) {
        SCOPED_TRACE(device.min);
        const AxisCalibration calibration = CalibrationFor(record, {device, 0}, 0);
        const BrokenLine& line = calibration.correction;
        const RawRange& range = calibration.evdev.range;
        EXPECT_EQ(range, (RawRange{static_cast<std::int32_t>(RawOf(record.min, device)),
                                   static_cast<std::int32_t>(RawOf(record.max, device))}));
        const std::int32_t atMin = KernelCorrect(range.min, line);
        const std::int32_t atMax = KernelCorrect(range.max, line);
        EXPECT_TRUE(-32767 < atMin && atMin < 0 && 0 < atMax && atMax < 32767)
            << atMin << " " << atMax;
        EXPECT_EQ(KernelCorrect(device.min, line), -32767);
        EXPECT_EQ(KernelCorrect(device.max, line), 32767);
        ExpectNoWrap(line, device);
    }
}

TEST(Mapping, EvdevRangeStaysWithin32Bits) {
    const AxisCalibration far =
        CalibrationFor({0, 1024, 2047}, {{-2147483647 - 1, 2147483647}, 0}, std::int64_t{1} << 32);
    EXPECT_EQ(far.evdev.range, (RawRange{2147483647, 2147483647}));
}

TEST(ReportScale, JoydevRangeSpansTheInterfaceScale) {
    for (const auto& [joydev, reported] :
         {std::pair{-32767, 0u}, std::pair{0, 32768u}, std::pair{32767, 65535u},
          std::pair{-32768, 0u}, std::pair{-1, 32766u}, std::pair{16384, 49152u}}) {
        EXPECT_EQ(ReportScale(joydev), reported) << joydev;
    }
}

}  // namespace

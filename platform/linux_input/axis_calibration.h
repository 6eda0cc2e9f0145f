// The arithmetic of calibrating a kernel joystick axis from a configuration record: the record's
// hardware scale 0..2047 mapped onto the device's own raw range, the joydev broken-line
// correction and the evdev range and dead zone that make that range read full scale, and the
// calibration joydev gives a device when it is plugged in.
#pragma once

#include <cstdint>

namespace linux_input {

inline constexpr std::uint32_t kHardwareMax = 2047;
inline constexpr std::int32_t kJoydevMax = 32767;

// An axis range in the device's raw units, as evdev reports it.
struct RawRange {
    std::int32_t min = 0;
    std::int32_t max = 0;

    bool operator==(const RawRange&) const = default;
};

// An axis's own range and dead zone (evdev's `flat`), as the device reports them when plugged in.
struct DeviceRange {
    RawRange range;
    std::int32_t flat = 0;

    bool operator==(const DeviceRange&) const = default;
};

// One axis of a configuration record on the hardware scale.
struct HardwareRange {
    std::uint32_t min = 0;
    std::uint32_t center = 1024;
    std::uint32_t max = kHardwareMax;

    bool operator==(const HardwareRange&) const = default;
};

inline constexpr HardwareRange kFullHardwareRange{};

// A record's axis made usable: values beyond 2047 count as 2047; a max not above the min gives
// the full range; a centre not strictly inside the range moves to its middle.
HardwareRange SoundHardwareRange(std::uint32_t min, std::uint32_t center, std::uint32_t max);

// The raw value of a hardware-scale value: device.min + value * (device.max - device.min) / 2047,
// rounded to the nearest.
std::int64_t RawOf(std::uint32_t hardware, RawRange device);

// joydev's broken-line correction (JS_CORR_BROKEN): values between coef[0] and coef[1] read 0
// (the dead zone); below and above, coef[2] and coef[3] are the slopes in units of 2^-14.
struct BrokenLine {
    std::int32_t coef[4] = {};

    bool operator==(const BrokenLine&) const = default;
};

// What the kernel holds for one axis: the evdev range and dead zone, and joydev's correction.
struct AxisCalibration {
    DeviceRange evdev;
    BrokenLine correction;

    bool operator==(const AxisCalibration&) const = default;
};

// The correction joydev computes from the evdev range and dead zone when a device is plugged in,
// in the kernel's own 32-bit arithmetic.
BrokenLine PlugInCorrection(const DeviceRange& evdev);

// The axis holds the calibration it had when plugged in, or one indistinguishable from it.
bool IsAsPluggedIn(const AxisCalibration& now);

// The raw value a record's axis centres on: the middle of the device's range (as joydev takes it)
// for the full range, else the record's centre.
std::int64_t RawCentre(const HardwareRange& record, const DeviceRange& own);

// The calibration of a record's axis on a device whose own range is `own`, moved by `shift` (the
// zero offset). The full range gives the device's own calibration back exactly (moved by the
// shift); a narrower one maps the record's min, centre and max onto -32767, 0 and +32767 with the
// device's dead zone scaled to the narrower range. joydev multiplies in 32 bits, so each slope is
// capped where the farthest raw value the device can report would overflow: a range much
// narrower than the device's then stops short of full scale in joydev, never reading the wrong
// sign. Any calibration other than the device's own is never mistaken for an untouched one
// (IsAsPluggedIn is false for it).
AxisCalibration CalibrationFor(const HardwareRange& record, const DeviceRange& own,
                               std::int64_t shift);

// A joydev value -32767..32767 on the joystick interface's scale 0..65535 (0 reads 32768).
std::uint32_t ReportScale(std::int32_t joydevValue);

}  // namespace linux_input

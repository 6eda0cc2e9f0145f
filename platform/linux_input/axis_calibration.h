// The arithmetic of calibrating a kernel joystick axis from a configuration record: the record's
// hardware scale 0..2047 mapped onto the device's own raw range, the joydev broken-line
// correction that makes the range read -32767..32767, and the evdev axis range.
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

// A calibration in raw units, moved by `shift` (the zero offset); wider than 32 bits so that a
// shifted range beyond the device's own stays exact.
struct RawCalibration {
    std::int64_t min = 0;
    std::int64_t center = 0;
    std::int64_t max = 0;

    bool operator==(const RawCalibration&) const = default;
};

RawCalibration ToRaw(const HardwareRange& range, RawRange device, std::int64_t shift);

// joydev's broken-line correction (JS_CORR_BROKEN): coef[0] = coef[1] = the centre, coef[2] and
// coef[3] the slopes below and above it in units of 2^-14. The kernel multiplies in 32 bits,
// so each slope is capped where the farthest raw value the device can report would overflow;
// a range much narrower than the device's then stops short of full scale in joydev.
struct BrokenLine {
    std::int32_t coef[4] = {};

    bool operator==(const BrokenLine&) const = default;
};

BrokenLine BrokenLineFor(const RawCalibration& calibration, RawRange device);

// The evdev range of a calibration, its ends limited to 32 bits.
RawRange EvdevRangeFor(const RawCalibration& calibration);

// A joydev value -32767..32767 on the joystick interface's scale 0..65535 (0 reads 32768).
std::uint32_t ReportScale(std::int32_t joydevValue);

}  // namespace linux_input

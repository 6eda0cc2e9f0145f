#include "platform/linux_input/axis_calibration.h"

#include <algorithm>
#include <limits>

namespace linux_input {

namespace {

constexpr std::int64_t kSlopeUnit = std::int64_t{1} << 29;  // full scale over a span of 1
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// Rounded up, so that the ends of the range reach full scale before the kernel's clamp.
std::int64_t SlopeFor(std::int64_t span, std::int64_t farthestReach) {
    span = std::max<std::int64_t>(span, 1);
    std::int64_t slope = (kSlopeUnit + span - 1) / span;
    if (farthestReach > 0) {
        slope = std::min(slope, kInt32Max / farthestReach);
    }
    return slope;
}

std::int32_t To32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, kInt32Min, kInt32Max));
}

}  // namespace

HardwareRange SoundHardwareRange(std::uint32_t min, std::uint32_t center, std::uint32_t max) {
    min = std::min(min, kHardwareMax);
    center = std::min(center, kHardwareMax);
    max = std::min(max, kHardwareMax);
    if (max <= min) {
        return kFullHardwareRange;
    }
    if (center <= min || center >= max) {
        center = min + (max - min) / 2;
    }
    return HardwareRange{min, center, max};
}

std::int64_t RawOf(std::uint32_t hardware, RawRange device) {
    const std::int64_t span = std::int64_t{device.max} - device.min;
    const std::int64_t scaled = std::int64_t{hardware} * span;
    // Rounded half away from zero; a device whose max is below its min gives a negative span.
    const std::int64_t rounded = scaled >= 0 ? (2 * scaled + kHardwareMax) / (2 * kHardwareMax)
                                             : -((-2 * scaled + kHardwareMax) / (2 * kHardwareMax));
    return device.min + rounded;
}

RawCalibration ToRaw(const HardwareRange& range, RawRange device, std::int64_t shift) {
    return RawCalibration{RawOf(range.min, device) + shift, RawOf(range.center, device) + shift,
                          RawOf(range.max, device) + shift};
}

BrokenLine BrokenLineFor(const RawCalibration& calibration, RawRange device) {
    const std::int64_t low = std::min<std::int64_t>(device.min, device.max);
    const std::int64_t high = std::max<std::int64_t>(device.min, device.max);
    const std::int64_t center = std::clamp(calibration.center, low, high);
    BrokenLine line;
    line.coef[0] = static_cast<std::int32_t>(center);
    line.coef[1] = static_cast<std::int32_t>(center);
    line.coef[2] = To32(SlopeFor(center - calibration.min, center - low));
    line.coef[3] = To32(SlopeFor(calibration.max - center, high - center));
    return line;
}

RawRange EvdevRangeFor(const RawCalibration& calibration) {
    return RawRange{To32(calibration.min), To32(calibration.max)};
}

std::uint32_t ReportScale(std::int32_t joydevValue) {
    const std::int64_t fromBottom =
        std::int64_t{std::clamp(joydevValue, -kJoydevMax, kJoydevMax)} + kJoydevMax;  // 0..65534
    constexpr std::int64_t kBottomToTop = 2 * std::int64_t{kJoydevMax};
    return static_cast<std::uint32_t>((2 * fromBottom * 65535 + kBottomToTop) / (2 * kBottomToTop));
}

}  // namespace linux_input

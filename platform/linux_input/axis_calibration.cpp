#include "platform/linux_input/axis_calibration.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace linux_input {

namespace {

constexpr std::int64_t kSlopeUnit = std::int64_t{1} << 29;  // full scale over a span of 1
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// The kernel's int arithmetic wraps (it is built with -fno-strict-overflow); so does this.
std::int32_t Wrap(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}
std::uint32_t Bits(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

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

RawRange To32(std::int64_t min, std::int64_t max) {
    return RawRange{To32(min), To32(max)};
}

bool IsFullRange(const HardwareRange& record) {
    return record.min == 0 && record.max == kHardwareMax;
}

// The device's dead zone in proportion to a narrower range, small enough to leave room on both
// sides of the centre.
std::int32_t ScaledFlat(const DeviceRange& own, std::int64_t min, std::int64_t center,
                        std::int64_t max) {
    const std::int64_t room = std::min(center - min, max - center) - 1;
    if (own.flat <= 0 || room <= 0) {
        return 0;
    }
    const long double ownSpan = static_cast<long double>(own.range.max) - own.range.min;
    const std::int64_t scaled = std::llround(static_cast<long double>(own.flat) *
                                             static_cast<long double>(max - min) / ownSpan);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, 0, room));
}

BrokenLine NarrowLine(std::int64_t min, std::int64_t center, std::int64_t max, std::int32_t flat,
                      RawRange device) {
    const std::int64_t low = std::min<std::int64_t>(device.min, device.max);
    const std::int64_t high = std::max<std::int64_t>(device.min, device.max);
    const std::int64_t below = std::clamp(center, low, high) - flat;
    const std::int64_t above = std::clamp(center, low, high) + flat;
    BrokenLine line;
    line.coef[0] = To32(below);
    line.coef[1] = To32(above);
    line.coef[2] = To32(SlopeFor(below - min, below - low));
    line.coef[3] = To32(SlopeFor(max - above, high - above));
    return line;
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

BrokenLine PlugInCorrection(const DeviceRange& evdev) {
    const RawRange& r = evdev.range;
    BrokenLine line;
    if (r.max == r.min) {
        return line;  // joydev leaves such an axis uncorrected
    }
    const std::int32_t middle = Wrap(Bits(r.max) + Bits(r.min)) / 2;
    line.coef[0] = Wrap(Bits(middle) - Bits(evdev.flat));
    line.coef[1] = Wrap(Bits(middle) + Bits(evdev.flat));
    const std::int32_t half =
        Wrap(Bits(Wrap(Bits(r.max) - Bits(r.min)) / 2) - 2 * Bits(evdev.flat));
    if (half != 0) {
        line.coef[2] = (1 << 29) / half;
        line.coef[3] = line.coef[2];
    }
    return line;
}

bool IsAsPluggedIn(const AxisCalibration& now) {
    return now.correction == PlugInCorrection(now.evdev);
}

std::int64_t RawCentre(const HardwareRange& record, const DeviceRange& own) {
    if (IsFullRange(record)) {
        return (std::int64_t{own.range.min} + own.range.max) / 2;
    }
    return RawOf(record.center, own.range);
}

AxisCalibration CalibrationFor(const HardwareRange& record, const DeviceRange& own,
                               std::int64_t shift) {
    AxisCalibration calibration;
    if (IsFullRange(record)) {
        calibration.evdev = DeviceRange{
            To32(std::int64_t{own.range.min} + shift, std::int64_t{own.range.max} + shift),
            own.flat};
        calibration.correction = PlugInCorrection(calibration.evdev);
    } else {
        const std::int64_t min = RawOf(record.min, own.range) + shift;
        const std::int64_t center = RawCentre(record, own) + shift;
        const std::int64_t max = RawOf(record.max, own.range) + shift;
        const std::int32_t flat = ScaledFlat(own, min, center, max);
        calibration.evdev = DeviceRange{To32(min, max), flat};
        calibration.correction = NarrowLine(min, center, max, flat, own.range);
    }
    // Only the device's own calibration may look untouched: readers of the kernel's state (this
    // program at its next start among them) take such an axis's range as the device's own.
    if (calibration.evdev != own && IsAsPluggedIn(calibration)) {
        std::int32_t& slope = calibration.correction.coef[3];
        slope = slope > 1 ? slope - 1 : slope + 1;
    }
    return calibration;
}

std::uint32_t ReportScale(std::int32_t joydevValue) {
    const std::int64_t fromBottom =
        std::int64_t{std::clamp(joydevValue, -kJoydevMax, kJoydevMax)} + kJoydevMax;  // 0..65534
    constexpr std::int64_t kBottomToTop = 2 * std::int64_t{kJoydevMax};
    return static_cast<std::uint32_t>((2 * fromBottom * 65535 + kBottomToTop) / (2 * kBottomToTop));
}

}  // namespace linux_input

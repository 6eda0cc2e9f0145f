// The 112-byte joystick configuration record (JOYREGHWCONFIG) as stored in the registry,
// and the calibrated axis ranges the joystick driver takes from it.
#pragma once

#include "platform/win32api.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace emulated {

// The record from its stored bytes: exactly 112, every field little-endian.
std::optional<JOYREGHWCONFIG> DecodeJoystickConfig(std::span<const BYTE> bytes);
std::vector<BYTE> EncodeJoystickConfig(const JOYREGHWCONFIG& config);

// One axis's calibration on the hardware scale 0..2047.
struct AxisRange {
    double min = 0;
    double center = 1024;
    double max = 2047;

    bool operator==(const AxisRange&) const = default;
};

inline constexpr AxisRange kFullAxisRange{};

struct AxisRanges {
    AxisRange x;
    AxisRange y;
    AxisRange z;

    bool operator==(const AxisRanges&) const = default;
};

// X, Y and Z from the record's jpMin, jpMax and jpCenter. An axis whose max is not above its
// min, or a missing record, gets the full range; a centre outside the range is moved to its
// middle.
AxisRanges RangesFromConfig(const std::optional<JOYREGHWCONFIG>& config);

// A hardware reading reported on 0..65535: the range's min, centre and max map to 0, 32768 and
// 65535, linearly in between, and readings beyond the range stop at its ends.
DWORD ReportAxis(double reading, const AxisRange& range);

}  // namespace emulated

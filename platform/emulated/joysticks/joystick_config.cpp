#include "platform/emulated/joysticks/joystick_config.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace emulated {

namespace {

constexpr std::size_t kWords = sizeof(JOYREGHWCONFIG) / sizeof(DWORD);
static_assert(kWords * sizeof(DWORD) == sizeof(JOYREGHWCONFIG), "the record is whole DWORDs");

constexpr double kReportCenter = 32768;
constexpr double kReportMax = 65535;

AxisRange RangeOf(DWORD min, DWORD center, DWORD max) {
    if (max <= min) {
        return kFullAxisRange;
    }
    const double low = min;
    const double high = max;
    const double middle = center > min && center < max ? center : (low + high) / 2;
    return AxisRange{low, middle, high};
}

}  // namespace

std::optional<JOYREGHWCONFIG> DecodeJoystickConfig(std::span<const BYTE> bytes) {
    if (bytes.size() != sizeof(JOYREGHWCONFIG)) {
        return std::nullopt;
    }
    DWORD words[kWords];
    for (std::size_t i = 0; i < kWords; ++i) {
        const BYTE* b = bytes.data() + i * 4;
        words[i] = static_cast<DWORD>(b[0]) | static_cast<DWORD>(b[1]) << 8 |
                   static_cast<DWORD>(b[2]) << 16 | static_cast<DWORD>(b[3]) << 24;
    }
    JOYREGHWCONFIG config;
    std::memcpy(&config, words, sizeof config);
    return config;
}

std::vector<BYTE> EncodeJoystickConfig(const JOYREGHWCONFIG& config) {
    DWORD words[kWords];
    std::memcpy(words, &config, sizeof config);
    std::vector<BYTE> bytes;
    bytes.reserve(sizeof config);
    for (DWORD word : words) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<BYTE>(word >> shift));
        }
    }
    return bytes;
}

AxisRanges RangesFromConfig(const std::optional<JOYREGHWCONFIG>& config) {
    if (!config) {
        return {};
    }
    const JOYRANGE& r = config->hwv.jrvHardware;
    return AxisRanges{RangeOf(r.jpMin.dwX, r.jpCenter.dwX, r.jpMax.dwX),
                      RangeOf(r.jpMin.dwY, r.jpCenter.dwY, r.jpMax.dwY),
                      RangeOf(r.jpMin.dwZ, r.jpCenter.dwZ, r.jpMax.dwZ)};
}

DWORD ReportAxis(double reading, const AxisRange& range) {
    if (std::isnan(reading)) {
        reading = range.center;
    }
    const double reported = reading <= range.center
                                ? kReportCenter * (reading - range.min) / (range.center - range.min)
                                : kReportCenter + (kReportMax - kReportCenter) *
                                                      (reading - range.center) /
                                                      (range.max - range.center);
    if (std::isnan(reported)) {
        return static_cast<DWORD>(kReportCenter);
    }
    return static_cast<DWORD>(std::lround(std::clamp(reported, 0.0, kReportMax)));
}

}  // namespace emulated

// joydev's broken-line correction as the kernel evaluates it, for checking what a reader of the
// joystick node would see. The products are checked to fit the kernel's 32-bit int.
#pragma once

#include "platform/linux_input/axis_calibration.h"

#include <algorithm>
#include <gtest/gtest.h>

inline std::int32_t KernelCorrect(std::int32_t value, const linux_input::BrokenLine& line) {
    const std::int64_t product =
        value > line.coef[0]
            ? (value < line.coef[1]
                   ? 0
                   : std::int64_t{line.coef[3]} * (std::int64_t{value} - line.coef[1]))
            : std::int64_t{line.coef[2]} * (std::int64_t{value} - line.coef[0]);
    EXPECT_EQ(product, static_cast<std::int32_t>(product)) << "the kernel's int wraps at " << value;
    const std::int32_t shifted = static_cast<std::int32_t>(product) >> 14;
    return std::clamp(shifted, -32767, 32767);
}

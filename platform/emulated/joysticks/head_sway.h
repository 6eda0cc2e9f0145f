// The virtual head at rest: a slow, smooth, small sway on each axis, as a function of time.
#pragma once

namespace emulated {

// Readings on the hardware scale 0..2047, where 1024 is the head held straight.
struct HeadAttitude {
    double yaw = 1024;
    double pitch = 1024;
    double roll = 1024;
};

inline constexpr double kRestingReading = 1024;

// Each axis is the sum of two sine waves with periods of a few seconds, different on each axis
// so the motion never repeats visibly; yaw strays at most 8 units (about 1.4 degrees), pitch
// 5.5, roll 4. A time that is not finite counts as 0.
HeadAttitude RestingHeadSway(double seconds);

}  // namespace emulated

#include "platform/emulated/head_sway.h"

#include <cmath>
#include <numbers>

namespace emulated {

namespace {

struct Wave {
    double amplitude;
    double periodSeconds;
    double phase;
};

double Sway(double seconds, const Wave& slow, const Wave& quick) {
    const auto at = [seconds](const Wave& w) {
        return w.amplitude * std::sin(2 * std::numbers::pi * seconds / w.periodSeconds + w.phase);
    };
    return kRestingReading + at(slow) + at(quick);
}

}  // namespace

HeadAttitude RestingHeadSway(double seconds) {
    if (!std::isfinite(seconds)) {
        seconds = 0;
    }
    return HeadAttitude{Sway(seconds, {18, 11.0, 0.0}, {6, 4.3, 1.1}),
                        Sway(seconds, {12, 7.0, 0.7}, {4, 2.9, 2.0}),
                        Sway(seconds, {8, 13.0, 1.9}, {3, 5.3, 0.4})};
}

}  // namespace emulated

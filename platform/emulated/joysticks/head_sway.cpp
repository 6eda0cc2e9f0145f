#include "platform/emulated/joysticks/head_sway.h"

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
    return HeadAttitude{Sway(seconds, {6, 17.0, 0.0}, {2, 6.1, 1.1}),
                        Sway(seconds, {4, 13.0, 0.7}, {1.5, 4.7, 2.0}),
                        Sway(seconds, {3, 19.0, 1.9}, {1, 7.3, 0.4})};
}

}  // namespace emulated

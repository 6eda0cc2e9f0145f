#include "app/windowless.h"

#include "platform/device_calibration.h"
#include "tracker/TrackerLink.h"

#include <cstdio>
#include <string>

namespace {

// "Joystick2 (ZARVEN HMD Tracker)".
std::string Describe(UINT slot) {
    JOYCAPSA caps{};
    const std::string name = "Joystick" + std::to_string(slot + 1);
    if (joyGetDevCapsA(slot, &caps, sizeof caps) != JOYERR_NOERROR) {
        return name;
    }
    caps.szPname[sizeof caps.szPname - 1] = '\0';
    return name + " (" + caps.szPname + ")";
}

std::optional<UINT> FirstTracker() {
    for (UINT slot = 0; slot < kJoystickSlots; ++slot) {
        if (IsTrackerSlot(slot, kTrackerNeedle)) {
            return slot;
        }
    }
    return std::nullopt;
}

int Fail(const std::string& line) {
    std::fprintf(stderr, "zarven-controls: %s\n", line.c_str());
    return 1;
}

}  // namespace

int RunSetZero(std::optional<UINT> slot) {
    if (!slot) {
        slot = FirstTracker();
        if (!slot) {
            return Fail("no head tracker found (see the Joystick configuration)");
        }
    } else if (!IsTrackerSlot(*slot, kTrackerNeedle)) {
        return Fail("Joystick" + std::to_string(*slot + 1) + " is not a head tracker");
    }
    const MMRESULT result = SendTrackerCommand(*slot, TrackerCommand::Zero);
    if (result != JOYERR_NOERROR) {
        return Fail(Describe(*slot) + ": Set Zero failed (error " + std::to_string(result) + ")");
    }
    std::printf("%s: zero set\n", Describe(*slot).c_str());
    std::fflush(stdout);
    return 0;
}

int RunApply() {
    const std::optional<unsigned> notApplied = ApplyDeviceCalibrations();
    return notApplied.value_or(0) == 0 ? 0 : 1;
}

// The calibrations the platform keeps for the real joystick devices (on Linux, the emulated
// machine's records of the kernel's devices): what the program's windowless mode applies when a
// device is plugged in.
#pragma once

#include <optional>

// Applies each plugged-in device's stored record, with the same rules as the panel's start.
// Returns how many devices could not be given theirs (each said in one line on standard error),
// or nothing when there is no machine folder yet, so nothing to apply.
std::optional<unsigned> ApplyDeviceCalibrations();

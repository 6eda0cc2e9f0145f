// The windowless calibration of real devices over the emulated machine.
#include "platform/device_calibration.h"

#include "platform/emulated/machine_access.h"

#include <filesystem>

std::optional<unsigned> ApplyDeviceCalibrations() {
    const auto lock = emulated::LockSession();
    emulated::Machine& machine = emulated::SessionMachine();
    std::error_code error;
    if (machine.prefix().empty() || !std::filesystem::is_directory(machine.prefix(), error)) {
        return std::nullopt;  // never started: nothing is stored, and nothing is created
    }
    machine.EnsureLoaded();
    return machine.devicesNotCalibrated();
}

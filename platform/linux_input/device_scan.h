// Finds the kernel's joystick devices: each /dev/input/jsN with what sysfs tells about its input
// device (name, ids, physical path, event node) and the by-id link naming it.
#pragma once

#include "platform/linux_input/input_device.h"

#include <filesystem>
#include <vector>

namespace linux_input {

struct ScanRoots {
    std::filesystem::path dev = "/dev/input";
    std::filesystem::path sys = "/sys/class/input";
    std::filesystem::path bootId = "/proc/sys/kernel/random/boot_id";
};

std::vector<DeviceDescription> ScanJoysticks(const ScanRoots& roots = {});

}  // namespace linux_input

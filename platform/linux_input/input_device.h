// Joystick devices of the kernel as the emulated machine sees them: what a scan finds, what an
// opened device can do, and the source of both (the kernel's, or a test's own).
#pragma once

#include "platform/linux_input/axis_calibration.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace linux_input {

// X, Y and Z, in this order, everywhere below.
inline constexpr std::size_t kAxisCount = 3;
using AxisValues = std::array<std::int32_t, kAxisCount>;
using AxisSet = std::array<bool, kAxisCount>;
// One calibration per axis; nullopt: no such axis, or (to apply) leave it as it is.
using Calibrations = std::array<std::optional<AxisCalibration>, kAxisCount>;

struct DeviceDescription {
    std::string node;       // "/dev/input/js0"
    std::string eventNode;  // "/dev/input/event3"; empty when the kernel shows none
    std::string name;       // the kernel's device name
    // The /dev/input/by-id link name when there is one, else "bus:vendor:product:version:name"
    // (hexadecimal numbers).
    std::string identity;
    std::string physicalPath;  // orders identical devices: phys, else the sysfs path
    std::string instance;      // this plug-in: "input7@<boot id>"
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
};

class InputDevice {
public:
    virtual ~InputDevice() = default;

    virtual unsigned AxisCount() const = 0;
    // Which of X, Y and Z the device has.
    virtual AxisSet Axes() const = 0;
    // What the kernel holds now for each of X, Y and Z the device has: the evdev range and dead
    // zone, and joydev's correction. 0 or an errno.
    virtual int ReadCalibration(Calibrations& now) = 0;
    // The latest joydev values, without blocking (0 for an axis the device lacks). 0, or the
    // errno of a failed read (ENODEV once the device is gone).
    virtual int ReadAxes(AxisValues& values) = 0;
    // The present raw values (evdev). 0 or an errno.
    virtual int ReadRaw(AxisValues& values) = 0;
    // Sets the correction, range and dead zone of each axis given, leaving the others. 0 or an
    // errno.
    virtual int Apply(const Calibrations& calibrations) = 0;
};

struct OpenResult {
    std::unique_ptr<InputDevice> device;
    int error = 0;  // the errno when `device` is null
};

class DeviceSource {
public:
    virtual ~DeviceSource() = default;

    virtual std::vector<DeviceDescription> Scan() = 0;
    virtual OpenResult Open(const DeviceDescription& description) = 0;
};

// The kernel's joystick devices: /dev/input/js* and their sysfs entries.
std::shared_ptr<DeviceSource> KernelDeviceSource();

}  // namespace linux_input

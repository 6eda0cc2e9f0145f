// Stand-in kernel joysticks: what a scan finds, what each reads, every calibration applied, and
// the failures a test chooses.
#pragma once

#include "platform/linux_input/input_device.h"

struct FakeDeviceState {
    linux_input::Calibrations kernel{};  // what the kernel holds, as calibrations change it
    linux_input::AxisValues joydev{};    // what the joystick node reads
    linux_input::AxisValues raw{};       // the present raw values
    int readError = 0;                   // errno of every read of the axes, once set
    int reads = 0;                       // reads of the joystick node
    int applyError = 0;                  // errno of every calibration and of reading it
    std::vector<linux_input::Calibrations> applied;
};

struct FakeDevice {
    linux_input::DeviceDescription description;
    int openError = 0;
    std::shared_ptr<FakeDeviceState> state = std::make_shared<FakeDeviceState>();
};

// A device as the kernel would describe it, just plugged in: `name` and `identity` as given,
// node /dev/input/jsN, instance "input<N + 20>@boot", X, Y and Z over `range`.
FakeDevice MakeFakeDevice(unsigned number, std::string name, std::string identity,
                          linux_input::RawRange range = {0, 2047});

struct FakeDeviceSource final : linux_input::DeviceSource {
    std::vector<linux_input::DeviceDescription> Scan() override;
    linux_input::OpenResult Open(const linux_input::DeviceDescription& description) override;

    std::vector<FakeDevice> devices;  // what the next scan finds
};

// The emulated machine finds these devices from its next load on.
std::shared_ptr<FakeDeviceSource> UseFakeDevices(std::vector<FakeDevice> devices);

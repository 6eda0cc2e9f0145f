// What the machine must remember about a real device while it stays plugged in, across runs:
// its own axis ranges before the machine first changed them (the kernel keeps no copy once
// the evdev range is set) and the zero shift of each axis. Kept in input-devices.ini, one
// section per plug-in ("input7@<boot id>") with Identity=, XMin=, XMax=, XShift= and so on.
#pragma once

#include "platform/emulated/ini_document.h"
#include "platform/linux_input/input_device.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace emulated {

struct PlugState {
    linux_input::AxisRanges original{};
    std::array<std::int64_t, linux_input::kAxisCount> shift{};

    bool operator==(const PlugState&) const = default;
};

// The state stored for this plug-in of the device, when its identity matches.
std::optional<PlugState> FindPlugState(const IniDocument& document,
                                       const linux_input::DeviceDescription& device);

// Stores the device's state and drops the sections of plug-ins not among `present` (another
// boot, or a device since unplugged). False when the state cannot be stored as text.
bool StorePlugState(IniDocument& document, const linux_input::DeviceDescription& device,
                    const PlugState& state,
                    const std::vector<linux_input::DeviceDescription>& present);

}  // namespace emulated

// What the machine must remember about a real device while it stays plugged in, across runs:
// the range and dead zone of each axis as the device reported them before the machine first
// changed them (the kernel keeps no copy once the evdev range is set), and each axis's zero
// shift. Kept in input-devices.ini, one section per plug-in ("input7@<boot id>") with
// Identity= (escaped), XMin=, XMax=, XFlat=, XShift= and the same for Y and Z.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/linux_input/input_device.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace emulated {

struct PlugState {
    std::array<std::optional<linux_input::DeviceRange>, linux_input::kAxisCount> own{};
    std::array<std::int64_t, linux_input::kAxisCount> shift{};

    bool operator==(const PlugState&) const = default;
};

// The state stored for this plug-in of the device, when its identity matches byte for byte and
// it makes sense for the axes the device has now (`now`): a range whose max is above its min, a
// dead zone and a shift within its span. A state written before dead zones were kept takes the
// present one, which was never changed then.
std::optional<PlugState> FindPlugState(const IniDocument& document,
                                       const linux_input::DeviceDescription& device,
                                       const linux_input::Calibrations& now);

// Whether the state accounts for what the kernel holds now: every axis's range within the
// device's own range moved by its shift (a record only narrows it) and a dead zone no wider than
// the device's own.
bool Explains(const PlugState& state, const linux_input::Calibrations& now);

// Stores the device's state and drops the sections of plug-ins not among `present` (another
// boot, or a device since unplugged). False when the state cannot be stored as text.
bool StorePlugState(IniDocument& document, const linux_input::DeviceDescription& device,
                    const PlugState& state,
                    const std::vector<linux_input::DeviceDescription>& present);

}  // namespace emulated

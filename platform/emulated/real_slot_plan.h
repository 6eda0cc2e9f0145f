// Which slots the kernel's joystick devices take: the slots joysticks.ini leaves without a
// section, lowest first, in the order of the devices' stable identity (identical devices by
// their physical path). While a real head tracker is present, every virtual head tracker of
// joysticks.ini steps aside: its slot reads as no device and is given to no real device.
#pragma once

#include "platform/emulated/ini_document.h"
#include "platform/emulated/joystick_slots.h"
#include "platform/linux_input/input_device.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace emulated {

struct RealSlotPlan {
    std::array<std::optional<std::size_t>, kSlotCount> device{};  // index into the devices
    std::array<bool, kSlotCount> steppedAside{};
};

// A device whose kernel name contains "Tracker" (case-sensitive, as discovery matches).
bool IsTrackerName(std::string_view kernelName);

// `realTracker`: a real head tracker is present and usable.
RealSlotPlan PlanRealSlots(const IniDocument& joysticks,
                           const std::vector<linux_input::DeviceDescription>& devices,
                           bool realTracker);

}  // namespace emulated

// Which slots the kernel's joystick devices take. A slot with a section in joysticks.ini is the
// virtual machine's. A slot bound to a device's identity (input-slots.ini) is that device's, and
// stays empty while it is away. The other slots, lowest first, take the remaining devices in the
// order of their stable identity (identical devices by their physical path); when there are
// more devices than such slots, head trackers get slots first, then devices that can be opened.
// While a real head tracker has a slot, every virtual head tracker of joysticks.ini steps aside:
// its slot reads as no device and is given to no real device.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/joysticks/joystick_slots.h"
#include "platform/emulated/joysticks/slot_bindings.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace emulated {

struct SlotCandidate {
    std::string_view identity;
    std::string_view physicalPath;
    bool usable = false;   // it could be opened
    bool tracker = false;  // usable, and named as a head tracker
};

struct RealSlotPlan {
    std::array<std::optional<std::size_t>, kSlotCount> device{};  // index into the candidates
    std::array<bool, kSlotCount> bound{};  // the slot is bound to the identity of its device
    std::array<bool, kSlotCount> steppedAside{};
    std::vector<std::size_t> leftOut;  // candidates without a slot, in the order of identity
};

// A device whose kernel name contains "Tracker" (case-sensitive, as discovery matches).
bool IsTrackerName(std::string_view kernelName);

RealSlotPlan PlanRealSlots(const IniDocument& joysticks, const SlotBindings& bindings,
                           const std::vector<SlotCandidate>& candidates);

}  // namespace emulated

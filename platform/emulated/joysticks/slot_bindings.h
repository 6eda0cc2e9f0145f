// Which slot each real device keeps from start to start, so that the calibration record stored
// for a slot stays with the device it was made for: input-slots.ini, one section per bound slot
// named as in joysticks.ini ([Joystick2] is slot 1) with Identity= the device's stable identity
// (escaped). Written only when the user calibrates a device through the panel.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/joysticks/joystick_slots.h"

#include <array>
#include <optional>
#include <string>

namespace emulated {

using SlotBindings = std::array<std::optional<std::string>, kSlotCount>;  // identity per slot

// A section whose identity is missing or malformed binds nothing.
SlotBindings ReadSlotBindings(const IniDocument& document);

// Binds the slot to the identity. False when that cannot be stored as text.
bool BindSlot(IniDocument& document, UINT slot, const std::string& identity);

}  // namespace emulated

#include "platform/emulated/joysticks/slot_bindings.h"

#include "platform/emulated/files/escaped_text.h"

namespace emulated {

namespace {

constexpr std::string_view kIdentityKey = "Identity";
constexpr std::string_view kComment =
    "; The joystick slot each real device keeps, whatever else is plugged in, so that the\n"
    "; calibration stored for that slot in system.reg (Joystick<N>Configuration) stays with it.\n"
    "; Written when a device is calibrated in the panel. Identity= is the device's name in\n"
    "; /dev/input/by-id (else bus:vendor:product:version:name), %XX standing for unusual bytes.\n"
    "; Delete a section to forget a binding: that slot's calibration then applies to no device.";

}  // namespace

SlotBindings ReadSlotBindings(const IniDocument& document) {
    SlotBindings bindings;
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (const std::optional<std::string> value =
                document.Get(SlotSectionName(slot), kIdentityKey)) {
            bindings[slot] = UnescapeText(*value);
        }
    }
    return bindings;
}

bool BindSlot(IniDocument& document, UINT slot, const std::string& identity) {
    const std::string section = SlotSectionName(slot);
    const std::string value = EscapeText(identity);
    if (!IniDocument::CanStore(section, kIdentityKey, value)) {
        return false;
    }
    document.CommentIfEmpty(kComment);
    document.Set(section, kIdentityKey, value);
    return true;
}

}  // namespace emulated

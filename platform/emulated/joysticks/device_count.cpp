#include "platform/emulated/joysticks/device_count.h"

#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/joysticks/joystick_slots.h"

#include <optional>
#include <string>

namespace emulated {

UINT ReportedDeviceCount(const IniDocument& joysticksIni) {
    const std::optional<std::string> text = joysticksIni.Get("Slots", "Count");
    if (!text) {
        return kSlotCount;
    }
    const std::optional<std::int64_t> count = WholeNumber(*text);
    return count && *count >= 0 && *count <= kSlotCount ? static_cast<UINT>(*count) : kSlotCount;
}

}  // namespace emulated

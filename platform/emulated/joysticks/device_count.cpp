#include "platform/emulated/joysticks/device_count.h"

#include "platform/emulated/joysticks/joystick_slots.h"

#include <charconv>
#include <optional>
#include <string>

namespace emulated {

UINT ReportedDeviceCount(const IniDocument& joysticksIni) {
    const std::optional<std::string> text = joysticksIni.Get("Slots", "Count");
    if (!text) {
        return kSlotCount;
    }
    UINT count = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, count);
    return error == std::errc{} && stop == end && count <= kSlotCount ? count : kSlotCount;
}

}  // namespace emulated

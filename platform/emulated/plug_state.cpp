#include "platform/emulated/plug_state.h"

#include "platform/emulated/ascii_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace emulated {

namespace {

constexpr const char* kAxisNames[linux_input::kAxisCount] = {"X", "Y", "Z"};
constexpr std::string_view kIdentityKey = "Identity";

std::optional<std::int64_t> Number(const std::optional<std::string>& text) {
    std::int64_t value = 0;
    if (!text) {
        return std::nullopt;
    }
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    return error == std::errc() && stop == end ? std::optional(value) : std::nullopt;
}

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

std::string Key(std::size_t axis, const char* what) {
    return std::string(kAxisNames[axis]) + what;
}

}  // namespace

std::optional<PlugState> FindPlugState(const IniDocument& document,
                                       const linux_input::DeviceDescription& device) {
    if (document.Get(device.instance, kIdentityKey) != device.identity) {
        return std::nullopt;
    }
    PlugState state;
    for (std::size_t axis = 0; axis < linux_input::kAxisCount; ++axis) {
        const auto min = Number(document.Get(device.instance, Key(axis, "Min")));
        const auto max = Number(document.Get(device.instance, Key(axis, "Max")));
        if (min && max && FitsInt32(*min) && FitsInt32(*max)) {
            state.original[axis] = linux_input::RawRange{static_cast<std::int32_t>(*min),
                                                         static_cast<std::int32_t>(*max)};
        }
        const auto shift = Number(document.Get(device.instance, Key(axis, "Shift")));
        // A shift moves within the device's 32-bit range, so it stays within 33 bits.
        state.shift[axis] =
            shift && *shift >= -(std::int64_t{1} << 32) && *shift <= (std::int64_t{1} << 32)
                ? *shift
                : 0;
    }
    return state;
}

bool StorePlugState(IniDocument& document, const linux_input::DeviceDescription& device,
                    const PlugState& state,
                    const std::vector<linux_input::DeviceDescription>& present) {
    if (!IniDocument::CanStore(device.instance, kIdentityKey, device.identity)) {
        return false;
    }
    std::vector<std::string> stale;
    for (const IniSection& section : document.sections) {
        const bool plugged = std::any_of(present.begin(), present.end(), [&](const auto& other) {
            return EqualsIgnoreCase(other.instance, section.name);
        });
        if (!plugged) {
            stale.push_back(section.name);
        }
    }
    for (const std::string& name : stale) {
        document.RemoveSection(name);
    }
    document.RemoveSection(device.instance);
    document.Set(device.instance, kIdentityKey, device.identity);
    for (std::size_t axis = 0; axis < linux_input::kAxisCount; ++axis) {
        if (state.original[axis]) {
            document.Set(device.instance, Key(axis, "Min"),
                         std::to_string(state.original[axis]->min));
            document.Set(device.instance, Key(axis, "Max"),
                         std::to_string(state.original[axis]->max));
        }
        document.Set(device.instance, Key(axis, "Shift"), std::to_string(state.shift[axis]));
    }
    return true;
}

}  // namespace emulated

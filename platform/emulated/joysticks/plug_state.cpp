#include "platform/emulated/joysticks/plug_state.h"

#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/escaped_text.h"

#include <algorithm>
#include <limits>
#include <string>

namespace emulated {

namespace {

namespace li = linux_input;

constexpr const char* kAxisNames[li::kAxisCount] = {"X", "Y", "Z"};
constexpr std::string_view kIdentityKey = "Identity";
constexpr std::string_view kComment =
    "; The real joysticks this machine has recalibrated: each axis's range and dead zone as the\n"
    "; device reported them when it was plugged in (the kernel keeps no copy of them), and the\n"
    "; shift Set Zero gave it. One section per plug-in; those of devices since unplugged are\n"
    "; dropped. A recalibrated device whose section is lost is left as it is until it is\n"
    "; plugged in again.";

std::optional<std::int64_t> Number(const std::optional<std::string>& text) {
    return text ? WholeNumber(*text) : std::nullopt;
}

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

std::string Key(std::size_t axis, const char* what) {
    return std::string(kAxisNames[axis]) + what;
}

// One axis's stored range, dead zone and shift, when they make sense; `presentFlat` stands in
// for a dead zone not stored.
std::optional<std::pair<li::DeviceRange, std::int64_t>> StoredAxis(const IniDocument& document,
                                                                   const std::string& section,
                                                                   std::size_t axis,
                                                                   std::int32_t presentFlat) {
    const auto min = Number(document.Get(section, Key(axis, "Min")));
    const auto max = Number(document.Get(section, Key(axis, "Max")));
    const std::optional<std::string> flatText = document.Get(section, Key(axis, "Flat"));
    const auto flat = flatText ? Number(flatText) : std::optional<std::int64_t>(presentFlat);
    const auto shift = Number(document.Get(section, Key(axis, "Shift")).value_or("0"));
    if (!min || !max || !flat || !shift || !FitsInt32(*min) || !FitsInt32(*max) || *max <= *min) {
        return std::nullopt;
    }
    const std::int64_t span = *max - *min;
    if (*flat < 0 || *flat > span || *shift < -span || *shift > span) {
        return std::nullopt;
    }
    const li::DeviceRange range{
        li::RawRange{static_cast<std::int32_t>(*min), static_cast<std::int32_t>(*max)},
        static_cast<std::int32_t>(*flat)};
    return std::pair{range, *shift};
}

}  // namespace

std::optional<PlugState> FindPlugState(const IniDocument& document,
                                       const li::DeviceDescription& device,
                                       const li::Calibrations& now) {
    const std::optional<std::string> identity = document.Get(device.instance, kIdentityKey);
    if (!identity || UnescapeText(*identity) != device.identity) {
        return std::nullopt;
    }
    PlugState state;
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        const bool kept = document.Get(device.instance, Key(axis, "Min")) ||
                          document.Get(device.instance, Key(axis, "Max"));
        if (!now[axis] || !kept) {
            continue;  // an axis the machine does not calibrate
        }
        const auto stored = StoredAxis(document, device.instance, axis, now[axis]->evdev.flat);
        if (!stored) {
            return std::nullopt;
        }
        state.own[axis] = stored->first;
        state.shift[axis] = stored->second;
    }
    return state;
}

bool Explains(const PlugState& state, const li::Calibrations& now) {
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        const std::optional<li::DeviceRange>& own = state.own[axis];
        if (!own || !now[axis]) {
            continue;
        }
        const li::DeviceRange& present = now[axis]->evdev;
        if (present.range.min < own->range.min + state.shift[axis] ||
            present.range.max > own->range.max + state.shift[axis] || present.flat > own->flat) {
            return false;
        }
    }
    return true;
}

bool StorePlugState(IniDocument& document, const li::DeviceDescription& device,
                    const PlugState& state, const std::vector<li::DeviceDescription>& present) {
    const std::string identity = EscapeText(device.identity);
    if (!IniDocument::CanStore(device.instance, kIdentityKey, identity)) {
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
    document.CommentIfEmpty(kComment);
    document.Set(device.instance, kIdentityKey, identity);
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (const std::optional<li::DeviceRange>& own = state.own[axis]) {
            document.Set(device.instance, Key(axis, "Min"), std::to_string(own->range.min));
            document.Set(device.instance, Key(axis, "Max"), std::to_string(own->range.max));
            document.Set(device.instance, Key(axis, "Flat"), std::to_string(own->flat));
            document.Set(device.instance, Key(axis, "Shift"), std::to_string(state.shift[axis]));
        }
    }
    return true;
}

}  // namespace emulated

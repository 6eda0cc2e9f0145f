#include "platform/emulated/joysticks/joystick_slots.h"

#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/registry_document.h"

namespace emulated {

std::string SlotSectionName(UINT slot) {
    return "Joystick" + std::to_string(static_cast<unsigned long>(slot) + 1);
}

SlotDevice DescribeSlot(const IniDocument& joysticks, UINT slot) {
    const std::string section = SlotSectionName(slot);
    const auto text = [&](std::string_view key) {
        return joysticks.Get(section, key).value_or("");
    };
    SlotDevice device;
    const std::string kind = text("Device");
    if (EqualsIgnoreCase(kind, "HeadTracker")) {
        device.kind = DeviceKind::kHeadTracker;
    } else if (EqualsIgnoreCase(kind, "Joystick")) {
        device.kind = DeviceKind::kJoystick;
    } else {
        return device;
    }
    device.regKey = text("RegKey");
    if (device.regKey.empty()) {
        device.regKey = kDefaultRegKey;
    }
    device.stereo = text(kStereoModeKey) == "1";
    device.powerSaver = text(kPowerSaverKey) == "1";
    for (std::size_t axis = 0; axis < device.zero.size(); ++axis) {
        const std::optional<std::int64_t> zero = WholeNumber(text(kZeroKeys[axis]));
        if (zero && *zero >= -2047 && *zero <= 2047) {
            device.zero[axis] = static_cast<int>(*zero);
        }
    }
    return device;
}

DWORD TrackerStatusWord(const SlotDevice& device) {
    return (device.stereo ? 1u : 0u) | (device.powerSaver ? 2u : 0u);
}

std::string JoystickSettingsKeyPath(std::string_view regKey) {
    return std::string(kLocalMachineRoot) +
           "\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\" +
           std::string(regKey) + "\\CurrentJoystickSettings";
}

std::string OemTypeKeyPath(std::string_view oemType) {
    return std::string(kLocalMachineRoot) +
           "\\System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM"
           "\\" +
           std::string(oemType);
}

std::string ConfigurationValueName(UINT slot) {
    return SlotSectionName(slot) + "Configuration";
}

std::string OemNameValueName(UINT slot) {
    return SlotSectionName(slot) + "OEMName";
}

}  // namespace emulated

// The sixteen joystick slots as joysticks.ini describes them, and the registry names that
// belong to a slot.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/win32api.h"

#include <array>
#include <string>
#include <string_view>

namespace emulated {

inline constexpr UINT kSlotCount = 16;

enum class DeviceKind { kNone, kHeadTracker, kJoystick };

// A head tracker's zero: how far, in whole units of the hardware scale, the attitude it takes as
// straight ahead lies from the resting 1024 on yaw, pitch and roll.
using TrackerZero = std::array<int, 3>;

struct SlotDevice {
    DeviceKind kind = DeviceKind::kNone;
    std::string regKey;  // the driver key name reported in JOYCAPSA.szRegKey
    bool stereo = false;
    bool powerSaver = false;
    TrackerZero zero{};

    bool operator==(const SlotDevice&) const = default;
};

inline constexpr std::string_view kDefaultRegKey = "MSJSTICK.DRV";
inline constexpr std::string_view kStereoModeKey = "StereoMode";
inline constexpr std::string_view kPowerSaverKey = "PowerSaver";
inline constexpr std::string_view kZeroKeys[] = {"ZeroYaw", "ZeroPitch", "ZeroRoll"};

// "Joystick<slot + 1>".
std::string SlotSectionName(UINT slot);

// Section [Joystick<slot + 1>]: Device=HeadTracker or Joystick (any other value, or none: no
// device), RegKey= (MSJSTICK.DRV when missing or empty), StereoMode and PowerSaver (1 is on,
// anything else off), ZeroYaw, ZeroPitch and ZeroRoll (whole numbers within +-2047, else 0).
SlotDevice DescribeSlot(const IniDocument& joysticks, UINT slot);

// Bit 0 stereo mode, bit 1 power saver.
DWORD TrackerStatusWord(const SlotDevice& device);

// The settings key of a driver key name, under HKEY_LOCAL_MACHINE:
// System\CurrentControlSet\Control\MediaResources\Joystick\<regKey>\CurrentJoystickSettings.
std::string JoystickSettingsKeyPath(std::string_view regKey);
// "...\MediaProperties\PrivateProperties\Joystick\OEM\<oemType>".
std::string OemTypeKeyPath(std::string_view oemType);
// "Joystick<slot + 1>Configuration" and "Joystick<slot + 1>OEMName".
std::string ConfigurationValueName(UINT slot);
std::string OemNameValueName(UINT slot);

}  // namespace emulated

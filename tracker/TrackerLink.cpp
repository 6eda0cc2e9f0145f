#include "tracker/TrackerLink.h"

#include "tracker/RegistryPaths.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

constexpr char kSelectCaption[] = "Select HMD to configure";
constexpr char kNoTrackerCaption[] = "NO Tracker";
constexpr char kNoTrackerText[] =
    "No HMD Tracker assigned \n See the Joystick configuration \n Icon in the control panel";
constexpr char kDriverErrorCaption[] = "Error";
constexpr char kDriverErrorText[] = "<MSJSTICK.DRV> Driver not loaded...";

// One joystick position query with a fresh record.
MMRESULT QueryPosition(UINT slot, DWORD flags, JOYINFOEX& info) {
    info = JOYINFOEX{};
    info.dwSize = sizeof(JOYINFOEX);
    info.dwFlags = flags;
    return joyGetPosEx(slot, &info);
}

// Reads a registry value as text into an OEM-name buffer. A value that does not fit with a
// terminating zero cannot be read; a shorter one is terminated inside the buffer whether or
// not it carried its own zero.
bool ReadTextValue(HKEY key, const char* name, char (&text)[kOemNameSize]) {
    DWORD size = kOemNameSize - 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    text[std::min<DWORD>(size, kOemNameSize - 1)] = '\0';
    return true;
}

// Opens the CurrentJoystickSettings key of a joystick driver key.
bool OpenSettingsKey(const char* regKeyName, REGSAM access, HKEY& key) {
    char path[kRegistryPathSize];
    return FormatJoystickSettingsPath(path, regKeyName) &&
           RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) == ERROR_SUCCESS;
}

// "Joystick<slot + 1><suffix>", the slot's value names under that key.
void FormatSlotValueName(char (&name)[32], UINT slot, const char* suffix) {
    std::snprintf(name, sizeof name, "Joystick%u%s", slot + 1, suffix);
}

void NotifyJoystickDriver() {
    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    if (driver == nullptr) {
        ShowNotice(kDriverErrorCaption, kDriverErrorText);
        return;
    }
    SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0);
    CloseDriver(driver, 0, 0);
}

}  // namespace

TrackerStatus QueryTrackerStatus(UINT slot, MMRESULT* failure) {
    JOYINFOEX info;
    MMRESULT result = QueryPosition(slot, kStatusQueryFlags, info);
    if (result == JOYERR_NOERROR) {
        info.dwFlags = kStatusQueryFlags;
        result = joyGetPosEx(slot, &info);
    }
    if (failure != nullptr) {
        *failure = result;
    }
    if (result != JOYERR_NOERROR) {
        return static_cast<TrackerStatus>(result);
    }
    return static_cast<TrackerStatus>(info.dwVpos);
}

MMRESULT SendTrackerCommand(UINT slot, TrackerCommand command) {
    JOYINFOEX info;
    const MMRESULT primed = QueryPosition(slot, kStatusQueryFlags, info);
    if (primed != JOYERR_NOERROR) {
        return primed;
    }
    info.dwFlags = static_cast<DWORD>(command);
    return joyGetPosEx(slot, &info);
}

TrackerAxes ReadTrackerAxes(UINT slot) {
    JOYINFOEX info;
    if (QueryPosition(slot, JOY_RETURNALL, info) != JOYERR_NOERROR) {
        return TrackerAxes{0, 0, 0};
    }
    return TrackerAxes{info.dwXpos, info.dwYpos, info.dwZpos};
}

bool ReadSlotOemName(UINT slot, const char* regKeyName, char (&oemName)[kOemNameSize]) {
    HKEY key = nullptr;
    if (!OpenSettingsKey(regKeyName, KEY_QUERY_VALUE, key)) {
        return false;
    }
    char valueName[32];
    FormatSlotValueName(valueName, slot, "OEMName");
    char oemType[kOemNameSize];
    const bool typeRead = ReadTextValue(key, valueName, oemType);
    RegCloseKey(key);
    char path[kRegistryPathSize];
    if (!typeRead || !FormatOemTypePath(path, oemType)) {
        return false;
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    char name[kOemNameSize];
    const bool nameRead = ReadTextValue(key, "OEMName", name);
    RegCloseKey(key);
    if (!nameRead) {
        return false;
    }
    std::copy(std::begin(name), std::end(name), std::begin(oemName));
    return true;
}

bool IsTrackerSlot(UINT slot, const char* needle) {
    if (slot >= joyGetNumDevs()) {
        return false;
    }
    JOYCAPSA caps{};
    if (joyGetDevCapsA(slot, &caps, sizeof(JOYCAPSA)) != JOYERR_NOERROR) {
        return false;
    }
    char oemName[kOemNameSize];
    if (!ReadSlotOemName(slot, caps.szRegKey, oemName)) {
        return false;
    }
    return std::string_view(oemName).find(needle) != std::string_view::npos;
}

UINT FindTrackerSlot() {
    UINT chosen = 0;
    bool trackerFound = false;
    for (UINT slot = 0; slot < kJoystickSlots; ++slot) {
        if (!IsTrackerSlot(slot, kTrackerNeedle)) {
            continue;
        }
        if (!trackerFound) {
            chosen = slot;
            trackerFound = true;
            continue;
        }
        char text[32];
        std::snprintf(text, sizeof text, "Joystick%u", slot + 1);
        if (AskYesNo(kSelectCaption, text) == IDYES) {
            chosen = slot;
            break;
        }
    }
    if (!trackerFound) {
        ShowNotice(kNoTrackerCaption, kNoTrackerText);
    }
    return chosen;
}

int AskYesNo(const char* caption, const char* text) {
    return MessageBoxA(GetFocus(), text, caption, MB_YESNO);
}

void ShowNotice(const char* caption, const char* text) {
    MessageBoxA(nullptr, text, caption, MB_OK);
}

AxisRange PositionToRange(SensitivityPosition position) {
    // Exact in 64 bits, so even a position far outside 0..2047 maps back to the range it
    // came from; the stored fields take the result modulo 2^32.
    const std::int64_t p = position;
    return AxisRange{static_cast<DWORD>((kSensitivityFull - p) / 2),
                     static_cast<DWORD>((p + kSensitivityFull) / 2), kAxisCenter};
}

SensitivityPosition RangeToPosition(DWORD min) {
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(kSensitivityFull) -
                                                   2u * static_cast<std::uint32_t>(min));
    return std::min<SensitivityPosition>(wrapped, kSensitivityFull);
}

int SensitivityToDegrees(SensitivityPosition position) {
    const auto product = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) * 360u);
    return std::clamp<std::int32_t>(product / kSensitivityFull, 0, 359);
}

bool ReadJoystickConfig(UINT slot, const char* regKeyName, JOYREGHWCONFIG& record) {
    HKEY key = nullptr;
    if (!OpenSettingsKey(regKeyName, KEY_QUERY_VALUE, key)) {
        return false;
    }
    char valueName[32];
    FormatSlotValueName(valueName, slot, "Configuration");
    // Read into a copy: a failed read leaves the caller's record as it was.
    JOYREGHWCONFIG stored = record;
    DWORD size = sizeof(JOYREGHWCONFIG);
    const bool read = RegQueryValueExA(key, valueName, nullptr, nullptr,
                                       reinterpret_cast<LPBYTE>(&stored), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (read) {
        record = stored;
    }
    return read;
}

bool WriteJoystickConfig(UINT slot, const char* regKeyName, const JOYREGHWCONFIG& record) {
    HKEY key = nullptr;
    if (!OpenSettingsKey(regKeyName, KEY_SET_VALUE, key)) {
        return false;
    }
    char valueName[32];
    FormatSlotValueName(valueName, slot, "Configuration");
    const bool stored =
        RegSetValueExA(key, valueName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record),
                       sizeof(JOYREGHWCONFIG)) == ERROR_SUCCESS;
    RegCloseKey(key);
    NotifyJoystickDriver();
    return stored;
}

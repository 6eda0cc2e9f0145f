#include "platform/emulated/joystick_devices.h"

#include <cstring>

namespace emulated {

namespace {

constexpr DWORD kCentredAxis = 32768;
constexpr DWORD kAxisMax = 65535;
constexpr DWORD kPovCentred = 0xFFFF;
constexpr UINT kHasZ = 0x0001;
constexpr UINT kMaxAxes = 6;
constexpr UINT kAxes = 3;  // X, Y and Z
constexpr UINT kMaxButtons = 4;
constexpr UINT kPeriodMin = 10;
constexpr UINT kPeriodMax = 1000;

void CopyText(char* destination, std::size_t capacity, std::string_view text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

void FillAxes(JOYINFOEX& info, DWORD x, DWORD y, DWORD z, DWORD status) {
    info.dwXpos = x;
    info.dwYpos = y;
    info.dwZpos = z;
    info.dwRpos = 0;
    info.dwUpos = 0;
    info.dwVpos = status;
    info.dwButtons = 0;
    info.dwButtonNumber = 0;
    info.dwPOV = kPovCentred;
}

}  // namespace

MMRESULT JoystickDevices::GetCaps(UINT_PTR slot, JOYCAPSA* caps, UINT size) const {
    if (caps == nullptr || size != sizeof(JOYCAPSA) || slot >= kSlotCount) {
        return JOYERR_PARMS;
    }
    const SlotDevice device = DescribeSlot(slots_.document(), static_cast<UINT>(slot));
    if (device.kind == DeviceKind::kNone) {
        return JOYERR_UNPLUGGED;
    }
    *caps = JOYCAPSA{};
    caps->wMid = 0xFFFF;
    caps->wPid = device.kind == DeviceKind::kHeadTracker ? 1 : 2;
    CopyText(
        caps->szPname, sizeof caps->szPname,
        device.kind == DeviceKind::kHeadTracker ? "Emulated head tracker" : "Emulated joystick");
    for (UINT* max :
         {&caps->wXmax, &caps->wYmax, &caps->wZmax, &caps->wRmax, &caps->wUmax, &caps->wVmax}) {
        *max = kAxisMax;
    }
    caps->wPeriodMin = kPeriodMin;
    caps->wPeriodMax = kPeriodMax;
    caps->wCaps = kHasZ;
    caps->wMaxAxes = kMaxAxes;
    caps->wNumAxes = kAxes;
    caps->wMaxButtons = kMaxButtons;
    CopyText(caps->szRegKey, sizeof caps->szRegKey, device.regKey);
    return JOYERR_NOERROR;
}

MMRESULT JoystickDevices::GetPosition(UINT slot, JOYINFOEX* info, double now) {
    if (info == nullptr || info->dwSize != sizeof(JOYINFOEX) || slot >= kSlotCount) {
        return JOYERR_PARMS;
    }
    const SlotDevice device = DescribeSlot(slots_.document(), slot);
    if (device.kind == DeviceKind::kNone || unplugged_[slot]) {
        return JOYERR_UNPLUGGED;
    }
    if (device.kind == DeviceKind::kJoystick) {
        FillAxes(*info, kCentredAxis, kCentredAxis, kCentredAxis, 0);
        return JOYERR_NOERROR;
    }
    if (const MMRESULT result = RunCommand(slot, info->dwFlags, now); result != JOYERR_NOERROR) {
        return result;
    }
    ReportTracker(slot, DescribeSlot(slots_.document(), slot), *info, now);
    return JOYERR_NOERROR;
}

MMRESULT JoystickDevices::RunCommand(UINT slot, DWORD flags, double now) {
    switch (flags) {
        case JOY_CAL_READYONLY:
            return StoreState(slot, kStereoModeKey, false);
        case JOY_CAL_READZONLY:
            return StoreState(slot, kStereoModeKey, true);
        case JOY_CAL_READRONLY:
            return StoreState(slot, kPowerSaverKey, false);
        case JOY_CAL_READUONLY:
            return StoreState(slot, kPowerSaverKey, true);
        case JOY_CAL_READXONLY:
            straightAhead_[slot] = RestingHeadSway(now);
            return JOYERR_NOERROR;
        default:  // the status query, an axes read, and any other value: a plain read
            return JOYERR_NOERROR;
    }
}

MMRESULT JoystickDevices::StoreState(UINT slot, std::string_view key, bool on) {
    const WriteResult result = slots_.Modify([&](IniDocument& document) {
        if (DescribeSlot(document, slot).kind != DeviceKind::kHeadTracker) {
            return false;  // another program took the tracker out meanwhile
        }
        document.Set(SlotSectionName(slot), key, on ? "1" : "0");
        return true;
    });
    switch (result.status) {
        case WriteStatus::kStored:
            return JOYERR_NOERROR;
        case WriteStatus::kDeclined:
            return JOYERR_UNPLUGGED;
        default:
            return JOYERR_NOCANDO;
    }
}

void JoystickDevices::ReportTracker(UINT slot, const SlotDevice& device, JOYINFOEX& info,
                                    double now) const {
    // Relative to the attitude taken as straight ahead, which reads as the resting 1024.
    const HeadAttitude head = RestingHeadSway(now);
    const HeadAttitude& ahead = straightAhead_[slot];
    const AxisRanges& ranges = calibration_[slot];
    const auto reading = [](double current, double straight) {
        return current - straight + kRestingReading;
    };
    FillAxes(info, ReportAxis(reading(head.yaw, ahead.yaw), ranges.x),
             ReportAxis(reading(head.pitch, ahead.pitch), ranges.y),
             ReportAxis(reading(head.roll, ahead.roll), ranges.z), TrackerStatusWord(device));
}

void JoystickDevices::LoadCalibration(const RegistryDocument& registry) {
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        const SlotDevice device = DescribeSlot(slots_.document(), slot);
        const RegistryValue* record = registry.FindValue(JoystickSettingsKeyPath(device.regKey),
                                                         ConfigurationValueName(slot));
        calibration_[slot] =
            RangesFromConfig(record == nullptr ? std::nullopt : DecodeJoystickConfig(record->data));
    }
}

void JoystickDevices::SetUnplugged(UINT slot, bool unplugged) {
    if (slot < kSlotCount) {
        unplugged_[slot] = unplugged;
    }
}

}  // namespace emulated

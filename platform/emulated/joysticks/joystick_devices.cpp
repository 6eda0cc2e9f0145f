#include "platform/emulated/joysticks/joystick_devices.h"

#include "platform/emulated/joysticks/joystick_report.h"

#include <cmath>

namespace emulated {

namespace {

constexpr UINT kVirtualAxes = 3;  // X, Y and Z
// How often the readout's polls look whether another process changed joysticks.ini (the options
// or the zero), in seconds of the machine's clock.
constexpr double kRefreshPeriod = 0.25;

}  // namespace

MMRESULT JoystickDevices::GetCaps(UINT_PTR slot, JOYCAPSA* caps, UINT size) {
    if (caps == nullptr || size != sizeof(JOYCAPSA) || slot >= kSlotCount) {
        return JOYERR_PARMS;
    }
    if (real_.Holds(static_cast<UINT>(slot))) {
        return real_.GetCaps(static_cast<UINT>(slot), *caps);
    }
    const SlotDevice& device = Described(static_cast<UINT>(slot));
    if (device.kind == DeviceKind::kNone || real_.StepsAside(static_cast<UINT>(slot))) {
        return JOYERR_UNPLUGGED;
    }
    const bool tracker = device.kind == DeviceKind::kHeadTracker;
    FillCaps(*caps, DeviceCaps{0xFFFF, static_cast<WORD>(tracker ? 1 : 2),
                               tracker ? "Emulated head tracker" : "Emulated joystick",
                               kVirtualAxes, device.regKey});
    return JOYERR_NOERROR;
}

MMRESULT JoystickDevices::GetPosition(UINT slot, JOYINFOEX* info, double now) {
    if (info == nullptr || info->dwSize != sizeof(JOYINFOEX) || slot >= kSlotCount) {
        return JOYERR_PARMS;
    }
    if (unplugged_[slot]) {
        return JOYERR_UNPLUGGED;
    }
    if (now < refreshedAt_ || now - refreshedAt_ >= kRefreshPeriod) {
        refreshedAt_ = now;
        slots_.RefreshIfChanged();
    }
    if (real_.Holds(slot)) {
        return real_.GetPosition(slot, *info, now);
    }
    const SlotDevice& device = Described(slot);
    if (device.kind == DeviceKind::kNone || real_.StepsAside(slot)) {
        return JOYERR_UNPLUGGED;
    }
    if (device.kind == DeviceKind::kJoystick) {
        FillAxes(*info, kCentredAxis, kCentredAxis, kCentredAxis, 0);
        return JOYERR_NOERROR;
    }
    if (const MMRESULT result = RunCommand(slot, info->dwFlags, now); result != JOYERR_NOERROR) {
        return result;
    }
    ReportTracker(slot, Described(slot), *info, now);  // a command may have changed the state
    return JOYERR_NOERROR;
}

const SlotDevice& JoystickDevices::Described(UINT slot) {
    if (describedGeneration_ != slots_.generation()) {
        for (UINT each = 0; each < kSlotCount; ++each) {
            described_[each] = DescribeSlot(slots_.document(), each);
        }
        describedGeneration_ = slots_.generation();
    }
    return described_[slot];
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
            return StoreZero(slot, now);
        default:  // the status query, an axes read, and any other value: a plain read
            return JOYERR_NOERROR;
    }
}

MMRESULT JoystickDevices::StoreState(UINT slot, std::string_view key, bool on) {
    return StoreEntries(slot, {{key, on ? "1" : "0"}});
}

MMRESULT JoystickDevices::StoreZero(UINT slot, double now) {
    const HeadAttitude head = RestingHeadSway(now);
    const auto units = [](double reading) {
        return std::to_string(static_cast<int>(std::round(reading) - kRestingReading));
    };
    return StoreEntries(slot, {{kZeroKeys[0], units(head.yaw)},
                               {kZeroKeys[1], units(head.pitch)},
                               {kZeroKeys[2], units(head.roll)}});
}

MMRESULT JoystickDevices::StoreEntries(
    UINT slot, std::initializer_list<std::pair<std::string_view, std::string>> entries) {
    const WriteResult result = slots_.Modify([&](IniDocument& document) {
        if (DescribeSlot(document, slot).kind != DeviceKind::kHeadTracker) {
            return false;  // another program took the tracker out meanwhile
        }
        for (const auto& [key, value] : entries) {
            document.Set(SlotSectionName(slot), key, value);
        }
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
    // Relative to the attitude taken as straight ahead, which reads as the resting 1024. The
    // sensor counts whole units of the hardware scale, as a real tracker's does, so a reading
    // changes only when the head has moved by a unit, not on every poll.
    const HeadAttitude head = RestingHeadSway(now);
    const AxisRanges& ranges = calibration_[slot];
    const auto reading = [](double current, int zero) { return std::round(current) - zero; };
    FillAxes(info, ReportAxis(reading(head.yaw, device.zero[0]), ranges.x),
             ReportAxis(reading(head.pitch, device.zero[1]), ranges.y),
             ReportAxis(reading(head.roll, device.zero[2]), ranges.z), TrackerStatusWord(device));
}

void JoystickDevices::LoadCalibration(const RegistryDocument& registry) {
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        const SlotDevice& device = Described(slot);
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

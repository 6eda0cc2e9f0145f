#include "platform/emulated/real_joysticks.h"

#include "platform/emulated/joystick_config.h"
#include "platform/emulated/joystick_report.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace emulated {

namespace {

namespace li = linux_input;

// Keeps the OEM type name within the 256-byte buffer discovery reads it into.
constexpr std::size_t kMaxOemTypeLength = 200;

// One line on standard error, at most once per process for the same text.
void ReportOnce(const std::string& line) {
    static std::set<std::string> reported;
    if (reported.insert(line).second) {
        std::fprintf(stderr, "zarven-controls: %s\n", line.c_str());
    }
}

std::string OemTypeName(const std::string& identity) {
    std::string name = "Linux input " + identity.substr(0, kMaxOemTypeLength);
    std::replace(name.begin(), name.end(), '\\', '/');  // a key name holds no backslash
    return name;
}

li::HardwareRange HardwareRangeOf(const std::optional<JOYREGHWCONFIG>& record, std::size_t axis) {
    if (!record) {
        return li::kFullHardwareRange;
    }
    const JOYRANGE& r = record->hwv.jrvHardware;
    const DWORD mins[] = {r.jpMin.dwX, r.jpMin.dwY, r.jpMin.dwZ};
    const DWORD centers[] = {r.jpCenter.dwX, r.jpCenter.dwY, r.jpCenter.dwZ};
    const DWORD maxes[] = {r.jpMax.dwX, r.jpMax.dwY, r.jpMax.dwZ};
    return li::SoundHardwareRange(mins[axis], centers[axis], maxes[axis]);
}

// The device's range of an axis when it is one the arithmetic can use.
std::optional<li::RawRange> UsableRange(const PlugState& state, std::size_t axis) {
    const std::optional<li::RawRange>& range = state.original[axis];
    return range && range->max > range->min ? range : std::nullopt;
}

}  // namespace

void RealJoysticks::Discover(const IniDocument& joysticks) {
    devices_.clear();
    std::vector<li::DeviceDescription> descriptions = source_->Scan();
    bool realTracker = false;
    for (const li::DeviceDescription& description : descriptions) {
        Device device{description, nullptr, {}, false};
        li::OpenResult opened = source_->Open(description);
        device.open = std::move(opened.device);
        if (!device.open) {
            ReportOnce(description.node + ": " + std::strerror(opened.error));
        } else {
            const li::AxisRanges& now = device.open->RangesAtOpen();
            device.state = FindPlugState(plugStates_.document(), description).value_or(PlugState{});
            for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
                if (!device.state.original[axis]) {
                    device.state.original[axis] = now[axis];
                }
            }
            realTracker = realTracker || IsTrackerName(description.name);
        }
        devices_.push_back(std::move(device));
    }
    plan_ = PlanRealSlots(joysticks, descriptions, realTracker);
}

std::optional<std::size_t> RealJoysticks::UsableIndex(UINT slot) const {
    if (!Holds(slot) || !devices_[*plan_.device[slot]].open) {
        return std::nullopt;
    }
    return plan_.device[slot];
}

RealJoysticks::Device* RealJoysticks::Usable(UINT slot) {
    const std::optional<std::size_t> index = UsableIndex(slot);
    return index ? &devices_[*index] : nullptr;
}

const RealJoysticks::Device* RealJoysticks::Usable(UINT slot) const {
    const std::optional<std::size_t> index = UsableIndex(slot);
    return index ? &devices_[*index] : nullptr;
}

MMRESULT RealJoysticks::GetCaps(UINT slot, JOYCAPSA& caps) const {
    const Device* device = Usable(slot);
    if (device == nullptr) {
        return JOYERR_UNPLUGGED;
    }
    const li::DeviceDescription& d = device->description;
    FillCaps(caps,
             DeviceCaps{d.vendor, d.product, d.name, device->open->AxisCount(), kDefaultRegKey});
    return JOYERR_NOERROR;
}

MMRESULT RealJoysticks::GetPosition(UINT slot, JOYINFOEX& info) {
    Device* device = Usable(slot);
    if (device == nullptr || device->gone) {
        return JOYERR_UNPLUGGED;
    }
    switch (info.dwFlags) {
        case JOY_CAL_READYONLY:
        case JOY_CAL_READZONLY:
        case JOY_CAL_READRONLY:
        case JOY_CAL_READUONLY:
            return JOYERR_NOCANDO;  // a real device has no options to switch
        case JOY_CAL_READXONLY:
            if (const MMRESULT result = SetZero(slot, *device); result != JOYERR_NOERROR) {
                return result;
            }
            break;
        default:  // the status read (no option bits) and every plain read
            break;
    }
    li::AxisValues values{};
    if (device->open->ReadAxes(values) != 0) {
        device->gone = true;
        return JOYERR_UNPLUGGED;
    }
    FillAxes(info, li::ReportScale(values[0]), li::ReportScale(values[1]),
             li::ReportScale(values[2]), 0);
    return JOYERR_NOERROR;
}

MMRESULT RealJoysticks::SetZero(UINT slot, Device& device) {
    li::AxisValues raw{};
    if (const int error = device.open->ReadRaw(raw); error != 0) {
        Failed(device, "cannot read the present position: ", error);
        return device.gone ? JOYERR_UNPLUGGED : JOYERR_NOCANDO;
    }
    const std::optional<JOYREGHWCONFIG> record = StoredRecord(slot);
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (const std::optional<li::RawRange> range = UsableRange(device.state, axis)) {
            device.state.shift[axis] =
                std::int64_t{raw[axis]} - li::RawOf(HardwareRangeOf(record, axis).center, *range);
        }
    }
    Calibrate(device, record);
    return JOYERR_NOERROR;
}

std::optional<JOYREGHWCONFIG> RealJoysticks::StoredRecord(UINT slot) const {
    const RegistryValue* value = registry_.document().FindValue(
        JoystickSettingsKeyPath(kDefaultRegKey), ConfigurationValueName(slot));
    return value == nullptr ? std::nullopt : DecodeJoystickConfig(value->data);
}

void RealJoysticks::ApplyStoredCalibrations() {
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        Device* device = Usable(slot);
        if (device == nullptr || device->gone) {
            continue;
        }
        if (const std::optional<JOYREGHWCONFIG> record = StoredRecord(slot)) {
            Calibrate(*device, record);
        }
    }
}

void RealJoysticks::Calibrate(Device& device, const std::optional<JOYREGHWCONFIG>& record) {
    li::Calibrations calibrations{};
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (const std::optional<li::RawRange> range = UsableRange(device.state, axis)) {
            const li::RawCalibration raw =
                li::ToRaw(HardwareRangeOf(record, axis), *range, device.state.shift[axis]);
            calibrations[axis] =
                li::AxisCalibration{li::BrokenLineFor(raw, *range), li::EvdevRangeFor(raw)};
        }
    }
    RememberState(device);
    if (const int error = device.open->Apply(calibrations); error != 0) {
        Failed(device, "calibration not applied: ", error);
    }
}

void RealJoysticks::Failed(Device& device, const char* what, int error) {
    if (error == ENODEV) {
        device.gone = true;  // unplugged: the slot answers JOYERR_UNPLUGGED, nothing to say
    } else {
        ReportOnce(device.description.node + ": " + what + std::strerror(error));
    }
}

void RealJoysticks::RememberState(const Device& device) {
    if (plugStates_.path().empty()) {
        return;  // a machine without a prefix keeps the state in memory for this run
    }
    if (FindPlugState(plugStates_.document(), device.description) == device.state) {
        return;  // already stored: a bar's every notification need not take the prefix lock
    }
    std::vector<li::DeviceDescription> present;
    for (const Device& other : devices_) {
        present.push_back(other.description);
    }
    const WriteResult result = plugStates_.Modify([&](IniDocument& document) {
        return FindPlugState(document, device.description) != device.state &&
               StorePlugState(document, device.description, device.state, present);
    });
    if (result.status == WriteStatus::kFailed) {
        ReportOnce(plugStates_.path().string() + ": " + std::strerror(result.error));
    }
}

RegistryOverlay RealJoysticks::OemNames() const {
    RegistryOverlay overlay;
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (const Device* device = Usable(slot)) {
            const std::string oemType = OemTypeName(device->description.identity);
            overlay.push_back(OverlayText(JoystickSettingsKeyPath(kDefaultRegKey),
                                          OemNameValueName(slot), oemType));
            overlay.push_back(
                OverlayText(OemTypeKeyPath(oemType), "OEMName", device->description.name));
        }
    }
    return overlay;
}

}  // namespace emulated

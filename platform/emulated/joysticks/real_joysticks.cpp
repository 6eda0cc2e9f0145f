#include "platform/emulated/joysticks/real_joysticks.h"

#include "platform/emulated/files/escaped_text.h"
#include "platform/emulated/joysticks/joystick_config.h"
#include "platform/emulated/joysticks/joystick_report.h"
#include "platform/emulated/joysticks/slot_bindings.h"

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
constexpr const char* kAxisNames[li::kAxisCount] = {"X", "Y", "Z"};

// One line on standard error, at most once per process for the same text.
void ReportOnce(const std::string& line) {
    static std::set<std::string> reported;
    if (reported.insert(line).second) {
        std::fprintf(stderr, "zarven-controls: %s\n", line.c_str());
    }
}

// "/dev/input/js0 (ZARVEN HMD Tracker)", the name escaped as the machine's files keep it.
std::string Who(const li::DeviceDescription& device) {
    return device.node + " (" + EscapeText(device.name) + ")";
}

// Distinct for every slot, also where identities differ only in case (the registry compares
// key names without it).
std::string OemTypeName(const std::string& identity, UINT slot) {
    std::string name =
        "Linux input " + identity.substr(0, kMaxOemTypeLength) + " (" + SlotSectionName(slot) + ")";
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

// The device's own range of an axis when it is one the arithmetic can use.
std::optional<li::DeviceRange> UsableOwn(const PlugState& state, std::size_t axis) {
    const std::optional<li::DeviceRange>& own = state.own[axis];
    return own && own->range.max > own->range.min ? own : std::nullopt;
}

// The device's own ranges when they are certain: every axis as the kernel set it at plug-in
// (nobody has recalibrated it since), else what input-devices.ini keeps for this plug-in when
// that accounts for the kernel's present calibration.
std::optional<PlugState> KnownState(const IniDocument& plugStates,
                                    const li::DeviceDescription& device,
                                    const li::Calibrations& now) {
    const bool asPluggedIn = std::all_of(
        now.begin(), now.end(), [](const auto& axis) { return !axis || li::IsAsPluggedIn(*axis); });
    if (!asPluggedIn) {
        std::optional<PlugState> stored = FindPlugState(plugStates, device, now);
        return stored && Explains(*stored, now) ? stored : std::nullopt;
    }
    PlugState state;
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (now[axis] && now[axis]->evdev.range.max > now[axis]->evdev.range.min) {
            state.own[axis] = now[axis]->evdev;
        }
    }
    return state;
}

const char* WriteProblem(const WriteResult& result) {
    return result.status == WriteStatus::kUnreadable ? "the file cannot be read"
                                                     : std::strerror(result.error);
}

}  // namespace

void RealJoysticks::Discover(const IniDocument& joysticks) {
    devices_.clear();
    for (const li::DeviceDescription& description : source_->Scan()) {
        Device device{.description = description};
        li::OpenResult opened = source_->Open(description);
        device.open = std::move(opened.device);
        if (device.open) {
            Describe(device);
        } else {
            ReportOnce(description.node + ": " + std::strerror(opened.error));
        }
        devices_.push_back(std::move(device));
    }
    std::vector<SlotCandidate> candidates;
    for (const Device& device : devices_) {
        const bool usable = device.open != nullptr;
        candidates.push_back(SlotCandidate{device.description.identity,
                                           device.description.physicalPath, usable,
                                           usable && IsTrackerName(device.description.name)});
    }
    plan_ = PlanRealSlots(joysticks, ReadSlotBindings(bindings_.document()), candidates);
    for (const std::size_t index : plan_.leftOut) {
        if (devices_[index].open) {
            ReportOnce(Who(devices_[index].description) + ": no free joystick slot");
        }
    }
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (Device* device = Usable(slot)) {
            device->bound = plan_.bound[slot];
            device->seen = StoredRecord(slot);
        }
    }
}

void RealJoysticks::Describe(Device& device) const {
    const li::DeviceDescription& description = device.description;
    device.calibrationError = device.open->ReadCalibration(device.discovered);
    if (device.calibrationError == 0) {
        device.state = KnownState(plugStates_.document(), description, device.discovered);
    }
    if (!IsTrackerName(description.name)) {
        return;
    }
    const li::AxisSet axes = device.open->Axes();
    std::string missing;
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (!axes[axis]) {
            missing += (missing.empty() ? "" : ", ") + std::string(kAxisNames[axis]);
        }
    }
    if (!missing.empty()) {
        ReportOnce(Who(description) + ": a head tracker needs X, Y and Z axes; it has no " +
                   missing);
    }
}

RealJoysticks::Device* RealJoysticks::Usable(UINT slot) {
    return const_cast<Device*>(std::as_const(*this).Usable(slot));
}

const RealJoysticks::Device* RealJoysticks::Usable(UINT slot) const {
    if (!Holds(slot) || !devices_[*plan_.device[slot]].open) {
        return nullptr;
    }
    return &devices_[*plan_.device[slot]];
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

MMRESULT RealJoysticks::GetPosition(UINT slot, JOYINFOEX& info, double now) {
    Device* device = Usable(slot);
    if (device == nullptr || (device->gone && !Reattach(slot, *device, now))) {
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

bool RealJoysticks::Reattach(UINT slot, Device& device, double now) {
    if (now >= device.lookedForAt && now - device.lookedForAt < 1.0) {
        return false;
    }
    device.lookedForAt = now;
    const auto taken = [&](const li::DeviceDescription& description) {
        return std::any_of(devices_.begin(), devices_.end(), [&](const Device& other) {
            return other.open && !other.gone && other.description.instance == description.instance;
        });
    };
    for (const li::DeviceDescription& description : source_->Scan()) {
        if (description.identity != device.description.identity || taken(description)) {
            continue;
        }
        li::OpenResult opened = source_->Open(description);
        if (!opened.device) {
            continue;
        }
        Device back{.description = description,
                    .open = std::move(opened.device),
                    .seen = device.seen,
                    .bound = device.bound,
                    .lookedForAt = now};
        Describe(back);
        device = std::move(back);
        if (const std::optional<JOYREGHWCONFIG> record = OwnRecord(slot, device)) {
            Calibrate(device, record, CurrentState(device));
        }
        return !device.gone;
    }
    return false;
}

std::optional<PlugState> RealJoysticks::CurrentState(const Device& device) {
    plugStates_.RefreshIfChanged();
    std::optional<PlugState> state = device.state;
    const std::optional<PlugState> stored =
        FindPlugState(plugStates_.document(), device.description, device.discovered);
    if (state && stored && stored->own == state->own) {
        state->shift = stored->shift;  // the zero of this plug-in, set by any process
    }
    return state;
}

MMRESULT RealJoysticks::SetZero(UINT slot, Device& device) {
    li::AxisValues raw{};
    if (const int error = device.open->ReadRaw(raw); error != 0) {
        Failed(device, "cannot read the present position: ", error);
        return device.gone ? JOYERR_UNPLUGGED : JOYERR_NOCANDO;
    }
    const std::optional<JOYREGHWCONFIG> record = OwnRecord(slot, device);
    std::optional<PlugState> next = CurrentState(device);
    for (std::size_t axis = 0; next && axis < li::kAxisCount; ++axis) {
        if (const std::optional<li::DeviceRange> own = UsableOwn(*next, axis)) {
            const std::int64_t span = std::int64_t{own->range.max} - own->range.min;
            next->shift[axis] = std::clamp(
                raw[axis] - li::RawCentre(HardwareRangeOf(record, axis), *own), -span, span);
        }
    }
    if (!Calibrate(device, record, next)) {
        return device.gone ? JOYERR_UNPLUGGED : JOYERR_NOCANDO;
    }
    return JOYERR_NOERROR;
}

std::optional<std::vector<BYTE>> RealJoysticks::StoredRecord(UINT slot) const {
    const RegistryValue* value = registry_.document().FindValue(
        JoystickSettingsKeyPath(kDefaultRegKey), ConfigurationValueName(slot));
    return value == nullptr ? std::nullopt : std::optional(value->data);
}

std::optional<JOYREGHWCONFIG> RealJoysticks::OwnRecord(UINT slot, const Device& device) const {
    const std::optional<std::vector<BYTE>> bytes = device.bound ? StoredRecord(slot) : std::nullopt;
    return bytes ? DecodeJoystickConfig(*bytes) : std::nullopt;
}

unsigned RealJoysticks::ApplyBoundRecords() {
    unsigned notApplied = 0;
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (!plan_.bound[slot]) {
            continue;
        }
        Device* device = Usable(slot);
        if (device == nullptr) {
            ++notApplied;  // said when it could not be opened
            continue;
        }
        const std::optional<JOYREGHWCONFIG> record = OwnRecord(slot, *device);
        if (record && !device->gone && !Calibrate(*device, record, CurrentState(*device))) {
            ++notApplied;
        }
    }
    return notApplied;
}

void RealJoysticks::RecordsChanged() {
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        Device* device = Usable(slot);
        if (device == nullptr || device->gone) {
            continue;
        }
        std::optional<std::vector<BYTE>> record = StoredRecord(slot);
        if (record == device->seen) {
            continue;
        }
        device->seen = std::move(record);
        if (device->bound || Bind(slot, *device)) {
            Calibrate(*device, OwnRecord(slot, *device), CurrentState(*device));
        }
    }
}

bool RealJoysticks::Bind(UINT slot, Device& device) {
    const std::string& identity = device.description.identity;
    const WriteResult result = bindings_.Modify([&](IniDocument& document) {
        return ReadSlotBindings(document)[slot] != identity && BindSlot(document, slot, identity);
    });
    device.bound = ReadSlotBindings(bindings_.document())[slot] == identity;
    if (!device.bound) {
        const char* problem = result.status == WriteStatus::kDeclined
                                  ? "its identity cannot be stored"
                                  : WriteProblem(result);
        ReportOnce(bindings_.path().string() + ": cannot keep " + SlotSectionName(slot) + " for " +
                   Who(device.description) + ": " + problem + "; the device is left as it is");
    }
    return device.bound;
}

bool RealJoysticks::Calibrate(Device& device, const std::optional<JOYREGHWCONFIG>& record,
                              std::optional<PlugState> next) {
    if (device.calibrationError != 0) {
        Failed(device, "calibration not applied: ", device.calibrationError);
        return false;
    }
    if (!next) {
        ReportOnce(plugStates_.path().string() + ": no range stored for " +
                   Who(device.description) +
                   ", which was recalibrated since it was plugged in; it is left as it is until "
                   "it is plugged in again");
        return false;
    }
    li::Calibrations calibrations{};
    for (std::size_t axis = 0; axis < li::kAxisCount; ++axis) {
        if (const std::optional<li::DeviceRange> own = UsableOwn(*next, axis)) {
            calibrations[axis] =
                li::CalibrationFor(HardwareRangeOf(record, axis), *own, next->shift[axis]);
        }
    }
    if (!StoreState(device, *next)) {
        return false;
    }
    if (const int error = device.open->Apply(calibrations); error != 0) {
        Failed(device, "calibration not applied: ", error);
        return false;
    }
    device.state = next;
    return true;
}

bool RealJoysticks::StoreState(const Device& device, const PlugState& next) {
    const li::DeviceDescription& description = device.description;
    const std::string file = plugStates_.path().string();
    const auto leftAlone = [&](const std::string& why) {
        ReportOnce(file + ": " + why + "; " + Who(description) + " is left as it is");
        return false;
    };
    if (FindPlugState(plugStates_.document(), description, device.discovered) == next) {
        return true;  // already stored: a bar's every notification need not take the prefix lock
    }
    if (file.empty()) {
        ReportOnce("no folder to keep the range of " + Who(description) +
                   " in; it is left as it is");
        return false;
    }
    std::vector<li::DeviceDescription> present;
    for (const Device& other : devices_) {
        present.push_back(other.description);
    }
    const WriteResult result = plugStates_.Modify([&](IniDocument& document) {
        return FindPlugState(document, description, device.discovered) != next &&
               StorePlugState(document, description, next, present);
    });
    if (result.status == WriteStatus::kUnreadable || result.status == WriteStatus::kFailed) {
        return leftAlone(std::string("cannot store the range: ") + WriteProblem(result));
    }
    const std::optional<IniDocument> stored = plugStates_.ReadBack();
    if (!stored || FindPlugState(*stored, description, device.discovered) != next) {
        return leftAlone("the range stored does not read back");
    }
    return true;
}

void RealJoysticks::Failed(Device& device, const char* what, int error) {
    if (error == ENODEV) {
        device.gone = true;  // unplugged: the slot answers JOYERR_UNPLUGGED, nothing to say
    } else {
        ReportOnce(device.description.node + ": " + what + std::strerror(error));
    }
}

RegistryOverlay RealJoysticks::OemNames() const {
    RegistryOverlay overlay;
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (const Device* device = Usable(slot)) {
            const std::string oemType = OemTypeName(device->description.identity, slot);
            overlay.push_back(OverlayText(JoystickSettingsKeyPath(kDefaultRegKey),
                                          OemNameValueName(slot), oemType));
            overlay.push_back(
                OverlayText(OemTypeKeyPath(oemType), "OEMName", device->description.name));
        }
    }
    return overlay;
}

}  // namespace emulated

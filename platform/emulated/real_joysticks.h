// The kernel's joystick devices in the machine's slots. Found once when the machine loads; each
// is opened then, and a device that cannot be opened is no device (one line on standard error).
// A real slot reports the kernel's name and axes, takes no option commands, and applies its
// JoystickNConfiguration record to the kernel (joydev correction and evdev range) at load and
// on every JDD_CONFIGCHANGED; the zero command moves that calibration so the present attitude
// reads as the centre. A device that goes away answers JOYERR_UNPLUGGED from then on.
#pragma once

#include "platform/emulated/ini_document.h"
#include "platform/emulated/joystick_slots.h"
#include "platform/emulated/plug_state.h"
#include "platform/emulated/real_slot_plan.h"
#include "platform/emulated/registry_document.h"
#include "platform/emulated/registry_overlay.h"
#include "platform/emulated/stored_document.h"
#include "platform/linux_input/input_device.h"
#include "platform/win32api.h"

#include <memory>
#include <optional>
#include <vector>

namespace emulated {

class RealJoysticks {
public:
    RealJoysticks(std::shared_ptr<linux_input::DeviceSource> source,
                  StoredDocument<IniDocument>& plugStates,
                  const StoredDocument<RegistryDocument>& registry)
        : source_(std::move(source)), plugStates_(plugStates), registry_(registry) {}

    // Finds and opens the devices and gives them their slots around `joysticks`.
    void Discover(const IniDocument& joysticks);

    // The slot belongs to a real device (usable or not).
    bool Holds(UINT slot) const { return slot < kSlotCount && plan_.device[slot].has_value(); }
    // The slot's virtual head tracker steps aside for a real one.
    bool StepsAside(UINT slot) const { return slot < kSlotCount && plan_.steppedAside[slot]; }

    MMRESULT GetCaps(UINT slot, JOYCAPSA& caps) const;
    MMRESULT GetPosition(UINT slot, JOYINFOEX& info);

    // Each real slot's stored record, applied to its device; a slot without one is left alone.
    void ApplyStoredCalibrations();

    // The OEM names of the usable real slots, for discovery.
    RegistryOverlay OemNames() const;

private:
    struct Device {
        linux_input::DeviceDescription description;
        std::unique_ptr<linux_input::InputDevice> open;  // null when it could not be opened
        PlugState state;
        bool gone = false;
    };

    // The device of a slot that holds an opened one.
    std::optional<std::size_t> UsableIndex(UINT slot) const;
    Device* Usable(UINT slot);
    const Device* Usable(UINT slot) const;
    MMRESULT SetZero(UINT slot, Device& device);
    // The slot's JoystickNConfiguration record, when stored and well-formed.
    std::optional<JOYREGHWCONFIG> StoredRecord(UINT slot) const;
    // Applies `record` (the full range when none) with the device's zero shifts.
    void Calibrate(Device& device, const std::optional<JOYREGHWCONFIG>& record);
    // A device that went away is marked gone; any other failure is reported once.
    void Failed(Device& device, const char* what, int error);
    // Keeps the device's original ranges and shifts in input-devices.ini when they changed.
    void RememberState(const Device& device);

    std::shared_ptr<linux_input::DeviceSource> source_;
    StoredDocument<IniDocument>& plugStates_;
    const StoredDocument<RegistryDocument>& registry_;
    std::vector<Device> devices_;
    RealSlotPlan plan_;
};

}  // namespace emulated

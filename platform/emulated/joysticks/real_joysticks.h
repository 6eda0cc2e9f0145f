// The kernel's joystick devices in the machine's slots. Found once when the machine loads; each
// is opened then, and a device that cannot be opened is no device (one line on standard error).
// A real slot reports the kernel's name and axes and takes no option commands. A stored record
// belongs to the device bound to its slot: it is applied to the kernel (joydev correction,
// evdev range and dead zone) at load, and whenever the panel changes it; a record the panel
// changes for a device not yet bound binds it. The zero command moves the calibration so the
// present attitude reads as the centre. A device is changed only while its own ranges are known
// for certain (stored in input-devices.ini and read back, or still as plugged in); otherwise it
// is left alone with one line. A device that goes away answers JOYERR_UNPLUGGED until a device
// of the same identity is plugged in again: the slot looks for it at most once a second, opens
// it and gives it its record.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/registry_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/emulated/joysticks/joystick_slots.h"
#include "platform/emulated/joysticks/plug_state.h"
#include "platform/emulated/joysticks/real_slot_plan.h"
#include "platform/emulated/registry/registry_overlay.h"
#include "platform/linux_input/input_device.h"
#include "platform/win32api.h"

#include <memory>
#include <optional>
#include <vector>

namespace emulated {

class RealJoysticks {
public:
    RealJoysticks(std::shared_ptr<linux_input::DeviceSource> source,
                  StoredDocument<IniDocument>& plugStates, StoredDocument<IniDocument>& bindings,
                  const StoredDocument<RegistryDocument>& registry)
        : source_(std::move(source)),
          plugStates_(plugStates),
          bindings_(bindings),
          registry_(registry) {}

    // Finds and opens the devices and gives them their slots around `joysticks`.
    void Discover(const IniDocument& joysticks);

    // The slot belongs to a real device (usable or not).
    bool Holds(UINT slot) const { return slot < kSlotCount && plan_.device[slot].has_value(); }
    // The slot's virtual head tracker steps aside for a real one.
    bool StepsAside(UINT slot) const { return slot < kSlotCount && plan_.steppedAside[slot]; }

    MMRESULT GetCaps(UINT slot, JOYCAPSA& caps) const;
    // `now` is the machine's clock in seconds.
    MMRESULT GetPosition(UINT slot, JOYINFOEX& info, double now);

    // Each bound device's stored record, applied to it; a device without one is left alone.
    // Returns how many bound devices could not be given theirs.
    unsigned ApplyBoundRecords();
    // After JDD_CONFIGCHANGED: the device of each real slot whose record changed is bound to the
    // slot and given the record.
    void RecordsChanged();

    // The OEM names of the usable real slots, for discovery.
    RegistryOverlay OemNames() const;

private:
    struct Device {
        linux_input::DeviceDescription description{};
        std::unique_ptr<linux_input::InputDevice> open{};  // null when it could not be opened
        linux_input::Calibrations discovered{};            // what the kernel held when it was found
        int calibrationError = 0;                          // errno when that could not be read
        std::optional<PlugState> state{};         // the device's own ranges, when known for certain
        std::optional<std::vector<BYTE>> seen{};  // the slot's record as last seen
        bool bound = false;
        bool gone = false;
        double lookedForAt = -1e300;  // when the slot last looked for it to come back
    };

    // The device of a slot that holds an opened one.
    Device* Usable(UINT slot);
    const Device* Usable(UINT slot) const;
    void Describe(Device& device) const;
    // A gone device's identity plugged in again takes its place, with its record.
    bool Reattach(UINT slot, Device& device, double now);
    // The device's state with the zero shifts input-devices.ini holds for its plug-in, whoever
    // stored them (this process, an earlier run, or another process meanwhile).
    std::optional<PlugState> CurrentState(const Device& device);
    MMRESULT SetZero(UINT slot, Device& device);
    // The slot's JoystickNConfiguration value as stored.
    std::optional<std::vector<BYTE>> StoredRecord(UINT slot) const;
    // The record the device's calibration follows: its slot's, when the slot is bound to it.
    std::optional<JOYREGHWCONFIG> OwnRecord(UINT slot, const Device& device) const;
    bool Bind(UINT slot, Device& device);
    // Applies `record` (the full range when none) to the device's own ranges with the shifts of
    // `next`, once `next` is stored. False, after one line, when the device is left as it is
    // (`next` unknown among the reasons).
    bool Calibrate(Device& device, const std::optional<JOYREGHWCONFIG>& record,
                   std::optional<PlugState> next);
    bool StoreState(const Device& device, const PlugState& next);
    // A device that went away is marked gone; any other failure is reported once.
    void Failed(Device& device, const char* what, int error);

    std::shared_ptr<linux_input::DeviceSource> source_;
    StoredDocument<IniDocument>& plugStates_;
    StoredDocument<IniDocument>& bindings_;
    const StoredDocument<RegistryDocument>& registry_;
    std::vector<Device> devices_;
    RealSlotPlan plan_;
};

}  // namespace emulated

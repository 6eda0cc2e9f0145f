// The devices in the joystick slots, answering the joystick interface as their driver would.
// A head tracker takes the calibration-read flag values as commands (see docs/emulated-machine.md)
// and keeps its stereo, power-saver and zero state in joysticks.ini, read again when another
// process changes it; its axes follow the resting
// head's sway through the calibration the msjstick stand-in last loaded. A plain joystick
// reports its axes centred. The kernel's own devices (RealJoysticks) take the slots they hold.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/registry_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/emulated/joysticks/head_sway.h"
#include "platform/emulated/joysticks/joystick_config.h"
#include "platform/emulated/joysticks/joystick_slots.h"
#include "platform/emulated/joysticks/real_joysticks.h"
#include "platform/win32api.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace emulated {

class JoystickDevices {
public:
    JoystickDevices(StoredDocument<IniDocument>& slots, RealJoysticks& real)
        : slots_(slots), real_(real) {}

    MMRESULT GetCaps(UINT_PTR slot, JOYCAPSA* caps, UINT size);
    // `now` is the machine's clock in seconds.
    MMRESULT GetPosition(UINT slot, JOYINFOEX* info, double now);

    // The msjstick stand-in: each virtual slot's calibration from its JoystickNConfiguration
    // value.
    void LoadCalibration(const RegistryDocument& registry);

    void SetUnplugged(UINT slot, bool unplugged);

private:
    // The slot as joysticks.ini describes it, kept until the file's document changes: the
    // readout asks 50 times a second.
    const SlotDevice& Described(UINT slot);
    MMRESULT RunCommand(UINT slot, DWORD flags, double now);
    MMRESULT StoreState(UINT slot, std::string_view key, bool on);
    MMRESULT StoreZero(UINT slot, double now);
    MMRESULT StoreEntries(UINT slot,
                          std::initializer_list<std::pair<std::string_view, std::string>> entries);
    void ReportTracker(UINT slot, const SlotDevice& device, JOYINFOEX& info, double now) const;

    StoredDocument<IniDocument>& slots_;
    RealJoysticks& real_;
    std::array<SlotDevice, kSlotCount> described_{};
    std::optional<std::uint64_t> describedGeneration_;
    std::array<AxisRanges, kSlotCount> calibration_{};
    double refreshedAt_ = -1e300;  // when joysticks.ini was last looked at for changes
    std::array<bool, kSlotCount> unplugged_{};
};

}  // namespace emulated

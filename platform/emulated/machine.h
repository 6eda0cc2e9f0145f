// One prefix's machine: its files in memory and the services built on them. Created without
// touching the disk; EnsureLoaded reads (and first seeds) the prefix.
#pragma once

#include "platform/emulated/drivers/installable_drivers.h"
#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/registry_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/emulated/joysticks/joystick_devices.h"
#include "platform/emulated/joysticks/real_joysticks.h"
#include "platform/emulated/profiles/private_profiles.h"
#include "platform/emulated/registry/registry_service.h"

#include <deque>
#include <filesystem>
#include <memory>

namespace emulated {

inline constexpr std::size_t kMaxLoggedCalls = 100000;

class Machine {
public:
    // `devices` gives the kernel's joystick devices that join the slots.
    Machine(const std::filesystem::path& prefix,
            std::shared_ptr<linux_input::DeviceSource> devices);

    void EnsureLoaded();

    const std::filesystem::path& prefix() const { return prefix_; }
    // Real devices whose stored record the load could not apply (each said in one line).
    unsigned devicesNotCalibrated() const { return devicesNotCalibrated_; }

    RegistryService& registry() { return registry_; }
    JoystickDevices& joysticks() { return joysticks_; }
    InstallableDrivers& drivers() { return drivers_; }
    PrivateProfiles& profiles() { return profiles_; }
    const IniDocument& slotsIni() const { return joysticksIni_.document(); }

    void Log(JoystickQuery query);
    void Log(DriverMessage message);
    const std::deque<JoystickQuery>& queries() const { return queries_; }
    const std::deque<DriverMessage>& messages() const { return messages_; }
    void ClearLogs();

private:
    // Writes the seed files into a prefix that holds none of them. False when the prefix
    // cannot take them; the machine then holds the seed in memory only.
    bool SeedIfEmpty();

    std::filesystem::path prefix_;
    StoredDocument<RegistryDocument> registryFile_;
    StoredDocument<IniDocument> systemIni_;
    StoredDocument<IniDocument> joysticksIni_;
    StoredDocument<IniDocument> inputDevicesIni_;
    StoredDocument<IniDocument> inputSlotsIni_;
    RegistryService registry_;
    RealJoysticks realJoysticks_;
    JoystickDevices joysticks_;
    InstallableDrivers drivers_;
    PrivateProfiles profiles_;
    std::deque<JoystickQuery> queries_;
    std::deque<DriverMessage> messages_;
    unsigned devicesNotCalibrated_ = 0;
    bool loaded_ = false;
};

}  // namespace emulated

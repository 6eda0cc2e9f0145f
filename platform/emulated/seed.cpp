#include "platform/emulated/seed.h"

#include "platform/emulated/files/registry_text.h"
#include "platform/emulated/joysticks/joystick_config.h"
#include "platform/emulated/joysticks/joystick_slots.h"

namespace emulated {

namespace {

// Flag values of the record that describe a three-axis device without buttons.
constexpr DWORD kHardwareHasZ = 0x00000001;
constexpr DWORD kUsagePresent = 0x00000002;
constexpr DWORD kHardwareCustom = 0x00000001;
constexpr DWORD kFullMax = 2047;
constexpr DWORD kCenter = 1024;

JOYPOS Axes(DWORD x, DWORD yz, DWORD ruv) {
    return JOYPOS{x, yz, yz, ruv, ruv, ruv};
}

// A REG_SZ value: the text and its terminating zero.
std::vector<BYTE> TextValue(std::string_view text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

}  // namespace

JOYREGHWCONFIG SeedJoystickConfig() {
    JOYREGHWCONFIG config{};
    config.hws.dwFlags = kHardwareHasZ;
    config.hws.dwNumButtons = 0;
    config.dwUsageSettings = kUsagePresent;
    config.hwv.jrvHardware.jpMin = Axes(512, 853, 0);
    config.hwv.jrvHardware.jpMax = Axes(1535, 1194, kFullMax);
    config.hwv.jrvHardware.jpCenter = Axes(kCenter, kCenter, kCenter);
    config.dwType = kHardwareCustom;
    return config;
}

std::string SeedRegistryText() {
    RegistryDocument document;
    const std::string settingsKey = JoystickSettingsKeyPath(kDefaultRegKey);
    document.SetValue(settingsKey, OemNameValueName(0), REG_SZ, TextValue(kSeedOemType));
    document.SetValue(settingsKey, ConfigurationValueName(0), REG_BINARY,
                      EncodeJoystickConfig(SeedJoystickConfig()));
    document.SetValue(OemTypeKeyPath(kSeedOemType), "OEMName", REG_SZ, TextValue(kSeedOemName));
    static constexpr const char* kComments[] = {
        "; The registry of the emulated joystick machine (HKEY_LOCAL_MACHINE only).",
        "; Joystick slot N (1..16) of joysticks.ini with RegKey=<name> keeps its values under",
        ";   ...\\MediaResources\\Joystick\\<name>\\CurrentJoystickSettings:",
        ";   JoystickNOEMName names its OEM type key below ...\\Joystick\\OEM, whose OEMName",
        ";   must contain \"Tracker\" for a head tracker; JoystickNConfiguration is its",
        ";   112-byte calibration record (the X, Y and Z ranges set the sensitivity).",
        "; A second tracker in slot 2: copy the two Joystick1 values as Joystick2... here and",
        "; add a [Joystick2] section to joysticks.ini."};
    for (const char* comment : kComments) {
        document.keys[0].leading.push_back(StoredLine{comment, LineEnd::kLf});
    }
    return FormatRegistryText(document);
}

std::string SeedSystemIniText() {
    return "; Installable drivers of the emulated joystick machine.\n"
           "; msjstick is the joystick driver: it reloads the calibration records when told that\n"
           "; they changed. Remove its line (or put a ';' before it) to run without it.\n"
           "[Drivers]\n"
           "msjstick=msjstick.drv\n";
}

std::string SeedJoysticksIniText() {
    return "; Joystick slots of the emulated joystick machine: [Joystick1] is slot 0 ...\n"
           "; [Joystick16] is slot 15; a slot without a section has no device.\n"
           "; [Slots] Count=N makes the machine report N joystick devices (0..16, default 16).\n"
           ";   Device=HeadTracker or Device=Joystick\n"
           ";   RegKey=  the driver key name the device reports (its registry settings in\n"
           ";            system.reg live under ...\\MediaResources\\Joystick\\<RegKey>)\n"
           ";   StereoMode=0/1, PowerSaver=0/1  a head tracker's own state, kept up to date here\n"
           "; To add a second tracker, copy the section below as [Joystick2] and give it its\n"
           "; Joystick2OEMName and Joystick2Configuration values in system.reg.\n"
           "[Joystick1]\n"
           "Device=HeadTracker\n"
           "RegKey=MSJSTICK.DRV\n"
           "StereoMode=0\n"
           "PowerSaver=0\n";
}

}  // namespace emulated

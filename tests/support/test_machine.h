// A fresh emulated machine in a temporary prefix, described slot by slot and written in the
// machine's own file formats, with the headless windowing double reset around it.
#pragma once

#include "platform/win32api.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TestSlot {
    UINT slot;
    std::string device = "HeadTracker";
    std::string oemName = "ZARVEN HMD Tracker";
    std::string regKey = "MSJSTICK.DRV";
    int stereo = 0;
    int powerSaver = 0;
    std::optional<JOYREGHWCONFIG> config{};  // the slot's Joystick<N>Configuration record
    bool registered = true;                  // false: no registry keys for the device
};

class TestMachine {
public:
    TestMachine();
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    TestMachine& Add(TestSlot slot);
    TestMachine& WithoutDriver();
    TestMachine& ExtraRegistry(std::string text);  // appended to system.reg as written
    TestMachine& DeviceCount(std::string count);   // joysticks.ini's [Slots] Count=, as written
    // The machine finds the kernel's joystick devices; by default it finds none, so that a
    // joystick plugged into the machine running the tests changes neither them nor itself.
    TestMachine& WithKernelDevices();

    // Writes the files and points the emulated machine at the prefix.
    void Start();

    const std::filesystem::path& Prefix() const { return m_prefix; }
    std::string ReadFile(const std::string& name) const;  // a file of the prefix, "" if none

private:
    std::filesystem::path m_prefix;
    std::vector<TestSlot> m_slots;
    bool m_driver = true;
    std::string m_extraRegistry;
    std::optional<std::string> m_deviceCount;
};

// A configuration record whose X, Y, Z minimums are the given values (max to match, centres
// 1023), other fields as a calibrated joystick has them.
JOYREGHWCONFIG ConfigWithMinimums(DWORD minX, DWORD minY, DWORD minZ);

// `"name"=hex:..` text of raw bytes, for registry values written by hand.
std::string RegistryHex(const void* bytes, std::size_t size);

// The szPname of slots 0 .. count - 1, "-" for a slot that is no device.
std::vector<std::string> SlotNames(UINT count);

// Reads the stored configuration record of a slot back from the emulated registry.
std::optional<JOYREGHWCONFIG> StoredConfig(UINT slot, const std::string& regKey = "MSJSTICK.DRV");

// A fresh emulated machine in a temporary prefix, headless double reset: its files written slot by
// slot (Start), or left for the machine to seed (Reload); no real joystick unless told to. Then
// shorthands for platform calls, and the fixture of the machine's own tests.
#pragma once

#include "platform/emulated/emulated_machine.h"

#include <gtest/gtest.h>
#include <optional>

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

    TestMachine& Add(TestSlot slot) { return m_slots.push_back(std::move(slot)), *this; }
    TestMachine& WithoutDriver() { return m_driver = false, *this; }
    // Appended to system.reg as written.
    TestMachine& ExtraRegistry(std::string text) { return m_extraRegistry += text, *this; }
    // joysticks.ini's [Slots] Count=, as written.
    TestMachine& DeviceCount(std::string count) { return m_deviceCount = count, *this; }
    // The kernel's joystick devices take part.
    TestMachine& WithKernelDevices() { return emulated::UseInputDevices(nullptr), *this; }

    // Writes the files and points the emulated machine at the prefix, its clock at 0.
    void Start();
    // Drops the machine in memory, so the next call reads the prefix as it stands.
    void Reload() const { emulated::UsePrefix(m_prefix); }

    const std::filesystem::path& Prefix() const { return m_prefix; }
    std::filesystem::path File(const std::string& name) const { return m_prefix / name; }
    std::string ReadFile(const std::string& name) const;  // a file of the prefix, "" if none

private:
    std::filesystem::path m_prefix;
    std::vector<TestSlot> m_slots;
    bool m_driver = true;
    std::string m_extraRegistry;
    std::optional<std::string> m_deviceCount;
};

// Keys below HKEY_LOCAL_MACHINE: the joystick driver's settings, and the parent of OEM types.
inline constexpr char kSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK.DRV\\"
    "CurrentJoystickSettings";
inline constexpr char kOemKey[] =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\";

// A configuration record whose X, Y, Z minimums are the given values (max to match, centres
// 1023), other fields as a calibrated joystick has them.
JOYREGHWCONFIG ConfigWithMinimums(DWORD minX, DWORD minY, DWORD minZ);

// `hex:..` text of raw bytes, for registry values written by hand.
std::string RegistryHex(const void* bytes, std::size_t size);

// The szPname of slots 0 .. count - 1, "-" for a slot that is no device.
std::vector<std::string> SlotNames(UINT count);

// Reads the stored configuration record of a slot back from the emulated registry.
std::optional<JOYREGHWCONFIG> StoredConfig(UINT slot, const std::string& regKey = "MSJSTICK.DRV");

namespace emulated_test {

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);  // creates folders

// The machine's line about a file it cannot use; `what` is ": reason" or ":N: reason".
std::string ErrorLine(const std::filesystem::path& file, const std::string& what);

// Value `name` of key HKLM\`key` as bytes, "no key" or "error N". A text's terminating zero is
// cut, and " (no zero)" added to one without it.
std::string QueryTextAt(const std::string& key, const std::string& name);
LONG SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD size);
inline LONG SetText(const std::string& key, const std::string& name, const std::string& text) {
    return SetValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}
// Stores slot 0's record as the panel does, then tells the driver.
void StoreRecord(const JOYREGHWCONFIG& record);

struct Reply {
    MMRESULT result;
    JOYINFOEX info;
};
Reply Query(UINT slot, DWORD flags);

// The machine in a fresh prefix, seeded unless the test writes files first, on the test's clock.
class MachineTest : public ::testing::Test {
protected:
    MachineTest() {
        machine_.Reload();
        emulated::SetClock([this] { return now_; });
    }

    std::filesystem::path File(const std::string& name) const { return machine_.File(name); }
    std::string Read(const std::string& name) const { return machine_.ReadFile(name); }
    void Write(const std::string& name, const std::string& text) { WriteText(File(name), text); }
    void Reload() const { machine_.Reload(); }

    TestMachine machine_;
    double now_ = 100.0;  // the machine's clock, in seconds
};

}  // namespace emulated_test

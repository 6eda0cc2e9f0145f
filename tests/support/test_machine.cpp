#include "tests/support/test_machine.h"

#include "platform/emulated/emulated_machine.h"
#include "platform/headless/headless.h"
#include "tests/support/fake_input_devices.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr char kSettingsKey[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\";
constexpr char kOemKey[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties"
    "\\Joystick\\OEM\\";

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

std::string RegistryText(const std::vector<TestSlot>& slots, const std::string& extra) {
    std::ostringstream reg;
    reg << "REGEDIT4\n";
    for (const TestSlot& s : slots) {
        if (!s.registered) {
            continue;
        }
        const unsigned n = s.slot + 1;
        reg << "\n[" << kSettingsKey << s.regKey << "\\CurrentJoystickSettings]\n";
        reg << "\"Joystick" << n << "OEMName\"=\"OEM_TYPE_" << n << "\"\n";
        if (s.config) {
            reg << "\"Joystick" << n
                << "Configuration\"=" << RegistryHex(&*s.config, sizeof(JOYREGHWCONFIG)) << "\n";
        }
        reg << "\n[" << kOemKey << "OEM_TYPE_" << n << "]\n";
        reg << "\"OEMName\"=\"" << s.oemName << "\"\n";
    }
    reg << extra;
    return reg.str();
}

std::string JoysticksText(const std::vector<TestSlot>& slots) {
    std::ostringstream ini;
    for (const TestSlot& s : slots) {
        ini << "[Joystick" << s.slot + 1 << "]\nDevice=" << s.device << "\nRegKey=" << s.regKey
            << "\n";
        if (s.device == "HeadTracker") {
            ini << "StereoMode=" << s.stereo << "\nPowerSaver=" << s.powerSaver << "\n";
        }
        ini << "\n";
    }
    return ini.str();
}

}  // namespace

TestMachine::TestMachine() {
    char pattern[] = "/tmp/zarven-test-XXXXXX";
    m_prefix = fs::path(mkdtemp(pattern)) / "zarven-controls";
    fs::create_directories(m_prefix);
    headless::Reset();
    UseFakeDevices({});
}

TestMachine::~TestMachine() {
    std::error_code ignored;
    fs::remove_all(m_prefix.parent_path(), ignored);
    emulated::UseInputDevices(nullptr);
}

TestMachine& TestMachine::Add(TestSlot slot) {
    m_slots.push_back(std::move(slot));
    return *this;
}

TestMachine& TestMachine::WithoutDriver() {
    m_driver = false;
    return *this;
}

TestMachine& TestMachine::ExtraRegistry(std::string text) {
    m_extraRegistry += text;
    return *this;
}

TestMachine& TestMachine::DeviceCount(std::string count) {
    m_deviceCount = std::move(count);
    return *this;
}

TestMachine& TestMachine::WithKernelDevices() {
    emulated::UseInputDevices(nullptr);
    return *this;
}

void TestMachine::Start() {
    WriteText(m_prefix / "system.reg", RegistryText(m_slots, m_extraRegistry));
    const std::string slotsSection =
        m_deviceCount ? "[Slots]\nCount=" + *m_deviceCount + "\n\n" : std::string();
    WriteText(m_prefix / "joysticks.ini", slotsSection + JoysticksText(m_slots));
    WriteText(m_prefix / "system.ini",
              m_driver ? "[Drivers]\nmsjstick=msjstick.drv\n" : "[Drivers]\n");
    emulated::UsePrefix(m_prefix);
    emulated::SetClock([] { return 0.0; });
    emulated::ClearLogs();
}

std::string TestMachine::ReadFile(const std::string& name) const {
    std::ifstream in(m_prefix / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

JOYREGHWCONFIG ConfigWithMinimums(DWORD minX, DWORD minY, DWORD minZ) {
    JOYREGHWCONFIG config{};
    config.hws.dwFlags = 0x10;
    config.hws.dwNumButtons = 2;
    config.dwUsageSettings = 0x1;
    config.dwType = 0x3;
    JOYRANGE& r = config.hwv.jrvHardware;
    r.jpMin = JOYPOS{minX, minY, minZ, 0, 0, 0};
    r.jpMax = JOYPOS{2047 - minX, 2047 - minY, 2047 - minZ, 2047, 2047, 2047};
    // Halfway between min and max, as calibration finds it: not the 1024 the program writes,
    // so a centre that is not written, or written to another axis, shows.
    r.jpCenter = JOYPOS{1023, 1023, 1023, 1023, 1023, 1023};
    config.hwv.dwCalFlags = 0x7;
    return config;
}

std::string RegistryHex(const void* bytes, std::size_t size) {
    std::string text = "hex:";
    const auto* b = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : ",%02x", b[i]);
        text += byte;
    }
    return text;
}

std::optional<JOYREGHWCONFIG> StoredConfig(UINT slot, const std::string& regKey) {
    const std::string path = "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\" +
                             regKey + "\\CurrentJoystickSettings";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::string name = "Joystick" + std::to_string(slot + 1) + "Configuration";
    JOYREGHWCONFIG config{};
    DWORD size = sizeof config;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                         reinterpret_cast<LPBYTE>(&config), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof config) {
        return std::nullopt;
    }
    return config;
}

std::vector<std::string> SlotNames(UINT count) {
    std::vector<std::string> names;
    for (UINT slot = 0; slot < count; ++slot) {
        JOYCAPSA caps{};
        names.push_back(joyGetDevCapsA(slot, &caps, sizeof caps) == JOYERR_NOERROR ? caps.szPname
                                                                                   : "-");
    }
    return names;
}

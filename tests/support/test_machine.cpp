#include "tests/support/test_machine.h"

#include "platform/headless/headless.h"
#include "tests/support/fake_input_devices.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr char kJoystickKey[] = "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\";
constexpr LONG kNoKey = -1;

std::string RegistryText(const std::vector<TestSlot>& slots, const std::string& extra) {
    std::string reg = "REGEDIT4\n";
    for (const TestSlot& s : slots) {
        const std::string n = std::to_string(s.slot + 1);
        if (s.registered) {
            reg += "\n[HKEY_LOCAL_MACHINE\\" + std::string(kJoystickKey) + s.regKey +
                   "\\CurrentJoystickSettings]\n\"Joystick" + n + "OEMName\"=\"OEM_TYPE_" + n +
                   "\"\n" +
                   (s.config ? "\"Joystick" + n + "Configuration\"=" +
                                   RegistryHex(&*s.config, sizeof(JOYREGHWCONFIG)) + "\n"
                             : "") +
                   "\n[HKEY_LOCAL_MACHINE\\" + kOemKey + "OEM_TYPE_" + n + "]\n\"OEMName\"=\"" +
                   s.oemName + "\"\n";
        }
    }
    return reg + extra;
}

std::string JoysticksText(const std::vector<TestSlot>& slots) {
    std::string ini;
    for (const TestSlot& s : slots) {
        ini += "[Joystick" + std::to_string(s.slot + 1) + "]\nDevice=" + s.device +
               "\nRegKey=" + s.regKey + "\n";
        if (s.device == "HeadTracker") {
            ini += "StereoMode=" + std::to_string(s.stereo) +
                   "\nPowerSaver=" + std::to_string(s.powerSaver) + "\n";
        }
        ini += "\n";
    }
    return ini;
}

// Value `name` of key HKLM\`key`, at most 256 bytes; kNoKey when the key does not open.
LONG QueryValue(const std::string& key, const std::string& name, std::string& data) {
    HKEY open = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &open) !=
        ERROR_SUCCESS) {
        return kNoKey;
    }
    data.assign(256, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(open, name.c_str(), nullptr, nullptr,
                                         reinterpret_cast<LPBYTE>(data.data()), &size);
    RegCloseKey(open);
    data.resize(result == ERROR_SUCCESS ? size : 0);
    return result;
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
    emulated::SetClock(nullptr);
}

void TestMachine::Start() {
    using emulated_test::WriteText;
    WriteText(File("system.reg"), RegistryText(m_slots, m_extraRegistry));
    WriteText(File("joysticks.ini"),
              (m_deviceCount ? "[Slots]\nCount=" + *m_deviceCount + "\n\n" : "") +
                  JoysticksText(m_slots));
    WriteText(File("system.ini"), m_driver ? "[Drivers]\nmsjstick=msjstick.drv\n" : "[Drivers]\n");
    Reload();
    emulated::SetClock([] { return 0.0; });
    emulated::ClearLogs();
}

std::string TestMachine::ReadFile(const std::string& name) const {
    return emulated_test::ReadText(File(name));
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
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned byte = static_cast<const unsigned char*>(bytes)[i];
        text += (i == 0 ? "" : ",") + std::string{"0123456789abcdef"[byte >> 4]} +
                "0123456789abcdef"[byte & 15];
    }
    return text;
}

std::optional<JOYREGHWCONFIG> StoredConfig(UINT slot, const std::string& regKey) {
    std::string record;
    JOYREGHWCONFIG config{};
    if (QueryValue(kJoystickKey + regKey + "\\CurrentJoystickSettings",
                   "Joystick" + std::to_string(slot + 1) + "Configuration",
                   record) != ERROR_SUCCESS ||
        record.size() != sizeof config) {
        return std::nullopt;
    }
    std::copy_n(record.data(), sizeof config, reinterpret_cast<char*>(&config));
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

namespace emulated_test {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ErrorLine(const fs::path& file, const std::string& what) {
    return "zarven-controls: " + file.string() + what + "\n";
}

std::string QueryTextAt(const std::string& key, const std::string& name) {
    std::string data;
    if (const LONG result = QueryValue(key, name, data); result != ERROR_SUCCESS) {
        return result == kNoKey ? "no key" : "error " + std::to_string(result);
    }
    return !data.empty() && data.back() == '\0' ? data.substr(0, data.size() - 1)
                                                : data + " (no zero)";
}

LONG SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD size) {
    HKEY open = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &open);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(open, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(open);
    }
    return result;
}

void StoreRecord(const JOYREGHWCONFIG& record) {
    ASSERT_EQ(SetValue(kSettings, "Joystick1Configuration", REG_BINARY, &record, sizeof record),
              ERROR_SUCCESS);
    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    EXPECT_EQ(SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0), 0);
    CloseDriver(driver, 0, 0);
}

Reply Query(UINT slot, DWORD flags) {
    Reply reply{};
    reply.info.dwSize = sizeof(JOYINFOEX);
    reply.info.dwFlags = flags;
    reply.result = joyGetPosEx(slot, &reply.info);
    return reply;
}

}  // namespace emulated_test

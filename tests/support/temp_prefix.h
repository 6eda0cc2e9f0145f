// A test that runs the emulated machine in a fresh temporary prefix with a clock it sets, and
// shorthands for the platform calls the tests make.
#pragma once

#include "platform/emulated/emulated_machine.h"
#include "platform/win32api.h"
#include "tests/support/fake_input_devices.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace emulated_test {

inline constexpr char kSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK.DRV\\"
    "CurrentJoystickSettings";

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The line the machine prints when it cannot use a file; `what` is ": reason" or ":N: reason".
inline std::string ErrorLine(const std::filesystem::path& file, const std::string& what) {
    return "zarven-controls: " + file.string() + what + "\n";
}

// The text value `name` of key `path`, "no key" or "error N".
inline std::string QueryTextAt(const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "no key";
    }
    char text[256] = {};
    DWORD size = sizeof text;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(text) : "error " + std::to_string(result);
}

inline LONG SetText(const char* path, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &key);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    return result;
}

struct Reply {
    MMRESULT result;
    JOYINFOEX info;
};

inline Reply Query(UINT slot, DWORD flags) {
    Reply reply{};
    reply.info.dwSize = sizeof(JOYINFOEX);
    reply.info.dwFlags = flags;
    reply.result = joyGetPosEx(slot, &reply.info);
    return reply;
}

class TempPrefixTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = (std::filesystem::temp_directory_path() / "zarven-emu-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        prefix_ = std::filesystem::path(dir) / "prefix";
        UseFakeDevices({});  // no joystick of the machine running the tests takes part
        Reload();
        emulated::SetClock([this] { return now_; });
    }
    void TearDown() override {
        emulated::SetClock(nullptr);
        emulated::UseInputDevices(nullptr);
        emulated::UsePrefix(prefix_ / "gone");
        std::filesystem::remove_all(prefix_.parent_path());
    }

    std::filesystem::path File(const std::string& name) const { return prefix_ / name; }
    // Drops the machine in memory, so the next call reads the prefix again.
    void Reload() const { emulated::UsePrefix(prefix_); }

    double now_ = 100.0;  // the machine's clock, in seconds
    std::filesystem::path prefix_;
};

}  // namespace emulated_test

#include "tests/support/test_machine.h"

#include <cstring>

namespace emulated_test {
namespace {

class RegistryApi : public MachineTest {
protected:
    RegistryApi() {
        Write("system.reg", "REGEDIT4\n\n; settings\n[HKEY_LOCAL_MACHINE\\" +
                                std::string(kSettings) +
                                "]\n\"Joystick1OEMName\"=\"ZARVEN_HMD\"\n\"Count\"=dword:0000002a\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n");
    }

    // Opens the settings key spelled in another case than the file spells it.
    static HKEY Open(REGSAM access) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                "SYSTEM\\currentcontrolset\\control\\mediaresources\\joystick\\"
                                "msjstick.drv\\currentjoysticksettings",
                                0, access, &key),
                  ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryApi, OpeningAMissingKeyFailsAndCreatesNothing) {
    for (const char* path : {"System\\Nowhere", "System\\CurrentControlSet\\", "Software\\Other"}) {
        HKEY key = reinterpret_cast<HKEY>(1);
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
            << path;
        EXPECT_EQ(key, nullptr);
    }
}

TEST_F(RegistryApi, QueryReportsTypeAndLengthAndCopiesNothingIntoAShortBuffer) {
    HKEY key = Open(KEY_QUERY_VALUE);
    for (const auto& [name, room, result, type, size] :
         {std::tuple{"JOYSTICK1oemname", 10u, ERROR_MORE_DATA, REG_SZ, 11u},
          std::tuple{"joystick1OEMNAME", 64u, ERROR_SUCCESS, REG_SZ, 11u},
          std::tuple{"count", 64u, ERROR_SUCCESS, REG_DWORD, 4u}}) {
        char data[64];
        std::memset(data, '#', sizeof data);
        DWORD gotType = 0;
        DWORD gotSize = room;
        EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &gotType, reinterpret_cast<LPBYTE>(data),
                                   &gotSize),
                  result)
            << name;
        // The size needed, with a text's terminating zero.
        EXPECT_EQ(std::tuple(gotType, gotSize), std::tuple(static_cast<DWORD>(type), size)) << name;
        EXPECT_EQ(std::string(data, room) == std::string(room, '#'), result == ERROR_MORE_DATA);
    }
    RegCloseKey(key);
}

TEST_F(RegistryApi, SetReplacesTheValueWholeAndKeepsTheRestOfTheFile) {
    HKEY key = Open(KEY_READ | KEY_WRITE);
    const BYTE record[112] = {7};
    ASSERT_EQ(RegSetValueExA(key, "JOYSTICK1OEMNAME", 0, REG_BINARY, record, sizeof record),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1OEMName", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(type, size), std::tuple(static_cast<DWORD>(REG_BINARY), 112u));
    RegCloseKey(key);
    const std::string text = Read("system.reg");
    for (const char* kept : {"; settings\n", "\"Joystick1OEMName\"=hex:07,00,",
                             "[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n"}) {
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    }
}

TEST_F(RegistryApi, RefusesBadHandlesAndWritesItMustNotMake) {
    HKEY closed = Open(KEY_READ);
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    DWORD size = 0;
    for (HKEY bad : {closed, reinterpret_cast<HKEY>(0x12345), static_cast<HKEY>(nullptr)}) {
        EXPECT_EQ(RegQueryValueExA(bad, "Count", nullptr, nullptr, nullptr, &size),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetValueExA(bad, "Count", 0, REG_BINARY, nullptr, 0), ERROR_INVALID_HANDLE);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    const BYTE data[4] = {1, 2, 3, 4};
    HKEY queryOnly = Open(KEY_QUERY_VALUE);
    EXPECT_EQ(RegSetValueExA(queryOnly, "Count", 0, REG_BINARY, data, 4), ERROR_ACCESS_DENIED);
    RegCloseKey(queryOnly);
    HKEY setOnly = Open(KEY_WRITE);
    EXPECT_EQ(RegQueryValueExA(setOnly, "Count", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueExA(setOnly, "two\nlines", 0, REG_BINARY, data, 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(setOnly, "Null", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(setOnly);
}

}  // namespace
}  // namespace emulated_test

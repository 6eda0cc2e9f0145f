#include "platform/emulated/registry_service.h"
#include "platform/emulated/registry_text.h"
#include "platform/win32api.h"
#include "temp_prefix.h"

#include <cstring>
#include <gtest/gtest.h>

namespace emulated_test {
namespace {

constexpr char kRegistry[] =
    "REGEDIT4\n\n"
    "; the settings key\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK."
    "DRV\\"
    "CurrentJoystickSettings]\n"
    "\"Joystick1OEMName\"=\"ZARVEN_HMD\"\n"
    "\"Count\"=dword:0000002a\n"
    "@=\"default\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Other]\n"
    "\"Kept\"=\"yes\"\n";

constexpr char kSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK."
    "DRV\\CurrentJoystickSettings";

class RegistryApi : public TempPrefixTest {
protected:
    void SetUp() override {
        TempPrefixTest::SetUp();
        WriteText(File("system.reg"), kRegistry);
    }

    HKEY OpenSettings(REGSAM access) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, access, &key), ERROR_SUCCESS);
        return key;
    }

    std::string QueryText(HKEY key, const char* name) {
        char text[256] = {};
        DWORD size = sizeof text;
        const LONG result =
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
        return result == ERROR_SUCCESS ? std::string(text) : "error " + std::to_string(result);
    }
};

TEST_F(RegistryApi, OpensExistingKeysInAnyCaseAndTheirAncestors) {
    for (const char* path : std::initializer_list<const char*>{
             kSettings,
             "system\\currentcontrolset\\control\\mediaresources\\joystick\\msjstick.drv\\"
             "currentjoysticksettings",
             "System\\CurrentControlSet", "", nullptr}) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_SUCCESS)
            << (path == nullptr ? "(null)" : path);
        EXPECT_NE(key, nullptr);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control", 0, KEY_READ,
                            &parent),
              ERROR_SUCCESS);
    HKEY child = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(parent, "MediaResources\\Joystick\\MSJSTICK.DRV\\CurrentJoystickSettings", 0,
                      KEY_READ, &child),
        ERROR_SUCCESS);
    EXPECT_EQ(QueryText(child, "joystick1oemname"), "ZARVEN_HMD");
    RegCloseKey(child);
    RegCloseKey(parent);
}

TEST_F(RegistryApi, OpeningAMissingKeyFailsAndCreatesNothing) {
    const std::string before = ReadText(File("system.reg"));
    for (const char* path : {"System\\Nowhere",
                             "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\"
                             "\\CurrentJoystickSettings",
                             "System\\CurrentControlSet\\", "Software\\Other"}) {
        HKEY key = reinterpret_cast<HKEY>(1);
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
            << path;
        EXPECT_EQ(key, nullptr);
    }
    EXPECT_EQ(ReadText(File("system.reg")), before);
}

TEST_F(RegistryApi, OnlyTheLocalMachineRootAndOpenHandlesAreKeys) {
    HKEY key = nullptr;
    const HKEY currentUser = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u));
    EXPECT_EQ(RegOpenKeyExA(currentUser, "Software\\Other", 0, KEY_READ, &key),
              ERROR_INVALID_HANDLE);

    HKEY closed = OpenSettings(KEY_READ);
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    const HKEY madeUp = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345));
    for (HKEY bad : {closed, madeUp, static_cast<HKEY>(nullptr)}) {
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(bad, "Count", nullptr, nullptr, nullptr, &size),
                  ERROR_INVALID_HANDLE);
        const BYTE data[1] = {1};
        EXPECT_EQ(RegSetValueExA(bad, "Count", 0, REG_BINARY, data, 1), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApi, QueryReportsSizeAndTypeAndRefusesShortBuffers) {
    HKEY key = OpenSettings(KEY_QUERY_VALUE);
    DWORD type = 99;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1OEMName", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 11u) << "the text and its terminating zero";

    char text[11];
    std::memset(text, '#', sizeof text);
    size = 10;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1OEMName", nullptr, &type,
                               reinterpret_cast<LPBYTE>(text), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(std::string(text, sizeof text), std::string(11, '#')) << "nothing copied";

    BYTE wide[64];
    size = sizeof wide;
    EXPECT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, wide, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(wide[0], 42);

    EXPECT_EQ(QueryText(key, nullptr), "default");
    EXPECT_EQ(QueryText(key, ""), "default");
    EXPECT_EQ(QueryText(key, "Missing"), "error " + std::to_string(ERROR_FILE_NOT_FOUND));
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Count", &reserved, nullptr, nullptr, &size),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Count", nullptr, nullptr, wide, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryApi, AccessMaskIsRespected) {
    const BYTE data[4] = {1, 2, 3, 4};
    HKEY queryOnly = OpenSettings(KEY_QUERY_VALUE);
    EXPECT_EQ(RegSetValueExA(queryOnly, "Count", 0, REG_BINARY, data, 4), ERROR_ACCESS_DENIED);
    HKEY setOnly = OpenSettings(KEY_SET_VALUE);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(setOnly, "Count", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueExA(setOnly, "Count", 0, REG_BINARY, data, 4), ERROR_SUCCESS);
    EXPECT_EQ(ReadText(File("system.reg")).find("\"Count\"=hex:01,02,03,04\n") != std::string::npos,
              true);
    RegCloseKey(queryOnly);
    RegCloseKey(setOnly);
}

TEST_F(RegistryApi, SetReplacesTheValueWholeAndWritesThrough) {
    HKEY key = OpenSettings(KEY_READ | KEY_WRITE);
    const BYTE record[112] = {7};
    ASSERT_EQ(RegSetValueExA(key, "JOYSTICK1OEMNAME", 0, REG_BINARY, record, sizeof record),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    RegQueryValueExA(key, "Joystick1OEMName", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 112u);
    const char shortText[] = {'a', 'b'};  // no terminating zero: stored as given
    ASSERT_EQ(RegSetValueExA(key, "Short", 0, REG_SZ, reinterpret_cast<const BYTE*>(shortText), 2),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key, "Short"), "ab") << "read back terminated when the buffer has room";
    ASSERT_EQ(RegSetValueExA(key, "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);

    const std::string text = ReadText(File("system.reg"));
    EXPECT_NE(text.find("; the settings key\n"), std::string::npos) << "comments are kept";
    EXPECT_NE(text.find("\"Joystick1OEMName\"=hex:07,00,"), std::string::npos)
        << "the name keeps its spelling";
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Short\"=hex(1):61,62\n"), std::string::npos);

    Reload();
    key = OpenSettings(KEY_READ);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1OEMName", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 112u);
    EXPECT_EQ(QueryText(key, nullptr), "default");
    RegCloseKey(key);
}

TEST_F(RegistryApi, SettingOnAnAncestorKeyWritesTheKeyOut) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "system\\currentcontrolset", 0, KEY_WRITE, &key),
              ERROR_SUCCESS);
    const char text[] = "v";
    ASSERT_EQ(RegSetValueExA(key, "New", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 2),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_NE(ReadText(File("system.reg"))
                  .find("[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet]\n\"New\"=\"v\"\n"),
              std::string::npos)
        << "spelled as the file spells it";
}

TEST_F(RegistryApi, RefusesWhatTheFileCouldNotHold) {
    HKEY key = OpenSettings(KEY_WRITE);
    const BYTE byte = 1;
    EXPECT_EQ(RegSetValueExA(key, "two\nlines", 0, REG_BINARY, &byte, 1), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        RegSetValueExA(key, std::string(emulated::kMaxRegistryValueNameLength + 1, 'n').c_str(), 0,
                       REG_BINARY, &byte, 1),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(key, "Big", 0, REG_BINARY, &byte,
                             static_cast<DWORD>(emulated::kMaxRegistryValueSize + 1)),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(key, "Null", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryApi, ReadsFromMemoryNotFromTheDisk) {
    HKEY key = OpenSettings(KEY_READ);
    WriteText(File("system.reg"), "REGEDIT4\n");
    EXPECT_EQ(QueryText(key, "Joystick1OEMName"), "ZARVEN_HMD");
    RegCloseKey(key);
}

TEST_F(RegistryApi, AWriteAfterAnotherProgramRemovedTheKeyFails) {
    HKEY key = OpenSettings(KEY_WRITE);
    WriteText(File("system.reg"), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Elsewhere]\n");
    const BYTE byte = 1;
    EXPECT_EQ(RegSetValueExA(key, "Count", 0, REG_BINARY, &byte, 1), emulated::kErrorKeyDeleted);
    EXPECT_EQ(ReadText(File("system.reg")), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Elsewhere]\n");
    RegCloseKey(key);
}

}  // namespace
}  // namespace emulated_test

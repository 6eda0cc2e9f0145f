#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/joystick_config.h"
#include "platform/emulated/registry_text.h"
#include "platform/win32api.h"
#include "temp_prefix.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emulated_test {
namespace {

constexpr char kSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK."
    "DRV\\CurrentJoystickSettings";

std::string QueryText(const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "no key";
    }
    char text[256] = {};
    DWORD size = sizeof text;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(text) : "no value";
}

LONG SetText(const char* path, const std::string& name, const std::string& text) {
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

MMRESULT Command(UINT slot, DWORD flags) {
    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = flags;
    return joyGetPosEx(slot, &info);
}

using Seeding = TempPrefixTest;

TEST_F(Seeding, AnEmptyPrefixGetsATrackerInSlotZero) {
    JOYCAPSA caps{};
    ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR);
    EXPECT_STREQ(caps.szRegKey, "MSJSTICK.DRV");
    const std::string oemType = QueryText(kSettings, "Joystick1OEMName");
    EXPECT_EQ(oemType, "ZARVEN_HMD");
    const std::string oemKey =
        "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\" +
        oemType;
    EXPECT_NE(QueryText(oemKey.c_str(), "OEMName").find("Tracker"), std::string::npos);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    BYTE record[112];
    DWORD size = sizeof record;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Joystick1Configuration", nullptr, &type, record, &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 112u);
    const JOYRANGE range = emulated::DecodeJoystickConfig(record)->hwv.jrvHardware;
    // The panel's positions are 2047 - 2 * jpMin: 1023, 341, 341.
    EXPECT_EQ(2047 - 2 * static_cast<int>(range.jpMin.dwX), 1023);
    EXPECT_EQ(2047 - 2 * static_cast<int>(range.jpMin.dwY), 341);
    EXPECT_EQ(2047 - 2 * static_cast<int>(range.jpMin.dwZ), 341);
    EXPECT_EQ(range.jpMax.dwX, 1535u);
    EXPECT_EQ(range.jpMax.dwY, 1194u);
    EXPECT_EQ(range.jpCenter.dwZ, 1024u);

    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    EXPECT_NE(driver, nullptr);
    CloseDriver(driver, 0, 0);

    EXPECT_NE(ReadText(File("system.ini")).find("msjstick=msjstick.drv"), std::string::npos);
    EXPECT_NE(ReadText(File("joysticks.ini"))
                  .find("[Joystick1]\nDevice=HeadTracker\nRegKey=MSJSTICK.DRV\n"),
              std::string::npos);
    for (const char* name : {"system.reg", "system.ini", "joysticks.ini"}) {
        EXPECT_NE(ReadText(File(name)).find("; "), std::string::npos) << name << " explains itself";
    }
}

TEST_F(Seeding, NeverTouchesAPrefixThatHasAnyOfTheFiles) {
    WriteText(File("system.ini"), "[Drivers]\n");
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_UNPLUGGED);
    EXPECT_EQ(ReadText(File("system.ini")), "[Drivers]\n");
    EXPECT_FALSE(std::filesystem::exists(File("system.reg")));
    EXPECT_FALSE(std::filesystem::exists(File("joysticks.ini")));
}

struct CorruptCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::string message;
};

class CorruptRegistry : public TempPrefixTest, public ::testing::WithParamInterface<CorruptCase> {};

// The machine says so once, goes on without the file's contents, and never writes it.
TEST_P(CorruptRegistry, IsLeftByteForByteAndReportedOnce) {
    const CorruptCase& c = GetParam();
    WriteText(File("system.reg"), c.text);
    WriteText(File("joysticks.ini"), "[Joystick1]\nDevice=HeadTracker\n");
    ::testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT);
    EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT);
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR)
        << "the other files still count";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: " + File("system.reg").string() + ":" + std::to_string(c.line) +
                  ": " + c.message + "\n");
    EXPECT_EQ(ReadText(File("system.reg")), c.text);
}

const std::string kKey = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\System]\n";

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptRegistry,
    ::testing::Values(
        CorruptCase{"Garbage",
                    "\x7f"
                    "ELF\x02\x01\x01 garbage",
                    1, "missing REGEDIT4 header"},
        CorruptCase{"UnterminatedString", kKey + "\"a\"=\"b\n\"c\"=\"d\"\n", 4,
                    "unterminated string"},
        CorruptCase{"BadHexByte", kKey + "\"a\"=hex:01,xx\n", 4, "bad hex byte"},
        CorruptCase{"NulByte", kKey + std::string("\"a\"=\"\0\"\n", 7), 4, "NUL byte"},
        CorruptCase{"TenMegabyteLine", kKey + "; " + std::string(10 << 20, 'x') + "\n", 4,
                    "line longer than 65536 bytes"},
        CorruptCase{"TruncatedContinuation", kKey + "\"a\"=hex:01,02,\\", 4,
                    "continued value ends at the end of the file"}),
    [](const auto& info) { return std::string(info.param.name); });

using Durability = TempPrefixTest;

TEST_F(Durability, ACommandFailsWhenItsFileTurnedUnreadableAndWorksOnceFixed) {
    ASSERT_EQ(Command(0, JOY_CAL_READZONLY), JOYERR_NOERROR);
    const std::string broken = "[Joystick1\nDevice=HeadTracker\n";
    WriteText(File("joysticks.ini"), broken);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Command(0, JOY_CAL_READYONLY), JOYERR_NOCANDO);
    EXPECT_EQ(Command(0, JOY_CAL_READUONLY), JOYERR_NOCANDO);
    EXPECT_EQ(
        ::testing::internal::GetCapturedStderr(),
        "zarven-controls: " + File("joysticks.ini").string() + ":1: unterminated section name\n");
    EXPECT_EQ(ReadText(File("joysticks.ini")), broken);

    WriteText(File("joysticks.ini"), "[Joystick1]\nDevice=HeadTracker\nStereoMode=1\n");
    EXPECT_EQ(Command(0, JOY_CAL_READUONLY), JOYERR_NOERROR);
    Reload();
    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_CAL_READVONLY;
    ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
    EXPECT_EQ(info.dwVpos, 3u);
}

TEST_F(Durability, AWriteKeepsWhatAnotherProgramWroteMeanwhile) {
    ASSERT_EQ(SetText(kSettings, "Mine", "1"), ERROR_SUCCESS);
    std::string text = ReadText(File("system.reg"));
    text += "\n[HKEY_LOCAL_MACHINE\\Software\\Theirs]\n\"Theirs\"=\"2\"\n";
    WriteText(File("system.reg"), text);
    ASSERT_EQ(SetText(kSettings, "MineToo", "3"), ERROR_SUCCESS);
    Reload();
    EXPECT_EQ(QueryText(kSettings, "Mine"), "1");
    EXPECT_EQ(QueryText(kSettings, "MineToo"), "3");
    EXPECT_EQ(QueryText("Software\\Theirs", "Theirs"), "2");
}

TEST_F(Durability, AnUnreadableFileCountsAsAbsent) {
    std::filesystem::create_directories(File("system.reg"));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: " + File("system.reg").string() + ": Is a directory\n");
    EXPECT_TRUE(std::filesystem::is_directory(File("system.reg")));
}

TEST_F(Durability, APrefixThatIsAPlainFileRunsFromMemoryAndRefusesWrites) {
    const std::filesystem::path plain = prefix().parent_path() / "plain";
    WriteText(plain, "not a directory");
    emulated::UsePrefix(plain);
    ::testing::internal::CaptureStderr();
    JOYCAPSA caps{};
    EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR) << "the seed, held in memory";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: " + plain.string() + ": Not a directory\n");
    EXPECT_EQ(Command(0, JOY_CAL_READVONLY), JOYERR_NOERROR);
    EXPECT_EQ(Command(0, JOY_CAL_READZONLY), JOYERR_NOCANDO);
    EXPECT_EQ(SetText(kSettings, "x", "y"), ERROR_WRITE_FAULT);
    EXPECT_EQ(QueryText(kSettings, "x"), "no value");
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "StereoMode", "1", "zarven-controls.INI"),
              FALSE);
    EXPECT_EQ(ReadText(plain), "not a directory");
}

TEST_F(Durability, AReadOnlyPrefixRefusesWritesWithAccessDenied) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    ASSERT_EQ(SetText(kSettings, "x", "1"), ERROR_SUCCESS);
    std::filesystem::permissions(
        prefix(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(SetText(kSettings, "x", "2"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Command(0, JOY_CAL_READZONLY), JOYERR_NOCANDO);
    EXPECT_EQ(QueryText(kSettings, "x"), "1");
    std::filesystem::permissions(prefix(), std::filesystem::perms::owner_all);
}

// Each child writes its own values to the registry and the profile many times over, all at
// once; in the end every value of both is there.
TEST_F(Durability, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValues = 60;
    ASSERT_EQ(SetText(kSettings, "Start", "0"), ERROR_SUCCESS);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            bool ok = true;
            const std::string tag = child == 0 ? "A" : "B";
            for (int i = 0; i < kValues; ++i) {
                ok = ok && SetText(kSettings, tag + std::to_string(i), std::to_string(i)) ==
                               ERROR_SUCCESS;
                ok = ok && WritePrivateProfileStringA("ZARVEN", (tag + std::to_string(i)).c_str(),
                                                      std::to_string(i).c_str(),
                                                      "zarven-controls.INI") == TRUE;
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Reload();
    const std::string profile = ReadText(File("windows/zarven-controls.INI"));
    for (const char* tag : {"A", "B"}) {
        for (int i = 0; i < kValues; ++i) {
            const std::string name = tag + std::to_string(i);
            EXPECT_EQ(QueryText(kSettings, name.c_str()), std::to_string(i)) << name;
            EXPECT_NE(profile.find("\n" + name + "=" + std::to_string(i) + "\n"), std::string::npos)
                << name;
        }
    }
    EXPECT_EQ(QueryText(kSettings, "Joystick1OEMName"), "ZARVEN_HMD");
    EXPECT_TRUE(emulated::ParseRegistryText(ReadText(File("system.reg"))).ok());
}

}  // namespace
}  // namespace emulated_test

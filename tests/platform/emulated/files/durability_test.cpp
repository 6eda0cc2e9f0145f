#include "tests/support/test_machine.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emulated_test {
namespace {

using Seeding = MachineTest;
using Durability = MachineTest;

TEST_F(Seeding, AnEmptyPrefixGetsATrackerWithTheSeededRecord) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    JOYREGHWCONFIG config{};
    DWORD size = sizeof config;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1Configuration", nullptr, nullptr,
                               reinterpret_cast<LPBYTE>(&config), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(size, 112u);
    // The panel shows positions 2047 - 2 * jpMin.
    EXPECT_EQ(2047 - 2 * static_cast<int>(config.hwv.jrvHardware.jpMin.dwX), 1023);
    EXPECT_EQ(2047 - 2 * static_cast<int>(config.hwv.jrvHardware.jpMin.dwY), 341);
    EXPECT_EQ(2047 - 2 * static_cast<int>(config.hwv.jrvHardware.jpMin.dwZ), 341);
}

TEST_F(Seeding, NeverTouchesAPrefixThatHasAnyOfTheFiles) {
    WriteText(File("system.ini"), "[Drivers]\n");
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(ReadText(File("system.ini")), "[Drivers]\n");
}

// Sets the variables for the rest of this process; the other tests choose their prefix.
TEST(DefaultPrefix, IsAnAbsoluteXdgDataHomeOrElseUnderHome) {
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(emulated::DefaultPrefix(), "/home/u/.local/share/zarven-controls");
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(emulated::DefaultPrefix(), "/data/zarven-controls");
}

// The machine says so once, goes on without the file's contents, and never writes it.
TEST_F(Durability, ACorruptRegistryIsLeftByteForByteAndReportedOnce) {
    WriteText(File("joysticks.ini"), "[Joystick1]\nDevice=HeadTracker\n");
    const std::string key = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\System]\n";
    const std::pair<std::string, std::string> cases[] = {
        {"\177ELF\2\1\1 garbage", ":1: missing REGEDIT4 header"},
        {key + "\"a\"=\"b\n\"c\"=\"d\"\n", ":4: unterminated string"},
        {key + "\"a\"=hex:01,xx\n", ":4: bad hex byte"},
        {key + std::string("\"a\"=\"\0\"\n", 7), ":4: NUL byte"},
        {key + "; " + std::string(100 << 10, 'x') + "\n", ":4: line longer than 65536 bytes"},
        {key + std::string(9 << 20, '\n'), ": File too large"},
        {key + std::string(300000, '\r'), ":262145: more than 262144 lines"},
        {key + "\"a\"=hex:01,02,\\", ":4: continued value ends at the end of the file"}};
    for (const auto& [text, error] : cases) {
        WriteText(File("system.reg"), text);
        Reload();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(QueryTextAt("System", ""), "no key") << error;
        EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT) << error;
        EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT) << error;
        EXPECT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR) << "other files still count";
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), ErrorLine(File("system.reg"), error));
        EXPECT_EQ(ReadText(File("system.reg")), text) << error;
    }
}

TEST_F(Durability, AJoysticksFileFoundCorruptAtAWriteIsNeverOverwritten) {
    ASSERT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR);
    const std::string broken = "[Joystick1\nDevice=HeadTracker\n";
    WriteText(File("joysticks.ini"), broken);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Query(0, JOY_CAL_READYONLY).result, JOYERR_NOCANDO);
    EXPECT_EQ(Query(0, JOY_CAL_READUONLY).result, JOYERR_NOCANDO);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              ErrorLine(File("joysticks.ini"), ":1: unterminated section name"));
    EXPECT_EQ(ReadText(File("joysticks.ini")), broken);
}

TEST_F(Durability, APrefixThatIsAPlainFileRunsFromMemoryAndRefusesWrites) {
    const std::filesystem::path plain = machine_.Prefix().parent_path() / "plain";
    WriteText(plain, "not a directory");
    emulated::UsePrefix(plain);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_NOERROR) << "the seed, held in memory";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), ErrorLine(plain, ": Not a directory"));
    EXPECT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOCANDO);
    EXPECT_EQ(SetText(kSettings, "x", "y"), ERROR_WRITE_FAULT);
    EXPECT_EQ(QueryTextAt(kSettings, "x"), "error " + std::to_string(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "k", "1", "zarven-controls.INI"), FALSE);
    EXPECT_EQ(ReadText(plain), "not a directory");
}

// Each child writes its own values to the registry and the profile many times over, all at
// once; in the end every value of both is there.
TEST_F(Durability, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValues = 60;
    ASSERT_EQ(SetText(kSettings, "Start", "0"), ERROR_SUCCESS);
    for (const char* tag : {"A", "B"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kValues; ++i) {
                const std::string name = tag + std::to_string(i);
                const std::string value = std::to_string(i);
                ok = ok && SetText(kSettings, name, value) == ERROR_SUCCESS &&
                     WritePrivateProfileStringA("ZARVEN", name.c_str(), value.c_str(),
                                                "zarven-controls.INI") == TRUE;
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (int child = 0; child < 2; ++child) {
        int status = 0;
        ASSERT_GT(::wait(&status), 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Reload();
    const std::string profile = ReadText(File("windows/zarven-controls.INI"));
    for (const char* tag : {"A", "B"}) {
        for (int i = 0; i < kValues; ++i) {
            const std::string name = tag + std::to_string(i);
            EXPECT_EQ(QueryTextAt(kSettings, name.c_str()), std::to_string(i)) << name;
            EXPECT_NE(profile.find("\n" + name + "=" + std::to_string(i) + "\n"), std::string::npos)
                << name;
        }
    }
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick1OEMName"), "ZARVEN_HMD");
}

}  // namespace
}  // namespace emulated_test

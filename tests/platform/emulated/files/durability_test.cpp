#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/files/registry_text.h"
#include "tests/support/param_name.h"
#include "tests/support/test_machine.h"

#include <fstream>
#include <sys/resource.h>

namespace emulated_test {
namespace {

using Seeding = MachineTest;
using Durability = MachineTest;

TEST_F(Seeding, NeverTouchesAPrefixThatHasAnyOfTheFiles) {
    Write("system.ini", "[Drivers]\n");
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Read("system.ini"), "[Drivers]\n");
}

// Sets the variables for the rest of this process; the other tests choose their prefix.
TEST(DefaultPrefix, IsAnAbsoluteXdgDataHomeOrElseUnderHome) {
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(emulated::DefaultPrefix(), "/home/u/.local/share/zarven-controls");
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(emulated::DefaultPrefix(), "/data/zarven-controls");
}

// Said once; the machine goes on without the file's contents and never writes it.
TEST_F(Durability, ACorruptRegistryIsLeftByteForByteAndReportedOnce) {
    Write("joysticks.ini", "[Joystick1]\nDevice=HeadTracker\n");
    const std::string key = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\System]\n";
    const std::pair<std::string, std::string> cases[] = {
        {"\177ELF\2\1\1 garbage", ":1: missing REGEDIT4 header"},
        {key + "\"a\"=\"b\n\"c\"=\"d\"\n", ":4: unterminated string"},
        {key + "\"a\"=hex:01,\\\n  xx\n", ":4: bad hex byte"},
        {key + "# not a comment\n", ":4: unrecognised line"},
        {key + std::string("\"a\"=\"\0\"\n", 7), ":4: NUL byte"},
        {key + "; " + std::string(100 << 10, 'x') + "\n", ":4: line longer than 65536 bytes"},
        {key + std::string(9 << 20, '\n'), ": File too large"},
        {key + std::string(300000, '\r'), ":262145: more than 262144 lines"},
        {key + "\"a\"=hex:01,02,\\", ":4: continued value ends at the end of the file"}};
    for (const auto& [text, error] : cases) {
        SCOPED_TRACE(error);
        Write("system.reg", text);
        Reload();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(QueryTextAt("System", ""), "no key");
        EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT);
        EXPECT_EQ(SetText("", "x", "y"), ERROR_WRITE_FAULT);
        EXPECT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR) << "other files still count";
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), ErrorLine(File("system.reg"), error));
        EXPECT_EQ(Read("system.reg"), text);
    }
}

// Broken again in another way, it is reported again.
TEST_F(Durability, AJoysticksFileFoundCorruptAtAWriteIsNeverOverwritten) {
    ASSERT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOERROR);
    ::testing::internal::CaptureStderr();
    for (const std::string broken : {"[Joystick1\nDevice=HeadTracker\n", "[Joystick1]\nDevice\n"}) {
        Write("joysticks.ini", broken);
        EXPECT_EQ(Query(0, JOY_CAL_READYONLY).result, JOYERR_NOCANDO);
        EXPECT_EQ(Query(0, JOY_CAL_READUONLY).result, JOYERR_NOCANDO);
        EXPECT_EQ(Read("joysticks.ini"), broken);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              ErrorLine(File("joysticks.ini"), ":1: unterminated section name") +
                  ErrorLine(File("joysticks.ini"), ":2: expected key=value"));
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

// Two children write their own values to the registry and the profile at once; none is lost.
TEST_F(Durability, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValues = 60;
    ASSERT_EQ(SetText(kSettings, "Start", "0"), ERROR_SUCCESS);
    for (const char* tag : {"A", "B"}) {
        if (::fork() == 0) {
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
    const std::string profile = Read("windows/zarven-controls.INI");
    for (const char* tag : {"A", "B"}) {
        for (int i = 0; i < kValues; ++i) {
            const std::string name = tag + std::to_string(i);
            EXPECT_EQ(QueryTextAt(kSettings, name), std::to_string(i)) << name;
            EXPECT_NE(profile.find("\n" + name + "=" + std::to_string(i) + "\n"), std::string::npos)
                << name;
        }
    }
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick1OEMName"), "ZARVEN_HMD");
}

using emulated::kIniLimits;
using emulated::kMaxLineLength;
using emulated::kMaxRegistryValueSize;
using emulated::kRegistryLimits;

// The process's address space now, in bytes.
std::size_t AddressSpaceInUse() {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::string Times(std::size_t count, const std::string& line) {
    std::string text;
    while (count-- > 0) {
        text += line;
    }
    return text;
}

// `text`, then comment lines as long as a line may be, up to `size` bytes in all.
std::string FilledTo(std::string text, std::size_t size) {
    while (text.size() < size) {
        text += std::string(std::min(size - text.size() - 1, kMaxLineLength), ';') + "\n";
    }
    return text;
}

// Every file accepted is loaded and rewritten within bounded memory, one too large is refused:
// each case runs in a child whose address space is capped.
struct MemoryCase {
    const char* name;
    const char* file;  // system.reg, joysticks.ini or a profile, each written its own way
    std::string (*text)();
    std::size_t budgetMiB;  // address space allowed beyond what the test process holds already
    bool accepted;
};

bool WriteWorks(const std::string& file) {
    if (file == "system.reg") {
        return SetText("", "x", "y") == ERROR_SUCCESS;
    }
    if (file == "joysticks.ini") {
        return Query(0, JOY_CAL_READZONLY).result == JOYERR_NOERROR;
    }
    return WritePrivateProfileStringA("S", "k", "v", "p.INI") == TRUE;
}

class MemoryBound : public MachineTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryBound, LoadAndRewriteWithinABudgetOrRefuse) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any cap allows";
#endif
    const MemoryCase& c = GetParam();
    const std::filesystem::path file = File(c.file);
    ASSERT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_NOERROR);  // seeds the prefix
    std::uintmax_t size = 0;
    {
        const std::string text = c.text();  // gone before the child starts
        WriteText(file, text);
        size = text.size();
    }
    Reload();

    const pid_t child = ::fork();
    if (child == 0) {
        const rlim_t cap = AddressSpaceInUse() + c.budgetMiB * 1024 * 1024;
        const rlimit limit{cap, cap};
        ::_exit(::setrlimit(RLIMIT_AS, &limit) != 0 ? 3 : WriteWorks(c.file) == c.accepted ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    std::cout << c.name << ": " << size / 1024 << " KiB, peak resident " << usage.ru_maxrss / 1024
              << " MiB\n";
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write did not go as expected";
    if (!c.accepted) {
        EXPECT_EQ(std::filesystem::file_size(file), size) << "a refused file is left alone";
    }
}

const std::string kTracker = "[Joystick1]\nDevice=HeadTracker\n";
const std::string kRegistryHead = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n";
// One of the largest values the registry holds, continued over lines of 24 bytes.
std::string LargestValue(const std::string& name) {
    return name + "=hex:\\\n" +
           Times(kMaxRegistryValueSize / 24 - 1, "  " + Times(24, "00,") + "\\\n") + "  00\n";
}

const MemoryCase kFiles[] = {
    {"IniOfBlankLinesUpToTheLineLimit", "joysticks.ini",
     [] { return kTracker + std::string(kIniLimits.maxLines - 3, '\n'); }, 64, true},
    {"IniWhoseChangeWouldPassTheLineLimit", "joysticks.ini",
     [] { return kTracker + std::string(kIniLimits.maxLines - 2, '\n'); }, 64, false},
    {"IniOfEntriesUpToTheLineLimit", "windows/p.INI",
     [] { return "[S]\n" + Times(kIniLimits.maxLines - 2, "key=value\n"); }, 64, true},
    {"IniOfLongLinesFillingTheByteLimit", "windows/p.INI",
     [] { return FilledTo("[S]\nk=w\n", kIniLimits.maxBytes); }, 64, true},
    {"RegistryOfValuesUpToTheLineLimit", "system.reg",
     [] { return kRegistryHead + Times(kRegistryLimits.maxLines - 5, "\"value\"=\"\"\n"); }, 256,
     true},
    {"RegistryOfTwoLargestValues", "system.reg",
     [] { return kRegistryHead + LargestValue("\"a\"") + LargestValue("\"b\""); }, 256, true}};

INSTANTIATE_TEST_SUITE_P(Files, MemoryBound, ::testing::ValuesIn(kFiles), kByName);

}  // namespace
}  // namespace emulated_test

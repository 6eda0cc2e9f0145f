// Every file the machine accepts is loaded and rewritten within a bounded amount of memory, and
// a file too large for its kind is refused with one line: nothing a file holds can end the
// program. Each case runs in a child whose address space is capped (setrlimit RLIMIT_AS).
#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/files/registry_text.h"
#include "tests/support/test_machine.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace emulated_test {
namespace {

using emulated::kIniLimits;
using emulated::kMaxLineLength;
using emulated::kMaxRegistryValueSize;
using emulated::kRegistryLimits;

// The process's address space now, in bytes.
std::size_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmSize:")) {
            return std::stoul(line.substr(7)) * 1024;
        }
    }
    return 0;
}

std::string Repeat(std::size_t count, const std::function<std::string(std::size_t)>& line) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += line(i);
    }
    return text;
}

enum class Kind { kRegistry, kJoysticks, kProfile };

struct MemoryCase {
    const char* name;
    Kind kind;
    std::function<std::string()> text;
    std::size_t budgetMiB;  // address space allowed beyond what the test process holds already
    bool accepted;

    friend void PrintTo(const MemoryCase& c, std::ostream* out) { *out << c.name; }
};

// A write through the file's own function; whether its result says the file was usable.
bool WriteWorks(Kind kind) {
    switch (kind) {
        case Kind::kRegistry:
            return SetText("", "x", "y") == ERROR_SUCCESS;
        case Kind::kJoysticks:
            return Query(0, JOY_CAL_READZONLY).result == JOYERR_NOERROR;
        case Kind::kProfile:
            break;
    }
    return WritePrivateProfileStringA("S", "k", "v", "p.INI") == TRUE;
}

class MemoryBound : public MachineTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryBound, LoadAndRewriteWithinABudgetOrRefuse) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any cap allows";
#endif
    const MemoryCase& c = GetParam();
    const char* names[] = {"system.reg", "joysticks.ini", "windows/p.INI"};
    const std::filesystem::path file = File(names[static_cast<int>(c.kind)]);
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
        if (::setrlimit(RLIMIT_AS, &limit) != 0) {
            ::_exit(3);
        }
        ::_exit(WriteWorks(c.kind) == c.accepted ? 0 : 1);
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

INSTANTIATE_TEST_SUITE_P(
    Files, MemoryBound,
    ::testing::Values(
        // Each accepted file leaves room for the lines the write adds.
        MemoryCase{"IniOfBlankLinesUpToTheLineLimit", Kind::kJoysticks,
                   [] { return kTracker + std::string(kIniLimits.maxLines - 3, '\n'); }, 64, true},
        MemoryCase{"IniOfEntriesUpToTheLineLimit", Kind::kProfile,
                   [] {
                       return "[S]\n" + Repeat(kIniLimits.maxLines - 2, [](std::size_t i) {
                                  return "k" + std::to_string(i) + "=v\n";
                              });
                   },
                   64, true},
        MemoryCase{"IniOfLongLinesUpToTheByteLimit", Kind::kProfile,
                   [] {
                       return "[S]\n" + Repeat(15, [](std::size_t) {
                                  return "; " + std::string(kMaxLineLength - 2, 'x') + "\n";
                              });
                   },
                   64, true},
        MemoryCase{"IniOfEightMegabytesOfBlankLines", Kind::kJoysticks,
                   [] { return kTracker + std::string(8 << 20, '\n'); }, 64, false},
        MemoryCase{"RegistryOfValuesUpToTheLineLimit", Kind::kRegistry,
                   [] {
                       return kRegistryHead +
                              Repeat(kRegistryLimits.maxLines - 5, [](std::size_t i) {
                                  return "\"v" + std::to_string(i) + "\"=\"\"\n";
                              });
                   },
                   256, true},
        MemoryCase{"RegistryOfTwoLargestValues", Kind::kRegistry,
                   [] {
                       const std::string bytes =
                           "  " + Repeat(24, [](std::size_t) { return "00,"; }) + "\\\n";
                       return kRegistryHead + Repeat(2, [&](std::size_t i) {
                                  return "\"big" + std::to_string(i) + "\"=hex:\\\n" +
                                         Repeat(kMaxRegistryValueSize / 24 - 1,
                                                [&](std::size_t) { return bytes; }) +
                                         "  00\n";
                              });
                   },
                   256, true},
        MemoryCase{"RegistryOfSixtyFourMegabytesOfBlankLines", Kind::kRegistry,
                   [] { return kRegistryHead + std::string(64 << 20, '\n'); }, 64, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace emulated_test

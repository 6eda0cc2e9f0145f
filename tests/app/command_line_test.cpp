// The command line, and Set Zero without a window over the emulated machine.
#include "app/command_line.h"

#include "app/windowless.h"
#include "tests/support/test_machine.h"

namespace {

using Mode = CommandLine::Mode;

struct ArgsCase {
    std::vector<std::string_view> args;
    std::optional<Mode> mode;  // nullopt: refused with `error`
    std::optional<UINT> slot;
    std::string error;
};

TEST(CommandLine, ModesOptionsAndRefusals) {
    const std::string slotNumber = "--slot takes a joystick number, 1 to 16, not ";
    const ArgsCase cases[] = {
        {{}, Mode::kPanel, {}, ""},
        {{"-h"}, Mode::kHelp, {}, ""},
        {{"--version"}, Mode::kVersion, {}, ""},
        {{"--apply"}, Mode::kApply, {}, ""},
        {{"--set-zero"}, Mode::kSetZero, {}, ""},
        {{"--set-zero", "--slot", "16"}, Mode::kSetZero, 15u, ""},
        {{"--slot=1", "--set-zero"}, Mode::kSetZero, 0u, ""},
        {{"--set-zero", "--set-zero"}, Mode::kSetZero, {}, ""},
        {{"--bogus"}, {}, {}, "unknown option '--bogus'"},
        {{"-platform"}, {}, {}, "unknown option '-platform'"},
        {{"panel"}, {}, {}, "unexpected argument 'panel'"},
        {{"--apply", "--set-zero"},
         {},
         {},
         "choose one of --apply, --set-zero, --help and --version"},
        {{"--slot", "2"}, {}, {}, "--slot goes with --set-zero"},
        {{"--set-zero", "--slot"}, {}, {}, "--slot needs a joystick number, 1 to 16"},
        {{"--set-zero", "--slot", "0"}, {}, {}, slotNumber + "'0'"},
        {{"--set-zero", "--slot=17"}, {}, {}, slotNumber + "'17'"},
        {{"--set-zero", "--slot", "2x"}, {}, {}, slotNumber + "'2x'"},
    };
    for (const ArgsCase& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.empty() ? "(none)" : std::string(c.args[0]));
        EXPECT_EQ(parsed.error, c.error);
        ASSERT_EQ(parsed.line.has_value(), c.mode.has_value());
        if (parsed.line) {
            EXPECT_EQ(parsed.line->mode, *c.mode);
            EXPECT_EQ(parsed.line->slot, c.slot);
        }
    }
}

// Trackers in Joystick1 and Joystick6, a plain joystick in Joystick3.
class SetZero : public ::testing::Test {
protected:
    void SetUp() override {
        machine_.Add({.slot = 0})
            .Add({.slot = 2, .device = "Joystick", .oemName = "Game Pad"})
            .Add({.slot = 5})
            .Start();
    }
    // The exit status, what was printed, and the flags each slot was queried with.
    std::tuple<int, std::string, std::string, std::vector<UINT>> Run(std::optional<UINT> slot) {
        emulated::ClearLogs();
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = RunSetZero(slot);
        std::string out = ::testing::internal::GetCapturedStdout();
        std::string err = ::testing::internal::GetCapturedStderr();
        std::vector<UINT> zeroed;
        for (const emulated::JoystickQuery& query : emulated::JoystickQueries()) {
            if (query.flags == JOY_CAL_READXONLY) {
                zeroed.push_back(query.slot);
            }
        }
        return {status, out, err, zeroed};
    }
    TestMachine machine_;
};

TEST_F(SetZero, GoesToTheFirstTrackerOrTheOneAsked) {
    using Result = std::tuple<int, std::string, std::string, std::vector<UINT>>;
    const std::string joystick6 = "Joystick6 (Emulated head tracker): zero set\n";
    EXPECT_EQ(Run({}), (Result{0, "Joystick1 (Emulated head tracker): zero set\n", "", {0}}));
    EXPECT_EQ(Run(5u), (Result{0, joystick6, "", {5}}));
    EXPECT_EQ(Run(2u), (Result{1, "", "zarven-controls: Joystick3 is not a head tracker\n", {}}));
    EXPECT_NE(machine_.ReadFile("joysticks.ini").find("[Joystick6]"), std::string::npos);
}

TEST(SetZeroWithoutTracker, SaysSoAndFails) {
    TestMachine machine;
    machine.Add({.slot = 1, .device = "Joystick", .oemName = "Game Pad"}).Start();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunSetZero({}), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: no head tracker found (see the Joystick configuration)\n");
}

}  // namespace

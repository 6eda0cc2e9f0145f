// What goes to the tracker: the joystick queries of each command, the status query and the
// axes read, as the emulated machine logs them.
#include "platform/emulated/emulated_machine.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// The log as (slot, flags) pairs.
std::vector<std::pair<UINT, DWORD>> Queries() {
    std::vector<std::pair<UINT, DWORD>> queries;
    for (const emulated::JoystickQuery& q : emulated::JoystickQueries()) {
        queries.emplace_back(q.slot, q.flags);
    }
    return queries;
}

struct CommandCase {
    const char* name;
    TrackerCommand command;
};

class Commands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Commands, PrimingReadThenTheCommandFlags) {
    TestMachine machine;
    machine.Add({.slot = 4}).Start();
    EXPECT_EQ(SendTrackerCommand(4, GetParam().command), JOYERR_NOERROR);
    EXPECT_THAT(Queries(), ElementsAre(std::pair{4u, JOY_CAL_READVONLY},
                                       std::pair{4u, static_cast<DWORD>(GetParam().command)}));
}

INSTANTIATE_TEST_SUITE_P(
    AllCommands, Commands,
    ::testing::Values(CommandCase{"Zero", TrackerCommand::Zero},
                      CommandCase{"StereoOff", TrackerCommand::StereoOff},
                      CommandCase{"StereoOn", TrackerCommand::StereoOn},
                      CommandCase{"PowerSaverOff", TrackerCommand::PowerSaverOff},
                      CommandCase{"PowerSaverOn", TrackerCommand::PowerSaverOn}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandsFailure, FailedPrimingReadSendsNothingMore) {
    TestMachine machine;
    machine.Add({.slot = 0}).Start();
    emulated::SetUnplugged(0, true);
    EXPECT_EQ(SendTrackerCommand(0, TrackerCommand::StereoOn), JOYERR_UNPLUGGED);
    EXPECT_THAT(Queries(), ElementsAre(std::pair{0u, JOY_CAL_READVONLY}));
}

TEST(Status, TwoIdenticalReadsGiveTheStatusWord) {
    TestMachine machine;
    machine.Add({.slot = 2, .stereo = 1, .powerSaver = 1}).Start();
    MMRESULT failure = 99;
    EXPECT_EQ(QueryTrackerStatus(2, &failure), 3);
    EXPECT_EQ(failure, JOYERR_NOERROR);
    EXPECT_THAT(Queries(),
                ElementsAre(std::pair{2u, JOY_CAL_READVONLY}, std::pair{2u, JOY_CAL_READVONLY}));
}

TEST(Status, EmptySlotGivesTheErrorCodeAndSaysItFailed) {
    TestMachine machine;
    machine.Start();
    MMRESULT failure = JOYERR_NOERROR;
    EXPECT_EQ(QueryTrackerStatus(7, &failure), JOYERR_UNPLUGGED);
    EXPECT_EQ(failure, static_cast<MMRESULT>(JOYERR_UNPLUGGED));
    EXPECT_THAT(Queries(), ElementsAre(std::pair{7u, JOY_CAL_READVONLY}));  // no second read
}

TEST(Axes, OneReadAndZerosWhenItFails) {
    TestMachine machine;
    machine.Add({.slot = 1}).Start();
    const TrackerAxes axes = ReadTrackerAxes(1);
    EXPECT_THAT(Queries(), ElementsAre(std::pair{1u, JOY_RETURNALL}));
    EXPECT_NE(axes.x, 0u);

    emulated::SetUnplugged(1, true);
    const TrackerAxes none = ReadTrackerAxes(1);
    EXPECT_EQ(none.x + none.y + none.z, 0u);
}

}  // namespace

// What goes to the tracker: the joystick queries of each command, the status query and the
// axes read, as the emulated machine logs them.
#include "platform/emulated/emulated_machine.h"
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::Field;

auto Query(UINT slot, DWORD flags) {
    return ::testing::AllOf(Field(&emulated::JoystickQuery::slot, slot),
                            Field(&emulated::JoystickQuery::flags, flags));
}

class Commands : public ::testing::TestWithParam<TrackerCommand> {};

TEST_P(Commands, PrimingReadThenTheCommandFlags) {
    TestMachine machine;
    machine.Add({.slot = 4}).Start();

    EXPECT_EQ(SendTrackerCommand(4, GetParam()), JOYERR_NOERROR);
    EXPECT_THAT(emulated::JoystickQueries(),
                ElementsAre(Query(4, JOY_CAL_READVONLY), Query(4, static_cast<DWORD>(GetParam()))));
}

INSTANTIATE_TEST_SUITE_P(AllCommands, Commands,
                         ::testing::Values(TrackerCommand::Zero, TrackerCommand::StereoOff,
                                           TrackerCommand::StereoOn, TrackerCommand::PowerSaverOff,
                                           TrackerCommand::PowerSaverOn));

TEST(CommandsFailure, FailedPrimingReadSendsNothingMore) {
    TestMachine machine;
    machine.Add({.slot = 0}).Start();
    emulated::SetUnplugged(0, true);

    EXPECT_EQ(SendTrackerCommand(0, TrackerCommand::StereoOn), JOYERR_UNPLUGGED);
    EXPECT_THAT(emulated::JoystickQueries(), ElementsAre(Query(0, JOY_CAL_READVONLY)));
    emulated::SetUnplugged(0, false);
    EXPECT_EQ(QueryTrackerStatus(0), 0);  // stereo stayed off
}

TEST(Status, TwoIdenticalReadsAndTheStatusWord) {
    TestMachine machine;
    machine.Add({.slot = 2, .stereo = 1, .powerSaver = 1}).Start();

    MMRESULT failure = 99;
    EXPECT_EQ(QueryTrackerStatus(2, &failure), 3);
    EXPECT_EQ(failure, JOYERR_NOERROR);
    EXPECT_THAT(emulated::JoystickQueries(),
                ElementsAre(Query(2, JOY_CAL_READVONLY), Query(2, JOY_CAL_READVONLY)));
}

TEST(Status, FollowsTheCommands) {
    TestMachine machine;
    machine.Add({.slot = 0}).Start();
    SendTrackerCommand(0, TrackerCommand::PowerSaverOn);
    EXPECT_EQ(QueryTrackerStatus(0), kPowerSaverBit);
    SendTrackerCommand(0, TrackerCommand::StereoOn);
    SendTrackerCommand(0, TrackerCommand::PowerSaverOff);
    EXPECT_EQ(QueryTrackerStatus(0), kStereoBit);
}

TEST(Status, EmptySlotGivesTheErrorCodeAndSaysItFailed) {
    TestMachine machine;
    machine.Start();

    MMRESULT failure = JOYERR_NOERROR;
    const TrackerStatus status = QueryTrackerStatus(7, &failure);
    EXPECT_EQ(status, JOYERR_UNPLUGGED);
    EXPECT_EQ(failure, static_cast<MMRESULT>(JOYERR_UNPLUGGED));
    EXPECT_THAT(emulated::JoystickQueries(), ElementsAre(Query(7, JOY_CAL_READVONLY)));
}

TEST(Axes, OneReadAndZerosWhenItFails) {
    TestMachine machine;
    machine.Add({.slot = 1}).Start();

    const TrackerAxes axes = ReadTrackerAxes(1);
    EXPECT_THAT(emulated::JoystickQueries(), ElementsAre(Query(1, JOY_RETURNALL)));
    EXPECT_NE(axes.x + axes.y + axes.z, 0u);

    emulated::SetUnplugged(1, true);
    const TrackerAxes none = ReadTrackerAxes(1);
    EXPECT_EQ(none.x, 0u);
    EXPECT_EQ(none.y, 0u);
    EXPECT_EQ(none.z, 0u);
}

}  // namespace

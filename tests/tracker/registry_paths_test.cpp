// Registry paths are bounded: an unterminated driver key name counts as its 32 characters and
// a path that does not fit is refused, never cut short.
#include "tracker/RegistryPaths.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr char kSettingsPrefix[] = "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\";

TEST(RegistryPaths, UnterminatedKeyNameCountsAs32Characters) {
    struct {
        char regKey[32];
        char after[8];
    } caps;
    std::memset(caps.regKey, 'K', sizeof caps.regKey);
    std::memcpy(caps.after, "garbage", 8);

    char path[kRegistryPathSize];
    ASSERT_TRUE(FormatJoystickSettingsPath(path, caps.regKey));
    EXPECT_EQ(std::string(path),
              kSettingsPrefix + std::string(32, 'K') + "\\CurrentJoystickSettings");
}

TEST(RegistryPaths, EmptyKeyNameLeavesAnEmptyComponent) {
    char path[kRegistryPathSize];
    ASSERT_TRUE(FormatJoystickSettingsPath(path, ""));
    EXPECT_EQ(std::string(path), kSettingsPrefix + std::string("\\CurrentJoystickSettings"));
}

TEST(RegistryPaths, OemTypeThatDoesNotFitIsRefused) {
    char path[kRegistryPathSize];
    const std::string fits(255, 'T');
    const std::string tooLong(kRegistryPathSize, 'T');
    EXPECT_TRUE(FormatOemTypePath(path, fits.c_str()));
    EXPECT_TRUE(std::string(path).ends_with("\\OEM\\" + fits));
    EXPECT_FALSE(FormatOemTypePath(path, tooLong.c_str()));
}

}  // namespace

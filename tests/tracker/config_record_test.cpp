// Reading the slot's configuration record: at most 112 bytes straight into the caller's
// record, the stored length unchecked, and nothing touched when the value cannot be read.
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kUntouched = 0xAB;

struct ReadCase {
    const char* name;
    int storedBytes;  // length of the stored value; -1: no value; -2: no key
    bool succeeds;
    std::size_t bytesFilled;  // from the start of the record; the rest stays untouched
};

class ReadConfig : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadConfig, FillsOnlyWhatWasStored) {
    const ReadCase& c = GetParam();
    std::vector<unsigned char> stored(c.storedBytes > 0 ? c.storedBytes : 0);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        stored[i] = static_cast<unsigned char>(i + 1);
    }
    TestMachine machine;
    machine.Add({.slot = 2, .registered = c.storedBytes != -2});
    if (c.storedBytes >= 0) {
        machine.ExtraRegistry(
            "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick"
            "\\MSJSTICK.DRV\\CurrentJoystickSettings]\n\"Joystick3Configuration\"=" +
            RegistryHex(stored.data(), stored.size()) + "\n");
    }
    machine.Start();

    JOYREGHWCONFIG record;
    std::memset(&record, kUntouched, sizeof record);
    EXPECT_EQ(ReadJoystickConfig(2, "MSJSTICK.DRV", record), c.succeeds);

    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (std::size_t i = 0; i < sizeof record; ++i) {
        const unsigned char expected =
            i < c.bytesFilled ? static_cast<unsigned char>(i + 1) : kUntouched;
        ASSERT_EQ(bytes[i], expected) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, ReadConfig,
    ::testing::Values(ReadCase{"Whole", 112, true, 112}, ReadCase{"Short", 12, true, 12},
                      ReadCase{"Empty", 0, true, 0}, ReadCase{"OverLong", 113, false, 0},
                      ReadCase{"NoValue", -1, false, 0}, ReadCase{"NoKey", -2, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// The configuration record: what a bar position stores and shows, the position it gives back, and
// reading it (at most 112 bytes, nothing touched when it cannot be read).
#include "tests/support/test_machine.h"
#include "tracker/TrackerLink.h"

#include <cstring>
#include <numeric>

namespace {

TEST(SensitivityPositions, StoreTheRangeShowTheDegreesAndComeBackAtTheNextStart) {
    struct Case {
        SensitivityPosition position;
        DWORD min, max;
        int degrees;  // the width, 2047 standing for 360
        SensitivityPosition atNextStart;
    };
    // Worked by hand: min = (2047 - p) / 2, max = (p + 2047) / 2, exact, modulo 2^32.
    const Case cases[] = {
        {2047, 0, 2047, 359, 2047},
        {2046, 0, 2046, 359, 2047},
        {1706, 170, 1876, 300, 1707},  // 300.03 degrees (299.88 over 2048)
        {1023, 512, 1535, 179, 1023},
        {1000, 523, 1523, 175, 1001},  // an even position comes back one higher
        {341, 853, 1194, 59, 341},
        {6, 1020, 1026, 1, 7},
        {5, 1021, 1026, 0, 5},
        {0, 1023, 1023, 0, 1},
        {-353, 1200, 847, 0, -353},                             // a stored minimum of 1200
        {INT_MIN + 1, 0x400003FF, 0xC0000400, 0, INT_MIN + 1},  // written back as read
        {6000000, 0xFFD23D40, 3001023, 0, 2047},  // 6000000 * 360 turns negative in 32 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        const AxisRange range = PositionToRange(c.position);
        EXPECT_EQ(range.min, c.min);
        EXPECT_EQ(range.max, c.max);
        EXPECT_EQ(range.center, 1024u);
        EXPECT_EQ(SensitivityToDegrees(c.position), c.degrees);
        EXPECT_EQ(RangeToPosition(c.min), c.atNextStart);
    }
}

// 2047 - 2 * min wraps around in 32 bits; whatever lands above 2047 is capped there.
TEST(SensitivityPositions, StoredMinimumsPastTheSignBitStartAtTheseEnds) {
    EXPECT_EQ(RangeToPosition(0x80000000u), 2047);
    EXPECT_EQ(RangeToPosition(0xFFFFFFFFu), 2047);
    EXPECT_EQ(RangeToPosition(0x80000400u), -1);
}

TEST(ConfigRecord, ReadFillsOnlyWhatWasStored) {
    // The stored length (-1: no value, -2: no key), and whether it fills the record's first bytes.
    const std::tuple<const char*, int, bool> cases[] = {
        {"Whole", 112, true},     {"Short", 12, true},    {"Empty", 0, true},
        {"OverLong", 113, false}, {"NoValue", -1, false}, {"NoKey", -2, false}};
    for (const auto& [name, storedBytes, read] : cases) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> stored(std::max(storedBytes, 0));
        std::iota(stored.begin(), stored.end(), 1);
        TestMachine machine;
        machine.Add({.slot = 2, .registered = storedBytes != -2});
        if (storedBytes >= 0) {
            machine.ExtraRegistry("\n[HKEY_LOCAL_MACHINE\\" + std::string(kSettings) +
                                  "]\n\"Joystick3Configuration\"=" +
                                  RegistryHex(stored.data(), stored.size()) + "\n");
        }
        machine.Start();

        JOYREGHWCONFIG record;
        std::memset(&record, 0xAB, sizeof record);
        EXPECT_EQ(ReadJoystickConfig(2, "MSJSTICK.DRV", record), read);
        const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
        for (std::size_t i = 0; i < sizeof record; ++i) {
            ASSERT_EQ(bytes[i], read && i < std::size_t(storedBytes) ? i + 1 : 0xAB) << i;
        }
    }
}

}  // namespace

#include "platform/emulated/joystick_config.h"
#include "platform/emulated/registry_text.h"

#include <cmath>
#include <gtest/gtest.h>

namespace emulated {
namespace {

TEST(RegistryText, ParseFormatParseGivesTheSameRegistry) {
    const Parsed<RegistryDocument> parsed = ParseRegistryText(
        "REGEDIT4\n\n; about K\n[HKEY_LOCAL_MACHINE\\K]\n@=\"d\"\n"
        "\"Path\"=\"a\\\\\\\"b\"\n\"N\"=DWORD:0000002a\n\"B\"=hex:01,02,\\\n  03\n\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Kept\"=\"yes\"\n");
    ASSERT_TRUE(parsed.ok()) << parsed.error().line << ": " << parsed.error().message;
    RegistryDocument expected;
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "", REG_SZ, {'d', 0});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "Path", REG_SZ, {'a', '\\', '"', 'b', 0});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "N", REG_DWORD, {0x2a, 0, 0, 0});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "B", REG_BINARY, {1, 2, 3});
    expected.SetValue("HKEY_CURRENT_USER\\Other", "Kept", REG_SZ, {'y', 'e', 's', 0});
    expected.keys[0].comments = {"; about K"};
    EXPECT_EQ(parsed.value(), expected);

    // Values that no quoted or dword form holds must come back whole as well.
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "NoTerminator", REG_SZ, {'a', 'b'});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "LineBreak", REG_SZ, {'a', '\n', 'b', 0});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "ShortDword", REG_DWORD, {1, 2});
    expected.SetValue("HKEY_LOCAL_MACHINE\\K", "Long", REG_BINARY, std::vector<BYTE>(70000, 9));
    const Parsed<RegistryDocument> again = ParseRegistryText(FormatRegistryText(expected));
    ASSERT_TRUE(again.ok()) << again.error().line << ": " << again.error().message;
    EXPECT_EQ(again.value(), expected);
}

TEST(JoystickConfigRanges, NeverReportOutsideTheAxis) {
    EXPECT_EQ(ReportAxis(NAN, kFullAxisRange), 32768u);
    EXPECT_EQ(ReportAxis(-INFINITY, AxisRange{853, 1024, 1194}), 0u);
    JOYREGHWCONFIG degenerate{};  // max (0) not above min
    degenerate.hwv.jrvHardware.jpMin.dwX = 1200;
    EXPECT_EQ(RangesFromConfig(degenerate).x, kFullAxisRange);
}

}  // namespace
}  // namespace emulated

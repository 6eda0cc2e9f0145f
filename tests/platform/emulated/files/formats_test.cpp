#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/joysticks/joystick_config.h"
#include "platform/emulated/files/registry_text.h"

#include <cmath>
#include <gtest/gtest.h>

namespace emulated {
namespace {

std::string Describe(const ParseError& error) {
    return std::to_string(error.line) + ": " + error.message;
}

std::vector<BYTE> Bytes(std::string_view text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// The data of a value that counts, or "missing".
std::string ValueAt(const RegistryDocument& document, std::string_view key, std::string_view name) {
    const RegistryValue* value = document.FindValue(key, name);
    return value == nullptr ? "missing" : std::string(value->data.begin(), value->data.end());
}

TEST(RegistryText, ReadsAHandWrittenFileAsAnImportAndWritesItBackByteForByte) {
    const std::string text =
        "REGEDIT4\n\n  ; about K, indented\n[HKEY_LOCAL_MACHINE\\K]\n@=\"d\"\n"
        "\"Path\"=\"a\\\\\\\"b\"\n\"Dir\"=\"C:\\dir\"\n\"N\"=DWORD:0000002a\n"
        "\"B\"=hex:01,02,\\\n  03\n\"dir\"=\"last wins\"\n\n; before the key again\n"
        "[hkey_local_machine\\k]\n\"Again\"=\"1\"\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Kept\"=\"yes\"\n; at the end";
    const Parsed<RegistryDocument> parsed = ParseRegistryText(text);
    ASSERT_TRUE(parsed.ok()) << Describe(parsed.error());
    const RegistryDocument& document = parsed.value();
    const std::string key = "HKEY_LOCAL_MACHINE\\K";
    EXPECT_EQ(ValueAt(document, key, ""), std::string("d", 2));
    EXPECT_EQ(ValueAt(document, key, "Path"), std::string("a\\\"b", 5));
    EXPECT_EQ(ValueAt(document, key, "N"), std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(ValueAt(document, key, "B"), "\x01\x02\x03");
    EXPECT_EQ(ValueAt(document, key, "DIR"), std::string("last wins", 10));
    EXPECT_EQ(ValueAt(document, key, "again"), std::string("1", 2));
    EXPECT_EQ(FormatRegistryText(document), text);

    // A changed value is written anew in its place; every other line stays as written.
    RegistryDocument changed = document;
    changed.SetValue(key, "b", REG_SZ, Bytes(std::string_view("x\\y", 4)));
    changed.SetValue(key, "New", REG_DWORD, {1, 0, 0, 0});
    std::string expected = text;
    expected.replace(expected.find("\"B\"=hex:01,02,\\\n  03"), 20, "\"B\"=\"x\\\\y\"");
    expected.replace(expected.find("\"Again\"=\"1\"\n"), 12,
                     "\"Again\"=\"1\"\n\"New\"=dword:00000001\n");
    EXPECT_EQ(FormatRegistryText(changed), expected);
}

TEST(RegistryText, ValuesOnlyHexHoldsComeBackWhole) {
    RegistryDocument document;
    const std::string key = "HKEY_LOCAL_MACHINE\\K";
    const std::pair<DWORD, std::vector<BYTE>> values[] = {
        {REG_SZ, {'a', 'b'}},           // no terminating zero
        {REG_SZ, {'a', '\n', 'b', 0}},  // a line break
        {REG_DWORD, {1, 2}},            // two bytes
        {REG_BINARY, std::vector<BYTE>(70000, 9)},
        {7, {'A', 0, 0}}};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        document.SetValue(key, "v" + std::to_string(i), values[i].first, values[i].second);
    }
    const Parsed<RegistryDocument> again = ParseRegistryText(FormatRegistryText(document));
    ASSERT_TRUE(again.ok()) << Describe(again.error());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const RegistryValue* value = again.value().FindValue(key, "v" + std::to_string(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(value->type, values[i].first) << i;
        EXPECT_EQ(value->data, values[i].second) << i;
    }
}

// Every text file of the machine splits lines the same way: LF, CR LF or a lone CR.
struct LineEndCase {
    const char* name;
    std::string text;
    std::string section;  // the section deleted, or the entry set when `key` is given
    const char* key;
    std::string expected;  // the text written back

    friend void PrintTo(const LineEndCase& c, std::ostream* out) { *out << c.name; }
};

class IniLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(IniLineEnds, EndLinesAndKeepTheirOwnEndsOnARewrite) {
    const LineEndCase& c = GetParam();
    const Parsed<IniDocument> parsed = ParseIniText(c.text);
    ASSERT_TRUE(parsed.ok()) << Describe(parsed.error());
    EXPECT_EQ(FormatIniText(parsed.value()), c.text);
    IniDocument document = parsed.value();
    if (c.key == nullptr) {
        EXPECT_TRUE(document.RemoveSection(c.section));
    } else {
        EXPECT_TRUE(document.Set(c.section, c.key, "new"));
    }
    EXPECT_EQ(FormatIniText(document), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLineEnds,
    ::testing::Values(LineEndCase{"DeletingALoneCrSectionKeepsTheNext", "[Old]\rA=1\r[Keep]\rB=2\r",
                                  "Old", nullptr, "[Keep]\rB=2\r"},
                      LineEndCase{"MixedEndsEachKept", "[A]\r\nx=1\r[B]\r\ny=2\r\n", "A", "x",
                                  "[A]\r\nx=new\r[B]\r\ny=2\r\n"},
                      LineEndCase{"NewLinesTakeTheDominantEnd", "[A]\rx=1\r\n[B]\ry=2\r", "B", "z",
                                  "[A]\rx=1\r\n[B]\ry=2\rz=new\r"},
                      LineEndCase{"ALastLineWithoutEndGetsOneWhenFollowed", "[A]\r\nx=1", "A", "y",
                                  "[A]\r\nx=1\r\ny=new\r\n"},
                      LineEndCase{"CommentsBeforeTheNextSectionStay",
                                  "[A]\nx=1\n\n; about B\n[Old]\ny=2\n\n; about C\n[C]\nz=3\n",
                                  "old", nullptr,
                                  "[A]\nx=1\n\n; about B\n\n; about C\n[C]\nz=3\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniText, ReadsEntriesBetweenMixedLineEnds) {
    const Parsed<IniDocument> parsed = ParseIniText("[A]\r\nx=1\r[B]\r\ny=2\r\n");
    ASSERT_TRUE(parsed.ok()) << Describe(parsed.error());
    EXPECT_EQ(parsed.value().Get("A", "x"), "1");
    EXPECT_EQ(parsed.value().Get("B", "y"), "2");
}

TEST(RegistryText, ALoneCrEndsALine) {
    const Parsed<RegistryDocument> parsed =
        ParseRegistryText("REGEDIT4\r\r[HKEY_LOCAL_MACHINE\\K]\r\"a\"=hex:01,\\\r  02\r");
    ASSERT_TRUE(parsed.ok()) << Describe(parsed.error());
    EXPECT_EQ(ValueAt(parsed.value(), "HKEY_LOCAL_MACHINE\\K", "a"), "\x01\x02");
}

// A text over its kind's limits is refused whole, naming the first line beyond them.
TEST(TextLimits, RefuseTextsTooLargeForTheirKind) {
    const auto iniError = [](const std::string& text) {
        const Parsed<IniDocument> parsed = ParseIniText(text);
        return parsed.ok() ? std::string("parsed") : Describe(parsed.error());
    };
    const auto registryError = [](const std::string& text) {
        const Parsed<RegistryDocument> parsed = ParseRegistryText(text);
        return parsed.ok() ? std::string("parsed") : Describe(parsed.error());
    };
    EXPECT_EQ(iniError(std::string(kIniLimits.maxLines, '\n')), "parsed");
    EXPECT_EQ(iniError(std::string(kIniLimits.maxLines + 1, '\r')), "65537: more than 65536 lines");
    EXPECT_EQ(iniError(std::string(kIniLimits.maxBytes + 1, ' ')), "0: larger than 1048576 bytes");
    EXPECT_EQ(registryError("REGEDIT4" + std::string(kRegistryLimits.maxLines + 1, '\n')),
              "262145: more than 262144 lines");
    EXPECT_EQ(registryError(std::string(kRegistryLimits.maxBytes + 1, '\n')),
              "0: larger than 8388608 bytes");
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

#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/files/registry_text.h"
#include "platform/emulated/joysticks/joystick_config.h"
#include "tests/support/param_name.h"

#include <cmath>
#include <gtest/gtest.h>

namespace emulated {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\K";

template <class Document>
std::string Describe(const Parsed<Document>& parsed) {
    return parsed.ok() ? "parsed"
                       : std::to_string(parsed.error().line) + ": " + parsed.error().message;
}

// The data of a value that counts, or "missing".
std::string ValueAt(const RegistryDocument& document, std::string_view name) {
    const RegistryValue* value = document.FindValue(kKey, name);
    return value == nullptr ? "missing" : std::string(value->data.begin(), value->data.end());
}

TEST(RegistryText, ReadsAHandWrittenFileAsAnImportAndWritesItBackByteForByte) {
    const std::string text =
        "REGEDIT4\n\n  ; about K, indented\n[HKEY_LOCAL_MACHINE\\K]\n@=\"d\"\n"
        "\"Path\"=\"a\\\\\\\"b\\c\"\n\"Dir\"=\"C:\\dir\"\n\"N\"=DWORD:0000002a\n"
        "\"B\"=hex:01,02,\\\n  03\n\"dir\"=\"last wins\"\n\n; before the key again\n"
        "[hkey_local_machine\\k]\n\"Again\"=\"1\"\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Kept\"=\"yes\"\n; at the end";
    const Parsed<RegistryDocument> parsed = ParseRegistryText(text);
    ASSERT_TRUE(parsed.ok()) << Describe(parsed);
    const RegistryDocument& document = parsed.value();
    EXPECT_EQ(ValueAt(document, ""), std::string("d", 2));
    EXPECT_EQ(ValueAt(document, "Path"), std::string("a\\\"b\\c", 7));
    EXPECT_EQ(ValueAt(document, "N"), std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(ValueAt(document, "B"), "\x01\x02\x03");
    EXPECT_EQ(ValueAt(document, "DIR"), std::string("last wins", 10));
    EXPECT_EQ(ValueAt(document, "again"), std::string("1", 2));
    EXPECT_EQ(FormatRegistryText(document), text);

    // A changed value is written anew in its place; every other line stays as written.
    RegistryDocument changed = document;
    changed.SetValue(kKey, "b", REG_SZ, {'x', '\\', 'y', 0});
    changed.SetValue(kKey, "New", REG_DWORD, {1, 0, 0, 0});
    std::string expected = text;
    expected.replace(expected.find("\"B\"=hex:01,02,\\\n  03"), 20, "\"B\"=\"x\\\\y\"");
    expected.replace(expected.find("\"Again\"=\"1\"\n"), 12,
                     "\"Again\"=\"1\"\n\"New\"=dword:00000001\n");
    EXPECT_EQ(FormatRegistryText(changed), expected);
}

TEST(RegistryText, ValuesOnlyHexHoldsComeBackWhole) {
    const std::pair<DWORD, std::vector<BYTE>> values[] = {{REG_SZ, {'a', 'b'}},
                                                          {REG_SZ, {'a', '\n', 'b', 0}},
                                                          {REG_SZ, {'a', '\r', 'b', 0}},
                                                          {REG_DWORD, {1, 2}},
                                                          {REG_BINARY, std::vector<BYTE>(70000, 9)},
                                                          {7, {'A', 0, 0}}};
    RegistryDocument document;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        document.SetValue(kKey, "v" + std::to_string(i), values[i].first, values[i].second);
    }
    const Parsed<RegistryDocument> again = ParseRegistryText(FormatRegistryText(document));
    ASSERT_TRUE(again.ok()) << Describe(again);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const RegistryValue* value = again.value().FindValue(kKey, "v" + std::to_string(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(value->type, values[i].first) << i;
        EXPECT_EQ(value->data, values[i].second) << i;
    }
}

TEST(RegistryText, ALoneCrEndsALine) {
    const std::string text = "REGEDIT4\r\r[HKEY_LOCAL_MACHINE\\K]\r\"a\"=hex:01,\\\r  02\r";
    const Parsed<RegistryDocument> parsed = ParseRegistryText(text);
    ASSERT_TRUE(parsed.ok()) << Describe(parsed);
    EXPECT_EQ(ValueAt(parsed.value(), "a"), "\x01\x02");
    RegistryDocument changed = parsed.value();
    changed.SetValue(kKey, "b", REG_SZ, {'c', 0});
    EXPECT_EQ(FormatRegistryText(changed), text + "\"b\"=\"c\"\r");
}

TEST(IniText, ReadsEntriesBetweenMixedLineEnds) {
    const Parsed<IniDocument> parsed = ParseIniText("[ A ]\r\nx = 1 \r# c\r[B]\r\ny=a=b\r\n");
    ASSERT_TRUE(parsed.ok()) << Describe(parsed);
    EXPECT_EQ(parsed.value().Get("a", "X"), "1");
    EXPECT_EQ(parsed.value().Get("B", "y"), "a=b");
}

// Every text file splits lines at LF, CR LF or a lone CR.
struct LineEndCase {
    const char* name;
    std::string text;
    std::string section;  // the section deleted, or the entry set when `key` is given
    const char* key;
    std::string expected;  // the text written back
};

class IniLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(IniLineEnds, EndLinesAndKeepTheirOwnEndsOnARewrite) {
    const LineEndCase& c = GetParam();
    const Parsed<IniDocument> parsed = ParseIniText(c.text);
    ASSERT_TRUE(parsed.ok()) << Describe(parsed);
    EXPECT_EQ(FormatIniText(parsed.value()), c.text);
    IniDocument document = parsed.value();
    EXPECT_TRUE(c.key == nullptr ? document.RemoveSection(c.section)
                                 : document.Set(c.section, c.key, "new"));
    EXPECT_EQ(FormatIniText(document), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLineEnds,
    ::testing::Values(
        LineEndCase{"DeletingALoneCrSectionKeepsTheNext", "[Old]\rA=1\r[Keep]\rB=2\r", "Old",
                    nullptr, "[Keep]\rB=2\r"},
        LineEndCase{"MixedEndsEachKept", "[A]\r\nx=1\r[B]\r\ny=2\r\n", "A", "x",
                    "[A]\r\nx=new\r[B]\r\ny=2\r\n"},
        LineEndCase{"NewLinesTakeTheDominantEnd", "[A]\rx=1\r\n[B]\ry=2\r", "B", "z",
                    "[A]\rx=1\r\n[B]\ry=2\rz=new\r"},
        LineEndCase{"NewLinesTakeLfOnATie", "[A]\nx=1\r\n", "A", "y", "[A]\nx=1\r\ny=new\n"},
        LineEndCase{"AnEmptyTextGetsLf", "", "A", "x", "[A]\nx=new\n"},
        LineEndCase{"ALastLineWithoutEndGetsOneWhenFollowed", "[A]\r\nx=1", "A", "y",
                    "[A]\r\nx=1\r\ny=new\r\n"},
        LineEndCase{"CommentsBeforeTheNextSectionStay",
                    "[A]\nx=1\n\n; about B\n[Old]\ny=2\n\n; about C\n[C]\nz=3\n", "old", nullptr,
                    "[A]\nx=1\n\n; about B\n\n; about C\n[C]\nz=3\n"}),
    kByName);

// A text over its kind's limits is refused whole, naming the first line beyond them.
TEST(TextLimits, RefuseTextsTooLargeForTheirKind) {
    EXPECT_EQ(Describe(ParseIniText(std::string(kIniLimits.maxLines, '\n'))), "parsed");
    EXPECT_EQ(Describe(ParseIniText(std::string(kIniLimits.maxLines + 1, '\r'))),
              "65537: more than 65536 lines");
    EXPECT_EQ(Describe(ParseIniText(std::string(kIniLimits.maxBytes + 1, ' '))),
              "0: larger than 1048576 bytes");
    EXPECT_EQ(
        Describe(ParseRegistryText("REGEDIT4" + std::string(kRegistryLimits.maxLines + 1, '\n'))),
        "262145: more than 262144 lines");
    EXPECT_EQ(Describe(ParseRegistryText(std::string(kRegistryLimits.maxBytes + 1, '\n'))),
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

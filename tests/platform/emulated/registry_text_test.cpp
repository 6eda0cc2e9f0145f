#include "platform/emulated/registry_text.h"

#include <gtest/gtest.h>

namespace emulated {
namespace {

std::vector<BYTE> Bytes(std::string_view text, bool terminated) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    if (terminated) {
        bytes.push_back(0);
    }
    return bytes;
}

RegistryDocument ParseOk(std::string_view text) {
    Parsed<RegistryDocument> parsed = ParseRegistryText(text);
    EXPECT_TRUE(parsed.ok()) << "line " << parsed.error().line << ": " << parsed.error().message;
    return parsed.ok() ? parsed.value() : RegistryDocument{};
}

struct ValueCase {
    const char* name;
    std::string line;
    std::string valueName;
    DWORD type;
    std::vector<BYTE> data;
};

class RegistryValueForms : public ::testing::TestWithParam<ValueCase> {};

TEST_P(RegistryValueForms, ReadAsTheImportWould) {
    const ValueCase& c = GetParam();
    const RegistryDocument document =
        ParseOk("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n" + c.line + "\n");
    ASSERT_EQ(document.keys.size(), 1u);
    ASSERT_EQ(document.keys[0].values.size(), 1u);
    const RegistryValue& value = document.keys[0].values[0];
    EXPECT_EQ(value.name, c.valueName);
    EXPECT_EQ(value.type, c.type);
    EXPECT_EQ(value.data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RegistryValueForms,
    ::testing::Values(
        ValueCase{"StringKeepsItsTerminator", "\"Name\"=\"ZARVEN HMD Tracker\"", "Name", REG_SZ,
                  Bytes("ZARVEN HMD Tracker", true)},
        ValueCase{"EscapedBackslashAndQuote", R"("Path"="C:\\dir \"x\"")", "Path", REG_SZ,
                  Bytes(R"(C:\dir "x")", true)},
        ValueCase{"UnknownEscapeStandsForItself", R"("P"="a\nb")", "P", REG_SZ,
                  Bytes(R"(a\nb)", true)},
        ValueCase{"EscapedName", R"("a\"b\\c"="")", "a\"b\\c", REG_SZ, Bytes("", true)},
        ValueCase{"DefaultValue", "@=\"d\"", "", REG_SZ, Bytes("d", true)},
        ValueCase{"Dword", "\"N\"=dword:0000002a", "N", REG_DWORD, {0x2a, 0, 0, 0}},
        ValueCase{"DwordShortAndUpperCase", "\"N\"=DWORD:FfFe", "N", REG_DWORD, {0xfe, 0xff, 0, 0}},
        ValueCase{"Hex", "\"B\"=hex:0c,00,ff", "B", REG_BINARY, {0x0c, 0x00, 0xff}},
        ValueCase{"HexEmpty", "\"B\"=hex:", "B", REG_BINARY, {}},
        ValueCase{
            "HexSpacedWithTrailingComma", "\"B\" = hex: 1 , a,", "B", REG_BINARY, {0x01, 0x0a}},
        ValueCase{
            "HexContinued", "\"B\"=hex:01,02,\\\n    03,\\\r\n  04", "B", REG_BINARY, {1, 2, 3, 4}},
        ValueCase{"HexTyped", "\"M\"=hex(7):41,00,00,00", "M", 7, {0x41, 0, 0, 0}},
        ValueCase{"HexTypedAsText", "\"S\"=hex(1):41,00", "S", REG_SZ, {0x41, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::string message;
};

class RegistryTextErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RegistryTextErrors, NameTheLine) {
    const ErrorCase& c = GetParam();
    const Parsed<RegistryDocument> parsed = ParseRegistryText(c.text);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error().line, c.line);
    EXPECT_EQ(parsed.error().message, c.message);
}

const std::string kKey = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n";

// `bytes` single-digit hex bytes, 1000 to a continued line.
std::string LongHexLines(std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes; ++i) {
        text += (i + 1 == bytes) ? "1\n" : (i % 1000 == 999) ? "1,\\\n" : "1,";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RegistryTextErrors,
    ::testing::Values(
        ErrorCase{"Garbage", "\x89PNG\r\n\x1a\n", 1, "missing REGEDIT4 header"},
        ErrorCase{"GarbageLine", kKey + "hello\n", 3, "unrecognised line"},
        ErrorCase{"UnterminatedString", kKey + "\"a\"=\"b\n", 3, "unterminated string"},
        ErrorCase{"EscapedClosingQuote", kKey + "\"a\"=\"C:\\\"\n", 3, "unterminated string"},
        ErrorCase{"TextAfterString", kKey + "\"a\"=\"b\"c\n", 3,
                  "unexpected text after the string"},
        ErrorCase{"BadHexByte", kKey + "\"a\"=hex:01,0g\n", 3, "bad hex byte"},
        ErrorCase{"ThreeDigitHexByte", kKey + "\"a\"=hex:100\n", 3, "bad hex byte"},
        ErrorCase{"BadHexOnContinuation", kKey + "\"a\"=hex:01,\\\n  zz\n", 3, "bad hex byte"},
        ErrorCase{"TruncatedContinuation", kKey + "\"a\"=hex:01,\\\n  02,\\\n", 4,
                  "continued value ends at the end of the file"},
        ErrorCase{"BadDword", kKey + "\"a\"=dword:123456789\n", 3, "bad dword"},
        ErrorCase{"NulByte", kKey + std::string("\"a\"=\"b\0\"\n", 9), 3, "NUL byte"},
        ErrorCase{"LongLine", kKey + "\"a\"=\"" + std::string(10 * 1024 * 1024, 'x') + "\"\n", 3,
                  "line longer than 65536 bytes"},
        ErrorCase{"LongValueName", kKey + "\"" + std::string(16384, 'n') + "\"=\"\"\n", 3,
                  "value name longer than 16383 characters"},
        ErrorCase{"LongContinuedValue", kKey + "\"a\"=hex:\\\n" + LongHexLines(1024 * 1024 + 1), 3,
                  "value longer than 1048576 bytes"},
        ErrorCase{"ValueOutsideKey", "REGEDIT4\n\"a\"=\"b\"\n", 2, "value outside a key"},
        ErrorCase{"UnterminatedKey", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\n", 2,
                  "unterminated key name"},
        ErrorCase{"UnknownRoot", "REGEDIT4\n[HKEY_NOWHERE\\K]\n", 2, "unknown root key"},
        ErrorCase{"KeyDeletion", "REGEDIT4\n[-HKEY_LOCAL_MACHINE\\K]\n", 2,
                  "key deletion is not a stored key"},
        ErrorCase{"ValueDeletion", kKey + "\"a\"=-\n", 3, "value deletion is not a stored value"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryText, ToleratesWhatHandWrittenFilesHave) {
    const RegistryDocument document = ParseOk(
        "\xEF\xBB\xBF\r\n  regedit4  \r\n\r\n  ; note\r\n[hkey_local_machine\\A]  \r\n"
        "  \"x\"=\"1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\a]\r\n\"X\"=\"2\"\r\n\"y\"=dword:1\r\n");
    EXPECT_TRUE(document.layout.byteOrderMark);
    EXPECT_TRUE(document.layout.crlf);
    ASSERT_EQ(document.keys.size(), 1u) << "a key named twice in another case is one key";
    EXPECT_EQ(document.keys[0].comments, std::vector<std::string>{"; note"});
    ASSERT_EQ(document.keys[0].values.size(), 2u);
    EXPECT_EQ(document.keys[0].values[0].name, "x") << "the later value replaces the data only";
    EXPECT_EQ(document.keys[0].values[0].data, Bytes("2", true));
}

TEST(RegistryText, BlankTextIsAnEmptyRegistry) {
    EXPECT_TRUE(ParseOk("").keys.empty());
    EXPECT_TRUE(ParseOk(" \n\n").keys.empty());
}

TEST(RegistryText, FormatsAsRegeditDoesAndReadsBackTheSame) {
    RegistryDocument document;
    document.SetValue("HKEY_LOCAL_MACHINE\\K", "", REG_SZ, Bytes("d", true));
    document.SetValue("HKEY_LOCAL_MACHINE\\K", "Text", REG_SZ, Bytes("a\\\"b", true));
    document.SetValue("HKEY_LOCAL_MACHINE\\K", "Count", REG_DWORD, {0x2a, 0, 0, 0});
    document.SetValue("HKEY_LOCAL_MACHINE\\K", "Record", REG_BINARY, std::vector<BYTE>(40, 0xab));
    document.keys[0].comments = {"; about K"};
    document.trailingComments = {"; the end"};

    const std::string text = FormatRegistryText(document);
    EXPECT_EQ(
        text,
        "REGEDIT4\n\n; about K\n[HKEY_LOCAL_MACHINE\\K]\n@=\"d\"\n\"Text\"=\"a\\\\\\\"b\"\n"
        "\"Count\"=dword:0000002a\n"
        "\"Record\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
        "  ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab\n\n; the end\n");
    EXPECT_EQ(ParseOk(text), document);
}

// Values the quoted or dword forms cannot hold go out as typed hex and still read back whole.
TEST(RegistryText, ValuesWithoutATextFormRoundTripAsHex) {
    RegistryDocument document;
    const std::string key = "HKEY_LOCAL_MACHINE\\K";
    document.SetValue(key, "NoTerminator", REG_SZ, Bytes("abc", false));
    document.SetValue(key, "LineBreak", REG_SZ, Bytes("a\nb", true));
    document.SetValue(key, "InnerZero", REG_SZ, Bytes(std::string_view("a\0b", 3), true));
    document.SetValue(key, "Empty", REG_SZ, {});
    document.SetValue(key, "ShortDword", REG_DWORD, {1, 2});
    document.SetValue(key, "None", REG_NONE, {7});
    document.SetValue(key, "Huge", REG_SZ, Bytes(std::string(70000, 'x'), true));
    document.SetValue(key, std::string(kMaxRegistryValueNameLength, '\\'), REG_BINARY,
                      std::vector<BYTE>(kMaxRegistryValueSize, 1));

    const std::string text = FormatRegistryText(document);
    EXPECT_NE(text.find("\"NoTerminator\"=hex(1):61,62,63\n"), std::string::npos);
    EXPECT_NE(text.find("\"ShortDword\"=hex(4):01,02\n"), std::string::npos);
    EXPECT_NE(text.find("\"None\"=hex(0):07\n"), std::string::npos);
    EXPECT_EQ(ParseOk(text), document);
}

TEST(RegistryText, KeepsTheLayoutAndCommentsOfTheFileItRead) {
    const std::string text =
        "\xEF\xBB\xBFREGEDIT4\r\n\r\n; first\r\n[HKEY_LOCAL_MACHINE\\A]\r\n; before x\r\n"
        "\"x\"=\"1\"\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n\"y\"=\"2\"\r\n\r\n; last\r\n";
    const RegistryDocument document = ParseOk(text);
    EXPECT_EQ(FormatRegistryText(document), text);
}

}  // namespace
}  // namespace emulated

#include "platform/emulated/ini_text.h"

#include <gtest/gtest.h>

namespace emulated {
namespace {

IniDocument ParseOk(std::string_view text) {
    Parsed<IniDocument> parsed = ParseIniText(text);
    EXPECT_TRUE(parsed.ok()) << "line " << parsed.error().line << ": " << parsed.error().message;
    return parsed.ok() ? parsed.value() : IniDocument{};
}

TEST(IniText, ReadsAsTheProfileFunctionsDo) {
    const IniDocument document = ParseOk(
        "; comment\r\n# also a comment\r\n\r\n  [ Joystick1 ]  trailing\r\n"
        "  Device =  HeadTracker  "
        "\r\nDevice=Joystick\r\nEmpty=\r\n[joystick1]\r\nRegKey=second\r\n");
    EXPECT_EQ(document.Get("JOYSTICK1", "device"), "HeadTracker")
        << "first entry of the first section";
    EXPECT_EQ(document.Get("Joystick1", "Empty"), "");
    EXPECT_EQ(document.Get("Joystick1", "RegKey"), std::nullopt)
        << "only the first section is read";
    EXPECT_EQ(document.Get("Joystick2", "Device"), std::nullopt);
}

TEST(IniText, RewritesTheLinesItRead) {
    const std::string text = "\xEF\xBB\xBF; c\r\n\r\n  [A]  \r\n  k = v \r\n\r\n[B]\r\n";
    EXPECT_EQ(FormatIniText(ParseOk(text)), text);
}

struct IniErrorCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::string message;
};

class IniTextErrors : public ::testing::TestWithParam<IniErrorCase> {};

TEST_P(IniTextErrors, NameTheLine) {
    const Parsed<IniDocument> parsed = ParseIniText(GetParam().text);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error().line, GetParam().line);
    EXPECT_EQ(parsed.error().message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, IniTextErrors,
    ::testing::Values(IniErrorCase{"Garbage", "[A]\nk=v\n\x01\x02garbage\n", 3,
                                   "expected key=value"},
                      IniErrorCase{"UnterminatedSection", "[Drivers\nmsjstick=msjstick.drv\n", 1,
                                   "unterminated section name"},
                      IniErrorCase{"NulByte", std::string("[A]\nk=\0\n", 8), 2, "NUL byte"},
                      IniErrorCase{"LongLine", "[A]\nk=" + std::string(10 << 20, 'v') + "\n", 2,
                                   "line longer than 65536 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniDocumentEdits, SetRewritesTheFirstEntryAndKeepsEverythingElse) {
    IniDocument document = ParseOk("; top\n[A]\n; about k\n k = old \nk=dup\n[B]\nx=1\n");
    document.Set("a", "K", "new");
    EXPECT_EQ(FormatIniText(document), "; top\n[A]\n; about k\nK=new\nk=dup\n[B]\nx=1\n");
}

TEST(IniDocumentEdits, SetAddsAfterTheSectionsLastEntry) {
    IniDocument document = ParseOk("[A]\nk=1\n\n; about B\n[B]\n");
    document.Set("A", "j", "2");
    document.Set("B", "x", "3");
    EXPECT_EQ(FormatIniText(document), "[A]\nk=1\nj=2\n\n; about B\n[B]\nx=3\n");
}

TEST(IniDocumentEdits, SetAddsAMissingSectionAtTheEnd) {
    IniDocument empty;
    empty.Set("ZARVEN", "StereoMode", "1");
    EXPECT_EQ(FormatIniText(empty), "[ZARVEN]\nStereoMode=1\n");

    IniDocument document = ParseOk("[A]\r\nk=1\r\n");
    document.Set("ZARVEN", "YawSensitivity", "-353");
    EXPECT_EQ(FormatIniText(document), "[A]\r\nk=1\r\n\r\n[ZARVEN]\r\nYawSensitivity=-353\r\n");
}

TEST(IniDocumentEdits, RemoveKeyAndSectionTakeEveryCopy) {
    IniDocument document = ParseOk("[A]\nk=1\nj=2\nK=3\n[B]\nk=4\n[a]\nk=5\n");
    document.RemoveKey("a", "k");
    EXPECT_EQ(FormatIniText(document), "[A]\nj=2\n[B]\nk=4\n[a]\n");
    document.RemoveSection("A");
    EXPECT_EQ(FormatIniText(document), "[B]\nk=4\n");
}

TEST(IniDocumentEdits, CanStoreOnlyWhatReadsBack) {
    EXPECT_TRUE(IniDocument::CanStore("ZARVEN", "StereoMode", "1"));
    EXPECT_TRUE(IniDocument::CanStore("ZARVEN", "Key", ""));
    EXPECT_FALSE(IniDocument::CanStore("", "k", "v"));
    EXPECT_FALSE(IniDocument::CanStore("a]b", "k", "v"));
    EXPECT_FALSE(IniDocument::CanStore("A", "k=j", "v"));
    EXPECT_FALSE(IniDocument::CanStore("A", " ", "v"));
    EXPECT_FALSE(IniDocument::CanStore("A", "[k", "v"));
    EXPECT_FALSE(IniDocument::CanStore("A", ";k", "v"));
    EXPECT_FALSE(IniDocument::CanStore("A", "k", "two\nlines"));
    EXPECT_FALSE(IniDocument::CanStore("A\r", "k", "v"));
}

}  // namespace
}  // namespace emulated

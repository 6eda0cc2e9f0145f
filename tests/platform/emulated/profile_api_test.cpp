#include "platform/win32api.h"
#include "temp_prefix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace emulated_test {
namespace {

class ProfileApi : public TempPrefixTest {
protected:
    std::filesystem::path Profile() const { return File("windows/zarven-controls.INI"); }
};

TEST_F(ProfileApi, ABareNameLandsInTheWindowsDirectory) {
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "StereoMode", "0", "zarven-controls.INI"), TRUE);
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "PowerSaver", "1", "zarven-controls.INI"), TRUE);
    EXPECT_EQ(
        WritePrivateProfileStringA("ZARVEN", "RollSensitivity", "-353", "zarven-controls.INI"),
        TRUE);
    EXPECT_EQ(ReadText(Profile()), "[ZARVEN]\nStereoMode=0\nPowerSaver=1\nRollSensitivity=-353\n");
}

TEST_F(ProfileApi, EditsKeepEveryOtherSectionKeyAndComment) {
    WriteText(Profile(),
              "; mine\r\n[Other]\r\nx = 1\r\n\r\n[zarven]\r\nStereoMode=1\r\nKeep=me\r\n");
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "stereomode", "0", "ZARVEN-CONTROLS.ini"), TRUE)
        << "the existing file, found in any case";
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "YawSensitivity", "1023", "zarven-controls.INI"),
              TRUE);
    EXPECT_EQ(ReadText(Profile()),
              "; mine\r\n[Other]\r\nx = "
              "1\r\n\r\n[zarven]\r\nstereomode=0\r\nKeep=me\r\nYawSensitivity=1023\r\n");
    EXPECT_FALSE(std::filesystem::exists(File("windows/ZARVEN-CONTROLS.ini")));
}

TEST_F(ProfileApi, NullValueDeletesTheKeyAndNullKeyTheSection) {
    WriteText(Profile(), "[A]\nk=1\nj=2\n[B]\nx=1\n");
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", nullptr, "zarven-controls.INI"), TRUE);
    EXPECT_EQ(ReadText(Profile()), "[A]\nj=2\n[B]\nx=1\n");
    EXPECT_EQ(WritePrivateProfileStringA("b", nullptr, nullptr, "zarven-controls.INI"), TRUE);
    EXPECT_EQ(ReadText(Profile()), "[A]\nj=2\n");
    EXPECT_EQ(WritePrivateProfileStringA("Missing", nullptr, nullptr, "zarven-controls.INI"), TRUE);
    EXPECT_EQ(WritePrivateProfileStringA("A", "missing", nullptr, "absent.ini"), TRUE);
    EXPECT_FALSE(std::filesystem::exists(File("windows/absent.ini")))
        << "nothing to delete, nothing written";
}

TEST_F(ProfileApi, AnAbsolutePathIsUsedAsItIs) {
    const std::filesystem::path elsewhere = prefix().parent_path() / "elsewhere.ini";
    EXPECT_EQ(WritePrivateProfileStringA("S", "k", "v", elsewhere.c_str()), TRUE);
    EXPECT_EQ(ReadText(elsewhere), "[S]\nk=v\n");
}

struct RefusedCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
    const char* file;
};

class ProfileRefusals : public TempPrefixTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ProfileRefusals, ReturnFalseAndWriteNothing) {
    const RefusedCase& c = GetParam();
    EXPECT_EQ(WritePrivateProfileStringA(c.section, c.key, c.value, c.file), FALSE);
    EXPECT_FALSE(std::filesystem::exists(File("windows/p.ini")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRefusals,
    ::testing::Values(RefusedCase{"NoSection", nullptr, "k", "v", "p.ini"},
                      RefusedCase{"NoFile", "S", "k", "v", nullptr},
                      RefusedCase{"EmptyFile", "S", "k", "v", ""},
                      RefusedCase{"RelativePath", "S", "k", "v", "sub/p.ini"},
                      RefusedCase{"BackslashPath", "S", "k", "v", "..\\p.ini"},
                      RefusedCase{"ValueWithLineBreak", "S", "k", "a\nb", "p.ini"},
                      RefusedCase{"KeyWithEquals", "S", "k=j", "v", "p.ini"},
                      RefusedCase{"SectionWithBracket", "S]", "k", "v", "p.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileApi, AnUnreadableProfileIsNeverOverwritten) {
    const std::string broken = "[ZARVEN\nStereoMode=1\n";
    WriteText(Profile(), broken);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "StereoMode", "0", "zarven-controls.INI"),
              FALSE);
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "PowerSaver", "0", "zarven-controls.INI"),
              FALSE);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: " + Profile().string() + ":1: unterminated section name\n");
    EXPECT_EQ(ReadText(Profile()), broken);
}

TEST_F(ProfileApi, TheFileKeepsItsPermissions) {
    WriteText(Profile(), "[A]\n");
    std::filesystem::permissions(
        Profile(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", "v", "zarven-controls.INI"), TRUE);
    struct stat info {};
    ASSERT_EQ(::stat(Profile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace emulated_test

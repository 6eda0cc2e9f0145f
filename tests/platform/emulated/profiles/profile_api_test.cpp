#include "tests/support/test_machine.h"

namespace emulated_test {
namespace {

class ProfileApi : public MachineTest {
protected:
    std::filesystem::path Profile() const { return File("windows/zarven-controls.INI"); }
};

TEST_F(ProfileApi, EditsKeepEveryOtherSectionKeyCommentAndTheFileMode) {
    const std::string head = "\xEF\xBB\xBF# mine\r\n[Other]\r\nx = 1\r\n\r\n[zarven]\r\n";
    WriteText(Profile(), head + "StereoMode=1\r\nKeep=me\r\n");
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(Profile(), mode);
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "stereomode", "0", "ZARVEN-CONTROLS.ini"), TRUE)
        << "the existing file, found in any case";
    EXPECT_EQ(WritePrivateProfileStringA("ZARVEN", "Yaw", "1023", "zarven-controls.INI"), TRUE);
    EXPECT_EQ(ReadText(Profile()), head + "stereomode=0\r\nKeep=me\r\nYaw=1023\r\n");
    EXPECT_FALSE(std::filesystem::exists(File("windows/ZARVEN-CONTROLS.ini")));
    EXPECT_EQ(std::filesystem::status(Profile()).permissions(), mode);
}

TEST_F(ProfileApi, NullValueDeletesTheKeyAndNullKeyTheSection) {
    WriteText(Profile(), "[A]\nk=1\nj=2\nK=3\n[B]\nx=1\n");
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", nullptr, "zarven-controls.INI"), TRUE);
    EXPECT_EQ(ReadText(Profile()), "[A]\nj=2\n[B]\nx=1\n");
    EXPECT_EQ(WritePrivateProfileStringA("b", nullptr, nullptr, "zarven-controls.INI"), TRUE);
    EXPECT_EQ(ReadText(Profile()), "[A]\nj=2\n");
}

TEST_F(ProfileApi, RefusesWhatWouldNotReadBackAndWritesNothing) {
    for (const auto& [section, key, value, file] :
         {std::tuple{"S", "k", "v", "..\\p.ini"}, std::tuple{"S", "k", "a\nb", "p.ini"},
          std::tuple{"S", "k=j", "v", "p.ini"}, std::tuple{"S]", "k", "v", "p.ini"}}) {
        EXPECT_EQ(WritePrivateProfileStringA(section, key, value, file), FALSE) << file << key;
    }
    EXPECT_FALSE(std::filesystem::exists(File("windows")));
}

}  // namespace
}  // namespace emulated_test

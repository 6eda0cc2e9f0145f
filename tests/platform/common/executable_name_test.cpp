#include "platform/framework_common.h"

#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace {

struct NameCase {
    const char* path;
    const char* name;
};

class ExecutableNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(ExecutableNameTest, DropsDirectoryAndExtension) {
    EXPECT_EQ(AfxExecutableName(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExecutableNameTest,
    testing::Values(NameCase{"C:\\Games\\zarven-controls.exe", "zarven-controls"},
                    NameCase{"Z:/tmp/prefix/drive_c/zarven-controls.EXE", "zarven-controls"},
                    NameCase{"C:\\tools.v2\\panel", "panel"},  // a dot in a directory
                    NameCase{"C:\\a\\my.panel.exe", "my.panel"},
                    NameCase{"/usr/bin/zarven-controls", "zarven-controls"},
                    NameCase{"./.hidden", ".hidden"},  // a leading dot starts the name
                    NameCase{"zarven-controls", "zarven-controls"}, NameCase{"", ""}),
    // The path, with every character a test name cannot hold as '_'.
    [](const auto& info) {
        std::string name = *info.param.path != '\0' ? info.param.path : "EmptyPath";
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(NameApplication, KeepsAGivenApplicationName) {
    CWinApp unnamed;
    AfxNameApplication(unnamed, "/opt/x/zarven-controls");
    EXPECT_EQ(unnamed.m_exeName, "zarven-controls");
    EXPECT_EQ(unnamed.m_appName, "zarven-controls");

    CWinApp named("Headset Panel");
    AfxNameApplication(named, "C:\\zarven-controls.exe");
    EXPECT_EQ(named.m_exeName, "zarven-controls");
    EXPECT_EQ(named.m_appName, "Headset Panel");
    EXPECT_EQ(AfxGetApp(), &named);  // the most recent live application object
}

}  // namespace

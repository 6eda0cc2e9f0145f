#include "platform/framework_common.h"

#include <gtest/gtest.h>

namespace {

TEST(ExecutableNameTest, DropsDirectoryAndExtension) {
    for (const auto& [path, name] :
         {std::pair{"C:\\Games\\zarven-controls.exe", "zarven-controls"},
          {"Z:/tmp/prefix/drive_c/zarven-controls.EXE", "zarven-controls"},
          {"C:\\tools.v2\\panel", "panel"},  // a dot in a directory
          {"C:\\a\\my.panel.exe", "my.panel"},
          {"/usr/bin/zarven-controls", "zarven-controls"},
          {"./.hidden", ".hidden"},  // a leading dot starts the name
          {"zarven-controls", "zarven-controls"},
          {"", ""}}) {
        EXPECT_EQ(AfxExecutableName(path), name) << path;
    }
}

TEST(NameApplication, KeepsAGivenApplicationName) {
    CWinApp unnamed, named("Headset Panel");
    AfxNameApplication(unnamed, "/opt/x/zarven-controls");
    EXPECT_EQ(unnamed.m_exeName, "zarven-controls");
    EXPECT_EQ(unnamed.m_appName, "zarven-controls");

    AfxNameApplication(named, "C:\\zarven-controls.exe");
    EXPECT_EQ(named.m_exeName, "zarven-controls");
    EXPECT_EQ(named.m_appName, "Headset Panel");
    EXPECT_EQ(AfxGetApp(), &named);  // the most recent live application object
}

}  // namespace

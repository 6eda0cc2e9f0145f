#include "platform/win32/module_name.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* path;
    const char* name;
};

class ExeNameFromPathTest : public testing::TestWithParam<NameCase> {};

TEST_P(ExeNameFromPathTest, DropsDirectoryAndExtension) {
    EXPECT_EQ(zarven::win32::ExeNameFromPath(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExeNameFromPathTest,
    testing::Values(NameCase{"C:\\Games\\zarven-controls.exe", "zarven-controls"},
                    NameCase{"Z:/tmp/prefix/drive_c/zarven-controls.EXE", "zarven-controls"},
                    NameCase{"C:\\tools.v2\\panel", "panel"},  // a dot in a directory
                    NameCase{"C:\\a\\my.panel.exe", "my.panel"},
                    NameCase{"zarven-controls", "zarven-controls"}, NameCase{"", ""}));

}  // namespace

#include "platform/win32/resource_script.h"

#include "panel/resource.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace zarven::win32;

// Every control of the data, and nothing else, in template order (the tab order) with its id
// and rectangle: the native dialogs cannot drift from the other backends'.
TEST(ResourceScriptTest, DialogsListTheTemplateControlsInOrder) {
    std::ostringstream script;
    WriteResourceScript(script);
    const std::regex header(R"(^(\d+) DIALOGEX .*)");
    const std::regex control(R"(^    CONTROL .*, (-?\d+), "\w+", [^,]+, (\d+, \d+, \d+, \d+)$)");
    std::istringstream lines(script.str());
    std::vector<std::string> generated;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, header) || std::regex_match(line, match, control)) {
            generated.push_back(match[1].str() + (match.size() > 2 ? " " + match[2].str() : ""));
        }
    }
    std::vector<std::string> expected;
    for (const UINT id : {IDD_ABOUTBOX, IDD_CONTROL_PANEL}) {
        expected.push_back(std::to_string(id));
        for (const DialogControl& c : FindDialogTemplate(id)->controls) {
            expected.push_back(std::to_string(c.id) + " " + std::to_string(c.x) + ", " +
                               std::to_string(c.y) + ", " + std::to_string(c.cx) + ", " +
                               std::to_string(c.cy));
        }
    }
    EXPECT_EQ(generated, expected);
}

TEST(ResourceScriptTest, ControlStatementsCarryClassAndStyle) {
    const std::tuple<UINT, std::size_t, const char*> cases[] = {
        {IDD_CONTROL_PANEL, 3,
         R"(CONTROL "Enable Power Saver", 1001, "Button", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 17, 36, 79, 9)"},
        {IDD_CONTROL_PANEL, 5,
         R"(CONTROL "", 1003, "ScrollBar", WS_CHILD | WS_VISIBLE | SBS_VERT, 137, 27, 10, 69)"},
        {IDD_CONTROL_PANEL, 15,
         R"(CONTROL "", 1014, "Edit", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 131, 100, 19, 13)"},
        {IDD_ABOUTBOX, 0,
         R"(CONTROL 129, -1, "Static", WS_CHILD | WS_VISIBLE | SS_ICON, 7, 7, 21, 20)"},
    };
    for (const auto& [dialogId, index, statement] : cases) {
        const auto controls = FindDialogTemplate(dialogId)->controls;
        ASSERT_LT(index, controls.size());
        EXPECT_EQ(ControlStatement(controls[index]), statement);
    }
    EXPECT_EQ(QuotedText("Say \"Hi\" in C:\\"), R"("Say ""Hi"" in C:\\")");
}

}  // namespace

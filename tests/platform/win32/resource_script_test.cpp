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

// Everything but the CONTROL lines, word for word: the string table, the icon and each
// dialog's size, styles, extended style, caption and font. Losing the panel's WS_VISIBLE or
// WS_EX_APPWINDOW, a modal frame or the font changes how the native dialogs look and behave.
TEST(ResourceScriptTest, StringsIconAndDialogStatementsAreExact) {
    std::ostringstream script;
    WriteResourceScript(script);
    std::istringstream lines(script.str());
    std::string outsideControls;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("    CONTROL ")) {
            outsideControls += line + "\n";
        }
    }
    EXPECT_EQ(outsideControls,
              "// Generated from the program's resource data by zarven-rcgen: do not edit.\n"
              "STRINGTABLE\n"
              "BEGIN\n"
              "    101, \"&About ZARVEN Controls...\"\n"
              "END\n"
              "129 ICON \"zarven-controls.ico\"\n"
              "\n"
              "100 DIALOGEX 0, 0, 217, 37\n"
              "STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME\n"
              "CAPTION \"About ZARVEN Controls\"\n"
              "FONT 8, \"MS Sans Serif\"\n"
              "BEGIN\n"
              "END\n"
              "\n"
              "102 DIALOGEX 0, 0, 210, 175\n"
              "STYLE WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME\n"
              "EXSTYLE WS_EX_APPWINDOW\n"
              "CAPTION \"ZARVEN Controls\"\n"
              "FONT 8, \"MS Sans Serif\"\n"
              "BEGIN\n"
              "END\n");
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
        {IDD_CONTROL_PANEL, 0,
         R"(CONTROL "OK", 1, "Button", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 153, 127, 50, 16)"},
        {IDD_CONTROL_PANEL, 11,
         R"(CONTROL "Headset Sensitivity", 1009, "Button", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 118, 6, 85, 115)"},
        {IDD_CONTROL_PANEL, 13,
         R"(CONTROL "Max", 1012, "Static", WS_CHILD | WS_VISIBLE | SS_CENTER | WS_GROUP, 123, 37, 14, 8)"},
        {IDD_ABOUTBOX, 1,
         R"(CONTROL "ZARVEN Controls Version 1.2", -1, "Static", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 130, 8)"},
    };
    for (const auto& [dialogId, index, statement] : cases) {
        const auto controls = FindDialogTemplate(dialogId)->controls;
        ASSERT_LT(index, controls.size());
        EXPECT_EQ(ControlStatement(controls[index]), statement);
    }
    EXPECT_EQ(QuotedText("Say \"Hi\" in C:\\"), R"("Say ""Hi"" in C:\\")");
}

}  // namespace

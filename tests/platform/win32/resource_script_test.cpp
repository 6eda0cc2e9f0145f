#include "platform/win32/resource_script.h"

#include "panel/resource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using zarven::win32::ControlStatement;
using zarven::win32::QuotedText;

std::string GeneratedScript() {
    std::ostringstream script;
    zarven::win32::WriteResourceScript(script);
    return script.str();
}

// The lines of the script's DIALOGEX block for `id`, from its header to END.
std::vector<std::string> DialogBlock(const std::string& script, UINT id) {
    std::istringstream lines(script);
    std::vector<std::string> block;
    const std::string header = std::to_string(id) + " DIALOGEX ";
    for (std::string line; std::getline(lines, line);) {
        if (block.empty() && line.rfind(header, 0) != 0) {
            continue;
        }
        block.push_back(line);
        if (line == "END") {
            break;
        }
    }
    return block;
}

bool Contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

struct HeaderCase {
    UINT id;
    std::vector<std::string> lines;
    bool appWindow;
};

class DialogHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(DialogHeaderTest, CarriesSizeStylesCaptionAndFont) {
    const std::vector<std::string> block = DialogBlock(GeneratedScript(), GetParam().id);
    ASSERT_FALSE(block.empty());
    for (const std::string& line : GetParam().lines) {
        EXPECT_TRUE(Contains(block, line)) << line;
    }
    EXPECT_EQ(Contains(block, "EXSTYLE WS_EX_APPWINDOW"), GetParam().appWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, DialogHeaderTest,
    testing::Values(
        HeaderCase{IDD_CONTROL_PANEL,
                   {"102 DIALOGEX 0, 0, 210, 175",
                    "STYLE WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME",
                    "CAPTION \"ZARVEN Controls\"", "FONT 8, \"MS Sans Serif\""},
                   true},
        HeaderCase{IDD_ABOUTBOX,
                   {"100 DIALOGEX 0, 0, 217, 37",
                    "STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME",
                    "CAPTION \"About ZARVEN Controls\"", "FONT 8, \"MS Sans Serif\""},
                   false}));

// Every control of the data, and nothing else, in template order (the tab order) with its id
// and rectangle: the native dialogs cannot drift from the other backends'.
TEST(ResourceScript, DialogsListTheTemplateControlsInOrder) {
    const std::string script = GeneratedScript();
    const std::regex control(
        R"(^    CONTROL .*, (-?\d+), "\w+", [^,]+, (\d+), (\d+), (\d+), (\d+)$)");
    for (const UINT id : {IDD_CONTROL_PANEL, IDD_ABOUTBOX}) {
        const DialogTemplate* data = FindDialogTemplate(id);
        ASSERT_NE(data, nullptr);
        std::vector<std::string> generated;
        for (const std::string& line : DialogBlock(script, id)) {
            std::smatch match;
            if (std::regex_match(line, match, control)) {
                generated.push_back(match[1].str() + " " + match[2].str() + "," + match[3].str() +
                                    "," + match[4].str() + "," + match[5].str());
            }
        }
        std::vector<std::string> expected;
        for (const DialogControl& c : data->controls) {
            expected.push_back(std::to_string(c.id) + " " + std::to_string(c.x) + "," +
                               std::to_string(c.y) + "," + std::to_string(c.cx) + "," +
                               std::to_string(c.cy));
        }
        EXPECT_EQ(generated, expected) << "dialog " << id;
    }
}

struct ControlCase {
    UINT dialogId;
    std::size_t index;
    const char* statement;
};

class ControlStatementTest : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlStatementTest, MapsKindAndStyle) {
    const DialogTemplate* dialog = FindDialogTemplate(GetParam().dialogId);
    ASSERT_NE(dialog, nullptr);
    ASSERT_LT(GetParam().index, dialog->controls.size());
    EXPECT_EQ(ControlStatement(dialog->controls[GetParam().index]), GetParam().statement);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlStatementTest,
    testing::Values(
        ControlCase{IDD_CONTROL_PANEL, 0,
                    "CONTROL \"OK\", 1, \"Button\", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | "
                    "WS_TABSTOP, 153, 127, 50, 16"},
        ControlCase{IDD_CONTROL_PANEL, 3,
                    "CONTROL \"Enable Power Saver\", 1001, \"Button\", WS_CHILD | WS_VISIBLE | "
                    "BS_AUTOCHECKBOX | WS_TABSTOP, 17, 36, 79, 9"},
        ControlCase{IDD_CONTROL_PANEL, 5,
                    "CONTROL \"\", 1003, \"ScrollBar\", WS_CHILD | WS_VISIBLE | SBS_VERT, 137, 27, "
                    "10, 69"},
        ControlCase{IDD_CONTROL_PANEL, 13,
                    "CONTROL \"Max\", 1012, \"Static\", WS_CHILD | WS_VISIBLE | SS_CENTER | "
                    "WS_GROUP, 123, 37, 14, 8"},
        ControlCase{
            IDD_CONTROL_PANEL, 15,
            "CONTROL \"\", 1014, \"Edit\", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL "
            "| WS_BORDER | WS_TABSTOP, 131, 100, 19, 13"},
        ControlCase{IDD_CONTROL_PANEL, 21,
                    "CONTROL \"Axes Output\", -1, \"Button\", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, "
                    "7, 80, 101, 41"},
        ControlCase{IDD_ABOUTBOX, 0,
                    "CONTROL 129, -1, \"Static\", WS_CHILD | WS_VISIBLE | SS_ICON, 7, 7, 21, 20"},
        ControlCase{IDD_ABOUTBOX, 1,
                    "CONTROL \"ZARVEN Controls Version 1.2\", -1, \"Static\", WS_CHILD | "
                    "WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 130, 8"}));

TEST(ResourceScript, HoldsTheAboutStringAndTheIcon) {
    const std::string script = GeneratedScript();
    EXPECT_NE(script.find("STRINGTABLE\nBEGIN\n    101, \"&About ZARVEN Controls...\"\nEND\n"),
              std::string::npos);
    EXPECT_NE(script.find("\n129 ICON \"zarven-controls.ico\"\n"), std::string::npos);
}

TEST(ResourceScript, QuotesTextForTheResourceCompiler) {
    EXPECT_EQ(QuotedText("Say \"Hi\""), "\"Say \"\"Hi\"\"\"");
    EXPECT_EQ(QuotedText("C:\\dir"), "\"C:\\\\dir\"");
    EXPECT_EQ(QuotedText("&About"), "\"&About\"");
    EXPECT_EQ(QuotedText(nullptr), "\"\"");
}

}  // namespace

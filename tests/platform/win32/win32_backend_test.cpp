// The native Windows backend's parts that need no windows: resource script, messages, centring.
#include "panel/resource.h"
#include "platform/win32/message_routing.h"
#include "platform/win32/resource_script.h"

#include <gtest/gtest.h>

namespace {

using namespace zarven::win32;

TEST(MessageRoutingTest, CommandsBecomeTheirEvents) {
    const std::tuple<int, unsigned, CommandEvent> cases[] = {
        {IDOK, 0, CommandEvent::Ok},        {IDCANCEL, 0, CommandEvent::Cancel},
        {1000, 0, CommandEvent::Clicked},   {1014, 0x0300, CommandEvent::EditChange},
        {1014, 0x0100, CommandEvent::None},  // the edit box got the focus: nothing
        {1000, 5, CommandEvent::None},      {IDOK, 0x0300, CommandEvent::EditChange}};
    for (const auto& [id, notifyCode, event] : cases) {
        EXPECT_EQ(RouteCommand(id, notifyCode), event) << id << " " << notifyCode;
    }
}

TEST(MessageRoutingTest, ScrollSplitsCodeAndPosition) {
    const std::tuple<WPARAM, UINT, UINT> cases[] = {{SB_LINEDOWN, SB_LINEDOWN, 0},
                                                    {0x03FF0005u, SB_THUMBTRACK, 1023},
                                                    {0xFFFF0004u, SB_THUMBPOSITION, 0xFFFF}};
    for (const auto& [wParam, code, position] : cases) {
        EXPECT_EQ(DecodeScroll(wParam).code, code) << wParam;
        EXPECT_EQ(DecodeScroll(wParam).position, position) << wParam;
    }
}

TEST(MessageRoutingTest, CentresInsideTheBounds) {
    constexpr RECT kScreen{0, 0, 1024, 768}, kFar{2147483000, 0, 2147483600, 100};
    const struct {
        RECT window, area, bounds;
        LONG x, y;
    } cases[] = {
        {{0, 0, 372, 308}, kScreen, kScreen, 326, 230},
        {{0, 0, 100, 50}, {200, 100, 600, 400}, kScreen, 350, 225},  // over the owner
        {{0, 0, 400, 300}, {800, 0, 1024, 200}, kScreen, 624, 0},    // owner at the edge
        {{0, 0, 2000, 1000}, kScreen, kScreen, 0, 0},                // larger than the screen
        {{0, 0, 200, 100}, {-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, -740, 462},
        {{0, 0, 100, 100}, kFar, kFar, 2147483250, 0},  // no overflow near the coordinate limit
    };
    for (const auto& c : cases) {
        const WindowOrigin origin = CenteredOrigin(c.window, c.area, c.bounds);
        EXPECT_EQ(origin.x, c.x) << c.area.left;
        EXPECT_EQ(origin.y, c.y) << c.area.left;
    }
}

// Every dialog's statement, the menu's string, the icon, and a control of each kind and style.
TEST(ResourceScriptTest, ScriptHoldsEveryDialogTheStringTheIconAndEachKindOfControl) {
    std::ostringstream out;
    WriteResourceScript(out);
    const std::string script = out.str();
    EXPECT_NE(script.find(DialogStatement(*FindDialogTemplate(IDD_ABOUTBOX)) + "\n" +
                          DialogStatement(*FindDialogTemplate(IDD_CONTROL_PANEL))),
              std::string::npos);
    EXPECT_NE(script.find("STRINGTABLE\nBEGIN\n    101, \"&About ZARVEN Controls...\"\nEND\n"
                          "129 ICON \"zarven-controls.ico\"\n"),
              std::string::npos);
    const char* const controls[] = {
        R"(CONTROL 129, -1, "Static", WS_CHILD | WS_VISIBLE | SS_ICON, 7, 7, 21, 20)",
        R"(CONTROL "ZARVEN Controls Version 1.2", -1, "Static", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 130, 8)",
        R"(CONTROL "OK", 1, "Button", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 153, 127, 50, 16)",
        R"(CONTROL "Enable Power Saver", 1001, "Button", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 17, 36, 79, 9)",
        R"(CONTROL "", 1003, "ScrollBar", WS_CHILD | WS_VISIBLE | SBS_VERT, 137, 27, 10, 69)",
        R"(CONTROL "Headset Sensitivity", 1009, "Button", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 118, 6, 85, 115)",
        R"(CONTROL "Max", 1012, "Static", WS_CHILD | WS_VISIBLE | SS_CENTER | WS_GROUP, 123, 37, 14, 8)",
        R"(CONTROL "", 1014, "Edit", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 131, 100, 19, 13)"};
    for (const char* control : controls) {
        EXPECT_NE(script.find(std::string("    ") + control + "\n"), std::string::npos) << control;
    }
}

// Only the styles a dialog has (WS_VISIBLE, WS_EX_APPWINDOW, modal frame), its caption quoted.
TEST(ResourceScriptTest, DialogStatementCarriesItsStylesCaptionAndFont) {
    using namespace DialogStyle;
    const DialogControl go[] = {{7, ControlKind::PushButton, "Go", 1, 2, 3, 4, 0}};
    EXPECT_EQ(DialogStatement({55, "Say \"Hi\" in C:\\", "Face", 9, 0, 0, 30, 40,
                               kPopup | kVisible | kModalFrame | kAppWindow, go}),
              "55 DIALOGEX 0, 0, 30, 40\nSTYLE WS_POPUP | WS_VISIBLE | DS_MODALFRAME\n"
              "EXSTYLE WS_EX_APPWINDOW\nCAPTION \"Say \"\"Hi\"\" in C:\\\\\"\nFONT 9, \"Face\"\n"
              "BEGIN\n    CONTROL \"Go\", 7, \"Button\", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, "
              "1, 2, 3, 4\nEND\n");
    EXPECT_EQ(DialogStatement({56, "A", "F", 8, 1, 2, 3, 4, kCaption | kSystemMenu, {}}),
              "56 DIALOGEX 1, 2, 3, 4\nSTYLE WS_CAPTION | WS_SYSMENU\nCAPTION \"A\"\n"
              "FONT 8, \"F\"\nBEGIN\nEND\n");
}

}  // namespace

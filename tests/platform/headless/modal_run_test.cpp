#include "scripted_dialog.h"

#include <functional>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Ending {
    const char* name;
    UINT templateId;
    std::function<void()> script;
    INT_PTR result;
};

TEST_F(HeadlessTest, EveryWayOfClosingEndsWithItsResult) {
    const Ending endings[] = {
        {"OK button", IDD_CONTROL_PANEL, [] { headless::Click(IDOK); }, IDOK},
        {"Enter presses the default button", IDD_CONTROL_PANEL, headless::PressEnter, IDOK},
        {"Cancel button", IDD_CONTROL_PANEL, [] { headless::Click(IDCANCEL); }, IDCANCEL},
        {"Escape", IDD_CONTROL_PANEL, headless::PressEscape, IDCANCEL},
        {"close box", IDD_CONTROL_PANEL, headless::CloseBox, IDCANCEL},
        {"Close with the platform's low bits", IDD_CONTROL_PANEL,
         [] { headless::SysCommand(SC_CLOSE | 0x2u); }, IDCANCEL},
        {"Escape in a dialog without Cancel", IDD_ABOUTBOX, headless::PressEscape, IDCANCEL},
        {"Enter in the about box", IDD_ABOUTBOX, headless::PressEnter, IDOK},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        headless::Reset();
        ScriptedDialog dialog(log, ending.templateId);
        ending.script();
        EXPECT_EQ(dialog.DoModal(), ending.result);
        EXPECT_EQ(headless::StepsLeft(), 0u);
        EXPECT_FALSE(headless::IsOpen(dialog));
    }
}

TEST_F(HeadlessTest, UnknownTemplateIsNotCreated) {
    ScriptedDialog dialog(log, 4242);
    headless::Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_THAT(log, ::testing::IsEmpty());
    EXPECT_EQ(headless::StepsLeft(), 1u);
}

// Also: a dialog has no focus until its initialisation returns, as it is not shown before.
TEST_F(HeadlessTest, NestedDialogPlaysTheNextStepsAndOkEndsTheInnermost) {
    ScriptedDialog panel(log);
    INT_PTR aboutResult = 0;
    HWND focusInAbout = nullptr;
    HWND aboutWindow = nullptr;
    HWND focusDuringInit = headless::Hwnd(panel);
    panel.onSysCommand = [&](UINT id) {
        if ((id & 0xFFF0u) != IDM_ABOUT) {
            return false;
        }
        ScriptedDialog about(log, IDD_ABOUTBOX);
        about.onInit = [&] { focusDuringInit = GetFocus(); };
        aboutWindow = headless::Hwnd(about);
        aboutResult = about.DoModal();
        return true;
    };
    headless::SysCommand(IDM_ABOUT);
    headless::Run([&](CDialog& innermost) {
        EXPECT_EQ(innermost.GetTemplateId(), static_cast<UINT>(IDD_ABOUTBOX));
        EXPECT_TRUE(headless::IsDisabled(panel));
        focusInAbout = GetFocus();
    });
    headless::Click(IDOK);
    headless::Run([&](CDialog& innermost) {
        EXPECT_EQ(&innermost, &panel);
        EXPECT_FALSE(headless::IsDisabled(panel));
        EXPECT_EQ(GetFocus(), headless::Hwnd(panel));
    });
    headless::Click(IDC_SET_ZERO);
    headless::Click(IDCANCEL);

    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_EQ(aboutResult, IDOK);
    EXPECT_EQ(focusInAbout, aboutWindow);
    EXPECT_EQ(focusDuringInit, nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(panel.GetSafeHwnd(), nullptr);
    EXPECT_THAT(log, ElementsAre("panel init", "about init", "panel click 1002"));
}

TEST_F(HeadlessTest, ScriptRunningOutEndsEveryOpenDialogAndIsFlagged) {
    expectFaults = true;
    ScriptedDialog panel(log);
    INT_PTR aboutResult = 0;
    panel.onSysCommand = [&](UINT) {
        ScriptedDialog about(log, IDD_ABOUTBOX);
        aboutResult = about.DoModal();
        return true;
    };
    headless::SysCommand(IDM_ABOUT);

    EXPECT_EQ(panel.DoModal(), headless::kScriptRanOut);
    EXPECT_EQ(aboutResult, headless::kScriptRanOut);
    EXPECT_TRUE(headless::ScriptFault());
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("dialog 100"), HasSubstr("dialog 102")));
}

TEST_F(HeadlessTest, EndingDuringInitialisationSkipsTheScript) {
    ScriptedDialog panel(log);
    panel.onInit = [&] { panel.EndDialog(7); };
    headless::Click(IDOK);
    EXPECT_EQ(panel.DoModal(), 7);
    EXPECT_EQ(headless::StepsLeft(), 1u);
}

}  // namespace

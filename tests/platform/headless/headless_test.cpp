// What the panel tests rely on in the headless double without noticing if it broke.
#include "platform/headless/headless.h"

#include "panel/resource.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Logs "<panel|about> <event>"; IDM_ABOUT opens the about box, timer 8 ends the dialog.
class LoggingDialog : public CDialog {
public:
    explicit LoggingDialog(std::vector<std::string>& log, UINT templateId = IDD_CONTROL_PANEL)
        : CDialog(templateId), log_(log) {}
    std::function<void()> onInit;
    INT_PTR aboutResult = 0;

protected:
    BOOL OnInitDialog() override {
        Log("init");
        if (onInit) {
            onInit();
        }
        return TRUE;
    }
    void OnClicked(int id) override { Log("click " + std::to_string(IsDlgButtonChecked(id))); }
    void OnVScroll(UINT code, UINT pos, int barId) override {
        Log(std::to_string(code) + " pos " + std::to_string(pos) + " track " +
            std::to_string(headless::TrackPos(*this, barId)));
    }
    void OnTimer(UINT_PTR id) override {
        Log("timer " + std::to_string(id) + (headless::IsDisabled(*this) ? " disabled" : ""));
        if (id == 8) {
            EndDialog(IDOK);
        }
    }
    void OnSysCommand(UINT id, LPARAM lParam) override {
        if (id != IDM_ABOUT) {
            return CDialog::OnSysCommand(id, lParam);
        }
        aboutResult = LoggingDialog(log_, IDD_ABOUTBOX).DoModal();
    }

private:
    void Log(const std::string& event) {
        log_.push_back((GetTemplateId() == IDD_ABOUTBOX ? "about " : "panel ") + event);
    }
    std::vector<std::string>& log_;
};

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    std::vector<std::string> log;
    LoggingDialog panel{log};
};

// The shown about box has the focus and disables the panel; a command's low bits are ignored.
TEST_F(HeadlessTest, NestedDialogTakesTheNextStepsAndOkEndsTheInnermost) {
    panel.onInit = [] { EXPECT_EQ(GetFocus(), nullptr); };
    headless::SysCommand(IDM_ABOUT);
    headless::Run([&](CDialog& innermost) {
        EXPECT_EQ(GetFocus(), headless::Hwnd(innermost));
        EXPECT_TRUE(headless::IsDisabled(panel));
    });
    headless::Click(IDOK);
    headless::Click(IDC_STEREO_MODE);
    headless::Click(IDC_STEREO_MODE);
    headless::SysCommand(SC_CLOSE | 2);
    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_EQ(panel.aboutResult, IDOK);
    EXPECT_THAT(log, ElementsAre("panel init", "about init", "panel click 1", "panel click 0"));
    EXPECT_FALSE(headless::ScriptFault());
}

TEST_F(HeadlessTest, ScriptRunningOutEndsEveryOpenDialogAndIsFlagged) {
    headless::SysCommand(IDM_ABOUT);
    EXPECT_EQ(panel.DoModal(), headless::kScriptRanOut);
    EXPECT_EQ(panel.aboutResult, headless::kScriptRanOut);
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("dialog 100"), HasSubstr("dialog 102")));
}

TEST_F(HeadlessTest, StepsLeftWhenThePanelEndsAreFlaggedAndNeverRun) {
    headless::PressEscape();
    headless::Run([](CDialog&) { ADD_FAILURE() << "played after the panel ended"; });
    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_THAT(headless::Faults(), ElementsAre("1 scripted step left when dialog 102 ended"));
    EXPECT_EQ(headless::StepsLeft(), 0u);
}

// Track positions are clamped to the range; the thumb stays where the program put it.
TEST_F(HeadlessTest, ScrollStepsReportTrackPositionsButNeverMoveTheThumb) {
    panel.onInit = [&] {
        panel.SetScrollRange(IDC_PITCH_BAR, 0, 2047);
        panel.SetScrollPos(IDC_PITCH_BAR, 500);
    };
    headless::Drag(IDC_PITCH_BAR, {400, 341, 9000});
    headless::ArrowClick(IDC_PITCH_BAR, true);
    headless::PageClick(IDC_PITCH_BAR, false);
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_THAT(log, ElementsAre("panel init", "panel 5 pos 400 track 400",
                                 "panel 5 pos 341 track 341", "panel 5 pos 2047 track 2047",
                                 "panel 4 pos 2047 track 2047", "panel 8 pos 0 track 500",
                                 "panel 0 pos 0 track 500", "panel 8 pos 0 track 500",
                                 "panel 3 pos 0 track 500", "panel 8 pos 0 track 500"));
    EXPECT_EQ(headless::ThumbPos(panel, IDC_PITCH_BAR), 500);
}

// A new range pulls thumb and track position in; a minimum above the maximum is refused.
TEST_F(HeadlessTest, ThumbStaysInsideTheRange) {
    const auto thumbAfter = [&](auto change) {
        change(panel);
        return headless::ThumbPos(panel, IDC_ROLL_BAR);
    };
    panel.onInit = [&] {
        panel.SetScrollRange(IDC_ROLL_BAR, 0, 2047);
        EXPECT_EQ(thumbAfter([](CDialog& d) { d.SetScrollPos(IDC_ROLL_BAR, -353); }), 0);
        EXPECT_EQ(thumbAfter([](CDialog& d) { d.SetScrollPos(IDC_ROLL_BAR, 5000); }), 2047);
        EXPECT_EQ(thumbAfter([](CDialog& d) { d.SetScrollRange(IDC_ROLL_BAR, 100, 10); }), 2047);
        EXPECT_EQ(thumbAfter([](CDialog& d) { d.SetScrollRange(IDC_ROLL_BAR, 10, 100); }), 100);
        EXPECT_EQ(headless::TrackPos(panel, IDC_ROLL_BAR), 10);
        EXPECT_EQ(thumbAfter([](CDialog& d) { d.SetScrollRange(IDC_ROLL_BAR, 7, 7); }), 7);
    };
    headless::PressEscape();
    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("SetScrollRange(1005): minimum")));
}

// An unanswered question is a fault, answered No; a dialog ended in a tick gets no more.
TEST_F(HeadlessTest, TicksArriveWhileAMessageBoxIsOpen) {
    const HWND owner = headless::Hwnd(panel);
    panel.onInit = [&] {
        panel.SetTimer(7, 20);
        const int answer = MessageBoxA(owner, "Joystick6", "Select HMD to configure", MB_YESNO);
        log.push_back("answer " + std::to_string(answer));
        EXPECT_EQ(MessageBoxA(nullptr, "?", "Unanswered", MB_YESNO), IDNO);
        panel.SetTimer(8, 20);
        panel.SetTimer(9, 20);
    };
    headless::AnswerBox(IDYES, 2);
    headless::Tick();
    panel.DoModal();
    EXPECT_THAT(log, ElementsAre("panel init", "panel timer 7 disabled", "panel timer 7 disabled",
                                 "answer 6", "panel timer 7", "panel timer 8"));
    EXPECT_EQ(headless::Boxes().front(),
              (headless::ShownBox{"Select HMD to configure", "Joystick6", MB_YESNO, owner, IDYES}));
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("no scripted answer")));
    EXPECT_TRUE(headless::Timers(panel).empty());
}

}  // namespace

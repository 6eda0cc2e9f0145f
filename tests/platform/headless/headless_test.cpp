// What the panel tests rely on in the headless double without noticing if it broke: nested
// modal runs taking the next steps, a script that runs out, scroll notifications against the
// thumb, and ticks while a message box is open.
#include "platform/headless/headless.h"

#include "panel/resource.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Logs its events as "<panel|about> <event>"; any system command opens the about box over it.
class LoggingDialog : public CDialog {
public:
    explicit LoggingDialog(std::vector<std::string>& log, UINT templateId = IDD_CONTROL_PANEL)
        : CDialog(templateId), log_(log) {}
    std::function<void()> onInit;
    bool followDrag = false;  // move the thumb to the track position on codes 4 and 5
    INT_PTR aboutResult = 0;

protected:
    BOOL OnInitDialog() override {
        Log("init");
        if (onInit) {
            onInit();
        }
        return TRUE;
    }
    void OnClicked(int id) override { Log("click " + std::to_string(id)); }
    void OnVScroll(UINT code, UINT pos, int barId) override {
        const int track = headless::TrackPos(*this, barId);
        Log(std::to_string(code) + " pos " + std::to_string(pos) + " track " +
            std::to_string(track));
        if (followDrag && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)) {
            SetScrollPos(barId, track);
        }
    }
    void OnTimer(UINT_PTR id) override { Log("timer " + std::to_string(id)); }
    void OnSysCommand(UINT, LPARAM) override {
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

TEST_F(HeadlessTest, NestedDialogTakesTheNextStepsAndOkEndsTheInnermost) {
    headless::SysCommand(IDM_ABOUT);
    headless::Run([&](CDialog& innermost) {
        EXPECT_EQ(innermost.GetTemplateId(), static_cast<UINT>(IDD_ABOUTBOX));
        EXPECT_TRUE(headless::IsDisabled(panel));
    });
    headless::Click(IDOK);
    headless::Run([&](CDialog& innermost) { EXPECT_EQ(&innermost, &panel); });
    headless::Click(IDC_SET_ZERO);
    headless::Click(IDCANCEL);
    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_EQ(panel.aboutResult, IDOK);
    EXPECT_THAT(log, ElementsAre("panel init", "about init", "panel click 1002"));
    EXPECT_FALSE(headless::ScriptFault());
}

TEST_F(HeadlessTest, ScriptRunningOutEndsEveryOpenDialogAndIsFlagged) {
    headless::SysCommand(IDM_ABOUT);
    EXPECT_EQ(panel.DoModal(), headless::kScriptRanOut);
    EXPECT_EQ(panel.aboutResult, headless::kScriptRanOut);
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("dialog 100"), HasSubstr("dialog 102")));
}

// A drag reports each track position (clamped to the range), then the release and the end;
// the thumb moves only when the program moves it.
TEST_F(HeadlessTest, ScrollStepsReportTrackPositionsButNeverMoveTheThumb) {
    for (const bool programFollows : {false, true}) {
        headless::Reset();
        log.clear();
        LoggingDialog dialog(log);
        dialog.followDrag = programFollows;
        dialog.onInit = [&] {
            dialog.SetScrollRange(IDC_PITCH_BAR, 0, 2047);
            dialog.SetScrollPos(IDC_PITCH_BAR, 500);
        };
        headless::Drag(IDC_PITCH_BAR, {400, 341, 9000});
        headless::ArrowClick(IDC_PITCH_BAR, true);
        headless::PageClick(IDC_PITCH_BAR, false);
        headless::Click(IDOK);
        dialog.DoModal();
        const std::string thumb = programFollows ? "2047" : "500";
        EXPECT_THAT(
            log, ElementsAre("panel init", "panel 5 pos 400 track 400", "panel 5 pos 341 track 341",
                             "panel 5 pos 2047 track 2047", "panel 4 pos 2047 track 2047",
                             "panel 8 pos 0 track " + thumb, "panel 0 pos 0 track " + thumb,
                             "panel 8 pos 0 track " + thumb, "panel 3 pos 0 track " + thumb,
                             "panel 8 pos 0 track " + thumb));
        EXPECT_EQ(std::to_string(headless::ThumbPos(dialog, IDC_PITCH_BAR)), thumb);
    }
}

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
    };
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr("SetScrollRange(1005): minimum")));
}

TEST_F(HeadlessTest, TicksArriveWhileAMessageBoxIsOpen) {
    const HWND owner = headless::Hwnd(panel);
    panel.onInit = [&] {
        panel.SetTimer(7, 20);
        const int answer = MessageBoxA(owner, "Joystick6", "Select HMD to configure", MB_YESNO);
        log.push_back("answer " + std::to_string(answer));
    };
    headless::AnswerBox(IDYES, 2);
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_THAT(log, ElementsAre("panel init", "panel timer 7", "panel timer 7", "answer 6"));
    EXPECT_THAT(headless::Boxes(),
                ElementsAre(headless::ShownBox{"Select HMD to configure", "Joystick6", MB_YESNO,
                                               owner, IDYES}));
}

}  // namespace

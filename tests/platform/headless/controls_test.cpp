#include "scripted_dialog.h"

#include <functional>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(HeadlessTest, AutoCheckBoxTogglesBeforeItsClickIsReported) {
    ScriptedDialog panel(log);
    panel.onClicked = [&](int) {
        log.push_back("checked " + std::to_string(panel.IsDlgButtonChecked(IDC_STEREO_MODE)));
    };
    headless::Click(IDC_STEREO_MODE);
    headless::Click(IDC_STEREO_MODE);
    headless::Click(IDC_SET_ZERO);
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_THAT(log, ElementsAre("panel init", "panel click 1000", "checked 1", "panel click 1000",
                                 "checked 0", "panel click 1002", "checked 0"));
}

TEST_F(HeadlessTest, EveryTextWriteCountsButTypingDoesNot) {
    ScriptedDialog panel(log);
    panel.onInit = [&] {
        panel.SetDlgItemText(IDC_AXIS_X_OUT, "000");
        panel.SetDlgItemText(IDC_AXIS_X_OUT, "000");
    };
    headless::Type(IDC_YAW_VALUE, "42");
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_EQ(headless::Text(panel, IDC_AXIS_X_OUT), "000");
    EXPECT_EQ(headless::TextWrites(panel, IDC_AXIS_X_OUT), 2);
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "42");
    EXPECT_EQ(headless::TextWrites(panel, IDC_YAW_VALUE), 0);
    EXPECT_EQ(headless::Text(panel, IDC_STEREO_MODE), "Enable Stereo Mode");
    EXPECT_THAT(log, ElementsAre("panel init", "panel edit 1014"));
}

struct ThumbCase {
    const char* name;
    int rangeMin, rangeMax;  // set after the thumb was put at 1000 in the range 0..2047
    int pos;                 // then set, unless 0
    int thumb;
};

TEST_F(HeadlessTest, ThumbStaysInsideTheRange) {
    const ThumbCase cases[] = {
        {"below the range goes to the top", 0, 2047, -353, 0},
        {"above the range goes to the bottom", 0, 2047, 5000, 2047},
        {"a narrower range pulls the thumb in", 10, 100, 0, 100},
        {"a reversed range is refused", 2047, 0, 0, 1000},
    };
    expectFaults = true;  // by the reversed range
    for (const ThumbCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialog panel(log);
        int previous = -1;
        panel.onInit = [&] {
            EXPECT_EQ(panel.SetScrollPos(IDC_ROLL_BAR, 7), 0);  // a new bar's range is 0..0
            panel.SetScrollRange(IDC_ROLL_BAR, 0, 2047);
            panel.SetScrollPos(IDC_ROLL_BAR, 1000);
            panel.SetScrollRange(IDC_ROLL_BAR, c.rangeMin, c.rangeMax);
            previous = c.pos != 0 ? panel.SetScrollPos(IDC_ROLL_BAR, c.pos) : 1000;
        };
        headless::Click(IDOK);
        panel.DoModal();
        EXPECT_EQ(headless::ThumbPos(panel, IDC_ROLL_BAR), c.thumb);
        EXPECT_EQ(previous, 1000);
    }
}

class ScrollTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        panel.onInit = [this] {
            panel.SetScrollRange(IDC_PITCH_BAR, 0, 2047);
            panel.SetScrollPos(IDC_PITCH_BAR, 500);
        };
    }
    void RunPanel() {
        headless::Click(IDOK);
        panel.DoModal();
        log.erase(log.begin());  // "panel init"
    }
    ScriptedDialog panel{log};
};

TEST_F(ScrollTest, NotificationsNeverMoveTheThumb) {
    headless::ArrowClick(IDC_PITCH_BAR, true);
    headless::PageClick(IDC_PITCH_BAR, false);
    headless::Drag(IDC_PITCH_BAR, {10});
    headless::Run([this](CDialog&) {
        SCROLLINFO info{};
        ASSERT_TRUE(panel.GetScrollInfo(IDC_PITCH_BAR, &info, SIF_POS | SIF_RANGE));
        EXPECT_EQ(info.nPos, 500);
        EXPECT_EQ(info.nMax, 2047);
    });
    RunPanel();
    EXPECT_THAT(log, ElementsAre("panel scroll 1004 code 0 pos 0 track 500",
                                 "panel scroll 1004 code 8 pos 0 track 500",
                                 "panel scroll 1004 code 3 pos 0 track 500",
                                 "panel scroll 1004 code 8 pos 0 track 500",
                                 "panel scroll 1004 code 5 pos 10 track 10",
                                 "panel scroll 1004 code 4 pos 10 track 10",
                                 "panel scroll 1004 code 8 pos 0 track 500"));
}

TEST_F(ScrollTest, DragTracksEachPositionThenReleasesAtTheLast) {
    panel.moveThumbOnDrag = true;
    headless::Drag(IDC_PITCH_BAR, {400, 341, 9000});
    headless::ArrowClick(IDC_PITCH_BAR, false);
    RunPanel();
    EXPECT_THAT(log, ElementsAre("panel scroll 1004 code 5 pos 400 track 400",
                                 "panel scroll 1004 code 5 pos 341 track 341",
                                 "panel scroll 1004 code 5 pos 2047 track 2047",
                                 "panel scroll 1004 code 4 pos 2047 track 2047",
                                 "panel scroll 1004 code 8 pos 0 track 2047",
                                 "panel scroll 1004 code 1 pos 0 track 2047",
                                 "panel scroll 1004 code 8 pos 0 track 2047"));
    EXPECT_EQ(headless::ThumbPos(panel, IDC_PITCH_BAR), 2047);
}

TEST_F(HeadlessTest, AddressingAMissingOrWrongControlIsAFault) {
    const std::pair<std::function<void()>, const char*> mistakes[] = {
        {[] { headless::Click(1011); }, "Click(1011): dialog 102 has no control 1011"},
        {[] { headless::Click(IDC_YAW_VALUE); }, "is an edit box, not a push button"},
        {[] { headless::Type(IDC_STEREO_MODE, "1"); }, "is a check box, not an edit box"},
        {[] { headless::Scroll(IDC_YAW_LABEL, SB_LINEUP); }, "is a label, not a scroll bar"},
        {[] { headless::Run([](CDialog& d) { d.SetDlgItemText(1011, "x"); }); },
         "SetDlgItemText(1011)"},
    };
    expectFaults = true;
    for (const auto& [script, fault] : mistakes) {
        SCOPED_TRACE(fault);
        headless::Reset();
        log.clear();
        ScriptedDialog panel(log);
        script();
        headless::Click(IDOK);
        EXPECT_EQ(panel.DoModal(), IDOK);
        EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr(fault)));
        EXPECT_THAT(log, ElementsAre("panel init"));
    }
}

}  // namespace

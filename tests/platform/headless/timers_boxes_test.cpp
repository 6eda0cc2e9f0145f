#include "scripted_dialog.h"

#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr UINT_PTR kReadout = 0xE001;

TEST_F(HeadlessTest, TimersTickUntilKilledOrTheDialogEnds) {
    ScriptedDialog panel(log);
    BOOL killedMissing = TRUE;
    panel.onInit = [&] {
        killedMissing = panel.KillTimer(0xE000);
        panel.SetTimer(kReadout, 20);
        panel.SetTimer(7, 10);
    };
    panel.onTimer = [&](UINT_PTR id) {
        if (id == 7) {
            panel.KillTimer(kReadout);  // before its turn in the same tick
        }
    };
    headless::Run([&](CDialog&) {
        EXPECT_THAT(headless::Timers(panel),
                    ElementsAre(headless::Timer{7, 10}, headless::Timer{kReadout, 20}));
    });
    headless::TickTimer(kReadout);
    headless::Tick();
    headless::Tick();
    headless::Click(IDOK);
    panel.DoModal();

    EXPECT_FALSE(killedMissing);
    EXPECT_THAT(log,
                ElementsAre("panel init", "panel timer 57345", "panel timer 7", "panel timer 7"));
    EXPECT_THAT(headless::Timers(panel), IsEmpty());
}

TEST_F(HeadlessTest, TicksReachTheOwnerFirstWhileANestedDialogIsOpen) {
    ScriptedDialog panel(log);
    panel.onInit = [&] { panel.SetTimer(kReadout, 20); };
    panel.onSysCommand = [&](UINT) {
        ScriptedDialog about(log, IDD_ABOUTBOX);
        about.onInit = [&] { about.SetTimer(1, 100); };
        about.DoModal();
        return true;
    };
    headless::SysCommand(IDM_ABOUT);
    headless::Tick();
    headless::Click(IDOK);  // ends the about box
    headless::Tick();
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_THAT(log, ElementsAre("panel init", "about init", "panel timer 57345", "about timer 1",
                                 "panel timer 57345"));
}

TEST_F(HeadlessTest, TicksArriveWhileAMessageBoxIsOpen) {
    ScriptedDialog panel(log);
    panel.onInit = [&] { panel.SetTimer(kReadout, 20); };
    panel.onTimer = [&](UINT_PTR) {
        log.push_back(headless::IsDisabled(panel) ? "disabled" : "enabled");
    };
    panel.onClicked = [&](int) {
        const int answer =
            MessageBoxA(GetFocus(), "Joystick6", "Select HMD to configure", MB_YESNO);
        log.push_back("answer " + std::to_string(answer));
    };
    headless::AnswerBox(IDYES, 2);
    headless::Click(IDC_SET_ZERO);
    headless::Click(IDOK);
    panel.DoModal();

    EXPECT_THAT(log, ElementsAre("panel init", "panel click 1002", "panel timer 57345", "disabled",
                                 "panel timer 57345", "disabled", "answer 6"));
    EXPECT_THAT(headless::Boxes(),
                ElementsAre(headless::ShownBox{"Select HMD to configure", "Joystick6", MB_YESNO,
                                               headless::Hwnd(panel), IDYES}));
    EXPECT_FALSE(headless::IsDisabled(panel));
}

struct BoxCase {
    const char* name;
    UINT type;
    std::optional<int> scripted;
    int answer;
    const char* fault;  // null for none
};

TEST_F(HeadlessTest, MessageBoxAnswers) {
    const BoxCase cases[] = {
        {"unscripted OK box", MB_OK, std::nullopt, IDOK, nullptr},
        {"unscripted Yes/No box", MB_YESNO, std::nullopt, IDNO, "no scripted answer"},
        {"scripted No", MB_YESNO, IDNO, IDNO, nullptr},
        {"Yes to an OK box", MB_OK, IDYES, IDOK, "cannot close"},
        {"OK to a Yes/No box", MB_YESNO, IDOK, IDNO, "cannot close"},
        {"unsupported box", 0x3u, IDYES, 0, "cannot close"},
    };
    expectFaults = true;
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        headless::Reset();
        if (c.scripted) {
            headless::AnswerBox(*c.scripted);
        }
        EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, c.type), c.answer);
        ASSERT_EQ(headless::Boxes().size(), 1u);
        EXPECT_EQ(headless::Boxes()[0].caption, "Error");
        EXPECT_EQ(headless::Boxes()[0].owner, nullptr);
        if (c.fault != nullptr) {
            EXPECT_THAT(headless::Faults(), ElementsAre(HasSubstr(c.fault)));
        } else {
            EXPECT_THAT(headless::Faults(), IsEmpty());
        }
    }
}

}  // namespace

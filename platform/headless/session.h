// The test session shared by every dialog: the queued steps and answers, the records of the
// whole test, and the stack of open dialogs.
#pragma once

#include "platform/headless/headless.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace headless::detail {

// A scripted user action, played on the innermost open dialog.
using Step = std::function<void(CDialog&)>;

struct Answer {
    int answer;
    int ticksWhileOpen;
};

struct Session {
    std::deque<Step> steps;
    std::deque<Answer> answers;
    std::vector<ShownBox> boxes;
    std::vector<std::string> faults;
    std::vector<HICON> dragIcons;
    bool threeDControls = false;
    std::vector<CDialog*> openDialogs;  // outermost first; maintained by DoModal
};

Session& TheSession();

void Fault(std::string what);
void Enqueue(Step step);
std::optional<Step> NextStep();
// Drops the steps still queued, with a fault naming the dialog that `ended` without them.
void DropLeftoverSteps(const std::string& ended);

// The dialog whose modal loop runs now, or null.
CDialog* InnermostDialog();

// OnTimer for every running timer of every open dialog, outermost first, or only for timer
// `only`. A dialog that ended or a timer killed by an earlier handler gets no tick.
void DeliverTicks(std::optional<UINT_PTR> only);

}  // namespace headless::detail

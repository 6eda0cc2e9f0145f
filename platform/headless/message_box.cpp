// The windowing calls made outside the framework classes: message boxes, focus and metrics.
#include "platform/headless/dialog_access.h"
#include "platform/headless/session.h"

#include <optional>
#include <string>

using headless::detail::Fault;
using headless::detail::Phase;
using headless::detail::TheSession;
using headless::detail::WindowState;

namespace {

constexpr UINT kButtonsMask = 0x0000000Fu;
constexpr int kIconSize = 32;

bool CanAnswer(UINT buttons, int answer) {
    switch (buttons) {
        case MB_OK:
            return answer == IDOK;
        case MB_YESNO:
            return answer == IDYES || answer == IDNO;
        default:
            return false;
    }
}

// The answer when the script gives none (or one the box cannot give): OK for an OK box, No for
// a Yes/No box, and the platform's failure value 0 for box types the program never shows.
int UnscriptedAnswer(UINT buttons) {
    switch (buttons) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        default:
            return 0;
    }
}

WindowState* OpenWindow(HWND hwnd) {
    for (CDialog* dialog : TheSession().openDialogs) {
        WindowState& window = AfxDialogEvents::State(*dialog);
        if (hwnd != nullptr && window.hwnd == hwnd) {
            return &window;
        }
    }
    return nullptr;
}

// Takes copies: boxes shown by timer handlers while this one is open may move the records.
int Answer(UINT type, std::string caption) {
    auto& answers = TheSession().answers;
    const UINT buttons = type & kButtonsMask;
    const std::string which = "message box \"" + caption + "\" (type " + std::to_string(type) + ")";
    if (answers.empty()) {
        if (buttons != MB_OK) {
            Fault("no scripted answer for " + which);
        }
        return UnscriptedAnswer(buttons);
    }
    const auto [answer, ticks] = answers.front();
    answers.pop_front();
    for (int tick = 0; tick < ticks; ++tick) {
        headless::detail::DeliverTicks(std::nullopt);
    }
    if (!CanAnswer(buttons, answer)) {
        Fault("scripted answer " + std::to_string(answer) + " cannot close " + which);
        return UnscriptedAnswer(buttons);
    }
    return answer;
}

}  // namespace

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    auto& boxes = TheSession().boxes;
    // Recorded when shown, so that boxes shown while this one is open come after it.
    const std::size_t index = boxes.size();
    boxes.push_back({lpCaption != nullptr ? lpCaption : "Error", lpText != nullptr ? lpText : "",
                     uType, hWnd, 0});
    const headless::detail::DisabledWhileOpen ownerDisabled(OpenWindow(hWnd));
    const int answer = Answer(uType, boxes[index].caption);
    boxes[index].answer = answer;
    return answer;
}

HWND GetFocus() {
    const CDialog* innermost = headless::detail::InnermostDialog();
    if (innermost == nullptr) {
        return nullptr;
    }
    const WindowState& window = AfxDialogEvents::State(*innermost);
    return window.phase == Phase::Shown ? window.hwnd : nullptr;
}

int GetSystemMetrics(int nIndex) {
    return nIndex == SM_CXICON || nIndex == SM_CYICON ? kIconSize : 0;
}

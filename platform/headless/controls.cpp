// CDialog's control services: check state, text and scroll bars by control id.
#include "platform/headless/dialog_access.h"
#include "platform/headless/session.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

using headless::detail::ControlState;
using headless::detail::WindowState;

namespace {

// The control a program call addresses, or null (with a fault) when the dialog has no window
// or no such control.
template <class Window>
auto* ProgramControl(Window& window, int id, const char* caller,
                     std::optional<ControlKind> kind = std::nullopt) {
    return window.RequireOpen(caller) ? window.Control(id, caller, kind) : nullptr;
}

int ClampToRange(const ControlState& bar, int pos) {
    return std::clamp(pos, bar.rangeMin, bar.rangeMax);
}

}  // namespace

void CDialog::CheckDlgButton(int id, UINT check) {
    if (ControlState* box = ProgramControl(*m_impl, id, "CheckDlgButton", ControlKind::CheckBox)) {
        box->check = check != BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;  // two-state boxes
    }
}

UINT CDialog::IsDlgButtonChecked(int id) const {
    const WindowState& window = *m_impl;
    const ControlState* box =
        ProgramControl(window, id, "IsDlgButtonChecked", ControlKind::CheckBox);
    return box != nullptr ? box->check : BST_UNCHECKED;
}

void CDialog::SetDlgItemText(int id, LPCSTR text) {
    if (ControlState* control = ProgramControl(*m_impl, id, "SetDlgItemText")) {
        control->text = text != nullptr ? text : "";
        ++control->textWrites;
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    const WindowState& window = *m_impl;
    const ControlState* control = ProgramControl(window, id, "GetDlgItemText");
    return control != nullptr ? control->text : std::string();
}

void CDialog::SetScrollRange(int barId, int minPos, int maxPos, BOOL) {
    ControlState* bar = ProgramControl(*m_impl, barId, "SetScrollRange", ControlKind::ScrollBar);
    if (bar == nullptr) {
        return;
    }
    if (minPos > maxPos) {
        headless::detail::Fault("SetScrollRange(" + std::to_string(barId) + "): minimum " +
                                std::to_string(minPos) + " above maximum " +
                                std::to_string(maxPos));
        return;
    }
    bar->rangeMin = minPos;
    bar->rangeMax = maxPos;
    bar->pos = ClampToRange(*bar, bar->pos);
    bar->trackPos = ClampToRange(*bar, bar->trackPos);
}

int CDialog::SetScrollPos(int barId, int pos, BOOL) {
    ControlState* bar = ProgramControl(*m_impl, barId, "SetScrollPos", ControlKind::ScrollBar);
    if (bar == nullptr) {
        return 0;
    }
    return std::exchange(bar->pos, ClampToRange(*bar, pos));
}

int CDialog::GetScrollPos(int barId) const {
    const WindowState& window = *m_impl;
    const ControlState* bar = ProgramControl(window, barId, "GetScrollPos", ControlKind::ScrollBar);
    return bar != nullptr ? bar->pos : 0;
}

BOOL CDialog::GetScrollInfo(int barId, LPSCROLLINFO info, UINT mask) const {
    const WindowState& window = *m_impl;
    const ControlState* bar =
        ProgramControl(window, barId, "GetScrollInfo", ControlKind::ScrollBar);
    if (bar == nullptr || info == nullptr) {
        return FALSE;
    }
    info->fMask = mask;
    if (mask & SIF_RANGE) {
        info->nMin = bar->rangeMin;
        info->nMax = bar->rangeMax;
    }
    if (mask & SIF_PAGE) {
        info->nPage = 0;
    }
    if (mask & SIF_POS) {
        info->nPos = bar->pos;
    }
    if (mask & SIF_TRACKPOS) {
        info->nTrackPos = bar->trackPos;
    }
    return TRUE;
}

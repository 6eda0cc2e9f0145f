// Dialog timers and their ticks.
#include "platform/headless/dialog_access.h"
#include "platform/headless/session.h"

#include <utility>
#include <vector>

using headless::detail::WindowState;

UINT_PTR CDialog::SetTimer(UINT_PTR id, UINT elapseMs) {
    WindowState& window = *m_impl;
    if (!window.RequireOpen("SetTimer")) {
        return 0;
    }
    window.timers[id] = elapseMs;  // setting a running timer again restarts it
    return id != 0 ? id : 1;       // the platform's success value for timer 0
}

BOOL CDialog::KillTimer(UINT_PTR id) {
    return m_impl->timers.erase(id) != 0 ? TRUE : FALSE;
}

namespace headless::detail {

void DeliverTicks(std::optional<UINT_PTR> only) {
    // Taken before delivery: handlers may kill timers, end dialogs or open new ones.
    std::vector<std::pair<CDialog*, UINT_PTR>> due;
    for (CDialog* dialog : TheSession().openDialogs) {
        for (const auto& [id, periodMs] : AfxDialogEvents::State(*dialog).timers) {
            if (!only || id == *only) {
                due.emplace_back(dialog, id);
            }
        }
    }
    for (const auto& [dialog, id] : due) {
        const WindowState& window = AfxDialogEvents::State(*dialog);
        if (window.IsOpen() && !window.ended && window.timers.contains(id)) {
            AfxDialogEvents::Timer(*dialog, id);
        }
    }
}

}  // namespace headless::detail

// CDialog: the modal run, the window services and the default event processing.
#include "platform/headless/dialog_access.h"
#include "platform/headless/session.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

using headless::detail::DisabledWhileOpen;
using headless::detail::Fault;
using headless::detail::Phase;
using headless::detail::TheSession;
using headless::detail::WindowState;

namespace {

// For the length of one modal run: the window exists, the dialog is on the open stack and its
// owner is disabled. Undone however the run ends.
class ModalRun {
public:
    ModalRun(CDialog& dialog, CDialog* owner)
        : m_dialog(dialog),
          m_ownerDisabled(owner != nullptr ? &AfxDialogEvents::State(*owner) : nullptr) {
        AfxDialogEvents::State(dialog).Open();
        TheSession().openDialogs.push_back(&dialog);
    }
    ~ModalRun() {
        auto& open = TheSession().openDialogs;
        open.erase(std::remove(open.begin(), open.end(), &m_dialog), open.end());
        AfxDialogEvents::State(m_dialog).Close();
    }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

private:
    CDialog& m_dialog;
    DisabledWhileOpen m_ownerDisabled;
};

}  // namespace

CDialog::CDialog(UINT templateId, CDialog* parent)
    : m_templateId(templateId), m_parent(parent), m_impl(std::make_unique<Impl>(templateId)) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    WindowState& window = *m_impl;
    if (window.IsOpen()) {
        Fault("DoModal: " + window.Name() + " is already running");
        return -1;
    }
    if (window.dialogTemplate == nullptr) {
        return -1;
    }
    CDialog* owner = m_parent != nullptr ? m_parent : headless::detail::InnermostDialog();
    const ModalRun run(*this, owner);

    OnInitDialog();
    if (!window.ended) {
        window.phase = Phase::Shown;
    }
    while (!window.ended) {
        auto step = headless::detail::NextStep();
        if (!step) {
            Fault("the script ran out while " + window.Name() + " was open");
            EndDialog(static_cast<int>(headless::kScriptRanOut));
            break;
        }
        (*step)(*this);
    }
    // Steps still queued when the outermost dialog ends would never run, and the expectations
    // in them would pass unseen.
    if (TheSession().openDialogs.size() == 1) {
        headless::detail::DropLeftoverSteps(window.Name());
    }
    return window.result;
}

void CDialog::EndDialog(int result) {
    WindowState& window = *m_impl;
    if (!window.RequireOpen("EndDialog")) {
        return;
    }
    window.ended = true;
    window.result = result;
}

HWND CDialog::GetSafeHwnd() const {
    return m_impl->IsOpen() ? m_impl->hwnd : nullptr;
}

CMenu* CDialog::GetSystemMenu(BOOL revert) {
    WindowState& window = *m_impl;
    if (!window.RequireOpen("GetSystemMenu") ||
        (window.dialogTemplate->style & DialogStyle::kSystemMenu) == 0) {
        return nullptr;
    }
    if (revert) {
        window.systemMenu.Revert();
        return nullptr;
    }
    return &window.systemMenu;
}

HICON CDialog::SetIcon(HICON icon, BOOL bigIcon) {
    HICON& slot = bigIcon ? m_impl->bigIcon : m_impl->smallIcon;
    return std::exchange(slot, icon);
}

BOOL CDialog::IsIconic() const {
    return m_impl->iconic ? TRUE : FALSE;
}

void CDialog::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    const DialogTemplate* dialogTemplate = m_impl->dialogTemplate;
    // Dialog units with a 6x13 pixel base unit: a quarter of its width, an eighth of its height.
    *rect = dialogTemplate == nullptr
                ? RECT{0, 0, 0, 0}
                : RECT{0, 0, dialogTemplate->cx * 6 / 4, dialogTemplate->cy * 13 / 8};
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    m_impl->sentMessages.push_back({message, wParam, lParam});
    return 0;
}

// ---- Default event processing ----

void CDialog::OnSysCommand(UINT id, LPARAM) {
    // The low four bits are the platform's own; the command is the rest.
    switch (id & 0xFFF0u) {
        case SC_CLOSE:
            OnCancel();
            break;
        case SC_MINIMIZE:
            m_impl->iconic = true;
            break;
        case SC_RESTORE:
            m_impl->iconic = false;
            break;
        default:
            break;
    }
}

void CDialog::OnPaint() {
    ++m_impl->defaultPaints;
}

HCURSOR CDialog::OnQueryDragIcon() {
    return nullptr;  // the platform then drags its default icon
}

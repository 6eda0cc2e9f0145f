// CDialog over Qt: DoModal builds the template's window and runs a nested event loop until
// EndDialog; the control services find the controls of the running window by id.
#include "platform/framework.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog_events.h"
#include "platform/qt/dialog_impl.h"
#include "platform/qt/scroll_bar.h"
#include "platform/qt/window_handles.h"

#include <QAbstractButton>
#include <QApplication>

using zarven::qt::DialogWindow;
using zarven::qt::Win32ScrollBar;

CDialog::CDialog(UINT templateId, CDialog* parent)
    : m_templateId(templateId), m_parent(parent), m_impl(std::make_unique<Impl>()) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_templateId);
    const bool haveApplication =
        qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (dialogTemplate == nullptr || !haveApplication || m_impl->window) {
        return -1;
    }
    QWidget* owner = m_parent != nullptr ? m_parent->m_impl->window.get() : nullptr;
    m_impl->result.reset();
    m_impl->window = std::make_unique<DialogWindow>(*this, *dialogTemplate, owner);
    if (AfxDialogEvents::InitDialog(*this)) {
        m_impl->window->FocusFirstTabStop();
    }
    if (!m_impl->result) {  // EndDialog during initialisation: never shown
        QEventLoop loop;
        m_impl->loop = &loop;
        m_impl->window->show();
        loop.exec(QEventLoop::DialogExec);
        m_impl->loop = nullptr;
    }
    m_impl->window.reset();
    if (owner != nullptr) {
        owner->activateWindow();  // the owner takes input again, as after a Win32 modal dialog
    }
    // The loop also ends when the application quits: that is no OK.
    return m_impl->result.value_or(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    m_impl->result = result;
    if (m_impl->window) {
        m_impl->window->hide();
    }
    if (m_impl->loop != nullptr) {
        m_impl->loop->quit();
    }
}

HWND CDialog::GetSafeHwnd() const {
    return zarven::qt::HandleOfWindow(m_impl->window.get());
}

namespace {

template <class T>
T* ControlOf(const std::unique_ptr<DialogWindow>& window, int id) {
    return window ? window->ControlAs<T>(id) : nullptr;
}

}  // namespace

void CDialog::CheckDlgButton(int id, UINT check) {
    if (auto* button = ControlOf<QAbstractButton>(m_impl->window, id);
        button != nullptr && button->isCheckable()) {
        button->setChecked(check != BST_UNCHECKED);
    }
}

UINT CDialog::IsDlgButtonChecked(int id) const {
    const auto* button = ControlOf<QAbstractButton>(m_impl->window, id);
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::SetDlgItemText(int id, LPCSTR text) {
    if (auto* control = ControlOf<QWidget>(m_impl->window, id)) {
        zarven::qt::SetControlText(*control, QString::fromUtf8(text != nullptr ? text : ""));
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    const auto* control = ControlOf<QWidget>(m_impl->window, id);
    return control != nullptr ? zarven::qt::ControlText(*control).toStdString() : std::string();
}

void CDialog::SetScrollRange(int barId, int minPos, int maxPos, BOOL) {
    if (auto* bar = ControlOf<Win32ScrollBar>(m_impl->window, barId)) {
        bar->SetScrollRange(minPos, maxPos);
    }
}

int CDialog::SetScrollPos(int barId, int pos, BOOL) {
    auto* bar = ControlOf<Win32ScrollBar>(m_impl->window, barId);
    return bar != nullptr ? bar->SetScrollPos(pos) : 0;
}

int CDialog::GetScrollPos(int barId) const {
    const auto* bar = ControlOf<Win32ScrollBar>(m_impl->window, barId);
    return bar != nullptr ? bar->ScrollPos() : 0;
}

BOOL CDialog::GetScrollInfo(int barId, LPSCROLLINFO info, UINT mask) const {
    const auto* bar = ControlOf<Win32ScrollBar>(m_impl->window, barId);
    if (bar == nullptr || info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    if ((mask & SIF_RANGE) != 0) {
        info->nMin = bar->minimum();
        info->nMax = bar->maximum();
    }
    if ((mask & SIF_PAGE) != 0) {
        info->nPage = 0;
    }
    if ((mask & SIF_POS) != 0) {
        info->nPos = bar->ScrollPos();
    }
    if ((mask & SIF_TRACKPOS) != 0) {
        info->nTrackPos = bar->TrackPos();
    }
    return TRUE;
}

UINT_PTR CDialog::SetTimer(UINT_PTR id, UINT elapseMs) {
    return m_impl->window ? m_impl->window->SetTimer(id, elapseMs) : 0;
}

BOOL CDialog::KillTimer(UINT_PTR id) {
    return m_impl->window ? m_impl->window->KillTimer(id) : FALSE;
}

CMenu* CDialog::GetSystemMenu(BOOL revert) {
    if (!m_impl->window) {
        return nullptr;
    }
    if (revert) {
        m_impl->window->Menu().Revert();
        return nullptr;
    }
    return &m_impl->window->Menu();
}

HICON CDialog::SetIcon(HICON icon, BOOL bigIcon) {
    return m_impl->window ? m_impl->window->SetIcon(icon, bigIcon != FALSE) : nullptr;
}

BOOL CDialog::IsIconic() const {
    return m_impl->window && m_impl->window->isMinimized() ? TRUE : FALSE;
}

void CDialog::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    const QSize size = m_impl->window ? m_impl->window->size() : QSize(0, 0);
    *rect = RECT{0, 0, size.width(), size.height()};
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_ICONERASEBKGND && m_impl->window) {
        return m_impl->window->EraseIconBackground(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    }
    return 0;
}

void CDialog::OnSysCommand(UINT id, LPARAM) {
    switch (id & 0xFFF0u) {
        case SC_CLOSE:
            OnCancel();
            break;
        case SC_MINIMIZE:
            if (m_impl->window) {
                m_impl->window->showMinimized();
            }
            break;
        case SC_RESTORE:
            if (m_impl->window) {
                m_impl->window->showNormal();
            }
            break;
        default:
            break;
    }
}

void CDialog::OnPaint() {
    // Qt has already painted the dialog's background and its controls paint themselves.
}

HCURSOR CDialog::OnQueryDragIcon() {
    return nullptr;
}

// CDialog over the dialog manager: DoModal runs the template resource with DialogBoxParam, and
// the dialog procedure turns window messages into the framework's events. A handler's base
// version is the default processing; for system commands and painting that is the window
// procedure's own (DefWindowProc), so SC_CLOSE, Alt+F4 and the close box cancel the dialog
// through the dialog manager's WM_CLOSE handling.
#include "platform/framework.h"
#include "platform/win32/dialog_impl.h"
#include "platform/win32/message_routing.h"
#include "platform/win32/work_area.h"

using zarven::win32::CommandEvent;

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Centres the dialog over its owner when the owner is showing, otherwise on its own monitor,
// keeping it inside the work area of the monitor it is centred on, as the dialog manager does.
void CenterDialog(HWND hwnd) {
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const HWND owner = ::GetWindow(hwnd, GW_OWNER);
    const bool overOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);
    const RECT workArea = zarven::win32::MonitorWorkArea(overOwner ? owner : hwnd);
    RECT area = workArea;
    if (overOwner) {
        ::GetWindowRect(owner, &area);
    }
    const zarven::win32::WindowOrigin origin =
        zarven::win32::CenteredOrigin(window, area, workArea);
    ::SetWindowPos(hwnd, nullptr, origin.x, origin.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// The dialog procedure's access to the handlers and the window state.
struct AfxDialogEvents {
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            return InitDialog(*reinterpret_cast<CDialog*>(lParam), hwnd);
        }
        auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
        return dialog != nullptr ? Dispatch(*dialog, message, wParam, lParam) : FALSE;
    }

    // Initialisation runs before the dialog is first shown; a dialog that it did not move is
    // centred. The result says whether the dialog manager gives the default control the focus.
    static INT_PTR InitDialog(CDialog& dialog, HWND hwnd) {
        dialog.m_impl->hwnd = hwnd;
        RECT before{};
        ::GetWindowRect(hwnd, &before);
        const BOOL setFocus = dialog.OnInitDialog();
        RECT after{};
        ::GetWindowRect(hwnd, &after);
        if (SameRect(before, after)) {
            CenterDialog(hwnd);
        }
        return setFocus;
    }

    static INT_PTR Dispatch(CDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_COMMAND:
                return Command(dialog, LOWORD(wParam), HIWORD(wParam));
            case WM_VSCROLL: {
                const auto scroll = zarven::win32::DecodeScroll(wParam);
                dialog.OnVScroll(scroll.code, scroll.position,
                                 ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
                return TRUE;
            }
            case WM_TIMER:
                dialog.OnTimer(wParam);
                return TRUE;
            case WM_SYSCOMMAND:
                dialog.OnSysCommand(static_cast<UINT>(wParam), lParam);
                return TRUE;
            case WM_PAINT:
                dialog.OnPaint();
                return TRUE;
            case WM_QUERYDRAGICON:  // answered by the return value itself
                return reinterpret_cast<INT_PTR>(dialog.OnQueryDragIcon());
            case WM_NCDESTROY:
                dialog.m_impl->hwnd = nullptr;
                dialog.m_impl->systemMenu.Attach(nullptr);
                return FALSE;
            default:
                return FALSE;
        }
    }

    static INT_PTR Command(CDialog& dialog, int id, unsigned notifyCode) {
        switch (zarven::win32::RouteCommand(id, notifyCode)) {
            case CommandEvent::Ok:
                dialog.OnOK();
                return TRUE;
            case CommandEvent::Cancel:
                dialog.OnCancel();
                return TRUE;
            case CommandEvent::Clicked:
                dialog.OnClicked(id);
                return TRUE;
            case CommandEvent::EditChange:
                dialog.OnEditChange(id);
                return TRUE;
            case CommandEvent::None:
                break;
        }
        return FALSE;
    }
};

CDialog::CDialog(UINT templateId, CDialog* parent)
    : m_templateId(templateId), m_parent(parent), m_impl(std::make_unique<Impl>()) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    if (m_impl->hwnd != nullptr) {  // already running
        return -1;
    }
    const HWND owner = m_parent != nullptr ? m_parent->GetSafeHwnd() : nullptr;
    return ::DialogBoxParamA(::GetModuleHandle(nullptr), MAKEINTRESOURCE(m_templateId), owner,
                             &AfxDialogEvents::Procedure, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int result) {
    if (m_impl->hwnd != nullptr) {
        ::EndDialog(m_impl->hwnd, result);
    }
}

HWND CDialog::GetSafeHwnd() const {
    return m_impl->hwnd;
}

void CDialog::CheckDlgButton(int id, UINT check) {
    ::CheckDlgButton(m_impl->hwnd, id, check);
}

UINT CDialog::IsDlgButtonChecked(int id) const {
    return ::IsDlgButtonChecked(m_impl->hwnd, id) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::SetDlgItemText(int id, LPCSTR text) {
    ::SetDlgItemText(m_impl->hwnd, id, text != nullptr ? text : "");
}

std::string CDialog::GetDlgItemText(int id) const {
    const HWND control = ::GetDlgItem(m_impl->hwnd, id);
    if (control == nullptr) {
        return {};
    }
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
    const int length = ::GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

void CDialog::SetScrollRange(int barId, int minPos, int maxPos, BOOL redraw) {
    ::SetScrollRange(::GetDlgItem(m_impl->hwnd, barId), SB_CTL, minPos, maxPos, redraw);
}

int CDialog::SetScrollPos(int barId, int pos, BOOL redraw) {
    return ::SetScrollPos(::GetDlgItem(m_impl->hwnd, barId), SB_CTL, pos, redraw);
}

int CDialog::GetScrollPos(int barId) const {
    return ::GetScrollPos(::GetDlgItem(m_impl->hwnd, barId), SB_CTL);
}

BOOL CDialog::GetScrollInfo(int barId, LPSCROLLINFO info, UINT mask) const {
    if (info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(::GetDlgItem(m_impl->hwnd, barId), SB_CTL, info);
}

UINT_PTR CDialog::SetTimer(UINT_PTR id, UINT elapseMs) {
    return m_impl->hwnd != nullptr ? ::SetTimer(m_impl->hwnd, id, elapseMs, nullptr) : 0;
}

BOOL CDialog::KillTimer(UINT_PTR id) {
    return m_impl->hwnd != nullptr ? ::KillTimer(m_impl->hwnd, id) : FALSE;
}

// Reverting restores the platform's menu and, as on Windows, returns no menu.
CMenu* CDialog::GetSystemMenu(BOOL revert) {
    const HMENU menu = m_impl->hwnd != nullptr ? ::GetSystemMenu(m_impl->hwnd, revert) : nullptr;
    m_impl->systemMenu.Attach(menu);
    return menu != nullptr ? &m_impl->systemMenu : nullptr;
}

HICON CDialog::SetIcon(HICON icon, BOOL bigIcon) {
    if (m_impl->hwnd == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HICON>(::SendMessage(
        m_impl->hwnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

BOOL CDialog::IsIconic() const {
    return m_impl->hwnd != nullptr && ::IsIconic(m_impl->hwnd) ? TRUE : FALSE;
}

void CDialog::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    *rect = RECT{0, 0, 0, 0};
    if (m_impl->hwnd != nullptr) {
        ::GetClientRect(m_impl->hwnd, rect);
    }
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_impl->hwnd != nullptr ? ::SendMessage(m_impl->hwnd, message, wParam, lParam) : 0;
}

void CDialog::OnSysCommand(UINT id, LPARAM lParam) {
    ::DefWindowProc(m_impl->hwnd, WM_SYSCOMMAND, id, lParam);
}

void CDialog::OnPaint() {
    ::DefWindowProc(m_impl->hwnd, WM_PAINT, 0, 0);
}

HCURSOR CDialog::OnQueryDragIcon() {
    return nullptr;
}

// The paint context: draws are recorded on the dialog, with the dialog's device context.
#include "platform/headless/dialog_access.h"

CPaintDC::CPaintDC(CDialog* wnd)
    : m_wnd(wnd), m_hdc(wnd != nullptr ? AfxDialogEvents::State(*wnd).hdc : nullptr) {}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const {
    return m_hdc;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    if (m_wnd == nullptr || icon == nullptr) {
        return FALSE;
    }
    AfxDialogEvents::State(*m_wnd).drawnIcons.push_back({m_hdc, x, y, icon});
    return TRUE;
}

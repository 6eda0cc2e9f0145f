// CPaintDC: BeginPaint/EndPaint around a dialog's paint event.
#include "platform/framework.h"
#include "platform/win32/dialog_impl.h"

CPaintDC::CPaintDC(CDialog* wnd) : m_wnd(wnd), m_hdc(nullptr) {
    if (m_wnd != nullptr && m_wnd->m_impl->hwnd != nullptr) {
        m_hdc = ::BeginPaint(m_wnd->m_impl->hwnd, &m_wnd->m_impl->paint);
    }
}

CPaintDC::~CPaintDC() {
    if (m_hdc != nullptr) {
        ::EndPaint(m_wnd->m_impl->hwnd, &m_wnd->m_impl->paint);
    }
}

HDC CPaintDC::GetSafeHdc() const {
    return m_hdc;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    return m_hdc != nullptr && icon != nullptr ? ::DrawIcon(m_hdc, x, y, icon) : FALSE;
}

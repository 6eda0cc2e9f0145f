// CPaintDC over Qt: a painter on the dialog, open inside the dialog's paint event only.
#include "platform/framework.h"
#include "platform/qt/dialog_impl.h"
#include "platform/qt/icons.h"

CPaintDC::CPaintDC(CDialog* wnd) : m_wnd(wnd), m_hdc(nullptr) {
    if (m_wnd != nullptr && m_wnd->m_impl->window) {
        m_hdc = m_wnd->m_impl->window->BeginPaintContext();
    }
}

CPaintDC::~CPaintDC() {
    if (m_hdc != nullptr && m_wnd->m_impl->window) {
        m_wnd->m_impl->window->EndPaintContext(m_hdc);
    }
}

HDC CPaintDC::GetSafeHdc() const {
    return m_hdc;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    QPainter* painter = m_hdc != nullptr && m_wnd->m_impl->window
                            ? m_wnd->m_impl->window->PainterOf(m_hdc)
                            : nullptr;
    return painter != nullptr && zarven::qt::PaintIcon(*painter, x, y, icon) ? TRUE : FALSE;
}

#include "framework/gdi.h"

#include "framework/wnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_wnd(wnd->m_hWnd) { m_hDC = ::BeginPaint(m_wnd, &m_ps); }

CPaintDC::~CPaintDC() {
    ::EndPaint(m_wnd, &m_ps);
    m_hDC = nullptr;
}

#include "platform/mfc/DC.h"

#include "platform/mfc/Wnd.h"
#include "platform/win/gdi/Gdi.h"

BOOL CDC::Attach(HDC hdc)
{
    if (hdc == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    return hdc;
}

void CDC::FillSolidRect(const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (m_hWnd != nullptr)
        m_hDC = BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hWnd != nullptr && m_hDC != nullptr)
        EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

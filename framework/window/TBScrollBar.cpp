#include "framework/window/TBScrollBar.h"

#include "platform/win/user/Controls.h"

CTBScrollBar::~CTBScrollBar()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CTBScrollBar::Create(DWORD dwStyle, const RECT& rect, CTBWnd* pParent, UINT nId)
{
    return CTBWnd::Create(WC_SCROLLBARA, nullptr, dwStyle, rect, pParent, nId);
}

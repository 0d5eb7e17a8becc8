#include "platform/mfc/View.h"

#include "platform/mfc/DC.h"

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

void CView::OnInitialUpdate()
{
    if (m_hWnd != nullptr)
        Invalidate();
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

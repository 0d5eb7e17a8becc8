#include "app/MDIClientWnd.h"

#include "app/NorvApp.h"
#include "framework/base/SharedGlobals.h"
#include "platform/mfc/DC.h"
#include "platform/win/Windows.h"

BEGIN_MESSAGE_MAP(CMDIClientWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMDIClientWnd::~CMDIClientWnd()
{
    if (m_hBitmap != nullptr)
        DeleteObject(m_hBitmap);
}

void CMDIClientWnd::SetBackground(UINT nBitmapId)
{
    if (m_hBitmap != nullptr)
        DeleteObject(m_hBitmap);
    m_hBitmap = nBitmapId != 0 ? GetSharedGlobals()->LoadBitmap(nBitmapId) : nullptr;
}

BOOL CMDIClientWnd::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    GetClientRect(&rc);
    HDC hdc = pDC->GetSafeHdc();
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    if (m_hBitmap != nullptr) {
        BITMAP bm{};
        GetObjectA(m_hBitmap, sizeof bm, &bm);
        HDC hdcMem = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hdcMem, m_hBitmap);
        BitBlt(hdc, (rc.right - bm.bmWidth) / 2, (rc.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, hdcMem, 0, 0,
               SRCCOPY);
        SelectObject(hdcMem, hOld);
        DeleteDC(hdcMem);
    }
    return TRUE;
}

void CMDIClientWnd::OnSize(UINT nType, int cx, int cy)
{
    Invalidate(TRUE);
    Default();
    (void)nType;
    (void)cx;
    (void)cy;
}

BOOL CMDIClientWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT uMessage)
{
    CNorvApp* pApp = CNorvApp::Get();
    if (pApp != nullptr && pApp->IsBusy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, uMessage);
}

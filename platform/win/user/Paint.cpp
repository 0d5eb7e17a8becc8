// Painting: update regions, WM_PAINT, window DCs and scrolling the backing image.
#include <algorithm>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/WindowRecord.h"

// An update region of many pieces costs more to keep than to over-paint.
static const size_t MAX_UPDATE_RECTS = 32;

CTbPixelBuffer* TbWindowImage(TbWindow* pWnd)
{
    if (pWnd->image.IsEmpty() && TbImageWidth(pWnd) > 0 && TbImageHeight(pWnd) > 0) {
        COLORREF cr = TbBrushColor(pWnd->pClass->hbrBackground);
        pWnd->image.Create(TbImageWidth(pWnd), TbImageHeight(pWnd), FALSE,
                           cr == CLR_INVALID ? TB_PIXEL_WHITE : TbColorToPixel(cr));
    }
    return &pWnd->image;
}

static void AddToUpdate(TbWindow* pWnd, const CTbRegion& rgn, BOOL bErase)
{
    CTbRegion rgnIn = rgn;
    rgnIn.Intersect(RECT{0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)});
    if (rgnIn.IsEmpty())
        return;
    pWnd->rgnUpdate.Union(rgnIn);
    if (pWnd->rgnUpdate.Rects().size() > MAX_UPDATE_RECTS)
        pWnd->rgnUpdate.SetRect(pWnd->rgnUpdate.GetBox());
    if (bErase)
        pWnd->bEraseBkgnd = TRUE;
    TbGetDisplay()->Wake();
}

BOOL InvalidateRect(HWND hWnd, const RECT* pRect, BOOL bErase)
{
    if (!hWnd) {
        std::vector<HWND> all = TbUser().topLevel;
        for (HWND h : all)
            InvalidateRect(h, nullptr, bErase);
        return TRUE;
    }
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    AddToUpdate(pWnd, CTbRegion(pRect ? *pRect : RECT{0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)}), bErase);
    return TRUE;
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    if (!hRgn)
        return InvalidateRect(hWnd, nullptr, bErase);
    TbWindow* pWnd = TbFindWindow(hWnd);
    const CTbRegion* pRgn = TbGetRegion(hRgn);
    if (!pWnd || !pRgn)
        return FALSE;
    AddToUpdate(pWnd, *pRgn, bErase);
    return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* pRect)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    if (pRect)
        pWnd->rgnUpdate.Subtract(*pRect);
    else
        pWnd->rgnUpdate.SetEmpty();
    if (pWnd->rgnUpdate.IsEmpty())
        pWnd->bEraseBkgnd = FALSE;
    return TRUE;
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    if (const CTbRegion* pRgn = hRgn ? TbGetRegion(hRgn) : nullptr)
        pWnd->rgnUpdate.Subtract(*pRgn);
    else
        pWnd->rgnUpdate.SetEmpty();
    return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT pRect, BOOL)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    if (pRect)
        *pRect = pWnd->rgnUpdate.GetBox();
    return !pWnd->rgnUpdate.IsEmpty();
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !TbGetRegion(hRgn))
        return ERROR;
    TbSetRegion(hRgn, pWnd->rgnUpdate);
    return pWnd->rgnUpdate.GetType();
}

static HWND FindInTree(HWND hWnd, HWND hWndFilter)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !(pWnd->dwStyle & WS_VISIBLE) || !pWnd->bRedraw)
        return nullptr;
    if (!pWnd->rgnUpdate.IsEmpty() && TbMatchesWindowFilter(hWnd, hWndFilter))
        return hWnd;
    for (HWND hChild : pWnd->children)
        if (HWND hFound = FindInTree(hChild, hWndFilter))
            return hFound;
    return nullptr;
}

HWND TbFindWindowToPaint(HWND hWndFilter)
{
    for (HWND hTop : TbUser().topLevel)
        if (HWND hFound = FindInTree(hTop, hWndFilter))
            return hFound;
    return nullptr;
}

void TbAfterPaintDispatch(HWND hWnd)
{
    // A procedure that neither painted nor validated would be asked again at once, forever.
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (pWnd && !pWnd->bPaintValidated) {
        pWnd->rgnUpdate.SetEmpty();
        pWnd->bEraseBkgnd = FALSE;
    }
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT pPaint)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pPaint)
        return nullptr;
    TbCaretBeforePaint(hWnd);
    CTbRegion rgn = pWnd->rgnUpdate;
    BOOL bErase = pWnd->bEraseBkgnd;
    pWnd->rgnUpdate.SetEmpty();
    pWnd->bEraseBkgnd = FALSE;
    pWnd->bPaintValidated = TRUE;
    *pPaint = PAINTSTRUCT{};
    pPaint->rcPaint = rgn.GetBox();
    HDC hdc = TbCreateWindowDC(hWnd, &rgn);
    pPaint->hdc = hdc;
    if (bErase && hdc)
        pPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* pPaint)
{
    if (!pPaint)
        return FALSE;
    ReleaseDC(hWnd, pPaint->hdc);
    // The window's scroll bars are painted with its client area (what WM_NCPAINT would do).
    TbDrawWindowScrollBars(hWnd);
    TbCaretAfterPaint(hWnd);
    return TRUE;
}

HDC GetDC(HWND hWnd)
{
    if (!hWnd || hWnd == TbUser().hDesktop)
        return TbScreenDC();
    return TbFindWindow(hWnd) ? TbCreateWindowDC(hWnd, nullptr) : nullptr;
}

// The whole backing image: the client area and the window's scroll bars.
HDC GetWindowDC(HWND hWnd)
{
    HDC hdc = GetDC(hWnd);
    if (TbDC* pDC = hWnd ? TbFindDC(hdc) : nullptr)
        if (pDC->nKind == TB_DC_WINDOW)
            pDC->bWholeImage = TRUE;
    return hdc;
}

int ReleaseDC(HWND, HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || pDC->nKind != TB_DC_WINDOW)
        return pDC && pDC->nKind == TB_DC_SCREEN ? 1 : 0;
    HWND hWndOfDC = pDC->hWnd;
    RECT rcDirty = TbFreeWindowDC(hdc);
    if (TbWindow* pWnd = TbFindWindow(hWndOfDC))
        if (pWnd->pSurface && !TbRectEmpty(rcDirty))
            pWnd->pSurface->Update(rcDirty);
    return 1;
}

BOOL UpdateWindow(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    if (!pWnd->rgnUpdate.IsEmpty() && TbIsVisibleChain(pWnd) && pWnd->bRedraw) {
        pWnd->bPaintValidated = FALSE;
        SendMessageA(hWnd, WM_PAINT, 0, 0);
        TbAfterPaintDispatch(hWnd);
    }
    return TRUE;
}

static void RedrawTree(HWND hWnd, const CTbRegion* pRgn, UINT uFlags)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    CTbRegion rgnAll(RECT{0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)});
    const CTbRegion& rgn = pRgn ? *pRgn : rgnAll;
    if (uFlags & RDW_INVALIDATE)
        AddToUpdate(pWnd, rgn, (uFlags & RDW_ERASE) != 0);
    if (uFlags & RDW_VALIDATE) {
        pWnd->rgnUpdate.Subtract(rgn);
        if (uFlags & RDW_NOERASE)
            pWnd->bEraseBkgnd = FALSE;
    }
    if (uFlags & RDW_ALLCHILDREN) {
        std::vector<HWND> children = pWnd->children;
        for (HWND hChild : children) {
            TbWindow* pChild = TbFindWindow(hChild);
            if (!pChild)
                continue;
            CTbRegion rgnChild = rgn;
            rgnChild.Offset(-pChild->rcWindow.left, -pChild->rcWindow.top);
            RedrawTree(hChild, &rgnChild, uFlags & ~(RDW_UPDATENOW | RDW_ERASENOW));
        }
    }
}

static void UpdateTree(HWND hWnd, BOOL bChildren)
{
    UpdateWindow(hWnd);
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !bChildren)
        return;
    std::vector<HWND> children = pWnd->children;
    for (HWND hChild : children)
        UpdateTree(hChild, TRUE);
}

BOOL RedrawWindow(HWND hWnd, const RECT* prcUpdate, HRGN hrgnUpdate, UINT uFlags)
{
    if (!hWnd || hWnd == TbUser().hDesktop) {
        std::vector<HWND> all = TbUser().topLevel;
        for (HWND h : all)
            RedrawWindow(h, nullptr, nullptr, uFlags | RDW_ALLCHILDREN);
        return TRUE;
    }
    if (!TbFindWindow(hWnd))
        return FALSE;
    CTbRegion rgn;
    const CTbRegion* pRgn = nullptr;
    if (hrgnUpdate) {
        pRgn = TbGetRegion(hrgnUpdate);
    } else if (prcUpdate) {
        rgn.SetRect(*prcUpdate);
        pRgn = &rgn;
    }
    RedrawTree(hWnd, pRgn, uFlags);
    if (uFlags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateTree(hWnd, (uFlags & RDW_ALLCHILDREN) != 0);
    return TRUE;
}

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   LPRECT prcUpdate, UINT uFlags)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return ERROR;
    RECT rcClient = {0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)};
    RECT rcScroll = TbIntersect(prcScroll ? *prcScroll : rcClient, rcClient);
    RECT rcClip = TbIntersect(prcClip ? *prcClip : rcClient, rcClient);
    RECT rcMoved = TbIntersect(RECT{rcScroll.left + dx, rcScroll.top + dy, rcScroll.right + dx, rcScroll.bottom + dy}, rcClip);
    // Pixels that wait to be painted anyway need not move: a grid inserting row after row into a
    // window that has not painted since would otherwise copy the whole window for every row.
    CTbRegion rgnStale(rcScroll);
    rgnStale.Subtract(pWnd->rgnUpdate);
    const BOOL bPixelsShown = !rgnStale.IsEmpty();
    if (bPixelsShown)
        TbWindowImage(pWnd)->Move(rcScroll, dx, dy, rcClip);
    // What was shown inside the scrolled area and is not covered by moved pixels must be repainted.
    CTbRegion rgnUncovered(TbIntersect(rcScroll, rcClip));
    rgnUncovered.Subtract(rcMoved);
    // Pending invalid parts move with the pixels they belong to.
    CTbRegion rgnMoving = pWnd->rgnUpdate;
    rgnMoving.Intersect(rcScroll);
    if (!rgnMoving.IsEmpty()) {
        pWnd->rgnUpdate.Subtract(rgnMoving);
        rgnMoving.Offset(dx, dy);
        rgnMoving.Intersect(rcClip);
        pWnd->rgnUpdate.Union(rgnMoving);
    }
    if (hrgnUpdate)
        TbSetRegion(hrgnUpdate, rgnUncovered);
    if (prcUpdate)
        *prcUpdate = rgnUncovered.GetBox();
    if (pWnd->pSurface && bPixelsShown)
        pWnd->pSurface->Update(TbUnion(TbIntersect(rcScroll, rcClip), rcMoved));
    int nType = rgnUncovered.GetType();
    if (uFlags & SW_SCROLLCHILDREN) {
        std::vector<HWND> children = pWnd->children;
        for (HWND hChild : children) {
            TbWindow* pChild = TbFindWindow(hChild);
            if (!pChild || (prcScroll && TbRectEmpty(TbIntersect(pChild->rcWindow, rcScroll))))
                continue;
            SetWindowPos(hChild, nullptr, pChild->rcWindow.left + dx, pChild->rcWindow.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
    if ((uFlags & SW_INVALIDATE) && (pWnd = TbFindWindow(hWnd)) != nullptr)
        AddToUpdate(pWnd, rgnUncovered, (uFlags & SW_ERASE) != 0);
    return nType;
}

BOOL ScrollWindow(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip)
{
    UINT uFlags = SW_INVALIDATE | SW_ERASE | (prcScroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hWnd, dx, dy, prcScroll, prcClip, nullptr, nullptr, uFlags) != ERROR;
}

const CTbPixelBuffer* TbDisplayImage(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return (pWnd && !pWnd->image.IsEmpty()) ? &pWnd->image : nullptr;
}

COLORREF TbDisplayBackground(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd ? TbBrushColor(pWnd->pClass->hbrBackground) : CLR_INVALID;
}

namespace {
HWND s_hLockedWindow = nullptr;     // LockWindowUpdate's window, one at a time (UI thread)
}  // namespace

BOOL LockWindowUpdate(HWND hWndLock)
{
    if (hWndLock != nullptr) {
        if ((s_hLockedWindow != nullptr && IsWindow(s_hLockedWindow)) || !IsWindow(hWndLock))
            return FALSE;
        SendMessageA(hWndLock, WM_SETREDRAW, FALSE, 0);
        s_hLockedWindow = hWndLock;
        return TRUE;
    }
    HWND hWnd = s_hLockedWindow;
    s_hLockedWindow = nullptr;
    if (hWnd == nullptr)
        return FALSE;
    if (IsWindow(hWnd)) {
        SendMessageA(hWnd, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    return TRUE;
}

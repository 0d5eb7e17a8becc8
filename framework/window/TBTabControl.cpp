// The tab control's life, tabs, layouts, keyboard and mouse. Painting: TBTabControlPaint.cpp.
#include "framework/window/TBTabControl.h"

#include <algorithm>

#include "framework/base/Dictionary.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "platform/win/Windows.h"

namespace {
const int ARROW_BITMAP_ID = 114;
const int ARROW_IMAGES = 5;

// Shared by every tab control of the process and loaded by the first one, like the other
// resources of the application module; never freed.
HBITMAP s_hArrowBitmap = nullptr;

LRESULT CALLBACK TabControlClassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // A window made from a template or by CreateWindow gets its object here; one made by the
    // object's own CreateEx already has it.
    if (uMsg == WM_NCCREATE && CTBWnd::FromHandle(hWnd) == nullptr) {
        CTBTabControl* pCtl = new CTBTabControl;
        if (!pCtl->SubclassWindow(hWnd)) {
            delete pCtl;
            return FALSE;
        }
        return SendMessageA(hWnd, uMsg, wParam, lParam);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

BOOL IsEmpty(const RECT& rc) { return IsRectEmpty(&rc); }

void TranslateTabLabels(HWND hWnd, CDictionary& dictionary, int nDirection)
{
    CTBTabControl* pTabs = dynamic_cast<CTBTabControl*>(CTBWnd::FromHandle(hWnd));
    if (pTabs == nullptr)
        return;
    for (int nItem = 0; nItem < pTabs->GetItemCount(); ++nItem) {
        CTBString strText = pTabs->GetItemText(nItem);
        CTBString strNew = dictionary.Translate(strText, nDirection);
        if (strNew != strText)
            pTabs->SetItemText(nItem, strNew);
    }
}
}  // namespace

BOOL RegisterTabControlClass()
{
    RegisterControlTranslator(TB_TABCONTROL_CLASS, TranslateTabLabels);
    HINSTANCE hModule = GetTBApp() ? GetTBApp()->GetModule() : nullptr;
    WNDCLASSA wc = {};
    if (GetClassInfoA(hModule, TB_TABCONTROL_CLASS, &wc))
        return TRUE;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TabControlClassProc;
    wc.hInstance = hModule;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = TB_TABCONTROL_CLASS;
    return RegisterClassA(&wc) != 0;
}

CTBTabControl::CTBTabControl() = default;

CTBTabControl::~CTBTabControl()
{
    if (m_hFontCurrent)
        DeleteObject(m_hFontCurrent);
    if (m_hFontOther)
        DeleteObject(m_hFontOther);
}

void CTBTabControl::OnNcDestroy()
{
    CTBWnd::OnNcDestroy();
    delete this;
}

int CTBTabControl::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CTBWnd::OnCreate(pCreate) == -1)
        return -1;
    if (s_hArrowBitmap == nullptr && GetTBApp())
        s_hArrowBitmap = LoadBitmapA(GetTBApp()->GetModule(), MAKEINTRESOURCEA(ARROW_BITMAP_ID));
    HWND hParent = GetParent(m_hWnd);
    HFONT hParentFont = hParent ? reinterpret_cast<HFONT>(SendMessageA(hParent, WM_GETFONT, 0, 0)) : nullptr;
    LOGFONTA lf;
    if (hParentFont && GetObjectA(hParentFont, sizeof(lf), &lf) == sizeof(lf)) {
        lf.lfWeight = 300;
        m_hFontCurrent = CreateFontIndirectA(&lf);
        m_hFontOther = CreateFontIndirectA(&lf);
    }
    return 0;
}

BOOL CTBTabControl::IsMultiRow() const
{
    return m_hWnd && (GetWindowLongA(m_hWnd, GWL_STYLE) & TCS_NORV_MULTIROW) != 0;
}

BOOL CTBTabControl::IsRightToLeft() const
{
    if (m_hWnd && (GetWindowLongA(m_hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)))
        return TRUE;
    return GetNorvGlobals().m_bRightToLeft;
}

void CTBTabControl::MirrorItems()
{
    if (!IsRightToLeft())
        return;
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        RECT& rc = m_items[i]->rc;
        if (!IsEmpty(rc))
            rc = RECT{rcClient.right - rc.right, rc.top, rcClient.right - rc.left, rc.bottom};
    }
}

int CTBTabControl::ArrowDirection(int nHit) const
{
    const int nDirection = nHit == TAB_HIT_LEFT ? -1 : 1;
    return IsRightToLeft() ? -nDirection : nDirection;
}

int CTBTabControl::AddItem(const char* pszText)
{
    if (m_items.GetSize() >= MAX_TABS)
        return m_hWnd ? FALSE : -1;
    CTabItem* pItem = new CTabItem;
    pItem->strText = pszText ? pszText : "";
    int nIndex = m_items.Add(pItem);
    if (nIndex < 0) {
        delete pItem;
        return m_hWnd ? FALSE : -1;
    }
    if (!m_hWnd)
        return nIndex;
    Layout();
    FitHeight();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

const char* CTBTabControl::GetItemText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_items.GetSize())
        return "";
    return m_items[nIndex]->strText;
}

BOOL CTBTabControl::SetItemText(int nIndex, const char* pszText)
{
    if (nIndex < 0 || nIndex >= m_items.GetSize())
        return FALSE;
    CTabItem* pItem = m_items[nIndex];
    pItem->strText = pszText ? pszText : "";
    pItem->nWidth = -1;
    if (m_hWnd) {
        Layout();
        FitHeight();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    return TRUE;
}

BOOL CTBTabControl::DeleteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_items.GetSize())
        return FALSE;
    CTabItem* pItem = m_items[nIndex];
    m_items.RemoveAt(nIndex);
    delete pItem;
    if (nIndex < m_nCurrent)
        --m_nCurrent;
    if (m_nCurrent >= m_items.GetSize())
        m_nCurrent = 0;
    m_nFirstVisible = 0;
    if (m_hWnd) {
        Layout();
        FitHeight();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    return TRUE;
}

BOOL CTBTabControl::SelectTab(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_items.GetSize())
        return FALSE;
    if (nIndex == m_nCurrent) {
        if (!IsItemFullyVisible(nIndex))
            EnsureVisible(nIndex);
        return TRUE;
    }
    HWND hParent = m_hWnd ? GetParent(m_hWnd) : nullptr;
    if (hParent && SendMessageA(hParent, TBTN_QUERYCHANGE, static_cast<WPARAM>(nIndex),
                                reinterpret_cast<LPARAM>(m_hWnd)) != 0)
        return FALSE;
    int nOld = m_nCurrent;
    m_nCurrent = nIndex;
    if (hParent)
        SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), TBTN_SELCHANGE),
                     reinterpret_cast<LPARAM>(m_hWnd));
    InvalidateItem(nOld);
    InvalidateItem(nIndex);
    EnsureVisible(nIndex);
    return TRUE;
}

void CTBTabControl::EnsureVisible(int nIndex)
{
    if (!m_hWnd || nIndex < 0 || nIndex >= m_items.GetSize())
        return;
    if (IsMultiRow()) {
        LayoutRows(nIndex);
        return;
    }
    int nFirst = m_nFirstVisible;
    // Each step brings the first visible tab closer; a tab wider than the strip stops the walk
    // once it is the first.
    while (!IsItemFullyVisible(nIndex) && m_nFirstVisible != nIndex) {
        m_nFirstVisible += nIndex < m_nFirstVisible ? -1 : 1;
        LayoutRow(m_nFirstVisible);
    }
    if (m_nFirstVisible != nFirst)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT CTBTabControl::GetItemRect(int nIndex) const
{
    CTabItem* pItem = m_items.GetAt(nIndex);
    return pItem ? pItem->rc : RECT{};
}

BOOL CTBTabControl::IsItemFullyVisible(int nIndex) const
{
    CTabItem* pItem = m_items.GetAt(nIndex);
    return pItem && !IsEmpty(pItem->rc) && pItem->rc.right - pItem->rc.left >= pItem->nWidth;
}

BOOL CTBTabControl::AreArrowsShown() const
{
    int nCount = m_items.GetSize();
    return nCount > 0 && !IsMultiRow() && (m_nFirstVisible > 0 || !IsItemFullyVisible(nCount - 1));
}

int CTBTabControl::HitTest(int x, int y) const
{
    POINT pt = {x, y};
    if (AreArrowsShown() && PtInRect(&m_rcArrows, pt))
        return x < (m_rcArrows.left + m_rcArrows.right) / 2 ? TAB_HIT_LEFT : TAB_HIT_RIGHT;
    for (int i = 0; i < m_items.GetSize(); ++i)
        if (PtInRect(&m_items[i]->rc, pt))
            return i;
    return -1;
}

// Layouts --------------------------------------------------------------------------------------

void CTBTabControl::Layout()
{
    if (IsMultiRow())
        LayoutRows(m_nCurrent);
    else
        LayoutRow(m_nFirstVisible);
}

int CTBTabControl::GetLetterHeight()
{
    HDC hdc = GetDC(m_hWnd);
    HGDIOBJ hOld = m_hFontOther ? SelectObject(hdc, m_hFontOther) : nullptr;
    SIZE size = {};
    GetTextExtentPoint32A(hdc, "M", 1, &size);
    if (hOld)
        SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
    return size.cy;
}

void CTBTabControl::MeasureItems()
{
    HDC hdc = GetDC(m_hWnd);
    HGDIOBJ hOld = m_hFontOther ? SelectObject(hdc, m_hFontOther) : nullptr;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CTabItem* pItem = m_items[i];
        if (pItem->nWidth != -1)
            continue;
        SIZE size = {};
        GetTextExtentPoint32A(hdc, pItem->strText, pItem->strText.GetLength(), &size);
        pItem->nWidth = size.cx + 16;
    }
    if (hOld)
        SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
}

int CTBTabControl::GetUsableRight() const
{
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    if (m_nFirstVisible == 0)
        return rcClient.right;
    int cxArrow = m_rcArrows.right - m_rcArrows.left;
    return rcClient.right - cxArrow - cxArrow / 3;
}

void CTBTabControl::LayoutRow(int nFirst)
{
    if (!m_hWnd)
        return;
    MeasureItems();
    m_nStripHeight = GetLetterHeight() + 8;
    int nCount = m_items.GetSize();
    for (int i = 0; i < nCount; ++i)
        m_items[i]->rcPrev = m_items[i]->rc;
    int x = 2;
    for (int i = 0; i < nCount; ++i) {
        CTabItem* pItem = m_items[i];
        if (i < nFirst) {
            pItem->rc = RECT{};
            continue;
        }
        pItem->rc = RECT{x, 2, x + pItem->nWidth, m_nStripHeight - 2};
        x += pItem->nWidth + 2;
    }
    int nEdge = GetUsableRight();
    if (nCount > 0 && m_items[nCount - 1]->rc.right > nEdge) {
        for (int i = nCount - 1; i >= nFirst; --i) {
            RECT& rc = m_items[i]->rc;
            if (rc.left >= nEdge) {
                rc = RECT{};
                continue;
            }
            rc.right = std::min<LONG>(rc.right, nEdge);
            break;
        }
    }
    MirrorItems();
    InvalidateMoved();
}

void CTBTabControl::LayoutRows(int nCurrent)
{
    if (!m_hWnd)
        return;
    MeasureItems();
    int nCount = m_items.GetSize();
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const int cxClient = rcClient.right;
    const int cyRow = GetLetterHeight() + 4;

    // Rows from the bottom up, as the tabs fill them left to right.
    int nRowOf[MAX_TABS] = {};
    int nRows = 1;      // an empty strip keeps the height of one row
    int x = 2;
    for (int i = 0; i < nCount; ++i) {
        CTabItem* pItem = m_items[i];
        pItem->rcPrev = pItem->rc;
        if (x > 2 && x + pItem->nWidth > cxClient) {
            ++nRows;
            x = 2;
        }
        nRowOf[i] = nRows - 1;
        pItem->rc.left = x;
        pItem->rc.right = x + pItem->nWidth;
        x += pItem->nWidth + 2;
    }
    // The current tab's row goes to the bottom, touching the page; rows below it wrap to the top.
    int nCurrentRow = nCurrent >= 0 && nCurrent < nCount ? nRowOf[nCurrent] : 0;
    for (int i = 0; i < nCount; ++i) {
        int nRow = (nRowOf[i] - nCurrentRow + nRows) % nRows;
        nRowOf[i] = nRow;
        m_items[i]->rc.top = (nRows - 1 - nRow) * cyRow + 2;
        m_items[i]->rc.bottom = m_items[i]->rc.top + cyRow;
    }
    if (nRows > 1) {
        // Each row fills the width; the remainder of the division goes to its last tab.
        for (int nRow = 0; nRow < nRows; ++nRow) {
            int nFirst = -1, nLast = -1;
            for (int i = 0; i < nCount; ++i)
                if (nRowOf[i] == nRow) {
                    if (nFirst < 0)
                        nFirst = i;
                    nLast = i;
                }
            if (nFirst < 0)
                continue;
            int nTabs = nLast - nFirst + 1;
            int nExtra = (cxClient - 3) - m_items[nLast]->rc.right;
            if (nExtra <= 0)
                continue;
            int nShift = 0;
            for (int i = nFirst; i <= nLast; ++i) {
                int nGrow = nExtra / nTabs + (i == nLast ? nExtra % nTabs : 0);
                m_items[i]->rc.left += nShift;
                nShift += nGrow;
                m_items[i]->rc.right += nShift;
            }
        }
    }
    m_nStripHeight = nRows * cyRow + 2;
    MirrorItems();
    InvalidateMoved();
}

void CTBTabControl::InvalidateMoved()
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CTabItem* pItem = m_items[i];
        if (EqualRect(&pItem->rc, &pItem->rcPrev))
            continue;
        RECT rc;
        UnionRect(&rc, &pItem->rc, &pItem->rcPrev);
        InflateRect(&rc, 3, 3);
        InvalidateRect(m_hWnd, &rc, TRUE);
    }
}

void CTBTabControl::InvalidateItem(int nIndex)
{
    CTabItem* pItem = m_items.GetAt(nIndex);
    if (!m_hWnd || !pItem)
        return;
    // The current tab is drawn 2 pixels larger on each side, and its focus frame with it.
    RECT rc = pItem->rc;
    InflateRect(&rc, 3, 3);
    InvalidateRect(m_hWnd, &rc, TRUE);
}

void CTBTabControl::OnSize(UINT nType, int cx, int cy)
{
    CTBWnd::OnSize(nType, cx, cy);
    BITMAP bm = {};
    int cxImage = 0, cyImage = 0;
    if (s_hArrowBitmap && GetObjectA(s_hArrowBitmap, sizeof(bm), &bm)) {
        cxImage = bm.bmWidth / ARROW_IMAGES;
        cyImage = bm.bmHeight;
    }
    m_rcArrows = IsRightToLeft() ? RECT{0, cy - 1 - cyImage, cxImage, cy - 1}
                                 : RECT{cx - cxImage, cy - 1 - cyImage, cx, cy - 1};
    if (m_bInLayout)
        return;
    m_bInLayout = TRUE;
    Layout();
    EnsureVisible(m_nCurrent);
    m_bInLayout = FALSE;
    FitHeight();
}

void CTBTabControl::FitHeight()
{
    RECT rcWindow;
    GetWindowRect(m_hWnd, &rcWindow);
    if (m_bInLayout || rcWindow.bottom - rcWindow.top == m_nStripHeight)
        return;
    m_bInLayout = TRUE;
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left, m_nStripHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bInLayout = FALSE;
}

// Keyboard and mouse ---------------------------------------------------------------------------

UINT CTBTabControl::OnGetDlgCode()
{
    return CTBWnd::OnGetDlgCode() | DLGC_WANTARROWS;
}

void CTBTabControl::OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags)
{
    int nCount = m_items.GetSize();
    if (nKey != VK_LEFT && nKey != VK_RIGHT) {
        CTBWnd::OnKeyDown(nKey, nRepeat, nFlags);
        return;
    }
    if (nCount == 0)
        return;
    int nStep = (nKey == VK_LEFT) != static_cast<bool>(IsRightToLeft()) ? -1 : 1;
    SelectTab((nCount + m_nCurrent + nStep) % nCount);
    SetFocus(m_hWnd);
}

BOOL CTBTabControl::CanScroll(int nDirection) const
{
    int nCount = m_items.GetSize();
    if (nDirection < 0)
        return m_nFirstVisible > 0;
    return nCount > 0 && !IsItemFullyVisible(nCount - 1);
}

void CTBTabControl::Scroll(int nDirection)
{
    if (!CanScroll(nDirection))
        return;
    m_nFirstVisible += nDirection;
    LayoutRow(m_nFirstVisible);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTBTabControl::OnLButtonDown(UINT nKeys, int x, int y)
{
    int nHit = HitTest(x, y);
    if (nHit == TAB_HIT_LEFT || nHit == TAB_HIT_RIGHT) {
        int nDirection = ArrowDirection(nHit);
        if (!CanScroll(nDirection))
            return;
        Scroll(nDirection);
        SetCapture(m_hWnd);
        m_nPressed = nHit;
        m_bPointerOutside = FALSE;
        SetTimer(m_hWnd, REPEAT_TIMER, REPEAT_MS, nullptr);
        return;
    }
    if (nHit < 0) {
        CTBWnd::OnLButtonDown(nKeys, x, y);
        return;
    }
    if (nHit != m_nCurrent) {
        SelectTab(nHit);
        return;
    }
    EnsureVisible(nHit);
    SetFocus(m_hWnd);
}

void CTBTabControl::OnMouseMove(UINT nKeys, int x, int y)
{
    if (m_nPressed == TAB_NO_ARROW) {
        CTBWnd::OnMouseMove(nKeys, x, y);
        return;
    }
    POINT pt = {x, y};
    BOOL bInside = PtInRect(&m_rcArrows, pt) && (x < (m_rcArrows.left + m_rcArrows.right) / 2) == (m_nPressed == TAB_HIT_LEFT);
    if (!bInside && !m_bPointerOutside) {
        m_bPointerOutside = TRUE;
        KillTimer(m_hWnd, REPEAT_TIMER);
        InvalidateRect(m_hWnd, &m_rcArrows, TRUE);
    } else if (bInside && m_bPointerOutside) {
        m_bPointerOutside = FALSE;
        SetTimer(m_hWnd, REPEAT_TIMER, REPEAT_MS, nullptr);
        Scroll(ArrowDirection(m_nPressed));
        InvalidateRect(m_hWnd, &m_rcArrows, TRUE);
    }
}

void CTBTabControl::OnLButtonUp(UINT nKeys, int x, int y)
{
    if (m_nPressed == TAB_NO_ARROW) {
        CTBWnd::OnLButtonUp(nKeys, x, y);
        return;
    }
    ReleaseCapture();
    KillTimer(m_hWnd, REPEAT_TIMER);
    m_nPressed = TAB_NO_ARROW;
    m_bPointerOutside = FALSE;
    InvalidateRect(m_hWnd, &m_rcArrows, TRUE);
}

void CTBTabControl::OnTimer(UINT_PTR nIdEvent)
{
    if (nIdEvent != REPEAT_TIMER || m_nPressed == TAB_NO_ARROW) {
        CTBWnd::OnTimer(nIdEvent);
        return;
    }
    Scroll(ArrowDirection(m_nPressed));
}

void CTBTabControl::OnSetFocus(CTBWnd* pOldWnd)
{
    CTBWnd::OnSetFocus(pOldWnd);
    InvalidateItem(m_nCurrent);
}

void CTBTabControl::OnKillFocus(CTBWnd* pNewWnd)
{
    CTBWnd::OnKillFocus(pNewWnd);
    InvalidateItem(m_nCurrent);
}

int CTBTabControl::GetArrowImage() const
{
    if (m_nPressed == TAB_HIT_LEFT && !m_bPointerOutside)
        return TAB_ARROWS_LEFT_PRESSED;
    if (m_nPressed == TAB_HIT_RIGHT && !m_bPointerOutside)
        return TAB_ARROWS_RIGHT_PRESSED;
    if (!CanScroll(ArrowDirection(TAB_HIT_LEFT)))
        return TAB_ARROWS_LEFT_OFF;
    if (!CanScroll(ArrowDirection(TAB_HIT_RIGHT)))
        return TAB_ARROWS_RIGHT_OFF;
    return TAB_ARROWS_BOTH;
}

HBITMAP CTBTabControl::GetArrowBitmap()
{
    return s_hArrowBitmap;
}

// Window drag and drop: the tracker of one drag and the list box that starts drags and takes drops.
#include "framework/window/DragListBox.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "framework/base/DrawUtils.h"
#include "framework/base/TBApp.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"

namespace {
const int DRAG_DISTANCE = 4;        // pixels the pointer moves with the button down before a drag
const int MARK_HEIGHT = 4;
const UINT NODROP_CURSOR_ID = 111;
const UINT DROP_CURSOR_ID = 112;

UINT Registered(UINT& uId, LPCSTR pszName)
{
    if (uId == 0)
        uId = RegisterWindowMessageA(pszName);
    return uId;
}
}  // namespace

UINT GetBeginDragDropMessage()
{
    static UINT s_uId = 0;
    return Registered(s_uId, "NORVBEGINDRAGDROP");
}

UINT GetDraggingMessage()
{
    static UINT s_uId = 0;
    return Registered(s_uId, "NORVDRAGGING");
}

UINT GetQueryDropMessage()
{
    static UINT s_uId = 0;
    return Registered(s_uId, "NORVQUERYDROP");
}

UINT GetDoDropMessage()
{
    static UINT s_uId = 0;
    return Registered(s_uId, "NORVDODROP");
}

// ---------------------------------------------------------------------------------------------
// The tracker

CDragDropWnd* CDragDropWnd::Create(LPVOID pData, int nType)
{
    CDragDropWnd* pWnd = new (std::nothrow) CDragDropWnd(pData, nType);
    if (pWnd != nullptr && !pWnd->Start()) {
        delete pWnd;
        pWnd = nullptr;
    }
    return pWnd;
}

CDragDropWnd::~CDragDropWnd()
{
    if (m_hNoDrop)
        DestroyCursor(m_hNoDrop);
    if (m_hDrop)
        DestroyCursor(m_hDrop);
}

BOOL CDragDropWnd::Start()
{
    LPCSTR pszClass = RegisterWndClass("NorvDragDrop", 0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    if (pszClass == nullptr || !CreateEx(0, pszClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        return FALSE;
    HINSTANCE hModule = GetTBApp() ? GetTBApp()->GetModule() : nullptr;
    m_hNoDrop = LoadCursorA(hModule, MAKEINTRESOURCEA(NODROP_CURSOR_ID));
    m_hDrop = LoadCursorA(hModule, MAKEINTRESOURCEA(DROP_CURSOR_ID));
    m_hOldCursor = GetCursor();
    m_hWndOldCapture = GetCapture();
    SetCapture(m_hWnd);
    return TRUE;
}

// The window the pointer left hears it, so that an insertion mark does not stay behind.
void CDragDropWnd::LeaveTarget()
{
    HWND hWnd = m_hWndTarget;
    m_hWndTarget = nullptr;
    if (hWnd != nullptr && IsWindow(hWnd))
        SendMessageA(hWnd, GetDraggingMessage(), static_cast<WPARAM>(m_nType), 0);
}

LRESULT CDragDropWnd::Query(HWND hWnd, TBDROPRECORD* pRecord)
{
    *pRecord = TBDROPRECORD{m_pData, hWnd};
    return SendMessageA(hWnd, GetQueryDropMessage(), static_cast<WPARAM>(m_nType), reinterpret_cast<LPARAM>(pRecord));
}

void CDragDropWnd::OnMouseMove(UINT, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(m_hWnd, &pt);
    HWND hWnd = WindowFromPoint(pt);
    if (hWnd != m_hWndTarget)
        LeaveTarget();
    if (hWnd == nullptr) {
        SetCursor(m_hNoDrop);
        return;
    }
    SendMessageA(hWnd, GetDraggingMessage(), static_cast<WPARAM>(m_nType), reinterpret_cast<LPARAM>(hWnd));
    if (hWnd == m_hWndTarget || !IsWindow(hWnd))
        return;
    TBDROPRECORD record;
    const LRESULT lAnswer = Query(hWnd, &record);
    SetCursor(lAnswer ? m_hDrop : m_hNoDrop);
    m_hWndTarget = hWnd;
}

void CDragDropWnd::OnLButtonUp(UINT, int, int)
{
    HWND hWnd = m_hWndTarget;
    if (hWnd != nullptr && IsWindow(hWnd)) {
        TBDROPRECORD record;
        if (Query(hWnd, &record) && IsWindow(hWnd)) {
            m_hWndTarget = nullptr;
            SendMessageA(hWnd, GetDoDropMessage(), static_cast<WPARAM>(m_nType), reinterpret_cast<LPARAM>(&record));
        }
    }
    LeaveTarget();
    SetCursor(m_hOldCursor);
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (m_hWndOldCapture != nullptr && IsWindow(m_hWndOldCapture))
        SetCapture(m_hWndOldCapture);
    DestroyWindow();    // deletes this
}

void CDragDropWnd::PostNcDestroy()
{
    delete this;
}

// ---------------------------------------------------------------------------------------------
// The drag list box

BOOL CTBDragListBox::IsMultiple() const
{
    return (GetWindowLongA(m_hWnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int CTBDragListBox::ItemFromPoint(int x, int y) const
{
    (void)x;
    if (m_hWnd == nullptr || y < 0)
        return -1;
    const int nCount = static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0));
    const int nHeight = static_cast<int>(SendMessageA(m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    if (nCount <= 0 || nHeight <= 0)
        return -1;
    const int nItem = static_cast<int>(SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0)) + y / nHeight;
    return nItem < nCount ? nItem : -1;
}

void CTBDragListBox::SelectItem(int nItem, UINT nKeys)
{
    const int nCount = static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0));
    if (nItem < 0 || nItem >= nCount)
        return;
    if (!IsMultiple()) {
        SendMessageA(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
    } else if (nKeys & MK_CONTROL) {
        const BOOL bSelected = SendMessageA(m_hWnd, LB_GETSEL, static_cast<WPARAM>(nItem), 0) > 0;
        SendMessageA(m_hWnd, LB_SETSEL, !bSelected, nItem);
    } else if (nKeys & MK_SHIFT) {
        const int nAnchor = std::clamp(m_nAnchor, 0, nCount - 1);
        SendMessageA(m_hWnd, LB_SETSEL, FALSE, -1);
        SendMessageA(m_hWnd, LB_SELITEMRANGE, TRUE, MAKELPARAM(std::min(nAnchor, nItem), std::max(nAnchor, nItem)));
    } else {
        SendMessageA(m_hWnd, LB_SETSEL, FALSE, -1);
        SendMessageA(m_hWnd, LB_SETSEL, TRUE, nItem);
        m_nAnchor = nItem;
    }
    if (IsMultiple())
        SendMessageA(m_hWnd, LB_SETCARETINDEX, static_cast<WPARAM>(nItem), FALSE);
    // The class's own click would have told the parent; ours replaces it.
    if (GetWindowLongA(m_hWnd, GWL_STYLE) & LBS_NOTIFY)
        SendMessageA(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(m_hWnd));
}

void CTBDragListBox::InvertMark(int nItem)
{
    RECT rc = {};
    GetClientRect(m_hWnd, &rc);
    const int nHeight = static_cast<int>(SendMessageA(m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    const int nTop = static_cast<int>(SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0));
    const int y = (nItem - nTop) * nHeight;
    HDC hdc = GetDC(m_hWnd);
    if (hdc == nullptr)
        return;
    HBRUSH hBrush = CreateDitherBrush();
    HGDIOBJ hOld = SelectObject(hdc, hBrush);
    PatBlt(hdc, 0, y - MARK_HEIGHT / 2, rc.right, MARK_HEIGHT, PATINVERT);
    SelectObject(hdc, hOld);
    DeleteObject(hBrush);
    ReleaseDC(m_hWnd, hdc);
}

void CTBDragListBox::SetInsertMark(int nItem)
{
    if (nItem == m_nInsertMark || m_hWnd == nullptr)
        return;
    // The mark is an inversion: drawing the old one again takes it away.
    if (m_nInsertMark >= 0)
        InvertMark(m_nInsertMark);
    m_nInsertMark = nItem;
    if (m_nInsertMark >= 0)
        InvertMark(m_nInsertMark);
}

LRESULT CTBDragListBox::OnQueryDrop(int nType, TBDROPRECORD* pRecord)
{
    if (pRecord == nullptr)
        return 0;
    if (pRecord->pData == static_cast<LPVOID>(m_hWnd) && pRecord->hWndTarget == m_hWnd)
        m_lLastAnswer = m_bAcceptsOwnDrops;
    else
        m_lLastAnswer = SendMessageA(GetParent(m_hWnd), GetQueryDropMessage(), static_cast<WPARAM>(nType),
                                     reinterpret_cast<LPARAM>(pRecord));
    // The tracker asks after its first dragging message here: the mark shows at once, not
    // one move late.
    if (m_lLastAnswer && pRecord->hWndTarget == m_hWnd)
        OnDragging(nType, m_hWnd);
    return m_lLastAnswer;
}

LRESULT CTBDragListBox::OnDoDrop(int nType, TBDROPRECORD* pRecord)
{
    SetInsertMark(-1);
    m_lLastAnswer = 0;
    return SendMessageA(GetParent(m_hWnd), GetDoDropMessage(), static_cast<WPARAM>(nType),
                        reinterpret_cast<LPARAM>(pRecord));
}

void CTBDragListBox::OnDragging(int, HWND hWnd)
{
    if (hWnd == nullptr) {      // the pointer left, or the drag ended here without a drop
        SetInsertMark(-1);
        m_lLastAnswer = 0;
        return;
    }
    if (!m_bAcceptsDragging || hWnd != m_hWnd || !m_lLastAnswer)
        return;
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    ScreenToClient(m_hWnd, &pt);
    SetInsertMark(ItemFromPoint(pt.x, pt.y));
}

// The drag messages have ids of their own, known only at run time.
LRESULT CTBDragListBox::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == GetQueryDropMessage())
        return OnQueryDrop(static_cast<int>(wParam), reinterpret_cast<TBDROPRECORD*>(lParam));
    if (uMsg == GetDoDropMessage())
        return OnDoDrop(static_cast<int>(wParam), reinterpret_cast<TBDROPRECORD*>(lParam));
    if (uMsg == GetDraggingMessage()) {
        OnDragging(static_cast<int>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return CTBWnd::WindowProc(uMsg, wParam, lParam);
}

void CTBDragListBox::OnLButtonDown(UINT nKeys, int x, int y)
{
    if (GetFocus() != m_hWnd)
        SetFocus(m_hWnd);
    const int nItem = ItemFromPoint(x, y);
    if (nItem < 0)
        return;
    SetCapture(m_hWnd);
    m_ptDown = POINT{x, y};
    m_bPending = TRUE;
    // A click on a selected item waits for the release, so that dragging a multiple
    // selection keeps it.
    m_bDeferSelect = SendMessageA(m_hWnd, LB_GETSEL, static_cast<WPARAM>(nItem), 0) > 0;
    if (!m_bDeferSelect)
        SelectItem(nItem, nKeys);
}

void CTBDragListBox::OnMouseMove(UINT, int x, int y)
{
    if (!m_bPending) {
        Default();
        return;
    }
    if (std::abs(x - m_ptDown.x) < DRAG_DISTANCE && std::abs(y - m_ptDown.y) < DRAG_DISTANCE)
        return;
    m_bPending = FALSE;
    m_bDeferSelect = FALSE;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    PostMessageA(GetParent(m_hWnd), GetBeginDragDropMessage(), static_cast<WPARAM>(GetDlgCtrlID(m_hWnd)),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

void CTBDragListBox::OnLButtonUp(UINT nKeys, int x, int y)
{
    if (m_bPending) {
        m_bPending = FALSE;
        if (m_bDeferSelect)
            SelectItem(ItemFromPoint(x, y), nKeys);
        m_bDeferSelect = FALSE;
    }
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    Default();      // ends the class's own tracking after a double click
}

void CTBDragListBox::OnLButtonDblClk(UINT, int, int)
{
    const int nOld = m_nDblClkSource;
    if (nOld == 0)
        m_nDblClkSource = 1;
    Default();
    m_nDblClkSource = nOld;
}

void CTBDragListBox::OnRButtonDblClk(UINT nKeys, int x, int y)
{
    // The owner hears a left double click; the source tells it which button made it.
    m_nDblClkSource = 2;
    SendMessageA(m_hWnd, WM_LBUTTONDBLCLK, nKeys, MAKELPARAM(x, y));
    m_nDblClkSource = 0;
    if (m_hWnd != nullptr)
        SendMessageA(m_hWnd, WM_LBUTTONUP, nKeys, MAKELPARAM(x, y));
}

void CTBDragListBox::OnRButtonDown(UINT, int, int)
{
    if (GetFocus() != m_hWnd)
        SetFocus(m_hWnd);
}

void CTBDragListBox::OnRButtonUp(UINT nKeys, int x, int y)
{
    if (!(GetWindowLongA(m_hWnd, GWL_STYLE) & LBS_WANTKEYBOARDINPUT))
        return;
    const int nItem = ItemFromPoint(x, y);
    if (nItem < 0)
        return;
    const BOOL bWasSelected = SendMessageA(m_hWnd, LB_GETSEL, static_cast<WPARAM>(nItem), 0) > 0;
    SelectItem(nItem, nKeys);
    if (bWasSelected && m_hWnd != nullptr)
        SendMessageA(GetParent(m_hWnd), WM_VKEYTOITEM, MAKEWPARAM(VK_SPACE, nItem), reinterpret_cast<LPARAM>(m_hWnd));
}

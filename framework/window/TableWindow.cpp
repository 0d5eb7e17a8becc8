// The grid window's life, its messages, its drawing objects and its appearance.
#include "framework/window/TableWindow.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "framework/base/Dictionary.h"
#include "framework/base/DrawUtils.h"
#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/table/TBMenu.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TWApp.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/SysMetrics.h"

namespace {

const int CURSOR_FIRST_ID = 101;
const int CURSOR_COUNT = 5;

}  // namespace

CTableWindow::CTableWindow() = default;

CTableWindow::~CTableWindow()
{
    // Destroy the window while this is still a grid: its WM_DESTROY handling needs the grid.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow();
    // The column menu first: it may still hang in the context menu, which would destroy it too.
    DestroyColumnMenu();
    if (m_hContextMenu)
        DestroyMenu(m_hContextMenu);
    DeleteDrawingObjects();
}

// ---------------------------------------------------------------------------------------------
// Creation

BOOL CTableWindow::Create(CViewTable* pView, DWORD dwStyle, DWORD dwExStyle, CTBWnd* pParent)
{
    if (!pView)
        return FALSE;
    const CTBString& strTitle = pView->GetTitle();
    return CreateEx(pView, dwExStyle, strTitle, dwStyle, m_nStoredX, m_nStoredY, m_nStoredWidth, m_nStoredHeight,
                    pParent ? pParent->GetSafeHwnd() : nullptr, 0);
}

BOOL CTableWindow::CreateEx(CViewTable* pView, DWORD dwExStyle, LPCSTR pszTitle, DWORD dwStyle, int x, int y,
                            int nWidth, int nHeight, HWND hWndParent, UINT nId, LPVOID pParam)
{
    if (!pView || !pView->IsOpen() || m_pView)
        return FALSE;
    if (!m_cache.Init(pView, CTableRowCache::MIN_CAPACITY)) {
        ForgetView();
        return FALSE;
    }
    m_pView = pView;
    RebuildWidthTable();
    pView->AddSink(static_cast<CTableEventSink*>(this));
    GetNorvGlobals().AddSink(static_cast<CGlobalsEventSink*>(this));
    LPCSTR pszClass = RegisterWndClass("NorvTableWindow", CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    if (!pszClass || !CTBWnd::CreateEx(dwExStyle, pszClass, pszTitle, dwStyle | WS_CLIPCHILDREN, x, y, nWidth, nHeight,
                                       hWndParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), pParam)) {
        ForgetView();
        return FALSE;
    }
    return TRUE;
}

void CTableWindow::ForgetView()
{
    // A refused grid is as it was made: it can be created again, and nothing it keeps points at
    // a view that its owner may delete.
    UnregisterSinks();
    m_pView = nullptr;
    m_cache.Init(nullptr, 0);
    m_widths.clear();
}

BOOL CTableWindow::AttachView(CViewTable* pView)
{
    if (m_pView || !pView || !pView->IsOpen() || !m_hWnd || !IsWindow(m_hWnd))
        return FALSE;
    if (!m_cache.Init(pView, CTableRowCache::MIN_CAPACITY)) {
        ForgetView();
        return FALSE;
    }
    m_pView = pView;
    // A grid inside a dialog never minimises, maximises or sizes itself.
    SetAllowMinimize(FALSE);
    SetAllowMaximize(FALSE);
    SetAllowResize(FALSE);
    RebuildWidthTable();
    MeasureDigitWidths();
    MeasureHeights();
    SetPaneColumnRuns();
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    RecalcLayout(rc);
    pView->AddSink(static_cast<CTableEventSink*>(this));
    GetNorvGlobals().AddSink(static_cast<CGlobalsEventSink*>(this));
    m_headerPane.InvalidateCells(FALSE);
    m_bFitExact = TRUE;
    m_bFitLoadDeferred = m_bFitTotalStale = FALSE;
    m_nFitLoadLines = 0;
    m_fitHeld.clear();
    Refresh();
    return TRUE;
}

void CTableWindow::UnregisterSinks()
{
    if (m_pView)
        m_pView->RemoveSink(static_cast<CTableEventSink*>(this));
    GetNorvGlobals().RemoveSink(static_cast<CGlobalsEventSink*>(this)->GetSinkId());
}

BOOL CTableWindow::AddEventSink(CTableWindowEventSink* pSink)
{
    return pSink ? AddSink(pSink) : FALSE;
}

BOOL CTableWindow::RemoveEventSink(CTableWindowEventSink* pSink)
{
    return pSink ? RemoveSink(pSink->GetSinkId()) : FALSE;
}

void CTableWindow::SetContextMenu(HMENU hMenu)
{
    DestroyColumnMenu();
    if (m_hContextMenu && m_hContextMenu != hMenu)
        DestroyMenu(m_hContextMenu);
    m_hContextMenu = hMenu;
}

// ---------------------------------------------------------------------------------------------
// Window messages

int CTableWindow::OnCreate(LPCREATESTRUCTA pCreate)
{
    CTWApp* pApp = CTWApp::Get();
    m_uClipFormat = pApp ? pApp->GetClipboardFormat() : RegisterClipboardFormatA("CF_NorvTable");
    HINSTANCE hModule = GetTBApp() ? GetTBApp()->GetModule() : nullptr;
    for (int i = 0; i < CURSOR_COUNT; ++i)
        m_hCursors[i] = LoadCursorA(hModule, MAKEINTRESOURCEA(CURSOR_FIRST_ID + i));
    MeasureDigitWidths();
    MeasureHeights();
    CreateDrawingObjects();
    if (m_pView)
        SetPaneColumnRuns();
    int nResult = CTBWnd::OnCreate(pCreate);
    if (nResult != -1)
        SetHighlightSeconds(GetHighlightSeconds());   // starts the ageing timer
    if (nResult != -1 && m_pView && FitColumnsToContent(TRUE))
        RebuildWidthTable();
    return nResult;
}

void CTableWindow::OnDestroy()
{
    if (m_hCellTip) {
        ::DestroyWindow(m_hCellTip);
        m_hCellTip = nullptr;
    }
    StopAutoScrollTimer();
    KillTimer(m_hWnd, TW_TIMER_HIGHLIGHT);
    LeaveClipboardAsText();
    DeleteClipboardFile();
    RECT rc;
    if (GetWindowRect(m_hWnd, &rc)) {
        m_nStoredX = rc.left;
        m_nStoredY = rc.top;
        m_nStoredWidth = rc.right - rc.left;
        m_nStoredHeight = rc.bottom - rc.top;
    }
    for (HCURSOR& hCursor : m_hCursors) {
        if (hCursor)
            DestroyCursor(hCursor);
        hCursor = nullptr;
    }
    DeleteDrawingObjects();
    UnregisterSinks();
    if (CTWApp* pApp = CTWApp::Get())
        pApp->OnWindowDestroyed(this);
    FireWindowDestroyed(this);
    CTBWnd::OnDestroy();
}

void CTableWindow::OnClose()
{
    if (m_pView && m_pView->GetHideOnClose()) {
        ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    CTBWnd::OnClose();
}

void CTableWindow::OnSysCommand(UINT nCommand, LPARAM lParam)
{
    const UINT uCmd = nCommand & 0xFFF0;
    if ((uCmd == SC_MINIMIZE && !GetAllowMinimize()) || (uCmd == SC_MAXIMIZE && !GetAllowMaximize())
        || (uCmd == SC_SIZE && !GetAllowResize()))
        return;
    CTBWnd::OnSysCommand(nCommand, lParam);
}

BOOL CTableWindow::OnEraseBkgnd(HDC)
{
    return TRUE;    // the panes paint every pixel
}

void CTableWindow::OnPaint()
{
    // Rows a reply brought so far reach the scroll bar, and its held rows and the total line the
    // fit, at each paint, not at each row.
    GrowStaleLines(FALSE);
    if (m_bVBarStale && m_pView)
        UpdateVScrollBar(GetWholeLines());
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    if (hdc) {
        PrepareDC(hdc);
        Paint(hdc, ps.rcPaint);
    }
    EndPaint(m_hWnd, &ps);
}

void CTableWindow::OnSetFocus(CTBWnd* pOldWnd)
{
    CTBWnd::OnSetFocus(pOldWnd);
    // Coming back from another window reopens the editor where the user left it.
    if (m_nStickyRow >= 0 && m_nStickyCol >= 0 && !IsEditorShowing())
        StartEdit(m_nStickyRow, m_nStickyCol);
}

void CTableWindow::OnKillFocus(CTBWnd* pNewWnd)
{
    CTBWnd::OnKillFocus(pNewWnd);
    if (m_headerPane.IsDragActive())
        m_headerPane.EndDrag(FALSE);
}

void CTableWindow::OnCancelMode()
{
    StopAutoScrollTimer();
    if (m_bResizing)
        EndColumnResize(FALSE);
    if (m_bMoving)
        EndColumnMove(FALSE);
    if (m_headerPane.IsDragActive())
        m_headerPane.EndDrag(FALSE);
    CTBWnd::OnCancelMode();
}

BOOL CTableWindow::OnSetCursor(CTBWnd* pWnd, UINT nHitTest, UINT uMouseMsg)
{
    if (nHitTest == HTCLIENT && m_bCursorSet) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(m_hWnd, &pt);
        if (PtInRect(&m_rcGrid, pt))
            return TRUE;
        m_bCursorSet = FALSE;
    }
    return CTBWnd::OnSetCursor(pWnd, nHitTest, uMouseMsg);
}

void CTableWindow::OnSysKeyDown(UINT nKey, UINT nRepeat, UINT nFlags)
{
    if (IsColumnDragActive())
        return;
    if (nKey == VK_F10 && (nFlags & KF_ALTDOWN)) {
        POINT pt;
        GetCursorPos(&pt);
        PopUpContextMenu(pt);
        return;
    }
    CTBWnd::OnSysKeyDown(nKey, nRepeat, nFlags);
}

void CTableWindow::OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags)
{
    if (IsColumnDragActive())
        return;
    if (nKey == VK_SHIFT && m_headerPane.IsDragActive())
        m_headerPane.EndDrag(TRUE);
    if (nKey == VK_PRIOR || nKey == VK_NEXT || nKey == VK_UP || nKey == VK_DOWN)
        VScroll(SB_ENDSCROLL, 0, 0);
    FireKeyUp(nKey, nRepeat, nFlags);
}

void CTableWindow::OnLButtonDown(UINT nKeys, int x, int y)
{
    OnMouseDown(nKeys, x, y, FALSE);
}

void CTableWindow::OnTimer(UINT_PTR nIdEvent)
{
    switch (nIdEvent) {
    case TW_TIMER_SCROLL_RIGHT: HScroll(SB_LINERIGHT); break;
    case TW_TIMER_SCROLL_LEFT: HScroll(SB_LINELEFT); break;
    case TW_TIMER_GROW_COLUMN: GrowResizedColumn(); break;
    case TW_TIMER_SHRINK_COLUMN: ShrinkResizedColumn(); break;
    case TW_TIMER_SCROLL_DOWN:
        if (!m_headerPane.IsDragActive())
            AutoScroll(SB_LINEDOWN, 0);
        else if (m_nTopRow < GetMaxTopRow() && !m_bScrollGesture)
            AutoScroll(SB_LINEDOWN, 2);
        break;
    case TW_TIMER_SCROLL_UP:
        if (!m_headerPane.IsDragActive())
            AutoScroll(SB_LINEUP, 0);
        else if (m_nTopRow > 0 && !m_bScrollGesture)
            AutoScroll(SB_LINEUP, 2);
        break;
    case TW_TIMER_HIGHLIGHT: AgeChangeHighlights(); break;
    default: CTBWnd::OnTimer(nIdEvent); break;
    }
}

LRESULT CTableWindow::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CTLCOLOREDIT: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, GetCellTextColor(0));
        SetBkColor(hdc, GetCellBackColor(0));
        return reinterpret_cast<LRESULT>(m_hCellBackBrush);
    }
    case WM_MOUSELEAVE:
        HideCellTip();
        return 0;
    case WM_ENTERSIZEMOVE:
        CloseEditor(TRUE);
        ParkCurrentRow();
        return 0;
    case WM_EXITSIZEMOVE:
        RestoreCurrentRow();
        return 0;
    case WM_SYSCOLORCHANGE:
        // The 3-D frame sets every grid draws with are built from the system colours: the
        // application's grid part rebuilds them, and this grid shows them anew.
        if (CTWApp* pApp = CTWApp::Get())
            pApp->OnSysColorChange();
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    }
    return CTBWnd::WindowProc(uMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Commands

void CTableWindow::FireCommand(UINT nId)
{
    // Sent as the view sink: no window sink carries that id, so every sink hears it.
    CTableWindowEventSource::FireCommand(nId, static_cast<CTableEventSink*>(this)->GetSinkId());
}

void CTableWindow::ShowSortDialog()
{
    if (CTWApp* pApp = CTWApp::Get())
        pApp->ShowSortDialog(this);
}

void CTableWindow::ShowFilterDialog(int nDisplayCol)
{
    CTWApp* pApp = CTWApp::Get();
    if (pApp && m_pView && nDisplayCol >= 0 && nDisplayCol < m_pView->GetColumnOrder().GetCount())
        pApp->ShowFilterDialog(this, m_pView->GetColumnOrder().GetColumnIndex(nDisplayCol));
}

void CTableWindow::ShowFastFindDialog(int nDisplayCol)
{
    CTWApp* pApp = CTWApp::Get();
    if (!pApp || !m_pView)
        return;
    int nCol = -1;
    if (nDisplayCol >= 0 && nDisplayCol < m_pView->GetColumnOrder().GetCount())
        nCol = m_pView->GetColumnOrder().GetColumnIndex(nDisplayCol);
    pApp->ShowFastFindDialog(this, nCol);
}

// ---------------------------------------------------------------------------------------------
// Drawing objects and helpers

void CTableWindow::CreateDrawingObjects()
{
    DeleteDrawingObjects();
    m_hFacePen = CreatePen(PS_SOLID, 1, GetFaceColor());
    m_hShadowPen = CreatePen(PS_SOLID, 1, GetShadowColor());
    m_hDitherBrush = CreateDitherBrush();
    m_hBackBrush = CreateSolidBrush(GetWindowBackColor());
    m_hCellBackBrush = CreateSolidBrush(GetCellBackColor(0));
}

void CTableWindow::DeleteDrawingObjects()
{
    HGDIOBJ objects[] = {m_hFacePen, m_hShadowPen, m_hDitherBrush, m_hBackBrush, m_hCellBackBrush};
    for (HGDIOBJ hObject : objects)
        if (hObject)
            DeleteObject(hObject);
    m_hFacePen = m_hShadowPen = nullptr;
    m_hDitherBrush = m_hBackBrush = m_hCellBackBrush = nullptr;
}

void CTableWindow::PrepareDC(HDC hdc)
{
    GetNorvGlobals().RealizePalette(hdc);
    if (GetFont())
        SelectObject(hdc, GetFont());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetCellTextColor(0));
    if (m_hFacePen)
        SelectObject(hdc, m_hFacePen);
}

void CTableWindow::UpdateNow()
{
    if (m_hWnd)
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CTableWindow::Beep()
{
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
}

void CTableWindow::DrawFrame(HDC hdc, const RECT& rc, int nEdgeStyle, const CTB3DFrame* pFrames)
{
    const CTB3DFrame& frames = pFrames ? *pFrames : GetNorvGlobals().m_frame1;
    frames.DrawFrame(hdc, rc, nEdgeStyle != 0);
}

void CTableWindow::DrawArrow(HDC hdc, const RECT& rc, int nDirection)
{
    GetNorvGlobals().m_frame1.DrawArrow(hdc, rc, nDirection == 1);
}

void CTableWindow::DrawColumnTitle(HDC hdc, int nDisplayCol, const RECT& rcCell)
{
    DrawFrame(hdc, rcCell, 0, nullptr);
    if (!m_pView || nDisplayCol < 0 || nDisplayCol >= m_pView->GetColumnOrder().GetCount())
        return;
    const int nCol = m_pView->GetColumnOrder().GetColumnIndex(nDisplayCol);
    const CTableColumn* pColumn = m_pView->GetColumnOrder().GetColumn(nDisplayCol);
    if (!pColumn)
        return;
    RECT rcText = {rcCell.left + 3, rcCell.top, rcCell.right - 3, rcCell.bottom};
    const CSortColumns& keys = m_pView->GetSortColumns();
    if (rcText.right - rcText.left >= 13 && keys.GetCount() > 0 && keys.GetAt(0).m_nColumn == nCol
        && !m_pView->GetColumns().m_bDefaultOrder) {
        rcText.right -= 12;
        RECT rcArrow = {rcText.right + 2, rcCell.top, rcText.right + 10, rcCell.bottom};
        DrawArrow(hdc, rcArrow, keys.GetAt(0).m_nDirection == 1 ? 1 : 0);
    }
    const CTBString& strTitle = pColumn->GetTitle();
    RECT rcMeasure = rcText;
    DrawTextA(hdc, strTitle, -1, &rcMeasure, DT_CALCRECT | DT_NOPREFIX | DT_VCENTER | DT_CENTER);
    UINT uFormat = DT_NOPREFIX | DT_VCENTER;
    if (rcMeasure.right - rcMeasure.left < rcText.right - rcText.left)
        uFormat |= DT_CENTER;
    else if (IsMirrored())
        uFormat |= DT_SINGLELINE | DT_RIGHT;
    DrawTextA(hdc, strTitle, -1, &rcText, uFormat);
}

CTableRowCache& CTableWindow::GetShownRowCache()
{
    const int nLast = GetLastShownRow();
    m_cache.SetRange(m_nTopRow, nLast >= m_nTopRow ? nLast - m_nTopRow + 1 : 0, FALSE);
    return m_cache;
}

void CTableWindow::Paint(HDC hdc, const RECT& rcUpdate)
{
    if (!m_pView)
        return;
    CTableRowCache& cache = GetShownRowCache();
    m_scrollPane.Paint(hdc, rcUpdate, &cache);
    m_fixedPane.Paint(hdc, rcUpdate, &cache);
    m_headerPane.Paint(hdc, rcUpdate, &cache);
    RECT rcBand = m_rcDivider;
    RECT rcMeet;
    if (!IsRectEmpty(&rcBand) && IntersectRect(&rcMeet, &rcBand, &rcUpdate)) {
        const int nSaved = SaveDC(hdc);
        IntersectClipRect(hdc, m_rcGrid.left, m_rcGrid.top, m_rcGrid.right, m_rcGrid.bottom);
        // Only the part the update meets: a live change of one line would otherwise draw the
        // band down the whole window. The frame's ends stay outside the clip unless they are the
        // band's own, so every line inside gets the pixels the whole frame gives it.
        IntersectClipRect(hdc, rcMeet.left, rcMeet.top, rcMeet.right, rcMeet.bottom);
        RECT rcFrame = {rcBand.left, std::max(rcBand.top, rcMeet.top) - 2, rcBand.right,
                        std::min(rcBand.bottom, rcMeet.bottom) + 2};
        DrawFrame(hdc, rcFrame, 0, &GetNorvGlobals().m_frame);
        RestoreDC(hdc, nSaved);
    }
}

void CTableWindow::SetRowHeaderHotLine(int nLine)
{
    if (m_pView && m_pView->GetShowHeader())
        m_headerPane.SetHotLine(nLine);
}

void CTableWindow::AgeChangeHighlights()
{
    if (!m_hWnd || !m_pView)
        return;
    const int64_t tNow = static_cast<int64_t>(time(nullptr));   // the clock the view stamps rows with
    const int nSeconds = GetHighlightSeconds();
    HDC hdc = nullptr;
    for (int nLine = 0; nLine < m_cache.GetCount(); ++nLine) {
        CTableRow* pRow = m_cache.GetLineRow(nLine);
        if (!pRow || pRow->GetStamp() == 0)
            continue;
        // The full difference: an old stamp never looks recent again, and a stamp from the
        // future (the clock was set back) has expired.
        const int64_t tAge = tNow - pRow->GetStamp();
        if (tAge >= 0 && tAge <= nSeconds)
            continue;
        pRow->SetStamp(0);
        RECT rcLine;
        if (!m_headerPane.GetLineRect(nLine, &rcLine))
            continue;
        if (!hdc) {
            hdc = GetDC(m_hWnd);
            PrepareDC(hdc);
        }
        m_headerPane.PaintRowHeader(hdc, pRow, nLine, rcLine);
    }
    if (hdc)
        ReleaseDC(m_hWnd, hdc);
}

BOOL CTableWindow::IsRedrawLocked() const
{
    return m_nRedrawLock > 0 || (m_pView && m_pView->IsSuspended());
}

BOOL CTableWindow::IsMirrored() const
{
    return GetNorvGlobals().m_bMirrorColumns;
}

BOOL CTableWindow::IsRightToLeft() const
{
    return GetNorvGlobals().m_bRightToLeft;
}

BOOL CTableWindow::HasFocusOrEditor() const
{
    HWND hFocus = GetFocus();
    return hFocus && (hFocus == m_hWnd || (m_editor.m_hWnd && hFocus == m_editor.m_hWnd));
}

CTableWindowArea* CTableWindow::PaneOfColumn(int nDisplayCol)
{
    if (m_fixedPane.ContainsColumn(nDisplayCol))
        return &m_fixedPane;
    if (m_scrollPane.ContainsColumn(nDisplayCol))
        return &m_scrollPane;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// The grid as a dialog control

UINT CTableWindowCtl::OnGetDlgCode()
{
    // The grid wants every key but those it does nothing with that a frame's accelerator may
    // stand for: Ctrl with a key not its own, and the function keys. The modifiers as the key came.
    const MSG* pKey = reinterpret_cast<const MSG*>(GetCurrentMessage().lParam);
    if (pKey != nullptr && (pKey->message == WM_KEYDOWN || pKey->message == WM_SYSKEYDOWN) &&
        !IsOwnKey(static_cast<UINT>(pKey->wParam), ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0))
        return DLGC_BUTTON | DLGC_WANTTAB;
    return DLGC_BUTTON | DLGC_WANTALLKEYS | DLGC_WANTTAB;
}

void CTableWindowCtl::PostNcDestroy()
{
    delete this;    // a control grid owns itself
}

// Every message before WM_NCCREATE goes to the default; that one makes the grid object, which
// takes the window over.
static LRESULT CALLBACK TableWindowCtlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE && !CTBWnd::FromHandle(hWnd)) {
        CTableWindowCtl* pGrid = new CTableWindowCtl;
        if (!pGrid->SubclassWindow(hWnd)) {
            delete pGrid;
            return FALSE;
        }
        // The grid's own procedure now runs WM_NCCREATE, as it runs every later message.
        WNDPROC pfnGrid = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
        return CallWindowProcA(pfnGrid, hWnd, uMsg, wParam, lParam);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

BOOL RegisterTableWindowCtlClass()
{
    RegisterControlTranslator("NorvTableWindowCtl", TranslateGridControl);
    WNDCLASSA wc = {};
    if (GetClassInfoA(nullptr, "NorvTableWindowCtl", &wc))
        return TRUE;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = TableWindowCtlProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = "NorvTableWindowCtl";
    return RegisterClassA(&wc) != 0;
}

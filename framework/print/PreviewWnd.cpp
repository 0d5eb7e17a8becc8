// The print preview window: a page of the engine's layout on screen under a toolbar described by
// one table, navigation by pages and row slices, zoom, scrolling and keys.
#include "framework/print/PreviewWnd.h"

#include <cstdio>
#include <cstdlib>

#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/print/TablePrint.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"

int (*CTablePrintWindow::s_pfnPageSetup)(CTablePrint*, HWND, void*) = nullptr;
int (*CTablePrintWindow::s_pfnPrintDialog)(CTablePrint*, HWND, void*) = nullptr;

namespace {

int Gcd(int a, int b)
{
    while (b) {
        int t = a % b;
        a = b;
        b = t;
    }
    return a < 1 ? 1 : a;
}

HINSTANCE ModuleHandle()
{
    return GetTBApp() ? GetTBApp()->GetModule() : nullptr;
}

BOOL IsDown(int nKey)
{
    return GetKeyState(nKey) < 0;
}

} // namespace

CTablePrintWindow::~CTablePrintWindow()
{
    if (m_hButtons)
        DeleteObject(m_hButtons);
    if (m_hButtonsGrey)
        DeleteObject(m_hButtonsGrey);
}

BOOL CTablePrintWindow::Create(CTablePrint* pPrint, HWND hParent, DWORD dwStyle, UINT nId, void* pContext)
{
    if (!pPrint || !pPrint->GetView() || !pPrint->GetView()->IsOpen())
        return FALSE;
    m_pPrint = pPrint;
    m_pContext = pContext;
    WNDCLASSA wc = {};
    if (!GetClassInfoA(ModuleHandle(), "NorvTablePrintWindow", &wc)) {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = ModuleHandle();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "NorvTablePrintWindow";
        RegisterClassA(&wc);
    }
    RECT rc = {0, 0, 100, 100};
    if (hParent)
        GetClientRect(hParent, &rc);
    DWORD dwExStyle = GetNorvGlobals().m_bRightToLeft ? WS_EX_RTLREADING : 0;
    return CreateEx(dwExStyle, "NorvTablePrintWindow", pPrint->GetView()->GetTitle(),
                    dwStyle | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, 0, 0, rc.right, rc.bottom, hParent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)));
}

int CTablePrintWindow::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CTBWnd::OnCreate(pCreate) == -1)
        return -1;
    m_hdcPreview = m_pPrint->BeginPreview();
    if (!m_hdcPreview)
        return -1;
    CreateToolbar();
    SetupMapping();
    GoToPage(m_nPage);
    GetNorvGlobals().AddSink(static_cast<CGlobalsEventSink*>(this));
    return 0;
}

void CTablePrintWindow::OnDestroy()
{
    GetNorvGlobals().RemoveSink(GetSinkId());
    if (m_hdcPreview)
        m_pPrint->EndPreview(m_hdcPreview);
    m_hdcPreview = nullptr;
    DestroyToolbar();
    m_font.DeleteObject();
    CTBWnd::OnDestroy();
}

// ---- Pages ----------------------------------------------------------------------------------

int CTablePrintWindow::FirstIndex() const
{
    int nFrom = m_pPrint->GetSettings().m_nFromPage;
    return nFrom > 0 ? nFrom - 1 : 0;
}

int CTablePrintWindow::LastIndex() const
{
    int nTo = m_pPrint->GetSettings().m_nToPage;
    int nLast = nTo > 0 ? nTo : m_pPrint->GetPageCount();
    if (nLast > m_pPrint->GetPageCount())
        nLast = m_pPrint->GetPageCount();
    return nLast - 1 < FirstIndex() ? FirstIndex() : nLast - 1;
}

void CTablePrintWindow::GoToPage(int nIndex)
{
    if (nIndex > LastIndex())
        nIndex = LastIndex();
    if (nIndex < FirstIndex())
        nIndex = FirstIndex();
    m_nPage = nIndex;
    if (m_hPageEdit) {
        char szNumber[16];
        snprintf(szNumber, sizeof(szNumber), "%d", nIndex + 1);
        SetWindowTextA(m_hPageEdit, szNumber);
    }
    UpdateControls();
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTablePrintWindow::UpdateControls()
{
    const BOOL bLive = m_hdcPreview != nullptr;
    const int nBands = m_pPrint->GetBandCount();
    const int nFirst = FirstIndex() + 1;
    const int nLast = LastIndex() + 1;
    const struct { UINT nId; BOOL bEnabled; } states[] = {
        {ID_PREVIEW_NEXT, m_nPage < nLast - 1},
        {ID_PREVIEW_PREV, m_nPage > nFirst - 1},
        {ID_PREVIEW_NEXTSLICE, m_nPage < nLast - nBands},
        {ID_PREVIEW_PREVSLICE, m_nPage - nBands >= nFirst - 1},
        {ID_PREVIEW_FIRST, m_nPage != nFirst - 1},
        {ID_PREVIEW_LAST, m_nPage != nLast - 1},
        {ID_PREVIEW_PAGE, nLast > nFirst},
        {ID_PREVIEW_ZOOMIN, m_nZoom < 200},
        {ID_PREVIEW_ZOOMOUT, m_nZoom >= 11},
    };
    for (const auto& state : states)
        if (HWND hControl = GetControl(state.nId))
            EnableWindow(hControl, bLive && state.bEnabled);
}

void CTablePrintWindow::NextSlice()
{
    int nTarget = m_nPage + m_pPrint->GetBandCount();
    if (nTarget <= LastIndex())
        GoToPage(nTarget);
}

void CTablePrintWindow::PrevSlice()
{
    int nTarget = m_nPage - m_pPrint->GetBandCount();
    if (nTarget >= FirstIndex())
        GoToPage(nTarget);
}

void CTablePrintWindow::ShowPageNumber(int nNumber)
{
    if (nNumber >= FirstIndex() + 1 && nNumber <= LastIndex() + 1)
        GoToPage(nNumber - 1);
}

void CTablePrintWindow::ZoomIn()
{
    if (m_nZoom >= 200)
        return;
    m_nZoom += 10;
    SetupMapping();
    Layout();
    UpdateControls();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTablePrintWindow::ZoomOut()
{
    if (m_nZoom < 11)
        return;
    m_nZoom -= 10;
    SetupMapping();
    Layout();
    UpdateControls();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

// ---- Mapping, layout, scrolling --------------------------------------------------------------

void CTablePrintWindow::SetupMapping()
{
    int nDivisor = Gcd(m_nZoom, 100);
    m_nZoomNum = m_nZoom / nDivisor;
    m_nZoomDen = 100 / nDivisor;
    if (!m_hdcPreview)
        return;
    SIZE sizeWindow = {1, 1};
    SIZE sizeViewport = {1, 1};
    GetWindowExtEx(m_hdcPreview, &sizeWindow);
    GetViewportExtEx(m_hdcPreview, &sizeViewport);
    // More precision for the screen's rounding: both doubled while they stay in range.
    while (labs(sizeWindow.cx) * 2 <= 16383 && labs(sizeWindow.cy) * 2 <= 16383 && labs(sizeViewport.cx) * 2 <= 16383
           && labs(sizeViewport.cy) * 2 <= 16383) {
        sizeWindow.cx *= 2;
        sizeWindow.cy *= 2;
        sizeViewport.cx *= 2;
        sizeViewport.cy *= 2;
    }
    HDC hdcScreen = GetDC(nullptr);
    int nScreenX = GetDeviceCaps(hdcScreen, LOGPIXELSX);
    int nScreenY = GetDeviceCaps(hdcScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hdcScreen);
    int nPrinterX = GetDeviceCaps(m_hdcPreview, LOGPIXELSX);
    int nPrinterY = GetDeviceCaps(m_hdcPreview, LOGPIXELSY);
    m_sizeWindow = sizeWindow;
    m_sizeViewport.cx = static_cast<LONG>(static_cast<double>(sizeViewport.cx) * m_nZoom * nScreenX / (100.0 * nPrinterX) + 0.5);
    m_sizeViewport.cy = static_cast<LONG>(static_cast<double>(sizeViewport.cy) * m_nZoom * nScreenY / (100.0 * nPrinterY) + 0.5);
}

void CTablePrintWindow::Layout()
{
    if (!m_hWnd || !m_hdcPreview)
        return;
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    int nClient[2] = {rc.right, rc.bottom - (m_bToolbar ? PREVIEW_TOOLBAR_HEIGHT : 0)};
    HDC hdcScreen = GetDC(nullptr);
    int nScreen[2] = {GetDeviceCaps(hdcScreen, LOGPIXELSX), GetDeviceCaps(hdcScreen, LOGPIXELSY)};
    ReleaseDC(nullptr, hdcScreen);
    int nPrinter[2] = {GetDeviceCaps(m_hdcPreview, LOGPIXELSX), GetDeviceCaps(m_hdcPreview, LOGPIXELSY)};
    int nPageDots[2] = {GetDeviceCaps(m_hdcPreview, HORZRES), GetDeviceCaps(m_hdcPreview, VERTRES)};
    int* pOffsets[2] = {&m_nOffsetX, &m_nOffsetY};
    const int nBars[2] = {SB_HORZ, SB_VERT};
    for (int i = 0; i < 2; ++i) {
        int nPage = static_cast<int>(static_cast<double>(nPageDots[i]) * m_nZoom * nScreen[i] / (100.0 * nPrinter[i]));
        int nOldRange = m_nScrollRange[i];
        if (nPage + 16 <= nClient[i]) {
            *pOffsets[i] = (nClient[i] - nPage) / 2;
            m_nScrollRange[i] = 0;
            m_nScrollPos[i] = 0;
            ShowScrollBar(m_hWnd, nBars[i], FALSE);
        } else {
            *pOffsets[i] = 8;
            m_nScrollRange[i] = nPage + 16;
            m_nScrollPage[i] = nClient[i];
            // After a zoom the view keeps its middle: the position moves by half the change.
            if (nOldRange > 0)
                m_nScrollPos[i] += (m_nScrollRange[i] - nOldRange) / 2;
            int nMax = m_nScrollRange[i] - m_nScrollPage[i];
            m_nScrollPos[i] = m_nScrollPos[i] < 0 ? 0 : m_nScrollPos[i] > nMax ? nMax : m_nScrollPos[i];
            SCROLLINFO si = {};
            si.cbSize = sizeof(si);
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = 0;
            si.nMax = m_nScrollRange[i] - 1;
            si.nPage = static_cast<UINT>(m_nScrollPage[i]);
            si.nPos = m_nScrollPos[i];
            ShowScrollBar(m_hWnd, nBars[i], TRUE);
            SetScrollInfo(m_hWnd, nBars[i], &si, TRUE);
        }
    }
}

void CTablePrintWindow::Scroll(int nBar, UINT nCode, UINT nPos)
{
    int i = nBar == SB_HORZ ? 0 : 1;
    if (m_nScrollRange[i] == 0)
        return;
    int nNew = m_nScrollPos[i];
    switch (nCode) {
    case SB_LINEUP: nNew -= 5; break;
    case SB_LINEDOWN: nNew += 5; break;
    case SB_PAGEUP: nNew -= m_nScrollPage[i]; break;
    case SB_PAGEDOWN: nNew += m_nScrollPage[i]; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: nNew = static_cast<int>(nPos); break;
    case SB_TOP: nNew = 0; break;
    case SB_BOTTOM: nNew = m_nScrollRange[i]; break;
    default: return;
    }
    int nMax = m_nScrollRange[i] - m_nScrollPage[i];
    nNew = nNew < 0 ? 0 : nNew > nMax ? nMax : nNew;
    if (nNew == m_nScrollPos[i])
        return;
    m_nScrollPos[i] = nNew;
    SetScrollPos(m_hWnd, nBar, nNew, TRUE);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTablePrintWindow::OnHScroll(UINT nCode, UINT nPos, CTBWnd*)
{
    Scroll(SB_HORZ, nCode, nPos);
}

void CTablePrintWindow::OnVScroll(UINT nCode, UINT nPos, CTBWnd*)
{
    Scroll(SB_VERT, nCode, nPos);
}

void CTablePrintWindow::OnSize(UINT nType, int cx, int cy)
{
    CTBWnd::OnSize(nType, cx, cy);
    LayoutToolbar();
    Layout();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CTablePrintWindow::OnEraseBkgnd(HDC)
{
    return TRUE;    // the paint covers every pixel
}

void CTablePrintWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    int nTop = m_bToolbar ? PREVIEW_TOOLBAR_HEIGHT : 0;
    if (m_bToolbar) {
        RECT rcBar = {0, 0, rcClient.right, nTop};
        FillRect(hdc, &rcBar, GetSysColorBrush(COLOR_BTNFACE));
        RECT rcLine = {0, nTop - 1, rcClient.right, nTop};
        FillRect(hdc, &rcLine, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    RECT rcArea = {0, nTop, rcClient.right, rcClient.bottom};
    HBRUSH hBack = CreateSolidBrush(m_pPrint->GetProperties().GetBackgroundColor());
    FillRect(hdc, &rcArea, hBack);
    DeleteObject(hBack);
    if (m_hdcPreview) {
        int nSaved = SaveDC(hdc);
        IntersectClipRect(hdc, rcArea.left, rcArea.top, rcArea.right, rcArea.bottom);
        HDC hdcScreen = GetDC(nullptr);
        int nScreenX = GetDeviceCaps(hdcScreen, LOGPIXELSX);
        int nScreenY = GetDeviceCaps(hdcScreen, LOGPIXELSY);
        ReleaseDC(nullptr, hdcScreen);
        int cx = static_cast<int>(static_cast<double>(GetDeviceCaps(m_hdcPreview, HORZRES)) * m_nZoom * nScreenX
                                  / (100.0 * GetDeviceCaps(m_hdcPreview, LOGPIXELSX)));
        int cy = static_cast<int>(static_cast<double>(GetDeviceCaps(m_hdcPreview, VERTRES)) * m_nZoom * nScreenY
                                  / (100.0 * GetDeviceCaps(m_hdcPreview, LOGPIXELSY)));
        int x = m_nOffsetX - m_nScrollPos[0];
        int y = nTop + m_nOffsetY - m_nScrollPos[1];
        RECT rcShadowRight = {x + cx, y + 4, x + cx + 4, y + cy + 4};
        RECT rcShadowBottom = {x + 4, y + cy, x + cx + 4, y + cy + 4};
        FillRect(hdc, &rcShadowRight, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(hdc, &rcShadowBottom, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT rcFrame = {x - 2, y - 2, x + cx + 2, y + cy + 2};
        FillRect(hdc, &rcFrame, GetSysColorBrush(COLOR_BTNSHADOW));
        RECT rcPage = {x, y, x + cx, y + cy};
        FillRect(hdc, &rcPage, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        IntersectClipRect(hdc, rcPage.left, rcPage.top, rcPage.right, rcPage.bottom);
        SetMapMode(hdc, MM_ANISOTROPIC);
        SetWindowExtEx(hdc, m_sizeWindow.cx, m_sizeWindow.cy, nullptr);
        SetViewportExtEx(hdc, m_sizeViewport.cx, m_sizeViewport.cy, nullptr);
        SetViewportOrgEx(hdc, x, y, nullptr);
        SetWindowOrgEx(hdc, 0, 0, nullptr);
        SetBkMode(hdc, TRANSPARENT);
        RECT rcClip = ps.rcPaint;
        m_pPrint->DrawPreviewPage(m_nPage, hdc, &rcClip);
        RestoreDC(hdc, nSaved);
    }
    EndPaint(m_hWnd, &ps);
}

// ---- Commands and keys ----------------------------------------------------------------------

BOOL CTablePrintWindow::OnCommand(WPARAM wParam, LPARAM)
{
    UINT nId = LOWORD(wParam);
    switch (nId) {
    case ID_PREVIEW_FIRST: FirstPage(); break;
    case ID_PREVIEW_LAST: LastPage(); break;
    case ID_PREVIEW_NEXT: NextPage(); break;
    case ID_PREVIEW_PREV: PrevPage(); break;
    case ID_PREVIEW_NEXTSLICE: NextSlice(); break;
    case ID_PREVIEW_PREVSLICE: PrevSlice(); break;
    case ID_PREVIEW_ZOOMIN: ZoomIn(); break;
    case ID_PREVIEW_ZOOMOUT: ZoomOut(); break;
    case ID_PREVIEW_SETUP: PageSetup(); break;
    case ID_PREVIEW_PRINT: PrintFromPreview(); break;
    case ID_PREVIEW_CLOSE:
        ::PostMessageA(GetParent(m_hWnd), WM_COMMAND, ID_PREVIEW_CLOSE, 0);
        break;
    default:
        return FALSE;
    }
    // The page keys keep working after a click on a button.
    if (nId != ID_PREVIEW_CLOSE && nId != ID_PREVIEW_PAGE)
        SetFocus(m_hWnd);
    return TRUE;
}

BOOL CTablePrintWindow::OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (uMsg == WM_DRAWITEM) {
        DrawButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *pResult = TRUE;
        return TRUE;
    }
    return CTBWnd::OnWndMsg(uMsg, wParam, lParam, pResult);
}

void CTablePrintWindow::OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags)
{
    if (!HandleKey(nKey))
        CTBWnd::OnKeyDown(nKey, nRepeat, nFlags);
}

BOOL CTablePrintWindow::HandleKey(UINT nKey)
{
    const BOOL bCtrl = IsDown(VK_CONTROL);
    const BOOL bShift = IsDown(VK_SHIFT);
    switch (nKey) {
    case VK_PRIOR:
        bCtrl ? FirstPage() : bShift ? PrevSlice() : PrevPage();
        return TRUE;
    case VK_NEXT:
        bCtrl ? LastPage() : bShift ? NextSlice() : NextPage();
        return TRUE;
    case VK_HOME:
        bCtrl ? FirstPage() : Scroll(SB_HORZ, SB_TOP, 0);
        return TRUE;
    case VK_END:
        bCtrl ? LastPage() : Scroll(SB_HORZ, SB_BOTTOM, 0);
        return TRUE;
    case VK_UP: Scroll(SB_VERT, SB_LINEUP, 0); return TRUE;
    case VK_DOWN: Scroll(SB_VERT, SB_LINEDOWN, 0); return TRUE;
    case VK_LEFT: Scroll(SB_HORZ, SB_LINEUP, 0); return TRUE;
    case VK_RIGHT: Scroll(SB_HORZ, SB_LINEDOWN, 0); return TRUE;
    case VK_ADD: ZoomIn(); return TRUE;
    case VK_SUBTRACT: ZoomOut(); return TRUE;
    case VK_ESCAPE:
        ::PostMessageA(GetParent(m_hWnd), WM_COMMAND, ID_PREVIEW_CLOSE, 0);
        return TRUE;
    default:
        break;
    }
    if ((nKey >= '0' && nKey <= '9') || (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9)) {
        if (m_hPageEdit && IsWindowEnabled(m_hPageEdit)) {
            char szDigit[2] = {static_cast<char>('0' + (nKey >= VK_NUMPAD0 ? nKey - VK_NUMPAD0 : nKey - '0')), '\0'};
            SetFocus(m_hPageEdit);
            SetWindowTextA(m_hPageEdit, szDigit);
            SendMessageA(m_hPageEdit, EM_SETSEL, 1, 1);
        }
        return TRUE;
    }
    return FALSE;
}

void CTablePrintWindow::OnLayoutChanged(int)
{
    LayoutToolbar();
    RepaintToolbar();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTablePrintWindow::OnLanguageChanged(int nLanguage)
{
    OnLayoutChanged(nLanguage);
}

// ---- Page setup and print -------------------------------------------------------------------

void CTablePrintWindow::RestartPreview()
{
    if (m_hdcPreview)
        m_pPrint->EndPreview(m_hdcPreview);
    m_hdcPreview = m_pPrint->BeginPreview();
    SetupMapping();
    GoToPage(m_nPage);
    Layout();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTablePrintWindow::PageSetup()
{
    int nResult = s_pfnPageSetup ? s_pfnPageSetup(m_pPrint, m_hWnd, m_pContext) : IDOK;
    if (nResult == IDOK || nResult == 1090)
        RestartPreview();
}

void CTablePrintWindow::PrintFromPreview()
{
    HCURSOR hOld = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const UINT buttons[] = {ID_PREVIEW_SETUP, ID_PREVIEW_PRINT, ID_PREVIEW_CLOSE};
    for (UINT nId : buttons)
        EnableWindow(GetControl(nId), FALSE);
    EnableWindow(m_hWnd, FALSE);
    BOOL bWasPreviewing = m_hdcPreview != nullptr;
    int nResult = s_pfnPrintDialog ? s_pfnPrintDialog(m_pPrint, m_hWnd, m_pContext) : IDOK;
    if (nResult != IDCANCEL) {
        if (m_hdcPreview)
            m_pPrint->EndPreview(m_hdcPreview);
        m_hdcPreview = nullptr;
        if (nResult == IDOK)
            RunTablePrint(*m_pPrint, nullptr, nullptr);
    }
    EnableWindow(m_hWnd, TRUE);
    for (UINT nId : buttons)
        EnableWindow(GetControl(nId), TRUE);
    SetCursor(hOld);
    if (bWasPreviewing && !m_hdcPreview)
        RestartPreview();
}


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

enum ToolKind { TOOL_IMAGE, TOOL_PAGE, TOOL_PUSH };

// The toolbar, in reading order. nStep is the distance from the previous control's start.
struct ToolItem
{
    UINT nId;
    ToolKind kind;
    int nImageLtr;
    int nImageRtl;
    int nWidth;
    int nStep;
    const char* pszText;
};

// The push buttons' texts stay fixed in every language.
const ToolItem s_tools[] = {
    {ID_PREVIEW_FIRST, TOOL_IMAGE, 0, 5, 20, 0, nullptr},
    {ID_PREVIEW_PREVSLICE, TOOL_IMAGE, 1, 1, 20, 24, nullptr},
    {ID_PREVIEW_PREV, TOOL_IMAGE, 2, 3, 20, 24, nullptr},
    {ID_PREVIEW_PAGE, TOOL_PAGE, -1, -1, 40, 24, nullptr},
    {ID_PREVIEW_NEXT, TOOL_IMAGE, 3, 2, 20, 44, nullptr},
    {ID_PREVIEW_NEXTSLICE, TOOL_IMAGE, 4, 4, 20, 24, nullptr},
    {ID_PREVIEW_LAST, TOOL_IMAGE, 5, 0, 20, 24, nullptr},
    {ID_PREVIEW_ZOOMOUT, TOOL_IMAGE, 6, 6, 20, 36, nullptr},
    {ID_PREVIEW_ZOOMIN, TOOL_IMAGE, 7, 7, 20, 24, nullptr},
    {ID_PREVIEW_SETUP, TOOL_PUSH, -1, -1, 80, 36, "P&age..."},
    {ID_PREVIEW_PRINT, TOOL_PUSH, -1, -1, 80, 84, "Print"},
    {ID_PREVIEW_CLOSE, TOOL_PUSH, -1, -1, 80, 84, "Cl&ose"},
};
const int TOOL_COUNT = sizeof(s_tools) / sizeof(s_tools[0]);
const int IMAGE_CX = 16;
const int IMAGE_CY = 15;
const COLORREF IMAGE_CLEAR = RGB(255, 0, 255);

const ToolItem* FindTool(UINT nId)
{
    for (const ToolItem& tool : s_tools)
        if (tool.nId == nId)
            return &tool;
    return nullptr;
}

// The left edge of each control in a client of width cx, left to right or mirrored.
int ToolLeft(int nIndex, int cx, BOOL bRtl)
{
    int x = 8;
    for (int i = 1; i <= nIndex; ++i)
        x += s_tools[i].nStep;
    return bRtl ? cx - x - s_tools[nIndex].nWidth : x;
}

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

// The page field: Enter or Tab goes to the page typed.
class CPageEdit : public CTBWnd
{
public:
    explicit CPageEdit(CTablePrintWindow* pOwner) : m_pOwner(pOwner) {}
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override
    {
        if (nKey == VK_RETURN || nKey == VK_TAB) {
            CTBString strText = GetWindowText();
            m_pOwner->ShowPageNumber(atoi(strText));
            return;
        }
        CTBWnd::OnKeyDown(nKey, nRepeat, nFlags);
    }
    void PostNcDestroy() override { delete this; }

private:
    CTablePrintWindow* m_pOwner;
};

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
    for (const ToolItem& tool : s_tools)
        if (HWND hControl = GetControl(tool.nId))
            ::DestroyWindow(hControl);
    m_hPageEdit = nullptr;
    m_font.DeleteObject();
    CTBWnd::OnDestroy();
}

// ---- Toolbar --------------------------------------------------------------------------------

HWND CTablePrintWindow::GetControl(UINT nId) const
{
    return m_hWnd ? GetDlgItem(m_hWnd, static_cast<int>(nId)) : nullptr;
}

int CTablePrintWindow::GetControlLeft(UINT nId) const
{
    HWND hControl = GetControl(nId);
    if (!hControl)
        return -1;
    RECT rc;
    GetWindowRect(hControl, &rc);
    POINT pt = {rc.left, rc.top};
    ScreenToClient(m_hWnd, &pt);
    return pt.x;
}

void CTablePrintWindow::LoadButtonImages()
{
    HBITMAP hStrip = LoadBitmapA(TbGetResourceModule(), MAKEINTRESOURCEA(IDB_PREVIEW_BUTTONS));
    if (!hStrip)
        return;
    // The strip is laid once on the button face, in colour and greyed: painting is then a blit.
    const int cx = IMAGE_CX * 8;
    HDC hdcScreen = GetDC(nullptr);
    HDC hdcStrip = CreateCompatibleDC(hdcScreen);
    HDC hdcOut = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOldStrip = SelectObject(hdcStrip, hStrip);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
    for (int nGrey = 0; nGrey < 2; ++nGrey) {
        HBITMAP hOut = CreateCompatibleBitmap(hdcScreen, cx, IMAGE_CY);
        HGDIOBJ hOldOut = SelectObject(hdcOut, hOut);
        for (int y = 0; y < IMAGE_CY; ++y)
            for (int x = 0; x < cx; ++x) {
                COLORREF cr = GetPixel(hdcStrip, x, y) & 0xFFFFFF;
                SetPixelV(hdcOut, x, y, cr == IMAGE_CLEAR ? crFace : nGrey ? crShadow : cr);
            }
        SelectObject(hdcOut, hOldOut);
        (nGrey ? m_hButtonsGrey : m_hButtons) = hOut;
    }
    SelectObject(hdcStrip, hOldStrip);
    DeleteDC(hdcOut);
    DeleteDC(hdcStrip);
    ReleaseDC(nullptr, hdcScreen);
    DeleteObject(hStrip);
}

void CTablePrintWindow::CreateToolbar()
{
    LoadButtonImages();
    m_font.CreatePointFont("MS Sans Serif", 8, FALSE, nullptr);
    for (const ToolItem& tool : s_tools) {
        HMENU hId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(tool.nId));
        HWND hControl = nullptr;
        if (tool.kind == TOOL_PAGE) {
            hControl = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 2,
                                       tool.nWidth, 20, m_hWnd, hId, ModuleHandle(), nullptr);
            m_hPageEdit = hControl;
            if (hControl) {
                CPageEdit* pEdit = new CPageEdit(this);
                if (!pEdit->SubclassWindow(hControl))
                    delete pEdit;
            }
        } else {
            DWORD dwStyle = WS_CHILD | WS_VISIBLE | (tool.kind == TOOL_IMAGE ? BS_OWNERDRAW : BS_PUSHBUTTON);
            hControl = CreateWindowExA(0, "Button", tool.pszText ? tool.pszText : "", dwStyle, 0, 2, tool.nWidth, 20,
                                       m_hWnd, hId, ModuleHandle(), nullptr);
        }
        if (hControl)
            SendMessageA(hControl, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    }
    LayoutToolbar();
}

void CTablePrintWindow::LayoutToolbar()
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    m_nRtl = GetNorvGlobals().m_bRightToLeft ? 1 : 0;
    for (int i = 0; i < TOOL_COUNT; ++i)
        if (HWND hControl = GetControl(s_tools[i].nId))
            SetWindowPos(hControl, nullptr, ToolLeft(i, rc.right, m_nRtl), 2, s_tools[i].nWidth, 20,
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTablePrintWindow::DrawButton(const DRAWITEMSTRUCT* pItem)
{
    const ToolItem* pTool = FindTool(pItem->CtlID);
    if (!pTool || pTool->kind != TOOL_IMAGE)
        return;
    HDC hdc = pItem->hDC;
    RECT rc = pItem->rcItem;
    BOOL bPressed = (pItem->itemState & ODS_SELECTED) != 0;
    BOOL bDisabled = (pItem->itemState & ODS_DISABLED) != 0;
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    GetNorvGlobals().m_frame.DrawFrame(hdc, rc, bPressed);
    int nImage = m_nRtl == 1 ? pTool->nImageRtl : pTool->nImageLtr;
    HBITMAP hStrip = bDisabled ? m_hButtonsGrey : m_hButtons;
    if (hStrip) {
        HDC hdcMem = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hdcMem, hStrip);
        int nInset = bPressed ? 3 : 2;
        BitBlt(hdc, rc.left + nInset, rc.top + nInset, IMAGE_CX, IMAGE_CY, hdcMem, nImage * IMAGE_CX, 0, SRCCOPY);
        SelectObject(hdcMem, hOld);
        DeleteDC(hdcMem);
    }
    if (pItem->itemState & ODS_FOCUS) {
        RECT rcFocus = {rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
        DrawFocusRect(hdc, &rcFocus);
    }
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
    for (const ToolItem& tool : s_tools)
        if (HWND hControl = GetControl(tool.nId))
            InvalidateRect(hControl, nullptr, TRUE);
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

// ---- The frame --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPreviewWnd, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CPreviewWnd::~CPreviewWnd()
{
    delete m_pPrint;
    delete m_pView;
}

BOOL CPreviewWnd::Create(CTableWindow* pGrid, const char* pszSection, const char* pszCaption, CMDIFrameWnd* pFrame)
{
    CViewTable* pGridView = pGrid ? pGrid->GetView() : nullptr;
    CTable* pTable = pGridView ? pGridView->GetTable() : nullptr;
    m_pView = pTable ? pTable->CreateSnapshotView(3) : nullptr;
    if (!m_pView) {
        delete this;
        return FALSE;
    }
    m_strSection = pszSection;
    CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
    settingsFile.SetSection(m_strSection);
    m_pPrint = new CNorvTablePrint(m_pView);
    CTablePrintSettings& settings = m_pPrint->GetSettings();
    settings.m_font.CreateFromHandle(pGrid->GetFont());
    settings.Load(settingsFile);
    m_pPrint->GetProperties().CopyFrom(*pGrid);
    CString strName;
    GetSharedGlobals()->GetProductName(strName);
    m_pPrint->SetName(strName);
    m_pPrint->LoadLogo(IDB_PRINT_LOGO);
    m_pPrint->BuildHeaders(m_pView->GetTitle());
    // A frame whose window fails is deleted with it: nothing here touches it after a failure.
    return CMDIChildWnd::Create(nullptr, pszCaption, 0x50C40000, rectDefault, pFrame);
}

int CPreviewWnd::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CMDIChildWnd::OnCreate(pCreate) == -1)
        return -1;
    if (!m_window.Create(m_pPrint, m_hWnd, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST, nullptr))
        return -1;
    ::ShowWindow(m_window.GetSafeHwnd(), SW_SHOW);
    ::SetFocus(m_window.GetSafeHwnd());
    return 0;
}

void CPreviewWnd::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && m_window.GetSafeHwnd())
        ::MoveWindow(m_window.GetSafeHwnd(), 0, 0, cx, cy, TRUE);
}

void CPreviewWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    if (m_window.GetSafeHwnd())
        ::SetFocus(m_window.GetSafeHwnd());
}

void CPreviewWnd::OnDestroy()
{
    if (m_pPrint) {
        CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
        settingsFile.SetSection(m_strSection);
        m_pPrint->GetSettings().Save(settingsFile);
    }
    CMDIChildWnd::OnDestroy();
}

BOOL CPreviewWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_PREVIEW_CLOSE) {
        SendMessage(WM_CLOSE);
        return TRUE;
    }
    return CMDIChildWnd::OnCommand(wParam, lParam);
}

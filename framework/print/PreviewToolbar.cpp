// The preview's toolbar: one table of its controls in reading order, their creation and layout
// in either reading direction, and the owner-drawn image buttons.
#include "framework/print/PreviewWnd.h"

#include <cstdlib>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"

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

HINSTANCE ModuleHandle()
{
    return GetTBApp() ? GetTBApp()->GetModule() : nullptr;
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

void CTablePrintWindow::DestroyToolbar()
{
    for (const ToolItem& tool : s_tools)
        if (HWND hControl = GetControl(tool.nId))
            ::DestroyWindow(hControl);
    m_hPageEdit = nullptr;
}

void CTablePrintWindow::RepaintToolbar()
{
    for (const ToolItem& tool : s_tools)
        if (HWND hControl = GetControl(tool.nId))
            InvalidateRect(hControl, nullptr, TRUE);
}

// The "ToolbarWindow32" class: a row of buttons drawn from one image strip, with separators,
// enabled and checked states, hot tracking (flat style), clicks sent to the parent as
// WM_COMMAND, and a tip window that names the button under the pointer.
#include <cstring>
#include <vector>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int TOP_MARGIN = 2;           // above the buttons; the same below them in TB_AUTOSIZE
const int SEPARATOR_WIDTH = 8;
const UINT_PTR TIMER_TIP_SHOW = 1;  // the pointer rests on a button: show its tip
const UINT_PTR TIMER_TIP_POP = 2;   // the tip has shown long enough
const UINT TIP_DELAY_MS = 400;
const UINT TIP_SHOWN_MS = 5000;
// The strip's background colour; where the image has it the button face shows through.
const COLORREF IMAGE_BACKGROUND = RGB(192, 192, 192);

struct TbToolbarButton {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = TBSTATE_ENABLED;
    BYTE fsStyle = TBSTYLE_BUTTON;
    DWORD_PTR dwData = 0;
};

struct TbToolbarState : TbControlState {
    ~TbToolbarState() override
    {
        if (hTip)
            DestroyWindow(hTip);
    }
    std::vector<TbToolbarButton> buttons;
    HBITMAP hBitmap = nullptr;      // the image strip; not owned
    SIZE sizeImage = {16, 15};
    SIZE sizeButton = {23, 22};
    int nHot = -1;                  // the button under the pointer
    int nPressed = -1;              // the button the left button went down on
    BOOL bPressedInside = FALSE;
    BOOL bTrackingLeave = FALSE;    // WM_MOUSELEAVE asked for
    HWND hTip = nullptr;            // owned: destroyed with the toolbar
    int nTipButton = -1;            // the button the tip is for, or waits to be for
    BOOL bTipShown = FALSE;
};

TbToolbarState* State(HWND hWnd)
{
    return TbClassStateOf<TbToolbarState>(hWnd);
}

BOOL IsRightToLeft(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

BOOL IsValidIndex(const TbToolbarState* p, WPARAM wIndex)
{
    return p && wIndex < p->buttons.size();
}

int CommandToIndex(const TbToolbarState* p, int idCommand)
{
    for (size_t i = 0; p && i < p->buttons.size(); ++i)
        if (p->buttons[i].idCommand == idCommand && !(p->buttons[i].fsStyle & TBSTYLE_SEP))
            return static_cast<int>(i);
    return -1;
}

int ButtonWidth(const TbToolbarState* p, const TbToolbarButton& b)
{
    if (b.fsState & TBSTATE_HIDDEN)
        return 0;
    if (b.fsStyle & TBSTYLE_SEP)
        return b.iBitmap > 0 ? b.iBitmap : SEPARATOR_WIDTH;
    return p->sizeButton.cx;
}

// A button's rectangle in client coordinates, mirrored in a right-to-left bar.
BOOL ItemRect(HWND hWnd, const TbToolbarState* p, size_t nIndex, RECT* pRect)
{
    if (!p || nIndex >= p->buttons.size())
        return FALSE;
    int x = 0;
    for (size_t i = 0; i < nIndex; ++i)
        x += ButtonWidth(p, p->buttons[i]);
    RECT rc = {x, TOP_MARGIN, x + ButtonWidth(p, p->buttons[nIndex]), TOP_MARGIN + p->sizeButton.cy};
    if (IsRightToLeft(hWnd)) {
        RECT rcClient;
        GetClientRect(hWnd, &rcClient);
        rc = {rcClient.right - rc.right, rc.top, rcClient.right - rc.left, rc.bottom};
    }
    *pRect = rc;
    return TRUE;
}

int HitTest(HWND hWnd, const TbToolbarState* p, POINT pt)
{
    for (size_t i = 0; p && i < p->buttons.size(); ++i) {
        RECT rc;
        if (ItemRect(hWnd, p, i, &rc) && PtInRect(&rc, pt))
            return static_cast<int>(i);
    }
    return -1;
}

BOOL IsClickable(const TbToolbarState* p, int nIndex)
{
    if (!p || nIndex < 0 || static_cast<size_t>(nIndex) >= p->buttons.size())
        return FALSE;
    const TbToolbarButton& b = p->buttons[static_cast<size_t>(nIndex)];
    return !(b.fsStyle & TBSTYLE_SEP) && (b.fsState & TBSTATE_ENABLED) && !(b.fsState & TBSTATE_HIDDEN);
}

void InvalidateButton(HWND hWnd, const TbToolbarState* p, int nIndex)
{
    RECT rc;
    if (nIndex >= 0 && ItemRect(hWnd, p, static_cast<size_t>(nIndex), &rc))
        InvalidateRect(hWnd, &rc, TRUE);
}

// ---- painting ----

// Whether a pixel of the strip shows the button face: transparent in the image file, or the
// strip's background grey of a bitmap without transparency.
BOOL IsFacePixel(const TbBitmap& strip, int x, int y)
{
    if (strip.mask.Contains(x, y) && strip.mask.Row(y)[x] == TB_PIXEL_WHITE)
        return TRUE;
    return TbPixelToColor(strip.bits.Row(y)[x]) == IMAGE_BACKGROUND;
}

// One image of the strip at (x, y): where it is transparent the face shows; a disabled image is
// drawn embossed, the shape of its dark pixels in the shadow colour over the same shape in the
// highlight colour one pixel down and right.
void DrawImage(HDC hdc, const TbBitmap& strip, const TbToolbarState* p, int iImage, int x, int y, BOOL bEnabled)
{
    const int xSrc = iImage * p->sizeImage.cx;
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW), crLight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int nPass = bEnabled ? 1 : 0; nPass < 2; ++nPass) {
        for (int j = 0; j < p->sizeImage.cy; ++j) {
            for (int i = 0; i < p->sizeImage.cx; ++i) {
                if (!strip.bits.Contains(xSrc + i, j) || IsFacePixel(strip, xSrc + i, j))
                    continue;
                const COLORREF cr = TbPixelToColor(strip.bits.Row(j)[xSrc + i]);
                if (bEnabled) {
                    SetPixelV(hdc, x + i, y + j, cr);
                    continue;
                }
                // Light pixels stand for the face and its highlight: no shape.
                const int nLuma = (GetRValue(cr) * 30 + GetGValue(cr) * 59 + GetBValue(cr) * 11) / 100;
                if (nLuma >= 192)
                    continue;
                if (nPass == 0)
                    SetPixelV(hdc, x + i + 1, y + j + 1, crLight);
                else
                    SetPixelV(hdc, x + i, y + j, crShadow);
            }
        }
    }
}

void DrawButton(HWND hWnd, HDC hdc, const TbBitmap* pStrip, const TbToolbarState* p, size_t nIndex)
{
    const TbToolbarButton& b = p->buttons[nIndex];
    RECT rc;
    if (!ItemRect(hWnd, p, nIndex, &rc) || (b.fsState & TBSTATE_HIDDEN))
        return;
    if (b.fsStyle & TBSTYLE_SEP) {
        const int x = (rc.left + rc.right) / 2 - 1;
        RECT rcLine = {x, rc.top + 1, x + 2, rc.bottom - 1};
        TbDrawFrame3D(hdc, rcLine, TRUE);
        return;
    }
    const BOOL bEnabled = (b.fsState & TBSTATE_ENABLED) != 0;
    const BOOL bDown = (b.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) ||
                       (static_cast<int>(nIndex) == p->nPressed && p->bPressedInside);
    const BOOL bFlat = (GetWindowLongA(hWnd, GWL_STYLE) & TBSTYLE_FLAT) != 0;
    if (b.fsState & TBSTATE_CHECKED && !(static_cast<int>(nIndex) == p->nPressed && p->bPressedInside))
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    if (bDown)
        TbDrawFrame3D(hdc, rc, TRUE);
    else if (!bFlat || (bEnabled && static_cast<int>(nIndex) == p->nHot))
        TbDrawFrame3D(hdc, rc, FALSE);
    if (!pStrip || b.iBitmap < 0)
        return;
    const int nOffset = bDown ? 1 : 0;
    DrawImage(hdc, *pStrip, p, b.iBitmap, rc.left + (rc.right - rc.left - p->sizeImage.cx) / 2 + nOffset,
              rc.top + (rc.bottom - rc.top - p->sizeImage.cy) / 2 + nOffset, bEnabled);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (!hdc)
        return 0;
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    if (const TbToolbarState* p = State(hWnd)) {
        const TbBitmap* pStrip = p->hBitmap ? TbGdiFindAs<TbBitmap>(p->hBitmap, OBJ_BITMAP) : nullptr;
        for (size_t i = 0; i < p->buttons.size(); ++i)
            DrawButton(hWnd, hdc, pStrip, p, i);
    }
    EndPaint(hWnd, &ps);
    return 0;
}

// ---- tips ----

void Notify(HWND hWnd, NMHDR* pHeader)
{
    if (HWND hParent = GetParent(hWnd))
        SendMessageA(hParent, WM_NOTIFY, pHeader->idFrom, reinterpret_cast<LPARAM>(pHeader));
}

void HideTip(HWND hWnd, TbToolbarState* p)
{
    KillTimer(hWnd, TIMER_TIP_SHOW);
    KillTimer(hWnd, TIMER_TIP_POP);
    if (!p->bTipShown)
        return;
    p->bTipShown = FALSE;
    ShowWindow(p->hTip, SW_HIDE);
    const int idCommand = IsValidIndex(p, static_cast<WPARAM>(p->nTipButton)) ? p->buttons[static_cast<size_t>(p->nTipButton)].idCommand : 0;
    NMHDR hdr = {p->hTip, static_cast<UINT_PTR>(idCommand), TTN_POP};
    Notify(hWnd, &hdr);
}

// Asks the parent for the tip of the button the pointer rests on and shows it under the button.
void ShowTip(HWND hWnd, TbToolbarState* p)
{
    KillTimer(hWnd, TIMER_TIP_SHOW);
    if (!p->hTip || !IsValidIndex(p, static_cast<WPARAM>(p->nTipButton)))
        return;
    const size_t nIndex = static_cast<size_t>(p->nTipButton);
    const int idCommand = p->buttons[nIndex].idCommand;
    NMTTDISPINFOA info = {};
    info.hdr = {p->hTip, static_cast<UINT_PTR>(idCommand), TTN_NEEDTEXTA};
    info.lpszText = info.szText;
    Notify(hWnd, &info.hdr);
    // The parent may have destroyed us, or moved the buttons while it answered.
    p = TbFindClassState<TbToolbarState>(hWnd);
    if (!p || !IsValidIndex(p, nIndex) || p->buttons[nIndex].idCommand != idCommand)
        return;
    char szText[256] = "";
    if (info.hinst && IS_INTRESOURCE(info.lpszText))
        LoadStringA(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)), szText, sizeof szText);
    else if (info.lpszText && !IS_INTRESOURCE(info.lpszText))
        TbCopyText(szText, sizeof szText, info.lpszText);
    if (!szText[0])
        return;
    RECT rcButton;
    ItemRect(hWnd, p, nIndex, &rcButton);
    POINT pt = {IsRightToLeft(hWnd) ? rcButton.right : rcButton.left, rcButton.bottom + 2};
    ClientToScreen(hWnd, &pt);
    SetWindowTextA(p->hTip, szText);
    SetWindowPos(p->hTip, HWND_TOPMOST, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(p->hTip, SW_SHOWNOACTIVATE);
    p->bTipShown = TRUE;
    NMHDR hdr = {p->hTip, static_cast<UINT_PTR>(idCommand), TTN_SHOW};
    Notify(hWnd, &hdr);
    if ((p = TbFindClassState<TbToolbarState>(hWnd)) != nullptr && p->bTipShown)
        SetTimer(hWnd, TIMER_TIP_POP, TIP_SHOWN_MS, nullptr);
}

// The pointer moved to nButton (-1: off the buttons). While a tip shows, the next button's tip
// follows at once, as a person moving along the bar expects.
void TrackTip(HWND hWnd, TbToolbarState* p, int nButton)
{
    if (!p->hTip || nButton == p->nTipButton)
        return;
    const BOOL bWasShown = p->bTipShown;
    HideTip(hWnd, p);
    p->nTipButton = (nButton >= 0 && !(p->buttons[static_cast<size_t>(nButton)].fsStyle & TBSTYLE_SEP)) ? nButton : -1;
    if (p->nTipButton < 0)
        return;
    if (bWasShown)
        ShowTip(hWnd, p);
    else
        SetTimer(hWnd, TIMER_TIP_SHOW, TIP_DELAY_MS, nullptr);
}

// ---- mouse ----

void SetHot(HWND hWnd, TbToolbarState* p, int nHot)
{
    if (nHot == p->nHot)
        return;
    InvalidateButton(hWnd, p, p->nHot);
    p->nHot = nHot;
    InvalidateButton(hWnd, p, p->nHot);
}

LRESULT OnMouseMove(HWND hWnd, LPARAM lParam)
{
    TbToolbarState* p = State(hWnd);
    if (!p)
        return 0;
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int nButton = HitTest(hWnd, p, pt);
    if (!p->bTrackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
        p->bTrackingLeave = TrackMouseEvent(&track);
    }
    if (p->nPressed >= 0) {
        const BOOL bInside = nButton == p->nPressed;
        if (bInside != p->bPressedInside) {
            p->bPressedInside = bInside;
            InvalidateButton(hWnd, p, p->nPressed);
        }
        return 0;
    }
    SetHot(hWnd, p, IsClickable(p, nButton) ? nButton : -1);
    TrackTip(hWnd, p, nButton);
    return 0;
}

// The pointer left the bar: no button is hot and no tip shows.
LRESULT OnMouseLeave(HWND hWnd)
{
    TbToolbarState* p = State(hWnd);
    if (!p)
        return 0;
    p->bTrackingLeave = FALSE;
    if (p->nPressed < 0)
        SetHot(hWnd, p, -1);
    TrackTip(hWnd, p, -1);
    return 0;
}

LRESULT OnLButtonDown(HWND hWnd, LPARAM lParam)
{
    TbToolbarState* p = State(hWnd);
    if (!p)
        return 0;
    HideTip(hWnd, p);
    const int nButton = HitTest(hWnd, p, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (!IsClickable(p, nButton))
        return 0;
    p->nPressed = nButton;
    p->bPressedInside = TRUE;
    SetCapture(hWnd);
    InvalidateButton(hWnd, p, nButton);
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd)
{
    TbToolbarState* p = State(hWnd);
    if (!p || p->nPressed < 0)
        return 0;
    const int nButton = p->nPressed;
    const BOOL bClick = p->bPressedInside && IsClickable(p, nButton);
    p->nPressed = -1;
    p->bPressedInside = FALSE;
    ReleaseCapture();
    InvalidateButton(hWnd, p, nButton);
    if (!bClick)
        return 0;
    TbToolbarButton& b = p->buttons[static_cast<size_t>(nButton)];
    if (b.fsStyle & TBSTYLE_CHECK)
        b.fsState = static_cast<BYTE>(b.fsState ^ TBSTATE_CHECKED);
    if (HWND hParent = GetParent(hWnd))
        SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(b.idCommand, BN_CLICKED), reinterpret_cast<LPARAM>(hWnd));
    return 0;
}

LRESULT OnCaptureChanged(HWND hWnd)
{
    TbToolbarState* p = State(hWnd);
    if (p && p->nPressed >= 0) {
        InvalidateButton(hWnd, p, p->nPressed);
        p->nPressed = -1;
        p->bPressedInside = FALSE;
    }
    return 0;
}

LRESULT OnTimer(HWND hWnd, WPARAM wTimer)
{
    TbToolbarState* p = State(hWnd);
    if (!p)
        return 0;
    if (wTimer == TIMER_TIP_SHOW)
        ShowTip(hWnd, p);
    else if (wTimer == TIMER_TIP_POP)
        HideTip(hWnd, p);
    return 0;
}

// ---- buttons ----

LRESULT OnAddButtons(HWND hWnd, size_t nAt, WPARAM wCount, LPARAM lParam)
{
    TbToolbarState* p = State(hWnd);
    const TBBUTTON* pButtons = reinterpret_cast<const TBBUTTON*>(lParam);
    if (!p || !pButtons || nAt > p->buttons.size() || wCount > 4096)
        return FALSE;
    std::vector<TbToolbarButton> added;
    for (WPARAM i = 0; i < wCount; ++i)
        added.push_back(TbToolbarButton{pButtons[i].iBitmap, pButtons[i].idCommand, pButtons[i].fsState,
                                        pButtons[i].fsStyle, pButtons[i].dwData});
    p->buttons.insert(p->buttons.begin() + static_cast<std::ptrdiff_t>(nAt), added.begin(), added.end());
    p->nHot = -1;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnDeleteButton(HWND hWnd, WPARAM wIndex)
{
    TbToolbarState* p = State(hWnd);
    if (!IsValidIndex(p, wIndex))
        return FALSE;
    HideTip(hWnd, p);
    p->buttons.erase(p->buttons.begin() + static_cast<std::ptrdiff_t>(wIndex));
    p->nHot = p->nPressed = p->nTipButton = -1;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetButton(HWND hWnd, WPARAM wIndex, LPARAM lParam)
{
    const TbToolbarState* p = State(hWnd);
    TBBUTTON* pButton = reinterpret_cast<TBBUTTON*>(lParam);
    if (!IsValidIndex(p, wIndex) || !pButton)
        return FALSE;
    const TbToolbarButton& b = p->buttons[wIndex];
    *pButton = TBBUTTON{b.iBitmap, b.idCommand, b.fsState, b.fsStyle, {}, b.dwData, 0};
    return TRUE;
}

// The button a TB_xxxBUTTONINFO names: by index with TBIF_BYINDEX, else by command.
int InfoIndex(const TbToolbarState* p, WPARAM wParam, const TBBUTTONINFOA* pInfo)
{
    if (!p || !pInfo)
        return -1;
    if (pInfo->dwMask & TBIF_BYINDEX)
        return wParam < p->buttons.size() ? static_cast<int>(wParam) : -1;
    return CommandToIndex(p, static_cast<int>(wParam));
}

LRESULT OnGetButtonInfo(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const TbToolbarState* p = State(hWnd);
    TBBUTTONINFOA* pInfo = reinterpret_cast<TBBUTTONINFOA*>(lParam);
    const int nIndex = InfoIndex(p, wParam, pInfo);
    if (nIndex < 0)
        return -1;
    const TbToolbarButton& b = p->buttons[static_cast<size_t>(nIndex)];
    if (pInfo->dwMask & TBIF_COMMAND) pInfo->idCommand = b.idCommand;
    if (pInfo->dwMask & TBIF_IMAGE) pInfo->iImage = b.iBitmap;
    if (pInfo->dwMask & TBIF_STATE) pInfo->fsState = b.fsState;
    if (pInfo->dwMask & TBIF_STYLE) pInfo->fsStyle = b.fsStyle;
    if (pInfo->dwMask & TBIF_LPARAM) pInfo->lParam = b.dwData;
    if (pInfo->dwMask & TBIF_SIZE) pInfo->cx = static_cast<WORD>(ButtonWidth(p, b));
    return nIndex;
}

LRESULT OnSetButtonInfo(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbToolbarState* p = State(hWnd);
    const TBBUTTONINFOA* pInfo = reinterpret_cast<const TBBUTTONINFOA*>(lParam);
    const int nIndex = InfoIndex(p, wParam, pInfo);
    if (nIndex < 0)
        return FALSE;
    TbToolbarButton& b = p->buttons[static_cast<size_t>(nIndex)];
    if (pInfo->dwMask & TBIF_COMMAND) b.idCommand = pInfo->idCommand;
    if (pInfo->dwMask & TBIF_IMAGE) b.iBitmap = pInfo->iImage;
    if (pInfo->dwMask & TBIF_STATE) b.fsState = pInfo->fsState;
    if (pInfo->dwMask & TBIF_STYLE) b.fsStyle = pInfo->fsStyle;
    if (pInfo->dwMask & TBIF_LPARAM) b.dwData = pInfo->lParam;
    if ((pInfo->dwMask & TBIF_SIZE) && (b.fsStyle & TBSTYLE_SEP)) b.iBitmap = pInfo->cx;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

// TB_ENABLEBUTTON and its kin: one state bit set or cleared on the button of a command.
LRESULT OnSetStateBit(HWND hWnd, WPARAM wCommand, BYTE bit, BOOL bSet)
{
    TbToolbarState* p = State(hWnd);
    const int nIndex = CommandToIndex(p, static_cast<int>(wCommand));
    if (nIndex < 0)
        return FALSE;
    TbToolbarButton& b = p->buttons[static_cast<size_t>(nIndex)];
    const BYTE fsNew = static_cast<BYTE>(bSet ? (b.fsState | bit) : (b.fsState & ~bit));
    if (fsNew != b.fsState) {
        b.fsState = fsNew;
        if (bit == TBSTATE_HIDDEN)
            InvalidateRect(hWnd, nullptr, TRUE);
        else
            InvalidateButton(hWnd, p, nIndex);
    }
    return TRUE;
}

LRESULT OnSetState(HWND hWnd, WPARAM wCommand, BYTE fsState)
{
    TbToolbarState* p = State(hWnd);
    const int nIndex = CommandToIndex(p, static_cast<int>(wCommand));
    if (nIndex < 0)
        return FALSE;
    TbToolbarButton& b = p->buttons[static_cast<size_t>(nIndex)];
    if (b.fsState != fsState) {
        const BOOL bLayout = ((b.fsState ^ fsState) & TBSTATE_HIDDEN) != 0;
        b.fsState = fsState;
        if (bLayout)
            InvalidateRect(hWnd, nullptr, TRUE);
        else
            InvalidateButton(hWnd, p, nIndex);
    }
    return TRUE;
}

LRESULT OnAddBitmap(HWND hWnd, LPARAM lParam)
{
    TbToolbarState* p = State(hWnd);
    const TBADDBITMAP* pAdd = reinterpret_cast<const TBADDBITMAP*>(lParam);
    if (!p || !pAdd)
        return -1;
    // Only a bitmap handle is taken: the original's built-in standard images are not used here.
    if (pAdd->hInst != nullptr)
        return -1;
    p->hBitmap = reinterpret_cast<HBITMAP>(pAdd->nID);
    InvalidateRect(hWnd, nullptr, TRUE);
    return 0;
}

LRESULT OnSetSize(HWND hWnd, SIZE& size, LPARAM lParam)
{
    const int cx = LOWORD(lParam), cy = HIWORD(lParam);
    if (cx <= 0 || cy <= 0 || cx > 1024 || cy > 1024)
        return FALSE;
    size = {cx, cy};
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnAutoSize(HWND hWnd)
{
    const TbToolbarState* p = State(hWnd);
    HWND hParent = GetParent(hWnd);
    if (!p || !hParent)
        return 0;
    RECT rc;
    GetClientRect(hParent, &rc);
    SetWindowPos(hWnd, nullptr, 0, 0, rc.right, p->sizeButton.cy + 2 * TOP_MARGIN, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT OnCreate(HWND hWnd)
{
    TbToolbarState* p = State(hWnd);
    if (!p)
        return -1;
    if (GetWindowLongA(hWnd, GWL_STYLE) & TBSTYLE_TOOLTIPS) {
        HWND hOwner = GetAncestor(hWnd, GA_ROOT);
        const DWORD dwExTip = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE |
                              (static_cast<DWORD>(GetWindowLongA(hWnd, GWL_EXSTYLE)) & WS_EX_RTLREADING);
        p->hTip = CreateWindowExA(dwExTip, TOOLTIPS_CLASSA,
                                  nullptr, WS_POPUP, 0, 0, 0, 0, hOwner, nullptr, nullptr, nullptr);
    }
    return 0;
}

LRESULT OnDestroy(HWND hWnd)
{
    if (TbToolbarState* p = TbFindClassState<TbToolbarState>(hWnd); p && p->hTip) {
        HWND hTip = p->hTip;
        p->hTip = nullptr;
        DestroyWindow(hTip);
    }
    return 0;
}

LRESULT OnGetItemRect(HWND hWnd, WPARAM wIndex, LPARAM lParam)
{
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    return pRect && ItemRect(hWnd, State(hWnd), wIndex, pRect);
}

LRESULT OnGetRect(HWND hWnd, WPARAM wCommand, LPARAM lParam)
{
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    const TbToolbarState* p = State(hWnd);
    const int nIndex = CommandToIndex(p, static_cast<int>(wCommand));
    return pRect && nIndex >= 0 && ItemRect(hWnd, p, static_cast<size_t>(nIndex), pRect);
}

BYTE StateOf(HWND hWnd, WPARAM wCommand, BYTE bit)
{
    const TbToolbarState* p = State(hWnd);
    const int nIndex = CommandToIndex(p, static_cast<int>(wCommand));
    return nIndex < 0 ? 0 : static_cast<BYTE>(p->buttons[static_cast<size_t>(nIndex)].fsState & bit);
}
}  // namespace

LRESULT CALLBACK TbToolbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:          return TbControlNcCreate(hWnd, State(hWnd) != nullptr, wParam, lParam);
    case WM_CREATE:            return OnCreate(hWnd);
    case WM_DESTROY:           return OnDestroy(hWnd);
    case WM_PAINT:             return OnPaint(hWnd);
    case WM_ERASEBKGND:        return 1;
    case WM_SIZE:              InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_MOUSEMOVE:         return OnMouseMove(hWnd, lParam);
    case WM_MOUSELEAVE:        return OnMouseLeave(hWnd);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:     return OnLButtonDown(hWnd, lParam);
    case WM_LBUTTONUP:         return OnLButtonUp(hWnd);
    case WM_CAPTURECHANGED:    return OnCaptureChanged(hWnd);
    case WM_TIMER:             return OnTimer(hWnd, wParam);
    case WM_SETFONT:           return TbControlSetFont(hWnd, State(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:           return TbControlGetFont(State(hWnd));
    case TB_BUTTONSTRUCTSIZE:  return 0;
    case TB_ADDBITMAP:         return OnAddBitmap(hWnd, lParam);
    case TB_SETBITMAPSIZE:     return State(hWnd) ? OnSetSize(hWnd, State(hWnd)->sizeImage, lParam) : FALSE;
    case TB_SETBUTTONSIZE:     return State(hWnd) ? OnSetSize(hWnd, State(hWnd)->sizeButton, lParam) : FALSE;
    case TB_GETBUTTONSIZE:     return State(hWnd) ? MAKELONG(State(hWnd)->sizeButton.cx, State(hWnd)->sizeButton.cy) : 0;
    case TB_ADDBUTTONSA:       return State(hWnd) ? OnAddButtons(hWnd, State(hWnd)->buttons.size(), wParam, lParam) : FALSE;
    case TB_INSERTBUTTONA:     return OnAddButtons(hWnd, wParam, 1, lParam);
    case TB_DELETEBUTTON:      return OnDeleteButton(hWnd, wParam);
    case TB_GETBUTTON:         return OnGetButton(hWnd, wParam, lParam);
    case TB_BUTTONCOUNT:       return State(hWnd) ? static_cast<LRESULT>(State(hWnd)->buttons.size()) : 0;
    case TB_COMMANDTOINDEX:    return CommandToIndex(State(hWnd), static_cast<int>(wParam));
    case TB_GETITEMRECT:       return OnGetItemRect(hWnd, wParam, lParam);
    case TB_GETRECT:           return OnGetRect(hWnd, wParam, lParam);
    case TB_GETBUTTONINFOA:    return OnGetButtonInfo(hWnd, wParam, lParam);
    case TB_SETBUTTONINFOA:    return OnSetButtonInfo(hWnd, wParam, lParam);
    case TB_ENABLEBUTTON:      return OnSetStateBit(hWnd, wParam, TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON:       return OnSetStateBit(hWnd, wParam, TBSTATE_CHECKED, LOWORD(lParam) != 0);
    case TB_PRESSBUTTON:       return OnSetStateBit(hWnd, wParam, TBSTATE_PRESSED, LOWORD(lParam) != 0);
    case TB_HIDEBUTTON:        return OnSetStateBit(hWnd, wParam, TBSTATE_HIDDEN, LOWORD(lParam) != 0);
    case TB_ISBUTTONENABLED:   return StateOf(hWnd, wParam, TBSTATE_ENABLED) != 0;
    case TB_ISBUTTONCHECKED:   return StateOf(hWnd, wParam, TBSTATE_CHECKED) != 0;
    case TB_GETSTATE:          return CommandToIndex(State(hWnd), static_cast<int>(wParam)) < 0 ? -1 : StateOf(hWnd, wParam, 0xFF);
    case TB_SETSTATE:          return OnSetState(hWnd, wParam, static_cast<BYTE>(LOWORD(lParam)));
    case TB_AUTOSIZE:          return OnAutoSize(hWnd);
    case TB_GETTOOLTIPS:       return State(hWnd) ? reinterpret_cast<LRESULT>(State(hWnd)->hTip) : 0;
    case TB_SETSTYLE:          SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>((GetWindowLongA(hWnd, GWL_STYLE) & ~0xFFFF) | (lParam & 0xFFFF))); return 0;
    case TB_GETSTYLE:          return GetWindowLongA(hWnd, GWL_STYLE) & 0xFFFF;
    case TB_HITTEST:           return lParam ? HitTest(hWnd, State(hWnd), *reinterpret_cast<const POINT*>(lParam)) : -1;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// CTBWnd: the dispatch of window messages to the handler slots, and the slots' default bodies.
#include "framework/base/TBWnd.h"

namespace {
CTBWnd* Wnd(WPARAM wParam) { return CTBWnd::FromHandle(reinterpret_cast<HWND>(wParam)); }
CTBWnd* WndL(LPARAM lParam) { return CTBWnd::FromHandle(reinterpret_cast<HWND>(lParam)); }
UINT Lo(WPARAM w) { return LOWORD(w); }
UINT Hi(WPARAM w) { return HIWORD(w); }
int X(LPARAM l) { return GET_X_LPARAM(l); }
int Y(LPARAM l) { return GET_Y_LPARAM(l); }
template <class T> T Ptr(LPARAM l) { return reinterpret_cast<T>(l); }
}  // namespace

BOOL CTBWnd::OnWndMsg(UINT uMsg, WPARAM w, LPARAM l, LRESULT* pResult)
{
    LRESULT lResult = 0;
    UINT uW = static_cast<UINT>(w);
    switch (uMsg) {
    case WM_COMMAND:
        if (OnCommand(w, l)) {
            lResult = -1;
            break;
        }
        // Not ours: the parent may know the command; the default processing follows.
        PassToParent(uMsg, w, l);
        return FALSE;
    case WM_MENUSELECT:
        if (OnMenuSelect(Lo(w), Hi(w), reinterpret_cast<HMENU>(l)) == 0)
            PassToParent(uMsg, w, l);
        break;
    case WM_NCDESTROY:          OnNcDestroy(); break;
    case WM_ACTIVATEAPP:        OnActivateApp(uW != 0, static_cast<DWORD>(l)); break;
    case WM_ACTIVATE:           OnActivate(Lo(w), WndL(l), Hi(w) != 0); break;
    case WM_CANCELMODE:         OnCancelMode(); break;
    case WM_CHILDACTIVATE:      OnChildActivate(); break;
    case WM_CLOSE:              OnClose(); break;
    case WM_CREATE:             lResult = OnCreate(Ptr<LPCREATESTRUCTA>(l)); break;
    case WM_DESTROY:            OnDestroy(); break;
    case WM_ENABLE:             OnEnable(uW != 0); break;
    case WM_ENDSESSION:         OnEndSession(uW != 0); break;
    case WM_ERASEBKGND:         lResult = OnEraseBkgnd(reinterpret_cast<HDC>(w)); break;
    case WM_GETMINMAXINFO:      OnGetMinMaxInfo(Ptr<MINMAXINFO*>(l)); break;
    case WM_ICONERASEBKGND:     OnIconEraseBkgnd(reinterpret_cast<HDC>(w)); break;
    case WM_KILLFOCUS:          OnKillFocus(Wnd(w)); break;
    case WM_MENUCHAR:           lResult = OnMenuChar(Lo(w), Hi(w), reinterpret_cast<HMENU>(l)); break;
    case WM_MOVE:               OnMove(X(l), Y(l)); break;
    case WM_PAINT:              OnPaint(); break;
    case WM_HSCROLL:            OnHScroll(Lo(w), Hi(w), WndL(l)); break;
    case WM_VSCROLL:            OnVScroll(Lo(w), Hi(w), WndL(l)); break;
    case WM_MOUSEWHEEL:         OnMouseWheel(Lo(w), static_cast<short>(Hi(w))); break;
    case WM_QUERYDRAGICON:      lResult = reinterpret_cast<LRESULT>(OnQueryDragIcon()); break;
    case WM_QUERYENDSESSION:    lResult = OnQueryEndSession(); break;
    case WM_QUERYNEWPALETTE:    lResult = OnQueryNewPalette(); break;
    case WM_QUERYOPEN:          lResult = OnQueryOpen(); break;
    case WM_SETCURSOR:          lResult = OnSetCursor(Wnd(w), Lo(l), Hi(l)); break;
    case WM_SETFOCUS:           OnSetFocus(Wnd(w)); break;
    case WM_SHOWWINDOW:         OnShowWindow(uW != 0, static_cast<UINT>(l)); break;
    case WM_SIZE:               OnSize(uW, Lo(l), Hi(l)); break;
    case WM_WINDOWPOSCHANGING:  OnWindowPosChanging(Ptr<WINDOWPOS*>(l)); break;
    case WM_WINDOWPOSCHANGED:   OnWindowPosChanged(Ptr<WINDOWPOS*>(l)); break;
    case WM_DROPFILES:          OnDropFiles(reinterpret_cast<HANDLE>(w)); break;
    case WM_PALETTEISCHANGING:  OnPaletteIsChanging(Wnd(w)); break;
    case WM_NCACTIVATE:         lResult = OnNcActivate(uW != 0); break;
    case WM_NCCALCSIZE:         OnNcCalcSize(uW != 0, Ptr<NCCALCSIZE_PARAMS*>(l)); break;
    case WM_NCCREATE:           lResult = OnNcCreate(Ptr<LPCREATESTRUCTA>(l)); break;
    case WM_NCHITTEST:          lResult = OnNcHitTest(X(l), Y(l)); break;
    case WM_NCLBUTTONDBLCLK:    OnNcLButtonDblClk(uW, X(l), Y(l)); break;
    case WM_NCLBUTTONDOWN:      OnNcLButtonDown(uW, X(l), Y(l)); break;
    case WM_NCLBUTTONUP:        OnNcLButtonUp(uW, X(l), Y(l)); break;
    case WM_NCMBUTTONDBLCLK:    OnNcMButtonDblClk(uW, X(l), Y(l)); break;
    case WM_NCMBUTTONDOWN:      OnNcMButtonDown(uW, X(l), Y(l)); break;
    case WM_NCMBUTTONUP:        OnNcMButtonUp(uW, X(l), Y(l)); break;
    case WM_NCMOUSEMOVE:        OnNcMouseMove(uW, X(l), Y(l)); break;
    case WM_NCPAINT:            OnNcPaint(); break;
    case WM_NCRBUTTONDBLCLK:    OnNcRButtonDblClk(uW, X(l), Y(l)); break;
    case WM_NCRBUTTONDOWN:      OnNcRButtonDown(uW, X(l), Y(l)); break;
    case WM_NCRBUTTONUP:        OnNcRButtonUp(uW, X(l), Y(l)); break;
    case WM_SYSCHAR:            OnSysChar(uW, Lo(l), Hi(l)); break;
    case WM_SYSCOMMAND:         OnSysCommand(uW, l); break;
    case WM_SYSDEADCHAR:        OnSysDeadChar(uW, Lo(l), Hi(l)); break;
    case WM_SYSKEYDOWN:         OnSysKeyDown(uW, Lo(l), Hi(l)); break;
    case WM_SYSKEYUP:           OnSysKeyUp(uW, Lo(l), Hi(l)); break;
    case WM_COMPACTING:         OnCompacting(uW); break;
    case WM_FONTCHANGE:         OnFontChange(); break;
    case WM_PALETTECHANGED:     OnPaletteChanged(Wnd(w)); break;
    case WM_SPOOLERSTATUS:      OnSpoolerStatus(uW, Lo(l)); break;
    case WM_TIMECHANGE:         OnTimeChange(); break;
    case WM_CHAR:               OnChar(uW, Lo(l), Hi(l)); break;
    case WM_DEADCHAR:           OnDeadChar(uW, Lo(l), Hi(l)); break;
    case WM_KEYDOWN:            OnKeyDown(uW, Lo(l), Hi(l)); break;
    case WM_KEYUP:              OnKeyUp(uW, Lo(l), Hi(l)); break;
    case WM_LBUTTONDBLCLK:      OnLButtonDblClk(uW, X(l), Y(l)); break;
    case WM_LBUTTONDOWN:        OnLButtonDown(uW, X(l), Y(l)); break;
    case WM_LBUTTONUP:          OnLButtonUp(uW, X(l), Y(l)); break;
    case WM_MBUTTONDBLCLK:      OnMButtonDblClk(uW, X(l), Y(l)); break;
    case WM_MBUTTONDOWN:        OnMButtonDown(uW, X(l), Y(l)); break;
    case WM_MBUTTONUP:          OnMButtonUp(uW, X(l), Y(l)); break;
    case WM_MOUSEACTIVATE:      OnMouseActivate(Wnd(w), Lo(l), Hi(l)); break;
    case WM_MOUSEMOVE:          OnMouseMove(uW, X(l), Y(l)); break;
    case WM_RBUTTONDBLCLK:      OnRButtonDblClk(uW, X(l), Y(l)); break;
    case WM_RBUTTONDOWN:        OnRButtonDown(uW, X(l), Y(l)); break;
    case WM_RBUTTONUP:          OnRButtonUp(uW, X(l), Y(l)); break;
    case WM_TIMER:              OnTimer(static_cast<UINT_PTR>(w)); break;
    case WM_INITMENU:           OnInitMenu(reinterpret_cast<HMENU>(w)); break;
    case WM_INITMENUPOPUP:      OnInitMenuPopup(reinterpret_cast<HMENU>(w), Lo(l), Hi(l) != 0); break;
    case WM_ASKCBFORMATNAME:    OnAskCbFormatName(uW, Ptr<LPSTR>(l)); break;
    case WM_CHANGECBCHAIN:      OnChangeCbChain(Wnd(w), WndL(l)); break;
    case WM_DESTROYCLIPBOARD:   OnDestroyClipboard(); break;
    case WM_DRAWCLIPBOARD:      OnDrawClipboard(); break;
    case WM_HSCROLLCLIPBOARD:   OnHScrollClipboard(Wnd(w), Lo(l), Hi(l)); break;
    case WM_PAINTCLIPBOARD:     OnPaintClipboard(Wnd(w), Ptr<HGLOBAL>(l)); break;
    case WM_RENDERALLFORMATS:   OnRenderAllFormats(); break;
    case WM_RENDERFORMAT:       OnRenderFormat(uW); break;
    case WM_SIZECLIPBOARD:      OnSizeClipboard(Wnd(w), Ptr<HGLOBAL>(l)); break;
    case WM_VSCROLLCLIPBOARD:   OnVScrollClipboard(Wnd(w), Lo(l), Hi(l)); break;
    case WM_GETDLGCODE:         lResult = OnGetDlgCode(); break;
    case WM_MDIACTIVATE:
        OnMDIActivate(reinterpret_cast<HWND>(l) == m_hWnd, WndL(l), Wnd(w));
        break;
    case WM_DRAWITEM:           OnDrawItem(static_cast<int>(w), Ptr<tagDRAWITEMSTRUCT*>(l)); break;
    case WM_MEASUREITEM:        OnMeasureItem(static_cast<int>(w), Ptr<tagMEASUREITEMSTRUCT*>(l)); break;
    default:
        return FALSE;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

BOOL CTBWnd::OnCommand(WPARAM wParam, LPARAM)
{
    UINT nId = LOWORD(wParam);
    if (nId == 0)
        return FALSE;
    return OnCmdMsg(nId, static_cast<int>(HIWORD(wParam)));
}

BOOL CTBWnd::OnCmdMsg(UINT, int)
{
    return FALSE;
}

// The default bodies: the system's processing of the message being dispatched.
void CTBWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CTBWnd::OnActivate(UINT, CTBWnd*, BOOL) { Default(); }
void CTBWnd::OnCancelMode() { Default(); }
void CTBWnd::OnChildActivate() { Default(); }
void CTBWnd::OnClose() { Default(); }
int  CTBWnd::OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
void CTBWnd::OnDestroy() { Default(); }
void CTBWnd::OnEnable(BOOL) { Default(); }
void CTBWnd::OnEndSession(BOOL) { Default(); }
BOOL CTBWnd::OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
void CTBWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CTBWnd::OnIconEraseBkgnd(HDC) { Default(); }
void CTBWnd::OnKillFocus(CTBWnd*) { Default(); }
LRESULT CTBWnd::OnMenuChar(UINT, UINT, HMENU) { return Default(); }
int  CTBWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); return 0; }
void CTBWnd::OnMove(int, int) { Default(); }
void CTBWnd::OnPaint() { Default(); }
void CTBWnd::OnHScroll(UINT, UINT, CTBWnd*) { Default(); }
void CTBWnd::OnVScroll(UINT, UINT, CTBWnd*) { Default(); }
void CTBWnd::OnMouseWheel(UINT, short) { Default(); }
HCURSOR CTBWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
BOOL CTBWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
BOOL CTBWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
BOOL CTBWnd::OnQueryOpen() { return static_cast<BOOL>(Default()); }
BOOL CTBWnd::OnSetCursor(CTBWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CTBWnd::OnSetFocus(CTBWnd*) { Default(); }
void CTBWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CTBWnd::OnSize(UINT, int, int) { Default(); }
void CTBWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CTBWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CTBWnd::OnDropFiles(HANDLE) { Default(); }
void CTBWnd::OnPaletteIsChanging(CTBWnd*) { Default(); }
BOOL CTBWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CTBWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CTBWnd::OnNcCreate(LPCREATESTRUCTA) { return static_cast<BOOL>(Default()); }
LRESULT CTBWnd::OnNcHitTest(int, int) { return Default(); }
void CTBWnd::OnNcLButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnNcLButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnNcLButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnNcMButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnNcMButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnNcMButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnNcMouseMove(UINT, int, int) { Default(); }
void CTBWnd::OnNcPaint() { Default(); }
void CTBWnd::OnNcRButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnNcRButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnNcRButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CTBWnd::OnSysDeadChar(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnCompacting(UINT) { Default(); }
void CTBWnd::OnFontChange() { Default(); }
void CTBWnd::OnPaletteChanged(CTBWnd*) { Default(); }
void CTBWnd::OnSpoolerStatus(UINT, UINT) { Default(); }
void CTBWnd::OnTimeChange() { Default(); }
void CTBWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CTBWnd::OnLButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnLButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnLButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnMButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnMButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnMButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnMouseActivate(CTBWnd*, UINT, UINT) { Default(); }
void CTBWnd::OnMouseMove(UINT, int, int) { Default(); }
void CTBWnd::OnRButtonDblClk(UINT, int, int) { Default(); }
void CTBWnd::OnRButtonDown(UINT, int, int) { Default(); }
void CTBWnd::OnRButtonUp(UINT, int, int) { Default(); }
void CTBWnd::OnTimer(UINT_PTR) { Default(); }
void CTBWnd::OnInitMenu(HMENU) { Default(); }
void CTBWnd::OnInitMenuPopup(HMENU, UINT, BOOL) { Default(); }
void CTBWnd::OnAskCbFormatName(UINT, LPSTR) { Default(); }
void CTBWnd::OnChangeCbChain(CTBWnd*, CTBWnd*) { Default(); }
void CTBWnd::OnDestroyClipboard() { Default(); }
void CTBWnd::OnDrawClipboard() { Default(); }
void CTBWnd::OnHScrollClipboard(CTBWnd*, UINT, UINT) { Default(); }
void CTBWnd::OnPaintClipboard(CTBWnd*, HGLOBAL) { Default(); }
void CTBWnd::OnRenderAllFormats() { Default(); }
void CTBWnd::OnRenderFormat(UINT) { Default(); }
void CTBWnd::OnSizeClipboard(CTBWnd*, HGLOBAL) { Default(); }
void CTBWnd::OnVScrollClipboard(CTBWnd*, UINT, UINT) { Default(); }
UINT CTBWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CTBWnd::OnMDIActivate(BOOL, CTBWnd*, CTBWnd*) { Default(); }
void CTBWnd::OnDrawItem(int, tagDRAWITEMSTRUCT*) { Default(); }
void CTBWnd::OnMeasureItem(int, tagMEASUREITEMSTRUCT*) { Default(); }

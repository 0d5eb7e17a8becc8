// Dialogs from templates: creation, the modal run, EndDialog, the default dialog procedure,
// dialog units and the calls that reach controls by id.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/LineHandling.h"

TbDialogState::~TbDialogState()
{
    if (bOwnFont && hFont)
        DeleteObject(hFont);
}

BOOL TbIsDialog(HWND hWnd)
{
    return TbFindClassState<TbDialogState>(hWnd) != nullptr;
}

// The base units of a font: a quarter of the average width of the letters (rounded) and the height.
static void MeasureBaseUnits(HFONT hFont, int* pcx, int* pcy)
{
    static const char s_szLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC hdc = GetDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, s_szLetters, 52, &size);
    TEXTMETRICA tm = {};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);
    *pcx = std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
    *pcy = std::max(1, static_cast<int>(tm.tmHeight));
}

LONG GetDialogBaseUnits()
{
    int cx = 0, cy = 0;
    MeasureBaseUnits(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &cx, &cy);
    return MAKELONG(cx, cy);
}

static TbDialogState* DialogState(HWND hDlg)
{
    TbDialogState* pState = TbClassStateOf<TbDialogState>(hDlg);
    if (pState && pState->cxBase == 0) {
        LONG lUnits = GetDialogBaseUnits();
        pState->cxBase = LOWORD(lUnits);
        pState->cyBase = HIWORD(lUnits);
    }
    return pState;
}

BOOL MapDialogRect(HWND hDlg, LPRECT pRect)
{
    TbDialogState* pState = TbFindClassState<TbDialogState>(hDlg);
    if (!pState || !pRect)
        return FALSE;
    pRect->left = MulDiv(pRect->left, pState->cxBase, 4);
    pRect->right = MulDiv(pRect->right, pState->cxBase, 4);
    pRect->top = MulDiv(pRect->top, pState->cyBase, 8);
    pRect->bottom = MulDiv(pRect->bottom, pState->cyBase, 8);
    return TRUE;
}

// ---- creation ----

static HFONT TemplateFont(const TBDLGTEMPLATE& tpl)
{
    if (!(tpl.dwStyle & DS_SETFONT) || tpl.strFace.empty() || tpl.nPointSize <= 0)
        return nullptr;
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(tpl.nPointSize, 96, 72);
    lf.lfWeight = tpl.nWeight;
    lf.lfItalic = tpl.bItalic ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(tpl.nCharSet);
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", tpl.strFace.c_str());
    return CreateFontIndirectA(&lf);
}

// Where a dialog goes: a child in its parent's client; a top-level one relative to its owner's
// client (DS_ABSALIGN: the screen), centred on the owner (or the screen) with DS_CENTER or on the
// pointer with DS_CENTERMOUSE, and then kept whole on the screen. A modal frame whose template
// names no place (0, 0) is centred on its owner too, as the class library centres its dialogs:
// never at the corner over the owner's menu bar.
static RECT PlaceDialog(const TBDLGTEMPLATE& tpl, HWND hParent, int cxBase, int cyBase)
{
    RECT rc = {MulDiv(tpl.x, cxBase, 4), MulDiv(tpl.y, cyBase, 8), 0, 0};
    rc.right = rc.left + MulDiv(tpl.cx, cxBase, 4);
    rc.bottom = rc.top + MulDiv(tpl.cy, cyBase, 8);
    if (tpl.dwStyle & WS_CHILD)
        return rc;
    SIZE screen = {1024, 768};
    TbGetDisplay()->GetScreenSize(&screen);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    POINT ptCentre = {-1, -1};
    const BOOL bCentre = (tpl.dwStyle & DS_CENTER) ||
                         ((tpl.dwStyle & DS_MODALFRAME) && !(tpl.dwStyle & DS_ABSALIGN) && tpl.x == 0 && tpl.y == 0);
    if (tpl.dwStyle & DS_CENTERMOUSE) {
        GetCursorPos(&ptCentre);
    } else if (bCentre) {
        // Without an owner: over the window the user works in, whose dialog it is on the display.
        RECT rcArea = {0, 0, screen.cx, screen.cy};
        if (HWND hOver = hParent ? hParent : GetActiveWindow())
            GetWindowRect(hOver, &rcArea);
        ptCentre = POINT{(rcArea.left + rcArea.right) / 2, (rcArea.top + rcArea.bottom) / 2};
    } else if (hParent && !(tpl.dwStyle & DS_ABSALIGN)) {
        POINT pt = {0, 0};
        ClientToScreen(hParent, &pt);
        OffsetRect(&rc, pt.x, pt.y);
    }
    if (bCentre || (tpl.dwStyle & DS_CENTERMOUSE))
        rc.left = ptCentre.x - cx / 2, rc.top = ptCentre.y - cy / 2;
    rc.left = std::max<LONG>(0, std::min<LONG>(rc.left, screen.cx - cx));
    rc.top = std::max<LONG>(0, std::min<LONG>(rc.top, screen.cy - cy));
    rc.right = rc.left + cx;
    rc.bottom = rc.top + cy;
    return rc;
}

static BOOL CreateControls(HWND hDlg, const TBDLGTEMPLATE& tpl, HINSTANCE hInstance, HFONT hFont)
{
    for (const TBDLGITEMTEMPLATE& item : tpl.items) {
        TbDialogState* pState = TbFindClassState<TbDialogState>(hDlg);
        if (!pState)
            return FALSE;
        RECT rc = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(hDlg, &rc);
        HWND hCtl = CreateWindowExA(item.dwExStyle | WS_EX_NOPARENTNOTIFY, item.strClass.c_str(), item.strText.c_str(),
                                    (item.dwStyle | WS_CHILD) & ~WS_POPUP, rc.left, rc.top, rc.right - rc.left,
                                    rc.bottom - rc.top, hDlg,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.nId)), hInstance, nullptr);
        if (!hCtl) {
            if (tpl.dwStyle & DS_NOFAILCREATE)
                continue;
            fprintf(stderr, "dialog control %d of class %s cannot be created\n", item.nId, item.strClass.c_str());
            return FALSE;
        }
        if ((pState = TbFindClassState<TbDialogState>(hDlg)) == nullptr)
            return FALSE;
        if (pState->nDefId == 0 && (SendMessageA(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            pState->nDefId = item.nId;
        if (hFont)
            SendMessageA(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    }
    return TRUE;
}

HWND CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA pTemplate, HWND hWndParent, DLGPROC pfnDialog,
                                LPARAM lInit)
{
    if (!pTemplate)
        return nullptr;
    TbRegisterControlClasses();
    const TBDLGTEMPLATE& tpl = *pTemplate;
    HFONT hFont = TemplateFont(tpl);
    int cxBase = 0, cyBase = 0;
    MeasureBaseUnits(hFont ? hFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &cxBase, &cyBase);
    const RECT rc = PlaceDialog(tpl, hWndParent, cxBase, cyBase);
    HMENU hMenu = nullptr;
    if (!tpl.strMenu.empty() && !(tpl.dwStyle & WS_CHILD))
        hMenu = LoadMenuA(hInstance, tpl.strMenu[0] == '#'
            ? MAKEINTRESOURCEA(std::atoi(tpl.strMenu.c_str() + 1)) : tpl.strMenu.c_str());
    // A modal frame is an extended style of the window, which the display draws as a dialog's.
    const DWORD dwExStyle = tpl.dwExStyle | ((tpl.dwStyle & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    HWND hDlg = CreateWindowExA(dwExStyle, tpl.strClass.empty() ? WC_DIALOGA : tpl.strClass.c_str(),
                                tpl.strCaption.c_str(), tpl.dwStyle & ~WS_VISIBLE, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, hWndParent, hMenu, hInstance, nullptr);
    if (!hDlg) {
        if (hFont)
            DeleteObject(hFont);
        if (hMenu)
            DestroyMenu(hMenu);
        return nullptr;
    }
    SetWindowLongPtrA(hDlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pfnDialog));
    TbDialogState* pState = TbClassStateOf<TbDialogState>(hDlg);
    if (!pState) {
        if (hFont)
            DeleteObject(hFont);
        return nullptr;
    }
    pState->hFont = hFont;
    pState->bOwnFont = hFont != nullptr;
    pState->cxBase = cxBase;
    pState->cyBase = cyBase;
    if (hFont)
        SendMessageA(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    if (!IsWindow(hDlg) || !CreateControls(hDlg, tpl, hInstance, hFont)) {
        DestroyWindow(hDlg);
        return nullptr;
    }
    HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    const LRESULT lFocus = SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), lInit);
    if (!IsWindow(hDlg))
        return nullptr;
    // TRUE asks the dialog manager to focus the first tab stop; FALSE means the procedure did.
    if (lFocus && hFirst && IsWindow(hFirst))
        SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hFirst), TRUE);
    pState = TbFindClassState<TbDialogState>(hDlg);
    if (pState && !pState->bEnded && (tpl.dwStyle & WS_VISIBLE))
        ShowWindow(hDlg, SW_SHOWNORMAL);
    return IsWindow(hDlg) ? hDlg : nullptr;
}

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR pszTemplate, HWND hWndParent, DLGPROC pfnDialog, LPARAM lInit)
{
    return CreateDialogIndirectParamA(hInstance, TbFindDialogTemplate(hInstance, pszTemplate), hWndParent, pfnDialog,
                                      lInit);
}

// ---- the modal run ----

INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA pTemplate, HWND hWndParent, DLGPROC pfnDialog,
                                LPARAM lInit)
{
    // A modal dialog is owned by its parent's top-level window, which the run disables.
    HWND hOwner = hWndParent ? GetAncestor(hWndParent, GA_ROOT) : nullptr;
    if (!pTemplate || (pTemplate->dwStyle & WS_CHILD))
        return -1;
    TbCheckModalStart("dialog");
    HWND hDlg = CreateDialogIndirectParamA(hInstance, pTemplate, hOwner, pfnDialog, lInit);
    if (!hDlg)
        return -1;
    INT_PTR nResult = -1;
    auto fnEnded = [hDlg, &nResult]() -> BOOL {
        TbDialogState* pState = TbFindClassState<TbDialogState>(hDlg);
        if (!pState)
            return TRUE;
        if (pState->bEnded)
            nResult = pState->nResult;
        return pState->bEnded;
    };
    if (!fnEnded()) {
        if (!IsWindowVisible(hDlg))
            ShowWindow(hDlg, SW_SHOWNORMAL);
        TbRunModalLoop(hOwner, fnEnded, [hDlg](MSG* pMsg) { return IsDialogMessageA(hDlg, pMsg); });
    }
    if (IsWindow(hDlg)) {
        SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (hOwner && IsWindow(hOwner) && GetActiveWindow() == hDlg)
            SetActiveWindow(hOwner);
        DestroyWindow(hDlg);
    }
    return nResult;
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR pszTemplate, HWND hWndParent, DLGPROC pfnDialog, LPARAM lInit)
{
    return DialogBoxIndirectParamA(hInstance, TbFindDialogTemplate(hInstance, pszTemplate), hWndParent, pfnDialog,
                                   lInit);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    TbDialogState* pState = TbFindClassState<TbDialogState>(hDlg);
    if (!pState)
        return FALSE;
    pState->bEnded = TRUE;
    pState->nResult = nResult;
    // The modal loop looks at the flag after each message; this one wakes it when the call
    // came from outside a message (a timer procedure, another thread's wake).
    PostMessageA(hDlg, WM_NULL, 0, 0);
    return TRUE;
}

// ---- the default dialog procedure ----

static LRESULT OnEraseBkgnd(HWND hDlg, HDC hdc)
{
    HBRUSH hbr = reinterpret_cast<HBRUSH>(SendMessageA(hDlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc),
                                                       reinterpret_cast<LPARAM>(hDlg)));
    if (!hbr)
        hbr = reinterpret_cast<HBRUSH>(DefWindowProcA(hDlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc),
                                                      reinterpret_cast<LPARAM>(hDlg)));
    RECT rc;
    GetClientRect(hDlg, &rc);
    FillRect(hdc, &rc, hbr);
    return 1;
}

static LRESULT OnSetDefId(HWND hDlg, int nId)
{
    TbDialogState* pState = DialogState(hDlg);
    if (!pState)
        return FALSE;
    pState->nDefId = nId;
    HWND hFocus = GetFocus();
    TbDlgShowDefaultButton(hDlg, IsChild(hDlg, hFocus) ? hFocus : nullptr);
    return TRUE;
}

static LRESULT OnGetDefId(HWND hDlg)
{
    TbDialogState* pState = DialogState(hDlg);
    return pState && pState->nDefId ? MAKELRESULT(pState->nDefId, DC_HASDEFID) : 0;
}

// Focus to a control: with Tab or WM_NEXTDLGCTL an edit's whole text is selected, so typing
// replaces it; a push button with the focus looks like the default one.
static LRESULT OnNextDlgCtl(HWND hDlg, WPARAM wParam, LPARAM lParam)
{
    HWND hNext;
    if (LOWORD(lParam)) {
        hNext = reinterpret_cast<HWND>(wParam);
    } else {
        HWND hFocus = GetFocus();
        hNext = GetNextDlgTabItem(hDlg, IsChild(hDlg, hFocus) ? hFocus : nullptr, wParam != 0);
    }
    if (!hNext || !IsChild(hDlg, hNext))
        return 0;
    SetFocus(hNext);
    if (GetFocus() == hNext && (SendMessageA(hNext, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageA(hNext, EM_SETSEL, 0, -1);
    return 0;
}

static void RestoreFocus(HWND hDlg)
{
    TbDialogState* pState = DialogState(hDlg);
    if (!pState)
        return;
    HWND hFocus = pState->hFocusSaved;
    if (!hFocus || !IsChild(hDlg, hFocus) || !IsWindowEnabled(hFocus) || !IsWindowVisible(hFocus))
        hFocus = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    if (hFocus && hFocus != GetFocus())
        SetFocus(hFocus);
}

// Every dialog holding the new focus remembers it: a dialog inside another window (a form in a
// document window) gets no activation of its own, and must still give the keys back to the field
// the trader was in when its window comes back, after a box or a review over it.
void TbDialogsNoteFocus(HWND hFocus)
{
    if ((GetWindowLongA(hFocus, GWL_STYLE) & WS_CHILD) == 0)
        return;
    for (HWND hAncestor = GetParent(hFocus); hAncestor != nullptr; hAncestor = GetParent(hAncestor)) {
        if (TbDialogState* pState = TbFindClassState<TbDialogState>(hAncestor))
            pState->hFocusSaved = hFocus;
        if ((GetWindowLongA(hAncestor, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
}

static LRESULT OnActivate(HWND hDlg, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND hFocus = GetFocus();
        if (TbDialogState* pState = DialogState(hDlg))
            if (IsChild(hDlg, hFocus))
                pState->hFocusSaved = hFocus;
    } else if (!HIWORD(wParam)) {
        HWND hFocus = GetFocus();
        if (!IsChild(hDlg, hFocus))
            RestoreFocus(hDlg);
    }
    return 0;
}

static LRESULT OnClose(HWND hDlg)
{
    // Closing is Cancel, unless the Cancel button is disabled.
    HWND hCancel = GetDlgItem(hDlg, IDCANCEL);
    if (hCancel && !IsWindowEnabled(hCancel)) {
        MessageBeep(0);
        return 0;
    }
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(hCancel));
    return 0;
}

// Messages whose answer is what the dialog procedure returns itself, not DWLP_MSGRESULT.
static bool AnswersDirectly(UINT uMsg)
{
    return (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC) || uMsg == WM_COMPAREITEM ||
           uMsg == WM_VKEYTOITEM || uMsg == WM_CHARTOITEM || uMsg == WM_QUERYDRAGICON || uMsg == WM_INITDIALOG;
}

LRESULT DefDlgProcA(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!TbFindWindow(hDlg))
        return 0;
    DLGPROC pfnDialog = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hDlg, DWLP_DLGPROC));
    if (pfnDialog) {
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
        INT_PTR nHandled = 0;
        try {
            nHandled = pfnDialog(hDlg, uMsg, wParam, lParam);
        } catch (...) {
            fprintf(stderr, "dialog procedure failed on message 0x%04x\n", uMsg);
            nHandled = 0;
        }
        if (!TbFindWindow(hDlg))
            return 0;
        if (nHandled)
            return AnswersDirectly(uMsg) ? nHandled : GetWindowLongPtrA(hDlg, DWLP_MSGRESULT);
    }
    switch (uMsg) {
    case WM_INITDIALOG:  return 0;
    case WM_ERASEBKGND:  return OnEraseBkgnd(hDlg, reinterpret_cast<HDC>(wParam));
    case WM_SETFONT:
        if (TbDialogState* pState = DialogState(hDlg))
            pState->hFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT: {
        TbDialogState* pState = DialogState(hDlg);
        return pState ? reinterpret_cast<LRESULT>(pState->hFont) : 0;
    }
    case DM_SETDEFID:    return OnSetDefId(hDlg, static_cast<int>(wParam));
    case DM_GETDEFID:    return OnGetDefId(hDlg);
    case WM_NEXTDLGCTL:  return OnNextDlgCtl(hDlg, wParam, lParam);
    case WM_ACTIVATE:    return OnActivate(hDlg, wParam);
    case WM_SETFOCUS:    RestoreFocus(hDlg); return 0;
    case WM_CLOSE:       return OnClose(hDlg);
    case WM_GETDLGCODE:  return 0;
    }
    return DefWindowProcA(hDlg, uMsg, wParam, lParam);
}

// ---- controls by id ----

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR pszString)
{
    HWND hCtl = GetDlgItem(hDlg, nIDDlgItem);
    return hCtl ? SetWindowTextA(hCtl, pszString) : FALSE;
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR pszString, int cchMax)
{
    if (pszString && cchMax > 0)
        pszString[0] = '\0';
    HWND hCtl = GetDlgItem(hDlg, nIDDlgItem);
    return hCtl ? static_cast<UINT>(GetWindowTextA(hCtl, pszString, cchMax)) : 0;
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    char szText[16];
    if (bSigned)
        std::snprintf(szText, sizeof szText, "%d", static_cast<int>(uValue));
    else
        std::snprintf(szText, sizeof szText, "%u", uValue);
    return SetDlgItemTextA(hDlg, nIDDlgItem, szText);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* pbTranslated, BOOL bSigned)
{
    if (pbTranslated)
        *pbTranslated = FALSE;
    char szText[64];
    HWND hCtl = GetDlgItem(hDlg, nIDDlgItem);
    if (!hCtl || GetWindowTextA(hCtl, szText, sizeof szText) >= static_cast<int>(sizeof szText) - 1)
        return 0;
    // Blanks around the number are allowed; anything else in it is not.
    const char* p = szText;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool bNegative = false;
    if (*p == '-' && bSigned) {
        bNegative = true;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    if (*p < '0' || *p > '9')
        return 0;
    unsigned long long ullValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        ullValue = ullValue * 10 + static_cast<unsigned>(*p - '0');
        if (ullValue > 0xFFFFFFFFULL)
            return 0;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p)
        return 0;
    if (bSigned && ullValue > (bNegative ? 0x80000000ULL : 0x7FFFFFFFULL))
        return 0;
    if (pbTranslated)
        *pbTranslated = TRUE;
    return bNegative ? static_cast<UINT>(-static_cast<long long>(ullValue)) : static_cast<UINT>(ullValue);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND hCtl = GetDlgItem(hDlg, nIDButton);
    if (!hCtl)
        return FALSE;
    SendMessageA(hCtl, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    HWND hCtl = GetDlgItem(hDlg, nIDButton);
    return hCtl ? static_cast<UINT>(SendMessageA(hCtl, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    if (!GetDlgItem(hDlg, nIDCheckButton))
        return FALSE;
    for (int nId = nIDFirstButton; nId <= nIDLastButton; ++nId)
        if (HWND hCtl = GetDlgItem(hDlg, nId))
            SendMessageA(hCtl, BM_SETCHECK, nId == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hCtl = GetDlgItem(hDlg, nIDDlgItem);
    return hCtl ? SendMessageA(hCtl, uMsg, wParam, lParam) : 0;
}

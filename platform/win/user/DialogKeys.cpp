// The dialog manager's keyboard: IsDialogMessage, the tab and group order, mnemonics and the
// default button's look.
#include <vector>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/VirtualKeys.h"

static std::vector<HWND> ChildrenOf(HWND hDlg)
{
    TbWindow* pDlg = TbFindWindow(hDlg);
    return pDlg ? pDlg->children : std::vector<HWND>();
}

// A control the keyboard may reach: shown (its own style; the dialog may still be hidden) and enabled.
static bool IsReachable(HWND hCtl)
{
    const LONG lStyle = GetWindowLongA(hCtl, GWL_STYLE);
    return (lStyle & WS_VISIBLE) && !(lStyle & WS_DISABLED);
}

static int IndexOf(const std::vector<HWND>& list, HWND hWnd)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == hWnd)
            return static_cast<int>(i);
    return -1;
}

// The control of hDlg's that hCtl is, or is inside (a combo box's edit).
static HWND DirectChild(HWND hDlg, HWND hCtl)
{
    while (hCtl && GetParent(hCtl) != hDlg)
        hCtl = GetParent(hCtl);
    return hCtl;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    const std::vector<HWND> list = ChildrenOf(hDlg);
    const int n = static_cast<int>(list.size());
    if (n == 0)
        return nullptr;
    hCtl = DirectChild(hDlg, hCtl);
    int nStart = IndexOf(list, hCtl);
    if (nStart < 0)
        nStart = bPrevious ? 0 : n - 1;     // from "before the first" (or "after the last")
    for (int k = 1; k <= n; ++k) {
        const int i = ((bPrevious ? nStart - k : nStart + k) % n + n) % n;
        if ((GetWindowLongA(list[static_cast<size_t>(i)], GWL_STYLE) & WS_TABSTOP) && IsReachable(list[static_cast<size_t>(i)]))
            return list[static_cast<size_t>(i)];
    }
    return hCtl;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    const std::vector<HWND> list = ChildrenOf(hDlg);
    hCtl = DirectChild(hDlg, hCtl);
    const int nAt = IndexOf(list, hCtl);
    if (nAt < 0)
        return list.empty() ? nullptr : list.front();
    // The group runs from the nearest WS_GROUP control at or before hCtl to the next one.
    int nFirst = nAt;
    while (nFirst > 0 && !(GetWindowLongA(list[static_cast<size_t>(nFirst)], GWL_STYLE) & WS_GROUP))
        --nFirst;
    int nEnd = nAt + 1;
    while (nEnd < static_cast<int>(list.size()) && !(GetWindowLongA(list[static_cast<size_t>(nEnd)], GWL_STYLE) & WS_GROUP))
        ++nEnd;
    const int nCount = nEnd - nFirst;
    for (int k = 1; k < nCount; ++k) {
        const int i = nFirst + (((nAt - nFirst) + (bPrevious ? -k : k)) % nCount + nCount) % nCount;
        if (IsReachable(list[static_cast<size_t>(i)]))
            return list[static_cast<size_t>(i)];
    }
    return hCtl;
}

static UINT DlgCode(HWND hCtl, const MSG* pMsg)
{
    return static_cast<UINT>(SendMessageA(hCtl, WM_GETDLGCODE, pMsg ? pMsg->wParam : 0, reinterpret_cast<LPARAM>(pMsg)));
}

void TbDlgShowDefaultButton(HWND hDlg, HWND hFocus)
{
    TbDialogState* pState = TbFindClassState<TbDialogState>(hDlg);
    if (!pState)
        return;
    HWND hLook = hFocus && (DlgCode(hFocus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
        ? hFocus : (pState->nDefId ? GetDlgItem(hDlg, pState->nDefId) : nullptr);
    for (HWND hCtl : ChildrenOf(hDlg)) {
        const UINT uCode = DlgCode(hCtl, nullptr);
        if (hCtl != hLook && (uCode & DLGC_DEFPUSHBUTTON))
            SendMessageA(hCtl, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        else if (hCtl == hLook && (uCode & DLGC_UNDEFPUSHBUTTON))
            SendMessageA(hCtl, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

// The character a control's text marks with '&' ("&&" is a plain '&'); 0 for none.
static int MnemonicOf(HWND hCtl)
{
    char szText[256];
    GetWindowTextA(hCtl, szText, sizeof szText);
    for (const char* p = szText; *p; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        return p[1] ? TbToUpper(static_cast<unsigned char>(p[1])) : 0;
    }
    return 0;
}

// The control of hDlg's marked with the character, searched from the one after hFrom; null for
// none. Only labels and buttons carry mnemonics; a disabled button's is dead, a label's still
// leads on.
static HWND FindMnemonic(HWND hDlg, HWND hFrom, int ch)
{
    const int nWanted = TbToUpper(static_cast<unsigned char>(ch));
    if (nWanted <= ' ')
        return nullptr;
    const std::vector<HWND> list = ChildrenOf(hDlg);
    const int n = static_cast<int>(list.size());
    const int nAt = IndexOf(list, DirectChild(hDlg, hFrom));
    for (int k = 1; k <= n; ++k) {
        HWND hCtl = list[static_cast<size_t>((nAt + k + n) % n)];
        const LONG lStyle = GetWindowLongA(hCtl, GWL_STYLE);
        if (!(lStyle & WS_VISIBLE))
            continue;
        const UINT uCode = DlgCode(hCtl, nullptr);
        if (!(uCode & (DLGC_STATIC | DLGC_BUTTON)) || (!(uCode & DLGC_STATIC) && (lStyle & WS_DISABLED)))
            continue;
        if (MnemonicOf(hCtl) == nWanted)
            return hCtl;
    }
    return nullptr;
}

// Alt+letter (or a plain letter on a control that takes no characters): the control marked with
// it. A label gives the focus to the control after it; a push button is clicked; a check box or
// radio button is focused and clicked; anything else is focused.
static BOOL DoMnemonic(HWND hDlg, HWND hFrom, int ch)
{
    HWND hCtl = FindMnemonic(hDlg, hFrom, ch);
    if (hCtl == nullptr)
        return FALSE;
    const std::vector<HWND> list = ChildrenOf(hDlg);
    const int n = static_cast<int>(list.size());
    const UINT uCode = DlgCode(hCtl, nullptr);
    if (uCode & DLGC_STATIC) {
        // The label names the next control that can take the focus.
        const int i = IndexOf(list, hCtl);
        for (int j = 1; j < n; ++j) {
            HWND hNext = list[static_cast<size_t>((i + j) % n)];
            if (IsReachable(hNext) && !(DlgCode(hNext, nullptr) & DLGC_STATIC)) {
                SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
                return TRUE;
            }
        }
        return TRUE;
    }
    if (!(uCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hCtl), TRUE);
    SendMessageA(hCtl, BM_CLICK, 0, 0);
    return TRUE;
}

BOOL TbFocusedDialogHasMnemonic(int ch)
{
    // The dialogs the focus lies in, up to its top-level window, which holds the menu bar.
    const HWND hFocus = GetFocus();
    for (HWND hDlg = hFocus != nullptr ? GetParent(hFocus) : nullptr; hDlg != nullptr && GetParent(hDlg) != nullptr;
         hDlg = GetParent(hDlg))
        if (FindMnemonic(hDlg, hFocus, ch) != nullptr)
            return TRUE;
    return FALSE;
}

static void PressButton(HWND hDlg, int nId)
{
    HWND hBtn = GetDlgItem(hDlg, nId);
    if (hBtn && !IsWindowEnabled(hBtn)) {
        MessageBeep(0);
        return;
    }
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(hBtn));
}

// Keys with a dialog meaning; FALSE leaves the key to the control.
static BOOL OnKeyDown(HWND hDlg, HWND hCtl, const MSG* pMsg)
{
    const UINT uCode = DlgCode(hCtl, pMsg);
    if (uCode & DLGC_WANTALLKEYS)
        return FALSE;
    switch (pMsg->wParam) {
    case VK_TAB:
        if (uCode & DLGC_WANTTAB)
            return FALSE;
        SendMessageA(hDlg, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return TRUE;
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
        if (uCode & DLGC_WANTARROWS)
            return FALSE;
        HWND hNext = GetNextDlgGroupItem(hDlg, hCtl, pMsg->wParam == VK_LEFT || pMsg->wParam == VK_UP);
        if (hNext && hNext != DirectChild(hDlg, hCtl)) {
            SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
            // Moving inside a group of radio buttons chooses the one moved to.
            if (DlgCode(hNext, nullptr) & DLGC_RADIOBUTTON)
                SendMessageA(hNext, BM_CLICK, 0, 0);
        }
        return TRUE;
    }
    case VK_RETURN: {
        int nId = IDOK;
        if (uCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            nId = GetDlgCtrlID(hCtl);
        } else {
            const LRESULT lDef = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
            if (HIWORD(lDef) == DC_HASDEFID)
                nId = LOWORD(lDef);
        }
        PressButton(hDlg, nId);
        return TRUE;
    }
    case VK_ESCAPE:
        PressButton(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

BOOL IsDialogMessageA(HWND hDlg, LPMSG pMsg)
{
    if (!pMsg || !TbFindWindow(hDlg))
        return FALSE;
    HWND hCtl = pMsg->hwnd;
    if (hCtl != hDlg && !IsChild(hDlg, hCtl))
        return FALSE;
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (OnKeyDown(hDlg, hCtl, pMsg))
            return TRUE;
        break;
    case WM_CHAR: {
        const UINT uCode = DlgCode(hCtl, pMsg);
        if (uCode & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))
            break;
        if (pMsg->wParam == '\t' && (uCode & DLGC_WANTTAB))
            break;
        // Tab, Enter and Escape did their work as keys; their characters go nowhere.
        if (pMsg->wParam == '\t' || pMsg->wParam == '\r' || pMsg->wParam == '\n' || pMsg->wParam == 27)
            return TRUE;
        if (DoMnemonic(hDlg, hCtl, static_cast<int>(pMsg->wParam)))
            return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (DoMnemonic(hDlg, hCtl, static_cast<int>(pMsg->wParam)))
            return TRUE;
        break;
    }
    TranslateMessage(pMsg);
    DispatchMessageA(pMsg);
    return TRUE;
}

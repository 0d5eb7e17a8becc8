// The "Edit" class, single line: typing, selection, the limit, undo of the last change, cut, copy
// and paste through the clipboard, password and read-only fields, left, centred or right alignment. Changes tell the parent
// EN_UPDATE then EN_CHANGE; focus changes EN_SETFOCUS and EN_KILLFOCUS, inside SetFocus.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct TbEditState : TbControlState {
    int  nAnchor = 0;               // selection: from the anchor to the caret, byte offsets
    int  nCaret = 0;
    int  nLimit = 0x7FFFFFFE;
    std::string strUndo;            // the text before the last change, and its caret
    int  nUndoCaret = 0;
    BOOL bCanUndo = FALSE;
    BOOL bModified = FALSE;
    char chPassword = 0;
    BOOL bFocus = FALSE;
    BOOL bTracking = FALSE;         // a drag selecting with the mouse
    int  nScroll = 0;               // pixels of text scrolled out at the left
};

const int EDIT_MARGIN = 3;

TbEditState* StateOf(HWND hWnd)
{
    TbEditState* pState = TbClassStateOf<TbEditState>(hWnd);
    if (pState && !pState->chPassword && (GetWindowLongA(hWnd, GWL_STYLE) & ES_PASSWORD))
        pState->chPassword = '*';
    return pState;
}

std::string& TextOf(HWND hWnd)
{
    static std::string s_strNone;
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd ? pWnd->strText : s_strNone;
}

int SelMin(const TbEditState& st) { return std::min(st.nAnchor, st.nCaret); }
int SelMax(const TbEditState& st) { return std::max(st.nAnchor, st.nCaret); }

// What is shown: the text, or as many password characters.
std::string ShownText(HWND hWnd, const TbEditState& st)
{
    const std::string& str = TextOf(hWnd);
    return st.chPassword ? std::string(str.size(), st.chPassword) : str;
}

bool IsReadOnly(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & ES_READONLY) != 0;
}

bool IsRightAligned(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & ES_RIGHT) || (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT);
}

// Right-to-left reading still lays a number ("2-7", "1,024.5") out left to right, as the
// bidirectional algorithm does with digits and one separator between two of them; the other
// characters run right to left. TRUE for each byte of such a number.
std::vector<bool> NumberBytes(const std::string& str)
{
    const size_t n = str.size();
    auto IsDigit = [&str, n](size_t i) { return i < n && str[i] >= '0' && str[i] <= '9'; };
    std::vector<bool> number(n, false);
    for (size_t i = 0; i < n; ++i)
        number[i] = IsDigit(i) || (i > 0 && IsDigit(i - 1) && IsDigit(i + 1) && str[i] != 0 && strchr("+-,./:", str[i]));
    return number;
}

// The left and right edge of byte nChar's character in a right-to-left line, from the text's left
// edge: the runs stand from the right in their order, a number's characters left to right in it.
void RtlCharEdges(HWND hWnd, HFONT hFont, const std::string& str, int nChar, int* pxLeft, int* pxRight)
{
    const int n = static_cast<int>(str.size());
    const std::vector<bool> number = NumberBytes(str);
    int xRight = TbTextWidth(hWnd, hFont, str.c_str(), n);      // the right edge of the next run
    for (int i = 0; i < n;) {
        int j = i;
        while (j < n && number[j] == number[i])
            ++j;
        const int cxRun = TbTextWidth(hWnd, hFont, str.c_str() + i, j - i);
        if (nChar < j) {
            const int cxBefore = TbTextWidth(hWnd, hFont, str.c_str() + i, nChar - i);
            const int cxThrough = TbTextWidth(hWnd, hFont, str.c_str() + i, nChar - i + 1);
            *pxLeft = number[i] ? xRight - cxRun + cxBefore : xRight - cxThrough;
            *pxRight = number[i] ? xRight - cxRun + cxThrough : xRight - cxBefore;
            return;
        }
        xRight -= cxRun;
        i = j;
    }
    *pxLeft = *pxRight = 0;
}

// The gap before a character is at its reading start: the right edge, a number's left one; the
// end is the far edge of the last character.
int RtlCaretX(HWND hWnd, HFONT hFont, const std::string& str, int nPos)
{
    const int n = static_cast<int>(str.size());
    const int nChar = std::min(nPos, n - 1);
    int xLeft = 0, xRight = 0;
    RtlCharEdges(hWnd, hFont, str, nChar, &xLeft, &xRight);
    const BOOL bNumber = NumberBytes(str)[static_cast<size_t>(nChar)];
    return (nPos < n) == static_cast<bool>(bNumber) ? xLeft : xRight;
}

// The x of the gap before byte nPos, in client pixels.
int XOfPos(HWND hWnd, const TbEditState& st, int nPos)
{
    const std::string strShown = ShownText(hWnd, st);
    HFONT hFont = TbControlFont(&st);
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int cxText = TbTextWidth(hWnd, hFont, strShown.c_str(), static_cast<int>(strShown.size()));
    const int cxBefore = TbTextWidth(hWnd, hFont, strShown.c_str(), nPos);
    const int cxRoom = rc.right - 2 * EDIT_MARGIN;
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    // Right-to-left reading runs from the right edge; an alignment places a text that fits.
    if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) {
        const int xRight = cxText <= cxRoom && !IsRightAligned(hWnd) ? EDIT_MARGIN + cxText : rc.right - EDIT_MARGIN;
        if (strShown.empty())
            return xRight + st.nScroll;
        return xRight - cxText + RtlCaretX(hWnd, hFont, strShown, nPos) + st.nScroll;
    }
    int xStart = EDIT_MARGIN;
    if (cxText <= cxRoom) {
        if (IsRightAligned(hWnd))
            xStart = rc.right - EDIT_MARGIN - cxText;
        else if (lStyle & ES_CENTER)
            xStart = EDIT_MARGIN + (cxRoom - cxText) / 2;
    }
    return xStart + cxBefore - st.nScroll;
}

int PosFromX(HWND hWnd, const TbEditState& st, int x)
{
    const int nLen = static_cast<int>(TextOf(hWnd).size());
    int nBest = 0, nBestDist = 0x7FFFFFFF;
    for (int i = 0; i <= nLen; ++i) {
        const int nDist = std::abs(XOfPos(hWnd, st, i) - x);
        if (nDist < nBestDist) {
            nBest = i;
            nBestDist = nDist;
        }
    }
    return nBest;
}

// Keeps the caret inside the field by scrolling the text.
void ScrollToCaret(HWND hWnd, TbEditState& st)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const bool bRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    for (int nGuard = 0; nGuard < 2; ++nGuard) {
        const int x = XOfPos(hWnd, st, st.nCaret);
        if (x < EDIT_MARGIN)
            st.nScroll += bRtl ? EDIT_MARGIN - x : -(EDIT_MARGIN - x);
        else if (x > rc.right - EDIT_MARGIN)
            st.nScroll += bRtl ? -(x - (rc.right - EDIT_MARGIN)) : x - (rc.right - EDIT_MARGIN);
        if (!bRtl && st.nScroll < 0)
            st.nScroll = 0;
        if (bRtl && st.nScroll > 0)
            st.nScroll = 0;
    }
}

void UpdateCaret(HWND hWnd, TbEditState& st)
{
    ScrollToCaret(hWnd, st);
    if (st.bFocus)
        SetCaretPos(XOfPos(hWnd, st, st.nCaret), EDIT_MARGIN - 1);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void SetSel(HWND hWnd, TbEditState& st, int nAnchor, int nCaret)
{
    const int nLen = static_cast<int>(TextOf(hWnd).size());
    st.nAnchor = std::clamp(nAnchor, 0, nLen);
    st.nCaret = std::clamp(nCaret, 0, nLen);
    UpdateCaret(hWnd, st);
}

// EN_UPDATE, the caret where the new text left it, then EN_CHANGE. The parent may destroy the
// field while it hears of the change: FALSE then, and nothing more is done.
BOOL NotifyTextChanged(HWND hWnd)
{
    TbNotifyParent(hWnd, EN_UPDATE);
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    UpdateCaret(hWnd, *pState);
    TbNotifyParent(hWnd, EN_CHANGE);
    return TRUE;
}

// Replaces the selection with the text, cut to the limit; EN_MAXTEXT when something was cut.
// FALSE when nothing could change.
BOOL ReplaceSel(HWND hWnd, std::string strInsert, BOOL bCanUndo)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    // One line: a pasted line break ends the text there.
    const size_t nBreak = strInsert.find_first_of("\r\n");
    if (nBreak != std::string::npos)
        strInsert.erase(nBreak);
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    for (char& ch : strInsert) {
        if (lStyle & ES_UPPERCASE)
            ch = static_cast<char>(TbToUpper(static_cast<unsigned char>(ch)));
        else if (lStyle & ES_LOWERCASE)
            ch = static_cast<char>(TbToLower(static_cast<unsigned char>(ch)));
    }
    std::string strText = TextOf(hWnd);
    const int nMin = SelMin(*pState), nMax = SelMax(*pState);
    const long long llRoom = static_cast<long long>(pState->nLimit) - (static_cast<long long>(strText.size()) - (nMax - nMin));
    bool bCut = false;
    if (static_cast<long long>(strInsert.size()) > std::max(0LL, llRoom)) {
        strInsert.erase(static_cast<size_t>(std::max(0LL, llRoom)));
        bCut = true;
    }
    if (strInsert.empty() && nMin == nMax) {
        if (bCut)
            TbNotifyParent(hWnd, EN_MAXTEXT);
        return FALSE;
    }
    if (bCanUndo) {
        pState->strUndo = strText;
        pState->nUndoCaret = pState->nCaret;
        pState->bCanUndo = TRUE;
    }
    strText.replace(static_cast<size_t>(nMin), static_cast<size_t>(nMax - nMin), strInsert);
    TextOf(hWnd) = strText;
    pState->nAnchor = pState->nCaret = nMin + static_cast<int>(strInsert.size());
    pState->bModified = TRUE;
    if (NotifyTextChanged(hWnd) && bCut)
        TbNotifyParent(hWnd, EN_MAXTEXT);
    return TRUE;
}

LRESULT OnSetText(HWND hWnd, LPCSTR pszText)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    TextOf(hWnd) = pszText ? pszText : "";
    pState->nAnchor = pState->nCaret = 0;
    pState->nScroll = 0;
    pState->bCanUndo = FALSE;
    pState->bModified = FALSE;
    NotifyTextChanged(hWnd);
    return TRUE;
}

LRESULT OnUndo(HWND hWnd)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState || !pState->bCanUndo || IsReadOnly(hWnd))
        return FALSE;
    // Undo of an undo puts the change back, as on the original.
    std::string strNow = TextOf(hWnd);
    const int nCaretNow = pState->nCaret;
    TextOf(hWnd) = pState->strUndo;
    pState->strUndo = strNow;
    pState->nAnchor = pState->nCaret = std::min(pState->nUndoCaret, static_cast<int>(TextOf(hWnd).size()));
    pState->nUndoCaret = nCaretNow;
    pState->bModified = TRUE;
    NotifyTextChanged(hWnd);
    return TRUE;
}

LRESULT OnClear(HWND hWnd)
{
    TbEditState* pState = StateOf(hWnd);
    if (pState && !IsReadOnly(hWnd) && SelMin(*pState) != SelMax(*pState))
        ReplaceSel(hWnd, std::string(), TRUE);
    return 0;
}

// The selection to the clipboard as CF_TEXT. A password field gives nothing away, as on the original.
LRESULT OnCopy(HWND hWnd)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState || pState->chPassword || SelMin(*pState) == SelMax(*pState))
        return 0;
    const std::string strSel = TextOf(hWnd).substr(static_cast<size_t>(SelMin(*pState)),
                                                   static_cast<size_t>(SelMax(*pState) - SelMin(*pState)));
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, strSel.size() + 1);
    char* pszMem = hMem ? static_cast<char*>(GlobalLock(hMem)) : nullptr;
    if (!pszMem) {
        if (hMem)
            GlobalFree(hMem);
        return 0;
    }
    std::memcpy(pszMem, strSel.c_str(), strSel.size() + 1);
    GlobalUnlock(hMem);
    if (!OpenClipboard(hWnd)) {
        GlobalFree(hMem);
        return 0;
    }
    EmptyClipboard();
    // Once set the block is the clipboard's; only a refusal leaves it ours to free.
    if (!SetClipboardData(CF_TEXT, hMem))
        GlobalFree(hMem);
    CloseClipboard();
    return 0;
}

LRESULT OnCut(HWND hWnd)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState || pState->chPassword || IsReadOnly(hWnd))
        return 0;
    OnCopy(hWnd);
    return OnClear(hWnd);
}

// The clipboard's text replaces the selection, with the limit, the case styles and undo of typing.
LRESULT OnPaste(HWND hWnd)
{
    if (IsReadOnly(hWnd) || !OpenClipboard(hWnd))
        return 0;
    std::string strText;
    if (HANDLE hMem = GetClipboardData(CF_TEXT)) {
        if (const char* pszMem = static_cast<const char*>(GlobalLock(hMem))) {
            // The block's size bounds the read: a text without its terminator stops at the end.
            strText.assign(pszMem, strnlen(pszMem, GlobalSize(hMem)));
            GlobalUnlock(hMem);
        }
    }
    CloseClipboard();
    if (!strText.empty())
        ReplaceSel(hWnd, strText, TRUE);
    return 0;
}

// Word steps for Ctrl+arrows: over blanks, then over the word.
int WordStep(const std::string& str, int nPos, int nDir)
{
    const int nLen = static_cast<int>(str.size());
    auto isBlank = [&](int i) { return str[static_cast<size_t>(i)] == ' '; };
    if (nDir > 0) {
        while (nPos < nLen && !isBlank(nPos))
            ++nPos;
        while (nPos < nLen && isBlank(nPos))
            ++nPos;
    } else {
        while (nPos > 0 && isBlank(nPos - 1))
            --nPos;
        while (nPos > 0 && !isBlank(nPos - 1))
            --nPos;
    }
    return nPos;
}

LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    // Inside a combo box the list's keys are the combo's.
    if (TbComboEditKey(hWnd, WM_KEYDOWN, wParam, 0))
        return 0;
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    TbEditState& st = *pState;
    const bool bShift = GetKeyState(VK_SHIFT) < 0, bCtrl = GetKeyState(VK_CONTROL) < 0;
    const std::string& str = TextOf(hWnd);
    const int nLen = static_cast<int>(str.size());
    // Right-to-left reading turns the arrows round: Left goes on in the text.
    const bool bRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    int nTo = -1;
    switch (wParam) {
    case VK_LEFT:
    case VK_RIGHT: {
        const int nDir = ((wParam == VK_RIGHT) != bRtl) ? 1 : -1;
        if (!bShift && SelMin(st) != SelMax(st) && !bCtrl)
            nTo = nDir > 0 ? SelMax(st) : SelMin(st);
        else
            nTo = bCtrl ? WordStep(str, st.nCaret, nDir) : std::clamp(st.nCaret + nDir, 0, nLen);
        break;
    }
    case VK_HOME: nTo = 0; break;
    case VK_END:  nTo = nLen; break;
    case VK_DELETE:
        if (IsReadOnly(hWnd))
            return 0;
        if (bShift)
            return OnCut(hWnd);
        if (SelMin(st) == SelMax(st)) {
            if (st.nCaret >= nLen)
                return 0;
            st.nAnchor = st.nCaret + 1;
        }
        ReplaceSel(hWnd, std::string(), TRUE);
        return 0;
    case VK_INSERT:
        if (bShift && !IsReadOnly(hWnd))
            SendMessageA(hWnd, WM_PASTE, 0, 0);
        else if (bCtrl)
            SendMessageA(hWnd, WM_COPY, 0, 0);
        return 0;
    default:
        return 0;
    }
    SetSel(hWnd, st, bShift ? st.nAnchor : nTo, nTo);
    return 0;
}

LRESULT OnChar(HWND hWnd, WPARAM wParam)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const unsigned char ch = static_cast<unsigned char>(wParam);
    switch (ch) {
    case 1:  SetSel(hWnd, *pState, 0, static_cast<int>(TextOf(hWnd).size())); return 0;  // Ctrl+A
    case 3:  SendMessageA(hWnd, WM_COPY, 0, 0); return 0;
    case 22: SendMessageA(hWnd, WM_PASTE, 0, 0); return 0;
    case 24: SendMessageA(hWnd, WM_CUT, 0, 0); return 0;
    case 26: SendMessageA(hWnd, WM_UNDO, 0, 0); return 0;
    }
    if (IsReadOnly(hWnd)) {
        MessageBeep(0);
        return 0;
    }
    if (ch == '\b') {
        if (SelMin(*pState) == SelMax(*pState)) {
            if (pState->nCaret == 0)
                return 0;
            pState->nAnchor = pState->nCaret - 1;
        }
        ReplaceSel(hWnd, std::string(), TRUE);
        return 0;
    }
    if (ch < ' ' || ch == 0x7F)
        return 0;
    if ((GetWindowLongA(hWnd, GWL_STYLE) & ES_NUMBER) && (ch < '0' || ch > '9')) {
        MessageBeep(0);
        return 0;
    }
    ReplaceSel(hWnd, std::string(1, static_cast<char>(ch)), TRUE);
    return 0;
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    pState->bFocus = bFocus;
    if (bFocus) {
        CreateCaret(hWnd, nullptr, 1, TbFontHeight(TbControlFont(pState)));
        UpdateCaret(hWnd, *pState);
        ShowCaret(hWnd);
    } else {
        DestroyCaret();
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    TbNotifyParent(hWnd, bFocus ? EN_SETFOCUS : EN_KILLFOCUS);
    return 0;
}

LRESULT OnLButtonDown(HWND hWnd, LPARAM lParam)
{
    if (GetFocus() != hWnd)
        SetFocus(hWnd);
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int nPos = PosFromX(hWnd, *pState, GET_X_LPARAM(lParam));
    SetSel(hWnd, *pState, GetKeyState(VK_SHIFT) < 0 ? pState->nAnchor : nPos, nPos);
    pState->bTracking = TRUE;
    SetCapture(hWnd);
    return 0;
}

LRESULT OnMouseMove(HWND hWnd, LPARAM lParam)
{
    TbEditState* pState = StateOf(hWnd);
    if (pState && pState->bTracking && GetCapture() == hWnd)
        SetSel(hWnd, *pState, pState->nAnchor, PosFromX(hWnd, *pState, GET_X_LPARAM(lParam)));
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd)
{
    TbEditState* pState = StateOf(hWnd);
    if (pState && pState->bTracking) {
        pState->bTracking = FALSE;
        if (GetCapture() == hWnd)
            ReleaseCapture();
    }
    return 0;
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbEditState* pState = StateOf(hWnd);
    if (!hdc || !pState)
        return 0;
    const TbEditState& st = *pState;
    RECT rc;
    GetClientRect(hWnd, &rc);
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    HGDIOBJ hOldFont = SelectObject(hdc, TbControlFont(&st));
    // A field that cannot be typed in asks for the colours of a label, as on the original.
    const bool bStatic = (lStyle & (ES_READONLY | WS_DISABLED)) != 0;
    HBRUSH hbr = TbControlColors(hWnd, hdc, bStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(hdc, &rc, hbr);
    if (lStyle & WS_DISABLED)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    const std::string strShown = ShownText(hWnd, st);
    const int nLen = static_cast<int>(strShown.size());
    const bool bRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    RECT rcText = {EDIT_MARGIN, EDIT_MARGIN - 1, rc.right - EDIT_MARGIN, rc.bottom};
    HRGN hClip = CreateRectRgn(rcText.left, 0, rcText.right, rc.bottom);
    SelectClipRgn(hdc, hClip);
    SetBkMode(hdc, TRANSPARENT);
    // Right to left, the line's box: where its left edge lies as the carets place it.
    const int xText = nLen > 0 ? XOfPos(hWnd, st, nLen) - RtlCaretX(hWnd, TbControlFont(&st), strShown, nLen) : 0;
    RECT rcRun = {xText, rcText.top, xText + TbTextWidth(hWnd, TbControlFont(&st), strShown.c_str(), nLen), rcText.bottom};
    if (bRtl) {
        DrawTextA(hdc, strShown.c_str(), nLen, &rcRun, DT_SINGLELINE | DT_NOPREFIX | DT_RIGHT | DT_RTLREADING | DT_NOCLIP);
    } else {
        TextOutA(hdc, XOfPos(hWnd, st, 0), rcText.top, strShown.c_str(), nLen);
    }
    // The selection shows while the field has the focus (always with ES_NOHIDESEL).
    if (SelMin(st) != SelMax(st) && (st.bFocus || (lStyle & ES_NOHIDESEL))) {
        const int x1 = XOfPos(hWnd, st, SelMin(st)), x2 = XOfPos(hWnd, st, SelMax(st));
        const int cy = TbFontHeight(TbControlFont(&st));
        RECT rcSel = {std::min(x1, x2), rcText.top, std::max(x1, x2), rcText.top + cy};
        FillRect(hdc, &rcSel, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        const std::string strSel = strShown.substr(static_cast<size_t>(SelMin(st)), static_cast<size_t>(SelMax(st) - SelMin(st)));
        DrawTextA(hdc, strSel.c_str(), static_cast<int>(strSel.size()), &rcSel,
                  DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | (bRtl ? DT_RTLREADING | DT_RIGHT : 0u));
    }
    SelectClipRgn(hdc, nullptr);
    DeleteObject(hClip);
    if ((lStyle & WS_BORDER) || (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        TbDrawFrame3D(hdc, rc, TRUE);
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnGetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    if (DWORD* pdwStart = reinterpret_cast<DWORD*>(wParam))
        *pdwStart = static_cast<DWORD>(SelMin(*pState));
    if (DWORD* pdwEnd = reinterpret_cast<DWORD*>(lParam))
        *pdwEnd = static_cast<DWORD>(SelMax(*pState));
    return MAKELRESULT(SelMin(*pState), SelMax(*pState));
}

// EM_SETSEL: -1 as the start removes the selection; -1 (or past the end) as the end is the end.
LRESULT OnSetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int nLen = static_cast<int>(TextOf(hWnd).size());
    const int nStart = static_cast<int>(wParam), nEnd = static_cast<int>(lParam);
    if (nStart == -1) {
        SetSel(hWnd, *pState, pState->nCaret, pState->nCaret);
        return 0;
    }
    SetSel(hWnd, *pState, nStart < 0 ? nLen : nStart, nEnd < 0 ? nLen : nEnd);
    return 0;
}

LRESULT OnLimitText(HWND hWnd, WPARAM wParam)
{
    if (TbEditState* pState = StateOf(hWnd))
        pState->nLimit = wParam == 0 || wParam > 0x7FFFFFFE ? 0x7FFFFFFE : static_cast<int>(wParam);
    return 0;
}

LRESULT OnSetPasswordChar(HWND hWnd, WPARAM wParam)
{
    if (TbEditState* pState = StateOf(hWnd)) {
        pState->chPassword = static_cast<char>(wParam);
        const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
        // Clearing the character clears ES_PASSWORD, so it is not put back.
        SetWindowLongA(hWnd, GWL_STYLE, wParam ? (lStyle | ES_PASSWORD) : (lStyle & ~ES_PASSWORD));
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnSetReadOnly(HWND hWnd, WPARAM wParam)
{
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    SetWindowLongA(hWnd, GWL_STYLE, wParam ? (lStyle | ES_READONLY) : (lStyle & ~ES_READONLY));
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetLine(HWND hWnd, LPARAM lParam)
{
    char* pszBuffer = reinterpret_cast<char*>(lParam);
    if (!pszBuffer)
        return 0;
    // The buffer's size comes in its first word; the line is copied without a terminator.
    WORD cchMax = 0;
    std::memcpy(&cchMax, pszBuffer, sizeof cchMax);
    const std::string& str = TextOf(hWnd);
    const size_t n = std::min<size_t>(cchMax, str.size());
    std::memcpy(pszBuffer, str.data(), n);
    return static_cast<LRESULT>(n);
}

LRESULT OnCharFromPos(HWND hWnd, LPARAM lParam)
{
    TbEditState* pState = StateOf(hWnd);
    return pState ? PosFromX(hWnd, *pState, GET_X_LPARAM(lParam)) : 0;
}

LRESULT OnPosFromChar(HWND hWnd, WPARAM wParam)
{
    TbEditState* pState = StateOf(hWnd);
    if (!pState || wParam > TextOf(hWnd).size())
        return -1;
    return MAKELRESULT(XOfPos(hWnd, *pState, static_cast<int>(wParam)), EDIT_MARGIN - 1);
}

// The keys the field acts on with Ctrl or Shift held: select all, the clipboard, undo. A frame's
// accelerator on one of them does not take it from the field.
BOOL IsEditingKey(const MSG* pMsg)
{
    if (!pMsg || pMsg->message != WM_KEYDOWN)
        return FALSE;
    const bool bShift = GetKeyState(VK_SHIFT) < 0, bCtrl = GetKeyState(VK_CONTROL) < 0;
    switch (pMsg->wParam) {
    case 'A': case 'C': case 'V': case 'X': case 'Z':
        return bCtrl && !bShift;
    case VK_INSERT:
        return bCtrl != bShift;
    case VK_DELETE:
        return bShift && !bCtrl;
    default:
        return FALSE;
    }
}

LRESULT OnGetDlgCode(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    // A combo box's open list keeps Enter and Escape from the dialog.
    LRESULT lCode = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | TbComboEditDlgCode(hWnd, lParam);
    if (IsEditingKey(reinterpret_cast<const MSG*>(lParam)))
        lCode |= DLGC_WANTMESSAGE;
    return lCode;
}
}  // namespace

LRESULT CALLBACK TbEditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:      return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:         return OnPaint(hWnd);
    case WM_ERASEBKGND:    return 1;        // WM_PAINT fills with the parent's brush
    case WM_SETTEXT:       return OnSetText(hWnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_SETFONT:       return TbControlSetFont(hWnd, StateOf(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:       return TbControlGetFont(StateOf(hWnd));
    case WM_GETDLGCODE:    return OnGetDlgCode(hWnd, wParam, lParam);
    case WM_ENABLE:        InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:      return OnFocus(hWnd, TRUE);
    case WM_KILLFOCUS:     return OnFocus(hWnd, FALSE);
    case WM_KEYDOWN:       return OnKeyDown(hWnd, wParam);
    case WM_SYSKEYDOWN:    // Alt+Down opens a combo box's list
        if (TbComboEditKey(hWnd, uMsg, wParam, lParam))
            return 0;
        break;
    case WM_CHAR:          return OnChar(hWnd, wParam);
    case WM_LBUTTONDOWN:   return OnLButtonDown(hWnd, lParam);
    case WM_LBUTTONDBLCLK:
        // The second press of a double click on a field the keys left meanwhile (a Tab, the
        // program's own focus) is a press: the keys come back to the field clicked.
        if (GetFocus() != hWnd)
            return OnLButtonDown(hWnd, lParam);
        return OnChar(hWnd, 1);
    case WM_MOUSEMOVE:     return OnMouseMove(hWnd, lParam);
    case WM_LBUTTONUP:     return OnLButtonUp(hWnd);
    case WM_CUT:           return OnCut(hWnd);
    case WM_COPY:          return OnCopy(hWnd);
    case WM_PASTE:         return OnPaste(hWnd);
    case WM_CLEAR:         return OnClear(hWnd);
    case WM_UNDO:
    case EM_UNDO:          return OnUndo(hWnd);
    case EM_CANUNDO:       return StateOf(hWnd) ? StateOf(hWnd)->bCanUndo : FALSE;
    case EM_EMPTYUNDOBUFFER:
        if (TbEditState* pState = StateOf(hWnd))
            pState->bCanUndo = FALSE;
        return 0;
    case EM_GETSEL:        return OnGetSel(hWnd, wParam, lParam);
    case EM_SETSEL:        return OnSetSel(hWnd, wParam, lParam);
    case EM_REPLACESEL:    ReplaceSel(hWnd, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", wParam != 0); return 0;
    case EM_LIMITTEXT:     return OnLimitText(hWnd, wParam);
    case EM_GETLIMITTEXT:  return StateOf(hWnd) ? StateOf(hWnd)->nLimit : 0;
    case EM_GETMODIFY:     return StateOf(hWnd) ? StateOf(hWnd)->bModified : FALSE;
    case EM_SETMODIFY:
        if (TbEditState* pState = StateOf(hWnd))
            pState->bModified = wParam != 0;
        return 0;
    case EM_SETPASSWORDCHAR: return OnSetPasswordChar(hWnd, wParam);
    case EM_GETPASSWORDCHAR: return StateOf(hWnd) ? static_cast<unsigned char>(StateOf(hWnd)->chPassword) : 0;
    case EM_SETREADONLY:   return OnSetReadOnly(hWnd, wParam);
    case EM_GETLINECOUNT:  return 1;
    case EM_GETLINE:       return OnGetLine(hWnd, lParam);
    case EM_SCROLLCARET:
        if (TbEditState* pState = StateOf(hWnd))
            UpdateCaret(hWnd, *pState);
        return TRUE;
    case EM_CHARFROMPOS:   return OnCharFromPos(hWnd, lParam);
    case EM_POSFROMCHAR:   return OnPosFromChar(hWnd, wParam);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// The date picker "SysDateTimePick32" (DateTimePick.h): the format's fields laid out one after
// the other, the chosen one highlighted while the picker has the focus, an optional check box and
// a drop button. The date is always a real one: a day past the end of its month is pulled back
// when the month or the year changes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/DateTimePickFields.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
using namespace TbDateFields;

struct TbDateTimePickState : TbControlState {
    SYSTEMTIME st = {};
    BOOL bNone = FALSE;                 // DTS_SHOWNONE with the box unchecked
    std::vector<TbDateField> fields;
    int nCurrent = -1;                  // index into fields of the chosen one, -1 none
    int nTyped = 0;                     // digits typed into the chosen field so far
    int nTypedValue = 0;
    BOOL bFocus = FALSE;
};

const int CHECK_SIZE = 13;
const int GAP = 3;

TbDateTimePickState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbDateTimePickState>(hWnd);
}

std::string WholeText(const TbDateTimePickState& state)
{
    std::string str;
    for (const TbDateField& field : state.fields)
        str += FieldText(field, state.st);
    return str;
}

bool IsMirrored(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

bool HasCheck(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & DTS_SHOWNONE) != 0;
}

// Where the check box, the drop button and the text go; rcCheck is empty without DTS_SHOWNONE.
void Layout(HWND hWnd, RECT* prcCheck, RECT* prcButton, RECT* prcText)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    InflateRect(&rc, -2, -2);
    const bool bMirror = IsMirrored(hWnd);
    const int cxButton = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), std::max<LONG>(0, rc.right - rc.left));
    *prcButton = bMirror ? RECT{rc.left, rc.top, rc.left + cxButton, rc.bottom}
                         : RECT{rc.right - cxButton, rc.top, rc.right, rc.bottom};
    RECT rcRest = bMirror ? RECT{prcButton->right, rc.top, rc.right, rc.bottom}
                          : RECT{rc.left, rc.top, prcButton->left, rc.bottom};
    *prcCheck = RECT{0, 0, 0, 0};
    if (HasCheck(hWnd)) {
        const int nTop = rcRest.top + (rcRest.bottom - rcRest.top - CHECK_SIZE) / 2;
        const int nLeft = bMirror ? rcRest.right - GAP - CHECK_SIZE : rcRest.left + GAP;
        *prcCheck = RECT{nLeft, nTop, nLeft + CHECK_SIZE, nTop + CHECK_SIZE};
        if (bMirror)
            rcRest.right = prcCheck->left;
        else
            rcRest.left = prcCheck->right;
    }
    InflateRect(&rcRest, -GAP, 0);
    *prcText = rcRest;
}

// The left edge of each field and the text's right end, in client pixels.
std::vector<int> FieldEdges(HWND hWnd, const TbDateTimePickState& state, const RECT& rcText)
{
    HFONT hFont = TbControlFont(&state);
    std::vector<int> widths;
    int nTotal = 0;
    for (const TbDateField& field : state.fields) {
        const std::string str = FieldText(field, state.st);
        widths.push_back(TbTextWidth(hWnd, hFont, str.c_str(), static_cast<int>(str.size())));
        nTotal += widths.back();
    }
    int x = IsMirrored(hWnd) ? std::max<int>(rcText.left, rcText.right - nTotal) : rcText.left;
    std::vector<int> edges;
    for (int cx : widths) {
        edges.push_back(x);
        x += cx;
    }
    edges.push_back(x);
    return edges;
}

void Notify(HWND hWnd, const TbDateTimePickState& state)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pWnd->hParent)
        return;
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = hWnd;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(pWnd->nId);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = state.bNone ? GDT_NONE : GDT_VALID;
    if (!state.bNone)
        change.st = state.st;
    SendMessageA(pWnd->hParent, WM_NOTIFY, static_cast<WPARAM>(pWnd->nId), reinterpret_cast<LPARAM>(&change));
}

// A date the user made: the day kept inside its month, the parent told.
void UserChange(HWND hWnd, TbDateTimePickState& state, const SYSTEMTIME& st)
{
    SYSTEMTIME next = st;
    next.wYear = static_cast<WORD>(std::clamp<int>(next.wYear, MIN_YEAR, MAX_YEAR));
    next.wDay = static_cast<WORD>(std::min<int>(next.wDay, DaysInMonth(next.wYear, next.wMonth)));
    SetDayOfWeek(next);
    if (memcmp(&next, &state.st, sizeof next) == 0)
        return;
    state.st = next;
    InvalidateRect(hWnd, nullptr, TRUE);
    Notify(hWnd, state);
}


// Up and Down step the chosen field, wrapping at its ends (the year stops at them).
void StepField(HWND hWnd, TbDateTimePickState& state, int nBy)
{
    if (state.nCurrent < 0)
        return;
    const TbDateField& field = state.fields[static_cast<size_t>(state.nCurrent)];
    int nMin = 0, nMax = 0;
    FieldRange(field, state.st, &nMin, &nMax);
    int nValue = FieldValue(field, state.st) + nBy;
    if (field.kind == FIELD_YEAR)
        nValue = std::clamp(nValue, nMin, nMax);
    else if (nValue > nMax)
        nValue = nMin;
    else if (nValue < nMin)
        nValue = nMax;
    state.nTyped = 0;
    UserChange(hWnd, state, WithValue(field, state.st, nValue));
}

// The next editable field from nFrom in direction nDir, or nFrom when there is none.
int NextField(const TbDateTimePickState& state, int nFrom, int nDir)
{
    const int nCount = static_cast<int>(state.fields.size());
    for (int i = nFrom + nDir; i >= 0 && i < nCount; i += nDir)
        if (IsEditable(state.fields[static_cast<size_t>(i)].kind))
            return i;
    return nFrom;
}

void Choose(HWND hWnd, TbDateTimePickState& state, int nField)
{
    state.nTyped = 0;
    if (nField != state.nCurrent) {
        state.nCurrent = nField;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
}

// Typed digits build the chosen field's value, each digit applied at once; a value that can take
// no further digit starts over with the next one.
void TypeDigit(HWND hWnd, TbDateTimePickState& state, int nDigit)
{
    if (state.nCurrent < 0)
        return;
    const TbDateField& field = state.fields[static_cast<size_t>(state.nCurrent)];
    if (field.kind == FIELD_AMPM || (field.kind == FIELD_MONTH && field.nLetters >= 3))
        return;
    int nMin = 0, nMax = 0;
    FieldRange(field, state.st, &nMin, &nMax);
    const int nDigits = field.kind == FIELD_YEAR ? 4 : 2;
    int nValue = state.nTyped > 0 ? state.nTypedValue * 10 + nDigit : nDigit;
    int nTyped = state.nTyped + 1;
    if (nValue > (field.kind == FIELD_DAY ? 31 : nMax)) {
        nValue = nDigit;
        nTyped = 1;
    }
    state.nTypedValue = nValue;
    state.nTyped = nTyped >= nDigits ? 0 : nTyped;
    if (field.kind == FIELD_YEAR && nTyped < nDigits)
        return;     // a year is taken when its four digits are in
    if (field.kind == FIELD_HOUR && field.chLetter == 'h')
        nValue = nValue % 12 + (state.st.wHour >= 12 ? 12 : 0);
    if (nValue < nMin && field.kind != FIELD_YEAR)
        return;     // a leading zero: wait for the next digit
    UserChange(hWnd, state, WithValue(field, state.st, std::clamp(nValue, nMin, field.kind == FIELD_DAY ? 31 : nMax)));
}

void ToggleNone(HWND hWnd, TbDateTimePickState& state)
{
    if (!HasCheck(hWnd))
        return;
    state.bNone = !state.bNone;
    state.nTyped = 0;
    InvalidateRect(hWnd, nullptr, TRUE);
    Notify(hWnd, state);
}

LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    if (wParam == VK_SPACE) {
        ToggleNone(hWnd, *pState);
        return 0;
    }
    if (pState->bNone)
        return 0;
    // The fields are drawn left to right in right-to-left windows too (a date's digits read so in
    // both languages), so the arrows walk them in the order they show.
    switch (wParam) {
    case VK_LEFT:  Choose(hWnd, *pState, NextField(*pState, pState->nCurrent, -1)); break;
    case VK_RIGHT: Choose(hWnd, *pState, NextField(*pState, pState->nCurrent, 1)); break;
    case VK_HOME:  Choose(hWnd, *pState, NextField(*pState, -1, 1)); break;
    case VK_END:   Choose(hWnd, *pState, NextField(*pState, static_cast<int>(pState->fields.size()), -1)); break;
    case VK_UP:    StepField(hWnd, *pState, 1); break;
    case VK_DOWN:  StepField(hWnd, *pState, -1); break;
    case VK_PRIOR: StepField(hWnd, *pState, 10); break;
    case VK_NEXT:  StepField(hWnd, *pState, -10); break;
    }
    return 0;
}

LRESULT OnChar(HWND hWnd, WPARAM wParam)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    if (pState && !pState->bNone && wParam >= '0' && wParam <= '9')
        TypeDigit(hWnd, *pState, static_cast<int>(wParam - '0'));
    return 0;
}

// A press on the check box toggles it; one on a field chooses the field.
LRESULT OnLButtonDown(HWND hWnd, LPARAM lParam)
{
    if (GetFocus() != hWnd)
        SetFocus(hWnd);
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT rcCheck, rcButton, rcText;
    Layout(hWnd, &rcCheck, &rcButton, &rcText);
    RECT rcCheckHit = rcCheck;
    InflateRect(&rcCheckHit, GAP, GAP);
    if (HasCheck(hWnd) && PtInRect(&rcCheckHit, pt)) {
        ToggleNone(hWnd, *pState);
        return 0;
    }
    if (pState->bNone)
        return 0;
    const std::vector<int> edges = FieldEdges(hWnd, *pState, rcText);
    for (size_t i = 0; i < pState->fields.size(); ++i) {
        if (pt.x >= edges[i] && pt.x < edges[i + 1] && IsEditable(pState->fields[i].kind)) {
            Choose(hWnd, *pState, static_cast<int>(i));
            break;
        }
    }
    return 0;
}

void PaintCheck(HDC hdc, const RECT& rcBox, BOOL bChecked, BOOL bEnabled)
{
    FillRect(hdc, &rcBox, GetSysColorBrush(COLOR_WINDOW));
    TbDrawFrame3D(hdc, rcBox, TRUE);
    if (!bChecked)
        return;
    HPEN hPen = CreatePen(PS_SOLID, 2, GetSysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, rcBox.left + 3, rcBox.top + 6, nullptr);
    LineTo(hdc, rcBox.left + 5, rcBox.top + 9);
    LineTo(hdc, rcBox.left + 10, rcBox.top + 3);
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

void PaintButton(HDC hdc, const RECT& rcButton)
{
    if (rcButton.right - rcButton.left < 4)
        return;
    FillRect(hdc, &rcButton, GetSysColorBrush(COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rcButton, FALSE);
    // A small downward triangle, one line per row.
    HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    const int xMid = (rcButton.left + rcButton.right) / 2;
    const int yTop = (rcButton.top + rcButton.bottom) / 2 - 2;
    for (int i = 0; i < 4; ++i) {
        MoveToEx(hdc, xMid - 3 + i, yTop + i, nullptr);
        LineTo(hdc, xMid + 4 - i, yTop + i);
    }
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!hdc || !pState) {
        EndPaint(hWnd, &ps);
        return 0;
    }
    const BOOL bEnabled = IsWindowEnabled(hWnd);
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rc, TRUE);
    RECT rcCheck, rcButton, rcText;
    Layout(hWnd, &rcCheck, &rcButton, &rcText);
    if (HasCheck(hWnd))
        PaintCheck(hdc, rcCheck, !pState->bNone, bEnabled);
    if (!(GetWindowLongA(hWnd, GWL_STYLE) & DTS_UPDOWN))
        PaintButton(hdc, rcButton);
    HGDIOBJ hOld = SelectObject(hdc, TbControlFont(pState));
    SetBkMode(hdc, TRANSPARENT);
    const std::vector<int> edges = FieldEdges(hWnd, *pState, rcText);
    const BOOL bGrey = !bEnabled || pState->bNone;
    for (size_t i = 0; i < pState->fields.size(); ++i) {
        const std::string str = FieldText(pState->fields[i], pState->st);
        RECT rcField = {edges[i], rcText.top, edges[i + 1], rcText.bottom};
        rcField.right = std::min(rcField.right, rcText.right);
        const BOOL bChosen = pState->bFocus && !bGrey && static_cast<int>(i) == pState->nCurrent;
        if (bChosen)
            FillRect(hdc, &rcField, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(bChosen ? COLOR_HIGHLIGHTTEXT : bGrey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        rcField.right = edges[i + 1];
        DrawTextA(hdc, str.c_str(), static_cast<int>(str.size()), &rcField, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(hdc, hOld);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnCreate(HWND hWnd)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!pState)
        return -1;
    pState->st = LocalNow();
    pState->fields = ParseFormat(nullptr);
    pState->nCurrent = NextField(*pState, -1, 1);
    return 0;
}

LRESULT OnGetSystemTime(HWND hWnd, LPARAM lParam)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    auto* pTime = reinterpret_cast<SYSTEMTIME*>(lParam);
    if (!pState || !pTime)
        return GDT_ERROR;
    if (pState->bNone)
        return GDT_NONE;
    *pTime = pState->st;
    return GDT_VALID;
}

// GDT_NONE needs the check box; a valid date must be a real one. The weekday is worked out.
LRESULT OnSetSystemTime(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    if (wParam == GDT_NONE) {
        if (!HasCheck(hWnd))
            return FALSE;
        pState->bNone = TRUE;
    } else if (wParam == GDT_VALID) {
        const auto* pTime = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (!pTime || !IsValidTime(*pTime))
            return FALSE;
        pState->st = *pTime;
        SetDayOfWeek(pState->st);
        pState->bNone = FALSE;
    } else {
        return FALSE;
    }
    pState->nTyped = 0;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnSetFormat(HWND hWnd, LPCSTR pszFormat)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    pState->fields = ParseFormat(pszFormat);
    pState->nCurrent = NextField(*pState, -1, 1);
    pState->nTyped = 0;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

// The text as shown; empty with no date.
LRESULT OnGetText(HWND hWnd, UINT uMsg, WPARAM wParam, LPSTR pszText)
{
    TbDateTimePickState* pState = StateOf(hWnd);
    const std::string str = pState && !pState->bNone ? WholeText(*pState) : std::string();
    if (uMsg == WM_GETTEXTLENGTH)
        return static_cast<LRESULT>(str.size());
    if (!pszText || wParam == 0)
        return 0;
    const size_t nCopy = std::min(str.size(), static_cast<size_t>(wParam) - 1);
    memcpy(pszText, str.data(), nCopy);
    pszText[nCopy] = '\0';
    return static_cast<LRESULT>(nCopy);
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus)
{
    if (TbDateTimePickState* pState = StateOf(hWnd)) {
        pState->bFocus = bFocus;
        pState->nTyped = 0;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return 0;
}
}  // namespace

LRESULT CALLBACK TbDateTimePickWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:       return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_CREATE:         return OnCreate(hWnd);
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_ERASEBKGND:     return 1;       // WM_PAINT fills it
    case WM_SETFONT:        return TbControlSetFont(hWnd, StateOf(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:        return TbControlGetFont(StateOf(hWnd));
    case WM_GETDLGCODE:     return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ENABLE:         InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:       return OnFocus(hWnd, TRUE);
    case WM_KILLFOCUS:      return OnFocus(hWnd, FALSE);
    case WM_KEYDOWN:        return OnKeyDown(hWnd, wParam);
    case WM_CHAR:           return OnChar(hWnd, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  return OnLButtonDown(hWnd, lParam);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:  return OnGetText(hWnd, uMsg, wParam, reinterpret_cast<LPSTR>(lParam));
    case DTM_GETSYSTEMTIME: return OnGetSystemTime(hWnd, lParam);
    case DTM_SETSYSTEMTIME: return OnSetSystemTime(hWnd, wParam, lParam);
    case DTM_SETFORMATA:    return OnSetFormat(hWnd, reinterpret_cast<LPCSTR>(lParam));
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

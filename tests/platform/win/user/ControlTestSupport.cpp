#include "ControlTestSupport.h"
#include <cstdio>
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Window.h"

ControlParentLog& ParentLog()
{
    static ControlParentLog s_log;
    return s_log;
}

std::string ControlParentLog::Joined() const
{
    std::string str;
    for (const std::string& s : entries)
        str += (str.empty() ? "" : ", ") + s;
    return str;
}

static std::string ScrollEntry(const char* pszName, WPARAM wParam, LPARAM lParam)
{
    std::string str = std::string(pszName) + " " + std::to_string(LOWORD(wParam));
    if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)
        str += " pos " + std::to_string(static_cast<short>(HIWORD(wParam)));
    return str + (lParam ? " ctl" : "");
}

// While the thumb is dragged the bar tells where it is through nTrackPos.
static std::string TrackPos(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != SB_THUMBTRACK)
        return "";
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, -1};
    GetScrollInfo(lParam ? reinterpret_cast<HWND>(lParam) : hWnd, lParam ? SB_CTL : uMsg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
    return " track " + std::to_string(si.nTrackPos);
}

static LRESULT CALLBACK ControlParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ControlParentLog& log = ParentLog();
    switch (uMsg) {
    case WM_NOTIFY:
        if (const auto* pChange = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
            pChange && pChange->nmhdr.code == DTN_DATETIMECHANGE) {
            char sz[64];
            const SYSTEMTIME& st = pChange->st;
            if (pChange->dwFlags == GDT_NONE)
                snprintf(sz, sizeof sz, "DATE %d none", static_cast<int>(pChange->nmhdr.idFrom));
            else
                snprintf(sz, sizeof sz, "DATE %d %04d-%02d-%02d/%d", static_cast<int>(pChange->nmhdr.idFrom), st.wYear,
                         st.wMonth, st.wDay, st.wDayOfWeek);
            log.entries.push_back(sz);
        }
        return 0;
    case WM_COMMAND:
        log.entries.push_back("CMD " + std::to_string(LOWORD(wParam)) + "/" + std::to_string(static_cast<short>(HIWORD(wParam))));
        return 0;
    case WM_VSCROLL:
        log.entries.push_back(ScrollEntry("VSCROLL", wParam, lParam) + TrackPos(hWnd, uMsg, wParam, lParam));
        return 0;
    case WM_HSCROLL:
        log.entries.push_back(ScrollEntry("HSCROLL", wParam, lParam) + TrackPos(hWnd, uMsg, wParam, lParam));
        return 0;
    case WM_VKEYTOITEM:
        log.entries.push_back("VKEY " + std::to_string(LOWORD(wParam)) + " caret " + std::to_string(HIWORD(wParam)));
        return log.lVKeyToItem;
    case WM_CHARTOITEM:
        log.entries.push_back("CHAR " + std::string(1, static_cast<char>(LOWORD(wParam))));
        return log.lCharToItem;
    case WM_MEASUREITEM: {
        auto* pMis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        log.entries.push_back("MEASURE " + std::to_string(pMis->CtlID));
        if (log.uItemHeight)
            pMis->itemHeight = log.uItemHeight;
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* pDis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        std::string str = "DRAW " + std::to_string(static_cast<int>(pDis->itemID));
        if (pDis->itemState & ODS_SELECTED)
            str += " sel";
        if (pDis->itemState & ODS_FOCUS)
            str += " focus";
        if (pDis->itemState & ODS_DISABLED)
            str += " disabled";
        log.entries.push_back(str);
        return TRUE;
    }
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HWND CreateControlParent(DWORD dwStyle)
{
    TbRegisterControlClasses();
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, "TbControlParent", &wc)) {
        wc.lpfnWndProc = ControlParentProc;
        wc.lpszClassName = "TbControlParent";
        RegisterClassA(&wc);
    }
    ParentLog() = ControlParentLog();
    return CreateWindowExA(0, "TbControlParent", "parent", WS_POPUP | WS_VISIBLE | dwStyle, 10, 20, 200, 200, nullptr, nullptr, nullptr, nullptr);
}

HWND CreateControl(HWND hParent, LPCSTR pszClass, DWORD dwStyle, int x, int y, int cx, int cy, int nId, LPCSTR pszText)
{
    return CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, hParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
}

void Click(HWND hWnd, int x, int y, WPARAM wKeys)
{
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON | wKeys, MAKELPARAM(x, y));
    SendMessageA(hWnd, WM_LBUTTONUP, wKeys, MAKELPARAM(x, y));
}

void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

#include "WindowTestSupport.h"
#include <chrono>
#include <cstdio>

LRESULT (*g_pfnTestOverride)(HWND, UINT, WPARAM, LPARAM, BOOL*) = nullptr;

CMessageLog& CMessageLog::Get()
{
    static CMessageLog s_log;
    return s_log;
}

static const char* NameOf(UINT uMsg)
{
    static const struct { UINT uMsg; const char* pszName; } s_names[] = {
        {WM_CREATE, "CREATE"}, {WM_DESTROY, "DESTROY"}, {WM_MOVE, "MOVE"}, {WM_SIZE, "SIZE"},
        {WM_ACTIVATE, "ACTIVATE"}, {WM_SETFOCUS, "SETFOCUS"}, {WM_KILLFOCUS, "KILLFOCUS"}, {WM_PAINT, "PAINT"},
        {WM_CLOSE, "CLOSE"}, {WM_ERASEBKGND, "ERASEBKGND"}, {WM_SHOWWINDOW, "SHOWWINDOW"},
        {WM_GETMINMAXINFO, "GETMINMAXINFO"}, {WM_WINDOWPOSCHANGING, "POSCHANGING"},
        {WM_WINDOWPOSCHANGED, "POSCHANGED"}, {WM_NCCREATE, "NCCREATE"}, {WM_NCDESTROY, "NCDESTROY"},
        {WM_NCCALCSIZE, "NCCALCSIZE"}, {WM_KEYDOWN, "KEYDOWN"}, {WM_KEYUP, "KEYUP"}, {WM_CHAR, "CHAR"},
        {WM_SYSKEYDOWN, "SYSKEYDOWN"}, {WM_SYSCHAR, "SYSCHAR"}, {WM_COMMAND, "COMMAND"}, {WM_TIMER, "TIMER"},
        {WM_PARENTNOTIFY, "PARENTNOTIFY"}, {WM_LBUTTONDOWN, "LBUTTONDOWN"}, {WM_LBUTTONUP, "LBUTTONUP"},
        {WM_MOUSEMOVE, "MOUSEMOVE"}, {WM_USER, "USER"}, {WM_USER + 1, "USER1"}, {WM_USER + 2, "USER2"},
        {WM_USER + 3, "USER3"},
    };
    for (const auto& n : s_names)
        if (n.uMsg == uMsg)
            return n.pszName;
    return nullptr;
}

std::string CMessageLog::Names(HWND hWnd) const
{
    std::string str;
    for (const auto& m : m_log) {
        const char* pszName = NameOf(m.uMsg);
        if (!pszName || (hWnd && m.hWnd != hWnd))
            continue;
        if (!str.empty())
            str += ' ';
        str += pszName;
    }
    return str;
}

int CMessageLog::Count(UINT uMsg, HWND hWnd) const
{
    int n = 0;
    for (const auto& m : m_log)
        if (m.uMsg == uMsg && (!hWnd || m.hWnd == hWnd))
            ++n;
    return n;
}

static LRESULT CALLBACK TestWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CMessageLog::Get().Add(hWnd, uMsg, wParam, lParam);
    if (g_pfnTestOverride) {
        BOOL bHandled = FALSE;
        LRESULT lResult = g_pfnTestOverride(hWnd, uMsg, wParam, lParam, &bHandled);
        if (bHandled)
            return lResult;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LPCSTR TestWindowClass()
{
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {CS_DBLCLKS, TestWndProc, 0, 16, nullptr, nullptr, nullptr, nullptr, nullptr, "TbTestWindow"};
        s_bRegistered = RegisterClassA(&wc) != 0;
    }
    return "TbTestWindow";
}

HWND CreateTestWindow(HWND hParent, DWORD dwStyle, int nId)
{
    return CreateWindowExA(0, TestWindowClass(), "test", dwStyle, 10, 20, 200, 100, hParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
}

int PumpReady()
{
    MSG msg;
    int n = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

void PumpFor(int nMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    // A thread timer wakes the wait at the end, so GetMessage never sleeps past it.
    UINT_PTR nTimer = SetTimer(nullptr, 0, static_cast<UINT>(nMs), nullptr);
    MSG msg;
    while (std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, nTimer);
}

// The thread's queue: sending, posting, reading and dispatching messages.
#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include "platform/win/user/Display.h"
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/WindowRecord.h"

namespace {
// A queued message; a key the display typed is read by the window that has the keys then.
struct Record {
    MSG msg;
    bool bToFocus;
};
struct Queue {
    std::mutex mutex;
    std::deque<Record> posted;
    bool bQuit = false;
    int  nQuitCode = 0;
};
Queue& TheQueue()
{
    static Queue* s_pQueue = new Queue;
    return *s_pQueue;
}
struct LastMessage {
    DWORD dwTime = 0;
    POINT pt = {0, 0};
    std::chrono::steady_clock::time_point tpPending;
};
LastMessage& Last()
{
    static LastMessage s_last;
    return s_last;
}
}

DWORD TbNowMs()
{
    using namespace std::chrono;
    static const steady_clock::time_point s_start = steady_clock::now();
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now() - s_start).count());
}

LRESULT TbCallProc(WNDPROC pfn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!pfn)
        return 0;
    try {
        return pfn(hWnd, uMsg, wParam, lParam);
    } catch (...) {
        // The handler's failure ends at the procedure: the message counts as answered with 0.
        fprintf(stderr, "window procedure failed on message 0x%04x; the message is answered with 0\n", uMsg);
        return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC pfnPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return TbCallProc(pfnPrevWndFunc, hWnd, uMsg, wParam, lParam);
}

LRESULT SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!TbIsUiThread())
        return 0;       // windows belong to the user-interface thread; other threads post
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> all = TbUser().topLevel;
        for (HWND h : all)
            if (TbFindWindow(h))
                SendMessageA(h, uMsg, wParam, lParam);
        return 0;
    }
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd)
        return 0;
    return TbCallProc(pWnd->pfnWndProc, hWnd, uMsg, wParam, lParam);
}

void TbPostRecord(const MSG& msg, BOOL bFront, BOOL bToFocus)
{
    Queue& q = TheQueue();
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        if (bFront)
            q.posted.push_front({msg, bToFocus != FALSE});
        else
            q.posted.push_back({msg, bToFocus != FALSE});
    }
    TbGetDisplay()->Wake();
}

BOOL PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd == HWND_BROADCAST) {
        if (!TbIsUiThread())
            return FALSE;
        for (HWND h : TbUser().topLevel)
            PostMessageA(h, uMsg, wParam, lParam);
        return TRUE;
    }
    if (TbIsUiThread() && hWnd && !TbFindWindowOrDesktop(hWnd))
        return FALSE;
    MSG msg = {hWnd, uMsg, wParam, lParam, TbNowMs(), {0, 0}, 0};
    TbPostRecord(msg, FALSE);
    return TRUE;
}

BOOL PostThreadMessageA(DWORD, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {nullptr, uMsg, wParam, lParam, TbNowMs(), {0, 0}, 0};
    TbPostRecord(msg, FALSE);
    return TRUE;
}

void PostQuitMessage(int nExitCode)
{
    Queue& q = TheQueue();
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        q.bQuit = true;
        q.nQuitCode = nExitCode;
    }
    TbGetDisplay()->Wake();
}

BOOL TbMatchesWindowFilter(HWND hWndMsg, HWND hWndFilter)
{
    if (!hWndFilter)
        return TRUE;
    if (hWndFilter == reinterpret_cast<HWND>(-1))
        return hWndMsg == nullptr;
    return hWndMsg == hWndFilter || IsChild(hWndFilter, hWndMsg);
}

static bool InRange(UINT uMsg, UINT uMin, UINT uMax)
{
    return (uMin == 0 && uMax == 0) || (uMsg >= uMin && uMsg <= uMax);
}

static bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST && uMsg != WM_MOUSEWHEEL;
}

static bool IsPointerInput(UINT uMsg)
{
    return IsMouseMessage(uMsg) || (uMsg >= WM_NCMOUSEMOVE && uMsg <= WM_NCMBUTTONDBLCLK);
}

static bool IsPress(UINT uMsg)
{
    return uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN || uMsg == WM_NCLBUTTONDOWN ||
           uMsg == WM_NCRBUTTONDOWN || uMsg == WM_NCMBUTTONDOWN;
}

// One step of reading: what GetMessage or PeekMessage would answer now.
static BOOL TakeMessage(MSG* pMsg, HWND hWnd, UINT uMin, UINT uMax, UINT uRemove)
{
    Queue& q = TheQueue();
    BOOL bRemove = (uRemove & PM_REMOVE) != 0;
    bool bFound = false;
    HWND hRefused = nullptr;
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        // Keys typed ahead go where the keys are when they are read, as on the original: a
        // mnemonic or a dialog that took the keys meanwhile gets the keys typed after it.
        const HWND hFocus = TbUser().hFocus;
        const bool bCapture = GetCapture() != nullptr;
        for (auto it = q.posted.begin(); it != q.posted.end();) {
            if (it->bToFocus && hFocus != nullptr && TbFindWindow(hFocus))
                it->msg.hwnd = hFocus;
            // The pointer's input is a window's only while it takes input when it is read: a
            // press made before a modal dialog opened over its window never reaches that window.
            if (!bCapture && IsPointerInput(it->msg.message) && TbFindWindow(it->msg.hwnd) &&
                !TbDisplayTakesInput(it->msg.hwnd)) {
                if (IsPress(it->msg.message))
                    hRefused = it->msg.hwnd;
                TbNoteInputTaken(it->msg);      // the button is down or up all the same
                it = q.posted.erase(it);
                continue;
            }
            if (!InRange(it->msg.message, uMin, uMax) || !TbMatchesWindowFilter(it->msg.hwnd, hWnd)) {
                ++it;
                continue;
            }
            *pMsg = it->msg;
            if (bRemove)
                q.posted.erase(it);
            bFound = true;
            break;
        }
        if (!bFound && q.bQuit && InRange(WM_QUIT, uMin, uMax)) {
            *pMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.nQuitCode), 0, TbNowMs(), Last().pt, 0};
            if (bRemove)
                q.bQuit = false;
            return TRUE;
        }
    }
    if (hRefused != nullptr)
        TbDisplayInputRefused(hRefused);
    if (bFound) {
        if (bRemove) {
            Last().dwTime = pMsg->time;
            if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_MOUSELAST)
                TbNoteInputTaken(*pMsg);
            // The pointer shape is asked for as the mouse message is read, as on the original.
            if (IsMouseMessage(pMsg->message) && !GetCapture() && TbFindWindow(pMsg->hwnd))
                SendMessageA(pMsg->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(pMsg->hwnd),
                             MAKELPARAM(HTCLIENT, pMsg->message));
        }
        return TRUE;
    }
    if (InRange(WM_PAINT, uMin, uMax)) {
        if (HWND hPaint = TbFindWindowToPaint(hWnd)) {
            *pMsg = MSG{hPaint, WM_PAINT, 0, 0, TbNowMs(), Last().pt, 0};
            return TRUE;
        }
    }
    if (InRange(WM_TIMER, uMin, uMax))
        return TbTakeTimer(hWnd, bRemove, pMsg);
    return FALSE;
}

// Lets the display turn its pending events into messages now and then, so that a steady stream
// of posted messages does not starve painting and input.
static void ProcessDisplayEvents(int nIntervalMs)
{
    auto now = std::chrono::steady_clock::now();
    if (now - Last().tpPending >= std::chrono::milliseconds(nIntervalMs)) {
        Last().tpPending = now;
        TbGetDisplay()->ProcessPending();
    }
}

BOOL GetMessageA(LPMSG pMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    if (!pMsg || !TbIsUiThread())
        return -1;
    if (hWnd && hWnd != reinterpret_cast<HWND>(-1) && !TbFindWindow(hWnd))
        return -1;
    for (;;) {
        ProcessDisplayEvents(5);
        if (TakeMessage(pMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE))
            return pMsg->message != WM_QUIT;
        TbGetDisplay()->Wait(TbMsUntilNextTimer());
        Last().tpPending = std::chrono::steady_clock::now();
    }
}

BOOL PeekMessageA(LPMSG pMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!pMsg || !TbIsUiThread())
        return FALSE;
    ProcessDisplayEvents(1);
    return TakeMessage(pMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WaitMessage()
{
    MSG msg;
    if (!TbIsUiThread())
        return FALSE;
    while (!TakeMessage(&msg, nullptr, 0, 0, PM_NOREMOVE))
        TbGetDisplay()->Wait(TbMsUntilNextTimer());
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* pMsg)
{
    if (!pMsg || !TbIsUiThread())
        return 0;
    if (pMsg->message == WM_TIMER && pMsg->lParam) {
        // A timer procedure runs only while its timer still exists.
        TIMERPROC pfn = reinterpret_cast<TIMERPROC>(pMsg->lParam);
        if (TbTimerExists(pMsg->hwnd, pMsg->wParam, pfn)) {
            try {
                pfn(pMsg->hwnd, WM_TIMER, pMsg->wParam, TbNowMs());
            } catch (...) {
                fprintf(stderr, "timer procedure failed\n");
            }
        }
        return 0;
    }
    if (TbRunIfPostedCall(pMsg))
        return 0;
    TbWindow* pWnd = TbFindWindow(pMsg->hwnd);
    if (!pWnd)
        return 0;
    if (pMsg->message == WM_PAINT) {
        pWnd->bPaintValidated = FALSE;
        LRESULT lResult = TbCallProc(pWnd->pfnWndProc, pMsg->hwnd, WM_PAINT, pMsg->wParam, pMsg->lParam);
        TbAfterPaintDispatch(pMsg->hwnd);
        return lResult;
    }
    return TbCallProc(pWnd->pfnWndProc, pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
}

DWORD GetMessageTime()
{
    return Last().dwTime;
}

DWORD GetMessagePos()
{
    POINT pt;
    GetCursorPos(&pt);
    return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

UINT RegisterWindowMessageA(LPCSTR pszString)
{
    static std::map<std::string, UINT>* s_pNames = new std::map<std::string, UINT>;
    if (!pszString || !*pszString)
        return 0;
    std::string strKey = pszString;
    for (char& ch : strKey)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');     // the names compare without case
    auto it = s_pNames->find(strKey);
    if (it != s_pNames->end())
        return it->second;
    if (s_pNames->size() >= 0x3FFF)
        return 0;
    UINT uMsg = 0xC000 + static_cast<UINT>(s_pNames->size());
    (*s_pNames)[strKey] = uMsg;
    return uMsg;
}

#include "QtTestSupport.h"
#include <chrono>
#include <sys/stat.h>

void (*g_pfnQtPaint)(HWND, HDC, const RECT&) = nullptr;

std::vector<LoggedMessage>& QtLog()
{
    static std::vector<LoggedMessage> s_log;
    return s_log;
}

static LRESULT CALLBACK QtTestProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    QtLog().push_back({hWnd, uMsg, wParam, lParam});
    if (uMsg == WM_PAINT && g_pfnQtPaint) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        g_pfnQtPaint(hWnd, hdc, ps.rcPaint);
        EndPaint(hWnd, &ps);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HWND CreateQtWindow(HWND hParent, DWORD dwStyle, int x, int y, int cx, int cy, int nId)
{
    TbInitQtPlatform(nullptr, nullptr);
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {CS_DBLCLKS, QtTestProc, 0, 0, nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5 + 1)), nullptr, "TbQtTestWindow"};
        s_bRegistered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, "TbQtTestWindow", "Qt test", dwStyle, x, y, cx, cy, hParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
}

void PumpQt(int nMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    UINT_PTR nTimer = SetTimer(nullptr, 0, static_cast<UINT>(nMs), nullptr);
    MSG msg;
    while (std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, nTimer);
    // What was already waiting is handled even when a loaded machine gave the loop no turn in
    // time; the bound stops at a queue that refills itself.
    for (int n = 0; n < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT; ++n) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<LoggedMessage> MessagesOf(UINT uMsg)
{
    std::vector<LoggedMessage> out;
    for (const auto& m : QtLog())
        if (m.uMsg == uMsg)
            out.push_back(m);
    return out;
}

std::string ScreenshotPath(const char* pszName)
{
    std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    return strDir + "/" + pszName + ".png";
}

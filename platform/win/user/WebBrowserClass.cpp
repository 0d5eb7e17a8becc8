// The "TbWebBrowser" class: the browser control. (Surfaces follow.)
#include "platform/win/user/WebBrowser.h"
#include <algorithm>
#include <cstring>
#include "platform/win/user/ControlInternal.h"

namespace {
struct TbWebBrowserState : TbClassState {
    std::string strLocation;
    std::string strTitle;
    DWORD dwOptions = 0;
    int nReadyState = READYSTATE_UNINITIALIZED;
};

TbWebBrowserState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbWebBrowserState>(hWnd);
}

LRESULT CopyOut(const std::string& str, WPARAM cch, LPARAM lParam)
{
    LPSTR psz = reinterpret_cast<LPSTR>(lParam);
    if (psz != nullptr && cch > 0) {
        const size_t n = std::min<size_t>(str.size(), cch - 1);
        memcpy(psz, str.data(), n);
        psz[n] = '\0';
    }
    return static_cast<LRESULT>(str.size());
}
}  // namespace

LRESULT CALLBACK TbWebBrowserWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:        return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WBM_GETLOCATION:    return StateOf(hWnd) ? CopyOut(StateOf(hWnd)->strLocation, wParam, lParam) : 0;
    case WBM_GETTITLE:       return StateOf(hWnd) ? CopyOut(StateOf(hWnd)->strTitle, wParam, lParam) : 0;
    case WBM_GETREADYSTATE:  return StateOf(hWnd) ? StateOf(hWnd)->nReadyState : 0;
    case WBM_GETOPTIONS:     return StateOf(hWnd) ? StateOf(hWnd)->dwOptions : 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

static std::string AskText(HWND hWnd, UINT uMsg)
{
    const LRESULT n = SendMessageA(hWnd, uMsg, 0, 0);
    if (n <= 0)
        return std::string();
    std::string str(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(hWnd, uMsg, str.size(), reinterpret_cast<LPARAM>(str.data()));
    str.resize(static_cast<size_t>(n));
    return str;
}

std::string WebBrowser_GetLocation(HWND hWnd)
{
    return AskText(hWnd, WBM_GETLOCATION);
}

std::string WebBrowser_GetTitle(HWND hWnd)
{
    return AskText(hWnd, WBM_GETTITLE);
}

void TbWebBrowserUseEngine(BOOL) {}
BOOL TbWebEngineAvailable() { return FALSE; }

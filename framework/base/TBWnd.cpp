// CTBWnd: attaching objects to windows, creation through the CBT hook, subclassing, the
// framework window procedure and modal loops. The message dispatch is in TBWndMessages.cpp.
#include "framework/base/TBWnd.h"

#include <unordered_map>

#include "framework/base/TBApp.h"
#include "platform/win/user/WindowObjects.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/Paint.h"

namespace {
// The handle map exists while framework window objects exist; the instance counter frees it
// with the last one.
std::unordered_map<HWND, CTBWnd*>* s_pMap = nullptr;
int s_nInstances = 0;

// The object waiting for its window from the creation hook, and the hook while it is installed.

MSG s_msgCurrent = {};

CTBWnd* Lookup(HWND hWnd)
{
    if (s_pMap == nullptr || hWnd == nullptr)
        return nullptr;
    auto it = s_pMap->find(hWnd);
    return it == s_pMap->end() ? nullptr : it->second;
}

HINSTANCE AppModule()
{
    CTBApp* pApp = GetTBApp();
    return pApp ? pApp->GetModule() : TbGetResourceModule();
}
}  // namespace

LRESULT CALLBACK TBWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CTBWnd* pWnd = Lookup(hWnd);
    if (pWnd == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return TbCallObjectProc(s_msgCurrent, hWnd, uMsg, wParam, lParam,
                            [&] { return pWnd->WindowProc(uMsg, wParam, lParam); });
}

CTBWnd::CTBWnd()
{
    if (s_nInstances++ == 0)
        s_pMap = new std::unordered_map<HWND, CTBWnd*>();
}

CTBWnd::~CTBWnd()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    // A window that outlived its messages (destroyed behind our back) leaves no stale entry.
    if (m_hWnd != nullptr)
        Detach();
    CTbCreationHook<CTBWnd>::Forget(this);
    if (--s_nInstances == 0) {
        delete s_pMap;
        s_pMap = nullptr;
    }
}

CTBWnd* CTBWnd::FromHandle(HWND hWnd)
{
    CTBWnd* pWnd = Lookup(hWnd);
    // Handles are never reused, so a destroyed window can only be found through a stale entry.
    return (pWnd && IsWindow(hWnd)) ? pWnd : nullptr;
}

BOOL CTBWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || !IsWindow(hWnd) || s_pMap == nullptr)
        return FALSE;
    if (Lookup(hWnd) != nullptr)
        return FALSE;
    (*s_pMap)[hWnd] = this;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CTBWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && s_pMap != nullptr) {
        auto it = s_pMap->find(hWnd);
        if (it != s_pMap->end() && it->second == this)
            s_pMap->erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

const MSG& CTBWnd::GetCurrentMessage()
{
    return s_msgCurrent;
}

BOOL CTBWnd::TakeOverProcedure()
{
    return TbTakeOverProcedure(m_hWnd, &TBWndProc, m_pfnSuper);
}

void CTBWnd::AttachWindowCreate(HWND hWnd)
{
    if (!Attach(hWnd))
        return;
    PreSubclassWindow();
    TakeOverProcedure();
}

BOOL CTBWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                      int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrId, LPVOID pParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCTA cs = {pParam, AppModule(), hMenuOrId, hWndParent, nHeight, nWidth, y, x,
                        static_cast<LONG>(dwStyle), pszWindowName, pszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // The hook attaches this object to the new handle before the window's first message.
    BOOL bAttached = FALSE;
    HWND hWnd = CTbCreationHook<CTBWnd>::Create(this, cs, &bAttached);
    if (!bAttached) {
        // The hook never saw the window: the object was never attached.
        PostNcDestroy();
    }
    return hWnd != nullptr;
}

BOOL CTBWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CTBWnd* pParent,
                    UINT nId)
{
    HWND hWndParent = pParent ? pParent->m_hWnd : nullptr;
    if (hWndParent != nullptr)
        dwStyle |= WS_CHILD;
    return CreateEx(0, pszClassName, pszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, hWndParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)));
}

BOOL CTBWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    if (!TakeOverProcedure()) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CTBWnd::SubclassDlgItem(UINT nId, CTBWnd* pParent)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    HWND hWndItem = GetDlgItem(pParent->m_hWnd, static_cast<int>(nId));
    return hWndItem != nullptr && SubclassWindow(hWndItem);
}

int CTBWnd::GetWindowText(CTBString& strText) const
{
    strText.Empty();
    if (m_hWnd == nullptr)
        return 0;
    int nLength = GetWindowTextLengthA(m_hWnd);
    if (nLength <= 0)
        return 0;
    char* pszBuffer = new char[static_cast<size_t>(nLength) + 1];
    int nCopied = GetWindowTextA(m_hWnd, pszBuffer, nLength + 1);
    strText.Assign(pszBuffer, nCopied < 0 ? 0 : nCopied);
    delete[] pszBuffer;
    return strText.GetLength();
}

CTBString CTBWnd::GetWindowText() const
{
    CTBString str;
    GetWindowText(str);
    return str;
}

LRESULT CTBWnd::SetFont(HFONT hFont, BOOL bRedraw)
{
    return m_hWnd ? SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw) : 0;
}

BOOL CTBWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CTBWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

void CTBWnd::PostNcDestroy()
{
}

void CTBWnd::PreSubclassWindow()
{
}

LRESULT CTBWnd::Default()
{
    return DefWindowProc(s_msgCurrent.message, s_msgCurrent.wParam, s_msgCurrent.lParam);
}

LRESULT CTBWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(uMsg, wParam, lParam, &lResult))
        lResult = DefWindowProc(uMsg, wParam, lParam);
    return lResult;
}

LRESULT CTBWnd::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    if (m_pfnSuper != nullptr)
        return CallWindowProcA(m_pfnSuper, m_hWnd, uMsg, wParam, lParam);
    return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
}

void CTBWnd::OnNcDestroy()
{
    HWND hWnd = m_hWnd;
    LONG_PTR nProc = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    Default();
    // Give a subclassed control its own procedure back, unless someone subclassed it after us.
    if (m_pfnSuper != nullptr && GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == nProc)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    // The object may be attached to another window later, which has a procedure of its own.
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

int CTBWnd::RunModalLoop()
{
    TbCheckModalStart("dialog");
    m_nModalFlags |= MODAL_RUNNING | MODAL_CONTINUE;
    CTBApp* pApp = GetTBApp();
    MSG msgOwn = {};
    for (;;) {
        // A window that disappeared can never be ended by EndModalLoop: stop instead of hanging.
        if (m_hWnd == nullptr || !IsWindow(m_hWnd))
            break;
        if (!IsWindowVisible(m_hWnd))
            ShowWindow(m_hWnd, SW_SHOWNORMAL);
        UpdateWindow(m_hWnd);
        do {
            BOOL bPumped;
            const MSG* pMsg;
            if (pApp != nullptr) {
                bPumped = pApp->PumpMessage();
                pMsg = &pApp->GetCurrentMessage();
            } else {
                bPumped = GetMessageA(&msgOwn, nullptr, 0, 0) > 0;
                if (bPumped) {
                    TranslateMessage(&msgOwn);
                    DispatchMessageA(&msgOwn);
                }
                pMsg = &msgOwn;
            }
            if (!bPumped) {
                // The loop outside must see the quit message too.
                if (pMsg->message == WM_QUIT)
                    PostQuitMessage(static_cast<int>(pMsg->wParam));
                m_nModalFlags &= ~(MODAL_RUNNING | MODAL_CONTINUE);
                return -1;
            }
            if (!IsInModalLoop()) {
                m_nModalFlags &= ~(MODAL_RUNNING | MODAL_CONTINUE);
                return m_nModalResult;
            }
            if (m_hWnd == nullptr)
                break;
        } while (PeekMessageA(&msgOwn, nullptr, 0, 0, PM_NOREMOVE));
    }
    m_nModalFlags &= ~(MODAL_RUNNING | MODAL_CONTINUE);
    return m_nModalResult;
}

void CTBWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nModalFlags & MODAL_RUNNING) {
        m_nModalFlags &= ~MODAL_CONTINUE;
        if (m_hWnd != nullptr)
            PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

BOOL CTBWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CTBWnd::PassToParent(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD))
        return;
    HWND hWndParent = GetParent(m_hWnd);
    if (hWndParent != nullptr && IsWindow(hWndParent))
        SendMessageA(hWndParent, uMsg, wParam, lParam);
}

LPCSTR RegisterWndClass(LPCSTR pszName, UINT uClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    if (pszName == nullptr || *pszName == '\0')
        return nullptr;
    HINSTANCE hModule = AppModule();
    WNDCLASSA wc = {};
    if (GetClassInfoA(hModule, pszName, &wc))
        return pszName;
    wc.style = uClassStyle;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = hModule;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = pszName;
    return RegisterClassA(&wc) ? pszName : nullptr;
}

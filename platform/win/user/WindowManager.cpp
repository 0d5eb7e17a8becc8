// Window classes, creation and destruction, window data and the window tree.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <thread>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/HandleTable.h"
#include "platform/win/user/Hooks.h"
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/WindowRecord.h"

static CTbHandleTable<TbWindow>& Windows()
{
    // Never destroyed: static objects of the program may still destroy windows at exit.
    static CTbHandleTable<TbWindow>* s_pTable = new CTbHandleTable<TbWindow>(TB_HANDLE_WINDOW);
    return *s_pTable;
}

TbUserState& TbUser()
{
    static TbUserState* s_pState = new TbUserState;
    return *s_pState;
}

static const std::thread::id s_uiThread = std::this_thread::get_id();

BOOL TbIsUiThread()
{
    return std::this_thread::get_id() == s_uiThread;
}

TbWindow* TbFindWindow(HWND hWnd)
{
    TbWindow* pWnd = Windows().Find(reinterpret_cast<uintptr_t>(hWnd));
    return (pWnd && hWnd != TbUser().hDesktop) ? pWnd : nullptr;
}

TbWindow* TbFindWindowOrDesktop(HWND hWnd)
{
    return Windows().Find(reinterpret_cast<uintptr_t>(hWnd));
}

// The window's own scroll bars take their room from the client area (WindowScrollBars.cpp).
int TbClientWidth(const TbWindow* pWnd)
{
    return std::max(0, TbImageWidth(pWnd) - TbVertBarWidth(pWnd));
}

int TbClientHeight(const TbWindow* pWnd)
{
    return std::max(0, TbImageHeight(pWnd) - TbHorzBarHeight(pWnd));
}

int TbImageWidth(const TbWindow* pWnd)
{
    return std::max<LONG>(0, pWnd->rcWindow.right - pWnd->rcWindow.left);
}

int TbImageHeight(const TbWindow* pWnd)
{
    return std::max<LONG>(0, pWnd->rcWindow.bottom - pWnd->rcWindow.top - pWnd->nMenuBarHeight);
}

int TbWindowWidth(const TbWindow* pWnd)
{
    return std::max<LONG>(0, pWnd->rcWindow.right - pWnd->rcWindow.left);
}

int TbWindowHeight(const TbWindow* pWnd)
{
    return std::max<LONG>(0, pWnd->rcWindow.bottom - pWnd->rcWindow.top);
}

// ---- classes ----

static std::shared_ptr<TbWndClass> FindClass(LPCSTR pszName, HINSTANCE hInstance)
{
    if (!pszName)
        return nullptr;
    std::shared_ptr<TbWndClass> pGlobal;
    for (const auto& pClass : TbUser().classes) {
        bool bMatch = IS_INTRESOURCE(pszName)
            ? pClass->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(pszName))
            : strcasecmp(pClass->strName.c_str(), pszName) == 0;
        if (!bMatch)
            continue;
        if (pClass->hInstance == hInstance)
            return pClass;
        if ((pClass->uStyle & CS_GLOBALCLASS) || !pGlobal)
            pGlobal = pClass;       // a global class, or failing that any module's class of that name
    }
    return pGlobal;
}

ATOM RegisterClassExA(const WNDCLASSEXA* pWc)
{
    if (!pWc || !pWc->lpszClassName || IS_INTRESOURCE(pWc->lpszClassName) || !pWc->lpfnWndProc ||
        pWc->cbClsExtra < 0 || pWc->cbWndExtra < 0 || pWc->cbClsExtra > 4096 || pWc->cbWndExtra > 4096)
        return 0;
    std::shared_ptr<TbWndClass> pOld = FindClass(pWc->lpszClassName, pWc->hInstance);
    if (pOld && (pOld->hInstance == pWc->hInstance || ((pOld->uStyle & CS_GLOBALCLASS) && (pWc->style & CS_GLOBALCLASS))))
        return 0;
    auto pClass = std::make_shared<TbWndClass>();
    pClass->strName = pWc->lpszClassName;
    pClass->uStyle = pWc->style;
    pClass->pfnWndProc = pWc->lpfnWndProc;
    pClass->cbClsExtra = pWc->cbClsExtra;
    pClass->cbWndExtra = pWc->cbWndExtra;
    pClass->hInstance = pWc->hInstance;
    pClass->hIcon = pWc->hIcon;
    pClass->hIconSm = pWc->hIconSm;
    pClass->hCursor = pWc->hCursor;
    pClass->hbrBackground = pWc->hbrBackground;
    if (pWc->lpszMenuName && !IS_INTRESOURCE(pWc->lpszMenuName))
        pClass->strMenuName = pWc->lpszMenuName;
    pClass->clsExtra.assign(static_cast<size_t>(pWc->cbClsExtra), 0);
    pClass->atom = TbUser().nextAtom++;
    TbUser().classes.push_back(pClass);
    return pClass->atom;
}

ATOM RegisterClassA(const WNDCLASSA* pWc)
{
    if (!pWc)
        return 0;
    WNDCLASSEXA wc = {sizeof(WNDCLASSEXA), pWc->style, pWc->lpfnWndProc, pWc->cbClsExtra, pWc->cbWndExtra,
                      pWc->hInstance, pWc->hIcon, pWc->hCursor, pWc->hbrBackground, pWc->lpszMenuName,
                      pWc->lpszClassName, nullptr};
    return RegisterClassExA(&wc);
}

BOOL UnregisterClassA(LPCSTR pszClassName, HINSTANCE hInstance)
{
    std::shared_ptr<TbWndClass> pClass = FindClass(pszClassName, hInstance);
    if (!pClass || pClass->hInstance != hInstance)
        return FALSE;
    auto& classes = TbUser().classes;
    classes.erase(std::remove(classes.begin(), classes.end(), pClass), classes.end());
    return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE hInstance, LPCSTR pszClassName, LPWNDCLASSEXA pWc)
{
    std::shared_ptr<TbWndClass> pClass = FindClass(pszClassName, hInstance);
    if (!pClass || !pWc)
        return FALSE;
    *pWc = WNDCLASSEXA{sizeof(WNDCLASSEXA), pClass->uStyle, pClass->pfnWndProc, pClass->cbClsExtra,
                       pClass->cbWndExtra, pClass->hInstance, pClass->hIcon, pClass->hCursor,
                       pClass->hbrBackground, nullptr, pClass->strName.c_str(), pClass->hIconSm};
    return pClass->atom;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR pszClassName, LPWNDCLASSA pWc)
{
    WNDCLASSEXA wc{};
    if (!pWc || !GetClassInfoExA(hInstance, pszClassName, &wc))
        return FALSE;
    *pWc = WNDCLASSA{wc.style, wc.lpfnWndProc, wc.cbClsExtra, wc.cbWndExtra, wc.hInstance, wc.hIcon,
                     wc.hCursor, wc.hbrBackground, wc.lpszMenuName, wc.lpszClassName};
    return TRUE;
}

int GetClassNameA(HWND hWnd, LPSTR pszClassName, int cchMax)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd || !pszClassName || cchMax <= 0)
        return 0;
    return TbCopyText(pszClassName, cchMax, pWnd->pClass->strName.c_str());
}

ULONG_PTR GetClassLongPtrA(HWND hWnd, int nIndex)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd)
        return 0;
    const TbWndClass& cls = *pWnd->pClass;
    switch (nIndex) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(cls.hbrBackground);
    case GCLP_HCURSOR:       return reinterpret_cast<ULONG_PTR>(cls.hCursor);
    case GCLP_HICON:         return reinterpret_cast<ULONG_PTR>(cls.hIcon);
    case GCLP_HICONSM:       return reinterpret_cast<ULONG_PTR>(cls.hIconSm);
    case GCLP_HMODULE:       return reinterpret_cast<ULONG_PTR>(cls.hInstance);
    case GCLP_WNDPROC:       return reinterpret_cast<ULONG_PTR>(cls.pfnWndProc);
    case GCL_STYLE:          return cls.uStyle;
    case GCL_CBWNDEXTRA:     return static_cast<ULONG_PTR>(cls.cbWndExtra);
    case GCL_CBCLSEXTRA:     return static_cast<ULONG_PTR>(cls.cbClsExtra);
    case GCW_ATOM:           return cls.atom;
    }
    if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= cls.clsExtra.size()) {
        LONG_PTR n;
        memcpy(&n, cls.clsExtra.data() + nIndex, sizeof n);
        return static_cast<ULONG_PTR>(n);
    }
    return 0;
}

void TbShowWindowIcon(TbWindow* pWnd)
{
    if (!pWnd || !pWnd->pSurface)
        return;
    HICON hIcon = pWnd->hIcon ? pWnd->hIcon : pWnd->hIconSm;
    if (!hIcon && pWnd->pClass)
        hIcon = pWnd->pClass->hIcon ? pWnd->pClass->hIcon : pWnd->pClass->hIconSm;
    const TbIcon* pIcon = TbGdiFindAs<TbIcon>(hIcon, TB_OBJ_ICON);
    if (pIcon && !pIcon->image.IsEmpty())
        pWnd->pSurface->SetIcon(&pIcon->image, &pIcon->mask);
    else
        pWnd->pSurface->SetIcon(nullptr, nullptr);
}

ULONG_PTR SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR nValue)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return 0;
    ULONG_PTR nOld = GetClassLongPtrA(hWnd, nIndex);
    TbWndClass& cls = *pWnd->pClass;
    switch (nIndex) {
    case GCLP_HBRBACKGROUND: cls.hbrBackground = reinterpret_cast<HBRUSH>(nValue); break;
    case GCLP_HCURSOR:       cls.hCursor = reinterpret_cast<HCURSOR>(nValue); break;
    case GCLP_HICON:         cls.hIcon = reinterpret_cast<HICON>(nValue); TbShowWindowIcon(pWnd); break;
    case GCLP_HICONSM:       cls.hIconSm = reinterpret_cast<HICON>(nValue); TbShowWindowIcon(pWnd); break;
    case GCLP_WNDPROC:       cls.pfnWndProc = reinterpret_cast<WNDPROC>(nValue); break;
    case GCL_STYLE:          cls.uStyle = static_cast<UINT>(nValue); break;
    default:
        if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= cls.clsExtra.size())
            memcpy(cls.clsExtra.data() + nIndex, &nValue, sizeof nValue);
        else
            return 0;
    }
    return nOld;
}

// ---- creation ----

static LRESULT CALLBACK DesktopWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HWND GetDesktopWindow()
{
    TbUserState& user = TbUser();
    if (!user.hDesktop) {
        auto pWnd = std::make_shared<TbWindow>();
        pWnd->pClass = std::make_shared<TbWndClass>();
        pWnd->pClass->strName = "#32769";
        pWnd->pfnWndProc = DesktopWndProc;
        pWnd->dwStyle = WS_VISIBLE | WS_CLIPCHILDREN;
        SIZE size = {1024, 768};
        TbGetDisplay()->GetScreenSize(&size);
        pWnd->rcWindow = RECT{0, 0, size.cx, size.cy};
        pWnd->bCreated = TRUE;
        TbWindow* p = pWnd.get();
        user.hDesktop = reinterpret_cast<HWND>(Windows().Add(std::move(pWnd)));
        p->hWnd = user.hDesktop;
    }
    return user.hDesktop;
}

static std::vector<HWND>& SiblingsOf(TbWindow* pWnd)
{
    TbWindow* pParent = pWnd->hParent ? TbFindWindow(pWnd->hParent) : nullptr;
    return pParent ? pParent->children : TbUser().topLevel;
}

static void Unlink(TbWindow* pWnd)
{
    std::vector<HWND>& list = SiblingsOf(pWnd);
    list.erase(std::remove(list.begin(), list.end(), pWnd->hWnd), list.end());
}

// Frees the record of a window whose creation failed before WM_NCCREATE.
static void DiscardWindow(HWND hWnd)
{
    if (TbWindow* pWnd = TbFindWindow(hWnd)) {
        Unlink(pWnd);
        TbDropWindowTimers(hWnd);
        Windows().Remove(reinterpret_cast<uintptr_t>(hWnd));
    }
}

static void PlaceDefault(DWORD dwStyle, int& x, int& y, int& cx, int& cy)
{
    if (dwStyle & WS_CHILD) {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (cx == CW_USEDEFAULT) cx = cy = 0;
        return;
    }
    SIZE screen = {1024, 768};
    TbGetDisplay()->GetScreenSize(&screen);
    POINT& pt = TbUser().ptNextDefault;
    if (x == CW_USEDEFAULT) {
        x = pt.x;
        y = pt.y;
        pt.x = pt.x > 240 ? 40 : pt.x + 24;
        pt.y = pt.y > 240 ? 40 : pt.y + 24;
    }
    if (cx == CW_USEDEFAULT) {
        cx = screen.cx * 3 / 4;
        cy = screen.cy * 3 / 4;
    }
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID pParam)
{
    if (!TbIsUiThread())
        return nullptr;
    std::shared_ptr<TbWndClass> pClass = FindClass(pszClassName, hInstance);
    if (!pClass) {
        // The standard controls exist from the start, as on the original.
        TbRegisterControlClasses();
        pClass = FindClass(pszClassName, hInstance);
    }
    // Menus and MDI: the system's MDI client class is registered on first use.
    if (!pClass && TbRegisterMdiClientClass(pszClassName))
        pClass = FindClass(pszClassName, hInstance);
    if (!pClass)
        return nullptr;
    if (hWndParent == HWND_MESSAGE || hWndParent == TbUser().hDesktop)
        hWndParent = nullptr;
    TbWindow* pParent = hWndParent ? TbFindWindow(hWndParent) : nullptr;
    if (hWndParent && !pParent)
        return nullptr;
    if ((dwStyle & WS_CHILD) && !pParent)
        return nullptr;
    PlaceDefault(dwStyle, x, y, nWidth, nHeight);
    nWidth = std::max(0, nWidth);
    nHeight = std::max(0, nHeight);

    auto pNew = std::make_shared<TbWindow>();
    TbWindow* pWnd = pNew.get();
    pWnd->pClass = pClass;
    pWnd->pfnWndProc = pClass->pfnWndProc;
    pWnd->dwStyle = dwStyle & ~WS_VISIBLE;
    if (!(dwStyle & WS_CHILD))
        pWnd->dwStyle |= WS_CLIPSIBLINGS;
    pWnd->dwExStyle = dwExStyle;
    pWnd->hInstance = hInstance;
    pWnd->nId = reinterpret_cast<LONG_PTR>(hMenu);
    pWnd->rcWindow = RECT{x, y, x + nWidth, y + nHeight};
    pWnd->rcNormal = pWnd->rcWindow;
    pWnd->wndExtra.assign(static_cast<size_t>(pClass->cbWndExtra), 0);
    if (dwStyle & WS_CHILD) {
        pWnd->hParent = hWndParent;
    } else if (pParent) {
        pWnd->hOwner = GetAncestor(hWndParent, GA_ROOT);
    }
    HWND hWnd = reinterpret_cast<HWND>(Windows().Add(std::move(pNew)));
    if (!hWnd)
        return nullptr;
    pWnd->hWnd = hWnd;
    if (pWnd->hParent)
        pParent->children.push_back(hWnd);            // a new child goes last: dialog order is creation order
    else
        TbUser().topLevel.insert(TbUser().topLevel.begin(), hWnd);
    ITbSurface* pParentSurface = pParent && pWnd->hParent ? pParent->pSurface.get() : nullptr;
    pWnd->pSurface.reset(TbGetDisplay()->CreateSurface(hWnd, pParentSurface, dwStyle, dwExStyle));
    if (pWnd->pSurface) {
        pWnd->pSurface->SetGeometry(x, y, nWidth, nHeight);
        TbShowWindowIcon(pWnd);
    }
    if (!(dwStyle & WS_CHILD) && IsMenu(hMenu))
        TbApplyMenuBar(hWnd, FALSE);

    CREATESTRUCTA cs = {pParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x,
                        static_cast<LONG>(dwStyle), pszWindowName, pszClassName, dwExStyle};
    CBT_CREATEWNDA cbt = {&cs, HWND_TOP};
    if (TbCallCbtHook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hWnd), reinterpret_cast<LPARAM>(&cbt)) != 0) {
        DiscardWindow(hWnd);
        return nullptr;
    }
    if (!cs.hwndParent) {
        MINMAXINFO mmi = {};
        SendMessageA(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    }
    if (!IsWindow(hWnd))
        return nullptr;
    LRESULT lNcCreate = SendMessageA(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (TbWindow* p = TbFindWindow(hWnd))
        p->bCreated = TRUE;
    if (!lNcCreate) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    if (!IsWindow(hWnd))
        return nullptr;
    RECT rcCalc = {x, y, x + nWidth, y + nHeight};
    SendMessageA(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rcCalc));
    if (SendMessageA(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    if (pWnd->hParent && !(dwExStyle & WS_EX_NOPARENTNOTIFY))
        SendMessageA(pWnd->hParent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, pWnd->nId), reinterpret_cast<LPARAM>(hWnd));
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return nullptr;
    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(TbClientWidth(pWnd), TbClientHeight(pWnd)));
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return nullptr;
    SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(pWnd->rcWindow.left, pWnd->rcWindow.top));
    if (!IsWindow(hWnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hWnd, (dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (dwStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW);
    return IsWindow(hWnd) ? hWnd : nullptr;
}

HWND CreateWindowA(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                   HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID pParam)
{
    return CreateWindowExA(0, pszClassName, pszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu,
                           hInstance, pParam);
}

BOOL IsWindow(HWND hWnd)
{
    if (!TbIsUiThread())
        return hWnd != nullptr;     // the table is the UI thread's; other threads may only post
    return TbFindWindowOrDesktop(hWnd) != nullptr;
}

// ---- destruction ----

static void SendDestroyTree(HWND hWnd)
{
    // An owner renders its delayed clipboard formats while it is still whole.
    TbClipboardWindowDestroying(hWnd);
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    std::vector<HWND> children = pWnd->children;
    for (HWND hChild : children)
        if (TbWindow* pChild = TbFindWindow(hChild)) {
            pChild->bDestroying = TRUE;
            SendDestroyTree(hChild);
        }
}

static void FreeTree(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    // Children created while the tree was going away go too; the loop re-reads the list.
    while (!pWnd->children.empty()) {
        HWND hChild = pWnd->children.front();
        if (TbWindow* pChild = TbFindWindow(hChild))
            pChild->bDestroying = TRUE;
        FreeTree(hChild);
        pWnd = TbFindWindow(hWnd);
        if (!pWnd)
            return;
        auto& list = pWnd->children;
        list.erase(std::remove(list.begin(), list.end(), hChild), list.end());
    }
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    TbDropWindowTimers(hWnd);
    Unlink(pWnd);
    TbForgetWindowState(hWnd);
    // The window's menus go with it: its system menu, and a top-level window's menu bar.
    if (pWnd->hSysMenu)
        DestroyMenu(pWnd->hSysMenu);
    if (!(pWnd->dwStyle & WS_CHILD) && IsMenu(reinterpret_cast<HMENU>(pWnd->nId)))
        DestroyMenu(reinterpret_cast<HMENU>(pWnd->nId));
    // The surface goes before the record: the display must not call back for a dead window.
    pWnd->pSurface.reset();
    // A text painter may still be open on the backing image that goes with the record.
    TbGetTextEngine()->EndDrawing();
    Windows().Remove(reinterpret_cast<uintptr_t>(hWnd));
}

BOOL DestroyWindow(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || pWnd->bDestroying || !TbIsUiThread())
        return FALSE;
    if (TbCallCbtHook(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hWnd), 0) != 0)
        return FALSE;
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return FALSE;
    pWnd->bDestroying = TRUE;
    // Owned windows go first, as on the original.
    std::vector<HWND> owned;
    for (HWND hTop : TbUser().topLevel)
        if (TbWindow* pTop = TbFindWindow(hTop))
            if (pTop->hOwner == hWnd)
                owned.push_back(hTop);
    for (HWND hOwned : owned)
        DestroyWindow(hOwned);
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return TRUE;
    if (pWnd->dwStyle & WS_VISIBLE)
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return TRUE;
    if (pWnd->hParent && !(pWnd->dwExStyle & WS_EX_NOPARENTNOTIFY))
        SendMessageA(pWnd->hParent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, pWnd->nId), reinterpret_cast<LPARAM>(hWnd));
    TbForgetWindowState(hWnd);
    SendDestroyTree(hWnd);
    FreeTree(hWnd);
    return TRUE;
}

// ---- window data ----

static BOOL ExtraSlot(TbWindow* pWnd, int nIndex, size_t cb)
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) + cb <= pWnd->wndExtra.size();
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd)
        return 0;
    switch (nIndex) {
    case GWLP_WNDPROC:    return reinterpret_cast<LONG_PTR>(pWnd->pfnWndProc);
    case GWLP_HINSTANCE:  return reinterpret_cast<LONG_PTR>(pWnd->hInstance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(pWnd->hParent ? pWnd->hParent : pWnd->hOwner);
    case GWLP_ID:         return pWnd->nId;
    case GWL_STYLE:       return static_cast<LONG_PTR>(pWnd->dwStyle);
    case GWL_EXSTYLE:     return static_cast<LONG_PTR>(pWnd->dwExStyle);
    case GWLP_USERDATA:   return pWnd->nUserData;
    }
    if (ExtraSlot(pWnd, nIndex, sizeof(LONG_PTR))) {
        LONG_PTR n;
        memcpy(&n, pWnd->wndExtra.data() + nIndex, sizeof n);
        return n;
    }
    return 0;
}

static void SetStyle(HWND hWnd, int nIndex, DWORD dwNew)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    STYLESTRUCT ss = {nIndex == GWL_STYLE ? pWnd->dwStyle : pWnd->dwExStyle, dwNew};
    SendMessageA(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return;
    DWORD dwOld = nIndex == GWL_STYLE ? pWnd->dwStyle : pWnd->dwExStyle;
    if (nIndex == GWL_STYLE) {
        pWnd->dwStyle = ss.styleNew;
        if (((dwOld ^ ss.styleNew) & WS_DISABLED) && pWnd->pSurface)
            pWnd->pSurface->SetEnabled(!(ss.styleNew & WS_DISABLED));
    } else {
        pWnd->dwExStyle = ss.styleNew;
    }
    ss.styleOld = dwOld;
    SendMessageA(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR nNewLong)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return 0;
    LONG_PTR nOld = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
    case GWLP_WNDPROC:
        if (!nNewLong)
            return 0;
        pWnd->pfnWndProc = reinterpret_cast<WNDPROC>(nNewLong);
        break;
    case GWLP_HINSTANCE: pWnd->hInstance = reinterpret_cast<HINSTANCE>(nNewLong); break;
    case GWLP_HWNDPARENT:
        if (!pWnd->hParent)
            pWnd->hOwner = reinterpret_cast<HWND>(nNewLong);
        break;
    case GWLP_ID:       pWnd->nId = nNewLong; break;
    case GWLP_USERDATA: pWnd->nUserData = nNewLong; break;
    case GWL_STYLE:
    case GWL_EXSTYLE:
        SetStyle(hWnd, nIndex, static_cast<DWORD>(nNewLong));
        break;
    default:
        if (!ExtraSlot(pWnd, nIndex, sizeof(LONG_PTR)))
            return 0;
        memcpy(pWnd->wndExtra.data() + nIndex, &nNewLong, sizeof nNewLong);
    }
    return nOld;
}

LONG GetWindowLongA(HWND hWnd, int nIndex)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (pWnd && nIndex >= 0) {
        LONG n = 0;
        if (ExtraSlot(pWnd, nIndex, sizeof(LONG)))
            memcpy(&n, pWnd->wndExtra.data() + nIndex, sizeof n);
        return n;
    }
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG nNewLong)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (pWnd && nIndex >= 0) {
        LONG nOld = 0;
        if (!ExtraSlot(pWnd, nIndex, sizeof(LONG)))
            return 0;
        memcpy(&nOld, pWnd->wndExtra.data() + nIndex, sizeof nOld);
        memcpy(pWnd->wndExtra.data() + nIndex, &nNewLong, sizeof nNewLong);
        return nOld;
    }
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, nNewLong));
}

int GetWindowTextA(HWND hWnd, LPSTR pszString, int cchMax)
{
    if (!pszString || cchMax <= 0)
        return 0;
    pszString[0] = '\0';
    if (!TbFindWindowOrDesktop(hWnd))
        return 0;
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(cchMax), reinterpret_cast<LPARAM>(pszString)));
}

int GetWindowTextLengthA(HWND hWnd)
{
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR pszString)
{
    if (!TbFindWindow(hWnd))
        return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszString)) != 0;
}

int GetDlgCtrlID(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return (pWnd && pWnd->hParent) ? static_cast<int>(pWnd->nId) : 0;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    TbWindow* pWnd = TbFindWindow(hDlg);
    if (!pWnd)
        return nullptr;
    for (HWND hChild : pWnd->children)
        if (TbWindow* pChild = TbFindWindow(hChild))
            if (static_cast<int>(pChild->nId) == nIDDlgItem)
                return hChild;
    return nullptr;
}

// A window's menu bar and system menu.
#include <string>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/MenuInternal.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowRecord.h"

static HMENU MenuOf(const TbWindow* pWnd)
{
    if (pWnd->dwStyle & WS_CHILD)
        return nullptr;
    HMENU hMenu = reinterpret_cast<HMENU>(pWnd->nId);
    return IsMenu(hMenu) ? hMenu : nullptr;
}

// Shows the window's menu bar and lays the client area out below it. bNotify: the window is
// made, so a change of client size is told with WM_SIZE.
void TbApplyMenuBar(HWND hWnd, BOOL bNotify)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || (pWnd->dwStyle & WS_CHILD))
        return;
    HMENU hMenu = MenuOf(pWnd);
    // Without a display the bar takes the system's menu height.
    const int nHeight = pWnd->pSurface ? pWnd->pSurface->SetMenuBar(hMenu) : (hMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    if (nHeight == pWnd->nMenuBarHeight)
        return;
    pWnd->nMenuBarHeight = nHeight;
    TbResizeImage(pWnd);
    if (!bNotify)
        return;
    InvalidateRect(hWnd, nullptr, TRUE);
    const WPARAM wType = (pWnd->dwStyle & WS_MINIMIZE) ? SIZE_MINIMIZED : (pWnd->dwStyle & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SendMessageA(hWnd, WM_SIZE, wType, MAKELPARAM(TbClientWidth(pWnd), TbClientHeight(pWnd)));
}

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || (pWnd->dwStyle & WS_CHILD) || (hMenu && !IsMenu(hMenu)))
        return FALSE;
    pWnd->nId = reinterpret_cast<LONG_PTR>(hMenu);
    TbApplyMenuBar(hWnd, TRUE);
    return TRUE;
}

HMENU GetMenu(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd ? MenuOf(pWnd) : nullptr;
}

BOOL DrawMenuBar(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || (pWnd->dwStyle & WS_CHILD))
        return FALSE;
    TbApplyMenuBar(hWnd, TRUE);
    return TRUE;
}

HMENU GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    if (bRevert) {
        if (pWnd->hSysMenu)
            DestroyMenu(pWnd->hSysMenu);
        pWnd->hSysMenu = nullptr;
        return nullptr;
    }
    if (!pWnd->hSysMenu) {
        // An MDI child closes with Ctrl+F4 and steps to the next child with Ctrl+F6.
        const BOOL bMdiChild = (pWnd->dwExStyle & WS_EX_MDICHILD) != 0;
        static const struct { UINT uId; const char* pszText; } s_items[] = {
            {SC_RESTORE, "&Restore"}, {SC_MOVE, "&Move"}, {SC_SIZE, "&Size"}, {SC_MINIMIZE, "Mi&nimize"},
            {SC_MAXIMIZE, "Ma&ximize"}, {0, nullptr}, {SC_CLOSE, "&Close"}};
        // The words in the user's language, the keys as the keyboard names them.
        const auto append = [](HMENU hMenu, UINT uId, const char* pszWord, const char* pszKeys) {
            const std::string strText = TbUtf8ToCodePage(TbLayerWord(pszWord), CP_ACP) + pszKeys;
            AppendMenuA(hMenu, MF_STRING, uId, strText.c_str());
        };
        HMENU hMenu = CreatePopupMenu();
        for (const auto& item : s_items) {
            if (item.uId == 0)
                AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
            else
                append(hMenu, item.uId, item.pszText,
                       item.uId != SC_CLOSE ? "" : bMdiChild ? "\tCtrl+F4" : "\tAlt+F4");
        }
        if (bMdiChild)
            append(hMenu, SC_NEXTWINDOW, "Nex&t", "\tCtrl+F6");
        pWnd->hSysMenu = hMenu;
    }
    return pWnd->hSysMenu;
}

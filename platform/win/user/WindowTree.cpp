// The window tree: parents, owners, siblings and enumeration.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include "platform/win/user/Message.h"
#include "platform/win/user/WindowRecord.h"

HWND GetParent(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    if (pWnd->hParent)
        return pWnd->hParent;
    return (pWnd->dwStyle & WS_POPUP) ? pWnd->hOwner : nullptr;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    TbWindow* pWnd = TbFindWindow(hWndChild);
    if (!pWnd)
        return nullptr;
    if (hWndNewParent == TbUser().hDesktop)
        hWndNewParent = nullptr;
    TbWindow* pNewParent = hWndNewParent ? TbFindWindow(hWndNewParent) : nullptr;
    if (hWndNewParent && (!pNewParent || hWndNewParent == hWndChild || IsChild(hWndChild, hWndNewParent)))
        return nullptr;
    HWND hOld = pWnd->hParent ? pWnd->hParent : GetDesktopWindow();
    std::vector<HWND>& oldList = pWnd->hParent && TbFindWindow(pWnd->hParent) ? TbFindWindow(pWnd->hParent)->children
                                                                              : TbUser().topLevel;
    oldList.erase(std::remove(oldList.begin(), oldList.end(), hWndChild), oldList.end());
    pWnd->hParent = hWndNewParent;
    if (pNewParent)
        pNewParent->children.insert(pNewParent->children.begin(), hWndChild);
    else
        TbUser().topLevel.insert(TbUser().topLevel.begin(), hWndChild);
    if (pWnd->pSurface) {
        pWnd->pSurface->Reparent(pNewParent ? pNewParent->pSurface.get() : nullptr);
        pWnd->pSurface->SetGeometry(pWnd->rcWindow.left, pWnd->rcWindow.top, TbWindowWidth(pWnd), TbWindowHeight(pWnd));
        pWnd->pSurface->SetVisible((pWnd->dwStyle & WS_VISIBLE) != 0);
    }
    return hOld;
}

HWND GetAncestor(HWND hWnd, UINT gaFlags)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    switch (gaFlags) {
    case GA_PARENT:
        return pWnd->hParent ? pWnd->hParent : GetDesktopWindow();
    case GA_ROOT:
    case GA_ROOTOWNER:
        while (pWnd->hParent && TbFindWindow(pWnd->hParent))
            pWnd = TbFindWindow(pWnd->hParent);
        if (gaFlags == GA_ROOTOWNER)
            while (pWnd->hOwner && TbFindWindow(pWnd->hOwner))
                pWnd = TbFindWindow(pWnd->hOwner);
        return pWnd->hWnd;
    }
    return nullptr;
}

static const std::vector<HWND>* SiblingList(TbWindow* pWnd)
{
    if (!pWnd->hParent)
        return &TbUser().topLevel;
    TbWindow* pParent = TbFindWindow(pWnd->hParent);
    return pParent ? &pParent->children : nullptr;
}

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd)
        return nullptr;
    if (uCmd == GW_CHILD) {
        const std::vector<HWND>& list = hWnd == TbUser().hDesktop ? TbUser().topLevel : pWnd->children;
        return list.empty() ? nullptr : list.front();
    }
    if (uCmd == GW_OWNER)
        return pWnd->hOwner;
    const std::vector<HWND>* pList = SiblingList(pWnd);
    if (!pList || pList->empty() || hWnd == TbUser().hDesktop)
        return nullptr;
    auto it = std::find(pList->begin(), pList->end(), hWnd);
    switch (uCmd) {
    case GW_HWNDFIRST: return pList->front();
    case GW_HWNDLAST:  return pList->back();
    case GW_HWNDNEXT:  return (it == pList->end() || it + 1 == pList->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:  return (it == pList->end() || it == pList->begin()) ? nullptr : *(it - 1);
    }
    return nullptr;
}

HWND GetTopWindow(HWND hWnd)
{
    return GetWindow(hWnd ? hWnd : GetDesktopWindow(), GW_CHILD);
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    while (pWnd && pWnd->hParent) {
        if (pWnd->hParent == hWndParent)
            return TRUE;
        pWnd = TbFindWindow(pWnd->hParent);
    }
    return FALSE;
}

static void CollectDescendants(HWND hWnd, std::vector<HWND>& out)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    for (HWND hChild : pWnd->children) {
        out.push_back(hChild);
        CollectDescendants(hChild, out);
    }
}

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC pfnEnum, LPARAM lParam)
{
    if (!pfnEnum)
        return FALSE;
    std::vector<HWND> all;
    CollectDescendants(hWndParent, all);
    // Windows destroyed by an earlier call are skipped, not handed out stale.
    for (HWND h : all)
        if (IsWindow(h) && !pfnEnum(h, lParam))
            break;
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC pfnEnum, LPARAM lParam)
{
    if (!pfnEnum)
        return FALSE;
    std::vector<HWND> all = TbUser().topLevel;
    for (HWND h : all)
        if (IsWindow(h) && !pfnEnum(h, lParam))
            break;
    return TRUE;
}

HWND FindWindowA(LPCSTR pszClassName, LPCSTR pszWindowName)
{
    for (HWND h : TbUser().topLevel) {
        TbWindow* pWnd = TbFindWindow(h);
        if (!pWnd)
            continue;
        if (pszClassName && !IS_INTRESOURCE(pszClassName) && strcasecmp(pWnd->pClass->strName.c_str(), pszClassName) != 0)
            continue;
        if (pszWindowName && pWnd->strText != pszWindowName)
            continue;
        return h;
    }
    return nullptr;
}

int TbCopyText(LPSTR pszDest, int cchMax, LPCSTR pszSrc)
{
    if (!pszDest || cchMax <= 0)
        return 0;
    size_t nLen = pszSrc ? strlen(pszSrc) : 0;
    nLen = std::min(nLen, static_cast<size_t>(cchMax - 1));
    if (nLen)
        memcpy(pszDest, pszSrc, nLen);
    pszDest[nLen] = '\0';
    return static_cast<int>(nLen);
}

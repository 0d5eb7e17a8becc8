#include "platform/win/user/Menu.h"
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {
struct MenuItem
{
    std::string strText;
    UINT_PTR uId = 0;
    UINT uFlags = 0;
    HMENU hSubMenu = nullptr;
};

struct MenuObject
{
    std::vector<MenuItem> items;
};

// Live menus: a stale or foreign handle is refused instead of being read.
std::unordered_set<MenuObject*>& LiveMenus()
{
    static std::unordered_set<MenuObject*> s_menus;
    return s_menus;
}

MenuObject* FromHandle(HMENU hMenu)
{
    MenuObject* pMenu = reinterpret_cast<MenuObject*>(hMenu);
    return pMenu && LiveMenus().count(pMenu) ? pMenu : nullptr;
}

MenuItem* FindItem(MenuObject* pMenu, UINT uId, UINT uFlags)
{
    if (uFlags & MF_BYPOSITION)
        return uId < pMenu->items.size() ? &pMenu->items[uId] : nullptr;
    for (MenuItem& item : pMenu->items)
        if (!(item.uFlags & MF_POPUP) && !(item.uFlags & MF_SEPARATOR) && item.uId == uId)
            return &item;
    return nullptr;
}
}  // namespace

HMENU CreatePopupMenu()
{
    MenuObject* pMenu = new MenuObject;
    LiveMenus().insert(pMenu);
    return reinterpret_cast<HMENU>(pMenu);
}

HMENU CreateMenu()
{
    return CreatePopupMenu();
}

BOOL DestroyMenu(HMENU hMenu)
{
    MenuObject* pMenu = FromHandle(hMenu);
    if (!pMenu)
        return FALSE;
    LiveMenus().erase(pMenu);
    for (MenuItem& item : pMenu->items)
        if (item.hSubMenu)
            DestroyMenu(item.hSubMenu);
    delete pMenu;
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return FromHandle(hMenu) != nullptr;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem)
{
    MenuObject* pMenu = FromHandle(hMenu);
    if (!pMenu)
        return FALSE;
    MenuItem item;
    item.uFlags = uFlags & ~MF_BYPOSITION;
    if (uFlags & MF_POPUP) {
        item.hSubMenu = reinterpret_cast<HMENU>(uIDNewItem);
        if (!FromHandle(item.hSubMenu))
            return FALSE;
    } else {
        item.uId = uIDNewItem;
    }
    if (!(uFlags & MF_SEPARATOR) && pszNewItem)
        item.strText = pszNewItem;
    pMenu->items.push_back(item);
    return TRUE;
}

int GetMenuItemCount(HMENU hMenu)
{
    MenuObject* pMenu = FromHandle(hMenu);
    return pMenu ? static_cast<int>(pMenu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    MenuObject* pMenu = FromHandle(hMenu);
    if (!pMenu || nPos < 0 || nPos >= static_cast<int>(pMenu->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& item = pMenu->items[static_cast<size_t>(nPos)];
    return item.uFlags & MF_POPUP ? static_cast<UINT>(-1) : static_cast<UINT>(item.uId);
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR pszString, int cchMax, UINT uFlag)
{
    MenuObject* pMenu = FromHandle(hMenu);
    MenuItem* pItem = pMenu ? FindItem(pMenu, uIDItem, uFlag) : nullptr;
    if (!pItem) {
        if (pszString && cchMax > 0)
            pszString[0] = '\0';
        return 0;
    }
    int nLength = static_cast<int>(pItem->strText.size());
    if (!pszString)
        return nLength;
    if (cchMax <= 0)
        return 0;
    int nCopy = nLength < cchMax - 1 ? nLength : cchMax - 1;
    memcpy(pszString, pItem->strText.data(), static_cast<size_t>(nCopy));
    pszString[nCopy] = '\0';
    return nCopy;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    MenuObject* pMenu = FromHandle(hMenu);
    MenuItem* pItem = pMenu ? FindItem(pMenu, uId, uFlags) : nullptr;
    if (!pItem)
        return static_cast<UINT>(-1);
    if (pItem->uFlags & MF_POPUP)
        return (static_cast<UINT>(GetMenuItemCount(pItem->hSubMenu)) << 8) | (pItem->uFlags & 0xff);
    return pItem->uFlags;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    MenuObject* pMenu = FromHandle(hMenu);
    if (!pMenu || nPos < 0 || nPos >= static_cast<int>(pMenu->items.size()))
        return nullptr;
    return pMenu->items[static_cast<size_t>(nPos)].hSubMenu;
}

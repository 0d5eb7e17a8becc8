// Menu objects: making, editing and reading them.
#include <cstring>
#include "platform/win/user/HandleTable.h"
#include "platform/win/user/MenuInternal.h"

namespace {
// A stale handle of a destroyed menu never finds the slot's next menu.
CTbHandleTable<TbMenu>& Menus()
{
    static CTbHandleTable<TbMenu>* s_pMenus = new CTbHandleTable<TbMenu>(TB_HANDLE_MENU);
    return *s_pMenus;
}

const UINT TYPE_FLAGS = MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MF_RIGHTJUSTIFY;
const UINT STATE_FLAGS = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// The item uPosition names: by position in this menu, or by command anywhere below it.
TbMenuItem* FindItem(HMENU hMenu, UINT uPosition, UINT uFlags, HMENU* phHolder, size_t* pnIndex)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu)
        return nullptr;
    if (uFlags & MF_BYPOSITION) {
        if (uPosition >= pMenu->items.size())
            return nullptr;
        if (phHolder)
            *phHolder = hMenu;
        if (pnIndex)
            *pnIndex = uPosition;
        return &pMenu->items[uPosition];
    }
    HMENU hHolder = nullptr;
    TbMenuItem* pItem = TbFindMenuCommand(hMenu, uPosition, &hHolder);
    if (pItem) {
        if (phHolder)
            *phHolder = hHolder;
        if (pnIndex)
            *pnIndex = static_cast<size_t>(pItem - TbFindMenu(hHolder)->items.data());
    }
    return pItem;
}

// An item from MF_ flags; FALSE for a popup handle that is not a live menu.
BOOL MakeItem(UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem, TbMenuItem* pItem)
{
    pItem->fType = uFlags & TYPE_FLAGS;
    pItem->fState = uFlags & STATE_FLAGS;
    if (uFlags & MF_POPUP) {
        pItem->hSubMenu = reinterpret_cast<HMENU>(uIDNewItem);
        if (!TbFindMenu(pItem->hSubMenu))
            return FALSE;
        pItem->uId = static_cast<UINT>(uIDNewItem);
    } else {
        pItem->uId = static_cast<UINT>(uIDNewItem);
    }
    if (!(uFlags & MF_SEPARATOR) && pszNewItem)
        pItem->strText = pszNewItem;
    return TRUE;
}

BOOL InsertItem(HMENU hMenu, UINT uPosition, BOOL bByPosition, const TbMenuItem& item)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu)
        return FALSE;
    size_t nIndex = pMenu->items.size();
    if (bByPosition) {
        if (uPosition < nIndex)
            nIndex = uPosition;
    } else {
        // By command: before that item, in whichever submenu holds it; appended when none does.
        HMENU hHolder = nullptr;
        if (TbMenuItem* pAt = TbFindMenuCommand(hMenu, uPosition, &hHolder)) {
            pMenu = TbFindMenu(hHolder);
            nIndex = static_cast<size_t>(pAt - pMenu->items.data());
        }
    }
    pMenu->items.insert(pMenu->items.begin() + static_cast<std::ptrdiff_t>(nIndex), item);
    return TRUE;
}

int CopyItemText(const std::string& strText, LPSTR pszBuffer, int cchMax)
{
    const int nLength = static_cast<int>(strText.size());
    if (!pszBuffer)
        return nLength;
    if (cchMax <= 0)
        return 0;
    const int nCopy = nLength < cchMax - 1 ? nLength : cchMax - 1;
    memcpy(pszBuffer, strText.data(), static_cast<size_t>(nCopy));
    pszBuffer[nCopy] = '\0';
    return nCopy;
}
}  // namespace

TbMenu* TbFindMenu(HMENU hMenu)
{
    return Menus().Find(reinterpret_cast<uintptr_t>(hMenu));
}

TbMenuItem* TbFindMenuCommand(HMENU hMenu, UINT uId, HMENU* phHolder)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu)
        return nullptr;
    for (TbMenuItem& item : pMenu->items) {
        if (item.hSubMenu) {
            if (TbMenuItem* pFound = TbFindMenuCommand(item.hSubMenu, uId, phHolder))
                return pFound;
        } else if (!(item.fType & MF_SEPARATOR) && item.uId == uId) {
            if (phHolder)
                *phHolder = hMenu;
            return &item;
        }
    }
    return nullptr;
}

UINT TbMenuItemFlags(const TbMenuItem& item)
{
    UINT uFlags = item.fType | item.fState;
    if (item.hSubMenu)
        uFlags |= MF_POPUP;
    return uFlags;
}

HMENU CreatePopupMenu()
{
    return reinterpret_cast<HMENU>(Menus().Add(std::make_shared<TbMenu>()));
}

HMENU CreateMenu()
{
    return CreatePopupMenu();
}

BOOL DestroyMenu(HMENU hMenu)
{
    std::shared_ptr<TbMenu> pMenu = Menus().Remove(reinterpret_cast<uintptr_t>(hMenu));
    if (!pMenu)
        return FALSE;
    for (TbMenuItem& item : pMenu->items)
        if (item.hSubMenu)
            DestroyMenu(item.hSubMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return TbFindMenu(hMenu) != nullptr;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem)
{
    TbMenuItem item;
    if (!TbFindMenu(hMenu) || !MakeItem(uFlags, uIDNewItem, pszNewItem, &item))
        return FALSE;
    TbFindMenu(hMenu)->items.push_back(item);
    return TRUE;
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem)
{
    TbMenuItem item;
    if (!TbFindMenu(hMenu) || !MakeItem(uFlags, uIDNewItem, pszNewItem, &item))
        return FALSE;
    return InsertItem(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0, item);
}

// Applies the fields pmii names to an item; FALSE (nothing changed) for a dead submenu handle.
static BOOL ApplyItemInfo(TbMenuItem* pItem, LPCMENUITEMINFOA pmii)
{
    if ((pmii->fMask & MIIM_SUBMENU) && pmii->hSubMenu && !TbFindMenu(pmii->hSubMenu))
        return FALSE;
    if (pmii->fMask & (MIIM_TYPE | MIIM_FTYPE))
        pItem->fType = pmii->fType & ~static_cast<UINT>(MF_POPUP);
    if (pmii->fMask & MIIM_STATE)
        pItem->fState = pmii->fState;
    if (pmii->fMask & MIIM_ID)
        pItem->uId = pmii->wID;
    if (pmii->fMask & MIIM_SUBMENU)
        pItem->hSubMenu = pmii->hSubMenu;
    if (pmii->fMask & MIIM_DATA)
        pItem->dwItemData = pmii->dwItemData;
    if (pmii->fMask & MIIM_BITMAP)
        pItem->hbmpItem = pmii->hbmpItem;
    if ((pmii->fMask & MIIM_STRING) || ((pmii->fMask & MIIM_TYPE) && !(pmii->fType & MF_SEPARATOR)))
        pItem->strText = pmii->dwTypeData ? pmii->dwTypeData : "";
    return TRUE;
}

BOOL InsertMenuItemA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPCMENUITEMINFOA pmii)
{
    TbMenuItem item;
    if (!TbFindMenu(hMenu) || !pmii || !ApplyItemInfo(&item, pmii))
        return FALSE;
    return InsertItem(hMenu, uItem, fByPosition, item);
}

BOOL ModifyMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem)
{
    TbMenuItem replacement;
    if (!MakeItem(uFlags, uIDNewItem, pszNewItem, &replacement))
        return FALSE;
    TbMenuItem* pItem = FindItem(hMenu, uPosition, uFlags, nullptr, nullptr);
    if (!pItem)
        return FALSE;
    HMENU hOldSub = pItem->hSubMenu;
    replacement.dwItemData = pItem->dwItemData;
    *pItem = replacement;
    if (hOldSub && hOldSub != replacement.hSubMenu)
        DestroyMenu(hOldSub);
    return TRUE;
}

static BOOL TakeOut(HMENU hMenu, UINT uPosition, UINT uFlags, BOOL bDestroy)
{
    HMENU hHolder = nullptr;
    size_t nIndex = 0;
    TbMenuItem* pItem = FindItem(hMenu, uPosition, uFlags, &hHolder, &nIndex);
    if (!pItem)
        return FALSE;
    HMENU hSub = pItem->hSubMenu;
    TbMenu* pHolder = TbFindMenu(hHolder);
    pHolder->items.erase(pHolder->items.begin() + static_cast<std::ptrdiff_t>(nIndex));
    if (bDestroy && hSub)
        DestroyMenu(hSub);
    return TRUE;
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return TakeOut(hMenu, uPosition, uFlags, FALSE);
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return TakeOut(hMenu, uPosition, uFlags, TRUE);
}

UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    TbMenuItem* pItem = FindItem(hMenu, uIDEnableItem, uEnable, nullptr, nullptr);
    if (!pItem)
        return static_cast<UINT>(-1);
    const UINT uOld = pItem->fState & (MF_GRAYED | MF_DISABLED);
    pItem->fState = (pItem->fState & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return uOld;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    TbMenuItem* pItem = FindItem(hMenu, uIDCheckItem, uCheck, nullptr, nullptr);
    if (!pItem)
        return static_cast<DWORD>(-1);
    const DWORD dwOld = pItem->fState & MF_CHECKED;
    pItem->fState = (pItem->fState & ~static_cast<UINT>(MF_CHECKED)) | (uCheck & MF_CHECKED);
    return dwOld;
}

BOOL CheckMenuRadioItem(HMENU hMenu, UINT idFirst, UINT idLast, UINT idCheck, UINT uFlags)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu || idFirst > idLast || idCheck < idFirst || idCheck > idLast)
        return FALSE;
    if (uFlags & MF_BYPOSITION) {
        if (idLast >= pMenu->items.size())
            return FALSE;
        for (UINT i = idFirst; i <= idLast; ++i) {
            TbMenuItem& item = pMenu->items[i];
            item.fState &= ~static_cast<UINT>(MF_CHECKED);
            if (i == idCheck) {
                item.fState |= MF_CHECKED;
                item.fType |= MFT_RADIOCHECK;
            }
        }
        return TRUE;
    }
    // By command: the group is the items of the menu that holds idCheck.
    HMENU hHolder = nullptr;
    if (!TbFindMenuCommand(hMenu, idCheck, &hHolder))
        return FALSE;
    for (TbMenuItem& item : TbFindMenu(hHolder)->items) {
        if (item.hSubMenu || (item.fType & MF_SEPARATOR) || item.uId < idFirst || item.uId > idLast)
            continue;
        item.fState &= ~static_cast<UINT>(MF_CHECKED);
        if (item.uId == idCheck) {
            item.fState |= MF_CHECKED;
            item.fType |= MFT_RADIOCHECK;
        }
    }
    return TRUE;
}

BOOL GetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOA pmii)
{
    TbMenuItem* pItem = pmii ? FindItem(hMenu, uItem, fByPosition ? MF_BYPOSITION : 0, nullptr, nullptr) : nullptr;
    if (!pItem)
        return FALSE;
    if (pmii->fMask & (MIIM_TYPE | MIIM_FTYPE))
        pmii->fType = pItem->fType;
    if (pmii->fMask & MIIM_STATE)
        pmii->fState = pItem->fState;
    if (pmii->fMask & MIIM_ID)
        pmii->wID = pItem->uId;
    if (pmii->fMask & MIIM_SUBMENU)
        pmii->hSubMenu = pItem->hSubMenu;
    if (pmii->fMask & MIIM_DATA)
        pmii->dwItemData = pItem->dwItemData;
    if (pmii->fMask & MIIM_BITMAP)
        pmii->hbmpItem = pItem->hbmpItem;
    if (pmii->fMask & (MIIM_STRING | MIIM_TYPE)) {
        if (!pmii->dwTypeData || pmii->cch == 0)
            pmii->cch = static_cast<UINT>(pItem->strText.size());
        else
            pmii->cch = static_cast<UINT>(CopyItemText(pItem->strText, pmii->dwTypeData, static_cast<int>(pmii->cch)));
    }
    return TRUE;
}

BOOL SetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPCMENUITEMINFOA pmii)
{
    TbMenuItem* pItem = pmii ? FindItem(hMenu, uItem, fByPosition ? MF_BYPOSITION : 0, nullptr, nullptr) : nullptr;
    if (!pItem)
        return FALSE;
    HMENU hOldSub = pItem->hSubMenu;
    if (!ApplyItemInfo(pItem, pmii))
        return FALSE;
    if (hOldSub && hOldSub != pItem->hSubMenu)
        DestroyMenu(hOldSub);
    return TRUE;
}

int GetMenuItemCount(HMENU hMenu)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    return pMenu ? static_cast<int>(pMenu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu || nPos < 0 || nPos >= static_cast<int>(pMenu->items.size()))
        return static_cast<UINT>(-1);
    const TbMenuItem& item = pMenu->items[static_cast<size_t>(nPos)];
    return item.hSubMenu ? static_cast<UINT>(-1) : item.uId;
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR pszString, int cchMax, UINT uFlag)
{
    TbMenuItem* pItem = FindItem(hMenu, uIDItem, uFlag, nullptr, nullptr);
    if (!pItem) {
        if (pszString && cchMax > 0)
            pszString[0] = '\0';
        return 0;
    }
    return CopyItemText(pItem->strText, pszString, cchMax);
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    TbMenuItem* pItem = FindItem(hMenu, uId, uFlags, nullptr, nullptr);
    if (!pItem)
        return static_cast<UINT>(-1);
    if (pItem->hSubMenu)
        return (static_cast<UINT>(GetMenuItemCount(pItem->hSubMenu)) << 8) | (TbMenuItemFlags(*pItem) & 0xff);
    return TbMenuItemFlags(*pItem);
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    TbMenu* pMenu = TbFindMenu(hMenu);
    if (!pMenu || nPos < 0 || nPos >= static_cast<int>(pMenu->items.size()))
        return nullptr;
    return pMenu->items[static_cast<size_t>(nPos)].hSubMenu;
}

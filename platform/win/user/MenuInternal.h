#pragma once
// Inside the window manager: menu objects as the menu bar, popups and accelerators read them.
#include <string>
#include <vector>
#include "platform/win/user/Menu.h"

struct TbMenuItem {
    std::string strText;
    UINT        uId = 0;
    UINT        fType = 0;          // MFT_ bits
    UINT        fState = 0;         // MFS_ bits
    HMENU       hSubMenu = nullptr; // owned by the menu that holds the item
    ULONG_PTR   dwItemData = 0;
    HBITMAP     hbmpItem = nullptr; // a picture, or one of the HBMMENU_ the display draws itself
};

struct TbMenu {
    std::vector<TbMenuItem> items;
};

TbMenu* TbFindMenu(HMENU hMenu);
// The item a command id names in the menu or, depth first, its submenus; *phHolder gets the
// menu that holds it. Null when none does.
TbMenuItem* TbFindMenuCommand(HMENU hMenu, UINT uId, HMENU* phHolder);
// The MF_ flags of an item as GetMenuState reads them.
UINT TbMenuItemFlags(const TbMenuItem& item);

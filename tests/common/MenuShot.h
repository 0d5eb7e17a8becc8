#pragma once
// A popup menu pictured while it is open: opening runs the menu's own loop, and a timer in that
// loop, once the menu shows, writes the screen's picture and closes the menu.
#include <functional>
#include <string>
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/TestAnswers.h"

namespace menu_shot {
inline std::string s_strShot;
inline int s_nMenusShown = -1;

inline void CALLBACK ShootOpenMenu(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    const int nMenus = TbSaveScreenPng(hWnd, s_strShot.c_str());
    if (nMenus < 1)
        return;                     // not shown yet: the next tick
    KillTimer(hWnd, nId);
    s_nMenusShown = nMenus;
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 0, ""});
}
}  // namespace menu_shot

// How many menus the picture held; -1 when no menu showed while opening ran.
inline int ShootMenuWhile(HWND hOwner, const std::string& strShot, const std::function<void()>& opening)
{
    const UINT_PTR nTimer = 77;
    menu_shot::s_strShot = strShot;
    menu_shot::s_nMenusShown = -1;
    SetTimer(hOwner, nTimer, 10, menu_shot::ShootOpenMenu);
    opening();
    KillTimer(hOwner, nTimer);
    return menu_shot::s_nMenusShown;
}

#pragma once
// Command-user-interface updates: before a menu opens, and whenever the program is idle for the
// bars, each item's command is offered to the command targets as CN_UPDATE_COMMAND_UI with a
// CCmdUI that the update handler (ON_UPDATE_COMMAND_UI) uses to enable, check or name the item.
// A command with neither an update handler nor a command handler is disabled where the caller
// asks for that (menus of frames, toolbar buttons).
#include "platform/mfc/CmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI
{
public:
    virtual ~CCmdUI() = default;
    // The state of the item; a menu item is reached by position (m_nIndex in m_pMenu), any
    // other item is the window m_pOther. The bars' own items override these.
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);     // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR pszText);
    // From an update handler: the targets after this one are asked as well.
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks pTarget's routing for the item's state; TRUE when an update handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;              // the item's position in its menu or bar
    CMenu* m_pMenu = nullptr;       // the menu of a menu item, null otherwise
    CMenu* m_pSubMenu = nullptr;    // the submenu a popup item opens
    CWnd* m_pOther = nullptr;       // the window of any other item
    BOOL m_bEnableChanged = FALSE;  // Enable was called
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;           // the number of items; an update handler that edits the menu sets it
};

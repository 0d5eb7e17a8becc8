#pragma once
// The class library's menu: an object over a menu handle. An object made by CreateMenu,
// CreatePopupMenu or Attach owns its menu and destroys it with itself (Detach first to keep it);
// FromHandle answers a temporary object that owns nothing.
#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/win/user/Menu.h"

class CWnd;

class CMenu : public CObject
{
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Handles. Attach refuses null, a dead menu, or when the object holds one already.
    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // Making and ending. FALSE when the object holds a menu already.
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // The MENU resource of that name from the resource module; FALSE when there is none.
    BOOL LoadMenu(LPCSTR pszResourceName);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
    BOOL DestroyMenu();

    // Editing and reading, as the Win32 calls of the same names.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR pszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR pszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR pszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
    {
        return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
    }
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, LPSTR pszString, int nMaxCount, UINT nFlags) const
    {
        return ::GetMenuStringA(m_hMenu, nIDItem, pszString, nMaxCount, nFlags);
    }
    int GetMenuString(UINT nIDItem, CString& strString, UINT nFlags) const;
    // A temporary object for the submenu; null when the item has none.
    CMenu* GetSubMenu(int nPos) const;
    // TrackPopupMenuEx for pWnd; with TPM_RETURNCMD the command chosen (0: none).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* pRect = nullptr);

    HMENU m_hMenu = nullptr;

private:
    template <class THandle, class TObject, THandle TObject::*> friend class CTbHandleMap;
    BOOL m_bTemporary = FALSE;
};

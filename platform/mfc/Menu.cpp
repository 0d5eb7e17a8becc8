// CMenu: handle maps and the wrappers that need more than one line; CWnd's menu wrappers.
#include "platform/mfc/Menu.h"

#include "platform/mfc/HandleMap.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/kernel/Resources.h"

namespace {
using MenuMap = CTbHandleMap<HMENU, CMenu, &CMenu::m_hMenu>;
MenuMap& Maps()
{
    static MenuMap* s_pMaps = new MenuMap(&IsMenu);
    return *s_pMaps;
}
}  // namespace

CMenu::~CMenu()
{
    if (!m_bTemporary)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return Maps().FromHandle(hMenu);
}

void CMenu::DeleteTempMap()
{
    Maps().DeleteTemporary();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || m_bTemporary || !IsMenu(hMenu) || !Maps().Attach(hMenu, this))
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu && !m_bTemporary)
        Maps().Detach(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    if (m_hMenu)
        return FALSE;
    HMENU hMenu = ::CreateMenu();
    return Attach(hMenu) || (::DestroyMenu(hMenu), FALSE);
}

BOOL CMenu::CreatePopupMenu()
{
    if (m_hMenu)
        return FALSE;
    HMENU hMenu = ::CreatePopupMenu();
    return Attach(hMenu) || (::DestroyMenu(hMenu), FALSE);
}

BOOL CMenu::LoadMenu(LPCSTR pszResourceName)
{
    if (m_hMenu)
        return FALSE;
    HMENU hMenu = ::LoadMenuA(TbGetResourceModule(), pszResourceName);
    return hMenu && (Attach(hMenu) || (::DestroyMenu(hMenu), FALSE));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu || m_bTemporary)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, pszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem)
{
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
}

int CMenu::GetMenuString(UINT nIDItem, CString& strString, UINT nFlags) const
{
    const int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    LPSTR pszBuffer = strString.GetBuffer(nLength + 1);
    ::GetMenuStringA(m_hMenu, nIDItem, pszBuffer, nLength + 1, nFlags);
    strString.ReleaseBuffer();
    return nLength;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT*)
{
    return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, pWnd ? pWnd->m_hWnd : nullptr, nullptr);
}

// ---- CWnd's menu ----

CMenu* CWnd::GetMenu() const
{
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr);
}

void CWnd::DrawMenuBar()
{
    ::DrawMenuBar(m_hWnd);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

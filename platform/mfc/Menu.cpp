// CMenu: handle maps and the wrappers that need more than one line; CWnd's menu wrappers.
#include "platform/mfc/Menu.h"

#include <memory>
#include <unordered_map>
#include "platform/mfc/Wnd.h"

namespace {
struct MenuMaps {
    std::unordered_map<HMENU, CMenu*> permanent;
    std::unordered_map<HMENU, std::unique_ptr<CMenu>> temporary;
};
MenuMaps& Maps()
{
    static MenuMaps* s_pMaps = new MenuMaps;
    return *s_pMaps;
}
// Temporary objects of menus that are gone are dropped once there are more than this.
const size_t TEMP_PRUNE_SIZE = 64;
}  // namespace

CMenu::~CMenu()
{
    if (!m_bTemporary)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!IsMenu(hMenu))
        return nullptr;
    MenuMaps& maps = Maps();
    auto itPerm = maps.permanent.find(hMenu);
    if (itPerm != maps.permanent.end())
        return itPerm->second;
    auto it = maps.temporary.find(hMenu);
    if (it != maps.temporary.end())
        return it->second.get();
    if (maps.temporary.size() >= TEMP_PRUNE_SIZE)
        for (auto itTemp = maps.temporary.begin(); itTemp != maps.temporary.end();)
            itTemp = IsMenu(itTemp->first) ? std::next(itTemp) : maps.temporary.erase(itTemp);
    auto pMenu = std::make_unique<CMenu>();
    pMenu->m_hMenu = hMenu;
    pMenu->m_bTemporary = TRUE;
    CMenu* pResult = pMenu.get();
    maps.temporary.emplace(hMenu, std::move(pMenu));
    return pResult;
}

void CMenu::DeleteTempMap()
{
    for (auto& entry : Maps().temporary)
        entry.second->m_hMenu = nullptr;
    Maps().temporary.clear();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || m_bTemporary || !IsMenu(hMenu) || Maps().permanent.count(hMenu))
        return FALSE;
    // A temporary object of the same menu would outlive its meaning.
    auto it = Maps().temporary.find(hMenu);
    if (it != Maps().temporary.end()) {
        it->second->m_hMenu = nullptr;
        Maps().temporary.erase(it);
    }
    Maps().permanent[hMenu] = this;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu && !m_bTemporary) {
        auto it = Maps().permanent.find(hMenu);
        if (it != Maps().permanent.end() && it->second == this)
            Maps().permanent.erase(it);
    }
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

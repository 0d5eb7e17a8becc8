#include "framework/table/TBMenu.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "framework/base/Ini.h"
#include "platform/win/user/Menu.h"

// Submenus name further sections; a section that names itself must not recurse for ever.
#define MENU_DEPTH_MAX 16

BOOL CTBMenu::CreatePopup()
{
    DestroyMenu();
    m_hMenu = ::CreatePopupMenu();
    return m_hMenu != nullptr;
}

void CTBMenu::DestroyMenu()
{
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
}

HMENU CTBMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CTBMenu::AppendItem(const char* pszText, UINT uId, BOOL bChecked)
{
    if (!m_hMenu || IsBlankText(pszText))
        return FALSE;
    return AppendMenuA(m_hMenu, MF_STRING | (bChecked ? MF_CHECKED : 0), uId, pszText);
}

// Fields at ',' with empty ones skipped, as strtok would cut them.
static std::vector<std::string> SplitFields(const char* pszValue)
{
    std::vector<std::string> fields;
    std::string field;
    for (const char* psz = pszValue; ; ++psz) {
        if (*psz == ',' || *psz == '\0') {
            if (!field.empty())
                fields.push_back(field);
            field.clear();
            if (*psz == '\0')
                break;
        } else {
            field += *psz;
        }
    }
    return fields;
}

static BOOL AllDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

BOOL CTBMenu::AddCommandItem(HMENU hMenu, const char* pszValue)
{
    std::vector<std::string> fields = SplitFields(pszValue);
    if (fields.empty())
        return FALSE;
    std::string strId = fields.size() > 1 ? fields[1] : "";
    std::string strFlags = fields.size() > 2 ? fields[2] : "";
    if (!AllDigits(strId) || (!IsBlankText(strFlags.c_str()) && !AllDigits(strFlags)))
        return FALSE;
    // Ids and flags are small numbers; a long run of digits is cut, not overflowed.
    UINT uId = strId.empty() ? 0 : static_cast<UINT>(strtoul(strId.substr(0, 9).c_str(), nullptr, 10));
    UINT uFlags = IsBlankText(strFlags.c_str()) ? 0 : static_cast<UINT>(strtoul(strFlags.substr(0, 9).c_str(), nullptr, 10));
    uFlags &= ~(MF_POPUP | MF_BYPOSITION | MF_SEPARATOR);
    return AppendMenuA(hMenu, uFlags | MF_STRING, uId, fields[0].c_str());
}

void CTBMenu::AddEntries(HMENU hMenu, CIni& settings, int nDepth)
{
    for (int n = 0;; ++n) {
        CTBString strKey;
        strKey.Format("%d", n);
        CTBString strValue = settings.GetString(strKey, "");
        if (strValue.IsBlank())
            break;
        AddEntry(hMenu, settings, strValue, nDepth);
    }
}

BOOL CTBMenu::AddSubmenu(HMENU hMenu, CIni& settings, const char* pszSection, int nDepth)
{
    if (nDepth >= MENU_DEPTH_MAX || IsBlankText(pszSection))
        return FALSE;
    HMENU hPopup = ::CreatePopupMenu();
    if (!hPopup)
        return FALSE;
    // The same settings, pointed at the submenu's section for the while.
    CTBString strSaved = settings.GetSection();
    settings.SetSection(pszSection);
    AddEntries(hPopup, settings, nDepth + 1);
    CTBString strCaption = settings.GetString("Name", "");
    settings.SetSection(strSaved);
    if (strCaption.IsBlank())
        strCaption = pszSection;
    if (!AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), strCaption)) {
        ::DestroyMenu(hPopup);
        return FALSE;
    }
    return TRUE;
}

BOOL CTBMenu::AddEntry(HMENU hMenu, CIni& settings, const char* pszValue, int nDepth)
{
    std::vector<std::string> fields = SplitFields(pszValue);
    if (fields.empty() || IsBlankText(fields[0].c_str()))
        return FALSE;
    if (fields[0][0] == '-')
        return AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    if (fields[0] == ">")
        return fields.size() > 1 && AddSubmenu(hMenu, settings, fields[1].c_str(), nDepth);
    return AddCommandItem(hMenu, pszValue);
}

BOOL CTBMenu::LoadFromSettings(CIni& settings)
{
    HMENU hMenu = ::CreatePopupMenu();
    if (!hMenu)
        return FALSE;
    AddEntries(hMenu, settings, 0);
    DestroyMenu();
    m_hMenu = hMenu;
    return TRUE;
}

void CTBMenu::SortItems()
{
    if (!m_hMenu)
        return;
    struct Item
    {
        std::string strText;
        UINT uId;
        BOOL bChecked;
    };
    std::vector<Item> items;
    int nCount = GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nCount; ++i) {
        char szText[1025];
        GetMenuStringA(m_hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        if (szText[0] == '\0')
            continue;
        UINT uState = GetMenuState(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        items.push_back({szText, GetMenuItemID(m_hMenu, i), (uState & MF_CHECKED) != 0});
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::lexicographical_compare(a.strText.begin(), a.strText.end(), b.strText.begin(), b.strText.end(),
                                            [](char x, char y) { return static_cast<BYTE>(x) < static_cast<BYTE>(y); });
    });
    if (!CreatePopup())
        return;
    for (const Item& item : items)
        AppendMenuA(m_hMenu, MF_STRING | (item.bChecked ? MF_CHECKED : 0), item.uId, item.strText.c_str());
}

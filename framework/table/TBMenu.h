#pragma once
#include "framework/base/TBString.h"
#include "platform/win/WinTypes.h"

class CIni;

// One popup menu, built from a settings section (numbered entries, separators, submenus in
// further sections) or item by item, and sorted by text. The handle is owned until a caller
// takes it over with Detach.
class CTBMenu
{
public:
    CTBMenu() = default;
    CTBMenu(const CTBMenu&) = delete;
    CTBMenu& operator=(const CTBMenu&) = delete;
    virtual ~CTBMenu() { DestroyMenu(); }

    BOOL CreatePopup();
    void DestroyMenu();
    HMENU GetHandle() const { return m_hMenu; }
    HMENU Detach();

    // Keys "0", "1", ... of the settings' current section until the first blank one.
    BOOL LoadFromSettings(CIni& settings);
    // 0 without a menu or with a blank text.
    BOOL AppendItem(const char* pszText, UINT uId, BOOL bChecked);
    // By text, bytes compared unsigned; separators, submenus and other states are dropped.
    void SortItems();

private:
    BOOL AddEntry(HMENU hMenu, CIni& settings, const char* pszValue, int nDepth);
    BOOL AddCommandItem(HMENU hMenu, const char* pszValue);
    BOOL AddSubmenu(HMENU hMenu, CIni& settings, const char* pszSection, int nDepth);
    void AddEntries(HMENU hMenu, CIni& settings, int nDepth);

    HMENU m_hMenu = nullptr;
};

#include <cstdlib>
#include <cstring>
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/kernel/Registry.h"

#define IDS_BRAND 40372
#define RECENT_FILES 4

CString CZORVAT32App::ReadProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault)
{
    return GetProfileString(pszSection, pszKey, pszDefault);
}

void CZORVAT32App::WriteProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue)
{
    WriteProfileString(pszSection, pszKey, pszValue);
}

DWORD CZORVAT32App::ReadArabicChoice(LPCSTR pszBrand)
{
    CString strKey;
    strKey.Format("Software\\%s\\Quelmor Pro\\Settings", pszBrand);
    DWORD dwArabic = 0;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, strKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        DWORD dwType = 0, cbData = sizeof dwArabic;
        if (RegQueryValueExA(hKey, "Arabic", nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwArabic), &cbData) !=
                ERROR_SUCCESS ||
            cbData != sizeof dwArabic)
            dwArabic = 0;
        RegCloseKey(hKey);
    }
    return dwArabic;
}

void CZORVAT32App::OpenProfile(CSharedGlobals* pShared, LPCSTR pszAppName)
{
    // The profile key carries the application's name, as the class library forms it.
    if (pszAppName != nullptr && *pszAppName) {
        free(const_cast<char*>(m_pszAppName));
        m_pszAppName = strdup(pszAppName);
    }
    CString strBrand;
    pShared->LoadString(strBrand, IDS_BRAND);
    SetRegistryKey(strBrand);
    LoadStdProfileSettings(RECENT_FILES);
}

void CZORVAT32App::AddRecentFile(LPCSTR pszPath)
{
    if (pszPath != nullptr && *pszPath)
        AddToRecentFileList(pszPath);
}

BOOL CZORVAT32App::HasCommandHandler(UINT nId)
{
    BOOL bHandled = FALSE;
    GetCommandRule(nId, nullptr, &bHandled);
    return bHandled;
}

BOOL CZORVAT32App::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        if (nId >= ID_FILE_MRU_FILE1 && nId <= ID_FILE_MRU_FILE16) {
            // The list's own update, then every entry of the menu usable.
            CWinApp::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
            if (HMENU hMenu = m_pMainFrame != nullptr ? ::GetMenu(m_pMainFrame->m_hWnd) : nullptr)
                for (UINT nEntry = ID_FILE_MRU_FILE1; nEntry < ID_FILE_MRU_FILE16; ++nEntry)
                    EnableMenuItem(hMenu, nEntry, MF_BYCOMMAND | MF_ENABLED);
            return TRUE;
        }
        BOOL bEnabled = FALSE;
        int nCheck = -1;
        MENU_REMOVAL removal = REMOVE_NOTHING;
        if (pCmdUI != nullptr && GetCommandState(nId, &bEnabled, &nCheck, &removal)) {
            // Only a menu loses its item; a button of the command stays as its rule says.
            if (removal != REMOVE_NOTHING && pCmdUI->m_pMenu != nullptr) {
                // The menu's update loop sees the shorter menu and goes on after what is left.
                RemoveCommandItem(pCmdUI->m_pMenu->GetSafeHmenu(), nId, removal);
                return TRUE;
            }
            pCmdUI->Enable(bEnabled);
            if (nCheck >= 0)
                pCmdUI->SetCheck(nCheck);
            return TRUE;
        }
    } else if (nCode == static_cast<int>(CN_COMMAND) && HasCommandHandler(nId)) {
        // With handler information the caller only asks whether there is a handler.
        if (pHandlerInfo == nullptr)
            RunCommand(nId);
        return TRUE;
    }
    return CWinApp::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
}

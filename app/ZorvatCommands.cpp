#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "link/ZorvatComm.h"
#include "platform/mfc/CommonDialogs.h"

#define IDS_WORKSPACE_FILTER 40370
#define OFN_SAVE_WORKSPACE 0x210C0E
#define OFN_OPEN_WORKSPACE 0x200C0C

// Every command of the application: its ids, its rule, its handler and, for items with a check
// mark, what the mark shows.
struct CZORVAT32App::COMMAND_ENTRY
{
    UINT nFirst;
    UINT nLast;
    COMMAND_RULE rule;
    void (CZORVAT32App::*pfnRun)(UINT);
    int (CZORVAT32App::*pfnCheck)(UINT) const;
};

const CZORVAT32App::COMMAND_ENTRY CZORVAT32App::s_commands[] = {
    {ID_APP_CONNECT, ID_APP_CONNECT, RULE_NOT_CONNECTED, &CZORVAT32App::OnConnectCommand, nullptr},
    {ID_APP_DISCONNECT, ID_APP_DISCONNECT, RULE_CONNECTED, &CZORVAT32App::OnDisconnectCommand, nullptr},
    {ID_APP_LINK_SETTINGS, ID_APP_LINK_SETTINGS, RULE_NOT_CONNECTED, &CZORVAT32App::OnLinkSettings, nullptr},
    {ID_APP_SHOW_INFO, ID_APP_SHOW_INFO, RULE_ALWAYS, &CZORVAT32App::OnShowInfo, nullptr},
    {ID_APP_SAVE_WORKSPACE, ID_APP_SAVE_WORKSPACE, RULE_ALWAYS, &CZORVAT32App::OnSaveWorkspaceCommand, nullptr},
    {ID_APP_OPEN_WORKSPACE, ID_APP_OPEN_WORKSPACE, RULE_ALWAYS, &CZORVAT32App::OnOpenWorkspace, nullptr},
    {ID_APP_SAVE_WORKSPACE_AS, ID_APP_SAVE_WORKSPACE_AS, RULE_ALWAYS, &CZORVAT32App::OnSaveWorkspaceAs, nullptr},
    {ID_APP_LOGIN, ID_APP_LOGIN, RULE_NONE, &CZORVAT32App::OnLoginCommand, nullptr},
    {ID_APP_CLEAR_INFO, ID_APP_CLEAR_INFO, RULE_ALWAYS, &CZORVAT32App::OnClearInfo, nullptr},
    {ID_APP_INFO_RAISE, ID_APP_INFO_RAISE, RULE_ALWAYS, &CZORVAT32App::OnInfoRaise, &CZORVAT32App::GetInfoRaiseCheck},
    {ID_APP_INFO_PRIORITY_1, ID_APP_INFO_PRIORITY_4, RULE_ALWAYS, &CZORVAT32App::OnInfoPriority,
     &CZORVAT32App::GetInfoPriorityCheck},
    {ID_APP_INFO_BUTTON, ID_APP_INFO_BUTTON, RULE_NONE, &CZORVAT32App::OnInfoButton, nullptr},
    {ID_APP_CHANGE_PASSWORD, ID_APP_CHANGE_PASSWORD, RULE_ROLE_1_DIRECT, &CZORVAT32App::OnChangePassword, nullptr},
    {ID_APP_CHANGE_PIN, ID_APP_CHANGE_PIN, RULE_ROLE_3, &CZORVAT32App::OnChangePin, nullptr},
    {ID_APP_ABOUT, ID_APP_ABOUT, RULE_NONE, &CZORVAT32App::OnAbout, nullptr},
    {ID_APP_READING_DIRECTION, ID_APP_READING_DIRECTION, RULE_ALWAYS, &CZORVAT32App::OnReadingDirection, nullptr},
    {ID_APP_VERSION, ID_APP_VERSION, RULE_ROLE_1, &CZORVAT32App::OnVersionCommand, nullptr},
    {0, 0, RULE_NONE, nullptr, nullptr},
};

const CZORVAT32App::COMMAND_ENTRY* CZORVAT32App::FindCommand(UINT nId)
{
    for (const COMMAND_ENTRY* pEntry = s_commands; pEntry->pfnRun != nullptr; ++pEntry)
        if (nId >= pEntry->nFirst && nId <= pEntry->nLast)
            return pEntry;
    return nullptr;
}

COMMAND_CONTEXT CZORVAT32App::GetCommandContext() const
{
    COMMAND_CONTEXT context;
    context.nRole = m_user.GetRole();
    context.bLinkConnected = IsConnected();
    return context;
}

BOOL CZORVAT32App::RunCommand(UINT nId)
{
    const COMMAND_ENTRY* pEntry = FindCommand(nId);
    if (pEntry == nullptr)
        return FALSE;
    (this->*pEntry->pfnRun)(nId);
    return TRUE;
}

BOOL CZORVAT32App::GetCommandState(UINT nId, BOOL* pbEnabled, int* pnCheck)
{
    const COMMAND_ENTRY* pEntry = FindCommand(nId);
    if (pEntry == nullptr || pEntry->rule == RULE_NONE)
        return FALSE;
    if (pbEnabled != nullptr)
        *pbEnabled = IsRuleMet(pEntry->rule, GetCommandContext());
    if (pnCheck != nullptr)
        *pnCheck = pEntry->pfnCheck != nullptr ? (this->*pEntry->pfnCheck)(nId) : -1;
    return TRUE;
}

void CZORVAT32App::OnConnectCommand(UINT)
{
    Connect();
}

void CZORVAT32App::OnDisconnectCommand(UINT)
{
    Disconnect(TRUE);
}

void CZORVAT32App::OnLinkSettings(UINT)
{
    if (m_pComm != nullptr) {
        m_pComm->EditCommSettings(0);
        return;
    }
    // Without a link the settings are still the user's to change, through a link made for it.
    CZorvatComm* pTemporary = new CZorvatComm(m_strLinkSettingsFile, nullptr, nullptr);
    pTemporary->LoadCommSettings();
    pTemporary->EditCommSettings(0);
    pTemporary->SaveCommSettings();
    delete pTemporary;
}

void CZORVAT32App::OnShowInfo(UINT)
{
    ShowTable(m_pInfoTable != nullptr ? m_pInfoTable->GetDataTable() : nullptr);
}

void CZORVAT32App::SaveWorkspaceFile()
{
    SaveWorkspace();
    GetSharedGlobals()->m_settings.SaveSettingsFile();
}

void CZORVAT32App::OnSaveWorkspaceCommand(UINT)
{
    SaveWorkspaceFile();
}

void CZORVAT32App::OnSaveWorkspaceAs(UINT)
{
    CString strFilter, strExtension;
    GetSharedGlobals()->LoadString(strFilter, IDS_WORKSPACE_FILTER);
    GetSharedGlobals()->LoadString(strExtension, IDS_WORKSPACE_EXTENSION);
    CFileDialog dialog(FALSE, strExtension, m_strWorkspaceFile, OFN_SAVE_WORKSPACE, strFilter, m_pMainFrame);
    if (dialog.DoModal() != IDOK)
        return;
    const CString strPath = dialog.GetPathName();
    if (strPath != m_strWorkspaceFile)
        AddRecentFile(m_strWorkspaceFile);
    m_strWorkspaceFile = strPath;
    GetSharedGlobals()->m_settings.Open(strPath);
    SaveWorkspaceFile();
    AddRecentFile(strPath);
    WriteProfileText(".General", "Workspace", strPath);
}

void CZORVAT32App::OnOpenWorkspace(UINT)
{
    CString strFilter, strExtension;
    GetSharedGlobals()->LoadString(strFilter, IDS_WORKSPACE_FILTER);
    GetSharedGlobals()->LoadString(strExtension, IDS_WORKSPACE_EXTENSION);
    CFileDialog dialog(TRUE, strExtension, nullptr, OFN_OPEN_WORKSPACE, strFilter, m_pMainFrame);
    if (dialog.DoModal() != IDOK)
        return;
    const CString strPath = dialog.GetPathName();
    SetBusyFlag(TRUE);
    AddRecentFile(m_strWorkspaceFile);
    AddRecentFile(strPath);
    LoadWorkspace(strPath, TRUE);
    WriteProfileText(".General", "Workspace", m_strWorkspaceFile);
    SetBusyFlag(FALSE);
}

void CZORVAT32App::OnLoginCommand(UINT)
{
    RunLogin();
}

void CZORVAT32App::OnClearInfo(UINT)
{
    if (m_pInfoTable != nullptr)
        m_pInfoTable->RemoveAllRows();
}

void CZORVAT32App::OnInfoRaise(UINT)
{
    m_bInfoRaise = !m_bInfoRaise;
}

void CZORVAT32App::OnInfoPriority(UINT nId)
{
    m_nInfoPriority = static_cast<int>(nId) - (ID_APP_INFO_PRIORITY_1 - 1);
}

void CZORVAT32App::OnInfoButton(UINT)
{
    m_nIndicatorState = INFO_INDICATOR_CLICKED;
    if (m_pInfoTable != nullptr)
        m_pInfoTable->ShowWindow();
}

#include "framework/print/TBPropertyPage.h"

#include <cstdio>

CTBPropertyPage::CTBPropertyPage(UINT nIdTemplate, const char* pszName, CTablePrintSettings* pSettings,
                                 PrintControlList controls)
    : CTBLangDialog(nIdTemplate, nullptr), m_pSettings(pSettings), m_controls(controls), m_pszName(pszName)
{
}

BOOL CTBPropertyPage::CreatePage(LPCDLGTEMPLATEA pTemplate, CTBWnd* pParent)
{
    return CreateIndirect(pTemplate, pParent);
}

CTBString CTBPropertyPage::GetLangSection(int nLanguage)
{
    char szSection[96];
    snprintf(szSection, sizeof(szSection), "%s.Lang%d", m_pszName, nLanguage);
    return CTBString(szSection);
}

BOOL CTBPropertyPage::OnInitDialog()
{
    if (m_pSettings)
        ShowPrintControls(m_hWnd, m_controls, *m_pSettings);
    return TRUE;
}

BOOL CTBPropertyPage::OnCmdMsg(UINT nId, int nCode)
{
    if (m_pSettings && HandlePrintControl(m_hWnd, m_controls, *m_pSettings, static_cast<int>(nId), nCode))
        return TRUE;
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}

void CTBPropertyPage::OnDestroy()
{
    CTBWnd::OnDestroy();
}

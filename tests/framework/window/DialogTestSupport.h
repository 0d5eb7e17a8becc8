#pragma once
// The dialog tests' resources and settings: the order dialog of data/tbdlg_<code page>.rc as the
// application's module, and a program settings file of the test's own.
#include <memory>
#include <string>

#include "framework/base/SettingsFile.h"
#include "platform/win/Windows.h"

#define IDD_ORDER 300
#define IDC_MARKET 301
#define IDC_SIDE 302
#define IDC_QUANTITY 303
#define IDC_MARKET_LABEL 310
#define IDC_QUANTITY_LABEL 312

class CDialogResources
{
public:
    // Makes the module of the code page (1252 English, 1256 Arabic, which also reads right to
    // left) the application's and the layer's, with an empty settings file; the destructor puts
    // everything back.
    explicit CDialogResources(int nCodePage = 1252);
    ~CDialogResources();
    CDialogResources(const CDialogResources&) = delete;
    CDialogResources& operator=(const CDialogResources&) = delete;

    CSettingsFile& Settings() { return *m_pSettings; }
    std::string m_strPath;

private:
    std::unique_ptr<CSettingsFile> m_pSettings = std::make_unique<CSettingsFile>();
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldApp = nullptr;
    HINSTANCE m_hOldResources = nullptr;
    BOOL m_bOldRightToLeft = FALSE;
};

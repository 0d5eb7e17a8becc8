#pragma once
// What the print dialog tests share: the product's language module of a code page as the
// application's, a program settings file of the test's own, the machine's printers hidden and
// three printers of known shape (the PDF printer, a grey printer and a printer 4,800 dots wide
// with unprintable edges), and the dialogs driven as a user drives them.
#include <cstdio>
#include <string>
#include <unistd.h>

#include "framework/base/NorvGlobals.h"
#include "framework/base/SettingsFile.h"
#include "framework/base/TBApp.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

#define TEST_PRINTER_GREY  "Office Grey"
#define TEST_PRINTER_WIDE  "Wide Offsets"   // A4 at 600 dpi, 80 dots unprintable each side: 4,800 dots wide

class CPrintDialogEnvironment
{
public:
    explicit CPrintDialogEnvironment(int nCodePage = 1252)
    {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        char szName[32];
        snprintf(szName, sizeof(szName), "_%d.dll", nCodePage);
        m_hModule = LoadLibraryA(szName);
        CTBApp* pApp = GetTBApp();
        m_hOldApp = pApp->GetModule();
        m_hOldResources = TbGetResourceModule();
        const CTBString strName = pApp->GetName();
        pApp->Init(m_hModule, strName, pApp->GetOption());
        TbSetResourceModule(m_hModule);
        GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
        GetNorvGlobals().SetLanguage(nCodePage == 1256 ? 1 : 0);
        char szPath[] = "/tmp/tbprintdlgXXXXXX";
        const int fd = mkstemp(szPath);
        if (fd >= 0)
            close(fd);
        m_strPath = szPath;
        m_settings.Open(szPath);
        pApp->m_pSettings = &m_settings;

        TbUseSystemPrinters(FALSE);
        TbRemoveVirtualPrinters();
        TBVIRTUALPRINTER grey;
        grey.strName = TEST_PRINTER_GREY;
        grey.papers = {DMPAPER_A4, DMPAPER_LETTER};
        grey.bColor = FALSE;
        TbAddVirtualPrinter(grey);
        TBVIRTUALPRINTER wide;
        wide.strName = TEST_PRINTER_WIDE;
        wide.papers = {DMPAPER_A4};
        wide.ptOffset = {80, 80};
        TbAddVirtualPrinter(wide);
    }
    ~CPrintDialogEnvironment()
    {
        TbRemoveVirtualPrinters();
        TbUseSystemPrinters(TRUE);
        CTBApp* pApp = GetTBApp();
        pApp->m_pSettings = nullptr;
        const CTBString strName = pApp->GetName();
        pApp->Init(m_hOldApp, strName, pApp->GetOption());
        TbSetResourceModule(m_hOldResources);
        GetNorvGlobals().SetRightToLeft(FALSE);
        GetNorvGlobals().SetLanguage(0);
        if (m_hModule != nullptr)
            FreeLibrary(m_hModule);
        unlink(m_strPath.c_str());
    }
    CPrintDialogEnvironment(const CPrintDialogEnvironment&) = delete;
    CPrintDialogEnvironment& operator=(const CPrintDialogEnvironment&) = delete;

private:
    CSettingsFile m_settings;
    std::string m_strPath;
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldApp = nullptr;
    HINSTANCE m_hOldResources = nullptr;
};

// A string of the language module in force.
inline std::string AppText(UINT nId)
{
    CTBString str;
    str.LoadAppString(nId);
    return static_cast<const char*>(str);
}
inline std::string ItemTextOf(HWND hDlg, int nId)
{
    char sz[512] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof(sz));
    return sz;
}
inline bool IsChecked(HWND hDlg, int nId)
{
    return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}
inline bool IsEnabledItem(HWND hDlg, int nId)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nId)) != FALSE;
}
inline void Click(HWND hDlg, int nId)
{
    SendMessageA(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}
// A field typed into and left: its change notice, then the loss of the focus.
inline void Type(HWND hDlg, int nId, const char* pszText)
{
    HWND hItem = GetDlgItem(hDlg, nId);
    SetWindowTextA(hItem, pszText);
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, EN_KILLFOCUS), reinterpret_cast<LPARAM>(hItem));
}
// Chooses the item of a drop-down list by its text, as a click in the list would.
inline bool ChooseItem(HWND hDlg, int nId, const char* pszText)
{
    HWND hList = GetDlgItem(hDlg, nId);
    const LRESULT nItem = SendMessageA(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    if (nItem < 0)
        return false;
    SendMessageA(hList, CB_SETCURSEL, nItem, 0);
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
    return true;
}
// A record on the named printer with its defaults otherwise.
inline void UsePrinter(CTablePrintSettings& settings, const char* pszName)
{
    settings.SetPrinterName(CTBString(pszName));
}

#pragma once
// What the print dialog tests share: the language of a code page (PrintTestSupport.h), the
// machine's printers hidden behind the PDF printer and two of known shape (a grey printer, and a
// printer 4,800 dots wide with unprintable edges), and the dialogs driven as a user drives them.
#include <string>

#include "PrintTestSupport.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

#define TEST_PRINTER_GREY  "Office Grey"
#define TEST_PRINTER_WIDE  "Wide Offsets"   // A4 at 600 dpi, 80 dots unprintable each side

class CPrintDialogEnvironment
{
public:
    explicit CPrintDialogEnvironment(int nCodePage = 1252) : m_language(nCodePage)
    {
        UsePdfPrinterOnly();
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
    ~CPrintDialogEnvironment() { TbRemoveVirtualPrinters(); }

private:
    CGridLanguage m_language;
};

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
inline bool IsChecked(HWND hDlg, int nId) { return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED; }
inline bool IsEnabledItem(HWND hDlg, int nId) { return IsWindowEnabled(GetDlgItem(hDlg, nId)) != FALSE; }
inline void Click(HWND hDlg, int nId) { SendMessageA(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0); }
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
inline void UsePrinter(CTablePrintSettings& settings, const char* pszName)
{
    settings.SetPrinterName(CTBString(pszName));
}

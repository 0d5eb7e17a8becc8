// Placeholders until the spooler lands: every call refuses.
#include "platform/win/Windows.h"
#include "platform/win/spool/Printers.h"

BOOL EnumPrintersA(DWORD, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    if (pcbNeeded) *pcbNeeded = 0;
    if (pcReturned) *pcReturned = 0;
    return FALSE;
}
BOOL OpenPrinterA(LPSTR, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA) { if (phPrinter) *phPrinter = nullptr; return FALSE; }
BOOL GetPrinterA(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD pcbNeeded) { if (pcbNeeded) *pcbNeeded = 0; return FALSE; }
BOOL ClosePrinter(HANDLE) { return FALSE; }
LONG DocumentPropertiesA(HWND, HANDLE, LPSTR, PDEVMODEA, PDEVMODEA, DWORD) { return -1; }
DWORD DeviceCapabilitiesA(LPCSTR, LPCSTR, WORD, LPSTR, const DEVMODEA*) { return static_cast<DWORD>(-1); }
HDC CreateDCA(LPCSTR, LPCSTR, LPCSTR, const DEVMODEA*) { return nullptr; }
HDC CreateICA(LPCSTR, LPCSTR, LPCSTR, const DEVMODEA*) { return nullptr; }
int StartDocA(HDC, const DOCINFOA*) { return SP_ERROR; }
int StartPage(HDC) { return SP_ERROR; }
int EndPage(HDC) { return SP_ERROR; }
int EndDoc(HDC) { return SP_ERROR; }
int AbortDoc(HDC) { return SP_ERROR; }
DWORD GetProfileStringA(LPCSTR, LPCSTR, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut)
{
    return GetPrivateProfileStringA("", "", pszDefault, pszOut, cchOut, "/nonexistent");
}
int GetLocaleInfoA(LCID, LCTYPE, LPSTR, int) { return 0; }
HRSRC FindResourceA(HMODULE, LPCSTR, LPCSTR) { return nullptr; }
HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }
LPVOID LockResource(HGLOBAL) { return nullptr; }
BOOL FreeResource(HGLOBAL) { return FALSE; }
DWORD SizeofResource(HMODULE, HRSRC) { return 0; }
const TBPAPERSIZE* TbFindPaper(short) { return nullptr; }
void TbSetPrintSystem(ITbPrintSystem*) {}
ITbPrintSystem* TbGetPrintSystem() { return nullptr; }
std::vector<TBPRINTER> TbListPrinters() { return {}; }
BOOL TbFindPrinter(LPCSTR, TBPRINTER*) { return FALSE; }
TBPAGEGEOMETRY TbPageGeometry(const TBPRINTER&, const DEVMODEA*) { return {}; }
void TbAddVirtualPrinter(const TBVIRTUALPRINTER&) {}
void TbRemoveVirtualPrinters() {}
void TbUseSystemPrinters(BOOL) {}

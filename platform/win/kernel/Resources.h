#pragma once
// Resource modules: the language and branding libraries are text resource files beside the
// program ("_1252", "_1256", "branding_1252", "branding_1256"); loading one by the original's
// library name ("_1256.dll") finds the file with the same stem.
#include "platform/win/WinTypes.h"

HMODULE LoadLibraryA(LPCSTR pszName);          // null when no resource file has that stem
BOOL    FreeLibrary(HMODULE hModule);
// Copies string id into the buffer, cut to cchMax-1 characters and terminated; returns the
// number of characters copied, 0 when the id is missing or empty (buffer then holds "").
int     LoadStringA(HINSTANCE hInstance, UINT uId, LPSTR pszBuffer, int cchMax);

// The module every framework resource is loaded from (set by the application's start-up).
HINSTANCE TbGetResourceModule();
void      TbSetResourceModule(HINSTANCE hModule);
// Folders searched for resource files: the program's folder first; tests add the source tree.
void      TbAddResourcePath(LPCSTR pszFolder);
// A folder searched before every added one (TRUE), or no longer searched (FALSE): a test's or a
// demo's branding of its own, in front of the tree's.
void      TbPutResourcePathFirst(LPCSTR pszFolder, BOOL bFirst);

// The file an image entry of a module names ("300 BITMAP "grid.png"", relative to the resource
// file's folder): type "BITMAP", "ICON" or "CURSOR", name a text or MAKEINTRESOURCE(id); a null
// module is the resource module. FALSE when there is none or the path does not fit.
BOOL TbFindResourceFile(HINSTANCE hInstance, LPCSTR pszType, LPCSTR pszName, LPSTR pszPath, int cchPath);

// Resources by handle, for dialog templates (RT_DIALOG): LockResource gives the template as
// CreateDialogIndirectParamA takes it (LPCDLGTEMPLATEA). The template lives as long as its module;
// FreeResource has nothing to free.
TB_DECLARE_HANDLE(HRSRC);
#define RT_DIALOG MAKEINTRESOURCEA(5)
HRSRC   FindResourceA(HMODULE hModule, LPCSTR pszName, LPCSTR pszType);   // null: no such resource
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID  LockResource(HGLOBAL hResData);
BOOL    FreeResource(HGLOBAL hResData);
DWORD   SizeofResource(HMODULE hModule, HRSRC hResInfo);

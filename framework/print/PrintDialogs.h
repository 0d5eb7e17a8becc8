#pragma once
// The print and page-setup dialogs run over one print, as the table window's commands and the
// preview start them. The dialog edits a copy of the print's settings; print (1), preview (1090)
// and settings changed (1119) hand the copy back, cancel (2) leaves them as they were.
#include "platform/win/Windows.h"

class CTablePrint;

int  RunPrintDialog(CTablePrint* pPrint, HWND hOwner, void* pContext);
int  RunPageSetupDialog(CTablePrint* pPrint, HWND hOwner, void* pContext);
// Puts the two into the preview's hooks.
void InstallPrintDialogs();

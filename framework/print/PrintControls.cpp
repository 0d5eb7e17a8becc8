#include "framework/print/PrintControls.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/print/TablePrintSettings.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

namespace {
int GetValue(const PRINTCONTROL& control, CTablePrintSettings& settings)
{
    return control.pField ? settings.*control.pField : control.pfnGet(settings);
}

void SetValue(const PRINTCONTROL& control, CTablePrintSettings& settings, int nValue)
{
    if (control.pField)
        settings.*control.pField = nValue;
    else
        control.pfnSet(settings, nValue);
    if (control.pTwin)
        settings.*control.pTwin = control.nTwinFactor * nValue;
}

const PRINTCONTROL* Find(PrintControlList controls, int nId)
{
    for (const PRINTCONTROL& control : controls)
        if (control.nId == nId)
            return &control;
    return nullptr;
}

void Show(HWND hDlg, const PRINTCONTROL& control, CTablePrintSettings& settings)
{
    const int nValue = GetValue(control, settings);
    switch (control.nKind) {
    case PCK_CHECK:
        CheckDlgButton(hDlg, control.nId, nValue != 0 ? BST_CHECKED : BST_UNCHECKED);
        break;
    case PCK_RADIO:
        CheckDlgButton(hDlg, control.nId, nValue == control.nValue ? BST_CHECKED : BST_UNCHECKED);
        break;
    case PCK_NUMBER: {
        char szText[64];
        snprintf(szText, sizeof(szText), control.pszFormat, nValue);
        SetDlgItemTextA(hDlg, control.nId, szText);
        break;
    }
    }
}
}  // namespace

void ShowPrintControls(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings)
{
    for (const PRINTCONTROL& control : controls)
        Show(hDlg, control, settings);
}

BOOL ShowPrintControl(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings, int nId)
{
    const PRINTCONTROL* pControl = Find(controls, nId);
    if (pControl)
        Show(hDlg, *pControl, settings);
    return pControl != nullptr;
}

BOOL CommitPrintNumber(HWND hDlg, const PRINTCONTROL& control, CTablePrintSettings& settings, int nMax)
{
    char szText[64] = "";
    GetDlgItemTextA(hDlg, control.nId, szText, sizeof(szText));
    const char* pszText = szText;
    const BOOL bBlank = strspn(szText, " \t") == strlen(szText);
    if (bBlank || ((control.nFlags & PCF_ZERO_IS_BLANK) && atoi(szText) == 0))
        pszText = control.pszBlank ? control.pszBlank : "0";
    const int n = atoi(pszText);
    const int nUpper = nMax != -1 ? nMax : control.nMax;
    const BOOL bTaken = n >= control.nMin && n <= nUpper;
    if (bTaken)
        SetValue(control, settings, n);
    // Refused or not, the field shows what the settings now hold.
    Show(hDlg, control, settings);
    return bTaken;
}

BOOL HandlePrintControl(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings, int nId, int nCode,
                        int nMax)
{
    const PRINTCONTROL* pControl = Find(controls, nId);
    if (!pControl)
        return FALSE;
    switch (pControl->nKind) {
    case PCK_CHECK:
        SetValue(*pControl, settings, IsDlgButtonChecked(hDlg, nId) == BST_CHECKED ? pControl->nValue : 0);
        break;
    case PCK_RADIO:
        SetValue(*pControl, settings, pControl->nValue);
        break;
    case PCK_NUMBER:
        if (nCode == EN_KILLFOCUS)
            CommitPrintNumber(hDlg, *pControl, settings, nMax);
        break;
    }
    return TRUE;
}

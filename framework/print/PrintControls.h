#pragma once
// The controls of the print dialogs as data: each names its control, its kind, the settings
// field it edits (or the record's accessors for device-mode values), the range it accepts and
// how it shows. One routine shows them all and one takes a control's command, so a dialog or
// page class keeps only what is special about it.
#include <span>

#include "platform/win/Windows.h"

class CTablePrintSettings;

enum PrintControlKind {
    PCK_CHECK,      // field = nValue when checked, else 0; checked while the field is not 0
    PCK_RADIO,      // field = nValue on a click; chosen while the field equals nValue
    PCK_NUMBER,     // an edit taken when it loses the focus: a number in [nMin, nMax] or refused
};

// Flags of a number.
#define PCF_ZERO_IS_BLANK 0x1   // "0" counts as the blank text

struct PRINTCONTROL {
    int nId;
    int nKind;
    int CTablePrintSettings::*pField;           // null: pfnGet and pfnSet
    int nValue = 1;                             // check and radio: the value written
    int nMin = 0, nMax = 0;                     // number: accepted range
    const char* pszFormat = "%d";               // number: shown as
    const char* pszBlank = nullptr;             // number: what a blank text counts as
    int nFlags = 0;
    int CTablePrintSettings::*pTwin = nullptr;  // a field that follows: nTwinFactor x the value
    int nTwinFactor = 1;
    int  (*pfnGet)(CTablePrintSettings&) = nullptr;
    void (*pfnSet)(CTablePrintSettings&, int) = nullptr;
};

typedef std::span<const PRINTCONTROL> PrintControlList;

// Shows every control of the list from the settings.
void ShowPrintControls(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings);
// Shows one control; FALSE when the id is not in the list.
BOOL ShowPrintControl(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings, int nId);
// Takes the command of a listed control: a click on a check box or radio button, a number edit
// losing the focus (then shown again, refused or not). nMax, when not -1, replaces a number's
// upper bound. TRUE when the id is in the list, whatever the notification.
BOOL HandlePrintControl(HWND hDlg, PrintControlList controls, CTablePrintSettings& settings, int nId, int nCode,
                        int nMax = -1);
// A number control's text read as the control would on losing the focus; TRUE when taken.
BOOL CommitPrintNumber(HWND hDlg, const PRINTCONTROL& control, CTablePrintSettings& settings, int nMax = -1);

#pragma once
// Driving a dialog as a user does, inside the dialog's own modal loop: steps run from a timer on
// the active window that holds the step's marking control, keys and clicks delivered through the
// display, the controls read back, and a picture of the dialog.
#include <functional>
#include <string>
#include <vector>

#include "platform/win/Windows.h"

// Each step waits until the active window holds its marking control, so a step never runs on
// the wrong window, and runs once. RunDialogSteps starts them; the dialog's DoModal then carries
// them out. A dialog still open 3 s after its last step (or whose step's dialog never comes) is
// ended with -2 and the test fails. FinishedSteps says whether all ran; ClearDialogSteps drops
// the rest and the timer.
struct DIALOG_STEP
{
    int nMarkId;
    std::function<void(HWND)> fn;
};
void RunDialogSteps(std::vector<DIALOG_STEP> steps);
bool FinishedSteps();
void ClearDialogSteps();

// Input through the display, to the focus: typed characters (letters, digits, blanks, '|'),
// a key (VK_RETURN, VK_ESCAPE, VK_TAB), a click on a dialog's control.
void TypeText(const char* pszText);
// Characters as the display has them (UTF-8), each on its key: what the active code page holds
// arrives, what it cannot hold is refused there.
void TypeDisplayText(const char* pszUtf8);
void PressKey(UINT nKey, bool bShift = false);
// A letter key with Ctrl held, with the control character it types ('A': Ctrl+A, 1).
void PressCtrlKey(char chLetter);
void ClickControl(HWND hDlg, int nId);

// A control's notification to its dialog, as the control sends it; the item of exactly that
// text chosen in a combo box (CBN_SELCHANGE); a field's text typed and left (EN_KILLFOCUS).
void NotifyControl(HWND hDlg, int nId, int nCode);
void ChooseItem(HWND hDlg, int nId, const std::string& strText);
void EnterText(HWND hDlg, int nId, const std::string& strText);

// Reading a dialog.
std::string ControlText(HWND hDlg, int nId);
int FocusedControl(HWND hDlg);          // the focused control's id, 0 when the focus is elsewhere
bool ControlVisible(HWND hDlg, int nId);

// <build>/screenshots/<name>.png of the dialog window; true when written.
bool SaveDialogScreenshot(HWND hDlg, const std::string& strName);

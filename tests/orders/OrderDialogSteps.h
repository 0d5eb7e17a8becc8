#pragma once
// Driving the order dialogs as the trader does, inside their own modal loops: steps run from a
// timer on the active dialog that holds the step's marking control, keys typed through the
// display, clicks on controls, and the dialog pictured.
#include <functional>
#include <string>
#include <vector>

#include "platform/win/Windows.h"

namespace order_steps {

struct STEP
{
    int nMarkId;
    std::function<void(HWND)> fn;
};
// The steps run in turn, each once; a dialog still open 3 s after its last step is ended with -2
// and the test fails. RunSteps starts them; Finished says whether all ran; Clear drops the rest and the timer.
void RunSteps(std::vector<STEP> steps);
bool Finished();
void Clear();

void TypeText(const char* pszText);     // letters, digits, blanks and '|'
void PressKey(UINT nKey);
void Click(HWND hDlg, int nId);
std::string Text(HWND hDlg, int nId);
int Focused(HWND hDlg);                 // the focused control's id, 0 when elsewhere
bool Visible(HWND hDlg, int nId);
// <build>/screenshots/<name>.png of the dialog; true when written.
bool Shoot(HWND hDlg, const std::string& strName);

}  // namespace order_steps

#pragma once
// Driving the session's dialogs as a user does: steps run from a timer inside the dialog's own
// modal loop, keys and clicks delivered through the display, the language module of a test, an
// information window that records what it is told, and screenshots.
#include <functional>
#include <string>
#include <vector>

#include "framework/base/SharedGlobals.h"
#include "platform/win/Windows.h"

// The language module of one test (1252 English, 1256 Arabic, which also reads right to left),
// the framework's and the layer's; the destructor puts everything back.
class CTestLanguage
{
public:
    explicit CTestLanguage(int nCodePage);
    ~CTestLanguage();
    CTestLanguage(const CTestLanguage&) = delete;
    CTestLanguage& operator=(const CTestLanguage&) = delete;

    HMODULE m_hModule = nullptr;

private:
    HINSTANCE m_hOld = nullptr;
    BOOL m_bOldRightToLeft = FALSE;
};

// Stands in the shared services' information window for one test and keeps what it shows.
class CRecordingInfoWindow : public IInfoWindow
{
public:
    CRecordingInfoWindow();
    ~CRecordingInfoWindow();
    void AddText(const char* pszText) override { m_lines.push_back(pszText); }
    void AddResourceText(UINT uId) override { m_lines.push_back("#" + std::to_string(uId)); }

    std::vector<std::string> m_lines;

private:
    IInfoWindow* m_pOld = nullptr;
};

// Steps on the active dialog: each waits until the active window holds its marking control, so
// a step never runs on the wrong window, and runs once. RunDialogSteps starts them; the dialog's
// DoModal then carries them out. FinishedSteps says whether all ran.
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
void PressKey(UINT nKey, bool bShift = false);
void ClickControl(HWND hDlg, int nId);

// Reading a dialog.
std::string ControlText(HWND hDlg, int nId);
int FocusedControl(HWND hDlg);          // the focused control's id, 0 when the focus is elsewhere

// <build>/screenshots/<name>.png of the dialog window; TRUE when written.
bool SaveDialogScreenshot(HWND hDlg, const char* pszName);

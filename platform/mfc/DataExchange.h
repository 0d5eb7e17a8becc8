#pragma once
// Dialog data exchange: a window's DoDataExchange names its controls and the members they show,
// and UpdateData runs it one way or the other. Loading (FALSE) writes the members into the
// controls; saving (TRUE) reads and checks the controls' texts into the members. A text that
// does not read, or a value outside a DDV_ limit, is told in a message box (the library's English
// texts), the control gets the focus with an edit's text selected, and the exchange has failed:
// every DDX_ and DDV_ after it does nothing and UpdateData answers FALSE, so a dialog stays open
// and members after the failing one keep their values.
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"
#include "platform/mfc/Wnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control of an exchange, remembered as the one a failure focuses; null when the window
    // has no such control (the exchange then fails: a template without the control is broken).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);     // the same for an edit: a failure selects its text
    void Fail();
    BOOL HasFailed() const { return m_bFailed; }     // a DDX_ of the caller's own stops on TRUE

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;                    // not owned
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

private:
    BOOL m_bFailed = FALSE;
};

// Texts of edits (and any control with a text). Numbers are written as the library writes them
// (doubles with 15 significant digits, floats with 6) and read whole: blanks around the number
// are allowed, anything else in it, an empty text or a number outside the member's type fails.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);      // and DWORD, the same type here
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// Buttons: the check state (0, 1, 2); the index of the checked button among the radio buttons
// of the group that starts at nIDC, -1 when none is checked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo and list boxes. A string is selected by its first item that begins with it (Exact: the
// item equal to it); a combo box that has no such item shows the text in its edit. Saving
// reads the combo's text, the list's selected item (empty when none).
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Date pickers: a value that is not valid shows no date; no date reads as the null status.
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value);
// Subclasses the control into rControl the first time; later exchanges leave it.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Checks when saving; loading DDV_MaxChars limits the edit or combo box to nChars instead.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);

#pragma once
// Dialogs from templates and the dialog manager: creation, modal runs in the layer's own loop,
// the default dialog procedure and what IsDialogMessage gives the keyboard (Tab, arrows inside a
// group, Enter, Escape, Alt+mnemonic, each subject to the control's WM_GETDLGCODE).
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Window.h"

typedef INT_PTR (CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WC_DIALOGA "#32770"
#define DLGWINDOWEXTRA 48
// Window extra slots of a dialog
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC   8
#define DWLP_USER      16
// Dialog styles
#define DS_ABSALIGN      0x0001L
#define DS_SYSMODAL      0x0002L
#define DS_LOCALEDIT     0x0020L
#define DS_SETFONT       0x0040L
#define DS_MODALFRAME    0x0080L
#define DS_NOIDLEMSG     0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_3DLOOK        0x0004L
#define DS_FIXEDSYS      0x0008L
#define DS_NOFAILCREATE  0x0010L
#define DS_CONTROL       0x0400L
#define DS_CENTER        0x0800L
#define DS_CENTERMOUSE   0x1000L
#define DS_CONTEXTHELP   0x2000L
#define DS_SHELLFONT     (DS_SETFONT | DS_FIXEDSYS)
// Dialog messages
#define DM_GETDEFID  (WM_USER + 0)
#define DM_SETDEFID  (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID  0x534B
#ifndef IDABORT
#define IDABORT  3
#define IDRETRY  4
#define IDIGNORE 5
#endif
#ifndef IDCLOSE
#define IDCLOSE  8
#define IDHELP   9
#endif
#define IDC_STATIC (-1)

// Creation. A template is found by name or MAKEINTRESOURCE id in the module (null: the
// resource module). Controls are created in template order with the template's font, then the
// dialog procedure gets WM_INITDIALOG; nonzero focuses the first tab stop. Null when the template
// is missing, a control class is unknown, or the dialog was ended or destroyed while starting.
HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR pszTemplate, HWND hWndParent, DLGPROC pfnDialog, LPARAM lInit);
HWND CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA pTemplate, HWND hWndParent, DLGPROC pfnDialog,
                                LPARAM lInit);
#define CreateDialogA(h, t, p, f) CreateDialogParamA(h, t, p, f, 0)
// Modal: the owner is disabled and the layer's loop runs until EndDialog; the dialog's result,
// or -1 when it could not be created.
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR pszTemplate, HWND hWndParent, DLGPROC pfnDialog, LPARAM lInit);
INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA pTemplate, HWND hWndParent, DLGPROC pfnDialog,
                                LPARAM lInit);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
LRESULT DefDlgProcA(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// TRUE when the message was for the dialog (or a control in it) and has been handled.
BOOL IsDialogMessageA(HWND hDlg, LPMSG pMsg);
// Whether a dialog the focus lies in (below its top-level window) marks a control with the
// character: Alt with it is that dialog's mnemonic before it is the menu bar's.
BOOL TbFocusedDialogHasMnemonic(int ch);

// Dialog units: x by a quarter of the average character width of the dialog's font, y by an
// eighth of its height. GetDialogBaseUnits answers for the system's dialog font.
BOOL MapDialogRect(HWND hDlg, LPRECT pRect);
LONG GetDialogBaseUnits();

// Controls by id.
BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR pszString);
UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR pszString, int cchMax);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
// *pbTranslated FALSE for a text that is not a whole number in range (the answer is then 0).
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* pbTranslated, BOOL bSigned);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheck and clears the other buttons of the id range.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The next (or previous) visible, enabled control with WS_TABSTOP, or of hCtl's group (from a
// WS_GROUP control to the next), wrapping; hCtl itself when no other qualifies.
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);


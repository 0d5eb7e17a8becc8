#pragma once
// Inside the dialog manager and the control classes: what every control does alike.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/WindowRecord.h"

// The part of every control's state that all share: the font it draws with (WM_SETFONT; null
// draws with the system's dialog font).
struct TbControlState : TbClassState {
    HFONT hFont = nullptr;
};

// A dialog's own record: its font and the base units measured from it, the default button and
// how a modal run ended.
struct TbDialogState : TbClassState {
    ~TbDialogState() override;
    HFONT   hFont = nullptr;
    BOOL    bOwnFont = FALSE;           // made from the template: deleted with the dialog
    int     cxBase = 0, cyBase = 0;     // 0 until measured
    int     nDefId = 0;                 // 0: none set (Enter then means IDOK)
    BOOL    bEnded = FALSE;
    INT_PTR nResult = 0;
    HWND    hFocusSaved = nullptr;      // the control inside that had the focus last
};

// Called by SetFocus: the dialogs around the new focus remember it.
void TbDialogsNoteFocus(HWND hFocus);

// WM_SETFONT and WM_GETFONT of a control (lParam of WM_SETFONT: redraw now).
LRESULT TbControlSetFont(HWND hWnd, TbControlState* pState, HFONT hFont, BOOL bRedraw);
// WM_NCCREATE of a control whose class state is made on first use: without it (bState FALSE,
// no memory) the creation fails; otherwise the default handling.
inline LRESULT TbControlNcCreate(HWND hWnd, BOOL bState, WPARAM wParam, LPARAM lParam)
{
    return bState ? DefWindowProcA(hWnd, WM_NCCREATE, wParam, lParam) : FALSE;
}
HFONT   TbControlFont(const TbControlState* pState);
inline LRESULT TbControlGetFont(const TbControlState* pState)
{
    return reinterpret_cast<LRESULT>(pState ? pState->hFont : nullptr);
}
// WM_COMMAND to the parent with the control's id and the notification code.
void TbNotifyParent(HWND hWnd, UINT uCode);
// Asks the parent for the control's colours (a WM_CTLCOLOR message) and sets them in the DC;
// the brush the control's background is filled with.
HBRUSH TbControlColors(HWND hWnd, HDC hdc, UINT uCtlColorMsg);
// A raised or sunken 3-D frame just inside rc.
void TbDrawFrame3D(HDC hdc, const RECT& rc, BOOL bSunken);
// DrawText flags for a control's text: right-to-left reading when the window asks for it.
UINT TbTextFlags(HWND hWnd);
// Text measuring with a control's font: the width of the first cch bytes.
int  TbTextWidth(HWND hWnd, HFONT hFont, LPCSTR pszText, int cch);
int  TbFontHeight(HFONT hFont);
// The dialog manager's part in a control's focus: a push button with the focus looks like the
// default button; hFocus null gives that look back to the dialog's default button.
void TbDlgShowDefaultButton(HWND hDlg, HWND hFocus);
BOOL TbIsDialog(HWND hWnd);

// The classes' procedures, registered by TbRegisterControlClasses.
LRESULT CALLBACK TbStaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbButtonWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbEditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbListBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbScrollBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbComboBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbTrackbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbTabControlWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbToolbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbToolTipWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbStatusBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbDateTimePickWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbRichViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbWebBrowserWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TbProgressWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// A combo box's edit child hands the combo the keys that work its list (F4, the arrows, Alt+Down,
// Enter and Escape while it is open): TRUE when the combo took the key. Nothing for other edits.
BOOL TbComboEditKey(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam);
// What the combo adds to its edit's WM_GETDLGCODE (0 for other edits).
UINT TbComboEditDlgCode(HWND hEdit, LPARAM lParam);

#pragma once
// The common controls the frame uses: the toolbar, the status bar and the tool tip window that
// the toolbar shows its button names in. Each is a window class of its own (registered with the
// other controls); the notifications travel as WM_NOTIFY with an NMHDR at their head.
// A bar whose extended style has WS_EX_LAYOUTRTL or WS_EX_RTLREADING runs from the right: its
// first button or pane stands at the right edge, and the rectangles it answers say so.
#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"

#define TOOLBARCLASSNAMEA  "ToolbarWindow32"
#define STATUSCLASSNAMEA   "msctls_statusbar32"
#define TOOLTIPS_CLASSA    "tooltips_class32"

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

// ---- tool tips ----
// The tip window shows one text near the pointer. The toolbar owns one: TB_GETTOOLTIPS.
#define TTN_FIRST         (0U - 520U)
#define TTN_GETDISPINFOA  (TTN_FIRST - 0)
#define TTN_NEEDTEXTA     TTN_GETDISPINFOA
#define TTN_SHOW          (TTN_FIRST - 1)
#define TTN_POP           (TTN_FIRST - 2)
#define TTF_IDISHWND      0x0001
// The toolbar asks its owner for a button's tip with TTN_NEEDTEXTA: idFrom is the button's
// command; the owner fills szText, or points lpszText at a text of its own, or names a string
// resource (hinst and MAKEINTRESOURCE(id) in lpszText).
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
typedef NMTTDISPINFOA TOOLTIPTEXTA;
typedef NMTTDISPINFOA* LPNMTTDISPINFOA;

// ---- toolbar ----
#define TBSTYLE_BUTTON     0x0000
#define TBSTYLE_SEP        0x0001
#define TBSTYLE_CHECK      0x0002
#define TBSTYLE_GROUP      0x0004
#define TBSTYLE_CHECKGROUP (TBSTYLE_GROUP | TBSTYLE_CHECK)
#define TBSTYLE_TOOLTIPS   0x0100
#define TBSTYLE_WRAPABLE   0x0200
#define TBSTYLE_FLAT       0x0800
#define TBSTYLE_LIST       0x1000
#define TBSTYLE_TRANSPARENT 0x8000

#define TBSTATE_CHECKED       0x01
#define TBSTATE_PRESSED       0x02
#define TBSTATE_ENABLED       0x04
#define TBSTATE_HIDDEN        0x08
#define TBSTATE_INDETERMINATE 0x10
#define TBSTATE_WRAP          0x20

struct TBBUTTON {
    int iBitmap;            // for a separator: its width, 0 for the usual
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6];
    DWORD_PTR dwData;
    INT_PTR iString;
};
typedef TBBUTTON* LPTBBUTTON;
typedef const TBBUTTON* LPCTBBUTTON;

// hInst null: nID is an HBITMAP, which the toolbar keeps but does not own.
struct TBADDBITMAP {
    HINSTANCE hInst;
    UINT_PTR nID;
};

#define TBIF_IMAGE   0x00000001
#define TBIF_TEXT    0x00000002
#define TBIF_STATE   0x00000004
#define TBIF_STYLE   0x00000008
#define TBIF_LPARAM  0x00000010
#define TBIF_COMMAND 0x00000020
#define TBIF_SIZE    0x00000040
#define TBIF_BYINDEX 0x80000000
struct TBBUTTONINFOA {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPSTR pszText;
    int cchText;
};

#define TB_ENABLEBUTTON      (WM_USER + 1)
#define TB_CHECKBUTTON       (WM_USER + 2)
#define TB_PRESSBUTTON       (WM_USER + 3)
#define TB_HIDEBUTTON        (WM_USER + 4)
#define TB_ISBUTTONENABLED   (WM_USER + 9)
#define TB_ISBUTTONCHECKED   (WM_USER + 10)
#define TB_SETSTATE          (WM_USER + 17)
#define TB_GETSTATE          (WM_USER + 18)
#define TB_ADDBITMAP         (WM_USER + 19)
#define TB_DELETEBUTTON      (WM_USER + 22)
#define TB_GETBUTTON         (WM_USER + 23)
#define TB_BUTTONCOUNT       (WM_USER + 24)
#define TB_COMMANDTOINDEX    (WM_USER + 25)
#define TB_GETITEMRECT       (WM_USER + 29)
#define TB_BUTTONSTRUCTSIZE  (WM_USER + 30)
#define TB_SETBUTTONSIZE     (WM_USER + 31)
#define TB_SETBITMAPSIZE     (WM_USER + 32)
#define TB_AUTOSIZE          (WM_USER + 33)
#define TB_GETTOOLTIPS       (WM_USER + 35)
#define TB_GETRECT           (WM_USER + 51)
#define TB_SETSTYLE          (WM_USER + 56)
#define TB_GETSTYLE          (WM_USER + 57)
#define TB_GETBUTTONSIZE     (WM_USER + 58)
#define TB_GETBUTTONINFOA    (WM_USER + 65)
#define TB_SETBUTTONINFOA    (WM_USER + 66)
#define TB_INSERTBUTTONA     (WM_USER + 21)
#define TB_ADDBUTTONSA       (WM_USER + 20)
#define TB_HITTEST           (WM_USER + 69)

// ---- status bar ----
// Parts are given by their right edges (-1: to the bar's end); the text of a part carries its
// drawing type in the high byte of wParam.
#define SBT_OWNERDRAW  0x1000
#define SBT_NOBORDERS  0x0100
#define SBT_POPOUT     0x0200
#define SBT_RTLREADING 0x0400
#define SBARS_SIZEGRIP 0x0100

#define SB_SETTEXTA       (WM_USER + 1)
#define SB_GETTEXTA       (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS       (WM_USER + 4)
#define SB_GETPARTS       (WM_USER + 6)
#define SB_GETBORDERS     (WM_USER + 7)
#define SB_SETMINHEIGHT   (WM_USER + 8)
#define SB_SIMPLE         (WM_USER + 9)
#define SB_GETRECT        (WM_USER + 10)

// ---- progress bar ----
// A bar filled from the left (from the right under WS_EX_LAYOUTRTL) in proportion to the
// position within the range. The position is kept inside the range.
#define PROGRESS_CLASSA "msctls_progress32"
#define PBM_SETRANGE (WM_USER + 1)      // lParam: MAKELPARAM(min, max); answers the old range the same way
#define PBM_SETPOS   (WM_USER + 2)      // answers the old position
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP  (WM_USER + 4)
#define PBM_STEPIT   (WM_USER + 5)
#define PBM_GETPOS   (WM_USER + 8)

// Nothing to load here: the classes come with the other controls.
inline void InitCommonControls() {}

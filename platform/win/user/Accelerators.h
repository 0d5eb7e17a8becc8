#pragma once
// Accelerator tables: key combinations that stand for commands. LoadAcceleratorsA builds one
// from a resource file's ACCELERATORS block; TranslateAcceleratorA turns a key into WM_COMMAND.
#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"

#define FVIRTKEY  0x01      // key is a virtual-key code, not a character
#define FNOINVERT 0x02
#define FSHIFT    0x04
#define FCONTROL  0x08
#define FALT      0x10

typedef struct tagACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;

// A copy of the entries; null for no entries or a count below 1.
HACCEL CreateAcceleratorTableA(const ACCEL* pAccel, int nCount);
// With pDst null: the entry count. Otherwise copies up to nCount entries and answers how many.
// 0 for a dead handle.
int    CopyAcceleratorTableA(HACCEL hAccel, LPACCEL pDst, int nCount);
BOOL   DestroyAcceleratorTable(HACCEL hAccel);
// A table from an ACCELERATORS resource of the module (null: the resource module); null when
// there is none.
HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR pszTableName);

// Menus and MDI.
// Turns a key message for hWnd into the command of the first matching entry: WM_KEYDOWN and
// WM_SYSKEYDOWN against FVIRTKEY entries with exactly their FSHIFT, FCONTROL and FALT; WM_CHAR
// and WM_SYSCHAR (with FALT) against character entries. The window gets WM_INITMENU and, unless
// the command is a greyed item of its menu, WM_COMMAND with HIWORD(wParam) 1, or WM_SYSCOMMAND
// for an item of its system menu. TRUE when the key was an accelerator; FALSE (nothing sent)
// when none matched or the window is disabled.
int    TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG pMsg);

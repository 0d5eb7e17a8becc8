#pragma once
// Message boxes: a text, a caption, an icon and a set of buttons; the answer is the button's id.
// The box plays the sound of its icon, disables its owner's top-level window and waits in the
// layer's modal loop, so timers and posted messages go on while it is open. Escape and closing
// answer IDCANCEL where there is a Cancel button (IDOK for a lone OK) and do nothing otherwise.
// With nobody to ask (no display) the box answers at once with its default button, the first
// unless MB_DEFBUTTONn names another, as a person pressing Enter would.
#include "platform/win/user/Sound.h"

#define MB_OKCANCEL         0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL      0x00000003L
#define MB_YESNO            0x00000004L
#define MB_RETRYCANCEL      0x00000005L
#define MB_TYPEMASK         0x0000000FL
#define MB_ICONMASK         0x000000F0L
#define MB_DEFBUTTON1       0x00000000L
#define MB_DEFBUTTON2       0x00000100L
#define MB_DEFBUTTON3       0x00000200L
#define MB_DEFMASK          0x00000F00L
#define MB_APPLMODAL        0x00000000L
#define MB_SYSTEMMODAL      0x00001000L
#define MB_TASKMODAL        0x00002000L
#define MB_SETFOREGROUND    0x00010000L
#define MB_TOPMOST          0x00040000L
#define MB_RIGHT            0x00080000L
#define MB_RTLREADING       0x00100000L

#define IDOK     1
#define IDCANCEL 2
#define IDABORT  3
#define IDRETRY  4
#define IDIGNORE 5
#define IDYES    6
#define IDNO     7

#define ERROR_INVALID_MSGBOX_STYLE 1158

// The chosen button's id; 0 for a button set it does not know (ERROR_INVALID_MSGBOX_STYLE) and
// when WM_QUIT closes a box that Escape cannot close (the quit is posted again).
int MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);

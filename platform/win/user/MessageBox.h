#pragma once
// Message boxes: a text, a caption and a set of buttons; the answer is the button's id. Without a
// display nobody can answer, and the box answers at once with its first button.
#include "platform/win/user/Sound.h"

#define MB_OKCANCEL        0x00000001L
#define MB_YESNOCANCEL     0x00000003L
#define MB_YESNO           0x00000004L
#define MB_TYPEMASK        0x0000000FL
#define MB_APPLMODAL       0x00000000L
#define MB_SYSTEMMODAL     0x00001000L
#define MB_TASKMODAL       0x00002000L

#define IDOK     1
#define IDCANCEL 2
#define IDYES    6
#define IDNO     7

int MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);

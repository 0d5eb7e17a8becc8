#pragma once
// Inside the window manager: the queue's hooks for input, timers and the keyboard state.
#include "platform/win/user/Message.h"

DWORD TbNowMs();
// Appends (or, for characters made by TranslateMessage, puts first) and wakes the loop. bToFocus:
// a key of the display, read by the window that has the keys when it is read.
void TbPostRecord(const MSG& msg, BOOL bFront, BOOL bToFocus = FALSE);
// Timers: the next due WM_TIMER for the filter (taken when bRemove), and the milliseconds until
// the nearest timer is due (-1: none).
BOOL TbTakeTimer(HWND hWndFilter, BOOL bRemove, MSG* pMsg);
int  TbMsUntilNextTimer();
BOOL TbTimerExists(HWND hWnd, UINT_PTR nId, TIMERPROC pfn);
// Input bookkeeping when an input message leaves the queue.
void TbNoteInputTaken(const MSG& msg);
// The characters a key message produced, registered by the display (0: none).
DWORD TbRegisterKeyChars(LPCSTR pszChars);
BOOL TbMatchesWindowFilter(HWND hWndMsg, HWND hWndFilter);

#pragma once
// Window properties: data a program hangs on a window under a name or an atom (MAKEINTATOM of
// an atom whose text is the name finds the same property). They go with the window.
#include "platform/win/WinTypes.h"
#include "platform/win/kernel/Atoms.h"

// FALSE for a dead window or a null or empty name.
BOOL   SetPropA(HWND hWnd, LPCSTR pszString, HANDLE hData);
// Null when the window has no such property.
HANDLE GetPropA(HWND hWnd, LPCSTR pszString);
// Takes the property off the window and answers its data; null when there was none.
HANDLE RemovePropA(HWND hWnd, LPCSTR pszString);

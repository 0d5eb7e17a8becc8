#pragma once
// Inside the window manager: calling the thread's hooks.
#include "platform/win/WinTypes.h"

// Runs the CBT hook chain; 0 when no hook is installed. Nonzero from a hook refuses the action.
LRESULT TbCallCbtHook(int nCode, WPARAM wParam, LPARAM lParam);

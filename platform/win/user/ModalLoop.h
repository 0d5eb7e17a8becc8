#pragma once
// The layer's own modal loops: dialogs, message boxes, common dialogs and popup menus wait here,
// never in Qt's exec(), so timers, posted messages and socket notifications keep running while a
// person decides.
#include <functional>
#include "platform/win/user/Message.h"

// How a loop starts. A loop that tracks the mode the user is in (a popup menu, a scroll bar drag)
// keeps the capture; any other loop first ends that mode, as a dialog or message box appearing
// must end a drag in progress.
#define TB_MODAL_CANCELMODE 0   // WM_CANCELMODE to the window holding the capture, before anything else
#define TB_MODAL_KEEPMODE   1   // no WM_CANCELMODE: the loop is the mode, or its caller ended it

// Sends WM_CANCELMODE at once to the window holding the capture; nothing when none does.
void TbCancelMode();

// Unless uStart is TB_MODAL_KEEPMODE, ends the user's mode (TbCancelMode). Disables the owner's
// top-level window (when it was enabled), then gets, translates and
// dispatches messages until fnDone answers TRUE. fnFilter (may be empty) sees each message
// before translation and returns TRUE when it handled it (a dialog's IsDialogMessage). A WM_QUIT
// ends the loop and is posted again for the loop outside. Re-enables the owner and answers FALSE
// when the quit ended it, TRUE otherwise.
BOOL TbRunModalLoop(HWND hOwner, const std::function<BOOL()>& fnDone, const std::function<BOOL(MSG*)>& fnFilter = {},
                    UINT uStart = TB_MODAL_CANCELMODE);

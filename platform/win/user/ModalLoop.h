#pragma once
// The layer's own modal loops: dialogs, message boxes, common dialogs and popup menus wait here,
// never in Qt's exec(), so timers, posted messages and socket notifications keep running while a
// person decides.
#include <functional>
#include "platform/win/user/Message.h"

// Disables the owner's top-level window (when it was enabled), then gets, translates and
// dispatches messages until fnDone answers TRUE. fnFilter (may be empty) sees each message
// before translation and returns TRUE when it handled it (a dialog's IsDialogMessage). A WM_QUIT
// ends the loop and is posted again for the loop outside. Re-enables the owner and answers FALSE
// when the quit ended it, TRUE otherwise.
BOOL TbRunModalLoop(HWND hOwner, const std::function<BOOL()>& fnDone, const std::function<BOOL(MSG*)>& fnFilter = {});

#pragma once
// While the link hands a server line to its owners, no modal loop may start: a dialog, box or
// question would hold every later line (and every window behind it) until the person answers.
// What a line calls for is posted (TbPostCall) and opens once the line's handler has returned.
// The layer checks every modal loop it starts and reports one begun inside a line's handler.
#include <functional>
#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"

// The link brackets the handling of each line; nested lines count.
void TbBeginLineHandling();
void TbEndLineHandling();
BOOL TbIsHandlingLine();

// Who is told of a modal loop begun while a line is handled (pszWhat: "dialog", "message box",
// ...). Null restores the default, a line on the standard error. Every test program installs a
// hook that fails the test. Returns the hook before.
typedef void (*TBMODALINLINEREPORT)(LPCSTR pszWhat);
TBMODALINLINEREPORT TbSetModalInLineReport(TBMODALINLINEREPORT pfnReport);
// Every modal loop and question of the layer calls this before it waits: it reports once per line.
void TbCheckModalStart(LPCSTR pszWhat);

// Runs fn from the message loop once everything now on the stack (the line being handled) has
// returned, in the order posted. A call whose owner may go meanwhile checks that itself.
void TbPostCall(std::function<void()> fn);
// The message loop's side: TRUE when the message was a posted call, which has run.
BOOL TbRunIfPostedCall(const MSG* pMsg);

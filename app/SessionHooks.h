#pragma once
// What the layers above the application keep for one user's session and must forget when the
// user logs off (the order layer's kept trading passwords): each registers a function, called by
// the log-off after the workspace is saved and before the next login.
typedef void (*PFN_LOGOFF_HOOK)();

// A function registered twice is called once; null is ignored.
void RegisterLogoffHook(PFN_LOGOFF_HOOK pfnHook);
void RunLogoffHooks();

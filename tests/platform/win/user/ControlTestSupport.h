#pragma once
// A parent window for the control tests that writes down what its controls tell it (commands,
// scroll messages, owner drawing, list keys) as short strings, and answers what a test sets.
#include <string>
#include <vector>
#include "platform/win/user/Controls.h"
#include "platform/win/user/Message.h"

struct ControlParentLog {
    std::vector<std::string> entries;   // "CMD 7/1", "VSCROLL 2 pos 0 ctl", "DRAW 3 sel focus"
    LRESULT lVKeyToItem = -1;           // the answer to WM_VKEYTOITEM
    LRESULT lCharToItem = -1;           // the answer to WM_CHARTOITEM
    UINT uItemHeight = 0;               // WM_MEASUREITEM answers this when not 0
    std::string Joined() const;
    void Clear() { entries.clear(); }
};
ControlParentLog& ParentLog();
// A top-level parent (200x200 client at 10,20) whose procedure fills ParentLog.
HWND CreateControlParent(DWORD dwStyle = 0);
HWND CreateControl(HWND hParent, LPCSTR pszClass, DWORD dwStyle, int x, int y, int cx, int cy, int nId, LPCSTR pszText = "");
// Mouse messages sent straight to a window, with the key state they carry.
void Click(HWND hWnd, int x, int y, WPARAM wKeys = 0);
// Reads and dispatches what is queued without waiting.
void DrainQueue();

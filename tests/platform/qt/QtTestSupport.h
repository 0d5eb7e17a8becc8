#pragma once
// Windows on the Qt display for the tests: a class that logs its messages, pumping with a bound.
#include <QtWidgets/QWidget>
#include <string>
#include <vector>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"

struct LoggedMessage {
    HWND hWnd;
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<LoggedMessage>& QtLog();
// Optional painting for the logging class: called with the DC of each WM_PAINT.
extern void (*g_pfnQtPaint)(HWND, HDC, const RECT&);
HWND CreateQtWindow(HWND hParent, DWORD dwStyle, int x, int y, int cx, int cy, int nId = 0);
// Pumps the queue through GetMessage (so it waits in Qt's loop) for nMs milliseconds.
void PumpQt(int nMs);
std::vector<LoggedMessage> MessagesOf(UINT uMsg);
// Where screenshots go: <build>/screenshots/<name>.png
std::string ScreenshotPath(const char* pszName);

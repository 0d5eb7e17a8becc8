#pragma once
// What the control tests share: the display, the application with the English resources, a
// parent window that logs what its children tell it, pumping with a bound and screenshots.
#include <functional>
#include <string>
#include <vector>

#include "platform/win/Windows.h"

struct ParentMessage {
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window (its font in the Arabic character set while the framework reads right to
// left) whose procedure logs WM_COMMAND, the tab control's query and the input
// field's Up and Down messages; it answers the query with m_lVeto and WM_GETFONT with a
// 13-pixel font of its own.
class CTestParent
{
public:
    explicit CTestParent(int cx = 400, int cy = 200, DWORD dwExStyle = 0);
    ~CTestParent();
    HWND m_hWnd = nullptr;
    std::vector<ParentMessage> m_log;
    LRESULT m_lVeto = 0;
    HFONT m_hFont = nullptr;
    std::vector<ParentMessage> Messages(UINT uMsg) const;
};

// Dispatches what is queued now.
void Drain();
// Pumps until the condition holds or the time is up; the condition's last answer.
bool PumpUntil(const std::function<bool()>& condition, int nMs);
// <build>/screenshots/<name>.png
std::string ScreenshotPath(const char* pszName);
// Code page 1256 bytes of a UTF-8 text.
std::string Arabic(const char* pszUtf8);
